// Dialog tests run in-process: the real dialogs are created from the
// templates linked into this program, over a real main window.
#include "resources/resource.h"
#include "shell/shell_win.h"

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    rc::g_shell.instance = GetModuleHandleW(nullptr);
    rc::SetEdition(rc::Edition::Default);
    if (!rc::RegisterMainClass() || !rc::CreateMainWindow(SW_SHOWNOACTIVATE)) {
        fprintf(stderr, "cannot create the main window\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}

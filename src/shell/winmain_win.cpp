// Entry of Brennix Configurator 32.
#include "resources/resource.h"
#include "shell/shell_logic.h"
#include "shell/shell_win.h"
#include "shell/text.h"

using namespace rc;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR commandLine, int show) {
    // A 16-bit style second start: bring the first one forward instead.
    if (previous) {
        if (HWND first = FindWindowW(kMainClass, nullptr)) BringWindowToTop(first);
        MessageBeep(0);
        return 0;
    }
    g_shell.instance = instance;

    SetEdition(DecideEdition());
    if (!RegisterMainClass()) return 0;

    CommandLineSwitches switches = ParseCommandLine(commandLine ? commandLine : L"");
    g_shell.quiet = switches.quiet;
    g_shell.banner = switches.banner;
    if (switches.hasGroup) CopyCut(g_shell.groupName, kNameBuffer, switches.group);

    if (!CreateMainWindow(show)) return 0;

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCEL));
    MSG msg{};
    BOOL got;
    // 0 is the quit message; -1, a failed wait, ends the loop as well.
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        if (!TranslateAcceleratorW(g_shell.mainWindow, accelerators, &msg)) DispatchMessageW(&msg);
    }
    if (g_shell.hook) UnhookWindowsHookEx(g_shell.hook);
    // The quit message carries 0 (WM_DESTROY posts it so); after a failed
    // wait msg holds nothing meaningful and the exit code is 0 all the same.
    return got == 0 ? static_cast<int>(msg.wParam) : 0;
}

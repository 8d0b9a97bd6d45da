// Entry of Brennix Configurator 32.
#include "resources/resource.h"
#include "shell/shell_logic.h"
#include "shell/shell_win.h"
#include "shell/text.h"

#include <cstdlib>
#include <exception>

using namespace rc;

// The program's own runtime ends. Our code throws and catches nothing. When
// a standard container is asked for more than it can ever hold (a length,
// range or allocation-size check fails), the library's helpers throw an
// exception that nothing catches, which ends the program; these end it at
// once instead, and the terminate handler ends it without printing to a
// console that this program does not have. Running out of memory in `new`
// is not affected: it still throws, and the nothrow form still returns null.
// The library's versions bring in the exception classes, a second string
// implementation and the C++ name demangler (80 to 100 KB of the program).
// Only the executable has these: the test programs keep the library's own.
void __gnu_cxx::__verbose_terminate_handler() { std::abort(); }

namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
}  // namespace std

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

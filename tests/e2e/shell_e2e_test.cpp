// The shell of the real executable: its main window, the directory it
// records, maximizing, Exit, the edition read from the
// registry, and the screenshots of the shell's windows in both editions.
#include "resources/resource.h"
#include "support/dialog_driver_win.h"

#include <gtest/gtest.h>

using namespace rctest;

namespace {

TEST(ShellEndToEnd, MainWindowRecordsItsDirectoryKeepsItsSizeAndExitsWithZero) {
    Station station;
    WritePrivateProfileStringW(L"Configurator", L"Directory", L"C:\\stale\\", L"rcsetup.ini");
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND main = app.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ReadIni(L"rcsetup.ini", L"Configurator", L"Directory"), L"C:\\Quorvel\\Brennix");
    for (WPARAM command : {WPARAM{0}, WPARAM{SC_MAXIMIZE}}) {
        if (command) SendMessageW(main, WM_SYSCOMMAND, command, 0);
        RECT r{};
        GetWindowRect(main, &r);
        EXPECT_EQ(std::pair(r.right - r.left, r.bottom - r.top), std::pair(400L, 150L));
    }
    EXPECT_EQ(app.Exit(), 0);
}

// The edition the registry names shows in About; the main window with and
// without the banner, About and Options are shot in both editions.
TEST(ShellEndToEnd, EditionFromTheRegistryAndScreenshotsOfTheShell) {
    for (bool classroom : {false, true}) {
        StationOptions options;
        options.classroom = classroom;
        Station station(options);
        std::wstring edition = classroom ? L"tutor" : L"default";
        for (const wchar_t* args : {L"", L"/N"}) {
            Configurator app;
            ASSERT_TRUE(app.Start(station.Exe(), args));
            HWND main = app.MainWindow();
            ASSERT_NE(main, nullptr);
            SetWindowPos(main, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
            Capture(main, L"main-" + edition + (*args ? L"-nobanner" : L""));
            if (!*args) {
                PostMessageW(main, WM_COMMAND, IDM_ABOUT, 0);
                HWND about = WaitForDialog(app.ProcessId(), L"About Configurator");
                ASSERT_NE(about, nullptr);
                EXPECT_EQ(Text(about, IDC_ABOUT_EDITION),
                          classroom ? L"Quorvel Tutor Configurator" : L"Quorvel Brennix Configurator");
                Capture(about, L"about-" + edition);
                PostMessageW(about, WM_COMMAND, IDOK, 0);
                PostMessageW(main, WM_COMMAND, IDM_OPTIONS, 0);
                HWND opts = WaitForDialog(app.ProcessId(), L"Options");
                ASSERT_NE(opts, nullptr);
                Capture(opts, L"options-" + edition);
                PostMessageW(opts, WM_COMMAND, IDCANCEL, 0);
            }
            EXPECT_EQ(app.Exit(), 0);
        }
    }
}

}  // namespace

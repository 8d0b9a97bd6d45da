// The shell of the real executable: its main window in both editions, the
// directory it records, maximizing and Exit. The edition read from the
// registry shows in the Client and Control end-to-end tests.
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

#include <gtest/gtest.h>

using namespace rctest;

namespace {

// In both editions, with the banner and without it (/N): the main window,
// shot for the eye.
TEST(ShellEndToEnd, MainWindowRecordsItsDirectoryKeepsItsSizeAndExitsWithZero) {
    for (bool classroom : {false, true}) {
        StationOptions options;
        options.classroom = classroom;
        Station station(options);
        for (const wchar_t* args : {L"", L"/N"}) {
            rc::WriteIniText(L"Configurator", L"Directory", L"C:\\stale\\");
            Configurator app;
            ASSERT_TRUE(app.Start(station.Exe(), args));
            HWND main = app.MainWindow();
            ASSERT_NE(main, nullptr);
            SetWindowPos(main, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);
            Capture(main, std::wstring(L"main-") + (classroom ? L"tutor" : L"default") + (*args ? L"-nobanner" : L""));
            EXPECT_EQ(rc::ReadIniText(L"Configurator", L"Directory"), L"C:\\Quorvel\\Brennix");
            for (WPARAM command : {WPARAM{0}, WPARAM{SC_MAXIMIZE}}) {
                if (command) SendMessageW(main, WM_SYSCOMMAND, command, 0);
                RECT r{};
                GetWindowRect(main, &r);
                EXPECT_EQ(std::pair(r.right - r.left, r.bottom - r.top), std::pair(400L, 150L));
            }
            EXPECT_EQ(app.Exit(), 0);
        }
    }
}

}  // namespace

// Help through the real executable: F1 in the Client Configuration dialog,
// with the edition's help file in the program directory, opens the help
// viewer at the Client topic of that file, without an error box, and the
// viewer closes when the Configurator ends.
#include "resources/resource.h"
#include "support/dialog_driver_win.h"

#include <gtest/gtest.h>

using namespace rctest;

namespace {

// What the viewer shows: its topic pane is a rich edit control of its own
// process, read with a message the system carries across processes.
std::wstring ShownText(HWND viewer) {
    HWND pane = FindWindowExW(viewer, nullptr, L"RichEdit20A", nullptr);
    static wchar_t text[16384];
    text[0] = L'\0';
    DWORD_PTR copied = 0;
    if (pane) SendMessageTimeoutW(pane, WM_GETTEXT, 16384, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

std::wstring FirstLine(const std::wstring& text) { return text.substr(0, text.find_first_of(L"\r\n")); }

TEST(HelpEndToEnd, F1InClientConfigurationOpensTheEditionsClientTopic) {
    struct Case {
        bool classroom;
        const wchar_t* fieldOfTheEdition;  // named only in this edition's Client topic
        const wchar_t* shot;
    } cases[] = {
        {false, L"Encrypted password", L"help-client-default"},
        {true, L"Cache Size", L"help-client-classroom"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.classroom ? "classroom edition, qvt.hlp" : "default edition, BRX.hlp");
        StationOptions options;
        options.classroom = c.classroom;
        Station station(options);
        Configurator app;
        ASSERT_TRUE(app.Start(station.Exe(), L""));
        HWND dialog = app.Command(IDM_CLIENT, L"Client Configuration");
        ASSERT_NE(dialog, nullptr);

        PostMessageW(dialog, WM_KEYDOWN, VK_F1, 0);
        HWND viewer = nullptr;  // its main window, class MS_WINHELP, once shown
        ASSERT_TRUE(WaitFor([&] { return (viewer = FindWindowW(L"MS_WINHELP", nullptr)) && IsWindowVisible(viewer); }, 20000))
            << "no help viewer window";
        std::wstring text;
        EXPECT_TRUE(WaitFor([&] { return FirstLine(text = ShownText(viewer)) == L"Client Configuration"; }, 10000)) << FirstLine(text);
        EXPECT_NE(text.find(c.fieldOfTheEdition), std::wstring::npos) << "not this edition's topic";
        DWORD viewerProcess = 0;
        GetWindowThreadProcessId(viewer, &viewerProcess);
        EXPECT_EQ(WaitForDialog(viewerProcess, nullptr, 0), nullptr) << "the help viewer shows a message box";
        Capture(viewer, c.shot);

        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        Gone(dialog);
        EXPECT_EQ(app.Exit(), 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(viewer); }, 5000)) << "the help viewer outlived the Configurator";
        if (IsWindow(viewer)) PostMessageW(viewer, WM_CLOSE, 0, 0);
    }
}

}  // namespace

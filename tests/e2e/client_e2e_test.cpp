// Client configuration through the real executable: the menu command, the
// dialog filled from the service's command line, a change saved to the
// registry and rcsetup.ini, the report when no transport is usable, the
// classroom edition, and in each edition F1 opening the help viewer at the
// Client topic of the edition's help file; the viewer closes when the
// Configurator ends.
#include "resources/resource.h"
#include "support/dialog_driver_win.h"

#include <gtest/gtest.h>

using namespace rctest;

namespace {

// What the help viewer shows: its topic pane is a rich edit control of its
// own process, read with a message the system carries across processes.
std::wstring ShownText(HWND viewer) {
    HWND pane = FindWindowExW(viewer, nullptr, L"RichEdit20A", nullptr);
    static wchar_t text[16384];
    text[0] = L'\0';
    DWORD_PTR copied = 0;
    if (pane)
        SendMessageTimeoutW(pane, WM_GETTEXT, 16384, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &copied);
    return text;
}

std::wstring FirstLine(const std::wstring& text) { return text.substr(0, text.find_first_of(L"\r\n")); }

// F1 in the Client Configuration dialog, with the edition's help file in the
// program directory, opens the help viewer at the Client topic of that file
// (the one that names `field`), without an error box. Returns the viewer's
// main window, which is to close when the Configurator ends.
HWND ExpectClientTopic(HWND dialog, const wchar_t* field, const wchar_t* shot) {
    PostMessageW(dialog, WM_KEYDOWN, VK_F1, 0);
    HWND viewer = nullptr;  // class MS_WINHELP, once shown
    EXPECT_TRUE(
        WaitFor([&] { return (viewer = FindWindowW(L"MS_WINHELP", nullptr)) && IsWindowVisible(viewer); }, 20000))
        << "no help viewer window";
    std::wstring text;
    EXPECT_TRUE(WaitFor([&] { return FirstLine(text = ShownText(viewer)) == L"Client Configuration"; }, 10000))
        << FirstLine(text);
    EXPECT_NE(text.find(field), std::wstring::npos) << "not this edition's topic";
    DWORD viewerProcess = 0;
    GetWindowThreadProcessId(viewer, &viewerProcess);
    EXPECT_EQ(WaitForDialog(viewerProcess, nullptr, 0), nullptr) << "the help viewer shows a message box";
    Capture(viewer, shot);
    return viewer;
}

TEST(ClientEndToEnd, ChangedNameIsSavedToTheServiceAndTheSerialLinkMemory) {
    Station station;
    WritePrivateProfileStringW(L"Client", nullptr, nullptr, L"rcsetup.ini");
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND dialog = app.Command(IDM_CLIENT, L"Client Configuration");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog, IDC_CL_NAME), L"STATION1");
    EXPECT_EQ(Text(dialog, IDC_CL_COMMAND_LINE), L"STATION1 4211 /UNB /A0 /I /K /T15 ");
    Capture(dialog, L"client-default");
    HWND viewer = ExpectClientTopic(dialog, L"Encrypted password", L"help-client-default");

    SetText(dialog, IDC_CL_NAME, L"FRONTDESK");
    Press(dialog, IDOK);
    HWND info = WaitForDialog(app.ProcessId(), L"Information");  // its text: ClientStore
    ASSERT_NE(info, nullptr);
    PostMessageW(info, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_EQ(ReadImagePath(), L"C:\\Quorvel\\Brennix\\STATN32.EXE /* FRONTDESK 4211 /UNB /A0 /I /K /T15 ");
    // No remembered section: the serial-link keys are written with their defaults.
    EXPECT_EQ(IniSection(L"rcsetup.ini", L"Client"),
              (std::vector<std::wstring>{L"Serial=0", L"Modem=0", L"BaudRate=5", L"ComPort=0", L"Password=",
                                         L"Dialback=0", L"DialbackFile="}));
    EXPECT_EQ(app.Exit(), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(viewer); }, 5000)) << "the help viewer outlived the Configurator";
    if (IsWindow(viewer)) PostMessageW(viewer, WM_CLOSE, 0, 0);
}

TEST(ClientEndToEnd, NoUsableTransportOpensTheReportAndKeepsOkDisabled) {
    StationOptions options;
    options.modules = {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"};  // Control modules only
    Station station(options);
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND report = app.Command(IDM_CLIENT, L"Client transports available");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(Text(report, IDC_TR_TCPIP_STATUS), L"Stack found, QRV DLL (SXTCP32.DLL) not installed");
    Capture(report, L"transports-client-none");
    PostMessageW(report, WM_COMMAND, IDOK, 0);
    HWND dialog = WaitForDialog(app.ProcessId(), L"Client Configuration");
    ASSERT_NE(dialog, nullptr);
    SetText(dialog, IDC_CL_NAME, L"X");
    EXPECT_EQ(Look(dialog, {IDC_CL_TRANSPORT, IDOK}), L"~|~OK");
}

// The edition comes from the registry: the classroom template, with its
// cache size field, for the eye. /I saves without the Information box.
TEST(ClientEndToEnd, ClassroomEditionOpensTheClassroomDialogAndTheQuietSwitchSavesWithoutABox) {
    StationOptions options;
    options.classroom = true;
    options.imagePath = L"C:\\Quorvel\\Brennix\\STATN32.EXE /* DESK7 4211 /UTC /H512 /L2 /I ";
    Station station(options);
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L"/I"));
    HWND dialog = app.Command(IDM_CLIENT, L"Client Configuration");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog, IDC_CL_CACHE), L"512");
    Capture(dialog, L"client-tutor");
    HWND viewer = ExpectClientTopic(dialog, L"Cache Size", L"help-client-classroom");
    SetText(dialog, IDC_CL_NAME, L"QUIET");
    Press(dialog, IDOK);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_EQ(WaitForDialog(app.ProcessId(), L"Information", 500), nullptr);
    EXPECT_EQ(ReadImagePath(), L"C:\\Quorvel\\Brennix\\STATN32.EXE /* QUIET /UTC /L2 /H512 ");
    EXPECT_EQ(app.Exit(), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(viewer); }, 5000)) << "the help viewer outlived the Configurator";
    if (IsWindow(viewer)) PostMessageW(viewer, WM_CLOSE, 0, 0);
}

}  // namespace

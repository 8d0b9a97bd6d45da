// The real rcsetup32.exe, started in this test's Wine prefix on a seeded
// station and worked from outside through its windows: what only the
// program shows. Its main window in both editions, the directory it
// records, maximizing and Exit; Client configuration from the menu command,
// filled from the service's command line and saved to the registry and
// rcsetup.ini, the report when no transport is usable, the classroom
// edition, and in each edition F1 opening the help viewer at the Client
// topic of the edition's help file, which closes when the Configurator
// ends; and the program group, named by the edition and /P, that Control
// Icon Maintenance opens on beside the Program Manager stand-in. New and
// Edit of the icons are met in-process (IconMaintenance).
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

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

// What the help viewer shows: its topic pane is a rich edit control of its
// own process, read with a message the system carries across processes.
std::wstring ShownText(HWND viewer) {
    HWND pane = FindWindowExW(viewer, nullptr, L"RichEdit20A", nullptr);
    wchar_t text[16384] = L"";
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

// Exit ends the Configurator with 0, and the help viewer with it.
void ExpectExitClosesTheViewer(Configurator& app, HWND viewer) {
    EXPECT_EQ(app.Exit(), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(viewer); }, 5000)) << "the help viewer outlived the Configurator";
    if (IsWindow(viewer)) PostMessageW(viewer, WM_CLOSE, 0, 0);
}

TEST(ClientEndToEnd, ChangedNameIsSavedToTheServiceAndTheSerialLinkMemory) {
    Station station;
    WritePrivateProfileStringW(L"Client", nullptr, nullptr, L"rcsetup.ini");
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND dialog = app.Command(IDM_CLIENT, L"Client Configuration");
    ASSERT_NE(dialog, nullptr);
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
    ExpectExitClosesTheViewer(app, viewer);
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
    ExpectExitClosesTheViewer(app, viewer);
}

// The edition (read from the registry) and the /P switch name the program
// group that Control Icon Maintenance opens on.
TEST(ControlIcons, MaintenanceListsTheGroupsAndOpensOnTheProgramGroupNamedByP) {
    const std::vector<std::wstring> groups = {L"Accessories", L"Quorvel Brennix", L"Quorvel Tutor", L"Zeta Tools"};
    struct Case {
        bool classroom;
        const wchar_t* arguments;
        const wchar_t* selected;
    } cases[] = {
        {true, L"", L"Quorvel Tutor"},
        {false, L"-pquorvel tutor", L"Quorvel Tutor"},
        {false, L"/PQuorvel", L"Accessories"},  // a beginning is not the name: the first group
    };
    ResetGroups(groups);
    ProgmanStandIn standin;
    ASSERT_TRUE(standin.Start());
    for (const auto& c : cases) {
        StationOptions options;
        options.classroom = c.classroom;
        Station station(options);
        Configurator app;
        ASSERT_TRUE(app.Start(station.Exe(), c.arguments));
        HWND dialog = app.Command(IDM_CONTROL, L"Control Icon Maintenance");
        ASSERT_NE(dialog, nullptr) << c.arguments;
        // Once the selected group's icons are in: none.
        EXPECT_TRUE(WaitFor(
            [&] { return IconNames(dialog) == std::vector<std::wstring>{L"No Viewdesk Icons found in Group"}; }));
        EXPECT_EQ(Entries(dialog, IDC_IM_GROUPS), groups);
        EXPECT_EQ(Selected(dialog, IDC_IM_GROUPS), c.selected) << c.arguments;
        Press(dialog, IDCANCEL);  // Done
        EXPECT_TRUE(Gone(dialog));
        EXPECT_EQ(app.Exit(), 0);
    }
}

}  // namespace

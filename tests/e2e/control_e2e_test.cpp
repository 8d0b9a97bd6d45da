// The Control icons end to end: the real rcsetup32.exe and the Program
// Manager stand-in, both started in this test's Wine prefix. The dialogs are
// worked from outside through their windows, and what Program Manager
// received is read from the stand-in's log.
#include "progman/dde_link_win.h"
#include "resources/resource.h"
#include "support/progman_fixture_win.h"
#include "support/station_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

using namespace rctest;

namespace {

const std::wstring kProgram = L"C:\\Quorvel\\Brennix\\VIEWDESK.EXE";
const std::vector<std::wstring> kGroups = {L"Accessories", L"Quorvel Brennix", L"Quorvel Tutor", L"Zeta Tools"};

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 15000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

std::wstring ItemText(HWND dialog, int id) {
    wchar_t text[1024] = L"";
    GetDlgItemTextW(dialog, id, text, 1024);
    return text;
}

std::vector<std::wstring> ListEntries(HWND dialog, int id) {
    std::vector<std::wstring> r;
    HWND list = GetDlgItem(dialog, id);
    LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t text[1024] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, i, 0) < 1024) SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        r.push_back(text);
    }
    return r;
}

std::wstring SelectedEntry(HWND dialog, int id) {
    LRESULT i = SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR) return L"(none)";
    auto entries = ListEntries(dialog, id);
    return i < static_cast<LRESULT>(entries.size()) ? entries[i] : L"(none)";
}

std::vector<std::wstring> IconNames(HWND dialog) {
    std::vector<std::wstring> r;
    for (const auto& e : ListEntries(dialog, IDC_IM_ICONS)) r.push_back(e.substr(0, e.find(L'\t')));
    return r;
}

// A click as the dialog receives it, without waiting for what it opens.
void PostClick(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PostNotify(HWND dialog, int id, int code) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool Gone(HWND window) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

class ControlIcons : public testing::Test {
protected:
    void SetUp() override { ResetGroups(kGroups); }
    void TearDown() override { standin_.Stop(); }

    // Seeds the stand-in's groups with items through Program Manager
    // commands, from a window of this process.
    void Seed(const std::wstring& commands) {
        HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        HGLOBAL block = rc::MakeCommandBlock(commands, 2048);
        ASSERT_NE(block, nullptr);
        rc::ExecuteCommands(owner, block);
        DestroyWindow(owner);
        standin_.ClearLog();
    }
    // Opens Control Icon Maintenance from the main window's menu command and
    // waits until the selected group's icons have been loaded.
    HWND OpenMaintenance(Configurator& app) {
        HWND main = app.MainWindow();
        if (!main) return nullptr;
        PostMessageW(main, WM_COMMAND, IDM_CONTROL, 0);
        HWND dialog = WaitForDialog(app.ProcessId(), L"Control Icon Maintenance");
        if (!dialog) return nullptr;
        WaitFor([&] { return SendDlgItemMessageW(dialog, IDC_IM_ICONS, LB_GETCOUNT, 0, 0) > 0; });
        return dialog;
    }

    ProgmanStandIn standin_;
};

const wchar_t kAlpha[] =
    L"[ShowGroup(\"Quorvel Brennix\", 1)]"
    L"[AddItem(\"C:\\Quorvel\\Brennix\\VIEWDESK.EXE\" ALPHA /UIP ,\"Alpha Control\","
    L"c:\\quorvel\\brennix\\viewdesk.exe,0,10,20,C:\\Quorvel\\Brennix,1234,0,1)]";

TEST_F(ControlIcons, MaintenanceListsTheGroupsAndOpensOnTheProgramGroupNamedByP) {
    struct Case {
        bool classroom;
        const wchar_t* arguments;
        const wchar_t* selected;
    } cases[] = {
        {false, L"", L"Quorvel Brennix"},
        {true, L"", L"Quorvel Tutor"},
        {false, L"/PZeta Tools", L"Zeta Tools"},
        {false, L"-pquorvel tutor", L"Quorvel Tutor"},
        {false, L"/PNo Such Group", L"Accessories"},
    };
    ASSERT_TRUE(standin_.Start());
    Seed(kAlpha);
    for (const auto& c : cases) {
        StationOptions options;
        options.classroom = c.classroom;
        Station station(options);
        Configurator app;
        ASSERT_TRUE(app.Start(station.Exe(), c.arguments));
        HWND dialog = OpenMaintenance(app);
        ASSERT_NE(dialog, nullptr) << c.arguments;
        EXPECT_EQ(ListEntries(dialog, IDC_IM_GROUPS), kGroups);
        EXPECT_EQ(SelectedEntry(dialog, IDC_IM_GROUPS), c.selected) << c.arguments;
        std::wstring expectedIcons = std::wstring(c.selected) == L"Quorvel Brennix" ? L"Alpha Control"
                                                                                    : L"No Viewdesk Icons found in Group";
        EXPECT_EQ(IconNames(dialog), std::vector<std::wstring>{expectedIcons});
        PostClick(dialog, IDCANCEL);  // Done
        EXPECT_TRUE(Gone(dialog));
        PostMessageW(app.MainWindow(), WM_COMMAND, IDM_EXIT, 0);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

TEST_F(ControlIcons, NewInANewGroupCreatesTheGroupTheItemAndItsMarkedShortcut) {
    ASSERT_TRUE(standin_.Start());
    Station station;
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND dialog = OpenMaintenance(app);
    ASSERT_NE(dialog, nullptr);

    PostClick(dialog, IDC_IM_NEW);
    HWND control = WaitForDialog(app.ProcessId(), L"Control Configuration");
    ASSERT_NE(control, nullptr);
    SetDlgItemTextW(control, IDC_CT_NAME, L"E2ENAME");
    PostClick(control, IDOK);
    HWND create = WaitForDialog(app.ProcessId(), L"Create Program Icon");
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(ItemText(create, IDC_CI_GROUPS), L"Quorvel Brennix");  // the group selected in Maintenance
    EXPECT_EQ(ItemText(create, IDC_CI_ICON_FILE), L"c:\\quorvel\\brennix\\viewdesk.exe");
    SetDlgItemTextW(create, IDC_CI_DESCRIPTION, L"E2E Icon");
    SetDlgItemTextW(create, IDC_CI_GROUPS, L"E2E Group");
    PostNotify(create, IDC_CI_GROUPS, CBN_EDITCHANGE);
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(create, IDOK)) != FALSE; }));
    PostClick(create, IDOK);
    EXPECT_TRUE(Gone(create));
    EXPECT_TRUE(Gone(control));

    auto blocks = standin_.Executes();
    ASSERT_EQ(blocks.size(), 1u);
    const std::wstring head = L"[CreateGroup(E2E Group)][ShowGroup(\"E2E Group\", 1)][AddItem(\"" + kProgram + L"\" E2ENAME /U";
    const std::wstring tail = L",\"E2E Icon\",c:\\quorvel\\brennix\\viewdesk.exe,0,0,0,C:\\Quorvel\\Brennix,0,0,1)]";
    EXPECT_EQ(blocks[0].substr(0, head.size()), head) << blocks[0];
    ASSERT_GE(blocks[0].size(), tail.size());
    EXPECT_EQ(blocks[0].substr(blocks[0].size() - tail.size()), tail) << blocks[0];
    EXPECT_TRUE(GroupExists(L"E2E Group"));
    DWORD flags = 0;
    ASSERT_TRUE(ReadLinkFlags(LinkPath(L"E2E Group", L"E2E Icon"), &flags));
    EXPECT_EQ(flags & 0x400, 0x400u);

    // Maintenance lists the new group, selected, with its icon.
    EXPECT_TRUE(WaitFor([&] { return SelectedEntry(dialog, IDC_IM_GROUPS) == L"E2E Group"; }));
    EXPECT_TRUE(WaitFor([&] { return IconNames(dialog) == std::vector<std::wstring>{L"E2E Icon"}; }));
    PostClick(dialog, IDCANCEL);
    EXPECT_TRUE(Gone(dialog));
    PostMessageW(app.MainWindow(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

// Under Wine the stand-in's shell links give back no minimize flag, so the
// item here has none; the dialog tests carry the flag through Edit.
TEST_F(ControlIcons, EditAddsTheItemAgainWithItsPositionAndHotKey) {
    ASSERT_TRUE(standin_.Start());
    Seed(kAlpha);
    Station station;
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND dialog = OpenMaintenance(app);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(IconNames(dialog), std::vector<std::wstring>{L"Alpha Control"});
    EXPECT_TRUE(WaitFor([&] { return ItemText(dialog, IDC_IM_COMMAND_LINE) == L"ALPHA /UIP"; }));

    PostClick(dialog, IDC_IM_EDIT);
    HWND control = WaitForDialog(app.ProcessId(), L"Control Configuration");
    ASSERT_NE(control, nullptr);
    PostClick(control, IDOK);
    HWND create = WaitForDialog(app.ProcessId(), L"Create Program Icon");
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(ItemText(create, IDC_CI_DESCRIPTION), L"Alpha Control");
    PostClick(create, IDOK);
    EXPECT_TRUE(Gone(create));

    // Byte for byte what Program Manager received: the options composed again
    // from the item's command line, position and hot key from its line.
    EXPECT_EQ(standin_.Executes(),
              (std::vector<std::wstring>{L"[ShowGroup(\"Quorvel Brennix\", 1)][AddItem(\"" + kProgram +
                                         L"\" ALPHA /UIP ,\"Alpha Control\",c:\\quorvel\\brennix\\viewdesk.exe,0,10,20,"
                                         L"C:\\Quorvel\\Brennix,1234,0,1)]"}));
    PostClick(dialog, IDCANCEL);
    EXPECT_TRUE(Gone(dialog));
    PostMessageW(app.MainWindow(), WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

TEST_F(ControlIcons, DeleteRemovesTheItemAfterYesAndKeepsItAfterNo) {
    struct Case {
        int answer;
        std::vector<std::wstring> blocks;
        bool linkStays;
    } cases[] = {
        {IDNO, {}, true},
        {IDYES, {L"[ShowGroup(\"Quorvel Brennix\", 1)][DeleteItem(\"Alpha Control\")]"}, false},
    };
    ASSERT_TRUE(standin_.Start());
    Seed(kAlpha);
    Station station;
    for (const auto& c : cases) {
        standin_.ClearLog();
        Configurator app;
        ASSERT_TRUE(app.Start(station.Exe(), L""));
        HWND dialog = OpenMaintenance(app);
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(IconNames(dialog), std::vector<std::wstring>{L"Alpha Control"});
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_IM_DELETE)) != FALSE; }));
        PostClick(dialog, IDC_IM_DELETE);
        HWND box = WaitForDialog(app.ProcessId(), L"Warning");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ItemText(box, 0xFFFF), L"Are you sure you want to delete this icon?");
        PostMessageW(box, WM_COMMAND, c.answer, 0);
        EXPECT_TRUE(Gone(box));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(dialog) && !IconNames(dialog).empty(); }));
        Sleep(1200);  // the icons are loaded again after the pause
        EXPECT_EQ(standin_.Executes(), c.blocks);
        EXPECT_EQ(FileThere(LinkPath(L"Quorvel Brennix", L"Alpha Control")), c.linkStays);
        EXPECT_EQ(IconNames(dialog), std::vector<std::wstring>{c.linkStays ? L"Alpha Control"
                                                                            : L"No Viewdesk Icons found in Group"});
        PostClick(dialog, IDCANCEL);
        EXPECT_TRUE(Gone(dialog));
        PostMessageW(app.MainWindow(), WM_COMMAND, IDM_EXIT, 0);
        EXPECT_EQ(app.WaitExit(), 0);
    }
}

// Without the stand-in only Wine's shell answers, and it refuses the group
// list: the user is told, the dialog opens empty and closes normally.
TEST_F(ControlIcons, WithoutTheStandInTheRefusedGroupListIsReportedAndNothingHangs) {
    Station station;
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND main = app.MainWindow();
    ASSERT_NE(main, nullptr);
    PostMessageW(main, WM_COMMAND, IDM_CONTROL, 0);
    HWND box = WaitForDialog(app.ProcessId(), L"Warning");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(ItemText(box, 0xFFFF), L"Unable to get list of Groups\nfrom Program Manager!");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    HWND dialog = WaitForDialog(app.ProcessId(), L"Control Icon Maintenance");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(ListEntries(dialog, IDC_IM_GROUPS).empty());
    PostClick(dialog, IDCANCEL);
    EXPECT_TRUE(Gone(dialog));
    PostMessageW(main, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_EQ(app.WaitExit(), 0);
}

// The two dialogs in both editions, for the eye.
TEST_F(ControlIcons, ScreenshotsOfBothDialogsInBothEditions) {
    ASSERT_TRUE(standin_.Start());
    Seed(std::wstring(kAlpha) +
         L"[AddItem(\"C:\\Quorvel\\Brennix\\VIEWDESK.EXE\" BETA /UNB /A0 /H512 ,\"Beta Control\","
         L"c:\\quorvel\\brennix\\viewdesk.exe,1,30,40,C:\\Quorvel\\Brennix,0,0,1)]");
    for (bool classroom : {false, true}) {
        StationOptions options;
        options.classroom = classroom;
        Station station(options);
        // A VIEWDESK.EXE with icons, so the preview shows one.
        ASSERT_TRUE(CopyFileW(BuiltConfigurator().c_str(), kProgram.c_str(), FALSE));
        std::wstring edition = classroom ? L"tutor" : L"default";
        Configurator app;
        ASSERT_TRUE(app.Start(station.Exe(), classroom ? L"/PQuorvel Brennix" : L""));
        HWND dialog = OpenMaintenance(app);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WaitFor([&] { return ItemText(dialog, IDC_IM_COMMAND_LINE) == L"ALPHA /UIP"; }));
        EXPECT_TRUE(Capture(dialog, L"icon-maintenance-" + edition));

        PostClick(dialog, IDC_IM_EDIT);
        HWND control = WaitForDialog(app.ProcessId(), L"Control Configuration");
        ASSERT_NE(control, nullptr);
        PostClick(control, IDOK);
        HWND create = WaitForDialog(app.ProcessId(), L"Create Program Icon");
        ASSERT_NE(create, nullptr);
        int icons = static_cast<int>(ExtractIconExW(kProgram.c_str(), -1, nullptr, nullptr, 0));
        EXPECT_EQ(ItemText(create, IDC_CI_COUNTER), L"1 - " + std::to_wstring(icons));
        EXPECT_TRUE(Capture(create, L"create-icon-" + edition));
        PostClick(create, IDCANCEL);
        EXPECT_TRUE(Gone(create));
        PostClick(control, IDCANCEL);
        EXPECT_TRUE(Gone(control));
        PostClick(dialog, IDCANCEL);
        EXPECT_TRUE(Gone(dialog));
        PostMessageW(app.MainWindow(), WM_COMMAND, IDM_EXIT, 0);
        EXPECT_EQ(app.WaitExit(), 0);
    }
    EXPECT_TRUE(standin_.Executes().empty());
}

}  // namespace

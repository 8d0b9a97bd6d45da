// Control Icon Maintenance, in-process against the Program Manager
// stand-in: which group it opens on, the pause before a group's icons are
// asked for, the "no icons" line, Delete's question and block, and Edit and
// New through Control Configuration and Create Program Icon.
#include "progman/icon_maintenance_win.h"

#include "progman/create_icon_win.h"
#include "progman/dde_link_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

const std::wstring kDir = L"C:\\RcMaint";
const wchar_t kGroups[][32] = {L"Accessories", L"Quorvel Brennix", L"Quorvel Tutor", L"Zeta Tools"};

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// The Control transport modules, looked for beside the running program:
// Control Configuration offers only the transports whose module is there.
const wchar_t* const kControlModules[] = {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"};
std::wstring BesideThisProgram(const wchar_t* name) {
    std::wstring p = ThisProgram();
    return p.substr(0, p.rfind(L'\\') + 1) + name;
}

std::vector<std::wstring> ListEntries(HWND dialog, int id) {
    std::vector<std::wstring> r;
    int n = static_cast<int>(SendDlgItemMessageW(dialog, id, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[1024] = L"";
        SendDlgItemMessageW(dialog, id, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        r.push_back(text);
    }
    return r;
}

std::wstring Selected(HWND dialog, int id) {
    LRESULT i = SendDlgItemMessageW(dialog, id, LB_GETCURSEL, 0, 0);
    if (i == LB_ERR) return L"(none)";
    wchar_t text[1024] = L"";
    SendDlgItemMessageW(dialog, id, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    return text;
}

// The visible names of the Icons list: each entry up to its first TAB.
std::vector<std::wstring> IconNames(HWND dialog) {
    std::vector<std::wstring> r;
    for (const auto& e : ListEntries(dialog, IDC_IM_ICONS)) r.push_back(e.substr(0, e.find(L'\t')));
    return r;
}

LRESULT IconValue(HWND dialog, int index) {
    return SendDlgItemMessageW(dialog, IDC_IM_ICONS, LB_GETITEMDATA, index, 0);
}

// A list selection as the user makes it with the mouse.
void SelectEntry(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, LB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Sends Program Manager a block of commands, as the dialogs do.
void Execute(const std::wstring& commands) {
    HGLOBAL block = rc::MakeCommandBlock(commands, 2048);
    ASSERT_NE(block, nullptr);
    rc::ExecuteCommands(g_shell.mainWindow, block);
    Pump(100);
}

class IconMaintenance : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(kDir.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(ThisProgram().c_str(), (kDir + L"\\VIEWDESK.EXE").c_str(), FALSE));
        for (const wchar_t* m : kControlModules) WriteBytes(BesideThisProgram(m), "MZ");
        rc::WriteIniText(L"Configurator", L"Directory", kDir.c_str());
        ResetGroups(std::vector<std::wstring>(std::begin(kGroups), std::end(kGroups)));
        ASSERT_TRUE(standin_.Start()) << "the Program Manager stand-in did not start";
        // Two Control icons and another program in the program group, only
        // another program in Zeta Tools; Quorvel Tutor and Accessories stay empty.
        Execute(L"[ShowGroup(\"Quorvel Brennix\", 1)]"
                L"[AddItem(\"C:\\RcMaint\\VIEWDESK.EXE\" ALPHA /UIP ,\"Alpha Control\",c:\\rcmaint\\viewdesk.exe,"
                L"2,10,20,C:\\RcMaint,1234,1,1)]"
                L"[AddItem(\"C:\\RcMaint\\VIEWDESK.EXE\" BETA /UNB /A0 ,\"Beta Control\","
                L"c:\\rcmaint\\viewdesk.exe,0,30,40,C:\\RcMaint,0,0,1)]"
                L"[AddItem(\"C:\\windows\\notepad.exe\",\"Notes\",C:\\windows\\notepad.exe,0,0,0,C:\\,0,0,1)]"
                L"[ShowGroup(\"Zeta Tools\", 1)]"
                L"[AddItem(\"C:\\windows\\notepad.exe\",\"Editor\",C:\\windows\\notepad.exe,0,0,0,C:\\,0,0,1)]");
        ASSERT_TRUE(FileThere(LinkPath(L"Quorvel Brennix", L"Beta Control")));
        standin_.ClearLog();
        savedGroupName_ = g_shell.groupName;
    }
    void TearDown() override {
        wcscpy(g_shell.groupName, savedGroupName_.c_str());
        rc::SetEdition(rc::Edition::Default);
        standin_.Stop();
        for (const wchar_t* m : kControlModules) DeleteFileW(BesideThisProgram(m).c_str());
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    // Runs the dialog as the main window's Control command does; `step`
    // runs once the first group's icons have had time to arrive.
    void RunWith(std::function<void(HWND)> step) {
        driver_.Then([step](HWND d) { Later(d, 700, step); });
        rc::RunIconMaintenance(g_shell.mainWindow, &g_shell.itemRecord);
    }

    DialogDriver driver_;
    ProgmanStandIn standin_;
    std::wstring savedGroupName_;
};

TEST_F(IconMaintenance, OpensOnTheProgramGroupInAnyCaseElseOnTheFirstGroup) {
    struct Case {
        const wchar_t* programGroup;
        const wchar_t* selected;
    } cases[] = {
        {L"Quorvel Brennix", L"Quorvel Brennix"},
        {L"quorvel TUTOR", L"Quorvel Tutor"},  // /P as the user typed it
        {L"Quorvel", L"Accessories"},          // a beginning is not the name
        {L"", L"Accessories"},
    };
    for (const auto& c : cases) {
        wcscpy(g_shell.groupName, c.programGroup);
        RunWith([&](HWND d) {
            EXPECT_EQ(Title(d), L"Control Icon Maintenance");
            EXPECT_EQ(ListEntries(d, IDC_IM_GROUPS),
                      std::vector<std::wstring>(std::begin(kGroups), std::end(kGroups)));
            EXPECT_EQ(Selected(d, IDC_IM_GROUPS), c.selected) << c.programGroup;
            Press(d, IDCANCEL);
        });
    }
    // The icons asked for are those of the group opened on, once each.
    EXPECT_EQ(standin_.Requests(L"Quorvel Brennix"), 1);
    EXPECT_EQ(standin_.Requests(L"Quorvel Tutor"), 1);
    EXPECT_EQ(standin_.Requests(L"Accessories"), 2);
}

TEST_F(IconMaintenance, ShowsTheControlIconsOfTheGroupWithTheFirstOnesOptions) {
    RunWith([](HWND d) {
        EXPECT_EQ(IconNames(d), (std::vector<std::wstring>{L"Alpha Control", L"Beta Control"}));
        EXPECT_EQ(IconValue(d, 0), 1);
        EXPECT_EQ(IconValue(d, 1), 1);
        EXPECT_EQ(Selected(d, IDC_IM_ICONS).substr(0, 14), L"Alpha Control\t");
        EXPECT_EQ(Text(d, IDC_IM_COMMAND_LINE), L"ALPHA /UIP");
        EXPECT_TRUE(Enabled(d, IDC_IM_EDIT));
        EXPECT_TRUE(Enabled(d, IDC_IM_DELETE));
        // The tab stop keeps the command line out of the list's width.
        RECT r{};
        GetClientRect(GetDlgItem(d, IDC_IM_ICONS), &r);
        RECT stop{0, 0, 160, 8};
        MapDialogRect(d, &stop);
        EXPECT_LT(r.right, stop.right);

        SelectEntry(d, IDC_IM_ICONS, 1);
        EXPECT_EQ(Text(d, IDC_IM_COMMAND_LINE), L"BETA /UNB /A0");
        Press(d, IDCANCEL);
    });
}

TEST_F(IconMaintenance, GroupWithoutControlIconsShowsTheNoIconsLineAndNothingToEditOrDelete) {
    for (const wchar_t* group : {L"Zeta Tools", L"Quorvel Tutor"}) {
        wcscpy(g_shell.groupName, group);
        RunWith([&](HWND d) {
            EXPECT_EQ(Selected(d, IDC_IM_GROUPS), group);
            EXPECT_EQ(ListEntries(d, IDC_IM_ICONS), (std::vector<std::wstring>{L"No Viewdesk Icons found in Group"}));
            EXPECT_EQ(IconValue(d, 0), 0);
            EXPECT_FALSE(Enabled(d, IDC_IM_EDIT));
            EXPECT_FALSE(Enabled(d, IDC_IM_DELETE));
            EXPECT_EQ(Text(d, IDC_IM_COMMAND_LINE), L"");
            // Selecting the line and asking to delete it does nothing.
            SelectEntry(d, IDC_IM_ICONS, 0);
            EXPECT_FALSE(Enabled(d, IDC_IM_EDIT));
            Click(d, IDC_IM_DELETE);
            Later(d, 300, [](HWND d2) { Press(d2, IDCANCEL); });
        });
    }
    EXPECT_TRUE(standin_.Executes().empty());
}

TEST_F(IconMaintenance, GroupChangesInARowAskProgramManagerOnceTheSelectionRests) {
    int requestsDuringTheRun = -1;
    RunWith([&](HWND d) {
        ASSERT_EQ(Selected(d, IDC_IM_GROUPS), L"Quorvel Brennix");
        standin_.ClearLog();
        // Down, down, up, down with the arrow keys: Quorvel Tutor, Zeta
        // Tools, Quorvel Tutor, Zeta Tools, each change well inside 250 ms.
        HWND groups = GetDlgItem(d, IDC_IM_GROUPS);
        SetFocus(groups);
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_UP, VK_DOWN}) {
            PostMessageW(groups, WM_KEYDOWN, key, 0);
            Pump(60);
        }
        EXPECT_EQ(Selected(d, IDC_IM_GROUPS), L"Zeta Tools");
        EXPECT_FALSE(Enabled(d, IDC_IM_EDIT));
        requestsDuringTheRun = standin_.Requests(L"Quorvel Tutor") + standin_.Requests(L"Zeta Tools");
        Later(d, 800, [](HWND d2) {
            EXPECT_EQ(ListEntries(d2, IDC_IM_ICONS), (std::vector<std::wstring>{L"No Viewdesk Icons found in Group"}));
            Press(d2, IDCANCEL);
        });
    });
    EXPECT_EQ(requestsDuringTheRun, 0);
    EXPECT_EQ(standin_.Requests(L"Zeta Tools"), 1);
    EXPECT_EQ(standin_.Requests(L"Quorvel Tutor"), 0);
}

TEST_F(IconMaintenance, DeleteSendsItsBlockOnlyAfterYes) {
    struct Case {
        int answer;
        std::vector<std::wstring> blocks;
        bool linkStays;
    } cases[] = {
        {IDNO, {}, true},
        {IDYES, {L"[ShowGroup(\"Quorvel Brennix\", 1)][DeleteItem(\"Beta Control\")]"}, false},
    };
    for (const auto& c : cases) {
        standin_.ClearLog();
        std::vector<std::wstring> namesAfter;
        RunWith([&](HWND d) {
            SelectEntry(d, IDC_IM_ICONS, 1);
            driver_.Then([&](HWND box) {
                EXPECT_EQ(MessageBoxText(box), L"Are you sure you want to delete this icon?");
                EXPECT_EQ(Title(box), L"Warning");
                EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
                EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
                Press(box, c.answer);
            });
            Click(d, IDC_IM_DELETE);
            Later(d, 900, [&](HWND d2) {
                namesAfter = IconNames(d2);
                Press(d2, IDCANCEL);
            });
        });
        EXPECT_EQ(standin_.Executes(), c.blocks);
        EXPECT_EQ(FileThere(LinkPath(L"Quorvel Brennix", L"Beta Control")), c.linkStays);
        // The list is loaded again and shows what Program Manager now holds.
        EXPECT_EQ(namesAfter, c.linkStays ? (std::vector<std::wstring>{L"Alpha Control", L"Beta Control"})
                                          : (std::vector<std::wstring>{L"Alpha Control"}));
        EXPECT_EQ(g_shell.itemRecord.description[0], L'\0');
    }
}

// The stand-in keeps its items as shell links, and under Wine a link gives
// back no minimize flag (IShellLink::GetShowCmd reads 1 after loading one
// saved with 7), so the item line is put into the Icons list here as
// Program Manager would give it, with every field set.
TEST_F(IconMaintenance, EditAddsTheItemAgainWithItsPositionHotKeyAndMinimizeFlag) {
    std::wstring createDescription, createGroup, createCounter;
    RunWith([&](HWND d) {
        ASSERT_EQ(Selected(d, IDC_IM_ICONS).substr(0, 14), L"Alpha Control\t");
        HWND icons = GetDlgItem(d, IDC_IM_ICONS);
        SendMessageW(icons, LB_RESETCONTENT, 0, 0);
        LRESULT at = SendMessageW(icons, LB_ADDSTRING, 0,
                                  reinterpret_cast<LPARAM>(L"Alpha Control\tC:\\RcMaint\\VIEWDESK.EXE ALPHA /UIP\t"
                                                           L"C:\\RcMaint\tc:\\rcmaint\\viewdesk.exe\t10\t20\t2\t1234\t1"));
        SendMessageW(icons, LB_SETITEMDATA, at, 1);
        SelectEntry(d, IDC_IM_ICONS, static_cast<int>(at));
        driver_.Then([&](HWND control) {
            EXPECT_EQ(Title(control), L"Control Configuration");
            driver_.Then([&](HWND create) {
                createDescription = Text(create, IDC_CI_DESCRIPTION);
                createGroup = Text(create, IDC_CI_GROUPS);
                createCounter = Text(create, IDC_CI_COUNTER);
                Press(create, IDOK);
            });
            Press(control, IDOK);
        });
        Click(d, IDC_IM_EDIT);
        Later(d, 500, [](HWND d2) { Press(d2, IDCANCEL); });
    });
    EXPECT_EQ(createDescription, L"Alpha Control");
    EXPECT_EQ(createGroup, L"Quorvel Brennix");
    // Icon index 2 of the icons this program carries.
    EXPECT_EQ(createCounter, L"3 - " + std::to_wstring(ExtractIconExW(ThisProgram().c_str(), -1, nullptr, nullptr, 0)));
    // Control Configuration composed the options again from the command line.
    EXPECT_EQ(standin_.Executes(),
              (std::vector<std::wstring>{L"[ShowGroup(\"Quorvel Brennix\", 1)][AddItem(\"C:\\RcMaint\\VIEWDESK.EXE\" ALPHA /UIP "
                                         L",\"Alpha Control\",c:\\rcmaint\\viewdesk.exe,2,10,20,C:\\RcMaint,1234,1,1)]"}));
    EXPECT_EQ(g_shell.itemRecord.hotKey, 0);  // cleared again
}

TEST_F(IconMaintenance, NewInANewGroupListsAndSelectsThatGroupWithItsIcon) {
    std::vector<std::wstring> groupsAfter;
    std::wstring selectedAfter;
    std::vector<std::wstring> iconsAfter;
    RunWith([&](HWND d) {
        driver_.Then([&](HWND control) {
            SetText(control, IDC_CT_NAME, L"GAMMA");
            driver_.Then([&](HWND create) {
                EXPECT_EQ(Text(create, IDC_CI_GROUPS), L"Quorvel Brennix");  // the selected group
                SetText(create, IDC_CI_DESCRIPTION, L"Gamma Control");
                SetText(create, IDC_CI_GROUPS, L"Quorvel New");
                SendMessageW(create, WM_COMMAND, MAKEWPARAM(IDC_CI_GROUPS, CBN_EDITCHANGE),
                             reinterpret_cast<LPARAM>(GetDlgItem(create, IDC_CI_GROUPS)));
                Press(create, IDOK);
            });
            Press(control, IDOK);
        });
        Click(d, IDC_IM_NEW);
        groupsAfter = ListEntries(d, IDC_IM_GROUPS);
        selectedAfter = Selected(d, IDC_IM_GROUPS);
        Later(d, 800, [&](HWND d2) {
            iconsAfter = IconNames(d2);
            Press(d2, IDCANCEL);
        });
    });
    EXPECT_EQ(groupsAfter, (std::vector<std::wstring>{L"Accessories", L"Quorvel Brennix", L"Quorvel New",
                                                      L"Quorvel Tutor", L"Zeta Tools"}));
    EXPECT_EQ(selectedAfter, L"Quorvel New");
    EXPECT_EQ(iconsAfter, (std::vector<std::wstring>{L"Gamma Control"}));
    auto blocks = standin_.Executes();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].rfind(L"[CreateGroup(Quorvel New)][ShowGroup(\"Quorvel New\", 1)][AddItem(", 0), 0u)
        << blocks[0];
}

// Keyboard use of both templates: Tab walks the controls in the order they
// are laid out (disabled ones and the hidden "Dummy" left out), and no
// access key is given twice.
std::vector<int> TabOrder(HWND dialog) {
    std::vector<int> ids;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND item = first; item && ids.size() < 20;) {
        ids.push_back(GetDlgCtrlID(item));
        item = GetNextDlgTabItem(dialog, item, FALSE);
        if (item == first) break;
    }
    return ids;
}

std::wstring AccessKeys(HWND dialog) {
    std::wstring keys;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = Title(child);
        for (std::size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == L'&' && text[i + 1] != L'&') keys += static_cast<wchar_t>(towupper(text[i + 1]));
    }
    return keys;
}

TEST_F(IconMaintenance, TabOrderFollowsTheLayoutAndAccessKeysAreUnique) {
    RunWith([](HWND d) {
        EXPECT_EQ(TabOrder(d), (std::vector<int>{IDC_IM_GROUPS, IDC_IM_ICONS, IDC_IM_NEW, IDC_IM_EDIT, IDC_IM_DELETE,
                                                 IDC_HELPBUTTON, IDCANCEL, IDC_IM_COMMAND_LINE}));
        EXPECT_EQ(AccessKeys(d), L"GINEDH");
        Press(d, IDCANCEL);
    });
    rc::ProgramItemRecord record{};
    wcscpy(record.description, L"Tabs");
    wcscpy(record.group, L"Accessories");
    driver_.Then([](HWND d) {
        // "<" is disabled on the first icon.
        EXPECT_EQ(TabOrder(d), (std::vector<int>{IDC_CI_DESCRIPTION, IDC_CI_GROUPS, IDC_CI_DIRECTORY, IDC_CI_ICON_FILE,
                                                 IDC_CI_BROWSE, IDC_CI_NEXT, IDOK, IDCANCEL, IDC_HELPBUTTON}));
        EXPECT_EQ(AccessKeys(d), L"DAFIBH");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(rc::RunCreateProgramIcon(g_shell.mainWindow, &record, nullptr), 0);
}

}  // namespace

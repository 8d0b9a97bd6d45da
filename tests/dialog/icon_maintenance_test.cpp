// Control Icon Maintenance, in-process against the Program Manager
// stand-in: the Control icons of a group and the options of the selected
// one, the pause before a group's icons are asked for, the "no icons" line,
// Delete's question and block, and New and Edit through Control
// Configuration and Create Program Icon. Opening on the /P group is seen end
// to end.
//
// Then Program Manager that does not answer, met by the icon dialogs: a
// hung program's window on the desktop, a stand-in silent for everything or
// for one kind of request, and Wine's shell alone, which refuses. Each case
// measures its own elapsed time; the bound is the behaviour.
#include "progman/dde_link_win.h"
#include "progman/icon_maintenance_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/narrow_text.h"
#include "support/progman_fixture_win.h"

#include <shellapi.h>

#include <memory>

using namespace rctest;
using rc::g_shell;

namespace {

const std::wstring kNoIcons = L"No Viewdesk Icons found in Group";

class IconMaintenance : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(SeedControlStation(L"C:\\RcMaint", {L"Accessories", L"Quorvel Brennix", L"Quorvel Tutor", L"Zeta Tools"}));
        ASSERT_TRUE(standin_.Start());
        // Two Control icons and another program in the program group, only
        // another program in Zeta Tools.
        standin_.Seed(L"[ShowGroup(\"Quorvel Brennix\", 1)]"
                      L"[AddItem(\"C:\\RcMaint\\VIEWDESK.EXE\" ALPHA /UIP ,\"Alpha Control\",c:\\rcmaint\\viewdesk.exe,"
                      L"2,10,20,C:\\RcMaint,1234,1,1)]"
                      L"[AddItem(\"C:\\RcMaint\\VIEWDESK.EXE\" BETA /UNB /A0 ,\"Beta Control\","
                      L"c:\\rcmaint\\viewdesk.exe,0,30,40,C:\\RcMaint,0,0,1)]"
                      L"[AddItem(\"C:\\windows\\notepad.exe\",\"Notes\",C:\\windows\\notepad.exe,0,0,0,C:\\,0,0,1)]"
                      L"[ShowGroup(\"Zeta Tools\", 1)]"
                      L"[AddItem(\"C:\\windows\\notepad.exe\",\"Editor\",C:\\windows\\notepad.exe,0,0,0,C:\\,0,0,1)]");
    }
    // Runs the dialog as the main window's Control command does; `step`
    // runs once the first group's icons have had time to arrive.
    void RunWith(std::function<void(HWND)> step) {
        driver_.Then([step](HWND d) { Later(d, 700, step); });
        rc::RunIconMaintenance(g_shell.mainWindow, &g_shell.itemRecord);
    }

    ProgmanStandIn standin_;
};

TEST_F(IconMaintenance, ListsTheControlIconsOfTheGroupWithTheSelectedOnesOptions) {
    RunWith([](HWND d) {
        EXPECT_EQ(IconNames(d), (std::vector<std::wstring>{L"Alpha Control", L"Beta Control"}));
        EXPECT_EQ(Look(d, {IDC_IM_COMMAND_LINE, IDC_IM_EDIT, IDC_IM_DELETE}), L"ALPHA /UIP|&Edit|&Delete");
        Shot(d, L"icon-maintenance");
        // The tab stop keeps the command line out of the list's width.
        RECT r{}, stop{0, 0, 160, 8};
        GetClientRect(GetDlgItem(d, IDC_IM_ICONS), &r);
        MapDialogRect(d, &stop);
        EXPECT_LT(r.right, stop.right);
        Choose(d, IDC_IM_ICONS, 1);
        EXPECT_EQ(Text(d, IDC_IM_COMMAND_LINE), L"BETA /UNB /A0");
        // Another group, chosen with the arrow keys in quick succession, is
        // asked for once the selection has rested 250 ms.
        HWND groups = GetDlgItem(d, IDC_IM_GROUPS);
        SetFocus(groups);
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_UP, VK_DOWN}) {
            PostMessageW(groups, WM_KEYDOWN, key, 0);
            Pump(60);
        }
        EXPECT_EQ(Selected(d, IDC_IM_GROUPS), L"Zeta Tools");
        Later(d, 800, [](HWND d2) {
            // No Control icon: the line that says so, and nothing to edit or delete.
            EXPECT_EQ(Entries(d2, IDC_IM_ICONS), std::vector<std::wstring>{kNoIcons});
            EXPECT_EQ(SendDlgItemMessageW(d2, IDC_IM_ICONS, LB_GETITEMDATA, 0, 0), 0);
            Choose(d2, IDC_IM_ICONS, 0);
            EXPECT_EQ(Look(d2, {IDC_IM_COMMAND_LINE, IDC_IM_EDIT, IDC_IM_DELETE}), L"|~&Edit|~&Delete");
            Click(d2, IDC_IM_DELETE);
            Press(d2, IDCANCEL);
        });
    });
    EXPECT_EQ(standin_.Count(L"request\t13\tQuorvel Brennix"), 1);
    EXPECT_EQ(standin_.Count(L"request\t13\tZeta Tools"), 1);
    EXPECT_EQ(standin_.Count(L"request\t13\tQuorvel Tutor"), 0);
    EXPECT_TRUE(standin_.Executes().empty());
}

TEST_F(IconMaintenance, DeleteSendsItsBlockOnlyAfterYesAndLoadsTheIconsAgain) {
    for (int answer : {IDNO, IDYES}) {
        standin_.ClearLog();
        std::vector<std::wstring> namesAfter;
        RunWith([&](HWND d) {
            Choose(d, IDC_IM_ICONS, 1);
            driver_.Box(L"Warning: Are you sure you want to delete this icon?", answer);
            Click(d, IDC_IM_DELETE);
            Later(d, 900, [&](HWND d2) {
                namesAfter = IconNames(d2);
                Press(d2, IDCANCEL);
            });
        });
        bool deleted = answer == IDYES;
        EXPECT_EQ(standin_.Executes(), deleted ? std::vector<std::wstring>{L"[ShowGroup(\"Quorvel Brennix\", 1)][DeleteItem(\"Beta Control\")]"}
                                               : std::vector<std::wstring>{});
        EXPECT_EQ(FileThere(LinkPath(L"Quorvel Brennix", L"Beta Control")), !deleted);
        EXPECT_EQ(namesAfter.size(), deleted ? 1u : 2u);
        EXPECT_EQ(g_shell.itemRecord.description[0], L'\0');
    }
}

// New hands the selected group to Create Program Icon; a new group made
// there is listed, selected, with its icon.
TEST_F(IconMaintenance, NewInANewGroupCreatesTheGroupAndListsItSelectedWithItsIcon) {
    RunWith([&](HWND d) {
        driver_.Then([&](HWND control) {
            driver_.Then([](HWND create) {
                EXPECT_EQ(Text(create, IDC_CI_GROUPS), L"Quorvel Brennix");
                SetText(create, IDC_CI_DESCRIPTION, L"New Icon");
                SetComboText(create, IDC_CI_GROUPS, L"New Group");
                Press(create, IDOK);
            });
            SetText(control, IDC_CT_NAME, L"NEWNAME");
            Press(control, IDOK);
        });
        Click(d, IDC_IM_NEW);
        EXPECT_TRUE(WaitFor([&] { return IconNames(d) == std::vector<std::wstring>{L"New Icon"}; }));
        EXPECT_EQ(Selected(d, IDC_IM_GROUPS), L"New Group");
        Press(d, IDCANCEL);
    });
    ASSERT_EQ(standin_.Executes().size(), 1u);  // the block's text is the core's
    EXPECT_EQ(standin_.Executes()[0].rfind(L"[CreateGroup(New Group)][ShowGroup(\"New Group\", 1)][AddItem(", 0), 0u);
}

// Under Wine a shell link gives back no minimize flag, so the item line is
// put into the Icons list here as Program Manager would give it.
TEST_F(IconMaintenance, EditAddsTheItemAgainWithItsPositionHotKeyAndMinimizeFlag) {
    std::wstring create;
    RunWith([&](HWND d) {
        HWND icons = GetDlgItem(d, IDC_IM_ICONS);
        SendMessageW(icons, LB_RESETCONTENT, 0, 0);
        SendMessageW(icons, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Alpha Control\tC:\\RcMaint\\VIEWDESK.EXE ALPHA /UIP\t"
                                                                      L"C:\\RcMaint\tc:\\rcmaint\\viewdesk.exe\t10\t20\t2\t1234\t1"));
        SendMessageW(icons, LB_SETITEMDATA, 0, 1);
        Choose(d, IDC_IM_ICONS, 0);
        driver_.Then([&](HWND control) {
            driver_.Then([&](HWND c) {
                create = Look(c, {IDC_CI_DESCRIPTION, IDC_CI_GROUPS, IDC_CI_COUNTER});
                Press(c, IDOK);
            });
            Press(control, IDOK);
        });
        Click(d, IDC_IM_EDIT);
        Later(d, 500, [](HWND d2) { Press(d2, IDCANCEL); });
    });
    // Icon index 2 of the icons this program carries.
    EXPECT_EQ(create, L"Alpha Control|Quorvel Brennix|3 - " +
                          std::to_wstring(ExtractIconExW(rc::ModulePath().c_str(), -1, nullptr, nullptr, 0)));
    // Control Configuration composed the options again from the command line.
    EXPECT_EQ(standin_.Executes(), std::vector<std::wstring>{
        L"[ShowGroup(\"Quorvel Brennix\", 1)][AddItem(\"C:\\RcMaint\\VIEWDESK.EXE\" ALPHA /UIP ,\"Alpha Control\","
        L"c:\\rcmaint\\viewdesk.exe,2,10,20,C:\\RcMaint,1234,1,1)]"});
    EXPECT_EQ(g_shell.itemRecord.hotKey, 0);  // cleared again
}

// ---- Program Manager that does not answer ------------------------------------

const std::wstring kNoAnswer = L"Warning: Program Manager did not answer.\nThe operation was abandoned.";
const std::wstring kNoGroups = L"Warning: Unable to get list of Groups\nfrom Program Manager!";
const std::vector<std::wstring> kGroups = {L"Accessories", L"Quorvel Brennix"};
constexpr DWORD kLimit = rc::kProgmanAnswerLimitMs;

class ProgmanNoAnswer : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        ASSERT_TRUE(SeedControlStation(L"C:\\RcQuiet", kGroups));
        WritePrivateProfileStringW(L"Control", nullptr, nullptr, rc::kIniFile);
    }
    // The stand-in with its switches, holding one Control icon in the program group.
    void StartStandIn(const std::wstring& switches) {
        ASSERT_TRUE(standin_.Start());
        standin_.Seed(
            L"[ShowGroup(\"Quorvel Brennix\", 1)][AddItem(\"C:\\RcQuiet\\VIEWDESK.EXE\" ALPHA ,"
            L"\"Alpha Control\",c:\\rcquiet\\viewdesk.exe,0,0,0,C:\\RcQuiet,0,0,1)]");
        if (!switches.empty()) {
            ASSERT_TRUE(standin_.Start(switches));
        }
    }
    // Queues a step for a message box reading `text` that notes when it came.
    void ExpectBox(const std::wstring& text, DWORD start, DWORD* at) {
        driver_.Then([=](HWND box) {
            *at = GetTickCount() - start;
            EXPECT_EQ(Title(box) + L": " + MessageBoxText(box), text);
            if (text == kNoAnswer) Shot(box, L"progman-no-answer");
            Press(box, IDOK);
        });
    }
    ProgmanStandIn standin_;
};

TEST_F(ProgmanNoAnswer, OpeningIconMaintenanceEndsInTimeAndTellsAtMostOnce) {
    struct Case {
        const wchar_t* switches;  // nullptr: no stand-in, only Wine's shell, which refuses the group list
        bool hung;                // a hung program's window on the desktop
        std::wstring box;         // the one message, if any
        DWORD bound;              // ms from opening to the groups (or the message) and to the icons
        std::vector<std::wstring> groups, icons;
        int terminates;  // conversations ended, timed out or not
    } cases[] = {
        {nullptr, false, kNoGroups, 3000, {}, {}, 0},
        {L"", true, L"", 3000, kGroups, {L"Alpha Control"}, 2},
        {L"/silent", false, kNoAnswer, kLimit + 1000, {}, {}, 1},
        {L"/silent-items", false, L"", kLimit + 1000, kGroups, {kNoIcons}, 2},
        // The items come after the time limit (before the stand-in reads
        // our terminate): they are released, never listed.
        {L"/busy-items 12", false, L"", kLimit + 1000, kGroups, {kNoIcons}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(rc::test::Narrow(c.switches ? c.switches : L"(no stand-in)"));
        if (c.switches) StartStandIn(c.switches);
        std::unique_ptr<HungWindow> hung(c.hung ? new HungWindow : nullptr);
        DWORD start = GetTickCount(), boxAt = 0, groupsAt = 0, iconsAt = 0;
        std::vector<std::wstring> groups, icons;
        if (!c.box.empty()) ExpectBox(c.box, start, &boxAt);
        driver_.Then([&](HWND d) {
            groupsAt = GetTickCount() - start;
            groups = Entries(d, IDC_IM_GROUPS);
            EXPECT_EQ(Look(d, {IDC_IM_NEW}), L"&New");
            EXPECT_TRUE(IsWindowEnabled(d));
            if (!c.icons.empty()) {
                EXPECT_TRUE(WaitFor([&] { return !Entries(d, IDC_IM_ICONS).empty(); }, c.bound + 3000));
            }
            iconsAt = GetTickCount() - start;
            EXPECT_TRUE(WaitFor([&] { return standin_.Count(L"terminate") == c.terminates; }, 5000))
                << standin_.Count(L"terminate");
            Pump(300);  // for anything the stand-in sent before it read our terminate
            icons = IconNames(d);
            Press(d, IDCANCEL);
        });
        rc::RunIconMaintenance(g_shell.mainWindow, &g_shell.itemRecord);
        EXPECT_EQ(groups, c.groups);
        EXPECT_EQ(icons, c.icons);
        EXPECT_LT(groupsAt, c.bound);
        EXPECT_LT(iconsAt, c.bound);
        if (c.box == kNoAnswer) {
            EXPECT_GE(boxAt, kLimit - 100) << "Program Manager was not given its time";
        }
    }
}

// New, answered up to the command block: one message at OK, Create Program
// Icon stays open, and so does Control Configuration when it is cancelled;
// nothing is recorded, and no new group is listed again.
TEST_F(ProgmanNoAnswer, UnansweredCommandBlockKeepsCreateProgramIconOpenAndRecordsNothing) {
    StartStandIn(L"/silent-commands");
    DWORD boxAt = 0;
    int stayedOpen = 0;  // Create Program Icon after the message, and Control Configuration after its Cancel
    driver_.Then([&](HWND d) {
        driver_.Then([&](HWND control) {
            driver_.Then([&, control](HWND create) {
                SetText(create, IDC_CI_DESCRIPTION, L"Quiet Icon");
                SetComboText(create, IDC_CI_GROUPS, L"Fresh Group");
                ExpectBox(kNoAnswer, GetTickCount(), &boxAt);
                Click(create, IDOK);
                // Still open once its loop has run a while; then given up.
                Later(create, 500, [&, control](HWND c) {
                    stayedOpen += IsWindowVisible(c) && Enabled(c, IDOK);
                    Press(c, IDCANCEL);
                    Later(control, 300, [&](HWND c2) {
                        stayedOpen += IsWindowVisible(c2);
                        Press(c2, IDCANCEL);
                    });
                });
            });
            Press(control, IDOK);
        });
        Click(d, IDC_IM_NEW);
        Press(d, IDCANCEL);
    });
    rc::RunIconMaintenance(g_shell.mainWindow, &g_shell.itemRecord);
    EXPECT_EQ(stayedOpen, 2);
    EXPECT_GE(boxAt, kLimit - 100);
    EXPECT_LT(boxAt, kLimit + 1000);
    wchar_t section[64] = L"";
    EXPECT_EQ(GetPrivateProfileSectionW(L"Control", section, 64, rc::kIniFile), 0u) << section;
    EXPECT_EQ(standin_.Executes().size(), 1u);
    EXPECT_EQ(standin_.Count(L"request\t13\tPROGMAN"), 2) << "the group list was asked for again";
}

// Delete, its command block unanswered: one message, and the icons are not
// asked for again after it. They are asked for twice in all: at the opening,
// and at the first tick of the timer that the wait runs on the dialog.
TEST_F(ProgmanNoAnswer, UnansweredDeleteTellsOnceAndDoesNotReloadTheIcons) {
    StartStandIn(L"/silent-commands");
    DWORD boxAt = 0;
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(WaitFor([&] { return !Entries(d, IDC_IM_ICONS).empty(); }, 3000));
        Choose(d, IDC_IM_ICONS, 0);
        driver_.Box(L"Warning: Are you sure you want to delete this icon?", IDYES);
        ExpectBox(kNoAnswer, GetTickCount(), &boxAt);
        Click(d, IDC_IM_DELETE);
        Pump(500);
        Press(d, IDCANCEL);
    });
    rc::RunIconMaintenance(g_shell.mainWindow, &g_shell.itemRecord);
    EXPECT_GE(boxAt, kLimit - 100);
    EXPECT_EQ(standin_.Count(L"request\t13\tQuorvel Brennix"), 2) << "the icons were asked for after the delete";
}

// A window that posts itself a message for every one it gets keeps the
// queue full for good; the wait still ends on its time.
TEST_F(ProgmanNoAnswer, FloodOfMessagesCannotHoldAWaitPastItsTime) {
    HWND flood = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(flood, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+[](HWND w, UINT m, WPARAM, LPARAM) -> LRESULT {
                          if (m == WM_APP) PostMessageW(w, WM_APP, 0, 0);
                          return 0;
                      }));
    PostMessageW(flood, WM_APP, 0, 0);
    DWORD start = GetTickCount();
    rc::PumpEnd end = rc::PumpMessagesUntil([] { return false; },
                                            [&] {
                                                DWORD spent = GetTickCount() - start;
                                                return spent >= 300 ? DWORD{0} : 300 - spent;
                                            });
    DWORD took = GetTickCount() - start;
    DestroyWindow(flood);
    EXPECT_EQ(end, rc::PumpEnd::TimedOut);
    EXPECT_LT(took, 1000u);
}

}  // namespace

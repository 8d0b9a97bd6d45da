// Control Icon Maintenance, in-process against the Program Manager
// stand-in: the Control icons of a group and the options of the selected
// one, the pause before a group's icons are asked for, the "no icons" line,
// Delete's question and block, and New and Edit through Control
// Configuration and Create Program Icon. Opening on the /P group is seen end
// to end.
#include "progman/icon_maintenance_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

#include <shellapi.h>

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

}  // namespace

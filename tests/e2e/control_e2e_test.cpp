// The Control icons end to end: the real rcsetup32.exe and the Program
// Manager stand-in, both started in this test's Wine prefix. The dialogs are
// worked from outside through their windows, and what Program Manager
// received is read from the stand-in's log.
#include "resources/resource.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

#include <gtest/gtest.h>


using namespace rctest;

namespace {

const std::vector<std::wstring> kGroups = {L"Accessories", L"Quorvel Brennix", L"Quorvel Tutor", L"Zeta Tools"};
const wchar_t kAlpha[] =
    L"[ShowGroup(\"Quorvel Brennix\", 1)]"
    L"[AddItem(\"C:\\Quorvel\\Brennix\\VIEWDESK.EXE\" ALPHA /UIP ,\"Alpha Control\","
    L"c:\\quorvel\\brennix\\viewdesk.exe,0,10,20,C:\\Quorvel\\Brennix,1234,0,1)]";

// Opens Control Icon Maintenance from the main window's menu command and
// waits until the selected group's icons have been loaded.
HWND OpenMaintenance(Configurator& app) {
    HWND dialog = app.Command(IDM_CONTROL, L"Control Icon Maintenance");
    if (dialog) WaitFor([&] { return SendDlgItemMessageW(dialog, IDC_IM_ICONS, LB_GETCOUNT, 0, 0) > 0; });
    return dialog;
}

class ControlIcons : public testing::Test {
protected:
    void SetUp() override {
        ResetGroups(kGroups);
        ASSERT_TRUE(standin_.Start());
    }
    ProgmanStandIn standin_;
};

TEST_F(ControlIcons, MaintenanceListsTheGroupsAndOpensOnTheProgramGroupNamedByP) {
    struct Case {
        bool classroom;
        const wchar_t* arguments;
        const wchar_t* selected;
    } cases[] = {
        {true, L"", L"Quorvel Tutor"},
        {false, L"-pquorvel tutor", L"Quorvel Tutor"},
        {false, L"/PQuorvel", L"Accessories"},  // a beginning is not the name: the first group
    };
    standin_.Seed(kAlpha);
    for (const auto& c : cases) {
        StationOptions options;
        options.classroom = c.classroom;
        Station station(options);
        Configurator app;
        ASSERT_TRUE(app.Start(station.Exe(), c.arguments));
        HWND dialog = OpenMaintenance(app);
        ASSERT_NE(dialog, nullptr) << c.arguments;
        EXPECT_EQ(Entries(dialog, IDC_IM_GROUPS), kGroups);
        EXPECT_EQ(Selected(dialog, IDC_IM_GROUPS), c.selected) << c.arguments;
        EXPECT_EQ(IconNames(dialog), std::vector<std::wstring>{L"No Viewdesk Icons found in Group"});
        Press(dialog, IDCANCEL);  // Done
        EXPECT_TRUE(Gone(dialog));
        EXPECT_EQ(app.Exit(), 0);
    }
}

TEST_F(ControlIcons, NewInANewGroupCreatesTheGroupTheItemAndItsMarkedShortcut) {
    Station station;
    Configurator app;
    ASSERT_TRUE(app.Start(station.Exe(), L""));
    HWND dialog = OpenMaintenance(app);
    ASSERT_NE(dialog, nullptr);
    Press(dialog, IDC_IM_NEW);
    HWND control = WaitForDialog(app.ProcessId(), L"Control Configuration");
    ASSERT_NE(control, nullptr);
    SetText(control, IDC_CT_NAME, L"E2ENAME");
    Press(control, IDOK);
    HWND create = WaitForDialog(app.ProcessId(), L"Create Program Icon");
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(Text(create, IDC_CI_GROUPS), L"Quorvel Brennix");  // the group selected in Maintenance
    SetText(create, IDC_CI_DESCRIPTION, L"E2E Icon");
    SetComboText(create, IDC_CI_GROUPS, L"E2E Group");
    EXPECT_TRUE(WaitFor([&] { return Enabled(create, IDOK); }));
    Press(create, IDOK);
    EXPECT_TRUE(Gone(create));
    EXPECT_TRUE(Gone(control));

    auto blocks = standin_.Executes();  // the block's text is the core's
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_EQ(blocks[0].rfind(L"[CreateGroup(E2E Group)][ShowGroup(\"E2E Group\", 1)][AddItem(", 0), 0u) << blocks[0];
    EXPECT_EQ(LinkFlags(L"E2E Group", L"E2E Icon") & 0x400, 0x400u);
    // Maintenance lists the new group, selected, with its icon.
    EXPECT_TRUE(WaitFor([&] { return Selected(dialog, IDC_IM_GROUPS) == L"E2E Group"; }));
    EXPECT_TRUE(WaitFor([&] { return IconNames(dialog) == std::vector<std::wstring>{L"E2E Icon"}; }));
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(Gone(dialog));
    EXPECT_EQ(app.Exit(), 0);
}

}  // namespace

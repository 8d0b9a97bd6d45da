// The Control icons end to end: the real rcsetup32.exe and the Program
// Manager stand-in, both started in this test's Wine prefix. The dialogs are
// worked from outside through their windows. New and Edit are met
// in-process (IconMaintenance).
#include "resources/resource.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

#include <gtest/gtest.h>

using namespace rctest;

namespace {

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

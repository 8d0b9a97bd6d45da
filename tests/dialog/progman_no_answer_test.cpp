// Program Manager that does not answer, met by the icon dialogs in-process:
// a hung program's window on the desktop, a stand-in silent for everything
// or for one kind of request, and Wine's shell alone, which refuses. Each case measures its own elapsed time; the
// bound is the behaviour.
#include "progman/dde_link_win.h"
#include "progman/icon_maintenance_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/narrow_text.h"
#include "support/progman_fixture_win.h"

#include <memory>

using namespace rctest;
using rc::g_shell;

namespace {

const std::wstring kNoAnswer = L"Warning: Program Manager did not answer.\nThe operation was abandoned.";
const std::wstring kNoGroups = L"Warning: Unable to get list of Groups\nfrom Program Manager!";
const std::wstring kNoIcons = L"No Viewdesk Icons found in Group";
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
        standin_.Seed(L"[ShowGroup(\"Quorvel Brennix\", 1)][AddItem(\"C:\\RcQuiet\\VIEWDESK.EXE\" ALPHA ,"
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
        const wchar_t* switches;      // nullptr: no stand-in, only Wine's shell, which refuses the group list
        bool hung;                    // a hung program's window on the desktop
        std::wstring box;             // the one message, if any
        DWORD bound;                  // ms from opening to the groups (or the message) and to the icons
        std::vector<std::wstring> groups, icons;
        int terminates;               // conversations ended, timed out or not
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
    rc::PumpEnd end = rc::PumpMessagesUntil([] { return false; }, [&] {
        DWORD spent = GetTickCount() - start;
        return spent >= 300 ? DWORD{0} : 300 - spent;
    });
    DWORD took = GetTickCount() - start;
    DestroyWindow(flood);
    EXPECT_EQ(end, rc::PumpEnd::TimedOut);
    EXPECT_LT(took, 1000u);
}

}  // namespace

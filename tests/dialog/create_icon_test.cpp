// Create Program Icon, in-process against the Program Manager stand-in:
// what a new item opens with, the command block that reaches Program
// Manager, the Start Menu mark, the icon file field and Browse, and the
// repeat buttons held for real. The block's text is the core's.
#include "progman/create_icon_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

#include <shellapi.h>

using namespace rctest;
using rc::g_shell;

namespace {

const std::wstring kDir = L"C:\\RcIcons\\Brennix Dir";  // the stored directory, in mixed case
const std::wstring kIconFile = L"c:\\rcicons\\brennix dir\\viewdesk.exe";
const std::wstring kUser32 = L"C:\\windows\\system32\\user32.dll";

// Icons in a file, by the shell's own count; this program carries several.
int IconTotal(const std::wstring& file) { return static_cast<int>(ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0)); }
std::wstring Counter(int at, const std::wstring& file) { return std::to_wstring(at) + L" - " + std::to_wstring(IconTotal(file)); }
bool HasPreview(HWND dialog) { return SendDlgItemMessageW(dialog, IDC_CI_ICON, STM_GETICON, 0, 0) != 0; }

// Enter as the user presses it in a field: through the dialog's modal loop.
void PressEnterIn(HWND dialog, int id) {
    SetFocus(GetDlgItem(dialog, id));
    PostMessageW(GetDlgItem(dialog, id), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(GetDlgItem(dialog, id), WM_KEYUP, VK_RETURN, 0);
}

class CreateIcon : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        CreateDirectoryW(L"C:\\RcIcons", nullptr);
        CreateDirectoryW(kDir.c_str(), nullptr);
        ASSERT_TRUE(CopyFileW(rc::ModulePath().c_str(), (kDir + L"\\VIEWDESK.EXE").c_str(), FALSE));
        WriteBytes(kDir + L"\\notes.txt", "no icons here\r\n");
        rc::WriteIniText(L"Configurator", L"Directory", kDir.c_str());
        ResetGroups({L"Accessories", L"Quorvel Brennix"});
        ASSERT_TRUE(standin_.Start());
        rc::ClearProgramItemRecord(&record_);
    }
    void TearDown() override {
        WriteProfileStringW(L"windows", L"KeyboardDelay", nullptr);
        WriteProfileStringW(L"windows", L"KeyboardSpeed", nullptr);
        DialogTest::TearDown();
    }
    WORD Run() { return rc::RunCreateProgramIcon(g_shell.mainWindow, &record_, &newGroup_); }
    void Item(const wchar_t* description, const wchar_t* group, const std::wstring& options = L"") {
        wcscpy(record_.description, description);
        wcscpy(record_.group, group);
        wcsncpy(record_.options, options.c_str(), rc::kItemOptionsCap - 1);
        wcsncpy(record_.commandLine, options.c_str(), rc::kItemTextCap - 1);
    }

    ProgmanStandIn standin_;
    rc::ProgramItemRecord record_{};
    std::wstring newGroup_;
};

TEST_F(CreateIcon, NewItemOpensOnTheStoredDirectoryAndOkWantsADescriptionAndAGroup) {
    driver_.Then([&](HWND d) {
        EXPECT_EQ(Look(d, {IDC_CI_DESCRIPTION, IDC_CI_DIRECTORY, IDC_CI_ICON_FILE, IDC_CI_COUNTER, IDC_CI_PREVIOUS, IDOK}),
                  L"|" + kDir + L"|" + kIconFile + L"|" + Counter(1, kIconFile) + L"|~<|~OK");
        EXPECT_TRUE(HasPreview(d));
        Shot(d, L"create-icon");
        EXPECT_EQ(Entries(d, IDC_CI_GROUPS), (std::vector<std::wstring>{L"Accessories", L"Quorvel Brennix"}));
        struct Step {
            const wchar_t* description;
            const wchar_t* group;
            bool ok;
        } steps[] = {{L"Alpha", L"", false}, {L"Alpha", L"New Group", true}, {L"", L"Quorvel Brennix", false}};
        for (const auto& s : steps) {
            SetText(d, IDC_CI_DESCRIPTION, s.description);
            SetComboText(d, IDC_CI_GROUPS, s.group);
            EXPECT_EQ(Enabled(d, IDOK), s.ok) << s.description << L" / " << s.group;
        }
        SetText(d, IDC_CI_DESCRIPTION, L"Alpha");
        SetComboText(d, IDC_CI_GROUPS, L"");
        Choose(d, IDC_CI_GROUPS, 0);  // right after a selection change the group counts as given
        EXPECT_TRUE(Enabled(d, IDOK));
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(), 0);
    Pump(300);
    EXPECT_TRUE(standin_.Executes().empty()) << "Cancel sent something";
    EXPECT_EQ(standin_.Count(L"request\t13\tPROGMAN"), 1);
}

TEST_F(CreateIcon, TheWholeBlockArrivesAGroupInOtherCaseIsNotCreatedAndTheShortcutIsMarked) {
    std::wstring options = L"ALPHA /UIP /MC:\\MESSAGES\\" + std::wstring(150, L'M') + L".TXT ";
    Item(L"Alpha Control", L"quorvel brennix", options);  // longer than the Command Line field
    driver_.Then([](HWND d) {
        EXPECT_EQ(Text(d, IDC_CI_GROUPS), L"quorvel brennix");
        Press(d, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(standin_.Executes(), std::vector<std::wstring>{
        L"[ShowGroup(\"quorvel brennix\", 1)][AddItem(\"C:\\RcIcons\\Brennix Dir\\VIEWDESK.EXE\" " + options +
        L",\"Alpha Control\",c:\\rcicons\\brennix dir\\viewdesk.exe,0,0,0,C:\\RcIcons\\Brennix Dir,0,0,1)]"});
    EXPECT_TRUE(newGroup_.empty());
    EXPECT_EQ(std::wstring(record_.directory) + L"|" + record_.iconFile, kDir + L"|" + kIconFile);
    EXPECT_EQ(LinkFlags(L"Quorvel Brennix", L"Alpha Control") & 0x400, 0x400u) << "runs in a separate process";
}

TEST_F(CreateIcon, MissingViewdeskAsksForTheDirectoryAndCancelSendsNothing) {
    CreateDirectoryW(L"C:\\RcIcons\\Empty", nullptr);
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\RcIcons\\Empty");
    Item(L"Gamma", L"Accessories");
    driver_.Then([this](HWND d) {
        EXPECT_EQ(Text(d, IDC_CI_COUNTER), L"1 - 0");  // the default icon file has none
        EXPECT_FALSE(HasPreview(d));
        driver_.Dialog(L"Enter Directory", IDCANCEL);
        Press(d, IDOK);
        Later(d, 500, [](HWND d2) { Press(d2, IDCANCEL); });  // still open after the prompt
    });
    EXPECT_EQ(Run(), 0);
    Pump(200);
    EXPECT_TRUE(standin_.Executes().empty());
}

TEST_F(CreateIcon, EnterInTheIconFileFieldAppliesTheFileOrRefusesOneWithoutIcons) {
    wcscpy(record_.iconFile, (kDir + L"\\VIEWDESK.EXE").c_str());
    record_.iconIndex = 1;
    std::wstring afterRefusal, afterApply;
    driver_.Then([&](HWND d) {
        SetFocus(GetDlgItem(d, IDC_CI_ICON_FILE));
        EXPECT_EQ(LOWORD(SendMessageW(d, DM_GETDEFID, 0, 0)), IDC_CI_DUMMY);
        SetText(d, IDC_CI_ICON_FILE, kDir + L"\\notes.txt");
        driver_.Box(L"Warning: There are no Icons in this file!");
        PressEnterIn(d, IDC_CI_ICON_FILE);
        Later(d, 600, [&](HWND d2) {
            afterRefusal = Look(d2, {IDC_CI_ICON_FILE, IDC_CI_COUNTER, IDC_CI_PREVIOUS});
            SetText(d2, IDC_CI_ICON_FILE, kUser32);
            PressEnterIn(d2, IDC_CI_ICON_FILE);
            Later(d2, 500, [&](HWND d3) {
                afterApply = Look(d3, {IDC_CI_ICON_FILE, IDC_CI_COUNTER, IDC_CI_PREVIOUS});
                EXPECT_TRUE(HasPreview(d3));
                SetFocus(GetDlgItem(d3, IDC_CI_DESCRIPTION));  // leaving the field gives OK back
                EXPECT_EQ(LOWORD(SendMessageW(d3, DM_GETDEFID, 0, 0)), IDOK);
                Press(d3, IDCANCEL);
            });
        });
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(afterRefusal, kIconFile + L"|" + Counter(2, kIconFile) + L"|<");
    EXPECT_EQ(afterApply, kUser32 + L"|" + Counter(1, kUser32) + L"|~<");
    EXPECT_TRUE(standin_.Executes().empty());
}

TEST_F(CreateIcon, BrowseRefusesAFileWithoutIconsAndTakesOneWithIcons) {
    std::wstring stayed;
    driver_.Then([&](HWND d) {
        driver_.Then([&](HWND open) {
            SetText(open, IDC_OFN_FILE_NAME, L"notes.txt");
            driver_.Box(L"Warning: There are no Icons in this file!");
            Press(open, IDOK);
            Later(open, 600, [&](HWND open2) {
                stayed = IsWindowVisible(open2) ? L"shown" : L"";
                SetText(open2, IDC_OFN_FILE_NAME, L"viewdesk.exe");
                Press(open2, IDOK);
            });
        });
        Click(d, IDC_CI_BROWSE);  // returns when the Open dialog has closed
        EXPECT_EQ(CharLowerW(Text(d, IDC_CI_ICON_FILE).data()), kIconFile);
        EXPECT_EQ(Text(d, IDC_CI_COUNTER), Counter(1, kIconFile));
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_FALSE(stayed.empty()) << "the Open dialog closed on a file without icons";
}

// ---- The repeat buttons, held for real ----------------------------------------

// Mouse input as the user gives it, at the centre of a control.
void MouseAt(HWND control, DWORD flags) {
    RECT r{};
    GetWindowRect(control, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// With the defaults the first step comes after 450 ms, then one every 50 ms;
// with KeyboardDelay 0 and KeyboardSpeed 12 after 150 ms, then 1000 ms. A
// release adds no step, a short press is one click, and the last step hands
// the focus to the other button (otherwise it stays on the held one).
TEST_F(CreateIcon, HeldNextStepsAtTheKeyboardRateAndHandsTheFocusOverAtTheEnd) {
    const int icons = IconTotal(kUser32);
    ASSERT_GE(icons, 4);
    wcscpy(record_.iconFile, kUser32.c_str());
    struct Case {
        const wchar_t* delay;
        const wchar_t* speed;
        DWORD hold;
        std::vector<int> shown;  // positions 300 ms into the hold, at its end, after the release, after a short press
    } cases[] = {{nullptr, nullptr, 450 + 50 * static_cast<DWORD>(icons) + 600, {1, icons, icons, icons}},
                 {L"0", L"12", 600, {2, 2, 2, 3}}};
    for (const auto& c : cases) {
        WriteProfileStringW(L"windows", L"KeyboardDelay", c.delay);
        WriteProfileStringW(L"windows", L"KeyboardSpeed", c.speed);
        std::vector<int> shown;
        auto note = [&](HWND d) { shown.push_back(_wtoi(Text(d, IDC_CI_COUNTER).c_str())); };
        auto mouse = [](HWND d, DWORD flags) { MouseAt(GetDlgItem(d, IDC_CI_NEXT), flags); };
        driver_.Then([&](HWND d) {
            ShowWindow(d, SW_SHOWNORMAL);
            SetForegroundWindow(d);
            Pump(200);
            mouse(d, MOUSEEVENTF_LEFTDOWN);
            Later(d, 300, note);
            Later(d, c.hold, [&](HWND d2) {
                note(d2);
                mouse(d2, MOUSEEVENTF_LEFTUP);
                Later(d2, 1300, [&](HWND d3) {
                    note(d3);
                    mouse(d3, MOUSEEVENTF_LEFTDOWN);
                    Later(d3, 40, [&](HWND d4) {
                        mouse(d4, MOUSEEVENTF_LEFTUP);
                        Later(d4, 1300, [&](HWND d5) {
                            note(d5);
                            EXPECT_EQ(GetFocus() == GetDlgItem(d5, IDC_CI_PREVIOUS), shown[1] == icons);
                            Press(d5, IDCANCEL);
                        });
                    });
                });
            });
        });
        EXPECT_EQ(Run(), 0);
        EXPECT_EQ(shown, c.shown);
    }
}

}  // namespace

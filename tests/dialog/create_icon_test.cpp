// Create Program Icon, in-process against the Program Manager stand-in:
// what a new item opens with, the command block that reaches Program
// Manager, the group report, the Start Menu mark, the icon file field and
// Browse, and the repeat buttons held for real.
#include "progman/create_icon_win.h"
#include "progman/dde_link_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;
using rc::ProgramItemRecord;

namespace {

const std::wstring kDir = L"C:\\RcIcons\\Brennix Dir";  // the stored directory, in mixed case
const std::wstring kDefaultIconFile = L"c:\\rcicons\\brennix dir\\viewdesk.exe";
const std::wstring kUser32 = L"C:\\windows\\system32\\user32.dll";

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// Icons in a file, counted by the shell's own total (not by extraction).
int IconTotal(const std::wstring& file) {
    return static_cast<int>(ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0));
}

std::vector<std::wstring> ComboEntries(HWND combo) {
    std::vector<std::wstring> r;
    int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[256] = L"";
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        r.push_back(text);
    }
    return r;
}

bool HasPreview(HWND dialog) { return SendDlgItemMessageW(dialog, IDC_CI_ICON, STM_GETICON, 0, 0) != 0; }

// What the group box sends while the user types in it.
void TypeGroup(HWND dialog, const std::wstring& text) {
    SetText(dialog, IDC_CI_GROUPS, text);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CI_GROUPS, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CI_GROUPS)));
}

// Enter as the user presses it in a field: through the dialog's modal loop.
void PressEnterIn(HWND dialog, int id) {
    HWND field = GetDlgItem(dialog, id);
    SetFocus(field);
    PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(field, WM_KEYUP, VK_RETURN, 0);
}

class CreateIcon : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(L"C:\\RcIcons", nullptr);
        CreateDirectoryW(kDir.c_str(), nullptr);
        // This program carries the Configurator's icons: a VIEWDESK.EXE with several.
        ASSERT_TRUE(CopyFileW(ThisProgram().c_str(), (kDir + L"\\VIEWDESK.EXE").c_str(), FALSE));
        WriteBytes(kDir + L"\\notes.txt", "no icons here\r\n");
        rc::WriteIniText(L"Configurator", L"Directory", kDir.c_str());
        ResetGroups({L"Accessories", L"Quorvel Brennix"});
        ASSERT_TRUE(standin_.Start()) << "the Program Manager stand-in did not start";
        rc::ClearProgramItemRecord(&record_);
        viewdeskIcons_ = IconTotal(kDir + L"\\VIEWDESK.EXE");
        ASSERT_GE(viewdeskIcons_, 2);
    }
    void TearDown() override {
        standin_.Stop();
        WriteProfileStringW(L"windows", L"KeyboardDelay", nullptr);
        WriteProfileStringW(L"windows", L"KeyboardSpeed", nullptr);
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    WORD Run() { return rc::RunCreateProgramIcon(g_shell.mainWindow, &record_, &newGroup_); }
    void SetOptions(const std::wstring& options) {
        wcsncpy(record_.options, options.c_str(), rc::kItemOptionsCap - 1);
        wcsncpy(record_.commandLine, options.c_str(), rc::kItemTextCap - 1);
    }

    DialogDriver driver_;
    ProgmanStandIn standin_;
    ProgramItemRecord record_{};
    std::wstring newGroup_;
    int viewdeskIcons_ = 0;
};

TEST_F(CreateIcon, NewItemOpensWithTheStoredDirectoryAndTheLowerCasedProgramAsIconFile) {
    driver_.Then([&](HWND d) {
        EXPECT_EQ(Title(d), L"Create Program Icon");
        EXPECT_EQ(Text(d, IDC_CI_DESCRIPTION), L"");
        EXPECT_FALSE(Enabled(d, IDOK));
        EXPECT_EQ(Text(d, IDC_CI_DIRECTORY), kDir);
        EXPECT_EQ(Text(d, IDC_CI_ICON_FILE), kDefaultIconFile);
        EXPECT_TRUE(HasPreview(d));
        EXPECT_EQ(Text(d, IDC_CI_COUNTER), L"1 - " + std::to_wstring(viewdeskIcons_));
        EXPECT_FALSE(Enabled(d, IDC_CI_PREVIOUS));
        EXPECT_TRUE(Enabled(d, IDC_CI_NEXT));
        EXPECT_EQ(ComboEntries(GetDlgItem(d, IDC_CI_GROUPS)),
                  (std::vector<std::wstring>{L"Accessories", L"Quorvel Brennix"}));

        // OK wants a description and a group.
        struct Step {
            const wchar_t* description;
            const wchar_t* group;
            bool ok;
        } steps[] = {
            {L"Alpha", L"", false},
            {L"Alpha", L"Quorvel Brennix", true},
            {L"", L"Quorvel Brennix", false},
            {L"Alpha", L"New Group", true},
        };
        for (const auto& s : steps) {
            SetText(d, IDC_CI_DESCRIPTION, s.description);
            TypeGroup(d, s.group);
            EXPECT_EQ(Enabled(d, IDOK), s.ok) << s.description << L" / " << s.group;
        }
        // Right after a selection change the group counts as given.
        TypeGroup(d, L"");
        EXPECT_FALSE(Enabled(d, IDOK));
        SendDlgItemMessageW(d, IDC_CI_GROUPS, CB_SETCURSEL, 0, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_CI_GROUPS, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_CI_GROUPS)));
        EXPECT_TRUE(Enabled(d, IDOK));
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(), 0);
    Pump(300);
    EXPECT_TRUE(newGroup_.empty());
    EXPECT_TRUE(standin_.Executes().empty()) << "Cancel sent something";
    EXPECT_EQ(standin_.Requests(L"PROGMAN"), 1);
    EXPECT_FALSE(FileThere(LinkPath(L"Quorvel Brennix", L"Alpha")));
}

TEST_F(CreateIcon, GroupInOtherLetterCaseIsNotCreatedAgainAndTheBlockArrivesWhole) {
    wcscpy(record_.description, L"Alpha Control");
    wcscpy(record_.group, L"quorvel brennix");
    SetOptions(L"ALPHA /UIP ");
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(Enabled(d, IDOK));
        EXPECT_EQ(Text(d, IDC_CI_GROUPS), L"quorvel brennix");
        Press(d, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(standin_.Executes(),
              (std::vector<std::wstring>{
                  L"[ShowGroup(\"quorvel brennix\", 1)][AddItem(\"C:\\RcIcons\\Brennix Dir\\VIEWDESK.EXE\" ALPHA "
                  L"/UIP ,\"Alpha Control\",c:\\rcicons\\brennix dir\\viewdesk.exe,0,0,0,C:\\RcIcons\\Brennix "
                  L"Dir,0,0,1)]"}));
    EXPECT_TRUE(newGroup_.empty());
    EXPECT_EQ(std::wstring(record_.directory), kDir);
    EXPECT_EQ(std::wstring(record_.iconFile), kDefaultIconFile);
    EXPECT_EQ(std::wstring(record_.group), L"quorvel brennix");

    // The stand-in's shortcut now runs in a separate process (LinkFlags 0x400).
    DWORD flags = 0;
    ASSERT_TRUE(ReadLinkFlags(LinkPath(L"Quorvel Brennix", L"Alpha Control"), &flags));
    EXPECT_EQ(flags & 0x400, 0x400u);

    // A shortcut the stand-in makes when the dialog is not involved lacks
    // the flag: the mark above was ours.
    HGLOBAL block = rc::MakeCommandBlock(
        L"[ShowGroup(\"Quorvel Brennix\", 1)][AddItem(\"C:\\RcIcons\\Brennix Dir\\VIEWDESK.EXE\" PLAIN /UTC ,\"Plain\","
        L"c:\\rcicons\\brennix dir\\viewdesk.exe,0,0,0,C:\\RcIcons,0,0,1)]",
        2048);
    ASSERT_NE(block, nullptr);
    rc::ExecuteCommands(g_shell.mainWindow, block);
    Pump(300);
    ASSERT_TRUE(ReadLinkFlags(LinkPath(L"Quorvel Brennix", L"Plain"), &flags));
    EXPECT_EQ(flags & 0x400, 0u);
}

TEST_F(CreateIcon, NewGroupIsCreatedBeforeItIsShownAndReported) {
    wcscpy(record_.description, L"Beta");
    wcscpy(record_.directory, L"D:\\Work");
    wcscpy(record_.iconFile, L"C:\\RcIcons\\Brennix Dir\\VIEWDESK.EXE");
    record_.iconIndex = 1;
    record_.x = 12;
    record_.y = -3;
    record_.hotKey = 1601;
    record_.minimize = 1;
    SetOptions(L"BETA /UNB /A0 ");
    driver_.Then([&](HWND d) {
        EXPECT_EQ(Text(d, IDC_CI_DIRECTORY), L"D:\\Work");
        EXPECT_EQ(Text(d, IDC_CI_ICON_FILE), kDefaultIconFile);
        EXPECT_EQ(Text(d, IDC_CI_COUNTER), L"2 - " + std::to_wstring(viewdeskIcons_));
        EXPECT_TRUE(Enabled(d, IDC_CI_PREVIOUS));
        TypeGroup(d, L"Brand New");
        Press(d, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(standin_.Executes(),
              (std::vector<std::wstring>{
                  L"[CreateGroup(Brand New)][ShowGroup(\"Brand New\", 1)][AddItem(\"C:\\RcIcons\\Brennix "
                  L"Dir\\VIEWDESK.EXE\" BETA /UNB /A0 ,\"Beta\",c:\\rcicons\\brennix dir\\viewdesk.exe,1,12,-3,D:\\Work,"
                  L"1601,1,1)]"}));
    EXPECT_EQ(newGroup_, L"Brand New");
    EXPECT_TRUE(GroupExists(L"Brand New"));
    EXPECT_EQ(record_.iconIndex, 1);
    DWORD flags = 0;
    ASSERT_TRUE(ReadLinkFlags(LinkPath(L"Brand New", L"Beta"), &flags));
    EXPECT_EQ(flags & 0x400, 0x400u);
}

TEST_F(CreateIcon, OptionsLongerThanTheCommandLineFieldReachProgramManagerWhole) {
    std::wstring options = L"LONGNAME /UTC /MC:\\MESSAGES\\" + std::wstring(150, L'M') + L".TXT /S20 ";
    ASSERT_GT(options.size(), 126u);
    wcscpy(record_.description, L"Long");
    wcscpy(record_.group, L"Accessories");
    SetOptions(options);
    driver_.Then([](HWND d) { Press(d, IDOK); });
    EXPECT_EQ(Run(), 1);
    auto blocks = standin_.Executes();
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_NE(blocks[0].find(L"VIEWDESK.EXE\" " + options + L",\"Long\","), std::wstring::npos) << blocks[0];
}

TEST_F(CreateIcon, MissingViewdeskAsksForTheDirectoryAndCancelSendsNothing) {
    CreateDirectoryW(L"C:\\RcIcons\\Empty", nullptr);
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\RcIcons\\Empty");
    wcscpy(record_.description, L"Gamma");
    wcscpy(record_.group, L"Accessories");
    driver_.Then([&](HWND d) {
        EXPECT_EQ(Text(d, IDC_CI_COUNTER), L"1 - 0");  // the default icon file has none
        EXPECT_FALSE(HasPreview(d));
        driver_.Then([](HWND prompt) {
            EXPECT_EQ(Title(prompt), L"Enter Directory");
            Press(prompt, IDCANCEL);
        });
        Press(d, IDOK);
        Later(d, 500, [](HWND d2) {
            EXPECT_TRUE(IsWindowVisible(d2)) << "Create Program Icon closed after the prompt was cancelled";
            Press(d2, IDCANCEL);
        });
    });
    EXPECT_EQ(Run(), 0);
    Pump(200);
    EXPECT_TRUE(standin_.Executes().empty());
}

TEST_F(CreateIcon, TypedFileWithoutIconsIsRefusedAndThePreviousFileKept) {
    wcscpy(record_.iconFile, L"C:\\RcIcons\\Brennix Dir\\VIEWDESK.EXE");
    record_.iconIndex = 1;
    const std::wstring counter = L"2 - " + std::to_wstring(viewdeskIcons_);
    driver_.Then([&](HWND d) {
        SetFocus(GetDlgItem(d, IDC_CI_ICON_FILE));
        EXPECT_EQ(LOWORD(SendMessageW(d, DM_GETDEFID, 0, 0)), IDC_CI_DUMMY);
        SetText(d, IDC_CI_ICON_FILE, kDir + L"\\notes.txt");
        driver_.Then([](HWND box) {
            EXPECT_EQ(MessageBoxText(box), L"There are no Icons in this file!");
            EXPECT_EQ(Title(box), L"Warning");
            Press(box, IDOK);
        });
        PressEnterIn(d, IDC_CI_ICON_FILE);
        Later(d, 600, [&](HWND d2) {
            EXPECT_EQ(Text(d2, IDC_CI_ICON_FILE), kDefaultIconFile);
            EXPECT_EQ(Text(d2, IDC_CI_COUNTER), counter);
            EXPECT_TRUE(HasPreview(d2));
            // Leaving the field applies nothing more: no second warning.
            SetFocus(GetDlgItem(d2, IDC_CI_DESCRIPTION));
            EXPECT_EQ(LOWORD(SendMessageW(d2, DM_GETDEFID, 0, 0)), IDOK);
            Later(d2, 300, [](HWND d3) { Press(d3, IDCANCEL); });
        });
    });
    EXPECT_EQ(Run(), 0);
}

TEST_F(CreateIcon, EnterInIconFileAppliesTheTypedFileWithoutClosing) {
    const int userIcons = IconTotal(kUser32);
    ASSERT_GE(userIcons, 2);
    bool stillOpen = false;
    driver_.Then([&](HWND d) {
        Click(d, IDC_CI_NEXT);
        EXPECT_EQ(Text(d, IDC_CI_COUNTER), L"2 - " + std::to_wstring(viewdeskIcons_));
        SetFocus(GetDlgItem(d, IDC_CI_ICON_FILE));
        SetText(d, IDC_CI_ICON_FILE, kUser32);
        PressEnterIn(d, IDC_CI_ICON_FILE);
        Later(d, 500, [&](HWND d2) {
            stillOpen = IsWindowVisible(d2) != FALSE;
            EXPECT_EQ(Text(d2, IDC_CI_ICON_FILE), kUser32);
            EXPECT_EQ(Text(d2, IDC_CI_COUNTER), L"1 - " + std::to_wstring(userIcons));
            EXPECT_FALSE(Enabled(d2, IDC_CI_PREVIOUS));
            EXPECT_TRUE(Enabled(d2, IDC_CI_NEXT));
            EXPECT_TRUE(HasPreview(d2));
            Press(d2, IDCANCEL);
        });
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(standin_.Executes().empty());
}

TEST_F(CreateIcon, BrowseRefusesAFileWithoutIconsAndTakesOneWithIcons) {
    bool refusedAndStayed = false;
    driver_.Then([&](HWND d) {
        driver_.Then([&](HWND open) {
            EXPECT_EQ(Text(open, IDC_OFN_DIRECTORY).empty(), false);
            SetText(open, IDC_OFN_FILE_NAME, L"notes.txt");
            driver_.Then([](HWND box) {
                EXPECT_EQ(MessageBoxText(box), L"There are no Icons in this file!");
                Press(box, IDOK);
            });
            Press(open, IDOK);
            Later(open, 600, [&](HWND open2) {
                refusedAndStayed = IsWindowVisible(open2) != FALSE;
                SetText(open2, IDC_OFN_FILE_NAME, L"viewdesk.exe");
                Press(open2, IDOK);
            });
        });
        Click(d, IDC_CI_BROWSE);  // returns when the Open dialog has closed
        EXPECT_EQ(lstrcmpiW(Text(d, IDC_CI_ICON_FILE).c_str(), (kDir + L"\\viewdesk.exe").c_str()), 0)
            << Text(d, IDC_CI_ICON_FILE);
        EXPECT_EQ(Text(d, IDC_CI_COUNTER), L"1 - " + std::to_wstring(viewdeskIcons_));
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(refusedAndStayed);
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

// Notes each change of the counter while the dialog runs.
struct CounterWatch {
    HWND dialog = nullptr;
    DWORD start = 0;
    std::wstring last;
    std::vector<std::pair<DWORD, std::wstring>> changes;
    bool stop = false;
    void Begin(HWND d) {
        dialog = d;
        start = GetTickCount();
        last = Text(d, IDC_CI_COUNTER);
        Poll();
    }
    void Poll() {
        if (stop || !IsWindow(dialog)) return;
        std::wstring now = Text(dialog, IDC_CI_COUNTER);
        if (now != last) changes.push_back({GetTickCount() - start, now});
        last = now;
        Later(dialog, 5, [this](HWND) { Poll(); });
    }
};

TEST_F(CreateIcon, HoldingNextWithTheDefaultsStepsToTheLastIconAndHandsTheFocusOver) {
    WriteProfileStringW(L"windows", L"KeyboardDelay", nullptr);
    WriteProfileStringW(L"windows", L"KeyboardSpeed", nullptr);
    const int icons = IconTotal(kUser32);
    ASSERT_GE(icons, 3);
    wcscpy(record_.iconFile, kUser32.c_str());
    CounterWatch watch;
    driver_.Then([&](HWND d) {
        ShowWindow(d, SW_SHOWNORMAL);
        SetForegroundWindow(d);
        Pump(200);
        watch.Begin(d);
        MouseAt(GetDlgItem(d, IDC_CI_NEXT), MOUSEEVENTF_LEFTDOWN);
        Later(d, 450 + 50 * icons + 600, [&](HWND d2) {
            MouseAt(GetDlgItem(d2, IDC_CI_NEXT), MOUSEEVENTF_LEFTUP);
            Later(d2, 400, [&](HWND d3) {
                watch.stop = true;
                EXPECT_EQ(Text(d3, IDC_CI_COUNTER), std::to_wstring(icons) + L" - " + std::to_wstring(icons));
                EXPECT_FALSE(Enabled(d3, IDC_CI_NEXT));
                EXPECT_TRUE(Enabled(d3, IDC_CI_PREVIOUS));
                EXPECT_EQ(GetFocus(), GetDlgItem(d3, IDC_CI_PREVIOUS));
                Press(d3, IDCANCEL);
            });
        });
    });
    EXPECT_EQ(Run(), 0);
    // One step per icon after the first, the first after the 450 ms delay.
    ASSERT_EQ(watch.changes.size(), static_cast<std::size_t>(icons - 1));
    for (int i = 0; i < icons - 1; ++i)
        EXPECT_EQ(watch.changes[i].second, std::to_wstring(i + 2) + L" - " + std::to_wstring(icons));
    EXPECT_GE(watch.changes.front().first, 380u) << "the first step did not wait for the first delay";
}

// With KeyboardDelay 0 and KeyboardSpeed 12 the first step comes after
// 150 ms and the next after a further 1000 ms, so a hold of 600 ms makes
// exactly one step; releasing adds none, and a short press clicks once.
TEST_F(CreateIcon, ReleaseAfterTheStepsAddsNoClickAndAShortPressClicksOnce) {
    WriteProfileStringW(L"windows", L"KeyboardDelay", L"0");
    WriteProfileStringW(L"windows", L"KeyboardSpeed", L"12");
    const int icons = IconTotal(kUser32);
    ASSERT_GE(icons, 4);
    wcscpy(record_.iconFile, kUser32.c_str());
    auto counter = [&](int shown) { return std::to_wstring(shown) + L" - " + std::to_wstring(icons); };
    driver_.Then([&](HWND d) {
        ShowWindow(d, SW_SHOWNORMAL);
        SetForegroundWindow(d);
        Pump(200);
        MouseAt(GetDlgItem(d, IDC_CI_NEXT), MOUSEEVENTF_LEFTDOWN);
        Later(d, 600, [&](HWND d2) {
            EXPECT_EQ(Text(d2, IDC_CI_COUNTER), counter(2));
            MouseAt(GetDlgItem(d2, IDC_CI_NEXT), MOUSEEVENTF_LEFTUP);
            Later(d2, 1300, [&](HWND d3) {
                EXPECT_EQ(Text(d3, IDC_CI_COUNTER), counter(2)) << "the release or the timer added a step";
                MouseAt(GetDlgItem(d3, IDC_CI_NEXT), MOUSEEVENTF_LEFTDOWN);
                Later(d3, 40, [&](HWND d4) {
                    MouseAt(GetDlgItem(d4, IDC_CI_NEXT), MOUSEEVENTF_LEFTUP);
                    Later(d4, 1300, [&](HWND d5) {
                        EXPECT_EQ(Text(d5, IDC_CI_COUNTER), counter(3));
                        Press(d5, IDCANCEL);
                    });
                });
            });
        });
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace

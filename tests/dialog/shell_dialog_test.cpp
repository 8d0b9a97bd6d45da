// The shell's dialogs and services on the platform: help contexts over
// nested dialogs and both F1 routes, the directory prompt, Options, About,
// and the code-page services.
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "support/dialog_driver_win.h"

#include <gtest/gtest.h>

#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

struct HelpCall {
    std::wstring file;
    UINT command;
    ULONG_PTR context;
};
std::vector<HelpCall> g_helpCalls;

BOOL WINAPI RecordHelp(HWND, LPCWSTR file, UINT command, ULONG_PTR context) {
    g_helpCalls.push_back({file, command, context});
    return TRUE;
}

// A plain dialog for the runner itself: it becomes the current window and
// closes on OK or Cancel.
INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        rc::BeginDialog(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam) == IDOK ? 1 : 0);
        return TRUE;
    }
    return FALSE;
}

class ShellDialogs : public testing::Test {
protected:
    void SetUp() override {
        g_helpCalls.clear();
        g_shell.winHelp = RecordHelp;
        savedDirectory_ = g_shell.programDirectory;
    }
    void TearDown() override {
        g_shell.winHelp = WinHelpW;
        rc::SetEdition(rc::Edition::Default);
        wcscpy(g_shell.programDirectory, savedDirectory_.c_str());
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    // F1 as the user presses it inside a dialog: through the dialog's modal
    // loop, so the message filter hook sees it.
    static void PressF1(HWND dialog) {
        HWND focus = GetFocus();
        PostMessageW(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_F1, 0);
    }
    std::vector<ULONG_PTR> HelpContexts() const {
        std::vector<ULONG_PTR> r;
        for (const auto& c : g_helpCalls)
            if (c.command == HELP_CONTEXT) r.push_back(c.context);
        return r;
    }

    DialogDriver driver_;
    std::wstring savedDirectory_;
};

TEST_F(ShellDialogs, HelpContextFollowsNestedDialogsAndIsRestoredInReverse) {
    HWND main = g_shell.mainWindow;
    std::vector<std::pair<WORD, HWND>> seen;  // help context and current window after each close

    driver_.Then([&](HWND outer) {
        EXPECT_EQ(g_shell.helpContext, 12100);
        EXPECT_EQ(g_shell.currentWindow, outer);
        PressF1(outer);
        Later(outer, 50, [&](HWND outer2) {
            driver_.Then([&](HWND middle) {
                EXPECT_EQ(g_shell.helpContext, 12400);
                PressF1(middle);
                Later(middle, 50, [&](HWND middle2) {
                    driver_.Then([&](HWND inner) {
                        EXPECT_EQ(g_shell.helpContext, 0);
                        PressF1(inner);
                        Later(inner, 50, [](HWND inner2) { Press(inner2, IDCANCEL); });
                    });
                    rc::RunDialog(middle2, IDD_ENTER_DIRECTORY, PlainDialogProc, 0, 0);
                    seen.push_back({g_shell.helpContext, g_shell.currentWindow});
                    PressF1(middle2);
                    Later(middle2, 50, [](HWND m) { Press(m, IDOK); });
                });
            });
            rc::RunDialog(outer2, IDD_ABOUT, PlainDialogProc, 0, 12400);
            seen.push_back({g_shell.helpContext, g_shell.currentWindow});
            Press(outer2, IDCANCEL);
        });
    });
    rc::RunDialog(main, IDD_OPTIONS, PlainDialogProc, 0, 12100);
    seen.push_back({g_shell.helpContext, g_shell.currentWindow});
    Pump(50);

    // F1 in the outer dialog, then in the middle one, nothing in the inner
    // one (context 0), then the middle one again after the inner closed.
    EXPECT_EQ(HelpContexts(), (std::vector<ULONG_PTR>{12100, 12400, 12400}));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].first, 12400);
    EXPECT_EQ(seen[1].first, 12100);
    EXPECT_EQ(seen[2].first, 0);
    EXPECT_EQ(seen[2].second, main);
}

TEST_F(ShellDialogs, F1InTheMainWindowOpensTheMainHelpContext) {
    // The accelerator turns F1 into command 400 in the main message loop.
    SendMessageW(g_shell.mainWindow, WM_COMMAND, IDM_HELP, 0);
    ASSERT_EQ(HelpContexts(), (std::vector<ULONG_PTR>{12000}));
    // A help request while no dialog runs (context 0) is ignored.
    SendMessageW(g_shell.mainWindow, WMU_HELP_REQUEST, 0, 0);
    EXPECT_EQ(HelpContexts().size(), 1u);
}

TEST_F(ShellDialogs, HelpFileFallsBackFromBrxToQvt) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"rc-help-test";
    CreateDirectoryW(dir.c_str(), nullptr);
    DeleteFileW((dir + L"\\BRX.hlp").c_str());
    DeleteFileW((dir + L"\\qvt.hlp").c_str());
    wcscpy(g_shell.programDirectory, dir.c_str());

    auto touch = [&](const wchar_t* name) {
        HANDLE h = CreateFileW((dir + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
    };
    rc::ShowHelp(12100);
    touch(L"\\qvt.hlp");
    rc::ShowHelp(12100);
    touch(L"\\BRX.hlp");
    rc::ShowHelp(12100);
    rc::ShowHelp(0);
    ASSERT_EQ(g_helpCalls.size(), 4u);
    EXPECT_EQ(g_helpCalls[0].file, dir + L"\\BRX.hlp");
    EXPECT_EQ(g_helpCalls[1].file, dir + L"\\qvt.hlp");
    EXPECT_EQ(g_helpCalls[2].file, dir + L"\\BRX.hlp");
    EXPECT_EQ(g_helpCalls[3].command, static_cast<UINT>(HELP_QUIT));
    DeleteFileW((dir + L"\\BRX.hlp").c_str());
    DeleteFileW((dir + L"\\qvt.hlp").c_str());
    RemoveDirectoryW(dir.c_str());
}

TEST_F(ShellDialogs, EnterDirectoryBuildsItsMessageAndStoresOneBackslashLess) {
    struct Case {
        DWORD param;
        const wchar_t* expected;
    } cases[] = {
        {ENTERDIR_CLIENT,
         L"STATN32.EXE could not be found at the specified directory.\n\n"
         L"The STATN32 entry in the registry was NOT changed.\n\n"
         L"Enter the correct directory and press OK or press Cancel to cancel the operation."},
        {ENTERDIR_CONTROL,
         L"VIEWDESK.EXE could not be found at the specified directory.\n\n"
         L"A VIEWDESK icon could not be added to Program Manager.\n\n"
         L"Enter the correct directory and press OK or press Cancel to cancel the operation."},
        {0, L"Static"},
    };
    for (const auto& c : cases) {
        rc::WriteIniText(L"Configurator", L"Directory", L"C:\\before");
        driver_.Then([&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_ENTERDIR_MESSAGE), c.expected);
            EXPECT_EQ(Text(dialog, IDC_DIRECTORY), L"C:\\before");
            EXPECT_NE(SendDlgItemMessageW(dialog, IDC_ENTERDIR_ICON, STM_GETICON, 0, 0), 0);
            SetText(dialog, IDC_DIRECTORY, L"C:\\two\\\\");
            Press(dialog, IDOK);
        });
        EXPECT_EQ(rc::RunEnterDirectory(g_shell.mainWindow, c.param), 1);
        EXPECT_EQ(rc::ReadIniText(L"Configurator", L"Directory"), L"C:\\two\\");
    }

    // Cancel writes nothing; an empty field on OK stores an empty value.
    driver_.Then([](HWND dialog) {
        SetText(dialog, IDC_DIRECTORY, L"D:\\elsewhere");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(rc::RunEnterDirectory(g_shell.mainWindow, ENTERDIR_CLIENT), 0);
    EXPECT_EQ(rc::ReadIniText(L"Configurator", L"Directory"), L"C:\\two\\");
    driver_.Then([](HWND dialog) {
        SetText(dialog, IDC_DIRECTORY, L"");
        Press(dialog, IDOK);
    });
    rc::RunEnterDirectory(g_shell.mainWindow, ENTERDIR_CLIENT);
    EXPECT_EQ(rc::ReadIniText(L"Configurator", L"Directory"), L"");
}

TEST_F(ShellDialogs, LocateProgramAsksUntilTheProgramIsFoundOrTheUserCancels) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"rc-locate-test";
    CreateDirectoryW(dir.c_str(), nullptr);
    HANDLE h = CreateFileW((dir + L"\\STATN32.EXE").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);

    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\nowhere");
    int prompts = 0;
    driver_.Then([&](HWND dialog) {  // first answer: still a wrong directory
        ++prompts;
        SetText(dialog, IDC_DIRECTORY, L"C:\\still-nowhere");
        Press(dialog, IDOK);
    });
    driver_.Then([&](HWND dialog) {
        ++prompts;
        SetText(dialog, IDC_DIRECTORY, dir + L"\\");
        Press(dialog, IDOK);
    });
    std::wstring path;
    EXPECT_TRUE(rc::LocateProgram(g_shell.mainWindow, L"STATN32.EXE", ENTERDIR_CLIENT, &path));
    EXPECT_EQ(prompts, 2);
    EXPECT_EQ(path, dir + L"\\STATN32.EXE");

    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\nowhere");
    driver_.Then([](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_FALSE(rc::LocateProgram(g_shell.mainWindow, L"STATN32.EXE", ENTERDIR_CLIENT, &path));
    EXPECT_EQ(rc::ReadIniText(L"Configurator", L"Directory"), L"C:\\nowhere");

    DeleteFileW((dir + L"\\STATN32.EXE").c_str());
    RemoveDirectoryW(dir.c_str());
}

TEST_F(ShellDialogs, OptionsLabelNamesTheEditionAndOkSetsTheProgramDirectory) {
    struct Case {
        rc::Edition edition;
        const wchar_t* label;
    } cases[] = {{rc::Edition::Default, L"Quorvel Brennix Directory"},
                 {rc::Edition::Classroom, L"Quorvel Tutor Directory"}};
    for (const auto& c : cases) {
        rc::SetEdition(c.edition);
        wcscpy(g_shell.programDirectory, L"C:\\old");
        driver_.Then([&](HWND dialog) {
            EXPECT_EQ(Text(dialog, IDC_OPTIONS_LABEL), c.label);
            EXPECT_EQ(Text(dialog, IDC_DIRECTORY), L"C:\\old");
            SetText(dialog, IDC_DIRECTORY, L"C:\\new\\");
            Press(dialog, IDOK);
        });
        EXPECT_EQ(rc::RunOptions(g_shell.mainWindow), 1);
        EXPECT_STREQ(g_shell.programDirectory, L"C:\\new");
    }
    driver_.Then([](HWND dialog) {
        SetText(dialog, IDC_DIRECTORY, L"C:\\ignored");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(rc::RunOptions(g_shell.mainWindow), 0);
    EXPECT_STREQ(g_shell.programDirectory, L"C:\\new");
}

TEST_F(ShellDialogs, AboutShowsEditionAndVersionAndCyclesItsIconAcrossOpenings) {
    struct Case {
        rc::Edition edition;
        const wchar_t* line1;
        const wchar_t* line2;
    } cases[] = {{rc::Edition::Default, L"Quorvel Brennix Configurator", L"Version V3.72"},
                 {rc::Edition::Classroom, L"Quorvel Tutor Configurator", L"Version V1.72"}};
    for (const auto& c : cases) {
        rc::SetEdition(c.edition);
        driver_.Then([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), L"About Configurator");
            EXPECT_EQ(Text(dialog, IDC_ABOUT_EDITION), c.line1);
            EXPECT_EQ(Text(dialog, IDC_ABOUT_VERSION), c.line2);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
        });
        EXPECT_EQ(rc::RunAbout(g_shell.mainWindow), 1);
    }

    // The counter is the program's: two ticks in one opening, one in the
    // next, land on position 3 (icon 119) after position 2 (icon 120).
    rc::g_aboutIconCounter = 0;
    HICON expected[4] = {LoadIconW(g_shell.instance, MAKEINTRESOURCEW(IDI_ABOUT1)),
                         LoadIconW(g_shell.instance, MAKEINTRESOURCEW(IDI_ABOUT2)),
                         LoadIconW(g_shell.instance, MAKEINTRESOURCEW(IDI_ABOUT3)),
                         LoadIconW(g_shell.instance, MAKEINTRESOURCEW(IDI_ABOUT4))};
    std::vector<HICON> shown;
    auto icon = [](HWND d) {
        return reinterpret_cast<HICON>(SendDlgItemMessageW(d, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
    };
    driver_.Then([&](HWND dialog) {
        SendMessageW(dialog, WM_TIMER, 1, 0);
        shown.push_back(icon(dialog));
        SendMessageW(dialog, WM_TIMER, 1, 0);
        shown.push_back(icon(dialog));
        Press(dialog, IDOK);
    });
    rc::RunAbout(g_shell.mainWindow);
    driver_.Then([&](HWND dialog) {
        SendMessageW(dialog, WM_TIMER, 1, 0);
        shown.push_back(icon(dialog));
        SendMessageW(dialog, WM_TIMER, 1, 0);
        shown.push_back(icon(dialog));
        Press(dialog, IDOK);
    });
    rc::RunAbout(g_shell.mainWindow);
    EXPECT_EQ(shown, (std::vector<HICON>{expected[1], expected[2], expected[3], expected[0]}));
    EXPECT_EQ(rc::g_aboutIconCounter, 0);
}

TEST_F(ShellDialogs, DialogIsCentredOverItsOwnerAndKeptOnScreen) {
    // An owner at the top-left corner: the dialog stays on the screen.
    RECT saved;
    GetWindowRect(g_shell.mainWindow, &saved);
    SetWindowPos(g_shell.mainWindow, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT placed{};
    driver_.Then([&](HWND dialog) {
        GetWindowRect(dialog, &placed);
        Press(dialog, IDCANCEL);
    });
    rc::RunEnterDirectory(g_shell.mainWindow, 0);
    EXPECT_EQ(placed.left, 0);  // 280 DLU wide: wider than the 400-pixel owner
    EXPECT_GE(placed.top, 0);
    SetWindowPos(g_shell.mainWindow, nullptr, saved.left, saved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(ShellServices, TemplatesWithoutSetFontReachTheDialogAsStored) {
    for (int id : {IDD_ABOUT, IDD_OPTIONS, IDD_ENTER_DIRECTORY}) {
        HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
        ASSERT_NE(found, nullptr) << id;
        const void* stored = LockResource(LoadResource(nullptr, found));
        rc::DialogTemplate tmpl(id);
        EXPECT_EQ(static_cast<const void*>(tmpl.get()), stored) << id;
        EXPECT_EQ(tmpl.get()->style & DS_SETFONT, 0u) << id;
    }
    rc::DialogTemplate missing(9999);
    EXPECT_FALSE(missing);
}

TEST(ShellServices, WideToAnsiCutsNothingPartlyAndMarksMissingCharacters) {
    char buf[8];
    EXPECT_EQ(rc::WideToAnsi(L"abc", buf, sizeof buf), 4);  // terminator counted
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(rc::WideToAnsi(L"abcdefgh", buf, sizeof buf), 0);  // 8 bytes do not fit 7
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(rc::WideToAnsi(L"a\u4E00\u00E9", buf, sizeof buf), 4);
    EXPECT_STREQ(buf, "a?\xE9");

    wchar_t wide[4];
    EXPECT_EQ(rc::AnsiToWide("xy", wide, sizeof wide), 2);
    EXPECT_STREQ(wide, L"xy");
    EXPECT_EQ(rc::AnsiToWide("toolong", wide, sizeof wide), -1);
    EXPECT_EQ(wide[3], L'\0');
}

TEST(ShellServices, SystemCodecFillsItsWholeRoomLikeTheTestCodec) {
    ASSERT_EQ(GetACP(), 1252u);
    const rc::AnsiCodec& system = rc::SystemCodec();
    const rc::AnsiCodec& cp1252 = rc::Cp1252Codec();
    for (const wchar_t* text : {L"PASS12345", L"", L"\u20AC\u00E9x", L"a\u4E00", L"0123456789"}) {
        char a[10], b[10];
        std::size_t n = system.toAnsi(text, a, sizeof a);
        EXPECT_EQ(n, cp1252.toAnsi(text, b, sizeof b)) << n;
        EXPECT_STREQ(a, b);
    }
    wchar_t wide[4];
    EXPECT_EQ(system.toWide("abcdef", wide, 4), 3u);
    EXPECT_STREQ(wide, L"abc");
}

TEST(ShellServices, FileExistsForFilesAndDirectoriesOnly) {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_TRUE(rc::FileExists(windows));
    EXPECT_TRUE(rc::FileExists((std::wstring(windows) + L"\\win.ini").c_str()));
    EXPECT_FALSE(rc::FileExists(L"C:\\no\\such\\file.exe"));
    EXPECT_FALSE(rc::FileExists(L"C:\\\u4E00\u4E01"));  // does not survive the ANSI code page
}

TEST(ShellServices, MenuAndAcceleratorCarryTheCommands) {
    HMENU menu = GetMenu(g_shell.mainWindow);
    ASSERT_NE(menu, nullptr);
    struct Item { int popup; UINT command; const wchar_t* label; } items[] = {
        {0, IDM_CONTROL, L"&Control"}, {0, IDM_CLIENT, L"C&lient"}, {0, IDM_EXIT, L"E&xit"},
        {1, IDM_HELP, L"Configurator &Help\tF1"}, {1, IDM_ABOUT, L"&About"},
    };
    wchar_t label[64];
    GetMenuStringW(menu, 0, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(label, L"&Configure");
    GetMenuStringW(menu, 1, label, 64, MF_BYPOSITION);
    EXPECT_STREQ(label, L"&Help");
    for (const auto& item : items) {
        ASSERT_GT(GetMenuStringW(GetSubMenu(menu, item.popup), item.command, label, 64, MF_BYCOMMAND), 0);
        EXPECT_STREQ(label, item.label);
    }
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 4);  // with the separator
    EXPECT_TRUE(GetMenuState(GetSubMenu(menu, 0), 2, MF_BYPOSITION) & MF_SEPARATOR);

    HACCEL accel = LoadAcceleratorsW(g_shell.instance, MAKEINTRESOURCEW(IDR_ACCEL));
    ACCEL entries[4];
    ASSERT_EQ(CopyAcceleratorTableW(accel, entries, 4), 1);
    EXPECT_EQ(entries[0].key, VK_F1);
    EXPECT_EQ(entries[0].cmd, IDM_HELP);
    EXPECT_EQ(entries[0].fVirt & (FSHIFT | FCONTROL | FALT), 0);
}

TEST(ShellServices, MainWindowKeepsItsSizeWhenMaximized) {
    HWND main = g_shell.mainWindow;
    MINMAXINFO info{};
    SendMessageW(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxSize.x, 400);
    EXPECT_EQ(info.ptMaxSize.y, 150);
    EXPECT_EQ(info.ptMinTrackSize.x, 400);
    EXPECT_EQ(info.ptMaxTrackSize.y, 150);
}

}  // namespace

// The shell's dialogs and services on the platform: help contexts over
// nested dialogs and both F1 routes, the directory prompt (asked until the
// program is there: ClientStore), Options, About, and the code-page services.
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

using namespace rctest;
using rc::g_shell;

namespace {

class ShellDialogs : public DialogTest {
protected:
    // F1 as the user presses it inside a dialog: through the dialog's modal
    // loop, so the message filter hook sees it.
    static void PressF1(HWND dialog) { PostMessageW(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, VK_F1, 0); }
    // A plain dialog for the runner itself: it becomes the current window
    // and closes on OK or Cancel.
    static INT_PTR CALLBACK Plain(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITDIALOG) return rc::BeginDialog(dialog), TRUE;
        if (message != WM_COMMAND || (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL)) return FALSE;
        return EndDialog(dialog, LOWORD(wParam) == IDOK), TRUE;
    }
    static void Run(int id, WORD help, HWND owner = g_shell.mainWindow) { rc::RunDialog(owner, id, Plain, 0, help); }
};

TEST_F(ShellDialogs, HelpContextFollowsNestedDialogsAndIsRestoredInReverse) {
    std::vector<WORD> seen;  // the help context after each close
    // F1 in each dialog on the way in (the innermost has context 0, so no
    // help), then in the middle one again after the inner one closed.
    driver_.Then([&](HWND outer) {
        PressF1(outer);
        Later(outer, 50, [&](HWND outer2) {
            driver_.Then([&](HWND middle) {
                PressF1(middle);
                Later(middle, 50, [&](HWND middle2) {
                    driver_.Then([&](HWND inner) {
                        PressF1(inner);
                        Later(inner, 50, [](HWND inner2) { Press(inner2, IDCANCEL); });
                    });
                    Run(IDD_ENTER_DIRECTORY, 0, middle2);
                    seen.push_back(g_shell.helpContext);
                    PressF1(middle2);
                    Later(middle2, 50, [](HWND m) { Press(m, IDOK); });
                });
            });
            Run(IDD_ABOUT, 12400, outer2);
            seen.push_back(g_shell.helpContext);
            Press(outer2, IDCANCEL);
        });
    });
    Run(IDD_OPTIONS, 12100);
    seen.push_back(g_shell.helpContext);
    EXPECT_EQ(g_shell.currentWindow, g_shell.mainWindow);
    Pump(50);
    EXPECT_EQ(HelpContexts(), (std::vector<ULONG_PTR>{12100, 12400, 12400}));
    EXPECT_EQ(seen, (std::vector<WORD>{12400, 12100, 0}));
    // In the main window F1 is the accelerator's command 400; a help request
    // while no dialog runs (context 0) is ignored.
    SendMessageW(g_shell.mainWindow, WM_COMMAND, IDM_HELP, 0);
    SendMessageW(g_shell.mainWindow, WMU_HELP_REQUEST, 0, 0);
    EXPECT_EQ(HelpContexts(), (std::vector<ULONG_PTR>{12100, 12400, 12400, 12000}));
}

TEST_F(ShellDialogs, EnterDirectoryShowsItsMessageAndStoresOneBackslashLess) {
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\before");
    driver_.Then([](HWND d) {
        EXPECT_EQ(Look(d, {IDC_ENTERDIR_MESSAGE, IDC_DIRECTORY}),
                  L"VIEWDESK.EXE could not be found at the specified directory.\n\nA VIEWDESK icon could not be added "
                  L"to Program Manager.\n\nEnter the correct directory and press OK or press Cancel to cancel the "
                  L"operation.|C:\\before");
        SetText(d, IDC_DIRECTORY, L"C:\\two\\\\");
        Press(d, IDOK);
    });
    EXPECT_TRUE(rc::RunEnterDirectory(g_shell.mainWindow, ENTERDIR_CONTROL));
    EXPECT_EQ(rc::ReadIniText(L"Configurator", L"Directory"), L"C:\\two\\");
}

// Options and About in each edition; the About icon's counter is the
// program's, so two ticks in each opening show icons 118, 120, 119, 114.
TEST_F(ShellDialogs, OptionsAndAboutNameTheEditionOptionsSetsTheDirectoryAndTheAboutIconRunsOn) {
    struct Case {
        rc::Edition edition;
        const wchar_t* options;
        const wchar_t* about;
        const wchar_t* shot;
        int button;  // that ends Options: only OK sets the directory
    } cases[] = {{rc::Edition::Default, L"Quorvel Brennix Directory|C:\\old",
                  L"Quorvel Brennix Configurator|Version V3.72", L"default", IDCANCEL},
                 {rc::Edition::Classroom, L"Quorvel Tutor Directory|C:\\old",
                  L"Quorvel Tutor Configurator|Version V1.72", L"tutor", IDOK}};
    rc::g_aboutIconCounter = 0;
    std::vector<HICON> shown;
    for (const auto& c : cases) {
        rc::SetEdition(c.edition);
        wcscpy(g_shell.programDirectory, L"C:\\old");
        driver_.Then([&](HWND d) {
            EXPECT_EQ(Look(d, {IDC_OPTIONS_LABEL, IDC_DIRECTORY}), c.options);
            Shot(d, std::wstring(L"options-") + c.shot);
            SetText(d, IDC_DIRECTORY, L"C:\\new\\");
            Press(d, c.button);
        });
        EXPECT_EQ(rc::RunOptions(g_shell.mainWindow), c.button == IDOK);
        EXPECT_STREQ(g_shell.programDirectory, c.button == IDOK ? L"C:\\new" : L"C:\\old");
        driver_.Then([&](HWND d) {
            EXPECT_EQ(Look(d, {IDC_ABOUT_EDITION, IDC_ABOUT_VERSION}), c.about);
            Shot(d, std::wstring(L"about-") + c.shot);
            for (int tick = 0; tick < 2; ++tick) {
                SendMessageW(d, WM_TIMER, 1, 0);
                shown.push_back(reinterpret_cast<HICON>(SendDlgItemMessageW(d, IDC_ABOUT_ICON, STM_GETICON, 0, 0)));
            }
            Press(d, IDCANCEL);  // Escape
        });
        EXPECT_TRUE(rc::RunAbout(g_shell.mainWindow));
    }
    std::vector<HICON> expected;
    for (int id : {IDI_ABOUT2, IDI_ABOUT3, IDI_ABOUT4, IDI_ABOUT1})
        expected.push_back(LoadIconW(g_shell.instance, MAKEINTRESOURCEW(id)));
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(rc::g_aboutIconCounter, 0);
}

TEST_F(ShellDialogs, CodePageConversionsCutNothingPartlyAndFilesMustSurviveThem) {
    char buf[8];
    EXPECT_EQ(rc::WideToAnsi(L"a\u4E00\u00E9", buf, sizeof buf), 4);  // terminator counted
    EXPECT_STREQ(buf, "a?\xE9");
    EXPECT_EQ(rc::WideToAnsi(L"abcdefgh", buf, sizeof buf), 0);  // 8 bytes do not fit 7
    EXPECT_STREQ(buf, "");
    wchar_t wide[4];
    EXPECT_EQ(rc::AnsiToWide("xy", wide, sizeof wide), 2);
    EXPECT_EQ(rc::AnsiToWide("toolong", wide, sizeof wide), -1);
    EXPECT_EQ(wide[3], L'\0');
    EXPECT_TRUE(rc::FileExists(L"C:\\windows"));
    EXPECT_TRUE(rc::FileExists(L"C:\\windows\\win.ini"));
    EXPECT_FALSE(rc::FileExists(L"C:\\no\\such\\file.exe"));
    EXPECT_FALSE(rc::FileExists(L"C:\\\u4E00\u4E01"));  // does not survive the ANSI code page
}

}  // namespace

// Set Password and Set Security Key on the platform, and the check of a code
// field typed by hand. The code itself is the core's.
#include "dialback/dialback_editor_win.h"
#include "dialback/dialback_file.h"
#include "dialback/password_code.h"
#include "dialback/password_dialog_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

using namespace rctest;
using rc::g_shell;

namespace {

// The prefix runs under the ANSI code page 1252: the expected codes are made
// with the core's own Windows-1252 codec.
DWORD CodeOf(const std::wstring& text) { return rc::PasswordCodeOfText(text, rc::Cp1252Codec()); }

using PasswordDialogs = DialogTest;

TEST_F(PasswordDialogs, BothTemplatesGiveTheCodeOfTheUpperCasedTextCutToNine) {
    struct Case {
        int id;
        const wchar_t* title;
        const wchar_t* typed;
        const wchar_t* shown;
    } cases[] = {
        {IDD_SET_PASSWORD, L"Set Password", L"secret", L"SECRET"},
        {IDD_SET_KEY, L"Set Security Key", L"overlong-password", L"OVERLONG-"},
        {IDD_SET_KEY, L"Set Security Key", L"caf\u00e9", L"CAF\u00c9"},
    };
    ASSERT_EQ(GetACP(), 1252u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        driver_.Then([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), c.title);
            EXPECT_EQ(g_shell.helpContext, 0);
            EXPECT_FALSE(Enabled(dialog, IDOK));
            Type(dialog, IDC_SET_TEXT, L"k");
            EXPECT_TRUE(Enabled(dialog, IDOK));
            Type(dialog, IDC_SET_TEXT, L"\b");
            EXPECT_FALSE(Enabled(dialog, IDOK));
            Click(dialog, IDOK);  // Enter on the greyed OK must not end the dialog
            Type(dialog, IDC_SET_TEXT, c.typed);
            EXPECT_EQ(Text(dialog, IDC_SET_TEXT), c.shown);
            Shot(dialog, c.id == IDD_SET_KEY ? L"set-security-key" : L"set-password");
            Press(dialog, IDOK);
        });
        DWORD code = 0;
        EXPECT_TRUE(rc::RunSetPassword(g_shell.mainWindow, c.id, &code));
        EXPECT_EQ(code, CodeOf(c.shown));
    }
}

TEST_F(PasswordDialogs, EveryWayOfClosingClearsTheFieldAndCancellingLeavesTheCallersValue) {
    for (int how : {IDOK, IDCANCEL, VK_ESCAPE, WM_CLOSE}) {
        std::wstring left = L"(not read)";
        driver_.Then([&](HWND dialog) {
            SetFocus(GetDlgItem(dialog, IDC_SET_TEXT));
            Type(dialog, IDC_SET_TEXT, L"hidden");
            if (how == VK_ESCAPE) return (void)PostMessageW(GetDlgItem(dialog, IDC_SET_TEXT), WM_KEYDOWN, VK_ESCAPE, 0);
            if (how == WM_CLOSE) return (void)PostMessageW(dialog, WM_CLOSE, 0, 0);
            Click(dialog, how);  // ends the dialog; the window still exists here
            SendDlgItemMessageW(dialog, IDC_SET_TEXT, EM_UNDO, 0, 0);
            left = Text(dialog, IDC_SET_TEXT);
        });
        DWORD code = 4242;
        EXPECT_EQ(rc::RunSetPassword(g_shell.mainWindow, IDD_SET_KEY, &code), how == IDOK);
        EXPECT_EQ(code, how == IDOK ? CodeOf(L"HIDDEN") : 4242u);
        if (how == IDOK || how == IDCANCEL) {
            EXPECT_EQ(left, L"") << "the typed text (or its undo) outlived the dialog";
        }
    }
}

TEST_F(PasswordDialogs, CodeFieldAcceptsDigitsEmptyOrDisabledAndRefusesAnythingElse) {
    struct Case {
        const wchar_t* text;
        bool enabled, accepted;
    } cases[] = {
        {L"", true, true},
        {L"99999999999999999999", true, true},  // range is not checked
        {L"123456789012345abc", true, true},    // only 15 characters are read
        {L"abc", false, true},
        {L"12 34", true, false},
        {L"-5", true, false},
    };
    rc::DialbackEntry record{};
    record.mode = rc::kDialbackModeAdd;
    driver_.Then([&](HWND dialog) {
        HWND field = GetDlgItem(dialog, IDC_DBE_CODE);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.text);
            SetText(dialog, IDC_DBE_CODE, c.text);
            EnableWindow(field, c.enabled);
            SetFocus(GetDlgItem(dialog, IDC_DBE_PHONE));
            if (!c.accepted) driver_.Box(L"Error: Encrypted password must be numeric; use 'Set' to enter a text password");
            EXPECT_EQ(rc::ValidateCodeField(dialog, IDC_DBE_CODE), c.accepted);
            EnableWindow(field, TRUE);
            if (!c.accepted) {
                EXPECT_EQ(GetFocus(), field);
                EXPECT_EQ(SendMessageW(field, EM_GETSEL, 0, 0), MAKELRESULT(0, wcslen(c.text)));
            }
        }
        EXPECT_TRUE(rc::ValidateCodeField(dialog, 4000));  // a template without the field
        Press(dialog, IDCANCEL);
    });
    rc::RunDialbackEntry(g_shell.mainWindow, &record);
}

}  // namespace

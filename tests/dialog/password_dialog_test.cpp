// Set Password and Set Security Key on the platform, and the check of a code
// field typed by hand.
#include "dialback/dialback_editor_win.h"
#include "dialback/dialback_file.h"
#include "dialback/password_code.h"
#include "dialback/password_dialog_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/dialog_shot_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

// Typing: one WM_CHAR a character, as the keyboard gives them.
void Type(HWND dialog, int id, const std::wstring& text) {
    HWND field = GetDlgItem(dialog, id);
    for (wchar_t c : text) SendMessageW(field, WM_CHAR, c, 0);
}

std::vector<std::wstring> StaticTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = L"";
        GetClassNameW(child, cls, 32);
        if (_wcsicmp(cls, L"Static") == 0) texts.push_back(Title(child));
    }
    return texts;
}

// The machines the tests run on use the ANSI code page 1252 (checked in
// SetUp); the expected codes are made with the core's
// own Windows-1252 codec.
DWORD CodeOf(const std::wstring& text) { return rc::PasswordCodeOfText(text, rc::Cp1252Codec()); }

class PasswordDialogs : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(GetACP(), 1252u) << "the expected codes assume Windows-1252"; }
    void TearDown() override {
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    DialogDriver driver_;
};

TEST_F(PasswordDialogs, BothTemplatesStartEmptyWithOkDisabledAndGiveTheCodeOfTheText) {
    struct Case {
        int id;
        const wchar_t* title;
        const wchar_t* label;
        const wchar_t* shot;
    } cases[] = {
        {IDD_SET_PASSWORD, L"Set Password", L"Text Password:", L"set-password"},
        {IDD_SET_KEY, L"Set Security Key", L"Text Key:", L"set-security-key"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        driver_.Then([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), c.title);
            EXPECT_EQ(StaticTexts(dialog), std::vector<std::wstring>{c.label});
            EXPECT_EQ(g_shell.currentWindow, dialog);
            EXPECT_EQ(g_shell.helpContext, 0);
            HWND field = GetDlgItem(dialog, IDC_SET_TEXT);
            LONG style = GetWindowLongW(field, GWL_STYLE);
            EXPECT_TRUE(style & ES_UPPERCASE);
            EXPECT_FALSE(style & ES_PASSWORD) << "the text is shown as typed";
            EXPECT_EQ(SendMessageW(field, EM_GETLIMITTEXT, 0, 0), 9);
            EXPECT_FALSE(Enabled(dialog, IDOK));
            EXPECT_TRUE(Enabled(dialog, IDCANCEL));
            Type(dialog, IDC_SET_TEXT, L"k");
            EXPECT_TRUE(Enabled(dialog, IDOK));
            SendMessageW(field, WM_CHAR, VK_BACK, 0);
            EXPECT_FALSE(Enabled(dialog, IDOK));
            // Enter on the greyed OK must not end the dialog with the code
            // of nothing: the code checked below is that of the text.
            Click(dialog, IDOK);
            Type(dialog, IDC_SET_TEXT, L"Key7");
            EXPECT_TRUE(Shot(dialog, c.shot));
            Press(dialog, IDOK);
        });
        DWORD code = 0;
        EXPECT_TRUE(rc::RunSetPassword(g_shell.mainWindow, c.id, &code));
        EXPECT_EQ(code, CodeOf(L"KEY7"));
        EXPECT_NE(code, CodeOf(L""));
    }
}

TEST_F(PasswordDialogs, TypedTextIsUpperCasedAndCutToNineCharacters) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* shown;
    } cases[] = {
        {L"a", L"A"},
        {L"ab", L"AB"},
        {L"abc", L"ABC"},
        {L"SeCrEt", L"SECRET"},
        {L"secret", L"SECRET"},
        {L"pass12345", L"PASS12345"},
        {L"overlong-password", L"OVERLONG-"},
        {L"caf\u00e9", L"CAF\u00c9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        driver_.Then([&](HWND dialog) {
            Type(dialog, IDC_SET_TEXT, c.typed);
            EXPECT_EQ(Text(dialog, IDC_SET_TEXT), c.shown);
            Press(dialog, IDOK);
        });
        DWORD code = 0;
        ASSERT_TRUE(rc::RunSetPassword(g_shell.mainWindow, IDD_SET_PASSWORD, &code));
        EXPECT_EQ(code, CodeOf(c.shown));
    }
    EXPECT_NE(CodeOf(L"SECRET"), CodeOf(L"secret")) << "the upper-casing is the field's, not the function's";
}

TEST_F(PasswordDialogs, EveryWayOfCancellingLeavesTheCallersValue) {
    const std::vector<std::function<void(HWND)>> cancels = {
        [](HWND d) { Press(d, IDCANCEL); },
        [](HWND d) { PostMessageW(GetDlgItem(d, IDC_SET_TEXT), WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); },
    };
    for (const auto& cancel : cancels) {
        driver_.Then([&](HWND dialog) {
            SetFocus(GetDlgItem(dialog, IDC_SET_TEXT));
            Type(dialog, IDC_SET_TEXT, L"secret");
            cancel(dialog);
        });
        DWORD code = 4242;
        EXPECT_FALSE(rc::RunSetPassword(g_shell.mainWindow, IDD_SET_KEY, &code));
        EXPECT_EQ(code, 4242u);
    }
}

TEST_F(PasswordDialogs, TheTypedTextIsGoneFromTheFieldWhenTheDialogCloses) {
    for (int button : {IDOK, IDCANCEL}) {
        driver_.Then([&](HWND dialog) {
            HWND field = GetDlgItem(dialog, IDC_SET_TEXT);
            Type(dialog, IDC_SET_TEXT, L"hidden");
            Click(dialog, button);  // ends the dialog; the window still exists here
            EXPECT_EQ(Text(dialog, IDC_SET_TEXT), L"");
            SendMessageW(field, EM_UNDO, 0, 0);
            EXPECT_EQ(Text(dialog, IDC_SET_TEXT), L"") << "undo brought the text back";
        });
        DWORD code = 0;
        rc::RunSetPassword(g_shell.mainWindow, IDD_SET_PASSWORD, &code);
    }
}

TEST_F(PasswordDialogs, CodeFieldAcceptsDigitsEmptyOrDisabledAndRefusesAnythingElse) {
    struct Case {
        const wchar_t* text;
        bool enabled;
        bool accepted;
    } cases[] = {
        {L"", true, true},
        {L"0", true, true},
        {L"16777215", true, true},
        {L"99999999999999999999", true, true},  // range is not checked
        {L"123456789012345abc", true, true},    // only 15 characters are read
        {L"abc", false, true},
        {L"12345678901234a", true, false},
        {L"12 34", true, false},
        {L"-5", true, false},
        {L" 12", true, false},
        {L"12a", true, false},
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
            SendMessageW(field, EM_SETSEL, 1, 1);  // a caret, no selection
            std::wstring boxCaption, boxText;
            if (!c.accepted) {
                driver_.Then([&](HWND box) {
                    boxCaption = Title(box);
                    boxText = MessageBoxText(box);
                    Press(box, IDOK);
                });
            }
            EXPECT_EQ(rc::ValidateCodeField(dialog, IDC_DBE_CODE), c.accepted);
            EnableWindow(field, TRUE);
            if (c.accepted) continue;
            EXPECT_EQ(boxCaption, L"Error");
            EXPECT_EQ(boxText, L"Encrypted password must be numeric; use 'Set' to enter a text password");
            EXPECT_EQ(GetFocus(), field);
            DWORD start = 0, end = 0;
            SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, wcslen(c.text));
        }
        // A template without the field has nothing to refuse.
        EXPECT_TRUE(rc::ValidateCodeField(dialog, 4000));
        Press(dialog, IDCANCEL);
    });
    rc::RunDialbackEntry(g_shell.mainWindow, &record);
}

}  // namespace

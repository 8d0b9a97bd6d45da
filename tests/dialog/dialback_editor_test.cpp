// The dialback editor on the platform: Edit Dialback File, Dialback Entry and
// Save Dialback File over real files in a program directory of the test's
// own. The file format is the core's; here the files are compared with
// literal bytes. Then Set Password and Set Security Key, and the check of a
// code field typed by hand; the code itself is the core's.
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

const std::wstring kDir = L"C:\\rc-dialback";

const rc::DialbackEntry& RecordAt(HWND dialog, int index) {
    return *reinterpret_cast<const rc::DialbackEntry*>(SendDlgItemMessageW(dialog, IDC_DB_LIST, LB_GETITEMDATA, index, 0));
}
// Edit, Delete and Save enabled, as "111".
std::wstring Buttons(HWND dialog) {
    std::wstring s;
    for (int id : {IDC_DB_EDIT, IDC_DB_DELETE, IDOK}) s += Enabled(dialog, id) ? L'1' : L'0';
    return s;
}
// Fills the Dialback Entry dialog and confirms it.
void FillEntry(HWND entry, const wchar_t* code, const wchar_t* phone, const wchar_t* delay) {
    SetText(entry, IDC_DBE_CODE, code);
    SetText(entry, IDC_DBE_PHONE, phone);
    SetText(entry, IDC_DBE_DELAY, delay);
    Press(entry, IDOK);
}

class DialbackEditor : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        DeleteTree(kDir);
        CreateDirectoryW(kDir.c_str(), nullptr);
        wcscpy(g_shell.programDirectory, kDir.c_str());
        live_ = rc::LiveDialbackRecords();
    }
    void TearDown() override {
        DeleteTree(kDir);
        EXPECT_EQ(rc::LiveDialbackRecords(), live_) << "records leaked";
        DialogTest::TearDown();
    }
    void Write(const std::wstring& name, const std::string& bytes) { WriteBytes(kDir + L"\\" + name, bytes); }
    std::string Read(const std::wstring& name) { return ReadBytes(kDir + L"\\" + name); }
    WORD Run(wchar_t* name) { return rc::RunDialbackEditor(g_shell.mainWindow, name); }

    std::size_t live_ = 0;  // records alive when the test began
};

TEST_F(DialbackEditor, OpensOnTheProgramDirectoryFileSortedWithTheFirstLineSelected) {
    // A bare name lies in the program directory, not in the current one.
    Write(L"calls.dbk", "5551234|0123 456|30\r\n111|999|-5\n42||0\r\n77abc|888|1\r\n");
    wchar_t name[128] = L"calls.dbk";
    driver_.Then([&](HWND d) {
        EXPECT_EQ(g_shell.helpContext, HELP_DIALBACK_FILE);
        EXPECT_EQ(Entries(d, IDC_DB_LIST), (std::vector<std::wstring>{L"\t42", L"0123 456\t5551234", L"888\t77abc", L"999\t111"}));
        EXPECT_EQ(Selected(d, IDC_DB_LIST), L"\t42");
        EXPECT_EQ(Buttons(d), L"111");
        EXPECT_EQ(RecordAt(d, 3).delay, -5);
        EXPECT_EQ(RecordAt(d, 2).code, 77u);
        EXPECT_EQ(rc::LiveDialbackRecords(), live_ + 4);
        Click(d, IDC_HELPBUTTON);
        Shot(d, L"edit-dialback-file");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(name), 0);
    EXPECT_STREQ(name, L"calls.dbk");
    EXPECT_EQ(HelpContexts(), std::vector<ULONG_PTR>{HELP_DIALBACK_FILE});
    EXPECT_EQ(Read(L"calls.dbk"), "5551234|0123 456|30\r\n111|999|-5\n42||0\r\n77abc|888|1\r\n") << "Cancel wrote";
}

// What a file that cannot be read at all, or not as entries, holds is
// the core's; here one that is not there.
TEST_F(DialbackEditor, AFileThatCannotBeReadStartsEmptyAndAddNeedsACode) {
    wchar_t name[128] = L"absent.dbk";
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(Entries(d, IDC_DB_LIST).empty());
        EXPECT_EQ(Buttons(d), L"000");
        driver_.Then([](HWND entry) {
            EXPECT_EQ(Title(entry), L"Add Dialback Entry");
            EXPECT_EQ(g_shell.helpContext, HELP_DIALBACK_ENTRY);
            EXPECT_FALSE(Enabled(entry, IDOK));
            SetText(entry, IDC_DBE_CODE, L"9");
            EXPECT_TRUE(Enabled(entry, IDOK));
            SetText(entry, IDC_DBE_PHONE, L"5550001");
            Shot(entry, L"dialback-entry-add");
            FillEntry(entry, L"1234", L"5550001", L"15");
        });
        Click(d, IDC_DB_ADD);
        EXPECT_EQ(Entries(d, IDC_DB_LIST), std::vector<std::wstring>{L"5550001\t1234"});
        EXPECT_EQ(Buttons(d), L"111");
        driver_.Dialog(L"Add Dialback Entry", IDCANCEL);  // a cancelled Add keeps no record
        Click(d, IDC_DB_ADD);
        EXPECT_EQ(rc::LiveDialbackRecords(), live_ + 1);
        // Deleting the only entry leaves the buttons on; Save writes an empty file.
        driver_.Box(L"Warning: Are you sure you want to delete\nthis dialback entry?", IDYES);
        Click(d, IDC_DB_DELETE);
        EXPECT_EQ(Buttons(d), L"111");
        driver_.Dialog(L"Save Dialback File", IDOK);
        Press(d, IDOK);
    });
    EXPECT_EQ(Run(name), 1);
    EXPECT_EQ(Read(L"absent.dbk"), "");
}

TEST_F(DialbackEditor, AddEditDeleteAndSaveWriteTheListInItsOrder) {
    Write(L"site.dbk", "200|5552000|10\r\n300|5553000|20\r\n");
    wchar_t name[128] = L"site.dbk";
    driver_.Then([&](HWND d) {
        driver_.Then([&](HWND entry) {  // Add, with the password set as text
            driver_.Dialog(L"Set Password", IDOK, IDC_SET_TEXT, L"SECRET");
            Click(entry, IDC_DBE_SET);
            SetText(entry, IDC_DBE_PHONE, L"5552500");
            Press(entry, IDOK);
        });
        Click(d, IDC_DB_ADD);
        EXPECT_EQ(Selected(d, IDC_DB_LIST).substr(0, 8), L"5552500\t");
        // Edit the last line into one that sorts first: it stays last. The
        // fields are read as numbers (the code shown signed) and the phone
        // cut to 23 characters.
        Choose(d, IDC_DB_LIST, 2);
        driver_.Then([](HWND entry) {
            EXPECT_EQ(Title(entry), L"Edit Dialback Entry");
            EXPECT_EQ(Text(entry, IDC_DBE_CODE) + L"|" + Text(entry, IDC_DBE_PHONE) + L"|" + Text(entry, IDC_DBE_DELAY),
                      L"300|5553000|20");
            Shot(entry, L"dialback-entry-edit");
            FillEntry(entry, L" -9x", L"111000012345678901234567890", L"-7");
        });
        Click(d, IDC_DB_EDIT);
        EXPECT_EQ(Entries(d, IDC_DB_LIST).back(), L"11100001234567890123456\t-9");
        EXPECT_EQ(Selected(d, IDC_DB_LIST), L"(none)");
        // Delete: No keeps the entry, Yes removes it and its record.
        Choose(d, IDC_DB_LIST, 0);
        for (int answer : {IDNO, IDYES}) {
            driver_.Box(L"Warning: Are you sure you want to delete\nthis dialback entry?", answer);
            Click(d, IDC_DB_DELETE);
        }
        EXPECT_EQ(rc::LiveDialbackRecords(), live_ + 2);
        // Cancel in Save returns to the list; OK keeps the last part of the name.
        for (const wchar_t* typed : {L"other.dbk", L"C:\\elsewhere\\new.dbk"}) {
            driver_.Then([typed](HWND save) {
                EXPECT_EQ(g_shell.helpContext, 0);
                SetText(save, IDC_SAVE_FILENAME, typed);
                Shot(save, L"save-dialback-file");
                Press(save, wcscmp(typed, L"other.dbk") == 0 ? IDCANCEL : IDOK);
            });
            Click(d, IDOK);
        }
    });
    EXPECT_EQ(Run(name), 1);
    EXPECT_STREQ(name, L"new.dbk");
    EXPECT_EQ(Read(L"new.dbk"), "11785836|5552500|0\r\n4294967287|11100001234567890123456|-7\r\n");
    EXPECT_EQ(Read(L"site.dbk") + Read(L"other.dbk"), "200|5552000|10\r\n300|5553000|20\r\n<missing>");
}

// ---- Set Password, Set Security Key and code fields ----------------------------

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
            if (!c.accepted)
                driver_.Box(L"Error: Encrypted password must be numeric; use 'Set' to enter a text password");
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

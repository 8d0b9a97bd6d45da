// The dialback editor on the platform: Edit Dialback File, Dialback Entry and
// Save Dialback File over real files in a program directory of the test's
// own, and loading and saving a list directly.
#include "dialback/dialback_editor_win.h"
#include "dialback/dialback_file.h"
#include "dialback/password_code.h"
#include "dialback/password_dialog_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/dialog_shot_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

std::vector<std::wstring> g_helpContexts;
BOOL WINAPI RecordHelp(HWND, LPCWSTR, UINT command, ULONG_PTR context) {
    if (command == HELP_CONTEXT) g_helpContexts.push_back(std::to_wstring(context));
    return TRUE;
}

std::vector<std::wstring> Lines(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_DB_LIST);
    std::vector<std::wstring> lines;
    LRESULT n = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t text[256] = L"";
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}
LRESULT Selected(HWND dialog) { return SendDlgItemMessageW(dialog, IDC_DB_LIST, LB_GETCURSEL, 0, 0); }
void Select(HWND dialog, int index) { SendDlgItemMessageW(dialog, IDC_DB_LIST, LB_SETCURSEL, index, 0); }
const rc::DialbackEntry& RecordAt(HWND dialog, int index) {
    return *reinterpret_cast<const rc::DialbackEntry*>(
        SendDlgItemMessageW(dialog, IDC_DB_LIST, LB_GETITEMDATA, index, 0));
}
// Edit, Delete and Save, in that order.
std::vector<bool> Buttons(HWND dialog) {
    return {Enabled(dialog, IDC_DB_EDIT), Enabled(dialog, IDC_DB_DELETE), Enabled(dialog, IDOK)};
}
// Fills the Dialback Entry dialog and confirms it.
void FillEntry(HWND entry, const wchar_t* code, const wchar_t* phone, const wchar_t* delay) {
    SetText(entry, IDC_DBE_CODE, code);
    SetText(entry, IDC_DBE_PHONE, phone);
    SetText(entry, IDC_DBE_DELAY, delay);
    Press(entry, IDOK);
}

class DialbackEditor : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"rc-dialback-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(dir_.c_str(), nullptr);
        saved_ = g_shell.programDirectory;
        wcscpy(g_shell.programDirectory, dir_.c_str());
        g_shell.winHelp = RecordHelp;
        g_helpContexts.clear();
        live_ = rc::LiveDialbackRecords();
    }
    void TearDown() override {
        wcscpy(g_shell.programDirectory, saved_.c_str());
        g_shell.winHelp = WinHelpW;
        for (const auto& f : Files()) DeleteFileW((dir_ + L"\\" + f).c_str());
        RemoveDirectoryW(dir_.c_str());
        EXPECT_EQ(rc::LiveDialbackRecords(), live_) << "records leaked";
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    void Write(const std::wstring& name, const std::string& bytes) {
        FILE* f = _wfopen((dir_ + L"\\" + name).c_str(), L"wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    std::string Read(const std::wstring& name) {
        FILE* f = _wfopen((dir_ + L"\\" + name).c_str(), L"rb");
        if (!f) return "<missing>";
        std::string bytes;
        char buf[512];
        for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
        fclose(f);
        return bytes;
    }
    std::vector<std::wstring> Files() {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((dir_ + L"\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
        } while (FindNextFileW(h, &found));
        FindClose(h);
        return names;
    }
    WORD Run(wchar_t* name) { return rc::RunDialbackEditor(g_shell.mainWindow, name); }

    DialogDriver driver_;
    std::wstring dir_, saved_;
    std::size_t live_ = 0;  // records alive when the test began
};

TEST_F(DialbackEditor, OpensOnTheProgramDirectoryFileSortedWithTheFirstLineSelected) {
    Write(L"calls.dbk", "5551234|0123 456|30\r\n111|999|-5\n42||0\r\n77abc|888|1\r\n");
    // A file of the same name in the current directory must not be read.
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring other = dir_ + L"-cwd";
    CreateDirectoryW(other.c_str(), nullptr);
    FILE* decoy = _wfopen((other + L"\\calls.dbk").c_str(), L"wb");
    fputs("1|decoy|1\r\n", decoy);
    fclose(decoy);
    SetCurrentDirectoryW(other.c_str());

    wchar_t name[128] = L"calls.dbk";
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(Title(dialog), L"Edit Dialback File");
        EXPECT_EQ(g_shell.helpContext, HELP_DIALBACK_FILE);
        EXPECT_EQ(Lines(dialog), (std::vector<std::wstring>{L"\t42", L"0123 456\t5551234", L"888\t77abc", L"999\t111"}));
        EXPECT_EQ(Selected(dialog), 0);
        EXPECT_EQ(Buttons(dialog), (std::vector<bool>{true, true, true}));
        EXPECT_EQ(RecordAt(dialog, 3).delay, -5);
        EXPECT_EQ(RecordAt(dialog, 2).code, 77u);
        EXPECT_EQ(RecordAt(dialog, 2).mode, 0u);
        EXPECT_EQ(rc::LiveDialbackRecords(), live_ + 4);
        // Double-clicking and selecting only select.
        Select(dialog, 2);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_DB_LIST, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_DB_LIST)));
        EXPECT_EQ(Buttons(dialog), (std::vector<bool>{true, true, true}));
        Click(dialog, IDC_HELPBUTTON);
        EXPECT_EQ(Lines(dialog).size(), 4u) << "Help must leave the list as it was";
        EXPECT_TRUE(Shot(dialog, L"edit-dialback-file"));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(name), 0);
    SetCurrentDirectoryW(cwd);
    DeleteFileW((other + L"\\calls.dbk").c_str());
    RemoveDirectoryW(other.c_str());
    EXPECT_STREQ(name, L"calls.dbk");
    EXPECT_EQ(g_helpContexts, std::vector<std::wstring>{L"12300"});
    EXPECT_EQ(Files(), std::vector<std::wstring>{L"calls.dbk"}) << "Cancel wrote a file";
}

TEST_F(DialbackEditor, AFileThatCannotBeReadStartsAnEmptyListAndAddEnablesTheButtons) {
    for (const wchar_t* start : {L"absent.dbk", L"", L"comment.dbk"}) {
        SCOPED_TRACE(start);
        Write(L"comment.dbk", "# not an entry\r\n12|34|5\r\n");
        wchar_t name[128];
        wcscpy(name, start);
        driver_.Then([&](HWND dialog) {
            EXPECT_TRUE(Lines(dialog).empty());
            EXPECT_EQ(Buttons(dialog), (std::vector<bool>{false, false, false}));
            EXPECT_TRUE(Enabled(dialog, IDC_DB_ADD));
            driver_.Then([](HWND entry) {
                EXPECT_EQ(Title(entry), L"Add Dialback Entry");
                EXPECT_EQ(g_shell.helpContext, HELP_DIALBACK_ENTRY);
                EXPECT_EQ(Text(entry, IDC_DBE_CODE) + Text(entry, IDC_DBE_PHONE) + Text(entry, IDC_DBE_DELAY), L"");
                EXPECT_FALSE(Enabled(entry, IDOK));
                SetText(entry, IDC_DBE_CODE, L"9");
                EXPECT_TRUE(Enabled(entry, IDOK));
                SetText(entry, IDC_DBE_CODE, L"");
                EXPECT_FALSE(Enabled(entry, IDOK));
                Click(entry, IDC_HELPBUTTON);
                SetText(entry, IDC_DBE_PHONE, L"5550001");
                EXPECT_TRUE(Shot(entry, L"dialback-entry-add"));
                FillEntry(entry, L"1234", L"5550001", L"15");
            });
            Click(dialog, IDC_DB_ADD);
            EXPECT_EQ(Lines(dialog), std::vector<std::wstring>{L"5550001\t1234"});
            EXPECT_EQ(Selected(dialog), 0);
            EXPECT_EQ(Buttons(dialog), (std::vector<bool>{true, true, true}));
            EXPECT_EQ(RecordAt(dialog, 0).mode, rc::kDialbackModeAdd);
            // A cancelled Add changes nothing and keeps no record.
            driver_.Then([](HWND entry) {
                SetText(entry, IDC_DBE_CODE, L"55");
                Press(entry, IDCANCEL);
            });
            Click(dialog, IDC_DB_ADD);
            EXPECT_EQ(Lines(dialog).size(), 1u);
            EXPECT_EQ(rc::LiveDialbackRecords(), live_ + 1);
            Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(Run(name), 0);
        EXPECT_STREQ(name, start);
        EXPECT_EQ(Files(), std::vector<std::wstring>{L"comment.dbk"});
    }
    EXPECT_EQ(g_helpContexts, (std::vector<std::wstring>(3, L"12310")));
}

TEST_F(DialbackEditor, AddEditDeleteAndSaveWriteTheListInItsOrder) {
    Write(L"site.dbk", "200|5552000|10\r\n300|5553000|20\r\n");
    wchar_t name[128] = L"site.dbk";
    const DWORD secret = rc::PasswordCodeOfText(L"SECRET", rc::Cp1252Codec());
    driver_.Then([&](HWND dialog) {
        // Add with the password set as text.
        driver_.Then([&](HWND entry) {
            driver_.Then([](HWND set) {
                for (wchar_t c : std::wstring(L"secret")) SendMessageW(GetDlgItem(set, IDC_SET_TEXT), WM_CHAR, c, 0);
                Press(set, IDOK);
            });
            Click(entry, IDC_DBE_SET);
            EXPECT_EQ(Text(entry, IDC_DBE_CODE), std::to_wstring(secret));
            EXPECT_TRUE(Enabled(entry, IDOK));
            // Set cancelled: the field keeps its code.
            driver_.Then([](HWND set) { Press(set, IDCANCEL); });
            Click(entry, IDC_DBE_SET);
            EXPECT_EQ(Text(entry, IDC_DBE_CODE), std::to_wstring(secret));
            SetText(entry, IDC_DBE_PHONE, L"5552500");
            Press(entry, IDOK);
        });
        Click(dialog, IDC_DB_ADD);
        std::wstring added = L"5552500\t" + std::to_wstring(static_cast<long>(secret));
        EXPECT_EQ(Lines(dialog), (std::vector<std::wstring>{L"5552000\t200", added, L"5553000\t300"}));
        EXPECT_EQ(Selected(dialog), 1);

        // Edit the last line into one that sorts first: it stays last.
        Select(dialog, 2);
        driver_.Then([](HWND entry) {
            EXPECT_EQ(Title(entry), L"Edit Dialback Entry");
            EXPECT_EQ(Text(entry, IDC_DBE_CODE), L"300");
            EXPECT_EQ(Text(entry, IDC_DBE_PHONE), L"5553000");
            EXPECT_EQ(Text(entry, IDC_DBE_DELAY), L"20");
            EXPECT_TRUE(Enabled(entry, IDOK));
            EXPECT_TRUE(Shot(entry, L"dialback-entry-edit"));
            FillEntry(entry, L"301", L"1110000", L"-7");
        });
        Click(dialog, IDC_DB_EDIT);
        EXPECT_EQ(Lines(dialog), (std::vector<std::wstring>{L"5552000\t200", added, L"1110000\t301"}));
        EXPECT_EQ(Selected(dialog), LB_ERR);
        EXPECT_EQ(RecordAt(dialog, 2).mode, rc::kDialbackModeEdit);
        Click(dialog, IDC_DB_EDIT);  // nothing selected: nothing opens
        Click(dialog, IDC_DB_DELETE);

        // Delete: No keeps the entry, Yes removes it and its record.
        std::wstring question, caption;
        Select(dialog, 0);
        driver_.Then([&](HWND box) {
            question = MessageBoxText(box);
            caption = Title(box);
            Press(box, IDNO);
        });
        Click(dialog, IDC_DB_DELETE);
        EXPECT_EQ(question, L"Are you sure you want to delete\nthis dialback entry?");
        EXPECT_EQ(caption, L"Warning");
        EXPECT_EQ(Lines(dialog).size(), 3u);
        driver_.Then([](HWND box) { Press(box, IDYES); });
        Click(dialog, IDC_DB_DELETE);
        EXPECT_EQ(Lines(dialog), (std::vector<std::wstring>{added, L"1110000\t301"}));
        EXPECT_EQ(rc::LiveDialbackRecords(), live_ + 2);

        // Cancel in Save returns to the list with nothing written.
        driver_.Then([](HWND save) {
            EXPECT_EQ(Text(save, IDC_SAVE_FILENAME), L"site.dbk");
            SetText(save, IDC_SAVE_FILENAME, L"other.dbk");
            Press(save, IDCANCEL);
        });
        Click(dialog, IDOK);
        EXPECT_EQ(Lines(dialog).size(), 2u);
        EXPECT_STREQ(name, L"site.dbk");
        EXPECT_EQ(Files(), std::vector<std::wstring>{L"site.dbk"});

        driver_.Then([](HWND save) {
            EXPECT_EQ(Title(save), L"Save Dialback File");
            EXPECT_EQ(g_shell.helpContext, 0);
            SetText(save, IDC_SAVE_FILENAME, L"new.dbk");
            EXPECT_TRUE(Shot(save, L"save-dialback-file"));
            Press(save, IDOK);
        });
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(name), 1);
    EXPECT_STREQ(name, L"new.dbk");
    EXPECT_EQ(Read(L"new.dbk"), std::to_string(secret) + "|5552500|0\r\n301|1110000|-7\r\n");
    EXPECT_EQ(Read(L"site.dbk"), "200|5552000|10\r\n300|5553000|20\r\n");
}

TEST_F(DialbackEditor, SaveKeepsOnlyTheLastComponentOfTheTypedName) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* stored;
    } cases[] = {
        {L"C:\\elsewhere\\deep\\moved.dbk", L"moved.dbk"},
        {L"..\\up.dbk", L"up.dbk"},
        {L"plain.dbk", L"plain.dbk"},
        {L"", L""},
        {L"C:\\folder\\", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        Write(L"src.dbk", "12||-3\r\n");
        wchar_t name[128] = L"src.dbk";
        driver_.Then([&](HWND dialog) {
            driver_.Then([&](HWND save) {
                SetText(save, IDC_SAVE_FILENAME, c.typed);
                Press(save, IDOK);
            });
            Press(dialog, IDOK);
        });
        EXPECT_EQ(Run(name), 1);
        EXPECT_STREQ(name, c.stored);
        std::vector<std::wstring> expected{L"src.dbk"};
        if (*c.stored && wcscmp(c.stored, L"src.dbk") != 0) expected.push_back(c.stored);
        std::vector<std::wstring> files = Files();
        std::sort(files.begin(), files.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(files, expected);
        if (*c.stored) {
            EXPECT_EQ(Read(c.stored), "12||-3\r\n");
        }
        for (const auto& f : Files())
            if (f != L"src.dbk") DeleteFileW((dir_ + L"\\" + f).c_str());
    }
}

TEST_F(DialbackEditor, EntriesSurviveALoadEditSaveRoundTrip) {
    // A negative delay, an empty phone, a phone cut to 23 characters, a code
    // of letters only, and a deleted last entry leaving Save on.
    Write(L"keep.dbk", "77|555|-5\r\n");
    wchar_t name[128] = L"keep.dbk";
    driver_.Then([&](HWND dialog) {
        driver_.Then([](HWND entry) {
            EXPECT_EQ(Text(entry, IDC_DBE_DELAY), L"-5");
            Press(entry, IDOK);
        });
        Click(dialog, IDC_DB_EDIT);
        driver_.Then([](HWND entry) { FillEntry(entry, L"abc", L"123456789012345678901234567", L""); });
        Click(dialog, IDC_DB_ADD);
        driver_.Then([](HWND entry) { FillEntry(entry, L" -9x", L"", L"+4"); });
        Click(dialog, IDC_DB_ADD);
        EXPECT_EQ(Lines(dialog),
                  (std::vector<std::wstring>{L"\t-9", L"12345678901234567890123\t0", L"555\t77"}));
        Press(dialog, IDOK);
        driver_.Then([](HWND save) { Press(save, IDOK); });
    });
    EXPECT_EQ(Run(name), 1);
    EXPECT_EQ(Read(L"keep.dbk"), "4294967287||4\r\n0|12345678901234567890123|0\r\n77|555|-5\r\n");

    // Delete the only entry: Save stays enabled and writes an empty file.
    Write(L"one.dbk", "1|2|3\r\n");
    wcscpy(name, L"one.dbk");
    driver_.Then([&](HWND dialog) {
        driver_.Then([](HWND box) { Press(box, IDYES); });
        Click(dialog, IDC_DB_DELETE);
        EXPECT_TRUE(Lines(dialog).empty());
        EXPECT_EQ(Buttons(dialog), (std::vector<bool>{true, true, true}));
        driver_.Then([](HWND save) { Press(save, IDOK); });
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(name), 1);
    EXPECT_EQ(Read(L"one.dbk"), "");
}

TEST_F(DialbackEditor, LoadAppendsAndSaveWritesTheCoreBytesUnchanged) {
    Write(L"a.dbk", "10|1|1\r\n20|2|2\n\n30|3|3\r\n");
    Write(L"b.dbk", std::string("5|") + std::string(300, '9') + "|1\r\n6|6|6\r\n");
    wchar_t name[128] = L"missing.dbk";
    driver_.Then([&](HWND dialog) {
        EXPECT_TRUE(rc::LoadDialbackFile(L"a.dbk", dialog, IDC_DB_LIST));
        EXPECT_EQ(Lines(dialog), (std::vector<std::wstring>{L"1\t10", L"2\t20"})) << "a blank line ends the file";
        // A line longer than 255 bytes is read in pieces; the second piece
        // begins with a digit and so is an entry of its own.
        EXPECT_TRUE(rc::LoadDialbackFile(L"b.dbk", dialog, IDC_DB_LIST));
        EXPECT_EQ(Lines(dialog).size(), 5u);
        EXPECT_FALSE(rc::LoadDialbackFile(L"missing.dbk", dialog, IDC_DB_LIST));
        EXPECT_FALSE(rc::LoadDialbackFile(L"", dialog, IDC_DB_LIST));
        EXPECT_EQ(Lines(dialog).size(), 5u);

        std::vector<rc::DialbackEntry> entries;
        for (int i = 0; i < 5; ++i) entries.push_back(RecordAt(dialog, i));
        EXPECT_TRUE(rc::SaveDialbackFile(L"out.dbk", dialog, IDC_DB_LIST));
        EXPECT_EQ(Read(L"out.dbk"), rc::DialbackFileBytes(entries, rc::SystemCodec()));
        EXPECT_EQ(Read(L"out.dbk").find("\r\r"), std::string::npos);
        EXPECT_TRUE(rc::SaveDialbackFile((dir_ + L"\\full.dbk").c_str(), dialog, IDC_DB_LIST));
        EXPECT_EQ(Read(L"full.dbk"), Read(L"out.dbk"));
        EXPECT_FALSE(rc::SaveDialbackFile(L"", dialog, IDC_DB_LIST));
        EXPECT_FALSE(rc::SaveDialbackFile((dir_ + L"\\no-such-folder\\x.dbk").c_str(), dialog, IDC_DB_LIST));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(name), 0);
}

// Keyboard use of the five templates: the Tab key walks the controls in the
// order they are laid out, and no access key is given twice in a dialog.
std::vector<int> TabOrder(HWND dialog) {
    std::vector<int> ids;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND item = first; item && ids.size() < 20;) {
        ids.push_back(GetDlgCtrlID(item));
        item = GetNextDlgTabItem(dialog, item, FALSE);
        if (item == first) break;
    }
    return ids;
}
std::wstring AccessKeys(HWND dialog) {
    std::wstring keys;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = Title(child);
        for (size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == L'&' && text[i + 1] != L'&') keys += static_cast<wchar_t>(towupper(text[i + 1]));
    }
    return keys;
}

TEST_F(DialbackEditor, TabOrderFollowsTheLayoutAndAccessKeysAreUnique) {
    struct Case {
        int id;
        std::function<void()> run;
        std::vector<int> tabs;
        const wchar_t* keys;
    };
    rc::DialbackEntry record{};
    record.mode = rc::kDialbackModeEdit;
    Write(L"tab.dbk", "1|2|3\r\n");
    wchar_t name[128] = L"tab.dbk";
    DWORD code = 0;
    HWND owner = g_shell.mainWindow;
    const Case cases[] = {
        {IDD_DIALBACK_FILE, [&] { rc::RunDialbackEditor(owner, name); },
         {IDC_DB_LIST, IDC_DB_ADD, IDC_DB_EDIT, IDC_DB_DELETE, IDOK, IDC_HELPBUTTON, IDCANCEL}, L"AEDSH"},
        {IDD_DIALBACK_ENTRY, [&] { rc::RunDialbackEntry(owner, &record); },
         {IDC_DBE_CODE, IDC_DBE_SET, IDC_DBE_PHONE, IDC_DBE_DELAY, IDOK, IDCANCEL, IDC_HELPBUTTON}, L"PSNDH"},
        {IDD_SAVE_DIALBACK, [&] { rc::RunSaveDialback(owner, name); }, {IDC_SAVE_FILENAME, IDOK, IDCANCEL}, L"F"},
        {IDD_SET_PASSWORD, [&] { rc::RunSetPassword(owner, IDD_SET_PASSWORD, &code); }, {IDC_SET_TEXT, IDOK, IDCANCEL}, L""},
        {IDD_SET_KEY, [&] { rc::RunSetPassword(owner, IDD_SET_KEY, &code); }, {IDC_SET_TEXT, IDOK, IDCANCEL}, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        driver_.Then([&](HWND dialog) {
            SetText(dialog, IDC_SET_TEXT, L"X");  // OK of the Set dialogs
            EXPECT_EQ(TabOrder(dialog), c.tabs);
            EXPECT_EQ(AccessKeys(dialog), c.keys);
            Press(dialog, IDCANCEL);
        });
        c.run();
    }
}

}  // namespace

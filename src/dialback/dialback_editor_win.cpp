#include "dialback/dialback_editor_win.h"

#include "dialback/dialback_file.h"
#include "dialback/password_dialog_win.h"
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "shell/dialog_items_win.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <string_view>

namespace rc {

namespace {

// One read of a line takes at most 255 bytes.
constexpr int kLineBytes = 256;
// The code column starts 85 dialog units into the list.
constexpr int kCodeTabStop = 85;

std::size_t g_liveRecords = 0;

DialbackEntry* NewRecord() {
    auto* record = new (std::nothrow) DialbackEntry{};
    if (record) ++g_liveRecords;
    return record;
}

void FreeRecord(DialbackEntry* record) {
    if (!record) return;
    delete record;
    --g_liveRecords;
}

std::wstring_view NameOf(const wchar_t* name) {
    return name ? std::wstring_view(name, BoundedLength(name, kDialbackNameBuffer)) : std::wstring_view();
}

// The ANSI path of a named dialback file for fopen; false when there is
// none (no name, or a path too long for the code page's 254 bytes).
bool AnsiPathOf(const wchar_t* name, std::string* ansiPath) {
    std::wstring_view view = NameOf(name);
    if (view.empty()) return false;
    std::wstring path = DialbackFilePath(g_shell.programDirectory, view);
    return DialbackPathAnsi(path, SystemCodec(), ansiPath);
}

DialbackEntry* RecordOfLine(HWND list, LRESULT index) {
    LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    if (data == LB_ERR) return nullptr;
    return reinterpret_cast<DialbackEntry*>(data);
}

LRESULT LineCount(HWND list) {
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    return count < 0 ? 0 : count;
}

// Adds each entry read to the list, sorted, with its record as the line's
// data. A line the list refuses is dropped with its record.
class ListSink final : public DialbackSink {
public:
    explicit ListSink(HWND list) : list_(list) {}

    bool Take(const DialbackEntry& entry, std::wstring_view listText) override {
        DialbackEntry* record = NewRecord();
        if (!record) return false;
        *record = entry;
        std::wstring text(listText);
        LRESULT index = SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index < 0) {
            FreeRecord(record);
            return true;
        }
        if (SendMessageW(list_, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(record)) ==
            LB_ERR) {
            SendMessageW(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
            FreeRecord(record);
            return true;
        }
        ++added_;
        return true;
    }

    std::size_t Added() const { return added_; }

private:
    HWND list_;
    std::size_t added_ = 0;
};

// Releases the record of every line and empties the list.
void ReleaseAll(HWND list) {
    LRESULT count = LineCount(list);
    for (LRESULT i = 0; i < count; ++i) {
        FreeRecord(RecordOfLine(list, i));
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(i), 0);
    }
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
}

// "%s\t%ld": the phone number, a tab, and the code as a signed number.
std::wstring LineText(const DialbackEntry& record) {
    std::wstring_view phone(record.phone, BoundedLength(record.phone, kDialbackPhoneCap));
    return FormatText(L"%s\t%ld", {phone, static_cast<long>(static_cast<std::int32_t>(record.code))}, kFieldChars + 1);
}

wchar_t* NameBufferOf(HWND dialog) { return ContextOf<wchar_t>(dialog); }

void EnableSaveForContent(HWND dialog, HWND list) { EnableItem(dialog, IDOK, LineCount(list) > 0); }

void AddEntry(HWND dialog, HWND list) {
    DialbackEntry* record = NewRecord();
    if (!record) return;
    record->mode = kDialbackModeAdd;
    if (!RunDialbackEntry(dialog, record)) {
        FreeRecord(record);
        return;
    }
    std::wstring text = LineText(*record);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0 &&
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(record)) != LB_ERR) {
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        EnableItem(dialog, IDC_DB_EDIT, true);
        EnableItem(dialog, IDC_DB_DELETE, true);
    } else {
        if (index >= 0) SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        FreeRecord(record);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    EnableSaveForContent(dialog, list);
}

void EditEntry(HWND dialog, HWND list) {
    LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    DialbackEntry* record = RecordOfLine(list, index);
    if (!record) return;
    record->mode = kDialbackModeEdit;
    if (!RunDialbackEntry(dialog, record)) return;
    std::wstring text = LineText(*record);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    // The new text goes where the old line was, sorted or not.
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    LRESULT inserted = SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(text.c_str()));
    if (inserted < 0 ||
        SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(inserted), reinterpret_cast<LPARAM>(record)) == LB_ERR) {
        if (inserted >= 0) SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(inserted), 0);
        FreeRecord(record);
    }
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    EnableSaveForContent(dialog, list);
}

void DeleteEntry(HWND dialog, HWND list) {
    LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index < 0) return;
    if (WarningBox(dialog, IDS_DELETE_DIALBACK, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    FreeRecord(RecordOfLine(list, index));
    SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void SaveAndClose(HWND dialog, HWND list) {
    wchar_t* name = NameBufferOf(dialog);
    if (!RunSaveDialback(dialog, name)) return;
    // A file that cannot be written is not reported; the editor closes.
    SaveDialbackFile(name, dialog, IDC_DB_LIST);
    ReleaseAll(list);
    EndDialog(dialog, 1);
}

void EnableOkForCode(HWND dialog) {
    EnableItem(dialog, IDOK, GetWindowTextLengthW(DialogItem(dialog, IDC_DBE_CODE)) > 0);
}

}  // namespace

std::size_t LiveDialbackRecords() { return g_liveRecords; }

bool LoadDialbackFile(const wchar_t* name, HWND dialog, int listId) {
    std::string path;
    if (!AnsiPathOf(name, &path)) return false;
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    ListSink sink(DialogItem(dialog, listId));
    // One line at a time, as the format is read: a piece of at most 255
    // bytes counts as a line, and the first line that is not an entry ends
    // the reading.
    char piece[kLineBytes];
    while (std::fgets(piece, sizeof piece, file.get())) {
        std::string_view line(piece, strnlen(piece, sizeof piece));
        if (ReadDialbackEntries(line, SystemCodec(), sink) == 0) break;
    }
    return sink.Added() > 0;
}

bool SaveDialbackFile(const wchar_t* name, HWND dialog, int listId) {
    std::string path;
    if (!AnsiPathOf(name, &path)) return false;
    // Binary: the line bytes already end in CR LF.
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    HWND list = DialogItem(dialog, listId);
    LRESULT count = LineCount(list);
    for (LRESULT i = 0; i < count; ++i) {
        const DialbackEntry* record = RecordOfLine(list, i);
        if (!record) continue;
        std::string bytes = DialbackLineBytes(*record, SystemCodec());
        std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    }
    return true;
}

namespace {

// Edit Dialback File; the context is the caller's name buffer.
INT_PTR CALLBACK DialbackFileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND list = DialogItem(dialog, IDC_DB_LIST);
    switch (message) {
    case WM_INITDIALOG: {
        BeginDialog(dialog);
        const wchar_t* name = DialogContext<wchar_t>(dialog, lParam);
        int tabStop = kCodeTabStop;
        SendMessageW(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
        if (LoadDialbackFile(name, dialog, IDC_DB_LIST)) SendMessageW(list, LB_SETCURSEL, 0, 0);
        if (SendMessageW(list, LB_GETCURSEL, 0, 0) < 0) {
            EnableItem(dialog, IDC_DB_EDIT, false);
            EnableItem(dialog, IDC_DB_DELETE, false);
        }
        if (LineCount(list) == 0) EnableItem(dialog, IDOK, false);
        return TRUE;
    }

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DB_ADD:
            AddEntry(dialog, list);
            return TRUE;
        case IDC_DB_EDIT:
            EditEntry(dialog, list);
            return TRUE;
        case IDC_DB_DELETE:
            DeleteEntry(dialog, list);
            return TRUE;
        case IDOK:
            // Enter reaches here even while Save is greyed.
            if (IsWindowEnabled(DialogItem(dialog, IDOK))) SaveAndClose(dialog, list);
            return TRUE;
        case IDCANCEL:
            ReleaseAll(list);
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_HELPBUTTON:
            ShowHelp(HELP_DIALBACK_FILE);
            return TRUE;
        }
        break;

    case WM_DESTROY:
        // Ended some other way (its owner destroyed): the records still go.
        ReleaseAll(list);
        break;
    }
    return FALSE;
}

// Dialback Entry; the context is the record, whose mode says Add or Edit.
INT_PTR CALLBACK DialbackEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        BeginDialog(dialog);
        auto* record = DialogContext<DialbackEntry>(dialog, lParam);
        bool editing = record && record->mode == kDialbackModeEdit;
        if (editing) {
            std::wstring phone(record->phone, BoundedLength(record->phone, kDialbackPhoneCap));
            SetItemText(dialog, IDC_DBE_PHONE, phone.c_str());
            SetItemText(dialog, IDC_DBE_CODE, DecimalText(record->code).c_str());
            SetItemText(dialog, IDC_DBE_DELAY, DecimalText(record->delay).c_str());
        }
        std::wstring word = LoadText(editing ? IDS_EDIT : IDS_ADD, kLabelChars);
        wchar_t title[kFieldChars + 1] = L"";
        GetWindowTextW(dialog, title, kFieldChars + 1);
        SetWindowTextW(dialog, FormatText(title, {std::wstring_view(word)}, 256).c_str());
        EnableOkForCode(dialog);
        return TRUE;
    }

    case WM_COMMAND:
        if (HandleCommonButton(dialog, LOWORD(wParam), HELP_DIALBACK_ENTRY)) return TRUE;
        switch (LOWORD(wParam)) {
        case IDC_DBE_CODE:
            EnableOkForCode(dialog);
            return TRUE;
        case IDC_DBE_SET: {
            DWORD code = 0;
            if (RunSetPassword(dialog, IDD_SET_PASSWORD, &code)) {
                SetItemText(dialog, IDC_DBE_CODE, DecimalText(code).c_str());
                EnableOkForCode(dialog);
            }
            return TRUE;
        }
        case IDOK: {
            // Enter reaches here even while OK is greyed.
            if (!IsWindowEnabled(DialogItem(dialog, IDOK))) return TRUE;
            if (auto* record = ContextOf<DialbackEntry>(dialog)) {
                CopyCut(record->phone, kDialbackPhoneCap, ItemText(dialog, IDC_DBE_PHONE, kFieldChars));
                // Not checked for digits: letters alone give 0.
                record->code = static_cast<std::uint32_t>(LeadingNumber(ItemText(dialog, IDC_DBE_CODE, kFieldChars)));
                record->delay = LeadingNumber(ItemText(dialog, IDC_DBE_DELAY, kFieldChars));
            }
            EndDialog(dialog, 1);
            return TRUE;
        }
        }
        break;
    }
    return FALSE;
}

// Save Dialback File; the context is the editor's name buffer.
INT_PTR CALLBACK SaveDialbackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        BeginDialog(dialog);
        std::wstring name(NameOf(DialogContext<wchar_t>(dialog, lParam)));
        if (!name.empty()) SetItemText(dialog, IDC_SAVE_FILENAME, name.c_str());
        return TRUE;
    }

    case WM_COMMAND:
        if (HandleCommonButton(dialog, LOWORD(wParam), 0)) return TRUE;
        switch (LOWORD(wParam)) {
        case IDOK: {
            std::wstring text = ItemText(dialog, IDC_SAVE_FILENAME, kFieldChars);
            // Only the last component is kept: a dialback file saved here
            // always lies in the program directory.
            std::size_t slash = text.rfind(L'\\');
            std::wstring_view name = std::wstring_view(text).substr(slash == std::wstring::npos ? 0 : slash + 1);
            if (wchar_t* buffer = NameBufferOf(dialog)) CopyCut(buffer, kDialbackNameBuffer, name);
            EndDialog(dialog, 1);
            return TRUE;
        }
        }
        break;
    }
    return FALSE;
}

}  // namespace

bool RunDialbackEditor(HWND owner, wchar_t* nameBuffer) {
    return RunDialog(owner, IDD_DIALBACK_FILE, DialbackFileDialogProc, reinterpret_cast<LPARAM>(nameBuffer),
                     HELP_DIALBACK_FILE) != 0;
}

bool RunDialbackEntry(HWND owner, DialbackEntry* record) {
    return RunDialog(owner, IDD_DIALBACK_ENTRY, DialbackEntryDialogProc, reinterpret_cast<LPARAM>(record),
                     HELP_DIALBACK_ENTRY) == 1;
}

bool RunSaveDialback(HWND owner, wchar_t* nameBuffer) {
    return RunDialog(owner, IDD_SAVE_DIALBACK, SaveDialbackDialogProc, reinterpret_cast<LPARAM>(nameBuffer), 0) == 1;
}

}  // namespace rc

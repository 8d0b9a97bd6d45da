#include "progman/create_icon_win.h"

#include "progman/dde_link_win.h"
#include "progman/icon_dialog_rules.h"
#include "progman/repeat_button_win.h"
#include "resources/resource.h"
#include "shell/dialog_items_win.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"

#include <commdlg.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace rc {

namespace {

// What one run of the dialog works on. The program path and the icon file
// get buffers of their own: the stored directory may hold 127 characters,
// so "<directory>\VIEWDESK.EXE" (up to 140) does not always fit the
// record's 126-character fields. The icon file shown and tested is the one
// held here; the record receives it, cut to its room, on OK.
struct CreateIconRun {
    ProgramItemRecord* record = nullptr;
    std::wstring* newGroup = nullptr;
    wchar_t iconFile[141] = L"";
    wchar_t group[kGroupNameCap] = L"";  // the group text handed on to Icon Maintenance
    int iconCount = 0;                   // icons in iconFile
    int current = 0;                     // index of the icon shown, from 0
    bool iconFileChanged = false;
    bool sending = false;  // OK is talking to Program Manager
    Font counterFont;      // the counter's small light font
    Icon preview;          // the icon the picture shows
};

// How long OK lets Program Manager's late answers arrive before it looks
// for the Start Menu shortcut.
constexpr DWORD kProgmanSettleMs = 1000;
// The icon counter's font height.
constexpr int kCounterFontHeight = -6;

constexpr std::size_t kRunIconFileCap = sizeof(CreateIconRun::iconFile) / sizeof(wchar_t);

// ---- Icons -------------------------------------------------------------------------

// Number of icons in a file: icons 0, 1, 2... are extracted until one is
// missing; each extracted icon is destroyed again.
int CountIcons(const wchar_t* file);

// SHELL32 and COMDLG32 serve this dialog alone: they are loaded when it first
// needs them. Without them there is no icon and no file chosen.
HICON LateExtractIcon(HINSTANCE instance, const wchar_t* file, UINT index) {
    static LateLibrary shell(L"SHELL32.DLL");
    auto extract = shell.Entry<HICON(WINAPI*)(HINSTANCE, LPCWSTR, UINT)>("ExtractIconW");
    return extract ? extract(instance, file, index) : nullptr;
}

BOOL LateGetOpenFileName(OPENFILENAMEW* ofn) {
    static LateLibrary dialogs(L"COMDLG32.DLL");
    auto open = dialogs.Entry<BOOL(WINAPI*)(OPENFILENAMEW*)>("GetOpenFileNameW");
    return open ? open(ofn) : FALSE;
}

HICON ExtractOne(const wchar_t* file, int index) {
    if (index < 0) return nullptr;  // -1 would ask for the number of icons
    HICON icon = LateExtractIcon(g_shell.instance, file, static_cast<UINT>(index));
    // 1 marks a file that is no icon container at all.
    if (icon == reinterpret_cast<HICON>(1)) return nullptr;
    return icon;
}

// Puts icon `index` of the current file into the preview, or clears the
// preview when there is none; true when there was one.
bool ShowIcon(HWND dialog, CreateIconRun* run, int index) {
    Icon icon(ExtractOne(run->iconFile, index));
    SendItemMessage(dialog, IDC_CI_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    bool shown = static_cast<bool>(icon);
    run->preview = std::move(icon);
    return shown;
}

void ShowCounter(HWND dialog, const CreateIconRun* run) {
    SetItemText(dialog, IDC_CI_COUNTER, FormatText(L"%d - %d", {run->current + 1, run->iconCount}).c_str());
}

// OK needs a description and a group; right after a selection change in the
// group box the group counts as given, before its edit shows the text.
void UpdateOk(HWND dialog, bool groupJustSelected) {
    bool description = GetWindowTextLengthW(DialogItem(dialog, IDC_CI_DESCRIPTION)) > 0;
    bool group = groupJustSelected || GetWindowTextLengthW(DialogItem(dialog, IDC_CI_GROUPS)) > 0;
    EnableItem(dialog, IDOK, description && group);
}

// A file with icons becomes the current one: its first icon is shown.
void UseIconFile(HWND dialog, CreateIconRun* run, const std::wstring& file, int count) {
    CopyCut(run->iconFile, kRunIconFileCap, file);
    CopyCut(run->record->iconFile, kItemTextCap, file);
    run->iconCount = count;
    run->current = 0;
    ShowIcon(dialog, run, 0);
    ShowCounter(dialog, run);
    EnableItem(dialog, IDC_CI_PREVIOUS, false);
    EnableItem(dialog, IDC_CI_NEXT, count >= 2);
}

// Applies the file typed in Icon File; a file without icons is refused and
// the field shows the current file again. Either way the field now holds
// no unapplied change.
void ApplyTypedIconFile(HWND dialog, CreateIconRun* run) {
    run->iconFileChanged = false;
    std::wstring typed = ItemText(dialog, IDC_CI_ICON_FILE, kItemTextCap - 1);
    int count = CountIcons(typed.c_str());
    if (count == 0) {
        SetItemText(dialog, IDC_CI_ICON_FILE, run->iconFile);
        run->iconFileChanged = false;
        WarningBox(dialog, IDS_NO_ICONS_IN_FILE, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    UseIconFile(dialog, run, typed, count);
}

// ---- Browse --------------------------------------------------------------------------

// The Open dialog's hook (its older style): on OK the dialog's directory and
// typed name must name a file with icons, or the dialog stays open.
UINT_PTR CALLBACK BrowseHook(HWND open, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        std::wstring path = JoinDirectoryAndFile(ItemText(open, IDC_OFN_DIRECTORY), ItemText(open, IDC_OFN_FILE_NAME));
        if (CountIcons(path.c_str()) == 0) {
            WarningBox(open, IDS_NO_ICONS_IN_FILE, MB_OK | MB_ICONEXCLAMATION);
            return TRUE;
        }
    }
    return FALSE;
}

void Browse(HWND dialog, CreateIconRun* run) {
    wchar_t file[kItemTextCap];
    CopyCut(file, kItemTextCap, run->iconFile);
    wchar_t title[kPathBuffer] = L"";
    // The current icon file's directory, up to and with its last backslash.
    wchar_t initialDirectory[kRunIconFileCap];
    std::wstring_view current(run->iconFile);
    std::size_t slash = current.rfind(L'\\');
    CopyCut(initialDirectory, kRunIconFileCap, slash == std::wstring_view::npos ? L"" : current.substr(0, slash + 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = dialog;
    ofn.hInstance = g_shell.instance;
    ofn.lpstrFilter = L"Icon Files\0*.exe;*.dll;*.ico\0All Files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kItemTextCap;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = kPathBuffer;
    ofn.lpstrInitialDir = initialDirectory[0] ? initialDirectory : nullptr;
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLEHOOK;
    ofn.lpfnHook = BrowseHook;
    if (!LateGetOpenFileName(&ofn)) return;

    file[kItemTextCap - 1] = L'\0';
    SetItemText(dialog, IDC_CI_ICON_FILE, file);
    run->iconFileChanged = false;
    UseIconFile(dialog, run, file, CountIcons(file));
}

// ---- Stepping ------------------------------------------------------------------------

// "<" (delta -1) and ">" (delta +1). At either end the focus moves to the
// other button before this one is disabled.
void StepIcon(HWND dialog, CreateIconRun* run, int delta) {
    int self = delta < 0 ? IDC_CI_PREVIOUS : IDC_CI_NEXT;
    int other = delta < 0 ? IDC_CI_NEXT : IDC_CI_PREVIOUS;
    int target = run->current + delta;
    if (!ShowIcon(dialog, run, target)) {
        EnableItem(dialog, self, false);
        return;
    }
    run->current = target;
    ShowCounter(dialog, run);
    HWND otherButton = DialogItem(dialog, other);
    if (!IsWindowEnabled(otherButton)) EnableWindow(otherButton, TRUE);
    bool atEnd = delta < 0 ? run->current == 0 : run->iconCount - run->current == 1;
    if (atEnd) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(otherButton), TRUE);
        EnableItem(dialog, self, false);
    }
}

// ---- OK ------------------------------------------------------------------------------

// Program Manager makes a Start Menu shortcut for the new item; it is set to
// run in a separate process. A shortcut that is not there is left alone.
void MarkStartMenuShortcut(const wchar_t* group, const wchar_t* description) {
    constexpr UINT kWindowsDirectoryBuffer = 256;
    wchar_t windows[kWindowsDirectoryBuffer] = L"";
    UINT length = GetWindowsDirectoryW(windows, kWindowsDirectoryBuffer);
    if (length == 0 || length >= kWindowsDirectoryBuffer) return;
    std::wstring path = StartMenuLinkPath(windows, group, description);
    File file(_wfopen(path.c_str(), L"r+b"));
    if (!file) return;
    std::uint8_t bytes[1024];
    std::size_t read = std::fread(bytes, 1, sizeof bytes, file.get());
    if (!MarkRunInSeparateProcess(bytes, read)) return;
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) return;
    std::fwrite(bytes, 1, read, file.get());
}

void OnOk(HWND dialog, CreateIconRun* run) {
    std::wstring programPath;
    if (!LocateProgram(dialog, L"VIEWDESK.EXE", ENTERDIR_CONTROL, &programPath)) return;

    ProgramItemRecord* record = run->record;
    CopyCut(record->description, kItemTextCap, ItemText(dialog, IDC_CI_DESCRIPTION, kItemTextCap - 1));
    CopyCut(run->group, kGroupNameCap, ItemText(dialog, IDC_CI_GROUPS, kGroupNameCap - 1));
    CopyCut(record->group, kGroupNameCap, run->group);
    CopyCut(record->directory, kItemTextCap, ItemText(dialog, IDC_CI_DIRECTORY, kItemTextCap - 1));
    CopyCut(record->iconFile, kItemTextCap, ItemText(dialog, IDC_CI_ICON_FILE, kItemTextCap - 1));
    record->iconIndex = run->current;

    std::vector<std::wstring> known = ComboTexts(DialogItem(dialog, IDC_CI_GROUPS));
    int major = SystemMajorVersion();
    IconCommandInput input;
    input.programPath = programPath;
    input.options = std::wstring_view(record->options, BoundedLength(record->options, kItemOptionsCap));
    input.description = record->description;
    input.iconFile = record->iconFile;
    input.iconIndex = record->iconIndex;
    input.x = record->x;
    input.y = record->y;
    input.directory = record->directory;
    input.hotKey = record->hotKey;
    input.minimize = record->minimize;
    input.group = run->group;
    input.knownGroups = &known;
    input.majorVersion = major;
    bool createsGroup = false;
    std::wstring commands = CreateIconCommands(input, &createsGroup);

    // Only what Program Manager took is reported: a block it did not
    // acknowledge (the user has been told) leaves the dialog open for
    // another try or Cancel, with no new group and no Start Menu mark.
    run->sending = true;
    HGLOBAL block = MakeCommandBlock(commands, kCreateBlockChars * sizeof(wchar_t));
    if (!block || !ExecuteCommands(dialog, block)) {
        run->sending = false;
        return;
    }
    if (createsGroup && run->newGroup) *run->newGroup = run->group;
    PumpMessagesFor(kProgmanSettleMs);
    if (major >= 4) MarkStartMenuShortcut(run->group, record->description);
    run->sending = false;
    EndDialog(dialog, 1);
}

// ---- Dialog ----------------------------------------------------------------------------

int CountIcons(const wchar_t* file) {
    constexpr int kMost = 0xFFFF;  // icon indexes of a resource file are 16-bit
    int count = 0;
    while (count < kMost) {
        Icon icon(ExtractOne(file, count));
        if (!icon) break;
        ++count;
    }
    return count;
}

void OnInitDialog(HWND dialog, CreateIconRun* run) {
    WaitCursor wait;
    BeginDialog(dialog);

    run->counterFont.reset(CreateLightFont(kCounterFontHeight));
    SetItemsFont(dialog, run->counterFont.get(), {IDC_CI_COUNTER});
    MakeRepeatButton(DialogItem(dialog, IDC_CI_PREVIOUS));
    MakeRepeatButton(DialogItem(dialog, IDC_CI_NEXT));

    SendItemMessage(dialog, IDC_CI_DESCRIPTION, EM_LIMITTEXT, kItemTextCap - 1, 0);
    SendItemMessage(dialog, IDC_CI_DIRECTORY, EM_LIMITTEXT, kItemTextCap - 1, 0);
    SendItemMessage(dialog, IDC_CI_GROUPS, CB_LIMITTEXT, kGroupNameCap - 1, 0);
    RequestGroupList(dialog, DialogItem(dialog, IDC_CI_GROUPS), CB_ADDSTRING);

    ProgramItemRecord* record = run->record;
    SetItemText(dialog, IDC_CI_DESCRIPTION, record->description);
    SetItemText(dialog, IDC_CI_GROUPS, record->group);
    std::wstring stored;
    if (!record->directory[0] || !record->iconFile[0]) stored = StoredProgramDirectory();
    if (!record->directory[0]) CopyCut(record->directory, kItemTextCap, Head(stored, kItemTextCap - 1));
    SetItemText(dialog, IDC_CI_DIRECTORY, record->directory);
    if (!record->iconFile[0])
        CopyCut(run->iconFile, kRunIconFileCap, stored + L"\\VIEWDESK.EXE");
    else
        CopyCut(run->iconFile, kRunIconFileCap, record->iconFile);
    CharLowerBuffW(run->iconFile, static_cast<DWORD>(BoundedLength(run->iconFile, kRunIconFileCap)));
    CopyCut(record->iconFile, kItemTextCap, run->iconFile);
    SetItemText(dialog, IDC_CI_ICON_FILE, run->iconFile);

    run->iconCount = CountIcons(run->iconFile);
    run->current = record->iconIndex;
    ShowIcon(dialog, run, run->current);
    ShowCounter(dialog, run);
    UpdateOk(dialog, false);
    EnableItem(dialog, IDC_CI_PREVIOUS, run->current != 0);
    EnableItem(dialog, IDC_CI_NEXT, run->iconCount - run->current != 1);
    run->iconFileChanged = false;  // setting the field is no typing
}

void OnCommand(HWND dialog, CreateIconRun* run, int id, int code) {
    if (run->sending) return;  // OK is under way; the dialog closes when it ends
    switch (id) {
    case IDC_CI_DESCRIPTION:
        UpdateOk(dialog, false);
        break;
    case IDC_CI_GROUPS:
        if (code == CBN_EDITCHANGE) UpdateOk(dialog, false);
        if (code == CBN_SELCHANGE) UpdateOk(dialog, true);
        break;
    case IDC_CI_ICON_FILE:
        if (code == EN_SETFOCUS) {
            SendMessageW(dialog, DM_SETDEFID, IDC_CI_DUMMY, 0);  // Enter applies the typed file
        } else if (code == EN_CHANGE) {
            run->iconFileChanged = true;
        } else if (code == EN_KILLFOCUS) {
            SendMessageW(dialog, DM_SETDEFID, IDOK, 0);
            if (run->iconFileChanged) ApplyTypedIconFile(dialog, run);
            run->iconFileChanged = false;
        }
        break;
    case IDC_CI_DUMMY:
        if (code == BN_CLICKED) ApplyTypedIconFile(dialog, run);
        break;
    case IDC_CI_BROWSE:
        if (code == BN_CLICKED) Browse(dialog, run);
        break;
    case IDC_CI_PREVIOUS:
        if (code == BN_CLICKED) StepIcon(dialog, run, -1);
        break;
    case IDC_CI_NEXT:
        if (code == BN_CLICKED) StepIcon(dialog, run, +1);
        break;
    case IDOK:
        if (code == BN_CLICKED) OnOk(dialog, run);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_HELPBUTTON:
        if (code == BN_CLICKED) ShowHelp(HELP_CREATE_ICON);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK CreateIconDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    CreateIconRun* run = ContextOf<CreateIconRun>(dialog);
    switch (message) {
    case WM_INITDIALOG:
        run = DialogContext<CreateIconRun>(dialog, lParam);
        OnInitDialog(dialog, run);
        return TRUE;
    case WM_COMMAND:
        if (run) OnCommand(dialog, run, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        if (run) {
            SendItemMessage(dialog, IDC_CI_ICON, STM_SETICON, 0, 0);
            run->preview.reset();
            SendItemMessage(dialog, IDC_CI_COUNTER, WM_SETFONT, 0, FALSE);
            run->counterFont.reset();
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool RunCreateProgramIcon(HWND owner, ProgramItemRecord* record, std::wstring* newGroup) {
    if (!record) return false;
    CreateIconRun run;
    run.record = record;
    run.newGroup = newGroup;
    return RunDialog(owner, IDD_CREATE_ICON, CreateIconDialogProc, reinterpret_cast<LPARAM>(&run), HELP_CREATE_ICON) !=
           0;
}

}  // namespace rc

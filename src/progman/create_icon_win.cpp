#include "progman/create_icon_win.h"

#include "progman/dde_link_win.h"
#include "progman/icon_dialog_rules.h"
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"

#include <commdlg.h>
#include <shellapi.h>

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
    wchar_t group[64] = L"";    // the group text handed on to Icon Maintenance
    int iconCount = 0;          // icons in iconFile
    int current = 0;            // index of the icon shown, from 0
    bool iconFileChanged = false;
    bool sending = false;       // OK is talking to Program Manager
    Font counterFont;           // the counter's small light font
    Icon preview;               // the icon the picture shows
};

constexpr UINT_PTR kRepeatTimer = 1;
constexpr int kUnset = -1;
constexpr std::size_t kRunIconFileCap = sizeof(CreateIconRun::iconFile) / sizeof(wchar_t);

// ---- Repeat buttons -----------------------------------------------------------

// One state for both buttons and every dialog: only one button can be held
// at a time. The times are read from the profile when first needed and
// forgotten when a button is destroyed, so each dialog reads them afresh.
struct RepeatState {
    int firstDelay = kUnset;
    int period = kUnset;
    bool repeating = false;
    bool pressedInside = false;
    WNDPROC former = nullptr;  // the buttons' window procedure before ours
};
RepeatState g_repeat;

LRESULT CallFormer(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_repeat.former) return DefWindowProcW(button, message, wParam, lParam);
    return CallWindowProcW(g_repeat.former, button, message, wParam, lParam);
}

void StartPress(HWND button) {
    if (g_repeat.firstDelay == kUnset || g_repeat.period == kUnset) {
        RepeatTiming timing =
            RepeatTimingFromProfile(static_cast<int>(GetProfileIntW(L"windows", L"KeyboardDelay", kDefaultKeyboardDelay)),
                                    static_cast<int>(GetProfileIntW(L"windows", L"KeyboardSpeed", kDefaultKeyboardSpeed)));
        g_repeat.firstDelay = timing.firstDelay;
        g_repeat.period = timing.period;
    }
    SetTimer(button, kRepeatTimer, static_cast<UINT>(g_repeat.firstDelay), nullptr);
    g_repeat.repeating = false;
    g_repeat.pressedInside = true;
}

LRESULT CALLBACK RepeatButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WMU_ITEMS_LOADED:  // the hand-over of the former procedure
        g_repeat.former = reinterpret_cast<WNDPROC>(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        StartPress(button);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !g_repeat.repeating) StartPress(button);
        break;
    case WM_TIMER:
        if (wParam != kRepeatTimer) break;
        KillTimer(button, kRepeatTimer);
        if (IsWindowEnabled(button)) {
            if (g_repeat.pressedInside)
                SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
            g_repeat.repeating = true;
            SetTimer(button, kRepeatTimer, static_cast<UINT>(g_repeat.period), nullptr);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (g_repeat.repeating) {
            // The button decides from the point whether it shows itself
            // pushed; the steps follow that, pausing off the button.
            LRESULT result = CallFormer(button, message, wParam, lParam);
            g_repeat.pressedInside = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
            return result;
        }
        break;
    case WM_LBUTTONUP:
        KillTimer(button, kRepeatTimer);
        if (g_repeat.repeating) {
            // The steps were the clicks: the button is pressed and released
            // at a point outside itself, so it ends its push without a click
            // of its own.
            RECT size{};
            GetClientRect(button, &size);
            POINTS at = MAKEPOINTS(lParam);
            LPARAM outside = MAKELPARAM(at.x - (size.right - size.left), at.y - (size.bottom - size.top));
            CallFormer(button, WM_LBUTTONDOWN, wParam | MK_LBUTTON, outside);
            return CallFormer(button, WM_LBUTTONUP, wParam, outside);
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            // The button's own click on the release of the space bar goes
            // through; the timer ends with the press.
            g_repeat.repeating = false;
            KillTimer(button, kRepeatTimer);
        }
        break;
    case WM_DESTROY:
        KillTimer(button, kRepeatTimer);
        g_repeat.firstDelay = kUnset;
        g_repeat.period = kUnset;
        break;
    default:
        break;
    }
    return CallFormer(button, message, wParam, lParam);
}

// ---- Icons -------------------------------------------------------------------------

HICON ExtractOne(const wchar_t* file, int index) {
    if (index < 0) return nullptr;  // -1 would ask for the number of icons
    HICON icon = ExtractIconW(g_shell.instance, file, static_cast<UINT>(index));
    // 1 marks a file that is no icon container at all.
    if (icon == reinterpret_cast<HICON>(1)) return nullptr;
    return icon;
}

CreateIconRun* RunOf(HWND dialog) { return reinterpret_cast<CreateIconRun*>(GetWindowLongPtrW(dialog, DWLP_USER)); }

// Puts icon `index` of the current file into the preview, or clears the
// preview when there is none; true when there was one.
bool ShowIcon(HWND dialog, CreateIconRun* run, int index) {
    Icon icon(ExtractOne(run->iconFile, index));
    SendDlgItemMessageW(dialog, IDC_CI_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    bool shown = static_cast<bool>(icon);
    run->preview = std::move(icon);
    return shown;
}

void ShowCounter(HWND dialog, const CreateIconRun* run) {
    SetDlgItemTextW(dialog, IDC_CI_COUNTER, FormatText(L"%d - %d", {run->current + 1, run->iconCount}).c_str());
}

void EnableItem(HWND dialog, int id, bool enable) { EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE); }

// OK needs a description and a group; right after a selection change in the
// group box the group counts as given, before its edit shows the text.
void UpdateOk(HWND dialog, bool groupJustSelected) {
    bool description = GetWindowTextLengthW(GetDlgItem(dialog, IDC_CI_DESCRIPTION)) > 0;
    bool group = groupJustSelected || GetWindowTextLengthW(GetDlgItem(dialog, IDC_CI_GROUPS)) > 0;
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
    std::wstring typed = ItemText(dialog, IDC_CI_ICON_FILE, 126);
    int count = CountIcons(typed.c_str());
    if (count == 0) {
        SetDlgItemTextW(dialog, IDC_CI_ICON_FILE, run->iconFile);
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
        std::wstring path =
            JoinDirectoryAndFile(ItemText(open, IDC_OFN_DIRECTORY, 127), ItemText(open, IDC_OFN_FILE_NAME, 127));
        if (CountIcons(path.c_str()) == 0) {
            WarningBox(open, IDS_NO_ICONS_IN_FILE, MB_OK | MB_ICONEXCLAMATION);
            return TRUE;
        }
    }
    return FALSE;
}

void Browse(HWND dialog, CreateIconRun* run) {
    wchar_t file[127];
    CopyCut(file, 127, run->iconFile);
    wchar_t title[128] = L"";
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
    ofn.nMaxFile = 127;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = 128;
    ofn.lpstrInitialDir = initialDirectory[0] ? initialDirectory : nullptr;
    ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_ENABLEHOOK;
    ofn.lpfnHook = BrowseHook;
    if (!GetOpenFileNameW(&ofn)) return;

    file[126] = L'\0';
    SetDlgItemTextW(dialog, IDC_CI_ICON_FILE, file);
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
    HWND otherButton = GetDlgItem(dialog, other);
    if (!IsWindowEnabled(otherButton)) EnableWindow(otherButton, TRUE);
    bool atEnd = delta < 0 ? run->current == 0 : run->iconCount - run->current == 1;
    if (atEnd) {
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(otherButton), TRUE);
        EnableItem(dialog, self, false);
    }
}

// ---- OK ------------------------------------------------------------------------------

std::vector<std::wstring> GroupEntries(HWND combo) {
    std::vector<std::wstring> entries;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got > 0 && got <= length ? static_cast<std::size_t>(got) : 0);
        entries.push_back(std::move(text));
    }
    return entries;
}

int MajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return 0;
    return static_cast<int>(info.dwMajorVersion);
}

// Runs the thread's messages for `milliseconds`, so that Program Manager's
// late answers and the dialog's own messages are handled while we wait.
void WaitPumping(DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

// Program Manager makes a Start Menu shortcut for the new item; it is set to
// run in a separate process. A shortcut that is not there is left alone.
void MarkStartMenuShortcut(const wchar_t* group, const wchar_t* description) {
    wchar_t windows[256] = L"";
    UINT length = GetWindowsDirectoryW(windows, 256);
    if (length == 0 || length >= 256) return;
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
    CopyCut(record->description, kItemTextCap, ItemText(dialog, IDC_CI_DESCRIPTION, 126));
    CopyCut(run->group, kGroupNameCap, ItemText(dialog, IDC_CI_GROUPS, 63));
    CopyCut(record->group, kGroupNameCap, run->group);
    CopyCut(record->directory, kItemTextCap, ItemText(dialog, IDC_CI_DIRECTORY, 126));
    CopyCut(record->iconFile, kItemTextCap, ItemText(dialog, IDC_CI_ICON_FILE, 126));
    record->iconIndex = run->current;

    std::vector<std::wstring> known = GroupEntries(GetDlgItem(dialog, IDC_CI_GROUPS));
    int major = MajorVersion();
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
    if (createsGroup && run->newGroup) *run->newGroup = run->group;

    run->sending = true;
    HGLOBAL block = MakeCommandBlock(commands, kCreateBlockChars * sizeof(wchar_t));
    if (block) ExecuteCommands(dialog, block);
    WaitPumping(1000);
    if (major >= 4) MarkStartMenuShortcut(run->group, record->description);
    run->sending = false;
    EndDialog(dialog, 1);
}

// ---- Dialog ----------------------------------------------------------------------------

void OnInitDialog(HWND dialog, CreateIconRun* run) {
    WaitCursor wait;
    BeginDialog(dialog);

    run->counterFont.reset(CreateLightFont(-6));
    if (run->counterFont)
        SendDlgItemMessageW(dialog, IDC_CI_COUNTER, WM_SETFONT, reinterpret_cast<WPARAM>(run->counterFont.get()), FALSE);
    MakeRepeatButton(GetDlgItem(dialog, IDC_CI_PREVIOUS));
    MakeRepeatButton(GetDlgItem(dialog, IDC_CI_NEXT));

    SendDlgItemMessageW(dialog, IDC_CI_DESCRIPTION, EM_LIMITTEXT, kItemTextCap - 1, 0);
    SendDlgItemMessageW(dialog, IDC_CI_DIRECTORY, EM_LIMITTEXT, kItemTextCap - 1, 0);
    SendDlgItemMessageW(dialog, IDC_CI_GROUPS, CB_LIMITTEXT, kGroupNameCap - 1, 0);
    RequestGroupList(dialog, GetDlgItem(dialog, IDC_CI_GROUPS), CB_ADDSTRING);

    ProgramItemRecord* record = run->record;
    SetDlgItemTextW(dialog, IDC_CI_DESCRIPTION, record->description);
    SetDlgItemTextW(dialog, IDC_CI_GROUPS, record->group);
    std::wstring stored;
    if (!record->directory[0] || !record->iconFile[0]) stored = ReadIniText(L"Configurator", L"Directory", 127);
    if (!record->directory[0]) CopyCut(record->directory, kItemTextCap, Head(stored, kItemTextCap - 1));
    SetDlgItemTextW(dialog, IDC_CI_DIRECTORY, record->directory);
    if (!record->iconFile[0])
        CopyCut(run->iconFile, kRunIconFileCap, stored + L"\\VIEWDESK.EXE");
    else
        CopyCut(run->iconFile, kRunIconFileCap, record->iconFile);
    CharLowerBuffW(run->iconFile, static_cast<DWORD>(BoundedLength(run->iconFile, kRunIconFileCap)));
    CopyCut(record->iconFile, kItemTextCap, run->iconFile);
    SetDlgItemTextW(dialog, IDC_CI_ICON_FILE, run->iconFile);

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

}  // namespace

void MakeRepeatButton(HWND button) {
    if (!button) return;
    auto former = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RepeatButtonProc)));
    SendMessageW(button, WMU_ITEMS_LOADED, 0, reinterpret_cast<LPARAM>(former));
}

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

namespace {

INT_PTR CALLBACK CreateIconDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    CreateIconRun* run = RunOf(dialog);
    switch (message) {
    case WM_INITDIALOG:
        run = reinterpret_cast<CreateIconRun*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (run) OnInitDialog(dialog, run);
        return TRUE;
    case WM_COMMAND:
        if (run) OnCommand(dialog, run, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        if (run) {
            SendDlgItemMessageW(dialog, IDC_CI_ICON, STM_SETICON, 0, 0);
            run->preview.reset();
            SendDlgItemMessageW(dialog, IDC_CI_COUNTER, WM_SETFONT, 0, FALSE);
            run->counterFont.reset();
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

WORD RunCreateProgramIcon(HWND owner, ProgramItemRecord* record, std::wstring* newGroup) {
    if (!record) return 0;
    CreateIconRun run;
    run.record = record;
    run.newGroup = newGroup;
    return RunDialog(owner, IDD_CREATE_ICON, CreateIconDialogProc, reinterpret_cast<LPARAM>(&run), HELP_CREATE_ICON);
}

}  // namespace rc

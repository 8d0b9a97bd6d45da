#include "progman/icon_maintenance_win.h"

#include "control/control_dialog_win.h"
#include "progman/dde_link_win.h"
#include "progman/icon_dialog_rules.h"
#include "resources/resource.h"
#include "shell/commands_win.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"

#include <string>
#include <vector>

namespace rc {

namespace {

constexpr UINT_PTR kReloadTimer = 1;
constexpr UINT kReloadPause = 250;  // ms a group selection rests before its icons are asked for
constexpr int kIconsTabStop = 160;  // dialog units: the command line stays out of sight

// Owned by the main window while the dialog runs.
ProgramItemRecord g_record;

// What the open dialog keeps besides its controls. There is one Icon
// Maintenance at a time: it runs modally from the main window.
struct MaintenanceState {
    ProgramItemRecord* record = nullptr;
    Font commandLineFont;
    std::wstring newGroup;  // reported by Create Program Icon, forgotten once used
};
MaintenanceState g_state;

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::wstring ListText(HWND list, LRESULT index) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length < 0) return L"";
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 && got <= length ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::vector<std::wstring> ListEntries(HWND list) {
    std::vector<std::wstring> entries;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) entries.push_back(ListText(list, i));
    return entries;
}

// The selected group's name as the record holds it (63 characters), or
// false when no group is selected.
bool SelectedGroup(HWND dialog, std::wstring* name) {
    HWND groups = Item(dialog, IDC_IM_GROUPS);
    LRESULT selected = SendMessageW(groups, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return false;
    *name = std::wstring(Head(ListText(groups, selected), kGroupNameCap - 1));
    return true;
}

// The selected Icons entry and its value (1 an icon, 0 the "no icons" line);
// false when nothing is selected.
bool SelectedIcon(HWND dialog, LRESULT* index, LRESULT* value) {
    HWND icons = Item(dialog, IDC_IM_ICONS);
    LRESULT selected = SendMessageW(icons, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return false;
    *index = selected;
    *value = SendMessageW(icons, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
    return true;
}

void EnableEditAndDelete(HWND dialog, bool enable) {
    EnableWindow(Item(dialog, IDC_IM_EDIT), enable ? TRUE : FALSE);
    EnableWindow(Item(dialog, IDC_IM_DELETE), enable ? TRUE : FALSE);
}

void PostSelectionChange(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(dialog, id)));
}

void RequestSelectedGroupItems(HWND dialog) {
    std::wstring group;
    if (SelectedGroup(dialog, &group)) RequestGroupItems(dialog, Item(dialog, IDC_IM_ICONS), group.c_str());
}

// ---- Events -------------------------------------------------------------------------

void OnGroupSelectionChanged(HWND dialog) {
    KillTimer(dialog, kReloadTimer);
    SendDlgItemMessageW(dialog, IDC_IM_ICONS, LB_RESETCONTENT, 0, 0);
    EnableEditAndDelete(dialog, false);
    SetTimer(dialog, kReloadTimer, kReloadPause, nullptr);
}

void OnReloadTimer(HWND dialog) {
    KillTimer(dialog, kReloadTimer);
    SendDlgItemMessageW(dialog, IDC_IM_ICONS, LB_RESETCONTENT, 0, 0);
    RequestSelectedGroupItems(dialog);
}

void OnItemsLoaded(HWND dialog) {
    HWND icons = Item(dialog, IDC_IM_ICONS);
    if (SendMessageW(icons, LB_GETCOUNT, 0, 0) == 0) {
        std::wstring none = LoadText(IDS_NO_ICONS);
        LRESULT index = SendMessageW(icons, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(none.c_str()));
        if (index >= 0) SendMessageW(icons, LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
        EnableEditAndDelete(dialog, false);
        SetDlgItemTextW(dialog, IDC_IM_COMMAND_LINE, L"");
        return;
    }
    SendMessageW(icons, LB_SETCURSEL, 0, 0);
    PostSelectionChange(dialog, IDC_IM_ICONS);
}

void OnIconSelectionChanged(HWND dialog) {
    LRESULT index = 0, value = 0;
    bool selected = SelectedIcon(dialog, &index, &value);
    if (selected && value == 0) return;  // the "no icons" line
    if (selected) {
        ProgramItemRecord scratch;
        ClearProgramItemRecord(&scratch);
        ReadItemLine(ListText(Item(dialog, IDC_IM_ICONS), index), &scratch);
        std::wstring_view options;
        if (OptionsOfCommandLine(scratch.commandLine, &options))
            SetDlgItemTextW(dialog, IDC_IM_COMMAND_LINE, std::wstring(options).c_str());
    }
    EnableEditAndDelete(dialog, true);
}

// Steps 2 to 4 of New and Edit: Control Configuration with the record (its
// OK runs Create Program Icon), a new group listed and selected, the record
// cleared and the icons loaded again after the pause.
void ConfigureAndReload(HWND dialog) {
    ProgramItemRecord* record = g_state.record;
    RunControlConfiguration(dialog, record, &g_state.newGroup);
    if (!g_state.newGroup.empty()) {
        HWND groups = Item(dialog, IDC_IM_GROUPS);
        SendMessageW(groups, LB_RESETCONTENT, 0, 0);
        RequestGroupList(dialog, groups, LB_ADDSTRING);
        int index = FindGroupPrefixIndex(ListEntries(groups), g_state.newGroup);
        if (index >= 0) SendMessageW(groups, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        g_state.newGroup.clear();
    }
    ClearProgramItemRecord(record);
    PostSelectionChange(dialog, IDC_IM_GROUPS);
}

void OnNew(HWND dialog) {
    std::wstring group;
    if (SelectedGroup(dialog, &group)) CopyCut(g_state.record->group, kGroupNameCap, group);
    ConfigureAndReload(dialog);
}

// Edit adds the item again with what Control Configuration and Create
// Program Icon make of it; position, hot key and minimize flag come from the
// item line unchanged. The existing item is not removed.
void OnEdit(HWND dialog) {
    LRESULT index = 0, value = 0;
    if (SelectedIcon(dialog, &index, &value) && value != 0) {
        ReadItemLine(ListText(Item(dialog, IDC_IM_ICONS), index), g_state.record);
        std::wstring group;
        if (SelectedGroup(dialog, &group)) CopyCut(g_state.record->group, kGroupNameCap, group);
    }
    ConfigureAndReload(dialog);
}

void OnDelete(HWND dialog) {
    LRESULT index = 0, value = 0;
    if (!SelectedIcon(dialog, &index, &value) || value == 0) return;
    if (WarningBox(dialog, IDS_DELETE_ICON, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    ProgramItemRecord scratch;
    ClearProgramItemRecord(&scratch);
    ReadItemLine(ListText(Item(dialog, IDC_IM_ICONS), index), &scratch);
    std::wstring group;
    if (!SelectedGroup(dialog, &group)) return;
    std::wstring commands = DeleteIconCommands(group, scratch.description);
    HGLOBAL block = MakeCommandBlock(commands, kDeleteBlockChars * sizeof(wchar_t));
    if (block) ExecuteCommands(dialog, block);
    ClearProgramItemRecord(g_state.record);
    PostSelectionChange(dialog, IDC_IM_GROUPS);
}

// The light font of the Command Line field: the stock ANSI variable-pitch
// font with weight 100, except on Japanese systems (ANSI code page 932),
// where the field keeps the dialog's font.
HFONT CreateCommandLineFont() {
    if (GetACP() == 932) return nullptr;
    LOGFONTW font{};
    if (!GetObjectW(GetStockObject(ANSI_VAR_FONT), sizeof font, &font)) return nullptr;
    font.lfWeight = FW_THIN;
    return CreateFontIndirectW(&font);
}

void OnInitDialog(HWND dialog, ProgramItemRecord* record) {
    WaitCursor wait;
    BeginDialog(dialog);
    g_state.record = record ? record : &g_record;
    g_state.newGroup.clear();
    g_state.commandLineFont.reset(CreateCommandLineFont());
    if (g_state.commandLineFont)
        SendDlgItemMessageW(dialog, IDC_IM_COMMAND_LINE, WM_SETFONT,
                            reinterpret_cast<WPARAM>(g_state.commandLineFont.get()), FALSE);

    HWND groups = Item(dialog, IDC_IM_GROUPS);
    RequestGroupList(dialog, groups, LB_ADDSTRING);
    int index = FindGroupIndex(ListEntries(groups), g_shell.groupName);
    if (index < 0 && SendMessageW(groups, LB_GETCOUNT, 0, 0) > 0) index = 0;
    if (index >= 0) SendMessageW(groups, LB_SETCURSEL, static_cast<WPARAM>(index), 0);

    INT tabStop = kIconsTabStop;
    SendDlgItemMessageW(dialog, IDC_IM_ICONS, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    RequestGroupItems(dialog, nullptr, nullptr);  // the item conversation window, for the dialog's life
    RequestSelectedGroupItems(dialog);
    PostSelectionChange(dialog, IDC_IM_ICONS);
}

void OnDestroy(HWND dialog) {
    KillTimer(dialog, kReloadTimer);
    RequestGroupItems(dialog, nullptr, nullptr);  // ends the item conversation window
    SendDlgItemMessageW(dialog, IDC_IM_COMMAND_LINE, WM_SETFONT, 0, FALSE);
    g_state.commandLineFont.reset();
    g_state.newGroup.clear();
}

void OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_IM_GROUPS:
        if (code == LBN_SELCHANGE) OnGroupSelectionChanged(dialog);
        break;
    case IDC_IM_ICONS:
        if (code == LBN_SELCHANGE) OnIconSelectionChanged(dialog);
        if (code == LBN_DBLCLK) OnEdit(dialog);
        break;
    case IDC_IM_NEW:
        if (code == BN_CLICKED) OnNew(dialog);
        break;
    case IDC_IM_EDIT:
        if (code == BN_CLICKED) OnEdit(dialog);
        break;
    case IDC_IM_DELETE:
        if (code == BN_CLICKED) OnDelete(dialog);
        break;
    case IDC_HELPBUTTON:
        if (code == BN_CLICKED) ShowHelp(HELP_ICON_MAINTENANCE);
        break;
    case IDCANCEL:  // Done
        EndDialog(dialog, 0);
        break;
    default:
        break;
    }
}

}  // namespace

INT_PTR CALLBACK IconMaintenanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<ProgramItemRecord*>(lParam));
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam != kReloadTimer) return FALSE;
        OnReloadTimer(dialog);
        return TRUE;
    case WMU_ITEMS_LOADED:
        OnItemsLoaded(dialog);
        return TRUE;
    case WM_DESTROY:
        OnDestroy(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

ProgramItemRecord* IconMaintenanceRecord() { return &g_record; }

void RunIconMaintenance(HWND owner) {
    ClearProgramItemRecord(&g_record);
    RunDialog(owner, IDD_ICON_MAINTENANCE, IconMaintenanceDialogProc, reinterpret_cast<LPARAM>(&g_record),
              HELP_ICON_MAINTENANCE);
}

}  // namespace rc

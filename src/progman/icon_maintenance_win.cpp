#include "progman/icon_maintenance_win.h"

#include "control/control_dialog_win.h"
#include "progman/dde_link_win.h"
#include "progman/icon_dialog_rules.h"
#include "resources/resource.h"
#include "shell/dialog_items_win.h"
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

// The ANSI code page of Japanese systems, where the Command Line field
// keeps the dialog's font.
constexpr UINT kJapaneseCodePage = 932;

// What one run of the dialog keeps besides its controls.
struct MaintenanceState {
    ProgramItemRecord* record = nullptr;  // the caller's, lent down to New and Edit
    Font commandLineFont;
    std::wstring newGroup;  // reported by Create Program Icon, forgotten once used
};

MaintenanceState& StateOf(HWND dialog) { return *ContextOf<MaintenanceState>(dialog); }

// The selected group's name as the record holds it (cut to its
// kGroupNameCap buffer), or false when no group is selected.
bool SelectedGroup(HWND dialog, std::wstring* name) {
    HWND groups = DialogItem(dialog, IDC_IM_GROUPS);
    LRESULT selected = SendMessageW(groups, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return false;
    *name = std::wstring(Head(ListBoxText(groups, selected), kGroupNameCap - 1));
    return true;
}

// The selected Icons entry and its value (1 an icon, 0 the "no icons" line);
// false when nothing is selected.
bool SelectedIcon(HWND dialog, LRESULT* index, LRESULT* value) {
    HWND icons = DialogItem(dialog, IDC_IM_ICONS);
    LRESULT selected = SendMessageW(icons, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return false;
    *index = selected;
    *value = SendMessageW(icons, LB_GETITEMDATA, static_cast<WPARAM>(selected), 0);
    return true;
}

void EnableEditAndDelete(HWND dialog, bool enable) {
    EnableItem(dialog, IDC_IM_EDIT, enable);
    EnableItem(dialog, IDC_IM_DELETE, enable);
}

void PostSelectionChange(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(DialogItem(dialog, id)));
}

void RequestSelectedGroupItems(HWND dialog) {
    std::wstring group;
    if (SelectedGroup(dialog, &group)) RequestGroupItems(dialog, DialogItem(dialog, IDC_IM_ICONS), group.c_str());
}

// ---- Events -------------------------------------------------------------------------

void OnGroupSelectionChanged(HWND dialog) {
    KillTimer(dialog, kReloadTimer);
    SendItemMessage(dialog, IDC_IM_ICONS, LB_RESETCONTENT, 0, 0);
    EnableEditAndDelete(dialog, false);
    SetTimer(dialog, kReloadTimer, kReloadPause, nullptr);
}

void OnReloadTimer(HWND dialog) {
    KillTimer(dialog, kReloadTimer);
    SendItemMessage(dialog, IDC_IM_ICONS, LB_RESETCONTENT, 0, 0);
    RequestSelectedGroupItems(dialog);
}

void OnItemsLoaded(HWND dialog) {
    HWND icons = DialogItem(dialog, IDC_IM_ICONS);
    if (SendMessageW(icons, LB_GETCOUNT, 0, 0) == 0) {
        std::wstring none = LoadText(IDS_NO_ICONS);
        LRESULT index = SendMessageW(icons, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(none.c_str()));
        if (index >= 0) SendMessageW(icons, LB_SETITEMDATA, static_cast<WPARAM>(index), 0);
        EnableEditAndDelete(dialog, false);
        SetItemText(dialog, IDC_IM_COMMAND_LINE, L"");
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
        ReadItemLine(ListBoxText(DialogItem(dialog, IDC_IM_ICONS), index), &scratch);
        std::wstring_view options;
        if (OptionsOfCommandLine(scratch.commandLine, &options))
            SetItemText(dialog, IDC_IM_COMMAND_LINE, std::wstring(options).c_str());
    }
    EnableEditAndDelete(dialog, true);
}

// Steps 2 to 4 of New and Edit: Control Configuration with the record (its
// OK runs Create Program Icon), a new group listed and selected, the record
// cleared and the icons loaded again after the pause.
void ConfigureAndReload(HWND dialog) {
    MaintenanceState& state = StateOf(dialog);
    ProgramItemRecord* record = state.record;
    RunControlConfiguration(dialog, record, &state.newGroup);
    if (!state.newGroup.empty()) {
        HWND groups = DialogItem(dialog, IDC_IM_GROUPS);
        SendMessageW(groups, LB_RESETCONTENT, 0, 0);
        RequestGroupList(dialog, groups, LB_ADDSTRING);
        int index = FindGroupPrefixIndex(ListBoxTexts(groups), state.newGroup);
        if (index >= 0) SendMessageW(groups, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        state.newGroup.clear();
    }
    ClearProgramItemRecord(record);
    PostSelectionChange(dialog, IDC_IM_GROUPS);
}

void OnNew(HWND dialog) {
    std::wstring group;
    if (SelectedGroup(dialog, &group)) CopyCut(StateOf(dialog).record->group, kGroupNameCap, group);
    ConfigureAndReload(dialog);
}

// Edit adds the item again with what Control Configuration and Create
// Program Icon make of it; position, hot key and minimize flag come from the
// item line unchanged. The existing item is not removed.
void OnEdit(HWND dialog) {
    LRESULT index = 0, value = 0;
    if (SelectedIcon(dialog, &index, &value) && value != 0) {
        ProgramItemRecord* record = StateOf(dialog).record;
        ReadItemLine(ListBoxText(DialogItem(dialog, IDC_IM_ICONS), index), record);
        std::wstring group;
        if (SelectedGroup(dialog, &group)) CopyCut(record->group, kGroupNameCap, group);
    }
    ConfigureAndReload(dialog);
}

void OnDelete(HWND dialog) {
    LRESULT index = 0, value = 0;
    if (!SelectedIcon(dialog, &index, &value) || value == 0) return;
    if (WarningBox(dialog, IDS_DELETE_ICON, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    ProgramItemRecord scratch;
    ClearProgramItemRecord(&scratch);
    ReadItemLine(ListBoxText(DialogItem(dialog, IDC_IM_ICONS), index), &scratch);
    std::wstring group;
    if (!SelectedGroup(dialog, &group)) return;
    std::wstring commands = DeleteIconCommands(group, scratch.description);
    HGLOBAL block = MakeCommandBlock(commands, kDeleteBlockChars * sizeof(wchar_t));
    bool taken = block && ExecuteCommands(dialog, block);
    ClearProgramItemRecord(StateOf(dialog).record);
    // Unanswered, the delete is given up (the user has been told) and the
    // icons are not asked for again.
    if (taken) PostSelectionChange(dialog, IDC_IM_GROUPS);
}

void OnInitDialog(HWND dialog, MaintenanceState& state) {
    WaitCursor wait;
    BeginDialog(dialog);
    // The Command Line field's light font; on Japanese systems the field
    // keeps the dialog's font.
    state.commandLineFont.reset(CreateLightFont(0, GetACP() == kJapaneseCodePage));
    SetItemsFont(dialog, state.commandLineFont.get(), {IDC_IM_COMMAND_LINE});

    HWND groups = DialogItem(dialog, IDC_IM_GROUPS);
    RequestGroupList(dialog, groups, LB_ADDSTRING);
    int index = FindGroupIndex(ListBoxTexts(groups), g_shell.groupName);
    if (index < 0 && SendMessageW(groups, LB_GETCOUNT, 0, 0) > 0) index = 0;
    if (index >= 0) SendMessageW(groups, LB_SETCURSEL, static_cast<WPARAM>(index), 0);

    INT tabStop = kIconsTabStop;
    SendItemMessage(dialog, IDC_IM_ICONS, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    RequestGroupItems(dialog, nullptr, nullptr);  // the item conversation window, for the dialog's life
    RequestSelectedGroupItems(dialog);
    PostSelectionChange(dialog, IDC_IM_ICONS);
}

void OnDestroy(HWND dialog) {
    KillTimer(dialog, kReloadTimer);
    RequestGroupItems(dialog, nullptr, nullptr);  // ends the item conversation window
    SendItemMessage(dialog, IDC_IM_COMMAND_LINE, WM_SETFONT, 0, FALSE);
    if (MaintenanceState* state = ContextOf<MaintenanceState>(dialog)) state->commandLineFont.reset();
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

INT_PTR CALLBACK IconMaintenanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, *DialogContext<MaintenanceState>(dialog, lParam));
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

}  // namespace

void RunIconMaintenance(HWND owner, ProgramItemRecord* record) {
    ClearProgramItemRecord(record);
    MaintenanceState state;
    state.record = record;
    RunDialog(owner, IDD_ICON_MAINTENANCE, IconMaintenanceDialogProc, reinterpret_cast<LPARAM>(&state),
              HELP_ICON_MAINTENANCE);
}

}  // namespace rc

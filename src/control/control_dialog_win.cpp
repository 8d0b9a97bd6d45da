// The Control Configuration dialog (templates IDD_CONTROL and, in the
// classroom edition, IDD_CONTROL_CLASSROOM; one procedure for both).
// Controls the classroom template lacks read empty or off, so their
// switches are never written there.
#include "control/control_dialog_win.h"

#include "client/list_helpers_win.h"
#include "control/control_options.h"
#include "progman/create_icon_win.h"
#include "resources/resource.h"
#include "shell/dialog_items_win.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "transport/transport_win.h"

namespace rc {

namespace {

// What one run of the dialog works on.
struct ControlDialog {
    ProgramItemRecord* record = nullptr;  // lent by Icon Maintenance
    std::wstring* newGroup = nullptr;     // handed on to Create Program Icon
    Font light;                           // Command Line and the machine-name note
    // Set once the opening has filled every control. Until then the change
    // notifications that its own filling causes are ignored, and the
    // string is composed once, at the end.
    bool initialised = false;
};

ControlDialog* StateOf(HWND dialog) { return ContextOf<ControlDialog>(dialog); }

// The choices remembered from the last item created: rcsetup.ini [Control].
const wchar_t kControlSection[] = L"Control";

// Message File and Dial take up to 128 characters.
constexpr int kLongFieldLimit = kPathBuffer;

ControlLists ControlListsOf(HWND dialog);
ControlSettings ControlSettingsOf(HWND dialog);
void ShowControlSettings(HWND dialog, const ControlSettings& settings);

int SelectedTransport(HWND dialog) { return static_cast<int>(SelectedEntryData(dialog, IDC_CT_TRANSPORT)); }

// Rule T: which of Local Broadcasts Only and the adapter list the selected
// transport uses. With no transport selected they stay as they are; a
// disabled check box keeps its check mark.
void ApplyTransportRule(HWND dialog) {
    switch (SelectedTransport(dialog)) {
    case IDS_IPX:
        EnableItem(dialog, IDC_CT_LOCAL_BROADCASTS, true);
        EnableItem(dialog, IDC_CT_ADAPTER, false);
        EnableItem(dialog, IDC_CT_ADAPTER_LABEL, false);
        break;
    case IDS_NETBIOS:
        EnableItem(dialog, IDC_CT_LOCAL_BROADCASTS, false);
        EnableItem(dialog, IDC_CT_ADAPTER, true);
        EnableItem(dialog, IDC_CT_ADAPTER_LABEL, true);
        break;
    case IDS_TCPIP:
        EnableItem(dialog, IDC_CT_LOCAL_BROADCASTS, false);
        EnableItem(dialog, IDC_CT_ADAPTER, false);
        EnableItem(dialog, IDC_CT_ADAPTER_LABEL, false);
        break;
    default:
        break;
    }
}

// Rule R: Remote, Serial Link and Dial follow the transport and each other.
void ApplyRemoteRule(HWND dialog) {
    if (SelectedTransport(dialog) == IDS_TCPIP) {
        for (int id : {IDC_CT_REMOTE, IDC_CT_SERIAL_LINK, IDC_CT_DIAL_LABEL, IDC_CT_DIAL})
            EnableItem(dialog, id, false);
        return;
    }
    bool remote = IsItemChecked(dialog, IDC_CT_REMOTE);
    EnableItem(dialog, IDC_CT_REMOTE, true);
    EnableItem(dialog, IDC_CT_SERIAL_LINK, remote);
    bool dial = remote && !IsItemChecked(dialog, IDC_CT_SERIAL_LINK);
    EnableItem(dialog, IDC_CT_DIAL_LABEL, dial);
    EnableItem(dialog, IDC_CT_DIAL, dial);
}

bool RemoteAvailable(HWND dialog) {
    return DialogItem(dialog, IDC_CT_REMOTE) && SelectedTransport(dialog) != IDS_TCPIP;
}

// Composes the option string into the record, the Command Line field and
// the warning line.
void Recompose(HWND dialog) {
    ControlDialog* state = StateOf(dialog);
    ComposedControl composed = ComposeControlOptions(ControlSettingsOf(dialog), ControlListsOf(dialog),
                                                     RemoteAvailable(dialog));
    if (state && state->record) {
        CopyCut(state->record->commandLine, kItemTextCap, composed.text);
        CopyCut(state->record->options, kItemOptionsCap, composed.text);
    }
    SetItemText(dialog, IDC_CT_COMMAND_LINE, composed.text.c_str());
    SetItemText(dialog, IDC_CT_WARNING, composed.overLimit ? LoadText(IDS_PM_LIMIT_WARNING).c_str() : L"");
}

BOOL OnInitDialog(HWND dialog, ControlDialog* state) {
    BeginDialog(dialog);
    state->light.reset(CreateLightFont());
    SetItemsFont(dialog, state->light.get(), {IDC_CT_COMMAND_LINE, IDC_CT_MACHINE_NOTE});
    ShowMachineName(dialog, IDC_CT_MACHINE_NOTE);
    SendItemMessage(dialog, IDC_CT_NAME, EM_LIMITTEXT, 12, 0);
    SendItemMessage(dialog, IDC_CT_MESSAGE_FILE, EM_LIMITTEXT, kLongFieldLimit, 0);
    SendItemMessage(dialog, IDC_CT_CONNECT_TO, EM_LIMITTEXT, 15, 0);
    SendItemMessage(dialog, IDC_CT_MAX_CLIENTS, EM_LIMITTEXT, 3, 0);
    SendItemMessage(dialog, IDC_CT_CACHE, EM_LIMITTEXT, 5, 0);
    SendItemMessage(dialog, IDC_CT_DIAL, EM_LIMITTEXT, kLongFieldLimit, 0);

    FillComboFromStrings(dialog, IDC_CT_TRANSPORT, IDS_IPX, IDS_TCPIP);
    FillComboFromStrings(dialog, IDC_CT_COLOUR_DEPTH, IDS_DEPTH_UNLIMITED, IDS_DEPTH_256);
    SelectComboEntry(dialog, IDC_CT_TRANSPORT, 0);
    if (HWND adapters = DialogItem(dialog, IDC_CT_ADAPTER)) FillAdapterList(adapters);
    PruneTransportList(dialog, Side::Control);

    ControlSettings settings = ControlSettingsOf(dialog);
    ControlLists lists = ControlListsOf(dialog);
    if (ParseControlOptions(state->record->commandLine, settings, lists, SystemUpperChar)) {
        ShowControlSettings(dialog, settings);
    } else {
        // A new item: the choices remembered from the last one created.
        SetItemTextIfChanged(dialog, IDC_CT_NAME, ReadIniText(kControlSection, L"Name"));
        SelectComboPosition(dialog, IDC_CT_TRANSPORT, ReadIniNumber(kControlSection, L"Transport", 0));
        SelectComboPosition(dialog, IDC_CT_COLOUR_DEPTH, ReadIniNumber(kControlSection, L"MaxColorDepth", 0));
        CheckItem(dialog, IDC_CT_SERIAL_LINK, false);
    }
    ApplyRemoteRule(dialog);
    Recompose(dialog);
    ApplyTransportRule(dialog);
    if (NoUsableTransport(Side::Control))
        for (int id : {IDOK, IDC_CT_TRANSPORT, IDC_CT_ADAPTER, IDC_CT_ADAPTER_LABEL, IDC_CT_LOCAL_BROADCASTS})
            EnableItem(dialog, id, false);
    state->initialised = true;
    return TRUE;
}

void OnOk(HWND dialog, ControlDialog* state) {
    Recompose(dialog);
    if (!RunCreateProgramIcon(dialog, state->record, state->newGroup)) return;
    WriteIniText(kControlSection, L"Name", ItemText(dialog, IDC_CT_NAME).c_str());
    WriteIniNumber(kControlSection, L"Transport", ComboPositionOf(dialog, IDC_CT_TRANSPORT, -1));
    WriteIniNumber(kControlSection, L"MaxColorDepth", ComboPositionOf(dialog, IDC_CT_COLOUR_DEPTH, -1));
    EndDialog(dialog, 1);
}

BOOL OnCommand(HWND dialog, WORD id, WORD code) {
    ControlDialog* state = StateOf(dialog);
    if (!state || !state->initialised) return FALSE;
    if (HandleCommonButton(dialog, id, HELP_CONTROL)) return TRUE;
    switch (id) {
    case IDC_CT_NAME:
    case IDC_CT_MESSAGE_FILE:
    case IDC_CT_CONNECT_TO:
    case IDC_CT_MAX_CLIENTS:
    case IDC_CT_CACHE:
    case IDC_CT_DIAL:
        if (code == EN_CHANGE) Recompose(dialog);
        return TRUE;
    case IDC_CT_ADAPTER:
    case IDC_CT_COLOUR_DEPTH:
        if (code == CBN_SELCHANGE) Recompose(dialog);
        return TRUE;
    case IDC_CT_LOCAL_BROADCASTS:
    case IDC_CT_NO_TICKLE:
        if (code == BN_CLICKED) Recompose(dialog);
        return TRUE;
    case IDC_CT_REMOTE:
        if (code == BN_CLICKED) {
            ApplyRemoteRule(dialog);
            Recompose(dialog);
        }
        return TRUE;
    case IDC_CT_SERIAL_LINK:
        if (code == BN_CLICKED) {
            bool dial = !IsItemChecked(dialog, IDC_CT_SERIAL_LINK);
            EnableItem(dialog, IDC_CT_DIAL_LABEL, dial);
            EnableItem(dialog, IDC_CT_DIAL, dial);
            Recompose(dialog);
        }
        return TRUE;
    case IDC_CT_TRANSPORT:
        if (code == CBN_SELCHANGE) {
            ApplyTransportRule(dialog);
            ApplyRemoteRule(dialog);
            Recompose(dialog);
        }
        return TRUE;
    case IDC_TEST_NETWORK:
        RunTransportsDialog(dialog, Side::Control);
        return TRUE;
    case IDOK:
        OnOk(dialog, state);
        return TRUE;
    default:
        return FALSE;
    }
}

ControlLists ControlListsOf(HWND dialog) {
    ControlLists lists;
    lists.adapters = ComboDataOf(dialog, IDC_CT_ADAPTER);
    lists.transports = ComboDataOf(dialog, IDC_CT_TRANSPORT);
    return lists;
}

ControlSettings ControlSettingsOf(HWND dialog) {
    ControlSettings s;
    s.name = ItemText(dialog, IDC_CT_NAME);
    s.transport = ComboPositionOf(dialog, IDC_CT_TRANSPORT, -1);
    s.localBroadcasts = IsItemChecked(dialog, IDC_CT_LOCAL_BROADCASTS);
    s.adapter = ComboPositionOf(dialog, IDC_CT_ADAPTER, -1);
    s.messageFile = ItemText(dialog, IDC_CT_MESSAGE_FILE);
    s.disableTickle = IsItemChecked(dialog, IDC_CT_NO_TICKLE);
    s.colourDepth = ComboPositionOf(dialog, IDC_CT_COLOUR_DEPTH, -1);
    s.cacheSize = ItemText(dialog, IDC_CT_CACHE);
    s.connectTo = ItemText(dialog, IDC_CT_CONNECT_TO);
    s.maxClients = ItemText(dialog, IDC_CT_MAX_CLIENTS);
    s.remote = IsItemChecked(dialog, IDC_CT_REMOTE);
    s.serialLink = IsItemChecked(dialog, IDC_CT_SERIAL_LINK);
    s.dial = ItemText(dialog, IDC_CT_DIAL);
    return s;
}

void ShowControlSettings(HWND dialog, const ControlSettings& s) {
    SetItemTextIfChanged(dialog, IDC_CT_NAME, s.name);
    SelectComboPosition(dialog, IDC_CT_TRANSPORT, s.transport);
    CheckItem(dialog, IDC_CT_LOCAL_BROADCASTS, s.localBroadcasts);
    SelectComboPosition(dialog, IDC_CT_ADAPTER, s.adapter);
    SetItemTextIfChanged(dialog, IDC_CT_MESSAGE_FILE, s.messageFile);
    CheckItem(dialog, IDC_CT_NO_TICKLE, s.disableTickle);
    SelectComboPosition(dialog, IDC_CT_COLOUR_DEPTH, s.colourDepth);
    SetItemTextIfChanged(dialog, IDC_CT_CACHE, s.cacheSize);
    SetItemTextIfChanged(dialog, IDC_CT_CONNECT_TO, s.connectTo);
    SetItemTextIfChanged(dialog, IDC_CT_MAX_CLIENTS, s.maxClients);
    CheckItem(dialog, IDC_CT_REMOTE, s.remote);
    CheckItem(dialog, IDC_CT_SERIAL_LINK, s.serialLink);
    SetItemTextIfChanged(dialog, IDC_CT_DIAL, s.dial);
}

INT_PTR CALLBACK ControlDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, DialogContext<ControlDialog>(dialog, lParam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    default:
        return FALSE;
    }
}

}  // namespace

bool RunControlConfiguration(HWND owner, ProgramItemRecord* record, std::wstring* newGroup) {
    if (!record) return false;
    ControlDialog state;
    state.record = record;
    state.newGroup = newGroup;
    return RunDialog(owner, IsClassroom() ? IDD_CONTROL_CLASSROOM : IDD_CONTROL, ControlDialogProc,
                     reinterpret_cast<LPARAM>(&state), HELP_CONTROL) != 0;
}

}  // namespace rc

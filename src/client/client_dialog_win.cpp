// The Client Configuration dialog (templates IDD_CLIENT and, in the
// classroom edition, IDD_CLIENT_CLASSROOM; one procedure for both). Every
// step that names a control the template lacks does nothing, reads an empty
// text, reads off, or reads the position 0, so the classroom template needs
// no code of its own.
#include "client/client_dialog_win.h"

#include "client/advanced_win.h"
#include "client/client_store_win.h"
#include "client/list_helpers_win.h"
#include "client/modem_list_win.h"
#include "client/option_list_win.h"
#include "dialback/dialback_editor_win.h"
#include "dialback/password_dialog_win.h"
#include "resources/resource.h"
#include "shell/dialog_items_win.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "transport/transport_win.h"

namespace rc {

namespace {

// What one run of the dialog keeps beside its controls.
struct ClientDialog {
    ClientHeldSettings* held = nullptr;  // the caller's, for the whole run
    Font thin;                           // Command Line, machine-name note, option boxes
    bool noUsableTransport = false;
    // Set when WM_INITDIALOG is done. Until then the fields that it fills
    // send change notifications; they are not acted on, as the last step of
    // the initialisation composes the string and sets the OK button itself.
    bool initialised = false;
    std::wstring storedOptions;  // the option text as read when the dialog opened
};

ClientDialog* StateOf(HWND dialog) { return ContextOf<ClientDialog>(dialog); }

// The option list's rows: labels from the string table, with the row of
// "logoff on disconnect" labelled by a string of its own; the physical
// fonts and always-on-top rows are greyed.
std::vector<OptionRow> ClientOptionRows() {
    std::vector<OptionRow> rows;
    for (int n = 0; n < kClientOptionCount; ++n) {
        UINT labelId = n == kOptLogoffOnDisconnect ? IDS_LOGOFF_ON_DISCONNECT : IDS_OPTION_FIRST + n;
        rows.push_back({LoadText(labelId, kLabelChars), n != kOptSendPhysicalFonts && n != kOptAlwaysOnTop});
    }
    return rows;
}

// ---- Controls and settings -------------------------------------------------------

// The dialog's controls as option-string settings, and back.
ClientLists ClientListsOf(HWND dialog) {
    ClientLists lists;
    lists.ports = ComboTexts(DialogItem(dialog, IDC_CL_PORT));
    lists.bauds = ComboTexts(DialogItem(dialog, IDC_CL_BAUD));
    lists.modems = ComboTexts(DialogItem(dialog, IDC_CL_MODEM));
    lists.adapters = ComboDataOf(dialog, IDC_CL_ADAPTER);
    lists.transports = ComboDataOf(dialog, IDC_CL_TRANSPORT);
    return lists;
}

ClientSettings ClientSettingsOf(HWND dialog, const ClientLists& lists) {
    ClientSettings s;
    s.name = ItemText(dialog, IDC_CL_NAME);
    s.passwordCode = ItemText(dialog, IDC_CL_PASSWORD);
    s.transport = lists.transports.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_TRANSPORT, 0);
    s.adapter = lists.adapters.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_ADAPTER, 0);
    HWND list = DialogItem(dialog, IDC_CL_OPTIONS);
    for (int n = 0; n < kClientOptionCount; ++n)
        s.options[static_cast<std::size_t>(n)] = GetOptionItem(list, IDC_OPTION_FIRST + n);
    s.publicCode = ItemText(dialog, IDC_CL_PUBLIC_PASSWORD);
    s.inactivityTimeout = ItemText(dialog, IDC_CL_TIMEOUT);
    s.cacheSizeField = ItemText(dialog, IDC_CL_CACHE);
    s.bridge = !IsItemChecked(dialog, IDC_CL_BRIDGE)          ? BridgeMode::Off
               : IsItemChecked(dialog, IDC_CL_START_UNLOADED) ? BridgeMode::StartedUnloaded
                                                              : BridgeMode::Bridge;
    s.port = lists.ports.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_PORT, 0);
    s.baud = lists.bauds.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_BAUD, 0);
    s.link = IsItemChecked(dialog, IDC_CL_MODEM_RADIO) ? LinkKind::Modem : LinkKind::SerialLink;
    s.modem = lists.modems.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_MODEM, 0);
    s.bridgeCode = ItemText(dialog, IDC_CL_BRIDGE_PASSWORD);
    s.dialback = IsItemChecked(dialog, IDC_CL_USE_DIALBACK);
    s.dialbackFile = ItemText(dialog, IDC_CL_DIALBACK_FILE);
    s.bridgeTimeout = ItemText(dialog, IDC_CL_BRIDGE_TIMEOUT);
    s.held = *StateOf(dialog)->held;
    return s;
}

// Serial Link or Modem, in templates that have them. The two buttons are
// set one by one: the platform's radio-group call walks every window of the
// dialog, over sixty with the option boxes, to find two.
void CheckLinkKind(HWND dialog, bool modem) {
    if (!DialogItem(dialog, IDC_CL_SERIAL_LINK)) return;
    CheckItem(dialog, IDC_CL_SERIAL_LINK, !modem);
    CheckItem(dialog, IDC_CL_MODEM_RADIO, modem);
}

void ShowClientSettings(HWND dialog, const ClientSettings& s) {
    SetItemTextIfChanged(dialog, IDC_CL_NAME, s.name);
    SetItemTextIfChanged(dialog, IDC_CL_PASSWORD, s.passwordCode);
    SelectComboPosition(dialog, IDC_CL_TRANSPORT, s.transport);
    SelectComboPosition(dialog, IDC_CL_ADAPTER, s.adapter);
    HWND list = DialogItem(dialog, IDC_CL_OPTIONS);
    for (int n = 0; n < kClientOptionCount; ++n)
        SetOptionItem(list, IDC_OPTION_FIRST + n, s.options[static_cast<std::size_t>(n)]);
    SetItemTextIfChanged(dialog, IDC_CL_PUBLIC_PASSWORD, s.publicCode);
    SetItemTextIfChanged(dialog, IDC_CL_TIMEOUT, s.inactivityTimeout);
    SetItemTextIfChanged(dialog, IDC_CL_CACHE, s.cacheSizeField);
    CheckItem(dialog, IDC_CL_BRIDGE, s.bridge != BridgeMode::Off);
    CheckItem(dialog, IDC_CL_START_UNLOADED, s.bridge == BridgeMode::StartedUnloaded);
    SelectComboPosition(dialog, IDC_CL_PORT, s.port);
    SelectComboPosition(dialog, IDC_CL_BAUD, s.baud);
    CheckLinkKind(dialog, s.link == LinkKind::Modem);
    SelectComboPosition(dialog, IDC_CL_MODEM, s.modem);
    SetItemTextIfChanged(dialog, IDC_CL_BRIDGE_PASSWORD, s.bridgeCode);
    CheckItem(dialog, IDC_CL_USE_DIALBACK, s.dialback);
    SetItemTextIfChanged(dialog, IDC_CL_DIALBACK_FILE, s.dialbackFile);
    SetItemTextIfChanged(dialog, IDC_CL_BRIDGE_TIMEOUT, s.bridgeTimeout);
    *StateOf(dialog)->held = s.held;
}

bool TransportIs(HWND dialog, int transportId) {
    return static_cast<int>(SelectedEntryData(dialog, IDC_CL_TRANSPORT)) == transportId;
}

// The serial-link controls follow the bridge state: the Bridge box's check
// state, or off when the transport is TCP/IP.
void ApplyBridgeRule(HWND dialog, bool bridge) {
    static const int kBridgeControls[] = {
        IDC_CL_SERIAL_LINK,  IDC_CL_MODEM_RADIO,     IDC_CL_MODEM,          IDC_CL_BAUD_LABEL,
        IDC_CL_BAUD,         IDC_CL_PORT_LABEL,      IDC_CL_PORT,           IDC_CL_START_UNLOADED,
        IDC_CL_USE_DIALBACK, IDC_CL_BRIDGE_TO_LABEL, IDC_CL_BRIDGE_TIMEOUT, IDC_CL_BRIDGE_TO_UNIT};
    for (int id : kBridgeControls) EnableItem(dialog, id, bridge);
    bool dialback = IsItemChecked(dialog, IDC_CL_USE_DIALBACK);
    for (int id : {IDC_CL_BRIDGE_PW_LABEL, IDC_CL_BRIDGE_PASSWORD, IDC_CL_SET_BRIDGE_PW})
        EnableItem(dialog, id, bridge && !dialback);
    for (int id : {IDC_CL_DIALBACK_FILE, IDC_CL_EDIT_DIALBACK}) EnableItem(dialog, id, bridge && dialback);
}

void ApplyBridgeRuleForTransport(HWND dialog) {
    ApplyBridgeRule(dialog, !TransportIs(dialog, IDS_TCPIP) && IsItemChecked(dialog, IDC_CL_BRIDGE));
}

void EnablePublicPassword(HWND dialog) {
    bool on = GetOptionItem(DialogItem(dialog, IDC_CL_OPTIONS), IDC_OPTION_FIRST + kOptPublicWhenLoggedOff);
    for (int id : {IDC_CL_PUBLIC_LABEL, IDC_CL_PUBLIC_PASSWORD, IDC_CL_SET_PUBLIC}) EnableItem(dialog, id, on);
}

void EnableAdapterList(HWND dialog, ClientDialog* state) {
    bool on = TransportIs(dialog, IDS_NETBIOS) && !state->noUsableTransport;
    EnableItem(dialog, IDC_CL_ADAPTER_LABEL, on);
    EnableItem(dialog, IDC_CL_ADAPTER, on);
}

void Recompose(HWND dialog) {
    ClientLists lists = ClientListsOf(dialog);
    ClientSettings settings = ClientSettingsOf(dialog, lists);
    std::wstring text = ComposeClientOptions(settings, lists, false, IsClassroom());
    SetItemText(dialog, IDC_CL_COMMAND_LINE, text.c_str());
}

void EnableOk(HWND dialog, ClientDialog* state) {
    EnableItem(dialog, IDOK, !ItemText(dialog, IDC_CL_NAME, 15).empty() && !state->noUsableTransport);
}

bool ApplyStoredOptions(HWND dialog, std::wstring* text) {
    if (!ReadClientOptions(text)) return false;
    ClientLists lists = ClientListsOf(dialog);
    ClientSettings settings = ClientSettingsOf(dialog, lists);
    bool parsed = ParseClientOptions(*text, settings, lists, SystemUpperChar);
    ShowClientSettings(dialog, settings);
    return parsed;
}

void ApplyRememberedSerialLink(HWND dialog) {
    ClientKeys keys = ReadClientKeys();
    CheckLinkKind(dialog, !keys.serial);
    SelectComboPosition(dialog, IDC_CL_BAUD, keys.baudRate);
    SelectComboPosition(dialog, IDC_CL_PORT, keys.comPort);
    SelectComboPosition(dialog, IDC_CL_MODEM, keys.modem);
    SetItemTextIfChanged(dialog, IDC_CL_BRIDGE_PASSWORD, keys.password);
    SetItemTextIfChanged(dialog, IDC_CL_DIALBACK_FILE, keys.dialbackFile);
    CheckItem(dialog, IDC_CL_USE_DIALBACK, keys.dialback);
    ApplyBridgeRule(dialog, IsItemChecked(dialog, IDC_CL_BRIDGE));
}

ClientKeys KeysOf(HWND dialog) {
    ClientKeys keys;
    keys.serial = IsItemChecked(dialog, IDC_CL_SERIAL_LINK);
    keys.modem = ComboPositionOf(dialog, IDC_CL_MODEM, 0);
    keys.baudRate = ComboPositionOf(dialog, IDC_CL_BAUD, 0);
    keys.comPort = ComboPositionOf(dialog, IDC_CL_PORT, 0);
    keys.password = ItemText(dialog, IDC_CL_BRIDGE_PASSWORD, 31);
    keys.dialback = IsItemChecked(dialog, IDC_CL_USE_DIALBACK);
    // The classroom template keeps a dialback file name only in its hidden
    // static; its save writes none.
    if (!IsClassroom()) keys.dialbackFile = ItemText(dialog, IDC_CL_DIALBACK_FILE, 31);
    return keys;
}

BOOL OnInitDialog(HWND dialog, ClientDialog* state) {
    // 1. Current window, centred; the always-disabled controls; thin font.
    BeginDialog(dialog);
    EnableItem(dialog, IDC_CL_LOGFILE_LABEL, false);
    EnableItem(dialog, IDC_CL_LOGFILE, false);
    EnableItem(dialog, IDC_CL_BRIDGE, false);
    state->thin.reset(CreateLightFont());
    SetItemsFont(dialog, state->thin.get(), {IDC_CL_COMMAND_LINE, IDC_CL_MACHINE_NOTE});
    // 2. The machine-name note.
    ShowMachineName(dialog, IDC_CL_MACHINE_NOTE);
    // 3. Text limits.
    SendItemMessage(dialog, IDC_CL_NAME, EM_LIMITTEXT, 15, 0);
    SendItemMessage(dialog, IDC_CL_TIMEOUT, EM_LIMITTEXT, 3, 0);
    SendItemMessage(dialog, IDC_CL_BRIDGE_TIMEOUT, EM_LIMITTEXT, 3, 0);
    SendItemMessage(dialog, IDC_CL_LOGFILE, EM_LIMITTEXT, kPathBuffer, 0);
    // 4. The lists from the string table.
    FillComboFromStrings(dialog, IDC_CL_TRANSPORT, IDS_IPX, IDS_TCPIP);
    FillComboFromStrings(dialog, IDC_CL_PORT, IDS_COM1, IDS_COM4);
    FillComboFromStrings(dialog, IDC_CL_BAUD, IDS_BAUD_FIRST, IDS_BAUD_LAST);
    // 5. The modem list.
    {
        WaitCursor wait;
        LoadModemList(dialog, IDC_CL_MODEM);
    }
    // 6. The option list.
    BuildOptionList(DialogItem(dialog, IDC_CL_OPTIONS), ClientOptionRows(),
                    state->thin ? state->thin.get() : reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)));
    // 7. First transport, then the adapter list.
    SelectComboEntry(dialog, IDC_CL_TRANSPORT, 0);
    if (HWND adapters = DialogItem(dialog, IDC_CL_ADAPTER)) FillAdapterList(adapters);
    // 8. The stored string, parsed into the controls and the held settings.
    std::wstring text;
    if (!ApplyStoredOptions(dialog, &text)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    // 9. Without a bridge part, the remembered serial-link settings.
    if (!IsItemChecked(dialog, IDC_CL_BRIDGE)) ApplyRememberedSerialLink(dialog);
    // 10. Read again; prune the transports; show the text read.
    if (!ReadClientOptions(&text)) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    // Every stack is probed for the pruning and again for the usable test
    // (13), afresh at each opening.
    PruneTransportList(dialog, Side::Client);
    SetItemText(dialog, IDC_CL_COMMAND_LINE, text.c_str());
    state->storedOptions = text;
    // 11. Enabled states.
    ApplyBridgeRuleForTransport(dialog);
    EnableItem(dialog, IDOK, !ItemText(dialog, IDC_CL_NAME, 15).empty());
    EnablePublicPassword(dialog);
    EnableAdapterList(dialog, state);
    // 12. The composed form, from the start.
    Recompose(dialog);
    // 13. No usable transport: locked, and the report opens by itself.
    if (NoUsableTransport(Side::Client)) {
        state->noUsableTransport = true;
        for (int id : {IDOK, IDC_CL_ADAPTER_LABEL, IDC_CL_ADAPTER, IDC_CL_TRANSPORT}) EnableItem(dialog, id, false);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TEST_NETWORK, BN_CLICKED), 0);
    }
    state->initialised = true;
    return TRUE;
}

void RunSetFor(HWND dialog, int field) {
    DWORD code = 0;
    if (!RunSetPassword(dialog, IDD_SET_PASSWORD, &code)) return;
    SetItemText(dialog, field, DecimalText(code).c_str());
}

// Runs the dialback editor on the shown file name; true after Save.
bool EditDialbackFile(HWND dialog, const std::wstring& name) {
    wchar_t buffer[kDialbackNameBuffer];
    CopyCut(buffer, kDialbackNameBuffer, name);
    if (!RunDialbackEditor(dialog, buffer)) return false;
    SetItemText(dialog, IDC_CL_DIALBACK_FILE, buffer);
    return true;
}

void OnUseDialback(HWND dialog) {
    if (IsItemChecked(dialog, IDC_CL_USE_DIALBACK) && ItemText(dialog, IDC_CL_DIALBACK_FILE).empty()) {
        if (!EditDialbackFile(dialog, L"")) CheckItem(dialog, IDC_CL_USE_DIALBACK, false);
    }
    bool on = IsItemChecked(dialog, IDC_CL_USE_DIALBACK);
    for (int id : {IDC_CL_DIALBACK_FILE, IDC_CL_EDIT_DIALBACK}) EnableItem(dialog, id, on);
    for (int id : {IDC_CL_BRIDGE_PW_LABEL, IDC_CL_BRIDGE_PASSWORD, IDC_CL_SET_BRIDGE_PW}) EnableItem(dialog, id, !on);
    Recompose(dialog);
}

void OnOk(HWND dialog, ClientDialog* state) {
    for (int field : {IDC_CL_PASSWORD, IDC_CL_PUBLIC_PASSWORD, IDC_CL_BRIDGE_PASSWORD})
        if (DialogItem(dialog, field) && !ValidateCodeField(dialog, field)) return;
    std::wstring commandLine = ItemText(dialog, IDC_CL_COMMAND_LINE, 511);
    switch (SaveClientOptions(dialog, commandLine, state->storedOptions, KeysOf(dialog))) {
    case SaveResult::Saved:
        EndDialog(dialog, 1);
        break;
    case SaveResult::WriteFailed:
        EndDialog(dialog, 0);
        break;
    case SaveResult::Abandoned:
        break;
    }
}

BOOL OnCommand(HWND dialog, WORD id, WORD code) {
    ClientDialog* state = StateOf(dialog);
    if (!state || !state->initialised) return FALSE;
    if (HandleCommonButton(dialog, id, HELP_CLIENT)) return TRUE;
    switch (id) {
    case IDC_CL_NAME:
        EnableOk(dialog, state);
        if (code == EN_CHANGE) Recompose(dialog);
        return TRUE;
    case IDC_CL_PASSWORD:
    case IDC_CL_BRIDGE_PASSWORD:
    case IDC_CL_PUBLIC_PASSWORD:
    case IDC_CL_TIMEOUT:
    case IDC_CL_LOGFILE:
    case IDC_CL_BRIDGE_TIMEOUT:
    case IDC_CL_CACHE:
        if (code == EN_CHANGE) Recompose(dialog);
        return TRUE;
    case IDC_CL_ADAPTER:
    case IDC_CL_BAUD:
    case IDC_CL_PORT:
        if (code == CBN_SELCHANGE) Recompose(dialog);
        return TRUE;
    case IDC_CL_MODEM:
        if (code == CBN_SELCHANGE) Recompose(dialog);
        if (code == CBN_KILLFOCUS) CheckLinkKind(dialog, true);
        return TRUE;
    case IDC_CL_TRANSPORT:
        if (code == CBN_SELCHANGE) {
            EnableAdapterList(dialog, state);
            ApplyBridgeRuleForTransport(dialog);
            Recompose(dialog);
        }
        return TRUE;
    case IDC_CL_USE_DIALBACK:
        if (code == BN_CLICKED) OnUseDialback(dialog);
        return TRUE;
    case IDC_CL_EDIT_DIALBACK:
        if (code == BN_CLICKED) EditDialbackFile(dialog, ItemText(dialog, IDC_CL_DIALBACK_FILE));
        return TRUE;
    case IDC_CL_SET_PASSWORD:
        RunSetFor(dialog, IDC_CL_PASSWORD);
        return TRUE;
    case IDC_CL_SET_BRIDGE_PW:
        RunSetFor(dialog, IDC_CL_BRIDGE_PASSWORD);
        return TRUE;
    case IDC_CL_SET_PUBLIC:
        RunSetFor(dialog, IDC_CL_PUBLIC_PASSWORD);
        return TRUE;
    case IDC_CL_ADVANCED:
        if (RunAdvancedOptions(dialog, state->held)) Recompose(dialog);
        return TRUE;
    case IDC_CL_SOS:
        RunSosHotkeys(dialog);
        return TRUE;
    case IDC_TEST_NETWORK:
        RunTransportsDialog(dialog, Side::Client);
        return TRUE;
    case IDOK:
        OnOk(dialog, state);
        return TRUE;
    default:
        break;
    }
    if ((id >= IDC_OPTION_FIRST && id <= IDC_OPTION_LAST) || id == IDC_CL_SERIAL_LINK || id == IDC_CL_MODEM_RADIO ||
        id == IDC_CL_START_UNLOADED) {
        if (code == BN_CLICKED) {
            Recompose(dialog);
            EnablePublicPassword(dialog);
        }
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK ClientDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, DialogContext<ClientDialog>(dialog, lParam));
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_WINDOWPOSCHANGED:
        // Shown: the dialog and every control in it are painted now, in one
        // pass, rather than each through a paint message of its own.
        if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)
            RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return FALSE;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        return OptionListItemMessage(message, lParam, IDC_CL_OPTIONS);
    default:
        return FALSE;
    }
}

}  // namespace

bool RunClientConfiguration(HWND owner, ClientHeldSettings* held) {
    ClientDialog state;
    state.held = held;
    return RunDialog(owner, IsClassroom() ? IDD_CLIENT_CLASSROOM : IDD_CLIENT, ClientDialogProc,
                     reinterpret_cast<LPARAM>(&state), HELP_CLIENT) != 0;
}

}  // namespace rc

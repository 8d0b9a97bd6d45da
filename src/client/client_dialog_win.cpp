// The Client Configuration dialog (templates 101 and, in the classroom
// edition, 2100; one procedure for both). Every step that names a control
// the template lacks does nothing, reads an empty text, reads off, or reads
// the position 0, so the classroom template needs no code of its own.
#include "client/client_dialog_win.h"

#include "client/advanced_win.h"
#include "client/client_store_win.h"
#include "client/list_helpers_win.h"
#include "client/modem_list_win.h"
#include "dialback/dialback_editor_win.h"
#include "dialback/password_dialog_win.h"
#include "resources/resource.h"
#include "shell/commands_win.h"
#include "shell/dialog_items_win.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "transport/transport_win.h"

#include <new>

namespace rc {

ClientHeldSettings g_clientHeld;

namespace {

// What one open dialog keeps beside its controls.
struct ClientDialog {
    Font thin;                 // Command Line, machine-name note, option boxes
    bool noUsableTransport = false;
    std::wstring storedOptions;  // the option text as read when the dialog opened
};

// The former procedures of the option list and of its boxes: one for all,
// since every list box and every button shares its class's procedure.
WNDPROC g_listProc = nullptr;
WNDPROC g_boxProc = nullptr;

ClientDialog* StateOf(HWND dialog) {
    return reinterpret_cast<ClientDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}





// ---- The option list -----------------------------------------------------------
//
// List box 1077 holds eleven rows; each row's data is a check box window, a
// child of the list, with control id 2000+n. The list forwards the boxes'
// clicks to the dialog, passes the focus on to the current row's box, and
// moves the boxes with their rows when it scrolls.

HWND OptionBox(HWND list, int row) {
    LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    if (data == LB_ERR || data == 0) return nullptr;
    return reinterpret_cast<HWND>(data);
}

int RowOfBox(HWND list, HWND box) {
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        if (OptionBox(list, row) == box) return row;
    return -1;
}

void PlaceOptionBoxes(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (int row = 0; row < count; ++row) {
        HWND box = OptionBox(list, row);
        if (!box) continue;
        RECT r{};
        if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            continue;
        bool visible = r.bottom > 0 && r.top < client.bottom;
        SetWindowPos(box, nullptr, 0, r.top, width, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
}

LRESULT CALLBACK OptionBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND list = GetParent(box);
    if (message == WM_GETDLGCODE) {
        // Up and Down belong to the box: they move between rows.
        LRESULT code = CallWindowProcW(g_boxProc, box, message, wParam, lParam);
        return code | DLGC_WANTARROWS;
    }
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        int row = RowOfBox(list, box) + (wParam == VK_UP ? -1 : 1);
        int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        if (row >= 0 && row < count) {
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
            PlaceOptionBoxes(list);
            if (HWND next = OptionBox(list, row)) SetFocus(next);
        }
        return 0;
    }
    return CallWindowProcW(g_boxProc, box, message, wParam, lParam);
}

LRESULT CALLBACK OptionListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = GetParent(list);
    switch (message) {
    case WM_COMMAND: {
        // A click on a box reaches the dialog as a command of the box's id.
        int id = LOWORD(wParam);
        if (id >= IDC_OPTION_FIRST && id <= IDC_OPTION_LAST) return SendMessageW(dialog, WM_COMMAND, wParam, lParam);
        break;
    }
    case WM_SETFOCUS: {
        int row = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        if (row < 0) row = 0;
        if (HWND box = OptionBox(list, row)) {
            SetFocus(box);
            return 0;
        }
        break;
    }
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case LB_SETTOPINDEX:
    case WM_SIZE: {
        LRESULT r = CallWindowProcW(g_listProc, list, message, wParam, lParam);
        PlaceOptionBoxes(list);
        return r;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(dialog, message, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcW(g_listProc, list, message, wParam, lParam);
}

void BuildOptionList(HWND dialog, ClientDialog* state) {
    HWND list = GetDlgItem(dialog, IDC_CL_OPTIONS);
    if (!list) return;
    int rowHeight = g_shell.systemFontHeight > 0 ? g_shell.systemFontHeight : 16;
    SendMessageW(list, LB_SETITEMHEIGHT, 0, rowHeight);
    RECT client;
    GetClientRect(list, &client);
    int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (int n = 0; n < OPTION_COUNT; ++n) {
        UINT labelId = n == kOptLogoffOnDisconnect ? IDS_LOGOFF_ON_DISCONNECT : IDS_OPTION_FIRST + n;
        std::wstring label = LoadText(labelId, 63);
        HWND box = CreateWindowExW(0, L"BUTTON", label.c_str(), WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0, width,
                                   rowHeight, list, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_OPTION_FIRST + n)),
                                   g_shell.instance, nullptr);
        if (!box) continue;
        LRESULT row = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(box));
        if (row == LB_ERR || row == LB_ERRSPACE) {
            // A row that the list refuses is left out.
            DestroyWindow(box);
            continue;
        }
        SendMessageW(box, WM_SETFONT,
                     reinterpret_cast<WPARAM>(state->thin ? state->thin.get()
                                                          : reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))),
                     FALSE);
        if (n == kOptSendPhysicalFonts || n == kOptAlwaysOnTop) EnableWindow(box, FALSE);
        WNDPROC former = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OptionBoxProc)));
        g_boxProc = former;
    }
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OptionListProc)));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    PlaceOptionBoxes(list);
}

// ---- Controls and settings -------------------------------------------------------

std::vector<std::wstring> ComboTexts(HWND dialog, int id) {
    std::vector<std::wstring> texts;
    HWND combo = GetDlgItem(dialog, id);
    if (!combo) return texts;
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) length = 0;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(length));
        texts.push_back(text);
    }
    return texts;
}





}  // namespace

void SetOptionItem(HWND list, int id, bool state) {
    if (!list) return;
    if (HWND box = OptionBox(list, id - IDC_OPTION_FIRST))
        SendMessageW(box, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool GetOptionItem(HWND list, int id) {
    if (!list) return false;
    HWND box = OptionBox(list, id - IDC_OPTION_FIRST);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

ClientLists ClientListsOf(HWND dialog) {
    ClientLists lists;
    lists.ports = ComboTexts(dialog, IDC_CL_PORT);
    lists.bauds = ComboTexts(dialog, IDC_CL_BAUD);
    lists.modems = ComboTexts(dialog, IDC_CL_MODEM);
    lists.adapters = ComboDataOf(dialog, IDC_CL_ADAPTER);
    lists.transports = ComboDataOf(dialog, IDC_CL_TRANSPORT);
    return lists;
}

ClientSettings ClientSettingsOf(HWND dialog, const ClientLists& lists) {
    ClientSettings s;
    s.name = ItemText(dialog, IDC_CL_NAME, 127);
    s.passwordCode = ItemText(dialog, IDC_CL_PASSWORD, 127);
    s.transport = lists.transports.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_TRANSPORT, 0);
    s.adapter = lists.adapters.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_ADAPTER, 0);
    HWND list = GetDlgItem(dialog, IDC_CL_OPTIONS);
    for (int n = 0; n < kClientOptionCount; ++n) s.options[static_cast<std::size_t>(n)] = GetOptionItem(list, IDC_OPTION_FIRST + n);
    s.publicCode = ItemText(dialog, IDC_CL_PUBLIC_PASSWORD, 127);
    s.inactivityTimeout = ItemText(dialog, IDC_CL_TIMEOUT, 127);
    s.cacheSizeField = ItemText(dialog, IDC_CL_CACHE, 127);
    s.bridge = !IsItemChecked(dialog, IDC_CL_BRIDGE)          ? BridgeMode::Off
               : IsItemChecked(dialog, IDC_CL_START_UNLOADED) ? BridgeMode::StartedUnloaded
                                                          : BridgeMode::Bridge;
    s.port = lists.ports.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_PORT, 0);
    s.baud = lists.bauds.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_BAUD, 0);
    s.link = IsItemChecked(dialog, IDC_CL_MODEM_RADIO) ? LinkKind::Modem : LinkKind::SerialLink;
    s.modem = lists.modems.empty() ? -1 : ComboPositionOf(dialog, IDC_CL_MODEM, 0);
    s.bridgeCode = ItemText(dialog, IDC_CL_BRIDGE_PASSWORD, 127);
    s.dialback = IsItemChecked(dialog, IDC_CL_USE_DIALBACK);
    s.dialbackFile = ItemText(dialog, IDC_CL_DIALBACK_FILE, 127);
    s.bridgeTimeout = ItemText(dialog, IDC_CL_BRIDGE_TIMEOUT, 127);
    s.held = g_clientHeld;
    return s;
}

void ShowClientSettings(HWND dialog, const ClientSettings& s) {
    SetItemTextIfChanged(dialog, IDC_CL_NAME, s.name);
    SetItemTextIfChanged(dialog, IDC_CL_PASSWORD, s.passwordCode);
    SelectComboPosition(dialog, IDC_CL_TRANSPORT, s.transport);
    SelectComboPosition(dialog, IDC_CL_ADAPTER, s.adapter);
    HWND list = GetDlgItem(dialog, IDC_CL_OPTIONS);
    for (int n = 0; n < kClientOptionCount; ++n) SetOptionItem(list, IDC_OPTION_FIRST + n, s.options[static_cast<std::size_t>(n)]);
    SetItemTextIfChanged(dialog, IDC_CL_PUBLIC_PASSWORD, s.publicCode);
    SetItemTextIfChanged(dialog, IDC_CL_TIMEOUT, s.inactivityTimeout);
    SetItemTextIfChanged(dialog, IDC_CL_CACHE, s.cacheSizeField);
    CheckItem(dialog, IDC_CL_BRIDGE, s.bridge != BridgeMode::Off);
    CheckItem(dialog, IDC_CL_START_UNLOADED, s.bridge == BridgeMode::StartedUnloaded);
    SelectComboPosition(dialog, IDC_CL_PORT, s.port);
    SelectComboPosition(dialog, IDC_CL_BAUD, s.baud);
    if (GetDlgItem(dialog, IDC_CL_SERIAL_LINK))
        CheckRadioButton(dialog, IDC_CL_SERIAL_LINK, IDC_CL_MODEM_RADIO,
                         s.link == LinkKind::Modem ? IDC_CL_MODEM_RADIO : IDC_CL_SERIAL_LINK);
    SelectComboPosition(dialog, IDC_CL_MODEM, s.modem);
    SetItemTextIfChanged(dialog, IDC_CL_BRIDGE_PASSWORD, s.bridgeCode);
    CheckItem(dialog, IDC_CL_USE_DIALBACK, s.dialback);
    SetItemTextIfChanged(dialog, IDC_CL_DIALBACK_FILE, s.dialbackFile);
    SetItemTextIfChanged(dialog, IDC_CL_BRIDGE_TIMEOUT, s.bridgeTimeout);
    g_clientHeld = s.held;
}

namespace {

bool TransportIs(HWND dialog, int transportId) {
    return static_cast<int>(SelectedEntryData(dialog, IDC_CL_TRANSPORT)) == transportId;
}

// The serial-link controls follow the bridge state: the Bridge box's check
// state, or off when the transport is TCP/IP.
void ApplyBridgeRule(HWND dialog, bool bridge) {
    static const int kBridgeControls[] = {IDC_CL_SERIAL_LINK,   IDC_CL_MODEM_RADIO,  IDC_CL_MODEM,
                                          IDC_CL_BAUD_LABEL,    IDC_CL_BAUD,         IDC_CL_PORT_LABEL,
                                          IDC_CL_PORT,          IDC_CL_START_UNLOADED, IDC_CL_USE_DIALBACK,
                                          IDC_CL_BRIDGE_TO_LABEL, IDC_CL_BRIDGE_TIMEOUT, IDC_CL_BRIDGE_TO_UNIT};
    for (int id : kBridgeControls) EnableItem(dialog, id, bridge);
    bool dialback = IsItemChecked(dialog, IDC_CL_USE_DIALBACK);
    for (int id : {IDC_CL_BRIDGE_PW_LABEL, IDC_CL_BRIDGE_PASSWORD, IDC_CL_SET_BRIDGE_PW}) EnableItem(dialog, id, bridge && !dialback);
    for (int id : {IDC_CL_DIALBACK_FILE, IDC_CL_EDIT_DIALBACK}) EnableItem(dialog, id, bridge && dialback);
}

void ApplyBridgeRuleForTransport(HWND dialog) {
    ApplyBridgeRule(dialog, !TransportIs(dialog, IDS_TCPIP) && IsItemChecked(dialog, IDC_CL_BRIDGE));
}

void EnablePublicPassword(HWND dialog) {
    bool on = GetOptionItem(GetDlgItem(dialog, IDC_CL_OPTIONS), IDC_OPTION_FIRST + kOptPublicWhenLoggedOff);
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
    SetDlgItemTextW(dialog, IDC_CL_COMMAND_LINE, text.c_str());
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
    if (GetDlgItem(dialog, IDC_CL_SERIAL_LINK))
        CheckRadioButton(dialog, IDC_CL_SERIAL_LINK, IDC_CL_MODEM_RADIO, keys.serial ? IDC_CL_SERIAL_LINK : IDC_CL_MODEM_RADIO);
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

BOOL OnInitDialog(HWND dialog) {
    auto* state = new (std::nothrow) ClientDialog;
    if (!state) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));

    // 1. Current window, centred; the always-disabled controls; thin font.
    BeginDialog(dialog);
    EnableItem(dialog, IDC_CL_LOGFILE_LABEL, false);
    EnableItem(dialog, IDC_CL_LOGFILE, false);
    EnableItem(dialog, IDC_CL_BRIDGE, false);
    state->thin.reset(CreateLightFont());
    if (state->thin) {
        for (int id : {IDC_CL_COMMAND_LINE, IDC_CL_MACHINE_NOTE})
            if (HWND item = GetDlgItem(dialog, id)) SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(state->thin.get()), FALSE);
    }
    // 2. The machine-name note.
    ShowMachineName(dialog, IDC_CL_MACHINE_NOTE);
    // 3. Text limits.
    SendDlgItemMessageW(dialog, IDC_CL_NAME, EM_LIMITTEXT, 15, 0);
    SendDlgItemMessageW(dialog, IDC_CL_TIMEOUT, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageW(dialog, IDC_CL_BRIDGE_TIMEOUT, EM_LIMITTEXT, 3, 0);
    SendDlgItemMessageW(dialog, IDC_CL_LOGFILE, EM_LIMITTEXT, 128, 0);
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
    BuildOptionList(dialog, state);
    // 7. First transport, then the adapter list.
    SelectComboEntry(dialog, IDC_CL_TRANSPORT, 0);
    if (HWND adapters = GetDlgItem(dialog, IDC_CL_ADAPTER)) FillAdapterList(adapters);
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
    PruneTransportList(dialog, Side::Client);
    SetDlgItemTextW(dialog, IDC_CL_COMMAND_LINE, text.c_str());
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
    return TRUE;
}

void RunSetFor(HWND dialog, int field) {
    DWORD code = 0;
    if (!RunSetPassword(dialog, IDD_SET_PASSWORD, &code)) return;
    SetDlgItemTextW(dialog, field, DecimalText(code).c_str());
}

// Runs the dialback editor on the shown file name; true after Save.
bool EditDialbackFile(HWND dialog, const std::wstring& name) {
    wchar_t buffer[128];
    CopyCut(buffer, 128, name);
    if (RunDialbackEditor(dialog, buffer) == 0) return false;
    SetDlgItemTextW(dialog, IDC_CL_DIALBACK_FILE, buffer);
    return true;
}

void OnUseDialback(HWND dialog) {
    if (IsItemChecked(dialog, IDC_CL_USE_DIALBACK) && ItemText(dialog, IDC_CL_DIALBACK_FILE, 127).empty()) {
        if (!EditDialbackFile(dialog, L"")) CheckItem(dialog, IDC_CL_USE_DIALBACK, false);
    }
    bool on = IsItemChecked(dialog, IDC_CL_USE_DIALBACK);
    for (int id : {IDC_CL_DIALBACK_FILE, IDC_CL_EDIT_DIALBACK}) EnableItem(dialog, id, on);
    for (int id : {IDC_CL_BRIDGE_PW_LABEL, IDC_CL_BRIDGE_PASSWORD, IDC_CL_SET_BRIDGE_PW}) EnableItem(dialog, id, !on);
    Recompose(dialog);
}

void OnOk(HWND dialog, ClientDialog* state) {
    for (int field : {IDC_CL_PASSWORD, IDC_CL_PUBLIC_PASSWORD, IDC_CL_BRIDGE_PASSWORD})
        if (GetDlgItem(dialog, field) && !ValidateCodeField(dialog, field)) return;
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
    if (!state) return FALSE;
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
        if (code == CBN_KILLFOCUS && GetDlgItem(dialog, IDC_CL_SERIAL_LINK))
            CheckRadioButton(dialog, IDC_CL_SERIAL_LINK, IDC_CL_MODEM_RADIO, IDC_CL_MODEM_RADIO);
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
        if (code == BN_CLICKED) EditDialbackFile(dialog, ItemText(dialog, IDC_CL_DIALBACK_FILE, 127));
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
        if (RunAdvancedOptions(dialog, &g_clientHeld) != 0) Recompose(dialog);
        return TRUE;
    case IDC_CL_SOS:
        RunSosHotkeys(dialog);
        return TRUE;
    case IDC_TEST_NETWORK:
        RunTransportsDialog(dialog, Side::Client);
        return TRUE;
    case IDC_HELPBUTTON:
        ShowHelp(HELP_CLIENT);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, 0);
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

}  // namespace

INT_PTR CALLBACK ClientDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_MEASUREITEM: {
        // Option rows are as high as the system font.
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlID != IDC_CL_OPTIONS) return FALSE;
        measure->itemHeight = g_shell.systemFontHeight > 0 ? static_cast<UINT>(g_shell.systemFontHeight) : 16;
        return TRUE;
    }
    case WM_DRAWITEM: {
        // The rows are covered by their boxes; only the list's background
        // shows beside them.
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlID != IDC_CL_OPTIONS) return FALSE;
        FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(COLOR_WINDOW));
        return TRUE;
    }
    case WM_NCDESTROY:
        if (ClientDialog* state = StateOf(dialog)) {
            SetWindowLongPtrW(dialog, DWLP_USER, 0);
            delete state;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void RunClientConfiguration(HWND owner) {
    if (IsClassroom())
        RunDialog(owner, IDD_CLIENT_CLASSROOM, ClientDialogProc, 1, HELP_CLIENT);
    else
        RunDialog(owner, IDD_CLIENT, ClientDialogProc, 0, HELP_CLIENT);
}

}  // namespace rc

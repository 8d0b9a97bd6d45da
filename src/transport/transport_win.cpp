#include "transport/transport_win.h"

#include <winsock.h>

#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "transport/adapter_kind.h"

#include <cstring>
#include <cwchar>
#include <string>

namespace rc {

namespace {

// NETAPI32 is loaded by the first NetBIOS call, not at start. Without it (or
// without its Netbios) the block is left as it was, which the probe reads as
// "no NetBIOS".
UCHAR APIENTRY LateNetbios(PNCB block) {
    static LateLibrary netapi(L"NETAPI32.DLL");
    auto run = netapi.Entry<UCHAR(APIENTRY*)(PNCB)>("Netbios");
    return run ? run(block) : block->ncb_retcode;
}

}  // namespace

const NetworkPlatform kRealNetwork{ProbeIpxStack, ProbeNetBiosStack, ProbeTcpIpStack, LateNetbios};
NetworkPlatform g_network = kRealNetwork;

namespace {

// ---- Stack probes ---------------------------------------------------------------

// The IPX socket kind, which not every WinSock header names.
constexpr int kAfIpx = 6;
constexpr int kNsProtoIpx = 1000;

// NetBIOS: a command number it does not define, and the mark left in a
// block that nothing touched.
constexpr UCHAR kUndefinedCommand = 0x7F;
constexpr UCHAR kUntouched = 0xFD;

using WsaStartupFn = int(WINAPI*)(WORD, LPWSADATA);
using WsaCleanupFn = int(WINAPI*)();
using SocketFn = SOCKET(WINAPI*)(int, int, int);
using CloseSocketFn = int(WINAPI*)(SOCKET);

template <typename F>
F Entry(HMODULE library, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The first probe that loads WSOCK32.DLL keeps one reference of its own to
// the end of the process, as the system DLLs loaded when first needed stay.
// Every probe still loads and releases the library, starts and cleans up
// WinSock and answers afresh; after the first, its load and release only
// count a reference instead of mapping the library (and the WinSock 2
// library beneath it) and unmapping it again, which under Wine costs more
// than the rest of the probe.
void KeepWinSockMapped() {
    static Library kept;
    if (!kept) kept.reset(LoadLibraryW(L"WSOCK32.DLL"));
}

// WinSock is loaded for each probe and released after it, never linked:
// the program must start on a machine without it.
bool ProbeSocketStack(int family, int type, int protocol) {
    Library winsock;
    {
        ErrorModeScope quiet(SEM_NOOPENFILEERRORBOX);
        winsock.reset(LoadLibraryW(L"WSOCK32.DLL"));
    }
    if (!winsock) return false;
    KeepWinSockMapped();
    auto startup = Entry<WsaStartupFn>(winsock.get(), "WSAStartup");
    auto cleanup = Entry<WsaCleanupFn>(winsock.get(), "WSACleanup");
    auto openSocket = Entry<SocketFn>(winsock.get(), "socket");
    auto closeSocket = Entry<CloseSocketFn>(winsock.get(), "closesocket");
    if (!startup || !cleanup || !openSocket || !closeSocket) return false;

    bool found = false;
    WSADATA data{};
    if (startup(0x0101, &data) == 0) {
        SOCKET s = openSocket(family, type, protocol);
        if (s != INVALID_SOCKET) {
            found = true;
            closeSocket(s);
        }
    }
    // Cleaned up even after a failed start-up.
    cleanup();
    return found;
}

bool ProbeStackOf(std::size_t transport) {
    switch (transport) {
    case 0:
        return g_network.probeIpx();
    case 1:
        return g_network.probeNetBios();
    default:
        return g_network.probeTcpIp();
    }
}

// ---- Transports available --------------------------------------------------------

void InitTransportsDialog(HWND dialog, Side side) {
    BeginDialog(dialog);
    UINT title = side == Side::Client ? IDS_CLIENT_TRANSPORTS : IDS_CONTROL_TRANSPORTS;
    SetWindowTextW(dialog, LoadText(title, kFieldChars).c_str());
    // The module line is shown whatever the probe gave.
    for (std::size_t i = 0; i < kTransportCount; ++i) {
        const TransportRow& row = kTransports[i];
        bool found = ProbeStackOf(i);
        const wchar_t* module = TransportModule(row, side);
        bool installed = IsModuleInstalled(module);
        std::wstring line = TransportStatusLine(
            LoadText(found ? IDS_STACK_FOUND : IDS_STACK_NOT_FOUND, kFieldChars),
            LoadText(installed ? IDS_MODULE_INSTALLED : IDS_MODULE_NOT_INSTALLED, kFieldChars), module);
        SetItemText(dialog, row.statusField, line.c_str());
    }
}

// The report for one side; the context is the side.
INT_PTR CALLBACK TransportsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        InitTransportsDialog(dialog, *DialogContext<const Side>(dialog, lParam));
        return TRUE;
    case WM_COMMAND:
        // Cancel is Escape or the close box: there is no Cancel button.
        if (HandleCommonButton(dialog, LOWORD(wParam), HELP_TRANSPORTS)) return TRUE;
        if (LOWORD(wParam) != IDOK) return FALSE;
        EndDialog(dialog, 1);
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- NetBIOS adapter list --------------------------------------------------------

// The adapter status and room for the names that follow it.
constexpr WORD kStatusBufferBytes = 636;
static_assert(sizeof(ADAPTER_STATUS) <= kStatusBufferBytes);

AdapterStatusFields FieldsOf(const ADAPTER_STATUS& status) {
    AdapterStatusFields fields{};
    std::memcpy(fields.adapter_address, status.adapter_address, sizeof fields.adapter_address);
    fields.rev_minor = status.rev_minor;
    fields.adapter_type = status.adapter_type;
    fields.duration = status.duration;
    fields.max_sess_pkt_size = status.max_sess_pkt_size;
    return fields;
}

// Resets LANA lana (its answer is not looked at: an adapter that cannot
// be reset is still asked), then asks for its status. Returns the status
// block's return code; *fields holds the status when it is 0.
UCHAR AskAdapterStatus(UCHAR lana, AdapterStatusFields* fields) {
    NCB reset{};
    reset.ncb_command = NCBRESET;
    reset.ncb_lana_num = lana;
    reset.ncb_lsn = 0;
    reset.ncb_callname[0] = 1;   // sessions
    reset.ncb_callname[1] = 12;  // commands
    reset.ncb_callname[2] = 1;   // names
    reset.ncb_callname[3] = 0;
    g_network.netbios(&reset);

    union {
        ADAPTER_STATUS status;
        UCHAR bytes[kStatusBufferBytes];
    } buffer;
    std::memset(&buffer, 0, sizeof buffer);
    NCB query{};
    query.ncb_command = NCBASTAT;
    query.ncb_lana_num = lana;
    query.ncb_callname[0] = '*';
    query.ncb_buffer = buffer.bytes;
    query.ncb_length = kStatusBufferBytes;
    g_network.netbios(&query);
    if (query.ncb_retcode == NRC_GOODRET) *fields = FieldsOf(buffer.status);
    return query.ncb_retcode;
}

}  // namespace

bool ProbeIpxStack() { return ProbeSocketStack(kAfIpx, SOCK_DGRAM, kNsProtoIpx); }

bool ProbeTcpIpStack() { return ProbeSocketStack(AF_INET, SOCK_STREAM, 0); }

bool ProbeNetBiosStack() {
    NCB block{};
    block.ncb_command = kUndefinedCommand;
    block.ncb_retcode = kUntouched;
    g_network.netbios(&block);
    return block.ncb_retcode == NRC_ILLCMD;
}

bool IsModuleInstalled(const wchar_t* moduleName) {
    if (!moduleName || !*moduleName) return false;
    std::wstring path = PathBesideProgram(ModulePath(), moduleName);
    File file(_wfopen(path.c_str(), L"r"));
    return static_cast<bool>(file);
}

void PruneTransportList(HWND dialog, Side side) {
    HWND list = DialogItem(dialog, IDC_CL_TRANSPORT);
    for (std::size_t i = 0; i < kTransportCount; ++i) {
        const TransportRow& row = kTransports[i];
        bool found = ProbeStackOf(i);
        bool installed = IsModuleInstalled(TransportModule(row, side));
        if (StaysInTransportList(side, found, installed) || !list) continue;
        std::wstring name = LoadText(static_cast<UINT>(row.id), kLabelChars);
        LRESULT index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(name.c_str()));
        if (index < 0) continue;
        bool selected = SendMessageW(list, CB_GETCURSEL, 0, 0) == index;
        SendMessageW(list, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        // The list box drops the selection with its entry already; saying so
        // outright keeps "no selection" from depending on it.
        if (selected) SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

bool NoUsableTransport(Side side) {
    // Every stack is probed, even after a usable transport turned up; the
    // module is looked for only when its stack is there.
    bool anyUsable = false;
    for (std::size_t i = 0; i < kTransportCount; ++i) {
        bool found = ProbeStackOf(i);
        bool installed = found && IsModuleInstalled(TransportModule(kTransports[i], side));
        if (IsTransportUsable(found, installed)) anyUsable = true;
    }
    return !anyUsable;
}

bool RunTransportsDialog(HWND owner, Side side) {
    return RunDialog(owner, IDD_TRANSPORTS, TransportsDialogProc, reinterpret_cast<LPARAM>(&side), HELP_TRANSPORTS) !=
           0;
}

void FillAdapterList(HWND list) {
    WaitCursor wait;
    bool found = g_network.probeNetBios();
    std::wstring suffix = LoadText(IDS_DIALUP, kLabelChars);
    for (int lana = 0; lana < kAdapterCount; ++lana) {
        AdapterStatusFields fields{};
        UCHAR code = NRC_ILLCMD;  // read only when NetBIOS was found
        if (found) code = AskAdapterStatus(static_cast<UCHAR>(lana), &fields);
        AdapterEntry entry = DecideAdapterEntry(found, code, fields);
        std::wstring text = AdapterEntryText(lana, LoadText(static_cast<UINT>(entry.kindId), kLabelChars), suffix,
                                             entry.dialupSuffix);
        LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), lana);
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

}  // namespace rc

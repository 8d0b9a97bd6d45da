// Network transports on the platform: the NetBIOS probe and adapter list,
// the module test, the pruned Transport list and the "Transports available"
// report with the stacks answering as each test chooses; the machine's own
// stacks under Wine; the list helpers and the modem list.
#include "client/list_helpers_win.h"
#include "client/modem_list_win.h"
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/dialog_shot_win.h"
#include "transport/transport_win.h"

#include <array>
#include <cstring>
#include <tuple>

using namespace rctest;
using rc::g_shell;
using rc::Side;

namespace {

// ---- The network as a test chooses it ------------------------------------------

struct FakeNetwork {
    bool ipx = true, netbios = true, tcpip = true;
    int probes = 0;                     // calls of each stack probe, summed
    bool touchProbe = true;             // the undefined command's block is answered
    UCHAR probeAnswer = NRC_ILLCMD;
    ADAPTER_STATUS status[8] = {};
    UCHAR statusCode[8] = {};
    std::vector<std::wstring> calls;    // "command lana length", in order
};
FakeNetwork g_net;

bool FakeIpx() { return ++g_net.probes, g_net.ipx; }
bool FakeNetBios() { return ++g_net.probes, g_net.netbios; }
bool FakeTcpIp() { return ++g_net.probes, g_net.tcpip; }

UCHAR APIENTRY FakeNetbiosCall(PNCB ncb) {
    bool cleared = true;
    for (WORD i = 0; ncb->ncb_buffer && i < ncb->ncb_length; ++i) cleared = cleared && ncb->ncb_buffer[i] == 0;
    g_net.calls.push_back(std::to_wstring(ncb->ncb_command) + L" " + std::to_wstring(ncb->ncb_lana_num) + L" " +
                          std::to_wstring(ncb->ncb_length) + (cleared ? L"" : L" dirty"));
    if (ncb->ncb_command == 0x7F) {
        if (g_net.touchProbe) ncb->ncb_retcode = g_net.probeAnswer;
        return ncb->ncb_retcode;
    }
    UCHAR lana = ncb->ncb_lana_num & 7;
    ncb->ncb_retcode = ncb->ncb_command == NCBASTAT ? g_net.statusCode[lana] : NRC_GOODRET;
    if (ncb->ncb_command == NCBASTAT && ncb->ncb_length >= sizeof(ADAPTER_STATUS)) {
        // A failed request still fills the buffer, so that a status read despite the failure shows.
        ADAPTER_STATUS s = g_net.status[lana];
        if (g_net.statusCode[lana] != NRC_GOODRET) s.adapter_type = 0xFD;
        std::memcpy(ncb->ncb_buffer, &s, sizeof s);
    }
    return ncb->ncb_retcode;
}

ADAPTER_STATUS Status(UCHAR type, UCHAR revMinor, WORD duration, WORD maxSess, std::array<UCHAR, 6> address) {
    ADAPTER_STATUS s{};
    s.adapter_type = type;
    s.rev_minor = revMinor;
    s.duration = duration;
    s.max_sess_pkt_size = maxSess;
    std::memcpy(s.adapter_address, address.data(), 6);
    return s;
}

// A window holding the lists the helpers work on, under the ids the
// Configuration dialogs give them.
class ListHost {
public:
    ListHost() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        window_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, instance, nullptr));
        for (int id : {IDC_CL_TRANSPORT, IDC_CL_ADAPTER, IDC_CL_MODEM, IDC_CL_MACHINE_NOTE})
            CreateWindowExW(0, id == IDC_CL_MACHINE_NOTE ? L"STATIC" : L"COMBOBOX", L"",
                            WS_CHILD | (id == IDC_CL_MACHINE_NOTE ? 0 : CBS_DROPDOWNLIST), 0, 0, 200, 200, window_.get(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    }
    operator HWND() const { return window_.get(); }

private:
    rc::Window window_;
};

std::vector<LPARAM> Data(HWND host, int id) {
    std::vector<LPARAM> out;
    for (LRESULT i = 0, n = SendDlgItemMessageW(host, id, CB_GETCOUNT, 0, 0); i < n; ++i)
        out.push_back(SendDlgItemMessageW(host, id, CB_GETITEMDATA, i, 0));
    return out;
}

const std::vector<LPARAM> kLanas = {0, 1, 2, 3, 4, 5, 6, 7};

class Transports : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_net = FakeNetwork();
        rc::g_network = rc::NetworkPlatform{FakeIpx, FakeNetBios, FakeTcpIp, FakeNetbiosCall};
        InstallModules({});
    }
    void TearDown() override {
        rc::g_network = rc::kRealNetwork;
        InstallModules({});
        DialogTest::TearDown();
    }
};

// ---- NetBIOS ----------------------------------------------------------------------

TEST_F(Transports, ProbeDecidesWhetherAnyAdapterIsAskedAndEachStatusNamesItsLana) {
    rc::g_network.probeNetBios = rc::ProbeNetBiosStack;  // the real probe, over the fake NetBIOS
    struct Case {
        bool touch;
        UCHAR answer;
        bool found;
    } cases[] = {{false, 0, false}, {true, NRC_GOODRET, false}, {true, NRC_BRIDGE, false}, {true, 0xFD, false},
                 {true, NRC_ILLCMD, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.touch << " " << int(c.answer));
        g_net = FakeNetwork();
        g_net.touchProbe = c.touch;
        g_net.probeAnswer = c.answer;
        auto& a = g_net.status;
        a[0] = Status(0xFD, 0, 0, 0, {'D', 'E', 'S', 'T', 0, 0});
        a[1] = Status(0x00, 0x40, 0, 0, {0x02, 0x60, 0x8C, 0, 0, 0});
        g_net.statusCode[2] = NRC_BRIDGE;  // its status request fails
        a[3] = Status(0x01, 0, 0, 0, {0x02, 0x60, 0x8C, 0, 0, 0});
        a[4] = Status(0xFE, 0, 0, 1452, {0x02, 0x60, 0x8C, 0, 0, 0});
        a[5] = Status(0xFE, 0, 0, 0xFFFF, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
        a[6] = Status(0x02, 0, 5, 0xFFFF, {0x00, 0x11, 0x22, 0, 0, 0});
        a[7] = Status(0xFF, 0, 0, 0xFFFF, {0x00, 0x11, 0x22, 0, 0, 0});
        ListHost host;
        rc::FillAdapterList(GetDlgItem(host, IDC_CL_ADAPTER));
        std::vector<std::wstring> calls = {L"127 0 0"};
        for (int n = 0; n < 8 && c.found; ++n) {
            calls.push_back(std::to_wstring(NCBRESET) + L" " + std::to_wstring(n) + L" 0");
            calls.push_back(std::to_wstring(NCBASTAT) + L" " + std::to_wstring(n) + L" 636");
        }
        EXPECT_EQ(g_net.calls, calls);
        EXPECT_EQ(Entries(host, IDC_CL_ADAPTER),
                  c.found ? (std::vector<std::wstring>{L"0: NetBEUI (dialup)", L"1: TCP/IP NetBIOS (dialup)",
                                                       L"2: Not found", L"3: IPX/SPX NetBIOS", L"4: IPX/SPX NetBIOS",
                                                       L"5: TCP/IP NetBIOS", L"6: DECnet NetBIOS",
                                                       L"7: TCP/IP NetBIOS (dialup)"})
                          : (std::vector<std::wstring>{L"0: Not found", L"1: Not found", L"2: Not found",
                                                       L"3: Not found", L"4: Not found", L"5: Not found",
                                                       L"6: Not found", L"7: Not found"}));
        EXPECT_EQ(Data(host, IDC_CL_ADAPTER), kLanas);
        EXPECT_EQ(Selected(host, IDC_CL_ADAPTER), L"(none)");
    }
}

// ---- Modules, the Transport list and the report ------------------------------------

TEST_F(Transports, ModuleIsInstalledOnlyWhenItOpensBesideTheProgram) {
    InstallModules({L"SXIPX32.DLL", L"SXTCP32.DLL"});
    EXPECT_TRUE(rc::IsModuleInstalled(L"sxipx32.dll"));  // file names ignore case
    EXPECT_FALSE(rc::IsModuleInstalled(L"CXIPX.DLL"));
    ASSERT_TRUE(CreateDirectoryW(BesideProgram(L"SXNBS32.DLL").c_str(), nullptr));  // a folder is not a module
    EXPECT_FALSE(rc::IsModuleInstalled(L"SXNBS32.DLL"));
    RemoveDirectoryW(BesideProgram(L"SXNBS32.DLL").c_str());
    {
        rc::Handle locked(CreateFileW(BesideProgram(L"SXTCP32.DLL").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(rc::IsModuleInstalled(L"SXTCP32.DLL"));  // there, but it cannot be opened
    }
    EXPECT_TRUE(rc::IsModuleInstalled(L"SXTCP32.DLL"));
    // The program directory is not where modules are looked for.
    std::wstring saved = g_shell.programDirectory;
    wcscpy(g_shell.programDirectory, L"C:\\windows");
    WriteBytes(L"C:\\windows\\CXTCP.DLL", "MZ");
    EXPECT_FALSE(rc::IsModuleInstalled(L"CXTCP.DLL"));
    DeleteFileW(L"C:\\windows\\CXTCP.DLL");
    wcscpy(g_shell.programDirectory, saved.c_str());
}

TEST_F(Transports, ListKeepsTheTransportsOfTheSidesModulesAndUsableNeedsTheStackToo) {
    struct Case {
        Side side;
        bool ipx, netbios, tcpip;
        std::vector<std::wstring> modules;
        int selected;
        std::vector<LPARAM> remaining;
        LPARAM selectedData;  // 0: nothing selected
        bool none;            // NoUsableTransport
    } cases[] = {
        {Side::Client, true, true, true, {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, 1, {100, 101, 102}, 101, false},
        {Side::Client, true, true, true, {L"SXIPX32.DLL", L"SXTCP32.DLL"}, 1, {100, 102}, 0, false},
        {Side::Client, true, true, true, {L"SXNBS32.DLL", L"SXTCP32.DLL"}, 2, {101, 102}, 102, false},
        {Side::Client, false, false, true, {L"SXIPX32.DLL"}, 0, {100}, 100, true},
        {Side::Client, true, true, true, {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}, 0, {}, 0, true},
        {Side::Control, false, true, false, {L"CXIPX.DLL", L"CXNBS.DLL"}, 2, {100, 101}, 0, false},
        {Side::Control, true, true, true, {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, 1, {}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.side == Side::Client ? "client " : "control ") << c.modules.size());
        g_net = FakeNetwork();
        std::tie(g_net.ipx, g_net.netbios, g_net.tcpip) = std::tuple(c.ipx, c.netbios, c.tcpip);
        InstallModules(c.modules);
        ListHost host;
        rc::FillComboFromStrings(host, IDC_CL_TRANSPORT, IDS_IPX, IDS_TCPIP);
        rc::SelectComboEntry(host, IDC_CL_TRANSPORT, c.selected);
        rc::PruneTransportList(host, c.side);
        EXPECT_EQ(Data(host, IDC_CL_TRANSPORT), c.remaining);
        EXPECT_EQ(rc::SelectedEntryData(host, IDC_CL_TRANSPORT), c.selectedData);
        EXPECT_EQ(g_net.probes, 3);  // every stack is probed, on both sides
        EXPECT_EQ(rc::NoUsableTransport(c.side), c.none);
    }
    // Entries are found by their whole text, wherever they stand.
    ListHost host;
    for (const wchar_t* text : {L"TCP/IP over SLIP", L"tcp/ip", L"ipx"})
        SendDlgItemMessageW(host, IDC_CL_TRANSPORT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    InstallModules({});
    rc::PruneTransportList(host, Side::Client);
    EXPECT_EQ(Entries(host, IDC_CL_TRANSPORT), std::vector<std::wstring>{L"TCP/IP over SLIP"});
}

TEST_F(Transports, ReportShowsOneLinePerTransportOnEachSideAndHelpLeavesItOpen) {
    struct Case {
        Side side;
        const wchar_t* shot;
        const wchar_t* title;
        std::vector<std::wstring> lines;
        UINT closeKey;  // VK_RETURN: OK, VK_ESCAPE: Cancel
        WORD result;
    } cases[] = {
        {Side::Client, L"transports-client", L"Client transports available",
         {L"Stack not found, QRV DLL (SXIPX32.DLL) installed", L"Stack found, QRV DLL (SXNBS32.DLL) not installed",
          L"Stack found, QRV DLL (SXTCP32.DLL) installed"}, IDOK, 1},
        {Side::Control, L"transports-control", L"Control transports available",
         {L"Stack not found, QRV DLL (CXIPX.DLL) not installed", L"Stack found, QRV DLL (CXNBS.DLL) installed",
          L"Stack found, QRV DLL (CXTCP.DLL) not installed"}, IDCANCEL, 0},
    };
    InstallModules({L"SXIPX32.DLL", L"SXTCP32.DLL", L"CXNBS.DLL"});
    for (const auto& c : cases) {
        g_net = FakeNetwork();
        g_net.ipx = false;
        HelpContexts().clear();
        std::vector<std::wstring> lines;
        std::wstring afterHelp;
        driver_.Then([&](HWND dialog) {
            for (int id : {IDC_TR_IPX_STATUS, IDC_TR_NETBIOS_STATUS, IDC_TR_TCPIP_STATUS}) lines.push_back(Text(dialog, id));
            Shot(dialog, c.shot);
            Click(dialog, IDC_HELPBUTTON);
            Later(dialog, 50, [&](HWND d) {
                afterHelp = Title(d);
                if (c.closeKey == IDCANCEL) PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
                else Press(d, IDOK);
            });
        });
        EXPECT_EQ(rc::RunTransportsDialog(g_shell.mainWindow, c.side), c.result);
        EXPECT_EQ(afterHelp, c.title);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(HelpContexts(), std::vector<ULONG_PTR>{HELP_TRANSPORTS});
        EXPECT_EQ(g_net.probes, 3);  // computed once, when it opens
    }
}

// The machine's own stacks as Wine gives them: IPX sockets do not open, TCP
// sockets do, NetBIOS refuses the undefined command (so counts as present)
// and its LANA 0 reports an adapter of type 0xFE.
TEST_F(Transports, RealStacksAnswerAsWineHasThem) {
    rc::g_network = rc::kRealNetwork;
    EXPECT_FALSE(rc::ProbeIpxStack());
    EXPECT_TRUE(rc::ProbeNetBiosStack());
    EXPECT_TRUE(rc::ProbeTcpIpStack());
    ListHost host;
    rc::FillAdapterList(GetDlgItem(host, IDC_CL_ADAPTER));
    std::vector<std::wstring> entries = Entries(host, IDC_CL_ADAPTER);
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries[0], L"0: TCP/IP NetBIOS");
    InstallModules({L"SXTCP32.DLL", L"CXNBS.DLL"});
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_TR_IPX_STATUS), L"Stack not found, QRV DLL (SXIPX32.DLL) not installed");
        EXPECT_EQ(Text(dialog, IDC_TR_TCPIP_STATUS), L"Stack found, QRV DLL (SXTCP32.DLL) installed");
        Shot(dialog, L"transports-real-client");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(rc::RunTransportsDialog(g_shell.mainWindow, Side::Client), 1);
    EXPECT_FALSE(rc::NoUsableTransport(Side::Client));
}

// ---- List helpers ---------------------------------------------------------------------

TEST(ListHelpers, EntriesCarryTheirStringIdsAndTransportCodesSelectByName) {
    ListHost host;
    rc::FillComboFromStrings(host, IDC_CL_MODEM, IDS_IPX, IDS_TCPIP);
    rc::FillComboFromStrings(host, IDC_CL_MODEM, IDS_COM4, IDS_COM1);  // first after last: nothing
    EXPECT_EQ(Entries(host, IDC_CL_MODEM), (std::vector<std::wstring>{L"IPX", L"NetBIOS", L"TCP/IP"}));
    EXPECT_EQ(Data(host, IDC_CL_MODEM), (std::vector<LPARAM>{100, 101, 102}));
    EXPECT_EQ(rc::SelectedEntryData(host, IDC_CL_MODEM), 0);
    EXPECT_EQ(rc::SelectedEntryData(host, 4711), 0);  // no such list
    struct Case {
        const wchar_t* code;
        LPARAM data;  // in the list IPX, NetBIOS, TCP/IP, Standalone
    } cases[] = {{L"tC", 102}, {nullptr, 103}, {L"", 103}, {L"XY", 0}, {L"ST", 0}};
    rc::FillComboFromStrings(host, IDC_CL_TRANSPORT, IDS_IPX, IDS_STANDALONE);
    for (const auto& c : cases) {
        rc::SelectComboEntry(host, IDC_CL_TRANSPORT, 1);  // so that leaving none is seen
        rc::SelectTransport(host, IDC_CL_TRANSPORT, c.code);
        EXPECT_EQ(rc::SelectedEntryData(host, IDC_CL_TRANSPORT), c.data) << (c.code ? c.code : L"(null)");
    }
    // The first entry that begins with the name, in a list without string ids.
    ListHost named;
    for (const wchar_t* text : {L"NetBEUI", L"netbios over tcp", L"NetBIOS"})
        SendDlgItemMessageW(named, IDC_CL_TRANSPORT, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    rc::SelectTransport(named, IDC_CL_TRANSPORT, L"NB");
    EXPECT_EQ(Selected(named, IDC_CL_TRANSPORT), L"netbios over tcp");
}

// The computer name as Wine reads it, set for the test: cut at its first
// space and to 15 characters in the note's own text.
TEST(ListHelpers, MachineNoteShowsTheComputerNameInItsOwnText) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName",
                            0, KEY_READ | KEY_WRITE, &key), ERROR_SUCCESS);
    wchar_t saved[64] = L"";
    DWORD size = sizeof saved - sizeof(wchar_t);
    RegQueryValueExW(key, L"ComputerName", nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &size);
    const wchar_t name[] = L"FRONTDESKSTATION7 BACK";
    RegSetValueExW(key, L"ComputerName", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name);
    ListHost host;
    SetWindowTextW(GetDlgItem(host, IDC_CL_MACHINE_NOTE), L"name (%s)");
    rc::ShowMachineName(host, IDC_CL_MACHINE_NOTE);
    RegSetValueExW(key, L"ComputerName", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved), size);
    RegCloseKey(key);
    EXPECT_EQ(Text(host, IDC_CL_MACHINE_NOTE), L"name (FRONTDESKSTATIO)");
}

// ---- Modem list --------------------------------------------------------------------------

TEST(ModemList, ReadsMODEMDEFInTheProgramDirectoryCutTo113Characters) {
    std::wstring saved = g_shell.programDirectory;
    const std::wstring folder = L"C:\\rc-modem-" + std::wstring(113 - 12, L'x');  // 113 characters
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring file = folder + L"\\MODEMDEF.MDM";
    struct Case {
        const wchar_t* directory;
        const char* bytes;  // null: no file
        int result;
        std::vector<std::wstring> names;
    } cases[] = {
        {L"below", "; modems\r\n@[M1] Fast Modem ;note\r\n@[D] ATDT\r\n@[M2] \xC9lan 56K", 1, {L"Fast Modem ", L"\x00C9lan 56K"}},
        {L"below", "@[M1] Before\n@[m1] Modem\n@[M2] After\n", -1, {L"Before"}},
        {L"below", nullptr, 0, {}},
        {L"", "@[M1] Hidden\n", 0, {}},
    };
    for (const auto& c : cases) {
        if (c.bytes) WriteBytes(file, c.bytes);
        wcscpy(g_shell.programDirectory, *c.directory ? (folder + L"\\" + c.directory).c_str() : L"");
        ListHost host;
        EXPECT_EQ(rc::LoadModemList(host, IDC_CL_MODEM), c.result) << c.result;
        EXPECT_EQ(Entries(host, IDC_CL_MODEM), c.names);
        EXPECT_EQ(DeleteFileW(file.c_str()), c.bytes != nullptr) << "the file was left open";
    }
    RemoveDirectoryW(folder.c_str());
    wcscpy(g_shell.programDirectory, saved.c_str());
}

}  // namespace

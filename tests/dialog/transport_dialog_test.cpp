// Network transports on the platform: the NetBIOS probe and adapter list,
// the module test, the pruned Transport list and the "Transports available"
// report with the stacks answering as each test chooses; the machine-name
// note and the modem list. The machine's own stacks answer in the
// end-to-end tests.
#include "client/list_helpers_win.h"
#include "client/modem_list_win.h"
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "transport/transport_win.h"

#include <shlwapi.h>

#include <cstring>
#include <tuple>

using namespace rctest;
using rc::g_shell;
using rc::Side;

namespace {

// The network as a test chooses it. Each LANA's status request answers
// statusCode with `status`; a failed one still fills the buffer (as
// NetBEUI), so that a status read despite the failure shows.
struct FakeNetwork {
    bool stacks[3] = {true, true, true};  // IPX, NetBIOS, TCP/IP
    int probes = 0;
    bool touchProbe = true;  // the undefined command's block is answered
    UCHAR probeAnswer = NRC_ILLCMD;
    ADAPTER_STATUS status[8] = {};
    UCHAR statusCode[8] = {};
    std::vector<std::wstring> calls;  // "command lana length" of each block, in order
} g_net;

bool FakeIpx() { return ++g_net.probes, g_net.stacks[0]; }
bool FakeNetBios() { return ++g_net.probes, g_net.stacks[1]; }
bool FakeTcpIp() { return ++g_net.probes, g_net.stacks[2]; }

UCHAR APIENTRY FakeNetbiosCall(PNCB ncb) {
    bool cleared = true;
    for (WORD i = 0; ncb->ncb_buffer && i < ncb->ncb_length; ++i) cleared = cleared && ncb->ncb_buffer[i] == 0;
    g_net.calls.push_back(std::to_wstring(ncb->ncb_command) + L" " + std::to_wstring(ncb->ncb_lana_num) + L" " +
                          std::to_wstring(ncb->ncb_length) + (cleared ? L"" : L" dirty"));
    if (ncb->ncb_command == 0x7F) return g_net.touchProbe ? ncb->ncb_retcode = g_net.probeAnswer : ncb->ncb_retcode;
    UCHAR lana = ncb->ncb_lana_num & 7;
    ncb->ncb_retcode = ncb->ncb_command == NCBASTAT ? g_net.statusCode[lana] : NRC_GOODRET;
    if (ncb->ncb_command == NCBASTAT && ncb->ncb_length >= sizeof(ADAPTER_STATUS)) {
        ADAPTER_STATUS s = g_net.status[lana];
        if (g_net.statusCode[lana] != NRC_GOODRET) s.adapter_type = 0xFD;
        std::memcpy(ncb->ncb_buffer, &s, sizeof s);
    }
    return ncb->ncb_retcode;
}

// A window holding the lists the helpers work on, under the ids the
// Configuration dialogs give them.
struct ListHost : rc::Window {
    ListHost() : rc::Window(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr)) {
        for (int id : {IDC_CL_TRANSPORT, IDC_CL_ADAPTER, IDC_CL_MODEM})
            CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 200, get(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 300, 20, get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CL_MACHINE_NOTE)), nullptr, nullptr);
    }
    operator HWND() const { return get(); }
};

std::vector<LPARAM> Data(HWND host, int id) {
    std::vector<LPARAM> out;
    for (LRESULT i = 0, n = SendDlgItemMessageW(host, id, CB_GETCOUNT, 0, 0); i < n; ++i)
        out.push_back(SendDlgItemMessageW(host, id, CB_GETITEMDATA, i, 0));
    return out;
}

class Transports : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_net = FakeNetwork();
        rc::g_network = rc::NetworkPlatform{FakeIpx, FakeNetBios, FakeTcpIp, FakeNetbiosCall};
        InstallModules({});
    }
};

TEST_F(Transports, ProbeDecidesWhetherAnyAdapterIsAskedAndEachStatusNamesItsLana) {
    rc::g_network.probeNetBios = rc::ProbeNetBiosStack;  // the real probe, over the fake NetBIOS
    struct { bool touch; UCHAR answer; } cases[] = {{false, 0}, {true, NRC_GOODRET}, {true, NRC_BRIDGE}, {true, 0xFD}, {true, NRC_ILLCMD}};
    for (const auto& c : cases) {
        bool found = c.answer == NRC_ILLCMD;
        g_net = FakeNetwork();
        g_net.touchProbe = c.touch;
        g_net.probeAnswer = c.answer;
        // Type, revision, duration, session size and address of each LANA; LANA 2's request fails.
        struct { UCHAR type, rev; WORD duration, session; UCHAR address[6]; } statuses[8] = {
            {0xFD, 0, 0, 0, {'D', 'E', 'S', 'T'}}, {0x00, 0x40, 0, 0, {2, 0x60, 0x8C}}, {}, {0x01, 0, 0, 0, {2, 0x60, 0x8C}},
            {0xFE, 0, 0, 1452, {2, 0x60, 0x8C}}, {0xFE, 0, 0, 0xFFFF, {0, 0x11, 0x22, 0x33, 0x44, 0x55}},
            {0x02, 0, 5, 0xFFFF, {0, 0x11, 0x22}}, {0xFF, 0, 0, 0xFFFF, {0, 0x11, 0x22}}};
        for (int n = 0; n < 8; ++n) {
            ADAPTER_STATUS& s = g_net.status[n];
            std::tie(s.adapter_type, s.rev_minor, s.duration, s.max_sess_pkt_size) =
                std::tuple(statuses[n].type, statuses[n].rev, statuses[n].duration, statuses[n].session);
            std::memcpy(s.adapter_address, statuses[n].address, 6);
        }
        g_net.statusCode[2] = NRC_BRIDGE;
        ListHost host;
        rc::FillAdapterList(GetDlgItem(host, IDC_CL_ADAPTER));
        std::vector<std::wstring> calls = {L"127 0 0"};  // the probe; then a reset and a status request per LANA
        for (int n = 0; n < 8 && found; ++n)
            calls.insert(calls.end(), {L"50 " + std::to_wstring(n) + L" 0", L"51 " + std::to_wstring(n) + L" 636"});
        EXPECT_EQ(g_net.calls, calls);
        std::vector<std::wstring> kinds = {L"NetBEUI (dialup)",  L"TCP/IP NetBIOS (dialup)", L"Not found",
                                           L"IPX/SPX NetBIOS",   L"IPX/SPX NetBIOS",         L"TCP/IP NetBIOS",
                                           L"DECnet NetBIOS",    L"TCP/IP NetBIOS (dialup)"};
        for (int n = 0; n < 8; ++n) kinds[n] = std::to_wstring(n) + L": " + (found ? kinds[n] : L"Not found");
        EXPECT_EQ(Entries(host, IDC_CL_ADAPTER), kinds);
        EXPECT_EQ(Data(host, IDC_CL_ADAPTER), (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6, 7}));
        EXPECT_EQ(Selected(host, IDC_CL_ADAPTER), L"(none)");
    }
}

TEST_F(Transports, ModuleIsInstalledOnlyWhenItOpensBesideTheProgram) {
    InstallModules({L"SXIPX32.DLL", L"SXTCP32.DLL"});
    EXPECT_TRUE(rc::IsModuleInstalled(L"sxipx32.dll"));  // file names ignore case
    EXPECT_FALSE(rc::IsModuleInstalled(L"CXIPX.DLL"));
    {
        rc::Handle locked(CreateFileW(BesideProgram(L"SXTCP32.DLL").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(rc::IsModuleInstalled(L"SXTCP32.DLL"));  // there, but it cannot be opened
    }
    EXPECT_TRUE(rc::IsModuleInstalled(L"SXTCP32.DLL"));
    wcscpy(g_shell.programDirectory, L"C:\\windows");  // the program directory is not where modules are looked for
    WriteBytes(L"C:\\windows\\CXTCP.DLL", "MZ");
    EXPECT_FALSE(rc::IsModuleInstalled(L"CXTCP.DLL"));
    DeleteFileW(L"C:\\windows\\CXTCP.DLL");
}

TEST_F(Transports, ListKeepsTheTransportsOfTheSidesModulesAndUsableNeedsTheStackToo) {
    struct Case {
        Side side;
        std::vector<bool> stacks;
        std::vector<std::wstring> modules;
        int selected;
        std::vector<LPARAM> remaining;
        LPARAM selectedData;  // 0: nothing selected
        bool none;            // NoUsableTransport
    } cases[] = {
        {Side::Client, {1, 1, 1}, {L"SXIPX32.DLL", L"SXTCP32.DLL"}, 1, {100, 102}, 0, false},
        {Side::Client, {1, 1, 1}, {L"SXNBS32.DLL", L"SXTCP32.DLL"}, 2, {101, 102}, 102, false},
        {Side::Client, {0, 0, 1}, {L"SXIPX32.DLL"}, 0, {100}, 100, true},
        {Side::Control, {0, 1, 0}, {L"CXIPX.DLL", L"CXNBS.DLL"}, 2, {100, 101}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.side == Side::Client ? "client " : "control ") << c.modules.size());
        g_net = FakeNetwork();
        std::copy(c.stacks.begin(), c.stacks.end(), g_net.stacks);
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
    ListHost host;  // entries are found by their whole text, wherever they stand
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
        std::wstring look;  // title, then the IPX, NetBIOS and TCP/IP lines
        WORD result;        // 1: closed with OK, 0: with Escape
    } cases[] = {
        {Side::Client, L"transports-client", L"Client transports available|Stack not found, QRV DLL (SXIPX32.DLL) installed|"
         L"Stack found, QRV DLL (SXNBS32.DLL) not installed|Stack found, QRV DLL (SXTCP32.DLL) installed", 1},
        {Side::Control, L"transports-control", L"Control transports available|Stack not found, QRV DLL (CXIPX.DLL) not installed|"
         L"Stack found, QRV DLL (CXNBS.DLL) installed|Stack found, QRV DLL (CXTCP.DLL) not installed", 0},
    };
    InstallModules({L"SXIPX32.DLL", L"SXTCP32.DLL", L"CXNBS.DLL"});
    for (const auto& c : cases) {
        g_net = FakeNetwork();
        g_net.stacks[0] = false;
        HelpContexts().clear();
        std::wstring look;
        driver_.Then([&](HWND dialog) {
            Shot(dialog, c.shot);
            Click(dialog, IDC_HELPBUTTON);
            Later(dialog, 50, [&](HWND d) {  // still open
                look = Title(d) + L"|" + Look(d, {IDC_TR_IPX_STATUS, IDC_TR_NETBIOS_STATUS, IDC_TR_TCPIP_STATUS});
                if (c.result) Press(d, IDOK);
                else PostMessageW(d, WM_KEYDOWN, VK_ESCAPE, 0);
            });
        });
        EXPECT_EQ(rc::RunTransportsDialog(g_shell.mainWindow, c.side), c.result);
        EXPECT_EQ(look, c.look);
        EXPECT_EQ(HelpContexts(), std::vector<ULONG_PTR>{HELP_TRANSPORTS});
        EXPECT_EQ(g_net.probes, 3);  // computed once, when it opens
    }
}

// The computer name as Wine reads it, set for the test, in the note's own
// text: cut at its first space and to 15 characters.
using ListHelpers = DialogTest;

TEST_F(ListHelpers, MachineNoteShowsTheComputerNameInItsOwnText) {
    const wchar_t key[] = L"System\\CurrentControlSet\\Control\\ComputerName\\ActiveComputerName";
    wchar_t saved[64] = L"";
    DWORD size = sizeof saved - sizeof(wchar_t);
    ASSERT_EQ(SHGetValueW(HKEY_LOCAL_MACHINE, key, L"ComputerName", nullptr, saved, &size), DWORD{ERROR_SUCCESS});
    const wchar_t name[] = L"FRONTDESKSTATION7 BACK";
    SHSetValueW(HKEY_LOCAL_MACHINE, key, L"ComputerName", REG_SZ, name, sizeof name);
    ListHost host;
    SetDlgItemTextW(host, IDC_CL_MACHINE_NOTE, L"name (%s)");
    rc::ShowMachineName(host, IDC_CL_MACHINE_NOTE);
    SHSetValueW(HKEY_LOCAL_MACHINE, key, L"ComputerName", REG_SZ, saved, size);
    EXPECT_EQ(Text(host, IDC_CL_MACHINE_NOTE), L"name (FRONTDESKSTATIO)");
}

// MODEMDEF.MDM in the program directory cut to 113 characters: read to its
// end (1), to a format error (-1, the modems before it listed) or not at all
// (0), and closed again.
TEST_F(ListHelpers, ModemListReadsTheFileInTheProgramDirectoryCutTo113Characters) {
    const std::wstring folder = L"C:\\rc-modem-" + std::wstring(113 - 12, L'x');
    CreateDirectoryW(folder.c_str(), nullptr);
    struct { const wchar_t* directory; const char* bytes; int result; std::vector<std::wstring> names; } cases[] = {
        {L"\\below", "; modems\r\n@[M1] Fast Modem ;note\r\n@[D] ATDT\r\n@[M2] \xC9lan 56K", 1, {L"Fast Modem ", L"\x00C9lan 56K"}},
        {L"\\below", "@[M1] Before\n@[m1] Modem\n@[M2] After\n", -1, {L"Before"}},
        {L"\\below", nullptr, 0, {}},
        {nullptr, "@[M1] Hidden\n", 0, {}},
    };
    for (const auto& c : cases) {
        if (c.bytes) WriteBytes(folder + L"\\MODEMDEF.MDM", c.bytes);
        wcscpy(g_shell.programDirectory, c.directory ? (folder + c.directory).c_str() : L"");
        ListHost host;
        EXPECT_EQ(rc::LoadModemList(host, IDC_CL_MODEM), c.result);
        EXPECT_EQ(Entries(host, IDC_CL_MODEM), c.names);
        EXPECT_EQ(DeleteFileW((folder + L"\\MODEMDEF.MDM").c_str()), c.bytes != nullptr) << "the file was left open";
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

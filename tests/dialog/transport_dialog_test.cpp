// Network transports, the NetBIOS adapter list, the list helpers and the
// modem list on the platform: real drop-down lists and the real
// "Transports available" dialog, with the stacks and NetBIOS answering as
// each test chooses, and real module files beside this program.
#include "client/list_helpers_win.h"
#include "client/modem_list_win.h"
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/station_win.h"
#include "transport/transport_win.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

using namespace rctest;
using rc::g_network;
using rc::g_shell;
using rc::Side;

namespace {

// ---- The network as a test chooses it ---------------------------------------------

struct FakeStacks {
    bool ipx = true, netbios = true, tcpip = true;
    int ipxCalls = 0, netbiosCalls = 0, tcpipCalls = 0;
};
FakeStacks g_stacks;

bool FakeIpx() {
    ++g_stacks.ipxCalls;
    return g_stacks.ipx;
}
bool FakeNetBios() {
    ++g_stacks.netbiosCalls;
    return g_stacks.netbios;
}
bool FakeTcpIp() {
    ++g_stacks.tcpipCalls;
    return g_stacks.tcpip;
}

// One control block as the fake NetBIOS received it.
struct NetbiosCall {
    UCHAR command, lana, lsn;
    std::array<UCHAR, NCBNAMSZ> callname;
    WORD length;
    bool bufferCleared;
};

struct FakeAdapter {
    UCHAR resetCode = NRC_GOODRET;
    UCHAR statusCode = NRC_GOODRET;
    ADAPTER_STATUS status{};
};

// Answers the undefined command with probeAnswer (or leaves the block
// alone), and each LANA's reset and status request from its adapter.
struct FakeNetbios {
    bool touchProbe = true;
    UCHAR probeAnswer = NRC_ILLCMD;
    FakeAdapter adapters[8];
    std::vector<NetbiosCall> calls;
};
FakeNetbios g_netbios;

// A status that reads as NetBEUI: written into the buffer of a failing
// request too, so that a status read despite the failure shows.
ADAPTER_STATUS NetBeuiStatus() {
    ADAPTER_STATUS s{};
    s.adapter_type = 0xFD;
    return s;
}

UCHAR APIENTRY FakeNetbiosCall(PNCB ncb) {
    NetbiosCall call{ncb->ncb_command, ncb->ncb_lana_num, ncb->ncb_lsn, {}, ncb->ncb_length, true};
    std::memcpy(call.callname.data(), ncb->ncb_callname, NCBNAMSZ);
    if (ncb->ncb_buffer)
        for (WORD i = 0; i < ncb->ncb_length; ++i)
            if (ncb->ncb_buffer[i] != 0) call.bufferCleared = false;
    g_netbios.calls.push_back(call);

    if (ncb->ncb_command == 0x7F) {
        if (g_netbios.touchProbe) ncb->ncb_retcode = g_netbios.probeAnswer;
        return ncb->ncb_retcode;
    }
    if (ncb->ncb_lana_num >= 8) {
        ncb->ncb_retcode = NRC_BRIDGE;
        return ncb->ncb_retcode;
    }
    const FakeAdapter& adapter = g_netbios.adapters[ncb->ncb_lana_num];
    if (ncb->ncb_command == NCBRESET) {
        ncb->ncb_retcode = adapter.resetCode;
    } else if (ncb->ncb_command == NCBASTAT) {
        ncb->ncb_retcode = adapter.statusCode;
        ADAPTER_STATUS written = adapter.statusCode == NRC_GOODRET ? adapter.status : NetBeuiStatus();
        if (ncb->ncb_buffer && ncb->ncb_length >= sizeof written)
            std::memcpy(ncb->ncb_buffer, &written, sizeof written);
    } else {
        ncb->ncb_retcode = NRC_ILLCMD;
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

// ---- Lists -----------------------------------------------------------------------------

// A window holding the lists and the note that the helpers work on, under
// the ids the Configuration dialogs give them.
class ListHost {
public:
    ListHost() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        window_.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, instance, nullptr));
        for (int id : {IDC_CL_TRANSPORT, IDC_CL_ADAPTER, IDC_CL_MODEM, IDC_CT_COLOUR_DEPTH})
            CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 200, 200,
                            window_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 300, 20, window_.get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CL_MACHINE_NOTE)), instance, nullptr);
    }
    HWND get() const { return window_.get(); }
    HWND item(int id) const { return GetDlgItem(window_.get(), id); }

private:
    rc::Window window_;
};

std::vector<std::wstring> Entries(HWND list) {
    std::vector<std::wstring> out;
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        if (SendMessageW(list, CB_GETLBTEXTLEN, i, 0) < 256) SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        out.push_back(text);
    }
    return out;
}

std::vector<LPARAM> Data(HWND list) {
    std::vector<LPARAM> out;
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) out.push_back(SendMessageW(list, CB_GETITEMDATA, i, 0));
    return out;
}

LRESULT Selection(HWND list) { return SendMessageW(list, CB_GETCURSEL, 0, 0); }

// ---- Module files beside this program ------------------------------------------------

const wchar_t* const kAllModules[] = {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL",
                                      L"CXIPX.DLL",   L"CXNBS.DLL",   L"CXTCP.DLL"};

std::wstring ProgramFolder() {
    std::wstring path = rc::ModulePath();
    return path.substr(0, path.rfind(L'\\') + 1);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    rc::File file(_wfopen(path.c_str(), L"wb"));
    if (!file) return false;
    return std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
}

// Exactly these modules are installed beside the program.
void InstallModules(std::initializer_list<const wchar_t*> installed) {
    for (const wchar_t* module : kAllModules) DeleteFileW((ProgramFolder() + module).c_str());
    for (const wchar_t* module : installed) ASSERT_TRUE(WriteFileBytes(ProgramFolder() + module, "MZ"));
}

struct HelpCall {
    UINT command;
    ULONG_PTR context;
};
std::vector<HelpCall> g_helpCalls;
BOOL WINAPI RecordHelp(HWND, LPCWSTR, UINT command, ULONG_PTR context) {
    g_helpCalls.push_back({command, context});
    return TRUE;
}

class Transports : public testing::Test {
protected:
    void SetUp() override {
        for (const wchar_t* module : kAllModules)
            if (GetFileAttributesW((ProgramFolder() + module).c_str()) != INVALID_FILE_ATTRIBUTES)
                existing_.push_back(module);
        g_stacks = FakeStacks();
        g_netbios = FakeNetbios();
        g_network = rc::NetworkPlatform{FakeIpx, FakeNetBios, FakeTcpIp, FakeNetbiosCall};
        g_helpCalls.clear();
        g_shell.winHelp = RecordHelp;
        InstallModules({});
    }
    void TearDown() override {
        g_network = rc::kRealNetwork;
        g_shell.winHelp = WinHelpW;
        for (const wchar_t* module : kAllModules) DeleteFileW((ProgramFolder() + module).c_str());
        for (const wchar_t* module : existing_) WriteFileBytes(ProgramFolder() + module, "MZ");
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    void ProbeCountsAre(int n) {
        EXPECT_EQ(g_stacks.ipxCalls, n);
        EXPECT_EQ(g_stacks.netbiosCalls, n);
        EXPECT_EQ(g_stacks.tcpipCalls, n);
    }

    DialogDriver driver_;
    std::vector<const wchar_t*> existing_;
};

// ---- NetBIOS adapter list ---------------------------------------------------------------

TEST_F(Transports, AdapterListWithoutNetBiosHasEightNotFoundAndAsksNoAdapter) {
    g_network.probeNetBios = rc::ProbeNetBiosStack;  // the real probe, over the fake NetBIOS
    struct Case {
        const char* what;
        bool touch;
        UCHAR answer;
    } cases[] = {
        {"block left untouched", false, 0},
        {"undefined command accepted", true, NRC_GOODRET},
        {"another refusal", true, NRC_BRIDGE},
        {"untouched mark written back", true, 0xFD},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_netbios = FakeNetbios();
        g_netbios.touchProbe = c.touch;
        g_netbios.probeAnswer = c.answer;
        ListHost host;
        rc::FillAdapterList(host.item(IDC_CL_ADAPTER));
        EXPECT_EQ(Entries(host.item(IDC_CL_ADAPTER)),
                  (std::vector<std::wstring>{L"0: Not found", L"1: Not found", L"2: Not found", L"3: Not found",
                                             L"4: Not found", L"5: Not found", L"6: Not found", L"7: Not found"}));
        EXPECT_EQ(Data(host.item(IDC_CL_ADAPTER)), (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6, 7}));
        EXPECT_EQ(Selection(host.item(IDC_CL_ADAPTER)), CB_ERR);
        ASSERT_EQ(g_netbios.calls.size(), 1u) << "only the probe may reach NetBIOS";
        EXPECT_EQ(g_netbios.calls[0].command, 0x7F);
        EXPECT_EQ(g_netbios.calls[0].lana, 0);
    }
}

TEST_F(Transports, AdapterListNamesEachLanaByItsStatusInSeventeenCalls) {
    g_network.probeNetBios = rc::ProbeNetBiosStack;
    auto& a = g_netbios.adapters;
    a[0].status = Status(0xFD, 0, 0, 0, {'D', 'E', 'S', 'T', 0, 0});
    a[1].status = Status(0x00, 0x40, 0, 0, {0x02, 0x60, 0x8C, 0, 0, 0});
    a[2].statusCode = NRC_BRIDGE;  // its status request fails
    a[3].status = Status(0x01, 0, 0, 0, {0x02, 0x60, 0x8C, 0, 0, 0});
    a[4].status = Status(0xFE, 0, 0, 1452, {0x02, 0x60, 0x8C, 0, 0, 0});
    a[4].resetCode = NRC_BRIDGE;  // cannot be reset, asked all the same
    a[5].status = Status(0xFE, 0, 0, 0xFFFF, {0x00, 0x11, 0x22, 0x33, 0x44, 0x55});
    a[6].status = Status(0x02, 0, 5, 0xFFFF, {0x00, 0x11, 0x22, 0, 0, 0});
    a[7].status = Status(0xFF, 0, 0, 0xFFFF, {0x00, 0x11, 0x22, 0, 0, 0});

    ListHost host;
    HWND list = host.item(IDC_CL_ADAPTER);
    rc::FillAdapterList(list);
    EXPECT_EQ(Entries(list), (std::vector<std::wstring>{
                                 L"0: NetBEUI (dialup)", L"1: TCP/IP NetBIOS (dialup)", L"2: Not found",
                                 L"3: IPX/SPX NetBIOS", L"4: IPX/SPX NetBIOS", L"5: TCP/IP NetBIOS",
                                 L"6: DECnet NetBIOS", L"7: TCP/IP NetBIOS (dialup)"}));
    EXPECT_EQ(Data(list), (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Selection(list), CB_ERR);

    // The probe, then a reset and a status request for each LANA in turn.
    ASSERT_EQ(g_netbios.calls.size(), 17u);
    EXPECT_EQ(g_netbios.calls[0].command, 0x7F);
    const std::array<UCHAR, NCBNAMSZ> resetName{1, 12, 1, 0};
    const std::array<UCHAR, NCBNAMSZ> anyName{'*'};
    for (int n = 0; n < 8; ++n) {
        SCOPED_TRACE(n);
        const NetbiosCall& reset = g_netbios.calls[1 + 2 * n];
        EXPECT_EQ(reset.command, NCBRESET);
        EXPECT_EQ(reset.lana, n);
        EXPECT_EQ(reset.lsn, 0);
        EXPECT_EQ(reset.callname, resetName);
        const NetbiosCall& status = g_netbios.calls[2 + 2 * n];
        EXPECT_EQ(status.command, NCBASTAT);
        EXPECT_EQ(status.lana, n);
        EXPECT_EQ(status.callname, anyName);
        EXPECT_EQ(status.length, 636);
        EXPECT_TRUE(status.bufferCleared);
    }
}

TEST_F(Transports, AdapterListTakesTheProbeOnceAndFollowsItsAnswer) {
    // NetBIOS found by the seam's probe: the kinds come from the statuses.
    for (auto& adapter : g_netbios.adapters) adapter.status = Status(0x77, 0, 0, 0, {1, 2, 3, 4, 5, 6});
    ListHost host;
    rc::FillAdapterList(host.item(IDC_CL_ADAPTER));
    EXPECT_EQ(g_stacks.netbiosCalls, 1);
    EXPECT_EQ(Entries(host.item(IDC_CL_ADAPTER))[7], L"7: Unknown NetBIOS");
    EXPECT_EQ(g_netbios.calls.size(), 16u);  // the seam's probe does not reach NetBIOS

    // Not found by it: no adapter is asked, whatever NetBIOS would answer.
    g_stacks.netbios = false;
    g_netbios.calls.clear();
    ListHost second;
    rc::FillAdapterList(second.item(IDC_CL_ADAPTER));
    EXPECT_EQ(Entries(second.item(IDC_CL_ADAPTER))[0], L"0: Not found");
    EXPECT_TRUE(g_netbios.calls.empty());
}

// ---- Modules -------------------------------------------------------------------------------

TEST_F(Transports, ModuleIsInstalledOnlyWhenItOpensBesideTheProgram) {
    for (const wchar_t* module : kAllModules) EXPECT_FALSE(rc::IsModuleInstalled(module)) << module;

    InstallModules({L"SXIPX32.DLL"});
    EXPECT_TRUE(rc::IsModuleInstalled(L"SXIPX32.DLL"));
    EXPECT_TRUE(rc::IsModuleInstalled(L"sxipx32.dll"));  // file names ignore case
    EXPECT_FALSE(rc::IsModuleInstalled(L"CXIPX.DLL"));

    // A folder of that name is not a module.
    std::wstring folder = ProgramFolder() + L"SXNBS32.DLL";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_FALSE(rc::IsModuleInstalled(L"SXNBS32.DLL"));
    RemoveDirectoryW(folder.c_str());

    // A module that exists but cannot be opened for reading.
    std::wstring path = ProgramFolder() + L"SXTCP32.DLL";
    ASSERT_TRUE(WriteFileBytes(path, "MZ"));
    {
        rc::Handle locked(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(locked.get(), INVALID_HANDLE_VALUE);
        EXPECT_FALSE(rc::IsModuleInstalled(L"SXTCP32.DLL"));
    }
    EXPECT_TRUE(rc::IsModuleInstalled(L"SXTCP32.DLL"));

    // The program directory is not where modules are looked for.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring saved = g_shell.programDirectory;
    std::wstring elsewhere = std::wstring(temp) + L"rc-module-test";
    CreateDirectoryW(elsewhere.c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(elsewhere + L"\\CXTCP.DLL", "MZ"));
    wcscpy(g_shell.programDirectory, elsewhere.c_str());
    EXPECT_FALSE(rc::IsModuleInstalled(L"CXTCP.DLL"));
    wcscpy(g_shell.programDirectory, saved.c_str());
    DeleteFileW((elsewhere + L"\\CXTCP.DLL").c_str());
    RemoveDirectoryW(elsewhere.c_str());
}

// ---- Transport list ------------------------------------------------------------------------

TEST_F(Transports, PruneKeepsWhatTheSideCanOfferAndClearsARemovedSelection) {
    struct Case {
        const char* what;
        Side side;
        bool ipx, netbios, tcpip;
        std::vector<const wchar_t*> modules;
        int selected;
        std::vector<LPARAM> remaining;
        LPARAM selectedData;  // 0: nothing selected
    } cases[] = {
        {"client, everything there", Side::Client, true, true, true,
         {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, 1, {100, 101, 102}, 101},
        {"client, selected module missing", Side::Client, true, true, true,
         {L"SXIPX32.DLL", L"SXTCP32.DLL"}, 1, {100, 102}, 0},
        {"client, entry above the selection removed", Side::Client, true, true, true,
         {L"SXNBS32.DLL", L"SXTCP32.DLL"}, 2, {101, 102}, 102},
        {"client, stack missing, module there", Side::Client, false, true, false,
         {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, 0, {100, 101, 102}, 100},
        {"client, nothing there", Side::Client, false, false, false, {}, 2, {}, 0},
        {"client, only Control modules", Side::Client, true, true, true,
         {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}, 0, {}, 0},
        {"control, stack missing, module there", Side::Control, false, true, true,
         {L"CXIPX.DLL", L"CXNBS.DLL"}, 2, {100, 101}, 0},
        {"control, no stacks, all modules", Side::Control, false, false, false,
         {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}, 0, {100, 101, 102}, 100},
        {"control, only Client modules", Side::Control, true, true, true,
         {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, 1, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_stacks = FakeStacks{c.ipx, c.netbios, c.tcpip};
        for (const wchar_t* module : kAllModules) DeleteFileW((ProgramFolder() + module).c_str());
        for (const wchar_t* module : c.modules) ASSERT_TRUE(WriteFileBytes(ProgramFolder() + module, "MZ"));
        ListHost host;
        rc::FillComboFromStrings(host.get(), IDC_CL_TRANSPORT, IDS_IPX, IDS_TCPIP);
        rc::SelectComboEntry(host.get(), IDC_CL_TRANSPORT, c.selected);

        rc::PruneTransportList(host.get(), c.side);
        EXPECT_EQ(Data(host.item(IDC_CL_TRANSPORT)), c.remaining);
        EXPECT_EQ(rc::SelectedEntryData(host.get(), IDC_CL_TRANSPORT), c.selectedData);
        if (c.selectedData == 0) {
            EXPECT_EQ(Selection(host.item(IDC_CL_TRANSPORT)), CB_ERR);
        }
        ProbeCountsAre(1);  // every stack is probed, on both sides
    }
}

TEST_F(Transports, PruneFindsEntriesByTheirWholeText) {
    // Entries are found by name, wherever they stand; an entry whose text
    // only begins with a transport's name is not that transport.
    ListHost host;
    HWND list = host.item(IDC_CL_TRANSPORT);
    for (const wchar_t* text : {L"TCP/IP over SLIP", L"tcp/ip", L"ipx"})
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    rc::PruneTransportList(host.get(), Side::Client);  // no module installed
    EXPECT_EQ(Entries(list), (std::vector<std::wstring>{L"TCP/IP over SLIP"}));
}

TEST_F(Transports, NoUsableTransportNeedsAStackAndTheSidesModuleTogether) {
    struct Case {
        const char* what;
        Side side;
        bool ipx, netbios, tcpip;
        std::vector<const wchar_t*> modules;
        bool none;
    } cases[] = {
        {"client, all usable", Side::Client, true, true, true, {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, false},
        {"client, one usable", Side::Client, false, false, true, {L"SXTCP32.DLL"}, false},
        {"client, stack and module of different transports", Side::Client, false, false, true, {L"SXIPX32.DLL"}, true},
        {"client, every stack missing", Side::Client, false, false, false,
         {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, true},
        {"client, every module missing", Side::Client, true, true, true, {}, true},
        {"client, only Control modules", Side::Client, true, true, true, {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}, true},
        {"control, kept in the list yet not usable", Side::Control, false, true, true, {L"CXIPX.DLL"}, true},
        {"control, one usable", Side::Control, false, true, false, {L"CXIPX.DLL", L"CXNBS.DLL"}, false},
        {"control, only Client modules", Side::Control, true, true, true,
         {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        g_stacks = FakeStacks{c.ipx, c.netbios, c.tcpip};
        for (const wchar_t* module : kAllModules) DeleteFileW((ProgramFolder() + module).c_str());
        for (const wchar_t* module : c.modules) ASSERT_TRUE(WriteFileBytes(ProgramFolder() + module, "MZ"));
        EXPECT_EQ(rc::NoUsableTransport(c.side), c.none);
        ProbeCountsAre(1);
    }
}

// ---- Transports available ------------------------------------------------------------------

TEST_F(Transports, ReportShowsTitleAndOneLinePerTransportOnEachSide) {
    struct Case {
        Side side;
        const wchar_t* shot;
        std::vector<const wchar_t*> modules;
        const wchar_t* title;
        const wchar_t* lines[3];
    } cases[] = {
        {Side::Client, L"transports-client", {L"SXIPX32.DLL", L"SXTCP32.DLL", L"CXNBS.DLL"},
         L"Client transports available",
         {L"Stack not found, QRV DLL (SXIPX32.DLL) installed", L"Stack found, QRV DLL (SXNBS32.DLL) not installed",
          L"Stack found, QRV DLL (SXTCP32.DLL) installed"}},
        {Side::Control, L"transports-control", {L"CXNBS.DLL", L"SXIPX32.DLL", L"SXTCP32.DLL"},
         L"Control transports available",
         {L"Stack not found, QRV DLL (CXIPX.DLL) not installed", L"Stack found, QRV DLL (CXNBS.DLL) installed",
          L"Stack found, QRV DLL (CXTCP.DLL) not installed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.title);
        g_stacks = FakeStacks{false, true, true};
        g_helpCalls.clear();
        for (const wchar_t* module : kAllModules) DeleteFileW((ProgramFolder() + module).c_str());
        for (const wchar_t* module : c.modules) ASSERT_TRUE(WriteFileBytes(ProgramFolder() + module, "MZ"));
        bool stillOpenAfterHelp = false;
        driver_.Then([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), c.title);
            EXPECT_EQ(Text(dialog, IDC_TR_IPX_STATUS), c.lines[0]);
            EXPECT_EQ(Text(dialog, IDC_TR_NETBIOS_STATUS), c.lines[1]);
            EXPECT_EQ(Text(dialog, IDC_TR_TCPIP_STATUS), c.lines[2]);
            EXPECT_EQ(g_shell.currentWindow, dialog);
            EXPECT_EQ(g_shell.helpContext, HELP_TRANSPORTS);
            Later(dialog, 200, [&](HWND shown) {  // once the modal loop has shown it
                EXPECT_TRUE(IsWindowVisible(shown));
                EXPECT_TRUE(Capture(shown, c.shot));
                Press(shown, IDC_HELPBUTTON);
                Later(shown, 50, [&](HWND d) {
                    stillOpenAfterHelp = IsWindow(d) != FALSE;
                    Press(d, IDOK);
                });
            });
        });
        EXPECT_EQ(rc::RunTransportsDialog(g_shell.mainWindow, c.side), 1);
        EXPECT_TRUE(stillOpenAfterHelp);
        ASSERT_EQ(g_helpCalls.size(), 1u);
        EXPECT_EQ(g_helpCalls[0].command, static_cast<UINT>(HELP_CONTEXT));
        EXPECT_EQ(g_helpCalls[0].context, static_cast<ULONG_PTR>(HELP_TRANSPORTS));
        EXPECT_EQ(g_shell.helpContext, 0);
        ProbeCountsAre(1);  // computed once, when it opens
        g_stacks = FakeStacks();
    }
}

TEST_F(Transports, ReportClosesWithZeroOnEscape) {
    for (Side side : {Side::Client, Side::Control}) {
        driver_.Then([](HWND dialog) { PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0); });
        EXPECT_EQ(rc::RunTransportsDialog(g_shell.mainWindow, side), 0);
    }
    EXPECT_TRUE(g_helpCalls.empty());
}

// The machine's own stacks. What they answer depends on the machine, so
// this checks what must hold anywhere and prints what it saw.
TEST_F(Transports, RealStacksAnswerAlikeEveryTime) {
    g_network = rc::kRealNetwork;
    bool ipx = rc::ProbeIpxStack(), netbios = rc::ProbeNetBiosStack(), tcpip = rc::ProbeTcpIpStack();
    EXPECT_EQ(rc::ProbeIpxStack(), ipx);
    EXPECT_EQ(rc::ProbeNetBiosStack(), netbios);
    EXPECT_EQ(rc::ProbeTcpIpStack(), tcpip);
    std::printf("[ real     ] IPX %s, NetBIOS %s, TCP/IP %s\n", ipx ? "found" : "not found",
                netbios ? "found" : "not found", tcpip ? "found" : "not found");

    ListHost host;
    HWND list = host.item(IDC_CL_ADAPTER);
    rc::FillAdapterList(list);
    std::vector<std::wstring> entries = Entries(list);
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(Data(list), (std::vector<LPARAM>{0, 1, 2, 3, 4, 5, 6, 7}));
    for (int n = 0; n < 8; ++n) {
        EXPECT_EQ(entries[n].substr(0, 3), std::to_wstring(n) + L": ");
        if (!netbios) {
            EXPECT_EQ(entries[n].substr(3), L"Not found");
        }
        std::printf("[ real     ] %ls\n", entries[n].c_str());
    }

    InstallModules({L"SXTCP32.DLL", L"CXNBS.DLL"});
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(Text(dialog, IDC_TR_IPX_STATUS),
                  ipx ? L"Stack found, QRV DLL (SXIPX32.DLL) not installed" : L"Stack not found, QRV DLL (SXIPX32.DLL) not installed");
        EXPECT_EQ(Text(dialog, IDC_TR_TCPIP_STATUS),
                  tcpip ? L"Stack found, QRV DLL (SXTCP32.DLL) installed" : L"Stack not found, QRV DLL (SXTCP32.DLL) installed");
        Later(dialog, 200, [](HWND shown) {
            EXPECT_TRUE(Capture(shown, L"transports-real-client"));
            Press(shown, IDOK);
        });
    });
    EXPECT_EQ(rc::RunTransportsDialog(g_shell.mainWindow, Side::Client), 1);
    EXPECT_EQ(rc::NoUsableTransport(Side::Client), !tcpip);
    EXPECT_EQ(rc::NoUsableTransport(Side::Control), !netbios);
}

// ---- List helpers ----------------------------------------------------------------------------

TEST(ListHelpers, FillComboFromStringsAppendsEachStringWithItsIdAsData) {
    ListHost host;
    HWND list = host.item(IDC_CT_COLOUR_DEPTH);
    rc::FillComboFromStrings(host.get(), IDC_CT_COLOUR_DEPTH, IDS_IPX, IDS_TCPIP);
    rc::FillComboFromStrings(host.get(), IDC_CT_COLOUR_DEPTH, IDS_DEPTH_UNLIMITED, IDS_DEPTH_256);
    rc::FillComboFromStrings(host.get(), IDC_CT_COLOUR_DEPTH, IDS_COM4, IDS_COM1);  // first after last: nothing
    EXPECT_EQ(Entries(list),
              (std::vector<std::wstring>{L"IPX", L"NetBIOS", L"TCP/IP", L"Unlimited", L"Mono", L"16", L"256"}));
    EXPECT_EQ(Data(list), (std::vector<LPARAM>{100, 101, 102, 1089, 1090, 1091, 1092}));
    EXPECT_EQ(Selection(list), CB_ERR);
}

TEST(ListHelpers, SelectedEntryDataFollowsTheSelectionAndIsZeroWithoutOne) {
    ListHost host;
    rc::FillComboFromStrings(host.get(), IDC_CL_TRANSPORT, IDS_BAUD_FIRST, IDS_BAUD_LAST);
    EXPECT_EQ(rc::SelectedEntryData(host.get(), IDC_CL_TRANSPORT), 0);
    struct Case {
        int index;
        LPARAM data;
    } cases[] = {{0, 8}, {8, 16}, {4, 12}, {9, 0}, {-1, 0}};
    for (const auto& c : cases) {
        rc::SelectComboEntry(host.get(), IDC_CL_TRANSPORT, c.index);
        EXPECT_EQ(rc::SelectedEntryData(host.get(), IDC_CL_TRANSPORT), c.data) << c.index;
    }
    // A list that does not exist has nothing selected.
    EXPECT_EQ(rc::SelectedEntryData(host.get(), 4711), 0);
}

TEST(ListHelpers, SelectTransportByCodeOrNothing) {
    struct Case {
        const wchar_t* code;
        LPARAM withStandalone;     // list IPX, NetBIOS, TCP/IP, Standalone
        LPARAM withoutStandalone;  // list IPX, TCP/IP
    } cases[] = {
        {L"IP", 100, 100}, {L"ip", 100, 100}, {L"NB", 101, 0}, {L"nb", 101, 0},  {L"TC", 102, 102},
        {L"tC", 102, 102}, {nullptr, 103, 0}, {L"", 103, 0},   {L"XY", 0, 0},    {L"I", 0, 0},
        {L"ST", 0, 0},
    };
    ListHost full, pruned;
    rc::FillComboFromStrings(full.get(), IDC_CL_TRANSPORT, IDS_IPX, IDS_STANDALONE);
    rc::FillComboFromStrings(pruned.get(), IDC_CL_TRANSPORT, IDS_IPX, IDS_IPX);
    rc::FillComboFromStrings(pruned.get(), IDC_CL_TRANSPORT, IDS_TCPIP, IDS_TCPIP);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code ? c.code : L"(null)");
        // Start from a selection, so that leaving none is seen.
        rc::SelectComboEntry(full.get(), IDC_CL_TRANSPORT, 1);
        rc::SelectComboEntry(pruned.get(), IDC_CL_TRANSPORT, 1);
        rc::SelectTransport(full.get(), IDC_CL_TRANSPORT, c.code);
        rc::SelectTransport(pruned.get(), IDC_CL_TRANSPORT, c.code);
        EXPECT_EQ(rc::SelectedEntryData(full.get(), IDC_CL_TRANSPORT), c.withStandalone);
        EXPECT_EQ(rc::SelectedEntryData(pruned.get(), IDC_CL_TRANSPORT), c.withoutStandalone);
    }
}

TEST(ListHelpers, SelectTransportTakesTheFirstEntryBeginningWithTheName) {
    ListHost host;
    HWND list = host.item(IDC_CL_TRANSPORT);
    for (const wchar_t* text : {L"NetBEUI", L"netbios over tcp", L"NetBIOS"})
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    rc::SelectTransport(host.get(), IDC_CL_TRANSPORT, L"NB");
    EXPECT_EQ(Selection(list), 1);
}

TEST(ListHelpers, ShowMachineNameFormatsTheNoteWithTheComputerName) {
    wchar_t computer[32] = L"";
    DWORD size = 32;
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    std::wstring name = computer;
    name = name.substr(0, name.find(L' ')).substr(0, 15);
    std::printf("[ machine  ] computer name \"%ls\"\n", computer);

    ListHost host;
    SetWindowTextW(host.item(IDC_CL_MACHINE_NOTE), L"Setting Client Name to * uses the current machine name (%s)");
    rc::ShowMachineName(host.get(), IDC_CL_MACHINE_NOTE);
    EXPECT_EQ(Text(host.get(), IDC_CL_MACHINE_NOTE),
              L"Setting Client Name to * uses the current machine name (" + name + L")");
    // The note's own text is the format: one without "%s" stays as it is.
    SetWindowTextW(host.item(IDC_CL_MACHINE_NOTE), L"No name here");
    rc::ShowMachineName(host.get(), IDC_CL_MACHINE_NOTE);
    EXPECT_EQ(Text(host.get(), IDC_CL_MACHINE_NOTE), L"No name here");
}

// ---- Modem list ---------------------------------------------------------------------------------

class ModemList : public testing::Test {
protected:
    void SetUp() override {
        saved_ = g_shell.programDirectory;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"rc-modem-test";
        CreateDirectoryW(dir_.c_str(), nullptr);
        wcscpy(g_shell.programDirectory, dir_.c_str());
    }
    void TearDown() override {
        DeleteFileW(ModemFile().c_str());
        RemoveDirectoryW(dir_.c_str());
        wcscpy(g_shell.programDirectory, saved_.c_str());
    }
    std::wstring ModemFile() const { return dir_ + L"\\MODEMDEF.MDM"; }
    // Loads the list and checks that the file was closed again: an open
    // file cannot be deleted.
    int Load(HWND dialog, const std::wstring& file) {
        int result = rc::LoadModemList(dialog, IDC_CL_MODEM);
        EXPECT_TRUE(DeleteFileW(file.c_str())) << "the file was left open";
        return result;
    }

    std::wstring saved_, dir_;
};

TEST_F(ModemList, AnOpenFileCannotBeDeletedHere) {
    // What Load relies on to see that the file was closed.
    ASSERT_TRUE(WriteFileBytes(ModemFile(), "@[M1] A\n"));
    {
        rc::File open(_wfopen(ModemFile().c_str(), L"rb"));
        ASSERT_TRUE(open);
        EXPECT_FALSE(DeleteFileW(ModemFile().c_str()));
    }
    EXPECT_TRUE(DeleteFileW(ModemFile().c_str()));
}

TEST_F(ModemList, AddsTheModemLinesInFileOrder) {
    std::string many;
    std::vector<std::wstring> manyNames;
    for (int i = 0; i < 40; ++i) {  // well past one 127-byte block
        char line[64];
        std::snprintf(line, sizeof line, "@[M%d]\t-- Modem number %02d ;note %d\r\n", i, i, i);
        many += line;
        many += "@[D] ATDT\r\n";
        manyNames.push_back(L"Modem number " + std::wstring(i < 10 ? L"0" : L"") + std::to_wstring(i) + L" ");
    }
    struct Case {
        const char* what;
        std::string file;
        int result;
        std::vector<std::wstring> names;
    } cases[] = {
        {"names, comments and other tags", "@[M1] Fast Modem 28.8 ;comment\r\n@[D] ATDT\r\n@[M2]--Generic\r\n", 1,
         {L"Fast Modem 28.8 ", L"Generic"}},
        {"last line without LF", "; modems\n@[M1] One\n@[M2] Two", 1, {L"One", L"Two"}},
        {"duplicates kept", "@[M1] Same\n@[M2] Same\n", 1, {L"Same", L"Same"}},
        {"empty name", "@[M]\n", 1, {L""}},
        {"empty file", "", 1, {}},
        {"format error keeps earlier modems", "@[M1] Before\n@[m1] Modem\n@[M2] After\n", -1, {L"Before"}},
        {"modem line without bracket at the end", "@[M1] Before\n@[M2 x", -1, {L"Before"}},
        {"bytes are Latin-1 characters", "@[M1] \xD7\xC9lan 56K\n", 1, {L"\x00C9lan 56K"}},
        {"many lines across blocks", many, 1, manyNames},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileBytes(ModemFile(), c.file));
        ListHost host;
        EXPECT_EQ(Load(host.get(), ModemFile()), c.result);
        EXPECT_EQ(Entries(host.item(IDC_CL_MODEM)), c.names);
    }
}

TEST_F(ModemList, WithoutFileOrDirectoryTheListStaysEmpty) {
    ListHost host;
    EXPECT_EQ(rc::LoadModemList(host.get(), IDC_CL_MODEM), 0);  // no file
    g_shell.programDirectory[0] = L'\0';
    ASSERT_TRUE(WriteFileBytes(ModemFile(), "@[M1] Hidden\n"));
    EXPECT_EQ(rc::LoadModemList(host.get(), IDC_CL_MODEM), 0);  // no program directory
    EXPECT_EQ(SendMessageW(host.item(IDC_CL_MODEM), CB_GETCOUNT, 0, 0), 0);
}

TEST_F(ModemList, LooksInTheFirst113BytesOfTheProgramDirectory) {
    // A folder whose path is exactly 113 characters holds the file; the
    // program directory goes deeper than that and is cut back to it.
    std::wstring cut = dir_ + L"\\";
    cut += std::wstring(113 - cut.size(), L'x');
    ASSERT_EQ(cut.size(), 113u);
    ASSERT_TRUE(CreateDirectoryW(cut.c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(cut + L"\\MODEMDEF.MDM", "@[M1] Deep Modem\n"));
    std::wstring deeper = cut + L"\\below";
    wcscpy(g_shell.programDirectory, deeper.c_str());

    ListHost host;
    EXPECT_EQ(Load(host.get(), cut + L"\\MODEMDEF.MDM"), 1);
    EXPECT_EQ(Entries(host.item(IDC_CL_MODEM)), (std::vector<std::wstring>{L"Deep Modem"}));
    RemoveDirectoryW(cut.c_str());
}

}  // namespace

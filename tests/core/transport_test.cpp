#include "transport/transport_table.h"
#include "transport/adapter_kind.h"

#include "client/machine_name.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/narrow_text.h"

namespace {

using rc::AdapterStatusFields;
using rc::Side;
using rc::test::Narrow;
using Address = std::initializer_list<std::uint8_t>;

TEST(TransportTable, ModulesOfEachSideAndWhatStaysInTheList) {
    const wchar_t* modules[rc::kTransportCount][2] = {
        {L"SXIPX32.DLL", L"CXIPX.DLL"}, {L"SXNBS32.DLL", L"CXNBS.DLL"}, {L"SXTCP32.DLL", L"CXTCP.DLL"}};
    const int ids[rc::kTransportCount] = {IDS_IPX, IDS_NETBIOS, IDS_TCPIP};
    for (std::size_t i = 0; i < rc::kTransportCount; ++i) {
        EXPECT_EQ(rc::kTransports[i].id, ids[i]);
        EXPECT_STREQ(rc::TransportModule(rc::kTransports[i], Side::Client), modules[i][0]);
        EXPECT_STREQ(rc::TransportModule(rc::kTransports[i], Side::Control), modules[i][1]);
    }
    // A Client transport whose stack is not found stays while its module is
    // installed (the stored string must keep its transport), but is not usable.
    EXPECT_TRUE(rc::StaysInTransportList(Side::Client, false, true));
    EXPECT_FALSE(rc::IsTransportUsable(false, true));
    EXPECT_FALSE(rc::StaysInTransportList(Side::Control, true, false));
    EXPECT_TRUE(rc::IsTransportUsable(true, true));
}

TEST(TransportTable, TransportTextsStatusLinePathsCodesAndMachineName) {
    EXPECT_EQ(rc::TransportStatusLine(L"Stack found", L"QRV DLL (%s) installed", L"SXIPX32.DLL"),
              L"Stack found, QRV DLL (SXIPX32.DLL) installed");
    EXPECT_EQ(rc::TransportStatusLine(L"A", L"B", L"X.DLL"), L"A, B");
    EXPECT_EQ(rc::TransportStatusLine(L"Stack found", L"(%s)", std::wstring(400, L'N')).size(), 255u);

    struct Path { const wchar_t* program; const wchar_t* expected; } paths[] = {
        {L"C:\\Program Files\\Quorvel\\rcsetup32.exe", L"C:\\Program Files\\Quorvel\\SXIPX32.DLL"},
        {L"\\\\server\\share\\dir.v2\\a.exe", L"\\\\server\\share\\dir.v2\\SXIPX32.DLL"},
        {L"C:\\dir\\", L"C:\\dir\\SXIPX32.DLL"}, {L"rcsetup32.exe", L"SXIPX32.DLL"}, {L"", L"SXIPX32.DLL"},
    };
    for (const auto& c : paths) EXPECT_EQ(rc::PathBesideProgram(c.program, L"SXIPX32.DLL"), c.expected) << Narrow(c.program);

    struct Code { const wchar_t* code; int id; } codes[] = {
        {nullptr, IDS_STANDALONE}, {L"", IDS_STANDALONE}, {L"ip", IDS_IPX}, {L"IPX", IDS_IPX},
        {L"nB", IDS_NETBIOS}, {L"tc", IDS_TCPIP}, {L"I", 0}, {L"XY", 0}, {L"ST", 0}, {L" IP", 0},
    };
    for (const auto& c : codes) EXPECT_EQ(rc::TransportNameIdOfCode(c.code), c.id) << Narrow(c.code ? c.code : L"(null)");

    // The computer name is cut at 15 characters and at its first space; the
    // fallback text is shown whole.
    struct Name { bool read; const wchar_t* name; const wchar_t* expected; } names[] = {
        {true, L"ABCDEFGHIJKLMNO", L"ABCDEFGHIJKLMNO"}, {true, L"ABCDEFGHIJKLMNOP", L"ABCDEFGHIJKLMNO"},
        {true, L"SALES DESK", L"SALES"}, {true, L" LEADING", L""}, {false, L"IGNORED", L"not set"},
    };
    for (const auto& c : names) EXPECT_EQ(rc::MachineNoteName(c.read, c.name, L"not set"), c.expected) << Narrow(c.name);
}

const Address kLan = {0x00, 0x60, 0x08, 0x12, 0x34, 0x56}, kZeroEnd = {0x00, 0x60, 0x08, 0x00, 0x00, 0x00},
              kDest = {'D', 'E', 'S', 'T', 0x00, 0x00};

AdapterStatusFields Status(std::uint8_t type, std::uint8_t revMinor, std::uint16_t duration,
                           std::uint16_t maxSess, Address address = kLan) {
    AdapterStatusFields s{};
    s.adapter_type = type;
    s.rev_minor = revMinor;
    s.duration = duration;
    s.max_sess_pkt_size = maxSess;
    std::copy(address.begin(), address.end(), s.adapter_address);
    return s;
}

// The kind of a LANA from its status, the first matching row of its type
// deciding, and the dial-up suffix for the kinds that take the dial-up test.
TEST(AdapterKind, DecideAdapterEntryKindAndSuffixOfOneLana) {
    struct Case { const char* row; std::uint8_t retcode; AdapterStatusFields status; int kind; bool suffix; } cases[] = {
        {"FD", 0, Status(0xFD, 0x40, 7, 0xFFFF), IDS_NETBEUI, false},
        {"FD dial-up", 0, Status(0xFD, 0, 0, 0, kDest), IDS_NETBEUI, true},
        {"FF 0xFFFF", 0, Status(0xFF, 3, 9, 0xFFFF, kDest), IDS_TCPIP_NETBIOS, true},
        {"FF otherwise", 0, Status(0xFF, 0, 0, 0xFFFE, kZeroEnd), IDS_NETBEUI, true},
        {"FE rev_minor 1", 0, Status(0xFE, 1, 0, 1452, kDest), IDS_DECNET_TYPEFE, false},
        {"FE size 0", 0, Status(0xFE, 0, 0, 0), IDS_DECNET_TYPEFE, false},
        {"FE duration 1", 0, Status(0xFE, 0, 1, 1452), IDS_DECNET_TYPEFE, false},
        {"FE 1452", 0, Status(0xFE, 0, 0, 1452, kZeroEnd), IDS_IPX_NETBIOS, false},
        {"FE as FF 0xFFFF", 0, Status(0xFE, 0, 0, 0xFFFF, kZeroEnd), IDS_TCPIP_NETBIOS, true},
        {"FE as FF 0xFFFF LAN", 0, Status(0xFE, 0, 0, 0xFFFF), IDS_TCPIP_NETBIOS, false},
        {"FE as FF 1451", 0, Status(0xFE, 0, 0, 1451), IDS_NETBEUI, false},
        {"FE as FF 1453", 0, Status(0xFE, 0, 0, 1453, kDest), IDS_NETBEUI, true},
        {"00 rev 0x40", 0, Status(0x00, 0x40, 5, 0xFFFF, kZeroEnd), IDS_TCPIP_NETBIOS, true},
        {"00 rev 0x41", 0, Status(0x00, 0x41, 0, 0), IDS_IPX_NETBIOS, false},
        {"01", 0, Status(0x01, 0x40, 0, 0xFFFF, kZeroEnd), IDS_IPX_NETBIOS, false},
        {"02 duration 0", 0, Status(0x02, 0x40, 0, 0xFFFF, kZeroEnd), IDS_TCPIP_NETBIOS, false},
        {"02 duration 1", 0, Status(0x02, 0, 1, 0, kZeroEnd), IDS_DECNET_TYPE2, false},
        {"03", 0, Status(0x03, 0, 0, 0xFFFF, kZeroEnd), IDS_UNKNOWN_NETBIOS, false},
        {"FC", 0, Status(0xFC, 0, 0, 0xFFFF), IDS_UNKNOWN_NETBIOS, false},
        {"status failed", 0x23, Status(0xFD, 0, 0, 0, kDest), IDS_ADAPTER_NOT_FOUND, false},
    };
    for (const auto& c : cases) {
        rc::AdapterEntry e = rc::DecideAdapterEntry(true, c.retcode, c.status);
        EXPECT_EQ(std::tie(e.kindId, e.dialupSuffix), std::tie(c.kind, c.suffix)) << c.row;
    }
    rc::AdapterEntry e = rc::DecideAdapterEntry(false, 0, Status(0xFD, 0, 0, 0, kDest));  // no NetBIOS
    EXPECT_EQ(std::tie(e.kindId, e.dialupSuffix), std::tuple(IDS_ADAPTER_NOT_FOUND, false));
}

TEST(AdapterKind, IsDialupAddressDestOrThreeZeroBytesAtTheEnd) {
    struct Case { std::uint8_t address[6]; bool dialup; } cases[] = {
        {{'D', 'E', 'S', 'T', 0, 0}, true}, {{0, 0, 0, 0, 0, 0}, true}, {{'R', 'A', 'S', 0, 0, 0}, true},
        {{'D', 'E', 'S', 'T', 0, 1}, false}, {{'D', 'E', 'S', 'U', 0, 0}, false}, {{'d', 'e', 's', 't', 0, 0}, false},
        {{0, 0x20, 0xAF, 1, 0, 0}, false}, {{0, 0x20, 0xAF, 0, 1, 0}, false}, {{0, 0, 0, 0, 0, 1}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::IsDialupAddress(c.address), c.dialup) << int(c.address[0]) << "," << int(c.address[3]);
}

TEST(AdapterKind, AdapterEntryTextNumberKindAndSuffixCutTo35) {
    struct Case { int lana; const wchar_t* kind; bool suffix; const wchar_t* text; } cases[] = {
        {0, L"NetBEUI", false, L"0: NetBEUI"}, {7, L"IPX/SPX NetBIOS", true, L"7: IPX/SPX NetBIOS (dialup)"},
        {3, L"A kind text of thirty characters", true, L"3: A kind text of thirty characters"},  // 35 exactly
        {2, L"A kind text of thirty-three chars", false, L"2: A kind text of thirty-three char"},
        {1, L"TCP/IP NetBIOS over something", true, L"1: TCP/IP NetBIOS over something (d"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::AdapterEntryText(c.lana, c.kind, L" (dialup)", c.suffix), c.text) << rc::test::Narrow(c.text);
}

}  // namespace

#include "transport/adapter_kind.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace {

using rc::AdapterStatusFields;

AdapterStatusFields Status(std::uint8_t type, std::uint8_t revMinor, std::uint16_t duration,
                           std::uint16_t maxSess, std::initializer_list<std::uint8_t> address) {
    AdapterStatusFields s{};
    s.adapter_type = type;
    s.rev_minor = revMinor;
    s.duration = duration;
    s.max_sess_pkt_size = maxSess;
    std::size_t i = 0;
    for (std::uint8_t b : address) s.adapter_address[i++] = b;
    return s;
}

TEST(ClassifyAdapter, FirstMatchingRowOfTheTypeDecides) {
    struct Case {
        const char* row;
        std::uint8_t type, revMinor;
        std::uint16_t duration, maxSess;
        int kind;
        bool dialupTest;
    } cases[] = {
        {"FD", 0xFD, 0, 0, 0, IDS_NETBEUI, true},
        {"FD whatever else", 0xFD, 0x40, 7, 0xFFFF, IDS_NETBEUI, true},
        {"FF 0xFFFF", 0xFF, 0, 0, 0xFFFF, IDS_TCPIP_NETBIOS, true},
        {"FF 0xFFFF other fields", 0xFF, 3, 9, 0xFFFF, IDS_TCPIP_NETBIOS, true},
        {"FF otherwise", 0xFF, 0, 0, 1452, IDS_NETBEUI, true},
        {"FF otherwise 0xFFFE", 0xFF, 0, 0, 0xFFFE, IDS_NETBEUI, true},
        {"FF otherwise 0", 0xFF, 0, 0, 0, IDS_NETBEUI, true},
        {"FE rev_minor 1", 0xFE, 1, 0, 1452, IDS_DECNET_TYPEFE, false},
        {"FE rev_minor 0xFF", 0xFE, 0xFF, 0, 0xFFFF, IDS_DECNET_TYPEFE, false},
        {"FE size 0", 0xFE, 0, 0, 0, IDS_DECNET_TYPEFE, false},
        {"FE duration 1", 0xFE, 0, 1, 1452, IDS_DECNET_TYPEFE, false},
        {"FE duration 0xFFFF", 0xFE, 0, 0xFFFF, 0xFFFF, IDS_DECNET_TYPEFE, false},
        {"FE 1452", 0xFE, 0, 0, 1452, IDS_IPX_NETBIOS, false},
        {"FE as FF: 0xFFFF", 0xFE, 0, 0, 0xFFFF, IDS_TCPIP_NETBIOS, true},
        {"FE as FF: 1451", 0xFE, 0, 0, 1451, IDS_NETBEUI, true},
        {"FE as FF: 1453", 0xFE, 0, 0, 1453, IDS_NETBEUI, true},
        {"FE as FF: 1", 0xFE, 0, 0, 1, IDS_NETBEUI, true},
        {"00 rev 0x40", 0x00, 0x40, 0, 0, IDS_TCPIP_NETBIOS, true},
        {"00 rev 0x40 other fields", 0x00, 0x40, 5, 0xFFFF, IDS_TCPIP_NETBIOS, true},
        {"00 rev 0x41", 0x00, 0x41, 0, 0, IDS_IPX_NETBIOS, false},
        {"00 rev 0", 0x00, 0, 0, 0xFFFF, IDS_IPX_NETBIOS, false},
        {"01", 0x01, 0x40, 0, 0xFFFF, IDS_IPX_NETBIOS, false},
        {"02 duration 0", 0x02, 0, 0, 0, IDS_TCPIP_NETBIOS, false},
        {"02 duration 0, 0xFFFF", 0x02, 0x40, 0, 0xFFFF, IDS_TCPIP_NETBIOS, false},
        {"02 duration 1", 0x02, 0, 1, 0, IDS_DECNET_TYPE2, false},
        {"03", 0x03, 0, 0, 0xFFFF, IDS_UNKNOWN_NETBIOS, false},
        {"FC", 0xFC, 0, 0, 0xFFFF, IDS_UNKNOWN_NETBIOS, false},
        {"80", 0x80, 0x40, 0, 0, IDS_UNKNOWN_NETBIOS, false},
    };
    for (const auto& c : cases) {
        rc::AdapterClass k = rc::ClassifyAdapter(c.type, c.revMinor, c.duration, c.maxSess);
        EXPECT_EQ(k.kindId, c.kind) << c.row;
        EXPECT_EQ(k.dialupTest, c.dialupTest) << c.row;
    }
}

TEST(IsDialupAddress, DestOrThreeZeroBytesAtTheEnd) {
    struct Case { std::uint8_t address[6]; bool dialup; } cases[] = {
        {{0x44, 0x45, 0x53, 0x54, 0x00, 0x00}, true},   // "DEST"
        {{0x00, 0x20, 0xAF, 0x00, 0x00, 0x00}, true},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, true},
        {{0x52, 0x41, 0x53, 0x00, 0x00, 0x00}, true},
        {{0x44, 0x45, 0x53, 0x54, 0x00, 0x01}, false},  // "DEST" with a non-zero end
        {{0x44, 0x45, 0x53, 0x55, 0x00, 0x00}, false},  // "DESU"
        {{0x64, 0x65, 0x73, 0x74, 0x00, 0x00}, false},  // "dest": bytes, not letters
        {{0x00, 0x20, 0xAF, 0x00, 0x00, 0x01}, false},
        {{0x00, 0x20, 0xAF, 0x01, 0x00, 0x00}, false},
        {{0x00, 0x20, 0xAF, 0x00, 0x01, 0x00}, false},
        {{0x00, 0x00, 0x00, 0x00, 0x00, 0x01}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rc::IsDialupAddress(c.address), c.dialup)
            << int(c.address[0]) << "," << int(c.address[3]) << "," << int(c.address[5]);
    }
}

TEST(DecideAdapterEntry, KindAndSuffixOfOneLana) {
    const std::initializer_list<std::uint8_t> lan = {0x00, 0x60, 0x08, 0x12, 0x34, 0x56};
    const std::initializer_list<std::uint8_t> zeroEnd = {0x00, 0x60, 0x08, 0x00, 0x00, 0x00};
    const std::initializer_list<std::uint8_t> dest = {'D', 'E', 'S', 'T', 0x00, 0x00};
    struct Case {
        const char* name;
        bool found;
        std::uint8_t retcode;
        AdapterStatusFields status;
        int kind;
        bool suffix;
    } cases[] = {
        {"no NetBIOS", false, 0, Status(0xFD, 0, 0, 0, dest), IDS_ADAPTER_NOT_FOUND, false},
        {"status failed", true, 0x23, Status(0xFD, 0, 0, 0, dest), IDS_ADAPTER_NOT_FOUND, false},
        {"status failed 0xFF", true, 0xFF, Status(0xFF, 0, 0, 0xFFFF, zeroEnd), IDS_ADAPTER_NOT_FOUND, false},
        {"NetBEUI on a LAN card", true, 0, Status(0xFD, 0, 0, 0, lan), IDS_NETBEUI, false},
        {"NetBEUI dial-up DEST", true, 0, Status(0xFD, 0, 0, 0, dest), IDS_NETBEUI, true},
        {"NetBEUI dial-up zero end", true, 0, Status(0xFF, 0, 0, 100, zeroEnd), IDS_NETBEUI, true},
        {"TCP/IP type 0 dial-up", true, 0, Status(0x00, 0x40, 0, 0, zeroEnd), IDS_TCPIP_NETBIOS, true},
        {"TCP/IP type FF dial-up", true, 0, Status(0xFF, 0, 0, 0xFFFF, dest), IDS_TCPIP_NETBIOS, true},
        {"TCP/IP type FE dial-up", true, 0, Status(0xFE, 0, 0, 0xFFFF, zeroEnd), IDS_TCPIP_NETBIOS, true},
        {"TCP/IP type FE on a LAN", true, 0, Status(0xFE, 0, 0, 0xFFFF, lan), IDS_TCPIP_NETBIOS, false},
        // Kinds without the dial-up test never get the suffix, whatever
        // adapters came before.
        {"IPX type 1 zero end", true, 0, Status(0x01, 0, 0, 0, zeroEnd), IDS_IPX_NETBIOS, false},
        {"IPX type 0 DEST", true, 0, Status(0x00, 0, 0, 0, dest), IDS_IPX_NETBIOS, false},
        {"IPX type FE zero end", true, 0, Status(0xFE, 0, 0, 1452, zeroEnd), IDS_IPX_NETBIOS, false},
        {"TCP/IP type 2 zero end", true, 0, Status(0x02, 0, 0, 0, zeroEnd), IDS_TCPIP_NETBIOS, false},
        {"DECnet FE DEST", true, 0, Status(0xFE, 1, 0, 0, dest), IDS_DECNET_TYPEFE, false},
        {"DECnet 2 zero end", true, 0, Status(0x02, 0, 9, 0, zeroEnd), IDS_DECNET_TYPE2, false},
        {"unknown zero end", true, 0, Status(0x10, 0, 0, 0, zeroEnd), IDS_UNKNOWN_NETBIOS, false},
    };
    for (const auto& c : cases) {
        rc::AdapterEntry e = rc::DecideAdapterEntry(c.found, c.retcode, c.status);
        EXPECT_EQ(e.kindId, c.kind) << c.name;
        EXPECT_EQ(e.dialupSuffix, c.suffix) << c.name;
    }
}

TEST(AdapterEntryText, NumberKindAndSuffix) {
    struct Case { int lana; const wchar_t* kind; bool suffix; const wchar_t* text; } cases[] = {
        {0, L"NetBEUI", false, L"0: NetBEUI"},
        {1, L"TCP/IP NetBIOS", true, L"1: TCP/IP NetBIOS (dialup)"},
        {5, L"Not found", false, L"5: Not found"},
        {7, L"IPX/SPX NetBIOS", true, L"7: IPX/SPX NetBIOS (dialup)"},
        // Cut to 35 characters.
        {3, L"A kind text of thirty characters", true, L"3: A kind text of thirty characters"},
        {2, L"A kind text of thirty-three chars", false, L"2: A kind text of thirty-three char"},
        {1, L"TCP/IP NetBIOS over something", true, L"1: TCP/IP NetBIOS over something (d"},
        {4, L"Kind of exactly 32 characters..!", false, L"4: Kind of exactly 32 characters..!"},
        {6, L"", true, L"6:  (dialup)"},
    };
    for (const auto& c : cases) {
        std::wstring text = rc::AdapterEntryText(c.lana, c.kind, L" (dialup)", c.suffix);
        EXPECT_EQ(text, c.text) << c.text;
        EXPECT_LE(text.size(), rc::kAdapterEntryMax);
    }
}

}  // namespace

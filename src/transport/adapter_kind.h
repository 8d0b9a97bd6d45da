// What the NetBIOS adapter list shows for each LANA: the adapter kind that
// the adapter status reports, the " (dialup)" suffix, and the entry text.
// The Windows side only runs the Netbios reset and status calls and hands
// the status fields here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rc {

// Number of LANAs listed, 0 to 7.
inline constexpr int kAdapterCount = 8;
// Longest entry text, in characters.
inline constexpr std::size_t kAdapterEntryMax = 35;

// The fields of the adapter status that decide the kind, by their
// published names.
struct AdapterStatusFields {
    std::uint8_t adapter_address[6];
    std::uint8_t rev_minor;
    std::uint8_t adapter_type;
    std::uint16_t duration;
    std::uint16_t max_sess_pkt_size;
};

// The kind of an adapter that answered: its string id, and whether the
// dial-up test applies to it.
struct AdapterClass {
    int kindId;
    bool dialupTest;
};

// Classifies an adapter that answered by its type; within a type the first
// matching row decides:
//   0xFD                                         NetBEUI           test
//   0xFF  max_sess_pkt_size 0xFFFF                TCP/IP NetBIOS    test
//         otherwise                               NetBEUI           test
//   0xFE  rev_minor > 0, or max_sess_pkt_size 0,
//         or duration not 0                       DECnet (type FE)
//         max_sess_pkt_size 1452                  IPX/SPX NetBIOS
//         otherwise as 0xFF                                         test
//   0x00  rev_minor 0x40                          TCP/IP NetBIOS    test
//         otherwise                               IPX/SPX NetBIOS
//   0x01                                          IPX/SPX NetBIOS
//   0x02  duration 0                              TCP/IP NetBIOS
//         otherwise                               DECnet (type 2)
//   any other                                     Unknown NetBIOS
AdapterClass ClassifyAdapter(std::uint8_t adapterType, std::uint8_t revMinor, std::uint16_t duration,
                             std::uint16_t maxSessPktSize);

// True for a dial-up adapter's address: "DEST" and two zero bytes, or any
// address whose bytes 3, 4 and 5 are all zero.
bool IsDialupAddress(const std::uint8_t (&address)[6]);

// What one LANA's entry shows: the kind's string id and whether the
// " (dialup)" suffix follows it.
struct AdapterEntry {
    int kindId;
    bool dialupSuffix;
};

// Decides one LANA's entry: "Not found" without NetBIOS or when the status
// request failed (statusReturnCode not 0); otherwise the classified kind,
// with the suffix when the dial-up test applies and the address is a
// dial-up one.
AdapterEntry DecideAdapterEntry(bool netbiosFound, std::uint8_t statusReturnCode, const AdapterStatusFields& status);

// The entry text: "%d: " with the LANA number, the kind text, then the
// suffix text when it applies; at most 35 characters.
std::wstring AdapterEntryText(int lana, std::wstring_view kindText, std::wstring_view suffixText, bool dialupSuffix);

}  // namespace rc

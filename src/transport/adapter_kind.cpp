#include "transport/adapter_kind.h"

#include "resources/resource.h"
#include "shell/text.h"

namespace rc {

namespace {

// Adapter types reported in the status.
constexpr std::uint8_t kTypeNetBeui = 0xFD;
constexpr std::uint8_t kTypeLan = 0xFF;
constexpr std::uint8_t kTypeFe = 0xFE;
constexpr std::uint8_t kTypeZero = 0x00;
constexpr std::uint8_t kTypeOne = 0x01;
constexpr std::uint8_t kTypeTwo = 0x02;

constexpr std::uint16_t kTcpIpSessionPacket = 0xFFFF;
constexpr std::uint16_t kIpxSessionPacket = 1452;
constexpr std::uint8_t kTcpIpRevMinor = 0x40;

// Type 0xFF: NetBIOS over TCP/IP reports the largest session packet.
AdapterClass AsLanAdapter(std::uint16_t maxSessPktSize) {
    return AdapterClass{maxSessPktSize == kTcpIpSessionPacket ? IDS_TCPIP_NETBIOS : IDS_NETBEUI, true};
}

}  // namespace

AdapterClass ClassifyAdapter(std::uint8_t adapterType, std::uint8_t revMinor, std::uint16_t duration,
                             std::uint16_t maxSessPktSize) {
    switch (adapterType) {
    case kTypeNetBeui:
        return AdapterClass{IDS_NETBEUI, true};
    case kTypeLan:
        return AsLanAdapter(maxSessPktSize);
    case kTypeFe:
        if (revMinor > 0 || maxSessPktSize == 0 || duration != 0) return AdapterClass{IDS_DECNET_TYPEFE, false};
        if (maxSessPktSize == kIpxSessionPacket) return AdapterClass{IDS_IPX_NETBIOS, false};
        return AsLanAdapter(maxSessPktSize);
    case kTypeZero:
        if (revMinor == kTcpIpRevMinor) return AdapterClass{IDS_TCPIP_NETBIOS, true};
        return AdapterClass{IDS_IPX_NETBIOS, false};
    case kTypeOne:
        return AdapterClass{IDS_IPX_NETBIOS, false};
    case kTypeTwo:
        if (duration == 0) return AdapterClass{IDS_TCPIP_NETBIOS, false};
        return AdapterClass{IDS_DECNET_TYPE2, false};
    default:
        return AdapterClass{IDS_UNKNOWN_NETBIOS, false};
    }
}

bool IsDialupAddress(const std::uint8_t (&address)[6]) {
    static constexpr std::uint8_t kDest[6] = {0x44, 0x45, 0x53, 0x54, 0x00, 0x00};
    bool dest = true;
    for (int i = 0; i < 6; ++i)
        if (address[i] != kDest[i]) dest = false;
    return dest || (address[3] == 0 && address[4] == 0 && address[5] == 0);
}

AdapterEntry DecideAdapterEntry(bool netbiosFound, std::uint8_t statusReturnCode, const AdapterStatusFields& status) {
    if (!netbiosFound || statusReturnCode != 0) return AdapterEntry{IDS_ADAPTER_NOT_FOUND, false};
    AdapterClass kind = ClassifyAdapter(status.adapter_type, status.rev_minor, status.duration,
                                        status.max_sess_pkt_size);
    return AdapterEntry{kind.kindId, kind.dialupTest && IsDialupAddress(status.adapter_address)};
}

std::wstring AdapterEntryText(int lana, std::wstring_view kindText, std::wstring_view suffixText, bool dialupSuffix) {
    std::wstring text = FormatText(L"%d: ", {lana});
    text.append(kindText);
    if (dialupSuffix) text.append(suffixText);
    if (text.size() > kAdapterEntryMax) text.resize(kAdapterEntryMax);
    return text;
}

}  // namespace rc

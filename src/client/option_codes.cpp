#include "client/option_codes.h"

#include "resources/resource.h"
#include "shell/text.h"

namespace rc {

bool OptionTokens::Next(std::wstring_view& token) {
    std::size_t start = 0;
    while (start < rest_.size() && rest_[start] == L' ') ++start;
    if (start == rest_.size()) {
        rest_ = std::wstring_view();
        return false;
    }
    std::size_t end = start;
    while (end < rest_.size() && rest_[end] != L' ') ++end;
    token = rest_.substr(start, end - start);
    rest_ = rest_.substr(end);
    return true;
}

int TransportIdOfCode(std::wstring_view value) {
    std::wstring_view code = Head(value, 2);
    if (EqualsNoCase(code, L"IP")) return IDS_IPX;
    if (EqualsNoCase(code, L"NB")) return IDS_NETBIOS;
    if (EqualsNoCase(code, L"TC")) return IDS_TCPIP;
    return 0;
}

int FirstPositionOf(const std::vector<int>& data, int value) {
    for (std::size_t i = 0; i < data.size(); ++i)
        if (data[i] == value) return static_cast<int>(i);
    return -1;
}

std::int64_t AdapterNumberOfValue(std::wstring_view value) {
    if (value.empty()) return 1;
    // wchar_t is signed on some platforms; widen before subtracting so that
    // no character can overflow the distance.
    std::int64_t distance = static_cast<std::int64_t>(value[0]) - static_cast<std::int64_t>(L'0');
    return distance > 9 ? 9 : distance;
}

int SelectAdapter(const std::vector<int>& adapters, std::int64_t number, int current) {
    int selected = current;
    for (std::size_t i = 0; i < adapters.size(); ++i)
        if (static_cast<std::int64_t>(adapters[i]) == number) selected = static_cast<int>(i);
    return selected;
}

int TransportIdAt(const std::vector<int>& transports, int transport) {
    if (transport < 0 || static_cast<std::size_t>(transport) >= transports.size()) return 0;
    return transports[static_cast<std::size_t>(transport)];
}

void AppendTransport(std::wstring& out, const std::vector<int>& transports, int transport) {
    switch (TransportIdAt(transports, transport)) {
    case IDS_IPX:
        out.append(L"/UIP ");
        break;
    case IDS_NETBIOS:
        out.append(L"/UNB ");
        break;
    case IDS_TCPIP:
        out.append(L"/UTC ");
        break;
    default:
        break;
    }
}

void AppendAdapter(std::wstring& out, const std::vector<int>& adapters, int adapter) {
    if (adapter < 0 || static_cast<std::size_t>(adapter) >= adapters.size()) return;
    int data = adapters[static_cast<std::size_t>(adapter)];
    // The sign bit of the low 16 bits decides, whatever the upper bits hold.
    if ((static_cast<std::uint32_t>(data) & 0x8000u) != 0) return;
    out.append(L"/A");
    out.append(DecimalText(static_cast<std::uint32_t>(data)));
    out.push_back(L' ');
}

}  // namespace rc

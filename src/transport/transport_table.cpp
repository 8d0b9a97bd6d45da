#include "transport/transport_table.h"

#include "client/option_codes.h"
#include "resources/resource.h"
#include "shell/text.h"

namespace rc {

const TransportRow kTransports[kTransportCount] = {
    {IDS_IPX, L"SXIPX32.DLL", L"CXIPX.DLL", IDC_TR_IPX_STATUS},
    {IDS_NETBIOS, L"SXNBS32.DLL", L"CXNBS.DLL", IDC_TR_NETBIOS_STATUS},
    {IDS_TCPIP, L"SXTCP32.DLL", L"CXTCP.DLL", IDC_TR_TCPIP_STATUS},
};

const wchar_t* TransportModule(const TransportRow& row, Side side) {
    return side == Side::Client ? row.clientModule : row.controlModule;
}

bool StaysInTransportList(Side side, bool stackFound, bool moduleInstalled) {
    // Both sides keep a transport by its module alone; see the header for
    // why the Client side does not drop a transport whose stack is missing.
    (void)side;
    (void)stackFound;
    return moduleInstalled;
}

std::wstring TransportStatusLine(std::wstring_view stackText, std::wstring_view moduleFormat,
                                 std::wstring_view moduleName) {
    std::wstring line(stackText);
    line += L", ";
    line += FormatText(moduleFormat, {moduleName}, 256);
    if (line.size() > 255) line.resize(255);
    return line;
}

std::wstring PathBesideProgram(std::wstring_view programPath, std::wstring_view name) {
    std::size_t slash = programPath.rfind(L'\\');
    std::wstring path;
    if (slash != std::wstring_view::npos) path.assign(programPath.substr(0, slash + 1));
    path += name;
    return path;
}

int TransportNameIdOfCode(const wchar_t* code) {
    if (code == nullptr || *code == L'\0') return IDS_STANDALONE;
    return TransportIdOfCode(code);
}

}  // namespace rc

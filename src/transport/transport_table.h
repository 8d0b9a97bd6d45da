// The three network transports, the product's per-transport modules for
// each side, and the decisions the Transport list and the "Transports
// available" report take from a stack probe and a module test. The Windows
// side runs the probes and the file tests and hands their answers here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rc {

// Which program a transport is offered to: the Client station (STATN32) or
// the Control (VIEWDESK). It chooses the module of each transport.
enum class Side { Client, Control };

inline constexpr std::size_t kTransportCount = 3;

// One transport. Its id is the string id of its name ("IPX", "NetBIOS",
// "TCP/IP"), which is also the data of its Transport list entry.
struct TransportRow {
    int id;
    const wchar_t* clientModule;
    const wchar_t* controlModule;
    int statusField;  // its line in the "Transports available" dialog
};

// In list order: IPX, NetBIOS, TCP/IP. Every loop over transports, the
// Transport list and the rows of the report follow this order.
extern const TransportRow kTransports[kTransportCount];

// The module file of a transport for one side, e.g. L"SXIPX32.DLL".
const wchar_t* TransportModule(const TransportRow& row, Side side);

// Usable: the stack is there and the side's module is installed.
inline bool IsTransportUsable(bool stackFound, bool moduleInstalled) { return stackFound && moduleInstalled; }

// Whether a transport stays in the Transport list.
//
// Control side: exactly when its module is installed; the stack plays no
// part, so an icon can be set up on a machine whose network comes later.
//
// Client side: the same rule. A transport whose stack is not found stays
// while its Client module is installed. The Client dialog applies the
// stored option string before it prunes; dropping the stored transport
// because a probe said "not found" at that moment (a stack not yet bound,
// an IPX probe that this machine's WinSock cannot answer) would leave the
// list with no selection, and an OK would then write a string without a
// transport, which the dialog refuses to open next time. Keeping it loses
// nothing: every usable transport is still offered, the report says which
// stacks are missing, and the dialog locks itself when nothing at all is
// usable.
bool StaysInTransportList(Side side, bool stackFound, bool moduleInstalled);

// One status line of the report: the stack text, ", ", then the module
// format ("QRV DLL (%s) installed" or "... not installed") with the module
// file name in place of "%s". At most 255 characters.
std::wstring TransportStatusLine(std::wstring_view stackText, std::wstring_view moduleFormat,
                                 std::wstring_view moduleName);

// The path of a file beside the running program: everything after the last
// backslash of the program's path replaced by name. A path without a
// backslash gives the name alone.
std::wstring PathBesideProgram(std::wstring_view programPath, std::wstring_view name);

// The string id of the Transport list entry that a transport code names:
// "IP", "NB", "TC" (first two characters, any case, as the /U switch reads
// them) give 100, 101, 102; no code (null or empty) gives 103,
// "Standalone"; any other code gives 0.
int TransportNameIdOfCode(const wchar_t* code);

}  // namespace rc

// The network transports on the platform: the IPX, NetBIOS and TCP/IP stack
// probes, the test for the product's transport modules beside the running
// program, the pruning of the Transport list, the "Transports available"
// report and the NetBIOS adapter list.
//
// Nothing is cached: every call probes and tests afresh.
#pragma once

#include <windows.h>
#include <nb30.h>

#include "shell/owners_win.h"
#include "transport/transport_table.h"

namespace rc {

// WinSock 1.1 from WSOCK32.DLL, loaded by each probe (and kept mapped from
// the first, see the source) and never linked: found when an
// IPX datagram socket (AF_IPX, SOCK_DGRAM, NSPROTO_IPX) or a TCP stream
// socket opens. No system box is shown when the library is missing.
bool ProbeIpxStack();
bool ProbeTcpIpStack();

// Found when NetBIOS refuses an undefined command (0x7F) as an illegal
// one; a block left untouched, or any other answer, means no NetBIOS.
bool ProbeNetBiosStack();

// Whether moduleName can be opened for reading in the folder of the
// running executable (not the program directory).
bool IsModuleInstalled(const wchar_t* moduleName);

// Removes from the dialog's Transport list (IDC_CL_TRANSPORT, which the
// Control template shares) each transport
// that is not offered on that side: on both sides, the ones whose module is
// not installed (see StaysInTransportList for why a missing stack does not
// remove one). Every stack is probed all the same. Removing the selected
// entry leaves the list with no selection.
void PruneTransportList(HWND dialog, Side side);

// True when no transport has both its stack found and the side's module
// installed.
bool NoUsableTransport(Side side);

// Runs the "Transports available" report for a side (template
// IDD_TRANSPORTS, help context HELP_TRANSPORTS). OK gives true, Escape or
// the close box false; Help shows help and leaves the report open.
bool RunTransportsDialog(HWND owner, Side side);

// Fills a NetBIOS adapter list: one entry per LANA 0..7, in that order,
// each with its LANA number as data, named by the adapter kind that
// NetBIOS reports ("0: NetBEUI", "1: TCP/IP NetBIOS (dialup)", "5: Not
// found"). Leaves no entry selected. Shows the wait cursor meanwhile.
void FillAdapterList(HWND list);

// What the transport code reaches of the network. The real probes and the
// real Netbios by default; tests put their own answers here. The NetBIOS
// probe itself goes through `netbios`, so a test's Netbios sees every call.
struct NetworkPlatform {
    bool (*probeIpx)();
    bool (*probeNetBios)();
    bool (*probeTcpIp)();
    UCHAR(APIENTRY* netbios)(PNCB block);
};
extern NetworkPlatform g_network;
// The real platform, to put back.
extern const NetworkPlatform kRealNetwork;

}  // namespace rc

// Applies fuzzed Program Manager command lines to the control settings and
// composes them back, checking the limits of every value read, the
// Program Manager limit flag, and that a composed string reads back to
// itself.
#include "client/option_codes.h"
#include "control/control_options.h"
#include "resources/resource.h"
#include "shell/text.h"

#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string>

using fuzz::Check;
using fuzz::Decode;

namespace {

bool InRange(int position, std::size_t size) {
    return position == -1 || (position >= 0 && static_cast<std::size_t>(position) < size);
}

// A number field written by the parse: decimal within low..high.
bool IsNumberIn(const std::wstring& field, int low, int high) {
    if (field.empty()) return true;
    int n = rc::LeadingNumber(field);
    return rc::DecimalText(n) == field && n >= low && n <= high;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring line = Decode(data, size);

    rc::ControlLists standard;
    standard.adapters = {0, 1, 2, 3, 4, 5, 6, 7};
    standard.transports = {IDS_IPX, IDS_NETBIOS, IDS_TCPIP};
    rc::ControlLists odd;
    odd.adapters = {9, -1, 9, 40000};
    odd.transports = {IDS_NETBIOS};

    for (const rc::ControlLists* lists : {&standard, &odd}) {
        const rc::ControlLists& l = *lists;
        rc::ControlSettings s;
        // The core's own table stands in for the platform's upper-casing.
        const bool present = rc::ParseControlOptions(line, s, l, rc::UpperChar);
        Check(present == !line.empty());
        if (line.find(L' ') == std::wstring::npos) Check(s == rc::ControlSettings());

        Check(s.name.size() <= rc::kControlNameMax && rc::UpperText(s.name) == s.name);
        Check(InRange(s.transport, l.transports.size()) && InRange(s.adapter, l.adapters.size()));
        Check(s.colourDepth == -1 || (s.colourDepth >= rc::kDepthMono && s.colourDepth <= rc::kDepth256));
        Check(IsNumberIn(s.cacheSize, 128, 4096) && IsNumberIn(s.maxClients, 2, 30));
        Check(s.connectTo.size() <= rc::kFieldTextMax && rc::UpperText(s.connectTo) == s.connectTo);
        Check(s.messageFile.size() <= rc::kFieldTextMax && s.dial.size() <= rc::kFieldTextMax);

        const bool remoteAvailable = rc::TransportIdAt(l.transports, s.transport) != IDS_TCPIP;
        const rc::ComposedControl composed = rc::ComposeControlOptions(s, l, remoteAvailable);
        Check(composed.overLimit == (composed.text.size() > rc::kProgramManagerLimit));
        Check(composed.text.empty() || composed.text.back() == L' ');
        if (lists != &standard) continue;

        // Everything composed lies before /REMOTE and reads back as it was.
        rc::ControlSettings again;
        Check(rc::ParseControlOptions(L"VIEWDESK.EXE " + composed.text, again, l, rc::UpperChar));
        const bool againAvailable = rc::TransportIdAt(l.transports, again.transport) != IDS_TCPIP;
        Check(rc::ComposeControlOptions(again, l, againAvailable).text == composed.text);
    }
    return 0;
}

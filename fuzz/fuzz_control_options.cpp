// Applies fuzzed Program Manager command lines to the control settings and
// composes them back, checking the limits of every value read, the
// Program Manager limit flag, and that a composed string reads back to
// itself.
#include "client/option_codes.h"
#include "control/control_options.h"
#include "resources/resource.h"
#include "shell/text.h"

#include "fuzz_support.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring line = fuzz::Decode(data, size);
    const rc::ControlLists standard{{0, 1, 2, 3, 4, 5, 6, 7}, {IDS_IPX, IDS_NETBIOS, IDS_TCPIP}};
    const rc::ControlLists odd{{9, -1, 9, 40000}, {IDS_NETBIOS}};
    for (const rc::ControlLists* lists : {&standard, &odd}) {
        const rc::ControlLists& l = *lists;
        rc::ControlSettings s;
        Check(rc::ParseControlOptions(line, s, l, rc::UpperChar) == !line.empty());
        if (line.find(L' ') == std::wstring::npos) Check(s == rc::ControlSettings());
        Check(s.name.size() <= rc::kControlNameMax && rc::UpperText(s.name) == s.name);
        Check(fuzz::InRange(s.transport, l.transports.size()) && fuzz::InRange(s.adapter, l.adapters.size()));
        Check(s.colourDepth == -1 || (s.colourDepth >= rc::kDepthMono && s.colourDepth <= rc::kDepth256));
        Check(fuzz::NumberField(s.cacheSize, 128, 4096) && fuzz::NumberField(s.maxClients, 2, 30));
        Check(s.connectTo.size() <= rc::kFieldTextMax && rc::UpperText(s.connectTo) == s.connectTo);
        Check(s.messageFile.size() <= rc::kFieldTextMax && s.dial.size() <= rc::kFieldTextMax);

        const rc::ComposedControl composed =
            rc::ComposeControlOptions(s, l, rc::TransportIdAt(l.transports, s.transport) != IDS_TCPIP);
        Check(composed.overLimit == (composed.text.size() > rc::kProgramManagerLimit));
        Check(composed.text.empty() || composed.text.back() == L' ');
        if (lists != &standard) continue;
        // Everything composed lies before /REMOTE and reads back as it was.
        rc::ControlSettings again;
        Check(rc::ParseControlOptions(L"VIEWDESK.EXE " + composed.text, again, l, rc::UpperChar));
        Check(rc::ComposeControlOptions(again, l, rc::TransportIdAt(l.transports, again.transport) != IDS_TCPIP).text ==
              composed.text);
    }
    return 0;
}

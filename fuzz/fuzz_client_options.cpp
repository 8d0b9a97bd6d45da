// Reads fuzzed client option texts and composes them back, checking the
// limits of every value read, that a text without tokens changes nothing,
// and that a composed string reads back to itself.
#include "client/client_options.h"
#include "client/option_codes.h"
#include "resources/resource.h"
#include "shell/text.h"

#include "fuzz_support.h"

using fuzz::Check;
using fuzz::InRange;

namespace {

bool IsCode(const std::wstring& code) {
    return code.empty() || (code.size() <= rc::kPasswordCodeTextMax && rc::NumberAtStart(code) != 0);
}

void CheckRecord(const rc::ClientSettings& s, const rc::ClientLists& l) {
    const rc::ClientHeldSettings& h = s.held;
    Check(s.name.size() <= rc::kClientNameMax && rc::UpperText(s.name) == s.name);
    Check(IsCode(s.passwordCode) && IsCode(s.bridgeCode));
    Check(InRange(s.transport, l.transports.size()) && InRange(s.adapter, l.adapters.size()));
    Check(InRange(s.port, l.ports.size()) && InRange(s.baud, l.bauds.size()) && InRange(s.modem, l.modems.size()));
    Check(s.publicCode.size() <= rc::kFieldTextMax && s.dialbackFile.size() <= rc::kFieldTextMax);
    // Timeouts of at most 30; a negative one is kept as read.
    Check(fuzz::NumberField(s.inactivityTimeout, INT32_MIN, 30) && fuzz::NumberField(s.bridgeTimeout, INT32_MIN, 30));
    Check(s.bridgeTimeout != L"1");
    Check(h.logoffArgument.size() <= rc::kLogoffArgumentMax && h.securityKey.size() <= rc::kSecurityKeyMax &&
          h.videoMode.size() <= rc::kVideoModeMax);
    Check(h.lookupDelay >= -1 && h.lookupDelay <= 6 && h.bufferCount <= 3);
    Check(h.cacheSize == -1 || (h.cacheSize >= 128 && h.cacheSize <= 4096));
    Check(s.cacheSizeField == (h.cacheSize == -1 ? std::wstring() : rc::DecimalText(h.cacheSize)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = fuzz::Decode(data, size);
    rc::OptionTokens probe(rc::Head(text, rc::kClientOptionTextMax));
    std::wstring_view first;
    const bool hasToken = probe.Next(first);

    static const rc::ClientLists standard{
        {L"COM1", L"COM2", L"COM3", L"COM4"},
        {L"1200", L"2400", L"4800", L"9600", L"14400", L"19200", L"38400", L"57600", L"115200"},
        {L"Generic Modem", L"Hayes Optima 288", L"US Robotics Sportster", L"Hayes Accura 56K", L"Fast One", L"Fast Two"},
        {0, 1, 2, 3, 4, 5, 6, 7}, {IDS_IPX, IDS_NETBIOS, IDS_TCPIP}};
    // Lists as a machine may leave them: short, empty, with odd data.
    static const rc::ClientLists odd{{L"COM1"}, {}, {L"", L"x y"}, {9, -1, 9, 70000, 65535}, {IDS_TCPIP}};
    for (const rc::ClientLists* lists : {&standard, &odd}) {
        const rc::ClientLists& l = *lists;
        rc::ClientSettings s;
        // The core's own table stands in for the platform's upper-casing.
        bool ok = rc::ParseClientOptions(text, s, l, rc::UpperChar);
        CheckRecord(s, l);
        Check(ok == (!s.name.empty() && s.transport >= 0));
        if (!hasToken) Check(!ok && s == rc::ClientSettings());
        // Text beyond the first 255 characters is never read.
        rc::ClientSettings cut;
        Check(rc::ParseClientOptions(rc::Head(text, rc::kClientOptionTextMax), cut, l, rc::UpperChar) == ok &&
              cut == s);

        const std::wstring full = rc::ComposeClientOptions(s, l, true, false);
        const std::wstring main = rc::ComposeClientOptions(s, l, false, false);
        Check(full.starts_with(main) && (s.bridge != rc::BridgeMode::Off || full == main));
        // The classroom edition writes what the default edition writes of
        // the same values less those it has no control for.
        rc::ClientSettings reduced = s;
        reduced.passwordCode.clear(), reduced.publicCode.clear(), reduced.inactivityTimeout.clear();
        reduced.options.fill(false);
        const std::wstring classroom = rc::ComposeClientOptions(s, l, true, true);
        Check(classroom == rc::ComposeClientOptions(reduced, l, false, false));
        if (lists != &standard) continue;

        // A composed string reads back to itself, with two known exceptions:
        // an inactivity timeout of 1 (kept by /M, but read as 2 by the /T it
        // is written as) and a bridge part without a serial port, whose
        // password code then stands first and is taken for a port. Once more
        // round, the string settles.
        const bool settles = s.inactivityTimeout == L"1" || (s.bridge != rc::BridgeMode::Off && s.port == -1);
        std::wstring previous = full;
        for (int round = 0; round < 2 && previous.size() <= rc::kClientOptionTextMax; ++round) {
            rc::ClientSettings again;
            rc::ParseClientOptions(previous, again, l, rc::UpperChar);
            const std::wstring next = rc::ComposeClientOptions(again, l, true, false);
            if (round == 1 || !settles) Check(next == previous);
            previous = next;
        }
        if (classroom.size() <= rc::kClientOptionTextMax) {
            rc::ClientSettings again;
            rc::ParseClientOptions(classroom, again, l, rc::UpperChar);
            Check(rc::ComposeClientOptions(again, l, true, true) == classroom);
        }
    }
    return 0;
}

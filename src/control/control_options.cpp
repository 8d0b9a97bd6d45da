#include "control/control_options.h"

#include <cstdint>
#include <utility>

#include "client/option_codes.h"
#include "resources/resource.h"
#include "shell/text.h"

namespace rc {

const int kColourDepthIds[kColourDepthCount] = {IDS_DEPTH_UNLIMITED, IDS_DEPTH_MONO, IDS_DEPTH_16, IDS_DEPTH_256};

namespace {

std::int32_t Clamp(std::int32_t v, std::int32_t low, std::int32_t high) {
    return v < low ? low : (v > high ? high : v);
}

// The colour depth that /R names by the leading number of its first two
// characters: 0 (no number at all, as /R alone or /REMOTEX) means 16
// colours, other values below 4 mono, 4 to 7 16 colours, 8 and above 256.
int ColourDepthOfValue(std::wstring_view value) {
    std::int32_t n = LeadingNumber(Head(value, 2));
    if (n == 0) return kDepth16;
    if (n < 4) return kDepthMono;
    if (n < 8) return kDepth16;
    return kDepth256;
}

void ApplySwitch(wchar_t letter, std::wstring_view value, ControlSettings& s, const ControlLists& lists,
                 UpperCaseMap upper) {
    switch (UpperChar(letter)) {
    case L'A':
        s.adapter = SelectAdapter(lists.adapters, AdapterNumberOfValue(value), s.adapter);
        break;
    case L'C':
        // Connect To is an upper-case field: what it shows, and what is
        // written back, is the value in capitals.
        s.connectTo = UpperText(Head(value, kFieldTextMax), upper);
        break;
    case L'D':
        if (value.empty())
            s.serialLink = true;
        else
            s.dial.assign(Head(value, kFieldTextMax));
        break;
    case L'H':
        s.cacheSize = DecimalText(Clamp(LeadingNumber(value), 128, 4096));
        break;
    case L'L':
        s.localBroadcasts = true;
        break;
    case L'M':
        s.messageFile.assign(Head(value, kFieldTextMax));
        break;
    case L'O':
        s.disableTickle = true;
        break;
    case L'R':
        s.colourDepth = ColourDepthOfValue(value);
        break;
    // Read back within 2..30 although written within 3..150: the two
    // ranges are those of the Control's own reading and of the field.
    case L'S':
        s.maxClients = DecimalText(Clamp(LeadingNumber(value), 2, 30));
        break;
    case L'U': {
        int id = TransportIdOfCode(value);
        s.transport = id != 0 ? FirstPositionOf(lists.transports, id) : -1;
        break;
    }
    default:
        break;
    }
}

}  // namespace

bool ParseControlOptions(std::wstring_view commandLine, ControlSettings& settings, const ControlLists& lists,
                         UpperCaseMap upper) {
    if (commandLine.empty()) return false;
    std::size_t space = commandLine.find(L' ');
    if (space == std::wstring_view::npos) {
        settings.remote = false;
        return true;
    }

    bool remoteSeen = false;
    bool named = false;
    OptionTokens tokens(commandLine.substr(space + 1));
    std::wstring_view token;
    // Whatever stands behind /REMOTE belongs to the Control, not to us.
    while (!remoteSeen && tokens.Next(token)) {
        if (!IsSwitchToken(token)) {
            if (!named) settings.name = UpperText(Head(token, kControlNameMax), upper);
            named = true;
            continue;
        }
        std::wstring_view body = token.substr(1);
        if (EqualsNoCase(body, L"REMOTE")) {
            remoteSeen = true;
            continue;
        }
        if (!body.empty()) ApplySwitch(body[0], body.substr(1), settings, lists, upper);
    }
    settings.remote = remoteSeen;
    return true;
}

ComposedControl ComposeControlOptions(const ControlSettings& s, const ControlLists& lists, bool remoteAvailable) {
    std::wstring out;
    out.reserve(160);
    AppendFieldText(out, s.name, L"");
    AppendTransport(out, lists.transports, s.transport);
    int transport = TransportIdAt(lists.transports, s.transport);
    if (transport == IDS_IPX && s.localBroadcasts)
        out.append(L"/L ");
    else if (transport == IDS_NETBIOS)
        AppendAdapter(out, lists.adapters, s.adapter);
    AppendFieldText(out, s.messageFile, L"/M");
    if (s.disableTickle) out.append(L"/O ");
    switch (s.colourDepth) {
    case kDepthMono:
        out.append(L"/R1 ");
        break;
    case kDepth16:
        out.append(L"/R4 ");
        break;
    case kDepth256:
        out.append(L"/R8 ");
        break;
    default:
        break;  // Unlimited or nothing selected
    }
    AppendFieldNumber(out, s.cacheSize, L"/H", 128, 4096);
    AppendFieldText(out, s.connectTo, L"/C");
    AppendFieldNumber(out, s.maxClients, L"/S", 3, 150);
    if (remoteAvailable && s.remote) {
        // /REMOTE goes last: the parse reads nothing behind it.
        if (s.serialLink)
            out.append(L"/D ");
        else
            AppendFieldText(out, s.dial, L"/D");
        out.append(L"/REMOTE ");
    }
    bool over = out.size() > kProgramManagerLimit;
    return ComposedControl{std::move(out), over};
}

}  // namespace rc

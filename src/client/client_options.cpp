#include "client/client_options.h"

#include <cstdint>

#include "client/option_codes.h"
#include "resources/resource.h"
#include "shell/text.h"

namespace rc {

namespace {

std::int32_t Clamp(std::int32_t v, std::int32_t low, std::int32_t high) {
    return v < low ? low : (v > high ? high : v);
}

bool InList(std::size_t size, int position) { return position >= 0 && static_cast<std::size_t>(position) < size; }

// Numbers in this string are an optional sign and digits at the very
// start of the value (NumberAtStart): a value that begins with white space,
// such as a tab, holds no number and reads as 0.

// A password code given as a bare word: the word is cut to nine
// characters and taken as it stands, but only when its leading number is
// not zero; "0", "000" or letters leave the code as it was.
void TakeCodeWord(std::wstring_view word, std::wstring& code) {
    std::wstring_view cut = Head(word, kPasswordCodeTextMax);
    if (NumberAtStart(cut) != 0) code.assign(cut);
}

// An inactivity timeout as /T reads it, in either part: 1 minute would be
// too short to be meant and counts as 2; anything above 30 counts as 30.
// Negative numbers pass unchanged; written into the field they are not an
// unsigned number, so the composer leaves them out.
std::int32_t TimeoutOfT(std::wstring_view value) {
    std::int32_t n = NumberAtStart(value);
    if (n == 1) return 2;
    return n > 30 ? 30 : n;
}

// One switch before /BRIDGE or /NOBRIDGE. letter is the character behind
// the switch character as written, since small c and r differ from their
// capitals here.
void ApplyMainSwitch(wchar_t letter, std::wstring_view value, ClientSettings& s, const ClientLists& lists) {
    ClientHeldSettings& held = s.held;
    switch (letter) {
    case L'c':
        s.options[kOptBlankClientScreen] = true;
        return;
    case L'C':
        held.securityKey.assign(Head(value, kSecurityKeyMax));
        return;
    case L'r':
        if (!value.empty()) held.logoffArgument.assign(Head(value, kLogoffArgumentMax));
        return;
    case L'R':
        s.options[kOptLogoffOnDisconnect] = true;
        if (!value.empty()) held.logoffArgument.assign(Head(value, kLogoffArgumentMax));
        return;
    default:
        break;
    }
    switch (UpperChar(letter)) {
    case L'1':
        held.switch1 = true;
        break;
    case L'A':
        s.adapter = SelectAdapter(lists.adapters, AdapterNumberOfValue(value), s.adapter);
        break;
    case L'F':
        s.options[kOptDisableFileTransfer] = true;
        break;
    case L'G':
        held.videoMode.assign(Head(value, kVideoModeMax));
        break;
    case L'H':
        held.cacheSize = Clamp(NumberAtStart(value), 128, 4096);
        // The classroom edition keeps the cache size in a field.
        s.cacheSizeField = DecimalText(held.cacheSize);
        break;
    case L'I':
        s.options[kOptIgnoreBroadcast] = true;
        break;
    case L'K':
        s.options[kOptUserAcknowledgement] = true;
        break;
    case L'L':
        held.lookupDelay = Clamp(NumberAtStart(value), 0, 6);
        break;
    case L'M': {
        // The older form of /T: no 1-to-2 rule.
        std::int32_t n = NumberAtStart(value);
        s.inactivityTimeout = DecimalText(n > 30 ? 30 : n);
        break;
    }
    case L'N': {
        // Only capped when read; the composer lifts it to 1..3. A
        // value of -1 reads as unset, since that is how unset is held.
        std::int32_t n = NumberAtStart(value);
        held.bufferCount = n > 3 ? 3 : n;
        break;
    }
    case L'O':
        s.options[kOptSuppressTickle] = true;
        break;
    case L'P':
        s.options[kOptSendPhysicalFonts] = true;
        break;
    case L'T':
        s.inactivityTimeout = DecimalText(TimeoutOfT(value));
        break;
    case L'U': {
        int id = TransportIdOfCode(value);
        s.transport = id != 0 ? FirstPositionOf(lists.transports, id) : -1;
        break;
    }
    case L'W':
        s.options[kOptWatchOnly] = true;
        break;
    case L'X':
        s.options[kOptPublicWhenLoggedOff] = true;
        if (!value.empty()) s.publicCode.assign(Head(value, kFieldTextMax));
        break;
    case L'Y':
        s.options[kOptApplicationEventLog] = true;
        break;
    case L'Z':
        s.options[kOptAlwaysOnTop] = true;
        break;
    default:
        break;  // not a letter of this table
    }
}

// One switch of the bridge part; the main table's letters mean nothing
// here.
void ApplyBridgeSwitch(wchar_t letter, std::wstring_view value, ClientSettings& s, const ClientLists& lists,
                       bool& dialback, LinkKind& link) {
    switch (UpperChar(letter)) {
    case L'B': {
        int found = FindListEntry(lists.bauds, value);
        if (found >= 0) s.baud = found;
        break;
    }
    case L'D':
        s.held.modemDebug = true;
        break;
    case L'M': {
        link = LinkKind::Modem;
        int found = FindListEntry(lists.modems, value);
        // An unknown modem falls back to the first entry; with an empty
        // modem list there is none to fall back to and nothing is
        // selected.
        s.modem = found >= 0 ? found : (lists.modems.empty() ? -1 : 0);
        break;
    }
    case L'P':
        dialback = true;
        s.dialbackFile.assign(Head(value, kFieldTextMax));
        break;
    case L'T':
        s.bridgeTimeout = DecimalText(TimeoutOfT(value));
        break;
    default:
        break;
    }
}

}  // namespace

int FindListEntry(const std::vector<std::wstring>& entries, std::wstring_view text) {
    const std::size_t count = entries.size();
    // Starting after the second entry: 2, 3, ..., last, then 0 and 1. With
    // fewer than three entries this is simply 0, 1.
    for (std::size_t k = 0; k < count; ++k) {
        std::size_t i = (2 + k) % count;
        if (StartsWithNoCase(entries[i], text)) return static_cast<int>(i);
    }
    return -1;
}

bool ParseClientOptions(std::wstring_view text, ClientSettings& settings, const ClientLists& lists,
                        UpperCaseMap upper) {
    text = Head(text, kClientOptionTextMax);
    std::wstring_view token;
    {
        OptionTokens probe(text);
        if (!probe.Next(token)) return false;
    }

    BridgeMode mode = BridgeMode::Off;
    int bareWords = 0;
    int bridgeWords = 0;
    bool dialback = false;
    LinkKind link = LinkKind::SerialLink;

    OptionTokens tokens(text);
    while (tokens.Next(token)) {
        if (IsSwitchToken(token)) {
            std::wstring_view body = token.substr(1);
            if (EqualsNoCase(body, L"BRIDGE")) {
                mode = BridgeMode::Bridge;
                continue;
            }
            if (EqualsNoCase(body, L"NOBRIDGE")) {
                mode = BridgeMode::StartedUnloaded;
                continue;
            }
            if (body.empty()) continue;  // a switch character alone
            if (mode == BridgeMode::Off)
                ApplyMainSwitch(body[0], body.substr(1), settings, lists);
            else
                ApplyBridgeSwitch(body[0], body.substr(1), settings, lists, dialback, link);
            continue;
        }
        if (mode == BridgeMode::Off) {
            if (bareWords < 2)
                ++bareWords;
            else
                continue;
            if (bareWords == 1)
                settings.name = UpperText(Head(token, kClientNameMax), upper);
            else
                TakeCodeWord(token, settings.passwordCode);
        } else {
            if (bridgeWords < 2)
                ++bridgeWords;
            else
                continue;
            if (bridgeWords == 1) {
                int found = FindListEntry(lists.ports, Head(token, kPortWordMax));
                if (found >= 0) settings.port = found;
            } else {
                TakeCodeWord(token, settings.bridgeCode);
            }
        }
    }

    settings.bridge = mode;
    settings.dialback = dialback;
    settings.link = link;
    return !settings.name.empty() && InList(lists.transports.size(), settings.transport);
}

std::wstring ComposeClientOptions(const ClientSettings& s, const ClientLists& lists, bool bridgeOffered,
                                  bool classroom) {
    const ClientHeldSettings& held = s.held;
    // The values homed in controls that the classroom dialog lacks.
    auto option = [&](int n) { return !classroom && s.options[static_cast<std::size_t>(n)]; };
    const std::wstring_view none;

    std::wstring out;
    out.reserve(160);
    AppendFieldText(out, s.name, L"");
    AppendFieldText(out, classroom ? none : std::wstring_view(s.passwordCode), L"");
    AppendTransport(out, lists.transports, s.transport);
    if (TransportIdAt(lists.transports, s.transport) == IDS_NETBIOS) AppendAdapter(out, lists.adapters, s.adapter);

    static constexpr struct {
        int option;
        const wchar_t* token;
    } kPlainOptions[] = {
        {kOptIgnoreBroadcast, L"/I "}, {kOptDisableFileTransfer, L"/F "}, {kOptUserAcknowledgement, L"/K "},
        {kOptWatchOnly, L"/W "},       {kOptSendPhysicalFonts, L"/P "},   {kOptAlwaysOnTop, L"/Z "},
        {kOptSuppressTickle, L"/O "},  {kOptApplicationEventLog, L"/Y "},
    };
    for (const auto& o : kPlainOptions)
        if (option(o.option)) out.append(o.token);

    // The logoff argument rides on /R when Logoff On Disconnect is on and
    // on the small /r, which does not turn it on, when it is off.
    std::wstring_view logoff = Head(held.logoffArgument, kLogoffArgumentMax);
    if (!logoff.empty())
        AppendFieldText(out, logoff, option(kOptLogoffOnDisconnect) ? L"/R" : L"/r");
    else if (option(kOptLogoffOnDisconnect))
        out.append(L"/R ");

    if (option(kOptPublicWhenLoggedOff)) {
        out.append(L"/X");
        AppendFieldText(out, s.publicCode, L"");
        out.push_back(L' ');
    }
    if (option(kOptBlankClientScreen)) out.append(L"/c ");

    AppendFieldText(out, Head(held.securityKey, kSecurityKeyMax), L"/C");
    AppendHeldNumber(out, held.lookupDelay, L"/L", 0, 6);
    AppendHeldNumber(out, held.bufferCount, L"/N", 1, 3);
    if (classroom)
        AppendFieldNumber(out, s.cacheSizeField, L"/H", 128, 4096);
    else
        AppendHeldNumber(out, held.cacheSize, L"/H", 128, 4096);
    AppendFieldText(out, Head(held.videoMode, kVideoModeMax), L"/G");
    if (held.switch1) out.append(L"/1 ");
    if (!classroom) AppendFieldNumber(out, s.inactivityTimeout, L"/T", 0, 30);

    if (classroom || !bridgeOffered || s.bridge == BridgeMode::Off) return out;

    out.append(s.bridge == BridgeMode::StartedUnloaded ? L"/NOBRIDGE " : L"/BRIDGE ");
    AppendListText(out, lists.ports, s.port, L"");
    AppendListText(out, lists.bauds, s.baud, L"/B");
    if (s.link == LinkKind::Modem && InList(lists.modems.size(), s.modem)) {
        // Only the modem name's first word is written; the parse finds the
        // entry again by it.
        std::wstring_view modem = Head(lists.modems[static_cast<std::size_t>(s.modem)], kFieldTextMax);
        std::size_t space = modem.find(L' ');
        out.append(L"/M");
        out.append(modem.substr(0, space));
        out.push_back(L' ');
    } else {
        out.push_back(L' ');
    }
    if (!s.dialback)
        AppendFieldText(out, s.bridgeCode, L"");
    else
        AppendFieldText(out, s.dialbackFile, L"/P");
    AppendFieldNumber(out, s.bridgeTimeout, L"/T", 0, 30);
    if (held.modemDebug) out.append(L" /D");
    return out;
}

}  // namespace rc

#include "client/client_options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "client/option_append.h"
#include "resources/resource.h"
#include "upper_case_map.h"

namespace rc {

// Readable failure output for whole-record comparisons.
static std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c > 0 && c < 128 ? static_cast<char>(c) : '?');
    return '"' + s + '"';
}

void PrintTo(const ClientSettings& s, std::ostream* os) {
    *os << "{name " << Narrow(s.name) << " code " << Narrow(s.passwordCode) << " transport "
        << s.transport << " adapter " << s.adapter << " options ";
    for (bool b : s.options) *os << (b ? '1' : '0');
    *os << " public " << Narrow(s.publicCode) << " timeout " << Narrow(s.inactivityTimeout)
        << " cacheField " << Narrow(s.cacheSizeField) << " bridge " << static_cast<int>(s.bridge)
        << " port " << s.port << " baud " << s.baud << " link " << static_cast<int>(s.link)
        << " modem " << s.modem << " bridgeCode " << Narrow(s.bridgeCode) << " dialback "
        << s.dialback << " file " << Narrow(s.dialbackFile) << " bridgeTimeout "
        << Narrow(s.bridgeTimeout) << " | logoff " << Narrow(s.held.logoffArgument) << " key "
        << Narrow(s.held.securityKey) << " L " << s.held.lookupDelay << " N "
        << s.held.bufferCount << " H " << s.held.cacheSize << " G " << Narrow(s.held.videoMode)
        << " 1 " << s.held.switch1 << " D " << s.held.modemDebug << "}";
}

}  // namespace rc

namespace {

using rc::BridgeMode;
using rc::ClientLists;
using rc::ClientSettings;
using rc::LinkKind;

std::string N(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c > 0 && c < 128 ? static_cast<char>(c) : '?');
    return s;
}

ClientLists Lists() {
    ClientLists l;
    l.ports = {L"COM1", L"COM2", L"COM3", L"COM4"};
    l.bauds = {L"1200", L"2400", L"4800", L"9600", L"14400", L"19200", L"38400", L"57600", L"115200"};
    l.modems = {L"Generic Modem", L"Hayes Optima 288", L"US Robotics Sportster",
                L"Hayes Accura 56K", L"Fast One", L"Fast Two"};
    l.adapters = {0, 1, 2, 3, 4, 5, 6, 7};
    l.transports = {IDS_IPX, IDS_NETBIOS, IDS_TCPIP};
    return l;
}

// ---------------------------------------------------------------------------
// The list search

TEST(FindListEntry, StartsAtTheThirdEntryAndWraps) {
    const std::vector<std::wstring> words = {L"alpha", L"beta", L"gamma", L"alpha two"};
    const std::vector<std::wstring> one = {L"COM1"};
    const std::vector<std::wstring> two = {L"a1", L"a2"};
    const std::vector<std::wstring> none;
    const ClientLists l = Lists();
    struct Case { const std::vector<std::wstring>* list; const wchar_t* text; int expected; } cases[] = {
        {&words, L"gam", 2},
        {&words, L"alpha", 3},      // "alpha two" is tried before "alpha"
        {&words, L"ALP", 3},        // case does not matter
        {&words, L"beta", 1},       // reached after the wrap
        {&words, L"alphabet", -1},  // longer than the entry
        {&words, L"x", -1},
        {&words, L"", 2},           // an empty text matches the first entry tried
        {&one, L"com", 0},
        {&one, L"", 0},
        {&two, L"a", 0},
        {&two, L"A2", 1},
        {&none, L"", -1},
        {&none, L"a", -1},
        {&l.bauds, L"96", 3},
        {&l.bauds, L"1", 4},        // "14400" comes before "1200" and "115200"
        {&l.bauds, L"12", 0},
        {&l.bauds, L"11", 8},
        {&l.bauds, L"2", 1},        // no entry from "4800" on matches: found after the wrap
        {&l.modems, L"hay", 3},     // "Hayes Accura 56K" before "Hayes Optima 288"
        {&l.modems, L"Fast", 4},
        {&l.modems, L"gen", 0},
        {&l.modems, L"Hayes Optima", 1},
        {&l.ports, L"com3", 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::FindListEntry(*c.list, c.text), c.expected) << N(c.text);
}

// ---------------------------------------------------------------------------
// Parsing

// A record that differs from the defaults in every value, to see what a
// parse leaves alone.
ClientSettings Filled() {
    ClientSettings s;
    s.name = L"OLD";
    s.passwordCode = L"42";
    s.transport = 2;
    s.adapter = 5;
    s.options.fill(true);
    s.publicCode = L"77";
    s.inactivityTimeout = L"9";
    s.cacheSizeField = L"300";
    s.bridge = BridgeMode::Bridge;
    s.port = 3;
    s.baud = 1;
    s.link = LinkKind::Modem;
    s.modem = 2;
    s.bridgeCode = L"88";
    s.dialback = true;
    s.dialbackFile = L"DB.TXT";
    s.bridgeTimeout = L"12";
    s.held.logoffArgument = L"arg";
    s.held.securityKey = L"999";
    s.held.lookupDelay = 4;
    s.held.bufferCount = 2;
    s.held.cacheSize = 300;
    s.held.videoMode = L"10F";
    s.held.switch1 = true;
    s.held.modemDebug = true;
    return s;
}

TEST(ParseClientOptions, TextWithoutTokensFailsAndChangesNothing) {
    const ClientLists l = Lists();
    for (const wchar_t* text : {L"", L" ", L"      "}) {
        ClientSettings s = Filled();
        EXPECT_FALSE(rc::ParseClientOptions(text, s, l, rc::test::Upper)) << N(text);
        EXPECT_EQ(s, Filled()) << N(text);
    }
}

TEST(ParseClientOptions, SucceedsOnlyWithNameAndTransport) {
    const ClientLists l = Lists();
    ClientLists noTcp = l;
    noTcp.transports = {IDS_IPX, IDS_NETBIOS};
    struct Case { const wchar_t* text; const ClientLists* lists; bool ok; } cases[] = {
        {L"/UIP /I", &l, false},          // no name
        {L"BOB /UXX", &l, false},         // no transport
        {L"BOB", &l, false},
        {L"BOB /UIP", &l, true},
        {L"/UIP BOB", &l, true},          // order does not matter
        {L"BOB /UIP /UXX", &l, false},    // the last /U counts
        {L"BOB /UTC", &noTcp, false},     // a transport missing from the list
        {L"BOB /UNB", &noTcp, true},
        {L"\t /UIP", &l, true},           // a tab is a bare word of its own
    };
    for (const auto& c : cases) {
        ClientSettings s;
        EXPECT_EQ(rc::ParseClientOptions(c.text, s, *c.lists, rc::test::Upper), c.ok) << N(c.text);
    }
}

TEST(ParseClientOptions, ReadsTheWorkedExample) {
    ClientSettings s;
    EXPECT_TRUE(rc::ParseClientOptions(L"bob 00123 /UNB /A3 /I /c /C4711 /h50", s, Lists(), rc::test::Upper));
    ClientSettings expected;
    expected.name = L"BOB";
    expected.passwordCode = L"00123";
    expected.transport = 1;
    expected.adapter = 3;
    expected.options[rc::kOptIgnoreBroadcast] = true;
    expected.options[rc::kOptBlankClientScreen] = true;
    expected.held.securityKey = L"4711";
    expected.held.cacheSize = 128;
    expected.cacheSizeField = L"128";
    EXPECT_EQ(s, expected);
}

// Each case parses "N /UIP " + tokens into a default record and expects the
// default record with name N, transport IPX and the changes of its edit.
using Edit = void (*)(ClientSettings&);
struct EditCase { const wchar_t* tokens; Edit edit; };

void ExpectEdits(const EditCase* begin, const EditCase* end, const ClientLists& l) {
    for (const EditCase* c = begin; c != end; ++c) {
        ClientSettings s;
        rc::ParseClientOptions(std::wstring(L"N /UIP ") + c->tokens, s, l, rc::test::Upper);
        ClientSettings expected;
        expected.name = L"N";
        expected.transport = 0;
        c->edit(expected);
        EXPECT_EQ(s, expected) << N(c->tokens);
    }
}

TEST(ParseClientOptions, MainTableSwitches) {
    static const EditCase cases[] = {
        {L"/I", [](ClientSettings& s) { s.options[rc::kOptIgnoreBroadcast] = true; }},
        {L"-i", [](ClientSettings& s) { s.options[rc::kOptIgnoreBroadcast] = true; }},
        {L"/f", [](ClientSettings& s) { s.options[rc::kOptDisableFileTransfer] = true; }},
        {L"/K", [](ClientSettings& s) { s.options[rc::kOptUserAcknowledgement] = true; }},
        {L"-w", [](ClientSettings& s) { s.options[rc::kOptWatchOnly] = true; }},
        {L"/P", [](ClientSettings& s) { s.options[rc::kOptSendPhysicalFonts] = true; }},
        {L"/z", [](ClientSettings& s) { s.options[rc::kOptAlwaysOnTop] = true; }},
        {L"/O", [](ClientSettings& s) { s.options[rc::kOptSuppressTickle] = true; }},
        {L"/y", [](ClientSettings& s) { s.options[rc::kOptApplicationEventLog] = true; }},
        {L"/Ifoo", [](ClientSettings& s) { s.options[rc::kOptIgnoreBroadcast] = true; }},
        {L"/c", [](ClientSettings& s) { s.options[rc::kOptBlankClientScreen] = true; }},
        {L"-c", [](ClientSettings& s) { s.options[rc::kOptBlankClientScreen] = true; }},
        {L"/cXYZ", [](ClientSettings& s) { s.options[rc::kOptBlankClientScreen] = true; }},
        {L"/C12345", [](ClientSettings& s) { s.held.securityKey = L"12345"; }},
        {L"/C", [](ClientSettings&) {}},
        {L"/C12345678901234567890", [](ClientSettings& s) { s.held.securityKey = L"123456789012345"; }},
        {L"/R", [](ClientSettings& s) { s.options[rc::kOptLogoffOnDisconnect] = true; }},
        {L"/R7", [](ClientSettings& s) {
             s.options[rc::kOptLogoffOnDisconnect] = true;
             s.held.logoffArgument = L"7";
         }},
        {L"/r7", [](ClientSettings& s) { s.held.logoffArgument = L"7"; }},
        {L"-r7", [](ClientSettings& s) { s.held.logoffArgument = L"7"; }},
        {L"/r", [](ClientSettings&) {}},
        {L"/rABCDEFGHIJKLMNOPQ", [](ClientSettings& s) { s.held.logoffArgument = L"ABCDEFGHIJKLMNO"; }},
        {L"/X", [](ClientSettings& s) { s.options[rc::kOptPublicWhenLoggedOff] = true; }},
        {L"/x4711", [](ClientSettings& s) {
             s.options[rc::kOptPublicWhenLoggedOff] = true;
             s.publicCode = L"4711";
         }},
        {L"/G101Fx", [](ClientSettings& s) { s.held.videoMode = L"101F"; }},
        {L"/g", [](ClientSettings&) {}},
        {L"/1", [](ClientSettings& s) { s.held.switch1 = true; }},
        {L"/1x", [](ClientSettings& s) { s.held.switch1 = true; }},
        // Letters and forms that the main table does not name.
        {L"/Q", [](ClientSettings&) {}},
        {L"/B96", [](ClientSettings&) {}},
        {L"/D", [](ClientSettings&) {}},
        {L"/", [](ClientSettings&) {}},
        {L"-", [](ClientSettings&) {}},
        {L"/BRIDGEX", [](ClientSettings&) {}},
        {L"/2", [](ClientSettings&) {}},
    };
    ExpectEdits(std::begin(cases), std::end(cases), Lists());
}

TEST(ParseClientOptions, NumbersAreClampedAsRead) {
    static const EditCase cases[] = {
        {L"/L3", [](ClientSettings& s) { s.held.lookupDelay = 3; }},
        {L"/L9", [](ClientSettings& s) { s.held.lookupDelay = 6; }},
        {L"/L6", [](ClientSettings& s) { s.held.lookupDelay = 6; }},
        {L"/L-2", [](ClientSettings& s) { s.held.lookupDelay = 0; }},
        {L"/L", [](ClientSettings& s) { s.held.lookupDelay = 0; }},
        {L"/N7", [](ClientSettings& s) { s.held.bufferCount = 3; }},
        {L"/N3", [](ClientSettings& s) { s.held.bufferCount = 3; }},
        {L"/N0", [](ClientSettings& s) { s.held.bufferCount = 0; }},
        {L"/N-5", [](ClientSettings& s) { s.held.bufferCount = -5; }},
        {L"/H50", [](ClientSettings& s) { s.held.cacheSize = 128; s.cacheSizeField = L"128"; }},
        {L"/H127", [](ClientSettings& s) { s.held.cacheSize = 128; s.cacheSizeField = L"128"; }},
        {L"/H128", [](ClientSettings& s) { s.held.cacheSize = 128; s.cacheSizeField = L"128"; }},
        {L"/H4096", [](ClientSettings& s) { s.held.cacheSize = 4096; s.cacheSizeField = L"4096"; }},
        {L"/H4097", [](ClientSettings& s) { s.held.cacheSize = 4096; s.cacheSizeField = L"4096"; }},
        {L"/H9999", [](ClientSettings& s) { s.held.cacheSize = 4096; s.cacheSizeField = L"4096"; }},
        {L"/H", [](ClientSettings& s) { s.held.cacheSize = 128; s.cacheSizeField = L"128"; }},
        {L"/T1", [](ClientSettings& s) { s.inactivityTimeout = L"2"; }},
        {L"/T0", [](ClientSettings& s) { s.inactivityTimeout = L"0"; }},
        {L"/T2", [](ClientSettings& s) { s.inactivityTimeout = L"2"; }},
        {L"/T30", [](ClientSettings& s) { s.inactivityTimeout = L"30"; }},
        {L"/T31", [](ClientSettings& s) { s.inactivityTimeout = L"30"; }},
        {L"/T45", [](ClientSettings& s) { s.inactivityTimeout = L"30"; }},
        {L"/T-4", [](ClientSettings& s) { s.inactivityTimeout = L"-4"; }},
        {L"/Tabc", [](ClientSettings& s) { s.inactivityTimeout = L"0"; }},
        {L"/T01", [](ClientSettings& s) { s.inactivityTimeout = L"2"; }},
        {L"/M1", [](ClientSettings& s) { s.inactivityTimeout = L"1"; }},
        {L"/M45", [](ClientSettings& s) { s.inactivityTimeout = L"30"; }},
        {L"/m7", [](ClientSettings& s) { s.inactivityTimeout = L"7"; }},
        {L"/T5 /M9", [](ClientSettings& s) { s.inactivityTimeout = L"9"; }},
        // A number is a sign and digits at the very start of the value.
        {L"/T\t5", [](ClientSettings& s) { s.inactivityTimeout = L"0"; }},
        {L"/L+3", [](ClientSettings& s) { s.held.lookupDelay = 3; }},
        {L"/H\t300", [](ClientSettings& s) { s.held.cacheSize = 128; s.cacheSizeField = L"128"; }},
    };
    ExpectEdits(std::begin(cases), std::end(cases), Lists());
}

TEST(ParseClientOptions, TransportCodes) {
    const ClientLists l = Lists();
    ClientLists reordered = l;
    reordered.transports = {IDS_TCPIP, IDS_NETBIOS};
    struct Case { const wchar_t* text; const ClientLists* lists; int transport; } cases[] = {
        {L"A /UIP", &l, 0},      {L"A /unb", &l, 1},      {L"A -Utc", &l, 2},
        {L"A /UIPX", &l, 0},     {L"A /UNBX", &l, 1},     {L"A /UTCP/IP", &l, 2},
        {L"A /UXX", &l, -1},     {L"A /U", &l, -1},       {L"A /UI", &l, -1},
        {L"A /UIP /UTC", &l, 2}, {L"A /UTC /UX", &l, -1},
        {L"A /UTC", &reordered, 0}, {L"A /UNB", &reordered, 1}, {L"A /UIP", &reordered, -1},
    };
    for (const auto& c : cases) {
        ClientSettings s;
        rc::ParseClientOptions(c.text, s, *c.lists, rc::test::Upper);
        EXPECT_EQ(s.transport, c.transport) << N(c.text);
    }
}

TEST(ParseClientOptions, AdapterReadsOneCharacter) {
    const ClientLists l = Lists();
    ClientLists withNine = l;
    withNine.adapters = {0, 9, 3, 9, 1};
    struct Case { const wchar_t* token; const ClientLists* lists; int start; int expected; } cases[] = {
        {L"/A3", &l, -1, 3},
        {L"/A", &l, -1, 1},        // empty value means 1
        {L"/A7", &l, -1, 7},
        {L"/A0", &l, 5, 0},
        {L"/A12", &l, -1, 1},      // one character only
        {L"/A8", &l, 4, 4},        // no such entry: the selection stays
        {L"/AZ", &l, 2, 2},        // 9, which the list lacks
        {L"/A/", &l, 6, 6},        // below "0" selects nothing
        {L"/A ", &l, -1, 1},       // the value is empty: the space ends the token
        {L"/AZ", &withNine, -1, 3},  // above 9 counts as 9; the last such entry wins
        {L"/A9", &withNine, -1, 3},
        {L"/A\u4E00", &withNine, -1, 3},
        {L"/A1", &withNine, -1, 4},
        {L"/A3", &withNine, -1, 2},
    };
    for (const auto& c : cases) {
        ClientSettings s;
        s.adapter = c.start;
        rc::ParseClientOptions(std::wstring(L"A /UNB ") + c.token, s, *c.lists, rc::test::Upper);
        EXPECT_EQ(s.adapter, c.expected) << N(c.token);
    }
}

TEST(ParseClientOptions, BareWordsGiveNameAndPasswordCode) {
    struct Case { const wchar_t* text; const wchar_t* name; const wchar_t* code; } cases[] = {
        {L"bob 00123 /UIP", L"BOB", L"00123"},
        {L"abcdefghijklmnopqrst /UIP", L"ABCDEFGHIJKLMNO", L""},
        {L"bob 0 /UIP", L"BOB", L""},
        {L"bob 000 /UIP", L"BOB", L""},
        {L"bob abc /UIP", L"BOB", L""},
        {L"bob 12345678901 /UIP", L"BOB", L"123456789"},
        {L"bob 0000000001 /UIP", L"BOB", L""},  // cut to nine zeros first
        {L"bob 12abc /UIP", L"BOB", L"12abc"},
        {L"bob -5 /UIP", L"BOB", L""},          // "-" starts a switch, not a code
        {L"bob +5 /UIP", L"BOB", L"+5"},
        {L"bob 7 8 9 /UIP", L"BOB", L"7"},      // later words are ignored
        {L"caf\u00e9 /UIP", L"CAF\u00c9", L""},
        // The platform's upper-casing, after the cut to 15 characters.
        {L"\u017c\u00f3\u0142w /UIP", L"\u017b\u00d3\u0141W", L""},
        {L"\u0431\u043e\u0440\u0438\u0441\u0430\u0431\u0432\u0433\u0434\u0435\u0451\u0436\u0437\u0438\u0439\u043a /UIP",
         L"\u0411\u041e\u0420\u0418\u0421\u0410\u0411\u0412\u0413\u0414\u0415\u0401\u0416\u0417\u0418", L""},
        {L"bob \t5 /UIP", L"BOB", L""},         // white space does not start a number
        {L"a\tb /UIP", L"A\tB", L""},           // a tab belongs to the word
        {L"   bob    42   /UIP  ", L"BOB", L"42"},
    };
    for (const auto& c : cases) {
        ClientSettings s;
        rc::ParseClientOptions(c.text, s, Lists(), rc::test::Upper);
        EXPECT_EQ(s.name, c.name) << N(c.text);
        EXPECT_EQ(s.passwordCode, c.code) << N(c.text);
    }
}

TEST(ParseClientOptions, CaseOfCAndRDecides) {
    ClientSettings s;
    s.held.securityKey = L"555";
    rc::ParseClientOptions(L"A /UIP /c", s, Lists(), rc::test::Upper);
    EXPECT_EQ(s.held.securityKey, L"555");  // small c sets no key
    EXPECT_TRUE(s.options[rc::kOptBlankClientScreen]);
    rc::ParseClientOptions(L"A /UIP /C", s, Lists(), rc::test::Upper);
    EXPECT_EQ(s.held.securityKey, L"");  // capital C without a value empties it
    EXPECT_FALSE(s.options[rc::kOptLogoffOnDisconnect]);
    rc::ParseClientOptions(L"A /UIP /rX", s, Lists(), rc::test::Upper);
    EXPECT_FALSE(s.options[rc::kOptLogoffOnDisconnect]);
    EXPECT_EQ(s.held.logoffArgument, L"X");
}

TEST(ParseClientOptions, HeldValuesSurviveStringsThatLackThem) {
    const ClientLists l = Lists();
    ClientSettings s;
    ASSERT_TRUE(rc::ParseClientOptions(L"A /UIP /L3 /r7 /C99 /G12 /N2 /H200 /1", s, l, rc::test::Upper));
    const rc::ClientHeldSettings held = s.held;
    ASSERT_TRUE(rc::ParseClientOptions(L"B /UNB", s, l, rc::test::Upper));
    EXPECT_EQ(s.held, held);
    EXPECT_EQ(rc::ComposeClientOptions(s, l, false, false),
              L"B /UNB /r7 /C99 /L3 /N2 /H200 /G12 /1 ");
}

TEST(ParseClientOptions, EveryWalkSetsBridgeModeDialbackAndLinkKind) {
    const ClientLists l = Lists();
    ClientSettings s = Filled();
    rc::ParseClientOptions(L"A /UIP", s, l, rc::test::Upper);
    ClientSettings expected = Filled();
    expected.name = L"A";
    expected.transport = 0;
    expected.bridge = BridgeMode::Off;
    expected.dialback = false;
    expected.link = LinkKind::SerialLink;
    EXPECT_EQ(s, expected);  // the dialback file name and the rest stay
}

TEST(ParseClientOptions, BridgePartWorkedExample) {
    ClientSettings s;
    ASSERT_TRUE(rc::ParseClientOptions(L"A /UIP /BRIDGE COM2 4711 /B96 /mhay /T1 /D", s, Lists(), rc::test::Upper));
    ClientSettings expected;
    expected.name = L"A";
    expected.transport = 0;
    expected.bridge = BridgeMode::Bridge;
    expected.port = 1;
    expected.bridgeCode = L"4711";
    expected.baud = 3;
    expected.link = LinkKind::Modem;
    expected.modem = 3;
    expected.bridgeTimeout = L"2";
    expected.held.modemDebug = true;
    EXPECT_EQ(s, expected);
}

TEST(ParseClientOptions, BridgeTable) {
    // Each case parses "N /UIP /BRIDGE " + tokens.
    static const EditCase cases[] = {
        {L"", [](ClientSettings&) {}},
        {L"/I /c /C1 /1 /L3 /X /UTC", [](ClientSettings&) {}},  // main letters mean nothing here
        {L"/NOBRIDGE", [](ClientSettings& s) { s.bridge = BridgeMode::StartedUnloaded; }},
        {L"/nobridge /bridge", [](ClientSettings&) {}},
        {L"-NoBridge", [](ClientSettings& s) { s.bridge = BridgeMode::StartedUnloaded; }},
        {L"com3x", [](ClientSettings& s) { s.port = 2; }},  // the first four characters
        {L"COM9", [](ClientSettings&) {}},
        {L"COM1 0", [](ClientSettings& s) { s.port = 0; }},
        {L"COM1 12345678901 99", [](ClientSettings& s) { s.port = 0; s.bridgeCode = L"123456789"; }},
        {L"xyz 55", [](ClientSettings& s) { s.bridgeCode = L"55"; }},
        {L"/B9600", [](ClientSettings& s) { s.baud = 3; }},
        {L"/B1", [](ClientSettings& s) { s.baud = 4; }},
        {L"/B", [](ClientSettings& s) { s.baud = 2; }},    // the empty text finds the third entry
        {L"/B7", [](ClientSettings&) {}},
        {L"/Mzzz", [](ClientSettings& s) { s.link = LinkKind::Modem; s.modem = 0; }},
        {L"/MFast", [](ClientSettings& s) { s.link = LinkKind::Modem; s.modem = 4; }},
        {L"/MHayes", [](ClientSettings& s) { s.link = LinkKind::Modem; s.modem = 3; }},
        {L"/P", [](ClientSettings& s) { s.dialback = true; }},
        {L"/Pdial.txt", [](ClientSettings& s) { s.dialback = true; s.dialbackFile = L"dial.txt"; }},
        {L"/T45", [](ClientSettings& s) { s.bridgeTimeout = L"30"; }},
        {L"/T0", [](ClientSettings& s) { s.bridgeTimeout = L"0"; }},
        {L"/t1", [](ClientSettings& s) { s.bridgeTimeout = L"2"; }},
        {L"/d", [](ClientSettings& s) { s.held.modemDebug = true; }},
        {L"/Q /", [](ClientSettings&) {}},
    };
    const ClientLists l = Lists();
    for (const EditCase& c : cases) {
        ClientSettings s;
        rc::ParseClientOptions(std::wstring(L"N /UIP /BRIDGE ") + c.tokens, s, l, rc::test::Upper);
        ClientSettings expected;
        expected.name = L"N";
        expected.transport = 0;
        expected.bridge = BridgeMode::Bridge;
        c.edit(expected);
        EXPECT_EQ(s, expected) << N(c.tokens);
    }
}

TEST(ParseClientOptions, BareWordsAfterTheBridgeNeverNameTheClient) {
    ClientSettings s;
    EXPECT_FALSE(rc::ParseClientOptions(L"/BRIDGE BOB /UIP", s, Lists(), rc::test::Upper));
    EXPECT_EQ(s.name, L"");
    EXPECT_EQ(s.transport, -1);
}

TEST(ParseClientOptions, ModemWithEmptyModemListSelectsNothing) {
    ClientLists l = Lists();
    l.modems.clear();
    ClientSettings s;
    rc::ParseClientOptions(L"A /UIP /BRIDGE /MHayes", s, l, rc::test::Upper);
    EXPECT_EQ(s.link, LinkKind::Modem);
    EXPECT_EQ(s.modem, -1);
}

TEST(ParseClientOptions, ReadsOnlyTheFirst255Characters) {
    const ClientLists l = Lists();
    struct Case { std::size_t pad; bool netbios; } cases[] = {
        {246, true},   // "/UNB" ends at character 252
        {249, true},   // ends at 255 exactly
        {250, false},  // cut to "/UN"
        {300, false},
    };
    for (const auto& c : cases) {
        ClientSettings s;
        std::wstring text = L"A " + std::wstring(c.pad, L' ') + L"/UNB";
        EXPECT_EQ(rc::ParseClientOptions(text, s, l, rc::test::Upper), c.netbios) << c.pad;
        EXPECT_EQ(s.transport, c.netbios ? 1 : -1) << c.pad;
    }
    // A very long text is read without trouble; its name is cut as ever.
    ClientSettings s;
    std::wstring huge(100000, L'x');
    EXPECT_FALSE(rc::ParseClientOptions(huge, s, l, rc::test::Upper));
    EXPECT_EQ(s.name, std::wstring(15, L'X'));
}

// ---------------------------------------------------------------------------
// The append operations

TEST(AppendOperations, FieldText) {
    struct Case { std::wstring field; const wchar_t* prefix; std::wstring expected; } cases[] = {
        {L"", L"/C", L""},
        {L"abc", L"/C", L"/Cabc "},
        {L"abc", L"", L"abc "},
        {L" ", L"/G", L"/G  "},
        {std::wstring(127, L'q'), L"/M", L"/M" + std::wstring(127, L'q') + L" "},
        {std::wstring(300, L'q'), L"/M", L"/M" + std::wstring(127, L'q') + L" "},
    };
    for (const auto& c : cases) {
        std::wstring out = L">";
        rc::AppendFieldText(out, c.field, c.prefix);
        EXPECT_EQ(out, L">" + c.expected) << N(c.field);
    }
}

TEST(AppendOperations, FieldNumber) {
    struct Case { std::wstring field; std::wstring expected; } cases[] = {
        {L"", L""},         {L"abc", L""},        {L"-1", L""},        {L"+5", L""},
        {L"5 ", L""},       {L"1x", L""},         {L"   ", L""},         {L"\t5", L""},
        {L"0", L"/T0 "},    {L"007", L"/T7 "},    {L"  12", L"/T12 "}, {L"30", L"/T30 "},
        {L"31", L"/T30 "},  {L"4294967295", L"/T30 "}, {L"4294967296", L""},
        {L"99999999999999999999", L""},
        {std::wstring(126, L' ') + L"9", L"/T9 "},
        {std::wstring(127, L' ') + L"9", L""},   // the digit lies beyond what is read
    };
    for (const auto& c : cases) {
        std::wstring out;
        rc::AppendFieldNumber(out, c.field, L"/T", 0, 30);
        EXPECT_EQ(out, c.expected) << N(c.field);
    }
    std::wstring out;
    rc::AppendFieldNumber(out, L"3", L"/H", 128, 4096);
    EXPECT_EQ(out, L"/H128 ");
}

TEST(AppendOperations, HeldNumber) {
    struct Case { int value; std::wstring expected; } cases[] = {
        {-1, L""}, {-2, L"/N1 "}, {0, L"/N1 "}, {1, L"/N1 "}, {2, L"/N2 "}, {3, L"/N3 "},
        {4, L"/N3 "}, {2147483647, L"/N3 "}, {-2147483647 - 1, L"/N1 "},
    };
    for (const auto& c : cases) {
        std::wstring out;
        rc::AppendHeldNumber(out, c.value, L"/N", 1, 3);
        EXPECT_EQ(out, c.expected) << c.value;
    }
}

TEST(AppendOperations, ListText) {
    const std::vector<std::wstring> entries = {L"COM1", L"", std::wstring(200, L'm')};
    struct Case { int selected; std::wstring expected; } cases[] = {
        {-1, L""}, {3, L""}, {-7, L""}, {0, L"/BCOM1 "}, {1, L"/B "},
        {2, L"/B" + std::wstring(127, L'm') + L" "},
    };
    for (const auto& c : cases) {
        std::wstring out;
        rc::AppendListText(out, entries, c.selected, L"/B");
        EXPECT_EQ(out, c.expected) << c.selected;
    }
}

// ---------------------------------------------------------------------------
// Composing

ClientSettings Named(const wchar_t* name, int transport) {
    ClientSettings s;
    s.name = name;
    s.transport = transport;
    return s;
}

TEST(ComposeClientOptions, NameAndTransportOnly) {
    EXPECT_EQ(rc::ComposeClientOptions(Named(L"A", 0), Lists(), true, false), L"A /UIP ");
    EXPECT_EQ(rc::ComposeClientOptions(ClientSettings(), Lists(), true, false), L"");
}

ClientSettings Everything() {
    ClientSettings s = Named(L"BOB", 1);
    s.passwordCode = L"4711";
    s.adapter = 3;
    s.options.fill(true);
    s.publicCode = L"99";
    s.inactivityTimeout = L"10";
    s.cacheSizeField = L"256";
    s.held.logoffArgument = L"7";
    s.held.securityKey = L"123";
    s.held.lookupDelay = 3;
    s.held.bufferCount = 2;
    s.held.cacheSize = 512;
    s.held.videoMode = L"101";
    s.held.switch1 = true;
    s.bridge = BridgeMode::Bridge;
    s.port = 1;
    s.baud = 3;
    s.link = LinkKind::Modem;
    s.modem = 3;
    s.bridgeCode = L"55";
    s.dialbackFile = L"dial.txt";
    s.bridgeTimeout = L"2";
    s.held.modemDebug = true;
    return s;
}

TEST(ComposeClientOptions, WritesEveryValueInItsOrder) {
    const ClientLists l = Lists();
    const std::wstring main =
        L"BOB 4711 /UNB /A3 /I /F /K /W /P /Z /O /Y /R7 /X99  /c /C123 /L3 /N2 /H512 /G101 /1 /T10 ";
    EXPECT_EQ(rc::ComposeClientOptions(Everything(), l, false, false), main);
    EXPECT_EQ(rc::ComposeClientOptions(Everything(), l, true, false),
              main + L"/BRIDGE COM2 /B9600 /MHayes 55 /T2  /D");
}

TEST(ComposeClientOptions, BridgePartVariants) {
    using Edit = void (*)(ClientSettings&);
    struct Case { Edit edit; const wchar_t* expected; } cases[] = {
        {[](ClientSettings&) {}, L"/BRIDGE COM2 /B9600 /MHayes 55 /T2  /D"},
        {[](ClientSettings& s) { s.bridge = BridgeMode::StartedUnloaded; },
         L"/NOBRIDGE COM2 /B9600 /MHayes 55 /T2  /D"},
        // Serial link, or modem without a modem: a lone space.
        {[](ClientSettings& s) { s.link = LinkKind::SerialLink; }, L"/BRIDGE COM2 /B9600  55 /T2  /D"},
        {[](ClientSettings& s) { s.modem = -1; }, L"/BRIDGE COM2 /B9600  55 /T2  /D"},
        {[](ClientSettings& s) { s.modem = 4; }, L"/BRIDGE COM2 /B9600 /MFast 55 /T2  /D"},
        {[](ClientSettings& s) { s.dialback = true; }, L"/BRIDGE COM2 /B9600 /MHayes /Pdial.txt /T2  /D"},
        {[](ClientSettings& s) { s.dialback = true; s.dialbackFile.clear(); },
         L"/BRIDGE COM2 /B9600 /MHayes /T2  /D"},
        {[](ClientSettings& s) { s.bridgeCode.clear(); }, L"/BRIDGE COM2 /B9600 /MHayes /T2  /D"},
        {[](ClientSettings& s) { s.bridgeTimeout = L"45"; }, L"/BRIDGE COM2 /B9600 /MHayes 55 /T30  /D"},
        {[](ClientSettings& s) { s.bridgeTimeout = L"x"; }, L"/BRIDGE COM2 /B9600 /MHayes 55  /D"},
        {[](ClientSettings& s) { s.held.modemDebug = false; }, L"/BRIDGE COM2 /B9600 /MHayes 55 /T2 "},
        {[](ClientSettings& s) { s.port = -1; s.baud = -1; }, L"/BRIDGE /MHayes 55 /T2  /D"},
        {[](ClientSettings& s) {
             s.port = -1; s.baud = -1; s.link = LinkKind::SerialLink; s.bridgeCode.clear();
             s.bridgeTimeout.clear(); s.held.modemDebug = false;
         }, L"/BRIDGE  "},
    };
    const ClientLists l = Lists();
    for (const auto& c : cases) {
        ClientSettings s = Named(L"A", 0);
        ClientSettings bridged = Everything();
        s.bridge = bridged.bridge; s.port = bridged.port; s.baud = bridged.baud;
        s.link = bridged.link; s.modem = bridged.modem; s.bridgeCode = bridged.bridgeCode;
        s.dialbackFile = bridged.dialbackFile; s.bridgeTimeout = bridged.bridgeTimeout;
        s.held.modemDebug = true;
        c.edit(s);
        EXPECT_EQ(rc::ComposeClientOptions(s, l, true, false), std::wstring(L"A /UIP ") + c.expected);
        // Never offered, never written.
        EXPECT_EQ(rc::ComposeClientOptions(s, l, false, false), L"A /UIP ");
    }
    ClientSettings off = Everything();
    off.bridge = BridgeMode::Off;
    EXPECT_EQ(rc::ComposeClientOptions(off, l, true, false).find(L"BRIDGE"), std::wstring::npos);
}

TEST(ComposeClientOptions, LogoffArgumentAndPublicCode) {
    struct Case { const wchar_t* logoff; bool logoffOn; bool publicOn; const wchar_t* code; const wchar_t* expected; } cases[] = {
        {L"", false, false, L"", L"A /UIP "},
        {L"", true, false, L"", L"A /UIP /R "},
        {L"7", false, false, L"", L"A /UIP /r7 "},
        {L"7", true, false, L"", L"A /UIP /R7 "},
        {L"", false, true, L"", L"A /UIP /X "},
        {L"", false, true, L"12", L"A /UIP /X12  "},
        {L"", false, false, L"12", L"A /UIP "},  // the code goes only with /X
    };
    for (const auto& c : cases) {
        ClientSettings s = Named(L"A", 0);
        s.held.logoffArgument = c.logoff;
        s.options[rc::kOptLogoffOnDisconnect] = c.logoffOn;
        s.options[rc::kOptPublicWhenLoggedOff] = c.publicOn;
        s.publicCode = c.code;
        EXPECT_EQ(rc::ComposeClientOptions(s, Lists(), false, false), c.expected) << N(c.expected);
    }
}

TEST(ComposeClientOptions, HeldNumbersAreClampedAsWritten) {
    struct Case { int lookup; int buffers; int cache; const wchar_t* expected; } cases[] = {
        {-1, -1, -1, L"A /UIP "},
        {0, 1, 128, L"A /UIP /L0 /N1 /H128 "},
        {6, 3, 4096, L"A /UIP /L6 /N3 /H4096 "},
        {9, 0, 50, L"A /UIP /L6 /N1 /H128 "},
        {-5, 7, 9999, L"A /UIP /L0 /N3 /H4096 "},
        {-1, -5, -1, L"A /UIP /N1 "},
    };
    for (const auto& c : cases) {
        ClientSettings s = Named(L"A", 0);
        s.held.lookupDelay = c.lookup;
        s.held.bufferCount = c.buffers;
        s.held.cacheSize = c.cache;
        EXPECT_EQ(rc::ComposeClientOptions(s, Lists(), false, false), c.expected) << N(c.expected);
    }
}

TEST(ComposeClientOptions, AdapterOnlyWithNetBiosAndANonNegativeShort) {
    struct Case { int transport; int data; const wchar_t* expected; } cases[] = {
        {1, 0, L"A /UNB /A0 "},
        {1, 7, L"A /UNB /A7 "},
        {1, 32767, L"A /UNB /A32767 "},
        {1, 32768, L"A /UNB "},      // negative as a 16-bit value
        {1, 65535, L"A /UNB "},
        {1, -1, L"A /UNB "},
        {1, 65536, L"A /UNB /A65536 "},  // low 16 bits 0: written whole
        {1, 70000, L"A /UNB /A70000 "},
        {0, 3, L"A /UIP "},
        {2, 3, L"A /UTC "},
    };
    for (const auto& c : cases) {
        ClientLists l = Lists();
        l.adapters = {c.data};
        ClientSettings s = Named(L"A", c.transport);
        s.adapter = 0;
        EXPECT_EQ(rc::ComposeClientOptions(s, l, false, false), c.expected) << c.data;
    }
    ClientSettings s = Named(L"A", 1);
    for (int position : {-1, 8, 100}) {
        s.adapter = position;
        EXPECT_EQ(rc::ComposeClientOptions(s, Lists(), false, false), L"A /UNB ") << position;
    }
}

TEST(ComposeClientOptions, PositionsOutsideTheListsWriteNothing) {
    ClientSettings s = Named(L"A", 3);
    s.bridge = BridgeMode::Bridge;
    s.port = 4;
    s.baud = 9;
    s.link = LinkKind::Modem;
    s.modem = 6;
    EXPECT_EQ(rc::ComposeClientOptions(s, Lists(), true, false), L"A /BRIDGE  ");
    s.transport = -2;
    EXPECT_EQ(rc::ComposeClientOptions(s, ClientLists(), true, false), L"A /BRIDGE  ");
}

TEST(ComposeClientOptions, InactivityTimeoutField) {
    struct Case { const wchar_t* field; const wchar_t* expected; } cases[] = {
        {L"", L"A /UIP "},       {L"0", L"A /UIP /T0 "},   {L"1", L"A /UIP /T1 "},
        {L"30", L"A /UIP /T30 "}, {L"45", L"A /UIP /T30 "}, {L"-4", L"A /UIP "},
        {L" 5", L"A /UIP /T5 "},  {L"5m", L"A /UIP "},
    };
    for (const auto& c : cases) {
        ClientSettings s = Named(L"A", 0);
        s.inactivityTimeout = c.field;
        EXPECT_EQ(rc::ComposeClientOptions(s, Lists(), false, false), c.expected) << N(c.field);
    }
}

TEST(ComposeClientOptions, ClassroomEditionKeepsHeldValuesAndItsCacheField) {
    const ClientLists l = Lists();
    ClientSettings s = Everything();
    // Logoff On Disconnect cannot be on there: the argument rides on /r.
    EXPECT_EQ(rc::ComposeClientOptions(s, l, true, true),
              L"BOB /UNB /A3 /r7 /C123 /L3 /N2 /H256 /G101 /1 ");
    struct Case { const wchar_t* field; const wchar_t* expected; } cases[] = {
        {L"", L"A /UIP "}, {L"abc", L"A /UIP "}, {L"50", L"A /UIP /H128 "},
        {L"9999", L"A /UIP /H4096 "}, {L"1024", L"A /UIP /H1024 "},
    };
    for (const auto& c : cases) {
        ClientSettings t = Named(L"A", 0);
        t.held.cacheSize = 300;  // not the classroom's
        t.cacheSizeField = c.field;
        EXPECT_EQ(rc::ComposeClientOptions(t, l, false, true), c.expected) << N(c.field);
    }
}

// ---------------------------------------------------------------------------
// Both ways

TEST(ClientOptionsRoundTrip, ComposedStringsReadBackToThemselves) {
    const wchar_t* strings[] = {
        L"A /UIP ",
        L"BOB 4711 /UNB /A3 /I /F /K /W /P /Z /O /Y /R7 /X99  /c /C123 /L3 /N2 /H512 /G101 /1 /T10 ",
        L"BOB /UTC /r7 /X /T0 ",
        L"BOB /UIP /R /c /N1 /H4096 ",
        L"BOB /UNB /A0 /T30 ",
        L"A /UIP /BRIDGE COM2 /B9600 /MHayes 55 /T2  /D",
        L"A /UIP /NOBRIDGE COM1 /B115200  /Pdial.txt /T30 ",
        L"A /UIP /NOBRIDGE COM4 /B1200 /MFast  /D",
        L"A /UIP /BRIDGE  ",
        L"A /UIP /BRIDGE /MGeneric ",
    };
    const ClientLists l = Lists();
    for (const wchar_t* text : strings) {
        ClientSettings s;
        ASSERT_TRUE(rc::ParseClientOptions(text, s, l, rc::test::Upper)) << N(text);
        EXPECT_EQ(rc::ComposeClientOptions(s, l, true, false), text);
    }
}

TEST(ClientOptionsRoundTrip, ParsedTextsComposeToTheirCanonicalForm) {
    struct Case { const wchar_t* text; const wchar_t* composed; } cases[] = {
        {L"  bob   /uip  -i ", L"BOB /UIP /I "},
        {L"bob /UIP /h50 /L9 /N7", L"BOB /UIP /L6 /N3 /H128 "},
        {L"bob /UIP /N0", L"BOB /UIP /N1 "},      // held 0, written as 1
        {L"bob /UIP /N-5", L"BOB /UIP /N1 "},
        {L"bob /UIP /N-1", L"BOB /UIP "},         // -1 is how unset is held
        {L"bob /UIP /H9999", L"BOB /UIP /H4096 "},
        {L"bob /UIP /T1", L"BOB /UIP /T2 "},
        {L"bob /UIP /M1", L"BOB /UIP /T1 "},      // /M keeps 1; read again as /T it becomes 2
        {L"bob /UIP /T-4", L"BOB /UIP "},
        {L"bob /UIP /x4711 /Y /I", L"BOB /UIP /I /Y /X4711  "},
        {L"bob /UNB /A12", L"BOB /UNB /A1 "},
        {L"bob /UIP /A3", L"BOB /UIP "},
        {L"bob /UIP /BRIDGE com3 /b96 /mhayes /t45 /d", L"BOB /UIP /BRIDGE COM3 /B9600 /MHayes /T30  /D"},
        {L"bob /UIP /NOBRIDGE /Mnothing", L"BOB /UIP /NOBRIDGE /MGeneric "},
        {L"bob /UIP /BRIDGE 99 77", L"BOB /UIP /BRIDGE  77 "},
    };
    const ClientLists l = Lists();
    for (const auto& c : cases) {
        ClientSettings s;
        rc::ParseClientOptions(c.text, s, l, rc::test::Upper);
        EXPECT_EQ(rc::ComposeClientOptions(s, l, true, false), c.composed) << N(c.text);
    }
}

}  // namespace

#include "control/control_options.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "resources/resource.h"
#include "upper_case_map.h"

namespace rc {

static std::string NarrowText(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c > 0 && c < 128 ? static_cast<char>(c) : '?');
    return '"' + s + '"';
}

void PrintTo(const ControlSettings& s, std::ostream* os) {
    *os << "{name " << NarrowText(s.name) << " transport " << s.transport << " local "
        << s.localBroadcasts << " adapter " << s.adapter << " message " << NarrowText(s.messageFile)
        << " tickle " << s.disableTickle << " depth " << s.colourDepth << " cache "
        << NarrowText(s.cacheSize) << " connect " << NarrowText(s.connectTo) << " clients "
        << NarrowText(s.maxClients) << " remote " << s.remote << " serial " << s.serialLink
        << " dial " << NarrowText(s.dial) << "}";
}

}  // namespace rc

namespace {

using rc::ComposedControl;
using rc::ControlLists;
using rc::ControlSettings;

std::string N(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(c > 0 && c < 128 ? static_cast<char>(c) : '?');
    return s;
}

// Adapter numbers up to 9 so that /A9 and /AZ have an entry to select.
ControlLists Lists() {
    ControlLists l;
    l.adapters = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    l.transports = {IDS_IPX, IDS_NETBIOS, IDS_TCPIP};
    return l;
}

ControlSettings Filled() {
    ControlSettings s;
    s.name = L"OLD";
    s.transport = 1;
    s.localBroadcasts = true;
    s.adapter = 2;
    s.messageFile = L"msg.txt";
    s.disableTickle = true;
    s.colourDepth = rc::kDepth256;
    s.cacheSize = L"512";
    s.connectTo = L"HOST";
    s.maxClients = L"10";
    s.remote = true;
    s.serialLink = true;
    s.dial = L"555";
    return s;
}

TEST(ParseControlOptions, EmptyLineIsAbsentAndChangesNothing) {
    ControlSettings s = Filled();
    EXPECT_FALSE(rc::ParseControlOptions(L"", s, Lists(), rc::test::Upper));
    EXPECT_EQ(s, Filled());
}

TEST(ParseControlOptions, LineWithoutOptionsOnlyTurnsRemoteOff) {
    for (const wchar_t* line : {L"VIEWDESK.EXE", L"C:\\X\\VIEWDESK.EXE ", L"V.EXE      "}) {
        ControlSettings s = Filled();
        EXPECT_TRUE(rc::ParseControlOptions(line, s, Lists(), rc::test::Upper)) << N(line);
        ControlSettings expected = Filled();
        expected.remote = false;
        EXPECT_EQ(s, expected) << N(line);
    }
}

// Each case applies "V.EXE " + tokens to a default record and expects the
// default record changed by its edit.
using Edit = void (*)(ControlSettings&);
struct EditCase { const wchar_t* tokens; Edit edit; };

TEST(ParseControlOptions, SwitchTable) {
    static const EditCase cases[] = {
        {L"bob", [](ControlSettings& s) { s.name = L"BOB"; }},
        {L"bob joe", [](ControlSettings& s) { s.name = L"BOB"; }},
        {L"abcdefghijklmnopqrst", [](ControlSettings& s) { s.name = L"ABCDEFGHIJKLMNO"; }},
        {L"\u017c\u00f3\u0142w", [](ControlSettings& s) { s.name = L"\u017b\u00d3\u0141W"; }},
        {L"/UIP", [](ControlSettings& s) { s.transport = 0; }},
        {L"-unb", [](ControlSettings& s) { s.transport = 1; }},
        {L"/UNBX", [](ControlSettings& s) { s.transport = 1; }},
        {L"/Utc", [](ControlSettings& s) { s.transport = 2; }},
        {L"/UXX", [](ControlSettings&) {}},
        {L"/UIP /UXX", [](ControlSettings&) {}},
        {L"/U", [](ControlSettings&) {}},
        {L"/L", [](ControlSettings& s) { s.localBroadcasts = true; }},
        {L"/lx", [](ControlSettings& s) { s.localBroadcasts = true; }},
        {L"/A", [](ControlSettings& s) { s.adapter = 1; }},
        {L"/A7", [](ControlSettings& s) { s.adapter = 7; }},
        {L"/AZ", [](ControlSettings& s) { s.adapter = 9; }},
        {L"/A12", [](ControlSettings& s) { s.adapter = 1; }},
        {L"/A/", [](ControlSettings&) {}},
        {L"/Mc:\\notes\\hello.txt", [](ControlSettings& s) { s.messageFile = L"c:\\notes\\hello.txt"; }},
        {L"/M", [](ControlSettings&) {}},
        {L"/O", [](ControlSettings& s) { s.disableTickle = true; }},
        {L"/R", [](ControlSettings& s) { s.colourDepth = rc::kDepth16; }},
        {L"/R0", [](ControlSettings& s) { s.colourDepth = rc::kDepth16; }},
        {L"/R1", [](ControlSettings& s) { s.colourDepth = rc::kDepthMono; }},
        {L"/R3", [](ControlSettings& s) { s.colourDepth = rc::kDepthMono; }},
        {L"/R-5", [](ControlSettings& s) { s.colourDepth = rc::kDepthMono; }},
        {L"/R4", [](ControlSettings& s) { s.colourDepth = rc::kDepth16; }},
        {L"/R7", [](ControlSettings& s) { s.colourDepth = rc::kDepth16; }},
        {L"/R8", [](ControlSettings& s) { s.colourDepth = rc::kDepth256; }},
        {L"/R16", [](ControlSettings& s) { s.colourDepth = rc::kDepth256; }},
        {L"/R256", [](ControlSettings& s) { s.colourDepth = rc::kDepth256; }},  // "25"
        {L"/R0256", [](ControlSettings& s) { s.colourDepth = rc::kDepthMono; }},  // "02"
        {L"/REMOTEX", [](ControlSettings& s) { s.colourDepth = rc::kDepth16; }},
        {L"/H50", [](ControlSettings& s) { s.cacheSize = L"128"; }},
        {L"/H9999", [](ControlSettings& s) { s.cacheSize = L"4096"; }},
        {L"/H1024", [](ControlSettings& s) { s.cacheSize = L"1024"; }},
        {L"/H", [](ControlSettings& s) { s.cacheSize = L"128"; }},
        {L"/H\t300", [](ControlSettings& s) { s.cacheSize = L"300"; }},  // a standard conversion skips white space
        {L"/Chost", [](ControlSettings& s) { s.connectTo = L"HOST"; }},
        {L"/C\u0431\u043e\u0440\u0438\u0441",
         [](ControlSettings& s) { s.connectTo = L"\u0411\u041e\u0420\u0418\u0421"; }},
        {L"/C", [](ControlSettings&) {}},
        {L"/S1", [](ControlSettings& s) { s.maxClients = L"2"; }},
        {L"/S200", [](ControlSettings& s) { s.maxClients = L"30"; }},
        {L"/S15", [](ControlSettings& s) { s.maxClients = L"15"; }},
        {L"/Sx", [](ControlSettings& s) { s.maxClients = L"2"; }},
        {L"/D", [](ControlSettings& s) { s.serialLink = true; }},
        {L"/D0123456", [](ControlSettings& s) { s.dial = L"0123456"; }},
        {L"/remote", [](ControlSettings& s) { s.remote = true; }},
        {L"-REMOTE /UTC bob", [](ControlSettings& s) { s.remote = true; }},
        {L"/L /REMOTE /O", [](ControlSettings& s) { s.remote = true; s.localBroadcasts = true; }},
        {L"/Q /X /1 / -", [](ControlSettings&) {}},
        {L"   /O    /L  ", [](ControlSettings& s) { s.disableTickle = true; s.localBroadcasts = true; }},
    };
    const ControlLists l = Lists();
    for (const EditCase& c : cases) {
        ControlSettings s;
        EXPECT_TRUE(rc::ParseControlOptions(std::wstring(L"V.EXE ") + c.tokens, s, l, rc::test::Upper));
        ControlSettings expected;
        c.edit(expected);
        EXPECT_EQ(s, expected) << N(c.tokens);
    }
}

TEST(ParseControlOptions, SettingsNotNamedKeepTheirValues) {
    ControlSettings s = Filled();
    s.remote = false;
    ASSERT_TRUE(rc::ParseControlOptions(L"V.EXE /UIP", s, Lists(), rc::test::Upper));
    ControlSettings expected = Filled();
    expected.transport = 0;
    expected.remote = false;
    EXPECT_EQ(s, expected);
}

TEST(ParseControlOptions, ThePathIsSkippedUpToItsFirstSpace) {
    struct Case { const wchar_t* line; const wchar_t* name; bool local; } cases[] = {
        {L"VIEWDESK.EXE bob", L"BOB", false},
        {L"/L bob", L"BOB", false},           // the first word is the path, whatever it is
        {L" /L", L"", true},                  // an empty path
        {L"C:\\Program Files\\VIEWDESK.EXE /L", L"FILES\\VIEWDESK.", true},  // a path with a space
    };
    for (const auto& c : cases) {
        ControlSettings s;
        EXPECT_TRUE(rc::ParseControlOptions(c.line, s, Lists(), rc::test::Upper));
        EXPECT_EQ(s.name, c.name) << N(c.line);
        EXPECT_EQ(s.localBroadcasts, c.local) << N(c.line);
    }
}

TEST(ParseControlOptions, AdapterAndTransportOutsideTheLists) {
    ControlLists l;
    l.adapters = {3, 5, 3};
    l.transports = {IDS_NETBIOS, IDS_TCPIP};
    struct Case { const wchar_t* tokens; int transport; int adapter; } cases[] = {
        {L"/UIP", -1, -1},   // IPX module missing: no transport
        {L"/UTC", 1, -1},
        {L"/A3", -1, 2},     // the last entry with the number
        {L"/A5", -1, 1},
        {L"/A4", -1, -1},
    };
    for (const auto& c : cases) {
        ControlSettings s;
        rc::ParseControlOptions(std::wstring(L"V.EXE ") + c.tokens, s, l, rc::test::Upper);
        EXPECT_EQ(s.transport, c.transport) << N(c.tokens);
        EXPECT_EQ(s.adapter, c.adapter) << N(c.tokens);
    }
}

TEST(ParseControlOptions, LongLinesAreReadWhole) {
    ControlSettings s;
    std::wstring line = L"V.EXE " + std::wstring(5000, L' ') + L"/O /M" + std::wstring(400, L'f');
    EXPECT_TRUE(rc::ParseControlOptions(line, s, Lists(), rc::test::Upper));
    EXPECT_TRUE(s.disableTickle);
    EXPECT_EQ(s.messageFile, std::wstring(127, L'f'));  // a field holds 127
}

// ---------------------------------------------------------------------------

ControlSettings Everything() {
    ControlSettings s;
    s.name = L"BOB";
    s.transport = 0;
    s.localBroadcasts = true;
    s.adapter = 3;
    s.messageFile = L"msg.txt";
    s.disableTickle = true;
    s.colourDepth = rc::kDepth256;
    s.cacheSize = L"512";
    s.connectTo = L"HOST";
    s.maxClients = L"10";
    s.remote = true;
    s.dial = L"555";
    return s;
}

TEST(ComposeControlOptions, EmptySettingsComposeToNothing) {
    ControlSettings s;
    s.colourDepth = rc::kDepthUnlimited;
    ComposedControl c = rc::ComposeControlOptions(s, Lists(), true);
    EXPECT_EQ(c.text, L"");
    EXPECT_FALSE(c.overLimit);
}

TEST(ComposeControlOptions, WritesEveryValueInItsOrder) {
    ComposedControl c = rc::ComposeControlOptions(Everything(), Lists(), true);
    EXPECT_EQ(c.text, L"BOB /UIP /L /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE ");
    EXPECT_FALSE(c.overLimit);
}

TEST(ComposeControlOptions, Variants) {
    struct Case { Edit edit; bool remoteAvailable; const wchar_t* expected; } cases[] = {
        {[](ControlSettings& s) { s.transport = 1; }, true,
         L"BOB /UNB /A3 /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE "},
        {[](ControlSettings& s) { s.transport = 1; s.adapter = -1; }, true,
         L"BOB /UNB /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE "},
        {[](ControlSettings& s) { s.transport = 2; }, false, L"BOB /UTC /Mmsg.txt /O /R8 /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.transport = -1; }, true,
         L"BOB /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE "},
        {[](ControlSettings& s) { s.localBroadcasts = false; }, true,
         L"BOB /UIP /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE "},
        {[](ControlSettings& s) { s.serialLink = true; }, true,
         L"BOB /UIP /L /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D /REMOTE "},
        {[](ControlSettings& s) { s.dial.clear(); }, true,
         L"BOB /UIP /L /Mmsg.txt /O /R8 /H512 /CHOST /S10 /REMOTE "},
        {[](ControlSettings& s) { s.remote = false; }, true, L"BOB /UIP /L /Mmsg.txt /O /R8 /H512 /CHOST /S10 "},
        {[](ControlSettings&) {}, false, L"BOB /UIP /L /Mmsg.txt /O /R8 /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = rc::kDepthMono; }, false,
         L"BOB /UIP /L /Mmsg.txt /O /R1 /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = rc::kDepth16; }, false,
         L"BOB /UIP /L /Mmsg.txt /O /R4 /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = rc::kDepthUnlimited; }, false,
         L"BOB /UIP /L /Mmsg.txt /O /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = -1; }, false, L"BOB /UIP /L /Mmsg.txt /O /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = 4; }, false, L"BOB /UIP /L /Mmsg.txt /O /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.messageFile.clear(); s.disableTickle = false; s.connectTo.clear(); }, false,
         L"BOB /UIP /L /R8 /H512 /S10 "},
    };
    for (const auto& c : cases) {
        ControlSettings s = Everything();
        c.edit(s);
        EXPECT_EQ(rc::ComposeControlOptions(s, Lists(), c.remoteAvailable).text, c.expected) << N(c.expected);
    }
}

TEST(ComposeControlOptions, NumbersAreClampedAsWritten) {
    struct Case { const wchar_t* clients; const wchar_t* cache; const wchar_t* expected; } cases[] = {
        {L"200", L"50", L"/H128 /S150 "},
        {L"1", L"9999", L"/H4096 /S3 "},
        {L"3", L"128", L"/H128 /S3 "},
        {L"150", L"4096", L"/H4096 /S150 "},
        {L"151", L"4097", L"/H4096 /S150 "},
        {L" 7", L"  300", L"/H300 /S7 "},
        {L"", L"", L""},
        {L"abc", L"12k", L""},
        {L"-1", L"+5", L""},
        {L"4294967295", L"4294967295", L"/H4096 /S150 "},
        {L"4294967296", L"4294967296", L""},
    };
    for (const auto& c : cases) {
        ControlSettings s;
        s.maxClients = c.clients;
        s.cacheSize = c.cache;
        EXPECT_EQ(rc::ComposeControlOptions(s, Lists(), false).text, c.expected) << N(c.expected);
    }
}

TEST(ComposeControlOptions, AdapterNumberRule) {
    struct Case { int data; const wchar_t* expected; } cases[] = {
        {0, L"/UNB /A0 "}, {7, L"/UNB /A7 "}, {-1, L"/UNB "}, {40000, L"/UNB "},
        {65536 + 5, L"/UNB /A65541 "},
    };
    for (const auto& c : cases) {
        ControlLists l = Lists();
        l.adapters = {c.data};
        ControlSettings s;
        s.transport = 1;
        s.adapter = 0;
        EXPECT_EQ(rc::ComposeControlOptions(s, l, false).text, c.expected) << c.data;
    }
}

TEST(ComposeControlOptions, ProgramManagerLimitIs128Characters) {
    // "/M" + file + " " is the file's length plus 3.
    struct Case { std::size_t file; std::size_t length; bool over; } cases[] = {
        {0, 0, false}, {124, 127, false}, {125, 128, false}, {126, 129, true},
        {127, 130, true}, {400, 130, true},  // a field is read as 127 characters
    };
    for (const auto& c : cases) {
        ControlSettings s;
        s.messageFile = std::wstring(c.file, L'f');
        ComposedControl r = rc::ComposeControlOptions(s, Lists(), false);
        EXPECT_EQ(r.text.size(), c.length) << c.file;
        EXPECT_EQ(r.overLimit, c.over) << c.file;
    }
    // The text is never cut or refused, however long.
    ControlSettings s = Everything();
    s.messageFile = std::wstring(127, L'm');
    s.connectTo = std::wstring(127, L'C');
    s.dial = std::wstring(127, L'9');
    ComposedControl r = rc::ComposeControlOptions(s, Lists(), true);
    EXPECT_TRUE(r.overLimit);
    EXPECT_EQ(r.text.size(), 4u + 5 + 3 + 130 + 3 + 4 + 6 + 130 + 5 + 130 + 8);
}

TEST(ControlOptionsRoundTrip, ComposedStringsReadBackToThemselves) {
    const wchar_t* strings[] = {
        L"",
        L"BOB /UIP /L /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE ",
        L"BOB /UNB /A3 /R1 /H128 /S3 /D /REMOTE ",
        L"BOB /UTC /R4 /H4096 /S30 ",
        L"/UIP /REMOTE ",
        L"X /UNB /A0 /CX ",
    };
    const ControlLists l = Lists();
    for (const wchar_t* text : strings) {
        ControlSettings s;
        ASSERT_TRUE(rc::ParseControlOptions(std::wstring(L"VIEWDESK.EXE ") + text, s, l, rc::test::Upper));
        bool remoteAvailable = s.transport != 2;
        EXPECT_EQ(rc::ComposeControlOptions(s, l, remoteAvailable).text, text);
    }
}

TEST(ControlOptionsRoundTrip, ParsedLinesComposeToTheirCanonicalForm) {
    struct Case { const wchar_t* tokens; const wchar_t* composed; } cases[] = {
        {L"  bob  -uip -l -o", L"BOB /UIP /L /O "},
        {L"bob /UIP /A3", L"BOB /UIP "},            // /A goes only with NetBIOS
        {L"bob /UNB /L /A12", L"BOB /UNB /A1 "},    // /L goes only with IPX
        {L"bob /S1 /H50", L"BOB /H128 /S3 "},       // read as 2, written as at least 3
        {L"bob /S200", L"BOB /S30 "},
        {L"bob /R /Cfar", L"BOB /R4 /CFAR "},
        {L"bob /REMOTE /UTC", L"BOB /REMOTE "},     // nothing after /REMOTE is read
        {L"bob /D /D77 /REMOTE", L"BOB /D /REMOTE "},  // serial link wins over the number
    };
    const ControlLists l = Lists();
    for (const auto& c : cases) {
        ControlSettings s;
        rc::ParseControlOptions(std::wstring(L"V.EXE ") + c.tokens, s, l, rc::test::Upper);
        bool remoteAvailable = s.transport != 2;
        EXPECT_EQ(rc::ComposeControlOptions(s, l, remoteAvailable).text, c.composed) << N(c.tokens);
    }
}

}  // namespace

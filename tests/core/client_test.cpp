#include "client/client_options.h"
#include "client/client_store.h"
#include "client/modem_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "client/option_append.h"
#include "resources/resource.h"
#include "support/narrow_text.h"
#include "upper_case_map.h"

// Records are written with designated initializers, the members left out
// taking their defaults; GCC warns about those members all the same.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using rc::BridgeMode;
using rc::ClientLists;
using rc::ClientSettings;
using rc::LinkKind;
using rc::test::Narrow;

// Ports, bauds, modems, adapter numbers and transports as a machine lists them.
ClientLists Lists() {
    return {{L"COM1", L"COM2", L"COM3", L"COM4"},
            {L"1200", L"2400", L"4800", L"9600", L"14400", L"19200", L"38400", L"57600", L"115200"},
            {L"Generic Modem", L"Hayes Optima 288", L"US Robotics Sportster", L"Hayes Accura 56K", L"Fast One",
             L"Fast Two"},
            {0, 1, 2, 3, 4, 5, 6, 7}, {IDS_IPX, IDS_NETBIOS, IDS_TCPIP}};
}

// Parses a text into a default record and composes it again (Bridge offered,
// default edition): the composed string shows what the parse set.
std::wstring Reparse(std::wstring_view text, const ClientLists& l = Lists()) {
    ClientSettings s;
    rc::ParseClientOptions(text, s, l, rc::test::Upper);
    return rc::ComposeClientOptions(s, l, true, false);
}

// Every switch, clamp and cut of the reading, seen through the composed form.
TEST(ClientOptions, ParseClientOptionsReadsEverySwitch) {
    struct Case { const wchar_t* text; const wchar_t* composed; } cases[] = {
        // Bare words: the name upper-cased and cut to 15, a code of at most 9
        // that is not all zeros.
        {L"bob 00123 /unb /A3 /I /c /C4711 /h50", L"BOB 00123 /UNB /A3 /I /c /C4711 /H128 "},
        {L"abcdefghijklmnopqrst /UIP", L"ABCDEFGHIJKLMNO /UIP "},
        {L"bob 0 /UIP", L"BOB /UIP "},         {L"bob 0000000001 /UIP", L"BOB /UIP "},
        {L"bob abc /UIP", L"BOB /UIP "},       {L"bob 12345678901 /UIP", L"BOB 123456789 /UIP "},
        {L"bob 12abc /UIP", L"BOB 12abc /UIP "}, {L"bob -5 /UIP", L"BOB /UIP "},
        {L"bob +5 /UIP", L"BOB +5 /UIP "},     {L"bob 7 8 9 /UIP", L"BOB 7 /UIP "},
        {L"a\tb /UIP", L"A\tB /UIP "},         {L"   bob    42   /UIP  ", L"BOB 42 /UIP "},
        {L"caf\u00e9 /UIP", L"CAF\u00c9 /UIP "},
        // The platform's upper-casing, after the cut to 15; white space starts no number.
        {L"\u017c\u00f3\u0142w /UIP", L"\u017b\u00d3\u0141W /UIP "}, {L"bob \t5 /UIP", L"BOB /UIP "},
        {L"\u0431\u043e\u0440\u0438\u0441\u0430\u0431\u0432\u0433\u0434\u0435\u0451\u0436\u0437\u0438\u0439\u043a /UIP",
         L"\u0411\u041e\u0420\u0418\u0421\u0410\u0411\u0412\u0413\u0414\u0415\u0401\u0416\u0417\u0418 /UIP "},
        // Transport codes: two letters, the last /U counts.
        {L"A -Utc", L"A /UTC "},   {L"A /UIPX", L"A /UIP "}, {L"A /UXX", L"A "}, {L"A /U", L"A "},
        {L"A /UI", L"A "},         {L"A /UIP /UTC", L"A /UTC "}, {L"A /UTC /UX", L"A "},
        // The adapter: one character; empty means 1; only with NetBIOS.
        {L"A /UNB /A", L"A /UNB /A1 "}, {L"A /UNB /A12", L"A /UNB /A1 "}, {L"A /UNB /A0", L"A /UNB /A0 "},
        {L"A /UNB /A8", L"A /UNB "},    {L"A /UNB /A/", L"A /UNB "},     {L"A /UNB /A ", L"A /UNB /A1 "},
        {L"A /UIP /A3", L"A /UIP "},
        // Main letters; the case of c and r decides.
        {L"N /UIP -i /f /K -w /P /z /O /y", L"N /UIP /I /F /K /W /P /Z /O /Y "},
        {L"N /UIP /Ifoo /cXYZ", L"N /UIP /I /c "}, {L"N /UIP -c", L"N /UIP /c "}, {L"N /UIP /C", L"N /UIP "},
        {L"N /UIP /C12345678901234567890", L"N /UIP /C123456789012345 "},
        {L"N /UIP /R", L"N /UIP /R "},  {L"N /UIP /R7", L"N /UIP /R7 "}, {L"N /UIP -r7", L"N /UIP /r7 "},
        {L"N /UIP /r", L"N /UIP "},     {L"N /UIP /rABCDEFGHIJKLMNOPQ", L"N /UIP /rABCDEFGHIJKLMNO "},
        {L"N /UIP /X", L"N /UIP /X "},  {L"N /UIP /x4711", L"N /UIP /X4711  "},
        {L"N /UIP /G101Fx /1x", L"N /UIP /G101F /1 "}, {L"N /UIP /g", L"N /UIP "},
        {L"N /UIP /Q /B96 /D / - /BRIDGEX /2", L"N /UIP "},
        // Numbers clamped as read.
        {L"N /UIP /L3 /N3 /H4096", L"N /UIP /L3 /N3 /H4096 "}, {L"N /UIP /L9 /N7 /H4097", L"N /UIP /L6 /N3 /H4096 "},
        {L"N /UIP /L6 /H127", L"N /UIP /L6 /H128 "}, {L"N /UIP /L-2 /H", L"N /UIP /L0 /H128 "},
        {L"N /UIP /L /H128", L"N /UIP /L0 /H128 "},
        {L"N /UIP /T1", L"N /UIP /T2 "},  {L"N /UIP /T0", L"N /UIP /T0 "}, {L"N /UIP /T30", L"N /UIP /T30 "},
        {L"N /UIP /T31", L"N /UIP /T30 "}, {L"N /UIP /T-4", L"N /UIP "},  {L"N /UIP /Tabc", L"N /UIP /T0 "},
        {L"N /UIP /T01", L"N /UIP /T2 "}, {L"N /UIP /M1", L"N /UIP /T1 "}, {L"N /UIP /m45", L"N /UIP /T30 "},
        {L"N /UIP /T5 /M9", L"N /UIP /T9 "},
        {L"N /UIP /T\t5", L"N /UIP /T0 "}, {L"N /UIP /L+3", L"N /UIP /L3 "}, {L"N /UIP /H\t300", L"N /UIP /H128 "},
        // The bridge part: from /BRIDGE on, main letters mean nothing.
        {L"A /UIP /BRIDGE COM2 4711 /B96 /mhay /T1 /D", L"A /UIP /BRIDGE COM2 /B9600 /MHayes 4711 /T2  /D"},
        {L"A /UIP /BRIDGE /I /c /C1 /1 /L3 /X /UTC", L"A /UIP /BRIDGE  "},
        {L"A /UIP /BRIDGE -NoBridge", L"A /UIP /NOBRIDGE  "},
        {L"A /UIP /BRIDGE /nobridge /bridge", L"A /UIP /BRIDGE  "},
        {L"A /UIP /BRIDGE com3x", L"A /UIP /BRIDGE COM3  "}, {L"A /UIP /BRIDGE COM9", L"A /UIP /BRIDGE  "},
        {L"A /UIP /BRIDGE COM1 0", L"A /UIP /BRIDGE COM1  "},
        {L"A /UIP /BRIDGE COM1 12345678901 99", L"A /UIP /BRIDGE COM1  123456789 "},
        {L"A /UIP /BRIDGE xyz 55", L"A /UIP /BRIDGE  55 "},
        // A list entry is looked for from the third on, then from the first.
        {L"A /UIP /BRIDGE /B1", L"A /UIP /BRIDGE /B14400  "}, {L"A /UIP /BRIDGE /B", L"A /UIP /BRIDGE /B4800  "},
        {L"A /UIP /BRIDGE /B12", L"A /UIP /BRIDGE /B1200  "}, {L"A /UIP /BRIDGE /B11", L"A /UIP /BRIDGE /B115200  "},
        {L"A /UIP /BRIDGE /B7", L"A /UIP /BRIDGE  "}, {L"A /UIP /BRIDGE /Mzzz", L"A /UIP /BRIDGE /MGeneric "},
        {L"A /UIP /BRIDGE /MFast", L"A /UIP /BRIDGE /MFast "}, {L"A /UIP /BRIDGE /P", L"A /UIP /BRIDGE  "},
        {L"A /UIP /BRIDGE 55 /Pdial.txt", L"A /UIP /BRIDGE  /Pdial.txt "},
        {L"A /UIP /BRIDGE /T45", L"A /UIP /BRIDGE  /T30 "}, {L"A /UIP /BRIDGE /t1", L"A /UIP /BRIDGE  /T2 "},
        {L"A /UIP /BRIDGE /T0 /d", L"A /UIP /BRIDGE  /T0  /D"},
    };
    for (const auto& c : cases) EXPECT_EQ(Reparse(c.text), c.composed) << Narrow(c.text);
    // The text is read up to its 255th character.
    const std::wstring head = L"A /UIP" + std::wstring(247, L' ');
    EXPECT_EQ(Reparse(head + L"/I") + Reparse(head + L" /I"), L"A /UIP /I A /UIP ");
}

TEST(ClientOptions, ParseClientOptionsListsDecideTransportsAdaptersAndModems) {
    ClientLists l = Lists();
    l.transports = {IDS_TCPIP, IDS_NETBIOS, IDS_IPX};
    l.transports.pop_back();  // an entry left just past the end is never taken
    l.adapters = {0, 9, 3, 9, 1};
    l.modems.clear();
    // Adapter 6 and modem 7 stand before the reading; an adapter value that
    // selects no entry leaves the adapter.
    struct Case { const wchar_t* text; int transport, adapter, modem; } cases[] = {
        {L"A /UTC", 0, 6, 7}, {L"A /UIP", -1, 6, 7}, {L"A /UNB /A8", 1, 6, 7},
        // Above 9 counts as 9; the last entry with the number wins.
        {L"A /UNB /AZ", 1, 3, 7}, {L"A /UNB /A9", 1, 3, 7}, {L"A /UNB /A\u4E00", 1, 3, 7},
        {L"A /UNB /A1", 1, 4, 7}, {L"A /UNB /A3", 1, 2, 7},
        {L"A /UNB /BRIDGE /MHayes", 1, 6, -1},  // /M with an empty modem list selects nothing
    };
    for (const auto& c : cases) {
        ClientSettings s;
        s.adapter = 6;
        s.modem = 7;
        rc::ParseClientOptions(c.text, s, l, rc::test::Upper);
        EXPECT_EQ(std::tie(s.transport, s.adapter, s.modem), std::tie(c.transport, c.adapter, c.modem))
            << Narrow(c.text);
    }
}

TEST(ClientOptions, ParseClientOptionsHeldValuesAreKeptAsReadAndSurviveStringsThatLackThem) {
    const ClientLists l = Lists();
    ClientSettings s;
    ASSERT_TRUE(rc::ParseClientOptions(L"A /UIP /L3 /r7 /C99 /G12 /N-5 /H200 /1 /BRIDGE /D", s, l, rc::test::Upper));
    EXPECT_EQ(std::tie(s.held.bufferCount, s.cacheSizeField), std::tuple(-5, L"200"));  // no lower limit when read
    s.dialbackFile = L"D.TXT";
    s.options.fill(true);
    ASSERT_TRUE(rc::ParseClientOptions(L"B /UNB /N0", s, l, rc::test::Upper));
    EXPECT_EQ(std::tie(s.held.bufferCount, s.bridge, s.dialbackFile), std::tuple(0, BridgeMode::Off, L"D.TXT"));
    EXPECT_TRUE(s.options[rc::kOptWatchOnly]);  // switches only ever turn on
    s.options.fill(false);
    EXPECT_EQ(rc::ComposeClientOptions(s, l, false, false), L"B /UNB /r7 /C99 /L3 /N1 /H200 /G12 /1 ");
}

TEST(ClientOptions, AppendOperationsCutClampAndSkip) {
    std::wstring out;
    rc::AppendFieldText(out, L"", L"/C");
    rc::AppendFieldText(out, L"abc", L"/C");
    rc::AppendFieldText(out, std::wstring(300, L'q'), L"/M");
    EXPECT_EQ(out, L"/Cabc /M" + std::wstring(127, L'q') + L" ");

    struct Case { std::wstring field; const wchar_t* expected; } numbers[] = {
        // What ParseUnsigned refuses is left out (its cases are the text tests').
        {L"", L""}, {L"1x", L""}, {L"0", L"/T0 "}, {L"  12", L"/T12 "}, {L"30", L"/T30 "}, {L"31", L"/T30 "},
        {L"4294967295", L"/T30 "}, {L"4294967296", L""}, {std::wstring(126, L' ') + L"9", L"/T9 "},
        {std::wstring(127, L' ') + L"9", L""},
    };
    for (const auto& c : numbers) {
        out.clear();
        rc::AppendFieldNumber(out, c.field, L"/T", 0, 30);
        EXPECT_EQ(out, c.expected) << Narrow(c.field);
    }

    struct Held { int value; const wchar_t* expected; } held[] = {
        {-1, L""}, {-2, L"/N1 "}, {0, L"/N1 "}, {2, L"/N2 "}, {3, L"/N3 "}, {4, L"/N3 "},
        {2147483647, L"/N3 "}, {-2147483647 - 1, L"/N1 "},
    };
    for (const auto& c : held) {
        out.clear();
        rc::AppendHeldNumber(out, c.value, L"/N", 1, 3);
        EXPECT_EQ(out, c.expected) << c.value;
    }

    const std::vector<std::wstring> entries = {L"COM1", L"", std::wstring(200, L'm')};
    out.clear();
    for (int selected : {-1, 3, 0, 1, 2}) rc::AppendListText(out, entries, selected, L"/B");
    EXPECT_EQ(out, L"/BCOM1 /B /B" + std::wstring(127, L'm') + L" ");
}

ClientSettings Everything() {
    ClientSettings s{L"BOB", L"4711", 1, 3, {}, L"99", L"10", L"256", BridgeMode::Bridge, 1, 3, LinkKind::Modem, 3,
                     L"55", false, L"dial.txt", L"2", {L"7", L"123", 3, 2, 512, L"101", true, true}};
    s.options.fill(true);
    return s;
}

TEST(ClientOptions, ComposeClientOptionsWritesEveryValueInItsOrder) {
    const ClientLists l = Lists();
    const std::wstring main =
        L"BOB 4711 /UNB /A3 /I /F /K /W /P /Z /O /Y /R7 /X99  /c /C123 /L3 /N2 /H512 /G101 /1 /T10 ";
    EXPECT_EQ(rc::ComposeClientOptions(Everything(), l, false, false), main);
    EXPECT_EQ(rc::ComposeClientOptions(Everything(), l, true, false),
              main + L"/BRIDGE COM2 /B9600 /MHayes 55 /T2  /D");
    // The classroom edition: no Logoff On Disconnect (the argument rides on
    // /r), no options, and its Cache Size field instead of the held size.
    EXPECT_EQ(rc::ComposeClientOptions(Everything(), l, true, true),
              L"BOB /UNB /A3 /r7 /C123 /L3 /N2 /H256 /G101 /1 ");
    EXPECT_EQ(rc::ComposeClientOptions(ClientSettings(), l, true, false), L"");
}

TEST(ClientOptions, ComposeClientOptionsVariants) {
    using Edit = void (*)(ClientSettings&);
    struct Case { Edit edit; bool bridged, classroom; const wchar_t* expected; } cases[] = {
        {[](ClientSettings& s) { s.link = LinkKind::SerialLink; }, true, false, L"/BRIDGE COM2 /B9600  55 /T2  /D"},
        {[](ClientSettings& s) { s.modem = -1; }, true, false, L"/BRIDGE COM2 /B9600  55 /T2  /D"},
        {[](ClientSettings& s) { s.dialback = true; s.dialbackFile.clear(); }, true, false, L"/BRIDGE COM2 /B9600 /MHayes /T2  /D"},
        {[](ClientSettings& s) { s.bridgeTimeout = L"45"; s.bridgeCode.clear(); }, true, false, L"/BRIDGE COM2 /B9600 /MHayes /T30  /D"},
        {[](ClientSettings& s) { s.bridgeTimeout = L"x"; s.held.modemDebug = false; }, true, false, L"/BRIDGE COM2 /B9600 /MHayes 55 "},
        // A public code is written only with its option; the classroom's cache field.
        {[](ClientSettings& s) { s.publicCode = L"12"; }, false, false, L""},
        {[](ClientSettings& s) { s.held.cacheSize = 300; s.cacheSizeField = L"abc"; }, false, true, L""},
        {[](ClientSettings& s) { s.cacheSizeField = L"50"; }, false, true, L"/H128 "},
        {[](ClientSettings& s) { s.cacheSizeField = L"1024"; }, false, true, L"/H1024 "},
    };
    const ClientLists l = Lists();
    for (const auto& c : cases) {
        // The bridge values of Everything() on a plain record, then the edit.
        ClientSettings s{.name = L"A", .transport = 0, .bridge = c.bridged ? BridgeMode::Bridge : BridgeMode::Off,
                         .port = 1, .baud = 3, .link = LinkKind::Modem, .modem = 3, .bridgeCode = L"55",
                         .dialbackFile = L"dial.txt", .bridgeTimeout = L"2"};
        s.held.modemDebug = true;
        c.edit(s);
        EXPECT_EQ(rc::ComposeClientOptions(s, l, !c.classroom, c.classroom),
                  std::wstring(L"A /UIP ") + c.expected) << Narrow(c.expected);
        // Never offered, never written.
        EXPECT_EQ(rc::ComposeClientOptions(s, l, false, false).find(L"BRIDGE"), std::wstring::npos);
    }
}

TEST(ClientOptions, ComposeClientOptionsAdapterOnlyWithNetBiosAndANonNegativeShort) {
    struct Case { int transport, data, position; const wchar_t* expected; } cases[] = {
        {1, 0, 0, L"A /UNB /A0 "},      {1, 32767, 0, L"A /UNB /A32767 "}, {1, 32768, 0, L"A /UNB "},
        {1, 65535, 0, L"A /UNB "},      {1, -1, 0, L"A /UNB "},            {1, 65536, 0, L"A /UNB /A65536 "},
        {1, 70000, 0, L"A /UNB /A70000 "}, {0, 3, 0, L"A /UIP "},          {2, 3, 0, L"A /UTC "},
        {1, 3, -1, L"A /UNB "},         {1, 3, 1, L"A /UNB "},             {3, 3, 0, L"A "}, {-2, 3, 0, L"A "},
    };
    for (const auto& c : cases) {
        ClientLists l = Lists();
        l.adapters = {c.data};
        const ClientSettings s{.name = L"A", .transport = c.transport, .adapter = c.position};
        EXPECT_EQ(rc::ComposeClientOptions(s, l, false, false), c.expected) << c.data;
    }
}

// Exact-length heap copies, so that reading one character too far is caught
// by the address sanitizer.
std::unique_ptr<wchar_t[]> Block(std::wstring_view chars) {
    auto block = std::make_unique<wchar_t[]>(chars.size());
    std::copy(chars.begin(), chars.end(), block.get());
    return block;
}

TEST(ServiceCommand, ValueBytesAndTheOptionsAfterTheSecondWord) {
    struct Value { std::wstring_view stored; std::size_t bytes; std::wstring_view expected; } values[] = {
        {L"P /* AB", 7 * sizeof(wchar_t), L"P /* AB"},  // no terminator returned
        {std::wstring_view(L"P\0 /* AB", 8), 8 * sizeof(wchar_t), L"P"},
        {L"P /* AB", 7 * sizeof(wchar_t) - 1, L"P /* A"},  // a split last character is left out
        {L"P /* AB", 0, L""},
    };
    for (const auto& c : values)
        EXPECT_EQ(rc::CommandOfValue(Block(c.stored).get(), c.bytes), c.expected) << c.bytes;

    struct Command { std::wstring_view command, options; } commands[] = {
        {L"C:\\S.EXE /* BOB /UIP", L"BOB /UIP"}, {L"C:\\S.EXE /*  BOB", L" BOB"}, {L"C:\\S.EXE   /* BOB", L"BOB"},
        {L"C:\\S.EXE /* ", L""}, {L"C:\\S.EXE /*", L""}, {L"C:\\S.EXE ", L""}, {L"C:\\S.EXE", L""}, {L"", L""},
        {L" /* BOB", L"BOB"}, {L"C:\\S.EXE\t/* BOB", L""},  // only spaces separate
    };
    EXPECT_EQ(rc::ServiceCommand(L"C:\\S.EXE", L"BOB /UIP "), L"C:\\S.EXE /* BOB /UIP ");
    for (const auto& c : commands)
        EXPECT_EQ(rc::OptionTextOfCommand({Block(c.command).get(), c.command.size()}), c.options) << Narrow(c.command);
}

// Reads the file in blocks of the given size (0: all at once) and gives the
// result and the names, '|' between them: "1:A|B", "-1:A".
std::wstring ReadInBlocks(std::string_view file, std::size_t blockSize,
                          rc::LetterOrDigitTest test = rc::IsLatin1LetterOrDigit) {
    rc::ModemListReader reader(test);
    for (std::size_t pos = 0; pos < file.size() || pos == 0; pos += blockSize ? blockSize : file.size() + 1)
        if (!reader.Feed(file.substr(pos, blockSize ? blockSize : file.npos))) break;
    std::wstring out = std::to_wstring(reader.Finish()) + L":";
    for (std::size_t i = 0; i < reader.Names().size(); ++i) out += (i ? L"|" : L"") + reader.Names()[i];
    return out;
}

TEST(ModemFile, ModemListReadsTheModemLinesInAnyBlocks) {
    struct Case { std::string file; std::wstring read; } cases[] = {
        {"@[M1] Fast Modem 28.8 ;comment\r\n@[D] ATDT\r\n@[M2]--Generic\r\n", L"1:Fast Modem 28.8 |Generic"},
        {"@[M1]A\n@[M2]Last One", L"1:A|Last One"}, {"", L"1:"}, {"  \t\r\n\n", L"1:"}, {"@[M]", L"1:"},
        {"@[M]\r\n@[M]x", L"1:|x"}, {"  \t @[M1]Indented\n", L"1:Indented"}, {"@[M 12;x [ @]Name\n", L"1:Name"},
        {"@[M]B\n@[M]A\n@[M]B\n", L"1:B|A|B"}, {"@[M]Hayes\tSmart  \n", L"1:Hayes\tSmart  "},
        {"@[M];nothing\n@[M1]A ;@[M2]B\n", L"1:|A "}, {"@[M1]]x]\n", L"1:x]"},
        {"Hello\n;comment\n[M1]x\n @ [M1]y\n@M1]z\n@[M1]ok\n", L"1:ok"},
        {"@[A]a\n@[D]d\n@[H]h\n@[T]t\n@[Axyz\n@[T\n", L"1:"},
        {"@\r[\rM\r1]\rF\ra\rst\r\r\n", L"1:Fast"}, {"@[M1]Fa\x1Ast\n\x1A", L"1:Fast"},
        {"@[M1]A\r@[M2]B\r", L"1:A@[M2]B"},  // a CR alone ends no line
        {"@\n@[M1]A\n@[M2]B\n", L"1:B"},      // a lone "@" takes the LF and passes over the next line
        {"@[M1]A\n@", L"1:A"},
        // Format errors stop the reading and keep the earlier entries.
        {"@[M1]Good\n@[m1] Modem\n@[M2]Never\n", L"-1:Good"}, {"@[X]a\n", L"-1:"}, {"@[a]\n", L"-1:"},
        {"@[1]\n", L"-1:"}, {"@[ M]\n", L"-1:"}, {"@[M1]A\n@[\n@[M2]B\n", L"-1:A"}, {"@[M1]A\n@[", L"-1:A"},
        {"@[M1 Modem\n@[M2]B\n", L"-1:"}, {"@[M1]A\n@[M2 Modem", L"-1:A"}, {"@[M", L"-1:"},
        // Leading characters up to the first Latin-1 letter or digit go.
        {"@[M]  --3Com 56k\n@[M]..\xC9lan\n@[M]-\xB2nd\n@[M]\xD7\xF7x\n", L"1:3Com 56k|\u00C9lan|\u00B2nd|x"},
        {"@[M]\xA9\xAE\xBF\xA1ok\n@[M]\x80\x9F\xA0z\n@[M]\xAA\n@[M]\xB5m\n", L"1:ok|z|\u00AA|\u00B5m"},
        {"@[M] -- \n@[M] a -- b\n@[M]\xE9\x80\n", L"1:|a -- b|\u00E9\u0080"},
        // Names keep 127 characters; dropped leading ones do not count.
        {"@[M]" + std::string(200, 'N') + "\n@[M]" + std::string(50, '-') + std::string(127, 'y') + "z\n",
         L"1:" + std::wstring(127, L'N') + L"|" + std::wstring(127, L'y')},
    };
    for (const auto& c : cases) {
        std::wstring whole = ReadInBlocks(c.file, 0);
        EXPECT_EQ(whole, c.read) << c.file;
        // The Windows side reads 127-byte blocks; any split gives the same.
        for (std::size_t block : {1u, 2u, 3u, 7u, 127u}) EXPECT_EQ(ReadInBlocks(c.file, block), whole) << block;
    }
    // The Windows side passes its own test of letters and digits.
    auto digitsOnly = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    EXPECT_EQ(ReadInBlocks("@[M]Hayes 9600\n", 0, digitsOnly), L"1:9600");
}

TEST(ModemFile, IsLatin1LetterOrDigitMatchesThePlatformClassesForBytes) {
    std::wstring accepted;
    for (int c = 0; c < 0x101; ++c)
        if (rc::IsLatin1LetterOrDigit(static_cast<wchar_t>(c))) accepted.push_back(static_cast<wchar_t>(c));
    std::wstring expected = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz\u00AA\u00B2\u00B3\u00B5\u00B9\u00BA";
    for (int c = 0xC0; c <= 0xFF; ++c)
        if (c != 0xD7 && c != 0xF7) expected.push_back(static_cast<wchar_t>(c));
    EXPECT_EQ(accepted, expected);
}

TEST(ModemFile, PathCutsTheDirectoryTo113Bytes) {
    struct Case { std::wstring directory; std::string path; } cases[] = {
        {L"C:\\RC", "C:\\RC\\MODEMDEF.MDM"},
        {L"C:\\" + std::wstring(110, L'd'), "C:\\" + std::string(110, 'd') + "\\MODEMDEF.MDM"},
        {L"C:\\" + std::wstring(111, L'd'), "C:\\" + std::string(110, 'd') + "\\MODEMDEF.MDM"},
        {L"C:\\\u20AC\u4E00", "C:\\\x80?\\MODEMDEF.MDM"}, {L"", ""},
        {std::wstring(300, L'x'), ""},  // not convertible into the buffer
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::ModemFilePath(c.directory, rc::Cp1252Codec()), c.path) << c.directory.size();
}

}  // namespace

#include "control/control_options.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"
#include "support/narrow_text.h"
#include "upper_case_map.h"

// Records are written with designated initializers, the members left out
// taking their defaults; GCC warns about those members all the same.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using rc::ControlLists;
using rc::ControlSettings;
using rc::test::Narrow;

// Adapter numbers up to 9 so that /A9 and /AZ have an entry to select.
ControlLists Lists() { return {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {IDS_IPX, IDS_NETBIOS, IDS_TCPIP}}; }

// Parses a command line into a record and composes it again; Remote Control
// is offered unless the transport is TCP/IP.
std::wstring Reparse(std::wstring_view line, const ControlLists& l = Lists()) {
    ControlSettings s;
    EXPECT_TRUE(rc::ParseControlOptions(line, s, l, rc::test::Upper)) << Narrow(line);
    return rc::ComposeControlOptions(s, l, s.transport != 2).text;
}

TEST(ControlOptions, ParseControlOptionsReadsEverySwitch) {
    struct Case { const wchar_t* line; const wchar_t* composed; } cases[] = {
        // The first word is the program's path, whatever it is.
        {L"VIEWDESK.EXE", L""}, {L"/L bob", L"BOB "}, {L" /UIP /L", L"/UIP /L "},
        {L"C:\\Program Files\\VIEWDESK.EXE /UIP /L", L"FILES\\VIEWDESK. /UIP /L "},
        {L"V.EXE bob joe", L"BOB "}, {L"V.EXE abcdefghijklmnopqrst", L"ABCDEFGHIJKLMNO "},
        {L"V.EXE \u017c\u00f3\u0142w /C\u0431\u043e\u0440\u0438\u0441", L"\u017b\u00d3\u0141W /C\u0411\u041e\u0420\u0418\u0421 "},
        {L"V.EXE /H\t300", L"/H300 "},  // a standard decimal conversion skips white space
        {L"V.EXE /UIP /lx", L"/UIP /L "}, {L"V.EXE -unb", L"/UNB "}, {L"V.EXE /UNBX /A", L"/UNB /A1 "},
        {L"V.EXE /Utc", L"/UTC "}, {L"V.EXE /UIP /UXX", L""}, {L"V.EXE /U", L""},
        {L"V.EXE /UNB /A7", L"/UNB /A7 "}, {L"V.EXE /UNB /AZ", L"/UNB /A9 "},
        {L"V.EXE /UNB /A12", L"/UNB /A1 "}, {L"V.EXE /UNB /A/", L"/UNB "}, {L"V.EXE /UIP /A3", L"/UIP "},
        {L"V.EXE /UNB /L", L"/UNB "},
        {L"V.EXE /Mc:\\notes\\hello.txt /O", L"/Mc:\\notes\\hello.txt /O "}, {L"V.EXE /M", L""},
        // Colour depth: the first two characters of the value.
        {L"V.EXE /R", L"/R4 "},  {L"V.EXE /R0", L"/R4 "},  {L"V.EXE /R1", L"/R1 "},  {L"V.EXE /R3", L"/R1 "},
        {L"V.EXE /R-5", L"/R1 "}, {L"V.EXE /R4", L"/R4 "}, {L"V.EXE /R7", L"/R4 "},  {L"V.EXE /R8", L"/R8 "},
        {L"V.EXE /R16", L"/R8 "}, {L"V.EXE /R256", L"/R8 "}, {L"V.EXE /R0256", L"/R1 "}, {L"V.EXE /REMOTEX", L"/R4 "},
        // Numbers clamped as read: cache 128..4096, clients 2..30.
        {L"V.EXE /H50", L"/H128 "}, {L"V.EXE /H9999", L"/H4096 "}, {L"V.EXE /H1024", L"/H1024 "},
        {L"V.EXE /H", L"/H128 "},   {L"V.EXE /S200", L"/S30 "},    {L"V.EXE /S15", L"/S15 "},
        {L"V.EXE /S1", L"/S3 "},    {L"V.EXE /Sx", L"/S3 "}, {L"V.EXE /Chost", L"/CHOST "}, {L"V.EXE /C", L""},
        {L"V.EXE /D /REMOTE", L"/D /REMOTE "}, {L"V.EXE /D0123456 /REMOTE", L"/D0123456 /REMOTE "},
        {L"V.EXE /D /D77 /REMOTE", L"/D /REMOTE "}, {L"V.EXE /D77", L""},
        // /REMOTE ends the reading.
        {L"V.EXE /remote", L"/REMOTE "}, {L"V.EXE -REMOTE /UTC bob", L"/REMOTE "},
        {L"V.EXE /UIP /L /REMOTE /O", L"/UIP /L /REMOTE "},
        {L"V.EXE /Q /X /1 / -", L""}, {L"V.EXE    /O    /UIP  /L ", L"/UIP /L /O "},
    };
    for (const auto& c : cases) EXPECT_EQ(Reparse(c.line), c.composed) << Narrow(c.line);
}

TEST(ControlOptions, ParseControlOptionsReadsFieldsAsTextAndKeepsWhatTheLineLacks) {
    const ControlSettings before{.messageFile = L"msg.txt", .colourDepth = rc::kDepth256, .remote = true};
    ControlSettings s = before;
    EXPECT_FALSE(rc::ParseControlOptions(L"", s, Lists(), rc::test::Upper));  // no line: nothing changes
    EXPECT_EQ(s, before);
    // Every reading turns Remote Control off first, a line without options too.
    const ControlSettings read{.transport = 0, .messageFile = L"msg.txt", .colourDepth = rc::kDepth256,
                               .cacheSize = L"128", .maxClients = L"2"};
    ASSERT_TRUE(rc::ParseControlOptions(L"V.EXE /S1 /Sx /H50 /UIP", s, Lists(), rc::test::Upper));
    EXPECT_EQ(s, read);
    s.remote = true;
    ASSERT_TRUE(rc::ParseControlOptions(L"VIEWDESK.EXE", s, Lists(), rc::test::Upper));
    EXPECT_EQ(s, read);

    ASSERT_TRUE(rc::ParseControlOptions(L"V.EXE " + std::wstring(5000, L' ') + L"/O /M" +
                                            std::wstring(400, L'f'), s, Lists(), rc::test::Upper));
    EXPECT_TRUE(s.disableTickle);
    EXPECT_EQ(s.messageFile, std::wstring(127, L'f'));  // a field holds 127
}

ControlSettings Everything() {
    return {L"BOB", 0, true, 3, L"msg.txt", true, rc::kDepth256, L"512", L"HOST", L"10", true, false, L"555"};
}

TEST(ControlOptions, ComposeControlOptionsWritesEveryValueInItsOrder) {
    using Edit = void (*)(ControlSettings&);
    struct Case { Edit edit; bool remoteAvailable; const wchar_t* expected; } cases[] = {
        {[](ControlSettings&) {}, true, L"BOB /UIP /L /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE "},
        {[](ControlSettings& s) { s.transport = 1; }, true, L"BOB /UNB /A3 /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D555 /REMOTE "},
        {[](ControlSettings& s) { s.transport = 1; s.adapter = -1; s.remote = false; }, true, L"BOB /UNB /Mmsg.txt /O /R8 /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.transport = -1; s.serialLink = true; }, true, L"BOB /Mmsg.txt /O /R8 /H512 /CHOST /S10 /D /REMOTE "},
        {[](ControlSettings& s) { s.localBroadcasts = false; s.dial.clear(); }, true, L"BOB /UIP /Mmsg.txt /O /R8 /H512 /CHOST /S10 /REMOTE "},
        // Without Remote Control, on or offered, neither /D nor /REMOTE is written.
        {[](ControlSettings& s) { s.colourDepth = rc::kDepthMono; }, false, L"BOB /UIP /L /Mmsg.txt /O /R1 /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = rc::kDepth16; }, false, L"BOB /UIP /L /Mmsg.txt /O /R4 /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = rc::kDepthUnlimited; }, false, L"BOB /UIP /L /Mmsg.txt /O /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = -1; s.messageFile.clear(); }, false, L"BOB /UIP /L /O /H512 /CHOST /S10 "},
        {[](ControlSettings& s) { s.colourDepth = 4; s.disableTickle = false; s.connectTo.clear(); }, false, L"BOB /UIP /L /Mmsg.txt /H512 /S10 "},
        {[](ControlSettings& s) { s = ControlSettings(); s.colourDepth = rc::kDepthUnlimited; }, true, L""},
        // Numbers clamped as written: cache 128..4096, clients 3..150. (The
        // field and adapter rules are the Client's: AppendFieldNumber, AppendAdapter.)
        {[](ControlSettings& s) { s = {.cacheSize = L"50", .maxClients = L"200"}; }, false, L"/H128 /S150 "},
        {[](ControlSettings& s) { s = {.cacheSize = L"9999", .maxClients = L"1"}; }, false, L"/H4096 /S3 "},
        {[](ControlSettings& s) { s = {.cacheSize = L"  300", .maxClients = L" 7"}; }, false, L"/H300 /S7 "},
        {[](ControlSettings& s) { s = {.cacheSize = L"", .maxClients = L"abc"}; }, false, L""},
    };
    for (const auto& c : cases) {
        ControlSettings s = Everything();
        c.edit(s);
        EXPECT_EQ(rc::ComposeControlOptions(s, Lists(), c.remoteAvailable).text, c.expected) << Narrow(c.expected);
    }
}

}  // namespace

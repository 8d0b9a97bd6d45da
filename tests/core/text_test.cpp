#include "shell/text.h"

#include <gtest/gtest.h>

#include "support/narrow_text.h"

namespace {

using rc::test::Narrow;

TEST(Text, CopyCutCutsAtCapacityAndAlwaysTerminates) {
    wchar_t buf[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(rc::CopyCut(buf, 6, L"abcdefgh"), 5u);
    EXPECT_STREQ(buf, L"abcde");
    EXPECT_EQ(rc::CopyCut(buf, 1, L"abc"), 0u);
    EXPECT_STREQ(buf, L"");
    buf[0] = L'#';
    EXPECT_EQ(rc::CopyCut(buf, 0, L"abc"), 0u);
    EXPECT_EQ(buf[0], L'#');
}

TEST(Text, NumbersLeadingNumberAndParseUnsigned) {
    struct Leading { const wchar_t* text; int expected; } leading[] = {
        {L"", 0}, {L"abc", 0}, {L"  7x", 7}, {L"-5", -5}, {L"+9", 9}, {L"- 5", 0}, {L"007", 7},
        {L"2147483647", 2147483647}, {L"2147483648", 2147483647}, {L"99999999999999999999", 2147483647},
        {L"-2147483648", -2147483647 - 1}, {L"-99999999999", -2147483647 - 1}, {L"12\r\n", 12},
    };
    for (const auto& c : leading) EXPECT_EQ(rc::LeadingNumber(c.text), c.expected) << Narrow(c.text);

    struct Unsigned { const wchar_t* text; bool ok; unsigned value; } unsigneds[] = {
        {L"0", true, 0}, {L"  15", true, 15}, {L"4294967295", true, 4294967295u}, {L"4294967296", false, 12345},
        {L"", false, 12345}, {L"   ", false, 12345}, {L"1 ", false, 12345}, {L"-1", false, 12345},
        {L"+1", false, 12345}, {L"1a", false, 12345}, {L"\t1", false, 12345},
    };
    for (const auto& c : unsigneds) {
        std::uint32_t v = 12345;
        EXPECT_EQ(rc::ParseUnsigned(c.text, &v), c.ok) << Narrow(c.text);
        EXPECT_EQ(v, c.value) << Narrow(c.text);  // untouched when refused
    }
}

TEST(Text, FormatTextFillsDirectivesInOrderAndCuts) {
    EXPECT_EQ(rc::FormatText(L"Error %d opening key %s", {5, L"K"}), L"Error 5 opening key K");
    EXPECT_EQ(rc::FormatText(L"%lu|%s|%d", {4000000000ul, L"555", -5}), L"4000000000|555|-5");
    EXPECT_EQ(rc::FormatText(L"100%% %s and %s", {L"sure"}), L"100% sure and ");
    EXPECT_EQ(rc::FormatText(L"abcdef", {}, 4) + rc::FormatText(L"abcd", {}, 4), L"abcabc");
    // A directive cut short, or none at all, is written as it stands.
    EXPECT_EQ(rc::FormatText(L"%q%lq 100% %l", {L"x"}) + rc::FormatText(L"100%", {}), L"%q%lq 100% %l100%");
    EXPECT_EQ(rc::FormatText(std::wstring_view(L"7%ld", 3), {5}), L"7%l");  // nothing past the format is read
}

TEST(Text, Cp1252CodecMapsBothWaysAndMarksMissingCharacters) {
    const auto& codec = rc::Cp1252Codec();
    char out[8];
    EXPECT_EQ(codec.toAnsi(L"A\u20AC\u00E9\u4E00", out, sizeof out), 4u);
    EXPECT_EQ(std::string(out), std::string("A\x80\xE9?"));
    EXPECT_EQ(codec.toAnsi(L"12345678", out, sizeof out), 0u);  // does not fit 7 bytes
    EXPECT_EQ(out[0], '\0');
    wchar_t wide[4];
    EXPECT_EQ(codec.toWide("\x80xyz", wide, 4), 3u);
    EXPECT_STREQ(wide, L"\u20ACxy");
    // The five unassigned bytes stand for themselves; the others are the
    // code page's characters.
    wchar_t five[5];
    EXPECT_EQ(codec.toWide("\x81\x87\x95\x8d", five, 5), 4u);
    EXPECT_STREQ(five, L"\x81\u2021\u2022\x8d");
    EXPECT_EQ(codec.toAnsi(L"\x01\x81\u2021", out, sizeof out), 3u);
    EXPECT_EQ(std::string(out), std::string("\x01?\x87"));
    // The whole of 0x80-0x9F as the code page defines it; text shorter than the room.
    wchar_t high[33];
    EXPECT_EQ(codec.toWide("\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                           "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F", high, 33), 32u);
    EXPECT_STREQ(high, L"\u20AC\x81\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\x8D\u017D\x8F"
                       L"\x90\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\x9D\u017E\u0178");
    EXPECT_EQ(codec.toWide("ab", wide, 4), 2u);
}

TEST(Text, CaseFoldingComparesLatinLettersWithoutCase) {
    EXPECT_TRUE(rc::EqualsNoCase(L"Quorvel \u00e9", L"QUORVEL \u00c9"));
    EXPECT_FALSE(rc::EqualsNoCase(L"abc", L"abd"));
    EXPECT_TRUE(rc::StartsWithNoCase(L"com2", L"COM"));
    EXPECT_FALSE(rc::StartsWithNoCase(L"CO", L"COM"));
    EXPECT_TRUE(rc::EqualsNoCaseAscii(L"bob /uip", L"BOB /UIP") && rc::EqualsNoCaseAscii(L"QUIET", L"quiet"));
    EXPECT_FALSE(rc::EqualsNoCaseAscii(L"\u00e9", L"\u00c9"));
}

}  // namespace

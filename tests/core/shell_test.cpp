#include "shell/ini_section.h"
#include "shell/shell_logic.h"
#include "shell/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <tuple>

#include "support/narrow_text.h"

namespace {

using rc::CommandLineSwitches;
using rc::ParseCommandLine;
using rc::test::Narrow;

TEST(ShellLogic, CommandLineSwitchesGroupNameAndTheWorkingBuffer) {
    struct Case { std::wstring line; bool quiet, banner, hasGroup; std::wstring group; } cases[] = {
        {L"", false, true, false, L""},            {L"/i /n", true, false, false, L""},
        {L"-I -N", true, false, false, L""},       {L"/Ixyz", true, true, false, L""},
        {L"/ - x /", false, true, false, L""},     {L"/N\t/I", false, false, false, L""},  // a tab does not separate
        {L"/PMy Group /N", false, true, true, L"My Group /N"}, {L"/I /P", true, true, true, L""},
        {L"-pgroup", false, true, true, L"group"}, {L"/P My", false, true, true, L" My"},
        {L"/N  /I", true, false, false, L""},      {L"/X /Y", false, true, false, L""},
        // Switches past the 131st character are not seen; a /P value comes
        // from the whole line, cut to 63 characters.
        {std::wstring(130, L'x') + L" /I", false, true, false, L""},
        {std::wstring(128, L'x') + L" /I", true, true, false, L""},
        {std::wstring(129, L'x') + L" /P" + std::wstring(100, L'g'), false, true, false, L""},
        {std::wstring(120, L'x') + L" /P" + std::wstring(100, L'g'), false, true, true, std::wstring(63, L'g')},
    };
    for (const auto& c : cases) {
        CommandLineSwitches s = ParseCommandLine(c.line);
        EXPECT_EQ(std::tie(s.quiet, s.banner, s.hasGroup, s.group), std::tie(c.quiet, c.banner, c.hasGroup, c.group))
            << rc::test::Narrow(c.line);
    }
}

TEST(ShellLogic, CentringPlacesOverTheOwnerAndKeepsOnScreen) {
    struct Case { int W, H, PW, PH, PL, PT, SW, SH, x, y; } cases[] = {
        {200, 100, 400, 300, 100, 50, 1024, 768, 200, 150},   {201, 101, 400, 300, 100, 50, 1024, 768, 199, 149},
        {300, 200, 100, 100, 0, 0, 1024, 768, 0, 0},          {200, 100, 400, 300, 900, 700, 1024, 768, 824, 668},
        {1200, 900, 400, 300, 100, 50, 1024, 768, -176, -132}, {200, 100, 50, 50, -500, -400, 1024, 768, 0, 0},
    };
    for (const auto& c : cases) {
        rc::Point p = rc::CentrePosition(c.W, c.H, c.PW, c.PH, c.PL, c.PT, c.SW, c.SH);
        EXPECT_EQ(std::tie(p.x, p.y), std::tie(c.x, c.y)) << c.W << "x" << c.H << " at " << c.PL << "," << c.PT;
    }
}

// Builds a classic dialog template: header, menu, class, title, optional
// font, then `items` bytes of item data starting on a 4-byte boundary.
std::vector<std::uint8_t> MakeTemplate(bool setFont, const std::u16string& face, bool ordinalMenu,
                                       std::size_t items) {
    // Style 0x80C80000 (plus DS_SETFONT), no extended style, the item count
    // and the position and size, all as little-endian 16-bit words.
    std::u16string words = {char16_t(setFont ? 0x40 : 0), 0x80C8, 0, 0, char16_t(items ? 1 : 0), 10, 20, 200, 100};
    words += ordinalMenu ? std::u16string{0xFFFF, 77} : std::u16string(u"MENU", 5);
    words += std::u16string(u"\0Title", 7);  // no class
    if (setFont) words += u'\x8' + face + u'\0';
    std::vector<std::uint8_t> t;
    for (char16_t w : words) t.insert(t.end(), {std::uint8_t(w & 0xFF), std::uint8_t(w >> 8)});
    t.resize((t.size() + 3) / 4 * 4);
    for (std::size_t i = 0; i < items; ++i) t.push_back(static_cast<std::uint8_t>(0xA0 + i));
    return t;
}

// The Mincho face, "ＭＳ 明朝", whatever the face a template names: the
// items keep their 4-byte alignment whether the name grows or shrinks.
TEST(ShellLogic, TemplateFontReplacesTheFaceAndLeavesOtherTemplates) {
    const std::u16string mincho = u"\xFF2D\xFF33 \x660E\x671D";
    for (bool ordinal : {false, true})
        for (const std::u16string face : {u"MS Sans Serif", u"A very long typeface name indeed", u"Arial", u"Tiny"}) {
            auto t = MakeTemplate(true, face, ordinal, 24);
            EXPECT_EQ(rc::FixTemplateFont(t.data(), t.size()), MakeTemplate(true, mincho, ordinal, 24)) << face.size();
        }
    // Other templates are left byte for byte: one without a font,
    auto plain = MakeTemplate(false, u"", false, 16);
    EXPECT_EQ(rc::FixTemplateFont(plain.data(), plain.size()), plain);
    // An extended template: version 1, signature 0xFFFF; its first byte is
    // 1, so even a 0x40 style bit elsewhere is never looked at.
    std::vector<std::uint8_t> ext = {1, 0, 0xFF, 0xFF, 0x40, 0x40, 0x40, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(rc::FixTemplateFont(ext.data(), ext.size()), ext);
    // Cut templates that announce a font they do not hold whole; this one
    // ends with its face.
    auto cut = MakeTemplate(true, u"MS Sans Serif", false, 0);
    ASSERT_EQ(cut.size(), 72u);
    for (std::size_t n = 0; n < cut.size(); ++n)
        EXPECT_EQ(rc::FixTemplateFont(cut.data(), n), std::vector<std::uint8_t>(cut.begin(), cut.begin() + static_cast<long>(n))) << n;
    EXPECT_NE(rc::FixTemplateFont(cut.data(), cut.size()), cut);
}

TEST(ShellLogic, DirectoryPromptMessageHelpFileAndPaths) {
    EXPECT_EQ(std::tuple(rc::FirstMessageId(2293794), rc::SecondMessageId(2293794)), std::tuple(35, 34));
    EXPECT_EQ(rc::EnterDirectoryMessage(L"%s could not be found.\n\n", L"The %s entry in %s was NOT changed.\n\n", L"Enter."),
              L"STATN32.EXE could not be found.\n\nThe STATN32 entry in the registry was NOT changed.\n\nEnter.");
    // The first two strings hold at most 127 characters each; the third is
    // cut only to the room left in the 511-character message.
    struct Cut { std::size_t first, second, third, size; } cuts[] = {
        {200, 200, 600, 511}, {127, 127, 200, 127 + 127 + 200}, {0, 0, 600, 511}, {10, 0, 501, 511},
    };
    for (const auto& c : cuts) {
        std::wstring m = rc::EnterDirectoryMessage(std::wstring(c.first, L'a'), std::wstring(c.second, L'b'),
                                                   std::wstring(c.third, L'c'));
        EXPECT_EQ(m.size(), c.size) << c.first << " " << c.second << " " << c.third;
        EXPECT_EQ(m.find(L'c'), std::min<std::size_t>(c.first, 127) + std::min<std::size_t>(c.second, 127));
    }
    struct Case { const wchar_t* in; const wchar_t* out; } cases[] = {
        {L"C:\\dir\\", L"C:\\dir"}, {L"C:\\dir\\\\", L"C:\\dir\\"}, {L"C:\\dir", L"C:\\dir"}, {L"", L""}, {L"\\", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(rc::WithoutTrailingBackslash(c.in), c.out) << rc::test::Narrow(c.in);
    EXPECT_EQ(rc::DirectoryOfPath(L"C:\\Program Files\\Brennix\\rcsetup32.exe"), L"C:\\Program Files\\Brennix");
    EXPECT_EQ(rc::DirectoryOfPath(L"rcsetup32.exe"), L"rcsetup32.exe");
    EXPECT_EQ(rc::ProgramPath(L"", L"STATN32.EXE"), L"\\STATN32.EXE");
    // The help file: BRX.hlp, else qvt.hlp, else BRX.hlp to be asked for.
    struct Help { std::set<std::wstring> present; const wchar_t* expected; } help[] = {
        {{L"C:\\p\\BRX.hlp", L"C:\\p\\qvt.hlp"}, L"C:\\p\\BRX.hlp"}, {{L"C:\\p\\qvt.hlp"}, L"C:\\p\\qvt.hlp"},
        {{}, L"C:\\p\\BRX.hlp"},
    };
    for (const auto& c : help)
        EXPECT_EQ(rc::ChooseHelpFile(L"C:\\p", L"BRX", [&](const std::wstring& p) { return c.present.contains(p); }),
                  c.expected);
}

TEST(ShellLogic, EditionViewsReadInOrderByBuildAndWindows) {
    // A registry as each build sees it. On 64-bit Windows there are two
    // stores, the 64-bit one and WOW6432Node; a 32-bit process's own view is
    // WOW6432Node, a 64-bit process's own view and the KEY_WOW64_64KEY view
    // are the 64-bit store. 32-bit Windows has one store (in32 below).
    // in64: the value in the 64-bit store (nullptr: none); in32: the value in
    // WOW6432Node, or the only store; reads: the views read, in order.
    struct Case { bool process64, os64; const wchar_t *in64, *in32; const char* reads; bool classroom; } cases[] = {
        {true, true, L"Tutor", nullptr, "64", true},
        {true, true, nullptr, L"Tutor", "64", false},  // the 64-bit build never sees WOW6432Node
        {true, true, L"Brennix", L"Tutor", "64", false},
        {false, true, L"Tutor", nullptr, "64", true},    // reg add from a 64-bit prompt
        {false, true, L"tUTOR", nullptr, "64", true},    // any case
        {false, true, nullptr, L"Tutor", "64 own", true},  // written under WOW6432Node
        {false, true, L"Brennix", L"Tutor", "64", false},  // the 64-bit view decides once it holds a value
        {false, true, L"", L"Tutor", "64", false},         // an empty (or non-string) value is a value
        {false, true, nullptr, nullptr, "64 own", false},
        {false, true, nullptr, L"Tutors", "64 own", false},
        {false, false, nullptr, L"Tutor", "own", true},
        {false, false, nullptr, nullptr, "own", false},
    };
    for (const auto& c : cases) {
        std::string reads;
        auto read = [&](rc::RegistryView view) -> std::optional<std::wstring> {
            reads += reads.empty() ? "" : " ";
            reads += view == rc::RegistryView::View64 ? "64" : "own";
            const wchar_t* held = c.os64 && (view == rc::RegistryView::View64 || c.process64) ? c.in64 : c.in32;
            return held ? std::optional<std::wstring>(held) : std::nullopt;
        };
        const bool classroom = rc::ReadsClassroomEdition(c.process64, c.os64, read);
        EXPECT_EQ(std::tie(classroom, reads), std::tie(c.classroom, c.reads)) << "case " << (&c - cases);
    }
}

TEST(Text, CopyCutCutsAtCapacityAndAlwaysTerminates) {
    wchar_t buf[6] = {L'#', L'#', L'#', L'#', L'#', L'#'};
    EXPECT_EQ(rc::CopyCut(buf, 6, L"abcdefgh"), 5u);
    EXPECT_STREQ(buf, L"abcde");
    EXPECT_EQ(rc::CopyCut(buf, 1, L"abc"), 0u);
    EXPECT_STREQ(buf, L"");
    buf[0] = L'#';
    EXPECT_EQ(rc::CopyCut(buf, 0, L"abc"), 0u);
    EXPECT_EQ(buf[0], L'#');
    EXPECT_EQ(rc::BoundedLength(L"abc", 2) + rc::BoundedLength(L"ab", 5), 4u);  // nothing past the cap is read
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

// The platform's own answers are compared in the dialog tests; here, what
// only another platform's section read shows: blanks kept around names and
// values, control characters before a number, an empty entry ending the list.
TEST(IniSection, KeysAnswerAsTheSingleKeyReadsOfTextAndNumbers) {
    using namespace std::string_view_literals;
    const rc::IniSection section(L"Fill=x\0 Port \t=  \"3\"  \0port=9\0Bare\0Bare=1\0Quoted=''\0"
                                 L"Wrap=4294967299\0Spaced=\t\x01 -6\0Word=a=b\0\0After=1"sv);
    struct Case { const wchar_t* key; std::optional<std::wstring_view> value; int number; } cases[] = {
        {L"PORT", L"3", 3}, {L"Bare", std::nullopt, -8}, {L"Quoted", L"", -8}, {L"Wrap", L"4294967299", 3},
        {L"Spaced", L"\x01 -6", -6}, {L"Word", L"a=b", 0}, {L"After", std::nullopt, -8}, {L"Fil", std::nullopt, -8}};
    for (const auto& c : cases)
        EXPECT_EQ(std::pair(section.Value(c.key), section.Number(c.key, -8)), std::pair(c.value, c.number)) << Narrow(c.key);
    EXPECT_EQ(section.Text(L"Wrap", 3) + section.Text(L"Bare", 3) + section.Text(L"Word", 9), L"429a=b");
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
    wchar_t wide[33];
    EXPECT_EQ(codec.toWide("\x80xyz", wide, 4), 3u);
    EXPECT_STREQ(wide, L"\u20ACxy");
    // The five unassigned bytes stand for themselves (and are no characters
    // of the code page when written); the others are the code page's characters.
    EXPECT_EQ(codec.toAnsi(L"\x01\x81\u2021", out, sizeof out), 3u);
    EXPECT_EQ(std::string(out), std::string("\x01?\x87"));
    // The whole of 0x80-0x9F, in a room that holds it and the terminator.
    EXPECT_EQ(codec.toWide("\x80\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8D\x8E\x8F"
                           "\x90\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9D\x9E\x9F", wide, 33), 32u);
    EXPECT_STREQ(wide, L"\u20AC\x81\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\x8D\u017D\x8F"
                       L"\x90\u2018\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\x9D\u017E\u0178");
    EXPECT_EQ(codec.toWide("ab", wide, 4), 2u);
}

TEST(Text, CaseFoldingComparesLatinLettersWithoutCase) {
    EXPECT_TRUE(rc::EqualsNoCase(L"Quorvel \u00e0\u00fe", L"QUORVEL \u00c0\u00de"));
    EXPECT_FALSE(rc::EqualsNoCase(L"abc", L"abd"));
    EXPECT_TRUE(rc::StartsWithNoCase(L"com2", L"COM"));
    EXPECT_FALSE(rc::StartsWithNoCase(L"CO", L"COM"));
    EXPECT_TRUE(rc::EqualsNoCaseAscii(L"bob /uip", L"BOB /UIP") && rc::EqualsNoCaseAscii(L"QUIET", L"quiet"));
    EXPECT_FALSE(rc::EqualsNoCaseAscii(L"\u00e9", L"\u00c9"));
}

}  // namespace

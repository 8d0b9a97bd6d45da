#include "dialback/password_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "password_table_config.h"
#include "shell/text.h"

namespace {

using rc::ComputePasswordCode;
using rc::kPasswordCodeTable;
using rc::PasswordCodeOfAnsi;
using rc::PasswordCodeOfText;

const rc::AnsiCodec& Cp1252() { return rc::Cp1252Codec(); }

// A second, deliberately plain rendering of the computation: since the two
// lanes never read each other, lane A can run over all even positions first
// and lane B over the odd ones afterwards.
std::uint32_t ReferenceCode(const std::vector<std::uint16_t>& units, std::uint32_t seed) {
    auto step = [](unsigned lane, unsigned unit) {
        unsigned sum = (lane + (kPasswordCodeTable[lane % 32] ^ unit)) % 65536;
        return (sum * 2) % 65536 + sum / 32768;
    };
    unsigned a = seed % 65536;
    unsigned b2 = (seed / 65536) % 256;
    unsigned b3 = seed / 16777216;
    unsigned b = b2 + 256 * ((b3 + 256 - b2) % 256);
    for (std::size_t i = 0; i < units.size(); i += 2) a = step(a, units[i]);
    for (std::size_t i = 1; i < units.size(); i += 2) b = step(b, units[i]);
    std::uint32_t code = a + 65536u * ((b / 256) ^ (b % 256));
    return code == 0 ? 1 : code;
}

std::uint32_t Code(const std::vector<std::uint16_t>& units, std::uint32_t seed = 0) {
    return ComputePasswordCode(units.data(), units.size(), seed);
}

TEST(PasswordCode, AgreesWithThePlainRendering) {
    // Fixed sequences, then a deterministic pseudo-random sweep over lengths
    // 1 to 12 and seeds that exercise every byte of the lane B start.
    struct Case { std::vector<std::uint16_t> units; std::uint32_t seed; } cases[] = {
        {{0}, 0}, {{0xFFFF}, 0}, {{1, 2}, 0}, {{0x4241, 0x0043}, 0},
        {{1, 2, 3, 4, 5}, 0xFFFFFFFF}, {{0x8000, 0x8000, 0x8000}, 0x00010000},
        {{7}, 0x12345678}, {{9, 9}, 0xFF000000},
    };
    for (const auto& c : cases) EXPECT_EQ(Code(c.units, c.seed), ReferenceCode(c.units, c.seed));

    std::uint32_t x = 0x2545F491;
    auto next = [&x] { x ^= x << 13; x ^= x >> 17; x ^= x << 5; return x; };
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::uint16_t> units(1 + next() % 12);
        for (auto& u : units) u = static_cast<std::uint16_t>(next());
        std::uint32_t seed = round % 3 == 0 ? 0 : next();
        ASSERT_EQ(Code(units, seed), ReferenceCode(units, seed)) << "round " << round;
    }
}

TEST(PasswordCode, SeedSetsTheStartOfBothLanes) {
    // With one unit lane B never moves, so bits 16-23 are the XOR of its
    // start bytes: low byte b2, high byte (b3 - b2) mod 256.
    struct Case { std::uint32_t seed; std::uint32_t high; } cases[] = {
        {0x00000000, 0x00}, {0x05030000, 0x02u ^ 0x03u}, {0x01020000, 0xFFu ^ 0x02u},
        {0x07070000, 0x07}, {0xFF000000, 0xFF}, {0x0000FFFF, 0x00},
    };
    for (const auto& c : cases) {
        std::uint32_t code = Code({0x1234}, c.seed);
        EXPECT_EQ(code >> 16, c.high) << std::hex << c.seed;
        // Lane A starts from the seed's low half: the same unit from another
        // start gives another lane A (unless the start is the same).
        EXPECT_EQ(code & 0xFFFF, Code({0x1234}, c.seed & 0xFFFF) & 0xFFFF);
    }
    EXPECT_NE(Code({0x1234}, 0x0001) & 0xFFFF, Code({0x1234}, 0x0000) & 0xFFFF);
}

TEST(PasswordCode, NeverZero) {
    // Lane A from 0 taking the unit table[0] adds table[0] ^ table[0] = 0 and
    // stays 0; lane B the same; both bytes of lane B equal (0), so the raw
    // result is 0 and must come out as 1.
    std::uint16_t t0 = kPasswordCodeTable[0];
    EXPECT_EQ(Code({t0}), 1u);
    EXPECT_EQ(Code({t0, t0}), 1u);
    EXPECT_EQ(Code({t0, t0, t0, t0, t0}), 1u);
    // The same through texts: the two bytes of table[0] as a two-character
    // text (when neither byte is a terminator).
    if ((t0 & 0xFF) != 0 && (t0 >> 8) != 0) {
        std::string bytes{static_cast<char>(t0 & 0xFF), static_cast<char>(t0 >> 8)};
        EXPECT_EQ(PasswordCodeOfAnsi(bytes), 1u);
        EXPECT_EQ(PasswordCodeOfAnsi(bytes + bytes), 1u);
    }
    // One step away from the zero case is not 1 in general; lane A then
    // holds the rotated difference.
    EXPECT_EQ(Code({static_cast<std::uint16_t>(t0 ^ 1)}), 2u);
    // No units, no bytes, no text: the lanes stay at 0, which gives 1.
    EXPECT_EQ(ComputePasswordCode(nullptr, 0, 0), 1u);
    EXPECT_EQ(PasswordCodeOfAnsi(""), 1u);
    EXPECT_EQ(PasswordCodeOfText(L"", Cp1252()), 1u);
}

TEST(PasswordCodeOfAnsi, PacksBytesLittleEndianWithTheTerminator) {
    struct Case { std::string bytes; std::vector<std::uint16_t> units; } cases[] = {
        {"A", {0x0041}},                       // odd: the terminator is the high byte
        {"AB", {0x4241}},                      // even: no unit for the terminator
        {"ABC", {0x4241, 0x0043}},
        {"ABCD", {0x4241, 0x4443}},
        {"\xFF\x80\x01", {0x80FF, 0x0001}},    // bytes read unsigned
        {"ABCDEFGHI", {0x4241, 0x4443, 0x4645, 0x4847, 0x0049}},
        {std::string("AB\0CD", 5), {0x4241}},  // the text ends at a zero byte
    };
    for (const auto& c : cases) {
        std::uint32_t expected = Code(c.units);
        EXPECT_EQ(PasswordCodeOfAnsi(c.bytes), expected & 0xFFFFFF) << c.bytes;
        EXPECT_LE(PasswordCodeOfAnsi(c.bytes), 0xFFFFFFu);
    }
    // Bytes handed over without a terminator: nothing after them is read.
    const char buffer[] = {'A', 'B', 'C', 'X', 'Y'};
    EXPECT_EQ(PasswordCodeOfAnsi(std::string_view(buffer, 3)), Code({0x4241, 0x0043}));
    EXPECT_EQ(PasswordCodeOfAnsi(std::string_view(buffer, 1)), Code({0x0041}));
}

TEST(PasswordCodeOfText, OneOrTwoCharactersLeaveLaneBAtItsStart) {
    for (const wchar_t* text : {L"A", L"Z", L"1", L"?", L"AB", L"ZZ", L"99", L"\u00C9\u00C9", L"\u20AC"}) {
        std::uint32_t code = PasswordCodeOfText(text, Cp1252());
        EXPECT_EQ(code >> 16, 0u) << text;
        EXPECT_NE(code, 0u);
    }
    // Three characters bring in lane B.
    int withLaneB = 0;
    for (const wchar_t* text : {L"ABC", L"XYZ", L"123", L"QRS"})
        if (PasswordCodeOfText(text, Cp1252()) >> 16 != 0) ++withLaneB;
    EXPECT_GT(withLaneB, 0);
}

TEST(PasswordCodeOfText, NineCharactersSplitBetweenTheLanes) {
    // Units 0, 2 and 4 (characters 1-2, 5-6 and 9) feed lane A, units 1 and
    // 3 (characters 3-4 and 7-8) lane B. Changing a character of a lane A
    // unit leaves bits 16-23 alone; changing one of lane B leaves bits 0-15.
    const std::wstring base = L"ABCDEFGHI";
    const std::uint32_t baseCode = PasswordCodeOfText(base, Cp1252());
    EXPECT_EQ(baseCode, Code({0x4241, 0x4443, 0x4645, 0x4847, 0x0049}));
    struct Case { std::size_t position; bool laneA; } cases[] = {
        {0, true}, {1, true}, {2, false}, {3, false}, {4, true},
        {5, true}, {6, false}, {7, false}, {8, true},
    };
    for (const auto& c : cases) {
        // The other lane must stay exactly as it was; the own lane must move
        // for at least one of a few replacements (one replacement alone
        // might land on the same lane value by chance).
        bool ownLaneMoved = false;
        for (wchar_t replacement : {L'Q', L'R', L'S', L'7'}) {
            std::wstring changed = base;
            changed[c.position] = replacement;
            std::uint32_t code = PasswordCodeOfText(changed, Cp1252());
            std::uint32_t laneAPart = code & 0xFFFF, laneBPart = code >> 16;
            if (c.laneA) {
                EXPECT_EQ(laneBPart, baseCode >> 16) << c.position;
                ownLaneMoved |= laneAPart != (baseCode & 0xFFFF);
            } else {
                EXPECT_EQ(laneAPart, baseCode & 0xFFFF) << c.position;
                ownLaneMoved |= laneBPart != (baseCode >> 16);
            }
        }
        EXPECT_TRUE(ownLaneMoved) << c.position;
    }
}

TEST(PasswordCodeOfText, OnlyTheFirstNineCharactersCount) {
    EXPECT_EQ(PasswordCodeOfText(L"ABCDEFGHIJKL", Cp1252()), PasswordCodeOfText(L"ABCDEFGHI", Cp1252()));
    EXPECT_NE(PasswordCodeOfText(L"ABCDEFGHI", Cp1252()), PasswordCodeOfText(L"ABCDEFGH", Cp1252()));
}

TEST(PasswordCodeOfText, UpperCasedTextsShareTheirCode) {
    // The Set dialogs' field upper-cases what is typed; the code of a text
    // typed in small letters is the code of its upper-case form. The
    // function itself leaves case alone.
    struct Case { const wchar_t* typed; const wchar_t* upper; } cases[] = {
        {L"secret", L"SECRET"}, {L"MiXeD9", L"MIXED9"}, {L"caf\u00E9", L"CAF\u00C9"},
        {L"a", L"A"}, {L"abcdefghi", L"ABCDEFGHI"}, {L"x-1_y", L"X-1_Y"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PasswordCodeOfText(rc::UpperText(c.typed), Cp1252()),
                  PasswordCodeOfText(c.upper, Cp1252())) << c.typed;
        EXPECT_NE(PasswordCodeOfText(c.typed, Cp1252()), PasswordCodeOfText(c.upper, Cp1252()))
            << c.typed;
    }
}

TEST(PasswordCodeOfText, CharactersOutsideTheCodePageCountAsQuestionMarks) {
    struct Case { const wchar_t* text; const wchar_t* same; } cases[] = {
        {L"\u4E00", L"?"}, {L"A\u0100B", L"A?B"}, {L"\u03A9\u03A9\u03A9", L"???"},
        {L"PASS\u2603WORD", L"PASS?WORD"}, {L"\u0100", L"\u0101"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PasswordCodeOfText(c.text, Cp1252()), PasswordCodeOfText(c.same, Cp1252())) << c.same;
    // Characters that the code page has keep their own byte.
    EXPECT_NE(PasswordCodeOfText(L"A\u20ACB", Cp1252()), PasswordCodeOfText(L"A?B", Cp1252()));
    EXPECT_EQ(PasswordCodeOfText(L"A\u20ACB", Cp1252()), PasswordCodeOfAnsi("A\x80" "B"));
}

// A double-byte code page for the tests: ASCII in one byte, the CJK block
// U+4E00-U+4EFF as 0x88 and the character's low byte, anything else "?".
std::size_t DoubleByteToAnsi(std::wstring_view text, char* out, std::size_t cap) {
    if (cap == 0) return 0;
    std::string bytes;
    for (wchar_t c : text) {
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else if (c >= 0x4E00 && c <= 0x4EFF) {
            bytes.push_back('\x88');
            bytes.push_back(static_cast<char>(c & 0xFF));
        } else {
            bytes.push_back('?');
        }
    }
    if (bytes.size() > cap - 1) {
        out[0] = '\0';
        return 0;
    }
    bytes.copy(out, bytes.size());
    out[bytes.size()] = '\0';
    return bytes.size();
}
std::size_t DoubleByteToWide(std::string_view, wchar_t* out, std::size_t cap) {
    if (cap > 0) out[0] = L'\0';
    return 0;
}
const rc::AnsiCodec kDoubleByte{DoubleByteToAnsi, DoubleByteToWide};

TEST(PasswordCodeOfText, TextTooLongForNineBytesDropsTrailingCharacters) {
    struct Case { const wchar_t* text; std::string bytesUsed; } cases[] = {
        // Five double-byte characters need 10 bytes: the fifth is dropped.
        {L"\u4E01\u4E02\u4E03\u4E04\u4E05", "\x88\x01\x88\x02\x88\x03\x88\x04"},
        // Eight single bytes and one double-byte character: 10 bytes.
        {L"ABCDEFGH\u4E01", "ABCDEFGH"},
        // Seven and one double-byte character fit exactly.
        {L"ABCDEFG\u4E01", "ABCDEFG\x88\x01"},
        // A double-byte character that would straddle the ninth byte goes.
        {L"ABCDEFGH\u4E01Z", "ABCDEFGH"},
        {L"\u4E01", "\x88\x01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PasswordCodeOfText(c.text, kDoubleByte), PasswordCodeOfAnsi(c.bytesUsed))
            << c.bytesUsed;
    }
}

TEST(PasswordCodeOfText, FixedCodesOfOurTable) {
    if (RC_PASSWORD_TABLE_CUSTOM) GTEST_SKIP() << "built with a deployment's own table";
    // By hand, with table[0] = 0x428A:
    //  "A":   unit 0x0041; lane A = rotl(0x428A ^ 0x0041) = rotl(0x42CB) = 0x8596.
    //  "AB":  unit 0x4241; lane A = rotl(0x428A ^ 0x4241) = rotl(0x00CB) = 0x0196.
    //  "ABC": lane A as "AB"; lane B = rotl(0x428A ^ 0x0043) = rotl(0x42C9)
    //         = 0x8592, and 0x85 ^ 0x92 = 0x17: 0x170196.
    //  "1":   unit 0x0031; rotl(0x428A ^ 0x0031) = rotl(0x42BB) = 0x8576.
    struct Case { const wchar_t* text; std::uint32_t code; } cases[] = {
        {L"A", 0x8596}, {L"AB", 0x0196}, {L"ABC", 0x170196}, {L"1", 0x8576},
        // Longer ones, from the plain rendering above and an independent
        // script over the same table.
        {L"Z9", 63392}, {L"SECRET", 11785836}, {L"PASSWORD", 5559524},
        {L"ABCDEFGHI", 10103839},
    };
    for (const auto& c : cases) EXPECT_EQ(PasswordCodeOfText(c.text, Cp1252()), c.code) << c.text;
}

}  // namespace

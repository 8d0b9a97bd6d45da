#include "dialback/password_code.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "password_table_config.h"
#include "shell/text.h"
#include "support/narrow_text.h"

namespace {

using rc::ComputePasswordCode;
using rc::kPasswordCodeTable;
using rc::PasswordCodeOfAnsi;
using rc::test::Narrow;

std::uint32_t OfText(std::wstring_view text) { return rc::PasswordCodeOfText(text, rc::Cp1252Codec()); }

std::uint32_t Code(const std::vector<std::uint16_t>& units, std::uint32_t seed = 0) {
    return ComputePasswordCode(units.data(), units.size(), seed);
}

TEST(PasswordCode, SeededCodesAndNeverZero) {
    // Worked out with an independent script. Lane A takes the even units from
    // the seed's low 16 bits; lane B the odd ones from bits 16-23 as its low
    // byte and (bits 24-31 - bits 16-23) mod 256 as its high byte; with one
    // unit lane B never moves and bits 16-23 are the XOR of its start bytes.
    struct Case { std::vector<std::uint16_t> units; std::uint32_t seed, code; } cases[] = {
        {{0x1234}, 0x05030000, 0x01A17C}, {{0x1234}, 0x12345678, 0xEAC105}, {{0x1234}, 0xFF000000, 0xFFA17C},
        {{0x1234, 0xBEEF, 0x0001}, 0xFFFF, 0x3348EF}, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 0x01020304, 0x371E02},
        {{0xFFFF, 0x8000, 0x7FFF, 0x0001, 0x1234}, 0xA5C3E1F7, 0xEFBDAF},
    };
    if (!RC_PASSWORD_TABLE_CUSTOM) {
        for (const auto& c : cases) EXPECT_EQ(Code(c.units, c.seed), c.code) << c.seed;
    }
    // Lane A from 0 taking table[0] stays 0, and so does lane B: the raw
    // result 0 comes out as 1.
    std::uint16_t t0 = kPasswordCodeTable[0];
    EXPECT_EQ(Code({t0}), 1u);
    EXPECT_EQ(Code({t0, t0, t0, t0, t0}), 1u);
    EXPECT_EQ(Code({static_cast<std::uint16_t>(t0 ^ 1)}), 2u);
    EXPECT_EQ(ComputePasswordCode(nullptr, 0, 0), 1u);
    EXPECT_EQ(PasswordCodeOfAnsi(""), 1u);
    EXPECT_EQ(OfText(L""), 1u);
}

TEST(PasswordCode, OfAnsiPacksBytesLittleEndianWithTheTerminator) {
    struct Case { std::string bytes; std::vector<std::uint16_t> units; } cases[] = {
        {"A", {0x0041}}, {"AB", {0x4241}}, {"ABC", {0x4241, 0x0043}}, {"ABCD", {0x4241, 0x4443}},
        {"\xFF\x80\x01", {0x80FF, 0x0001}},  // bytes read unsigned
        {"ABCDEFGHI", {0x4241, 0x4443, 0x4645, 0x4847, 0x0049}},
        {std::string("AB\0CD", 5), {0x4241}},  // the text ends at a zero byte
    };
    for (const auto& c : cases) EXPECT_EQ(PasswordCodeOfAnsi(c.bytes), Code(c.units) & 0xFFFFFF) << c.bytes;
    const char buffer[] = {'A', 'B', 'C', 'X', 'Y'};  // nothing after the bytes handed over is read
    EXPECT_EQ(PasswordCodeOfAnsi(std::string_view(buffer, 3)), Code({0x4241, 0x0043}));
}

TEST(PasswordCode, OfTextConvertsAtMostNineBytesOfTheCodePage) {
    struct Case { const wchar_t* text; const wchar_t* same; } cases[] = {
        {L"ABCDEFGHIJKL", L"ABCDEFGHI"}, {L"\u4E00", L"?"}, {L"A\u0100B", L"A?B"},
        {L"PASS\u2603WORD", L"PASS?WORD"}, {L"\u0100", L"\u0101"}, {L"caf\u00E9", L"caf\u00E9"},
    };
    for (const auto& c : cases) EXPECT_EQ(OfText(c.text), OfText(c.same)) << Narrow(c.same);
    EXPECT_EQ(OfText(L"A\u20ACB"), PasswordCodeOfAnsi("A\x80" "B"));
    EXPECT_NE(OfText(L"ABCDEFGHI"), OfText(L"ABCDEFGH"));
    EXPECT_NE(OfText(L"secret"), OfText(L"SECRET"));  // case is left alone
}

// A double-byte code page for the tests: ASCII in one byte, the CJK block
// U+4E00-U+4EFF as 0x88 and the character's low byte, anything else "?".
std::size_t DoubleByteToAnsi(std::wstring_view text, char* out, std::size_t cap) {
    std::string bytes;
    for (wchar_t c : text) {
        if (c >= 0x4E00 && c <= 0x4EFF) bytes += {'\x88', static_cast<char>(c & 0xFF)};
        else bytes.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    }
    if (cap == 0) return 0;
    if (bytes.size() > cap - 1) bytes.clear();
    bytes.copy(out, bytes.size());
    out[bytes.size()] = '\0';
    return bytes.size();
}
std::size_t NoWide(std::string_view, wchar_t* out, std::size_t cap) {
    if (cap > 0) out[0] = L'\0';
    return 0;
}

TEST(PasswordCode, OfTextDropsCharactersBeyondNineBytes) {
    const rc::AnsiCodec doubleByte{DoubleByteToAnsi, NoWide};
    struct Case { const wchar_t* text; std::string bytesUsed; } cases[] = {
        {L"\u4E01\u4E02\u4E03\u4E04\u4E05", "\x88\x01\x88\x02\x88\x03\x88\x04"},
        {L"ABCDEFGH\u4E01Z", "ABCDEFGH"}, {L"ABCDEFG\u4E01", "ABCDEFG\x88\x01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::PasswordCodeOfText(c.text, doubleByte), PasswordCodeOfAnsi(c.bytesUsed)) << c.bytesUsed;
}

TEST(PasswordCode, OfTextFixedCodesOfOurTable) {
    if (RC_PASSWORD_TABLE_CUSTOM) GTEST_SKIP() << "built with a deployment's own table";
    // By hand, with table[0] = 0x428A:
    //  "A":   unit 0x0041; lane A = rotl(0x428A ^ 0x0041) = rotl(0x42CB) = 0x8596.
    //  "AB":  unit 0x4241; lane A = rotl(0x428A ^ 0x4241) = rotl(0x00CB) = 0x0196.
    //  "ABC": lane A as "AB"; lane B = rotl(0x428A ^ 0x0043) = rotl(0x42C9)
    //         = 0x8592, and 0x85 ^ 0x92 = 0x17: 0x170196.
    // The longer ones from the plain rendering and an independent script.
    struct Case { const wchar_t* text; std::uint32_t code; } cases[] = {
        {L"A", 0x8596}, {L"AB", 0x0196}, {L"ABC", 0x170196}, {L"1", 0x8576}, {L"Z9", 63392},
        {L"SECRET", 11785836}, {L"PASSWORD", 5559524}, {L"ABCDEFGHI", 10103839},
    };
    for (const auto& c : cases) EXPECT_EQ(OfText(c.text), c.code) << Narrow(c.text);
    // The table: the first 16 bits of the fractional parts of the cube roots
    // of the first 32 primes, that is the largest r with r^3 <= p * 2^48, mod 2^16.
    std::uint64_t p = 1;
    for (std::uint16_t entry : kPasswordCodeTable) {
        for (bool prime = false; !prime;) {
            prime = ++p > 1;
            for (std::uint64_t d = 2; d * d <= p; ++d) prime = prime && p % d != 0;
        }
        std::uint64_t r = 0;
        for (std::uint64_t bit = 1u << 20; bit; bit >>= 1)
            if ((r + bit) * (r + bit) * (r + bit) <= p << 48) r += bit;
        EXPECT_EQ(entry, r % 65536) << "prime " << p;
    }
}

}  // namespace

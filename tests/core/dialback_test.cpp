#include "dialback/dialback_file.h"
#include "dialback/password_code.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "password_table_config.h"
#include "shell/text.h"
#include "support/narrow_text.h"

namespace {

using rc::ComputePasswordCode;
using rc::DialbackEntry;
using rc::kPasswordCodeTable;
using rc::PasswordCodeOfAnsi;
using rc::test::Narrow;

const rc::AnsiCodec& Cp1252() { return rc::Cp1252Codec(); }

DialbackEntry Entry(std::uint32_t code, const wchar_t* phone, std::int32_t delay, std::uint32_t mode = 0) {
    DialbackEntry e{code, {}, delay, mode};
    rc::CopyCut(e.phone, rc::kDialbackPhoneCap, phone);
    return e;
}

// What a file reads as: per line "code,phone,delay,list text", lines joined
// by ';'.
std::wstring Read(std::string_view file) {
    std::wstring out;
    for (const auto& line : rc::ReadDialbackFile(file, Cp1252())) {
        if (!out.empty()) out += L';';
        out += std::to_wstring(line.entry.code) + L"," + line.entry.phone + L"," +
               std::to_wstring(line.entry.delay) + L"," + line.listText;
        // A record read is cleared first: mode 0, zeros past the phone.
        const std::wstring_view room(line.entry.phone, rc::kDialbackPhoneCap);
        if (line.entry.mode != 0 || room.find_first_not_of(L'\0', room.find(L'\0')) != room.npos) out += L",unclean";
    }
    return out;
}

TEST(DialbackFile, ReadDialbackFileReadsEntriesAndTheirListTexts) {
    const std::wstring x23(23, L'x');
    struct Case { std::string file; std::wstring read; } cases[] = {
        {"123|555-1234|30\r\n456||0\r\n", L"123,555-1234,30,555-1234\t123;456,,0,\t456"},
        {"7|01234|5\n8|9|10", L"7,01234,5,01234\t7;8,9,10,9\t8"}, {"", L""},
        {"123abc|555|1\r\n0 12|p|3\r\n", L"123,555,1,555\t123abc;0,p,3,p\t0 12"},
        {"1|a|+7\r\n2|b| \t8\r\n3|c|x9\r\n4|d|-5\r\n", L"1,a,7,a\t1;2,b,8,b\t2;3,c,0,c\t3;4,d,-5,d\t4"},
        // Codes above the ceiling are held as 2147483647; the list shows the text.
        {"99999999999|x|1\r\n4294967295|y|1\r\n", L"2147483647,x,1,x\t99999999999;2147483647,y,1,y\t4294967295"},
        {"5|\x80\xE9|1\r\n6|a\rb|1\r\n", L"5,\u20AC\u00E9,1,\u20AC\u00E9\t5;6,a\rb,1,a\rb\t6"},
        {"1|2|3|4\r\n", L"1,2,3,2\t1"},  // a third bar stays in the delay field
        {std::string("12|a\0b|3\r\n4|c|5\r\n", 17), L"12,a,0,a\t12;4,c,5,c\t4"},  // a zero byte ends the text
        // Lines without their second bar read with the missing fields empty.
        {"123\r\n12ab\n", L"123,,0,\t123;12,,0,\t12ab"}, {"123|555\r\n123|", L"123,555,0,555\t123;123,,0,\t123"},
        {"123||", L"123,,0,\t123"},
        // The phone keeps 23 characters, the delay field (line end included)
        // 7, the code field 31.
        {"1|" + std::string(80, 'x') + "|2\r\n", L"1," + x23 + L",2," + x23 + L"\t1"},
        {"1|a|12345678\r\n2|a|     42\r\n3|a|      42\r\n4|a|-999999\r\n",
         L"1,a,1234567,a\t1;2,a,42,a\t2;3,a,4,a\t3;4,a,-999999,a\t4"},
        {std::string(31, '0') + "12|a|1\r\n" + std::string(29, '0') + "12|a|1\r\n",
         L"0,a,1,a\t" + std::wstring(31, L'0') + L";12,a,1,a\t" + std::wstring(29, L'0') + L"12"},
        // Reading stops at the first line that does not start with a digit.
        {"A|1|2\r\n1|2|3\r\n", L""}, {" 1|2|3\r\n", L""}, {"-1|2|3\r\n", L""}, {"|2|3\r\n", L""},
        {"1|a|2\r\n\r\n3|b|4\r\n", L"1,a,2,a\t1"}, {"1|a|2\n\n3|b|4\n", L"1,a,2,a\t1"},
        {std::string("1|a|2\r\n\0\r\n3|b|4\r\n", 17), L"1,a,2,a\t1"}, {"1|a|2\r\n\x1A", L"1,a,2,a\t1"},
        // Lines are read in pieces of 255 bytes; a rest is a line of its own.
        {"1|" + std::string(253, 'x') + "7|8|9\r\n", L"1," + x23 + L",0," + x23 + L"\t1;7,8,9,8\t7"},
        {"1|" + std::string(300, 'x') + "|5\r\n2|b|3\r\n", L"1," + x23 + L",0," + x23 + L"\t1"},
        {"1|" + std::string(250, 'x') + "|99\n2|b|3\n", L"1," + x23 + L",99," + x23 + L"\t1"},
        {"1|" + std::string(249, 'x') + "|99\n2|b|3\n", L"1," + x23 + L",99," + x23 + L"\t1;2,b,3,b\t2"},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.file), c.read) << c.file;

    // A sink that refuses an entry (the third) stops the reading.
    struct TakeTwo final : rc::DialbackSink {
        std::vector<std::wstring> texts;
        bool Take(const DialbackEntry&, std::wstring_view listText) override {
            texts.emplace_back(listText);
            return texts.size() <= 2;
        }
    } sink;
    EXPECT_EQ(rc::ReadDialbackEntries("1|a|1\r\n2|b|2\r\n3|c|3\r\n4|d|4\r\n", Cp1252(), sink), 2u);
    EXPECT_EQ(sink.texts, (std::vector<std::wstring>{L"a\t1", L"b\t2", L"c\t3"}));
}

TEST(DialbackFile, BytesWritesCodePhoneAndDelayEndingInCrLf) {
    DialbackEntry full{3, {}, 4, 0};
    for (auto& ch : full.phone) ch = L'8';  // no terminator: 23 characters are written
    const std::vector<DialbackEntry> entries = {
        Entry(123, L"555-1234", 30), Entry(456, L"", 0), Entry(4294967295u, L"1", 2147483647),
        Entry(1, L"1", -2147483647 - 1), Entry(16777215, L"55|5", 9), Entry(7, L"\u20AC\u00E9", 1),
        Entry(7, L"A\u4E00B", 1), Entry(7, L"a\nb", 1), Entry(7, L"a\rb", 1),
        Entry(5, L"p", 5, rc::kDialbackModeEdit), full,
    };
    EXPECT_EQ(rc::DialbackFileBytes(entries, Cp1252()),
              "123|555-1234|30\r\n456||0\r\n4294967295|1|2147483647\r\n1|1|-2147483648\r\n16777215|55|5|9\r\n"
              "7|\x80\xE9|1\r\n7|A?B|1\r\n7|a\r\nb|1\r\n7|a\rb|1\r\n5|p|5\r\n3|" + std::string(23, '8') + "|4\r\n");
    EXPECT_EQ(rc::DialbackLineBytes(Entry(9, L"x", -5), Cp1252()), "9|x|-5\r\n");
    EXPECT_EQ(rc::DialbackFileBytes({}, Cp1252()), "");
}

TEST(DialbackFile, PathBareNamesLieInTheProgramDirectoryAndPathsFit254Bytes) {
    struct Case { const wchar_t* directory; const wchar_t* name; const wchar_t* path; } cases[] = {
        {L"C:\\RC", L"DIALBACK.TXT", L"C:\\RC\\DIALBACK.TXT"}, {L"C:\\RC", L"D:\\other\\calls.txt", L"D:\\other\\calls.txt"},
        {L"C:\\RC", L".\\calls.txt", L".\\calls.txt"}, {L"C:\\RC", L"\\calls.txt", L"\\calls.txt"},
        {L"C:\\RC", L"sub/calls.txt", L"C:\\RC\\sub/calls.txt"}, {L"C:\\RC", L"", L"C:\\RC\\"}, {L"", L"calls", L"\\calls"},
    };
    for (const auto& c : cases) EXPECT_EQ(rc::DialbackFilePath(c.directory, c.name), c.path) << Narrow(c.name);

    struct Ansi { std::wstring path; bool ok; std::string ansi; } paths[] = {
        {L"C:\\" + std::wstring(251, L'a'), true, "C:\\" + std::string(251, 'a')},
        {L"C:\\" + std::wstring(252, L'a'), false, ""}, {L"C:\\\u20AC\u4E00", true, "C:\\\x80?"}, {L"", false, ""},
    };
    for (const auto& c : paths) {
        std::string ansi = "stale";
        EXPECT_EQ(rc::DialbackPathAnsi(c.path, Cp1252(), &ansi), c.ok) << c.path.size();
        EXPECT_EQ(ansi, c.ansi) << c.path.size();
    }
}

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

TEST(PasswordCode, OfTextConvertsAtMostNineBytesOfTheCodePage) {
    struct Case { const wchar_t* text; const wchar_t* same; } cases[] = {
        {L"ABCDEFGHIJKL", L"ABCDEFGHI"}, {L"\u4E00", L"?"}, {L"A\u0100B", L"A?B"},
        {L"PASS\u2603WORD", L"PASS?WORD"}, {L"\u0100", L"\u0101"}, {L"caf\u00E9", L"caf\u00E9"},
    };
    for (const auto& c : cases) EXPECT_EQ(OfText(c.text), OfText(c.same)) << Narrow(c.same);
    EXPECT_EQ(OfText(L"A\u20ACB"), PasswordCodeOfAnsi("A\x80" "B"));
    EXPECT_NE(OfText(L"ABCDEFGHI"), OfText(L"ABCDEFGH"));
    EXPECT_NE(OfText(L"secret"), OfText(L"SECRET"));  // case is left alone
    // Characters that would not fit the nine bytes whole are dropped.
    const rc::AnsiCodec doubleByte{DoubleByteToAnsi, rc::Cp1252Codec().toWide};  // only toAnsi is used
    struct Dbcs { const wchar_t* text; std::string bytesUsed; } dbcs[] = {
        {L"\u4E01\u4E02\u4E03\u4E04\u4E05", "\x88\x01\x88\x02\x88\x03\x88\x04"},
        {L"ABCDEFGH\u4E01Z", "ABCDEFGH"}, {L"ABCDEFG\u4E01", "ABCDEFG\x88\x01"},
    };
    for (const auto& c : dbcs)
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

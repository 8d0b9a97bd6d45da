#include "dialback/dialback_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using rc::DialbackEntry;
using rc::ReadDialbackFile;

const rc::AnsiCodec& Cp1252() { return rc::Cp1252Codec(); }

DialbackEntry Entry(std::uint32_t code, const wchar_t* phone, std::int32_t delay,
                    std::uint32_t mode = 0) {
    DialbackEntry e{};
    e.code = code;
    rc::CopyCut(e.phone, rc::kDialbackPhoneCap, phone);
    e.delay = delay;
    e.mode = mode;
    return e;
}

// What one read line is expected to give.
struct Expected {
    std::uint32_t code;
    std::wstring phone;
    std::int32_t delay;
    std::wstring listText;
};

void ExpectLines(const std::string& file, const std::vector<Expected>& expected) {
    auto lines = ReadDialbackFile(file, Cp1252());
    ASSERT_EQ(lines.size(), expected.size()) << file;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto& e = lines[i].entry;
        EXPECT_EQ(e.code, expected[i].code) << file << " line " << i;
        EXPECT_EQ(std::wstring(e.phone), expected[i].phone) << file << " line " << i;
        EXPECT_EQ(e.delay, expected[i].delay) << file << " line " << i;
        EXPECT_EQ(e.mode, 0u) << file << " line " << i;
        EXPECT_EQ(lines[i].listText, expected[i].listText) << file << " line " << i;
    }
}

TEST(ReadDialbackFile, ReadsEntriesAndTheirListTexts) {
    const std::wstring phone23 = L"12345678901234567890123";
    struct Case { const char* name; std::string file; std::vector<Expected> expected; } cases[] = {
        {"crlf", "123|555-1234|30\r\n456||0\r\n",
         {{123, L"555-1234", 30, L"555-1234\t123"}, {456, L"", 0, L"\t456"}}},
        {"lf only", "7|01234|5\n8|9|10\n", {{7, L"01234", 5, L"01234\t7"}, {8, L"9", 10, L"9\t8"}}},
        {"no line end at the end", "1|a|2", {{1, L"a", 2, L"a\t1"}}},
        {"empty file", "", {}},
        {"letters after the code digits", "123abc|555|1\r\n", {{123, L"555", 1, L"555\t123abc"}}},
        {"negative delay", "9|x|-5\r\n", {{9, L"x", -5, L"x\t9"}}},
        {"signed delay forms", "1|a|+7\r\n2|b| \t8\r\n3|c|x9\r\n4|d|\r\n",
         {{1, L"a", 7, L"a\t1"}, {2, L"b", 8, L"b\t2"}, {3, L"c", 0, L"c\t3"}, {4, L"d", 0, L"d\t4"}}},
        {"code above the ceiling", "99999999999|x|1\r\n",
         {{2147483647u, L"x", 1, L"x\t99999999999"}}},
        {"largest code written", "4294967295|x|1\r\n", {{2147483647u, L"x", 1, L"x\t4294967295"}}},
        {"code field with spaces", "0 12|p|3\r\n", {{0, L"p", 3, L"p\t0 12"}}},
        {"phone in the code page", "5|\x80\xE9|1\r\n", {{5, L"\u20AC\u00E9", 1, L"\u20AC\u00E9\t5"}}},
        {"phone with a carriage return", "5|a\rb|1\r\n", {{5, L"a\rb", 1, L"a\rb\t5"}}},
        {"third bar stays in the delay field", "1|2|3|4\r\n", {{1, L"2", 3, L"2\t1"}}},
        {"zero byte ends the line's text", std::string("12|a\0b|3\r\n4|c|5\r\n", 17),
         {{12, L"a", 0, L"a\t12"}, {4, L"c", 5, L"c\t4"}}},
        // Lines without their second bar read with the missing fields empty.
        {"no bar", "123\r\n9|p|1\r\n", {{123, L"", 0, L"\t123"}, {9, L"p", 1, L"p\t9"}}},
        {"no bar, letters", "12ab\n", {{12, L"", 0, L"\t12ab"}}},
        {"one bar", "123|555\r\n", {{123, L"555", 0, L"555\t123"}}},
        {"one bar, empty phone", "123|\r\n", {{123, L"", 0, L"\t123"}}},
        {"one bar at the end of the file", "123|555", {{123, L"555", 0, L"555\t123"}}},
        {"two bars, nothing after", "123||", {{123, L"", 0, L"\t123"}}},
        // Fields longer than their room are cut. The phone field keeps 63
        // characters, the record and the list 23.
        {"phone of 30", "1|123456789012345678901234567890|2\r\n", {{1, phone23, 2, phone23 + L"\t1"}}},
        {"phone of 80", "1|" + std::string(80, '7') + "|2\r\n",
         {{1, std::wstring(23, L'7'), 2, std::wstring(23, L'7') + L"\t1"}}},
        {"phone of exactly 23", "1|12345678901234567890123|2\r\n", {{1, phone23, 2, phone23 + L"\t1"}}},
        // The delay field, line end included, keeps 7 characters.
        {"delay of 8 digits", "1|a|12345678\r\n", {{1, L"a", 1234567, L"a\t1"}}},
        {"delay of 7 digits", "1|a|1234567\r\n", {{1, L"a", 1234567, L"a\t1"}}},
        {"delay after 5 blanks", "1|a|     42\r\n", {{1, L"a", 42, L"a\t1"}}},
        {"delay after 6 blanks", "1|a|      42\r\n", {{1, L"a", 4, L"a\t1"}}},
        {"negative delay of 7", "1|a|-999999\r\n", {{1, L"a", -999999, L"a\t1"}}},
        // The code field keeps 31 characters; the list shows those.
        {"code of 33 characters", std::string(31, '0') + "12|a|1\r\n",
         {{0, L"a", 1, L"a\t" + std::wstring(31, L'0')}}},
        {"code of 31 characters", std::string(29, '0') + "12|a|1\r\n",
         {{12, L"a", 1, L"a\t" + std::wstring(29, L'0') + L"12"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectLines(c.file, c.expected);
    }
}

TEST(ReadDialbackFile, StopsAtTheFirstLineNotStartingWithADigit) {
    struct Case { const char* name; std::string file; std::size_t count; } cases[] = {
        {"letter first", "A|1|2\r\n1|2|3\r\n", 0},
        {"space first", " 1|2|3\r\n1|2|3\r\n", 0},
        {"hash first", "# dialback\r\n1|2|3\r\n", 0},
        {"bar first", "|2|3\r\n", 0},
        {"sign first", "-1|2|3\r\n", 0},
        {"blank line ends the reading", "1|a|2\r\n\r\n3|b|4\r\n", 1},
        {"bare LF line ends the reading", "1|a|2\n\n3|b|4\n", 1},
        {"comment after entries", "1|a|2\r\n2|b|3\r\n; end\r\n4|c|5\r\n", 2},
        {"zero byte first", std::string("1|a|2\r\n\0\r\n3|b|4\r\n", 17), 1},
        {"end of file mark", "1|a|2\r\n\x1A", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadDialbackFile(c.file, Cp1252()).size(), c.count) << c.name;
}

TEST(ReadDialbackFile, ReadsLongLinesInPiecesOf255Bytes) {
    // 255 bytes make the first piece; the rest of the line is a piece of its
    // own and is read as a line when it begins with a digit.
    std::string longLine = "1|" + std::string(253, 'x') + "7|8|9\r\n";
    ExpectLines(longLine, {{1, std::wstring(23, L'x'), 0, std::wstring(23, L'x') + L"\t1"},
                           {7, L"8", 9, L"8\t7"}});
    // A rest that does not begin with a digit ends the reading.
    ExpectLines("1|" + std::string(300, 'x') + "|5\r\n2|b|3\r\n",
                {{1, std::wstring(23, L'x'), 0, std::wstring(23, L'x') + L"\t1"}});
    // A line of exactly 255 bytes with its LF as the 256th: the LF alone is
    // the next piece, an empty line, which ends the reading.
    std::string exact = "1|" + std::string(250, 'p') + "|99";
    ASSERT_EQ(exact.size(), 255u);
    ExpectLines(exact + "\n2|b|3\n", {{1, std::wstring(23, L'p'), 99, std::wstring(23, L'p') + L"\t1"}});
    // 254 bytes and the LF fit one piece.
    std::string fits = "1|" + std::string(249, 'p') + "|99";
    ExpectLines(fits + "\n2|b|3\n", {{1, std::wstring(23, L'p'), 99, std::wstring(23, L'p') + L"\t1"},
                                    {2, L"b", 3, L"b\t2"}});
}

TEST(ReadDialbackEntries, StopsWhenTheReceiverRunsOutOfRoom) {
    struct TakeTwo final : rc::DialbackSink {
        std::vector<std::wstring> texts;
        bool Take(const DialbackEntry&, std::wstring_view listText) override {
            if (texts.size() == 2) return false;
            texts.emplace_back(listText);
            return true;
        }
    } sink;
    EXPECT_EQ(rc::ReadDialbackEntries("1|a|1\r\n2|b|2\r\n3|c|3\r\n4|d|4\r\n", Cp1252(), sink), 2u);
    EXPECT_EQ(sink.texts, (std::vector<std::wstring>{L"a\t1", L"b\t2"}));
}

TEST(DialbackLineBytes, WritesCodePhoneAndDelayEndingInCrLf) {
    struct Case { DialbackEntry entry; std::string bytes; } cases[] = {
        {Entry(123, L"555-1234", 30), "123|555-1234|30\r\n"},
        {Entry(456, L"", 0), "456||0\r\n"},
        {Entry(9, L"x", -5), "9|x|-5\r\n"},
        {Entry(4294967295u, L"1", 2147483647), "4294967295|1|2147483647\r\n"},
        {Entry(1, L"1", -2147483647 - 1), "1|1|-2147483648\r\n"},
        {Entry(0, L"", -1), "0||-1\r\n"},
        {Entry(16777215, L"55|5", 9), "16777215|55|5|9\r\n"},           // bar written unchanged
        {Entry(7, L"\u20AC\u00E9", 1), "7|\x80\xE9|1\r\n"},               // code page bytes
        {Entry(7, L"A\u4E00B", 1), "7|A?B|1\r\n"},                        // missing character
        {Entry(7, L"a\nb", 1), "7|a\r\nb|1\r\n"},                         // text mode LF
        {Entry(7, L"a\rb", 1), "7|a\rb|1\r\n"},
        {Entry(1, L"12345678901234567890123", 1), "1|12345678901234567890123|1\r\n"},
        {Entry(5, L"p", 5, rc::kDialbackModeEdit), "5|p|5\r\n"},         // mode not written
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::DialbackLineBytes(c.entry, Cp1252()), c.bytes) << c.bytes;

    // A phone buffer filled to its last character without a terminator is
    // written with its first 23 characters.
    DialbackEntry full{};
    full.code = 3;
    for (auto& ch : full.phone) ch = L'8';
    full.delay = 4;
    EXPECT_EQ(rc::DialbackLineBytes(full, Cp1252()), "3|" + std::string(23, '8') + "|4\r\n");
}

TEST(DialbackFileBytes, WritesTheEntriesInOrder) {
    std::vector<DialbackEntry> entries{Entry(3, L"333", 3), Entry(1, L"", 1), Entry(2, L"222", -2)};
    EXPECT_EQ(rc::DialbackFileBytes(entries, Cp1252()), "3|333|3\r\n1||1\r\n2|222|-2\r\n");
    EXPECT_EQ(rc::DialbackFileBytes({}, Cp1252()), "");
}

TEST(DialbackFile, WrittenEntriesReadBackTheSame) {
    std::vector<DialbackEntry> entries{
        Entry(16777215, L"0044 20 7946 0000", 30), Entry(1, L"", 0), Entry(2147483647u, L"9", -999999),
        Entry(65536, L"\u00C5ngstr\u00F6m \u20AC", 9999999), Entry(42, L"12345678901234567890123", -1),
        Entry(0, L"*70,555", 5, rc::kDialbackModeAdd),
    };
    std::string file = rc::DialbackFileBytes(entries, Cp1252());
    auto lines = ReadDialbackFile(file, Cp1252());
    ASSERT_EQ(lines.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(lines[i].entry.code, entries[i].code) << i;
        EXPECT_STREQ(lines[i].entry.phone, entries[i].phone) << i;
        EXPECT_EQ(lines[i].entry.delay, entries[i].delay) << i;
        EXPECT_EQ(lines[i].entry.mode, 0u) << i;  // read entries start unopened
        EXPECT_EQ(lines[i].listText, std::wstring(entries[i].phone) + L"\t" + rc::DecimalText(entries[i].code));
    }
    // And written again, byte for byte the same file.
    std::vector<DialbackEntry> reread;
    for (const auto& line : lines) reread.push_back(line.entry);
    EXPECT_EQ(rc::DialbackFileBytes(reread, Cp1252()), file);
}

TEST(DialbackFile, PhoneWithABarReadsBackSplit) {
    std::string file = rc::DialbackLineBytes(Entry(10, L"55|5", 9), Cp1252());
    ExpectLines(file, {{10, L"55", 5, L"55\t10"}});
}

TEST(DialbackFilePath, BareNamesLieInTheProgramDirectory) {
    struct Case { const wchar_t* directory; const wchar_t* name; const wchar_t* path; } cases[] = {
        {L"C:\\RC", L"DIALBACK.TXT", L"C:\\RC\\DIALBACK.TXT"},
        {L"C:\\Program Files\\RC", L"calls", L"C:\\Program Files\\RC\\calls"},
        {L"C:\\RC", L"D:\\other\\calls.txt", L"D:\\other\\calls.txt"},
        {L"C:\\RC", L".\\calls.txt", L".\\calls.txt"},
        {L"C:\\RC", L"\\calls.txt", L"\\calls.txt"},
        {L"C:\\RC", L"sub/calls.txt", L"C:\\RC\\sub/calls.txt"},  // only a backslash counts
        {L"C:\\RC", L"", L"C:\\RC\\"},
        {L"", L"calls", L"\\calls"},
    };
    for (const auto& c : cases) EXPECT_EQ(rc::DialbackFilePath(c.directory, c.name), c.path) << c.name;
}

TEST(DialbackPathAnsi, PathsMustFit254Bytes) {
    struct Case { std::wstring path; bool ok; std::string ansi; } cases[] = {
        {L"C:\\RC\\calls", true, "C:\\RC\\calls"},
        {L"C:\\" + std::wstring(251, L'a'), true, "C:\\" + std::string(251, 'a')},
        {L"C:\\" + std::wstring(252, L'a'), false, ""},
        {L"C:\\\u20AC\u4E00", true, "C:\\\x80?"},
        {L"", false, ""},
    };
    for (const auto& c : cases) {
        std::string ansi = "stale";
        EXPECT_EQ(rc::DialbackPathAnsi(c.path, Cp1252(), &ansi), c.ok) << c.path.size();
        EXPECT_EQ(ansi, c.ansi) << c.path.size();
    }
}

}  // namespace

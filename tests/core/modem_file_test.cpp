#include "client/modem_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;

struct Outcome {
    int result;
    Names names;
    bool operator==(const Outcome&) const = default;
};

// Reads the file in blocks of the given size (0: all at once).
Outcome ReadInBlocks(const std::string& file, std::size_t blockSize,
                     rc::LetterOrDigitTest test = rc::IsLatin1LetterOrDigit) {
    rc::ModemListReader reader(test);
    if (blockSize == 0) {
        reader.Feed(file);
    } else {
        for (std::size_t pos = 0; pos < file.size(); pos += blockSize)
            if (!reader.Feed(std::string_view(file).substr(pos, blockSize))) break;
    }
    int result = reader.Finish();
    return Outcome{result, reader.Names()};
}

// Every file is read all at once, in 127-byte blocks as the Windows side
// reads it, and byte by byte; the three must agree.
Outcome Read(const std::string& file) {
    Outcome whole = ReadInBlocks(file, 0);
    EXPECT_EQ(ReadInBlocks(file, 127), whole) << file;
    EXPECT_EQ(ReadInBlocks(file, 1), whole) << file;
    return whole;
}

TEST(ModemList, ReadsTheModemLinesOfAFile) {
    struct Case { const char* name; std::string file; int result; Names names; } cases[] = {
        {"example", "@[M1] Fast Modem 28.8 ;comment\r\n@[D] ATDT\r\n@[M2]--Generic\r\n", 1,
         {L"Fast Modem 28.8 ", L"Generic"}},
        {"lf only", "@[M1]A\n@[M2]B\n", 1, {L"A", L"B"}},
        {"last line without LF", "@[M1]A\r\n@[M2]Last One", 1, {L"A", L"Last One"}},
        {"empty file", "", 1, {}},
        {"only blanks", "  \t\r\n\n", 1, {}},
        {"empty name", "@[M]\r\n", 1, {L""}},
        {"empty name at the end", "@[M]", 1, {L""}},
        {"blanks before the mark", "  \t @[M1]Indented\n", 1, {L"Indented"}},
        {"anything in the tag", "@[M 12;x [ @]Name\n", 1, {L"Name"}},
        {"duplicates kept in order", "@[M]B\n@[M]A\n@[M]B\n", 1, {L"B", L"A", L"B"}},
        {"trailing blanks and inner tabs stay", "@[M]Hayes\tSmart  \n", 1, {L"Hayes\tSmart  "}},
        {"comment right after the tag", "@[M];nothing\n", 1, {L""}},
        {"comment holding a modem line", "@[M1]A ;@[M2]B\n@[M3]C ; @[x\n", 1, {L"A ", L"C "}},
        {"second bracket is part of the name", "@[M1]]x]\n", 1, {L"x]"}},
        {"other lines pass", "Hello\n;comment\n[M1]x\n @ [M1]y\n@M1]z\n@[M1]ok\n", 1, {L"ok"}},
        {"tags A D H T pass", "@[A]a\n@[D]d\n@[H]h\n@[T]t\n@[Axyz\n@[T\n", 1, {}},
        {"CR anywhere is skipped", "@\r[\rM\r1]\rF\ra\rst\r\r\n", 1, {L"Fast"}},
        {"end-of-file mark skipped", "@[M1]Fa\x1Ast\n\x1A", 1, {L"Fast"}},
        {"CR as the only line end is no line end", "@[M1]A\r@[M2]B\r", 1, {L"A@[M2]B"}},
        // A lone "@" takes the LF as "anything else" and passes over the
        // line after it too.
        {"lone at swallows the next line", "@\n@[M1]A\n@[M2]B\n", 1, {L"B"}},
        {"lone at at the end", "@[M1]A\n@", 1, {L"A"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome o = Read(c.file);
        EXPECT_EQ(o.result, c.result);
        EXPECT_EQ(o.names, c.names);
    }
}

TEST(ModemList, FormatErrorsStopTheReadingAndKeepEarlierEntries) {
    struct Case { const char* name; std::string file; Names names; } cases[] = {
        {"small m", "@[M1]Good\n@[m1] Modem\n@[M2]Never\n", {L"Good"}},
        {"unknown tag letter", "@[X]a\n", {}},
        {"small tag letters", "@[a]\n", {}},
        {"digit after the bracket", "@[1]\n", {}},
        {"blank after the bracket", "@[ M]\n", {}},
        {"LF after the bracket", "@[M1]A\n@[\n@[M2]B\n", {L"A"}},
        {"bracket at the end of the file", "@[M1]A\n@[", {L"A"}},
        {"tag without its bracket", "@[M1 Modem\n@[M2]B\n", {}},
        {"last line without its bracket", "@[M1]A\n@[M2 Modem", {L"A"}},
        {"tag ended by the end of the file", "@[M", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Outcome o = Read(c.file);
        EXPECT_EQ(o.result, -1);
        EXPECT_EQ(o.names, c.names);
    }
}

TEST(ModemList, FeedReportsTheStopAndIgnoresLaterBlocks) {
    rc::ModemListReader reader;
    EXPECT_TRUE(reader.Feed("@[M1]One\n"));
    EXPECT_TRUE(reader.Feed("@["));
    EXPECT_FALSE(reader.Feed("q]x\n"));
    EXPECT_FALSE(reader.Feed("@[M2]Two\n"));
    EXPECT_EQ(reader.Finish(), -1);
    EXPECT_EQ(reader.Finish(), -1);
    EXPECT_EQ(reader.Names(), Names{L"One"});

    rc::ModemListReader good;
    EXPECT_TRUE(good.Feed("@[M1]One"));
    EXPECT_EQ(good.Finish(), 1);
    EXPECT_EQ(good.Finish(), 1);
    EXPECT_EQ(good.Names(), Names{L"One"});
}

TEST(ModemList, LeadingCharactersUpToTheFirstLetterOrDigitAreDropped) {
    struct Case { std::string file; std::wstring name; } cases[] = {
        {"@[M]  --3Com 56k\n", L"3Com 56k"},
        {"@[M]..\xC9lan\n", L"\u00C9lan"},          // Latin-1 letter
        {"@[M]-\xB2nd\n", L"\u00B2nd"},             // superscript two counts as a digit
        {"@[M]\xD7\xF7x\n", L"x"},                  // multiplication and division signs do not
        {"@[M]\xA9\xAE\xBF\xA1ok\n", L"ok"},        // (c), (R), inverted marks do not
        {"@[M]\x80\x9F\xA0z\n", L"z"},              // C1 controls and no-break space do not
        {"@[M]\xAA\n", L"\u00AA"},                  // ordinal indicator is a letter
        {"@[M]\xB5m\n", L"\u00B5m"},                // micro sign is a letter
        {"@[M] -- \n", L""},                        // nothing left
        {"@[M] a -- b\n", L"a -- b"},               // only leading ones go
        {"@[M]\xE9\x80\n", L"\u00E9\u0080"},        // bytes stand for themselves, no code page
    };
    for (const auto& c : cases) {
        Outcome o = Read(c.file);
        EXPECT_EQ(o.result, 1) << c.file;
        EXPECT_EQ(o.names, Names{c.name}) << c.file;
    }
    // The Windows side passes its own test; with one that knows only digits,
    // letters lead nothing.
    auto digitsOnly = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    EXPECT_EQ(ReadInBlocks("@[M]Hayes 9600\n", 0, digitsOnly).names, Names{L"9600"});
}

TEST(ModemList, NamesKeepAtMost127Characters) {
    std::string longName(200, 'N');
    Outcome o = Read("@[M]" + longName + "\n@[M]" + std::string(127, 'x') + "\n");
    ASSERT_EQ(o.names.size(), 2u);
    EXPECT_EQ(o.names[0], std::wstring(127, L'N'));
    EXPECT_EQ(o.names[1], std::wstring(127, L'x'));
    // Dropped leading characters do not count against the room.
    o = Read("@[M]" + std::string(50, '-') + std::string(127, 'y') + "z\n");
    EXPECT_EQ(o.names, Names{std::wstring(127, L'y')});
}

TEST(ModemList, EveryBlockSplitGivesTheSameResult) {
    const std::string files[] = {
        "@[M1] Fast Modem 28.8 ;comment\r\n@[D] ATDT\r\n@[M2]--Generic\r\n",
        "@[M1]Good\r\n@[m1] Modem\r\n@[M2]Never\r\n",
        "\x1A@\r\n@[M]x\n  @[M9]  last",
    };
    for (const auto& file : files) {
        Outcome whole = ReadInBlocks(file, 0);
        for (std::size_t cut = 0; cut <= file.size(); ++cut) {
            rc::ModemListReader reader;
            reader.Feed(std::string_view(file).substr(0, cut));
            reader.Feed(std::string_view(file).substr(cut));
            int result = reader.Finish();
            EXPECT_EQ((Outcome{result, reader.Names()}), whole) << "cut at " << cut;
        }
        for (std::size_t block : {2u, 3u, 7u, 127u, 128u})
            EXPECT_EQ(ReadInBlocks(file, block), whole) << block;
    }
    // A file longer than one block: 40 modem lines of 30 bytes each.
    std::string big;
    Names names;
    for (int i = 0; i < 40; ++i) {
        std::string name = "Modem number " + std::to_string(100 + i) + " v.34";
        big += "@[M" + std::to_string(i) + "]  " + name + "\r\n";
        names.emplace_back(name.begin(), name.end());
    }
    Outcome o = Read(big);
    EXPECT_EQ(o.result, 1);
    EXPECT_EQ(o.names, names);
}

TEST(IsLatin1LetterOrDigit, MatchesThePlatformClassesForBytes) {
    // The values 0-255 that the platform's letter-or-digit test accepts.
    std::vector<bool> expected(256, false);
    auto mark = [&](int from, int to) { for (int c = from; c <= to; ++c) expected[c] = true; };
    mark('0', '9');
    mark('A', 'Z');
    mark('a', 'z');
    for (int c : {0xAA, 0xB2, 0xB3, 0xB5, 0xB9, 0xBA}) expected[c] = true;
    mark(0xC0, 0xD6);
    mark(0xD8, 0xF6);
    mark(0xF8, 0xFF);
    for (int c = 0; c < 256; ++c)
        EXPECT_EQ(rc::IsLatin1LetterOrDigit(static_cast<wchar_t>(c)), expected[c]) << c;
    EXPECT_FALSE(rc::IsLatin1LetterOrDigit(static_cast<wchar_t>(0x100)));
}

TEST(ModemFilePath, CutsTheDirectoryTo113Bytes) {
    struct Case { std::wstring directory; std::string path; } cases[] = {
        {L"C:\\RC", "C:\\RC\\MODEMDEF.MDM"},
        {L"C:\\" + std::wstring(110, L'd'), "C:\\" + std::string(110, 'd') + "\\MODEMDEF.MDM"},
        {L"C:\\" + std::wstring(111, L'd'), "C:\\" + std::string(110, 'd') + "\\MODEMDEF.MDM"},
        {L"C:\\" + std::wstring(124, L'd'), "C:\\" + std::string(110, 'd') + "\\MODEMDEF.MDM"},
        {L"C:\\\u20AC\u4E00", "C:\\\x80?\\MODEMDEF.MDM"},
        {L"", ""},
        {std::wstring(300, L'x'), ""},  // not convertible into the buffer
    };
    for (const auto& c : cases) {
        std::string path = rc::ModemFilePath(c.directory, rc::Cp1252Codec());
        EXPECT_EQ(path, c.path) << c.directory.size();
        EXPECT_LE(path.size(), 113u + 13u);
    }
}

}  // namespace

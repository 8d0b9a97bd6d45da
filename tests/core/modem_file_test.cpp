#include "client/modem_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/narrow_text.h"

namespace {

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

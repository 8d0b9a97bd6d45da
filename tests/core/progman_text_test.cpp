#include "progman/progman_text.h"
#include "progman/icon_dialog_rules.h"

#include "shell/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "support/narrow_text.h"

namespace {

using rc::ProgramItemRecord;
using rc::test::Narrow;

std::wstring Repeat(wchar_t c, std::size_t n) { return std::wstring(n, c); }

TEST(ProgmanText, SplitReplyLinesRunsOfLineBreaksSeparateAndEmptyLinesGo) {
    struct Case { const wchar_t* reply; std::vector<std::wstring> lines; } cases[] = {
        {L"", {}}, {L"\n\r\n\r\r", {}}, {L"Main", {L"Main"}},
        {L"\r\n\r\nAccessories\r\n\r\n\r\nMain\r\n", {L"Accessories", L"Main"}},
        {L"A\rB\nC", {L"A", L"B", L"C"}}, {L"A\n\rB\r\rC\n\n", {L"A", L"B", L"C"}},
        {L"  \r\n\tx\r\n", {L"  ", L"\tx"}},  // blanks and TABs belong to the line
    };
    for (const auto& c : cases) EXPECT_EQ(rc::SplitReplyLines(c.reply), c.lines) << Narrow(c.reply);
}

TEST(ProgmanText, ItemLineFromGroupLineKeepsViewdeskIconsInTheirOwnCase) {
    struct Case { const wchar_t* line; const wchar_t* itemLine; } cases[] = {  // nullptr: dropped
        {L"\"Brennix Control\",\"C:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \",C:\\QB,c:\\qb\\viewdesk.exe,10,20,0,0,0",
         L"Brennix Control\tC:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \tC:\\QB\tc:\\qb\\viewdesk.exe\t10\t20\t0\t0\t0"},
        {L"\"alpha\",\"c:\\qb\\viewdesk.exe /nalpha\",c:\\qb,x,1,2,3,4,5",
         L"alpha\tc:\\qb\\viewdesk.exe /nalpha\tc:\\qb\tx\t1\t2\t3\t4\t5"},
        // VIEWDESK anywhere in the program part counts, behind its first space not.
        {L"\"Run\",\"C:\\VIEWDESK\\RUN.EXE /x\",C:\\,r", L"Run\tC:\\VIEWDESK\\RUN.EXE /x\tC:\\\tr"},
        {L"\"Notepad\",\"NOTEPAD.EXE C:\\VIEWDESK\\README.TXT\",C:\\,n", nullptr},
        {L"\"Viewdesk\",\"NOTEPAD.EXE\",C:\\VIEWDESK,VIEWDESK.EXE,0", nullptr},
        // An empty field keeps its place; commas inside the quotes stay.
        {L"\"A, B\",\"VIEWDESK.EXE /Na,b\",,y,0", L"A, B\tVIEWDESK.EXE /Na,b\t\ty\t0"},
        // The group's own line, and lines lacking a quote the steps look for.
        {L"\"Brennix\",C:\\WINNT\\BRENNIX.GRP,2,0,0,640,480,0,0", nullptr},
        {L"Accessories", nullptr}, {L"\"Alpha", nullptr}, {L"\"Alpha\"", nullptr}, {L"\"Alpha\",", nullptr},
        {L"\"Alpha\",\"", nullptr}, {L"\"Alpha\",\"VIEWDESK.EXE /NA,C:\\QB", nullptr}, {L"\"", nullptr},
        {L"\"\"", nullptr}, {L"", nullptr}, {L"\"Alpha\",\"\",C:\\VIEWDESK.EXE", nullptr},
        // Fields start two characters after the command line's closing quote.
        {L"\"Alpha\",\"VIEWDESK.EXE\"", L"Alpha\tVIEWDESK.EXE\t"},
        {L"\"Alpha\",\"VIEWDESK.EXE\",", L"Alpha\tVIEWDESK.EXE\t"},
        {L"\"Alpha\",\"VIEWDESK.EXE\",C", L"Alpha\tVIEWDESK.EXE\tC"}, {L"\"\",\"VIEWDESK\"", L"\tVIEWDESK\t"},
    };
    for (const auto& c : cases) {
        std::wstring out = L"untouched";
        EXPECT_EQ(rc::ItemLineFromGroupLine(c.line, &out), c.itemLine != nullptr) << Narrow(c.line);
        EXPECT_EQ(out, c.itemLine ? c.itemLine : L"untouched") << Narrow(c.line);
    }
}

// The record's nine fields of an item line, '|' between them.
std::wstring Fields(const ProgramItemRecord& r) {
    std::wstring s = std::wstring(r.description) + L"|" + r.commandLine + L"|" + r.directory + L"|" + r.iconFile;
    for (std::int32_t n : {r.x, r.y, r.iconIndex, r.hotKey, r.minimize}) s += L"|" + std::to_wstring(n);
    return s;
}

TEST(ProgmanText, ReadItemLineFillsTheNineFieldsInOrder) {
    struct Case { std::wstring line; std::wstring fields; } cases[] = {
        {L"Alpha\tVIEWDESK.EXE\t\tC:\\v.exe\t-5\t6\t7\t8\t9", L"Alpha|VIEWDESK.EXE||C:\\v.exe|-5|6|7|8|9"},
        {L"\t\t\t\t\t\t\t\t", L"||||0|0|0|0|0"}, {L"A\tB\tC\tD\t12abc\t x\t 7\t+3\t-", L"A|B|C|D|12|0|7|3|0"},
        {L"A\tB\tC\tD\t99999999999\t-99999999999\t0\t0\t0", L"A|B|C|D|2147483647|-2147483648|0|0|0"},
        {L"A\tB\tC\tD\t1\t2\t3\t4\t5\t6\textra", L"A|B|C|D|1|2|3|4|5"},
        {L"Alpha\tVIEWDESK.EXE", L"Alpha|VIEWDESK.EXE|||0|0|0|0|0"}, {L"", L"||||0|0|0|0|0"},
        {L"A\tB\tC\tD\t1\t2\t3", L"A|B|C|D|1|2|3|0|0"},
        {Repeat(L'd', 127) + L"\t" + Repeat(L'c', 126) + L"\t" + Repeat(L'r', 125) + L"\t" + Repeat(L'i', 500) + L"\t1",
         Repeat(L'd', 126) + L"|" + Repeat(L'c', 126) + L"|" + Repeat(L'r', 125) + L"|" + Repeat(L'i', 126) + L"|1|0|0|0|0"},
    };
    for (const auto& c : cases) {
        ProgramItemRecord r;
        std::memset(&r, 0x5A, sizeof r);
        rc::CopyCut(r.group, rc::kGroupNameCap, L"Brennix");
        rc::CopyCut(r.options, rc::kItemOptionsCap, L"/NAlpha ");
        rc::ReadItemLine(c.line, &r);
        // The group and our option buffer are not the line's business.
        EXPECT_EQ(Fields(r) + L"|" + r.group + L"|" + r.options, c.fields + L"|Brennix|/NAlpha ") << Narrow(c.line);
    }
    ProgramItemRecord r;
    std::memset(&r, 0x5A, sizeof r);
    rc::ClearProgramItemRecord(&r);
    EXPECT_EQ(std::count(reinterpret_cast<const char*>(&r), reinterpret_cast<const char*>(&r + 1), 0),
              static_cast<std::ptrdiff_t>(sizeof r));
}

using Groups = std::vector<std::wstring>;

rc::IconCommandInput AlphaItem(const Groups* known, int major, std::wstring_view group = L"Brennix") {
    return {L"C:\\QB\\VIEWDESK.EXE", L"/NAlpha /TIPX ", L"Alpha", L"c:\\qb\\viewdesk.exe", 0, 0, 0, L"C:\\QB", 0, 0,
            group, known, major};
}

TEST(ProgmanText, CreateIconCommandsWritesTheBlockOfEachVersion) {
    const Groups withGroup = {L"Accessories", L"BRENNIX"}, without = {L"Brennix Tools"}, cut = {Repeat(L'G', 63)};
    const std::wstring show = L"[ShowGroup(\"Brennix\", 1)]", create = L"[CreateGroup(Brennix)]";
    const std::wstring v4 = L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]";
    const std::wstring v3 = L"[AddItem(\"C:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \",\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]";
    struct Case { const Groups* known; int major; std::wstring block, group = L"Brennix"; } cases[] = {
        {&withGroup, 4, show + v4}, {&withGroup, 3, show + v3}, {&withGroup, 10, show + v4},
        {&without, 4, create + show + v4}, {nullptr, 3, create + show + v3},
        // A group longer than its room is taken, and compared, at 63 characters.
        {&cut, 4, L"[ShowGroup(\"" + Repeat(L'g', 63) + L"\", 1)]" + v4, Repeat(L'g', 100)},
    };
    for (const auto& c : cases) {
        const bool newGroup = c.block.starts_with(L"[CreateGroup(");
        bool created = !newGroup;
        EXPECT_EQ(rc::CreateIconCommands(AlphaItem(c.known, c.major, c.group), &created), c.block) << c.major;
        EXPECT_EQ(created, newGroup) << Narrow(c.block);
    }
    const rc::IconCommandInput numbers{L"C:\\QB\\VIEWDESK.EXE", L"/NAlpha /TIPX ", L"Alpha", L"c:\\qb\\viewdesk.exe",
                                       2, 48, -16, L"", 1601, 1, L"Brennix", &withGroup, 4};
    EXPECT_EQ(rc::CreateIconCommands(numbers, nullptr),
              show + L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,2,48,-16,,1601,1,1)]");
}

TEST(ProgmanText, CreateIconCommandsWritesTheParametersOnlyWithThirtyFiveToSpare) {
    const Groups known = {L"G"}, none;
    struct Case { const Groups* known; int major; std::wstring prefix; } cases[] = {
        {&known, 4, L"[ShowGroup(\"G\", 1)][AddItem("}, {&known, 3, L"[ShowGroup(\"G\", 1)][AddItem("},
        {&none, 4, L"[CreateGroup(G)][ShowGroup(\"G\", 1)][AddItem("},
    };
    for (const auto& c : cases) {
        // Path, description, icon file and directory take one character each.
        const std::size_t fitting = 1023 - c.prefix.size() - 35 - 4;
        for (std::size_t extra : {0u, 1u}) {
            std::wstring options = Repeat(L'o', fitting + extra);
            rc::IconCommandInput in{L"P", options, L"D", L"I", 0, 0, 0, L"R", 0, 0, L"G", c.known, c.major};
            std::wstring expected = c.prefix;
            if (extra == 0)
                expected += (c.major >= 4 ? L"\"P\" " + options + L"," : L"\"P " + options + L"\",") +
                            L"\"D\",I,0,0,0,R,0,0,1";
            EXPECT_EQ(rc::CreateIconCommands(in, nullptr), expected + L")]") << c.major << " extra " << extra;
        }
    }
}

TEST(ProgmanText, DeleteIconCommandsShowsTheGroupAndDeletesTheItem) {
    EXPECT_EQ(rc::DeleteIconCommands(L"Brennix", L"Alpha"), L"[ShowGroup(\"Brennix\", 1)][DeleteItem(\"Alpha\")]");
    EXPECT_EQ(rc::DeleteIconCommands(Repeat(L'g', 400), Repeat(L'n', 900)),
              L"[ShowGroup(\"" + Repeat(L'g', 63) + L"\", 1)][DeleteItem(\"" + Repeat(L'n', 126) + L"\")]");
}

TEST(ProgmanText, ReplyFormatStartMenuLinkAndItsMark) {
    // Replies are converted from 8-bit text from version 4 on, unless they
    // come as Unicode text (format 13).
    EXPECT_FALSE(rc::ReplyIsEightBit(3, 1));
    EXPECT_TRUE(rc::ReplyIsEightBit(4, 1));
    EXPECT_FALSE(rc::ReplyIsEightBit(4, 13));

    EXPECT_EQ(rc::StartMenuLinkPath(L"C:\\WINNT", L"Brennix", L"Alpha"),
              L"C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Brennix\\Alpha.lnk");
    EXPECT_EQ(rc::StartMenuLinkPath(Repeat(L'w', 300), L"G", L"D"),
              Repeat(L'w', 255) + L"\\Profiles\\All Users\\Start Menu\\Programs\\G\\D.lnk");

    struct Case { std::size_t length; std::uint8_t before; bool marked; std::uint8_t after; } cases[] = {
        {76, 0x00, true, 0x04}, {76, 0xF3, true, 0xF7}, {76, 0x04, true, 0x04}, {22, 0x01, true, 0x05},
        {21, 0x00, false, 0x00},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.length < 22 ? 22 : c.length, 0x11);
        bytes[21] = c.before;
        std::vector<std::uint8_t> expected = bytes;
        expected[21] = c.after;
        EXPECT_EQ(rc::MarkRunInSeparateProcess(bytes.data(), c.length), c.marked) << c.length;
        EXPECT_EQ(bytes, expected) << "only byte 21 may change, length " << c.length;
    }
    EXPECT_FALSE(rc::MarkRunInSeparateProcess(nullptr, 76));
}

TEST(ProgmanText, GroupSelectionWholeNameOrPrefixWithoutRegardToCase) {
    const std::vector<std::wstring> groups = {L"Accessories", L"Brennix Tools", L"brennix", L"Main", L"\u00D6ffentlich"};
    struct Case { const wchar_t* name; int whole, prefix; } cases[] = {
        {L"BRENNIX", 2, 1}, {L"Brennix Tools", 1, 1}, {L"brennix t", -1, 1}, {L"main", 3, 3}, {L"Ma", -1, 3},
        {L"Accessories and more", -1, -1}, {L"\u00F6ffentlich", 4, 4}, {L"Zed", -1, -1}, {L"", -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rc::FindGroupIndex(groups, c.name), c.whole) << Narrow(c.name);
        EXPECT_EQ(rc::FindGroupPrefixIndex(groups, c.name), c.prefix) << Narrow(c.name);
    }
    EXPECT_EQ(rc::FindGroupPrefixIndex({}, L""), -1);
}

TEST(IconDialogRules, RepeatTimingPathsAndOptions) {
    struct Timing { int delay, speed, firstDelay, period; } timings[] = {
        {rc::kDefaultKeyboardDelay, rc::kDefaultKeyboardSpeed, 450, 50},  // nothing in [windows]
        {0, 31, 150, 50}, {3, 0, 600, 1600}, {1, 20, 300, 600}, {2, 16, 450, 800},
        {-1, 32, 0, 0}, {-5, 40, 0, 0},  // never negative
        {1000000, -1000000, 150000150, 50001600},
    };
    for (const auto& c : timings) {
        rc::RepeatTiming t = rc::RepeatTimingFromProfile(c.delay, c.speed);
        EXPECT_EQ(std::tie(t.firstDelay, t.period), std::tie(c.firstDelay, c.period)) << c.delay << " " << c.speed;
    }

    struct Join { std::wstring directory, file, path; } joins[] = {
        {L"c:\\windows\\system32", L"shell32.dll", L"c:\\windows\\system32\\shell32.dll"},
        {L"c:\\", L"viewdesk.exe", L"c:\\viewdesk.exe"}, {L"", L"a.ico", L"\\a.ico"}, {L"c:\\x", L"", L"c:\\x\\"},
        {std::wstring(120, L'd'), L"file.ico", std::wstring(120, L'd') + L"\\file.i"},  // 127 characters
        {std::wstring(127, L'd'), L"file.ico", std::wstring(127, L'd')},
        {std::wstring(126, L'd'), L"f", std::wstring(126, L'd') + L"\\"},
    };
    for (const auto& c : joins) EXPECT_EQ(rc::JoinDirectoryAndFile(c.directory, c.file), c.path) << Narrow(c.file);

    struct Options { const wchar_t* commandLine; bool found; const wchar_t* options; } options[] = {
        {L"C:\\QB\\VIEWDESK.EXE /NALPHA /TIPX ", true, L"/NALPHA /TIPX "}, {L"C:\\QB\\VIEWDESK.EXE ", true, L""},
        {L"C:\\QB\\VIEWDESK.EXE", false, L"unchanged"}, {L"", false, L"unchanged"},
        {L"C:\\PROGRA~1\\VIEWDESK.EXE  /N X", true, L" /N X"},  // only the first space goes
    };
    for (const auto& c : options) {
        std::wstring_view found = L"unchanged";
        EXPECT_EQ(rc::OptionsOfCommandLine(c.commandLine, &found), c.found) << Narrow(c.commandLine);
        EXPECT_EQ(found, c.options) << Narrow(c.commandLine);
    }
}

}  // namespace

#include "progman/progman_text.h"

#include "shell/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using rc::ProgramItemRecord;

std::wstring Repeat(wchar_t c, std::size_t n) { return std::wstring(n, c); }

// ---------------------------------------------------------------------------
// Reply lines
// ---------------------------------------------------------------------------

TEST(SplitReplyLines, RunsOfLineBreaksSeparateAndEmptyLinesGo) {
    struct Case {
        const wchar_t* reply;
        std::vector<std::wstring> lines;
    } cases[] = {
        {L"", {}},
        {L"\r\n", {}},
        {L"\n\r\n\r\r", {}},
        {L"Main", {L"Main"}},
        {L"Accessories\r\nBrennix\r\nMain\r\n", {L"Accessories", L"Brennix", L"Main"}},
        {L"\r\n\r\nAccessories\r\n\r\n\r\nMain", {L"Accessories", L"Main"}},
        {L"A\rB\nC", {L"A", L"B", L"C"}},
        {L"A\n\rB\r\rC\n\n", {L"A", L"B", L"C"}},
        // Only line breaks separate: blanks and TABs belong to the line.
        {L"  \r\n\tx\r\n", {L"  ", L"\tx"}},
        {L"\"Brennix\",C:\\B.GRP,2\r\n\"Alpha\",\"VIEWDESK.EXE\",,,0,0,0,0,0\r\n",
         {L"\"Brennix\",C:\\B.GRP,2", L"\"Alpha\",\"VIEWDESK.EXE\",,,0,0,0,0,0"}},
    };
    for (const auto& c : cases) EXPECT_EQ(rc::SplitReplyLines(c.reply), c.lines) << c.reply;
}

// ---------------------------------------------------------------------------
// Item lines from a group's reply
// ---------------------------------------------------------------------------

TEST(ItemLineFromGroupLine, KeepsViewdeskIconsInTheirOwnCase) {
    struct Case {
        const wchar_t* line;
        const wchar_t* itemLine;  // nullptr: the line is dropped
    } cases[] = {
        {L"\"Brennix Control\",\"C:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \",C:\\QB,c:\\qb\\viewdesk.exe,10,20,0,0,0",
         L"Brennix Control\tC:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \tC:\\QB\tc:\\qb\\viewdesk.exe\t10\t20\t0\t0\t0"},
        // Lower case is a Viewdesk icon too, and stays lower case.
        {L"\"alpha\",\"c:\\qb\\viewdesk.exe /nalpha\",c:\\qb,c:\\qb\\viewdesk.exe,1,2,3,4,5",
         L"alpha\tc:\\qb\\viewdesk.exe /nalpha\tc:\\qb\tc:\\qb\\viewdesk.exe\t1\t2\t3\t4\t5"},
        {L"\"Mixed\",\"D:\\Tools\\ViewDesk.Exe\",D:\\,D:\\i.ico,0,0,0,0,1",
         L"Mixed\tD:\\Tools\\ViewDesk.Exe\tD:\\\tD:\\i.ico\t0\t0\t0\t0\t1"},
        // VIEWDESK anywhere in the program part counts, directory included.
        {L"\"Run\",\"C:\\VIEWDESK\\RUN.EXE /x\",C:\\,C:\\r.exe,0,0,0,0,0",
         L"Run\tC:\\VIEWDESK\\RUN.EXE /x\tC:\\\tC:\\r.exe\t0\t0\t0\t0\t0"},
        // Behind the first space it does not count.
        {L"\"Notepad\",\"NOTEPAD.EXE C:\\VIEWDESK\\README.TXT\",C:\\,notepad.exe,0,0,0,0,0", nullptr},
        {L"\"Notepad\",\"notepad.exe /viewdesk\",,notepad.exe,0,0,0,0,0", nullptr},
        {L"\"Viewdesk\",\"NOTEPAD.EXE\",C:\\VIEWDESK,VIEWDESK.EXE,0,0,0,0,0", nullptr},
        // An empty default directory keeps its place.
        {L"\"Alpha\",\"VIEWDESK.EXE /NA\",,C:\\v.exe,1,2,3,4,5",
         L"Alpha\tVIEWDESK.EXE /NA\t\tC:\\v.exe\t1\t2\t3\t4\t5"},
        // Commas in the name and the command line stay; only the fields' turn into TABs.
        {L"\"A, B\",\"VIEWDESK.EXE /Na,b\",C:\\x,y,0,0,0,0,0",
         L"A, B\tVIEWDESK.EXE /Na,b\tC:\\x\ty\t0\t0\t0\t0\t0"},
        // The group's own line, and lines lacking a quote that the steps look for.
        {L"\"Brennix\",C:\\WINNT\\BRENNIX.GRP,2,0,0,640,480,0,0", nullptr},
        {L"Accessories", nullptr},
        {L"\"Alpha", nullptr},
        {L"\"Alpha\"", nullptr},
        {L"\"Alpha\",", nullptr},
        {L"\"Alpha\",\"", nullptr},
        {L"\"Alpha\",\"VIEWDESK.EXE /NA,C:\\QB", nullptr},
        {L"\"", nullptr},
        {L"\"\"", nullptr},
        {L"", nullptr},
        // An empty command line has no program part.
        {L"\"Alpha\",\"\",C:\\VIEWDESK.EXE", nullptr},
        // Lines that end at or right after the command line's closing quote
        // have no remaining fields.
        {L"\"Alpha\",\"VIEWDESK.EXE\"", L"Alpha\tVIEWDESK.EXE\t"},
        {L"\"Alpha\",\"VIEWDESK.EXE\",", L"Alpha\tVIEWDESK.EXE\t"},
        {L"\"Alpha\",\"VIEWDESK.EXE\",C", L"Alpha\tVIEWDESK.EXE\tC"},
        {L"\"\",\"VIEWDESK\"", L"\tVIEWDESK\t"},
    };
    for (const auto& c : cases) {
        std::wstring out = L"untouched";
        bool kept = rc::ItemLineFromGroupLine(c.line, &out);
        EXPECT_EQ(kept, c.itemLine != nullptr) << c.line;
        EXPECT_EQ(out, c.itemLine ? c.itemLine : L"untouched") << c.line;
    }
}

TEST(ItemLineFromGroupLine, NeverReadsPastAShortLine) {
    // The same line cut at every length: the text behind the cut must never
    // be seen, so the copy is exactly as long as the cut.
    const std::wstring full = L"\"Alpha\",\"VIEWDESK.EXE /NA\",C:\\QB,C:\\QB\\V.EXE,1,2,3,4,5";
    for (std::size_t n = 0; n <= full.size(); ++n) {
        // A heap copy of exactly n characters, so that a read behind it is
        // caught by the address sanitizer.
        std::vector<wchar_t> cut(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        std::wstring out;
        bool kept = rc::ItemLineFromGroupLine(std::wstring_view(cut.data(), n), &out);
        // Kept from the closing quote of the command line on.
        std::size_t closing = full.find(L'"', 9);
        EXPECT_EQ(kept, n > closing) << n;
        if (kept) {
            EXPECT_LE(out.size() + 3, n) << n;
        }
    }
}

// ---------------------------------------------------------------------------
// Item lines read back into the record
// ---------------------------------------------------------------------------

ProgramItemRecord FilledRecord() {
    ProgramItemRecord r;
    rc::ClearProgramItemRecord(&r);
    rc::CopyCut(r.description, rc::kItemTextCap, L"old description");
    rc::CopyCut(r.commandLine, rc::kItemTextCap, L"old command");
    rc::CopyCut(r.directory, rc::kItemTextCap, L"old directory");
    rc::CopyCut(r.iconFile, rc::kItemTextCap, L"old icon");
    r.x = r.y = r.iconIndex = r.hotKey = r.minimize = 77;
    rc::CopyCut(r.group, rc::kGroupNameCap, L"Brennix");
    rc::CopyCut(r.options, rc::kItemOptionsCap, L"/NAlpha ");
    return r;
}

TEST(ReadItemLine, FillsTheNineFieldsInOrder) {
    struct Case {
        std::wstring line;
        const wchar_t* description;
        const wchar_t* commandLine;
        const wchar_t* directory;
        const wchar_t* iconFile;
        int x, y, iconIndex, hotKey, minimize;
    } cases[] = {
        {L"Alpha\tC:\\QB\\VIEWDESK.EXE /NA\tC:\\QB\tc:\\qb\\viewdesk.exe\t10\t20\t1\t1601\t1",
         L"Alpha", L"C:\\QB\\VIEWDESK.EXE /NA", L"C:\\QB", L"c:\\qb\\viewdesk.exe", 10, 20, 1, 1601, 1},
        // An empty default directory stays in its own place.
        {L"Alpha\tVIEWDESK.EXE\t\tC:\\v.exe\t-5\t6\t7\t8\t9",
         L"Alpha", L"VIEWDESK.EXE", L"", L"C:\\v.exe", -5, 6, 7, 8, 9},
        // Every field empty.
        {L"\t\t\t\t\t\t\t\t", L"", L"", L"", L"", 0, 0, 0, 0, 0},
        // Numbers are read as their leading decimal number.
        {L"A\tB\tC\tD\t12abc\t x\t 7\t+3\t-", L"A", L"B", L"C", L"D", 12, 0, 7, 3, 0},
        {L"A\tB\tC\tD\t99999999999\t-99999999999\t0\t0\t0",
         L"A", L"B", L"C", L"D", 2147483647, -2147483647 - 1, 0, 0, 0},
        // Fields after the ninth are ignored.
        {L"A\tB\tC\tD\t1\t2\t3\t4\t5\t6\textra", L"A", L"B", L"C", L"D", 1, 2, 3, 4, 5},
        // Fields the line does not reach become empty or 0.
        {L"Alpha\tVIEWDESK.EXE", L"Alpha", L"VIEWDESK.EXE", L"", L"", 0, 0, 0, 0, 0},
        {L"Alpha", L"Alpha", L"", L"", L"", 0, 0, 0, 0, 0},
        {L"", L"", L"", L"", L"", 0, 0, 0, 0, 0},
        {L"A\tB\tC\tD\t1\t2\t3", L"A", L"B", L"C", L"D", 1, 2, 3, 0, 0},
    };
    for (const auto& c : cases) {
        ProgramItemRecord r = FilledRecord();
        rc::ReadItemLine(c.line, &r);
        EXPECT_STREQ(r.description, c.description) << c.line;
        EXPECT_STREQ(r.commandLine, c.commandLine) << c.line;
        EXPECT_STREQ(r.directory, c.directory) << c.line;
        EXPECT_STREQ(r.iconFile, c.iconFile) << c.line;
        EXPECT_EQ(r.x, c.x) << c.line;
        EXPECT_EQ(r.y, c.y) << c.line;
        EXPECT_EQ(r.iconIndex, c.iconIndex) << c.line;
        EXPECT_EQ(r.hotKey, c.hotKey) << c.line;
        EXPECT_EQ(r.minimize, c.minimize) << c.line;
        // The group and our option buffer are not the line's business.
        EXPECT_STREQ(r.group, L"Brennix") << c.line;
        EXPECT_STREQ(r.options, L"/NAlpha ") << c.line;
    }
}

TEST(ReadItemLine, CutsLongFieldsAtTheirOwnRoom) {
    for (std::size_t length : {125u, 126u, 127u, 128u, 500u}) {
        std::wstring line = Repeat(L'd', length) + L"\t" + Repeat(L'c', length) + L"\t" +
                            Repeat(L'r', length) + L"\t" + Repeat(L'i', length) + L"\t1\t2\t3\t4\t5";
        ProgramItemRecord r;
        std::memset(&r, 0x5A, sizeof r);
        rc::ReadItemLine(line, &r);
        std::size_t kept = length < 126 ? length : 126;
        EXPECT_EQ(std::wstring(r.description), Repeat(L'd', kept)) << length;
        EXPECT_EQ(std::wstring(r.commandLine), Repeat(L'c', kept)) << length;
        EXPECT_EQ(std::wstring(r.directory), Repeat(L'r', kept)) << length;
        EXPECT_EQ(std::wstring(r.iconFile), Repeat(L'i', kept)) << length;
        EXPECT_EQ(r.x, 1);
        EXPECT_EQ(r.minimize, 5);
    }
}

TEST(ReadItemLine, ReadsWhatAGroupLineBecame) {
    std::wstring itemLine;
    ASSERT_TRUE(rc::ItemLineFromGroupLine(
        L"\"Alpha\",\"C:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \",,c:\\qb\\viewdesk.exe,48,96,2,1601,1", &itemLine));
    ProgramItemRecord r;
    rc::ClearProgramItemRecord(&r);
    rc::ReadItemLine(itemLine, &r);
    EXPECT_STREQ(r.description, L"Alpha");
    EXPECT_STREQ(r.commandLine, L"C:\\QB\\VIEWDESK.EXE /NAlpha /TIPX ");
    EXPECT_STREQ(r.directory, L"");
    EXPECT_STREQ(r.iconFile, L"c:\\qb\\viewdesk.exe");
    EXPECT_EQ(r.x, 48);
    EXPECT_EQ(r.y, 96);
    EXPECT_EQ(r.iconIndex, 2);
    EXPECT_EQ(r.hotKey, 1601);
    EXPECT_EQ(r.minimize, 1);
}

TEST(ClearProgramItemRecord, LeavesOnlyZeros) {
    ProgramItemRecord r;
    std::memset(&r, 0x5A, sizeof r);
    rc::ClearProgramItemRecord(&r);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&r);
    std::size_t nonZero = 0;
    for (std::size_t i = 0; i < sizeof r; ++i) nonZero += bytes[i] != 0;
    EXPECT_EQ(nonZero, 0u);
}

// ---------------------------------------------------------------------------
// Create Program Icon's command block
// ---------------------------------------------------------------------------

rc::IconCommandInput AlphaItem(const std::vector<std::wstring>* known, int major) {
    rc::IconCommandInput in;
    in.programPath = L"C:\\QB\\VIEWDESK.EXE";
    in.options = L"/NAlpha /TIPX ";
    in.description = L"Alpha";
    in.iconFile = L"c:\\qb\\viewdesk.exe";
    in.directory = L"C:\\QB";
    in.group = L"Brennix";
    in.knownGroups = known;
    in.majorVersion = major;
    return in;
}

TEST(CreateIconCommands, WritesTheBlockOfEachVersion) {
    const std::vector<std::wstring> withGroup = {L"Accessories", L"Brennix", L"Main"};
    const std::vector<std::wstring> otherCase = {L"BRENNIX", L"Main"};
    const std::vector<std::wstring> without = {L"Accessories", L"Brennix Tools", L"Main"};
    const std::vector<std::wstring> none;
    struct Case {
        const std::vector<std::wstring>* known;
        int major;
        bool newGroup;
        const wchar_t* block;
    } cases[] = {
        {&withGroup, 4, false,
         L"[ShowGroup(\"Brennix\", 1)]"
         L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]"},
        {&withGroup, 3, false,
         L"[ShowGroup(\"Brennix\", 1)]"
         L"[AddItem(\"C:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \",\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]"},
        {&withGroup, 10, false,
         L"[ShowGroup(\"Brennix\", 1)]"
         L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]"},
        // A group known in other letter case is not created again.
        {&otherCase, 4, false,
         L"[ShowGroup(\"Brennix\", 1)]"
         L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]"},
        // A name that only begins like a known group is new.
        {&without, 4, true,
         L"[CreateGroup(Brennix)][ShowGroup(\"Brennix\", 1)]"
         L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]"},
        {&none, 3, true,
         L"[CreateGroup(Brennix)][ShowGroup(\"Brennix\", 1)]"
         L"[AddItem(\"C:\\QB\\VIEWDESK.EXE /NAlpha /TIPX \",\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]"},
        {nullptr, 4, true,
         L"[CreateGroup(Brennix)][ShowGroup(\"Brennix\", 1)]"
         L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,0,0,0,C:\\QB,0,0,1)]"},
    };
    for (const auto& c : cases) {
        bool created = !c.newGroup;
        EXPECT_EQ(rc::CreateIconCommands(AlphaItem(c.known, c.major), &created), c.block) << c.major;
        EXPECT_EQ(created, c.newGroup) << c.block;
    }
}

TEST(CreateIconCommands, CarriesAnEditedItemsNumbersInOrder) {
    const std::vector<std::wstring> known = {L"Brennix"};
    rc::IconCommandInput in = AlphaItem(&known, 4);
    in.iconIndex = 2;
    in.x = 48;
    in.y = -16;
    in.hotKey = 1601;
    in.minimize = 1;
    in.directory = L"";
    EXPECT_EQ(rc::CreateIconCommands(in, nullptr),
              L"[ShowGroup(\"Brennix\", 1)]"
              L"[AddItem(\"C:\\QB\\VIEWDESK.EXE\" /NAlpha /TIPX ,\"Alpha\",c:\\qb\\viewdesk.exe,2,48,-16,,1601,1,1)]");
}

TEST(CreateIconCommands, WritesTheParametersOnlyWithThirtyFiveToSpare) {
    const std::vector<std::wstring> known = {L"G"};
    const std::vector<std::wstring> none;
    struct Case {
        const std::vector<std::wstring>* known;
        int major;
        const wchar_t* prefix;  // the block up to the parameters
    } cases[] = {
        {&known, 4, L"[ShowGroup(\"G\", 1)][AddItem("},
        {&known, 3, L"[ShowGroup(\"G\", 1)][AddItem("},
        {&none, 4, L"[CreateGroup(G)][ShowGroup(\"G\", 1)][AddItem("},
    };
    for (const auto& c : cases) {
        const std::wstring prefix = c.prefix;
        const std::size_t free = 1023 - prefix.size();
        // Path, description, icon file and directory take one character each.
        const std::size_t fitting = free - 35 - 4;
        for (std::size_t extra : {0u, 1u}) {
            std::wstring options = Repeat(L'o', fitting + extra);
            rc::IconCommandInput in;
            in.programPath = L"P";
            in.options = options;
            in.description = L"D";
            in.iconFile = L"I";
            in.directory = L"R";
            in.group = L"G";
            in.knownGroups = c.known;
            in.majorVersion = c.major;
            std::wstring block = rc::CreateIconCommands(in, nullptr);
            std::wstring expected = prefix;
            if (extra == 0)
                expected += (c.major >= 4 ? L"\"P\" " + options + L"," : L"\"P " + options + L"\",") +
                            L"\"D\",I,0,0,0,R,0,0,1";
            expected += L")]";
            EXPECT_EQ(block, expected) << c.prefix << " extra " << extra;
            EXPECT_LE(block.size(), 1023u);
        }
    }
}

TEST(CreateIconCommands, RecordSizedTextsFitAndLongerOnesLeaveAddItemEmpty) {
    const std::vector<std::wstring> known = {Repeat(L'g', 63)};
    std::wstring path = Repeat(L'p', 140), text = Repeat(L't', 126);
    rc::IconCommandInput in;
    in.programPath = path;
    in.description = text;
    in.iconFile = text;
    in.directory = text;
    in.group = known[0];
    in.knownGroups = &known;
    std::wstring options = Repeat(L'o', 300);
    in.options = options;
    std::wstring block = rc::CreateIconCommands(in, nullptr);
    EXPECT_NE(block.find(L"," + text + L",0,0,0," + text + L",0,0,1)]"), std::wstring::npos);

    options = Repeat(L'o', 1000);
    in.options = options;
    block = rc::CreateIconCommands(in, nullptr);
    EXPECT_EQ(block, L"[ShowGroup(\"" + known[0] + L"\", 1)][AddItem()]");
}

TEST(CreateIconCommands, NeverGrowsPastTheBlock) {
    // Numbers as wide as they come at the very edge of the room: the
    // parameters are cut, and the command still closes.
    const std::vector<std::wstring> known = {L"G"};
    const std::wstring prefix = L"[ShowGroup(\"G\", 1)][AddItem(";
    std::wstring options = Repeat(L'o', 1023 - prefix.size() - 35 - 4);
    rc::IconCommandInput in;
    in.programPath = L"P";
    in.options = options;
    in.description = L"D";
    in.iconFile = L"I";
    in.directory = L"R";
    in.group = L"G";
    in.knownGroups = &known;
    in.iconIndex = in.x = in.y = in.hotKey = in.minimize = -2147483647 - 1;
    std::wstring block = rc::CreateIconCommands(in, nullptr);
    EXPECT_EQ(block.size(), 1023u);
    EXPECT_EQ(block.compare(0, prefix.size() + 4, prefix + L"\"P\" "), 0);
    EXPECT_EQ(block.substr(block.size() - 2), L")]");

    // A group longer than its room is taken at 63 characters, and compared
    // as such.
    std::wstring longGroup = Repeat(L'g', 100);
    const std::vector<std::wstring> cutKnown = {Repeat(L'G', 63)};
    in = AlphaItem(&cutKnown, 4);
    in.group = longGroup;
    bool created = true;
    block = rc::CreateIconCommands(in, &created);
    EXPECT_FALSE(created);
    EXPECT_EQ(block.rfind(L"[ShowGroup(\"" + Repeat(L'g', 63) + L"\", 1)][AddItem(\"", 0), 0u);
}

// ---------------------------------------------------------------------------
// Delete's command block
// ---------------------------------------------------------------------------

TEST(DeleteIconCommands, ShowsTheGroupAndDeletesTheItem) {
    struct Case {
        std::wstring group, item, block;
    } cases[] = {
        {L"Brennix", L"Alpha", L"[ShowGroup(\"Brennix\", 1)][DeleteItem(\"Alpha\")]"},
        {L"", L"", L"[ShowGroup(\"\", 1)][DeleteItem(\"\")]"},
        {Repeat(L'g', 63), Repeat(L'n', 126),
         L"[ShowGroup(\"" + Repeat(L'g', 63) + L"\", 1)][DeleteItem(\"" + Repeat(L'n', 126) + L"\")]"},
        // Longer names are cut to the room they have in the record.
        {Repeat(L'g', 400), Repeat(L'n', 900),
         L"[ShowGroup(\"" + Repeat(L'g', 63) + L"\", 1)][DeleteItem(\"" + Repeat(L'n', 126) + L"\")]"},
    };
    for (const auto& c : cases) {
        std::wstring block = rc::DeleteIconCommands(c.group, c.item);
        EXPECT_EQ(block, c.block);
        EXPECT_LE(block.size(), 511u);
    }
}

// ---------------------------------------------------------------------------
// Reply format, Start Menu mark, group selection
// ---------------------------------------------------------------------------

TEST(ReplyIsEightBit, OnlyNonUnicodeRepliesFromVersionFourOn) {
    struct Case { int major, format; bool eightBit; } cases[] = {
        {3, 1, false}, {3, 13, false}, {4, 1, true}, {4, 13, false},
        {4, 7, true},  {5, 13, false}, {10, 1, true}, {3, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::ReplyIsEightBit(c.major, c.format), c.eightBit) << c.major << "/" << c.format;
}

TEST(StartMenuLinkPath, NamesTheShortcutOfTheGroupsItem) {
    EXPECT_EQ(rc::StartMenuLinkPath(L"C:\\WINNT", L"Brennix", L"Alpha"),
              L"C:\\WINNT\\Profiles\\All Users\\Start Menu\\Programs\\Brennix\\Alpha.lnk");
    EXPECT_EQ(rc::StartMenuLinkPath(L"", L"", L""),
              L"\\Profiles\\All Users\\Start Menu\\Programs\\\\.lnk");
    EXPECT_EQ(rc::StartMenuLinkPath(Repeat(L'w', 300), L"G", L"D"),
              Repeat(L'w', 255) + L"\\Profiles\\All Users\\Start Menu\\Programs\\G\\D.lnk");
}

TEST(MarkRunInSeparateProcess, SetsTheLinkFlagWhenTheHeaderReachesIt) {
    struct Case { std::size_t length; std::uint8_t before; bool marked; std::uint8_t after; } cases[] = {
        {76, 0x00, true, 0x04}, {76, 0xF3, true, 0xF7}, {76, 0x04, true, 0x04},
        {1024, 0xFF, true, 0xFF}, {22, 0x01, true, 0x05}, {21, 0x00, false, 0x00}, {0, 0x00, false, 0x00},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> bytes(c.length < 22 ? 22 : c.length, 0x11);
        bytes[21] = c.before;
        std::vector<std::uint8_t> original = bytes;
        EXPECT_EQ(rc::MarkRunInSeparateProcess(bytes.data(), c.length), c.marked) << c.length;
        EXPECT_EQ(bytes[21], c.after) << c.length;
        bytes[21] = original[21];
        EXPECT_EQ(bytes, original) << "only byte 21 may change, length " << c.length;
    }
    EXPECT_FALSE(rc::MarkRunInSeparateProcess(nullptr, 76));

    // Read as the little-endian link flags at offset 20, it is flag 0x400.
    std::uint8_t header[76] = {};
    header[20] = 0x9B;  // flags an ordinary shortcut already carries
    ASSERT_TRUE(rc::MarkRunInSeparateProcess(header, sizeof header));
    std::uint32_t flags = header[20] | header[21] << 8 | header[22] << 16 | static_cast<std::uint32_t>(header[23]) << 24;
    EXPECT_EQ(flags, 0x0000049Bu);
}

TEST(GroupSelection, WholeNameOrPrefixWithoutRegardToCase) {
    const std::vector<std::wstring> groups = {L"Accessories", L"Brennix Tools", L"brennix",
                                              L"Main", L"\u00D6ffentlich"};
    struct Case { const wchar_t* name; int whole, prefix; } cases[] = {
        {L"BRENNIX", 2, 1},
        {L"Brennix Tools", 1, 1},
        {L"brennix t", -1, 1},
        {L"main", 3, 3},
        {L"Ma", -1, 3},
        {L"Accessories and more", -1, -1},
        {L"\u00F6ffentlich", 4, 4},
        {L"Zed", -1, -1},
        {L"", -1, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rc::FindGroupIndex(groups, c.name), c.whole) << c.name;
        EXPECT_EQ(rc::FindGroupPrefixIndex(groups, c.name), c.prefix) << c.name;
    }
    EXPECT_EQ(rc::FindGroupIndex({}, L"Main"), -1);
    EXPECT_EQ(rc::FindGroupPrefixIndex({}, L""), -1);
}

}  // namespace

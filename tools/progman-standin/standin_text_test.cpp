// The stand-in's command language and replies, and how they meet the
// Configurator's own texts: every block the Configurator composes must read
// back into the item it describes, and every item line the stand-in gives
// must read into the Configurator's record field by field.
#include "standin_text.h"

#include "progman/progman_text.h"

#include <gtest/gtest.h>

namespace {

using standin::Command;

struct BlockCase {
    const wchar_t* block;
    bool ok;
    std::vector<Command> commands;
};

class CommandBlock : public testing::TestWithParam<BlockCase> {};

TEST_P(CommandBlock, ReadsCommandsOrRefusesTheBlock) {
    const BlockCase& c = GetParam();
    std::vector<Command> got{{L"stale", {L"x"}}};
    EXPECT_EQ(standin::ParseCommandBlock(c.block, &got), c.ok);
    ASSERT_EQ(got.size(), c.commands.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].name, c.commands[i].name);
        EXPECT_EQ(got[i].params, c.commands[i].params);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, CommandBlock,
    testing::Values(
        BlockCase{L"[CreateGroup(Brennix)][ShowGroup(\"Brennix\", 1)]",
                  true,
                  {{L"CreateGroup", {L"Brennix"}}, {L"ShowGroup", {L"\"Brennix\"", L"1"}}}},
        BlockCase{L"  [ShowGroup(a,1)]\r\n\t[DeleteItem(\"Station 1\")]  ",
                  true,
                  {{L"ShowGroup", {L"a", L"1"}}, {L"DeleteItem", {L"\"Station 1\""}}}},
        BlockCase{L"[ExitProgman]", true, {{L"ExitProgman", {}}}},
        BlockCase{L"[ AddItem ( ) ]", true, {{L"AddItem", {}}}},
        // Commas and parentheses inside quotes belong to the parameter.
        BlockCase{L"[AddItem(\"a,b)\" /x ,c)]", true, {{L"AddItem", {L"\"a,b)\" /x", L"c"}}}},
        BlockCase{L"[a(x, )]", true, {{L"a", {L"x", L""}}}},
        BlockCase{L"[a(,)]", true, {{L"a", {L"", L""}}}},
        BlockCase{L"", false, {}},
        BlockCase{L" \r\n ", false, {}},
        BlockCase{L"CreateGroup(x)", false, {}},
        BlockCase{L"[CreateGroup(x)", false, {}},
        BlockCase{L"[CreateGroup(x]", false, {}},
        BlockCase{L"[CreateGroup(\"x)]", false, {}},
        BlockCase{L"[(x)]", false, {}},
        BlockCase{L"[Create Group(x)]", false, {}},
        BlockCase{L"[a(x)] junk", false, {}},
        BlockCase{L"[a(x)]]", false, {}},
        BlockCase{L"[a(x)b]", false, {}}));

struct SplitCase {
    const wchar_t* param;
    const wchar_t* program;
    const wchar_t* arguments;
};

class CommandLineSplit : public testing::TestWithParam<SplitCase> {};

TEST_P(CommandLineSplit, FindsWhereTheProgramEnds) {
    std::wstring program = L"stale", arguments = L"stale";
    standin::SplitCommandLine(GetParam().param, &program, &arguments);
    EXPECT_EQ(program, GetParam().program);
    EXPECT_EQ(arguments, GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommandLineSplit,
    testing::Values(
        // Version 4 and later: only the program is quoted.
        SplitCase{L"\"C:\\Q\\VIEWDESK.EXE\" /A /B ", L"C:\\Q\\VIEWDESK.EXE", L"/A /B"},
        SplitCase{L"\"C:\\Program Files\\Q\\VIEWDESK.EXE\" /A", L"C:\\Program Files\\Q\\VIEWDESK.EXE", L"/A"},
        SplitCase{L"\"C:\\My Tools\\prog\" /x", L"C:\\My Tools\\prog", L"/x"},
        // Below 4: program and options share the quotes.
        SplitCase{L"\"C:\\Q\\VIEWDESK.EXE /A /B \"", L"C:\\Q\\VIEWDESK.EXE", L"/A /B"},
        SplitCase{L"\"C:\\Program Files\\Q\\viewdesk.exe /A\"", L"C:\\Program Files\\Q\\viewdesk.exe", L"/A"},
        SplitCase{L"\"C:\\Program Files\\Q\\VIEWDESK.EXE\"", L"C:\\Program Files\\Q\\VIEWDESK.EXE", L""},
        SplitCase{L"\"C:\\Q\\VIEWDESK.EXE\"", L"C:\\Q\\VIEWDESK.EXE", L""},
        // Unquoted.
        SplitCase{L"C:\\Q\\notepad.exe x.txt", L"C:\\Q\\notepad.exe", L"x.txt"},
        SplitCase{L"C:\\tools\\run me now", L"C:\\tools\\run", L"me now"},
        SplitCase{L"  ", L"", L""}));

TEST(AddItem, ReadsEveryFieldOfTheFullForm) {
    std::vector<Command> commands;
    ASSERT_TRUE(standin::ParseCommandBlock(
        L"[AddItem(\"C:\\Q\\VIEWDESK.EXE\" /* STATION1 ,\"Station, one\",c:\\q\\viewdesk.exe,2,-10,20,C:\\Q,1601,1,1)]",
        &commands));
    ASSERT_EQ(commands.size(), 1u);
    standin::NewItem item;
    ASSERT_TRUE(standin::ReadAddItem(commands[0].params, &item));
    EXPECT_EQ(item.program, L"C:\\Q\\VIEWDESK.EXE");
    EXPECT_EQ(item.arguments, L"/* STATION1");
    EXPECT_EQ(item.name, L"Station, one");
    EXPECT_EQ(item.iconFile, L"c:\\q\\viewdesk.exe");
    EXPECT_EQ(item.iconIndex, 2);
    EXPECT_EQ(item.x, -10);
    EXPECT_EQ(item.y, 20);
    EXPECT_EQ(item.directory, L"C:\\Q");
    EXPECT_EQ(item.hotKey, 1601);
    EXPECT_TRUE(item.minimize);
    EXPECT_TRUE(item.separate);
}

TEST(AddItem, NamesAnUnnamedItemAfterItsProgram) {
    standin::NewItem item;
    ASSERT_TRUE(standin::ReadAddItem({L"C:\\Q\\viewdesk.exe /A"}, &item));
    EXPECT_EQ(item.name, L"viewdesk");
    EXPECT_EQ(item.x, 0);
    EXPECT_FALSE(item.minimize);
}

struct BadAddItem {
    const char* why;
    std::vector<std::wstring> params;
};

class AddItemRefused : public testing::TestWithParam<BadAddItem> {};

TEST_P(AddItemRefused, IsRefused) {
    standin::NewItem item;
    item.name = L"untouched";
    EXPECT_FALSE(standin::ReadAddItem(GetParam().params, &item)) << GetParam().why;
    EXPECT_EQ(item.name, L"untouched");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, AddItemRefused,
    testing::Values(BadAddItem{"no parameters", {}},
                    BadAddItem{"no program", {L"\"\"", L"\"a\""}},
                    BadAddItem{"icon index not a number", {L"a.exe", L"a", L"i.ico", L"x"}},
                    BadAddItem{"x without y", {L"a.exe", L"a", L"i.ico", L"0", L"5"}},
                    BadAddItem{"y not a number", {L"a.exe", L"a", L"i.ico", L"0", L"5", L"y"}},
                    BadAddItem{"hot key too large", {L"a.exe", L"a", L"", L"0", L"0", L"0", L"", L"65536"}},
                    BadAddItem{"hot key negative", {L"a.exe", L"a", L"", L"0", L"0", L"0", L"", L"-1"}},
                    BadAddItem{"minimize not a number", {L"a.exe", L"a", L"", L"0", L"0", L"0", L"", L"0", L"yes"}},
                    BadAddItem{"eleven parameters",
                               {L"a.exe", L"a", L"", L"0", L"0", L"0", L"", L"0", L"0", L"1", L"1"}}));

// Every block Create Program Icon composes, in both generations of the
// AddItem form, reads back into the item it was made from.
class ComposedBlock : public testing::TestWithParam<int> {};

TEST_P(ComposedBlock, ReadsBackIntoTheItem) {
    rc::IconCommandInput in;
    in.programPath = L"C:\\Program Files\\Quorvel\\VIEWDESK.EXE";
    in.options = L"/* STATION1 /T15 ";
    in.description = L"Station 1";
    in.iconFile = L"c:\\program files\\quorvel\\viewdesk.exe";
    in.iconIndex = 1;
    in.x = 40;
    in.y = 8;
    in.directory = L"C:\\Program Files\\Quorvel";
    in.hotKey = 1620;
    in.minimize = 1;
    in.group = L"Brennix Tools";
    in.majorVersion = GetParam();
    bool creates = false;
    std::wstring block = rc::CreateIconCommands(in, &creates);
    ASSERT_TRUE(creates);

    std::vector<Command> commands;
    ASSERT_TRUE(standin::ParseCommandBlock(block, &commands)) << std::string(block.begin(), block.end());
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_TRUE(standin::SameName(commands[0].name, L"CreateGroup"));
    EXPECT_EQ(standin::Unquote(commands[0].params.at(0)), L"Brennix Tools");
    EXPECT_TRUE(standin::SameName(commands[1].name, L"ShowGroup"));
    EXPECT_EQ(standin::Unquote(commands[1].params.at(0)), L"Brennix Tools");
    ASSERT_TRUE(standin::SameName(commands[2].name, L"AddItem"));
    standin::NewItem item;
    ASSERT_TRUE(standin::ReadAddItem(commands[2].params, &item));
    EXPECT_EQ(item.program, in.programPath);
    EXPECT_EQ(item.arguments, L"/* STATION1 /T15");
    EXPECT_EQ(item.name, in.description);
    EXPECT_EQ(item.iconFile, in.iconFile);
    EXPECT_EQ(item.iconIndex, 1);
    EXPECT_EQ(item.x, 40);
    EXPECT_EQ(item.y, 8);
    EXPECT_EQ(item.directory, in.directory);
    EXPECT_EQ(item.hotKey, 1620);
    EXPECT_TRUE(item.minimize);
    EXPECT_TRUE(item.separate);
}

INSTANTIATE_TEST_SUITE_P(MajorVersions, ComposedBlock, testing::Values(3, 4, 6));

TEST(ComposedBlock, DeleteBlockNamesGroupAndItem) {
    std::vector<Command> commands;
    ASSERT_TRUE(standin::ParseCommandBlock(rc::DeleteIconCommands(L"Brennix", L"Station, 1"), &commands));
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(standin::Unquote(commands[0].params.at(0)), L"Brennix");
    ASSERT_EQ(commands[1].params.size(), 1u);
    EXPECT_EQ(standin::Unquote(commands[1].params[0]), L"Station, 1");
}

TEST(ComposedBlock, AddItemWithoutRoomIsRefused) {
    rc::IconCommandInput in;
    std::wstring longText(400, L'x');
    in.programPath = longText;
    in.options = longText;
    in.description = longText;
    in.group = L"G";
    std::vector<Command> commands;
    ASSERT_TRUE(standin::ParseCommandBlock(rc::CreateIconCommands(in, nullptr), &commands));
    ASSERT_EQ(commands.size(), 3u);
    standin::NewItem item;
    EXPECT_FALSE(standin::ReadAddItem(commands[2].params, &item));
}

struct NumberCase {
    const wchar_t* text;
    bool ok;
    int value;
};

class Number : public testing::TestWithParam<NumberCase> {};

TEST_P(Number, ReadsDecimalOrRefuses) {
    int value = 12345;
    EXPECT_EQ(standin::ReadNumber(GetParam().text, 7, &value), GetParam().ok);
    EXPECT_EQ(value, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, Number,
                         testing::Values(NumberCase{L"", true, 7}, NumberCase{L"  ", true, 7},
                                         NumberCase{L" 12 ", true, 12}, NumberCase{L"-5", true, -5},
                                         NumberCase{L"+7", true, 7}, NumberCase{L"2147483647", true, 2147483647},
                                         NumberCase{L"-2147483648", true, -2147483647 - 1},
                                         NumberCase{L"2147483648", false, 12345},
                                         NumberCase{L"99999999999999999999", false, 12345},
                                         NumberCase{L"1x", false, 12345}, NumberCase{L"-", false, 12345},
                                         NumberCase{L"1 2", false, 12345}));

TEST(Names, UsableAsFileNames) {
    for (const wchar_t* good : {L"Brennix", L"Station 1", L"Caf\u00e9", L"a.b"})
        EXPECT_TRUE(standin::IsUsableName(good)) << good;
    for (const wchar_t* bad : {L"", L".", L"..", L"a\\b", L"a/b", L"a:b", L"a*", L"a?", L"a\"b", L"a<b", L"a>b",
                               L"a|b", L"tab\there", L"trailing ", L"trailing."})
        EXPECT_FALSE(standin::IsUsableName(bad)) << bad;
    EXPECT_TRUE(standin::IsUsableName(std::wstring(100, L'n')));
    EXPECT_FALSE(standin::IsUsableName(std::wstring(101, L'n')));
}

TEST(Names, CompareWithoutCase) {
    EXPECT_TRUE(standin::SameName(L"Brennix", L"BRENNIX"));
    EXPECT_TRUE(standin::SameName(L"Caf\u00e9", L"CAF\u00c9"));
    EXPECT_FALSE(standin::SameName(L"a", L"ab"));
    EXPECT_FALSE(standin::SameName(L"\u00f7", L"\u00d7"));  // division and multiplication signs
}

// The stand-in's reply, as the Configurator reads it: the group's own line
// is dropped, Viewdesk items become item lines, and an item line reads into
// the record with every field in its place.
TEST(Replies, ItemLinesReadIntoTheRecord) {
    standin::ItemFields viewdesk;
    viewdesk.name = L"Station 1";
    viewdesk.commandLine = L"C:\\Q\\VIEWDESK.EXE /* STATION1 /T15";
    viewdesk.directory = L"C:\\Q";
    viewdesk.iconFile = L"c:\\q\\viewdesk.exe";
    viewdesk.x = 40;
    viewdesk.y = 8;
    viewdesk.iconIndex = 1;
    viewdesk.hotKey = 1620;
    viewdesk.minimize = true;
    standin::ItemFields other;
    other.name = L"Notes";
    other.commandLine = L"C:\\windows\\notepad.exe VIEWDESK.TXT";
    std::wstring reply = standin::JoinLines({standin::GroupLine(L"Brennix", L"C:\\G\\Brennix", 2, 1),
                                             standin::ItemLine(viewdesk), standin::ItemLine(other)});
    EXPECT_EQ(reply,
              L"\"Brennix\",C:\\G\\Brennix,2,1\r\n"
              L"\"Station 1\",\"C:\\Q\\VIEWDESK.EXE /* STATION1 /T15\",C:\\Q,c:\\q\\viewdesk.exe,40,8,1,1620,1\r\n"
              L"\"Notes\",\"C:\\windows\\notepad.exe VIEWDESK.TXT\",,,0,0,0,0,0");

    std::vector<std::wstring> lines = rc::SplitReplyLines(reply);
    ASSERT_EQ(lines.size(), 3u);
    std::wstring itemLine;
    EXPECT_FALSE(rc::ItemLineFromGroupLine(lines[2], &itemLine));
    ASSERT_TRUE(rc::ItemLineFromGroupLine(lines[1], &itemLine));
    rc::ProgramItemRecord record;
    rc::ClearProgramItemRecord(&record);
    rc::ReadItemLine(itemLine, &record);
    EXPECT_STREQ(record.description, L"Station 1");
    EXPECT_STREQ(record.commandLine, L"C:\\Q\\VIEWDESK.EXE /* STATION1 /T15");
    EXPECT_STREQ(record.directory, L"C:\\Q");
    EXPECT_STREQ(record.iconFile, L"c:\\q\\viewdesk.exe");
    EXPECT_EQ(record.x, 40);
    EXPECT_EQ(record.y, 8);
    EXPECT_EQ(record.iconIndex, 1);
    EXPECT_EQ(record.hotKey, 1620);
    EXPECT_EQ(record.minimize, 1);
}

TEST(Replies, GroupListIsOneNamePerLine) {
    EXPECT_EQ(standin::JoinLines({}), L"");
    EXPECT_EQ(rc::SplitReplyLines(standin::JoinLines({L"A", L"B c", L"D"})),
              (std::vector<std::wstring>{L"A", L"B c", L"D"}));
}

struct OptionsCase {
    std::vector<std::wstring> args;
    bool ok;
    const wchar_t* log;
    bool silent;
    bool ansi;
    int quitAfter;
};

class CommandLine : public testing::TestWithParam<OptionsCase> {};

TEST_P(CommandLine, ReadsSwitches) {
    const OptionsCase& c = GetParam();
    standin::Options o;
    o.logFile = L"untouched";
    EXPECT_EQ(standin::ReadOptions(c.args, &o), c.ok);
    EXPECT_EQ(o.logFile, c.log);
    EXPECT_EQ(o.silent, c.silent);
    EXPECT_EQ(o.ansi, c.ansi);
    EXPECT_EQ(o.quitAfterSeconds, c.quitAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, CommandLine,
    testing::Values(OptionsCase{{}, true, L"", false, false, 0},
                    OptionsCase{{L"/log", L"C:\\t\\s.log", L"-SILENT", L"/Quit-After", L"30"},
                                true, L"C:\\t\\s.log", true, false, 30},
                    OptionsCase{{L"/ansi"}, true, L"", false, true, 0},
                    OptionsCase{{L"/log"}, false, L"untouched", false, false, 0},
                    OptionsCase{{L"/quit-after", L"soon"}, false, L"untouched", false, false, 0},
                    OptionsCase{{L"/quit-after", L"-1"}, false, L"untouched", false, false, 0},
                    OptionsCase{{L"/verbose"}, false, L"untouched", false, false, 0},
                    OptionsCase{{L"log"}, false, L"untouched", false, false, 0}));

TEST(Log, FieldsJoinedByTabsEndedByCrLf) {
    EXPECT_EQ(standin::LogLine({L"request", L"13", L"PROGMAN"}), L"request\t13\tPROGMAN\r\n");
    EXPECT_EQ(standin::LogLine({L"terminate"}), L"terminate\r\n");
    EXPECT_EQ(standin::LogLine({L"initiate", L"", L""}), L"initiate\t\t\r\n");
}

}  // namespace

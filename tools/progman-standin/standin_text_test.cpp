// The stand-in's command language and replies, and how they meet the
// Configurator's own texts: every block the Configurator composes must read
// back into the item it describes, and every item line the stand-in gives
// must read into the Configurator's record field by field.
#include "standin_text.h"

#include "progman/progman_text.h"

#include <gtest/gtest.h>

#include "support/narrow_text.h"

namespace {

using rc::test::Narrow;

// A block's commands as "Name(param|param)" joined by ';', or "refused".
std::wstring Commands(std::wstring_view block) {
    std::vector<standin::Command> commands{{L"stale", {L"x"}}};
    bool ok = standin::ParseCommandBlock(block, &commands);
    std::wstring out;
    for (const auto& c : commands) {
        out += (out.empty() ? L"" : L";") + c.name + L"(";
        for (std::size_t i = 0; i < c.params.size(); ++i) out += (i ? L"|" : L"") + c.params[i];
        out += L")";
    }
    return ok ? out : commands.empty() ? L"refused" : L"refused but kept " + out;
}

// An AddItem command's item, its fields joined by '|', or "refused".
std::wstring AddItem(std::wstring_view block) {
    std::vector<standin::Command> commands;
    standin::NewItem i;
    i.name = L"untouched";
    if (!standin::ParseCommandBlock(block, &commands) || commands.empty()) return L"bad block";
    if (!standin::ReadAddItem(commands.back().params, &i)) return L"refused " + i.name;
    return i.program + L"|" + i.arguments + L"|" + i.name + L"|" + i.iconFile + L"|" + std::to_wstring(i.iconIndex) +
           L"|" + std::to_wstring(i.x) + L"|" + std::to_wstring(i.y) + L"|" + i.directory + L"|" +
           std::to_wstring(i.hotKey) + (i.minimize ? L"|min" : L"") + (i.separate ? L"|separate" : L"");
}

TEST(StandIn, CommandBlockReadsCommandsOrRefusesTheBlock) {
    struct Case { const wchar_t* block; const wchar_t* commands; } cases[] = {
        {L"[CreateGroup(Brennix)][ShowGroup(\"Brennix\", 1)]", L"CreateGroup(Brennix);ShowGroup(\"Brennix\"|1)"},
        {L"  [ShowGroup(a,1)]\r\n\t[DeleteItem(\"Station 1\")]  ", L"ShowGroup(a|1);DeleteItem(\"Station 1\")"},
        {L"[ExitProgman]", L"ExitProgman()"}, {L"[ AddItem ( ) ]", L"AddItem()"},
        {L"[AddItem(\"a,b)\" /x ,c)]", L"AddItem(\"a,b)\" /x|c)"},  // quotes hold commas and parentheses
        {L"[a(x, )]", L"a(x|)"}, {L"[a(,)]", L"a(|)"},
        {L"", L"refused"}, {L" \r\n ", L"refused"}, {L"CreateGroup(x)", L"refused"}, {L"[CreateGroup(x)", L"refused"},
        {L"[CreateGroup(x]", L"refused"}, {L"[CreateGroup(\"x)]", L"refused"}, {L"[(x)]", L"refused"},
        {L"[Create Group(x)]", L"refused"}, {L"[a(x)] junk", L"refused"}, {L"[a(x)]]", L"refused"},
        {L"[a(x)b]", L"refused"},
    };
    for (const auto& c : cases) EXPECT_EQ(Commands(c.block), c.commands) << Narrow(c.block);

    struct Split { const wchar_t* param; const wchar_t* program; const wchar_t* arguments; } splits[] = {
        {L"\"C:\\Program Files\\Q\\VIEWDESK.EXE\" /A /B ", L"C:\\Program Files\\Q\\VIEWDESK.EXE", L"/A /B"},
        {L"\"C:\\Program Files\\Q\\viewdesk.exe /A\"", L"C:\\Program Files\\Q\\viewdesk.exe", L"/A"},
        {L"\"C:\\Q\\VIEWDESK.EXE /A /B \"", L"C:\\Q\\VIEWDESK.EXE", L"/A /B"},
        {L"\"C:\\Program Files\\Q\\VIEWDESK.EXE\"", L"C:\\Program Files\\Q\\VIEWDESK.EXE", L""},
        {L"C:\\tools\\run me now", L"C:\\tools\\run", L"me now"}, {L"  ", L"", L""},
    };
    for (const auto& c : splits) {
        std::wstring program = L"stale", arguments = L"stale";
        standin::SplitCommandLine(c.param, &program, &arguments);
        EXPECT_EQ(program + L"|" + arguments, std::wstring(c.program) + L"|" + c.arguments) << Narrow(c.param);
    }
}

TEST(StandIn, AddItemReadsEveryFieldOrRefusesTheItem) {
    struct Case { const wchar_t* block; const wchar_t* item; } cases[] = {
        {L"[AddItem(\"C:\\Q\\VIEWDESK.EXE\" /* S1 ,\"Station, one\",c:\\q\\v.exe,2,-10,20,C:\\Q,1601,1,1)]",
         L"C:\\Q\\VIEWDESK.EXE|/* S1|Station, one|c:\\q\\v.exe|2|-10|20|C:\\Q|1601|min|separate"},
        {L"[AddItem(C:\\Q\\viewdesk.exe /A)]", L"C:\\Q\\viewdesk.exe|/A|viewdesk||0|0|0||0"},  // named after its program
        {L"[AddItem()]", L"refused untouched"}, {L"[AddItem(\"\",\"a\")]", L"refused untouched"},
        {L"[AddItem(a.exe,a,i.ico,x)]", L"refused untouched"}, {L"[AddItem(a.exe,a,i.ico,0,5)]", L"refused untouched"},
        {L"[AddItem(a.exe,a,i.ico,0,5,y)]", L"refused untouched"},
        {L"[AddItem(a.exe,a,,0,0,0,,65536)]", L"refused untouched"}, {L"[AddItem(a.exe,a,,0,0,0,,-1)]", L"refused untouched"},
        {L"[AddItem(a.exe,a,,0,0,0,,0,yes)]", L"refused untouched"},
        {L"[AddItem(a.exe,a,,0,0,0,,0,0,1,1)]", L"refused untouched"},  // eleven parameters
    };
    for (const auto& c : cases) EXPECT_EQ(AddItem(c.block), c.item) << Narrow(c.block);
}

// Every block Create Program Icon composes, in both generations of the
// AddItem form, reads back into the item it was made from.
TEST(StandIn, ComposedBlockReadsBackIntoTheItem) {
    for (int major : {3, 4, 6}) {
        rc::IconCommandInput in{L"C:\\Program Files\\Quorvel\\VIEWDESK.EXE", L"/* STATION1 /T15 ", L"Station 1",
                                L"c:\\q\\viewdesk.exe", 1, 40, 8, L"C:\\Program Files\\Quorvel", 1620, 1,
                                L"Brennix Tools", nullptr, major};
        std::wstring block = rc::CreateIconCommands(in, nullptr);
        EXPECT_EQ(Commands(block).rfind(L"CreateGroup(Brennix Tools);ShowGroup(\"Brennix Tools\"|1);AddItem(", 0), 0u);
        EXPECT_EQ(AddItem(block), L"C:\\Program Files\\Quorvel\\VIEWDESK.EXE|/* STATION1 /T15|Station 1|"
                                  L"c:\\q\\viewdesk.exe|1|40|8|C:\\Program Files\\Quorvel|1620|min|separate") << major;
    }
    EXPECT_EQ(Commands(rc::DeleteIconCommands(L"Brennix", L"Station, 1")),
              L"ShowGroup(\"Brennix\"|1);DeleteItem(\"Station, 1\")");
    std::wstring longText(400, L'x');
    rc::IconCommandInput in{longText, longText, longText, L"", 0, 0, 0, L"", 0, 0, L"G", nullptr, 4};
    EXPECT_EQ(AddItem(rc::CreateIconCommands(in, nullptr)), L"refused untouched");  // AddItem without room
}

// Numbers and names of the command language; the switches and the log lines
// are used by every test that starts the stand-in.
TEST(StandIn, NumbersAndNames) {
    struct Number { const wchar_t* text; bool ok; int value; } numbers[] = {
        {L"  ", true, 7}, {L" 12 ", true, 12}, {L"-2147483648", true, -2147483647 - 1}, {L"+7", true, 7},
        {L"2147483648", false, 12345}, {L"-", false, 12345}, {L"1 2", false, 12345},
    };
    for (const auto& c : numbers) {
        int value = 12345;
        EXPECT_EQ(standin::ReadNumber(c.text, 7, &value), c.ok) << Narrow(c.text);
        EXPECT_EQ(value, c.value) << Narrow(c.text);
    }
    for (const wchar_t* good : {L"Station 1", L"Caf\u00e9", L"a.b"})
        EXPECT_TRUE(standin::IsUsableName(good)) << Narrow(good);
    for (const wchar_t* bad : {L"", L"..", L"a\\b", L"a:b", L"a|b", L"tab\there", L"trailing ", L"trailing."})
        EXPECT_FALSE(standin::IsUsableName(bad)) << Narrow(bad);
    EXPECT_TRUE(standin::IsUsableName(std::wstring(100, L'n')));
    EXPECT_FALSE(standin::IsUsableName(std::wstring(101, L'n')));
    EXPECT_TRUE(standin::SameName(L"Caf\u00e9", L"CAF\u00c9"));
    EXPECT_FALSE(standin::SameName(L"\u00f7", L"\u00d7"));  // division and multiplication signs
}

// The stand-in's reply, as the Configurator reads it: the group's own line
// is dropped, Viewdesk items become item lines, and an item line reads into
// the record with every field in its place.
TEST(StandIn, RepliesItemLinesReadIntoTheRecord) {
    standin::ItemFields viewdesk{L"Station 1", L"C:\\Q\\VIEWDESK.EXE /* STATION1 /T15", L"C:\\Q", L"c:\\q\\v.exe",
                                 40, 8, 1, 1620, true};
    standin::ItemFields other{L"Notes", L"C:\\windows\\notepad.exe VIEWDESK.TXT", L"", L"", 0, 0, 0, 0, false};
    std::wstring reply = standin::JoinLines({standin::GroupLine(L"Brennix", L"C:\\G\\Brennix", 2, 1),
                                             standin::ItemLine(viewdesk), standin::ItemLine(other)});
    EXPECT_EQ(reply, L"\"Brennix\",C:\\G\\Brennix,2,1\r\n"
                     L"\"Station 1\",\"C:\\Q\\VIEWDESK.EXE /* STATION1 /T15\",C:\\Q,c:\\q\\v.exe,40,8,1,1620,1\r\n"
                     L"\"Notes\",\"C:\\windows\\notepad.exe VIEWDESK.TXT\",,,0,0,0,0,0");
    std::vector<std::wstring> lines = rc::SplitReplyLines(reply);
    ASSERT_EQ(lines.size(), 3u);
    std::wstring itemLine;
    EXPECT_FALSE(rc::ItemLineFromGroupLine(lines[2], &itemLine));
    ASSERT_TRUE(rc::ItemLineFromGroupLine(lines[1], &itemLine));
    rc::ProgramItemRecord r;
    rc::ClearProgramItemRecord(&r);
    rc::ReadItemLine(itemLine, &r);
    EXPECT_EQ(std::wstring(r.description) + L"|" + r.commandLine + L"|" + r.directory + L"|" + r.iconFile,
              L"Station 1|C:\\Q\\VIEWDESK.EXE /* STATION1 /T15|C:\\Q|c:\\q\\v.exe");
    EXPECT_EQ((std::vector<int>{r.x, r.y, r.iconIndex, r.hotKey, r.minimize}), (std::vector<int>{40, 8, 1, 1620, 1}));
    EXPECT_EQ(standin::JoinLines({}), L"");
}

}  // namespace

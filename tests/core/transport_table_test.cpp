#include "transport/transport_table.h"

#include "client/machine_name.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using rc::Side;

TEST(TransportList, KeepsATransportByItsModuleOnBothSides) {
    struct Case {
        Side side;
        bool stack, module, stays, usable;
    } cases[] = {
        {Side::Client, true, true, true, true},
        {Side::Client, true, false, false, false},
        // A missing stack keeps the Client's transport while its module is
        // there; it is not usable all the same.
        {Side::Client, false, true, true, false},
        {Side::Client, false, false, false, false},
        {Side::Control, true, true, true, true},
        {Side::Control, true, false, false, false},
        {Side::Control, false, true, true, false},
        {Side::Control, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.side == Side::Client ? "client" : "control") << " stack "
                                        << c.stack << " module " << c.module);
        EXPECT_EQ(rc::StaysInTransportList(c.side, c.stack, c.module), c.stays);
        EXPECT_EQ(rc::IsTransportUsable(c.stack, c.module), c.usable);
    }
}

TEST(TransportStatusLine, JoinsStackAndModuleTexts) {
    EXPECT_EQ(rc::TransportStatusLine(L"Stack found", L"QRV DLL (%s) installed", L"SXIPX32.DLL"),
              L"Stack found, QRV DLL (SXIPX32.DLL) installed");
    EXPECT_EQ(rc::TransportStatusLine(L"Stack not found", L"QRV DLL (%s) not installed", L"CXTCP.DLL"),
              L"Stack not found, QRV DLL (CXTCP.DLL) not installed");
    // A format without "%s" is taken as it stands; the line never exceeds
    // 255 characters.
    EXPECT_EQ(rc::TransportStatusLine(L"A", L"B", L"X.DLL"), L"A, B");
    std::wstring longName(400, L'N');
    EXPECT_EQ(rc::TransportStatusLine(L"Stack found", L"(%s)", longName).size(), 255u);
}

TEST(PathBesideProgram, ReplacesWhatFollowsTheLastBackslash) {
    struct Case {
        const wchar_t* program;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Program Files\\Quorvel\\rcsetup32.exe", L"C:\\Program Files\\Quorvel\\SXIPX32.DLL"},
        {L"C:\\rcsetup32.exe", L"C:\\SXIPX32.DLL"},
        {L"\\\\server\\share\\dir.v2\\a.exe", L"\\\\server\\share\\dir.v2\\SXIPX32.DLL"},
        {L"C:\\dir\\", L"C:\\dir\\SXIPX32.DLL"},
        {L"rcsetup32.exe", L"SXIPX32.DLL"},
        {L"", L"SXIPX32.DLL"},
    };
    for (const auto& c : cases) EXPECT_EQ(rc::PathBesideProgram(c.program, L"SXIPX32.DLL"), c.expected) << c.program;
}

TEST(TransportNameIdOfCode, NamesByTheFirstTwoCharactersAndStandaloneWithoutCode) {
    struct Case {
        const wchar_t* code;
        int id;
    } cases[] = {
        {nullptr, IDS_STANDALONE}, {L"", IDS_STANDALONE}, {L"IP", IDS_IPX},   {L"ip", IDS_IPX},
        {L"IPX", IDS_IPX},         {L"Nb", IDS_NETBIOS},  {L"nB", IDS_NETBIOS}, {L"tc", IDS_TCPIP},
        {L"TCP", IDS_TCPIP},       {L"I", 0},             {L"XY", 0},         {L"ST", 0},
        {L" IP", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(rc::TransportNameIdOfCode(c.code), c.id) << (c.code ? c.code : L"(null)");
}

TEST(MachineNoteName, CutsTheComputerNameButNotTheFallback) {
    struct Case {
        bool read;
        const wchar_t* name;
        const wchar_t* expected;
    } cases[] = {
        {true, L"STATION7", L"STATION7"},
        {true, L"ABCDEFGHIJKLMNO", L"ABCDEFGHIJKLMNO"},       // 15: whole
        {true, L"ABCDEFGHIJKLMNOP", L"ABCDEFGHIJKLMNO"},      // 16: cut
        {true, L"SALES DESK", L"SALES"},                      // first space
        {true, L"ABCDEFGHIJKLMNOPQR S", L"ABCDEFGHIJKLMNO"},  // both
        {true, L" LEADING", L""},
        {true, L"", L""},
        {false, L"IGNORED", L"not set"},                      // "not set" keeps its space
    };
    for (const auto& c : cases) EXPECT_EQ(rc::MachineNoteName(c.read, c.name, L"not set"), c.expected) << c.name;
}

}  // namespace

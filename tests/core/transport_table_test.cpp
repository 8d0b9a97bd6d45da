#include "transport/transport_table.h"

#include "client/machine_name.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string>

#include "support/narrow_text.h"

namespace {

using rc::Side;
using rc::test::Narrow;

TEST(TransportTable, ModulesOfEachSideAndWhatStaysInTheList) {
    const wchar_t* modules[rc::kTransportCount][2] = {
        {L"SXIPX32.DLL", L"CXIPX.DLL"}, {L"SXNBS32.DLL", L"CXNBS.DLL"}, {L"SXTCP32.DLL", L"CXTCP.DLL"}};
    const int ids[rc::kTransportCount] = {IDS_IPX, IDS_NETBIOS, IDS_TCPIP};
    for (std::size_t i = 0; i < rc::kTransportCount; ++i) {
        EXPECT_EQ(rc::kTransports[i].id, ids[i]);
        EXPECT_STREQ(rc::TransportModule(rc::kTransports[i], Side::Client), modules[i][0]);
        EXPECT_STREQ(rc::TransportModule(rc::kTransports[i], Side::Control), modules[i][1]);
    }
    // A Client transport whose stack is not found stays while its module is
    // installed (the stored string must keep its transport), but is not usable.
    EXPECT_TRUE(rc::StaysInTransportList(Side::Client, false, true));
    EXPECT_FALSE(rc::IsTransportUsable(false, true));
    EXPECT_FALSE(rc::StaysInTransportList(Side::Control, true, false));
    EXPECT_TRUE(rc::IsTransportUsable(true, true));
}

TEST(TransportTable, TransportTextsStatusLinePathsCodesAndMachineName) {
    EXPECT_EQ(rc::TransportStatusLine(L"Stack found", L"QRV DLL (%s) installed", L"SXIPX32.DLL"),
              L"Stack found, QRV DLL (SXIPX32.DLL) installed");
    EXPECT_EQ(rc::TransportStatusLine(L"A", L"B", L"X.DLL"), L"A, B");
    EXPECT_EQ(rc::TransportStatusLine(L"Stack found", L"(%s)", std::wstring(400, L'N')).size(), 255u);

    struct Path { const wchar_t* program; const wchar_t* expected; } paths[] = {
        {L"C:\\Program Files\\Quorvel\\rcsetup32.exe", L"C:\\Program Files\\Quorvel\\SXIPX32.DLL"},
        {L"\\\\server\\share\\dir.v2\\a.exe", L"\\\\server\\share\\dir.v2\\SXIPX32.DLL"},
        {L"C:\\dir\\", L"C:\\dir\\SXIPX32.DLL"}, {L"rcsetup32.exe", L"SXIPX32.DLL"}, {L"", L"SXIPX32.DLL"},
    };
    for (const auto& c : paths) EXPECT_EQ(rc::PathBesideProgram(c.program, L"SXIPX32.DLL"), c.expected) << Narrow(c.program);

    struct Code { const wchar_t* code; int id; } codes[] = {
        {nullptr, IDS_STANDALONE}, {L"", IDS_STANDALONE}, {L"ip", IDS_IPX}, {L"IPX", IDS_IPX},
        {L"nB", IDS_NETBIOS}, {L"tc", IDS_TCPIP}, {L"I", 0}, {L"XY", 0}, {L"ST", 0}, {L" IP", 0},
    };
    for (const auto& c : codes) EXPECT_EQ(rc::TransportNameIdOfCode(c.code), c.id) << Narrow(c.code ? c.code : L"(null)");

    // The computer name is cut at 15 characters and at its first space; the
    // fallback text is shown whole.
    struct Name { bool read; const wchar_t* name; const wchar_t* expected; } names[] = {
        {true, L"ABCDEFGHIJKLMNO", L"ABCDEFGHIJKLMNO"}, {true, L"ABCDEFGHIJKLMNOP", L"ABCDEFGHIJKLMNO"},
        {true, L"SALES DESK", L"SALES"}, {true, L" LEADING", L""}, {false, L"IGNORED", L"not set"},
    };
    for (const auto& c : names) EXPECT_EQ(rc::MachineNoteName(c.read, c.name, L"not set"), c.expected) << Narrow(c.name);
}

}  // namespace

#include "progman/icon_dialog_rules.h"

#include <gtest/gtest.h>

#include <string>

#include "support/narrow_text.h"

namespace {

using rc::test::Narrow;

TEST(IconDialogRules, RepeatTimingPathsAndOptions) {
    struct Timing { int delay, speed, firstDelay, period; } timings[] = {
        {rc::kDefaultKeyboardDelay, rc::kDefaultKeyboardSpeed, 450, 50},  // nothing in [windows]
        {0, 31, 150, 50}, {3, 0, 600, 1600}, {1, 20, 300, 600}, {2, 16, 450, 800},
        {-1, 32, 0, 0}, {-5, 40, 0, 0},  // never negative
        {1000000, -1000000, 150000150, 50001600},
    };
    for (const auto& c : timings) {
        rc::RepeatTiming t = rc::RepeatTimingFromProfile(c.delay, c.speed);
        EXPECT_EQ(t.firstDelay, c.firstDelay) << c.delay;
        EXPECT_EQ(t.period, c.period) << c.speed;
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

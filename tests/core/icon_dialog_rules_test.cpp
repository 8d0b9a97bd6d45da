#include "progman/icon_dialog_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RepeatTiming, FollowsTheKeyboardSettings) {
    struct Case {
        int delay, speed;
        int firstDelay, period;
    } cases[] = {
        {rc::kDefaultKeyboardDelay, rc::kDefaultKeyboardSpeed, 450, 50},  // nothing in [windows]
        {0, 31, 150, 50},    // shortest delay, fastest repeat
        {3, 0, 600, 1600},   // longest delay, slowest repeat
        {1, 20, 300, 600},
        {2, 16, 450, 800},
        {-1, 32, 0, 0},      // the edges of what gives a time at all
        {-5, 40, 0, 0},      // beyond them: the platform's shortest timer, never negative
        {1000000, -1000000, 150000150, 50001600},
    };
    for (const auto& c : cases) {
        rc::RepeatTiming t = rc::RepeatTimingFromProfile(c.delay, c.speed);
        EXPECT_EQ(t.firstDelay, c.firstDelay) << c.delay;
        EXPECT_EQ(t.period, c.period) << c.speed;
    }
}

TEST(JoinDirectoryAndFile, AddsOneBackslashAndCutsAtThePathRoom) {
    struct Case {
        std::wstring directory, file, path;
    } cases[] = {
        {L"c:\\windows\\system32", L"shell32.dll", L"c:\\windows\\system32\\shell32.dll"},
        {L"c:\\", L"viewdesk.exe", L"c:\\viewdesk.exe"},          // a root already ends in one
        {L"d:\\icons\\", L"a.ico", L"d:\\icons\\a.ico"},
        {L"", L"a.ico", L"\\a.ico"},
        {L"c:\\x", L"", L"c:\\x\\"},
        {std::wstring(120, L'd'), L"file.ico", std::wstring(120, L'd') + L"\\file.i"},  // 127 characters
        {std::wstring(127, L'd'), L"file.ico", std::wstring(127, L'd')},
        {std::wstring(126, L'd'), L"f", std::wstring(126, L'd') + L"\\"},
    };
    for (const auto& c : cases) {
        std::wstring path = rc::JoinDirectoryAndFile(c.directory, c.file);
        EXPECT_EQ(path, c.path) << c.directory << L" + " << c.file;
        EXPECT_LE(path.size(), 127u);
    }
}

TEST(OptionsOfCommandLine, IsTheTextBehindTheFirstSpace) {
    struct Case {
        const wchar_t* commandLine;
        bool found;
        const wchar_t* options;
    } cases[] = {
        {L"C:\\QB\\VIEWDESK.EXE /NALPHA /TIPX ", true, L"/NALPHA /TIPX "},
        {L"C:\\QB\\VIEWDESK.EXE ", true, L""},
        {L"C:\\QB\\VIEWDESK.EXE", false, L"unchanged"},
        {L"", false, L"unchanged"},
        {L" /NALPHA", true, L"/NALPHA"},
        {L"C:\\PROGRA~1\\VIEWDESK.EXE  /N X", true, L" /N X"},  // only the first space goes
    };
    for (const auto& c : cases) {
        std::wstring_view options = L"unchanged";
        EXPECT_EQ(rc::OptionsOfCommandLine(c.commandLine, &options), c.found) << c.commandLine;
        EXPECT_EQ(options, c.options) << c.commandLine;
    }
}

}  // namespace

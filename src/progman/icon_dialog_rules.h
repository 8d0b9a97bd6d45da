// Small rules of the two icon dialogs, apart from their windows: the timing
// of the repeat buttons "<" and ">", the path that the Browse hook joins from
// the Open dialog's directory and file name, and the options shown for an
// icon in Control Icon Maintenance.
//
// Nothing here includes <windows.h>; the same code is built for Windows and
// natively for Linux, where it is unit-tested with sanitizers.
#pragma once

#include <string>
#include <string_view>

namespace rc {

// Defaults of the user's keyboard settings when [windows] has no value.
constexpr int kDefaultKeyboardDelay = 2;   // 450 ms before the first repeat
constexpr int kDefaultKeyboardSpeed = 31;  // 50 ms between repeats

// How long a repeat button waits, in milliseconds, before its first step and
// between the steps that follow, from the user's [windows] KeyboardDelay and
// KeyboardSpeed: 150 * (KeyboardDelay + 1) and 50 * (32 - KeyboardSpeed).
// A value so far outside the settings' ranges that a time would be negative
// gives 0 for that time (the platform's shortest timer).
struct RepeatTiming {
    int firstDelay;
    int period;
};
RepeatTiming RepeatTimingFromProfile(int keyboardDelay, int keyboardSpeed);

// The path that the Open dialog's hook tests for icons: the directory shown
// in the dialog, a backslash unless the directory already ends in one, and
// the typed file name, cut to 127 characters (the path buffers' room).
std::wstring JoinDirectoryAndFile(std::wstring_view directory, std::wstring_view file);

// The options of an item's command line: the text behind its first space.
// False, with *options untouched, when the command line has no space.
bool OptionsOfCommandLine(std::wstring_view commandLine, std::wstring_view* options);

}  // namespace rc

// Create Program Icon: the last step of creating or re-creating a Control
// program item. The user picks the item's description, group, default
// directory and icon; OK makes sure that VIEWDESK.EXE is installed, sends
// Program Manager one command block (create the group when it is new, show
// it, add the item) and marks the item's Start Menu shortcut to run in a
// separate process.
#pragma once

#include <windows.h>

#include <string>

#include "progman/progman_text.h"

namespace rc {

// Runs the dialog (template IDD_CREATE_ICON, help context
// HELP_CREATE_ICON) over the record lent by Control Configuration, whose `options` buffer holds the composed
// control option string. On OK the record's description, group, default
// directory, icon file and icon index hold what was sent, and *newGroup
// (when given) receives the group's name if it had to be created; it is
// left alone otherwise. True after the item was sent, false after Cancel.
bool RunCreateProgramIcon(HWND owner, ProgramItemRecord* record, std::wstring* newGroup);

}  // namespace rc

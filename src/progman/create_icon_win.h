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

// Runs the dialog (template 104, help context 12210) over the record lent
// by Control Configuration, whose `options` buffer holds the composed
// control option string. On OK the record's description, group, default
// directory, icon file and icon index hold what was sent, and *newGroup
// (when given) receives the group's name if it had to be created; it is
// left alone otherwise. Returns 1 after the item was sent, 0 after Cancel.
WORD RunCreateProgramIcon(HWND owner, ProgramItemRecord* record, std::wstring* newGroup);

// Makes a push button repeat its click while it is held down (the "<" and
// ">" buttons). The button's former window procedure is handed to the new
// one with message 1124 and keeps every message that is not about pressing,
// holding or releasing.
void MakeRepeatButton(HWND button);

// Number of icons in a file: icons 0, 1, 2... are extracted until one is
// missing; each extracted icon is destroyed again.
int CountIcons(const wchar_t* file);

}  // namespace rc

// The Control Configuration dialog: one Control program item's options,
// edited with a live preview and handed to Create Program Icon on OK.
#pragma once

#include <windows.h>

#include <string>

#include "progman/progman_text.h"

namespace rc {

// Runs the dialog (template IDD_CONTROL, IDD_CONTROL_CLASSROOM in the
// classroom edition, help context HELP_CONTROL) on an item record. On OK the
// record holds the composed option string and the item was sent to Program
// Manager; *newGroup names the group Create Program Icon had to create, if
// any. True after OK, false after Cancel (or without a record).
bool RunControlConfiguration(HWND owner, ProgramItemRecord* record, std::wstring* newGroup);

}  // namespace rc

// The Control Configuration dialog: one Control program item's options,
// edited with a live preview and handed to Create Program Icon on OK.
#pragma once

#include <windows.h>

#include <string>

#include "control/control_options.h"
#include "progman/progman_text.h"

namespace rc {

INT_PTR CALLBACK ControlDialogProc(HWND, UINT, WPARAM, LPARAM);

// Runs the dialog (template 200, 2000 in the classroom edition, help
// context 12200) on an item record. On OK the record holds the composed
// option string and the item was sent to Program Manager; *newGroup names
// the group Create Program Icon had to create, if any. Returns 1 after OK,
// 0 after Cancel.
WORD RunControlConfiguration(HWND owner, ProgramItemRecord* record, std::wstring* newGroup);

// The dialog's controls as option-string settings, and back.
ControlLists ControlListsOf(HWND dialog);
ControlSettings ControlSettingsOf(HWND dialog);
void ShowControlSettings(HWND dialog, const ControlSettings& settings);

}  // namespace rc

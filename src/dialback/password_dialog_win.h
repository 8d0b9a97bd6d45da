// The Set Password and Set Security Key dialogs, which turn a text typed by
// the user into its password code, and the check of a code field typed by
// hand.
#pragma once

#include <windows.h>

namespace rc {

// Runs template `templateId` (IDD_SET_PASSWORD or IDD_SET_KEY) without help.
// True after OK, with *code set to the code of the text; false after Cancel,
// with *code untouched. The typed text is wiped from the field and from
// every buffer it was read into before the dialog ends.
bool RunSetPassword(HWND owner, int templateId, DWORD* code);

// The check of a code field of an open dialog. Accepted: a disabled field,
// an empty one, or one whose first 15 characters are all digits 0-9.
// Otherwise the user is told (string IDS_NOT_NUMERIC in an Error box), the
// field gets the focus with its whole text selected, and the result is
// false.
bool ValidateCodeField(HWND dialog, int fieldId);

}  // namespace rc

// Drop-down list helpers that the Client and Control Configuration dialogs
// share, and the machine-name note. Lists filled from the string table
// carry each entry's string id as its data, so code asks which choice is
// selected through that data rather than by position or text.
#pragma once

#include <windows.h>

namespace rc {

// Appends the strings firstId..lastId (each at most kLabelChars) to the
// drop-down list listId, each entry's data being its string id. An entry
// the list refuses is skipped.
void FillComboFromStrings(HWND dialog, int listId, UINT firstId, UINT lastId);

// Selects the entry at position index (-1 or a position past the end: no
// selection).
void SelectComboEntry(HWND dialog, int listId, int index);

// The data of the selected entry, or 0 when nothing is selected.
LPARAM SelectedEntryData(HWND dialog, int listId);

// Selects the entry whose text begins with the name that code stands for:
// "IP", "NB", "TC" (any case) name "IPX", "NetBIOS", "TCP/IP"; null or an
// empty code names "Standalone". Any other code, or a name the list does
// not hold, leaves nothing selected.
void SelectTransport(HWND dialog, int listId, const wchar_t* code);

// Formats the static's own text with the computer name as its "%s": the
// name cut at its first space and to 15 characters, or "not set" when the
// computer name cannot be read.
void ShowMachineName(HWND dialog, int staticId);

}  // namespace rc

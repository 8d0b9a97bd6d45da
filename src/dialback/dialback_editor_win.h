// The dialback editor: loading a dialback file into a list box and saving
// the list back, and the three dialogs that edit it (Edit Dialback File,
// Dialback Entry, Save Dialback File).
//
// Each line of the editor's list carries a heap-allocated DialbackEntry as
// its item data; the list owns it, and the editor releases every record
// when it closes and a line's record when the line is deleted.
#pragma once

#include <windows.h>

#include <cstddef>

namespace rc {

// Appends a list line with its record for each entry of the named file (a
// name without a backslash lies in the program directory). True when at
// least one entry was added. A file that cannot be opened adds nothing and
// tells no one.
bool LoadDialbackFile(const wchar_t* name, HWND dialog, int listId);

// Writes the record of every list line, in list order, to the named file,
// replacing its content. True when the file could be opened for writing; an
// empty name names no file. Nothing is shown to the user.
bool SaveDialbackFile(const wchar_t* name, HWND dialog, int listId);

// Runs Edit Dialback File (IDD_DIALBACK_FILE, help HELP_DIALBACK_FILE) on a
// file name buffer of 128 characters. 1 after Save, with the buffer holding
// the name saved under (a bare name, possibly empty); 0 after Cancel, with
// the buffer unchanged.
WORD RunDialbackEditor(HWND owner, wchar_t* nameBuffer);

// The dialog procedures. Edit Dialback File takes the name buffer; Dialback
// Entry takes a DialbackEntry* whose mode says Add or Edit; Save Dialback
// File takes the name buffer.
INT_PTR CALLBACK DialbackFileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK DialbackEntryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SaveDialbackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Dialback entry records the editor has allocated and not yet released
// (those its list lines hold, and one being added): 0 whenever no editor is
// open.
std::size_t LiveDialbackRecords();

}  // namespace rc

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

#include "dialback/dialback_file.h"
#include "shell/shell_logic.h"

namespace rc {

// The dialback file name buffer shared with the Client Configuration
// dialog: 127 characters and the terminator.
constexpr std::size_t kDialbackNameBuffer = kPathBuffer;

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
// file name buffer of kDialbackNameBuffer characters. True after Save, with
// the buffer holding the name saved under (a bare name, possibly empty);
// false after Cancel, with the buffer unchanged.
bool RunDialbackEditor(HWND owner, wchar_t* nameBuffer);

// Runs Dialback Entry (IDD_DIALBACK_ENTRY, help HELP_DIALBACK_ENTRY) on a
// record whose mode says Add or Edit. True after OK, with the record
// holding the fields; false after Cancel, with the record unchanged.
bool RunDialbackEntry(HWND owner, DialbackEntry* record);

// Runs Save Dialback File (IDD_SAVE_DIALBACK, no help) on the editor's name
// buffer. True after OK, with the buffer holding the last component of the
// name typed; false after Cancel, with the buffer unchanged.
bool RunSaveDialback(HWND owner, wchar_t* nameBuffer);

// Dialback entry records the editor has allocated and not yet released
// (those its list lines hold, and one being added): 0 whenever no editor is
// open.
std::size_t LiveDialbackRecords();

}  // namespace rc

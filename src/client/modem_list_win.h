// Fills the Modem list of the Client Configuration dialog from
// MODEMDEF.MDM in the program directory.
#pragma once

#include <windows.h>

namespace rc {

// Adds one entry to the drop-down list listId for each modem line of the
// file, in file order. Returns 1 when the file was read to its end, 0 when
// there is no program directory or the file cannot be opened (the list is
// left as it was), and -1 on a format error (the modems before it stay
// listed).
int LoadModemList(HWND dialog, int listId);

}  // namespace rc

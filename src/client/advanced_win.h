// The two side dialogs of the Client Configuration dialog: Advanced Client
// Options, which edits held settings of the option string that have no
// control of their own there, and Define SOS Hotkeys, which keeps the key
// combination for a Client's call for help in viewdesk.ini [SOS_Hotkeys].
#pragma once

#include <windows.h>

#include "client/client_options.h"

namespace rc {

// Runs Advanced Client Options (template IDD_ADVANCED, help context
// HELP_ADVANCED) over the held settings. True after OK, false after Cancel. The security key and
// video mode are taken over by every OK press, also one that the cache-size
// check then refuses; the cache size and modem debug only by an accepted OK.
bool RunAdvancedOptions(HWND owner, ClientHeldSettings* held);

// Runs Define SOS Hotkeys (template IDD_SOS, help context HELP_SOS). OK
// writes the five keys and gives true; Cancel writes nothing and gives
// false.
bool RunSosHotkeys(HWND owner);

// The Control program's private profile file, kept in the Windows directory.
extern const wchar_t kViewdeskIni[];

}  // namespace rc

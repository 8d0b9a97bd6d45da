// The two side dialogs of the Client Configuration dialog: Advanced Client
// Options, which edits held settings of the option string that have no
// control of their own there, and Define SOS Hotkeys, which keeps the key
// combination for a Client's call for help in viewdesk.ini [SOS_Hotkeys].
#pragma once

#include <windows.h>

#include "client/client_options.h"

namespace rc {

// Runs Advanced Client Options (template 110, help context 12400) over the
// held settings. Returns 1 after OK, 0 after Cancel. The security key and
// video mode are taken over by every OK press, also one that the cache-size
// check then refuses; the cache size and modem debug only by an accepted OK.
WORD RunAdvancedOptions(HWND owner, ClientHeldSettings* held);

// Runs Define SOS Hotkeys (template 123, help context 12410). OK writes the
// five keys and returns 1; Cancel writes nothing and returns 0.
WORD RunSosHotkeys(HWND owner);

// The Control program's private profile file, kept in the Windows directory.
extern const wchar_t kViewdeskIni[];

}  // namespace rc

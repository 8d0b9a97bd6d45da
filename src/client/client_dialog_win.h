// The Client Configuration dialog: the Client's option string shown in its
// controls, edited with a live preview, and saved to the service's command
// line with the serial-link memory in rcsetup.ini.
#pragma once

#include <windows.h>

#include "client/client_options.h"

namespace rc {

// The main window's "C&lient" command: template IDD_CLIENT
// (IDD_CLIENT_CLASSROOM in the classroom edition), help context
// HELP_CLIENT, over the Client's held settings, which the caller keeps for
// the whole run (an opening parses into them but never resets them) and
// which Advanced Client Options edits. True after OK saved the settings.
bool RunClientConfiguration(HWND owner, ClientHeldSettings* held);

}  // namespace rc

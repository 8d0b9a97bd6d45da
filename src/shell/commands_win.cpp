// Menu commands whose dialogs belong to the Program Manager subsystem.
// Until Control Icon Maintenance is part of the build, its command only
// beeps, so the menu stays safe to use.
#include "shell/commands_win.h"

namespace rc {

void RunIconMaintenance(HWND) { MessageBeep(MB_ICONEXCLAMATION); }

}  // namespace rc

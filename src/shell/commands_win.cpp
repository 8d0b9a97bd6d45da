// Menu commands whose dialogs belong to the client and Program Manager
// subsystems. Until those dialogs are part of the build, the commands only
// beep, so the menu stays safe to use.
#include "shell/commands_win.h"

namespace rc {

void RunClientConfiguration(HWND) { MessageBeep(MB_ICONEXCLAMATION); }
void RunIconMaintenance(HWND) { MessageBeep(MB_ICONEXCLAMATION); }

}  // namespace rc

// The Client Configuration dialog: the Client's option string shown in its
// controls, edited with a live preview, and saved to the service's command
// line with the serial-link memory in rcsetup.ini.
#pragma once

#include <windows.h>

#include "client/client_options.h"

namespace rc {

// The held settings of the Client: one record for the whole run, edited by
// Advanced Client Options, never reset by a parse.
extern ClientHeldSettings g_clientHeld;

INT_PTR CALLBACK ClientDialogProc(HWND, UINT, WPARAM, LPARAM);

// Sets and reads the check box of option row id-2000. On a dialog without
// the option list they do nothing and read off.
void SetOptionItem(HWND list, int id, bool state);
bool GetOptionItem(HWND list, int id);

// The dialog's controls as option-string settings, and back.
ClientLists ClientListsOf(HWND dialog);
ClientSettings ClientSettingsOf(HWND dialog, const ClientLists& lists);
void ShowClientSettings(HWND dialog, const ClientSettings& settings);

}  // namespace rc

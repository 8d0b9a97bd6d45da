// Control Icon Maintenance: lists the Program Manager groups and the
// Viewdesk icons of the selected group, shows the options of the selected
// icon, and offers New, Edit (both through Control Configuration and Create
// Program Icon) and Delete.
#pragma once

#include <windows.h>

#include "progman/progman_text.h"

namespace rc {

// The main window's "&Control" command: template IDD_ICON_MAINTENANCE,
// help context HELP_ICON_MAINTENANCE, over a program item record that the
// caller owns while it runs: cleared before the dialog opens and after each
// New, Edit and Delete, and lent down to Control Configuration and Create
// Program Icon.
void RunIconMaintenance(HWND owner, ProgramItemRecord* record);

}  // namespace rc

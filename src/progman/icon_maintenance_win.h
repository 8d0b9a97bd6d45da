// Control Icon Maintenance: lists the Program Manager groups and the
// Viewdesk icons of the selected group, shows the options of the selected
// icon, and offers New, Edit (both through Control Configuration and Create
// Program Icon) and Delete.
#pragma once

#include <windows.h>

#include "progman/progman_text.h"

namespace rc {

// The dialog procedure (template 122); its init parameter is the program
// item record that New, Edit and Delete work on, cleared after each of them.
INT_PTR CALLBACK IconMaintenanceDialogProc(HWND, UINT, WPARAM, LPARAM);

// The record that the main window owns while the dialog runs: cleared by
// RunIconMaintenance (declared in shell/commands_win.h) before the dialog
// opens and lent down to Control Configuration and Create Program Icon.
ProgramItemRecord* IconMaintenanceRecord();

}  // namespace rc

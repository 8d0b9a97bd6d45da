// The dialogs that the main window's menu commands open, each run through
// the dialog runner with its help context.
#pragma once

#include <windows.h>

namespace rc {

// "C&lient": Client Configuration, template 101 (2100 in the classroom
// edition), help context 12100.
void RunClientConfiguration(HWND owner);

// "&Control": Control Icon Maintenance, template 122, help context 12110,
// over a program item record that the main window owns while it runs.
void RunIconMaintenance(HWND owner);

}  // namespace rc

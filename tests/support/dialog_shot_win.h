// Screenshots of a dialog from inside a driver step. A step runs before the
// modal loop first goes idle, which is when the dialog is shown; the shot
// shows it first, as the loop would a moment later, and lets it paint.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include "support/dialog_driver_win.h"
#include "support/station_win.h"

namespace rctest {

// Writes RC_SCREENSHOT_DIR\<name>.bmp when that folder is set: a tool for
// looking, not a check.
inline void Shot(HWND dialog, const std::wstring& name) {
    const char* dir = std::getenv("RC_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    if (!IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
    // Let every control paint before the screen is read.
    Pump(300);
    Capture(dialog, name);
}

}  // namespace rctest

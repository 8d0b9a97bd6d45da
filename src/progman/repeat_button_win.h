// The repeat button: a push button that repeats its click while it is held
// down (the "<" and ">" buttons of Create Program Icon). The first step
// comes after the keyboard's repeat delay, the next ones at its repeat
// rate, both read from the profile ([windows] KeyboardDelay and
// KeyboardSpeed) when a press first needs them.
#pragma once

#include <windows.h>

namespace rc {

// Makes `button` a repeat button. Its former window procedure is handed to
// the new one with the private message WMU_REPEAT_HANDOVER and keeps every
// message that is not about pressing, holding or releasing. A null button
// is passed over.
void MakeRepeatButton(HWND button);

}  // namespace rc

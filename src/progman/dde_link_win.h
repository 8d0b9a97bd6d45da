// The link to Program Manager: three short DDE conversations with the
// shell's "PROGMAN" service, driven with DDE window messages (no DDE
// management library). Each is carried by a conversation window of its
// own, a hidden "static" child of the owning dialog whose window procedure
// is replaced: initiate by broadcast, one request or execute, one answer,
// terminate.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

namespace rc {

// How long a modal conversation waits for Program Manager's next message
// before it gives up, tells the user (IDS_PM_NO_ANSWER) and lets the owner
// go.
constexpr DWORD kProgmanAnswerLimitMs = 10000;

// Fetches the names of all Program Manager groups and sends each to `list`
// with `addMessage` (LB_ADDSTRING or CB_ADDSTRING). Returns when the
// conversation is over; meanwhile the owner is disabled, shows the
// hourglass, gets timer 1 ticks every 1000 ms, and the thread's messages go
// on being dispatched. A refused request shows IDS_NO_GROUPS.
void RequestGroupList(HWND owner, HWND list, UINT addMessage);

// Asks for the items of `group` and adds those that start the Control
// program to `iconsList` as item lines (name TAB command line TAB fields),
// each with the value 1; returns at once. When the conversation is over the
// items loaded message (WMU_ITEMS_LOADED) is posted to the list's parent.
// The call with neither list nor group creates the item conversation
// window (a child of `owner`) when there is none and destroys it when there
// is one; a call with a group while there is no such window does nothing.
void RequestGroupItems(HWND owner, HWND iconsList, const wchar_t* group);

// Sends one block of Program Manager commands and returns when the
// conversation is over (modal, as RequestGroupList). The block is taken
// over and freed once Program Manager has acknowledged it, or when the wait
// is given up; it is left to the caller only when no conversation window
// could be made. A null block does nothing. Reports nothing about success.
void ExecuteCommands(HWND owner, HGLOBAL block);

// A shared block of `bytes` bytes cleared to zero, holding `text` cut to fit
// with its terminator; null when the memory cannot be had or `bytes` has no
// room for a terminator.
HGLOBAL MakeCommandBlock(std::wstring_view text, std::size_t bytes);

}  // namespace rc

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

// Time limits, for Program Manager's that never answer and for hung
// programs on the desktop:
// - The initiate is broadcast with SendMessageTimeout and SMTO_ABORTIFHUNG:
//   each top-level window gets at most kInitiateWindowLimitMs to take it,
//   and one that has stopped reading its messages is passed over, so a hung
//   program costs well under a second. Program Manager acknowledges during
//   the broadcast; when no one has by its end, the conversation is over at
//   once, unanswered.
// - Every conversation is over kProgmanAnswerLimitMs after its initiate at
//   the latest. One that ends so, or that no server took up, without its
//   answer (the data asked for, or the acknowledgment of the execute) is
//   terminated from our side, and whatever its server sends later is only
//   released (data, atoms), never read. One that had its answer and only
//   waited for the server's terminate counts as answered.
// - A modal conversation over without its answer tells the user with one
//   warning, IDS_PM_NO_ANSWER, and reports false, so that the caller
//   abandons the user's action and starts no further conversation for it.
//   An item request never tells anyone: it ends as a refused one does.
constexpr UINT kInitiateWindowLimitMs = 250;
constexpr DWORD kProgmanAnswerLimitMs = 10000;

// Fetches the names of all Program Manager groups and sends each to `list`
// with `addMessage` (LB_ADDSTRING or CB_ADDSTRING). Returns when the
// conversation is over; meanwhile the owner is disabled, shows the
// hourglass, gets timer 1 ticks every 1000 ms, and the thread's messages go
// on being dispatched. A refused request shows IDS_NO_GROUPS. False when
// Program Manager did not answer (told to the user), the conversation could
// not be started or the program is quitting.
bool RequestGroupList(HWND owner, HWND list, UINT addMessage);

// Asks for the items of `group` and adds those that start the Control
// program to `iconsList` as item lines (name TAB command line TAB fields),
// each with the value 1; returns at once. When the conversation is over
// (answered, refused or unanswered) the items loaded message
// (WMU_ITEMS_LOADED) is posted to the list's parent. The call with neither
// list nor group creates the item conversation window (a child of `owner`)
// when there is none and destroys it when there is one; a call with a group
// while there is no such window does nothing.
void RequestGroupItems(HWND owner, HWND iconsList, const wchar_t* group);

// Sends one block of Program Manager commands and returns when the
// conversation is over (modal, as RequestGroupList). True when Program
// Manager acknowledged the block, positively or not: what it made of the
// commands is not examined. False when it did not (told to the user), the
// conversation could not be started or the program is quitting. The block
// is taken over and freed, except when no conversation window could be
// made: then it is left to the caller. A null block does nothing (false).
bool ExecuteCommands(HWND owner, HGLOBAL block);

// A shared block of `bytes` bytes cleared to zero, holding `text` cut to fit
// with its terminator; null when the memory cannot be had or `bytes` has no
// room for a terminator.
HGLOBAL MakeCommandBlock(std::wstring_view text, std::size_t bytes);

}  // namespace rc

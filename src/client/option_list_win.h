// The option list: a list box whose rows are check boxes. Each row's data
// is its check box window, a child of the list with control id
// IDC_OPTION_FIRST + row. The list hands the boxes' clicks on to its dialog
// as commands of the box's id, passes the focus on to the current row's
// box, lets Up and Down move between the boxes, and moves the boxes with
// their rows when it scrolls.
//
// The list box is owner-drawn with fixed rows: its dialog answers
// WM_MEASUREITEM and WM_DRAWITEM through OptionListItemMessage.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rc {

struct OptionRow {
    std::wstring label;
    bool enabled = true;  // a greyed row keeps its check mark
};

// Fills `list` with one check box per row, in the font given, and selects
// the first row. A box that cannot be made, or a row the list refuses, is
// left out.
void BuildOptionList(HWND list, const std::vector<OptionRow>& rows, HFONT font);

// Sets and reads the check box of the row with control id `id`. On a
// missing list, or a row it lacks, they do nothing and read off.
void SetOptionItem(HWND list, int id, bool state);
bool GetOptionItem(HWND list, int id);

// Answers WM_MEASUREITEM (rows as high as the system font) and WM_DRAWITEM
// (only the list's background shows beside the boxes) for the option list
// `listId`; FALSE for any other item or message.
BOOL OptionListItemMessage(UINT message, LPARAM lParam, int listId);

}  // namespace rc

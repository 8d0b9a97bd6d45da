// Small operations on a dialog's items shared by the configuration
// dialogs. Each one tolerates an item the template lacks: it does nothing
// or reads empty, off or the `missing` position, so one dialog procedure
// serves both editions' templates.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "shell/shell_win.h"

namespace rc {

// Only a change reaches the item: the platform sends messages even for a
// call that leaves the state as it was, and the dialogs apply their
// enabling rules to every item each time.
inline void EnableItem(HWND dialog, int id, bool on) {
    HWND item = DialogItem(dialog, id);
    if (item && (IsWindowEnabled(item) != FALSE) != on) EnableWindow(item, on ? TRUE : FALSE);
}

inline bool IsItemChecked(HWND dialog, int id) { return SendItemMessage(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

inline void CheckItem(HWND dialog, int id, bool on) {
    SendItemMessage(dialog, id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

// The text of entry `index` of a list box or drop-down list (empty when it
// cannot be read).
namespace detail {
inline std::wstring EntryText(HWND list, WPARAM index, UINT lengthMessage, UINT textMessage) {
    LRESULT length = SendMessageW(list, lengthMessage, index, 0);
    if (length < 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(list, textMessage, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 && got <= length ? static_cast<std::size_t>(got) : 0);
    return text;
}

inline std::vector<std::wstring> EntryTexts(HWND list, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::wstring> texts;
    if (!list) return texts;
    LRESULT count = SendMessageW(list, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        texts.push_back(EntryText(list, static_cast<WPARAM>(i), lengthMessage, textMessage));
    return texts;
}
}  // namespace detail

inline std::wstring ListBoxText(HWND list, LRESULT index) {
    return detail::EntryText(list, static_cast<WPARAM>(index), LB_GETTEXTLEN, LB_GETTEXT);
}

// The texts of every entry of a list box or a drop-down list, in list
// order; none when the list is missing.
inline std::vector<std::wstring> ListBoxTexts(HWND list) {
    return detail::EntryTexts(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}
inline std::vector<std::wstring> ComboTexts(HWND combo) {
    return detail::EntryTexts(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

// The data of every entry of a drop-down list.
inline std::vector<int> ComboDataOf(HWND dialog, int id) {
    std::vector<int> data;
    HWND combo = DialogItem(dialog, id);
    if (!combo) return data;
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        data.push_back(static_cast<int>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    return data;
}

// The selected position, -1 when none is selected, `missing` when the
// template lacks the list.
inline int ComboPositionOf(HWND dialog, int id, int missing) {
    HWND combo = DialogItem(dialog, id);
    if (!combo) return missing;
    LRESULT sel = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    return sel == CB_ERR ? -1 : static_cast<int>(sel);
}

inline void SelectComboPosition(HWND dialog, int id, int position) {
    SendItemMessage(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

// Sets an item's text only when it differs, so no change notification
// reaches the dialog for a text it already shows.
inline void SetItemTextIfChanged(HWND dialog, int id, const std::wstring& text) {
    if (DialogItem(dialog, id) && ItemText(dialog, id, 511) != text) SetItemText(dialog, id, text.c_str());
}

}  // namespace rc

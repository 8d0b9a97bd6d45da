#include "client/list_helpers_win.h"

#include "client/machine_name.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "transport/transport_table.h"

#include <string>

namespace rc {

void FillComboFromStrings(HWND dialog, int listId, UINT firstId, UINT lastId) {
    HWND list = DialogItem(dialog, listId);
    if (!list) return;
    for (UINT id = firstId; id <= lastId; ++id) {
        std::wstring text = LoadText(id, kLabelChars);
        LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (index >= 0) SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(id));
        if (id == lastId) break;  // lastId may be the largest UINT
    }
}

void SelectComboEntry(HWND dialog, int listId, int index) {
    // Windows clears the selection for a position past the end; Wine keeps
    // the former one. Ask for no selection outright, so that a remembered
    // position that the list no longer reaches selects nothing everywhere.
    LRESULT count = SendItemMessage(dialog, listId, CB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) index = -1;
    SendItemMessage(dialog, listId, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

LPARAM SelectedEntryData(HWND dialog, int listId) {
    LRESULT index = SendItemMessage(dialog, listId, CB_GETCURSEL, 0, 0);
    if (index < 0) return 0;
    LRESULT data = SendItemMessage(dialog, listId, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == CB_ERR ? 0 : static_cast<LPARAM>(data);
}

void SelectTransport(HWND dialog, int listId, const wchar_t* code) {
    LRESULT index = CB_ERR;
    int nameId = TransportNameIdOfCode(code);
    if (nameId != 0) {
        std::wstring name = LoadText(static_cast<UINT>(nameId), kLabelChars);
        // CB_FINDSTRING: the first entry, from the top, whose text begins
        // with name, without regard to case.
        if (!name.empty())
            index = SendItemMessage(dialog, listId, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(name.c_str()));
    }
    // CB_ERR (-1) as the new selection clears it.
    SendItemMessage(dialog, listId, CB_SETCURSEL, static_cast<WPARAM>(index < 0 ? -1 : index), 0);
}

void ShowMachineName(HWND dialog, int staticId) {
    wchar_t computer[32] = L"";
    DWORD size = 32;
    bool read = GetComputerNameW(computer, &size) != FALSE;
    computer[31] = L'\0';
    std::wstring name = MachineNoteName(read, computer, LoadText(IDS_NOT_SET, kLabelChars));
    FormatItemText(dialog, staticId, name);
}

}  // namespace rc

#include "client/option_list_win.h"

#include "resources/resource.h"
#include "shell/shell_win.h"

namespace rc {

namespace {

// Row height when the system font could not be measured.
constexpr int kFallbackRowHeight = 16;

// The former procedures of the option list and of its boxes: one for all,
// since every list box and every button shares its class's procedure.
WNDPROC g_listProc = nullptr;
WNDPROC g_boxProc = nullptr;

int RowHeight() { return g_shell.systemFontHeight > 0 ? g_shell.systemFontHeight : kFallbackRowHeight; }

HWND OptionBox(HWND list, int row) {
    LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    if (data == LB_ERR || data == 0) return nullptr;
    return reinterpret_cast<HWND>(data);
}

int RowOfBox(HWND list, HWND box) {
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row)
        if (OptionBox(list, row) == box) return row;
    return -1;
}

void PlaceOptionBoxes(HWND list) {
    RECT client;
    GetClientRect(list, &client);
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    for (int row = 0; row < count; ++row) {
        HWND box = OptionBox(list, row);
        if (!box) continue;
        RECT r{};
        if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)) == LB_ERR)
            continue;
        bool visible = r.bottom > 0 && r.top < client.bottom;
        SetWindowPos(box, nullptr, 0, r.top, width, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
}

LRESULT CALLBACK OptionBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND list = GetParent(box);
    if (message == WM_GETDLGCODE) {
        // Up and Down belong to the box: they move between rows.
        LRESULT code = CallWindowProcW(g_boxProc, box, message, wParam, lParam);
        return code | DLGC_WANTARROWS;
    }
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        int row = RowOfBox(list, box) + (wParam == VK_UP ? -1 : 1);
        int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        if (row >= 0 && row < count) {
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
            PlaceOptionBoxes(list);
            if (HWND next = OptionBox(list, row)) SetFocus(next);
        }
        return 0;
    }
    return CallWindowProcW(g_boxProc, box, message, wParam, lParam);
}

LRESULT CALLBACK OptionListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND dialog = GetParent(list);
    switch (message) {
    case WM_COMMAND: {
        // A click on a box reaches the dialog as a command of the box's id.
        int id = LOWORD(wParam);
        if (id >= IDC_OPTION_FIRST && id <= IDC_OPTION_LAST) return SendMessageW(dialog, WM_COMMAND, wParam, lParam);
        break;
    }
    case WM_SETFOCUS: {
        int row = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
        if (row < 0) row = 0;
        if (HWND box = OptionBox(list, row)) {
            SetFocus(box);
            return 0;
        }
        break;
    }
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
    case LB_SETTOPINDEX:
    case WM_SIZE: {
        LRESULT r = CallWindowProcW(g_listProc, list, message, wParam, lParam);
        PlaceOptionBoxes(list);
        return r;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageW(dialog, message, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcW(g_listProc, list, message, wParam, lParam);
}

}  // namespace

void BuildOptionList(HWND list, const std::vector<OptionRow>& rows, HFONT font) {
    if (!list) return;
    int rowHeight = RowHeight();
    SendMessageW(list, LB_SETITEMHEIGHT, 0, rowHeight);
    RECT client;
    GetClientRect(list, &client);
    int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    int placed = 0;  // rows in the list so far; the list shows its first row at the top
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const OptionRow& row = rows[n];
        // Each box is made where its row will be, shown when that row is in
        // view and greyed from the start where the row is, so that no box
        // has to be moved or shown again once it exists.
        int top = placed * rowHeight;
        DWORD style = WS_CHILD | BS_AUTOCHECKBOX | (row.enabled ? 0 : WS_DISABLED) |
                      (top < client.bottom ? WS_VISIBLE : 0);
        HWND box = CreateWindowExW(
            0, L"BUTTON", row.label.c_str(), style, 0, top, width, rowHeight, list,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_OPTION_FIRST + static_cast<int>(n))), g_shell.instance,
            nullptr);
        if (!box) continue;
        LRESULT added = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(box));
        if (added == LB_ERR || added == LB_ERRSPACE) {
            // A row that the list refuses is left out.
            DestroyWindow(box);
            continue;
        }
        ++placed;
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        g_boxProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OptionBoxProc)));
    }
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OptionListProc)));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
}

void SetOptionItem(HWND list, int id, bool state) {
    if (!list) return;
    if (HWND box = OptionBox(list, id - IDC_OPTION_FIRST))
        SendMessageW(box, BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool GetOptionItem(HWND list, int id) {
    if (!list) return false;
    HWND box = OptionBox(list, id - IDC_OPTION_FIRST);
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

BOOL OptionListItemMessage(UINT message, LPARAM lParam, int listId) {
    switch (message) {
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlID != static_cast<UINT>(listId)) return FALSE;
        measure->itemHeight = static_cast<UINT>(RowHeight());
        return TRUE;
    }
    case WM_DRAWITEM: {
        // The rows are covered by their boxes; only the list's background
        // shows beside them.
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlID != static_cast<UINT>(listId)) return FALSE;
        FillRect(draw->hDC, &draw->rcItem, GetSysColorBrush(COLOR_WINDOW));
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace rc

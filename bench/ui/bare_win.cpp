// The yardstick for the start-up and dialog timer: a Win32 program that does
// nothing of its own. It is linked with the Configurator's resources, so its
// main window (400 x 150, same class style, menu and icon) and its dialogs
// (the same templates, hence the same sizes and controls) cost what the
// platform costs, and the timer's ratios show what the Configurator adds.
//
// The Client Configuration dialog of the Configurator has eleven more
// controls than its template: one check box per option row, children of the
// option list. The bare dialog makes the same eleven boxes, one under the
// other in plain buttons with their labels and the dialog's font, so that
// the two dialogs have the same controls; filling the lists and everything
// else the Configurator does with them stays on its side of the ratio.
#include <windows.h>

#include "resources/resource.h"

namespace {

constexpr int kOptionBoxes = 11;
constexpr int kOptionRowHeight = 16;

void MakeOptionBoxes(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_CL_OPTIONS);
    if (!list) return;
    RECT client;
    GetClientRect(list, &client);
    auto font = static_cast<WPARAM>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (int n = 0; n < kOptionBoxes; ++n) {
        wchar_t label[64] = L"";
        LoadStringW(GetModuleHandleW(nullptr), n == 4 ? IDS_LOGOFF_ON_DISCONNECT : IDS_OPTION_FIRST + n, label, 64);
        HWND box = CreateWindowExW(0, L"BUTTON", label, WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0,
                                   n * kOptionRowHeight, client.right - GetSystemMetrics(SM_CXVSCROLL),
                                   kOptionRowHeight, list,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_OPTION_FIRST + n)),
                                   GetModuleHandleW(nullptr), nullptr);
        if (box) SendMessageW(box, WM_SETFONT, font, FALSE);
    }
}

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        MakeOptionBoxes(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam) == IDOK);
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK BareWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        int dialog = 0;
        switch (LOWORD(wParam)) {
        case IDM_ABOUT: dialog = IDD_ABOUT; break;
        case IDM_CLIENT: dialog = IDD_CLIENT; break;
        case IDM_OPTIONS: dialog = IDD_OPTIONS; break;
        default: break;
        }
        if (dialog) {
            DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialog), window, BareDialogProc, 0);
            return 0;
        }
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = BareWindowProc;
    cls.hInstance = instance;
    cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN));
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    cls.lpszClassName = L"BareBenchClass";
    if (!RegisterClassW(&cls)) return 1;
    HWND window = CreateWindowExW(0, cls.lpszClassName, L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 400,
                                  150, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

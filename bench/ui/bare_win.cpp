// The yardstick for the start-up and dialog timer: a Win32 program that does
// nothing of its own. It is linked with the Configurator's resources, so its
// main window (400 x 150, same class style, menu and icon) and its dialogs
// (the same templates, hence the same sizes and controls) cost what the
// platform costs, and the timer's ratios show what the Configurator adds.
#include <windows.h>

#include "resources/resource.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
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

// The Configurator's one top-level window: its class, its menu commands,
// the banner and the F1 routes.
#include "client/client_dialog_win.h"
#include "progman/icon_maintenance_win.h"
#include "resources/resource.h"
#include "shell/shell_logic.h"
#include "shell/shell_win.h"
#include "shell/text.h"

namespace rc {

const wchar_t kMainClass[] = L"RCSetupClass";
const wchar_t kMainTitle[] = L"Brennix Configurator 32";

namespace {

constexpr int kMainWidth = 400;
constexpr int kMainHeight = 150;

void OnCreate() {
    std::wstring directory = DirectoryOfPath(ModulePath());
    CopyCut(g_shell.programDirectory, kPathBuffer, directory);
    StoreProgramDirectory(g_shell.programDirectory);
    MeasureSystemFont();
}

LRESULT OnCommand(HWND window, WORD command) {
    switch (command) {
    case IDM_ABOUT:
        RunAbout(window);
        return 0;
    case IDM_CLIENT:
        RunClientConfiguration(window, &g_shell.clientHeld);
        return 0;
    case IDM_OPTIONS:
        if (RunOptions(window)) StoreProgramDirectory(g_shell.programDirectory);
        return 0;
    case IDM_CONTROL:
        RunIconMaintenance(window, &g_shell.itemRecord);
        return 0;
    case IDM_EXIT:
        SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case IDM_HELP:
        ShowHelp(HELP_MAIN);
        return 0;
    default:
        return -1;
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 1;
    case WM_PAINT:
        if (g_shell.banner) {
            PaintBanner(window);
            return 0;
        }
        break;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxSize = {kMainWidth, kMainHeight};
        info->ptMinTrackSize = {kMainWidth, kMainHeight};
        info->ptMaxTrackSize = {kMainWidth, kMainHeight};
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam)) == 0) return 0;
        break;
    case WMU_HELP_REQUEST:
        if (wParam == 0 && g_shell.helpContext != 0) ShowHelp(g_shell.helpContext);
        return 0;
    case WM_DESTROY:
        ShowHelp(0);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MsgFilterHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_F1)
        PostMessageW(g_shell.mainWindow, WMU_HELP_REQUEST, 0, 0);
    return CallNextHookEx(g_shell.hook, code, wParam, lParam);
}

bool RegisterMainClass() {
    WNDCLASSW cls{};
    cls.style = 0;
    cls.lpfnWndProc = MainWindowProc;
    cls.hInstance = g_shell.instance;
    cls.hIcon = LoadIconW(g_shell.instance, MAKEINTRESOURCEW(IDI_MAIN));
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    cls.lpszClassName = kMainClass;
    return RegisterClassW(&cls) != 0;
}

HWND CreateMainWindow(int show) {
    HWND window = CreateWindowExW(0, kMainClass, kMainTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  kMainWidth, kMainHeight, nullptr, nullptr, g_shell.instance, nullptr);
    g_shell.currentWindow = window;
    if (!window) return nullptr;
    ShowWindow(window, show);
    UpdateWindow(window);
    g_shell.mainWindow = window;
    g_shell.hook = SetWindowsHookExW(WH_MSGFILTER, MsgFilterHook, g_shell.instance, GetCurrentThreadId());
    return window;
}

}  // namespace rc

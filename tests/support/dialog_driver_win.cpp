#include "support/dialog_driver_win.h"

#include <map>

namespace rctest {

namespace {
DialogDriver* g_driver = nullptr;
HWND g_pendingDialog = nullptr;

struct LaterStep {
    HWND window;
    std::function<void(HWND)> step;
};
std::map<UINT_PTR, LaterStep> g_later;

void CALLBACK RunLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = g_later.find(id);
    if (it == g_later.end()) return;
    LaterStep later = std::move(it->second);
    g_later.erase(it);
    if (IsWindow(later.window)) later.step(later.window);
}
}  // namespace

void Later(HWND window, DWORD milliseconds, std::function<void(HWND)> step) {
    UINT_PTR id = SetTimer(nullptr, 0, milliseconds, RunLater);
    g_later[id] = LaterStep{window, std::move(step)};
}

DialogDriver::DialogDriver() {
    g_driver = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
}

DialogDriver::~DialogDriver() {
    if (hook_) UnhookWindowsHookEx(hook_);
    g_driver = nullptr;
}

void DialogDriver::Then(Step step) { steps_.push_back(std::move(step)); }

LRESULT CALLBACK DialogDriver::Hook(int code, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && info && info->message == WM_INITDIALOG && g_driver) {
        // Run the step once the modal loop is pumping, not inside creation.
        g_pendingDialog = info->hwnd;
        SetTimer(nullptr, 0, 1, RunStep);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CALLBACK DialogDriver::RunStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND dialog = g_pendingDialog;
    g_pendingDialog = nullptr;
    if (!g_driver || !dialog || !IsWindow(dialog)) return;
    if (g_driver->steps_.empty()) {
        ++g_driver->unexpected_;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    Step step = std::move(g_driver->steps_.front());
    g_driver->steps_.pop_front();
    step(dialog);
}

std::wstring Text(HWND dialog, int id) {
    wchar_t buf[1024] = L"";
    GetDlgItemTextW(dialog, id, buf, 1024);
    return buf;
}

void SetText(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }

void Type(HWND dialog, int id, const std::wstring& text) {
    HWND edit = GetDlgItem(dialog, id);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

void Click(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item));
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

std::wstring MessageBoxText(HWND box) { return Text(box, 0xFFFF); }

std::wstring Title(HWND window) {
    wchar_t buf[512] = L"";
    GetWindowTextW(window, buf, 512);
    return buf;
}

void Pump(DWORD milliseconds) {
    DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (static_cast<LONG>(GetTickCount() - end) >= 0) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

}  // namespace rctest

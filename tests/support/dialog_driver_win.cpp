#include "support/dialog_driver_win.h"

#include "shell/shell_win.h"
#include "transport/transport_win.h"

#include <cstdlib>
#include <map>

namespace rctest {

namespace {
DialogDriver* g_driver = nullptr;
HWND g_pendingDialog = nullptr;
std::vector<ULONG_PTR> g_helps;

std::map<UINT_PTR, std::pair<HWND, std::function<void(HWND)>>> g_later;  // by timer

void CALLBACK RunLater(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto node = g_later.extract(id);
    if (!node.empty() && IsWindow(node.mapped().first)) node.mapped().second(node.mapped().first);
}

BOOL WINAPI RecordHelp(HWND, LPCWSTR, UINT command, ULONG_PTR context) {
    if (command == HELP_CONTEXT || command == HELP_QUIT) g_helps.push_back(command == HELP_QUIT ? 0 : context);
    return TRUE;
}

bool IsCombo(HWND dialog, int id) {  // else a list box
    wchar_t cls[32] = L"";
    GetClassNameW(GetDlgItem(dialog, id), cls, 32);
    return lstrcmpiW(cls, L"ComboBox") == 0;
}
}  // namespace

std::vector<ULONG_PTR>& HelpContexts() { return g_helps; }

void DialogTest::SetUp() {
    g_helps.clear();
    rc::g_shell.winHelp = RecordHelp;
    programDirectory_ = rc::g_shell.programDirectory;
}

void DialogTest::TearDown() {
    rc::g_shell.winHelp = WinHelpW;
    rc::SetEdition(rc::Edition::Default);
    wcscpy(rc::g_shell.programDirectory, programDirectory_.c_str());
    rc::g_network = rc::kRealNetwork;
    InstallModules({});
    EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
    EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
}

void Later(HWND window, DWORD milliseconds, std::function<void(HWND)> step) {
    g_later[SetTimer(nullptr, 0, milliseconds, RunLater)] = {window, std::move(step)};
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

void DialogDriver::Box(const std::wstring& titleAndText, int button) {
    Then([=](HWND box) {
        EXPECT_EQ(Title(box) + L": " + MessageBoxText(box), titleAndText);
        Press(box, button);
    });
}

void DialogDriver::Dialog(const std::wstring& title, int button, int id, const std::wstring& text) {
    Then([=](HWND dialog) {
        EXPECT_EQ(Title(dialog), title);
        if (id) SetText(dialog, id, text);
        Press(dialog, button);
    });
}

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

std::wstring Text(HWND dialog, int id) { return Title(GetDlgItem(dialog, id)); }

void SetText(HWND dialog, int id, const std::wstring& text) { SetDlgItemTextW(dialog, id, text.c_str()); }

void Type(HWND dialog, int id, const std::wstring& text) {
    HWND edit = GetDlgItem(dialog, id);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 1);
}

void SetComboText(HWND dialog, int id, const std::wstring& text) {
    SetText(dialog, id, text);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Click(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(item));
}

void Toggle(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Press(HWND dialog, int id) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

std::vector<std::wstring> Entries(HWND dialog, int id) {
    bool combo = IsCombo(dialog, id);
    std::vector<std::wstring> entries;
    LRESULT n = SendDlgItemMessageW(dialog, id, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        wchar_t text[1024] = L"";
        if (SendDlgItemMessageW(dialog, id, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0) < 1024)
            SendDlgItemMessageW(dialog, id, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::wstring Selected(HWND dialog, int id) {
    LRESULT i = SendDlgItemMessageW(dialog, id, IsCombo(dialog, id) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
    std::vector<std::wstring> entries = Entries(dialog, id);
    return i >= 0 && i < static_cast<LRESULT>(entries.size()) ? entries[i] : L"(none)";
}

void Choose(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, IsCombo(dialog, id) ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
    // CBN_SELCHANGE and LBN_SELCHANGE are both 1.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring Look(HWND dialog, std::initializer_list<int> ids) {
    std::wstring look;
    for (int id : ids) {
        HWND item = GetDlgItem(dialog, id);
        wchar_t cls[32] = L"";
        GetClassNameW(item, cls, 32);
        LONG type = GetWindowLongW(item, GWL_STYLE) & BS_TYPEMASK;
        bool box = lstrcmpiW(cls, L"Button") == 0 && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
        if (id != *ids.begin()) look += L"|";
        if (!item) look += L"(no item)";
        else if (!IsWindowEnabled(item)) look += L"~";
        if (item) look += box ? (Checked(dialog, id) ? L"[x]" : L"[ ]") : lstrcmpiW(cls, L"ListBox") == 0 ? Selected(dialog, id) : Text(dialog, id);
    }
    return look;
}

std::wstring MessageBoxText(HWND box) { return Text(box, 0xFFFF); }

std::wstring Title(HWND window) {  // WM_GETTEXT, which also reads a window of another process
    wchar_t buf[1024] = L"";
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buf));
    return buf;
}

void Pump(DWORD milliseconds) {
    for (DWORD start = GetTickCount();; MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT)) {
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (GetTickCount() - start >= milliseconds) return;
    }
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    for (DWORD start = GetTickCount(); !done(); Pump(20))
        if (GetTickCount() - start > timeoutMs) return false;
    return true;
}

bool Gone(HWND window) { return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }); }

void Shot(HWND dialog, const std::wstring& name) {
    const char* dir = std::getenv("RC_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    if (!IsWindowVisible(dialog)) ShowWindow(dialog, SW_SHOWNORMAL);
    Pump(300);
    Capture(dialog, name);
}

}  // namespace rctest

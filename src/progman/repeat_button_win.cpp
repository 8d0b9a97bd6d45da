#include "progman/repeat_button_win.h"

#include "progman/icon_dialog_rules.h"
#include "resources/resource.h"

namespace rc {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr int kUnset = -1;

// One state for both buttons and every dialog: only one button can be held
// at a time. The times are read from the profile when first needed and
// forgotten when a button is destroyed, so each dialog reads them afresh.
struct RepeatState {
    int firstDelay = kUnset;
    int period = kUnset;
    bool repeating = false;
    bool pressedInside = false;
    WNDPROC former = nullptr;  // the buttons' window procedure before ours
};
RepeatState g_repeat;

LRESULT CallFormer(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_repeat.former) return DefWindowProcW(button, message, wParam, lParam);
    return CallWindowProcW(g_repeat.former, button, message, wParam, lParam);
}

void StartPress(HWND button) {
    if (g_repeat.firstDelay == kUnset || g_repeat.period == kUnset) {
        RepeatTiming timing = RepeatTimingFromProfile(
            static_cast<int>(GetProfileIntW(L"windows", L"KeyboardDelay", kDefaultKeyboardDelay)),
            static_cast<int>(GetProfileIntW(L"windows", L"KeyboardSpeed", kDefaultKeyboardSpeed)));
        g_repeat.firstDelay = timing.firstDelay;
        g_repeat.period = timing.period;
    }
    SetTimer(button, kRepeatTimer, static_cast<UINT>(g_repeat.firstDelay), nullptr);
    g_repeat.repeating = false;
    g_repeat.pressedInside = true;
}

LRESULT CALLBACK RepeatButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WMU_REPEAT_HANDOVER:
        g_repeat.former = reinterpret_cast<WNDPROC>(lParam);
        return 0;
    case WM_LBUTTONDOWN:
        StartPress(button);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !g_repeat.repeating) StartPress(button);
        break;
    case WM_TIMER:
        if (wParam != kRepeatTimer) break;
        KillTimer(button, kRepeatTimer);
        if (IsWindowEnabled(button)) {
            if (g_repeat.pressedInside)
                SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                             reinterpret_cast<LPARAM>(button));
            g_repeat.repeating = true;
            SetTimer(button, kRepeatTimer, static_cast<UINT>(g_repeat.period), nullptr);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (g_repeat.repeating) {
            // The button decides from the point whether it shows itself
            // pushed; the steps follow that, pausing off the button.
            LRESULT result = CallFormer(button, message, wParam, lParam);
            g_repeat.pressedInside = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
            return result;
        }
        break;
    case WM_LBUTTONUP:
        KillTimer(button, kRepeatTimer);
        if (g_repeat.repeating) {
            // The steps were the clicks: the button is pressed and released
            // at a point outside itself, so it ends its push without a click
            // of its own.
            RECT size{};
            GetClientRect(button, &size);
            POINTS at = MAKEPOINTS(lParam);
            LPARAM outside = MAKELPARAM(at.x - (size.right - size.left), at.y - (size.bottom - size.top));
            CallFormer(button, WM_LBUTTONDOWN, wParam | MK_LBUTTON, outside);
            return CallFormer(button, WM_LBUTTONUP, wParam, outside);
        }
        break;
    case WM_KEYUP:
        if (wParam == VK_SPACE) {
            // The button's own click on the release of the space bar goes
            // through; the timer ends with the press.
            g_repeat.repeating = false;
            KillTimer(button, kRepeatTimer);
        }
        break;
    case WM_DESTROY:
        KillTimer(button, kRepeatTimer);
        g_repeat.firstDelay = kUnset;
        g_repeat.period = kUnset;
        break;
    default:
        break;
    }
    return CallFormer(button, message, wParam, lParam);
}

}  // namespace

void MakeRepeatButton(HWND button) {
    if (!button) return;
    auto former = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RepeatButtonProc)));
    SendMessageW(button, WMU_REPEAT_HANDOVER, 0, reinterpret_cast<LPARAM>(former));
}

}  // namespace rc

#include "client/advanced_win.h"

#include "dialback/password_dialog_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "shell/dialog_items_win.h"

namespace rc {

const wchar_t kViewdeskIni[] = L"viewdesk.ini";

namespace {

// ---- Advanced Client Options ------------------------------------------------

constexpr std::uint32_t kCacheSizeLow = 128;
constexpr std::uint32_t kCacheSizeHigh = 4096;

void FillAdvanced(HWND dialog, const ClientHeldSettings& held) {
    EnableItem(dialog, IDC_ADV_VIDEO_LABEL, false);
    EnableItem(dialog, IDC_ADV_VIDEO_MODE, false);
    EnableItem(dialog, IDC_ADV_MODEM_DEBUG, false);
    SendItemMessage(dialog, IDC_ADV_VIDEO_MODE, EM_LIMITTEXT, 2, 0);

    SetItemText(dialog, IDC_ADV_VIDEO_MODE, held.videoMode.c_str());
    SetItemText(dialog, IDC_ADV_SECURITY_KEY, held.securityKey.c_str());
    if (held.cacheSize >= 0) SetItemText(dialog, IDC_ADV_CACHE, DecimalText(held.cacheSize).c_str());
    CheckItem(dialog, IDC_ADV_MODEM_DEBUG, held.modemDebug);
}

void SetSecurityKey(HWND dialog) {
    DWORD code = 0;
    if (!RunSetPassword(dialog, IDD_SET_KEY, &code)) return;
    SetItemText(dialog, IDC_ADV_SECURITY_KEY, FormatText(L"%lu", {static_cast<unsigned long>(code)}, 16).c_str());
}

// OK: returns false, with the cache-size field refused, when the dialog
// must stay open.
bool AcceptAdvanced(HWND dialog, ClientHeldSettings& held) {
    // Taken before the cache-size check: a refused OK keeps them.
    held.securityKey = ItemText(dialog, IDC_ADV_SECURITY_KEY, 15);
    held.videoMode = ItemText(dialog, IDC_ADV_VIDEO_MODE, 4);

    std::wstring cache = ItemText(dialog, IDC_ADV_CACHE);
    int cacheSize = -1;  // an empty field leaves the cache size unset: no /H
    if (!cache.empty()) {
        std::uint32_t value = 0;
        if (!ParseUnsigned(cache, &value) || value < kCacheSizeLow || value > kCacheSizeHigh) {
            SetItemText(dialog, IDC_ADV_STATUS, LoadText(IDS_CACHE_RANGE, kFieldChars).c_str());
            MessageBeep(0);
            HWND field = DialogItem(dialog, IDC_ADV_CACHE);
            SendMessageW(field, EM_SETSEL, 0, -1);
            SetFocus(field);
            return false;
        }
        cacheSize = static_cast<int>(value);
    }
    held.cacheSize = cacheSize;
    held.modemDebug = IsItemChecked(dialog, IDC_ADV_MODEM_DEBUG);
    return true;
}

INT_PTR CALLBACK AdvancedDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        BeginDialog(dialog);
        if (auto* held = DialogContext<ClientHeldSettings>(dialog, lParam)) FillAdvanced(dialog, *held);
        return TRUE;
    }
    case WM_COMMAND:
        if (HandleCommonButton(dialog, LOWORD(wParam), HELP_ADVANCED)) return TRUE;
        switch (LOWORD(wParam)) {
        case IDC_ADV_SET_KEY:
            if (HIWORD(wParam) == BN_CLICKED) SetSecurityKey(dialog);
            return TRUE;
        case IDC_ADV_CACHE:
            if (HIWORD(wParam) == EN_KILLFOCUS && GetWindowTextLengthW(DialogItem(dialog, IDC_ADV_STATUS)) > 0)
                SetItemText(dialog, IDC_ADV_STATUS, L"");
            return TRUE;
        case IDOK: {
            auto* held = ContextOf<ClientHeldSettings>(dialog);
            if (!held || AcceptAdvanced(dialog, *held)) EndDialog(dialog, 1);
            return TRUE;
        }
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// ---- Define SOS Hotkeys -----------------------------------------------------

const wchar_t kSosSection[] = L"SOS_Hotkeys";

// One box per key, in the order the keys are written. The box labelled
// Left Shift is kept under RShift and Right Shift under LShift: that
// pairing is how the Control program's file has always stored them.
struct SosKey {
    int box;
    const wchar_t* key;
    int fallback;
};
constexpr SosKey kSosKeys[] = {
    {IDC_SOS_LEFT_SHIFT, L"RShift", 1}, {IDC_SOS_RIGHT_SHIFT, L"LShift", 1}, {IDC_SOS_CTRL, L"Ctrl", 0},
    {IDC_SOS_ALT, L"Alt", 1},           {IDC_SOS_DISABLE, L"None", 0},
};

// The four key boxes are offered only while the SOS function is on; a
// greyed box keeps its mark.
void ApplySosRule(HWND dialog) {
    bool enable = !IsItemChecked(dialog, IDC_SOS_DISABLE);
    for (int id : {IDC_SOS_LEFT_SHIFT, IDC_SOS_RIGHT_SHIFT, IDC_SOS_CTRL, IDC_SOS_ALT}) EnableItem(dialog, id, enable);
}

INT_PTR CALLBACK SosDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        BeginDialog(dialog);
        for (const SosKey& k : kSosKeys) {
            // Any value other than 0 counts as checked.
            UINT value = GetPrivateProfileIntW(kSosSection, k.key, k.fallback, kViewdeskIni);
            CheckItem(dialog, k.box, value != 0);
        }
        ApplySosRule(dialog);
        return TRUE;
    case WM_COMMAND:
        if (HandleCommonButton(dialog, LOWORD(wParam), HELP_SOS)) return TRUE;
        switch (LOWORD(wParam)) {
        case IDC_SOS_DISABLE:
            if (HIWORD(wParam) == BN_CLICKED) ApplySosRule(dialog);
            return TRUE;
        case IDOK:
            for (const SosKey& k : kSosKeys)
                WritePrivateProfileStringW(kSosSection, k.key, IsItemChecked(dialog, k.box) ? L"1" : L"0",
                                           kViewdeskIni);
            EndDialog(dialog, 1);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

bool RunAdvancedOptions(HWND owner, ClientHeldSettings* held) {
    return RunDialog(owner, IDD_ADVANCED, AdvancedDialogProc, reinterpret_cast<LPARAM>(held), HELP_ADVANCED) != 0;
}

bool RunSosHotkeys(HWND owner) { return RunDialog(owner, IDD_SOS, SosDialogProc, 0, HELP_SOS) != 0; }

}  // namespace rc

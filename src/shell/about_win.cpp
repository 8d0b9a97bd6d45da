// The About box and the banner of the main window: which edition and which
// version of the Configurator is running.
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"

namespace rc {

int g_aboutIconCounter = 0;

namespace {

constexpr int kIconCycle[4] = {IDI_ABOUT1, IDI_ABOUT2, IDI_ABOUT3, IDI_ABOUT4};
constexpr UINT_PTR kIconTimer = 1;
constexpr UINT kIconStepMs = 1000;

SIZE MeasureText(HDC dc, const wchar_t* text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        BeginDialog(dialog);
        FormatItemText(dialog, IDC_ABOUT_EDITION, g_shell.editionName);
        SetTimer(dialog, kIconTimer, kIconStepMs, nullptr);
        FormatItemText(dialog, IDC_ABOUT_VERSION, g_shell.versionText);
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDOK || wParam == IDCANCEL) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    case WM_TIMER: {
        if (++g_aboutIconCounter > 3) g_aboutIconCounter = 0;
        HICON icon = LoadIconW(g_shell.instance, MAKEINTRESOURCEW(kIconCycle[g_aboutIconCounter]));
        SendItemMessage(dialog, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

bool RunAbout(HWND owner) { return RunDialog(owner, IDD_ABOUT, AboutDialogProc, 0, 0) != 0; }

void FillSolidRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    RECT rect{left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, L"", 0, nullptr);
}

int DrawEmbossedText(HWND window, HDC dc, const wchar_t* text, int y) {
    SIZE size = MeasureText(dc, text);
    RECT client{};
    GetClientRect(window, &client);
    int x = (client.right - size.cx) / 2;
    int length = lstrlenW(text);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    TextOutW(dc, x - 1, y - 1, text, length);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    TextOutW(dc, x + 1, y + 1, text, length);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TextOutW(dc, x, y, text, length);
    return size.cy;
}

void PaintBanner(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int W = client.right, H = client.bottom;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    {
        MemoryDc memory(CreateCompatibleDC(dc));
        Bitmap bitmap(CreateCompatibleBitmap(dc, W, H));
        if (memory && bitmap) {
            Selection bitmapSelection(memory.get(), bitmap.get());
            FillSolidRect(memory.get(), 0, 0, W, H, GetSysColor(COLOR_BTNFACE));
            Font large(CreateStockVariantFont(FW_BOLD, -30));
            Font medium(CreateStockVariantFont(FW_THIN, -24));
            Font small(CreateStockVariantFont(FW_THIN, 0));

            int h;
            {
                Selection s(memory.get(), large.get());
                h = DrawEmbossedText(window, memory.get(), g_shell.editionName, 10);
            }
            {
                Selection s(memory.get(), medium.get());
                std::wstring line = LoadText(IDS_CONFIGURATOR, kLabelChars) + g_shell.versionText;
                DrawEmbossedText(window, memory.get(), line.c_str(), h + 5);
            }
            {
                Selection s(memory.get(), small.get());
                std::wstring notice = LoadText(IDS_NOTICE, kLabelChars);
                SIZE size = MeasureText(memory.get(), notice.c_str());
                int x = W - size.cx - 3, y = H - size.cy - 3;
                int length = static_cast<int>(notice.size());
                SetTextColor(memory.get(), GetSysColor(COLOR_BTNHIGHLIGHT));
                TextOutW(memory.get(), x, y, notice.c_str(), length);
                SetTextColor(memory.get(), GetSysColor(COLOR_BTNSHADOW));
                TextOutW(memory.get(), x - 1, y - 1, notice.c_str(), length);
            }
            BitBlt(dc, 0, 0, W, H, memory.get(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(window, &paint);
}

}  // namespace rc

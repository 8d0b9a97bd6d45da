#include "dialback/password_dialog_win.h"

#include "dialback/password_code.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "shell/dialog_items_win.h"

#include <string>
#include <string_view>

namespace rc {

namespace {

// The field takes no more than 9 characters; a password or key never has
// more (the code packs at most 9 bytes).
constexpr int kTextChars = 9;
// A code field is judged by its first 15 characters.
constexpr int kCheckedChars = 15;

// Converts to the ANSI code page straight from the caller's characters. The
// system codec copies the text into a string of its own first, which would
// leave the typed password in freed heap memory.
std::size_t ToAnsiWithoutCopy(std::wstring_view text, char* out, std::size_t cap) {
    if (cap == 0) return 0;
    out[0] = '\0';
    if (text.empty()) return 0;
    int n = WideCharToMultiByte(GetACP(), 0, text.data(), static_cast<int>(text.size()), out, static_cast<int>(cap - 1),
                                "?", nullptr);
    if (n <= 0) {
        // Did not fit: nothing, as the seam's contract says.
        out[0] = '\0';
        return 0;
    }
    out[n] = '\0';
    return static_cast<std::size_t>(n);
}

std::size_t ToWide(std::string_view bytes, wchar_t* out, std::size_t cap) {
    return SystemCodec().toWide(bytes, out, cap);
}

const AnsiCodec kSecretCodec{ToAnsiWithoutCopy, ToWide};

// The code computation keeps the converted bytes in its own stack frame.
// Running over the same stack depth with a wiped block afterwards leaves no
// copy of them there.
__attribute__((noinline)) void WipeStackBelow() {
    volatile unsigned char block[1024];
    SecureZeroMemory(const_cast<unsigned char*>(block), sizeof block);
}

DWORD CodeOfField(HWND dialog) {
    wchar_t text[kTextChars + 1] = L"";
    int n = GetDlgItemTextW(dialog, IDC_SET_TEXT, text, kTextChars + 1);
    if (n < 0) n = 0;
    DWORD code = PasswordCodeOfText(std::wstring_view(text, static_cast<std::size_t>(n)), kSecretCodec);
    SecureZeroMemory(text, sizeof text);
    WipeStackBelow();
    return code;
}

// Empties the field so that the typed text does not outlive the dialog: the
// control's own storage is overwritten with blanks of the same length
// first, and its undo copy is dropped.
void WipeField(HWND dialog) {
    HWND field = DialogItem(dialog, IDC_SET_TEXT);
    if (!field) return;
    int length = GetWindowTextLengthW(field);
    if (length > 0) {
        std::wstring blanks(static_cast<std::size_t>(length), L' ');
        SetWindowTextW(field, blanks.c_str());
    }
    SendMessageW(field, EM_EMPTYUNDOBUFFER, 0, 0);
    SetWindowTextW(field, L"");
}

void EnableOkForText(HWND dialog) {
    EnableItem(dialog, IDOK, GetWindowTextLengthW(DialogItem(dialog, IDC_SET_TEXT)) > 0);
}

// One procedure for both templates. The context is the caller's code,
// set on OK and left as it was on Cancel. The typed text is wiped from the
// field and from every buffer it was read into before the dialog ends.
INT_PTR CALLBACK SetPasswordDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        BeginDialog(dialog);
        SendItemMessage(dialog, IDC_SET_TEXT, EM_LIMITTEXT, kTextChars, 0);
        DialogContext<DWORD>(dialog, lParam);
        EnableItem(dialog, IDOK, false);
        return TRUE;

    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SET_TEXT:
            if (HIWORD(wParam) == EN_CHANGE) EnableOkForText(dialog);
            return TRUE;
        case IDOK: {
            // Enter reaches here even while OK is greyed; an empty field
            // has no code to give.
            if (!IsWindowEnabled(DialogItem(dialog, IDOK))) return TRUE;
            DWORD code = CodeOfField(dialog);
            if (DWORD* place = ContextOf<DWORD>(dialog)) *place = code;
            WipeField(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL:
            WipeField(dialog);
            EndDialog(dialog, 0);
            return TRUE;
        }
        break;

    case WM_DESTROY:
        // However the dialog ends, the text goes with it.
        WipeField(dialog);
        break;
    }
    return FALSE;
}

}  // namespace

bool RunSetPassword(HWND owner, int templateId, DWORD* code) {
    return RunDialog(owner, templateId, SetPasswordDialogProc, reinterpret_cast<LPARAM>(code), 0) == 1;
}

bool ValidateCodeField(HWND dialog, int fieldId) {
    HWND field = DialogItem(dialog, fieldId);
    // A template without the field reads as empty; a greyed field is not
    // the user's to fix.
    if (!field || !IsWindowEnabled(field)) return true;
    wchar_t text[kCheckedChars + 1] = L"";
    int n = GetWindowTextW(field, text, kCheckedChars + 1);
    bool digits = true;
    for (int i = 0; i < n; ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            digits = false;
            break;
        }
    }
    if (digits) return true;
    ErrorBox(dialog, IDS_NOT_NUMERIC, MB_OK);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
    SendMessageW(field, EM_SETSEL, 0, -1);
    return false;
}

}  // namespace rc

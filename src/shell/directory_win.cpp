// The program directory prompt (Enter Directory), the Options dialog, and
// the check-and-prompt loop that finds STATN32.EXE or VIEWDESK.EXE.
#include "resources/resource.h"
#include "shell/shell_logic.h"
#include "shell/shell_win.h"
#include "shell/text.h"

namespace rc {

INT_PTR CALLBACK EnterDirectoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        BeginDialog(dialog);
        DWORD packed = static_cast<DWORD>(lParam);
        if (packed != 0) {
            std::wstring text = EnterDirectoryMessage(LoadText(FirstMessageId(packed), 127),
                                                      LoadText(SecondMessageId(packed), 127),
                                                      LoadText(IDS_ENTER_DIRECTORY, 511));
            SetDlgItemTextW(dialog, IDC_ENTERDIR_MESSAGE, text.c_str());
        }
        SetDlgItemTextW(dialog, IDC_DIRECTORY, ReadIniText(L"Configurator", L"Directory").c_str());
        SendDlgItemMessageW(dialog, IDC_ENTERDIR_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_HAND)), 0);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            std::wstring dir = WithoutTrailingBackslash(ItemText(dialog, IDC_DIRECTORY, 127));
            WriteIniText(L"Configurator", L"Directory", dir.c_str());
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        BeginDialog(dialog);
        FormatItemText(dialog, IDC_OPTIONS_LABEL, g_shell.editionName);
        SetDlgItemTextW(dialog, IDC_DIRECTORY, g_shell.programDirectory);
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDOK) {
            std::wstring dir = WithoutTrailingBackslash(ItemText(dialog, IDC_DIRECTORY, 127));
            CopyCut(g_shell.programDirectory, 128, dir);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (wParam == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

bool LocateProgram(HWND owner, const wchar_t* program, DWORD messages, std::wstring* path) {
    for (;;) {
        std::wstring candidate = ProgramPath(ReadIniText(L"Configurator", L"Directory", 127), program);
        if (FileExists(candidate.c_str())) {
            if (path) *path = candidate;
            return true;
        }
        if (RunDialog(owner, IDD_ENTER_DIRECTORY, EnterDirectoryDialogProc, static_cast<LPARAM>(messages), 0) == 0)
            return false;
    }
}

}  // namespace rc

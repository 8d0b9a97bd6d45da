// The program directory prompt (Enter Directory), the Options dialog, and
// the check-and-prompt loop that finds STATN32.EXE or VIEWDESK.EXE.
#include "resources/resource.h"
#include "shell/shell_logic.h"
#include "shell/shell_win.h"
#include "shell/text.h"

namespace rc {

namespace {

struct EnterDirectoryContext {
    DWORD messages = 0;  // the two message string numbers, packed
};

INT_PTR CALLBACK EnterDirectoryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        BeginDialog(dialog);
        auto* context = DialogContext<EnterDirectoryContext>(dialog, lParam);
        if (DWORD packed = context->messages) {
            // String 36 is loaded whole; only the 511-character message cuts it.
            std::wstring text = EnterDirectoryMessage(LoadText(FirstMessageId(packed), kFieldChars),
                                                      LoadText(SecondMessageId(packed), kFieldChars),
                                                      LoadText(IDS_ENTER_DIRECTORY, 511));
            SetItemText(dialog, IDC_ENTERDIR_MESSAGE, text.c_str());
        }
        SetItemText(dialog, IDC_DIRECTORY, StoredProgramDirectory().c_str());
        SendItemMessage(dialog, IDC_ENTERDIR_ICON, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_HAND)), 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (HandleCommonButton(dialog, LOWORD(wParam), 0)) return TRUE;
        if (LOWORD(wParam) != IDOK) return FALSE;
        StoreProgramDirectory(WithoutTrailingBackslash(ItemText(dialog, IDC_DIRECTORY)).c_str());
        EndDialog(dialog, 1);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK OptionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        BeginDialog(dialog);
        FormatItemText(dialog, IDC_OPTIONS_LABEL, g_shell.editionName);
        SetItemText(dialog, IDC_DIRECTORY, g_shell.programDirectory);
        return TRUE;
    case WM_COMMAND:
        if (wParam == IDOK) {
            std::wstring dir = WithoutTrailingBackslash(ItemText(dialog, IDC_DIRECTORY));
            CopyCut(g_shell.programDirectory, kPathBuffer, dir);
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

}  // namespace

bool RunEnterDirectory(HWND owner, DWORD messages) {
    EnterDirectoryContext context{messages};
    return RunDialog(owner, IDD_ENTER_DIRECTORY, EnterDirectoryDialogProc, reinterpret_cast<LPARAM>(&context), 0) != 0;
}

bool RunOptions(HWND owner) { return RunDialog(owner, IDD_OPTIONS, OptionsDialogProc, 0, 0) != 0; }

bool LocateProgram(HWND owner, const wchar_t* program, DWORD messages, std::wstring* path) {
    for (;;) {
        std::wstring candidate = ProgramPath(StoredProgramDirectory(), program);
        if (FileExists(candidate.c_str())) {
            if (path) *path = candidate;
            return true;
        }
        if (!RunEnterDirectory(owner, messages)) return false;
    }
}

}  // namespace rc

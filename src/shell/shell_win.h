// The application shell on the platform: the shell state held for the life
// of the process, the dialog runner and the small services every dialog
// uses (centring, help, message boxes, file test, code-page conversion).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace rc {

enum class Edition { Default, Classroom };

struct ShellState {
    HINSTANCE instance = nullptr;
    Edition edition = Edition::Default;
    wchar_t editionName[64] = L"";
    wchar_t versionText[16] = L"";
    wchar_t groupName[64] = L"";     // program group name; /P replaces it
    wchar_t helpBase[16] = L"";
    bool quiet = false;              // /I
    bool banner = true;              // /N turns it off
    wchar_t programDirectory[128] = L"";
    HWND mainWindow = nullptr;
    HWND currentWindow = nullptr;
    WORD helpContext = 0;
    HHOOK hook = nullptr;
    int systemFontHeight = 0;
    // Opens or closes help; WinHelpW unless a test watches the requests.
    BOOL(WINAPI* winHelp)(HWND, LPCWSTR, UINT, ULONG_PTR) = WinHelpW;
};

extern ShellState g_shell;

inline bool IsClassroom() { return g_shell.edition == Edition::Classroom; }

// Sets the edition with its names, version text and help base name.
void SetEdition(Edition edition);

// Decides the edition at start. The classroom edition is chosen by the
// value "Edition" = "Tutor" (any case) under
// HKEY_LOCAL_MACHINE\SOFTWARE\Quorvel\Configurator32, so one build serves
// both editions and an installation says once which one it is; anything
// else, or no value, gives the default edition.
Edition DecideEdition();

// ---- Dialog runner ----------------------------------------------------------

// A dialog template loaded from the running module, with the font fix-up
// applied to a private copy where the template asks for it.
class DialogTemplate {
public:
    explicit DialogTemplate(int number);
    ~DialogTemplate();
    DialogTemplate(const DialogTemplate&) = delete;
    DialogTemplate& operator=(const DialogTemplate&) = delete;
    DialogTemplate(DialogTemplate&& other) noexcept;
    DialogTemplate& operator=(DialogTemplate&&) = delete;
    const DLGTEMPLATE* get() const;
    explicit operator bool() const { return get() != nullptr; }

private:
    HGLOBAL resource_ = nullptr;
    const void* data_ = nullptr;
    void* copy_ = nullptr;  // fixed-up copy, when the template carried DS_SETFONT
};

// Finds template `number` among the running module's resources, ready for
// DialogBoxIndirectParamW; released when the returned owner goes.
DialogTemplate LoadDialogTemplate(int number);

// Runs a modal dialog from template `number` with the given help context
// current while it runs; the previous help context and current window are
// restored when it ends. Returns the dialog's result cut to 16 bits. A
// template that cannot be found, or a dialog the platform cannot create,
// gives 0 with the default beep: every caller then acts as after Cancel, so
// nothing is saved on a dialog the user never saw.
WORD RunDialog(HWND owner, int number, DLGPROC procedure, LPARAM param, WORD helpContext);

// What each dialog does first on WM_INITDIALOG: become the current window
// and centre itself over its owner.
void BeginDialog(HWND dialog);
void CentreDialog(HWND dialog);

// ---- Services ----------------------------------------------------------------

void ShowHelp(WORD context);
int InfoBox(HWND owner, UINT stringId, UINT flags);
int WarningBox(HWND owner, UINT stringId, UINT flags);
int ErrorBox(HWND owner, UINT stringId, UINT flags);
bool FileExists(const wchar_t* path);
int AnsiToWide(const char* text, wchar_t* buffer, int bufferBytes);
int WideToAnsi(const wchar_t* text, char* buffer, int bufferBytes);
// The system's upper-casing of one character (CharUpperBuffW), which
// names read from option strings get; one character in, one out.
wchar_t SystemUpperChar(wchar_t c);
void MeasureSystemFont();

// Loads a string of the string table, at most maxChars characters.
std::wstring LoadText(UINT id, int maxChars = 255);

// Text of a dialog item, at most maxChars characters.
std::wstring ItemText(HWND dialog, int id, int maxChars = 127);
// Formats an item's template text with one argument and sets it back.
void FormatItemText(HWND dialog, int id, std::wstring_view argument);

// rcsetup.ini, the Configurator's own private profile file.
extern const wchar_t kIniFile[];
std::wstring ReadIniText(const wchar_t* section, const wchar_t* key, int maxChars = 127);
void WriteIniText(const wchar_t* section, const wchar_t* key, const wchar_t* value);

// The light font of option-string fields: the stock ANSI variable-pitch
// font with weight 100, or none (keep the dialog's font) when the system
// font uses one of the East Asian character sets 128 to 136.
HFONT CreateLightFont(int height = 0);

// Full path of the running executable (at most 255 characters).
std::wstring ModulePath();

// ---- Main window ---------------------------------------------------------------

extern const wchar_t kMainClass[];
extern const wchar_t kMainTitle[];
LRESULT CALLBACK MainWindowProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK MsgFilterHook(int code, WPARAM wParam, LPARAM lParam);
bool RegisterMainClass();
HWND CreateMainWindow(int show);

// ---- Dialogs of the shell -----------------------------------------------------

INT_PTR CALLBACK AboutDialogProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK OptionsDialogProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR CALLBACK EnterDirectoryDialogProc(HWND, UINT, WPARAM, LPARAM);
void PaintBanner(HWND window);
int DrawEmbossedText(HWND window, HDC dc, const wchar_t* text, int y);
void FillSolidRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour);

// The About icon counter, one for the whole program (0 to 3).
extern int g_aboutIconCounter;

// Check-and-prompt loop: true when `program` (e.g. L"STATN32.EXE") is found
// in [Configurator] Directory, possibly after the user named the directory
// in the Enter Directory dialog; false when the user cancelled. On true,
// *path holds the program's full path.
bool LocateProgram(HWND owner, const wchar_t* program, DWORD messages, std::wstring* path);

}  // namespace rc

// The application shell on the platform: the shell state held for the life
// of the process, the dialog runner and the small services every dialog
// uses (centring, help, message boxes, file test, code-page conversion).
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "client/client_options.h"
#include "progman/progman_text.h"
#include "shell/shell_logic.h"
#include "shell/text.h"

namespace rc {

// Longest texts the platform layer reads into its fixed buffers, terminator
// not counted.
constexpr int kMessageChars = 255;  // a message of the string table
constexpr int kFieldChars = 127;    // a dialog field, a caption, a stored directory
constexpr int kLabelChars = 63;     // a list entry, a label, a word of a title

enum class Edition { Default, Classroom };

struct ShellState {
    HINSTANCE instance = nullptr;
    Edition edition = Edition::Default;
    wchar_t editionName[kNameBuffer] = L"";
    wchar_t versionText[16] = L"";
    wchar_t groupName[kNameBuffer] = L"";  // program group name; /P replaces it
    wchar_t helpBase[16] = L"";
    bool quiet = false;  // /I
    bool banner = true;  // /N turns it off
    wchar_t programDirectory[kPathBuffer] = L"";
    // The Client's held settings: one record for the whole run, lent to
    // every opening of Client Configuration and on to Advanced Client
    // Options, never reset by a parse.
    ClientHeldSettings clientHeld;
    // The program item record that Control Icon Maintenance works on and
    // lends down to Control Configuration and Create Program Icon.
    ProgramItemRecord itemRecord;
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
// else, or no value, gives the default edition. The value is read from the
// 64-bit registry view first and from the process's own view when the
// 64-bit view holds none (EditionViewOrder), so the 32-bit program on 64-bit
// Windows sees a value written from a 64-bit prompt as well as one written
// under WOW6432Node.
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
//
// Every dialog of the program follows one pattern: its typed Run function
// fills a context on its own stack and hands its address to RunDialog as
// the init parameter; the file-private dialog procedure takes it back with
// DialogContext on WM_INITDIALOG and with ContextOf afterwards.
WORD RunDialog(HWND owner, int number, DLGPROC procedure, LPARAM param, WORD helpContext);

// Keeps the context handed over with WM_INITDIALOG in the dialog's user
// data and returns it.
template <typename Context>
Context* DialogContext(HWND dialog, LPARAM initParam) {
    SetWindowLongPtrW(dialog, DWLP_USER, initParam);
    return reinterpret_cast<Context*>(initParam);
}

// The context kept by DialogContext; null before WM_INITDIALOG.
template <typename Context>
Context* ContextOf(HWND dialog) {
    return reinterpret_cast<Context*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The buttons every dialog has alike: Cancel (also Escape and the close
// box) ends the dialog with 0; Help shows the help context given, when the
// dialog has one (not 0). True when `id` was one of them.
bool HandleCommonButton(HWND dialog, WORD id, WORD helpContext);

// What each dialog does first on WM_INITDIALOG: become the current window
// and centre itself over its owner.
void BeginDialog(HWND dialog);
void CentreDialog(HWND dialog);

// ---- Services ----------------------------------------------------------------

void ShowHelp(WORD context);
bool FileExists(const wchar_t* path);
int AnsiToWide(const char* text, wchar_t* buffer, int bufferBytes);
int WideToAnsi(const wchar_t* text, char* buffer, int bufferBytes);
// The system's upper-casing of one character (CharUpperBuffW), which
// names read from option strings get; one character in, one out.
wchar_t SystemUpperChar(wchar_t c);
void MeasureSystemFont();

// Loads a string of the string table, at most maxChars characters.
std::wstring LoadText(UINT id, int maxChars = kMessageChars);

// The dialog's item `id` (a direct child with that control id), or null
// when the template lacks it: what GetDlgItem gives, without its cost on
// every call. A dialog that fills and reads its controls asks for the same
// few dozen items hundreds of times while it opens, and the platform's
// lookup lists every child of the dialog each time. An item once found is
// remembered and given again while it is still a child of that dialog
// with that id; anything else (an item destroyed, a new dialog on a reused
// handle, an id that the template lacks) is looked up afresh. UI thread
// only, like the dialogs.
HWND DialogItem(HWND dialog, int id);
// SendDlgItemMessageW through DialogItem: 0 when the item is missing.
LRESULT SendItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
// SetDlgItemTextW through DialogItem.
void SetItemText(HWND dialog, int id, const wchar_t* text);

// Text of a dialog item, at most maxChars characters.
std::wstring ItemText(HWND dialog, int id, int maxChars = kFieldChars);
// Formats an item's template text with one argument and sets it back.
void FormatItemText(HWND dialog, int id, std::wstring_view argument);

// ---- Message boxes -----------------------------------------------------------

// String stringId as it stands, captioned "Information" (IDS_INFORMATION),
// "Warning" (IDS_WARNING) or "Error" (IDS_ERROR).
int InfoBox(HWND owner, UINT stringId, UINT flags);
int WarningBox(HWND owner, UINT stringId, UINT flags);
int ErrorBox(HWND owner, UINT stringId, UINT flags);

// String stringId formatted with args (the directives FormatText knows),
// cut to the 511 characters of the message buffer.
std::wstring FormattedString(UINT stringId, std::initializer_list<FormatArg> args);
// A message box of a ready text captioned by string captionId.
int CaptionedBox(HWND owner, UINT captionId, const std::wstring& text, UINT flags);
// A message box of string stringId formatted with args, captioned by string
// captionId: IDS_INFORMATION, IDS_WARNING, IDS_ERROR, or IDS_CONFIGURATOR
// for the registry messages.
int FormattedBox(HWND owner, UINT captionId, UINT stringId, std::initializer_list<FormatArg> args, UINT flags);

// ---- rcsetup.ini ---------------------------------------------------------------

// rcsetup.ini, the Configurator's own private profile file. A number is
// kept as decimal text; GetPrivateProfileInt hands a signed value back in
// its unsigned result, so "-1" reads as -1 again.
extern const wchar_t kIniFile[];
std::wstring ReadIniText(const wchar_t* section, const wchar_t* key, int maxChars = kFieldChars);
int ReadIniNumber(const wchar_t* section, const wchar_t* key, int fallback);
void WriteIniText(const wchar_t* section, const wchar_t* key, const wchar_t* value);
void WriteIniNumber(const wchar_t* section, const wchar_t* key, int value);

// Several keys of one section of rcsetup.ini, answered as ReadIniText and
// ReadIniNumber answer them, from one reading of the whole section: each
// single-key read opens the file again, which under Wine costs as much as
// the reading. A section too long for the reader's buffer (64K characters)
// is read key by key instead, so no key is ever missed.
class IniReader {
public:
    explicit IniReader(const wchar_t* section);
    std::wstring Text(const wchar_t* key, int maxChars = kFieldChars) const;
    int Number(const wchar_t* key, int fallback) const;

private:
    const wchar_t* section_;
    std::wstring entries_;
    bool whole_ = false;
};

// [Configurator] Directory: where STATN32.EXE and VIEWDESK.EXE are looked
// for, written at every start and by Options and Enter Directory.
std::wstring StoredProgramDirectory();
void StoreProgramDirectory(const wchar_t* directory);

// ---- Fonts, waits, the system ---------------------------------------------------

// True when the stock system font uses one of the East Asian character sets
// 128 to 136.
bool SystemFontIsEastAsian();

// The stock ANSI variable-pitch font with only its weight and, unless
// height is 0, its height changed.
HFONT CreateStockVariantFont(LONG weight, LONG height);

// The light font of option-string fields: the stock ANSI variable-pitch
// font with weight 100, or none (the fields keep the dialog's font) when
// keepDialogFont is true, by default when the system font is East Asian.
HFONT CreateLightFont(int height = 0, bool keepDialogFont = SystemFontIsEastAsian());

// Gives each of the dialog's items `ids` the font (items the template lacks
// are passed over); a null font leaves them as they are.
void SetItemsFont(HWND dialog, HFONT font, std::initializer_list<int> ids);

// How a wait that keeps the thread's messages flowing ended.
enum class PumpEnd { Done, TimedOut, Quitting };

// Dispatches the thread's messages until done() is true (Done), or
// millisecondsLeft() gives 0 (TimedOut), or the quit message arrives
// (Quitting; it is posted again for the main loop). Both are asked before
// each message, so a steady flow of messages cannot keep the wait past its
// time; with the queue empty the thread sleeps at most the time left.
template <typename Done, typename Left>
PumpEnd PumpMessagesUntil(Done done, Left millisecondsLeft) {
    while (!done()) {
        DWORD left = millisecondsLeft();
        if (left == 0) return PumpEnd::TimedOut;
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return PumpEnd::Quitting;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            continue;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left, QS_ALLINPUT);
    }
    return PumpEnd::Done;
}

// Keeps the thread's messages flowing for `milliseconds`.
void PumpMessagesFor(DWORD milliseconds);

// The major version the system reports, 0 when it cannot be read.
int SystemMajorVersion();

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

// About (template IDD_ABOUT, no help context): the edition and version, with the
// icon stepping once a second. True when it was shown and closed.
bool RunAbout(HWND owner);

// Options (template IDD_OPTIONS, no help context): the program directory. True
// after OK, with the directory (its trailing backslash removed) in
// g_shell.programDirectory; false after Cancel.
bool RunOptions(HWND owner);

// Enter Directory (template IDD_ENTER_DIRECTORY, no help context): asks for the program
// directory. `messages` packs the string numbers of the message's first
// and second part (ENTERDIR_CLIENT, ENTERDIR_CONTROL); 0 keeps the
// template's message.
// True after OK, with the directory written to [Configurator] Directory;
// false after Cancel.
bool RunEnterDirectory(HWND owner, DWORD messages);

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

// Drives real modal dialogs in-process: each time a dialog of this thread
// (a message box included) has initialised, the next queued step runs on it
// from inside the dialog's own modal loop. Steps may read controls, send
// notifications, open nested dialogs and end the dialog.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "support/station_win.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace rctest {

class DialogDriver {
public:
    using Step = std::function<void(HWND dialog)>;

    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Queues a step for the next dialog that opens.
    void Then(Step step);
    // Queues a step that expects a message box reading "<title>: <text>",
    // or a dialog titled `title` (whose control `id` it sets to `text`, when
    // given), and ends it with `button`.
    void Box(const std::wstring& titleAndText, int button = IDOK);
    void Dialog(const std::wstring& title, int button, int id = 0, const std::wstring& text = L"");
    // Steps not yet run (a test fails when dialogs it expected never came).
    std::size_t Pending() const { return steps_.size(); }
    // Dialogs that opened with no step queued for them; they are cancelled.
    int Unexpected() const { return unexpected_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD);

    HHOOK hook_ = nullptr;
    std::deque<Step> steps_;
    int unexpected_ = 0;
};

// The base of the dialog tests: a driver whose steps must all have run and
// met only the dialogs they expected, and help requests recorded (their
// contexts, in order; HELP_QUIT as 0) instead of opening the help viewer.
// What a test may change of the shell is put back after it: the program
// directory, the edition, the network (the real stacks) and the transport
// modules (none beside the program).
class DialogTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    DialogDriver driver_;

private:
    std::wstring programDirectory_;
};
// The help contexts asked for since the test began.
std::vector<ULONG_PTR>& HelpContexts();

// Runs `step` on `window` after `milliseconds`, from whatever message loop
// is pumping then (a dialog's modal loop, typically).
void Later(HWND window, DWORD milliseconds, std::function<void(HWND)> step);

// Control helpers for steps.
std::wstring Text(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::wstring& text);  // sends EN_CHANGE through WM_SETTEXT
// Types text into an edit field key by key (WM_CHAR), replacing what it
// holds, so the field's own style (case, digits only) applies as it would to the user.
void Type(HWND dialog, int id, const std::wstring& text);
// Sets the text of a combo box's edit field as the user's typing does: with CBN_EDITCHANGE.
void SetComboText(HWND dialog, int id, const std::wstring& text);
void Click(HWND dialog, int id);                             // WM_COMMAND BN_CLICKED, sent
void Toggle(HWND dialog, int id);                            // a check box clicked as the user does (BM_CLICK)
bool Enabled(HWND dialog, int id);
bool Checked(HWND dialog, int id);
void Press(HWND dialog, int id);  // ends a message box or dialog with this button (posted)
// Entries of a list box or combo box, and the selected one ("(none)").
std::vector<std::wstring> Entries(HWND dialog, int id);
std::wstring Selected(HWND dialog, int id);
// Selects entry `index` of a list or combo box as the user does: with the
// selection-change notification.
void Choose(HWND dialog, int id, int index);
// The state of several controls in one text, "|" between them: a list box
// gives its selected entry ("(none)"), a check box or radio
// button "[x]" or "[ ]", anything else its text; a disabled control is
// marked with a leading "~", a missing one is "(no item)".
std::wstring Look(HWND dialog, std::initializer_list<int> ids);
// Text of a message box (its static text).
std::wstring MessageBoxText(HWND box);
std::wstring Title(HWND window);
// Runs the thread's messages for a while (timers, posted messages).
void Pump(DWORD milliseconds);
// Runs them until `done` holds, up to timeoutMs; Gone waits so for a window
// to close or hide.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 15000);
bool Gone(HWND window);
// A screenshot of a dialog from inside a driver step, when RC_SCREENSHOT_DIR
// is set: a step runs before the modal loop first shows the dialog, so the
// shot shows it and lets it paint first. For looking, not a check.
void Shot(HWND dialog, const std::wstring& name);

}  // namespace rctest

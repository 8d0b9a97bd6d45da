// Drives real modal dialogs in-process: each time a dialog of this thread
// (a message box included) has initialised, the next queued step runs on it
// from inside the dialog's own modal loop. Steps may read controls, send
// notifications, open nested dialogs and end the dialog.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>

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

// Runs `step` on `window` after `milliseconds`, from whatever message loop
// is pumping then (a dialog's modal loop, typically).
void Later(HWND window, DWORD milliseconds, std::function<void(HWND)> step);

// Control helpers for steps.
std::wstring Text(HWND dialog, int id);
void SetText(HWND dialog, int id, const std::wstring& text);  // sends EN_CHANGE through WM_SETTEXT
// Types text into an edit field key by key (WM_CHAR), replacing what it
// holds, so the field's own style (case, digits only) applies as it would to the user.
void Type(HWND dialog, int id, const std::wstring& text);
void Click(HWND dialog, int id);                             // BM_CLICK / WM_COMMAND BN_CLICKED
bool Enabled(HWND dialog, int id);
bool Checked(HWND dialog, int id);
void Press(HWND dialog, int id);  // ends a message box or dialog with this button
// Text of a message box (its static text).
std::wstring MessageBoxText(HWND box);
std::wstring Title(HWND window);
// Runs the thread's messages for a while (timers, posted messages).
void Pump(DWORD milliseconds);

}  // namespace rctest

// Program Manager for the icon dialog tests: the stand-in DDE server
// (tools/progman-standin) run as a process of its own with a log of what it
// received, and its groups, which are folders of shell links under
// <Windows>\Profiles\All Users\Start Menu\Programs.
#pragma once

#include <windows.h>

#include "shell/owners_win.h"
#include "support/station_win.h"

#include <string>
#include <vector>

namespace rctest {

class ProgmanStandIn {
public:
    ProgmanStandIn() = default;
    ~ProgmanStandIn();
    ProgmanStandIn(const ProgmanStandIn&) = delete;
    ProgmanStandIn& operator=(const ProgmanStandIn&) = delete;

    // Starts it (RC_PROGMAN_STANDIN_EXE, a host path) with a fresh log and
    // waits for its window; false when it could not be started or showed no window.
    bool Start(const std::wstring& extraArguments = L"");
    // Closes it and waits for the process to end.
    void Stop();

    // The log's lines (UTF-16LE, CR LF), fields separated by TABs.
    std::vector<std::wstring> Log() const;
    // How many lines equal `line`, without regard to case (atom names come
    // back in the case of their first adder). A request for `item` (a group
    // name, or "PROGMAN") in text is logged as "request<TAB>13<TAB>item".
    int Count(const std::wstring& line) const;
    // The command blocks received, as received.
    std::vector<std::wstring> Executes() const;
    // Forgets what was logged so far.
    void ClearLog() const;
    // Sends Program Manager a block of commands as the dialogs do, from a
    // window of its own, and forgets the log of it.
    void Seed(const std::wstring& commands) const;

private:
    PROCESS_INFORMATION pi_{};
    std::wstring log_;
};

// A visible top-level window whose thread stops reading its messages for
// as long as the object lives (a hung program on the desktop); every
// broadcast meets it.
class HungWindow {
public:
    HungWindow();
    ~HungWindow();
    HungWindow(const HungWindow&) = delete;
    HungWindow& operator=(const HungWindow&) = delete;
    HWND get() const { return window_; }

private:
    static DWORD WINAPI Run(void* self);
    rc::Handle release_, made_, thread_;
    HWND window_ = nullptr;
};

// A Control station for the icon dialogs: `dir` as the stored program
// directory holding a VIEWDESK.EXE with icons (a copy of the running
// program), the three Control modules beside the program, exactly the
// given groups, and the program group "Quorvel Brennix" named. False when
// the program could not be copied.
bool SeedControlStation(const std::wstring& dir, const std::vector<std::wstring>& groups);
// The visible names of Control Icon Maintenance's Icons list: each entry up to its first TAB.
std::vector<std::wstring> IconNames(HWND dialog);
// Removes every group, then makes the given ones (empty folders).
void ResetGroups(const std::vector<std::wstring>& groups);
// A group's item link file.
std::wstring LinkPath(const std::wstring& group, const std::wstring& item);
// The LinkFlags of a group's item link file (32 bits at offset 20); 0 when
// the file cannot be read that far.
DWORD LinkFlags(const std::wstring& group, const std::wstring& item);

}  // namespace rctest

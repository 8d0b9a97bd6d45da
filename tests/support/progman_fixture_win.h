// Program Manager for the icon dialog tests: the stand-in DDE server
// (tools/progman-standin) run as a process of its own with a log of what it
// received, and its groups, which are folders of shell links under
// <Windows>\Profiles\All Users\Start Menu\Programs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rctest {

// The stand-in's executable as a Windows path: RC_PROGMAN_STANDIN_EXE, or
// progman_standin.exe beside RC_CONFIGURATOR_EXE; empty when neither is set.
std::wstring StandInExe();

class ProgmanStandIn {
public:
    ProgmanStandIn() = default;
    ~ProgmanStandIn();
    ProgmanStandIn(const ProgmanStandIn&) = delete;
    ProgmanStandIn& operator=(const ProgmanStandIn&) = delete;

    // Starts it with a fresh log and waits for its window; false when it
    // could not be started or showed no window.
    bool Start(const std::wstring& extraArguments = L"");
    // Closes it and waits for the process to end.
    void Stop();

    // The log's lines, each split at its TABs (UTF-16LE, CR LF).
    std::vector<std::vector<std::wstring>> Log() const;
    // The command blocks received, as received.
    std::vector<std::wstring> Executes() const;
    // How many requests asked for `item` (a group name, or "PROGMAN").
    int Requests(const std::wstring& item) const;
    // Forgets what was logged so far.
    void ClearLog() const;

private:
    PROCESS_INFORMATION pi_{};
    std::wstring log_;
};

// <Windows>\Profiles\All Users\Start Menu\Programs
std::wstring ProgramsFolder();
// Removes every group, then makes the given ones (empty folders).
void ResetGroups(const std::vector<std::wstring>& groups);
bool GroupExists(const std::wstring& group);
// A group's item link file.
std::wstring LinkPath(const std::wstring& group, const std::wstring& item);
bool FileThere(const std::wstring& path);
// The LinkFlags of a shell link file (32 bits at offset 20); false when the
// file cannot be read that far.
bool ReadLinkFlags(const std::wstring& path, DWORD* flags);
// Writes a small file.
void WriteBytes(const std::wstring& path, const std::string& bytes);

}  // namespace rctest

// End-to-end test support: a seeded Client station in the test's own Wine
// prefix, the real rcsetup32.exe started in it, and window captures.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace rctest {

// The product folder of the station and what it holds.
// STATN32.EXE and VIEWDESK.EXE are placeholders; MODEMDEF.MDM names two modems.
struct StationOptions {
    std::vector<std::wstring> modules = {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL",
                                         L"CXIPX.DLL",   L"CXNBS.DLL",   L"CXTCP.DLL"};
    std::wstring imagePath;           // of HKLM\SYSTEM\CurrentControlSet\Services\Statn32; empty: a realistic default
    bool classroom = false;           // the Tutor edition value
};

class Station {
public:
    explicit Station(const StationOptions& options = StationOptions());
    ~Station();
    const std::wstring& Directory() const { return dir_; }
    std::wstring Exe() const { return dir_ + L"\\rcsetup32.exe"; }

private:
    std::wstring dir_;
};

// Removes a folder with everything below it.
void DeleteTree(const std::wstring& dir);

// The Windows form of a host path ("Z:" and backslashes).
std::wstring HostPath(const std::string& unixPath);

// Waits up to graceMs for a started process to end, ends it otherwise, and
// closes its handles (none: nothing to do).
void EndProcess(PROCESS_INFORMATION* pi, DWORD graceMs);

// A running Configurator; ended when the object goes.
class Configurator {
public:
    Configurator() = default;
    ~Configurator();
    bool Start(const std::wstring& exe, const std::wstring& arguments);
    HWND MainWindow(DWORD timeoutMs = 20000);
    // Gives the main window a menu command and waits for the dialog (or
    // message box) titled `title` that it opens; nullptr when none came.
    HWND Command(UINT id, const wchar_t* title);
    // Gives the main window the Exit command and waits for the process to
    // end; returns its exit code, or -1 when it did not end in 20 s.
    long Exit();
    DWORD ProcessId() const { return pi_.dwProcessId; }

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

// Finds a dialog of the process whose title is `title` (any, when nullptr), waiting.
HWND WaitForDialog(DWORD processId, const wchar_t* title, DWORD timeoutMs = 20000);

// Writes what the window shows to RC_SCREENSHOT_DIR\<name>.bmp when that
// folder is set (for looking at, not a check).
void Capture(HWND window, const std::wstring& name);

// A whole INI section as "key=value" lines in file order, and putting one back.
std::vector<std::wstring> IniSection(const wchar_t* file, const wchar_t* section);
void RestoreIniSection(const wchar_t* file, const wchar_t* section, const std::vector<std::wstring>& lines);
// The Client service's ImagePath ("\x01missing" without key or value);
// setting it creates the key.
std::wstring ReadImagePath();
void SetImagePath(const std::wstring& value);
void DeleteServiceKey();

// Writes a small file, and reads one ("<missing>" when it cannot be opened).
void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool FileThere(const std::wstring& path);
// A file beside the running program (where transport modules are looked for).
std::wstring BesideProgram(const std::wstring& name);
// Exactly these of the six transport modules lie beside the running program.
void InstallModules(const std::vector<std::wstring>& modules);

}  // namespace rctest

#include "support/progman_fixture_win.h"

#include "support/station_win.h"

#include <cstdlib>

namespace rctest {

namespace {

const wchar_t kStandInClass[] = L"BrennixProgmanStandIn";


void MakeFolders(const std::wstring& path) {
    for (std::size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == L'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
}

BOOL CALLBACK FindStandIn(HWND window, LPARAM param) {
    auto* q = reinterpret_cast<std::pair<DWORD, HWND>*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t cls[64] = L"";
    GetClassNameW(window, cls, 64);
    if (pid == q->first && lstrcmpW(cls, kStandInClass) == 0) {
        q->second = window;
        return FALSE;
    }
    return TRUE;
}

HWND StandInWindow(DWORD pid) {
    std::pair<DWORD, HWND> q{pid, nullptr};
    EnumWindows(FindStandIn, reinterpret_cast<LPARAM>(&q));
    return q.second;
}

}  // namespace

std::wstring StandInExe() {
    if (const char* p = std::getenv("RC_PROGMAN_STANDIN_EXE"); p && *p) return HostPath(p);
    const char* exe = std::getenv("RC_CONFIGURATOR_EXE");
    if (!exe || !*exe) return L"";
    std::string path = exe;
    std::size_t slash = path.find_last_of('/');
    return HostPath((slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "progman_standin.exe");
}

ProgmanStandIn::~ProgmanStandIn() { Stop(); }

bool ProgmanStandIn::Start(const std::wstring& extraArguments) {
    Stop();
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    log_ = std::wstring(temp) + L"progman-standin.log";
    DeleteFileW(log_.c_str());
    std::wstring exe = StandInExe();
    if (exe.empty()) return false;
    std::wstring line = L"\"" + exe + L"\" /log \"" + log_ + L"\" /quit-after 900";
    if (!extraArguments.empty()) line += L" " + extraArguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) {
        pi_ = PROCESS_INFORMATION{};
        return false;
    }
    for (int i = 0; i < 400; ++i) {
        if (StandInWindow(pi_.dwProcessId)) return true;
        if (WaitForSingleObject(pi_.hProcess, 25) == WAIT_OBJECT_0) break;
    }
    Stop();
    return false;
}

void ProgmanStandIn::Stop() {
    if (!pi_.hProcess) return;
    if (HWND w = StandInWindow(pi_.dwProcessId)) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi_.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hProcess);
    CloseHandle(pi_.hThread);
    pi_ = PROCESS_INFORMATION{};
}

std::vector<std::vector<std::wstring>> ProgmanStandIn::Log() const {
    std::vector<std::vector<std::wstring>> lines;
    HANDLE h = CreateFileW(log_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return lines;
    std::wstring text;
    wchar_t buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got / sizeof(wchar_t));
    CloseHandle(h);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) end = text.size();
        std::vector<std::wstring> fields;
        std::size_t f = start;
        for (;;) {
            std::size_t tab = text.find(L'\t', f);
            if (tab == std::wstring::npos || tab > end) {
                fields.push_back(text.substr(f, end - f));
                break;
            }
            fields.push_back(text.substr(f, tab - f));
            f = tab + 1;
        }
        lines.push_back(std::move(fields));
        start = end + 2;
    }
    return lines;
}

std::vector<std::wstring> ProgmanStandIn::Executes() const {
    std::vector<std::wstring> blocks;
    for (const auto& line : Log())
        if (line.size() >= 2 && line[0] == L"execute") {
            // A block that holds TABs comes back whole.
            std::wstring block = line[1];
            for (std::size_t i = 2; i < line.size(); ++i) block += L"\t" + line[i];
            blocks.push_back(block);
        }
    return blocks;
}

int ProgmanStandIn::Requests(const std::wstring& item) const {
    int n = 0;
    for (const auto& line : Log())
        if (line.size() >= 3 && line[0] == L"request" && lstrcmpiW(line[2].c_str(), item.c_str()) == 0) ++n;
    return n;
}

void ProgmanStandIn::ClearLog() const { DeleteFileW(log_.c_str()); }

std::wstring ProgramsFolder() {
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Profiles\\All Users\\Start Menu\\Programs";
}

void ResetGroups(const std::vector<std::wstring>& groups) {
    DeleteTree(ProgramsFolder());
    MakeFolders(ProgramsFolder());
    for (const auto& g : groups) CreateDirectoryW((ProgramsFolder() + L"\\" + g).c_str(), nullptr);
}

bool GroupExists(const std::wstring& group) {
    DWORD a = GetFileAttributesW((ProgramsFolder() + L"\\" + group).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring LinkPath(const std::wstring& group, const std::wstring& item) {
    return ProgramsFolder() + L"\\" + group + L"\\" + item + L".lnk";
}

bool FileThere(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReadLinkFlags(const std::wstring& path, DWORD* flags) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    BYTE header[24] = {};
    DWORD got = 0;
    BOOL ok = ReadFile(h, header, sizeof header, &got, nullptr);
    CloseHandle(h);
    if (!ok || got < sizeof header) return false;
    *flags = header[20] | (header[21] << 8) | (header[22] << 16) | (static_cast<DWORD>(header[23]) << 24);
    return true;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

}  // namespace rctest

#include "support/progman_fixture_win.h"

#include "progman/dde_link_win.h"

#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace rctest {

namespace {

const wchar_t kStandInClass[] = L"BrennixProgmanStandIn";

HWND StandInWindow(DWORD pid) {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, kStandInClass, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

}  // namespace

ProgmanStandIn::~ProgmanStandIn() { Stop(); }

bool ProgmanStandIn::Start(const std::wstring& extraArguments) {
    Stop();
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    log_ = std::wstring(temp) + L"progman-standin.log";
    DeleteFileW(log_.c_str());
    const char* path = std::getenv("RC_PROGMAN_STANDIN_EXE");
    if (!path || !*path) return false;
    std::wstring exe = HostPath(path), line = L"\"" + exe + L"\" /log \"" + log_ + L"\" /quit-after 900 " + extraArguments;
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
    if (HWND w = StandInWindow(pi_.dwProcessId)) PostMessageW(w, WM_CLOSE, 0, 0);
    EndProcess(&pi_, 5000);
}

std::vector<std::wstring> ProgmanStandIn::Log() const {
    const std::string bytes = FileThere(log_) ? ReadBytes(log_) : "";
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> lines;
    for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
        end = std::min(text.find(L"\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

int ProgmanStandIn::Count(const std::wstring& line) const {
    const auto log = Log();
    return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const auto& l) { return lstrcmpiW(l.c_str(), line.c_str()) == 0; }));
}

std::vector<std::wstring> ProgmanStandIn::Executes() const {
    std::vector<std::wstring> blocks;
    for (const auto& line : Log())
        if (line.rfind(L"execute\t", 0) == 0) blocks.push_back(line.substr(8));
    return blocks;
}

void ProgmanStandIn::ClearLog() const { DeleteFileW(log_.c_str()); }

void ProgmanStandIn::Seed(const std::wstring& commands) const {
    HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (HGLOBAL block = rc::MakeCommandBlock(commands, 2048)) rc::ExecuteCommands(owner, block);
    DestroyWindow(owner);
    ClearLog();
}

HungWindow::HungWindow()
    : release_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), made_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    if (thread_) WaitForSingleObject(made_.get(), 5000);
}

HungWindow::~HungWindow() {
    SetEvent(release_.get());
    if (thread_) WaitForSingleObject(thread_.get(), 5000);
}

DWORD WINAPI HungWindow::Run(void* self) {
    auto* hung = static_cast<HungWindow*>(self);
    HWND w = CreateWindowExW(0, L"Static", L"Hung program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300, 120, nullptr,
                             nullptr, nullptr, nullptr);
    hung->window_ = w;
    SetEvent(hung->made_.get());
    WaitForSingleObject(hung->release_.get(), INFINITE);  // reads no message meanwhile
    DestroyWindow(w);
    return 0;
}

bool SeedControlStation(const std::wstring& dir, const std::vector<std::wstring>& groups) {
    CreateDirectoryW(dir.c_str(), nullptr);
    InstallModules({L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"});
    rc::WriteIniText(L"Configurator", L"Directory", dir.c_str());
    ResetGroups(groups);
    wcscpy(rc::g_shell.groupName, L"Quorvel Brennix");
    return CopyFileW(rc::ModulePath().c_str(), (dir + L"\\VIEWDESK.EXE").c_str(), FALSE) != FALSE;
}

std::vector<std::wstring> IconNames(HWND dialog) {
    std::vector<std::wstring> names;
    for (const auto& e : Entries(dialog, IDC_IM_ICONS)) names.push_back(e.substr(0, e.find(L'\t')));
    return names;
}

// <Windows>\Profiles\All Users\Start Menu\Programs
static std::wstring ProgramsFolder() {
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Profiles\\All Users\\Start Menu\\Programs";
}

void ResetGroups(const std::vector<std::wstring>& groups) {
    DeleteTree(ProgramsFolder());
    SHCreateDirectoryExW(nullptr, ProgramsFolder().c_str(), nullptr);
    for (const auto& g : groups) CreateDirectoryW((ProgramsFolder() + L"\\" + g).c_str(), nullptr);
}

std::wstring LinkPath(const std::wstring& group, const std::wstring& item) {
    return ProgramsFolder() + L"\\" + group + L"\\" + item + L".lnk";
}

DWORD LinkFlags(const std::wstring& group, const std::wstring& item) {
    const std::string header = ReadBytes(LinkPath(group, item));
    DWORD flags = 0;
    if (header.size() >= 24) std::memcpy(&flags, header.data() + 20, sizeof flags);  // little-endian, as the platform
    return flags;
}

}  // namespace rctest

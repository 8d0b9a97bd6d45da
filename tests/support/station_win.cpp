#include "support/station_win.h"

#include "resources/resource.h"
#include "support/dialog_driver_win.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace rctest {

namespace {
const wchar_t kServiceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\Statn32";
const wchar_t kEditionKey[] = L"SOFTWARE\\Quorvel\\Configurator32";

// Sets a text value of a machine key, creating the key; nullptr deletes the value.
void SetMachineText(const wchar_t* key, const wchar_t* name, const wchar_t* value) {
    if (!value) return (void)SHDeleteValueW(HKEY_LOCAL_MACHINE, key, name);
    SHSetValueW(HKEY_LOCAL_MACHINE, key, name, REG_SZ, value,
                static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

// The Windows path of the Configurator built for the tests (from the
// RC_CONFIGURATOR_EXE environment value, a host path).
std::wstring BuiltConfigurator() {
    const char* p = std::getenv("RC_CONFIGURATOR_EXE");
    return p ? HostPath(p) : L"";
}

// Finds a top-level window of the process with the given class and title, waiting up to timeoutMs.
HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
    for (DWORD start = GetTickCount();; Sleep(50)) {
        for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, className, title)) != nullptr;) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == processId && IsWindowVisible(w)) return w;
        }
        if (GetTickCount() - start > timeoutMs) return nullptr;
    }
}
}  // namespace

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

bool FileThere(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring BesideProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\') + 1) + name;
}

void InstallModules(const std::vector<std::wstring>& modules) {
    for (const wchar_t* m : {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL", L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"})
        DeleteFileW(BesideProgram(m).c_str());
    for (const auto& m : modules) WriteBytes(BesideProgram(m), "MZ");
}

void DeleteTree(const std::wstring& dir) {
    const std::wstring from = dir + L'\0';  // a list of paths, ended by an empty one
    SHFILEOPSTRUCTW op{nullptr, FO_DELETE, from.c_str(), nullptr, FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT, FALSE, nullptr, nullptr};
    SHFileOperationW(&op);
}

std::wstring HostPath(const std::string& unixPath) {
    std::wstring r = L"Z:";
    for (char c : unixPath) r.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return r;
}

Station::Station(const StationOptions& o) {
    dir_ = L"C:\\Quorvel\\Brennix";
    DeleteTree(dir_);
    CreateDirectoryW(L"C:\\Quorvel", nullptr);
    CreateDirectoryW(dir_.c_str(), nullptr);
    CopyFileW(BuiltConfigurator().c_str(), Exe().c_str(), FALSE);
    // The help file of the edition, as an installation carries it (the build
    // puts both beside the Configurator): a classroom one has qvt.hlp alone.
    const std::wstring help = o.classroom ? L"qvt.hlp" : L"BRX.hlp";
    const std::wstring built = BuiltConfigurator();
    CopyFileW((built.substr(0, built.rfind(L'\\') + 1) + help).c_str(), (dir_ + L"\\" + help).c_str(), FALSE);
    for (const wchar_t* program : {L"STATN32.EXE", L"VIEWDESK.EXE"}) WriteBytes(dir_ + L"\\" + program, "MZ placeholder");
    for (const auto& m : o.modules) WriteBytes(dir_ + L"\\" + m, "MZ placeholder");
    WriteBytes(dir_ + L"\\MODEMDEF.MDM", "; modem definitions\r\n@[M1] Generic 28800 Modem\r\n@[M2] Fast Modem 56K ;best\r\n");

    SetImagePath(o.imagePath.empty() ? L"C:\\Quorvel\\Brennix\\STATN32.EXE /* STATION1 4211 /UNB /A0 /I /K /T15 "
                                     : o.imagePath);
    SetMachineText(kEditionKey, L"Edition", o.classroom ? L"Tutor" : nullptr);
}

Station::~Station() { SetMachineText(kEditionKey, L"Edition", nullptr); }

void EndProcess(PROCESS_INFORMATION* pi, DWORD graceMs) {
    if (!pi->hProcess) return;
    if (WaitForSingleObject(pi->hProcess, graceMs) != WAIT_OBJECT_0) {
        TerminateProcess(pi->hProcess, 99);
        WaitForSingleObject(pi->hProcess, 5000);
    }
    CloseHandle(pi->hProcess);
    CloseHandle(pi->hThread);
    *pi = PROCESS_INFORMATION{};
}

Configurator::~Configurator() { EndProcess(&pi_, 0); }

bool Configurator::Start(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring line = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_) != FALSE;
}

HWND Configurator::MainWindow(DWORD timeoutMs) {
    if (!main_) main_ = WaitForWindow(pi_.dwProcessId, L"RCSetupClass", L"Brennix Configurator 32", timeoutMs);
    return main_;
}

HWND Configurator::Command(UINT id, const wchar_t* title) {
    if (!MainWindow()) return nullptr;
    PostMessageW(MainWindow(), WM_COMMAND, id, 0);
    return WaitForDialog(pi_.dwProcessId, title);
}

long Configurator::Exit() {
    PostMessageW(MainWindow(), WM_COMMAND, IDM_EXIT, 0);
    if (WaitForSingleObject(pi_.hProcess, 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return static_cast<long>(code);
}

HWND WaitForDialog(DWORD processId, const wchar_t* title, DWORD timeoutMs) {
    return WaitForWindow(processId, L"#32770", title, timeoutMs);
}

void Capture(HWND window, const std::wstring& name) {
    const char* dir = std::getenv("RC_SCREENSHOT_DIR");
    if (!dir || !*dir) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    // Let the window finish painting, and let what it painted reach the
    // screen: the platform copies a window's drawing to the display while
    // its thread handles messages, not while it sleeps.
    Pump(300);
    RECT r;
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top, stride = (w * 3 + 3) / 4 * 4;
    if (w <= 0 || h <= 0) return;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    // A 24-bit bottom-up BMP: file header, info header, rows padded to four bytes.
    constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPFILEHEADER file{0x4D42, kHeaders + static_cast<DWORD>(stride * h), 0, 0, kHeaders};
    BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info).resize(kHeaders + static_cast<std::size_t>(stride) * h);
    GetDIBits(memory, bitmap, 0, h, bytes.data() + kHeaders, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    WriteBytes(HostPath(dir) + L"\\" + name + L".bmp", bytes);
}

std::vector<std::wstring> IniSection(const wchar_t* file, const wchar_t* section) {
    std::vector<wchar_t> buf(8192, L'\0');
    DWORD n = GetPrivateProfileSectionW(section, buf.data(), static_cast<DWORD>(buf.size()), file);
    std::vector<std::wstring> lines;
    for (DWORD i = 0; i < n; i += static_cast<DWORD>(lines.back().size()) + 1) lines.emplace_back(buf.data() + i);
    return lines;
}

void RestoreIniSection(const wchar_t* file, const wchar_t* section, const std::vector<std::wstring>& lines) {
    std::wstring block;  // "key=value" strings, each ended by a zero, and a zero after the last
    for (const auto& line : lines) block += line + L'\0';
    WritePrivateProfileSectionW(section, block.c_str(), file);
}

std::wstring ReadImagePath() {
    wchar_t buf[1024] = L"";
    DWORD size = sizeof buf - sizeof(wchar_t);
    if (SHGetValueW(HKEY_LOCAL_MACHINE, kServiceKey, L"ImagePath", nullptr, buf, &size) != ERROR_SUCCESS)
        return L"\x01missing";
    return buf;
}

void SetImagePath(const std::wstring& value) { SetMachineText(kServiceKey, L"ImagePath", value.c_str()); }

void DeleteServiceKey() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kServiceKey); }

}  // namespace rctest

#include "shell/shell_win.h"

#include "resources/resource.h"
#include "shell/ini_section.h"
#include "shell/owners_win.h"
#include "shell/shell_logic.h"
#include "shell/text.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>

namespace rc {

ShellState g_shell;

const wchar_t kIniFile[] = L"rcsetup.ini";

void SetEdition(Edition edition) {
    g_shell.edition = edition;
    CopyCut(g_shell.groupName, kNameBuffer, L"Quorvel Brennix");
    CopyCut(g_shell.helpBase, 16, L"BRX");
    if (edition == Edition::Classroom) {
        CopyCut(g_shell.groupName, kNameBuffer, L"Quorvel Tutor");
        CopyCut(g_shell.versionText, 16, L"V1.72");
    } else {
        CopyCut(g_shell.versionText, 16, L"V3.72");
    }
    CopyCut(g_shell.editionName, kNameBuffer, g_shell.groupName);
}

namespace {

// True when this process is a 32-bit one on 64-bit Windows. IsWow64Process
// is looked up at run time: Windows of the NT 4 generation lacks it, and
// there the answer is no.
bool RunsUnderWow64() {
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (!kernel) return false;
    auto isWow64 = reinterpret_cast<IsWow64Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    BOOL wow64 = FALSE;
    return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

// The "Edition" value in one registry view: its text when it is a string of
// up to 15 characters, an empty text when it is held in another form, or
// nothing when the key or the value is missing.
std::optional<std::wstring> ReadEditionValue(RegistryView view) {
    REGSAM access = KEY_READ | (view == RegistryView::View64 ? KEY_WOW64_64KEY : 0);
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Quorvel\\Configurator32", 0, access, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryKey key(raw);
    wchar_t value[16] = L"";
    DWORD type = 0, size = sizeof value - sizeof(wchar_t);
    LONG status = RegQueryValueExW(key.get(), L"Edition", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return std::nullopt;
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::wstring();
    value[15] = L'\0';
    return std::wstring(value);
}

}  // namespace

Edition DecideEdition() {
    constexpr bool process64 = sizeof(void*) == 8;
    bool os64 = process64 || RunsUnderWow64();
    return ReadsClassroomEdition(process64, os64, ReadEditionValue) ? Edition::Classroom : Edition::Default;
}

// ---- Dialog runner ---------------------------------------------------------

DialogTemplate::DialogTemplate(int number) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(number), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!found) return;
    resource_ = LoadResource(nullptr, found);
    if (!resource_) return;
    data_ = LockResource(resource_);
    if (!data_) return;
    const auto* bytes = static_cast<const std::uint8_t*>(data_);
    DWORD size = SizeofResource(nullptr, found);
    bool extended = size >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    if (!extended && size >= 18 && (bytes[0] & DS_SETFONT)) {
        std::vector<std::uint8_t> fixed = FixTemplateFont(bytes, size);
        copy_ = std::malloc(fixed.size());
        if (copy_) std::memcpy(copy_, fixed.data(), fixed.size());
    }
}

DialogTemplate::DialogTemplate(DialogTemplate&& other) noexcept
    : resource_(other.resource_), data_(other.data_), copy_(other.copy_) {
    other.resource_ = nullptr;
    other.data_ = nullptr;
    other.copy_ = nullptr;
}

DialogTemplate LoadDialogTemplate(int number) { return DialogTemplate(number); }

DialogTemplate::~DialogTemplate() {
    std::free(copy_);
    if (resource_) FreeResource(resource_);
}

const DLGTEMPLATE* DialogTemplate::get() const { return static_cast<const DLGTEMPLATE*>(copy_ ? copy_ : data_); }

WORD RunDialog(HWND owner, int number, DLGPROC procedure, LPARAM param, WORD helpContext) {
    DialogTemplate tmpl = LoadDialogTemplate(number);
    if (!tmpl) {
        MessageBeep(0);
        return 0;
    }
    WORD savedContext = g_shell.helpContext;
    HWND savedWindow = g_shell.currentWindow;
    g_shell.helpContext = helpContext;
    INT_PTR result = DialogBoxIndirectParamW(g_shell.instance, tmpl.get(), owner, procedure, param);
    g_shell.helpContext = savedContext;
    g_shell.currentWindow = savedWindow;
    if (result == -1) {
        MessageBeep(0);
        return 0;
    }
    return static_cast<WORD>(result);
}

bool HandleCommonButton(HWND dialog, WORD id, WORD helpContext) {
    if (id == IDCANCEL) {
        EndDialog(dialog, 0);
        return true;
    }
    if (id == IDC_HELPBUTTON && helpContext != 0) {
        ShowHelp(helpContext);
        return true;
    }
    return false;
}

void CentreDialog(HWND dialog) {
    RECT self{}, ownerClient{}, ownerWindow{};
    GetWindowRect(dialog, &self);
    HWND owner = GetParent(dialog);
    if (owner) {
        GetClientRect(owner, &ownerClient);
        GetWindowRect(owner, &ownerWindow);
    }
    Point p = CentrePosition(self.right - self.left, self.bottom - self.top, ownerClient.right - ownerClient.left,
                             ownerClient.bottom - ownerClient.top, ownerWindow.left, ownerWindow.top,
                             GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    SetWindowPos(dialog, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BeginDialog(HWND dialog) {
    g_shell.currentWindow = dialog;
    CentreDialog(dialog);
}

// ---- Services ----------------------------------------------------------------

void ShowHelp(WORD context) {
    std::wstring file = ChooseHelpFile(g_shell.programDirectory, g_shell.helpBase,
                                       [](const std::wstring& p) { return FileExists(p.c_str()); });
    if (context == 0)
        g_shell.winHelp(g_shell.mainWindow, file.c_str(), HELP_QUIT, 0);
    else
        g_shell.winHelp(g_shell.mainWindow, file.c_str(), HELP_CONTEXT, context);
}

std::wstring LoadText(UINT id, int maxChars) {
    std::wstring text(static_cast<std::size_t>(maxChars) + 1, L'\0');
    int n = LoadStringW(g_shell.instance, id, text.data(), maxChars + 1);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

// ---- Message boxes -------------------------------------------------------------

int CaptionedBox(HWND owner, UINT captionId, const std::wstring& text, UINT flags) {
    return MessageBoxW(owner, text.c_str(), LoadText(captionId, kFieldChars).c_str(), flags);
}

int InfoBox(HWND owner, UINT stringId, UINT flags) {
    return CaptionedBox(owner, IDS_INFORMATION, LoadText(stringId), flags);
}
int WarningBox(HWND owner, UINT stringId, UINT flags) {
    return CaptionedBox(owner, IDS_WARNING, LoadText(stringId), flags);
}
int ErrorBox(HWND owner, UINT stringId, UINT flags) {
    return CaptionedBox(owner, IDS_ERROR, LoadText(stringId), flags);
}

std::wstring FormattedString(UINT stringId, std::initializer_list<FormatArg> args) {
    // wvsprintfW writes at most 1024 characters; the messages are far below
    // the 512 that FormatText keeps.
    return FormatText(LoadText(stringId), args, 512);
}

int FormattedBox(HWND owner, UINT captionId, UINT stringId, std::initializer_list<FormatArg> args, UINT flags) {
    return CaptionedBox(owner, captionId, FormattedString(stringId, args), flags);
}

bool FileExists(const wchar_t* path) {
    char ansi[256];
    if (WideToAnsi(path, ansi, sizeof ansi) == 0) return false;
    return GetFileAttributesA(ansi) != INVALID_FILE_ATTRIBUTES;
}

int AnsiToWide(const char* text, wchar_t* buffer, int bufferBytes) {
    int chars = bufferBytes / 2;
    if (chars <= 0) return -1;
    int n = MultiByteToWideChar(GetACP(), 0, text, -1, buffer, chars);
    buffer[chars - 1] = L'\0';
    return n - 1;
}

int WideToAnsi(const wchar_t* text, char* buffer, int bufferBytes) {
    if (bufferBytes <= 0) return 0;
    int n = WideCharToMultiByte(GetACP(), 0, text, -1, buffer, bufferBytes - 1, "?", nullptr);
    // The count includes the terminator when the whole text fitted; a text
    // that did not fit gives 0 and an empty result.
    if (n < 0) n = 0;
    buffer[n] = '\0';
    return n;
}

void MeasureSystemFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font);
    g_shell.systemFontHeight = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

namespace {

// Items found, in the order they were first asked for. A plain scan of a
// few hundred handles costs far less than one platform lookup; when the
// table is full, the oldest entries make room.
struct RememberedItem {
    HWND dialog;
    int id;
    HWND item;
};
RememberedItem g_items[256];
std::size_t g_nextItem = 0;

}  // namespace

HWND DialogItem(HWND dialog, int id) {
    for (const RememberedItem& r : g_items) {
        if (r.item && r.dialog == dialog && r.id == id && IsWindow(r.item) && GetParent(r.item) == dialog &&
            GetWindowLongPtrW(r.item, GWLP_ID) == id)
            return r.item;
    }
    HWND item = GetDlgItem(dialog, id);
    if (item) {
        g_items[g_nextItem] = {dialog, id, item};
        g_nextItem = (g_nextItem + 1) % std::size(g_items);
    }
    return item;
}

LRESULT SendItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = DialogItem(dialog, id);
    return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

void SetItemText(HWND dialog, int id, const wchar_t* text) {
    SendItemMessage(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

std::wstring ItemText(HWND dialog, int id, int maxChars) {
    std::wstring text(static_cast<std::size_t>(maxChars) + 1, L'\0');
    LRESULT n = SendItemMessage(dialog, id, WM_GETTEXT, static_cast<WPARAM>(maxChars) + 1,
                                reinterpret_cast<LPARAM>(text.data()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

void FormatItemText(HWND dialog, int id, std::wstring_view argument) {
    std::wstring format = ItemText(dialog, id);
    std::wstring text = FormatText(format, {argument}, 256);
    SetItemText(dialog, id, text.c_str());
}

std::wstring ReadIniText(const wchar_t* section, const wchar_t* key, int maxChars) {
    std::wstring text(static_cast<std::size_t>(maxChars) + 1, L'\0');
    DWORD n = GetPrivateProfileStringW(section, key, L"", text.data(), static_cast<DWORD>(maxChars) + 1, kIniFile);
    text.resize(n);
    return text;
}

int ReadIniNumber(const wchar_t* section, const wchar_t* key, int fallback) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, kIniFile));
}

IniReader::IniReader(const wchar_t* section) : section_(section) {
    // The section read says that its buffer was too small by filling it up
    // to two characters short of its size.
    for (DWORD size = 1024; size <= 65536 && !whole_; size *= 8) {
        entries_.assign(size, L'\0');
        DWORD n = GetPrivateProfileSectionW(section, entries_.data(), size, kIniFile);
        whole_ = n < size - 2;
        entries_.resize(whole_ ? n : 0);
    }
}

std::wstring IniReader::Text(const wchar_t* key, int maxChars) const {
    if (!whole_) return ReadIniText(section_, key, maxChars);
    return IniSection(entries_).Text(key, static_cast<std::size_t>(maxChars));
}

int IniReader::Number(const wchar_t* key, int fallback) const {
    return whole_ ? IniSection(entries_).Number(key, fallback) : ReadIniNumber(section_, key, fallback);
}

void WriteIniText(const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    WritePrivateProfileStringW(section, key, value, kIniFile);
}

void WriteIniNumber(const wchar_t* section, const wchar_t* key, int value) {
    WriteIniText(section, key, DecimalText(value).c_str());
}

namespace {

const wchar_t kConfiguratorSection[] = L"Configurator";
const wchar_t kDirectoryKey[] = L"Directory";

}  // namespace

std::wstring StoredProgramDirectory() { return ReadIniText(kConfiguratorSection, kDirectoryKey); }

void StoreProgramDirectory(const wchar_t* directory) { WriteIniText(kConfiguratorSection, kDirectoryKey, directory); }

// ---- Fonts, waits, the system ---------------------------------------------------

bool SystemFontIsEastAsian() {
    constexpr BYTE kFirstEastAsianSet = SHIFTJIS_CHARSET;    // 128
    constexpr BYTE kLastEastAsianSet = CHINESEBIG5_CHARSET;  // 136
    LOGFONTW system{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    return system.lfCharSet >= kFirstEastAsianSet && system.lfCharSet <= kLastEastAsianSet;
}

HFONT CreateStockVariantFont(LONG weight, LONG height) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(ANSI_VAR_FONT), sizeof font, &font);
    font.lfWeight = weight;
    if (height != 0) font.lfHeight = height;
    return CreateFontIndirectW(&font);
}

HFONT CreateLightFont(int height, bool keepDialogFont) {
    return keepDialogFont ? nullptr : CreateStockVariantFont(FW_THIN, height);
}

void SetItemsFont(HWND dialog, HFONT font, std::initializer_list<int> ids) {
    if (!font) return;
    for (int id : ids)
        if (HWND item = DialogItem(dialog, id)) SendMessageW(item, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void PumpMessagesFor(DWORD milliseconds) {
    DWORD start = GetTickCount();
    PumpMessagesUntil([] { return false; },
                      [&] {
                          DWORD elapsed = GetTickCount() - start;
                          return elapsed >= milliseconds ? DWORD{0} : milliseconds - elapsed;
                      });
}

int SystemMajorVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExW(&info) ? static_cast<int>(info.dwMajorVersion) : 0;
}

std::wstring ModulePath() {
    constexpr DWORD kPathChars = 255;
    wchar_t path[kPathChars + 1] = L"";
    DWORD n = GetModuleFileNameW(nullptr, path, kPathChars + 1);
    if (n > kPathChars) n = kPathChars;
    path[n] = L'\0';
    return path;
}

}  // namespace rc

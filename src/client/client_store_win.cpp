#include "client/client_store_win.h"

#include "client/client_store.h"
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"

namespace rc {

const wchar_t kClientServiceKey[] = L"SYSTEM\\CurrentControlSet\\Services\\Statn32";

namespace {

const wchar_t kImagePath[] = L"ImagePath";
const wchar_t kClientSection[] = L"Client";

// A registry message: string stringId formatted with args, captioned
// "Configurator ", over the current window.
void RegistryMessage(UINT stringId, std::initializer_list<FormatArg> args) {
    FormattedBox(g_shell.currentWindow, IDS_CONFIGURATOR, stringId, args, MB_OK);
}

// Opens the service key; on failure shows "Client not installed" for a
// missing key and openErrorId with the error number and the key path for
// any other error.
RegistryKey OpenServiceKey(REGSAM access, UINT openErrorId) {
    HKEY raw = nullptr;
    LONG error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kClientServiceKey, 0, access, &raw);
    if (error == ERROR_SUCCESS) return RegistryKey(raw);
    if (error == ERROR_FILE_NOT_FOUND)
        RegistryMessage(IDS_CLIENT_NOT_INSTALLED, {});
    else
        RegistryMessage(openErrorId, {static_cast<long>(error), kClientServiceKey});
    return RegistryKey();
}

void WriteClientInt(const wchar_t* key, int value) { WriteIniNumber(kClientSection, key, value); }

}  // namespace

bool ReadClientOptions(std::wstring* optionText) {
    RegistryKey key = OpenServiceKey(KEY_READ, IDS_REG_OPEN_READ);
    if (!key) return false;
    wchar_t value[kServiceCommandBytes / sizeof(wchar_t)];
    DWORD type = 0;
    DWORD bytes = sizeof value;
    LONG error = RegQueryValueExW(key.get(), kImagePath, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
    if (error != ERROR_SUCCESS) {
        RegistryMessage(IDS_REG_READ, {static_cast<long>(error), kImagePath});
        return false;
    }
    // Only the bytes the registry returned count; a value stored without its
    // terminator ends where they end.
    if (bytes > sizeof value) bytes = sizeof value;
    std::wstring_view command = CommandOfValue(value, bytes);
    if (optionText) optionText->assign(OptionTextOfCommand(command));
    return true;
}

bool WriteClientOptions(const std::wstring& optionText, const std::wstring& programPath) {
    RegistryKey key = OpenServiceKey(KEY_WRITE, IDS_REG_OPEN_WRITE);
    if (!key) return false;
    std::wstring command = ServiceCommand(programPath, optionText);
    DWORD bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    LONG error = RegSetValueExW(key.get(), kImagePath, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                                bytes);
    if (error != ERROR_SUCCESS) {
        RegistryMessage(IDS_REG_WRITE, {static_cast<long>(error), kImagePath});
        return false;
    }
    return true;
}

ClientKeys ReadClientKeys() {
    IniReader client(kClientSection);
    ClientKeys keys;
    keys.serial = client.Number(L"Serial", 0) != 0;
    keys.modem = client.Number(L"Modem", 0);
    keys.baudRate = client.Number(L"BaudRate", 5);
    keys.comPort = client.Number(L"ComPort", 0);
    keys.password = client.Text(L"Password", 31);
    keys.dialback = client.Number(L"Dialback", 0) != 0;
    keys.dialbackFile = client.Text(L"DialbackFile", 31);
    return keys;
}

void WriteClientKeys(const ClientKeys& keys) {
    WriteIniText(kClientSection, L"Serial", keys.serial ? L"1" : L"0");
    WriteClientInt(L"Modem", keys.modem);
    WriteClientInt(L"BaudRate", keys.baudRate);
    WriteClientInt(L"ComPort", keys.comPort);
    WriteIniText(kClientSection, L"Password", keys.password.c_str());
    WriteIniText(kClientSection, L"Dialback", keys.dialback ? L"1" : L"0");
    WriteIniText(kClientSection, L"DialbackFile", keys.dialbackFile.c_str());
}

namespace {

// The service command is read back up to its first space as the program
// path, so the path written must hold none. A directory with spaces is
// written in its short form when the file system has one; otherwise the
// save is refused with a message rather than stored where the next reading
// would take part of the path for options.
bool ServiceProgramPath(HWND dialog, std::wstring* path) {
    if (path->find(L' ') == std::wstring::npos) return true;
    wchar_t shortPath[MAX_PATH] = L"";
    DWORD n = GetShortPathNameW(path->c_str(), shortPath, MAX_PATH);
    if (n > 0 && n < MAX_PATH && std::wstring(shortPath).find(L' ') == std::wstring::npos) {
        *path = shortPath;
        return true;
    }
    FormattedBox(dialog, IDS_ERROR, IDS_PATH_HAS_SPACE, {path->c_str()}, MB_OK);
    return false;
}

}  // namespace

SaveResult SaveClientOptions(HWND dialog, const std::wstring& commandLine, const std::wstring& storedOptions,
                             const ClientKeys& keys) {
    std::wstring programPath;
    if (!LocateProgram(dialog, L"STATN32.EXE", ENTERDIR_CLIENT, &programPath)) return SaveResult::Abandoned;

    if (!EqualsNoCaseAscii(commandLine, storedOptions)) {
        // The command is read back into 512 bytes, so at most 255 characters
        // survive the next reading. A longer command (a long directory and a
        // long Command Line text) is refused here rather than stored where
        // it could not be read again or shortened behind the user's back:
        // the message names the limit and the length needed, nothing is
        // written, and the dialog stays open so that the user can shorten
        // the options or the directory.
        std::size_t needed = ServiceCommand(programPath, commandLine).size();
        if (needed > kServiceCommandMax) {
            FormattedBox(dialog, IDS_ERROR, IDS_COMMAND_TOO_LONG,
                         {static_cast<long long>(kServiceCommandMax), static_cast<long long>(needed)}, MB_OK);
            return SaveResult::Abandoned;
        }
        if (!ServiceProgramPath(dialog, &programPath)) return SaveResult::Abandoned;
        if (!WriteClientOptions(commandLine, programPath)) return SaveResult::WriteFailed;
        if (!g_shell.quiet) {
            std::wstring text = FormattedString(IDS_CHANGED, {L"STATN32", L"the registry"}) + LoadText(IDS_RESTART);
            CaptionedBox(dialog, IDS_INFORMATION, text, MB_ICONINFORMATION | MB_OK);
        }
    }
    WriteClientKeys(keys);
    return SaveResult::Saved;
}

}  // namespace rc

// Where the Client's settings are kept: the option string in the command
// line of the service Statn32 (value "ImagePath" of the key
// HKLM\SYSTEM\CurrentControlSet\Services\Statn32), and the Configurator's
// memory of the serial-link choices in rcsetup.ini [Client]. Also the save
// sequence that the Client Configuration dialog runs on OK.
#pragma once

#include <windows.h>

#include <string>

namespace rc {

// Path of the service key under HKEY_LOCAL_MACHINE. The key is never
// created: without it the Client counts as not installed.
extern const wchar_t kClientServiceKey[];

// Reads the option text out of the service command. False after a message
// when the key cannot be opened (error 2: "Client not installed") or the
// value cannot be read (a value longer than 255 characters gives error 234).
// A command without option text reads as an empty text, successfully.
bool ReadClientOptions(std::wstring* optionText);

// Writes "<programPath> /* <optionText>" as the service command (REG_SZ).
// False after a message when the key cannot be opened or the value cannot be
// set. The caller keeps the whole command within what ReadClientOptions can
// read back (255 characters); SaveClientOptions does.
bool WriteClientOptions(const std::wstring& optionText, const std::wstring& programPath);

// The serial-link memory of rcsetup.ini [Client]. The three list keys hold
// positions in the dialog's lists, -1 for none selected.
struct ClientKeys {
    bool serial = false;        // Serial: the Serial Link radio button
    int modem = 0;              // Modem: position in the Modem list
    int baudRate = 5;           // BaudRate: position, 5 is "19200"
    int comPort = 0;            // ComPort: position, 0 is "COM1"
    std::wstring password;      // Password: the bridge password code, at most 31 characters
    bool dialback = false;      // Dialback
    std::wstring dialbackFile;  // DialbackFile: at most 31 characters

    bool operator==(const ClientKeys&) const = default;
};

// Reads the seven keys; a missing key reads as its default above.
ClientKeys ReadClientKeys();
// Writes the seven keys in the order Serial, Modem, BaudRate, ComPort,
// Password, Dialback, DialbackFile; numbers as decimal text.
void WriteClientKeys(const ClientKeys& keys);

enum class SaveResult {
    Saved,        // close the dialog with 1
    WriteFailed,  // the registry write failed after its message: close with 0
    Abandoned,    // nothing saved; the dialog stays open
};

// The save sequence of the Client Configuration dialog's OK:
//  1. find STATN32.EXE in [Configurator] Directory, asking through the
//     Enter Directory dialog; Cancel there abandons the save;
//  2. when commandLine differs from storedOptions (letters A-Z compared
//     without case), write it to the service command, refusing first a
//     command too long to be read back; report the change unless quiet;
//  3. write the [Client] keys, whether or not the registry was written.
SaveResult SaveClientOptions(HWND dialog, const std::wstring& commandLine, const std::wstring& storedOptions,
                             const ClientKeys& keys);

}  // namespace rc

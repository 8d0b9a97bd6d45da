// The Client settings store against the registry and the Windows directory
// of the test's own Wine prefix: reading the option text out of the service
// command, the registry messages, the [Client] keys and the save sequence
// with its prompts and boxes.
#include "client/client_store_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

const wchar_t kKeyPath[] = L"SYSTEM\\CurrentControlSet\\Services\\Statn32";
const wchar_t kRcsetup[] = L"rcsetup.ini";
const wchar_t kMissing[] = L"\x01missing";

// The registry value as stored: its text, or kMissing without key or value.
std::wstring StoredImagePath() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return kMissing;
    std::vector<wchar_t> buf(4096, L'\0');
    DWORD bytes = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t)), type = 0;
    LONG r = RegQueryValueExW(key, L"ImagePath", nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &bytes);
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) return kMissing;
    return std::wstring(buf.data(), bytes / sizeof(wchar_t)).c_str();
}

// Creates the key when needed and stores `bytes` bytes of value (by
// default the text with its terminator).
void StoreImagePath(const std::wstring& value, DWORD bytes = 0) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (bytes == 0) bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(RegSetValueExW(key, L"ImagePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void DeleteServiceKey() { RegDeleteKeyW(HKEY_LOCAL_MACHINE, kKeyPath); }

// A whole INI section as "key=value" lines in file order; empty when absent.
std::vector<std::wstring> Section(const wchar_t* file, const wchar_t* section) {
    std::vector<wchar_t> buf(8192, L'\0');
    DWORD n = GetPrivateProfileSectionW(section, buf.data(), static_cast<DWORD>(buf.size()), file);
    std::vector<std::wstring> lines;
    for (DWORD i = 0; i < n;) {
        std::wstring line(buf.data() + i);
        lines.push_back(line);
        i += static_cast<DWORD>(line.size()) + 1;
    }
    return lines;
}

void RestoreSection(const wchar_t* file, const wchar_t* section, const std::vector<std::wstring>& lines) {
    WritePrivateProfileStringW(section, nullptr, nullptr, file);
    for (const auto& line : lines) {
        std::size_t eq = line.find(L'=');
        WritePrivateProfileStringW(section, line.substr(0, eq).c_str(),
                                   eq == std::wstring::npos ? L"" : line.substr(eq + 1).c_str(), file);
    }
}

const std::wstring kChangedText =
    L"STATN32 entry in the registry successfully changed.\n\n"
    L"For the changes to take effect Windows NT should be restarted.  Alternatively, you can stop and restart "
    L"the STATN32 service from Control Panel - Services.";

class ClientStore : public testing::Test {
protected:
    void SetUp() override {
        savedValue_ = StoredImagePath();
        savedClient_ = Section(kRcsetup, L"Client");
        savedConfigurator_ = Section(kRcsetup, L"Configurator");
        savedQuiet_ = g_shell.quiet;
        g_shell.quiet = false;
        WritePrivateProfileStringW(L"Client", nullptr, nullptr, kRcsetup);

        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"rc-store-test";
        CreateDirectoryW(dir_.c_str(), nullptr);
        HANDLE h = CreateFileW(Program().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
        rc::WriteIniText(L"Configurator", L"Directory", dir_.c_str());
    }
    void TearDown() override {
        DeleteServiceKey();
        if (savedValue_ != kMissing) StoreImagePath(savedValue_);
        RestoreSection(kRcsetup, L"Client", savedClient_);
        RestoreSection(kRcsetup, L"Configurator", savedConfigurator_);
        g_shell.quiet = savedQuiet_;
        DeleteFileW(Program().c_str());
        RemoveDirectoryW(dir_.c_str());
        EXPECT_EQ(driver_.Pending(), 0u) << "a box the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a box opened that the test did not expect";
    }
    std::wstring Program() const { return dir_ + L"\\STATN32.EXE"; }
    // Answers the next box, which must show `text` under `caption`.
    void ExpectBox(const std::wstring& caption, const std::wstring& text) {
        driver_.Then([caption, text](HWND box) {
            EXPECT_EQ(Title(box), caption);
            EXPECT_EQ(MessageBoxText(box), text);
            Press(box, IDOK);
        });
    }
    // [Client] with sentinel values, to see that a failed save leaves it.
    static void SeedClientSection() {
        WritePrivateProfileStringW(L"Client", L"Serial", L"7", kRcsetup);
        WritePrivateProfileStringW(L"Client", L"Password", L"seed", kRcsetup);
    }
    static std::vector<std::wstring> SeededSection() { return {L"Serial=7", L"Password=seed"}; }

    DialogDriver driver_;
    std::wstring dir_;
    std::wstring savedValue_;
    std::vector<std::wstring> savedClient_, savedConfigurator_;
    bool savedQuiet_ = false;
};

TEST_F(ClientStore, ReadsTheOptionTextAfterTheSecondWord) {
    const std::wstring path = L"C:\\PROGRA~1\\Quorvel\\STATN32.EXE";
    const std::wstring fill(255 - path.size() - 4, L'X');
    struct Case {
        std::wstring value;
        std::wstring options;
    } cases[] = {
        {path + L" /* BOB /UIP", L"BOB /UIP"},
        {path + L" /*  BOB /UIP", L" BOB /UIP"},        // further leading spaces are kept
        {path + L"    /* BOB  /UIP ", L"BOB  /UIP "},   // spaces before the second word are skipped
        {path + L" -x BOB", L"BOB"},                   // the second word is not checked
        {path, L""},                                   // no space
        {path + L" /*", L""},                          // one space: path and one word
        {path + L"   ", L""},                          // spaces but no second word
        {path + L" /* ", L""},
        {L"", L""},
        {path + L" /* " + fill, fill},                 // 255 characters: the longest readable
    };
    for (const auto& c : cases) {
        StoreImagePath(c.value);
        std::wstring text = L"before";
        EXPECT_TRUE(rc::ReadClientOptions(&text)) << testing::PrintToString(c.value);
        EXPECT_EQ(text, c.options) << testing::PrintToString(c.value);
    }
}

TEST_F(ClientStore, ReadsAValueStoredWithoutItsTerminator) {
    // A value set without its terminator reads as the characters stored.
    // (Wine answers a 512-byte unterminated value with error 234, so the
    // full-buffer case is covered by the core test of CommandOfValue.)
    StoreImagePath(L"C:\\S.EXE /* AB", 14 * sizeof(wchar_t));
    std::wstring text;
    EXPECT_TRUE(rc::ReadClientOptions(&text));
    EXPECT_EQ(text, L"AB");
}

TEST_F(ClientStore, ReadFailuresShowTheirRegistryMessage) {
    StoreImagePath(L"C:\\S.EXE /* " + std::wstring(288, L'A'));  // 300 characters
    ExpectBox(L"Configurator ", L"Error 234 reading registry value ImagePath");
    std::wstring text = L"untouched";
    EXPECT_FALSE(rc::ReadClientOptions(&text));
    EXPECT_EQ(driver_.Pending(), 0u);

    // The key without the value.
    DeleteServiceKey();
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ExpectBox(L"Configurator ", L"Error 2 reading registry value ImagePath");
    EXPECT_FALSE(rc::ReadClientOptions(&text));

    DeleteServiceKey();
    ExpectBox(L"Configurator ", L"Client not installed");
    EXPECT_FALSE(rc::ReadClientOptions(&text));
}

TEST_F(ClientStore, WriteStoresTheCommandWithItsTerminator) {
    StoreImagePath(L"old");
    EXPECT_TRUE(rc::WriteClientOptions(L"BOB /UIP ", L"C:\\B\\STATN32.EXE"));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    wchar_t buf[64] = L"";
    DWORD bytes = sizeof buf, type = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"ImagePath", nullptr, &type, reinterpret_cast<BYTE*>(buf), &bytes),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    std::wstring expected = L"C:\\B\\STATN32.EXE /* BOB /UIP ";
    EXPECT_EQ(bytes, (expected.size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(std::wstring(buf), expected);

    DeleteServiceKey();
    ExpectBox(L"Configurator ", L"Client not installed");
    EXPECT_FALSE(rc::WriteClientOptions(L"BOB", L"C:\\B\\STATN32.EXE"));
    EXPECT_EQ(StoredImagePath(), kMissing);  // the key is never created
}

TEST_F(ClientStore, ClientKeysReadTheirDefaultsAndRoundTrip) {
    EXPECT_EQ(rc::ReadClientKeys(), (rc::ClientKeys{false, 0, 5, 0, L"", false, L""}));

    rc::ClientKeys keys{true, 2, 8, 3, L"4211", true, L"DIALBACK.TXT"};
    rc::WriteClientKeys(keys);
    EXPECT_EQ(Section(kRcsetup, L"Client"),
              (std::vector<std::wstring>{L"Serial=1", L"Modem=2", L"BaudRate=8", L"ComPort=3", L"Password=4211",
                                         L"Dialback=1", L"DialbackFile=DIALBACK.TXT"}));
    EXPECT_EQ(rc::ReadClientKeys(), keys);

    // Nothing selected is written as -1 and reads back as -1.
    rc::ClientKeys none{false, -1, -1, -1, L"", false, L""};
    rc::WriteClientKeys(none);
    EXPECT_EQ(Section(kRcsetup, L"Client"),
              (std::vector<std::wstring>{L"Serial=0", L"Modem=-1", L"BaudRate=-1", L"ComPort=-1", L"Password=",
                                         L"Dialback=0", L"DialbackFile="}));
    EXPECT_EQ(rc::ReadClientKeys(), none);

    // The two texts are read as at most 31 characters; any non-zero number
    // turns the flags on.
    WritePrivateProfileStringW(L"Client", L"Password", std::wstring(40, L'7').c_str(), kRcsetup);
    WritePrivateProfileStringW(L"Client", L"DialbackFile", (std::wstring(35, L'F') + L".TXT").c_str(), kRcsetup);
    WritePrivateProfileStringW(L"Client", L"Serial", L"2", kRcsetup);
    WritePrivateProfileStringW(L"Client", L"Dialback", L"5", kRcsetup);
    rc::ClientKeys cut = rc::ReadClientKeys();
    EXPECT_EQ(cut.password, std::wstring(31, L'7'));
    EXPECT_EQ(cut.dialbackFile, std::wstring(31, L'F'));
    EXPECT_TRUE(cut.serial);
    EXPECT_TRUE(cut.dialback);
}

TEST_F(ClientStore, SaveOfATextEqualBarTheCaseOfLettersWritesOnlyTheKeys) {
    const std::wstring stored = L"C:\\OLD\\STATN32.EXE /* BOB /UIP";
    StoreImagePath(stored);
    rc::ClientKeys keys{true, -1, 4, 1, L"99", false, L""};
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, L"bob /uip", L"BOB /UIP", keys), rc::SaveResult::Saved);
    EXPECT_EQ(StoredImagePath(), stored);  // the old directory stays too: nothing was written
    EXPECT_EQ(rc::ReadClientKeys(), keys);
}

TEST_F(ClientStore, SaveOfAChangedTextWritesItReportsAndWritesTheKeys) {
    struct Case {
        std::wstring commandLine;
        std::wstring storedOptions;
    } cases[] = {
        {L"NEW /UIP ", L"BOB /UIP "},
        {L"BOB /UIP", L"BOB /UIP "},           // a trailing space is a difference
        {L"BOB \u00E9", L"BOB \u00C9"},        // only A-Z are compared without case
        {L"BOB", L""},
    };
    for (const auto& c : cases) {
        StoreImagePath(L"C:\\OLD\\STATN32.EXE /* " + c.storedOptions);
        WritePrivateProfileStringW(L"Client", nullptr, nullptr, kRcsetup);
        ExpectBox(L"Information", kChangedText);
        rc::ClientKeys keys{false, 1, 2, 3, L"", true, L"DB.TXT"};
        EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, c.commandLine, c.storedOptions, keys),
                  rc::SaveResult::Saved);
        EXPECT_EQ(driver_.Pending(), 0u);
        EXPECT_EQ(StoredImagePath(), Program() + L" /* " + c.commandLine);
        EXPECT_EQ(rc::ReadClientKeys(), keys);
    }

    // Quiet: the same write without the box.
    g_shell.quiet = true;
    StoreImagePath(L"C:\\OLD\\STATN32.EXE /* BOB");
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, L"QUIET /UIP", L"BOB", rc::ClientKeys{}),
              rc::SaveResult::Saved);
    EXPECT_EQ(StoredImagePath(), Program() + L" /* QUIET /UIP");
}

TEST_F(ClientStore, FailedWriteReportsAndLeavesTheClientSection) {
    DeleteServiceKey();
    SeedClientSection();
    ExpectBox(L"Configurator ", L"Client not installed");
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, L"NEW", L"OLD", rc::ClientKeys{true, 1, 1, 1, L"1", true, L"F"}),
              rc::SaveResult::WriteFailed);
    EXPECT_EQ(Section(kRcsetup, L"Client"), SeededSection());
    EXPECT_EQ(StoredImagePath(), kMissing);
}

TEST_F(ClientStore, CommandTooLongToReadBackIsRefusedAndNothingIsWritten) {
    const std::size_t prefix = Program().size() + 4;  // "<program> /* "
    ASSERT_LT(prefix, 200u);
    const std::wstring stored = L"C:\\OLD\\STATN32.EXE /* OLD";
    StoreImagePath(stored);
    SeedClientSection();

    std::wstring tooLong(256 - prefix, L'L');
    ExpectBox(L"Error",
              L"The command line is too long: the STATN32 entry in the registry can hold 255 characters, and this "
              L"one needs 256.\n\nShorten the options or the program directory; nothing was changed.");
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, tooLong, L"OLD", rc::ClientKeys{}),
              rc::SaveResult::Abandoned);
    EXPECT_EQ(StoredImagePath(), stored);
    EXPECT_EQ(Section(kRcsetup, L"Client"), SeededSection());

    // One character less is the longest command that is stored, and it
    // reads back whole.
    std::wstring longest(255 - prefix, L'L');
    g_shell.quiet = true;
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, longest, L"OLD", rc::ClientKeys{}), rc::SaveResult::Saved);
    EXPECT_EQ(StoredImagePath().size(), 255u);
    std::wstring text;
    EXPECT_TRUE(rc::ReadClientOptions(&text));
    EXPECT_EQ(text, longest);

    // An unchanged text is not written, so its length is not checked.
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, tooLong, tooLong, rc::ClientKeys{}), rc::SaveResult::Saved);
    EXPECT_EQ(StoredImagePath().size(), 255u);
}

TEST_F(ClientStore, MissingProgramPromptsCancelAbandonsOkRetries) {
    const std::wstring stored = L"C:\\OLD\\STATN32.EXE /* OLD";
    StoreImagePath(stored);
    SeedClientSection();
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\nowhere");
    driver_.Then([](HWND dialog) {
        EXPECT_EQ(Title(dialog), L"Enter Directory");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, L"NEW", L"OLD", rc::ClientKeys{}), rc::SaveResult::Abandoned);
    EXPECT_EQ(StoredImagePath(), stored);
    EXPECT_EQ(Section(kRcsetup, L"Client"), SeededSection());

    // Naming the right directory carries on with the save, under that path.
    driver_.Then([this](HWND dialog) {
        SetText(dialog, IDC_DIRECTORY, dir_);
        Press(dialog, IDOK);
    });
    ExpectBox(L"Information", kChangedText);
    EXPECT_EQ(rc::SaveClientOptions(g_shell.mainWindow, L"NEW", L"OLD", rc::ClientKeys{}), rc::SaveResult::Saved);
    EXPECT_EQ(StoredImagePath(), Program() + L" /* NEW");
    EXPECT_EQ(rc::ReadClientKeys(), rc::ClientKeys{});
}

}  // namespace

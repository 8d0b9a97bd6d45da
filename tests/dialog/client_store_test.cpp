// The Client settings store against the registry and rcsetup.ini of the
// test's own Wine prefix: reading the option text out of the service
// command, the [Client] keys and the save sequence with its prompts and
// boxes. The messages of a missing key and an overlong value are seen as
// the Client dialog opens (ClientDialog).
#include "client/client_store_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

using namespace rctest;
using rc::g_shell;
using rc::SaveResult;

namespace {

const wchar_t kDir[] = L"C:\\rc-store-test";
const std::wstring kProgram = std::wstring(kDir) + L"\\STATN32.EXE";
const std::wstring kChangedText =
    L"STATN32 entry in the registry successfully changed.\n\n"
    L"For the changes to take effect Windows NT should be restarted.  Alternatively, you can stop and restart "
    L"the STATN32 service from Control Panel - Services.";
const std::vector<std::wstring> kSeeded = {L"Serial=7", L"Password=seed"};

class ClientStore : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_shell.quiet = false;
        CreateDirectoryW(kDir, nullptr);
        WriteBytes(kProgram, "MZ");
        rc::WriteIniText(L"Configurator", L"Directory", kDir);
        // [Client] with sentinel values, to see that a failed save leaves it.
        RestoreIniSection(rc::kIniFile, L"Client", kSeeded);
        SetImagePath(L"C:\\OLD\\STATN32.EXE /* OLD");
    }
    void TearDown() override {
        DeleteServiceKey();
        DeleteTree(kDir);
        g_shell.quiet = false;
        DialogTest::TearDown();
    }
    SaveResult Save(const std::wstring& line, const std::wstring& stored, const rc::ClientKeys& keys = {}) {
        return rc::SaveClientOptions(g_shell.mainWindow, line, stored, keys);
    }
};

TEST_F(ClientStore, ClientKeysReadTheirDefaultsAndRoundTrip) {
    WritePrivateProfileStringW(L"Client", nullptr, nullptr, rc::kIniFile);
    EXPECT_EQ(rc::ReadClientKeys(), (rc::ClientKeys{false, 0, 5, 0, L"", false, L""}));
    rc::ClientKeys none{false, -1, -1, -1, L"", false, L""};  // nothing selected
    rc::WriteClientKeys(none);
    EXPECT_EQ(IniSection(rc::kIniFile, L"Client"),
              (std::vector<std::wstring>{L"Serial=0", L"Modem=-1", L"BaudRate=-1", L"ComPort=-1", L"Password=",
                                         L"Dialback=0", L"DialbackFile="}));
    EXPECT_EQ(rc::ReadClientKeys(), none);
    // Texts are read as at most 31 characters; any non-zero number is on.
    RestoreIniSection(rc::kIniFile, L"Client",
                      {L"Serial=2", L"Dialback=5", L"Password=" + std::wstring(40, L'7'), L"DialbackFile=" + std::wstring(35, L'F')});
    EXPECT_EQ(rc::ReadClientKeys(), (rc::ClientKeys{true, 0, 5, 0, std::wstring(31, L'7'), true, std::wstring(31, L'F')}));
}

TEST_F(ClientStore, SaveWritesAChangedTextWithItsBoxAndTheKeysButAnEqualOneOnlyTheKeys) {
    struct Case {
        std::wstring line, stored;
        bool quiet, written;
    } cases[] = {
        {L"bob /uip", L"BOB /UIP", false, false},  // equal bar the case of letters
        {L"BOB /UIP", L"BOB /UIP ", false, true},
        {L"QUIET /UIP", L"BOB", true, true},
    };
    for (const auto& c : cases) {
        SetImagePath(L"C:\\OLD\\STATN32.EXE /* " + c.stored);
        g_shell.quiet = c.quiet;
        if (c.written && !c.quiet) driver_.Box(L"Information: " + kChangedText);
        rc::ClientKeys keys{true, 1, 2, 3, L"99", true, L"DB.TXT"};
        EXPECT_EQ(Save(c.line, c.stored, keys), SaveResult::Saved);
        EXPECT_EQ(ReadImagePath(), c.written ? kProgram + L" /* " + c.line : L"C:\\OLD\\STATN32.EXE /* " + c.stored);
        EXPECT_EQ(rc::ReadClientKeys(), keys);
    }
}

TEST_F(ClientStore, FailedOrRefusedSaveLeavesTheValueAndTheClientSection) {
    const std::size_t prefix = kProgram.size() + 4;  // "<program> /* "
    // One character more than the value can hold, read back, is refused.
    driver_.Box(L"Error: The command line is too long: the STATN32 entry in the registry can hold 255 characters, and this "
              L"one needs 256.\n\nShorten the options or the program directory; nothing was changed.");
    EXPECT_EQ(Save(std::wstring(256 - prefix, L'L'), L"OLD"), SaveResult::Abandoned);
    // No program in the directory: Cancel in the prompt abandons.
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\nowhere");
    driver_.Dialog(L"Enter Directory", IDCANCEL);
    EXPECT_EQ(Save(L"NEW", L"OLD"), SaveResult::Abandoned);
    EXPECT_EQ(ReadImagePath(), L"C:\\OLD\\STATN32.EXE /* OLD");
    EXPECT_EQ(IniSection(rc::kIniFile, L"Client"), kSeeded);
    // No key: the write fails with its message.
    rc::WriteIniText(L"Configurator", L"Directory", kDir);
    DeleteServiceKey();
    driver_.Box(L"Configurator : Client not installed");
    EXPECT_EQ(Save(L"NEW", L"OLD", rc::ClientKeys{true, 1, 1, 1, L"1", true, L"F"}), SaveResult::WriteFailed);
    EXPECT_EQ(ReadImagePath(), L"\x01missing");  // the key is never created
    EXPECT_EQ(IniSection(rc::kIniFile, L"Client"), kSeeded);
}

TEST_F(ClientStore, TheLongestCommandIsReadBackANamedDirectoryCarriesTheSaveOnAndAMissingValueIsReported) {
    const std::wstring longest(255 - kProgram.size() - 4, L'L');
    g_shell.quiet = true;
    EXPECT_EQ(Save(longest, L"OLD"), SaveResult::Saved);
    std::wstring text;
    EXPECT_TRUE(rc::ReadClientOptions(&text));
    EXPECT_EQ(text, longest);
    HKEY key = nullptr;
    DWORD type = 0, bytes = 0;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, rc::kClientServiceKey, 0, KEY_READ, &key);
    RegQueryValueExW(key, L"ImagePath", nullptr, &type, nullptr, &bytes);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, 256 * sizeof(wchar_t));  // with its terminator
    g_shell.quiet = false;
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\nowhere");
    driver_.Dialog(L"Enter Directory", IDOK, IDC_DIRECTORY, kDir);
    driver_.Box(L"Information: " + kChangedText);
    EXPECT_EQ(Save(L"NEW", L"OLD"), SaveResult::Saved);
    EXPECT_EQ(ReadImagePath(), kProgram + L" /* NEW");
    // The key without the value is reported when read.
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, rc::kClientServiceKey, 0, KEY_WRITE, &key);
    RegDeleteValueW(key, L"ImagePath");
    RegCloseKey(key);
    driver_.Box(L"Configurator : Error 2 reading registry value ImagePath");
    EXPECT_FALSE(rc::ReadClientOptions(&text));
}

}  // namespace

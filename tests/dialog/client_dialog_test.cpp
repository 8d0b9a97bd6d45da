// The Client settings store and the Client Configuration dialog
// in-process, against the registry and rcsetup.ini of the test's own Wine
// prefix: reading the option text out of the service command, the [Client]
// keys and the save sequence with its prompts and boxes; the dialog opened
// on stored option strings, driven through its controls and saved. The
// option rules themselves are the core's; here each control is seen to feed
// them.
#include "client/client_dialog_win.h"
#include "client/client_store_win.h"
#include "client/option_list_win.h"
#include "dialback/password_code.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "transport/transport_win.h"

#include <shlwapi.h>

using namespace rctest;
using rc::g_shell;
using rc::SaveResult;

namespace {

// NetBIOS present, every adapter NetBEUI on a network card.
UCHAR APIENTRY FakeNetbios(PNCB ncb) {
    if (ncb->ncb_command == 0x7F) return ncb->ncb_retcode = NRC_ILLCMD;
    if (ncb->ncb_command == NCBASTAT && ncb->ncb_length >= sizeof(ADAPTER_STATUS)) {
        auto* status = reinterpret_cast<ADAPTER_STATUS*>(ncb->ncb_buffer);
        status->adapter_type = 0xFD;
        status->adapter_address[5] = 0x33;
    }
    return ncb->ncb_retcode = NRC_GOODRET;
}
bool Found() { return true; }

const wchar_t kStation[] = L"C:\\rc-client-station";
const std::wstring kProgram = std::wstring(kStation) + L"\\STATN32.EXE";
const std::wstring kChangedText =
    L"STATN32 entry in the registry successfully changed.\n\n"
    L"For the changes to take effect Windows NT should be restarted.  Alternatively, you can stop and restart "
    L"the STATN32 service from Control Panel - Services.";
const std::vector<std::wstring> kSeeded = {L"Serial=7", L"Password=seed"};

// A station directory holding STATN32.EXE, stored as the program directory;
// [Client] with sentinel values, to see that a failed save leaves it.
class ClientStore : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        g_shell.quiet = false;
        CreateDirectoryW(kStation, nullptr);
        WriteBytes(kProgram, "MZ");
        rc::WriteIniText(L"Configurator", L"Directory", kStation);
        RestoreIniSection(rc::kIniFile, L"Client", kSeeded);
        SetImagePath(L"C:\\OLD\\STATN32.EXE /* OLD");
    }
    void TearDown() override {
        DeleteServiceKey();
        DeleteTree(kStation);
        g_shell.quiet = false;
        DialogTest::TearDown();
    }
    SaveResult Save(const std::wstring& line, const std::wstring& stored, const rc::ClientKeys& keys = {}) {
        return rc::SaveClientOptions(g_shell.mainWindow, line, stored, keys);
    }
};

// The same station with every stack found and the three Client modules,
// [Client] empty.
class ClientDialog : public ClientStore {
protected:
    void SetUp() override {
        ClientStore::SetUp();
        rc::g_network = rc::NetworkPlatform{Found, Found, Found, FakeNetbios};
        g_shell.clientHeld = {};
        InstallModules({L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"});
        WritePrivateProfileStringW(L"Client", nullptr, nullptr, rc::kIniFile);
    }
    WORD Run(const std::wstring& stored) {
        SetImagePath(L"C:\\X\\STATN32.EXE /* " + stored);
        return rc::RunClientConfiguration(g_shell.mainWindow, &g_shell.clientHeld);
    }
    static HWND Option(HWND dialog, int n) { return GetDlgItem(GetDlgItem(dialog, IDC_CL_OPTIONS), IDC_OPTION_FIRST + n); }
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
    RestoreIniSection(
        rc::kIniFile, L"Client",
        {L"Serial=2", L"Dialback=5", L"Password=" + std::wstring(40, L'7'), L"DialbackFile=" + std::wstring(35, L'F')});
    EXPECT_EQ(rc::ReadClientKeys(),
              (rc::ClientKeys{true, 0, 5, 0, std::wstring(31, L'7'), true, std::wstring(31, L'F')}));
}

// One reading of the whole section answers every key as the platform's
// single-key reads do: quotes, blanks, signs, junk, overflow, empty values,
// a name without "=", a repeated name and sections too long for one read
// (filler ahead of the keys: none, more than the first buffer, more than
// any). The file is written as it stands, as a user's editor leaves it.
TEST_F(ClientStore, TheWholeSectionAnswersAsTheSingleKeyReads) {
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring file = std::wstring(windows) + L"\\" + rc::kIniFile;
    const std::string saved = ReadBytes(file);
    for (std::size_t filler : {0, 9000, 70000}) {
        for (const char* value : {"12", "-3", "+4", " 5 ", "\"6\"", "'7'", "\"8", "9x", "", "\"\"", "4294967297",
                                  "-2147483649", "00000000000000000000000000000123", "a=b",
                                  "\"0123456789012345678901234567890123456789\""}) {
            WriteBytes(file, "[Client]\r\nFiller=" + std::string(filler, 'f') + "\r\n Modem = " + value +
                                 "\r\nmodem=99\r\nSerial\r\nSerial=5\r\nPassword\t=" + value + "\r\n");
            rc::IniReader client(L"Client");
            SCOPED_TRACE(std::string(value) + " after " + std::to_string(filler));
            EXPECT_EQ(std::tuple(client.Number(L"MODEM", -8), client.Number(L"Serial", -8), client.Number(L"Absent", -8)),
                      std::tuple(rc::ReadIniNumber(L"Client", L"Modem", -8), rc::ReadIniNumber(L"Client", L"Serial", -8), -8));
            EXPECT_EQ(std::pair(client.Text(L"Password", 31), client.Text(L"Serial", 31)),
                      std::pair(rc::ReadIniText(L"Client", L"Password", 31), rc::ReadIniText(L"Client", L"Serial", 31)));
        }
    }
    WriteBytes(file, saved);
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
    driver_.Box(
        L"Error: The command line is too long: the STATN32 entry in the registry can hold 255 characters, and this "
        L"one needs 256.\n\nShorten the options or the program directory; nothing was changed.");
    EXPECT_EQ(Save(std::wstring(256 - prefix, L'L'), L"OLD"), SaveResult::Abandoned);
    // No program in the directory: Cancel in the prompt abandons and keeps the directory.
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\nowhere");
    driver_.Dialog(L"Enter Directory", IDCANCEL, IDC_DIRECTORY, kStation);
    EXPECT_EQ(Save(L"NEW", L"OLD"), SaveResult::Abandoned);
    EXPECT_EQ(rc::ReadIniText(L"Configurator", L"Directory"), L"C:\\nowhere");
    EXPECT_EQ(ReadImagePath(), L"C:\\OLD\\STATN32.EXE /* OLD");
    EXPECT_EQ(IniSection(rc::kIniFile, L"Client"), kSeeded);
    // No key: the write fails with its message.
    rc::WriteIniText(L"Configurator", L"Directory", kStation);
    DeleteServiceKey();
    driver_.Box(L"Configurator : Client not installed");
    EXPECT_EQ(Save(L"NEW", L"OLD", rc::ClientKeys{true, 1, 1, 1, L"1", true, L"F"}), SaveResult::WriteFailed);
    EXPECT_EQ(ReadImagePath(), L"\x01missing");  // the key is never created
    EXPECT_EQ(IniSection(rc::kIniFile, L"Client"), kSeeded);
}

// The prompt asks until the named directory holds the program; one with
// spaces is written in its short form.
TEST_F(ClientStore, TheLongestCommandIsReadBackANamedDirectoryCarriesTheSaveOnAndAMissingValueIsReported) {
    const std::wstring longest(255 - kProgram.size() - 4, L'L');
    g_shell.quiet = true;
    EXPECT_EQ(Save(longest, L"OLD"), SaveResult::Saved);
    std::wstring text;
    EXPECT_TRUE(rc::ReadClientOptions(&text));
    EXPECT_EQ(text, longest);
    DWORD type = 0, bytes = 0;
    SHGetValueW(HKEY_LOCAL_MACHINE, rc::kClientServiceKey, L"ImagePath", &type, nullptr, &bytes);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, 256 * sizeof(wchar_t));  // with its terminator
    g_shell.quiet = false;
    const std::wstring spaced = L"C:\\rc client station";
    CreateDirectoryW(spaced.c_str(), nullptr);
    WriteBytes(spaced + L"\\STATN32.EXE", "MZ");
    rc::WriteIniText(L"Configurator", L"Directory", L"C:\\nowhere");
    for (const std::wstring& answer : {std::wstring(L"C:\\still-nowhere"), spaced + L"\\"})
        driver_.Dialog(L"Enter Directory", IDOK, IDC_DIRECTORY, answer);
    driver_.Box(L"Information: " + kChangedText);
    EXPECT_EQ(Save(L"NEW", L"OLD"), SaveResult::Saved);
    EXPECT_EQ(ReadImagePath(), L"C:\\RC_C~AGG\\STATN32.EXE /* NEW");
    DeleteTree(spaced);
    // The key without the value is reported when read.
    SHDeleteValueW(HKEY_LOCAL_MACHINE, rc::kClientServiceKey, L"ImagePath");
    driver_.Box(L"Configurator : Error 2 reading registry value ImagePath");
    EXPECT_FALSE(rc::ReadClientOptions(&text));
}

TEST_F(ClientDialog, OpensOnTheStoredStringAndComposesFromItsControls) {
    driver_.Then([](HWND d) {
        EXPECT_EQ(Look(d, {IDC_CL_NAME, IDC_CL_TRANSPORT, IDC_CL_ADAPTER, IDC_CL_COMMAND_LINE}),
                  L"BOB|NetBIOS|3: NetBEUI|BOB 0042 /UNB /A3 /I /P /Z /X /c ");
        std::vector<bool> on;
        for (int n = 0; n < 11; ++n) on.push_back(rc::GetOptionItem(GetDlgItem(d, IDC_CL_OPTIONS), IDC_OPTION_FIRST + n));
        EXPECT_EQ(on, (std::vector<bool>{true, false, false, false, false, true, true, false, false, true, true}));
        EXPECT_FALSE(IsWindowEnabled(Option(d, 5)));  // greyed rows still compose
        EXPECT_EQ(Title(Option(d, 4)), L"Logoff On Disconnect");
        // Public When Logged Off enables the public password; unchecking it
        // disables the field and drops /X.
        EXPECT_TRUE(Enabled(d, IDC_CL_PUBLIC_PASSWORD));
        SendMessageW(Option(d, 9), BM_CLICK, 0, 0);
        EXPECT_FALSE(Enabled(d, IDC_CL_PUBLIC_PASSWORD));
        SendMessageW(Option(d, 1), BM_CLICK, 0, 0);
        SetText(d, IDC_CL_NAME, L"ANN");
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"ANN 0042 /UNB /A3 /I /F /P /Z /c ");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(L"bob 0042 /UNB /A3 /I /P /Z /c /X"), 0);
    // The stored name is upper-cased by the system's mapping, beyond Latin-1 too.
    driver_.Then([](HWND d) {
        EXPECT_EQ(Text(d, IDC_CL_NAME), L"\u017b\u00d3\u0141W\u0411\u041e\u0420");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(L"\u017c\u00f3\u0142w\u0431\u043e\u0440 /UIP"), 0);
    // Without a name or a transport the dialog closes at once, silently.
    for (const wchar_t* stored : {L"/UIP /I", L"BOB /UXX", L"   "}) EXPECT_EQ(Run(stored), 0) << stored;
}

TEST_F(ClientDialog, TransportChoiceGreysTheAdapterAndTheSerialLink) {
    driver_.Then([](HWND d) {
        // The bridge part is shown (the greyed Bridge box is checked) but no longer composed.
        EXPECT_EQ(Look(d, {IDC_CL_BRIDGE, IDC_CL_PORT, IDC_CL_BAUD, IDC_CL_BRIDGE_PASSWORD, IDC_CL_COMMAND_LINE}),
                  L"~[x]|COM2|9600|77|BOB /UNB /A2 ");
        struct Step {
            int transport;
            bool adapter, serial;
            const wchar_t* line;
        } steps[] = {{0, false, true, L"BOB /UIP "}, {2, false, false, L"BOB /UTC "}, {1, true, true, L"BOB /UNB /A2 "}};
        for (const auto& s : steps) {
            Choose(d, IDC_CL_TRANSPORT, s.transport);
            EXPECT_EQ(Enabled(d, IDC_CL_ADAPTER), s.adapter) << s.line;
            EXPECT_EQ(Enabled(d, IDC_CL_PORT), s.serial) << s.line;
            EXPECT_EQ(Enabled(d, IDC_CL_USE_DIALBACK), s.serial) << s.line;
            EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), s.line);
        }
        Press(d, IDCANCEL);
    });
    Run(L"BOB /UNB /A2 /BRIDGE COM2 77 /B96 /T1");
}

TEST_F(ClientDialog, NameEnablesOkSetWritesTheCodeAndOkRefusesALetterInACodeField) {
    driver_.Then([this](HWND d) {
        SetText(d, IDC_CL_NAME, L"");
        EXPECT_FALSE(Enabled(d, IDOK));
        // Typed text stays as typed: no case conversion, letters in the timeouts.
        for (int id : {IDC_CL_TIMEOUT, IDC_CL_BRIDGE_TIMEOUT, IDC_CL_NAME}) {
            Type(d, id, L"z1");
            EXPECT_EQ(Text(d, id), L"z1") << id;
        }
        EXPECT_TRUE(Enabled(d, IDOK));
        driver_.Dialog(L"Set Password", IDOK, IDC_SET_TEXT, L"ABC");
        Click(d, IDC_CL_SET_PASSWORD);
        const std::wstring code = std::to_wstring(rc::PasswordCodeOfText(L"ABC", rc::SystemCodec()));
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"z1 " + code + L" /UIP ");  // no /T for "z1"
        SetText(d, IDC_CL_PASSWORD, L"12a");
        driver_.Box(L"Error: Encrypted password must be numeric; use 'Set' to enter a text password");
        Click(d, IDOK);
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_CL_PASSWORD));
        // Text typed into the Command Line field is saved as typed.
        SetText(d, IDC_CL_PASSWORD, L"12");
        SetText(d, IDC_CL_COMMAND_LINE, L"BOB 12 /UIP  /W");
        driver_.Dialog(L"Information", IDOK);
        Click(d, IDOK);
    });
    EXPECT_EQ(Run(L"BOB 11 /UIP"), 1);
    EXPECT_EQ(ReadImagePath(), kProgram + L" /* BOB 12 /UIP  /W");
}

TEST_F(ClientDialog, RememberedSerialLinkFillsTheControlsAndDialbackCancelUnchecks) {
    RestoreIniSection(rc::kIniFile, L"Client", {L"Serial=0", L"BaudRate=3", L"ComPort=2", L"Password=987"});
    driver_.Then([](HWND d) {
        // Bridge off: the serial link is greyed.
        EXPECT_EQ(Look(d, {IDC_CL_MODEM_RADIO, IDC_CL_BAUD, IDC_CL_PORT, IDC_CL_BRIDGE_PASSWORD}), L"~[x]|~9600|~COM3|~987");
        Press(d, IDCANCEL);
    });
    Run(L"BOB /UIP");
    driver_.Then([this](HWND d) {
        driver_.Dialog(L"Edit Dialback File", IDCANCEL);
        CheckDlgButton(d, IDC_CL_USE_DIALBACK, BST_CHECKED);
        Click(d, IDC_CL_USE_DIALBACK);
        EXPECT_FALSE(Checked(d, IDC_CL_USE_DIALBACK));
        EXPECT_FALSE(Enabled(d, IDC_CL_EDIT_DIALBACK));
        Press(d, IDCANCEL);
    });
    Run(L"BOB /UIP /BRIDGE COM1");
}

TEST_F(ClientDialog, ClassroomTemplateComposesItsCacheSizeAndSavesTheLinkKeysAsZero) {
    rc::SetEdition(rc::Edition::Classroom);
    RestoreIniSection(rc::kIniFile, L"Client", {L"Password=987", L"DialbackFile=CALLS.DBK"});
    driver_.Then([this](HWND d) {
        EXPECT_EQ(GetDlgItem(d, IDC_CL_OPTIONS), nullptr);
        EXPECT_EQ(Text(d, IDC_CL_CACHE), L"600");
        Type(d, IDC_CL_CACHE, L"5k");
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"DESK /UIP /r9 /L2 ");  // not a number: no /H
        SetText(d, IDC_CL_CACHE, L"5000");
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"DESK /UIP /r9 /L2 /H4096 ");
        driver_.Dialog(L"Information", IDOK);
        Click(d, IDOK);
    });
    EXPECT_EQ(Run(L"DESK 4211 /UIP /I /L2 /R9 /H600"), 1);
    EXPECT_EQ(ReadImagePath(), kProgram + L" /* DESK /UIP /r9 /L2 /H4096 ");
    // The remembered Password and DialbackFile are not written back.
    EXPECT_EQ(IniSection(rc::kIniFile, L"Client"),
              (std::vector<std::wstring>{L"Password=", L"DialbackFile=", L"Serial=0", L"Modem=0", L"BaudRate=0",
                                         L"ComPort=0", L"Dialback=0"}));
}

// The dialog never shows when the service's command cannot be read.
TEST_F(ClientDialog, AMissingServiceKeyOrAnOverlongValueIsReportedAndTheDialogNeverShows) {
    DeleteServiceKey();
    driver_.Box(L"Configurator : Client not installed");
    EXPECT_EQ(rc::RunClientConfiguration(g_shell.mainWindow, &g_shell.clientHeld), 0);
    driver_.Box(L"Configurator : Error 234 reading registry value ImagePath");
    EXPECT_EQ(Run(std::wstring(280, L'A')), 0);
    EXPECT_EQ(ReadImagePath(), L"C:\\X\\STATN32.EXE /* " + std::wstring(280, L'A'));
}

}  // namespace

// The Client Configuration dialog in-process: opened on stored option
// strings, driven through its controls, saved to the real registry of the
// test's prefix. The option rules themselves are the core's; here each
// control is seen to feed them.
#include "client/client_dialog_win.h"
#include "client/option_list_win.h"
#include "dialback/password_code.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "transport/transport_win.h"

using namespace rctest;
using rc::g_shell;

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

class ClientDialog : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        rc::g_network = rc::NetworkPlatform{Found, Found, Found, FakeNetbios};
        g_shell.clientHeld = {};
        InstallModules({L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"});
        CreateDirectoryW(kStation, nullptr);
        WriteBytes(std::wstring(kStation) + L"\\STATN32.EXE", "MZ");
        rc::WriteIniText(L"Configurator", L"Directory", kStation);
        WritePrivateProfileStringW(L"Client", nullptr, nullptr, rc::kIniFile);
        g_shell.quiet = false;
    }
    void TearDown() override {
        DeleteTree(kStation);
        DeleteServiceKey();
        DialogTest::TearDown();
    }
    WORD Run(const std::wstring& stored) {
        SetImagePath(L"C:\\X\\STATN32.EXE /* " + stored);
        return rc::RunClientConfiguration(g_shell.mainWindow, &g_shell.clientHeld);
    }
    static HWND Option(HWND dialog, int n) { return GetDlgItem(GetDlgItem(dialog, IDC_CL_OPTIONS), IDC_OPTION_FIRST + n); }
};

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
    EXPECT_EQ(ReadImagePath(), std::wstring(kStation) + L"\\STATN32.EXE /* BOB 12 /UIP  /W");
}

TEST_F(ClientDialog, RememberedSerialLinkFillsTheControlsAndDialbackCancelUnchecks) {
    for (const auto& [key, value] : {std::pair{L"Serial", L"0"}, {L"BaudRate", L"3"}, {L"ComPort", L"2"}, {L"Password", L"987"}})
        WritePrivateProfileStringW(L"Client", key, value, rc::kIniFile);
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
    WritePrivateProfileStringW(L"Client", L"Password", L"987", rc::kIniFile);
    WritePrivateProfileStringW(L"Client", L"DialbackFile", L"CALLS.DBK", rc::kIniFile);
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
    EXPECT_EQ(ReadImagePath(), std::wstring(kStation) + L"\\STATN32.EXE /* DESK /UIP /r9 /L2 /H4096 ");
    // The remembered Password and DialbackFile are not written back.
    const std::pair<const wchar_t*, const wchar_t*> keys[] = {{L"Serial", L"0"},   {L"Modem", L"0"},    {L"BaudRate", L"0"},
                                                              {L"ComPort", L"0"},  {L"Dialback", L"0"}, {L"Password", L""},
                                                              {L"DialbackFile", L""}};
    for (const auto& [key, value] : keys) EXPECT_EQ(ReadIni(rc::kIniFile, L"Client", key), value) << key;
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

TEST_F(ClientDialog, ADirectoryWithSpacesIsWrittenInItsShortForm) {
    const std::wstring spaced = L"C:\\rc client station";
    CreateDirectoryW(spaced.c_str(), nullptr);
    WriteBytes(spaced + L"\\STATN32.EXE", "MZ");
    rc::WriteIniText(L"Configurator", L"Directory", spaced.c_str());
    driver_.Then([this](HWND d) {
        driver_.Dialog(L"Information", IDOK);
        Click(d, IDOK);
    });
    EXPECT_EQ(Run(L"ANNE /UIP"), 1);
    EXPECT_EQ(ReadImagePath(), L"C:\\RC_C~AGG\\STATN32.EXE /* ANNE /UIP ");
    DeleteTree(spaced);
}

}  // namespace

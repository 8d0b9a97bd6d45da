// The Client Configuration dialog in-process: opened on stored option
// strings, driven through its controls, saved to the real registry of the
// test's prefix.
#include "client/client_dialog_win.h"
#include "client/option_list_win.h"
#include "dialback/password_code.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "shell/text.h"
#include "support/dialog_driver_win.h"
#include "transport/transport_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

const wchar_t kService[] = L"SYSTEM\\CurrentControlSet\\Services\\Statn32";

std::wstring ModuleDir() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\'));
}

void WriteFile(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
}

void SetImagePath(const std::wstring& value) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kService, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    RegSetValueExW(key, L"ImagePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring ImagePath() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kService, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
    wchar_t buf[600] = L"";
    DWORD size = sizeof buf - sizeof(wchar_t);
    RegQueryValueExW(key, L"ImagePath", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(key);
    return buf;
}

// NetBIOS present, every adapter NetBEUI.
UCHAR APIENTRY FakeNetbios(PNCB ncb) {
    if (ncb->ncb_command == 0x7F) {
        ncb->ncb_retcode = NRC_ILLCMD;
        return NRC_ILLCMD;
    }
    if (ncb->ncb_command == NCBASTAT && ncb->ncb_buffer && ncb->ncb_length >= sizeof(ADAPTER_STATUS)) {
        auto* status = reinterpret_cast<ADAPTER_STATUS*>(ncb->ncb_buffer);
        status->adapter_type = 0xFD;
        const UCHAR address[6] = {0x00, 0x40, 0x05, 0x11, 0x22, 0x33};  // not a dial-up adapter
        memcpy(status->adapter_address, address, sizeof address);
    }
    ncb->ncb_retcode = NRC_GOODRET;
    return NRC_GOODRET;
}
bool Found() { return true; }

const rc::NetworkPlatform kAllStacks{Found, Found, Found, FakeNetbios};

class ClientDialog : public testing::Test {
protected:
    void SetUp() override {
        rc::g_network = kAllStacks;
        g_shell.clientHeld = {};
        modules_ = {L"SXIPX32.DLL", L"SXNBS32.DLL", L"SXTCP32.DLL"};
        for (const auto& m : modules_) WriteFile(ModuleDir() + L"\\" + m);
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        station_ = std::wstring(temp) + L"rc-client-station";
        CreateDirectoryW(station_.c_str(), nullptr);
        WriteFile(station_ + L"\\STATN32.EXE");
        rc::WriteIniText(L"Configurator", L"Directory", station_.c_str());
        WritePrivateProfileStringW(L"Client", nullptr, nullptr, rc::kIniFile);
        g_shell.quiet = false;
    }
    void TearDown() override {
        rc::g_network = rc::kRealNetwork;
        for (const auto& m : modules_) DeleteFileW((ModuleDir() + L"\\" + m).c_str());
        DeleteFileW((station_ + L"\\STATN32.EXE").c_str());
        RemoveDirectoryW(station_.c_str());
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kService);
        rc::SetEdition(rc::Edition::Default);
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    WORD Run() {
        return rc::RunClientConfiguration(g_shell.mainWindow, &g_shell.clientHeld);
    }
    static bool Option(HWND dialog, int n) {
        return rc::GetOptionItem(GetDlgItem(dialog, IDC_CL_OPTIONS), IDC_OPTION_FIRST + n);
    }
    static void ClickOption(HWND dialog, int n) {
        HWND box = GetDlgItem(GetDlgItem(dialog, IDC_CL_OPTIONS), IDC_OPTION_FIRST + n);
        SendMessageW(box, BM_CLICK, 0, 0);
    }
    static void ChooseTransport(HWND dialog, int position) {
        SendDlgItemMessageW(dialog, IDC_CL_TRANSPORT, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CL_TRANSPORT, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CL_TRANSPORT)));
    }
    static std::wstring Selected(HWND dialog, int id) {
        LRESULT sel = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
        if (sel == CB_ERR) return L"(none)";
        wchar_t buf[128] = L"";
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(buf));
        return buf;
    }

    DialogDriver driver_;
    std::vector<std::wstring> modules_;
    std::wstring station_;
};

TEST_F(ClientDialog, OpensOnTheStoredStringAndShowsItsComposedForm) {
    struct Case {
        const wchar_t* stored;
        const wchar_t* preview;
        const wchar_t* name;
        const wchar_t* transport;
        const wchar_t* adapter;
    } cases[] = {
        {L"BOB 0042 /UNB /A3 /I /c /C123 /h50", L"BOB 0042 /UNB /A3 /I /c /C123 /H128 ", L"BOB", L"NetBIOS",
         L"3: NetBEUI"},
        {L"A /UIP", L"A /UIP ", L"A", L"IPX", L"(none)"},
        {L"bob  /I /UTC", L"BOB /UTC /I ", L"BOB", L"TCP/IP", L"(none)"},
        {L"BOB /UIP /X55 /P /Z /r7 /T1", L"BOB /UIP /P /Z /r7 /X55  /T2 ", L"BOB", L"IPX", L"(none)"},
        // The system's upper-casing reaches letters beyond Latin-1.
        {L"\u017c\u00f3\u0142w\u0431\u043e\u0440 /UIP", L"\u017b\u00d3\u0141W\u0411\u041e\u0420 /UIP ",
         L"\u017b\u00d3\u0141W\u0411\u041e\u0420", L"IPX", L"(none)"},
    };
    for (const auto& c : cases) {
        g_shell.clientHeld = {};
        SetImagePath(L"C:\\X\\STATN32.EXE /* " + std::wstring(c.stored));
        driver_.Then([&](HWND d) {
            EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), c.preview) << c.stored;
            EXPECT_EQ(Text(d, IDC_CL_NAME), c.name) << c.stored;
            EXPECT_EQ(Selected(d, IDC_CL_TRANSPORT), c.transport) << c.stored;
            EXPECT_EQ(Selected(d, IDC_CL_ADAPTER), c.adapter) << c.stored;
            Press(d, IDCANCEL);
        });
        EXPECT_EQ(Run(), 0);
    }
}

TEST_F(ClientDialog, StoredSwitchesShowInTheOptionListAndGreyedRowsStillCompose) {
    SetImagePath(L"C:\\X\\STATN32.EXE /* BOB /UIP /I /P /Z /c /X");
    driver_.Then([&](HWND d) {
        std::vector<bool> on;
        for (int n = 0; n < 11; ++n) on.push_back(Option(d, n));
        EXPECT_EQ(on, (std::vector<bool>{true, false, false, false, false, true, true, false, false, true, true}));
        HWND list = GetDlgItem(d, IDC_CL_OPTIONS);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, IDC_OPTION_FIRST + 5)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, IDC_OPTION_FIRST + 6)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(list, IDC_OPTION_FIRST + 4)));
        wchar_t label[64];
        GetWindowTextW(GetDlgItem(list, IDC_OPTION_FIRST + 4), label, 64);
        EXPECT_STREQ(label, L"Logoff On Disconnect");
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"BOB /UIP /I /P /Z /X /c ");
        // Public When Logged Off enables the public password; unchecking it
        // disables the field and drops /X.
        EXPECT_TRUE(Enabled(d, IDC_CL_PUBLIC_PASSWORD));
        ClickOption(d, 9);
        EXPECT_FALSE(Enabled(d, IDC_CL_PUBLIC_PASSWORD));
        EXPECT_FALSE(Enabled(d, IDC_CL_SET_PUBLIC));
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"BOB /UIP /I /P /Z /c ");
        ClickOption(d, 1);
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"BOB /UIP /I /F /P /Z /c ");
        Press(d, IDCANCEL);
    });
    Run();
}

TEST_F(ClientDialog, TransportSwitchingFollowsTheAdapterAndBridgeRules) {
    SetImagePath(L"C:\\X\\STATN32.EXE /* BOB /UNB /A2 /BRIDGE COM2 77 /B96 /T1");
    driver_.Then([&](HWND d) {
        // The bridge part is shown (the greyed Bridge box is checked) but no
        // longer composed.
        EXPECT_TRUE(Checked(d, IDC_CL_BRIDGE));
        EXPECT_FALSE(Enabled(d, IDC_CL_BRIDGE));
        EXPECT_EQ(Selected(d, IDC_CL_PORT), L"COM2");
        EXPECT_EQ(Selected(d, IDC_CL_BAUD), L"9600");
        EXPECT_EQ(Text(d, IDC_CL_BRIDGE_PASSWORD), L"77");
        EXPECT_EQ(Text(d, IDC_CL_BRIDGE_TIMEOUT), L"2");
        EXPECT_TRUE(Enabled(d, IDC_CL_PORT));
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"BOB /UNB /A2 ");
        EXPECT_TRUE(Enabled(d, IDC_CL_ADAPTER));

        ChooseTransport(d, 0);  // IPX
        EXPECT_FALSE(Enabled(d, IDC_CL_ADAPTER));
        EXPECT_FALSE(Enabled(d, IDC_CL_ADAPTER_LABEL));
        EXPECT_TRUE(Enabled(d, IDC_CL_PORT));
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"BOB /UIP ");
        ChooseTransport(d, 2);  // TCP/IP: the serial link goes too
        EXPECT_FALSE(Enabled(d, IDC_CL_PORT));
        EXPECT_FALSE(Enabled(d, IDC_CL_USE_DIALBACK));
        EXPECT_FALSE(Enabled(d, IDC_CL_BRIDGE_PASSWORD));
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"BOB /UTC ");
        ChooseTransport(d, 1);  // NetBIOS again: /A2 comes back
        EXPECT_TRUE(Enabled(d, IDC_CL_ADAPTER));
        EXPECT_TRUE(Enabled(d, IDC_CL_PORT));
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"BOB /UNB /A2 ");
        Press(d, IDCANCEL);
    });
    Run();
}

TEST_F(ClientDialog, StringsWithoutNameOrTransportCloseAtOnceWithoutAMessage) {
    for (const wchar_t* stored : {L"/UIP /I", L"BOB /UXX", L"", L"   "}) {
        SetImagePath(L"C:\\X\\STATN32.EXE /* " + std::wstring(stored));
        EXPECT_EQ(Run(), 0) << stored;
    }
}

TEST_F(ClientDialog, NameControlsOkAndSetButtonsWriteCodes) {
    SetImagePath(L"C:\\X\\STATN32.EXE /* BOB 11 /UIP");
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(Enabled(d, IDOK));
        SetText(d, IDC_CL_NAME, L"");
        EXPECT_FALSE(Enabled(d, IDOK));
        // Typed text stays as typed: no case conversion, letters in the timeouts.
        for (int id : {IDC_CL_TIMEOUT, IDC_CL_BRIDGE_TIMEOUT, IDC_CL_NAME}) {
            Type(d, id, L"z1");
            EXPECT_EQ(Text(d, id), L"z1") << id;
        }
        EXPECT_TRUE(Enabled(d, IDOK));
        driver_.Then([](HWND set) {
            EXPECT_EQ(Title(set), L"Set Password");
            SetText(set, IDC_SET_TEXT, L"ABC");
            Press(set, IDOK);
        });
        Click(d, IDC_CL_SET_PASSWORD);
        std::wstring code = rc::DecimalText(rc::PasswordCodeOfText(L"ABC", rc::SystemCodec()));
        EXPECT_EQ(Text(d, IDC_CL_PASSWORD), code);
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"z1 " + code + L" /UIP ");  // no /T for "z1"
        Press(d, IDCANCEL);
    });
    Run();
}

TEST_F(ClientDialog, OkRefusesALetterInACodeFieldAndSavesWhatTheFieldHolds) {
    SetImagePath(L"C:\\X\\STATN32.EXE /* BOB /UIP");
    driver_.Then([&](HWND d) {
        SetText(d, IDC_CL_PASSWORD, L"12a");
        driver_.Then([&](HWND box) {
            EXPECT_EQ(Title(box), L"Error");
            EXPECT_EQ(MessageBoxText(box),
                      L"Encrypted password must be numeric; use 'Set' to enter a text password");
            Press(box, IDOK);
        });
        Click(d, IDOK);
        Pump(50);
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_CL_PASSWORD));
        // Text typed into the Command Line field is saved as typed.
        SetText(d, IDC_CL_PASSWORD, L"12");
        SetText(d, IDC_CL_COMMAND_LINE, L"BOB 12 /UIP  /W");
        driver_.Then([](HWND info) {
            EXPECT_EQ(Title(info), L"Information");
            Press(info, IDOK);
        });
        Click(d, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(ImagePath(), station_ + L"\\STATN32.EXE /* BOB 12 /UIP  /W");
}

TEST_F(ClientDialog, UseDialbackOpensTheEditorAndCancelUnchecksIt) {
    SetImagePath(L"C:\\X\\STATN32.EXE /* BOB /UIP /BRIDGE COM1");
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(Enabled(d, IDC_CL_USE_DIALBACK));
        EXPECT_TRUE(Enabled(d, IDC_CL_BRIDGE_PASSWORD));
        EXPECT_FALSE(Enabled(d, IDC_CL_EDIT_DIALBACK));
        driver_.Then([](HWND editor) {
            EXPECT_EQ(Title(editor), L"Edit Dialback File");
            Press(editor, IDCANCEL);
        });
        CheckDlgButton(d, IDC_CL_USE_DIALBACK, BST_CHECKED);
        Click(d, IDC_CL_USE_DIALBACK);
        EXPECT_FALSE(Checked(d, IDC_CL_USE_DIALBACK));
        EXPECT_TRUE(Enabled(d, IDC_CL_BRIDGE_PASSWORD));
        EXPECT_FALSE(Enabled(d, IDC_CL_EDIT_DIALBACK));
        Press(d, IDCANCEL);
    });
    Run();
}

TEST_F(ClientDialog, RememberedSerialLinkFillsTheControlsWithoutABridgePart) {
    WritePrivateProfileStringW(L"Client", L"Serial", L"0", rc::kIniFile);
    WritePrivateProfileStringW(L"Client", L"BaudRate", L"3", rc::kIniFile);
    WritePrivateProfileStringW(L"Client", L"ComPort", L"2", rc::kIniFile);
    WritePrivateProfileStringW(L"Client", L"Password", L"987", rc::kIniFile);
    SetImagePath(L"C:\\X\\STATN32.EXE /* BOB /UIP");
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(Checked(d, IDC_CL_MODEM_RADIO));
        EXPECT_EQ(Selected(d, IDC_CL_BAUD), L"9600");
        EXPECT_EQ(Selected(d, IDC_CL_PORT), L"COM3");
        EXPECT_EQ(Text(d, IDC_CL_BRIDGE_PASSWORD), L"987");
        // Bridge off: the serial-link controls are greyed.
        EXPECT_FALSE(Enabled(d, IDC_CL_PORT));
        Press(d, IDCANCEL);
    });
    Run();
}

TEST_F(ClientDialog, ClassroomTemplateShowsTheCacheSizeAndCarriesHeldValues) {
    rc::SetEdition(rc::Edition::Classroom);
    WritePrivateProfileStringW(L"Client", L"Password", L"987", rc::kIniFile);
    WritePrivateProfileStringW(L"Client", L"DialbackFile", L"CALLS.DBK", rc::kIniFile);
    SetImagePath(L"C:\\X\\STATN32.EXE /* DESK 4211 /UIP /I /L2 /R9 /H600");
    driver_.Then([&](HWND d) {
        EXPECT_EQ(GetDlgItem(d, IDC_CL_OPTIONS), nullptr);
        EXPECT_EQ(Text(d, IDC_CL_CACHE), L"600");
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"DESK /UIP /r9 /L2 /H600 ");
        Type(d, IDC_CL_CACHE, L"5k");
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"DESK /UIP /r9 /L2 ");  // not a number: no /H
        SetText(d, IDC_CL_CACHE, L"5000");
        EXPECT_EQ(Text(d, IDC_CL_COMMAND_LINE), L"DESK /UIP /r9 /L2 /H4096 ");
        driver_.Then([](HWND info) { Press(info, IDOK); });
        Click(d, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(ImagePath(), station_ + L"\\STATN32.EXE /* DESK /UIP /r9 /L2 /H4096 ");
    wchar_t value[16];
    // The remembered Password and DialbackFile are not written back.
    struct Key { const wchar_t* key; const wchar_t* value; } keys[] = {
        {L"Serial", L"0"}, {L"Modem", L"0"}, {L"BaudRate", L"0"}, {L"ComPort", L"0"},
        {L"Dialback", L"0"}, {L"Password", L""}, {L"DialbackFile", L""},
    };
    for (const auto& k : keys) {
        GetPrivateProfileStringW(L"Client", k.key, L"?", value, 16, rc::kIniFile);
        EXPECT_STREQ(value, k.value) << k.key;
    }
}

}  // namespace

namespace {

TEST_F(ClientDialog, ADirectoryWithSpacesIsWrittenInItsShortForm) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring spaced = std::wstring(temp) + L"rc client station";
    CreateDirectoryW(spaced.c_str(), nullptr);
    WriteFile(spaced + L"\\STATN32.EXE");
    rc::WriteIniText(L"Configurator", L"Directory", spaced.c_str());
    SetImagePath(L"C:\\X\\STATN32.EXE /* BOB /UIP");
    driver_.Then([&](HWND d) {
        SetText(d, IDC_CL_NAME, L"ANNE");
        driver_.Then([](HWND info) { Press(info, IDOK); });
        Click(d, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    std::wstring value = ImagePath();
    std::wstring path = value.substr(0, value.find(L' '));
    EXPECT_EQ(value.substr(path.size()), L" /* ANNE /UIP ");
    EXPECT_NE(path.find(L"\\STATN32.EXE"), std::wstring::npos) << path;
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    DeleteFileW((spaced + L"\\STATN32.EXE").c_str());
    RemoveDirectoryW(spaced.c_str());
}

}  // namespace

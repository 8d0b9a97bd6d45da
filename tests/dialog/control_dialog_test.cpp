// The Control Configuration dialog in-process: an item's command line
// applied to the controls, rules T and R, the Program Manager limit
// warning, the [Control] memory and the hand-over to Create Program Icon.
#include "control/control_dialog_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/dialog_shot_win.h"
#include "support/progman_fixture_win.h"
#include "transport/transport_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

std::wstring ModuleDir() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p = path;
    return p.substr(0, p.rfind(L'\\'));
}

void Touch(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
}

bool Found() { return true; }
UCHAR APIENTRY NoNetbios(PNCB ncb) {
    ncb->ncb_retcode = NRC_BRIDGE;
    return NRC_BRIDGE;
}
const rc::NetworkPlatform kStacks{Found, Found, Found, NoNetbios};

std::wstring Ini(const wchar_t* key) {
    wchar_t buf[256];
    GetPrivateProfileStringW(L"Control", key, L"(none)", buf, 256, rc::kIniFile);
    return buf;
}

class ControlDialog : public testing::Test {
protected:
    void SetUp() override {
        rc::g_network = kStacks;
        SetModules({L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"});
        WritePrivateProfileStringW(L"Control", nullptr, nullptr, rc::kIniFile);
        rc::ClearProgramItemRecord(&record_);
    }
    void TearDown() override {
        rc::g_network = rc::kRealNetwork;
        SetModules({});
        rc::SetEdition(rc::Edition::Default);
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    void SetModules(const std::vector<std::wstring>& present) {
        for (const wchar_t* m : {L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}) DeleteFileW((ModuleDir() + L"\\" + m).c_str());
        for (const auto& m : present) Touch(ModuleDir() + L"\\" + m);
    }
    WORD Run() { return rc::RunControlConfiguration(g_shell.mainWindow, &record_, &newGroup_); }
    void SetCommandLine(const std::wstring& line) { wcscpy(record_.commandLine, line.c_str()); }
    static std::wstring Selected(HWND dialog, int id) {
        LRESULT sel = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
        if (sel == CB_ERR) return L"(none)";
        wchar_t buf[128] = L"";
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    static void ChooseTransport(HWND dialog, int position) {
        SendDlgItemMessageW(dialog, IDC_CT_TRANSPORT, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CT_TRANSPORT, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CT_TRANSPORT)));
    }
    static void Toggle(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

    DialogDriver driver_;
    rc::ProgramItemRecord record_{};
    std::wstring newGroup_;
};

TEST_F(ControlDialog, NewItemTakesTheRememberedChoicesByPosition) {
    struct Case {
        std::vector<std::wstring> modules;
        const wchar_t* name;
        const wchar_t* transport;
        const wchar_t* depth;
        const wchar_t* expectTransport;
        const wchar_t* expectDepth;
        const wchar_t* preview;
    } cases[] = {
        // No [Control] section: empty name, first transport, Unlimited.
        {{L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}, nullptr, nullptr, nullptr, L"IPX", L"Unlimited", L"/UIP "},
        // The stored position names another transport when a module is missing.
        {{L"CXNBS.DLL", L"CXTCP.DLL"}, L"DESK", L"1", L"2", L"TCP/IP", L"16", L"DESK /UTC /R4 "},
        {{L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}, L"DESK", L"-1", L"3", L"(none)", L"256", L"DESK /R8 "},
    };
    for (const auto& c : cases) {
        SetModules(c.modules);
        WritePrivateProfileStringW(L"Control", nullptr, nullptr, rc::kIniFile);
        if (c.name) WritePrivateProfileStringW(L"Control", L"Name", c.name, rc::kIniFile);
        if (c.transport) WritePrivateProfileStringW(L"Control", L"Transport", c.transport, rc::kIniFile);
        if (c.depth) WritePrivateProfileStringW(L"Control", L"MaxColorDepth", c.depth, rc::kIniFile);
        rc::ClearProgramItemRecord(&record_);
        driver_.Then([&](HWND d) {
            EXPECT_EQ(Selected(d, IDC_CT_TRANSPORT), c.expectTransport);
            EXPECT_EQ(Selected(d, IDC_CT_COLOUR_DEPTH), c.expectDepth);
            EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), c.preview);
            EXPECT_STREQ(record_.options, c.preview);
            Press(d, IDCANCEL);
        });
        EXPECT_EQ(Run(), 0);
    }
}

TEST_F(ControlDialog, TransportAndRemoteRulesAcrossCombinations) {
    SetCommandLine(L"C:\\VD\\VIEWDESK.EXE HELP /UIP /L /D5551234 /REMOTE");
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(Shot(d, L"control-configuration-default"));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UIP /L /D5551234 /REMOTE ");
        // The name is typed in capitals; the number fields take any text,
        // and a non-number writes no switch.
        struct Typed { int id; const wchar_t* typed; const wchar_t* shown; } typed[] = {
            {IDC_CT_NAME, L"help", L"HELP"}, {IDC_CT_MAX_CLIENTS, L"9x", L"9x"}, {IDC_CT_CACHE, L"2k", L"2k"}};
        for (const auto& t : typed) {
            Type(d, t.id, t.typed);
            EXPECT_EQ(Text(d, t.id), t.shown) << t.id;
        }
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UIP /L /D5551234 /REMOTE ");
        EXPECT_TRUE(Enabled(d, IDC_CT_LOCAL_BROADCASTS));
        EXPECT_FALSE(Enabled(d, IDC_CT_ADAPTER));
        EXPECT_TRUE(Enabled(d, IDC_CT_SERIAL_LINK));
        EXPECT_TRUE(Enabled(d, IDC_CT_DIAL));

        // TCP/IP: Remote keeps its mark but /D and /REMOTE go; /L goes too.
        ChooseTransport(d, 2);
        EXPECT_TRUE(Checked(d, IDC_CT_REMOTE));
        EXPECT_FALSE(Enabled(d, IDC_CT_REMOTE));
        EXPECT_FALSE(Enabled(d, IDC_CT_DIAL));
        EXPECT_FALSE(Enabled(d, IDC_CT_LOCAL_BROADCASTS));
        EXPECT_TRUE(Checked(d, IDC_CT_LOCAL_BROADCASTS));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UTC ");

        // NetBIOS: the adapter list, Remote back.
        ChooseTransport(d, 1);
        EXPECT_TRUE(Enabled(d, IDC_CT_ADAPTER));
        EXPECT_FALSE(Enabled(d, IDC_CT_LOCAL_BROADCASTS));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UNB /D5551234 /REMOTE ");

        // Serial Link replaces the number by "/D " and greys Dial.
        Toggle(d, IDC_CT_SERIAL_LINK);
        EXPECT_FALSE(Enabled(d, IDC_CT_DIAL));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UNB /D /REMOTE ");
        // Unchecking Remote greys Serial Link and Dial and drops both.
        Toggle(d, IDC_CT_REMOTE);
        EXPECT_FALSE(Enabled(d, IDC_CT_SERIAL_LINK));
        EXPECT_FALSE(Enabled(d, IDC_CT_DIAL));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UNB ");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(), 0);
}

TEST_F(ControlDialog, WarningLineAppearsAboveTheProgramManagerLimit) {
    SetCommandLine(L"C:\\VD\\VIEWDESK.EXE /UIP");
    driver_.Then([&](HWND d) {
        // "/UIP " plus "/M" + file + " " : 5 + 3 + n characters.
        std::wstring at128(120, L'f'), at129(121, L'f');
        SetText(d, IDC_CT_MESSAGE_FILE, at128);
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE).size(), 128u);
        EXPECT_EQ(Text(d, IDC_CT_WARNING), L"");
        SetText(d, IDC_CT_MESSAGE_FILE, at129);
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE).size(), 129u);
        EXPECT_EQ(Text(d, IDC_CT_WARNING), L"WARNING: This command line exceeds the Program Manager limit.");
        // The record keeps the whole string for Create Program Icon.
        EXPECT_EQ(std::wstring(record_.options).size(), 129u);
        EXPECT_EQ(std::wstring(record_.commandLine).size(), 126u);
        Press(d, IDCANCEL);
    });
    Run();
}

TEST_F(ControlDialog, ClassroomTemplateDropsTheSwitchesItHasNoControlsFor) {
    rc::SetEdition(rc::Edition::Classroom);
    SetCommandLine(L"C:\\VD\\VIEWDESK.EXE DESK /UIP /Mmsg.txt /O /S20 /H256 /CBOSS /DREMOTE /REMOTE");
    driver_.Then([&](HWND d) {
        EXPECT_TRUE(Shot(d, L"control-configuration-tutor"));
        EXPECT_EQ(GetDlgItem(d, IDC_CT_REMOTE), nullptr);
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"DESK /UIP /H256 /CBOSS ");
        Press(d, IDCANCEL);
    });
    Run();
}

TEST_F(ControlDialog, CancelledIconCreationKeepsTheDialogAndWritesNothing) {
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start());
    SetCommandLine(L"C:\\VD\\VIEWDESK.EXE DESK /UTC");
    driver_.Then([&](HWND d) {
        driver_.Then([](HWND create) {
            EXPECT_EQ(Title(create), L"Create Program Icon");
            Press(create, IDCANCEL);
        });
        Click(d, IDOK);
        EXPECT_TRUE(IsWindow(d));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"DESK /UTC ");
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(Ini(L"Name"), L"(none)");
    EXPECT_TRUE(standIn.Executes().empty());
}

}  // namespace

// The Control Configuration dialog in-process: an item's command line
// applied to the controls, the transport and remote rules, the Program
// Manager limit warning and the [Control] memory. The hand-over to Create
// Program Icon is met by the icon dialogs (IconMaintenance, ProgmanNoAnswer).
#include "control/control_dialog_win.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "transport/transport_win.h"

using namespace rctest;
using rc::g_shell;

namespace {

bool Found() { return true; }
UCHAR APIENTRY NoNetbios(PNCB ncb) { return ncb->ncb_retcode = NRC_BRIDGE; }

class ControlDialog : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        rc::g_network = rc::NetworkPlatform{Found, Found, Found, NoNetbios};
        InstallModules({L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"});
        WritePrivateProfileStringW(L"Control", nullptr, nullptr, rc::kIniFile);
    }
    WORD Run(const std::wstring& line) {
        rc::ClearProgramItemRecord(&record_);
        wcscpy(record_.commandLine, line.c_str());
        return rc::RunControlConfiguration(g_shell.mainWindow, &record_, &newGroup_);
    }

    rc::ProgramItemRecord record_{};
    std::wstring newGroup_;
};

TEST_F(ControlDialog, NewItemTakesTheRememberedChoicesByPosition) {
    struct Case {
        std::vector<std::wstring> modules, remembered;
        const wchar_t* transport;
        const wchar_t* depth;
        const wchar_t* preview;
    } cases[] = {
        {{L"CXIPX.DLL", L"CXNBS.DLL", L"CXTCP.DLL"}, {}, L"IPX", L"Unlimited", L"/UIP "},
        // The stored position names another transport when a module is missing.
        {{L"CXNBS.DLL", L"CXTCP.DLL"}, {L"Name=DESK", L"Transport=1", L"MaxColorDepth=2"}, L"TCP/IP", L"16", L"DESK /UTC /R4 "},
        {{L"CXIPX.DLL", L"CXNBS.DLL"}, {L"Name=DESK", L"Transport=-1", L"MaxColorDepth=3"}, L"(none)", L"256", L"DESK /R8 "},
    };
    for (const auto& c : cases) {
        InstallModules(c.modules);
        RestoreIniSection(rc::kIniFile, L"Control", c.remembered);
        driver_.Then([&](HWND d) {
            EXPECT_EQ(Selected(d, IDC_CT_TRANSPORT), c.transport);
            EXPECT_EQ(Selected(d, IDC_CT_COLOUR_DEPTH), c.depth);
            EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), c.preview);
            EXPECT_STREQ(record_.options, c.preview);
            Press(d, IDCANCEL);
        });
        EXPECT_EQ(Run(L""), 0);
    }
}

TEST_F(ControlDialog, TransportAndRemoteGreyTheSwitchesTheyRuleOut) {
    driver_.Then([this](HWND d) {
        Shot(d, L"control-configuration-default");
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
        EXPECT_FALSE(Enabled(d, IDC_CT_ADAPTER));
        // TCP/IP: Remote keeps its mark but /D and /REMOTE go; /L goes too.
        Choose(d, IDC_CT_TRANSPORT, 2);
        EXPECT_TRUE(Checked(d, IDC_CT_REMOTE) && Checked(d, IDC_CT_LOCAL_BROADCASTS));
        EXPECT_FALSE(Enabled(d, IDC_CT_REMOTE) || Enabled(d, IDC_CT_DIAL) || Enabled(d, IDC_CT_LOCAL_BROADCASTS));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UTC ");
        Choose(d, IDC_CT_TRANSPORT, 1);  // NetBIOS: the adapter list, Remote back
        EXPECT_TRUE(Enabled(d, IDC_CT_ADAPTER));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UNB /D5551234 /REMOTE ");
        Toggle(d, IDC_CT_SERIAL_LINK);  // replaces the number by "/D " and greys Dial
        EXPECT_FALSE(Enabled(d, IDC_CT_DIAL));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UNB /D /REMOTE ");
        Toggle(d, IDC_CT_REMOTE);  // off: greys Serial Link and drops both
        EXPECT_FALSE(Enabled(d, IDC_CT_SERIAL_LINK));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"HELP /UNB ");
        // Above the Program Manager limit the warning shows; the record keeps it all.
        SetText(d, IDC_CT_MESSAGE_FILE, std::wstring(115, L'f'));
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE).size(), 128u);
        EXPECT_EQ(Text(d, IDC_CT_WARNING), L"");
        SetText(d, IDC_CT_MESSAGE_FILE, std::wstring(116, L'f'));
        EXPECT_EQ(Text(d, IDC_CT_WARNING), L"WARNING: This command line exceeds the Program Manager limit.");
        EXPECT_EQ(std::wstring(record_.options).size(), 129u);
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(Run(L"C:\\VD\\VIEWDESK.EXE HELP /UIP /L /D5551234 /REMOTE"), 0);
}

TEST_F(ControlDialog, ClassroomTemplateDropsTheSwitchesItHasNoControlsFor) {
    rc::SetEdition(rc::Edition::Classroom);
    driver_.Then([](HWND d) {
        Shot(d, L"control-configuration-tutor");
        EXPECT_EQ(GetDlgItem(d, IDC_CT_REMOTE), nullptr);
        EXPECT_EQ(Text(d, IDC_CT_COMMAND_LINE), L"DESK /UIP /H256 /CBOSS ");
        Press(d, IDCANCEL);
    });
    Run(L"C:\\VD\\VIEWDESK.EXE DESK /UIP /Mmsg.txt /O /S20 /H256 /CBOSS /DREMOTE /REMOTE");
}

}  // namespace

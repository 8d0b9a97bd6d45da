// Advanced Client Options over the held settings, and Define SOS Hotkeys
// over viewdesk.ini [SOS_Hotkeys], as real dialogs driven in-process.
#include "client/advanced_win.h"
#include "dialback/password_code.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

using namespace rctest;
using rc::g_shell;

namespace {

// ---- Advanced Client Options --------------------------------------------------

// Every held value set, those without a control in the dialog included.
// Logoff argument, key, lookup delay, buffers, cache, video mode, /1, modem debug.
const rc::ClientHeldSettings kFull{L"NOTEPAD", L"123456789012345", 3, 2, 2048, L"101", true, true};

class AdvancedOptions : public DialogTest {
protected:
    WORD Run(rc::ClientHeldSettings* held) { return rc::RunAdvancedOptions(g_shell.mainWindow, held); }
};

TEST_F(AdvancedOptions, OpensOnTheHeldValuesOnlyCancelOrARefusalKeepsTheRecordAndSetWritesTheKeysCode) {
    for (const rc::ClientHeldSettings& before : {kFull, rc::ClientHeldSettings{}}) {
        rc::ClientHeldSettings held = before;
        driver_.Then([&](HWND d) {
            EXPECT_EQ(Look(d, {IDC_ADV_SECURITY_KEY, IDC_ADV_CACHE, IDC_ADV_VIDEO_MODE, IDC_ADV_MODEM_DEBUG}),
                      before.modemDebug ? L"123456789012345|2048|~101|~[x]" : L"||~|~[ ]");
            EXPECT_EQ(SendDlgItemMessageW(d, IDC_ADV_VIDEO_MODE, EM_GETLIMITTEXT, 0, 0), 2);
            SetText(d, IDC_ADV_CACHE, L"1024");
            Press(d, IDCANCEL);
        });
        EXPECT_EQ(Run(&held), 0);
        EXPECT_EQ(held, before);
        driver_.Then([](HWND d) { Press(d, IDOK); });  // OK without changes keeps the whole record
        EXPECT_EQ(Run(&held), 1);
        EXPECT_EQ(held, before);
    }
    // Set writes the code of the typed key into its field (Cancel in Set
    // leaves the field); OK reads the key as 15 characters and the modem
    // debug box as it stands.
    rc::ClientHeldSettings held;
    driver_.Then([&](HWND d) {
        EXPECT_EQ(g_shell.helpContext, HELP_ADVANCED);
        for (int answer : {IDOK, IDCANCEL}) {
            driver_.Then([answer](HWND setKey) {
                EXPECT_EQ(Title(setKey), L"Set Security Key");
                SetText(setKey, IDC_SET_TEXT, answer == IDOK ? L"ABC" : L"XYZ");
                Press(setKey, answer);
            });
            Click(d, IDC_ADV_SET_KEY);
        }
        EXPECT_EQ(Text(d, IDC_ADV_SECURITY_KEY), std::to_wstring(rc::PasswordCodeOfText(L"ABC", rc::SystemCodec())));
        Click(d, IDC_HELPBUTTON);
        Shot(d, L"advanced-client-options");
        SetText(d, IDC_ADV_SECURITY_KEY, L"1234567890123456789");
        CheckDlgButton(d, IDC_ADV_MODEM_DEBUG, BST_CHECKED);
        Press(d, IDOK);
    });
    EXPECT_EQ(Run(&held), 1);
    EXPECT_EQ(held.securityKey, L"123456789012345");
    EXPECT_TRUE(held.modemDebug);
    EXPECT_EQ(HelpContexts(), std::vector<ULONG_PTR>{HELP_ADVANCED});
}

TEST_F(AdvancedOptions, CacheSizeMustBeANumberFrom128To4096AndARefusalSelectsIt) {
    struct Case {
        const wchar_t* text;
        int stored;  // 0: refused
    } cases[] = {{L"127", 0}, {L"4096", 4096}, {L"4097", 0}, {L"12a", 0}, {L"", -1}, {L"0512", 512}};
    const std::wstring message = rc::LoadText(IDS_CACHE_RANGE);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        rc::ClientHeldSettings held = kFull;
        std::wstring status, afterFocusMove;
        driver_.Then([&](HWND d) {
            SetText(d, IDC_ADV_SECURITY_KEY, L"*");
            SetText(d, IDC_ADV_CACHE, c.text);
            CheckDlgButton(d, IDC_ADV_MODEM_DEBUG, BST_UNCHECKED);
            Press(d, IDOK);
            Later(d, 100, [&](HWND open) {  // only a refused OK leaves the dialog open
                HWND field = GetDlgItem(open, IDC_ADV_CACHE);
                status = Text(open, IDC_ADV_STATUS);
                EXPECT_EQ(GetFocus(), field);
                DWORD start = 1, end = 0;
                SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
                EXPECT_EQ(start, 0u);
                EXPECT_EQ(end, wcslen(c.text));
                Shot(open, L"advanced-client-options-refused");
                SetFocus(GetDlgItem(open, IDC_ADV_SECURITY_KEY));
                afterFocusMove = Text(open, IDC_ADV_STATUS);
                Press(open, IDCANCEL);
            });
        });
        EXPECT_EQ(Run(&held), c.stored ? 1 : 0);
        Pump(150);
        EXPECT_EQ(status, c.stored ? L"" : message);
        EXPECT_EQ(afterFocusMove, L"");
        // A refused OK has taken the key already, but nothing else.
        rc::ClientHeldSettings expected = kFull;
        expected.securityKey = L"*";
        expected.cacheSize = c.stored ? c.stored : 2048;
        expected.modemDebug = c.stored == 0;
        EXPECT_EQ(held, expected);
    }
}

// ---- Define SOS Hotkeys ------------------------------------------------------

const wchar_t kSection[] = L"SOS_Hotkeys";
constexpr int kBoxes[] = {IDC_SOS_LEFT_SHIFT, IDC_SOS_RIGHT_SHIFT, IDC_SOS_CTRL, IDC_SOS_ALT, IDC_SOS_DISABLE};

// The marks of the five boxes and, after a '/', which key boxes are enabled.
std::wstring Boxes(HWND dialog) {
    std::wstring s;
    for (int id : kBoxes) s += Checked(dialog, id) ? L'1' : L'0';
    s += L'/';
    for (int id : kBoxes) s += id == IDC_SOS_DISABLE ? L"" : Enabled(dialog, id) ? L"1" : L"0";
    return s;
}

class SosHotkeys : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        saved_ = IniSection(rc::kViewdeskIni, kSection);
        WritePrivateProfileStringW(kSection, nullptr, nullptr, rc::kViewdeskIni);
    }
    void TearDown() override {
        RestoreIniSection(rc::kViewdeskIni, kSection, saved_);
        DialogTest::TearDown();
    }
    WORD Run() { return rc::RunSosHotkeys(g_shell.mainWindow); }
    std::vector<std::wstring> saved_;
};

TEST_F(SosHotkeys, EachBoxReadsAndWritesItsOwnKeyWithTheShiftKeysCrossedAndDisableGreysTheOthers) {
    struct Case {
        std::vector<std::wstring> stored;
        std::vector<int> clicks;
        const wchar_t* shown;  // Left Shift, Right Shift, Ctrl, Alt, Disable / enabled key boxes
        std::vector<std::wstring> written;
    } cases[] = {
        {{}, {}, L"11010/1111", {}},  // no section: the defaults; Cancel writes nothing
        {{L"RShift=1", L"LShift=0", L"Ctrl=0", L"Alt=0", L"None=0"}, {}, L"10000/1111",
         {L"RShift=1", L"LShift=0", L"Ctrl=0", L"Alt=0", L"None=0"}},
        {{L"LShift=1", L"RShift=0", L"Ctrl=1", L"Alt=0", L"None=1"}, {}, L"01101/0000",
         {L"LShift=1", L"RShift=0", L"Ctrl=1", L"Alt=0", L"None=1"}},
        {{L"Ctrl=1", L"Alt=0"}, {IDC_SOS_LEFT_SHIFT}, L"11100/1111",  // the others default
         {L"Ctrl=1", L"Alt=0", L"RShift=0", L"LShift=1", L"None=0"}},
        {{}, {IDC_SOS_DISABLE, IDC_SOS_DISABLE, IDC_SOS_CTRL, IDC_SOS_ALT, IDC_SOS_DISABLE}, L"11010/1111",
         {L"RShift=1", L"LShift=1", L"Ctrl=1", L"Alt=0", L"None=1"}},
    };
    for (const auto& c : cases) {
        RestoreIniSection(rc::kViewdeskIni, kSection, c.stored);
        std::wstring shown;
        driver_.Then([&](HWND d) {
            shown = Boxes(d);
            for (int id : c.clicks) Toggle(d, id);
            // Disable greys the key boxes, which keep their marks (as written).
            EXPECT_EQ(Boxes(d).substr(6), Checked(d, IDC_SOS_DISABLE) ? L"0000" : L"1111");
            if (c.clicks.size() > 1) {
                EXPECT_EQ(g_shell.helpContext, HELP_SOS);
                Click(d, IDC_HELPBUTTON);
                Shot(d, L"define-sos-hotkeys");
            }
            Press(d, c.written.empty() ? IDCANCEL : IDOK);
        });
        EXPECT_EQ(Run(), c.written.empty() ? 0 : 1);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(IniSection(rc::kViewdeskIni, kSection), c.written.empty() ? c.stored : c.written);
    }
    EXPECT_EQ(HelpContexts(), std::vector<ULONG_PTR>{HELP_SOS});
}

}  // namespace

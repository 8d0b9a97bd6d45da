// Advanced Client Options over the held settings, and Define SOS Hotkeys
// over viewdesk.ini [SOS_Hotkeys], as real dialogs driven in-process.
#include "client/advanced_win.h"
#include "dialback/password_code.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/station_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rctest;
using rc::g_shell;

namespace {

std::vector<ULONG_PTR> g_helpContexts;

BOOL WINAPI RecordHelp(HWND, LPCWSTR, UINT command, ULONG_PTR context) {
    if (command == HELP_CONTEXT) g_helpContexts.push_back(context);
    return TRUE;
}

class SideDialogs : public testing::Test {
protected:
    void SetUp() override {
        g_helpContexts.clear();
        g_shell.winHelp = RecordHelp;
    }
    void TearDown() override {
        g_shell.winHelp = WinHelpW;
        EXPECT_EQ(driver_.Pending(), 0u) << "a dialog the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a dialog opened that the test did not expect";
    }
    DialogDriver driver_;
};

// ---- Advanced Client Options --------------------------------------------------

class AdvancedOptions : public SideDialogs {
protected:
    WORD Run(rc::ClientHeldSettings* held) { return rc::RunAdvancedOptions(g_shell.mainWindow, held); }
};

// Every held value set, those without a control in the dialog included.
rc::ClientHeldSettings FullRecord() {
    rc::ClientHeldSettings held;
    held.logoffArgument = L"NOTEPAD";
    held.securityKey = L"123456789012345";
    held.lookupDelay = 3;
    held.bufferCount = 2;
    held.cacheSize = 2048;
    held.videoMode = L"101";
    held.switch1 = true;
    held.modemDebug = true;
    return held;
}

std::pair<DWORD, DWORD> Selection(HWND dialog, int id) {
    DWORD start = 0, end = 0;
    SendDlgItemMessageW(dialog, id, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

TEST_F(AdvancedOptions, OpensWithTheHeldValuesAndTheFixedControlsGreyed) {
    struct Case {
        rc::ClientHeldSettings held;
        const wchar_t* cache;
    } cases[] = {{FullRecord(), L"2048"}, {rc::ClientHeldSettings{}, L""}};
    for (const auto& c : cases) {
        rc::ClientHeldSettings held = c.held;
        driver_.Then([&](HWND dialog) {
            EXPECT_EQ(Title(dialog), L"Advanced Client Options");
            EXPECT_EQ(g_shell.currentWindow, dialog);
            EXPECT_EQ(Text(dialog, IDC_ADV_SECURITY_KEY), c.held.securityKey);
            EXPECT_EQ(Text(dialog, IDC_ADV_CACHE), c.cache);
            EXPECT_EQ(Text(dialog, IDC_ADV_VIDEO_MODE), c.held.videoMode);
            EXPECT_EQ(Checked(dialog, IDC_ADV_MODEM_DEBUG), c.held.modemDebug);
            EXPECT_EQ(Text(dialog, IDC_ADV_STATUS), L"");
            EXPECT_FALSE(Enabled(dialog, IDC_ADV_VIDEO_LABEL));
            EXPECT_FALSE(Enabled(dialog, IDC_ADV_VIDEO_MODE));
            EXPECT_FALSE(Enabled(dialog, IDC_ADV_MODEM_DEBUG));
            EXPECT_TRUE(Enabled(dialog, IDC_ADV_SECURITY_KEY));
            EXPECT_TRUE(Enabled(dialog, IDC_ADV_CACHE));
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_ADV_VIDEO_MODE, EM_GETLIMITTEXT, 0, 0), 2);
            Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(Run(&held), 0);
        EXPECT_EQ(held, c.held);  // Cancel changes nothing
    }
}

TEST_F(AdvancedOptions, ConfirmingWithoutChangesKeepsTheWholeRecord) {
    rc::ClientHeldSettings unsetCache = FullRecord();
    unsetCache.cacheSize = -1;
    unsetCache.modemDebug = false;
    for (const rc::ClientHeldSettings& before : {FullRecord(), unsetCache, rc::ClientHeldSettings{}}) {
        rc::ClientHeldSettings held = before;
        driver_.Then([](HWND dialog) { Press(dialog, IDOK); });
        EXPECT_EQ(Run(&held), 1);
        EXPECT_EQ(held, before);
    }
}

TEST_F(AdvancedOptions, CacheSizeMustBeANumberFrom128To4096) {
    struct Case {
        const wchar_t* text;
        bool accepted;
        int stored;
    } cases[] = {
        {L"127", false, 0},  {L"128", true, 128},   {L"4096", true, 4096},  {L"4097", false, 0},
        {L"abc", false, 0},  {L"12a", false, 0},    {L"-200", false, 0},    {L"0", false, 0},
        {L"", true, -1},     {L"0512", true, 512},
        {L"4294967424", false, 0},  // 2^32 + 128: must not wrap into the range
    };
    const std::wstring message = rc::LoadText(IDS_CACHE_RANGE);
    ASSERT_FALSE(message.empty());
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        rc::ClientHeldSettings held = FullRecord();
        bool refusalSeen = false;
        driver_.Then([&](HWND dialog) {
            SetText(dialog, IDC_ADV_CACHE, c.text);
            SetFocus(GetDlgItem(dialog, IDC_ADV_SECURITY_KEY));
            Press(dialog, IDOK);
            Later(dialog, 100, [&](HWND open) {
                // Only a refused OK leaves the dialog open to get here.
                refusalSeen = true;
                HWND field = GetDlgItem(open, IDC_ADV_CACHE);
                EXPECT_EQ(Text(open, IDC_ADV_STATUS), message);
                EXPECT_EQ(GetFocus(), field);
                EXPECT_EQ(Selection(open, IDC_ADV_CACHE),
                          std::make_pair(DWORD{0}, static_cast<DWORD>(GetWindowTextLengthW(field))));
                Press(open, IDCANCEL);
            });
        });
        WORD result = Run(&held);
        Pump(150);
        EXPECT_EQ(result, c.accepted ? 1 : 0);
        EXPECT_EQ(refusalSeen, !c.accepted);
        EXPECT_EQ(held.cacheSize, c.accepted ? c.stored : 2048);
    }
}

TEST_F(AdvancedOptions, RefusedOkHasTakenTheKeyAndVideoModeButNothingElse) {
    rc::ClientHeldSettings held = FullRecord();
    driver_.Then([](HWND dialog) {
        SetText(dialog, IDC_ADV_SECURITY_KEY, L"*");
        SetText(dialog, IDC_ADV_VIDEO_MODE, L"6A");
        SetText(dialog, IDC_ADV_CACHE, L"99");
        CheckDlgButton(dialog, IDC_ADV_MODEM_DEBUG, BST_UNCHECKED);
        Press(dialog, IDOK);
        Later(dialog, 100, [](HWND open) { Press(open, IDCANCEL); });
    });
    EXPECT_EQ(Run(&held), 0);
    rc::ClientHeldSettings expected = FullRecord();
    expected.securityKey = L"*";
    expected.videoMode = L"6A";
    EXPECT_EQ(held, expected);
}

TEST_F(AdvancedOptions, OkReadsTheKeyAsFifteenCharactersAndModemDebugFromTheBox) {
    rc::ClientHeldSettings held;
    driver_.Then([](HWND dialog) {
        SetText(dialog, IDC_ADV_SECURITY_KEY, L"1234567890123456789");
        SetText(dialog, IDC_ADV_CACHE, L"1024");
        CheckDlgButton(dialog, IDC_ADV_MODEM_DEBUG, BST_CHECKED);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(&held), 1);
    EXPECT_EQ(held.securityKey, L"123456789012345");
    EXPECT_EQ(held.cacheSize, 1024);
    EXPECT_TRUE(held.modemDebug);
}

TEST_F(AdvancedOptions, StatusLineClearsWhenTheCacheFieldLosesTheFocus) {
    rc::ClientHeldSettings held;
    std::wstring afterRefusal, afterFocusMove;
    driver_.Then([&](HWND dialog) {
        SetText(dialog, IDC_ADV_CACHE, L"5000");
        Press(dialog, IDOK);
        Later(dialog, 100, [&](HWND open) {
            afterRefusal = Text(open, IDC_ADV_STATUS);
            Capture(open, L"advanced-client-options-refused");
            SetFocus(GetDlgItem(open, IDC_ADV_SECURITY_KEY));
            afterFocusMove = Text(open, IDC_ADV_STATUS);
            Press(open, IDCANCEL);
        });
    });
    Run(&held);
    Pump(150);
    EXPECT_EQ(afterRefusal, rc::LoadText(IDS_CACHE_RANGE));
    EXPECT_EQ(afterFocusMove, L"");
}

TEST_F(AdvancedOptions, SetWritesTheCodeOfTheTypedKeyAndCancelLeavesTheField) {
    rc::ClientHeldSettings held;
    held.securityKey = L"55";
    std::wstring afterOk, afterCancel;
    driver_.Then([&](HWND dialog) {
        driver_.Then([](HWND setKey) {
            EXPECT_EQ(Title(setKey), L"Set Security Key");
            SetText(setKey, IDC_SET_TEXT, L"ABC");
            Press(setKey, IDOK);
        });
        Click(dialog, IDC_ADV_SET_KEY);
        afterOk = Text(dialog, IDC_ADV_SECURITY_KEY);
        driver_.Then([](HWND setKey) {
            SetText(setKey, IDC_SET_TEXT, L"XYZ");
            Press(setKey, IDCANCEL);
        });
        Click(dialog, IDC_ADV_SET_KEY);
        afterCancel = Text(dialog, IDC_ADV_SECURITY_KEY);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(&held), 1);
    const std::wstring code = std::to_wstring(rc::PasswordCodeOfText(L"ABC", rc::SystemCodec()));
    EXPECT_EQ(afterOk, code);
    EXPECT_EQ(afterCancel, code);
    EXPECT_EQ(held.securityKey, code);
}

TEST_F(AdvancedOptions, HelpShowsItsContext) {
    rc::ClientHeldSettings held = FullRecord();
    driver_.Then([](HWND dialog) {
        EXPECT_EQ(g_shell.helpContext, HELP_ADVANCED);
        Click(dialog, IDC_HELPBUTTON);
        Later(dialog, 100, [](HWND shown) {  // once the dialog is on the screen
            Capture(shown, L"advanced-client-options");
            Press(shown, IDCANCEL);
        });
    });
    Run(&held);
    EXPECT_EQ(g_helpContexts, (std::vector<ULONG_PTR>{HELP_ADVANCED}));
}

// ---- Define SOS Hotkeys ------------------------------------------------------

const wchar_t kSection[] = L"SOS_Hotkeys";

// The section as "key=value" lines in file order; empty when absent.
std::vector<std::wstring> SosSection() {
    wchar_t buf[1024] = L"";
    DWORD n = GetPrivateProfileSectionW(kSection, buf, 1024, rc::kViewdeskIni);
    std::vector<std::wstring> lines;
    for (DWORD i = 0; i < n;) {
        std::wstring line(buf + i);
        lines.push_back(line);
        i += static_cast<DWORD>(line.size()) + 1;
    }
    return lines;
}

void WriteSos(const std::vector<std::pair<const wchar_t*, const wchar_t*>>& keys) {
    for (const auto& [key, value] : keys) WritePrivateProfileStringW(kSection, key, value, rc::kViewdeskIni);
}

constexpr int kKeyBoxes[] = {IDC_SOS_LEFT_SHIFT, IDC_SOS_RIGHT_SHIFT, IDC_SOS_CTRL, IDC_SOS_ALT};
constexpr int kAllBoxes[] = {IDC_SOS_LEFT_SHIFT, IDC_SOS_RIGHT_SHIFT, IDC_SOS_CTRL, IDC_SOS_ALT, IDC_SOS_DISABLE};

std::vector<bool> Marks(HWND dialog) {
    std::vector<bool> marks;
    for (int id : kAllBoxes) marks.push_back(Checked(dialog, id));
    return marks;
}

std::vector<bool> Enables(HWND dialog) {
    std::vector<bool> enabled;
    for (int id : kKeyBoxes) enabled.push_back(Enabled(dialog, id));
    return enabled;
}

// A click as the user makes it: the box toggles itself and notifies.
void ClickBox(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }

class SosHotkeys : public SideDialogs {
protected:
    void SetUp() override {
        SideDialogs::SetUp();
        saved_ = SosSection();
        WritePrivateProfileStringW(kSection, nullptr, nullptr, rc::kViewdeskIni);
    }
    void TearDown() override {
        WritePrivateProfileStringW(kSection, nullptr, nullptr, rc::kViewdeskIni);
        for (const auto& line : saved_) {
            std::size_t eq = line.find(L'=');
            WritePrivateProfileStringW(kSection, line.substr(0, eq).c_str(),
                                       eq == std::wstring::npos ? L"" : line.substr(eq + 1).c_str(),
                                       rc::kViewdeskIni);
        }
        SideDialogs::TearDown();
    }
    WORD Run() { return rc::RunSosHotkeys(g_shell.mainWindow); }
    std::vector<std::wstring> saved_;
};

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
    wchar_t cls[32] = L"";
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0) reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

TEST_F(SosHotkeys, WithoutTheSectionOpensWithTheDefaultsAndCancelWritesNothing) {
    driver_.Then([](HWND dialog) {
        EXPECT_EQ(Title(dialog), L"Define SOS Hotkeys");
        EXPECT_EQ(g_shell.currentWindow, dialog);
        EXPECT_EQ(g_shell.helpContext, HELP_SOS);
        EXPECT_EQ(Marks(dialog), (std::vector<bool>{true, true, false, true, false}));
        EXPECT_EQ(Enables(dialog), (std::vector<bool>{true, true, true, true}));

        std::vector<HWND> statics;
        EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&statics));
        bool textFound = false, iconFound = false;
        for (HWND s : statics) {
            if (Title(s) == L"Pressing these keys at the Client will pop up a dialog from which the user can "
                            L"request help from the Control:")
                textFound = true;
            if (SendMessageW(s, STM_GETICON, 0, 0) != 0) iconFound = true;
        }
        EXPECT_TRUE(textFound);
        EXPECT_TRUE(iconFound);

        ClickBox(dialog, IDC_SOS_CTRL);
        ClickBox(dialog, IDC_SOS_DISABLE);
        Click(dialog, IDC_HELPBUTTON);
        Later(dialog, 100, [](HWND shown) {  // once the dialog is on the screen
            Capture(shown, L"define-sos-hotkeys");
            Press(shown, IDCANCEL);
        });
    });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(SosSection().empty());
    EXPECT_EQ(g_helpContexts, (std::vector<ULONG_PTR>{HELP_SOS}));
}

TEST_F(SosHotkeys, EachBoxReadsAndWritesItsOwnKeyWithTheShiftKeysCrossed) {
    struct Case {
        std::vector<std::pair<const wchar_t*, const wchar_t*>> stored;
        std::vector<bool> marks;  // Left Shift, Right Shift, Left Ctrl, Left Alt, Disable
    } cases[] = {
        {{{L"RShift", L"1"}, {L"LShift", L"0"}, {L"Ctrl", L"0"}, {L"Alt", L"0"}, {L"None", L"0"}},
         {true, false, false, false, false}},
        {{{L"RShift", L"0"}, {L"LShift", L"1"}, {L"Ctrl", L"0"}, {L"Alt", L"0"}, {L"None", L"0"}},
         {false, true, false, false, false}},
        {{{L"RShift", L"0"}, {L"LShift", L"0"}, {L"Ctrl", L"1"}, {L"Alt", L"0"}, {L"None", L"0"}},
         {false, false, true, false, false}},
        {{{L"RShift", L"0"}, {L"LShift", L"0"}, {L"Ctrl", L"0"}, {L"Alt", L"1"}, {L"None", L"0"}},
         {false, false, false, true, false}},
        {{{L"Ctrl", L"1"}, {L"Alt", L"0"}}, {true, true, true, false, false}},  // the others default
    };
    const wchar_t* keys[] = {L"RShift", L"LShift", L"Ctrl", L"Alt", L"None"};
    for (const auto& c : cases) {
        WritePrivateProfileStringW(kSection, nullptr, nullptr, rc::kViewdeskIni);
        WriteSos(c.stored);
        std::vector<bool> shown;
        driver_.Then([&](HWND dialog) {
            shown = Marks(dialog);
            Press(dialog, IDOK);
        });
        EXPECT_EQ(Run(), 1);
        EXPECT_EQ(shown, c.marks);
        for (std::size_t i = 0; i < 5; ++i)  // OK writes them back as shown
            EXPECT_EQ(ReadIni(rc::kViewdeskIni, kSection, keys[i]), c.marks[i] ? L"1" : L"0") << keys[i];
    }

    // Checking Left Shift sets RShift; Right Shift stays under LShift.
    WriteSos({{L"RShift", L"0"}, {L"LShift", L"0"}});
    driver_.Then([](HWND dialog) {
        ClickBox(dialog, IDC_SOS_LEFT_SHIFT);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(ReadIni(rc::kViewdeskIni, kSection, L"RShift"), L"1");
    EXPECT_EQ(ReadIni(rc::kViewdeskIni, kSection, L"LShift"), L"0");

    // From no section: all five keys, in the order RShift, LShift, Ctrl,
    // Alt, None, with the clicks applied to the defaults.
    WritePrivateProfileStringW(kSection, nullptr, nullptr, rc::kViewdeskIni);
    driver_.Then([](HWND dialog) {
        ClickBox(dialog, IDC_SOS_LEFT_SHIFT);
        ClickBox(dialog, IDC_SOS_CTRL);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(SosSection(),
              (std::vector<std::wstring>{L"RShift=0", L"LShift=1", L"Ctrl=1", L"Alt=1", L"None=0"}));
}

TEST_F(SosHotkeys, DisableGreysTheKeyBoxesKeepingTheirMarksAndOkWritesThemAsTheyStand) {
    std::vector<bool> enabledAfterDisable, enabledAfterEnable, marksWhileGreyed;
    driver_.Then([&](HWND dialog) {
        ClickBox(dialog, IDC_SOS_DISABLE);
        enabledAfterDisable = Enables(dialog);
        marksWhileGreyed = Marks(dialog);
        ClickBox(dialog, IDC_SOS_DISABLE);
        enabledAfterEnable = Enables(dialog);
        ClickBox(dialog, IDC_SOS_CTRL);
        ClickBox(dialog, IDC_SOS_ALT);
        ClickBox(dialog, IDC_SOS_DISABLE);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Run(), 1);
    EXPECT_EQ(enabledAfterDisable, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(marksWhileGreyed, (std::vector<bool>{true, true, false, true, true}));
    EXPECT_EQ(enabledAfterEnable, (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(SosSection(),
              (std::vector<std::wstring>{L"RShift=1", L"LShift=1", L"Ctrl=1", L"Alt=0", L"None=1"}));

    // Opening with None set shows the key boxes greyed from the start.
    driver_.Then([&](HWND dialog) {
        EXPECT_EQ(Enables(dialog), (std::vector<bool>{false, false, false, false}));
        EXPECT_EQ(Marks(dialog), (std::vector<bool>{true, true, true, false, true}));
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Run(), 0);
}

// ---- Both templates: labels, tab order, access keys -----------------------------

// Texts of the dialog's controls in template order, icons left out.
std::vector<std::wstring> ControlTexts(HWND dialog) {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[32] = L"";
        GetClassNameW(child, cls, 32);
        if (lstrcmpiW(cls, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        texts.push_back(Title(child));
    }
    return texts;
}

std::vector<int> TabOrder(HWND dialog) {
    std::vector<int> ids;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND item = first; item && ids.size() < 20;) {
        ids.push_back(GetDlgCtrlID(item));
        item = GetNextDlgTabItem(dialog, item, FALSE);
        if (item == first) break;
    }
    return ids;
}

std::wstring AccessKeys(HWND dialog) {
    std::wstring keys;
    for (const std::wstring& text : ControlTexts(dialog))
        for (std::size_t i = 0; i + 1 < text.size(); ++i)
            if (text[i] == L'&' && text[i + 1] != L'&') keys += static_cast<wchar_t>(towupper(text[i + 1]));
    return keys;
}

using SideTemplates = SosHotkeys;  // the SOS section is put back afterwards

TEST_F(SideTemplates, LabelsTabOrderAndAccessKeysFollowTheLayout) {
    std::vector<std::wstring> texts;
    std::vector<int> tabs;
    std::wstring keys;
    auto look = [&](HWND dialog) {
        texts = ControlTexts(dialog);
        tabs = TabOrder(dialog);
        keys = AccessKeys(dialog);
        Press(dialog, IDCANCEL);
    };

    rc::ClientHeldSettings held;
    driver_.Then(look);
    rc::RunAdvancedOptions(g_shell.mainWindow, &held);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Encrypted &security key (* = use serial no):", L"", L"Set...",
                                                L"&Cache Size:", L"", L"KBytes",
                                                L"&Full Screen DOS Box Super VGA video mode (hex)", L"",
                                                L"&Output Modem debug information", L"", L"OK", L"Cancel",
                                                L"&Help"}));
    // The greyed video mode field and modem debug box are passed over.
    EXPECT_EQ(tabs, (std::vector<int>{IDC_ADV_SECURITY_KEY, IDC_ADV_SET_KEY, IDC_ADV_CACHE, IDOK, IDCANCEL,
                                      IDC_HELPBUTTON}));
    EXPECT_EQ(keys, L"SCFOH");

    driver_.Then(look);
    rc::RunSosHotkeys(g_shell.mainWindow);
    EXPECT_EQ(texts, (std::vector<std::wstring>{
                         L"Pressing these keys at the Client will pop up a dialog from which the user can request "
                         L"help from the Control:",
                         L"&Left Shift", L"&Right Shift", L"Left &Ctrl", L"Left &Alt", L"&Disable SOS Function", L"OK",
                         L"Cancel", L"&Help"}));
    EXPECT_EQ(tabs, (std::vector<int>{IDC_SOS_LEFT_SHIFT, IDC_SOS_RIGHT_SHIFT, IDC_SOS_CTRL, IDC_SOS_ALT,
                                      IDC_SOS_DISABLE, IDOK, IDCANCEL, IDC_HELPBUTTON}));
    EXPECT_EQ(keys, L"LRCADH");
}

}  // namespace

// Keyboard use of the dialog templates, created as they are stored (no
// dialog procedure greys anything): the Tab key walks the controls in the
// order they are laid out, and the access keys are the ones given, none
// twice.
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"

using namespace rctest;

namespace {

INT_PTR CALLBACK Bare(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(Templates, TabOrderFollowsTheLayoutAndAccessKeysAreUnique) {
    struct Case {
        int id;
        std::vector<int> tabs;
        const wchar_t* keys;
    } cases[] = {
        {IDD_ADVANCED, {IDC_ADV_SECURITY_KEY, IDC_ADV_SET_KEY, IDC_ADV_CACHE, IDC_ADV_VIDEO_MODE, IDC_ADV_MODEM_DEBUG,
                        IDOK, IDCANCEL, IDC_HELPBUTTON}, L"SCFOH"},
        {IDD_SOS, {IDC_SOS_LEFT_SHIFT, IDC_SOS_RIGHT_SHIFT, IDC_SOS_CTRL, IDC_SOS_ALT, IDC_SOS_DISABLE, IDOK, IDCANCEL,
                   IDC_HELPBUTTON}, L"LRCADH"},
        {IDD_DIALBACK_FILE, {IDC_DB_LIST, IDC_DB_ADD, IDC_DB_EDIT, IDC_DB_DELETE, IDOK, IDC_HELPBUTTON, IDCANCEL}, L"AEDSH"},
        {IDD_DIALBACK_ENTRY, {IDC_DBE_CODE, IDC_DBE_SET, IDC_DBE_PHONE, IDC_DBE_DELAY, IDOK, IDCANCEL, IDC_HELPBUTTON},
         L"PSNDH"},
        {IDD_SAVE_DIALBACK, {IDC_SAVE_FILENAME, IDOK, IDCANCEL}, L"F"},
        {IDD_SET_PASSWORD, {IDC_SET_TEXT, IDOK, IDCANCEL}, L""},
        {IDD_SET_KEY, {IDC_SET_TEXT, IDOK, IDCANCEL}, L""},
        {IDD_ICON_MAINTENANCE, {IDC_IM_GROUPS, IDC_IM_ICONS, IDC_IM_NEW, IDC_IM_EDIT, IDC_IM_DELETE, IDC_HELPBUTTON,
                                IDCANCEL, IDC_IM_COMMAND_LINE}, L"GINEDH"},
        {IDD_CREATE_ICON, {IDC_CI_DESCRIPTION, IDC_CI_GROUPS, IDC_CI_DIRECTORY, IDC_CI_ICON_FILE, IDC_CI_BROWSE,
                           IDC_CI_PREVIOUS, IDC_CI_NEXT, IDOK, IDCANCEL, IDC_HELPBUTTON}, L"DAFIBH"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        rc::DialogTemplate stored(c.id);
        ASSERT_TRUE(stored);
        HWND dialog = CreateDialogIndirectParamW(rc::g_shell.instance, stored.get(), rc::g_shell.mainWindow, Bare, 0);
        ASSERT_NE(dialog, nullptr);
        std::vector<int> tabs;
        HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
        for (HWND item = first; item && tabs.size() < 20; item = GetNextDlgTabItem(dialog, item, FALSE)) {
            if (!tabs.empty() && item == first) break;
            if (GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE) tabs.push_back(GetDlgCtrlID(item));
        }
        std::wstring keys;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            std::wstring text = Title(child);
            for (std::size_t i = 0; i + 1 < text.size(); ++i)
                if (text[i] == L'&' && text[i + 1] != L'&') keys += static_cast<wchar_t>(towupper(text[i++ + 1]));
        }
        EXPECT_EQ(tabs, c.tabs);
        EXPECT_EQ(keys, c.keys);
        DestroyWindow(dialog);
    }
}

}  // namespace

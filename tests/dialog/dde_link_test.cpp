// The Program Manager link against a real DDE server in another process:
// tools/progman-standin, which keeps its groups as folders of shell links
// and logs what it receives. Wine's shell answers every initiate too, after
// the stand-in: only the first to acknowledge is asked (its refusal of the
// group list, alone, is met by ProgmanNoAnswer).
#include "progman/dde_link_win.h"

#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

using namespace rctest;

namespace {

constexpr wchar_t kViewdesk[] = L"C:\\DdeLinkTest\\VIEWDESK.EXE";

// What the owning dialog hears while the link works for it.
struct OwnerRecord {
    int itemsLoaded = 0, ticks = 0;
};
OwnerRecord g_owner;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WMU_ITEMS_LOADED) return ++g_owner.itemsLoaded, 0;
    if (message != WM_TIMER || wParam != 1) return DefWindowProcW(window, message, wParam, lParam);
    return ++g_owner.ticks, 0;
}

class DdeLink : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = L"DdeLinkTestOwner";
        RegisterClassW(&wc);
        ResetGroups({});
        CreateDirectoryW(L"C:\\DdeLinkTest", nullptr);
        WriteBytes(kViewdesk, "MZ");
        g_owner = OwnerRecord{};
        owner_ = CreateWindowExW(0, L"DdeLinkTestOwner", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                                 nullptr, nullptr, nullptr, nullptr);
        CreateWindowExW(0, L"listbox", L"", WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_HASSTRINGS, 0, 0, 380, 200, owner_,
                        reinterpret_cast<HMENU>(1), nullptr, nullptr);
        list_ = GetDlgItem(owner_, 1);
    }
    void TearDown() override {
        DestroyWindow(owner_);
        DialogTest::TearDown();
    }
    void Execute(const std::wstring& block) {
        rc::ExecuteCommands(owner_, rc::MakeCommandBlock(block, 2048));
    }
    // A block as Create Program Icon writes it, every number set.
    static std::wstring AddBlock(const std::wstring& group, const std::wstring& options, const std::wstring& description) {
        return L"[CreateGroup(" + group + L")][ShowGroup(\"" + group + L"\", 1)][AddItem(\"" + kViewdesk + L"\" " + options +
               L",\"" + description + L"\",c:\\ddelinktest\\viewdesk.exe,1,40,8,C:\\DdeLinkTest,1620,1,1)]";
    }
    HWND ItemWindow() const { return FindWindowExW(owner_, nullptr, L"static", nullptr); }

    HWND owner_ = nullptr, list_ = nullptr;
};

TEST_F(DdeLink, GroupListFillsTheListFromTheFirstToAcknowledgeAndStopsItsTimer) {
    ResetGroups({L"Zeta Tools", L"Brennix", L"Accessories"});
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start());
    rc::RequestGroupList(owner_, list_, LB_ADDSTRING);
    EXPECT_EQ(Entries(owner_, 1), (std::vector<std::wstring>{L"Accessories", L"Brennix", L"Zeta Tools"}));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(ItemWindow(), nullptr) << "the conversation window outlived its wait";
    EXPECT_EQ(standIn.Count(L"request\t13\tPROGMAN"), 1);
    EXPECT_EQ(standIn.Count(L"data\t13\t3"), 1);
    EXPECT_EQ(standIn.Count(L"terminate"), 1);
    int ticks = g_owner.ticks;  // timer 1 is gone with the wait
    Pump(1300);
    EXPECT_EQ(g_owner.ticks, ticks);
}

TEST_F(DdeLink, ExecuteFreesTheBlockAndEveryAnswerTellsTheOwner) {
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start());
    std::wstring add = AddBlock(L"Brennix Link", L"/* STATION1 /T15 ", L"Station 1");
    HGLOBAL block = rc::MakeCommandBlock(add, 2048);
    rc::ExecuteCommands(owner_, block);
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "the acknowledged block is freed";
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(standIn.Count(L"execute\t" + add), 1);  // exactly as sent
    const std::wstring del = L"[ShowGroup(\"Brennix Link\", 1)][DeleteItem(\"Station 1\")]";
    Execute(del);
    EXPECT_FALSE(FileThere(LinkPath(L"Brennix Link", L"Station 1")));
    Execute(del);  // refused, and treated as accepted: the owner hears of it
    EXPECT_EQ(standIn.Count(L"acknowledged\t1"), 2);
    EXPECT_EQ(standIn.Count(L"acknowledged\t0"), 1);
    EXPECT_TRUE(WaitFor([] { return g_owner.itemsLoaded == 3; }, 1000));
}

// The item lines themselves are the core's; here they are seen to arrive,
// each with the value 1, alike whether Program Manager answers in Unicode or
// in the ANSI code page (the group list too), and a group that is not there
// to end quietly.
TEST_F(DdeLink, GroupItemsComeOneRequestAfterAnotherThroughAHiddenWindowInEitherText) {
    const std::wstring group = L"Caf\u00e9 Items";  // é is in code page 1252
    for (const wchar_t* text : {L"", L"/ansi"}) {
        SCOPED_TRACE(*text ? "ANSI" : "Unicode");
        ProgmanStandIn standIn;
        ASSERT_TRUE(standIn.Start(text));
        Execute(AddBlock(group, L"/* CAF\u00c9 /T15 ", L"Caf\u00e9 Station"));
        SendMessageW(list_, LB_RESETCONTENT, 0, 0);
        rc::RequestGroupList(owner_, list_, LB_ADDSTRING);
        EXPECT_EQ(Entries(owner_, 1), std::vector<std::wstring>{group});
        EXPECT_EQ(standIn.Count(std::wstring(L"data\t") + (*text ? L"1" : L"13") + L"\t1"), 1);
        rc::RequestGroupItems(owner_, nullptr, nullptr);  // makes the hidden window
        HWND itemWindow = ItemWindow();
        ASSERT_NE(itemWindow, nullptr);
        EXPECT_FALSE(IsWindowVisible(itemWindow));
        struct Case {
            const wchar_t* group;
            std::vector<std::wstring> lines;
        } cases[] = {
            {L"CAF\u00e9 items",
             {L"Caf\u00e9 Station\tC:\\DdeLinkTest\\VIEWDESK.EXE /* CAF\u00c9 "
              L"/T15\tC:\\DdeLinkTest\tc:\\ddelinktest\\viewdesk.exe\t40\t8\t1\t1620\t1"}},
            {L"No Such Group", {}},
        };
        g_owner.itemsLoaded = 0;
        for (const auto& c : cases) {
            SendMessageW(list_, LB_RESETCONTENT, 0, 0);
            int loaded = g_owner.itemsLoaded;
            rc::RequestGroupItems(owner_, list_, c.group);
            ASSERT_TRUE(WaitFor([&] { return g_owner.itemsLoaded > loaded; }, 5000));
            Pump(200);
            EXPECT_EQ(g_owner.itemsLoaded, loaded + 1);
            EXPECT_EQ(Entries(owner_, 1), c.lines);
            for (LRESULT i = 0; i < static_cast<LRESULT>(c.lines.size()); ++i)
                EXPECT_EQ(SendMessageW(list_, LB_GETITEMDATA, i, 0), 1);
            EXPECT_EQ(GlobalFindAtomW(c.group), 0) << "the group's atom outlived the conversation";
            EXPECT_EQ(ItemWindow(), itemWindow);
        }
        EXPECT_EQ(standIn.Count(L"refused\tNo Such Group"), 1);
        // The second call without list and group destroys the window; a
        // request without it does nothing.
        rc::RequestGroupItems(owner_, nullptr, nullptr);
        EXPECT_EQ(ItemWindow(), nullptr);
        const std::size_t logged = standIn.Log().size();
        rc::RequestGroupItems(owner_, list_, group.c_str());
        Pump(500);
        EXPECT_EQ(standIn.Log().size(), logged);
    }
}

TEST_F(DdeLink, CommandBlockHoldsTheTextCutToFitWithItsTerminatorAndZerosAfter) {
    struct Case {
        const wchar_t* text;
        std::size_t bytes;
        const wchar_t* held;  // nullptr: no block
    } cases[] = {{L"abcdef", 14, L"abcdef"}, {L"abcdefg", 14, L"abcdef"}, {L"abcdef", 9, L"abc"},
                 {L"abc", 2, L""},         {L"abc", 1, nullptr},      {L"abc", 0, nullptr}};
    for (const auto& c : cases) {
        HGLOBAL block = rc::MakeCommandBlock(c.text, c.bytes);
        ASSERT_EQ(block != nullptr, c.held != nullptr) << c.bytes;
        if (!block) continue;
        ASSERT_GE(GlobalSize(block), c.bytes);
        const auto* p = static_cast<const wchar_t*>(GlobalLock(block));
        EXPECT_EQ(std::wstring(p, c.bytes / sizeof(wchar_t)), c.held + std::wstring(c.bytes / 2 - wcslen(c.held), L'\0'));
        GlobalUnlock(block);
        GlobalFree(block);
    }
}

}  // namespace

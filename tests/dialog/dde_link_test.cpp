// The Program Manager link against a real DDE server in another process:
// tools/progman-standin (RC_PROGMAN_STANDIN_EXE), which keeps its groups
// as folders of shell links and logs what it receives; and, with no
// stand-in running, Wine's own shell, which answers the initiate but
// refuses the group list.
#include "progman/dde_link_win.h"

#include "progman/progman_text.h"
#include "resources/resource.h"
#include "shell/shell_win.h"
#include "support/dialog_driver_win.h"
#include "support/progman_fixture_win.h"

#include <dde.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using namespace rctest;

namespace {

constexpr wchar_t kProgramFolder[] = L"C:\\DdeLinkTest";
constexpr wchar_t kViewdesk[] = L"C:\\DdeLinkTest\\VIEWDESK.EXE";

std::wstring WindowsFolder() {
    wchar_t w[MAX_PATH] = L"";
    GetWindowsDirectoryW(w, MAX_PATH);
    return w;
}

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

// Runs the thread's messages until `done` holds or `ms` have passed.
template <typename F>
bool PumpUntil(F done, DWORD ms) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms) return false;
        Pump(20);
    }
    return true;
}

// The stand-in's log lines, their fields joined again by TABs.
std::vector<std::wstring> LogLines(const ProgmanStandIn& standIn) {
    std::vector<std::wstring> lines;
    for (const auto& fields : standIn.Log()) {
        std::wstring line;
        for (std::size_t i = 0; i < fields.size(); ++i) line += (i ? L"\t" : L"") + fields[i];
        lines.push_back(line);
    }
    return lines;
}
int Count(const ProgmanStandIn& standIn, const std::wstring& line) {
    int n = 0;
    for (const auto& l : LogLines(standIn)) n += l == line;
    return n;
}
// Atom names read back in the case of the atom's first adder: Wine's shell
// adds "Progman" before we add "PROGMAN".
int CountAnyCase(const ProgmanStandIn& standIn, const std::wstring& line) {
    int n = 0;
    for (const auto& l : LogLines(standIn)) n += lstrcmpiW(l.c_str(), line.c_str()) == 0;
    return n;
}
int CountStarting(const ProgmanStandIn& standIn, const std::wstring& prefix) {
    int n = 0;
    for (const auto& l : LogLines(standIn)) n += l.compare(0, prefix.size(), prefix) == 0;
    return n;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

// A top-level window standing in for the owning dialog: it holds the list
// controls and counts what the link sends it.
struct OwnerRecord {
    int itemsLoaded = 0;
    int ticks = 0;
    int ticksWhileDisabled = 0;
};
OwnerRecord g_owner;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WMU_ITEMS_LOADED) {
        ++g_owner.itemsLoaded;
        return 0;
    }
    if (message == WM_TIMER && wParam == 1) {
        ++g_owner.ticks;
        if (!IsWindowEnabled(window)) ++g_owner.ticksWhileDisabled;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Acknowledgments sent to this thread's windows (the answers to an
// initiate) and terminates posted to them.
struct DdeTraffic {
    std::vector<std::pair<HWND, std::wstring>> initiateAnswers;  // the servers' windows and their classes
    std::vector<HWND> terminates;                         // who sent a terminate
};
DdeTraffic g_traffic;

LRESULT CALLBACK WatchSent(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->message == WM_DDE_ACK)
        g_traffic.initiateAnswers.emplace_back(reinterpret_cast<HWND>(m->wParam),
                                               ClassOf(reinterpret_cast<HWND>(m->wParam)));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchPosted(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && m->message == WM_DDE_TERMINATE)
        g_traffic.terminates.push_back(reinterpret_cast<HWND>(m->wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class DdeLink : public testing::Test {
protected:
    static void SetUpTestSuite() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"DdeLinkTestOwner";
        RegisterClassW(&wc);
    }

    void SetUp() override {
        ASSERT_NE(std::getenv("RC_PROGMAN_STANDIN_EXE"), nullptr) << "RC_PROGMAN_STANDIN_EXE is not set";
        ResetGroups({});
        CreateDirectoryW(kProgramFolder, nullptr);
        HANDLE h = CreateFileW(kViewdesk, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        g_owner = OwnerRecord{};
        g_traffic = DdeTraffic{};
        owner_ = CreateWindowExW(0, L"DdeLinkTestOwner", L"Owner", WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(owner_, nullptr);
        ShowWindow(owner_, SW_SHOWNOACTIVATE);
        list_ = CreateWindowExW(0, L"listbox", L"", WS_CHILD | WS_VISIBLE | LBS_SORT | LBS_HASSTRINGS, 0, 0, 380, 200,
                                owner_, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(list_, nullptr);
        sentHook_ = SetWindowsHookExW(WH_CALLWNDPROC, WatchSent, nullptr, GetCurrentThreadId());
        postedHook_ = SetWindowsHookExW(WH_GETMESSAGE, WatchPosted, nullptr, GetCurrentThreadId());
    }

    void TearDown() override {
        if (sentHook_) UnhookWindowsHookEx(sentHook_);
        if (postedHook_) UnhookWindowsHookEx(postedHook_);
        if (owner_) DestroyWindow(owner_);
        EXPECT_EQ(driver_.Pending(), 0u) << "a message box the test expected never opened";
        EXPECT_EQ(driver_.Unexpected(), 0) << "a message box opened that the test did not expect";
    }

    std::vector<std::wstring> Entries(HWND list, UINT countMessage = LB_GETCOUNT, UINT textMessage = LB_GETTEXT) const {
        std::vector<std::wstring> r;
        LRESULT n = SendMessageW(list, countMessage, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            wchar_t buf[1024] = L"";
            SendMessageW(list, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
            r.push_back(buf);
        }
        return r;
    }

    void Execute(const std::wstring& block) {
        HGLOBAL h = rc::MakeCommandBlock(block, rc::kCreateBlockChars * sizeof(wchar_t));
        ASSERT_NE(h, nullptr);
        rc::ExecuteCommands(owner_, h);
    }

    static std::wstring AddBlock(const std::wstring& group, const std::wstring& program, const std::wstring& options,
                                 const std::wstring& description, int majorVersion = 6) {
        rc::IconCommandInput in;
        in.programPath = program;
        in.options = options;
        in.description = description;
        in.iconFile = L"c:\\ddelinktest\\viewdesk.exe";
        in.iconIndex = 1;
        in.x = 40;
        in.y = 8;
        in.directory = kProgramFolder;
        in.hotKey = 1620;
        in.minimize = 1;
        in.group = group;
        in.majorVersion = majorVersion;
        return rc::CreateIconCommands(in, nullptr);
    }

    HWND ItemWindow() const { return FindWindowExW(owner_, nullptr, L"static", nullptr); }

    DialogDriver driver_;
    HWND owner_ = nullptr;
    HWND list_ = nullptr;
    HHOOK sentHook_ = nullptr;
    HHOOK postedHook_ = nullptr;
};

TEST_F(DdeLink, GroupListFillsListBoxAndComboBox) {
    ResetGroups({L"Zeta Tools", L"Brennix", L"Accessories"});
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start());

    rc::RequestGroupList(owner_, list_, LB_ADDSTRING);
    EXPECT_EQ(Entries(list_), (std::vector<std::wstring>{L"Accessories", L"Brennix", L"Zeta Tools"}));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(ItemWindow(), nullptr) << "the conversation window outlived its wait";

    HWND combo = CreateWindowExW(0, L"combobox", L"", WS_CHILD | WS_VISIBLE | CBS_SIMPLE | CBS_SORT | CBS_HASSTRINGS,
                                 0, 0, 200, 200, owner_, nullptr, GetModuleHandleW(nullptr), nullptr);
    rc::RequestGroupList(owner_, combo, CB_ADDSTRING);
    EXPECT_EQ(Entries(combo, CB_GETCOUNT, CB_GETLBTEXT),
              (std::vector<std::wstring>{L"Accessories", L"Brennix", L"Zeta Tools"}));

    EXPECT_EQ(CountAnyCase(standIn, L"request\t13\tPROGMAN"), 2);
    EXPECT_EQ(Count(standIn, L"data\t13\t3"), 2);
    EXPECT_EQ(Count(standIn, L"terminate"), 2);

    // Timer 1 is gone with the wait: no tick comes afterwards.
    int ticks = g_owner.ticks;
    Pump(1300);
    EXPECT_EQ(g_owner.ticks, ticks);
}

TEST_F(DdeLink, SecondAcknowledgerIsSentAwayAndOneConversationRemains) {
    ResetGroups({L"Brennix"});
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start());

    rc::RequestGroupList(owner_, list_, LB_ADDSTRING);
    EXPECT_EQ(Entries(list_), std::vector<std::wstring>{L"Brennix"});

    // Both the stand-in and Wine's shell answered the initiate.
    ASSERT_EQ(g_traffic.initiateAnswers.size(), 2u);
    EXPECT_EQ(g_traffic.initiateAnswers[0].second, L"BrennixProgmanStandInConversation")
        << "the stand-in answers first under Wine";
    EXPECT_EQ(g_traffic.initiateAnswers[1].second, L"WineDdeServerConvW");
    HWND shell = g_traffic.initiateAnswers[1].first;
    // One request reached the stand-in, and nothing was shown.
    EXPECT_EQ(CountAnyCase(standIn, L"request\t13\tPROGMAN"), 1);
    // Wine's shell was told to terminate: it answers with a terminate of
    // its own, or has closed its side already.
    EXPECT_TRUE(PumpUntil(
        [&] {
            for (HWND t : g_traffic.terminates)
                if (t == shell) return true;
            return !IsWindow(shell);
        },
        3000));
}

TEST_F(DdeLink, WineShellRefusesGroupListWithWarning) {
    ResetGroups({L"Brennix"});
    std::wstring text, caption;
    driver_.Then([&](HWND box) {
        text = MessageBoxText(box);
        caption = Title(box);
        Press(box, IDOK);
    });
    DWORD start = GetTickCount();
    rc::RequestGroupList(owner_, list_, LB_ADDSTRING);
    DWORD took = GetTickCount() - start;

    EXPECT_EQ(text, rc::LoadText(IDS_NO_GROUPS));
    EXPECT_EQ(caption, rc::LoadText(IDS_WARNING));
    EXPECT_EQ(SendMessageW(list_, LB_GETCOUNT, 0, 0), 0);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_LT(took, rc::kProgmanAnswerLimitMs) << "the refusal must end the wait, not the time limit";
}

TEST_F(DdeLink, SilentServerIsGivenUpAfterTheTimeLimit) {
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start(L"/silent"));
    std::wstring text;
    HWND boxOwner = nullptr;
    driver_.Then([&](HWND box) {
        text = MessageBoxText(box);
        boxOwner = GetWindow(box, GW_OWNER);
        Press(box, IDOK);
    });
    DWORD start = GetTickCount();
    rc::RequestGroupList(owner_, list_, LB_ADDSTRING);
    DWORD took = GetTickCount() - start;

    EXPECT_EQ(text, L"Program Manager did not answer within 10 seconds.\nThe operation was abandoned.");
    EXPECT_EQ(boxOwner, owner_);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_GE(took, rc::kProgmanAnswerLimitMs - 100);
    EXPECT_LT(took, rc::kProgmanAnswerLimitMs + 5000);
    // The owner was disabled and got its 1000 ms ticks while it waited.
    EXPECT_GE(g_owner.ticks, 8);
    EXPECT_EQ(g_owner.ticksWhileDisabled, g_owner.ticks);
    EXPECT_EQ(ItemWindow(), nullptr);
    EXPECT_EQ(CountAnyCase(standIn, L"request\t13\tPROGMAN"), 1);
    // Given up, the conversation was ended from our side.
    EXPECT_TRUE(PumpUntil([&] { return Count(standIn, L"terminate") == 1; }, 3000));
}

TEST_F(DdeLink, SilentServerGivenUpFreesTheCommandBlock) {
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start(L"/silent"));
    driver_.Then([](HWND box) { Press(box, IDOK); });
    HGLOBAL block = rc::MakeCommandBlock(L"[ShowGroup(\"Brennix\", 1)]", 1024);
    ASSERT_NE(block, nullptr);
    rc::ExecuteCommands(owner_, block);
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE));
    EXPECT_TRUE(IsWindowEnabled(owner_));
    Pump(100);
    EXPECT_EQ(g_owner.itemsLoaded, 0) << "nothing was acknowledged";
    EXPECT_EQ(Count(standIn, L"execute\t[ShowGroup(\"Brennix\", 1)]"), 1);
}

TEST_F(DdeLink, ExecuteCreatesGroupAndShortcutThenDeletesIt) {
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start());
    const std::wstring group = L"Brennix Link";
    std::wstring add = AddBlock(group, kViewdesk, L"/* STATION1 /T15 ", L"Station 1");
    ASSERT_NE(add.find(L"[CreateGroup(Brennix Link)]"), std::wstring::npos);

    HGLOBAL block = rc::MakeCommandBlock(add, rc::kCreateBlockChars * sizeof(wchar_t));
    ASSERT_NE(block, nullptr);
    rc::ExecuteCommands(owner_, block);
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "the acknowledged block is freed";
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_TRUE(PumpUntil([] { return g_owner.itemsLoaded == 1; }, 1000));

    // The shortcut lies where Create Program Icon marks it, and is a shell link.
    std::wstring link = rc::StartMenuLinkPath(WindowsFolder(), group, L"Station 1");
    ASSERT_TRUE(FileThere(link)) << Narrow(link);
    DWORD flags = 0;
    ASSERT_TRUE(ReadLinkFlags(link, &flags));
    EXPECT_EQ(flags & 0x400u, 0u) << "run in a separate process is for Create Program Icon to mark";

    // The stand-in received the block exactly and carried it out.
    EXPECT_EQ(Count(standIn, L"execute\t" + add), 1);
    EXPECT_EQ(Count(standIn, L"acknowledged\t1"), 1);

    std::wstring del = rc::DeleteIconCommands(group, L"Station 1");
    Execute(del);
    EXPECT_FALSE(FileThere(link));
    EXPECT_EQ(Count(standIn, L"execute\t" + del), 1);
    EXPECT_EQ(Count(standIn, L"acknowledged\t1"), 2);

    // A refused block is treated as an accepted one: the owner hears of it.
    Execute(del);
    EXPECT_EQ(Count(standIn, L"acknowledged\t0"), 1);
    EXPECT_TRUE(PumpUntil([] { return g_owner.itemsLoaded == 3; }, 1000));
    EXPECT_EQ(CountStarting(standIn, L"request"), 0);
}

TEST_F(DdeLink, GroupItemsGivesViewdeskItemLinesAndItemsLoaded) {
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start());
    const std::wstring group = L"Brennix Items";
    // Both AddItem forms the Configurator writes, and an item of another
    // program that mentions VIEWDESK only in its options.
    Execute(AddBlock(group, kViewdesk, L"/* STATION1 /T15 ", L"Station 1", 6));
    Execute(L"[ShowGroup(\"" + group + L"\", 1)][AddItem(\"c:\\ddelinktest\\viewdesk.exe /* STATION2 \",\"Station 2\","
            L"c:\\ddelinktest\\viewdesk.exe,0,0,0,C:\\DdeLinkTest,0,0,1)]");
    Execute(L"[ShowGroup(\"" + group + L"\", 1)][AddItem(\"C:\\windows\\notepad.exe\" VIEWDESK.TXT ,\"Notes\","
            L"C:\\windows\\notepad.exe,0,0,0,C:\\windows,0,0,1)]");
    ASSERT_EQ(Count(standIn, L"acknowledged\t1"), 3);
    g_owner.itemsLoaded = 0;

    rc::RequestGroupItems(owner_, nullptr, nullptr);
    HWND itemWindow = ItemWindow();
    ASSERT_NE(itemWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(itemWindow));

    rc::RequestGroupItems(owner_, list_, L"brennix items");
    ASSERT_TRUE(PumpUntil([] { return g_owner.itemsLoaded > 0; }, 5000));
    Pump(200);
    EXPECT_EQ(g_owner.itemsLoaded, 1);
    std::vector<std::wstring> entries = Entries(list_);
    EXPECT_EQ(entries, (std::vector<std::wstring>{
                           L"Station 1\tC:\\DdeLinkTest\\VIEWDESK.EXE /* STATION1 /T15\tC:\\DdeLinkTest\t"
                           L"c:\\ddelinktest\\viewdesk.exe\t40\t8\t1\t1620\t1",
                           L"Station 2\tc:\\ddelinktest\\viewdesk.exe /* STATION2\tC:\\DdeLinkTest\t"
                           L"c:\\ddelinktest\\viewdesk.exe\t0\t0\t0\t0\t0"}));
    for (LRESULT i = 0; i < static_cast<LRESULT>(entries.size()); ++i)
        EXPECT_EQ(SendMessageW(list_, LB_GETITEMDATA, static_cast<WPARAM>(i), 0), 1);
    EXPECT_EQ(Count(standIn, L"request\t13\tbrennix items"), 1);
    EXPECT_EQ(GlobalFindAtomW(L"brennix items"), 0) << "the group's atom outlived the conversation";

    // The window serves one request after another; an unknown group is
    // refused quietly and still ends with the items loaded message.
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    rc::RequestGroupItems(owner_, list_, L"No Such Group");
    ASSERT_TRUE(PumpUntil([] { return g_owner.itemsLoaded == 2; }, 5000));
    EXPECT_EQ(SendMessageW(list_, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Count(standIn, L"refused\tNo Such Group"), 1);
    EXPECT_EQ(ItemWindow(), itemWindow);

    // A group with no items: its own line only.
    CreateDirectoryW((ProgramsFolder() + L"\\Empty").c_str(), nullptr);
    rc::RequestGroupItems(owner_, list_, L"Empty");
    ASSERT_TRUE(PumpUntil([] { return g_owner.itemsLoaded == 3; }, 5000));
    EXPECT_EQ(SendMessageW(list_, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(Count(standIn, L"data\t13\t1"), 1);

    // The second call without list and group destroys the window; a
    // request without it does nothing.
    rc::RequestGroupItems(owner_, nullptr, nullptr);
    EXPECT_EQ(ItemWindow(), nullptr);
    int requests = CountStarting(standIn, L"request");
    rc::RequestGroupItems(owner_, list_, group.c_str());
    Pump(500);
    EXPECT_EQ(g_owner.itemsLoaded, 3);
    EXPECT_EQ(CountStarting(standIn, L"request"), requests);
}

TEST_F(DdeLink, EightBitRepliesAreConverted) {
    const std::wstring group = L"Caf\u00e9 Tools";  // é is in code page 1252
    ProgmanStandIn standIn;
    ASSERT_TRUE(standIn.Start(L"/ansi"));
    Execute(AddBlock(group, kViewdesk, L"/* CAF\u00c9 ", L"Caf\u00e9 Station"));
    ASSERT_EQ(Count(standIn, L"acknowledged\t1"), 1);

    rc::RequestGroupList(owner_, list_, LB_ADDSTRING);
    EXPECT_EQ(Entries(list_), std::vector<std::wstring>{group});
    EXPECT_EQ(Count(standIn, L"data\t1\t1"), 1);

    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    g_owner.itemsLoaded = 0;
    rc::RequestGroupItems(owner_, nullptr, nullptr);
    rc::RequestGroupItems(owner_, list_, group.c_str());
    ASSERT_TRUE(PumpUntil([] { return g_owner.itemsLoaded == 1; }, 5000));
    std::vector<std::wstring> entries = Entries(list_);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].substr(0, entries[0].find(L'\t')), L"Caf\u00e9 Station");
    EXPECT_NE(entries[0].find(L"/* CAF\u00c9"), std::wstring::npos);
    rc::RequestGroupItems(owner_, nullptr, nullptr);
}

struct BlockCase {
    const wchar_t* text;
    std::size_t bytes;
    const wchar_t* held;  // what the block holds before its terminator
};

class CommandBlock : public testing::TestWithParam<BlockCase> {};

TEST_P(CommandBlock, HoldsTheTextCutToFitWithItsTerminator) {
    const BlockCase& c = GetParam();
    HGLOBAL block = rc::MakeCommandBlock(c.text, c.bytes);
    ASSERT_NE(block, nullptr);
    ASSERT_GE(GlobalSize(block), c.bytes);
    const auto* p = static_cast<const wchar_t*>(GlobalLock(block));
    ASSERT_NE(p, nullptr);
    std::size_t room = c.bytes / sizeof(wchar_t);
    std::size_t length = wcsnlen(p, room);
    EXPECT_LT(length, room) << "no terminator inside the block";
    EXPECT_EQ(std::wstring(p, length), c.held);
    for (std::size_t i = length; i < room; ++i) EXPECT_EQ(p[i], L'\0') << "at " << i;
    GlobalUnlock(block);
    GlobalFree(block);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CommandBlock,
                         testing::Values(BlockCase{L"[ShowGroup(\"A\", 1)]", 1024, L"[ShowGroup(\"A\", 1)]"},
                                         BlockCase{L"abcdef", 14, L"abcdef"}, BlockCase{L"abcdefg", 14, L"abcdef"},
                                         BlockCase{L"abcdef", 9, L"abc"}, BlockCase{L"abc", 2, L""},
                                         BlockCase{L"", 8, L""}));

TEST(CommandBlockSize, NoRoomForTheTerminatorGivesNoBlock) {
    EXPECT_EQ(rc::MakeCommandBlock(L"abc", 1), nullptr);
    EXPECT_EQ(rc::MakeCommandBlock(L"abc", 0), nullptr);
}

}  // namespace

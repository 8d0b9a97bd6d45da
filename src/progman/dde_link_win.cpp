#include "progman/dde_link_win.h"

#include <dde.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "progman/progman_text.h"
#include "resources/resource.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"

namespace rc {

namespace {

constexpr wchar_t kProgman[] = L"PROGMAN";                  // service and topic
constexpr UINT kUnicodeText = 13;                           // CF_UNICODETEXT: every request asks for it
constexpr WORD kReleaseFlag = 0x2000;                       // bit 13 of a data block's flag word
constexpr std::size_t kDataHeaderBytes = 2 * sizeof(WORD);  // flag word and format
constexpr UINT_PTR kWaitTimer = 1;
constexpr UINT kWaitTickMs = 1000;

// Set when Program Manager terminates a modal conversation. One for the
// whole program: there is only ever one modal wait, as its owner takes no
// input while it runs.
bool g_conversationDone = false;

// The procedure of the "static" class, which gets every message a
// conversation leaves alone.
WNDPROC g_staticProc = nullptr;

// What every conversation keeps.
struct Conversation {
    HWND window = nullptr;
    GlobalAtom application;
    GlobalAtom topic;
    int state = 0;  // 0: started; 1: initiate answered; 2: request or execute answered
    HWND server = nullptr;
    bool active = false;        // from the initiate until it has ended or been given up
    bool broadcasting = false;  // the initiate broadcast is being sent
    bool terminatePosted = false;
    DWORD lastHeard = 0;  // when the server last sent us something (or we last moved)
};

struct GroupListConversation : Conversation {
    HWND list = nullptr;
    UINT addMessage = 0;
};

struct GroupItemsConversation : Conversation {
    HWND list = nullptr;
    GlobalAtom item;
};

struct ExecuteConversation : Conversation {
    HWND owner = nullptr;
    HGLOBAL block = nullptr;
};

// The item conversation lives as long as its window, one for the program.
GroupItemsConversation g_items;
HWND g_itemWindow = nullptr;

// The code page of Japanese systems.
constexpr UINT kJapaneseCodePage = 932;

UINT ReplyCodePage() { return GetOEMCP() == kJapaneseCodePage ? kJapaneseCodePage : GetACP(); }

// A conversation window carries its context as a Conversation pointer,
// both in the start message and in its user data.
template <typename C>
C* ConversationOf(HWND window) {
    return static_cast<C*>(reinterpret_cast<Conversation*>(GetWindowLongPtrW(window, GWLP_USERDATA)));
}

HWND CreateConversationWindow(HWND owner, WNDPROC procedure) {
    // A child with no other style: hidden, zero size, and out of reach of
    // the initiate broadcast, which goes to top-level windows only.
    HWND window = CreateWindowExW(0, L"static", L"", WS_CHILD, 0, 0, 0, 0, owner, nullptr, g_shell.instance, nullptr);
    if (!window) return nullptr;
    auto former = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
    if (!g_staticProc) g_staticProc = former;
    return window;
}

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return g_staticProc ? CallWindowProcW(g_staticProc, window, message, wParam, lParam)
                        : DefWindowProcW(window, message, wParam, lParam);
}

void PostTerminate(Conversation* c) {
    if (!c->server || c->terminatePosted) return;
    PostMessageW(c->server, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(c->window), 0);
    c->terminatePosted = true;
}

// Ends a conversation from our side: the server is told, our atoms go.
void Abandon(Conversation* c) {
    if (!c->active) return;
    PostTerminate(c);
    c->application.reset();
    c->topic.reset();
    c->active = false;
}

// Adds the atoms and sends the initiate to every top-level window.
void StartConversation(HWND window, Conversation* c) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    c->window = window;
    c->state = 0;
    c->server = nullptr;
    c->terminatePosted = false;
    c->active = true;
    c->application.reset(GlobalAddAtomW(kProgman));
    c->topic.reset(GlobalAddAtomW(kProgman));
    c->lastHeard = GetTickCount();
    c->broadcasting = true;
    SendMessageW(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(c->application.get(), c->topic.get()));
    c->broadcasting = false;
}

enum class Ack { Initiate, Answer, Ignored };

// Tells an acknowledgment apart.
//
// Every acknowledgment that arrives while the initiate broadcast is still
// being sent answers the initiate; it is sent, not posted, and carries an
// application and a topic atom that the server added for us, which we
// delete. More than one server may answer (under Wine a Program Manager
// started after the desktop answers first and Wine's own shell second,
// both during the broadcast): the first becomes our server and every other
// is told to terminate at once, so one conversation remains and the state
// counter counts only our server's answers. With one server this is the
// plain rule: the first acknowledgment answers the initiate.
//
// Afterwards acknowledgments are posted with a packed parameter: the second
// from our server answers the request or the execute; later ones, and any
// from another window, are ignored.
Ack ClassifyAck(Conversation* c, HWND sender, LPARAM lParam, UINT_PTR* status, UINT_PTR* value) {
    *status = 0;
    *value = 0;
    if (c->broadcasting) {
        GlobalDeleteAtom(LOWORD(lParam));
        GlobalDeleteAtom(HIWORD(lParam));
        if (c->state == 0) {
            c->state = 1;
            c->server = sender;
            c->lastHeard = GetTickCount();
            return Ack::Initiate;
        }
        if (sender != c->server) PostMessageW(sender, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(c->window), 0);
        return Ack::Ignored;
    }
    UnpackDDElParam(WM_DDE_ACK, lParam, status, value);
    FreeDDElParam(WM_DDE_ACK, lParam);
    if (sender != c->server || c->state != 1) return Ack::Ignored;
    c->state = 2;
    c->lastHeard = GetTickCount();
    return Ack::Answer;
}

// Reads the text of a reply and hands it to `use`: format 13 as wide text
// where it lies; on systems of major version 4 or later any other format
// as 8-bit text converted into a copy (code page 932 when the OEM code page
// is 932, else the ANSI code page). Never reads past the block.
template <typename F>
void ReadReplyText(const BYTE* value, std::size_t bytes, WORD format, F use) {
    if (ReplyIsEightBit(SystemMajorVersion(), format)) {
        const char* text = reinterpret_cast<const char*>(value);
        std::size_t length = strnlen(text, bytes);
        std::wstring copy(length, L'\0');
        int n = length ? MultiByteToWideChar(ReplyCodePage(), 0, text, static_cast<int>(length), copy.data(),
                                             static_cast<int>(length))
                       : 0;
        copy.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        use(std::wstring_view(copy));
        return;
    }
    const wchar_t* text = reinterpret_cast<const wchar_t*>(value);
    use(std::wstring_view(text, wcsnlen(text, bytes / sizeof(wchar_t))));
}

// Takes a WM_DDE_DATA: reads it when it is our server's answer, then
// releases it (unlock; free when its release flag is set). Data is never
// acknowledged. True when it was our server's answer.
template <typename F>
bool TakeData(Conversation* c, HWND sender, LPARAM lParam, F use) {
    UINT_PTR handle = 0, item = 0;
    UnpackDDElParam(WM_DDE_DATA, lParam, &handle, &item);
    FreeDDElParam(WM_DDE_DATA, lParam);
    bool ours = sender == c->server && c->state == 1 && !c->terminatePosted;
    HGLOBAL data = reinterpret_cast<HGLOBAL>(handle);
    if (!data) return ours;
    if (ours) c->lastHeard = GetTickCount();
    bool release = false;
    {
        SIZE_T size = GlobalSize(data);
        GlobalView<const BYTE> view(data);
        if (view && size >= kDataHeaderBytes) {
            WORD header[2];
            std::memcpy(header, view.get(), sizeof header);
            release = (header[0] & kReleaseFlag) != 0;
            if (ours) ReadReplyText(view.get() + kDataHeaderBytes, size - kDataHeaderBytes, header[1], use);
        }
    }
    if (release) GlobalFree(data);
    return ours;
}

// Takes a WM_DDE_TERMINATE. True when our server ended the conversation:
// then its terminate is answered if we had not sent ours, and the
// application and topic atoms are deleted. A terminate from anyone else is
// the answer of a server we sent away.
bool TakeTerminate(Conversation* c, HWND sender) {
    if (!c->active || !c->server || sender != c->server) return false;
    PostTerminate(c);
    c->application.reset();
    c->topic.reset();
    c->active = false;
    c->lastHeard = GetTickCount();
    return true;
}

template <typename C>
C* Begin(HWND window, LPARAM lParam) {
    C* c = static_cast<C*>(reinterpret_cast<Conversation*>(lParam));
    StartConversation(window, c);
    return c;
}

bool PostRequest(Conversation* c, ATOM item) {
    LPARAM packed = PackDDElParam(WM_DDE_REQUEST, kUnicodeText, item);
    if (PostMessageW(c->server, WM_DDE_REQUEST, reinterpret_cast<WPARAM>(c->window), packed)) return true;
    FreeDDElParam(WM_DDE_REQUEST, packed);
    return false;
}

// ---- RequestGroupList ------------------------------------------------------------

LRESULT CALLBACK GroupListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WMU_START_CONVERSATION) {
        Begin<GroupListConversation>(window, lParam);
        return 0;
    }
    auto* c = ConversationOf<GroupListConversation>(window);
    if (!c) return PassOn(window, message, wParam, lParam);
    HWND sender = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_DDE_ACK: {
        UINT_PTR status, value;
        switch (ClassifyAck(c, sender, lParam, &status, &value)) {
        case Ack::Initiate:
            // The item asked for is "PROGMAN": the topic atom serves.
            if (!PostRequest(c, c->topic.get())) PostTerminate(c);
            break;
        case Ack::Answer:  // the request was refused
            WarningBox(g_shell.currentWindow, IDS_NO_GROUPS, MB_ICONEXCLAMATION);
            c->lastHeard = GetTickCount();  // the user's time at the box is not Program Manager's
            PostTerminate(c);
            break;
        case Ack::Ignored:
            break;
        }
        return 0;
    }
    case WM_DDE_DATA: {
        bool ours = TakeData(c, sender, lParam, [c](std::wstring_view text) {
            for (const std::wstring& line : SplitReplyLines(text))
                SendMessageW(c->list, c->addMessage, 0, reinterpret_cast<LPARAM>(line.c_str()));
        });
        if (ours) PostTerminate(c);
        return 0;
    }
    case WM_DDE_TERMINATE:
        if (TakeTerminate(c, sender)) g_conversationDone = true;
        return 0;
    default:
        break;
    }
    return PassOn(window, message, wParam, lParam);
}

// ---- RequestGroupItems -------------------------------------------------------------

LRESULT CALLBACK GroupItemsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WMU_START_CONVERSATION) {
        Begin<GroupItemsConversation>(window, lParam);
        return 0;
    }
    auto* c = ConversationOf<GroupItemsConversation>(window);
    if (message == WM_NCDESTROY) {
        if (c) {
            Abandon(c);
            c->item.reset();
        }
        if (g_itemWindow == window) g_itemWindow = nullptr;
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return PassOn(window, message, wParam, lParam);
    }
    if (!c) return PassOn(window, message, wParam, lParam);
    HWND sender = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_DDE_ACK: {
        UINT_PTR status, value;
        switch (ClassifyAck(c, sender, lParam, &status, &value)) {
        case Ack::Initiate:
            if (!PostRequest(c, c->item.get())) PostTerminate(c);
            break;
        case Ack::Answer:  // refused: the list stays empty, nothing is shown
            PostTerminate(c);
            break;
        case Ack::Ignored:
            break;
        }
        return 0;
    }
    case WM_DDE_DATA: {
        bool ours = TakeData(c, sender, lParam, [c](std::wstring_view text) {
            std::vector<std::wstring> lines = SplitReplyLines(text);
            // The first line is the group's own.
            for (std::size_t i = 1; i < lines.size(); ++i) {
                std::wstring itemLine;
                if (!ItemLineFromGroupLine(lines[i], &itemLine)) continue;
                LRESULT index = SendMessageW(c->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(itemLine.c_str()));
                if (index >= 0) SendMessageW(c->list, LB_SETITEMDATA, static_cast<WPARAM>(index), 1);
            }
        });
        if (ours) PostTerminate(c);
        return 0;
    }
    case WM_DDE_TERMINATE:
        if (TakeTerminate(c, sender)) {
            c->item.reset();
            PostMessageW(GetParent(c->list), WMU_ITEMS_LOADED, 0, 0);
        }
        return 0;
    default:
        break;
    }
    return PassOn(window, message, wParam, lParam);
}

// ---- ExecuteCommands -------------------------------------------------------------------

LRESULT CALLBACK ExecuteProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WMU_START_CONVERSATION) {
        Begin<ExecuteConversation>(window, lParam);
        return 0;
    }
    auto* c = ConversationOf<ExecuteConversation>(window);
    if (!c) return PassOn(window, message, wParam, lParam);
    HWND sender = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_DDE_ACK: {
        UINT_PTR status, value;
        switch (ClassifyAck(c, sender, lParam, &status, &value)) {
        case Ack::Initiate:
            if (!PostMessageW(c->server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(window),
                              reinterpret_cast<LPARAM>(c->block)))
                PostTerminate(c);
            break;
        case Ack::Answer:
            // Positive or negative alike. The acknowledgment carries the
            // block's handle back (from another process Wine maps the
            // server's copy back to ours); the block we handed over is the
            // one freed.
            if (c->block) GlobalFree(c->block);
            c->block = nullptr;
            PostMessageW(c->owner, WMU_ITEMS_LOADED, 0, 0);
            PostTerminate(c);
            break;
        case Ack::Ignored:
            break;
        }
        return 0;
    }
    case WM_DDE_DATA:  // not asked for: released only
        TakeData(c, sender, lParam, [](std::wstring_view) {});
        return 0;
    case WM_DDE_TERMINATE:
        if (TakeTerminate(c, sender)) {
            BringWindowToTop(c->owner);
            g_conversationDone = true;
        }
        return 0;
    default:
        break;
    }
    return PassOn(window, message, wParam, lParam);
}

// ---- The modal wait ---------------------------------------------------------------------

enum class WaitEnd { NotStarted, Ended, GivenUp, Quitting };

// Dispatches the thread's messages until the conversation is done. A server
// that never answers, or never terminates, would keep the owner disabled
// for good: after kProgmanAnswerLimitMs without a word from it the wait is
// given up. The quit message ends the wait too and is posted again for the
// main loop.
WaitEnd PumpUntilDone(const Conversation& c) {
    PumpEnd end = PumpMessagesUntil([] { return g_conversationDone; },
                                    [&c] {
                                        DWORD quiet = GetTickCount() - c.lastHeard;
                                        return quiet >= kProgmanAnswerLimitMs ? DWORD{0}
                                                                              : kProgmanAnswerLimitMs - quiet;
                                    });
    switch (end) {
    case PumpEnd::Done:
        return WaitEnd::Ended;
    case PumpEnd::TimedOut:
        return WaitEnd::GivenUp;
    default:
        return WaitEnd::Quitting;
    }
}

// IDS_PM_NO_ANSWER with the time limit in seconds, as a warning over the
// owner.
void TellNoAnswer(HWND owner) {
    FormattedBox(owner, IDS_WARNING, IDS_PM_NO_ANSWER, {static_cast<int>(kProgmanAnswerLimitMs / 1000)},
                 MB_OK | MB_ICONEXCLAMATION);
}

WaitEnd RunModal(HWND owner, Conversation* c, WNDPROC procedure) {
    WaitEnd end;
    {
        WaitCursor hourglass;
        Window window(CreateConversationWindow(owner, procedure));
        if (!window) return WaitEnd::NotStarted;
        SetTimer(owner, kWaitTimer, kWaitTickMs, nullptr);
        EnableWindow(owner, FALSE);
        g_conversationDone = false;
        SendMessageW(window.get(), WMU_START_CONVERSATION, 0, reinterpret_cast<LPARAM>(c));
        end = PumpUntilDone(*c);
        if (end != WaitEnd::Ended) Abandon(c);
        window.reset();
        EnableWindow(owner, TRUE);
        KillTimer(owner, kWaitTimer);
    }
    if (end == WaitEnd::GivenUp) TellNoAnswer(owner);
    return end;
}

}  // namespace

void RequestGroupList(HWND owner, HWND list, UINT addMessage) {
    GroupListConversation c;
    c.list = list;
    c.addMessage = addMessage;
    RunModal(owner, &c, GroupListProc);
}

void RequestGroupItems(HWND owner, HWND iconsList, const wchar_t* group) {
    if (!iconsList && !group) {
        if (g_itemWindow)
            DestroyWindow(g_itemWindow);  // its WM_NCDESTROY ends what is under way
        else
            g_itemWindow = CreateConversationWindow(owner, GroupItemsProc);
        return;
    }
    if (!g_itemWindow || !iconsList || !group) return;
    // A request while the previous one is still under way ends that one
    // first, so its late answers cannot be taken for this group's.
    // (Control Icon Maintenance asks again on every tick of timer 1, also
    // while a modal conversation runs.) With requests that do not overlap
    // this never happens.
    if (g_items.active) Abandon(&g_items);
    g_items.list = iconsList;
    g_items.item.reset(GlobalAddAtomW(group));
    Conversation* c = &g_items;
    SendMessageW(g_itemWindow, WMU_START_CONVERSATION, 0, reinterpret_cast<LPARAM>(c));
}

void ExecuteCommands(HWND owner, HGLOBAL block) {
    if (!block) return;
    ExecuteConversation c;
    c.owner = owner;
    c.block = block;
    WaitEnd end = RunModal(owner, &c, ExecuteProc);
    // Given up, or ended without an acknowledgment: the block is still ours.
    if (end != WaitEnd::NotStarted && c.block) GlobalFree(c.block);
}

HGLOBAL MakeCommandBlock(std::wstring_view text, std::size_t bytes) {
    if (bytes < sizeof(wchar_t)) return nullptr;
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, bytes));
    if (!block) return nullptr;
    {
        GlobalView<wchar_t> view(block.get());
        if (!view) return nullptr;
        std::size_t chars = std::min(text.size(), bytes / sizeof(wchar_t) - 1);
        std::copy_n(text.data(), chars, view.get());
    }
    return block.release();
}

}  // namespace rc

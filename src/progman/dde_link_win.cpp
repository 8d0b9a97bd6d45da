#include "progman/dde_link_win.h"

#include <dde.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <iterator>
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
constexpr UINT_PTR kWaitTimer = 1;                          // on the owner of a modal conversation
constexpr UINT kWaitTickMs = 1000;
constexpr UINT_PTR kLimitTimer = 1;  // on the conversation window: the time limit has passed

// The procedure of the "static" class, which gets every message a
// conversation leaves alone.
WNDPROC g_staticProc = nullptr;

// One conversation with Program Manager. The three kinds share the steps
// (initiate, one request or execute, one answer, terminate) and the rules
// for what arrives late; each kind says what it asks and what it does with
// the answer.
struct Conversation {
    explicit Conversation(bool requestsData) : requestsData(requestsData) {}
    virtual ~Conversation() = default;
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;

    // Posts the request or the execute to the server once it has answered
    // the initiate; false when it could not be posted.
    virtual bool Ask() = 0;
    // The server's acknowledgment of the request (a refusal: a request is
    // answered with data) or of the execute.
    virtual void Acknowledged() {}
    // The text of the server's data reply.
    virtual void Read(std::wstring_view) {}
    // The conversation is over: ended by the server, or given up.
    virtual void Over() {}

    const bool requestsData;  // a request, answered with data; else an execute
    HWND window = nullptr;
    GlobalAtom application;
    GlobalAtom topic;
    GlobalAtom item;  // the item asked for, when it is not the topic
    int state = 0;    // 0: started; 1: initiate answered; 2: request or execute answered
    HWND server = nullptr;
    bool active = false;        // from the initiate until it has ended or been given up
    bool answered = false;      // the request or the execute got its answer
    bool broadcasting = false;  // the initiate broadcast is being sent
    bool terminatePosted = false;
    DWORD started = 0;  // tick count at the initiate
    // The servers of this window's latest conversations, whose late
    // messages are told from a stranger's acknowledgment (below).
    HWND former[4] = {};
    std::size_t nextFormer = 0;

    bool WasServer(HWND w) const { return std::find(std::begin(former), std::end(former), w) != std::end(former); }
};

// The code page of Japanese systems.
constexpr UINT kJapaneseCodePage = 932;

UINT ReplyCodePage() { return GetOEMCP() == kJapaneseCodePage ? kJapaneseCodePage : GetACP(); }

Conversation* ConversationOf(HWND window) {
    return reinterpret_cast<Conversation*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK ConversationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

HWND CreateConversationWindow(HWND owner) {
    // A child with no other style: hidden, zero size, and out of reach of
    // the initiate broadcast, which goes to top-level windows only.
    HWND window = CreateWindowExW(0, L"static", L"", WS_CHILD, 0, 0, 0, 0, owner, nullptr, g_shell.instance, nullptr);
    if (!window) return nullptr;
    auto former = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ConversationProc)));
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

// Ends a conversation on our side: the server is told (when we know it)
// and our atoms go. Whatever the server sends for it afterwards matches no
// active conversation and is only released.
void Finish(Conversation* c) {
    if (!c->active) return;
    PostTerminate(c);
    c->application.reset();
    c->topic.reset();
    c->item.reset();
    if (c->server) c->former[c->nextFormer++ % std::size(c->former)] = c->server;
    c->server = nullptr;
    c->active = false;
    KillTimer(c->window, kLimitTimer);
    c->Over();
}

DWORD MillisecondsLeft(const Conversation& c) {
    DWORD spent = GetTickCount() - c.started;
    return spent >= kProgmanAnswerLimitMs ? DWORD{0} : kProgmanAnswerLimitMs - spent;
}

// Adds the atoms and sends the initiate to every top-level window, each
// window given at most kInitiateWindowLimitMs (one that has stopped reading
// its messages is passed over at once). Program Manager acknowledges while
// the broadcast is under way; when no one has by its end, the conversation
// is over at once, unanswered.
void StartConversation(HWND window, Conversation* c) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(c));
    c->window = window;
    c->state = 0;
    c->server = nullptr;
    c->terminatePosted = false;
    c->answered = false;
    c->active = true;
    c->application.reset(GlobalAddAtomW(kProgman));
    c->topic.reset(GlobalAddAtomW(kProgman));
    c->started = GetTickCount();
    SetTimer(window, kLimitTimer, kProgmanAnswerLimitMs, nullptr);
    c->broadcasting = true;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(window),
                        MAKELPARAM(c->application.get(), c->topic.get()), SMTO_ABORTIFHUNG | SMTO_NORMAL,
                        kInitiateWindowLimitMs, &result);
    c->broadcasting = false;
    if (c->state == 0) Finish(c);
}

// An acknowledgment of the initiate is sent, not posted, and carries an
// application and a topic atom that the server added for us, which we
// delete. More than one server may answer (under Wine a Program Manager
// started after the desktop answers first and Wine's own shell second,
// both during the broadcast): the first becomes our server and every other
// is told to terminate at once, so one conversation remains and the state
// counter counts only our server's answers. One that comes after the
// broadcast (a server slower than the broadcast's limit to answer) is sent
// away too: an acknowledgment from a window that is not and was not our
// server can only answer an initiate.
void TakeInitiateAck(Conversation* c, HWND sender, LPARAM lParam) {
    GlobalDeleteAtom(LOWORD(lParam));
    GlobalDeleteAtom(HIWORD(lParam));
    if (c->broadcasting && c->state == 0) {
        c->state = 1;
        c->server = sender;
        if (!c->Ask()) Finish(c);
        return;
    }
    if (sender != c->server) PostMessageW(sender, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(c->window), 0);
}

// Later acknowledgments are posted with a packed parameter: the second from
// our server answers the request or the execute; later ones, any from
// another window, and any for a conversation that is over, are ignored.
// Positive and negative are treated alike.
void TakeAck(Conversation* c, HWND sender, LPARAM lParam) {
    bool known = (c->server && sender == c->server) || c->WasServer(sender);
    if (c->broadcasting || !known) {
        TakeInitiateAck(c, sender, lParam);
        return;
    }
    UINT_PTR status = 0, value = 0;
    UnpackDDElParam(WM_DDE_ACK, lParam, &status, &value);
    FreeDDElParam(WM_DDE_ACK, lParam);
    if (!c->active || sender != c->server || c->state != 1) return;
    c->state = 2;
    c->answered = true;
    c->Acknowledged();
    PostTerminate(c);
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

// Takes a WM_DDE_DATA: reads it when it answers our request, then releases
// it (unlock; free when its release flag is set), ours or not. Data is
// never acknowledged.
void TakeData(Conversation* c, HWND sender, LPARAM lParam) {
    UINT_PTR handle = 0, item = 0;
    UnpackDDElParam(WM_DDE_DATA, lParam, &handle, &item);
    FreeDDElParam(WM_DDE_DATA, lParam);
    bool ours = c->active && c->requestsData && sender == c->server && c->state == 1 && !c->terminatePosted;
    if (HGLOBAL data = reinterpret_cast<HGLOBAL>(handle)) {
        bool release = false;
        {
            SIZE_T size = GlobalSize(data);
            GlobalView<const BYTE> view(data);
            if (view && size >= kDataHeaderBytes) {
                WORD header[2];
                std::memcpy(header, view.get(), sizeof header);
                release = (header[0] & kReleaseFlag) != 0;
                if (ours)
                    ReadReplyText(view.get() + kDataHeaderBytes, size - kDataHeaderBytes, header[1],
                                  [c](std::wstring_view text) { c->Read(text); });
            }
        }
        if (release) GlobalFree(data);
    }
    if (!ours) return;
    c->answered = true;
    PostTerminate(c);
}

// Takes a WM_DDE_TERMINATE. Our server's ends the conversation (its
// terminate is answered if we had not sent ours); anyone else's is the
// answer of a server we sent away, or comes for a conversation that is
// over.
void TakeTerminate(Conversation* c, HWND sender) {
    if (c->active && c->server && sender == c->server) Finish(c);
}

// The one procedure of every conversation window.
LRESULT CALLBACK ConversationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WMU_START_CONVERSATION) {
        StartConversation(window, reinterpret_cast<Conversation*>(lParam));
        return 0;
    }
    Conversation* c = ConversationOf(window);
    if (message == WM_NCDESTROY) {
        if (c) Finish(c);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        return PassOn(window, message, wParam, lParam);
    }
    if (!c) return PassOn(window, message, wParam, lParam);
    HWND sender = reinterpret_cast<HWND>(wParam);
    switch (message) {
    case WM_DDE_ACK:
        TakeAck(c, sender, lParam);
        return 0;
    case WM_DDE_DATA:
        TakeData(c, sender, lParam);
        return 0;
    case WM_DDE_TERMINATE:
        TakeTerminate(c, sender);
        return 0;
    case WM_TIMER:
        if (wParam != kLimitTimer) break;
        Finish(c);  // the time limit has passed
        return 0;
    default:
        break;
    }
    return PassOn(window, message, wParam, lParam);
}

bool PostRequest(Conversation* c, ATOM item) {
    LPARAM packed = PackDDElParam(WM_DDE_REQUEST, kUnicodeText, item);
    if (PostMessageW(c->server, WM_DDE_REQUEST, reinterpret_cast<WPARAM>(c->window), packed)) return true;
    FreeDDElParam(WM_DDE_REQUEST, packed);
    return false;
}

// ---- The three kinds -------------------------------------------------------------

struct GroupListConversation final : Conversation {
    GroupListConversation(HWND list, UINT addMessage) : Conversation(true), list(list), addMessage(addMessage) {}
    // The item asked for is "PROGMAN": the topic atom serves.
    bool Ask() override { return PostRequest(this, topic.get()); }
    void Acknowledged() override { WarningBox(g_shell.currentWindow, IDS_NO_GROUPS, MB_ICONEXCLAMATION); }
    void Read(std::wstring_view text) override {
        for (const std::wstring& line : SplitReplyLines(text))
            SendMessageW(list, addMessage, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    HWND list;
    UINT addMessage;
};

// Refused or unanswered, it ends quietly with nothing added: the owner
// hears that the items are loaded either way.
struct GroupItemsConversation final : Conversation {
    GroupItemsConversation() : Conversation(true) {}
    bool Ask() override { return PostRequest(this, item.get()); }
    void Read(std::wstring_view text) override {
        std::vector<std::wstring> lines = SplitReplyLines(text);
        // The first line is the group's own.
        for (std::size_t i = 1; i < lines.size(); ++i) {
            std::wstring itemLine;
            if (!ItemLineFromGroupLine(lines[i], &itemLine)) continue;
            LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(itemLine.c_str()));
            if (index >= 0) SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), 1);
        }
    }
    void Over() override {
        if (list) PostMessageW(GetParent(list), WMU_ITEMS_LOADED, 0, 0);
    }
    HWND list = nullptr;
};

struct ExecuteConversation final : Conversation {
    ExecuteConversation(HWND owner, HGLOBAL block) : Conversation(false), owner(owner), block(block) {}
    bool Ask() override {
        return PostMessageW(server, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(window), reinterpret_cast<LPARAM>(block));
    }
    // The acknowledgment carries the block's handle back (from another
    // process Wine maps the server's copy back to ours); the block we
    // handed over is the one freed.
    void Acknowledged() override {
        GlobalFree(block);
        block = nullptr;
        PostMessageW(owner, WMU_ITEMS_LOADED, 0, 0);
    }
    void Over() override {
        if (answered) BringWindowToTop(owner);
    }
    HWND owner;
    HGLOBAL block;
};

// The item conversation lives as long as its window, one for the program.
GroupItemsConversation g_items;
HWND g_itemWindow = nullptr;

// ---- The modal wait ---------------------------------------------------------------------

enum class WaitEnd { Answered, NoAnswer, NotStarted, Quitting };

// Runs a conversation with the owner disabled, the hourglass up and timer 1
// ticking on the owner, dispatching the thread's messages until it is over.
// The wait asks for the time left before every message, so a flood of
// messages cannot hold it past the limit. The quit message ends the wait
// too and is posted again for the main loop. A conversation over without
// its answer is told to the user, once, after the owner is enabled again.
WaitEnd RunModal(HWND owner, Conversation* c) {
    WaitEnd end = WaitEnd::Answered;
    {
        WaitCursor hourglass;
        Window window(CreateConversationWindow(owner));
        if (!window) return WaitEnd::NotStarted;
        SetTimer(owner, kWaitTimer, kWaitTickMs, nullptr);
        EnableWindow(owner, FALSE);
        SendMessageW(window.get(), WMU_START_CONVERSATION, 0, reinterpret_cast<LPARAM>(c));
        PumpEnd pumped = PumpMessagesUntil([c] { return !c->active; }, [c] { return MillisecondsLeft(*c); });
        Finish(c);
        if (pumped == PumpEnd::Quitting)
            end = WaitEnd::Quitting;
        else if (!c->answered)
            end = WaitEnd::NoAnswer;
        window.reset();
        EnableWindow(owner, TRUE);
        KillTimer(owner, kWaitTimer);
    }
    if (end == WaitEnd::NoAnswer) WarningBox(owner, IDS_PM_NO_ANSWER, MB_OK | MB_ICONEXCLAMATION);
    return end;
}

}  // namespace

bool RequestGroupList(HWND owner, HWND list, UINT addMessage) {
    GroupListConversation c(list, addMessage);
    return RunModal(owner, &c) == WaitEnd::Answered;
}

void RequestGroupItems(HWND owner, HWND iconsList, const wchar_t* group) {
    if (!iconsList && !group) {
        if (g_itemWindow) {
            HWND window = g_itemWindow;
            g_itemWindow = nullptr;
            g_items.list = nullptr;  // the owner is going: no one to tell
            DestroyWindow(window);   // its WM_NCDESTROY ends what is under way
        } else {
            g_itemWindow = CreateConversationWindow(owner);
        }
        return;
    }
    if (!g_itemWindow || !iconsList || !group) return;
    // A request while the previous one is still under way ends that one
    // first, so its late answers cannot be taken for this group's.
    // (Control Icon Maintenance asks again on every tick of timer 1, also
    // while a modal conversation runs.) With requests that do not overlap
    // this never happens.
    if (g_items.active) {
        g_items.list = nullptr;  // its end is not this request's
        Finish(&g_items);
    }
    g_items.list = iconsList;
    g_items.item.reset(GlobalAddAtomW(group));
    SendMessageW(g_itemWindow, WMU_START_CONVERSATION, 0, reinterpret_cast<LPARAM>(static_cast<Conversation*>(&g_items)));
}

bool ExecuteCommands(HWND owner, HGLOBAL block) {
    if (!block) return false;
    ExecuteConversation c(owner, block);
    WaitEnd end = RunModal(owner, &c);
    // Not acknowledged: the block is still ours.
    if (end != WaitEnd::NotStarted && c.block) GlobalFree(c.block);
    return end == WaitEnd::Answered;
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

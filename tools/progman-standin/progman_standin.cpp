// A Program Manager of our own for tests and the demo: a DDE server on
// window messages for the service and topic "PROGMAN", with the request
// and command language the Configurator uses.
//
// Wine's shell answers a "PROGMAN" initiate too, but it refuses a group
// list asked for in Unicode text, gives no items of a group and cannot read
// an AddItem whose options stand outside the quotes; this program does all
// three. It keeps every group as a folder of shell links under
//   <Windows>\Profiles\All Users\Start Menu\Programs\<group>\<item>.lnk
// (where Create Program Icon looks for the shortcut it marks), and reads
// them back for its replies.
//
//   progman_standin.exe [/log file] [/silent] [/silent-groups] [/silent-items]
//                       [/silent-commands] [/busy-items seconds] [/ansi]
//                       [/quit-after seconds]
//
// /log appends one UTF-16LE line per event (see standin_text.h, LogLine):
//   initiate TAB application TAB topic      (empty field: any)
//   request TAB format TAB item
//   data TAB format TAB lines               a reply was posted
//   refused TAB item                        a negative acknowledgment
//   execute TAB block text                  the block as received, up to its terminator
//   acknowledged TAB 1|0                    positive or negative
//   terminate
// /silent acknowledges initiates but never answers a request or an execute
// and never terminates, so a client's time limit can be tried;
// /silent-groups, /silent-items and /silent-commands leave only the group
// list request, a group's item request or a command block unanswered, and
// hold the rest of the conversation as usual. /busy-items answers a group's
// items only after that many seconds (at most an hour) without reading a
// message, so the answer is late and a terminate that the client posted
// meanwhile is read only after it. /ansi
// answers every request in CF_TEXT. /quit-after ends the program after
// that many seconds; WM_CLOSE to its hidden window ends it at any time.
#include <windows.h>

#include <dde.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "shell/owners_win.h"
#include "standin_text.h"

namespace {

using standin::Command;
using standin::ItemFields;
using standin::NewItem;

constexpr wchar_t kMainClass[] = L"BrennixProgmanStandIn";
constexpr wchar_t kConversationClass[] = L"BrennixProgmanStandInConversation";
constexpr wchar_t kService[] = L"PROGMAN";
constexpr UINT_PTR kQuitTimer = 1;
constexpr WORD kAckPositive = 0x8000;
constexpr WORD kDataResponse = 0x1000;  // fResponse: the answer to a request
constexpr WORD kDataRelease = 0x2000;   // fRelease: the receiver frees the data
constexpr int kShowNormal = 1;          // the show state given in a group's line

standin::Options g_options;
HINSTANCE g_instance = nullptr;
std::wstring g_currentGroup;  // the group that CreateGroup or ShowGroup made current

// Owner of a COM interface pointer.
template <typename T>
class Com {
public:
    Com() = default;
    ~Com() {
        if (p_) p_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* get() const { return p_; }
    T** out() { return &p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

class ComApartment {
public:
    ComApartment() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

// ---- Log ---------------------------------------------------------------------

void Log(std::initializer_list<std::wstring_view> fields) {
    if (g_options.logFile.empty()) return;
    std::wstring line = standin::LogLine(fields);
    HANDLE h = CreateFileW(g_options.logFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    rc::Handle file(h);
    DWORD written = 0;
    WriteFile(h, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
}

std::wstring AtomName(ATOM atom) {
    if (!atom) return L"";
    wchar_t name[256] = L"";
    UINT n = GlobalGetAtomNameW(atom, name, 256);
    return std::wstring(name, n);
}

// ---- Groups on disk -------------------------------------------------------------

std::wstring ProgramsFolder() {
    wchar_t windows[MAX_PATH] = L"";
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return L"";
    return std::wstring(windows, n) + L"\\Profiles\\All Users\\Start Menu\\Programs";
}

bool IsFolder(const std::wstring& path) {
    DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder with every missing folder above it.
bool MakeFolders(const std::wstring& path) {
    for (std::size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
    return IsFolder(path);
}

// Names of the entries of a folder that match `pattern`, folders or files.
std::vector<std::wstring> ListFolder(const std::wstring& folder, const wchar_t* pattern, bool folders) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders) names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::vector<std::wstring> ListGroups() { return ListFolder(ProgramsFolder(), L"*", true); }

// The group's name as its folder spells it, found without regard to case.
bool FindGroup(std::wstring_view name, std::wstring* stored) {
    for (const std::wstring& g : ListGroups()) {
        if (standin::SameName(g, name)) {
            *stored = g;
            return true;
        }
    }
    return false;
}

std::wstring GroupFolder(const std::wstring& stored) { return ProgramsFolder() + L"\\" + stored; }

// A link's description keeps the item's icon position, which a shell link
// has no field for.
constexpr wchar_t kPositionFormat[] = L"position %d,%d";

bool WriteLink(const std::wstring& path, const NewItem& item) {
    Com<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.out()))))
        return false;
    if (FAILED(link->SetPath(item.program.c_str()))) return false;
    link->SetArguments(item.arguments.c_str());
    link->SetWorkingDirectory(item.directory.c_str());
    if (!item.iconFile.empty()) link->SetIconLocation(item.iconFile.c_str(), item.iconIndex);
    link->SetHotkey(static_cast<WORD>(item.hotKey));
    link->SetShowCmd(item.minimize ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL);
    wchar_t position[64];
    swprintf(position, 64, kPositionFormat, item.x, item.y);
    link->SetDescription(position);
    Com<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())))) return false;
    return SUCCEEDED(file->Save(path.c_str(), TRUE));
}

// The show command field of a shell link file's header (32-bit, little
// endian, at offset 60), or `fallback` when the file is shorter.
int HeaderShowCommand(const std::wstring& path, int fallback) {
    constexpr DWORD kShowCommandOffset = 60;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fallback;
    rc::Handle file(h);
    BYTE header[kShowCommandOffset + 4];
    DWORD got = 0;
    if (!ReadFile(h, header, sizeof header, &got, nullptr) || got < sizeof header) return fallback;
    return static_cast<int>(header[60] | header[61] << 8 | header[62] << 16 | static_cast<DWORD>(header[63]) << 24);
}

bool ReadLink(const std::wstring& path, ItemFields* item) {
    Com<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.out()))))
        return false;
    Com<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())))) return false;
    if (FAILED(file->Load(path.c_str(), STGM_READ))) return false;

    wchar_t program[MAX_PATH] = L"", arguments[1024] = L"", directory[MAX_PATH] = L"", icon[MAX_PATH] = L"",
            description[INFOTIPSIZE] = L"";
    int iconIndex = 0, showCmd = SW_SHOWNORMAL;
    WORD hotKey = 0;
    link->GetPath(program, MAX_PATH, nullptr, 0);
    link->GetArguments(arguments, 1024);
    link->GetWorkingDirectory(directory, MAX_PATH);
    link->GetIconLocation(icon, MAX_PATH, &iconIndex);
    link->GetHotkey(&hotKey);
    link->GetShowCmd(&showCmd);
    link->GetDescription(description, INFOTIPSIZE);

    // A command line is read up to its first space, so a program path that
    // holds one is given in its short form, as long as it has one.
    std::wstring programText = program;
    if (programText.find(L' ') != std::wstring::npos) {
        wchar_t shortPath[MAX_PATH] = L"";
        DWORD n = GetShortPathNameW(program, shortPath, MAX_PATH);
        if (n > 0 && n < MAX_PATH) programText = shortPath;
    }
    std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    item->name = name.substr(0, name.size() - 4);  // without ".lnk"
    item->commandLine = programText;
    if (arguments[0]) item->commandLine += std::wstring(L" ") + arguments;
    item->directory = directory;
    item->iconFile = icon;
    item->iconIndex = iconIndex;
    item->hotKey = hotKey;
    // Wine's shell link gives back show command 1 after Load whatever the
    // file holds, so the show command is read from the link header itself.
    showCmd = HeaderShowCommand(path, showCmd);
    item->minimize = showCmd == SW_SHOWMINNOACTIVE || showCmd == SW_SHOWMINIMIZED || showCmd == SW_MINIMIZE;
    item->x = item->y = 0;
    swscanf(description, kPositionFormat, &item->x, &item->y);
    return true;
}

std::vector<ItemFields> ListItems(const std::wstring& stored) {
    std::vector<ItemFields> items;
    std::wstring folder = GroupFolder(stored);
    for (const std::wstring& file : ListFolder(folder, L"*.lnk", false)) {
        ItemFields item;
        if (ReadLink(folder + L"\\" + file, &item)) items.push_back(std::move(item));
    }
    return items;
}

// ---- Commands ------------------------------------------------------------------

bool CreateGroup(const Command& c) {
    if (c.params.empty() || c.params.size() > 2) return false;
    std::wstring name = standin::Unquote(c.params[0]);
    if (!standin::IsUsableName(name)) return false;
    std::wstring stored;
    if (!FindGroup(name, &stored)) {
        if (!MakeFolders(GroupFolder(name))) return false;
        stored = name;
    }
    g_currentGroup = stored;
    return true;
}

bool ShowGroup(const Command& c) {
    if (c.params.empty() || c.params.size() > 3) return false;
    int show = 0;
    if (c.params.size() > 1 && !standin::ReadNumber(c.params[1], 0, &show)) return false;
    std::wstring stored;
    if (!FindGroup(standin::Unquote(c.params[0]), &stored)) return false;
    g_currentGroup = stored;
    return true;
}

bool AddItem(const Command& c) {
    std::wstring stored;
    if (g_currentGroup.empty() || !FindGroup(g_currentGroup, &stored)) return false;
    NewItem item;
    if (!standin::ReadAddItem(c.params, &item) || !standin::IsUsableName(item.name)) return false;
    return WriteLink(GroupFolder(stored) + L"\\" + item.name + L".lnk", item);
}

bool DeleteItem(const Command& c) {
    std::wstring stored;
    if (c.params.size() != 1 || g_currentGroup.empty() || !FindGroup(g_currentGroup, &stored)) return false;
    std::wstring name = standin::Unquote(c.params[0]);
    if (!standin::IsUsableName(name)) return false;
    return DeleteFileW((GroupFolder(stored) + L"\\" + name + L".lnk").c_str()) != FALSE;
}

// Carries out the commands in order and stops at the first that fails.
bool Execute(const std::vector<Command>& commands) {
    for (const Command& c : commands) {
        bool ok = false;
        if (standin::SameName(c.name, L"CreateGroup"))
            ok = CreateGroup(c);
        else if (standin::SameName(c.name, L"ShowGroup"))
            ok = ShowGroup(c);
        else if (standin::SameName(c.name, L"AddItem"))
            ok = AddItem(c);
        else if (standin::SameName(c.name, L"DeleteItem"))
            ok = DeleteItem(c);
        if (!ok) return false;
    }
    return true;
}

// ---- The conversation ------------------------------------------------------------

bool OfAnotherProcess(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid != GetCurrentProcessId();
}

// Posts a DDE message whose parameter is packed; the packed parameter is
// released here only when the post fails (once posted, it is the system's).
bool PostPacked(HWND to, UINT message, HWND from, UINT_PTR low, UINT_PTR high) {
    LPARAM packed = PackDDElParam(message, low, high);
    if (PostMessageW(to, message, reinterpret_cast<WPARAM>(from), packed)) return true;
    FreeDDElParam(message, packed);
    return false;
}

// A DDEDATA block: flag word, format, then the text with its terminator.
HGLOBAL MakeDataBlock(UINT format, const std::wstring& text) {
    std::string ansi;
    const void* bytes = text.c_str();
    std::size_t size = (text.size() + 1) * sizeof(wchar_t);
    if (format == CF_TEXT) {
        int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, "?", nullptr);
        ansi.assign(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
        if (n > 0) WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, ansi.data(), n, "?", nullptr);
        bytes = ansi.data();
        size = ansi.size();
    }
    rc::GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, 2 * sizeof(WORD) + size));
    if (!block) return nullptr;
    rc::GlobalView<BYTE> view(block.get());
    if (!view) return nullptr;
    WORD header[2] = {static_cast<WORD>(kDataResponse | kDataRelease), static_cast<WORD>(format)};
    memcpy(view.get(), header, sizeof header);
    memcpy(view.get() + sizeof header, bytes, size);
    return block.release();
}

void AnswerRequest(HWND conversation, HWND client, LPARAM lParam) {
    UINT_PTR format = 0, itemAtom = 0;
    UnpackDDElParam(WM_DDE_REQUEST, lParam, &format, &itemAtom);
    FreeDDElParam(WM_DDE_REQUEST, lParam);
    std::wstring item = AtomName(static_cast<ATOM>(itemAtom));
    Log({L"request", std::to_wstring(format), item});
    bool groupList = standin::SameName(item, kService);
    if (g_options.silent || (groupList ? g_options.silentGroups : g_options.silentItems)) return;
    constexpr int kLongestBusy = 3600;  // seconds
    if (!groupList && g_options.busyItemsSeconds > 0)
        Sleep(static_cast<DWORD>(std::min(g_options.busyItemsSeconds, kLongestBusy)) * 1000u);

    std::vector<std::wstring> lines;
    bool known = false;
    std::wstring stored;
    if (groupList) {
        lines = ListGroups();
        known = true;
    } else if (FindGroup(item, &stored)) {
        std::vector<ItemFields> items = ListItems(stored);
        lines.push_back(standin::GroupLine(stored, GroupFolder(stored), static_cast<int>(items.size()), kShowNormal));
        for (const ItemFields& i : items) lines.push_back(standin::ItemLine(i));
        known = true;
    }
    // The item atom goes back in the answer, whichever it is; the client
    // deletes it when its conversation ends.
    UINT replyFormat = g_options.ansi ? CF_TEXT : static_cast<UINT>(format);
    HGLOBAL data = nullptr;
    if (known && (format == CF_TEXT || format == CF_UNICODETEXT))
        data = MakeDataBlock(replyFormat, standin::JoinLines(lines));
    if (!data) {
        PostPacked(client, WM_DDE_ACK, conversation, 0, itemAtom);
        Log({L"refused", item});
        return;
    }
    if (!PostPacked(client, WM_DDE_DATA, conversation, reinterpret_cast<UINT_PTR>(data), itemAtom)) {
        GlobalFree(data);
        return;
    }
    // Posting to another process copies the block there (Wine does so and
    // leaves ours alone), so ours is freed; in this process the client
    // owns it.
    if (OfAnotherProcess(client)) GlobalFree(data);
    Log({L"data", std::to_wstring(replyFormat), std::to_wstring(lines.size())});
}

void CarryOut(HWND conversation, HWND client, LPARAM lParam) {
    HGLOBAL commands = reinterpret_cast<HGLOBAL>(lParam);
    std::wstring text;
    {
        SIZE_T size = commands ? GlobalSize(commands) : 0;
        rc::GlobalView<const wchar_t> view(commands);
        if (view) text.assign(view.get(), wcsnlen(view.get(), size / sizeof(wchar_t)));
    }
    Log({L"execute", text});
    if (g_options.silent || g_options.silentCommands) return;
    std::vector<Command> parsed;
    bool ok = standin::ParseCommandBlock(text, &parsed) && Execute(parsed);
    bool posted =
        PostPacked(client, WM_DDE_ACK, conversation, ok ? kAckPositive : 0, reinterpret_cast<UINT_PTR>(commands));
    Log({L"acknowledged", ok ? L"1" : L"0"});
    // A block from another process is our own copy of it; the
    // acknowledgment carries the client's handle back, and the client
    // frees the original.
    if (posted && OfAnotherProcess(client)) GlobalFree(commands);
}

LRESULT CALLBACK ConversationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND client = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_DDE_REQUEST:
        AnswerRequest(window, client, lParam);
        return 0;
    case WM_DDE_EXECUTE:
        CarryOut(window, client, lParam);
        return 0;
    case WM_DDE_TERMINATE:
        Log({L"terminate"});
        if (g_options.silent) return 0;
        PostMessageW(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Answers an initiate for "PROGMAN"/"PROGMAN" (either may be any) with a
// conversation window of its own and two new atoms, which the client
// deletes.
void AnswerInitiate(HWND main, HWND client, LPARAM lParam) {
    ATOM application = LOWORD(lParam), topic = HIWORD(lParam);
    std::wstring applicationName = AtomName(application), topicName = AtomName(topic);
    Log({L"initiate", applicationName, topicName});
    if ((application && !standin::SameName(applicationName, kService)) ||
        (topic && !standin::SameName(topicName, kService)))
        return;
    HWND conversation =
        CreateWindowExW(0, kConversationClass, L"", WS_CHILD, 0, 0, 0, 0, main, nullptr, g_instance, nullptr);
    if (!conversation) return;
    SetWindowLongPtrW(conversation, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(client));
    SendMessageW(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(conversation),
                 MAKELPARAM(GlobalAddAtomW(kService), GlobalAddAtomW(kService)));
}

BOOL CALLBACK TerminateConversation(HWND conversation, LPARAM) {
    HWND client = reinterpret_cast<HWND>(GetWindowLongPtrW(conversation, GWLP_USERDATA));
    if (client && !g_options.silent) PostMessageW(client, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(conversation), 0);
    return TRUE;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DDE_INITIATE:
        AnswerInitiate(window, reinterpret_cast<HWND>(wParam), lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kQuitTimer) DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        EnumChildWindows(window, TerminateConversation, 0);
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class ArgumentList {
public:
    ArgumentList() : argv_(CommandLineToArgvW(GetCommandLineW(), &argc_)) {}
    ~ArgumentList() {
        if (argv_) LocalFree(argv_);
    }
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;
    // The arguments after the program name.
    std::vector<std::wstring> get() const {
        std::vector<std::wstring> r;
        for (int i = 1; argv_ && i < argc_; ++i) r.emplace_back(argv_[i]);
        return r;
    }

private:
    int argc_ = 0;
    LPWSTR* argv_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    g_instance = instance;
    if (!standin::ReadOptions(ArgumentList().get(), &g_options)) return 2;
    ComApartment com;
    if (!com.ok()) return 3;

    WNDCLASSW main{};
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.lpszClassName = kMainClass;
    WNDCLASSW conversation{};
    conversation.lpfnWndProc = ConversationProc;
    conversation.hInstance = instance;
    conversation.lpszClassName = kConversationClass;
    if (!RegisterClassW(&main) || !RegisterClassW(&conversation)) return 3;

    // Hidden and top-level, so that it receives the initiate broadcast; and
    // topmost, so that it stays ahead of Wine's shell in the Z order the
    // broadcast follows, and answers first.
    HWND window = CreateWindowExW(WS_EX_TOPMOST, kMainClass, L"Program Manager stand-in", WS_OVERLAPPEDWINDOW, 0, 0,
                                  0, 0, nullptr, nullptr, instance, nullptr);
    if (!window) return 3;
    constexpr int kLongestQuitAfter = 1000000;  // seconds; keeps the timer period in range
    if (g_options.quitAfterSeconds > 0)
        SetTimer(window, kQuitTimer, static_cast<UINT>(std::min(g_options.quitAfterSeconds, kLongestQuitAfter)) * 1000u,
                 nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

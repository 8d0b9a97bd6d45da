#include "standin_text.h"

#include <climits>

namespace standin {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring_view Trim(std::wstring_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool IsNameChar(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
}

wchar_t Fold(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
    return c;
}

// A program file name ends in one of these; the first space after one of
// them ends the program path even when the path itself holds spaces.
bool EndsInProgramExtension(std::wstring_view s) {
    static constexpr std::wstring_view kExtensions[] = {L".exe", L".com", L".bat", L".cmd", L".pif", L".lnk"};
    for (std::wstring_view ext : kExtensions)
        if (s.size() >= ext.size() && SameName(s.substr(s.size() - ext.size()), ext)) return true;
    return false;
}

void SplitAtProgramEnd(std::wstring_view s, std::wstring* program, std::wstring* arguments) {
    std::size_t split = std::wstring_view::npos;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == L' ' && EndsInProgramExtension(s.substr(0, i))) {
            split = i;
            break;
        }
    }
    if (split == std::wstring_view::npos && !EndsInProgramExtension(s)) split = s.find(L' ');
    if (split == std::wstring_view::npos) {
        *program = std::wstring(s);
        arguments->clear();
        return;
    }
    *program = std::wstring(s.substr(0, split));
    *arguments = std::wstring(Trim(s.substr(split + 1)));
}

std::wstring Lower(std::wstring_view s) {
    std::wstring r(s);
    for (wchar_t& c : r)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    return r;
}

}  // namespace

bool ParseCommandBlock(std::wstring_view block, std::vector<Command>* commands) {
    std::vector<Command> out;
    std::size_t i = 0;
    const std::size_t n = block.size();
    auto skipBlanks = [&] {
        while (i < n && IsBlank(block[i])) ++i;
    };
    for (;;) {
        skipBlanks();
        if (i == n) break;
        if (block[i] != L'[') return commands->clear(), false;
        ++i;
        skipBlanks();
        Command command;
        while (i < n && IsNameChar(block[i])) command.name.push_back(block[i++]);
        if (command.name.empty()) return commands->clear(), false;
        skipBlanks();
        if (i < n && block[i] == L'(') {
            ++i;
            std::wstring current;
            bool quoted = false;
            bool closed = false;
            while (i < n) {
                wchar_t c = block[i++];
                if (c == L'"') {
                    quoted = !quoted;
                } else if (!quoted && c == L',') {
                    command.params.emplace_back(Trim(current));
                    current.clear();
                    continue;
                } else if (!quoted && c == L')') {
                    closed = true;
                    break;
                }
                current.push_back(c);
            }
            if (!closed) return commands->clear(), false;
            // "()" has no parameters; "(a,)" has two, the second empty.
            if (!command.params.empty() || !Trim(current).empty()) command.params.emplace_back(Trim(current));
            skipBlanks();
        }
        if (i == n || block[i] != L']') return commands->clear(), false;
        ++i;
        out.push_back(std::move(command));
    }
    if (out.empty()) return commands->clear(), false;
    *commands = std::move(out);
    return true;
}

std::wstring Unquote(std::wstring_view param) {
    std::wstring r;
    for (wchar_t c : Trim(param))
        if (c != L'"') r.push_back(c);
    return r;
}

bool ReadNumber(std::wstring_view param, int fallback, int* value) {
    std::wstring_view s = Trim(param);
    if (s.empty()) {
        *value = fallback;
        return true;
    }
    bool negative = false;
    if (s.front() == L'-' || s.front() == L'+') {
        negative = s.front() == L'-';
        s.remove_prefix(1);
    }
    if (s.empty()) return false;
    long long v = 0;
    for (wchar_t c : s) {
        if (c < L'0' || c > L'9') return false;
        v = v * 10 + (c - L'0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    *value = static_cast<int>(v);
    return true;
}

void SplitCommandLine(std::wstring_view param, std::wstring* program, std::wstring* arguments) {
    std::wstring_view s = Trim(param);
    if (!s.empty() && s.front() == L'"') {
        std::size_t close = s.find(L'"', 1);
        std::wstring_view quoted = s.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1);
        std::wstring_view rest = close == std::wstring_view::npos ? std::wstring_view() : Trim(s.substr(close + 1));
        if (!rest.empty()) {
            // The version 4 form: only the program stands in quotes.
            *program = std::wstring(Trim(quoted));
            *arguments = std::wstring(rest);
            return;
        }
        s = Trim(quoted);  // the older form: program and options share the quotes
    }
    SplitAtProgramEnd(s, program, arguments);
}

bool ReadAddItem(const std::vector<std::wstring>& params, NewItem* item) {
    if (params.empty() || params.size() > 10) return false;
    NewItem r;
    SplitCommandLine(params[0], &r.program, &r.arguments);
    if (r.program.empty()) return false;
    auto param = [&](std::size_t i) { return i < params.size() ? std::wstring_view(params[i]) : std::wstring_view(); };
    r.name = Unquote(param(1));
    if (r.name.empty()) {
        std::wstring_view file = r.program;
        std::size_t slash = file.find_last_of(L"\\/:");
        if (slash != std::wstring_view::npos) file.remove_prefix(slash + 1);
        std::size_t dot = file.rfind(L'.');
        if (dot != std::wstring_view::npos && dot > 0) file = file.substr(0, dot);
        r.name = std::wstring(file);
    }
    r.iconFile = Unquote(param(2));
    if (!ReadNumber(param(3), 0, &r.iconIndex)) return false;
    if (params.size() == 5) return false;  // x without y
    if (!ReadNumber(param(4), 0, &r.x) || !ReadNumber(param(5), 0, &r.y)) return false;
    r.directory = Unquote(param(6));
    if (!ReadNumber(param(7), 0, &r.hotKey) || r.hotKey < 0 || r.hotKey > 0xFFFF) return false;
    int minimize = 0, separate = 0;
    if (!ReadNumber(param(8), 0, &minimize) || !ReadNumber(param(9), 0, &separate)) return false;
    r.minimize = minimize != 0;
    r.separate = separate != 0;
    *item = std::move(r);
    return true;
}

bool IsUsableName(std::wstring_view name) {
    if (name.empty() || name.size() > 100) return false;
    if (name == L"." || name == L"..") return false;
    if (name.back() == L' ' || name.back() == L'.') return false;
    for (wchar_t c : name) {
        if (c < 32 || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) return false;
    }
    return true;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Fold(a[i]) != Fold(b[i])) return false;
    return true;
}

std::wstring GroupLine(std::wstring_view name, std::wstring_view path, int count, int show) {
    std::wstring r = L"\"";
    r.append(name);
    r.append(L"\",");
    r.append(path);
    r.append(L",");
    r.append(std::to_wstring(count));
    r.append(L",");
    r.append(std::to_wstring(show));
    return r;
}

std::wstring ItemLine(const ItemFields& item) {
    std::wstring r = L"\"";
    r.append(item.name);
    r.append(L"\",\"");
    r.append(item.commandLine);
    r.append(L"\",");
    r.append(item.directory);
    r.append(L",");
    r.append(item.iconFile);
    for (int v : {item.x, item.y, item.iconIndex, item.hotKey, item.minimize ? 1 : 0}) {
        r.append(L",");
        r.append(std::to_wstring(v));
    }
    return r;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring r;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) r.append(L"\r\n");
        r.append(lines[i]);
    }
    return r;
}

bool ReadOptions(const std::vector<std::wstring>& args, Options* options) {
    Options r;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a.size() < 2 || (a[0] != L'/' && a[0] != L'-')) return false;
        std::wstring key = Lower(std::wstring_view(a).substr(1));
        bool hasValue = i + 1 < args.size();
        if (key == L"log") {
            if (!hasValue || args[i + 1].empty()) return false;
            r.logFile = args[++i];
        } else if (key == L"quit-after") {
            if (!hasValue || !ReadNumber(args[++i], -1, &r.quitAfterSeconds) || r.quitAfterSeconds < 0) return false;
        } else if (key == L"silent") {
            r.silent = true;
        } else if (key == L"silent-groups") {
            r.silentGroups = true;
        } else if (key == L"silent-items") {
            r.silentItems = true;
        } else if (key == L"busy-items") {
            if (!hasValue || !ReadNumber(args[++i], -1, &r.busyItemsSeconds) || r.busyItemsSeconds < 0) return false;
        } else if (key == L"silent-commands") {
            r.silentCommands = true;
        } else if (key == L"ansi") {
            r.ansi = true;
        } else {
            return false;
        }
    }
    *options = std::move(r);
    return true;
}

std::wstring LogLine(std::initializer_list<std::wstring_view> fields) {
    std::wstring r;
    bool first = true;
    for (std::wstring_view f : fields) {
        if (!first) r.push_back(L'\t');
        r.append(f);
        first = false;
    }
    r.append(L"\r\n");
    return r;
}

}  // namespace standin

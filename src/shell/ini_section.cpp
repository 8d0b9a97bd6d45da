#include "shell/ini_section.h"

#include <cstdint>

#include "shell/text.h"

namespace rc {

namespace {

// The single-key read of a number reads the value into 30 characters.
constexpr std::size_t kNumberChars = 29;

std::wstring_view Trimmed(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
    return s;
}

std::wstring_view Unquoted(std::wstring_view s) {
    if (s.size() >= 2 && (s.front() == L'"' || s.front() == L'\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

}  // namespace

std::optional<std::wstring_view> IniSection::Value(std::wstring_view key) const {
    std::wstring_view rest = entries_;
    while (!rest.empty()) {
        std::size_t end = rest.find(L'\0');
        std::wstring_view entry = rest.substr(0, end);
        if (entry.empty()) break;
        rest.remove_prefix(end == std::wstring_view::npos ? rest.size() : end + 1);
        std::size_t equals = entry.find(L'=');
        if (!EqualsNoCaseAscii(Trimmed(entry.substr(0, equals)), key)) continue;
        if (equals == std::wstring_view::npos) return std::nullopt;
        return Unquoted(Trimmed(entry.substr(equals + 1)));
    }
    return std::nullopt;
}

std::wstring IniSection::Text(std::wstring_view key, std::size_t maxChars) const {
    return std::wstring(Head(Value(key).value_or(std::wstring_view()), maxChars));
}

int IniSection::Number(std::wstring_view key, int fallback) const {
    std::wstring_view s = Head(Value(key).value_or(std::wstring_view()), kNumberChars);
    if (s.empty()) return fallback;
    std::size_t i = 0;
    while (i < s.size() && s[i] <= L' ') ++i;
    bool negative = i < s.size() && s[i] == L'-';
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) ++i;
    std::uint32_t value = 0;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(s[i] - L'0');
    return static_cast<int>(negative ? 0u - value : value);
}

}  // namespace rc

// A stand-in for the platform's upper-casing of single characters, which
// the option-string parses are handed: besides what the core's own table
// covers (ASCII and Latin-1), the Polish letters of Latin Extended-A and
// the Cyrillic alphabet, so a name that bypassed the mapping would show.
#pragma once

#include <string_view>

#include "shell/text.h"

namespace rc::test {

inline wchar_t Upper(wchar_t c) {
    // ą ć ę ł ń ś ź ż: each small letter follows its capital.
    constexpr std::wstring_view kPolish = L"\u0105\u0107\u0119\u0142\u0144\u015B\u017A\u017C";
    if (kPolish.find(c) != kPolish.npos) return static_cast<wchar_t>(c - 1);
    if (c >= L'\u0430' && c <= L'\u044F') return static_cast<wchar_t>(c - 0x20);  // а..я
    if (c >= L'\u0450' && c <= L'\u045F') return static_cast<wchar_t>(c - 0x50);  // ѐ..џ
    return UpperChar(c);
}

}  // namespace rc::test

// A stand-in for the platform's upper-casing of single characters, which
// the option-string parses are handed: besides what the core's own table
// covers (ASCII and Latin-1), the Polish letters of Latin Extended-A and
// the Cyrillic alphabet, so a name that bypassed the mapping would show.
#pragma once

#include "shell/text.h"

namespace rc::test {

inline wchar_t Upper(wchar_t c) {
    static constexpr wchar_t kPolish[][2] = {{L'\u0105', L'\u0104'}, {L'\u0107', L'\u0106'},
                                             {L'\u0119', L'\u0118'}, {L'\u0142', L'\u0141'},
                                             {L'\u0144', L'\u0143'}, {L'\u015B', L'\u015A'},
                                             {L'\u017A', L'\u0179'}, {L'\u017C', L'\u017B'}};
    for (const auto& pair : kPolish)
        if (c == pair[0]) return pair[1];
    if (c >= L'\u0430' && c <= L'\u044F') return static_cast<wchar_t>(c - 0x20);  // а..я
    if (c >= L'\u0450' && c <= L'\u045F') return static_cast<wchar_t>(c - 0x50);  // ѐ..џ
    return UpperChar(c);
}

}  // namespace rc::test

// The text seams on Windows: the system's ANSI code page, and the
// system's upper-casing of single characters.
#include "shell/shell_win.h"
#include "shell/text.h"

#include <string>

namespace rc {

namespace {

std::size_t SystemToAnsi(std::wstring_view text, char* out, std::size_t cap) {
    if (cap == 0) return 0;
    // The whole text with its terminator must fit the cap bytes; a text that
    // does not fit gives an empty result.
    std::wstring copy(text);
    int n = WideCharToMultiByte(GetACP(), 0, copy.c_str(), -1, out, static_cast<int>(cap), "?", nullptr);
    if (n <= 0) {
        out[0] = '\0';
        return 0;
    }
    out[n - 1] = '\0';
    return static_cast<std::size_t>(n - 1);
}

std::size_t SystemToWide(std::string_view bytes, wchar_t* out, std::size_t cap) {
    if (cap == 0) return 0;
    std::string copy(bytes);
    int n = MultiByteToWideChar(GetACP(), 0, copy.c_str(), static_cast<int>(copy.size()), out,
                                static_cast<int>(cap - 1));
    if (n <= 0 && !copy.empty()) {
        // The text did not fit: convert what fits, character by character.
        std::size_t done = 0;
        for (std::size_t i = 0; i < copy.size() && done < cap - 1; ++i) {
            int one = MultiByteToWideChar(GetACP(), 0, copy.c_str() + i, 1, out + done, 1);
            if (one == 1) ++done;
        }
        n = static_cast<int>(done);
    }
    if (n < 0) n = 0;
    out[n] = L'\0';
    return static_cast<std::size_t>(n);
}

const AnsiCodec kSystem{SystemToAnsi, SystemToWide};

}  // namespace

const AnsiCodec& SystemCodec() { return kSystem; }

wchar_t SystemUpperChar(wchar_t c) {
    // One character at a time, so the length cannot change: a character
    // that has no single upper-case form stays as it is.
    wchar_t one[1] = {c};
    CharUpperBuffW(one, 1);
    return one[0];
}

}  // namespace rc

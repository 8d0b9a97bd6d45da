// Readable failure output: wide text as quoted ASCII, '?' for anything else.
// Window-free, so the core tests (native and under Wine) and the dialog tests share it.
#pragma once

#include <string>
#include <string_view>

namespace rc::test {

inline std::string Narrow(std::wstring_view w) {
    std::string s = "\"";
    for (wchar_t c : w) s.push_back(c > 0 && c < 128 ? static_cast<char>(c) : '?');
    return s + '"';
}

}  // namespace rc::test

// What the fuzz targets share: the check that stops a run on a broken
// invariant, and the way input bytes become wide text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// A broken invariant ends the run as a crash, which libFuzzer reports with
// the input that caused it.
inline void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// Bytes become characters of the same value, except that 0xFF takes the
// next two bytes as one 16-bit character (little-endian), so that any
// character can be reached.
inline std::wstring Decode(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text.push_back(static_cast<wchar_t>(data[i + 1] | (data[i + 2] << 8)));
            i += 2;
        } else {
            text.push_back(static_cast<wchar_t>(data[i]));
        }
    }
    return text;
}

}  // namespace fuzz

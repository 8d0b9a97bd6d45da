// One section of an INI file, read whole, answered key by key with the
// rules of the single-key reads, so that one reading of the file serves
// several keys. The section arrives as the profile API's section read gives
// it: "key=value" entries, each ended by a terminator, the list ended by an
// empty entry (or by the end of the text).
//  - A key is matched without regard to the case of A-Z and a-z. The first
//    entry with the name answers; an entry without "=" gives no value.
//  - Blanks (spaces and tabs) around the name and the value do not count.
//  - A value of at least two characters that begins and ends with the same
//    quote (double or single) is read without that pair.
// One difference is kept on purpose: the single-key read folds the case of
// every script, so a name spelt with, say, the Kelvin sign for "K" would
// answer there and not here. No key of this program has a letter outside
// A-Z, and the profile writer never spells one so.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rc {

class IniSection {
public:
    explicit IniSection(std::wstring_view entries) : entries_(entries) {}

    // The value of key, without its quotes; nullopt when the section has none.
    std::optional<std::wstring_view> Value(std::wstring_view key) const;

    // The value cut to maxChars characters; empty when there is none.
    std::wstring Text(std::wstring_view key, std::size_t maxChars) const;

    // The value as the single-key read of a number gives it: only its first
    // 29 characters are read; white space and control characters are
    // skipped, then an optional sign and decimal digits up to the first
    // other character, counted in 32 bits (a longer number wraps, as the
    // platform's does). fallback when the key has no value or an empty one.
    int Number(std::wstring_view key, int fallback) const;

private:
    std::wstring_view entries_;
};

}  // namespace rc

// What the fuzz targets share: the check that stops a run on a broken
// invariant, the ways input bytes become wide text, field and record checks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "progman/progman_text.h"
#include "shell/text.h"

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
        bool wide = data[i] == 0xFF && i + 2 < size;
        text.push_back(static_cast<wchar_t>(wide ? data[i + 1] | (data[i + 2] << 8) : data[i]));
        if (wide) i += 2;
    }
    return text;
}

// Text as it arrives from Program Manager: after a first byte with bit 0
// set, 16-bit little-endian units; otherwise 8-bit text through the code page.
inline std::wstring ReplyText(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    if (size == 0) return text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
        return text;
    }
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<wchar_t> wide(bytes.size() + 1);
    return std::wstring(wide.data(), rc::Cp1252Codec().toWide(bytes, wide.data(), wide.size()));
}

inline bool InRange(int position, std::size_t size) {
    return position == -1 || (position >= 0 && static_cast<std::size_t>(position) < size);
}

// A number field as the parses write it: empty, or the decimal text of a
// number within low..high.
inline bool NumberField(const std::wstring& field, int low, int high) {
    const int n = rc::LeadingNumber(field);
    return field.empty() || (rc::DecimalText(n) == field && n >= low && n <= high);
}

// A record filled with a byte pattern but for the group and our option
// buffer: what reading an item line must not touch shows.
inline rc::ProgramItemRecord PatternRecord(std::wstring_view group, std::wstring_view options) {
    rc::ProgramItemRecord r;
    std::memset(&r, 0x5A, sizeof r);
    rc::CopyCut(r.group, rc::kGroupNameCap, group);
    rc::CopyCut(r.options, rc::kItemOptionsCap, options);
    return r;
}

// A record read from an item line: every text field terminated within its
// room, the group and our option buffer as they were before.
inline void CheckRecord(const rc::ProgramItemRecord& r, const rc::ProgramItemRecord& before) {
    for (const wchar_t* field : {r.description, r.commandLine, r.directory, r.iconFile})
        Check(rc::BoundedLength(field, rc::kItemTextCap) < rc::kItemTextCap);
    Check(std::memcmp(r.group, before.group, sizeof r.group) == 0);
    Check(std::memcmp(r.options, before.options, sizeof r.options) == 0);
}

}  // namespace fuzz

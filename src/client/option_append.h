// The append operations with which both option-string composers (the
// Client's service command line and the Control's Program Manager items)
// build their text: prefix, value, one space, in a fixed order.
//
// A "field" here is the text that a dialog's edit field holds. The dialog
// reads it into a 128-character buffer, so only its first 127 characters
// ever count; the operations cut longer texts the same way, whoever hands
// them in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rc {

// Characters a field or list entry is read as (its 128-character buffer
// less the terminator).
inline constexpr std::size_t kFieldTextMax = 127;

// Appends prefix, the field's text and one space when the field (read as at
// most 127 characters) is not empty; otherwise nothing.
void AppendFieldText(std::wstring& out, std::wstring_view field, std::wstring_view prefix);

// Appends prefix, the field's number clamped to low..high in decimal, and
// one space when the field (read as at most 127 characters) is an unsigned
// decimal number within 32 bits, leading spaces allowed; otherwise nothing.
void AppendFieldNumber(std::wstring& out, std::wstring_view field, std::wstring_view prefix, std::int32_t low,
                       std::int32_t high);

// Appends prefix, the value clamped to low..high as a signed number, and
// one space, unless the value is unset (-1).
void AppendHeldNumber(std::wstring& out, std::int32_t value, std::wstring_view prefix, std::int32_t low,
                      std::int32_t high);

// Appends prefix, the selected entry's text (read as at most 127
// characters) and one space when selected names an entry of the list;
// otherwise (-1, or any position outside the list) nothing.
void AppendListText(std::wstring& out, const std::vector<std::wstring>& entries, int selected,
                    std::wstring_view prefix);

}  // namespace rc

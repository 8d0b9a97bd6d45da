#include "client/option_append.h"

#include "shell/text.h"

namespace rc {

void AppendFieldText(std::wstring& out, std::wstring_view field, std::wstring_view prefix) {
    std::wstring_view text = Head(field, kFieldTextMax);
    if (text.empty()) return;
    out.append(prefix);
    out.append(text);
    out.push_back(L' ');
}

void AppendFieldNumber(std::wstring& out, std::wstring_view field, std::wstring_view prefix, std::int32_t low,
                       std::int32_t high) {
    std::uint32_t number = 0;
    if (!ParseUnsigned(Head(field, kFieldTextMax), &number)) return;
    // Compared in 64 bits: the field holds up to 4294967295 while the
    // limits are signed.
    std::int64_t value = number;
    if (value < low) value = low;
    if (value > high) value = high;
    out.append(prefix);
    out.append(DecimalText(value));
    out.push_back(L' ');
}

void AppendHeldNumber(std::wstring& out, std::int32_t value, std::wstring_view prefix, std::int32_t low,
                      std::int32_t high) {
    if (value == -1) return;
    if (value < low) value = low;
    if (value > high) value = high;
    out.append(prefix);
    out.append(DecimalText(value));
    out.push_back(L' ');
}

void AppendListText(std::wstring& out, const std::vector<std::wstring>& entries, int selected,
                    std::wstring_view prefix) {
    if (selected < 0 || static_cast<std::size_t>(selected) >= entries.size()) return;
    out.append(prefix);
    out.append(Head(entries[static_cast<std::size_t>(selected)], kFieldTextMax));
    out.push_back(L' ');
}

}  // namespace rc

// Reads fuzzed text as an INI section handed over whole and asks it for the
// first entry's name and a few fixed names, checking each answer against
// the section's rules: a value lies inside the text and holds no
// terminator, a text answer is its value cut, and a number falls back
// exactly when there is no value or an empty one.
#include "shell/ini_section.h"

#include "fuzz_support.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::wstring text = fuzz::Decode(data + 1, size - 1);
    const rc::IniSection section(text);
    const std::wstring first = text.substr(0, text.find_first_of(std::wstring_view(L"=\0", 2)));
    for (std::wstring_view key : {std::wstring_view(first), std::wstring_view(L"Modem"), std::wstring_view()}) {
        const std::wstring_view value = section.Value(key).value_or(std::wstring_view());
        Check(value.empty() || (value.data() >= text.data() && value.data() + value.size() <= text.data() + text.size() &&
                                value.find(L'\0') == std::wstring_view::npos));
        Check(section.Text(key, data[0] % 40u) == rc::Head(value, data[0] % 40u));
        Check((section.Number(key, -77777) == section.Number(key, 5)) != value.empty());
    }
    return 0;
}

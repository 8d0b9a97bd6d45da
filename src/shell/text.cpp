#include "shell/text.h"

#include <climits>

namespace rc {

std::size_t CopyCut(wchar_t* dst, std::size_t cap, std::wstring_view src) {
    if (cap == 0) return 0;
    std::size_t n = src.size() < cap - 1 ? src.size() : cap - 1;
    for (std::size_t i = 0; i < n; ++i) dst[i] = src[i];
    dst[n] = L'\0';
    return n;
}

std::size_t BoundedLength(const wchar_t* s, std::size_t cap) {
    std::size_t n = 0;
    while (n < cap && s[n] != L'\0') ++n;
    return n;
}

namespace {

template <typename Ch>
bool IsSpaceChar(Ch c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

template <typename View>
std::int32_t LeadingNumberOf(View s, bool skipSpace = true) {
    std::size_t i = 0;
    while (skipSpace && i < s.size() && IsSpaceChar(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        if (value > static_cast<std::int64_t>(INT32_MAX) + 1) value = static_cast<std::int64_t>(INT32_MAX) + 1;
        ++i;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::int32_t LeadingNumber(std::wstring_view s) { return LeadingNumberOf(s); }
std::int32_t LeadingNumber(std::string_view s) { return LeadingNumberOf(s); }
std::int32_t NumberAtStart(std::wstring_view s) { return LeadingNumberOf(s, false); }

bool ParseUnsigned(std::wstring_view s, std::uint32_t* value) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == L' ') ++i;
    if (i == s.size()) return false;
    std::uint64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < L'0' || s[i] > L'9') return false;
        v = v * 10 + static_cast<std::uint64_t>(s[i] - L'0');
        if (v > UINT32_MAX) return false;
    }
    if (value) *value = static_cast<std::uint32_t>(v);
    return true;
}

wchar_t UpperChar(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    // Latin-1 small letters, except the division sign; y with diaeresis and
    // sharp s have no single upper-case form here and stay.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<wchar_t>(c - 32);
    return c;
}

std::wstring UpperText(std::wstring_view s) {
    std::wstring r(s);
    for (auto& c : r) c = UpperChar(c);
    return r;
}

std::wstring UpperText(std::wstring_view s, UpperCaseMap upper) {
    std::wstring r(s);
    for (auto& c : r) c = upper(c);
    return r;
}

bool EqualsNoCaseAscii(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - 32);
        if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - 32);
        if (x != y) return false;
    }
    return true;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperChar(a[i]) != UpperChar(b[i])) return false;
    return true;
}

bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::wstring DecimalText(std::int64_t v) {
    wchar_t buf[24];
    std::size_t n = 0;
    bool negative = v < 0;
    std::uint64_t u = negative ? static_cast<std::uint64_t>(-(v + 1)) + 1 : static_cast<std::uint64_t>(v);
    do {
        buf[n++] = static_cast<wchar_t>(L'0' + u % 10);
        u /= 10;
    } while (u != 0);
    std::wstring r;
    if (negative) r.push_back(L'-');
    while (n > 0) r.push_back(buf[--n]);
    return r;
}

std::wstring FormatText(std::wstring_view format, std::initializer_list<FormatArg> args, std::size_t cap) {
    std::wstring out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        wchar_t c = format[i];
        if (c != L'%' || i + 1 >= format.size()) {
            out.push_back(c);
            continue;
        }
        std::size_t j = i + 1;
        if (format[j] == L'%') {
            out.push_back(L'%');
            i = j;
            continue;
        }
        while (j < format.size() && format[j] == L'l') ++j;
        if (j >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        wchar_t d = format[j];
        if (d == L's' || d == L'd' || d == L'u' || d == L'i') {
            if (next != args.end()) {
                if (d == L's')
                    out.append(next->kind == FormatArg::Text ? next->text : std::wstring_view());
                else if (next->kind == FormatArg::Number)
                    out.append(d == L'u' ? DecimalText(static_cast<std::uint32_t>(next->number))
                                         : DecimalText(next->number));
                ++next;
            }
            i = j;
            continue;
        }
        out.append(format.substr(i, j - i + 1));
        i = j;
    }
    if (cap > 0 && out.size() > cap - 1) out.resize(cap - 1);
    return out;
}

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned positions.
constexpr char16_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char Cp1252Byte(wchar_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] != 0 && static_cast<wchar_t>(kCp1252High[i]) == c) return static_cast<char>(0x80 + i);
    return '?';
}

std::size_t Cp1252ToAnsi(std::wstring_view text, char* out, std::size_t cap) {
    if (cap == 0) return 0;
    if (text.size() > cap - 1) {
        out[0] = '\0';
        return 0;
    }
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = Cp1252Byte(text[i]);
    out[text.size()] = '\0';
    return text.size();
}

std::size_t Cp1252ToWide(std::string_view bytes, wchar_t* out, std::size_t cap) {
    if (cap == 0) return 0;
    std::size_t n = bytes.size() < cap - 1 ? bytes.size() : cap - 1;
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && b < 0xA0)
            out[i] = kCp1252High[b - 0x80] ? static_cast<wchar_t>(kCp1252High[b - 0x80]) : static_cast<wchar_t>(b);
        else
            out[i] = static_cast<wchar_t>(b);
    }
    out[n] = L'\0';
    return n;
}

const AnsiCodec kCp1252{Cp1252ToAnsi, Cp1252ToWide};

}  // namespace

const AnsiCodec& Cp1252Codec() { return kCp1252; }

#ifndef _WIN32
const AnsiCodec& SystemCodec() { return kCp1252; }
#endif

}  // namespace rc

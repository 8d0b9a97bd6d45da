// Small window-free text helpers shared by every subsystem: fixed-buffer
// copies that cut instead of overrunning, the decimal readings that the
// option strings and files use, and the code-page seam.
//
// Nothing here includes <windows.h>; the same code is built for Windows and
// natively for Linux, where it is unit-tested with sanitizers and fuzzed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rc {

// Copies at most cap-1 characters of src into dst and terminates it.
// cap counts the terminator, as every fixed buffer of the program does.
// Returns the number of characters copied. cap 0 writes nothing.
std::size_t CopyCut(wchar_t* dst, std::size_t cap, std::wstring_view src);

// The first n characters of s (all of s when it is shorter).
inline std::wstring_view Head(std::wstring_view s, std::size_t n) { return s.substr(0, n < s.size() ? n : s.size()); }

// Length of a zero-terminated wide buffer of capacity cap, never reading
// past it even when no terminator is present.
std::size_t BoundedLength(const wchar_t* s, std::size_t cap);

// The leading decimal number of a text: an optional sign, then digits up to
// the first non-digit; 0 when there is none. Leading white space is skipped,
// as the C library's conversion does. Values beyond the 32-bit range stop at
// 2147483647 and -2147483648.
std::int32_t LeadingNumber(std::wstring_view s);
std::int32_t LeadingNumber(std::string_view s);

// True when the text is an unsigned decimal number: optional leading spaces,
// then at least one digit and nothing else, within 32 bits. The value is
// stored in *value.
bool ParseUnsigned(std::wstring_view s, std::uint32_t* value);

// The number at the very start of a text: an optional sign, then digits
// up to the first non-digit; 0 when the text does not begin so. Unlike
// LeadingNumber, white space does not start a number ("\t5" gives 0), as
// the client option string reads its numbers. Same 32-bit limits.
std::int32_t NumberAtStart(std::wstring_view s);

// Upper-cases the letters a-z and the Latin-1 small letters: enough for
// switch letters, transport codes and the other words that are compared
// without regard to case.
wchar_t UpperChar(wchar_t c);
std::wstring UpperText(std::wstring_view s);

// The upper-casing of single characters that names read from option
// strings get. The platform hands it in (the Windows build passes the
// system's character upper-casing, which knows every script), so the core
// keeps no case tables beyond the ones above. One character maps to one:
// a name keeps its length, and its cut to N characters comes first.
using UpperCaseMap = wchar_t (*)(wchar_t c);
std::wstring UpperText(std::wstring_view s, UpperCaseMap upper);

// Compares two texts with the letters A-Z and a-z folded; other characters
// must be equal.
bool EqualsNoCaseAscii(std::wstring_view a, std::wstring_view b);
// True when s begins with prefix, compared without regard to case (the
// platform's case folding for Latin letters).
bool StartsWithNoCase(std::wstring_view s, std::wstring_view prefix);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// Decimal text of a number, as printf's "%d", "%u" and "%lu" give it.
std::wstring DecimalText(std::int64_t v);

// printf-style formatting restricted to the directives the string table
// uses ("%s", "%d", "%u", "%lu", "%ld", "%%"): each %s takes the next text
// argument, each number directive the next number argument. A directive
// without an argument left is written as nothing. The result is cut to
// cap-1 characters, as the program's fixed buffers cut.
struct FormatArg {
    enum Kind { Text, Number } kind;
    std::wstring_view text;
    std::int64_t number;
    FormatArg(std::wstring_view t) : kind(Text), text(t), number(0) {}
    FormatArg(const wchar_t* t) : kind(Text), text(t ? t : L""), number(0) {}
    FormatArg(int n) : kind(Number), text(), number(n) {}
    FormatArg(long n) : kind(Number), text(), number(n) {}
    FormatArg(unsigned n) : kind(Number), text(), number(n) {}
    FormatArg(unsigned long n) : kind(Number), text(), number(static_cast<std::int64_t>(n)) {}
    FormatArg(long long n) : kind(Number), text(), number(n) {}
};
std::wstring FormatText(std::wstring_view format, std::initializer_list<FormatArg> args, std::size_t cap = 512);

// The code-page seam. The Windows build converts with the ANSI code page of
// the system (WideCharToMultiByte with "?" as default character); the
// native build and the unit tests use Windows-1252, the code page of the
// machines the program is tested on. Both follow the same contract:
//  - ToAnsi converts the whole text into at most cap-1 bytes and
//    terminates it; characters the code page lacks become '?'. When the
//    text does not fit, the result is empty and the return value 0.
//    Otherwise the return value is the number of bytes before the
//    terminator.
//  - ToWide converts the bytes into at most cap-1 wide characters and
//    terminates them; bytes beyond that are cut.
struct AnsiCodec {
    std::size_t (*toAnsi)(std::wstring_view text, char* out, std::size_t cap);
    std::size_t (*toWide)(std::string_view bytes, wchar_t* out, std::size_t cap);
};

// Windows-1252 both ways; used natively and in tests.
const AnsiCodec& Cp1252Codec();
// The codec of the running system: the platform's ANSI code page on
// Windows, Windows-1252 elsewhere.
const AnsiCodec& SystemCodec();

}  // namespace rc

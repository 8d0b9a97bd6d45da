// The Client's service command line as text: the value "ImagePath" of the
// service key holds the Client program's path, one space, "/*", one space
// and the client option string. These helpers take the option text out of
// a value read from the registry and build the value to write back; the
// registry calls themselves live in client_store_win.cpp.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rc {

// Bytes of the buffer the value is read into, and the longest command it
// can hold with its terminator.
inline constexpr std::size_t kServiceCommandBytes = 512;
inline constexpr std::size_t kServiceCommandMax = kServiceCommandBytes / sizeof(char16_t) - 1;  // 255

// The text of a value that the registry returned into `buffer`: the first
// bytesReturned / 2 characters, ending earlier at a zero character. Nothing
// beyond what was returned is looked at, so a value stored without its
// terminator reads correctly too.
std::wstring_view CommandOfValue(const wchar_t* buffer, std::size_t bytesReturned);

// The option text of a service command: after the first space, any further
// spaces are skipped to reach the second word (normally "/*", not checked);
// the option text is everything after the one space that ends that word,
// unchanged (further leading spaces kept). Without either space it is empty.
std::wstring_view OptionTextOfCommand(std::wstring_view command);

// The service command for a program path and an option text:
// "<path> /* <options>".
std::wstring ServiceCommand(std::wstring_view programPath, std::wstring_view optionText);

}  // namespace rc

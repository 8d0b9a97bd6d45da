// The dialback file: one entry a line, "code|phone|delay", in the ANSI code
// page. This is the window-free half of loading and saving it: turning the
// bytes of a file into entries with their list texts, turning an entry into
// the bytes of its line, and finding where a named file lies. The dialback
// editor's window code opens the file, hands over its bytes, and keeps the
// list box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shell/text.h"

namespace rc {

// Room of the record's phone number: 23 characters and the terminator.
inline constexpr std::size_t kDialbackPhoneCap = 24;

// Editing modes: which editor command last opened an entry (0 for one just
// read from a file). They are the ids of the editor's Add and Edit buttons.
inline constexpr std::uint32_t kDialbackModeRead = 0;
inline constexpr std::uint32_t kDialbackModeAdd = 1046;
inline constexpr std::uint32_t kDialbackModeEdit = 1047;

// One entry of a dialback file while it is edited. A new record is cleared
// to zeros (value-initialise it: DialbackEntry e{};).
struct DialbackEntry {
    std::uint32_t code;                // password code of the caller's password
    wchar_t phone[kDialbackPhoneCap];  // number to dial back; empty: no dialback
    std::int32_t delay;                // dialback delay, kept as it is
    std::uint32_t mode;                // kDialbackModeRead, Add or Edit
};

// Where the entries read from a file go. The Windows side allocates a
// record and adds a list line for each; returning false stops the reading
// (no memory for another record), and the entries taken so far stay.
class DialbackSink {
public:
    virtual bool Take(const DialbackEntry& entry, std::wstring_view listText) = 0;

protected:
    ~DialbackSink() = default;
};

// Reads the bytes of a dialback file. Lines are taken as the C library's
// line reading takes them with a 256-byte buffer: up to and including an
// LF, at most 255 bytes a piece, each piece counting as a line, a zero
// byte ending the line's text. Reading stops at the first line that does
// not begin with a digit 0-9 (a blank line included). Each line is cut at
// its first bar and the next one into the code, phone and delay fields:
//  - The fields are converted through the codec into 31, 63 and 7
//    characters; longer fields are cut to that room.
//  - The code and the delay are the fields' leading signed decimal numbers
//    (2147483647 at most); the code is kept as an unsigned 32-bit value.
//    As every line read begins with a digit, a code read is never negative
//    and a code above 2147483647 reads as 2147483647.
//  - The record keeps the first 23 characters of the phone field.
//  - A line without its second bar is read with the missing fields empty:
//    "123" is code 123 with no phone, "123|555" is code 123, phone 555 and
//    delay 0. The line end (CR and LF) is then not part of the last field.
// The list text of an entry is its phone number as kept in the record, a
// tab, and the code field as read ("%s\t%s"), line end excluded when the
// code field ends the line.
// Returns the number of entries that the sink took.
std::size_t ReadDialbackEntries(std::string_view fileBytes, const AnsiCodec& codec, DialbackSink& sink);

// An entry read from a file together with its list text.
struct DialbackLine {
    DialbackEntry entry;
    std::wstring listText;
};

// All entries of a file, read as ReadDialbackEntries reads them.
std::vector<DialbackLine> ReadDialbackFile(std::string_view fileBytes, const AnsiCodec& codec);

// The bytes of one entry's line as the file holds them: "%lu|%s|%d" (code,
// phone, delay), or "%lu||%d" without a phone number, converted through the
// codec into 255 bytes at most, each LF written as CR LF as a text-mode
// stream writes it, and ending with CR LF. Empty when the line cannot be
// converted (it always can: the longest line is far below the limit).
std::string DialbackLineBytes(const DialbackEntry& entry, const AnsiCodec& codec);

// The bytes of a whole file holding the entries in the given order.
std::string DialbackFileBytes(std::span<const DialbackEntry> entries, const AnsiCodec& codec);

// The path of a dialback file: a name without a backslash lies in the
// program directory ("%s\\%s"); a name with one is used as it is.
std::wstring DialbackFilePath(std::wstring_view programDirectory, std::wstring_view name);

// Longest ANSI form of a dialback file's path that can be opened.
inline constexpr std::size_t kDialbackPathMaxBytes = 254;

// The ANSI form of a path for opening the file. False, with *ansiPath
// emptied, when the path is empty or needs more than 254 bytes.
bool DialbackPathAnsi(std::wstring_view path, const AnsiCodec& codec, std::string* ansiPath);

}  // namespace rc

// The modem definitions file MODEMDEF.MDM, from which the Client
// Configuration dialog fills its Modem list. Only the modem lines matter:
//
//     [blanks] "@[M" ... "]" name [";" comment]
//
// Other "@[" lines tagged A, D, H or T and lines not starting with "@[" are
// passed over; any other tag letter is a format error. Each byte stands for
// the character of the same value (0-255); no code page is involved.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "shell/text.h"

namespace rc {

// Longest modem name kept; the rest of a longer name is dropped.
inline constexpr std::size_t kModemNameMax = 127;

// Decides whether a character is a letter or a digit; used to drop what
// stands before a modem name. On Windows this is IsCharAlphaNumericW.
using LetterOrDigitTest = bool (*)(wchar_t c);

// Letters and digits among the characters 0-255 as IsCharAlphaNumericW
// classes them: 0-9, A-Z, a-z, the ordinal indicators U+00AA and U+00BA,
// the superscript digits U+00B2, U+00B3 and U+00B9, the micro sign U+00B5,
// and the Latin-1 letters U+00C0-U+00FF except the multiplication and
// division signs. (Checked against the platform function's answers for
// every value 0-255.) Characters above 255 never come from this file and
// are answered false.
bool IsLatin1LetterOrDigit(wchar_t c);

// Reads the file as a stream of blocks of any size (the Windows side reads
// 127 bytes at a time); the result does not depend on where the blocks are
// cut.
class ModemListReader {
public:
    explicit ModemListReader(LetterOrDigitTest isLetterOrDigit = IsLatin1LetterOrDigit);

    // Reads the next bytes. Returns false once a format error has stopped
    // the reading; later blocks are then ignored.
    bool Feed(std::string_view block);

    // Ends the file: a last line without LF is read as if it had one.
    // Returns 1 when the file was read to its end, -1 after a format error.
    // Calling it again gives the same answer. A reader reads one file: feed
    // nothing after Finish.
    int Finish();

    // The modem names read so far, in file order, duplicates included.
    const std::vector<std::wstring>& Names() const { return names_; }

private:
    enum class State { LineStart, Blanks, AfterAt, AfterBracket, InTag, InName, SkipLine, Stopped };

    void Step(unsigned char byte);

    LetterOrDigitTest isLetterOrDigit_;
    State state_ = State::LineStart;
    bool leadingMark_ = true;
    std::wstring name_;
    std::vector<std::wstring> names_;
};

// The result of reading a whole file at once: 1 or -1 as Finish gives it.
struct ModemList {
    int result;
    std::vector<std::wstring> names;
};
ModemList ReadModemList(std::string_view fileBytes, LetterOrDigitTest isLetterOrDigit = IsLatin1LetterOrDigit);

// Most bytes of the program directory in the file's path.
inline constexpr std::size_t kModemDirectoryMaxBytes = 113;

// The ANSI path of MODEMDEF.MDM: the program directory converted through
// the codec, cut to at most 113 bytes, then "\MODEMDEF.MDM". Empty when
// there is no program directory (empty, or not convertible into 255 bytes);
// the list then stays empty.
std::string ModemFilePath(std::wstring_view programDirectory, const AnsiCodec& codec);

}  // namespace rc

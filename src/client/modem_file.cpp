#include "client/modem_file.h"

namespace rc {

namespace {

constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kEndOfFileMark = 0x1A;

}  // namespace

bool IsLatin1LetterOrDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return true;
    if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) return true;
    switch (static_cast<unsigned>(c)) {
    case 0xAA:  // feminine ordinal indicator
    case 0xB2:  // superscript two
    case 0xB3:  // superscript three
    case 0xB5:  // micro sign
    case 0xB9:  // superscript one
    case 0xBA:  // masculine ordinal indicator
        return true;
    default:
        break;
    }
    return c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7;
}

ModemListReader::ModemListReader(LetterOrDigitTest isLetterOrDigit)
    : isLetterOrDigit_(isLetterOrDigit ? isLetterOrDigit : IsLatin1LetterOrDigit) {}

void ModemListReader::Step(unsigned char byte) {
    if (byte == kCr || byte == kEndOfFileMark) return;
    if (state_ == State::LineStart) {
        name_.clear();
        leadingMark_ = true;
        state_ = State::Blanks;
    }
    switch (state_) {
    case State::Blanks:
        if (byte == ' ' || byte == '\t')
            state_ = State::Blanks;
        else if (byte == kLf)
            state_ = State::LineStart;
        else if (byte == '@')
            state_ = State::AfterAt;
        else
            state_ = State::SkipLine;
        break;
    case State::AfterAt:
        // An LF here counts like any other byte: the line after a lone
        // "@" is passed over with it.
        state_ = byte == '[' ? State::AfterBracket : State::SkipLine;
        break;
    case State::AfterBracket:
        if (byte == 'M')
            state_ = State::InTag;
        else if (byte == 'A' || byte == 'D' || byte == 'H' || byte == 'T')
            state_ = State::SkipLine;
        else
            state_ = State::Stopped;
        break;
    case State::InTag:
        if (byte == ']')
            state_ = State::InName;
        else if (byte == kLf)
            state_ = State::Stopped;
        break;
    case State::InName:
        if (byte == kLf || byte == ';') {
            names_.push_back(name_);
            state_ = byte == kLf ? State::LineStart : State::SkipLine;
            break;
        }
        if (leadingMark_) {
            if (!isLetterOrDigit_(static_cast<wchar_t>(byte))) break;
            leadingMark_ = false;
        }
        if (name_.size() < kModemNameMax) name_.push_back(static_cast<wchar_t>(byte));
        break;
    case State::SkipLine:
        if (byte == kLf) state_ = State::LineStart;
        break;
    case State::LineStart:
    case State::Stopped:
        break;
    }
}

bool ModemListReader::Feed(std::string_view block) {
    for (char c : block) {
        if (state_ == State::Stopped) return false;
        Step(static_cast<unsigned char>(c));
    }
    return state_ != State::Stopped;
}

int ModemListReader::Finish() {
    // As many line ends as it takes to be back at a line start: one, or two
    // when the last line was a lone "@".
    while (state_ != State::LineStart && state_ != State::Stopped) Step(kLf);
    return state_ == State::Stopped ? -1 : 1;
}

ModemList ReadModemList(std::string_view fileBytes, LetterOrDigitTest isLetterOrDigit) {
    ModemListReader reader(isLetterOrDigit);
    reader.Feed(fileBytes);
    int result = reader.Finish();
    return ModemList{result, reader.Names()};
}

std::string ModemFilePath(std::wstring_view programDirectory, const AnsiCodec& codec) {
    char directory[256];
    std::size_t length = codec.toAnsi(programDirectory, directory, sizeof directory);
    std::size_t text = 0;
    while (text < length && directory[text] != '\0') ++text;
    length = text;
    if (length == 0) return std::string();
    if (length > kModemDirectoryMaxBytes) length = kModemDirectoryMaxBytes;
    std::string path(directory, length);
    path += "\\MODEMDEF.MDM";
    return path;
}

}  // namespace rc

#include "dialback/dialback_file.h"

namespace rc {

namespace {

// A line is read into a 256-byte buffer: at most 255 bytes a piece.
constexpr std::size_t kLinePieceBytes = 255;
// Rooms of the three fields once converted: 31, 63 and 7 characters.
constexpr std::size_t kCodeFieldCap = 32;
constexpr std::size_t kPhoneFieldCap = 64;
constexpr std::size_t kDelayFieldCap = 8;
// A written line is converted into a 256-byte buffer.
constexpr std::size_t kWriteBufferBytes = 256;

// The next piece of the file from pos, as one read of a line gives it: up
// to and including the next LF, at most 255 bytes.
std::string_view NextPiece(std::string_view bytes, std::size_t pos) {
    std::size_t limit = bytes.size() - pos < kLinePieceBytes ? bytes.size() - pos : kLinePieceBytes;
    std::string_view window = bytes.substr(pos, limit);
    std::size_t lf = window.find('\n');
    return lf == std::string_view::npos ? window : window.substr(0, lf + 1);
}

// The text of a line stops at its first zero byte.
std::string_view LineText(std::string_view piece) {
    std::size_t nul = piece.find('\0');
    return nul == std::string_view::npos ? piece : piece.substr(0, nul);
}

// A field that ends the line without a bar after it loses the line end.
std::string_view WithoutLineEnd(std::string_view field) {
    while (!field.empty() && (field.back() == '\n' || field.back() == '\r')) field.remove_suffix(1);
    return field;
}

// Reads one line that begins with a digit into an entry and its list text.
void ReadLine(std::string_view line, const AnsiCodec& codec, DialbackEntry* entry, std::wstring* listText) {
    std::string_view codeField, phoneField, delayField;
    std::size_t firstBar = line.find('|');
    if (firstBar == std::string_view::npos) {
        codeField = WithoutLineEnd(line);
    } else {
        codeField = line.substr(0, firstBar);
        std::string_view rest = line.substr(firstBar + 1);
        std::size_t secondBar = rest.find('|');
        if (secondBar == std::string_view::npos) {
            phoneField = WithoutLineEnd(rest);
        } else {
            phoneField = rest.substr(0, secondBar);
            delayField = rest.substr(secondBar + 1);
        }
    }

    wchar_t code[kCodeFieldCap] = {};
    wchar_t phone[kPhoneFieldCap] = {};
    wchar_t delay[kDelayFieldCap] = {};
    codec.toWide(codeField, code, kCodeFieldCap);
    codec.toWide(phoneField, phone, kPhoneFieldCap);
    codec.toWide(delayField, delay, kDelayFieldCap);
    std::wstring_view codeText(code, BoundedLength(code, kCodeFieldCap));
    std::wstring_view phoneText(phone, BoundedLength(phone, kPhoneFieldCap));
    std::wstring_view delayText(delay, BoundedLength(delay, kDelayFieldCap));

    *entry = DialbackEntry{};
    entry->code = static_cast<std::uint32_t>(LeadingNumber(codeText));
    std::size_t kept = CopyCut(entry->phone, kDialbackPhoneCap, phoneText);
    entry->delay = LeadingNumber(delayText);
    entry->mode = kDialbackModeRead;
    *listText = FormatText(L"%s\t%s", {std::wstring_view(entry->phone, kept), codeText});
}

class VectorSink final : public DialbackSink {
public:
    explicit VectorSink(std::vector<DialbackLine>* lines) : lines_(lines) {}
    bool Take(const DialbackEntry& entry, std::wstring_view listText) override {
        lines_->push_back(DialbackLine{entry, std::wstring(listText)});
        return true;
    }

private:
    std::vector<DialbackLine>* lines_;
};

}  // namespace

std::size_t ReadDialbackEntries(std::string_view fileBytes, const AnsiCodec& codec, DialbackSink& sink) {
    std::size_t taken = 0;
    std::size_t pos = 0;
    while (pos < fileBytes.size()) {
        std::string_view piece = NextPiece(fileBytes, pos);
        pos += piece.size();
        std::string_view line = LineText(piece);
        if (line.empty() || line[0] < '0' || line[0] > '9') break;
        DialbackEntry entry;
        std::wstring listText;
        ReadLine(line, codec, &entry, &listText);
        if (!sink.Take(entry, listText)) break;
        ++taken;
    }
    return taken;
}

std::vector<DialbackLine> ReadDialbackFile(std::string_view fileBytes, const AnsiCodec& codec) {
    std::vector<DialbackLine> lines;
    VectorSink sink(&lines);
    ReadDialbackEntries(fileBytes, codec, sink);
    return lines;
}

std::string DialbackLineBytes(const DialbackEntry& entry, const AnsiCodec& codec) {
    std::size_t phoneLength = BoundedLength(entry.phone, kDialbackPhoneCap);
    std::wstring_view phone = Head(std::wstring_view(entry.phone, phoneLength), kDialbackPhoneCap - 1);
    std::wstring text = phone.empty() ? FormatText(L"%lu||%d\n", {entry.code, entry.delay})
                                      : FormatText(L"%lu|%s|%d\n", {entry.code, phone, entry.delay});

    char buffer[kWriteBufferBytes];
    std::size_t length = codec.toAnsi(text, buffer, kWriteBufferBytes);
    // The line is written as a C string in text mode: it ends at a zero
    // byte, and every LF goes out as CR LF.
    std::string out;
    out.reserve(length + 2);
    for (std::size_t i = 0; i < length && buffer[i] != '\0'; ++i) {
        if (buffer[i] == '\n') out.push_back('\r');
        out.push_back(buffer[i]);
    }
    return out;
}

std::string DialbackFileBytes(std::span<const DialbackEntry> entries, const AnsiCodec& codec) {
    std::string out;
    for (const DialbackEntry& entry : entries) out += DialbackLineBytes(entry, codec);
    return out;
}

std::wstring DialbackFilePath(std::wstring_view programDirectory, std::wstring_view name) {
    if (name.find(L'\\') != std::wstring_view::npos) return std::wstring(name);
    std::wstring path(programDirectory);
    path.push_back(L'\\');
    path.append(name);
    return path;
}

bool DialbackPathAnsi(std::wstring_view path, const AnsiCodec& codec, std::string* ansiPath) {
    ansiPath->clear();
    if (path.empty()) return false;
    char buffer[kDialbackPathMaxBytes + 1];
    std::size_t length = codec.toAnsi(path, buffer, sizeof buffer);
    if (length == 0) return false;
    ansiPath->assign(buffer, length);
    return true;
}

}  // namespace rc

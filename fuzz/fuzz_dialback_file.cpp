// Reads fuzzed bytes as a dialback file and checks what must hold for any
// file: the records keep to their rooms, the list text is the phone, a tab
// and the code field, and writing the entries read and reading them again
// gives the same entries (phones through the code page) and a file that
// writes back byte for byte. A second part builds an arbitrary entry from
// the bytes, writes its line and reads it back.
#include "dialback/dialback_file.h"
#include "shell/text.h"

#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using fuzz::Check;

namespace {

const rc::AnsiCodec& Codec() { return rc::Cp1252Codec(); }

// A phone as it comes back from the file: through the code page both ways.
std::wstring ThroughCodePage(std::wstring_view phone) {
    char ansi[64];
    wchar_t wide[64];
    std::size_t n = Codec().toAnsi(phone, ansi, sizeof ansi);
    Codec().toWide(std::string_view(ansi, n), wide, 64);
    return std::wstring(wide, rc::BoundedLength(wide, 64));
}

// Stops after a given number of entries, as a list out of memory would.
struct CountingSink final : rc::DialbackSink {
    std::size_t room;
    std::vector<std::wstring> texts;
    explicit CountingSink(std::size_t r) : room(r) {}
    bool Take(const rc::DialbackEntry&, std::wstring_view listText) override {
        if (texts.size() == room) return false;
        texts.emplace_back(listText);
        return true;
    }
};

void CheckFile(std::string_view bytes) {
    auto lines = rc::ReadDialbackFile(bytes, Codec());
    std::vector<rc::DialbackEntry> entries;
    for (const auto& line : lines) {
        const auto& e = line.entry;
        std::size_t phoneLength = rc::BoundedLength(e.phone, rc::kDialbackPhoneCap);
        Check(phoneLength < rc::kDialbackPhoneCap);
        Check(e.mode == rc::kDialbackModeRead);
        Check(e.code <= 2147483647u);            // a line begins with a digit
        Check(e.delay >= -999999 && e.delay <= 9999999);  // 7 characters at most
        std::wstring_view phone(e.phone, phoneLength);
        Check(phone.find(L'|') == std::wstring_view::npos);
        Check(phone.find(L'\n') == std::wstring_view::npos);
        // Phone, tab, then the code field of at most 31 characters whose
        // number is the code.
        std::wstring_view text = line.listText;
        Check(text.size() >= phoneLength + 1 && text.substr(0, phoneLength) == phone);
        Check(text[phoneLength] == L'\t');
        std::wstring_view codeField = text.substr(phoneLength + 1);
        Check(codeField.size() >= 1 && codeField.size() <= 31);
        Check(codeField[0] >= L'0' && codeField[0] <= L'9');
        Check(static_cast<std::uint32_t>(rc::LeadingNumber(codeField)) == e.code);
        entries.push_back(e);
    }

    // A receiver that runs out of room keeps a prefix.
    CountingSink sink(lines.size() / 2);
    Check(rc::ReadDialbackEntries(bytes, Codec(), sink) == lines.size() / 2);
    for (std::size_t i = 0; i < sink.texts.size(); ++i) Check(sink.texts[i] == lines[i].listText);

    // Written and read again: the same entries, phones through the code page.
    std::string written = rc::DialbackFileBytes(entries, Codec());
    auto reread = rc::ReadDialbackFile(written, Codec());
    Check(reread.size() == entries.size());
    std::vector<rc::DialbackEntry> again;
    for (std::size_t i = 0; i < reread.size(); ++i) {
        const auto& e = reread[i].entry;
        Check(e.code == entries[i].code);
        Check(e.delay == entries[i].delay);
        Check(std::wstring(e.phone) == ThroughCodePage(entries[i].phone));
        Check(reread[i].listText == std::wstring(e.phone) + L"\t" + rc::DecimalText(e.code));
        again.push_back(e);
    }
    Check(rc::DialbackFileBytes(again, Codec()) == written);
}

// An arbitrary entry from the bytes: code, delay, then up to 24 characters
// of 16 bits each (a full buffer may lack its terminator).
void CheckEntry(std::string_view bytes) {
    if (bytes.size() < 8) return;
    rc::DialbackEntry e{};
    std::memcpy(&e.code, bytes.data(), 4);
    std::memcpy(&e.delay, bytes.data() + 4, 4);
    bytes.remove_prefix(8);
    for (std::size_t i = 0; i < rc::kDialbackPhoneCap && 2 * i + 1 < bytes.size(); ++i)
        e.phone[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));

    std::string line = rc::DialbackLineBytes(e, Codec());
    // At most 255 converted bytes, plus a CR before each LF.
    Check(line.size() >= 2 && line.size() <= 255 + rc::kDialbackPhoneCap);
    Check(line.compare(line.size() - 2, 2, "\r\n") == 0);
    std::wstring codeText = rc::DecimalText(e.code);
    std::string codeDigits(codeText.begin(), codeText.end());
    Check(line.compare(0, codeDigits.size() + 1, codeDigits + "|") == 0);

    std::size_t phoneLength = rc::BoundedLength(e.phone, rc::kDialbackPhoneCap);
    if (phoneLength > rc::kDialbackPhoneCap - 1) phoneLength = rc::kDialbackPhoneCap - 1;
    std::wstring phone(e.phone, phoneLength);
    if (phone.find_first_of(L"|\n") != std::wstring::npos) return;

    auto lines = rc::ReadDialbackFile(line, Codec());
    Check(lines.size() == 1);
    const auto& r = lines[0].entry;
    Check(r.code == (e.code <= 2147483647u ? e.code : 2147483647u));
    std::wstring delayText = rc::DecimalText(e.delay);
    Check(r.delay == (delayText.size() <= 7 ? e.delay : rc::LeadingNumber(delayText.substr(0, 7))));
    Check(std::wstring(r.phone) == ThroughCodePage(phone));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckFile(bytes);
    CheckEntry(bytes);
    return 0;
}

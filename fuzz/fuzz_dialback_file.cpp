// Reads fuzzed bytes as a dialback file and checks what must hold for any
// file: the records keep to their rooms, the list text is the phone, a tab
// and the code field, and writing the entries read and reading them again
// gives the same entries (phones through the code page) and a file that
// writes back byte for byte. A second part builds an arbitrary entry from
// the bytes, writes its line and reads it back.
#include "dialback/dialback_file.h"
#include "shell/text.h"

#include "fuzz_support.h"

using fuzz::Check;

namespace {

const rc::AnsiCodec& Codec() { return rc::Cp1252Codec(); }

// A phone as it comes back from the file: through the code page both ways.
std::wstring ThroughCodePage(std::wstring_view phone) {
    char ansi[64];
    wchar_t wide[64];
    Codec().toWide(std::string_view(ansi, Codec().toAnsi(phone, ansi, sizeof ansi)), wide, 64);
    return std::wstring(wide, rc::BoundedLength(wide, 64));
}

void CheckFile(std::string_view bytes) {
    std::vector<rc::DialbackEntry> entries;
    for (const auto& line : rc::ReadDialbackFile(bytes, Codec())) {
        const auto& e = line.entry;
        std::size_t phoneLength = rc::BoundedLength(e.phone, rc::kDialbackPhoneCap);
        std::wstring_view phone(e.phone, phoneLength);
        Check(phoneLength < rc::kDialbackPhoneCap && phone.find_first_of(L"|\n") == std::wstring_view::npos);
        Check(e.mode == rc::kDialbackModeRead && e.code <= 2147483647u);  // a line begins with a digit
        Check(e.delay >= -999999 && e.delay <= 9999999);                   // 7 characters at most
        // Phone, tab, then the code field of at most 31 characters whose
        // number is the code.
        std::wstring_view text = line.listText;
        Check(text.size() >= phoneLength + 2 && text.starts_with(phone) && text[phoneLength] == L'\t');
        std::wstring_view codeField = text.substr(phoneLength + 1);
        Check(codeField.size() <= 31 && codeField[0] >= L'0' && codeField[0] <= L'9');
        Check(static_cast<std::uint32_t>(rc::LeadingNumber(codeField)) == e.code);
        entries.push_back(e);
    }
    // Written and read again: the same entries, phones through the code page.
    std::string written = rc::DialbackFileBytes(entries, Codec());
    auto reread = rc::ReadDialbackFile(written, Codec());
    Check(reread.size() == entries.size());
    std::vector<rc::DialbackEntry> again;
    for (std::size_t i = 0; i < reread.size(); ++i) {
        const auto& e = reread[i].entry;
        Check(e.code == entries[i].code && e.delay == entries[i].delay);
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
    for (std::size_t i = 0; i < rc::kDialbackPhoneCap && 9 + 2 * i < bytes.size(); ++i)
        e.phone[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[8 + 2 * i]) |
                                          (static_cast<unsigned char>(bytes[9 + 2 * i]) << 8));
    std::string line = rc::DialbackLineBytes(e, Codec());
    // At most 255 converted bytes, plus a CR before each LF.
    Check(line.size() <= 255 + rc::kDialbackPhoneCap && line.ends_with("\r\n"));
    std::wstring codeText = rc::DecimalText(e.code);
    Check(line.starts_with(std::string(codeText.begin(), codeText.end()) + "|"));

    std::wstring phone(e.phone, std::min(rc::BoundedLength(e.phone, rc::kDialbackPhoneCap), rc::kDialbackPhoneCap - 1));
    if (phone.find_first_of(L"|\n") != std::wstring::npos) return;
    auto lines = rc::ReadDialbackFile(line, Codec());
    Check(lines.size() == 1);
    const auto& r = lines[0].entry;
    Check(r.code == std::min(e.code, 2147483647u));
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

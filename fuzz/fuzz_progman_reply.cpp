// Feeds arbitrary replies through the path a group's items take: reply text
// -> lines -> item lines -> program item record, and checks what the Icons
// list and the record rely on.
#include "progman/progman_text.h"
#include "shell/text.h"

#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using fuzz::Check;

namespace {

// The first byte chooses how the rest arrives: odd, as Unicode text in
// 16-bit little-endian units; even, as 8-bit text through the code page.
std::wstring ReplyText(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    if (size == 0) return text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2)
            text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    } else {
        std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
        std::vector<wchar_t> wide(bytes.size() + 1);
        std::size_t n = rc::Cp1252Codec().toWide(bytes, wide.data(), wide.size());
        text.assign(wide.data(), n);
    }
    return text;
}

bool IsBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

void CheckRecord(const rc::ProgramItemRecord& r, const rc::ProgramItemRecord& before, std::wstring_view line) {
    Check(rc::BoundedLength(r.description, rc::kItemTextCap) < rc::kItemTextCap);
    Check(rc::BoundedLength(r.commandLine, rc::kItemTextCap) < rc::kItemTextCap);
    Check(rc::BoundedLength(r.directory, rc::kItemTextCap) < rc::kItemTextCap);
    Check(rc::BoundedLength(r.iconFile, rc::kItemTextCap) < rc::kItemTextCap);
    // The line's business ends at the minimize flag.
    Check(std::memcmp(r.group, before.group, sizeof r.group) == 0);
    Check(std::memcmp(r.options, before.options, sizeof r.options) == 0);
    // The description is the text before the first TAB, cut to its room.
    // A NUL inside the field ends the text there, as in any wide buffer.
    std::wstring_view first = rc::Head(line.substr(0, line.find(L'\t')), rc::kItemTextCap - 1);
    Check(std::wstring_view(r.description) == first.substr(0, first.find(L'\0')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring reply = ReplyText(data, size);
    const std::vector<std::wstring> lines = rc::SplitReplyLines(reply);

    // The lines are the reply without its line breaks, one per run of text.
    std::wstring joined, expected;
    std::size_t runs = 0;
    for (std::size_t i = 0; i < reply.size(); ++i) {
        if (IsBreak(reply[i])) continue;
        if (i == 0 || IsBreak(reply[i - 1])) ++runs;
        expected.push_back(reply[i]);
    }
    for (const auto& line : lines) {
        Check(!line.empty());
        for (wchar_t c : line) Check(!IsBreak(c));
        joined += line;
    }
    Check(joined == expected);
    Check(lines.size() == runs);

    rc::ProgramItemRecord before;
    std::memset(&before, 0x5A, sizeof before);
    rc::CopyCut(before.group, rc::kGroupNameCap, L"Group");
    rc::CopyCut(before.options, rc::kItemOptionsCap, L"/NKeep ");

    for (const auto& line : lines) {
        std::wstring itemLine = L"\x01sentinel";
        if (rc::ItemLineFromGroupLine(line, &itemLine)) {
            std::size_t tabs = 0;
            for (wchar_t c : itemLine) {
                tabs += c == L'\t';
                Check(!IsBreak(c));
            }
            Check(tabs >= 2);
            // Nothing is taken from outside the line: the item line loses at
            // least the name's quotes, the comma and the command's opening quote.
            Check(itemLine.size() + 3 <= line.size());
            Check(rc::UpperText(itemLine).find(L"VIEWDESK") != std::wstring::npos);

            rc::ProgramItemRecord record = before;
            rc::ReadItemLine(itemLine, &record);
            CheckRecord(record, before, itemLine);
            Check(rc::DeleteIconCommands(record.group, record.description).size() < rc::kDeleteBlockChars);
        } else {
            Check(itemLine == L"\x01sentinel");
        }
        // Any line at all may be read back without harm.
        rc::ProgramItemRecord record = before;
        rc::ReadItemLine(line, &record);
        CheckRecord(record, before, line);
    }
    return 0;
}

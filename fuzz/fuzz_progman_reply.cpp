// Feeds arbitrary replies through the path a group's items take: reply text
// -> lines -> item lines -> program item record, and checks what the Icons
// list and the record rely on.
#include "progman/progman_text.h"
#include "shell/text.h"

#include "fuzz_support.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring reply = fuzz::ReplyText(data, size);
    const std::vector<std::wstring> lines = rc::SplitReplyLines(reply);

    // The lines are the reply without its line breaks, one per run of text.
    auto isBreak = [](wchar_t c) { return c == L'\r' || c == L'\n'; };
    std::wstring joined, expected;
    std::size_t runs = 0;
    for (std::size_t i = 0; i < reply.size(); ++i) {
        if (isBreak(reply[i])) continue;
        if (i == 0 || isBreak(reply[i - 1])) ++runs;
        expected.push_back(reply[i]);
    }
    for (const auto& line : lines) {
        Check(!line.empty() && line.find_first_of(L"\r\n") == std::wstring::npos);
        joined += line;
    }
    Check(joined == expected && lines.size() == runs);

    const rc::ProgramItemRecord before = fuzz::PatternRecord(L"Group", L"/NKeep ");
    for (const auto& line : lines) {
        std::wstring itemLine = L"\x01sentinel";
        if (rc::ItemLineFromGroupLine(line, &itemLine)) {
            // Nothing is taken from outside the line: the item line loses at
            // least the name's quotes, the comma and the command's opening quote.
            Check(std::count(itemLine.begin(), itemLine.end(), L'\t') >= 2 && itemLine.size() + 3 <= line.size());
            Check(rc::UpperText(itemLine).find(L"VIEWDESK") != std::wstring::npos);
        } else {
            Check(itemLine == L"\x01sentinel");
        }
        // Any line at all may be read back without harm; the description is
        // the text before the first TAB (up to a NUL), cut to its room.
        for (std::wstring_view text : {std::wstring_view(line), std::wstring_view(itemLine)}) {
            rc::ProgramItemRecord record = before;
            rc::ReadItemLine(text, &record);
            fuzz::CheckRecord(record, before);
            std::wstring_view first = rc::Head(text.substr(0, text.find(L'\t')), rc::kItemTextCap - 1);
            Check(std::wstring_view(record.description) == first.substr(0, first.find(L'\0')));
        }
    }
    return 0;
}

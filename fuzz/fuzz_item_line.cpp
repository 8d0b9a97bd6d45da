// Reads fuzzed item lines into the record and builds Create Program Icon's
// and Delete's command blocks from the record and fuzzed texts, checking
// that the blocks keep to their room and follow the room rule of AddItem.
#include "progman/progman_text.h"
#include "shell/text.h"

#include "fuzz_support.h"

using fuzz::Check;

// Layout of an input: one control byte (bit 0: the rest is 16-bit
// little-endian text, otherwise 8-bit text; bits 1-2: major version 3 to 6),
// then texts separated by U+0001: item line, program path, option string,
// group, and the known groups.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int major = 3 + ((data[0] >> 1) & 3);
    const std::wstring text = fuzz::ReplyText(data, size);
    std::vector<std::wstring> parts;
    for (std::size_t start = 0, sep = 0; sep != std::wstring::npos; start = sep + 1) {
        sep = text.find(L'\x01', start);
        parts.push_back(text.substr(start, sep == std::wstring::npos ? sep : sep - start));
    }
    parts.resize(std::max<std::size_t>(parts.size(), 4));
    const std::vector<std::wstring> known(parts.begin() + 4, parts.end());

    rc::ProgramItemRecord record = fuzz::PatternRecord(parts[3], parts[2]);
    const rc::ProgramItemRecord before = record;
    rc::ReadItemLine(parts[0], &record);
    fuzz::CheckRecord(record, before);

    rc::IconCommandInput in{parts[1], record.options, record.description, record.iconFile, record.iconIndex,
                            record.x, record.y, record.directory, record.hotKey, record.minimize,
                            parts[3] /* longer than the record's group on purpose */, &known, major};
    bool creates = false;
    const std::wstring block = rc::CreateIconCommands(in, &creates);
    Check(block.size() <= rc::kCreateBlockChars - 1 && block.ends_with(L")]"));
    const std::wstring group(rc::Head(parts[3], rc::kGroupNameCap - 1));
    Check(creates == (rc::FindGroupIndex(known, group) < 0));
    const std::wstring prefix = (creates ? L"[CreateGroup(" + group + L")]" : L"") + L"[ShowGroup(\"" + group +
                                L"\", 1)][AddItem(";
    Check(block.starts_with(prefix));

    const std::size_t need = in.programPath.size() + in.options.size() + in.description.size() +
                             in.iconFile.size() + in.directory.size() + 35;
    if (need > rc::kCreateBlockChars - 1 - prefix.size()) {
        Check(block.size() == prefix.size() + 2);
    } else {
        Check(block.substr(prefix.size()).starts_with(L"\"" + std::wstring(in.programPath) + (major >= 4 ? L"\" " : L" ")));
        // With numbers of everyday size the 35 characters hold the whole command.
        auto small = [](std::int32_t n) { return n > -100 && n < 1000; };
        if (small(in.iconIndex) && small(in.x) && small(in.y) && small(in.hotKey) && small(in.minimize))
            Check(block.ends_with(L"," + rc::DecimalText(in.minimize) + L",1)]"));
    }
    const std::wstring del = rc::DeleteIconCommands(parts[3], record.description);
    Check(del.size() < rc::kDeleteBlockChars && del.ends_with(L"\")]"));
    return 0;
}

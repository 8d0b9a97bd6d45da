// Reads fuzzed item lines into the record and builds Create Program Icon's
// and Delete's command blocks from the record and fuzzed texts, checking
// that the blocks keep to their room and follow the room rule of AddItem.
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

bool StartsWith(std::wstring_view s, std::wstring_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}
bool EndsWith(std::wstring_view s, std::wstring_view suffix) {
    return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

bool Small(std::int32_t n) { return n > -100 && n < 1000; }

}  // namespace

// Layout of an input: one control byte (bit 0: the rest is 16-bit
// little-endian text, otherwise 8-bit text; bits 1-2: major version 3 to 6),
// then texts separated by U+0001: item line, program path, option string,
// group, and the known groups.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int major = 3 + ((data[0] >> 1) & 3);
    std::wstring text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2)
            text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    } else {
        std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
        std::vector<wchar_t> wide(bytes.size() + 1);
        text.assign(wide.data(), rc::Cp1252Codec().toWide(bytes, wide.data(), wide.size()));
    }
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t sep = text.find(L'\x01', start);
        parts.push_back(text.substr(start, sep == std::wstring::npos ? std::wstring::npos : sep - start));
        if (sep == std::wstring::npos) break;
        start = sep + 1;
    }
    while (parts.size() < 4) parts.emplace_back();
    const std::vector<std::wstring> known(parts.begin() + 4, parts.end());

    rc::ProgramItemRecord record;
    std::memset(&record, 0x5A, sizeof record);
    rc::CopyCut(record.group, rc::kGroupNameCap, parts[3]);
    rc::CopyCut(record.options, rc::kItemOptionsCap, parts[2]);
    rc::ProgramItemRecord before = record;
    rc::ReadItemLine(parts[0], &record);
    Check(rc::BoundedLength(record.description, rc::kItemTextCap) < rc::kItemTextCap);
    Check(rc::BoundedLength(record.commandLine, rc::kItemTextCap) < rc::kItemTextCap);
    Check(rc::BoundedLength(record.directory, rc::kItemTextCap) < rc::kItemTextCap);
    Check(rc::BoundedLength(record.iconFile, rc::kItemTextCap) < rc::kItemTextCap);
    Check(std::memcmp(record.group, before.group, sizeof record.group) == 0);
    Check(std::memcmp(record.options, before.options, sizeof record.options) == 0);

    rc::IconCommandInput in;
    in.programPath = parts[1];
    in.options = record.options;
    in.description = record.description;
    in.iconFile = record.iconFile;
    in.iconIndex = record.iconIndex;
    in.x = record.x;
    in.y = record.y;
    in.directory = record.directory;
    in.hotKey = record.hotKey;
    in.minimize = record.minimize;
    in.group = parts[3];  // longer than the record's group on purpose
    in.knownGroups = &known;
    in.majorVersion = major;
    bool creates = false;
    const std::wstring block = rc::CreateIconCommands(in, &creates);

    Check(block.size() <= rc::kCreateBlockChars - 1);
    Check(EndsWith(block, L")]"));
    const std::wstring group(rc::Head(parts[3], rc::kGroupNameCap - 1));
    Check(creates == (rc::FindGroupIndex(known, group) < 0));
    std::wstring prefix;
    if (creates) prefix = L"[CreateGroup(" + group + L")]";
    prefix += L"[ShowGroup(\"" + group + L"\", 1)][AddItem(";
    Check(StartsWith(block, prefix));

    const std::size_t free = rc::kCreateBlockChars - 1 - prefix.size();
    const std::size_t need = in.programPath.size() + in.options.size() + in.description.size() +
                             in.iconFile.size() + in.directory.size() + 35;
    if (need > free) {
        Check(block.size() == prefix.size() + 2);
    } else {
        Check(StartsWith(std::wstring_view(block).substr(prefix.size()),
                         L"\"" + std::wstring(in.programPath) + (major >= 4 ? L"\" " : L" ")));
        // With positions and numbers of everyday size the 35 characters are
        // enough for the whole command.
        if (Small(in.iconIndex) && Small(in.x) && Small(in.y) && Small(in.hotKey) && Small(in.minimize))
            Check(EndsWith(block, L"," + rc::DecimalText(in.minimize) + L",1)]"));
    }

    const std::wstring del = rc::DeleteIconCommands(parts[3], record.description);
    Check(del.size() < rc::kDeleteBlockChars);
    Check(EndsWith(del, L"\")]"));
    return 0;
}

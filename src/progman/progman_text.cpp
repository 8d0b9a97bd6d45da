#include "progman/progman_text.h"

#include "shell/text.h"

namespace rc {

namespace {

constexpr std::wstring_view kViewdesk = L"VIEWDESK";

// The AddItem parameters for each generation of Program Manager: from
// version 4 only the program path is quoted, before it the path and the
// options share one pair of quotes. The last field is always 1.
constexpr std::wstring_view kAddItemFormat4 = L"\"%s\" %s,\"%s\",%s,%d,%d,%d,%s,%d,%d,1";
constexpr std::wstring_view kAddItemFormat3 = L"\"%s %s\",\"%s\",%s,%d,%d,%d,%s,%d,%d,1";

// Characters the AddItem parameters need beyond the five texts: quotes,
// commas, the space, the numbers and the closing of the command.
constexpr std::size_t kAddItemSlack = 35;

bool IsLineBreak(wchar_t c) { return c == L'\r' || c == L'\n'; }

}  // namespace

void ClearProgramItemRecord(ProgramItemRecord* record) {
    if (record) *record = ProgramItemRecord{};
}

std::vector<std::wstring> SplitReplyLines(std::wstring_view reply) {
    std::vector<std::wstring> lines;
    std::size_t i = 0;
    while (i < reply.size()) {
        while (i < reply.size() && IsLineBreak(reply[i])) ++i;
        std::size_t start = i;
        while (i < reply.size() && !IsLineBreak(reply[i])) ++i;
        if (i > start) lines.emplace_back(reply.substr(start, i - start));
    }
    return lines;
}

bool ItemLineFromGroupLine(std::wstring_view line, std::wstring* itemLine) {
    constexpr auto npos = std::wstring_view::npos;
    // The name: from the second character up to the next quote.
    std::size_t nameEnd = line.find(L'"', 1);
    if (nameEnd == npos) return false;
    // The command line: past the quote, the comma and the opening quote, up
    // to the closing quote. A line that ends before that has no command line.
    std::size_t commandStart = nameEnd + 3;
    if (commandStart >= line.size()) return false;
    std::size_t commandEnd = line.find(L'"', commandStart);
    if (commandEnd == npos) return false;
    // The remaining fields: past the closing quote and the comma.
    std::size_t fieldsStart = commandEnd + 2;
    std::wstring_view fields = fieldsStart < line.size() ? line.substr(fieldsStart) : std::wstring_view();

    std::wstring_view name = line.substr(1, nameEnd - 1);
    std::wstring_view command = line.substr(commandStart, commandEnd - commandStart);
    std::wstring_view program = command.substr(0, command.find(L' '));
    if (UpperText(program).find(kViewdesk) == std::wstring::npos) return false;

    if (!itemLine) return true;
    std::wstring out;
    out.reserve(name.size() + command.size() + fields.size() + 2);
    out.append(name);
    out.push_back(L'\t');
    out.append(command);
    out.push_back(L'\t');
    for (wchar_t c : fields) out.push_back(c == L',' ? L'\t' : c);
    *itemLine = std::move(out);
    return true;
}

void ReadItemLine(std::wstring_view itemLine, ProgramItemRecord* record) {
    if (!record) return;
    constexpr std::size_t kFields = 9;
    std::wstring_view field[kFields];
    std::size_t count = 0;
    std::size_t start = 0;
    while (count < kFields) {
        std::size_t tab = itemLine.find(L'\t', start);
        if (tab == std::wstring_view::npos) {
            field[count++] = itemLine.substr(start);
            break;
        }
        field[count++] = itemLine.substr(start, tab - start);
        start = tab + 1;
    }
    CopyCut(record->description, kItemTextCap, field[0]);
    CopyCut(record->commandLine, kItemTextCap, field[1]);
    CopyCut(record->directory, kItemTextCap, field[2]);
    CopyCut(record->iconFile, kItemTextCap, field[3]);
    record->x = LeadingNumber(field[4]);
    record->y = LeadingNumber(field[5]);
    record->iconIndex = LeadingNumber(field[6]);
    record->hotKey = LeadingNumber(field[7]);
    record->minimize = LeadingNumber(field[8]);
}

std::wstring CreateIconCommands(const IconCommandInput& input, bool* createsGroup) {
    const std::size_t limit = kCreateBlockChars - 1;
    std::wstring block;
    auto append = [&](std::wstring_view s) { block.append(Head(s, limit - block.size())); };

    std::wstring_view group = Head(input.group, kGroupNameCap - 1);
    bool known = input.knownGroups && FindGroupIndex(*input.knownGroups, group) >= 0;
    if (!known) {
        append(L"[CreateGroup(");
        append(group);
        append(L")]");
    }
    append(L"[ShowGroup(\"");
    append(group);
    append(L"\", 1)]");

    append(L"[AddItem(");
    std::size_t free = limit - block.size();
    std::size_t need = input.programPath.size() + input.description.size() + input.iconFile.size() +
                       input.directory.size() + input.options.size() + kAddItemSlack;
    if (need <= free) {
        // need is at least 35, so free - 1 leaves ")]" its two characters.
        std::wstring parameters = FormatText(
            input.majorVersion >= 4 ? kAddItemFormat4 : kAddItemFormat3,
            {input.programPath, input.options, input.description, input.iconFile, input.iconIndex, input.x, input.y,
             input.directory, input.hotKey, input.minimize},
            free - 1);
        append(parameters);
    }
    append(L")]");

    if (createsGroup) *createsGroup = !known;
    return block;
}

std::wstring DeleteIconCommands(std::wstring_view group, std::wstring_view itemName) {
    return FormatText(L"[ShowGroup(\"%s\", 1)][DeleteItem(\"%s\")]",
                      {Head(group, kGroupNameCap - 1), Head(itemName, kItemTextCap - 1)}, kDeleteBlockChars);
}

bool ReplyIsEightBit(int majorVersion, int clipboardFormat) {
    constexpr int kUnicodeText = 13;
    return majorVersion >= 4 && clipboardFormat != kUnicodeText;
}

std::wstring StartMenuLinkPath(std::wstring_view windowsDirectory, std::wstring_view group,
                               std::wstring_view description) {
    std::wstring path(Head(windowsDirectory, 255));
    path.append(L"\\Profiles\\All Users\\Start Menu\\Programs\\");
    path.append(group);
    path.push_back(L'\\');
    path.append(description);
    path.append(L".lnk");
    return path;
}

bool MarkRunInSeparateProcess(std::uint8_t* bytes, std::size_t length) {
    constexpr std::size_t kFlagByte = 21;
    if (!bytes || length <= kFlagByte) return false;
    bytes[kFlagByte] = static_cast<std::uint8_t>(bytes[kFlagByte] | 0x04);
    return true;
}

int FindGroupIndex(const std::vector<std::wstring>& groups, std::wstring_view name) {
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (EqualsNoCase(groups[i], name)) return static_cast<int>(i);
    return -1;
}

int FindGroupPrefixIndex(const std::vector<std::wstring>& groups, std::wstring_view prefix) {
    for (std::size_t i = 0; i < groups.size(); ++i)
        if (StartsWithNoCase(groups[i], prefix)) return static_cast<int>(i);
    return -1;
}

}  // namespace rc

#include "shell/shell_logic.h"

#include "shell/text.h"

namespace rc {

CommandLineSwitches ParseCommandLine(std::wstring_view line) {
    CommandLineSwitches result;
    // The working buffer holds 131 characters; what does not fit is not read
    // as switches (a /P value still comes from the line as given).
    std::wstring_view work = Head(line, kCommandLineBuffer - 1);
    std::size_t start = 0;
    while (start <= work.size()) {
        std::size_t end = work.find(L' ', start);
        if (end == std::wstring_view::npos) end = work.size();
        std::wstring_view token = work.substr(start, end - start);
        if (token.size() >= 2 && (token[0] == L'/' || token[0] == L'-')) {
            switch (UpperChar(token[1])) {
            case L'I':
                result.quiet = true;
                break;
            case L'N':
                result.banner = false;
                break;
            case L'P': {
                std::wstring_view rest = line.substr(start + 2);
                result.hasGroup = true;
                result.group = std::wstring(Head(rest, kNameBuffer - 1));
                return result;
            }
            default:
                break;
            }
        }
        if (end == work.size()) break;
        start = end + 1;
    }
    return result;
}

Point CentrePosition(int W, int H, int PW, int PH, int PL, int PT, int SW, int SH) {
    int x = PL + (PW - W) / 2;
    int y = PT + (PH - H) / 2;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    if (x + W > SW) x = SW - W;
    if (y + H > SH) y = SH - H;
    return {x, y};
}

const char16_t kReplacementFace[6] = {0xFF2D, 0xFF33, 0x0020, 0x660E, 0x671D, 0};

namespace {

std::uint16_t Word(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// Steps over a menu or class field: 0xFFFF and an ordinal, or a string.
// Returns false when the field runs past the end.
bool SkipString(const std::uint8_t* data, std::size_t size, std::size_t* pos);

bool SkipField(const std::uint8_t* data, std::size_t size, std::size_t* pos) {
    if (*pos + 2 > size) return false;
    if (Word(data + *pos) == 0xFFFF) {
        *pos += 4;
        return *pos <= size;
    }
    return SkipString(data, size, pos);
}

bool SkipString(const std::uint8_t* data, std::size_t size, std::size_t* pos) {
    while (*pos + 2 <= size) {
        std::uint16_t c = Word(data + *pos);
        *pos += 2;
        if (c == 0) return true;
    }
    return false;
}

std::size_t AlignUp4(std::size_t n) { return (n + 3) & ~static_cast<std::size_t>(3); }

}  // namespace

std::vector<std::uint8_t> FixTemplateFont(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> copy(data, data + size);
    if (size < 18) return copy;
    // An extended template starts with version 1 and signature 0xFFFF.
    if (Word(data) == 1 && Word(data + 2) == 0xFFFF) return copy;
    if ((data[0] & 0x40) == 0) return copy;  // no DS_SETFONT

    std::size_t pos = 18;
    if (!SkipField(data, size, &pos)) return copy;   // menu
    if (!SkipField(data, size, &pos)) return copy;   // window class
    if (!SkipString(data, size, &pos)) return copy;  // title
    pos += 2;                                        // point size
    if (pos > size) return copy;
    std::size_t faceStart = pos;
    if (!SkipString(data, size, &pos)) return copy;
    std::size_t oldItems = AlignUp4(pos);
    if (oldItems > size) oldItems = size;

    std::vector<std::uint8_t> out(data, data + faceStart);
    for (char16_t c : kReplacementFace) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    out.resize(AlignUp4(out.size()), 0);
    out.insert(out.end(), data + oldItems, data + size);
    return out;
}

std::wstring EnterDirectoryMessage(std::wstring_view first, std::wstring_view second, std::wstring_view third) {
    constexpr std::size_t kMessage = 512;  // 511 characters and the terminator
    std::wstring message = FormatText(Head(first, 127), {L"STATN32.EXE"}, kMessage);
    message += FormatText(Head(second, 127), {L"STATN32", L"the registry"}, kMessage);
    if (message.size() > kMessage - 1) message.resize(kMessage - 1);
    message += Head(third, kMessage - 1 - message.size());
    return message;
}

std::wstring WithoutTrailingBackslash(std::wstring_view dir) {
    if (!dir.empty() && dir.back() == L'\\') dir.remove_suffix(1);
    return std::wstring(dir);
}

std::wstring ProgramPath(std::wstring_view dir, std::wstring_view file) {
    return std::wstring(dir) + L"\\" + std::wstring(file);
}

std::wstring DirectoryOfPath(std::wstring_view path) {
    std::size_t cut = path.rfind(L'\\');
    if (cut == std::wstring_view::npos) return std::wstring(path);
    return std::wstring(path.substr(0, cut));
}

EditionViews EditionViewOrder(bool process64, bool os64) {
    if (os64 && !process64) return {{RegistryView::View64, RegistryView::Own}, 2};
    if (os64) return {{RegistryView::View64, RegistryView::View64}, 1};
    return {{RegistryView::Own, RegistryView::Own}, 1};
}

bool NamesClassroomEdition(std::wstring_view value) { return EqualsNoCase(value, L"Tutor"); }

}  // namespace rc

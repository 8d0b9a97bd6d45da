#include "progman/icon_dialog_rules.h"

namespace rc {

namespace {
constexpr std::size_t kPathChars = 127;

int NotNegative(long long ms) { return ms < 0 ? 0 : ms > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(ms); }
}  // namespace

RepeatTiming RepeatTimingFromProfile(int keyboardDelay, int keyboardSpeed) {
    return {NotNegative(150LL * (static_cast<long long>(keyboardDelay) + 1)),
            NotNegative(50LL * (32 - static_cast<long long>(keyboardSpeed)))};
}

std::wstring JoinDirectoryAndFile(std::wstring_view directory, std::wstring_view file) {
    std::wstring path(directory);
    if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
    path.append(file);
    if (path.size() > kPathChars) path.resize(kPathChars);
    return path;
}

bool OptionsOfCommandLine(std::wstring_view commandLine, std::wstring_view* options) {
    std::size_t space = commandLine.find(L' ');
    if (space == std::wstring_view::npos) return false;
    if (options) *options = commandLine.substr(space + 1);
    return true;
}

}  // namespace rc

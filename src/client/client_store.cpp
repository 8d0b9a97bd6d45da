#include "client/client_store.h"

namespace rc {

std::wstring_view CommandOfValue(const wchar_t* buffer, std::size_t bytesReturned) {
    std::size_t chars = bytesReturned / sizeof(wchar_t);
    std::size_t n = 0;
    while (n < chars && buffer[n] != L'\0') ++n;
    return std::wstring_view(buffer, n);
}

std::wstring_view OptionTextOfCommand(std::wstring_view command) {
    std::size_t first = command.find(L' ');
    if (first == std::wstring_view::npos) return {};
    std::size_t word = command.find_first_not_of(L' ', first);
    if (word == std::wstring_view::npos) return {};
    std::size_t end = command.find(L' ', word);
    if (end == std::wstring_view::npos) return {};
    return command.substr(end + 1);
}

std::wstring ServiceCommand(std::wstring_view programPath, std::wstring_view optionText) {
    std::wstring command;
    command.reserve(programPath.size() + 4 + optionText.size());
    command.append(programPath);
    command.append(L" /* ");
    command.append(optionText);
    return command;
}

}  // namespace rc

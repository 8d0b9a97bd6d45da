#include "client/client_store.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A heap block exactly as long as the returned bytes, so that reading one
// character too far is caught by the address sanitizer.
std::unique_ptr<wchar_t[]> Block(std::wstring_view chars) {
    auto block = std::make_unique<wchar_t[]>(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) block[i] = chars[i];
    return block;
}

TEST(CommandOfValue, StopsAtTheReturnedBytesOrTheFirstZero) {
    struct Case {
        std::wstring_view stored;
        std::size_t bytes;
        std::wstring_view expected;
    } cases[] = {
        {L"P /* AB", 7 * sizeof(wchar_t), L"P /* AB"},            // no terminator returned
        {std::wstring_view(L"P /* AB\0", 8), 8 * sizeof(wchar_t), L"P /* AB"},
        {std::wstring_view(L"P\0 /* AB", 8), 8 * sizeof(wchar_t), L"P"},  // stops at a zero inside
        {L"P /* AB", 7 * sizeof(wchar_t) - 1, L"P /* A"},        // a split last character is left out
        {L"P /* AB", 0, L""},
        {L"P /* AB", 3 * sizeof(wchar_t), L"P /"},
    };
    for (const auto& c : cases) {
        auto block = Block(c.stored);
        EXPECT_EQ(rc::CommandOfValue(block.get(), c.bytes), c.expected) << c.bytes;
    }
}

TEST(OptionTextOfCommand, TakesEverythingAfterTheSecondWord) {
    struct Case {
        std::wstring_view command;
        std::wstring_view options;
    } cases[] = {
        {L"C:\\S.EXE /* BOB /UIP", L"BOB /UIP"},
        {L"C:\\S.EXE /*  BOB", L" BOB"},
        {L"C:\\S.EXE   /* BOB", L"BOB"},
        {L"C:\\S.EXE /* ", L""},
        {L"C:\\S.EXE /*", L""},
        {L"C:\\S.EXE ", L""},
        {L"C:\\S.EXE", L""},
        {L"", L""},
        {L" /* BOB", L"BOB"},  // an empty path
        {L"C:\\S.EXE\t/* BOB", L""},  // only spaces separate: "BOB" is the second word
    };
    for (const auto& c : cases) {
        // Exact-length copies, so that a look past the end is caught.
        auto block = Block(c.command);
        std::wstring_view command(block.get(), c.command.size());
        EXPECT_EQ(rc::OptionTextOfCommand(command), c.options) << testing::PrintToString(std::wstring(c.command));
    }
}

}  // namespace

#include "client/client_store.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/narrow_text.h"

namespace {

// Exact-length heap copies, so that reading one character too far is caught
// by the address sanitizer.
std::unique_ptr<wchar_t[]> Block(std::wstring_view chars) {
    auto block = std::make_unique<wchar_t[]>(chars.size());
    std::copy(chars.begin(), chars.end(), block.get());
    return block;
}

TEST(ServiceCommand, ValueBytesAndTheOptionsAfterTheSecondWord) {
    struct Value { std::wstring_view stored; std::size_t bytes; std::wstring_view expected; } values[] = {
        {L"P /* AB", 7 * sizeof(wchar_t), L"P /* AB"},  // no terminator returned
        {std::wstring_view(L"P\0 /* AB", 8), 8 * sizeof(wchar_t), L"P"},
        {L"P /* AB", 7 * sizeof(wchar_t) - 1, L"P /* A"},  // a split last character is left out
        {L"P /* AB", 0, L""},
    };
    for (const auto& c : values)
        EXPECT_EQ(rc::CommandOfValue(Block(c.stored).get(), c.bytes), c.expected) << c.bytes;

    struct Command { std::wstring_view command, options; } commands[] = {
        {L"C:\\S.EXE /* BOB /UIP", L"BOB /UIP"}, {L"C:\\S.EXE /*  BOB", L" BOB"}, {L"C:\\S.EXE   /* BOB", L"BOB"},
        {L"C:\\S.EXE /* ", L""}, {L"C:\\S.EXE /*", L""}, {L"C:\\S.EXE ", L""}, {L"C:\\S.EXE", L""}, {L"", L""},
        {L" /* BOB", L"BOB"}, {L"C:\\S.EXE\t/* BOB", L""},  // only spaces separate
    };
    EXPECT_EQ(rc::ServiceCommand(L"C:\\S.EXE", L"BOB /UIP "), L"C:\\S.EXE /* BOB /UIP ");
    for (const auto& c : commands) {
        auto block = Block(c.command);
        EXPECT_EQ(rc::OptionTextOfCommand(std::wstring_view(block.get(), c.command.size())), c.options)
            << rc::test::Narrow(c.command);
    }
}

}  // namespace

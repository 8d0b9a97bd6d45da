// Reads fuzzed bytes as MODEMDEF.MDM, all at once, byte by byte, in the
// 127-byte blocks of the Windows side and in blocks of sizes drawn from the
// input, and checks that every way gives the same result and that every
// name read keeps the rules of a name.
#include "client/modem_file.h"

#include "fuzz_support.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using fuzz::Check;

namespace {

struct Outcome {
    int result;
    std::vector<std::wstring> names;
    bool operator==(const Outcome&) const = default;
};

template <typename NextSize>
Outcome ReadInBlocks(std::string_view bytes, NextSize nextSize) {
    rc::ModemListReader reader;
    std::size_t pos = 0;
    bool running = true;
    while (pos < bytes.size()) {
        std::size_t n = nextSize();
        std::string_view block = bytes.substr(pos, n);
        bool fed = reader.Feed(block);
        // Once stopped, the reader says so for every later block.
        if (!running) Check(!fed);
        running = fed;
        pos += block.size();
    }
    int result = reader.Finish();
    Check(reader.Finish() == result);
    return Outcome{result, reader.Names()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);

    rc::ModemList whole = rc::ReadModemList(bytes);
    Outcome expected{whole.result, whole.names};
    Check(expected.result == 1 || expected.result == -1);

    Check(ReadInBlocks(bytes, [] { return std::size_t{1}; }) == expected);
    Check(ReadInBlocks(bytes, [] { return std::size_t{127}; }) == expected);
    std::uint32_t x = 2463534242u ^ static_cast<std::uint32_t>(size);
    for (std::size_t i = 0; i < size && i < 8; ++i) x = x * 31 + data[i];
    Check(ReadInBlocks(bytes, [&x] {
              x ^= x << 13;
              x ^= x >> 17;
              x ^= x << 5;
              return std::size_t{x % 200};  // empty blocks included
          }) == expected);

    std::size_t lineEnds = 0;
    for (char c : bytes) lineEnds += c == '\n';
    Check(expected.names.size() <= lineEnds + 1);
    for (const auto& name : expected.names) {
        Check(name.size() <= rc::kModemNameMax);
        Check(name.find_first_of(L"\r\n\x1A;") == std::wstring::npos);
        for (wchar_t c : name) Check(static_cast<std::uint32_t>(c) <= 0xFF);
        if (!name.empty()) Check(rc::IsLatin1LetterOrDigit(name[0]));
    }
    return 0;
}

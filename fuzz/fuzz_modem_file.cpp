// Reads fuzzed bytes as MODEMDEF.MDM, all at once, byte by byte, in the
// 127-byte blocks of the Windows side and in blocks of sizes drawn from the
// input, and checks that every way gives the same result and that every
// name read keeps the rules of a name.
#include "client/modem_file.h"

#include "fuzz_support.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const rc::ModemList whole = rc::ReadModemList(bytes);
    Check(whole.result == 1 || whole.result == -1);

    std::uint32_t x = 2463534242u ^ static_cast<std::uint32_t>(size);
    for (std::size_t i = 0; i < size && i < 8; ++i) x = x * 31 + data[i];
    for (int way = 0; way < 3; ++way) {
        rc::ModemListReader reader;
        bool running = true;
        for (std::size_t pos = 0; pos < size;) {
            x ^= x << 13, x ^= x >> 17, x ^= x << 5;
            std::string_view block = bytes.substr(pos, way == 0 ? 1 : way == 1 ? 127 : x % 200);  // empty ones too
            bool fed = reader.Feed(block);
            Check(running || !fed);  // once stopped, the reader says so for every later block
            running = fed;
            pos += block.size();
        }
        Check(reader.Finish() == whole.result && reader.Finish() == whole.result && reader.Names() == whole.names);
    }

    Check(whole.names.size() <= static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    for (const auto& name : whole.names) {
        Check(name.size() <= rc::kModemNameMax && name.find_first_of(L"\r\n\x1A;") == std::wstring::npos);
        for (wchar_t c : name) Check(static_cast<std::uint32_t>(c) <= 0xFF);
        Check(name.empty() || rc::IsLatin1LetterOrDigit(name[0]));
    }
    return 0;
}

#include "dialback/password_code.h"

#include "password_table_config.h"

namespace rc {

// Our own table: the first 16 bits of the fractional parts of the cube
// roots of the first 32 primes (2, 3, 5, ..., 131), i.e.
// floor(frac(cbrt(p)) * 65536). The same numbers open the round constants
// of SHA-256, so anyone can check them; they are well mixed and carry no
// pattern of our making. A deployment that must match the codes of its
// installed Client stations and Controls builds with
// -DRC_PASSWORD_TABLE_FILE=<file of 32 numbers>, and those values are used.
#if RC_PASSWORD_TABLE_CUSTOM
const std::uint16_t kPasswordCodeTable[32] = {RC_PASSWORD_TABLE_VALUES};
#else
const std::uint16_t kPasswordCodeTable[32] = {
    0x428A, 0x7137, 0xB5C0, 0xE9B5, 0x3956, 0x59F1, 0x923F, 0xAB1C, 0xD807, 0x1283, 0x2431,
    0x550C, 0x72BE, 0x80DE, 0x9BDC, 0xC19B, 0xE49B, 0xEFBE, 0x0FC1, 0x240C, 0x2DE9, 0x4A74,
    0x5CB0, 0x76F9, 0x983E, 0xA831, 0xB003, 0xBF59, 0xC6E0, 0xD5A7, 0x06CA, 0x1429,
};
#endif

namespace {

// Size of the conversion buffer of the Set dialogs: 9 bytes and the
// terminator.
constexpr std::size_t kTextBytes = 10;
constexpr std::size_t kTextChars = 9;

// The two lanes of one computation.
class Lanes {
public:
    // Lane A starts as the seed's low 16 bits; lane B holds bits 16-23 as
    // its low byte and (bits 24-31 minus bits 16-23) mod 256 as its high
    // byte.
    explicit Lanes(std::uint32_t seed)
        : a_(static_cast<std::uint16_t>(seed & 0xFFFFu)),
          b_(static_cast<std::uint16_t>(((seed >> 16) & 0xFFu) | ((((seed >> 24) - (seed >> 16)) & 0xFFu) << 8))) {}

    // Unit i goes to lane A when i is even, to lane B when it is odd.
    void Take(std::size_t index, std::uint16_t unit) {
        if (index % 2 == 0)
            a_ = Step(a_, unit);
        else
            b_ = Step(b_, unit);
    }

    // Lane A in bits 0-15, the XOR of lane B's bytes in bits 16-23; 0
    // becomes 1.
    std::uint32_t Code() const {
        std::uint32_t high = static_cast<std::uint32_t>((b_ >> 8) ^ (b_ & 0xFFu));
        std::uint32_t code = static_cast<std::uint32_t>(a_) | (high << 16);
        return code == 0 ? 1u : code;
    }

private:
    // One step: add the unit XORed with the table entry that the lane's low
    // five bits pick, then rotate the 16-bit sum left by one bit.
    static std::uint16_t Step(std::uint16_t lane, std::uint16_t unit) {
        std::uint16_t sum = static_cast<std::uint16_t>(lane + (kPasswordCodeTable[lane & 31u] ^ unit));
        return static_cast<std::uint16_t>((sum << 1) | (sum >> 15));
    }

    std::uint16_t a_;
    std::uint16_t b_;
};

}  // namespace

std::uint32_t ComputePasswordCode(const std::uint16_t* units, std::size_t count, std::uint32_t seed) {
    Lanes lanes(seed);
    for (std::size_t i = 0; i < count; ++i) lanes.Take(i, units[i]);
    return lanes.Code();
}

std::uint32_t PasswordCodeOfAnsi(std::string_view bytes) {
    std::size_t length = 0;
    while (length < bytes.size() && bytes[length] != '\0') ++length;

    // Unit i is byte 2i plus 256 times byte 2i+1; the byte after the last
    // one is the terminator, so an odd length ends in a unit with a zero
    // high byte and an even length has no unit for the terminator.
    Lanes lanes(0);
    std::size_t count = (length + 1) / 2;
    for (std::size_t i = 0; i < count; ++i) {
        unsigned low = static_cast<unsigned char>(bytes[2 * i]);
        unsigned high = 2 * i + 1 < length ? static_cast<unsigned char>(bytes[2 * i + 1]) : 0u;
        lanes.Take(i, static_cast<std::uint16_t>(low | (high << 8)));
    }
    // Seed 0 leaves bits 24-31 clear already; the code is 24 bits wide.
    return lanes.Code() & 0xFFFFFFu;
}

std::uint32_t PasswordCodeOfText(std::wstring_view text, const AnsiCodec& codec) {
    text = Head(text, kTextChars);
    char buffer[kTextBytes] = {};
    // A conversion that does not fit leaves nothing; drop characters from
    // the end until the rest fits (only a multi-byte code page gets here).
    for (std::size_t n = text.size(); n > 0; --n) {
        if (codec.toAnsi(text.substr(0, n), buffer, kTextBytes) > 0) break;
        buffer[0] = '\0';
    }
    buffer[kTextBytes - 1] = '\0';
    return PasswordCodeOfAnsi(std::string_view(buffer, kTextBytes - 1));
}

}  // namespace rc

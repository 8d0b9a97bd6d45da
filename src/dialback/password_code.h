// The password code: the 24-bit number that stands for a text password or
// key wherever the Configurator stores one. The Client station and the
// Control compute the same function over the same 32-entry table, so a code
// made here matches the one they make of the same text.
//
// Window-free; the conversion of the text to 8-bit bytes goes through the
// code-page seam of shell/text.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "shell/text.h"

namespace rc {

// The constant table of the computation. An entry is picked by the low five
// bits of a lane. A deployment may replace it at build time (see
// password_code.cpp).
extern const std::uint16_t kPasswordCodeTable[32];

// The password code of count 16-bit units under a 32-bit seed: two lanes
// take the units alternately (lane A the even positions, lane B the odd
// ones); the result holds lane A in bits 0-15 and the two bytes of lane B
// XORed in bits 16-23. Never 0: a computation that ends at 0 gives 1.
// count 0 runs no step, so the code is that of the lanes' start values.
std::uint32_t ComputePasswordCode(const std::uint16_t* units, std::size_t count, std::uint32_t seed);

// The password code of the 8-bit form of a password: the bytes, followed by
// two zero bytes, read as little-endian 16-bit units; (L+1)/2 units for L
// bytes, so an odd length ends in a unit whose high byte is the terminator.
// Seed 0. The bytes end at the first zero byte, as a C string would.
// No bytes at all give 1 (no unit, both lanes at 0).
std::uint32_t PasswordCodeOfAnsi(std::string_view bytes);

// The code that the Set Password and Set Security Key dialogs make of the
// text typed into their 9-character field. The text is converted through
// the codec into 9 bytes at most.
//  - Only the first 9 characters count (the field holds no more).
//  - When the 8-bit form of the text needs more than 9 bytes (only under a
//    multi-byte code page), characters are dropped from the end until it
//    fits, so the code is that of the longest leading part that fits.
//  - An empty text gives 1, the code of no units.
// The function does not change letter case: the dialogs' fields upper-case
// what is typed, so callers pass the text as the field holds it.
std::uint32_t PasswordCodeOfText(std::wstring_view text, const AnsiCodec& codec);

}  // namespace rc

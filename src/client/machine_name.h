// The name that the machine-name notes of the Client and Control
// Configuration dialogs show in place of their "%s".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rc {

// Longest machine name shown, in characters.
inline constexpr std::size_t kMachineNameMax = 15;

// The note's name. When the computer name was read (nameRead), it is cut
// at its first space and to at most 15 characters. Otherwise the note says
// notSetText ("not set") whole: the cut belongs to the computer name only.
std::wstring MachineNoteName(bool nameRead, std::wstring_view computerName, std::wstring_view notSetText);

}  // namespace rc

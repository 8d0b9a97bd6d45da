// Pieces that the Client's and the Control's option strings share: the
// split into tokens, the switch characters, the /U transport codes and the
// /A adapter numbers, read and written the same way in both strings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rc {

// Walks the tokens of an option text: the text is split at spaces (U+0020
// only; a tab belongs to its token), a run of spaces is one separator and
// leading or trailing spaces give no token.
class OptionTokens {
public:
    explicit OptionTokens(std::wstring_view text) : rest_(text) {}
    // Sets token to the next token and returns true, or returns false when
    // the text has no more.
    bool Next(std::wstring_view& token);

private:
    std::wstring_view rest_;
};

// True when the token starts with a switch character, "/" or "-".
inline bool IsSwitchToken(std::wstring_view token) { return !token.empty() && (token[0] == L'/' || token[0] == L'-'); }

// The transport id (100 IPX, 101 NetBIOS, 102 TCP/IP) that a /U value
// names by its first two characters, without regard to case; 0 for any
// other code, the empty one included.
int TransportIdOfCode(std::wstring_view value);

// Position of the first entry whose data is value, or -1.
int FirstPositionOf(const std::vector<int>& data, int value);

// The adapter number that a /A value names. Only its first character is
// read: an empty value means 1, otherwise the character's distance from
// "0", anything above 9 counting as 9. A character below "0" gives a
// negative number, which no adapter entry carries.
std::int64_t AdapterNumberOfValue(std::wstring_view value);

// The adapter entry that /A selects: every entry whose data equals number
// is selected in turn, so the last of them wins. When none carries the
// number the selection is not touched, and current is returned.
int SelectAdapter(const std::vector<int>& adapters, std::int64_t number, int current);

// Appends "/UIP ", "/UNB " or "/UTC " for the transport at position
// transport of the list (by its data), and nothing for any other position
// or id.
void AppendTransport(std::wstring& out, const std::vector<int>& transports, int transport);

// Appends "/A" + number + " " for the adapter entry at position adapter
// when its data, taken as a signed 16-bit value, is not negative. The whole
// data is then written as an unsigned number, as "/A%u " writes it.
void AppendAdapter(std::wstring& out, const std::vector<int>& adapters, int adapter);

// Transport id at position transport, or 0 when the position names no
// entry.
int TransportIdAt(const std::vector<int>& transports, int transport);

}  // namespace rc

// The control option string: the switches behind the program path of a
// Program Manager item that starts the Control (VIEWDESK.EXE). It tells
// the Control its name, transport and limits.
//
// ParseControlOptions applies an item's command line to ControlSettings;
// ComposeControlOptions builds the string back in its fixed order. The
// Control Configuration dialog binds each setting to one of its controls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "client/option_append.h"
#include "shell/text.h"

namespace rc {

// Program Manager takes command lines of up to 128 characters.
inline constexpr std::size_t kProgramManagerLimit = 128;
inline constexpr std::size_t kControlNameMax = 15;

// Positions in the fixed colour-depth list; entry n shows string
// kColourDepthIds[n].
enum ColourDepth : int { kDepthUnlimited = 0, kDepthMono = 1, kDepth16 = 2, kDepth256 = 3, kColourDepthCount };
extern const int kColourDepthIds[kColourDepthCount];

// Every value of the control option string. Texts are kept as the dialog's
// fields hold them: a parse stores at most the 127 characters that a field
// is read as, and puts Connect To, like the name, in capitals, as its
// upper-case field shows it. Transport and adapter are positions in
// ControlLists, colour depth a ColourDepth position; -1 means nothing
// selected. A default record is the state before any command line is
// applied.
struct ControlSettings {
    std::wstring name;             // bare word; upper-case, at most 15 when read
    int transport = -1;            // position in ControlLists::transports
    bool localBroadcasts = false;  // /L, written only with IPX
    int adapter = -1;              // position in ControlLists::adapters; /A only with NetBIOS
    std::wstring messageFile;      // /M
    bool disableTickle = false;    // /O
    int colourDepth = -1;          // /R; a ColourDepth position
    std::wstring cacheSize;        // /H; decimal text as typed
    std::wstring connectTo;        // /C
    std::wstring maxClients;       // /S; decimal text as typed
    bool remote = false;           // /REMOTE
    bool serialLink = false;       // /D without a value
    std::wstring dial;             // /D with a value: the number to dial

    bool operator==(const ControlSettings&) const = default;
};

struct ControlLists {
    std::vector<int> adapters;    // data (LANA number) of each adapter entry
    std::vector<int> transports;  // data (transport id 100..102) of each Transport entry
};

// Applies a Program Manager command line (program path, a space, the
// option string). Returns false (absent) for an empty line, which changes
// nothing; otherwise true (present), with every setting whose switch
// occurs set from the line, every other kept, and remote set to whether
// /REMOTE occurs. A line without a space only turns remote off. upper is
// the platform's upper-casing, which the name (after its cut to 15
// characters) and Connect To get.
bool ParseControlOptions(std::wstring_view commandLine, ControlSettings& settings, const ControlLists& lists,
                         UpperCaseMap upper);

struct ComposedControl {
    std::wstring text;
    bool overLimit;  // longer than the 128 characters Program Manager takes
};

// Builds the option string. remoteAvailable: the dialog offers Remote and
// the transport is not TCP/IP; without it /D and /REMOTE are not written.
// The text is returned whole, however long; overLimit only tells.
ComposedControl ComposeControlOptions(const ControlSettings& settings, const ControlLists& lists, bool remoteAvailable);

}  // namespace rc

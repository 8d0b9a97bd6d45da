// The client option string: the row of bare words and switches that the
// Client service STATN32 finds behind "/*" on its command line. It gives
// the Client its name, password code, transport, behaviour options and,
// optionally, a bridge part for a serial or modem link.
//
// ParseClientOptions applies a string to ClientSettings; ComposeClientOptions
// builds the string back in its fixed order. Neither touches a window: the
// Client Configuration dialog hands in the entries of its lists and reads
// back, from the settings, which entry each list should select.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "client/option_append.h"
#include "shell/text.h"

namespace rc {

// Longest option text that is read; the rest is cut off.
inline constexpr std::size_t kClientOptionTextMax = 255;
// Text limits of the values the string carries.
inline constexpr std::size_t kClientNameMax = 15;
inline constexpr std::size_t kPasswordCodeTextMax = 9;
inline constexpr std::size_t kLogoffArgumentMax = 15;
inline constexpr std::size_t kSecurityKeyMax = 15;
inline constexpr std::size_t kVideoModeMax = 4;
// The serial port is looked up by the first four characters ("COM1").
inline constexpr std::size_t kPortWordMax = 4;

// The eleven options, in the order of the dialog's option list; row n has
// the check box 2000+n.
enum ClientOption : int {
    kOptIgnoreBroadcast = 0,  // /I
    kOptDisableFileTransfer,  // /F
    kOptUserAcknowledgement,  // /K
    kOptWatchOnly,            // /W
    kOptLogoffOnDisconnect,   // /R (capital R)
    kOptSendPhysicalFonts,    // /P
    kOptAlwaysOnTop,          // /Z
    kOptSuppressTickle,       // /O
    kOptApplicationEventLog,  // /Y
    kOptPublicWhenLoggedOff,  // /X
    kOptBlankClientScreen,    // /c (small c)
    kClientOptionCount
};

enum class BridgeMode { Off, Bridge, StartedUnloaded };
enum class LinkKind { SerialLink, Modem };

// The held settings: values without a control in the Client Configuration
// dialog. They start unset, empty or off when the program starts and are
// one record for the whole run; a parse only ever sets the ones whose
// switch occurs and never resets the others. Advanced Client Options edits
// some of them.
struct ClientHeldSettings {
    std::wstring logoffArgument;  // /R or /r value, at most 15 characters
    std::wstring securityKey;     // /C value, at most 15 characters
    int lookupDelay = -1;         // /L, 0..6; -1 unset
    int bufferCount = -1;         // /N, at most 3 (no lower limit when read; /N-1
                                  // therefore reads as unset); -1 unset
    int cacheSize = -1;           // /H, 128..4096 KBytes; -1 unset
    std::wstring videoMode;       // /G value, at most 4 characters
    bool switch1 = false;         // /1
    bool modemDebug = false;      // /D in the bridge part

    bool operator==(const ClientHeldSettings&) const = default;
};

// Every value of the client option string. Positions (transport, adapter,
// port, baud, modem) index the matching vector of ClientLists; -1 means
// that nothing is selected. Texts that the dialog keeps in edit fields
// (password codes, the two inactivity timeouts, the classroom Cache Size)
// are held as the field's text.
struct ClientSettings {
    std::wstring name;          // first bare word; upper-cased when read, at most 15
    std::wstring passwordCode;  // second bare word, at most 9
    int transport = -1;         // position in ClientLists::transports
    int adapter = -1;           // position in ClientLists::adapters
    std::array<bool, kClientOptionCount> options{};
    std::wstring publicCode;         // /X value, at most 127 (a field's text)
    std::wstring inactivityTimeout;  // field text; /T or /M writes decimal
    std::wstring cacheSizeField;     // the classroom edition's Cache Size field

    // The bridge part.
    BridgeMode bridge = BridgeMode::Off;
    int port = -1;  // position in ClientLists::ports
    int baud = -1;  // position in ClientLists::bauds
    LinkKind link = LinkKind::SerialLink;
    int modem = -1;           // position in ClientLists::modems
    std::wstring bridgeCode;  // second bare word of the bridge part, at most 9
    bool dialback = false;
    std::wstring dialbackFile;   // /P value, at most 127
    std::wstring bridgeTimeout;  // field text; /T in the bridge part

    ClientHeldSettings held;

    bool operator==(const ClientSettings&) const = default;
};

// The entries of the dialog's lists that the string selects in.
struct ClientLists {
    std::vector<std::wstring> ports;   // "COM1".."COM4"
    std::vector<std::wstring> bauds;   // "1200".."115200"
    std::vector<std::wstring> modems;  // the modem list, in file order
    std::vector<int> adapters;         // data (LANA number) of each adapter entry
    std::vector<int> transports;       // data (transport id 100..102) of each Transport entry
};

// The list search for a serial port, baud rate or modem: the position of
// the first entry that begins with text, without regard to case, trying
// the third entry, the fourth and so on to the last, then the first and
// the second. -1 when none matches or the list is empty. An empty text
// matches every entry.
int FindListEntry(const std::vector<std::wstring>& entries, std::wstring_view text);

// Applies an option text (cut to its first 255 characters) to settings.
// Every value whose switch or bare word occurs is set from it and every
// other keeps what it had, except bridge mode, dialback and link kind,
// which every walk sets. A text without any token changes nothing and
// fails. Otherwise the result is true when, after the walk, the name is
// not empty and a transport is selected. upper is the platform's
// upper-casing, which the name gets after its cut to 15 characters.
bool ParseClientOptions(std::wstring_view text, ClientSettings& settings, const ClientLists& lists, UpperCaseMap upper);

// Builds the option string in its fixed order; every token is followed by
// one space, with the exceptions of /X (two spaces after a code), the lone
// space that stands for no modem, and the " /D" of modem debug.
//
// bridgeOffered: whether the bridge part may be written at all.
// classroom: the classroom edition, whose Client Configuration dialog has
// only the name, transport, adapter and Cache Size controls. Its values
// kept in controls that this dialog lacks read as empty or off there, so
// they are left out of the string: password code, options, public
// password code, inactivity timeout and the whole bridge part. The held
// values are still written, a logoff argument then behind the small /r.
// The cache size comes from the Cache Size field instead of the held
// value.
std::wstring ComposeClientOptions(const ClientSettings& settings, const ClientLists& lists, bool bridgeOffered,
                                  bool classroom);

}  // namespace rc

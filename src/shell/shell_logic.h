// Window-free rules of the application shell: the Configurator's own
// command line, where a dialog is placed over its owner, the dialog
// template font fix-up, the help file choice and the texts of the
// directory prompt.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rc {

// ---- Command line ---------------------------------------------------------

// Sizes of the shell's text buffers, terminator included.
constexpr std::size_t kCommandLineBuffer = 132;  // 131 characters and the terminator
constexpr std::size_t kNameBuffer = 64;          // edition and program group names
constexpr std::size_t kPathBuffer = 128;         // paths and directory names

struct CommandLineSwitches {
    bool quiet = false;     // /I: save without the information box
    bool banner = true;     // /N turns the banner off
    bool hasGroup = false;  // /P was given
    std::wstring group;     // /P value: the rest of the line, at most 63 characters
};

// Reads the switches /I, /N and /P. The line is copied into the 131-character
// working buffer and split at single spaces; "/" or "-" starts a switch whose
// next character, upper-cased, is its letter. /P takes the rest of the line
// as given (not only the part that fit the working buffer), from the
// character after the letter, and ends the reading. A group name longer than
// its 63-character buffer is cut there.
CommandLineSwitches ParseCommandLine(std::wstring_view line);

// ---- Edition ---------------------------------------------------------------

// The registry views through which a process reads
// HKEY_LOCAL_MACHINE\SOFTWARE. On 64-bit Windows a 32-bit process's own view
// is redirected to SOFTWARE\WOW6432Node; the 64-bit view (KEY_WOW64_64KEY)
// is the one that `reg add` from a 64-bit prompt and 64-bit installers write.
enum class RegistryView { View64, Own };

struct EditionViews {
    RegistryView order[2];
    int count;
};

// The views the edition value is read from, in this order: the 64-bit view,
// then the process's own view when that is another one (a 32-bit process on
// 64-bit Windows). A 64-bit process's own view is the 64-bit view, so it
// reads once; 32-bit Windows has one view and knows no 64-bit flag, so a
// process there reads its own view only.
EditionViews EditionViewOrder(bool process64, bool os64);

// True when the edition value names the classroom edition: "Tutor", any case.
bool NamesClassroomEdition(std::wstring_view value);

// Decides the edition from the registry: the first view in EditionViewOrder
// that holds the value decides, and a later view is read only when the
// earlier ones hold none. read(view) gives the value held in that view (an
// empty text for a value that is not a string) or nothing.
template <typename Read>
bool ReadsClassroomEdition(bool process64, bool os64, Read read) {
    EditionViews views = EditionViewOrder(process64, os64);
    for (int i = 0; i < views.count; ++i) {
        std::optional<std::wstring> value = read(views.order[i]);
        if (value) return NamesClassroomEdition(*value);
    }
    return false;
}

// ---- Centring --------------------------------------------------------------

struct Point {
    int x;
    int y;
};

// Position of a dialog W x H centred over its owner's client area (PW x PH)
// measured from the owner's outer top-left corner (PL, PT), then kept on a
// screen of SW x SH: first no further left or up than 0, then no further
// right or down than the screen's edge (so a dialog larger than the screen
// ends at a negative position).
Point CentrePosition(int W, int H, int PW, int PH, int PL, int PT, int SW, int SH);

// ---- Dialog template font ---------------------------------------------------

// The typeface that replaces a template's own when it carries DS_SETFONT:
// the platform's Mincho face.
extern const char16_t kReplacementFace[6];

// Replaces the typeface name of a classic dialog template that carries
// DS_SETFONT (0x40) with the Mincho face. It works on a copy, so the loaded
// resource is never written to, and it keeps the dialog items on the 4-byte
// boundaries the platform expects: the items move by a multiple of 4 bytes
// whether the new name is shorter or longer than the old one. Templates
// without DS_SETFONT, and extended templates, come back byte for byte.
// A template too short for the fields it announces is returned unchanged.
std::vector<std::uint8_t> FixTemplateFont(const std::uint8_t* data, std::size_t size);

// ---- Help file ---------------------------------------------------------------

// "<dir>\<base>.hlp" if it exists, else "<dir>\qvt.hlp" if that exists, else
// "<dir>\<base>.hlp" again. The name is built whole even when the program
// directory is long, so the help system is never asked for a cut name.
template <typename Exists>
std::wstring ChooseHelpFile(std::wstring_view dir, std::wstring_view base, Exists exists) {
    std::wstring first = std::wstring(dir) + L"\\" + std::wstring(base) + L".hlp";
    if (exists(first)) return first;
    std::wstring second = std::wstring(dir) + L"\\qvt.hlp";
    if (exists(second)) return second;
    return first;
}

// ---- Directory prompt --------------------------------------------------------

// High and low 16 bits of the Enter Directory init parameter: the string
// numbers of the first and the second message.
inline int FirstMessageId(std::uint32_t packed) { return static_cast<int>(packed >> 16); }
inline int SecondMessageId(std::uint32_t packed) { return static_cast<int>(packed & 0xFFFF); }

// The Enter Directory message: the first string formatted with
// "STATN32.EXE", the second with "STATN32" and "the registry", each
// loaded as at most 127 characters, then the third, cut only to the room
// that is left of the 511 characters of the message buffer.
std::wstring EnterDirectoryMessage(std::wstring_view first, std::wstring_view second, std::wstring_view third);

// Removes one trailing backslash, if any: "C:\dir\\" keeps one.
std::wstring WithoutTrailingBackslash(std::wstring_view dir);

// The path of a program file in a stored directory: directory, backslash,
// file name.
std::wstring ProgramPath(std::wstring_view dir, std::wstring_view file);

// Cuts a module path at its last backslash (a path without one stays whole).
std::wstring DirectoryOfPath(std::wstring_view path);

}  // namespace rc

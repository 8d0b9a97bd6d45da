// The texts exchanged with Program Manager, apart from the DDE conversation
// that carries them: the program item record, the replies to the group and
// item requests, the item lines shown in the Icons list, the command blocks
// that create, show, add and delete, and the Start Menu shortcut mark.
//
// Nothing here includes <windows.h>; the same code is built for Windows and
// natively for Linux, where it is unit-tested with sanitizers and fuzzed.
// Every function is total: it never throws and never writes past the
// buffers it is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rc {

// Room of the record's text fields, terminator included.
constexpr std::size_t kItemTextCap = 127;      // 126 characters
constexpr std::size_t kGroupNameCap = 64;      // 63 characters
constexpr std::size_t kItemOptionsCap = 1024;  // 1023 characters

// Command blocks handed to ExecuteCommands, in wide characters with the
// terminator: Create Program Icon takes 2048 bytes, Delete takes 1024 bytes.
constexpr std::size_t kCreateBlockChars = 1024;
constexpr std::size_t kDeleteBlockChars = 512;

// One Program Manager item. Control Icon Maintenance clears it to zeros
// before each use and lends it down to Control Configuration and Create
// Program Icon. The text fields are fixed buffers whose size is the limit;
// whatever is longer is cut at its own field and never spills into the next.
//
// `options` is our own addition. Program Manager's command line has room for
// 126 characters, but a composed control option string can be longer, and it
// must reach Create Program Icon whole because that dialog writes it into the
// AddItem command, where the block gives it far more room. Control
// Configuration therefore puts the composed string whole into `options` (the
// command line field could only hold it cut), and Create Program Icon reads
// it from there. Reading an item line back never touches it.
struct ProgramItemRecord {
    wchar_t description[kItemTextCap];
    wchar_t commandLine[kItemTextCap];
    wchar_t directory[kItemTextCap];
    wchar_t iconFile[kItemTextCap];
    std::int32_t x;
    std::int32_t y;
    std::int32_t iconIndex;
    std::int32_t hotKey;
    std::int32_t minimize;
    wchar_t group[kGroupNameCap];
    wchar_t options[kItemOptionsCap];
};

// Sets every field of the record to zero (empty texts, zero numbers).
void ClearProgramItemRecord(ProgramItemRecord* record);

// Splits a reply of Program Manager into its lines: carriage returns and line
// feeds separate lines, a run of them counts as one separator, and empty
// lines are dropped. No returned line is empty or holds CR or LF.
std::vector<std::wstring> SplitReplyLines(std::wstring_view reply);

// Turns one line of a group's reply into an item line for the Icons list.
// Program Manager describes an item as "name","command line",fields... with
// the fields separated by commas. The name runs from the second character up
// to the next double quote; the command line starts three characters after
// that quote and runs up to the next one; the remaining fields start two
// characters after the command line's closing quote (nothing when that lies
// past the end of the line). The item line is
//   name TAB command line TAB fields (every comma turned into a TAB).
// Returns false, leaving *itemLine untouched, when a quote that these steps
// look for is missing or when the program part of the command line (its text
// up to the first space), upper-cased, does not contain "VIEWDESK".
bool ItemLineFromGroupLine(std::wstring_view line, std::wstring* itemLine);

// Reads an item line back into the record. Every TAB ends a field, so an
// empty field keeps its place. In order: description, command line, default
// directory, icon file, x, y, icon index, hot key, minimize flag. Text fields
// are cut to their room; number fields take the leading decimal number (0
// when there is none). A field the line does not reach becomes empty or 0;
// fields after the ninth are ignored. The group name and `options` are left
// as they are.
void ReadItemLine(std::wstring_view itemLine, ProgramItemRecord* record);

// What Create Program Icon puts into its command block.
struct IconCommandInput {
    std::wstring_view programPath;  // installation directory + "\VIEWDESK.EXE"
    std::wstring_view options;      // the composed control option string
    std::wstring_view description;
    std::wstring_view iconFile;
    std::int32_t iconIndex = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::wstring_view directory;
    std::int32_t hotKey = 0;
    std::int32_t minimize = 0;
    std::wstring_view group;                                 // taken at most 63 characters, its room
    const std::vector<std::wstring>* knownGroups = nullptr;  // the group box entries; none when null
    int majorVersion = 4;
};

// The command block of Create Program Icon, at most 1023 characters:
//   [CreateGroup(group)]   only when the group is not among the known
//                          groups (compared without regard to case)
//   [ShowGroup("group", 1)]
//   [AddItem(parameters)]
// On major version 4 or later the parameters are
//   "path" options,"description",icon,index,x,y,directory,hotkey,minimize,1
// and below 4 the path and the options share one pair of quotes:
//   "path options","description",icon,index,x,y,directory,hotkey,minimize,1
// The parameters are written only when the lengths of path, description,
// icon file, directory and options, plus 35, do not exceed the characters
// left free in the block after "[AddItem(" (1023 minus the text so far, the
// terminator keeping its place); otherwise the command reads "[AddItem()]".
// Should numbers far beyond any real position still make the parameters too
// long, they are cut so that ")]" still closes the block.
// *createsGroup (when given) tells whether the CreateGroup command was
// written, that is whether the group is new.
std::wstring CreateIconCommands(const IconCommandInput& input, bool* createsGroup);

// The command block of Delete, at most 511 characters:
//   [ShowGroup("group", 1)][DeleteItem("item")]
// The group is taken at most 63 characters and the item name at most 126,
// the room they have in the record, which always fits.
std::wstring DeleteIconCommands(std::wstring_view group, std::wstring_view itemName);

// True when a reply's data is 8-bit text that must be converted: on systems
// of major version 4 or later, any format other than 13 (Unicode text).
bool ReplyIsEightBit(int majorVersion, int clipboardFormat);

// The Start Menu shortcut that Program Manager makes for a new item:
//   <windows directory, at most 255 characters>\Profiles\All Users\Start Menu
//   \Programs\<group>\<description>.lnk
std::wstring StartMenuLinkPath(std::wstring_view windowsDirectory, std::wstring_view group,
                               std::wstring_view description);

// Marks the bytes read from the start of a shortcut file to run in a separate
// process: sets bit 0x04 of the byte at offset 21 (flag 0x400 of the link
// flags at offset 20). Returns false, changing nothing, when the bytes do not
// reach that offset.
bool MarkRunInSeparateProcess(std::uint8_t* bytes, std::size_t length);

// Position of the group whose whole name equals `name` without regard to
// case, or -1.
int FindGroupIndex(const std::vector<std::wstring>& groups, std::wstring_view name);
// Position of the first group whose name begins with `prefix` without regard
// to case, or -1.
int FindGroupPrefixIndex(const std::vector<std::wstring>& groups, std::wstring_view prefix);

}  // namespace rc

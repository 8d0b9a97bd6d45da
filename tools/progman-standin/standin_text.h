// The Program Manager stand-in's texts, apart from its windows: the command
// language of the execute blocks it receives, the lines of the replies it
// gives, its own command line and the lines of its log.
//
// Nothing here includes <windows.h>; the functions are total, never throw
// and never read past the views they are given.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace standin {

// One command of an execute block: [Name(param,param,...)] or [Name].
// Parameters are kept as written, blanks around them trimmed, quotes and
// all, because AddItem's first parameter means something different
// depending on where its quotes stand.
struct Command {
    std::wstring name;
    std::vector<std::wstring> params;
};

// Reads an execute block: commands in square brackets, with blanks (space,
// tab, CR, LF) allowed between them. Inside the parentheses, commas outside
// double quotes separate the parameters and a closing parenthesis outside
// quotes ends them. False, with *commands emptied, when anything else
// stands between the commands, a bracket, parenthesis or quote is left
// open, a name is empty or holds anything but letters and digits, or the
// block holds no command at all.
bool ParseCommandBlock(std::wstring_view block, std::vector<Command>* commands);

// A parameter's text with its double quotes removed and the blanks around
// it trimmed: `"a, b"` gives `a, b`, ` x ` gives `x`.
std::wstring Unquote(std::wstring_view param);

// A number parameter: blanks, an optional sign and decimal digits. An empty
// parameter gives `fallback`. False for anything else or a value outside
// the 32-bit range.
bool ReadNumber(std::wstring_view param, int fallback, int* value);

// Splits AddItem's command line parameter into program and arguments.
// `"path" options` (the program alone quoted): the quoted text is the
// program, the rest the arguments. `"path options"` or an unquoted
// `path options`: the program ends at the first space that follows a name
// ending in .exe, .com, .bat, .cmd, .pif or .lnk (so a program path may
// hold spaces), else at the first space. Arguments are trimmed of blanks.
void SplitCommandLine(std::wstring_view param, std::wstring* program, std::wstring* arguments);

// What AddItem asks for:
// AddItem(command line[,name[,icon file[,icon index[,x,y[,directory
//         [,hot key[,minimize[,separate memory space]]]]]]]])
struct NewItem {
    std::wstring program;
    std::wstring arguments;
    std::wstring name;       // empty: the program's file name without extension
    std::wstring iconFile;
    int iconIndex = 0;
    int x = 0;
    int y = 0;
    std::wstring directory;
    int hotKey = 0;          // 0 to 65535
    bool minimize = false;
    bool separate = false;
};

// Reads AddItem's parameters. False when there are none or more than ten,
// the command line names no program, a number field is not a number, the
// hot key lies outside 0..65535, or x is given without y.
bool ReadAddItem(const std::vector<std::wstring>& params, NewItem* item);

// True when `name` can be a group folder or a link file name: not empty,
// at most 100 characters, none of  \ / : * ? " < > |  nor a control
// character, not "." or "..", not ending in a space or a dot.
bool IsUsableName(std::wstring_view name);

// Case-insensitive comparison of names (ASCII letters and the Latin-1
// letters fold; that is all group names here need).
bool SameName(std::wstring_view a, std::wstring_view b);

// A group's own line: "name",group path,item count,show state
std::wstring GroupLine(std::wstring_view name, std::wstring_view path, int count, int show);

// One item's line: "name","command line",directory,icon file,x,y,icon
// index,hot key,minimize flag (1 or 0).
struct ItemFields {
    std::wstring name;
    std::wstring commandLine;
    std::wstring directory;
    std::wstring iconFile;
    int x = 0;
    int y = 0;
    int iconIndex = 0;
    int hotKey = 0;
    bool minimize = false;
};
std::wstring ItemLine(const ItemFields& item);

// Lines joined with CR LF between them (none after the last).
std::wstring JoinLines(const std::vector<std::wstring>& lines);

// The stand-in's command line:
//   /log <file>       append what it receives to <file> (UTF-16LE)
//   /silent           acknowledge initiates, then never answer or terminate
//   /silent-groups    never answer a request for the group list ("PROGMAN")
//   /silent-items     never answer a request for a group's items
//   /silent-commands  never acknowledge a command block
//   /busy-items <n>   hold up n seconds before answering a group's items,
//                     reading no message meanwhile (a busy Program Manager)
//   /ansi             answer every request in CF_TEXT, whatever was asked
//   /quit-after <n>   end after n seconds (a safety limit for tests)
// Letters in either case, "-" as well as "/". False on an unknown switch,
// a missing value or a bad number.
struct Options {
    std::wstring logFile;
    bool silent = false;
    // Silent for one kind of request only; the conversation is otherwise
    // held as usual (initiate acknowledged, terminate answered).
    bool silentGroups = false;
    bool silentItems = false;
    bool silentCommands = false;
    int busyItemsSeconds = 0;
    bool ansi = false;
    int quitAfterSeconds = 0;  // 0: no limit
};
bool ReadOptions(const std::vector<std::wstring>& args, Options* options);

// One log line: the fields joined by TABs, then CR LF. The fields are
// written as they are; an execute block's text may hold anything.
std::wstring LogLine(std::initializer_list<std::wstring_view> fields);

}  // namespace standin

#include "client/modem_list_win.h"

#include "client/modem_file.h"
#include "shell/owners_win.h"
#include "shell/shell_win.h"
#include "shell/text.h"

#include <cstdio>
#include <string>

namespace rc {

namespace {

// The file is read in blocks of this many bytes.
constexpr std::size_t kBlockBytes = 127;

bool PlatformLetterOrDigit(wchar_t c) { return IsCharAlphaNumericW(c) != FALSE; }

// Adds the names the reader has completed since the last call.
void AddNewNames(HWND list, const ModemListReader& reader, std::size_t& added) {
    const auto& names = reader.Names();
    for (; added < names.size(); ++added)
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[added].c_str()));
}

}  // namespace

int LoadModemList(HWND dialog, int listId) {
    // The program directory in the ANSI code page, at most 113 bytes of it,
    // then "\MODEMDEF.MDM"; empty when there is no directory.
    std::string path = ModemFilePath(g_shell.programDirectory, SystemCodec());
    if (path.empty()) return 0;
    File file(std::fopen(path.c_str(), "rb"));
    if (!file) return 0;

    HWND list = DialogItem(dialog, listId);
    ModemListReader reader(PlatformLetterOrDigit);
    std::size_t added = 0;
    char block[kBlockBytes];
    for (;;) {
        std::size_t n = std::fread(block, 1, sizeof block, file.get());
        if (n == 0) break;  // end of file (a read error ends the file too)
        bool going = reader.Feed(std::string_view(block, n));
        AddNewNames(list, reader, added);
        if (!going) break;
    }
    int result = reader.Finish();
    AddNewNames(list, reader, added);
    return result;
}

}  // namespace rc

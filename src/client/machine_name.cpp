#include "client/machine_name.h"

namespace rc {

std::wstring MachineNoteName(bool nameRead, std::wstring_view computerName, std::wstring_view notSetText) {
    if (!nameRead) return std::wstring(notSetText);
    std::wstring_view name = computerName.substr(0, computerName.find(L' '));
    if (name.size() > kMachineNameMax) name = name.substr(0, kMachineNameMax);
    return std::wstring(name);
}

}  // namespace rc

// The component registrations that the "Fix Internet Explorer" and "Fix Media Player" pages
// launch, one "cmd.exe /c" command per entry, in this order.
//
// Every entry begins with one blank: the launch puts "/c" straight in front of it, so the first
// Internet Explorer entry runs "cmd.exe" with "/c regsvr32 comcat.dll /s". The entries run as
// they stand, oddities included (two files in one entry, a doubled blank, repeated entries).
#pragma once

#include <string>
#include <vector>

namespace corrivo {

// 114 entries.
const std::vector<std::wstring>& IeRegistrationCommands();
// 44 entries.
const std::vector<std::wstring>& WmpRegistrationCommands();

// The parameter string for "cmd.exe" that runs one entry.
std::wstring RegistrationParameters(const std::wstring& entry);

}  // namespace corrivo

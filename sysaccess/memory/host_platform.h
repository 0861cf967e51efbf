// Controls of the Linux stand-in platform: the folders and the Windows version it reports.
#pragma once

#include <cstdint>
#include <string>

namespace corrivo::host {

// The folder a shell folder number (or -2 Windows, -3 system, -4 temporary) answers; empty by
// default.
void SetFolder(int number, const std::wstring& path);
void SetProgramFileName(const std::wstring& path);
// What %name% expands to (letter case of the name ignored); unset names come from the
// process environment.
void SetEnvironment(const std::wstring& name, const std::wstring& value);
void SetOsVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType);

}  // namespace corrivo::host

// What each platform supplies underneath the portable helpers of platform.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corrivo::primitives {

// The extended version record; false when it cannot be had.
bool QueryOsVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType);
bool FolderExists(const std::wstring& folder);
// Every entry of the folder (a "*.*" search, all attributes, "." and ".." included) in the
// order the system delivers them. `folder` ends with a backslash.
bool EnumerateFolder(const std::wstring& folder, std::vector<std::wstring>* names);

}  // namespace corrivo::primitives

// What the running Windows answers about itself: its version, its folders, and how it expands
// %NAME% references. None of these throws; a question without an answer gives an empty text.
#pragma once

#include <cstdint>
#include <string>

#include "sysaccess/windows_version.h"

namespace corrivo {

enum class KnownFolder {
  DesktopDirectory,  // the user's desktop folder
  ProgramFiles,
  AppData,           // roaming application data
  LocalAppData,
  CommonAppData,     // all users' application data
};

class OperatingSystem {
 public:
  virtual ~OperatingSystem() = default;
  // The extended version record; false when it cannot be had.
  virtual bool QueryVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType) = 0;
  // No trailing backslash.
  virtual std::wstring FolderPath(KnownFolder folder) = 0;
  virtual std::wstring WindowsFolder() = 0;
  virtual std::wstring SystemFolder() = 0;
  virtual std::wstring TempFolder() = 0;
  // The full path of the running program.
  virtual std::wstring ProgramFile() = 0;
  // Expands %NAME% references the way ExpandEnvironmentStringsW does (unknown names stay as
  // written) into a buffer of `capacity` characters; empty when it does not fit.
  virtual std::wstring ExpandEnvironment(const std::wstring& text, std::size_t capacity = 260) = 0;
};

WindowsVersion DetectWindowsVersion(OperatingSystem& os);
// The running program's folder with its trailing backslash; empty when unknown.
std::wstring ProgramFolder(OperatingSystem& os);

}  // namespace corrivo

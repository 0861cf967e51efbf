// Services of Windows besides the registry: versions, WOW64 redirection, folder listing,
// ending processes and the standard folders. None shows anything; none throws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corrivo {

// 0 XP, 1 Vista, 3 Windows 7, 6 Windows 8; 2, 4, 5 and -1 are systems we refuse.
constexpr std::int32_t kOsXP = 0;
constexpr std::int32_t kOsVista = 1;
constexpr std::int32_t kOsServer2003 = 2;
constexpr std::int32_t kOsWin7 = 3;
constexpr std::int32_t kOsServer2008 = 4;
constexpr std::int32_t kOs2000 = 5;
constexpr std::int32_t kOsWin8 = 6;
constexpr std::int32_t kOsUnknown = -1;
constexpr std::uint32_t kProductTypeServer = 3;

std::int32_t MapOsVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType);
std::int32_t DetectOsVersionCode();
bool IsSupportedOsVersion(std::int32_t code);

// "IE10" when svcVersion starts with "10", "IE9" with "9.", else "IE8".
std::wstring IEVersionFromSvcVersion(const std::wstring& svcVersion);
// Reads svcVersion from the registry (native view) and sets IEVersionName.
void DetectIEVersion();
const std::wstring& IEVersionName();

// Opaque redirection state, kept by the caller between the two calls.
using Wow64RedirectionState = void*;
bool SwitchWow64FsRedirection(bool disable, Wow64RedirectionState* state);

// The filter rules of ListFolderFiles: "*." becomes ".", pieces split at ";" and trimmed.
std::vector<std::wstring> BuildExtensionFilter(const std::wstring& extensions);
bool ExtensionFilterAccepts(const std::vector<std::wstring>& filter, const std::wstring& entryName);

// Lists the folder's entries that pass the filter; `list` may be null. True when the folder
// exists and has at least one entry ("." and ".." count).
bool ListFolderFiles(const std::wstring& folder, std::vector<std::wstring>* list,
                     const std::wstring& extensions, bool fullPath);

// Ends processes by name. The platform's own walks the toolhelp snapshot; tests put a fake in
// place for the life of a ScopedProcessControl.
class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  virtual bool KillByName(const std::wstring& exeName) = 0;
};
ProcessControl& CurrentProcessControl();
ProcessControl& PlatformProcessControl();
class ScopedProcessControl {
 public:
  explicit ScopedProcessControl(ProcessControl& control);
  ~ScopedProcessControl();
  ScopedProcessControl(const ScopedProcessControl&) = delete;
  ScopedProcessControl& operator=(const ScopedProcessControl&) = delete;

 private:
  ProcessControl* previous_;
};

// True when `exePath`'s file-name part, or else the whole of it, equals `exeName`, letter case
// ignored.
bool ProcessNameMatches(const std::wstring& exePath, const std::wstring& exeName);

// Terminates every process whose file name (or whole executable name) matches, letter case
// ignored; the result is that of the last termination, false when nothing matched.
bool KillProcessByName(const std::wstring& exeName);

// The standard folders the program needs.
class TAppFrame {
 public:
  TAppFrame();
  std::wstring AppDataDir;        // roaming application data, no trailing backslash
  std::wstring CommonAppDataDir;  // all users' application data, no trailing backslash
  std::wstring ExeDir;            // the program's folder, with trailing backslash

  // Path keeps its value for an index without a folder (14, above 35).
  void GetFolderPath(int index, std::wstring& path) const;
  // The shell folder number behind an index: -1 none, -2/-3/-4 Windows/system/temp folder.
  static int FolderNumberForIndex(int index);
};

// Expands %NAME% environment references the way ExpandEnvironmentStringsW does (unknown names
// stay as written), into a buffer of `capacity` characters; empty when it does not fit.
std::wstring ExpandEnvironmentText(const std::wstring& text, std::size_t capacity = 260);

// Platform primitives behind TAppFrame; answer an empty text on failure.
std::wstring SpecialFolderPath(int csidl);
std::wstring WindowsFolder();
std::wstring SystemFolder();
std::wstring TempFolder();
std::wstring ProgramFileName();

}  // namespace corrivo

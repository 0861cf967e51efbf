// The few shell and component calls some repairs make beyond the registry and commands: a
// shortcut, the home-page protection library beside the program, the Internet Options reset,
// ending processes by name, and the desktop's refresh. Each platform supplies them; tests put
// doubles in their place.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace corrivo {

struct ShellLinkFields {
  std::wstring target;            // full path of the program the link starts
  std::wstring workingDirectory;  // the target's folder with its trailing backslash
  std::wstring description;
  bool operator==(const ShellLinkFields&) const = default;
};

// One shell link object; it can be saved to several files.
class ShellLinkObject {
 public:
  virtual ~ShellLinkObject() = default;
  // Saves the link as `file` without making it the object's current file.
  virtual bool SaveTo(const std::wstring& file) = 0;
};

// The loaded home-page protection library; unloaded when the object goes.
class HomePageLibrary {
 public:
  virtual ~HomePageLibrary() = default;
  virtual bool HasFunc() = 0;
  // Calls "Func" (stdcall, five arguments): target, request, request size in bytes, the
  // reply buffer and the reply size. Answers the export's one-byte Boolean.
  virtual bool CallFunc(const std::wstring& target, const std::wstring& request, std::uint32_t requestBytes,
                        std::uint8_t* reply, std::uint32_t* replySize) = 0;
};

enum class InetcplOutcome { NotLoaded, NoExport, Called };

class ShellServices {
 public:
  virtual ~ShellServices() = default;
  // A ShellLink object with the target, working folder and description set; null when the
  // object cannot be created.
  virtual std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields& fields) = 0;
  // Loads the library by its full path only; null when it cannot be loaded.
  virtual std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring& fullPath) = 0;
  // The Terminal Services session of this process; false when it cannot be had.
  virtual bool CurrentSessionId(std::uint32_t* sessionId) = 0;
  // Loads the control panel module by its full path, calls "ResetIEtoDefaults" with a null
  // owner window if it is there, waits for it and unloads the module.
  virtual InetcplOutcome ResetIEToDefaults(const std::wstring& inetcplPath) = 0;
  // Ends every process whose file name (or whole executable name) matches, letter case
  // ignored; the result is that of the last termination, false when nothing matched.
  virtual bool KillProcessesByName(const std::wstring& exeName) = 0;
  // Makes the desktop redraw its icons (after an icon was shown or hidden).
  virtual void RefreshDesktop() = 0;
  // Tells the shell that file associations and icons changed.
  virtual void NotifyAssociationsChanged() = 0;
};

// True when `exePath`'s file-name part, or else the whole of it, equals `exeName`, letter case
// ignored.
bool ProcessNameMatches(const std::wstring& exePath, const std::wstring& exeName);

}  // namespace corrivo

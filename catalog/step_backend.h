// The named steps that are more than one registry or command call: the Internet Explorer
// shortcuts (201), the home-page protection request (205), the Internet Options reset (209),
// and the shell-state patch, the Explorer kill and the hosts file (503, 701). Their order,
// texts and failure rules live here; the few Windows calls they need sit behind
// SpecialStepBackend so the rules run unchanged in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "catalog/plan.h"

namespace corrivo {

// --- 201

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

constexpr int kCsidlProgramFiles = 38;
constexpr const wchar_t* kIEShortcutDescription = L"Micsoft Internet Explorer";
// The file name part of the shortcut (no final r, as the product has always named it).
constexpr const wchar_t* kIEShortcutName = L"Internet Explore";
constexpr const wchar_t* kShellFoldersKey = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// --- 205

// The loaded "pagelock.dll"; unloaded when the object goes.
class HomePageLibrary {
 public:
  virtual ~HomePageLibrary() = default;
  virtual bool HasFunc() = 0;
  // Calls "Func" (stdcall, five arguments): target, request, request size in bytes, the
  // reply buffer and the reply size. Answers the export's one-byte Boolean.
  virtual bool CallFunc(const std::wstring& target, const std::wstring& request, std::uint32_t requestBytes,
                        std::uint8_t* reply, std::uint32_t* replySize) = 0;
};

constexpr const wchar_t* kHomePageLibraryName = L"pagelock.dll";
constexpr const wchar_t* kHomePageTarget = L"{5E1A7C2D-93B4-4F60-A8D1-2C7E0B94F35A}/Warden";
constexpr std::size_t kHomePageReplyBytes = 2050;
constexpr std::uint32_t kHomePageReplySize = 1024;

// The request text ":QV4_SetProtect:<session>|<browser tag>".
std::wstring HomePageProtectionRequest(std::uint32_t sessionId, const std::wstring& browserTag);

// --- 209

enum class InetcplOutcome { NotLoaded, NoExport, Called };
constexpr const wchar_t* kInetcplName = L"inetcpl.cpl";

// The Windows calls behind the special steps.
class SpecialStepBackend {
 public:
  virtual ~SpecialStepBackend() = default;
  // A ShellLink object with the target, working folder and description set; null when the
  // object cannot be created.
  virtual std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields& fields) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  // Loads the library by its full path only; null when it cannot be loaded.
  virtual std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring& fullPath) = 0;
  // The Terminal Services session of this process; false when it cannot be had.
  virtual bool CurrentSessionId(std::uint32_t* sessionId) = 0;
  // Loads the control panel module by its full path, calls "ResetIEtoDefaults" with a null
  // owner window if it is there, waits for it and unloads the module.
  virtual InetcplOutcome ResetIEToDefaults(const std::wstring& inetcplPath) = 0;
};

// The backend the special steps use: the platform's own unless a test put another in place.
SpecialStepBackend& CurrentSpecialStepBackend();
SpecialStepBackend& PlatformSpecialStepBackend();

class ScopedSpecialStepBackend {
 public:
  explicit ScopedSpecialStepBackend(SpecialStepBackend& backend);
  ~ScopedSpecialStepBackend();
  ScopedSpecialStepBackend(const ScopedSpecialStepBackend&) = delete;
  ScopedSpecialStepBackend& operator=(const ScopedSpecialStepBackend&) = delete;

 private:
  SpecialStepBackend* previous_;
};

// A backend that finds nothing and creates nothing: the platform's own on Linux builds.
class NullSpecialStepBackend : public SpecialStepBackend {
 public:
  std::unique_ptr<ShellLinkObject> CreateShellLink(const ShellLinkFields&) override { return nullptr; }
  bool FileExists(const std::wstring&) override { return false; }
  std::unique_ptr<HomePageLibrary> LoadHomePageLibrary(const std::wstring&) override { return nullptr; }
  bool CurrentSessionId(std::uint32_t*) override { return false; }
  InetcplOutcome ResetIEToDefaults(const std::wstring&) override { return InetcplOutcome::NotLoaded; }
};

// The steps themselves.
// 201 on Windows 7 and 8: saves the link to the "Desktop" and the "Start Menu" folder; always true.
bool CreateIEShortcuts();
// 205: true only when the component accepted the request.
bool RequestHomePageProtection(const std::wstring& browserTag);
// 209: always true.
bool ResetIEToDefaults();

// Runs a StepKind::Special step and answers its own result.
bool RunSpecialStep(const Step& step);

}  // namespace corrivo

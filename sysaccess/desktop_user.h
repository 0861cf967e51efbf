// Whose settings the repairs change. A person with a standard account who starts Corrivo types
// an administrator's password, and the program then runs as that administrator: its
// HKEY_CURRENT_USER is the administrator's, not that of the person at the desktop. The desktop
// user is the owner of this session's shell; when that is someone else and their hive is
// loaded, the registry sends HKCU there.
#pragma once

#include <optional>
#include <string>

#include "sysaccess/registry.h"

namespace corrivo {

// A user account: its SID as text ("S-1-5-21-...") and its name as people read it
// ("PC\Anna", or the SID itself when the name cannot be looked up).
struct Account {
  std::wstring sid;
  std::wstring name;
  bool operator==(const Account&) const = default;
};

// The platform's answers about the session this program runs in.
class SessionAccounts {
 public:
  virtual ~SessionAccounts() = default;
  // The owner of this session's shell process; nullopt when there is no shell or its owner
  // cannot be read.
  virtual std::optional<Account> ShellOwner() = 0;
  // The user this process runs as.
  virtual std::optional<Account> ProcessOwner() = 0;
};

// The running system's answers (on Linux builds: no shell, no owner).
SessionAccounts& PlatformSessionAccounts();

enum class DesktopUserState {
  SameUser,       // the usual case: HKCU is the desktop user's
  OtherUser,      // someone else is at the desktop and their hive is loaded
  HiveNotLoaded,  // someone else is at the desktop, but HKEY_USERS has no hive for them
  NoDesktopUser,  // no shell process, or its owner or ours cannot be read
};

struct DesktopUser {
  DesktopUserState state = DesktopUserState::NoDesktopUser;
  Account desktop;  // empty with NoDesktopUser
  Account process;  // empty when unknown
};

// Compares the two owners; `plain` is a registry that does not map HKCU (for the hive test).
DesktopUser FindDesktopUser(SessionAccounts& accounts, const Registry& plain);

// A registry that acts on another one, with HKCU sent to one user's hive: HKEY_USERS\<SID>,
// and HKCU\Software\Classes to HKEY_USERS\<SID>_Classes where Windows keeps a user's classes.
// HKCR, the merged view, and the other roots stay as they are. Without a SID it changes
// nothing.
class UserHiveRegistry : public ForwardingRegistryBackend {
 public:
  using ForwardingRegistryBackend::ForwardingRegistryBackend;

  void SendCurrentUserTo(std::wstring sid) { sid_ = std::move(sid); }
  const std::wstring& Sid() const { return sid_; }

  long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override;
  long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override;
  RegistryLocation Locate(RegRoot root, const std::wstring& subkey) override;

 private:
  std::wstring sid_;
};

// The running system's registry as the repairs see it: PlatformSystem()'s backend, over
// PlatformRegistry(). It keeps HKCU until ChooseUser sends it elsewhere.
UserHiveRegistry& PlatformUserRegistry();

enum class UserChoice { Current, Desktop };

// Finds the desktop user and points `hive` at their hive when `choice` is Desktop and it is
// loaded; otherwise `hive` keeps HKCU. Called at start, before any repair or check.
DesktopUser ChooseUser(UserHiveRegistry& hive, SessionAccounts& accounts, UserChoice choice);

// The texts that say whose settings the repairs change; "%1" stands for a user's name.
inline constexpr wchar_t kDesktopUserNotice[] = L"Repairs apply to the desktop user %1";
inline constexpr wchar_t kHiveNotLoadedNotice[] =
    L"The settings of the desktop user %1 are not loaded: repairs apply to the user Corrivo runs as";
inline constexpr wchar_t kNoDesktopUserNotice[] =
    L"No desktop user found: repairs apply to the user Corrivo runs as";

struct UserNoticeTexts {
  std::wstring desktopUser = kDesktopUserNotice;
  std::wstring hiveNotLoaded = kHiveNotLoadedNotice;
  std::wstring noDesktopUser = kNoDesktopUserNotice;
};

// The one line a person reads after ChooseUser with Desktop; empty for the same user, when
// nothing needs saying.
std::wstring UserNotice(const DesktopUser& user, const UserNoticeTexts& texts = {});

}  // namespace corrivo

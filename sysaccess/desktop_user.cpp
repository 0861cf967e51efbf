#include "sysaccess/desktop_user.h"

#include "sysaccess/text.h"

namespace corrivo {
namespace {

constexpr std::wstring_view kClasses = L"software\\classes";

std::wstring Fill(std::wstring text, const std::wstring& name) {
  const std::size_t at = text.find(L"%1");
  if (at != std::wstring::npos) text.replace(at, 2, name);
  return text;
}

}  // namespace

DesktopUser FindDesktopUser(SessionAccounts& accounts, const Registry& plain) {
  DesktopUser user;
  const std::optional<Account> self = accounts.ProcessOwner();
  if (self) user.process = *self;
  const std::optional<Account> shell = accounts.ShellOwner();
  // Without both owners nothing can be compared, and a wrong guess would repair a stranger's
  // settings: HKCU stays.
  if (!shell || shell->sid.empty() || !self || self->sid.empty()) return user;
  user.desktop = *shell;
  if (EqualsNoCase(shell->sid, self->sid)) {
    user.state = DesktopUserState::SameUser;
  } else {
    user.state = plain.KeyExists(RegRoot::Users, shell->sid) ? DesktopUserState::OtherUser
                                                              : DesktopUserState::HiveNotLoaded;
  }
  return user;
}

RegistryLocation UserHiveRegistry::Locate(RegRoot root, const std::wstring& subkey) {
  if (root != RegRoot::CurrentUser || sid_.empty()) return inner_.Locate(root, subkey);
  const std::wstring lower = ToLower(subkey);
  const bool classes = lower.compare(0, kClasses.size(), kClasses) == 0 &&
                       (lower.size() == kClasses.size() || lower[kClasses.size()] == L'\\');
  if (classes) return inner_.Locate(RegRoot::Users, sid_ + L"_Classes" + subkey.substr(kClasses.size()));
  return inner_.Locate(RegRoot::Users, subkey.empty() ? sid_ : sid_ + L"\\" + subkey);
}

long UserHiveRegistry::OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) {
  const RegistryLocation at = Locate(root, subkey);
  return inner_.OpenKey(at.root, at.subkey, access, out);
}

long UserHiveRegistry::CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) {
  const RegistryLocation at = Locate(root, subkey);
  return inner_.CreateKey(at.root, at.subkey, access, out);
}

DesktopUser ChooseUser(UserHiveRegistry& hive, SessionAccounts& accounts, UserChoice choice) {
  const DesktopUser user = FindDesktopUser(accounts, Registry(hive.Inner()));
  const bool elsewhere = choice == UserChoice::Desktop && user.state == DesktopUserState::OtherUser;
  hive.SendCurrentUserTo(elsewhere ? user.desktop.sid : std::wstring());
  return user;
}

std::wstring UserNotice(const DesktopUser& user, const UserNoticeTexts& texts) {
  switch (user.state) {
    case DesktopUserState::SameUser: return std::wstring();
    case DesktopUserState::OtherUser: return Fill(texts.desktopUser, user.desktop.name);
    case DesktopUserState::HiveNotLoaded: return Fill(texts.hiveNotLoaded, user.desktop.name);
    case DesktopUserState::NoDesktopUser: break;
  }
  return texts.noDesktopUser;
}

}  // namespace corrivo

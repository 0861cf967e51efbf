// Whose HKCU the repairs reach: the four answers of the session seam, and the registry that
// sends HKCU to the desktop user's hive.
#include <gtest/gtest.h>

#include "sysaccess/desktop_user.h"
#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/stand_ins.h"

namespace corrivo::testing {
namespace {

const Account kAdmin{L"S-1-5-21-7-7-7-500", L"PC\\Admin"};
const Account kAnna{L"S-1-5-21-7-7-7-1001", L"PC\\Anna"};

TEST(DesktopUserTest, TheSessionDecidesWhoseHiveTheRegistryUses) {
  struct Case {
    const char* what;
    std::optional<Account> shell, self;
    bool annaLoaded;
    DesktopUserState state;
    bool sentToAnna;  // with UserChoice::Desktop
    bool saysSomething;
  };
  const Account annaInOtherCase{L"s-1-5-21-7-7-7-1001", L"Anna"};
  const Case cases[] = {
      {"same user", kAnna, kAnna, true, DesktopUserState::SameUser, false, false},
      {"same user, SID in other letter case", annaInOtherCase, kAnna, true, DesktopUserState::SameUser, false, false},
      {"other user, hive loaded", kAnna, kAdmin, true, DesktopUserState::OtherUser, true, true},
      {"other user, hive not loaded", kAnna, kAdmin, false, DesktopUserState::HiveNotLoaded, false, true},
      {"no shell process", std::nullopt, kAdmin, true, DesktopUserState::NoDesktopUser, false, true},
      {"own token unreadable", kAnna, std::nullopt, true, DesktopUserState::NoDesktopUser, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryRegistry registry;
    if (c.annaLoaded) registry.PutKey(RegRoot::Users, kAnna.sid);
    UserHiveRegistry hive(registry);
    MemorySessionAccounts accounts;
    accounts.shellOwner = c.shell;
    accounts.processOwner = c.self;

    hive.SendCurrentUserTo(L"S-1-5-21-left-over");  // a choice made before is replaced
    const DesktopUser user = ChooseUser(hive, accounts, UserChoice::Desktop);
    EXPECT_EQ(user.state, c.state);
    EXPECT_EQ(hive.Sid(), c.sentToAnna ? kAnna.sid : L"");
    EXPECT_EQ(UserNotice(user).empty(), !c.saysSomething);
    if (c.state == DesktopUserState::OtherUser) EXPECT_EQ(UserNotice(user), L"Repairs apply to the desktop user PC\\Anna");

    EXPECT_EQ(ChooseUser(hive, accounts, UserChoice::Current).state, c.state);
    EXPECT_EQ(hive.Sid(), L"") << "--user current keeps HKCU";
  }
}

TEST(DesktopUserTest, OnlyCurrentUserKeysMoveAndTheUsersClassesGoToTheirClassesHive) {
  MemoryRegistry registry;
  UserHiveRegistry hive(registry);
  const std::wstring sid = kAnna.sid;
  struct Case {
    RegRoot root;
    std::wstring asked;
    RegRoot root2;
    std::wstring located;
  };
  const Case mapped[] = {
      {RegRoot::CurrentUser, L"Software\\Policies\\X", RegRoot::Users, sid + L"\\Software\\Policies\\X"},
      {RegRoot::CurrentUser, L"", RegRoot::Users, sid},
      {RegRoot::CurrentUser, L"SOFTWARE\\classes\\.txt", RegRoot::Users, sid + L"_Classes\\.txt"},
      {RegRoot::CurrentUser, L"Software\\Classes", RegRoot::Users, sid + L"_Classes"},
      {RegRoot::CurrentUser, L"Software\\ClassesOld", RegRoot::Users, sid + L"\\Software\\ClassesOld"},
      {RegRoot::ClassesRoot, L".txt", RegRoot::ClassesRoot, L".txt"},
      {RegRoot::LocalMachine, L"Software\\Classes", RegRoot::LocalMachine, L"Software\\Classes"},
  };
  hive.SendCurrentUserTo(sid);
  for (const Case& c : mapped) {
    SCOPED_TRACE(std::string(c.asked.begin(), c.asked.end()));
    EXPECT_EQ(hive.Locate(c.root, c.asked), (RegistryLocation{c.root2, c.located}));
  }

  // Writes through the registry land where Locate says, and reads come back from there.
  registry.PutKey(RegRoot::Users, sid);
  const Registry r(hive);
  EXPECT_TRUE(r.WriteInteger(RegRoot::CurrentUser, L"\\Software\\Policies\\X", L"V", 7));
  EXPECT_TRUE(r.WriteString(RegRoot::CurrentUser, L"\\Software\\Classes\\.abc", L"", L"abcfile"));
  EXPECT_EQ(registry.GetDword(RegRoot::Users, sid + L"\\Software\\Policies\\X", L"V"), 7u);
  EXPECT_EQ(registry.GetString(RegRoot::Users, sid + L"_Classes\\.abc", L""), L"abcfile");
  EXPECT_FALSE(registry.HasKey(RegRoot::CurrentUser, L"Software"));
  EXPECT_EQ(r.ReadInteger(RegRoot::CurrentUser, L"\\Software\\Policies\\X", L"V"), 7);
  EXPECT_TRUE(r.DeleteKey(RegRoot::CurrentUser, L"\\Software\\Policies"));
  EXPECT_FALSE(registry.HasKey(RegRoot::Users, sid + L"\\Software\\Policies"));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);

  hive.SendCurrentUserTo(L"");
  EXPECT_EQ(hive.Locate(RegRoot::CurrentUser, L"Software\\X"), (RegistryLocation{RegRoot::CurrentUser, L"Software\\X"}));
}

}  // namespace
}  // namespace corrivo::testing

// The registry that sends HKCU to the desktop user's hive.
#include <gtest/gtest.h>

#include "sysaccess/desktop_user.h"
#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/stand_ins.h"

namespace corrivo::testing {
namespace {

const Account kAnna{L"S-1-5-21-7-7-7-1001", L"PC\\Anna"};

// Which user ChooseUser picks, and the notice it gives, are held to the command line's
// output in tests/console (FixSaysWhoseSettingsItRepairsAndRepairsThose).
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

// HKCU sent to another user's hive, made under HKEY_USERS of Wine's real registry.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/preview.h"
#include "sysaccess/desktop_user.h"
#include "sysaccess/memory/stand_ins.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

const std::wstring kSid = L"S-1-5-21-7-7-7-1001";

bool RegistryOnlyOnCurrentUser(const Plan& plan) {
  bool currentUser = false;
  for (const Step& s : plan) {
    if (s.kind == StepKind::Run || s.kind == StepKind::Special) return false;
    currentUser = currentUser || (s.root == RegRoot::CurrentUser && ChangesRegistry(s));
  }
  return currentUser;
}

TEST(DesktopUserWineTest, WinesDesktopUserIsTheUserCorrivoRunsAs) {
  const DesktopUser user = FindDesktopUser(PlatformSessionAccounts(), PlatformSystem().registry());
  EXPECT_EQ(user.state, DesktopUserState::SameUser);
  EXPECT_EQ(user.process.sid.rfind(L"S-1-5-", 0), 0u) << Narrow(user.process.sid);
  EXPECT_FALSE(user.process.name.empty());
  EXPECT_EQ(UserNotice(user), L"");
}

TEST(DesktopUserWineTest, AnotherUsersLoadedHiveReceivesTheCurrentUserRepairs) {
  System& real = PlatformSystem();
  const Registry plain(real.registryBackend);
  ASSERT_TRUE(plain.CreateKey(RegRoot::Users, kSid + L"\\Software"));
  ASSERT_TRUE(plain.CreateKey(RegRoot::Users, kSid + L"_Classes"));
  UserHiveRegistry hive(real.registryBackend);
  MemorySessionAccounts accounts;
  accounts.shellOwner = Account{kSid, L"VM\\Anna"};
  accounts.processOwner = PlatformSessionAccounts().ProcessOwner();
  ASSERT_EQ(ChooseUser(hive, accounts, UserChoice::Desktop).state, DesktopUserState::OtherUser);
  System mapped{hive, real.commands, real.files, real.os, real.shell, real.clock};
  const Registry users(hive);

  RepairArgs args;
  args.windows = DetectWindowsVersion(real.os);
  args.ieVersionName = L"IE8";
  int repairs = 0;
  for (const Repair& r : Repairs()) {
    const Plan plan = r.plan(args);
    if (!RegistryOnlyOnCurrentUser(plan) || r.disabledOn.Contains(args.windows)) continue;
    SCOPED_TRACE("repair " + std::to_string(r.id));
    std::vector<std::optional<RegistryValue>> own;
    for (const Step& s : plan) own.push_back(plain.ReadValue(s.root, s.key, s.name));
    EXPECT_TRUE(RunRepair(mapped, r.id, args));
    const Plan located = LocatePlan(users, plan);
    for (std::size_t i = 0; i < plan.size(); ++i) {
      const Step& s = plan[i];
      if (s.root != RegRoot::CurrentUser) continue;
      EXPECT_EQ(located[i].root, RegRoot::Users);
      EXPECT_EQ(plain.ReadValue(s.root, s.key, s.name), own[i]) << "the running user's HKCU changed";
      const auto there = plain.ReadValue(located[i].root, located[i].key, located[i].name);
      if (s.kind == StepKind::WriteDword || s.kind == StepKind::WriteString || s.kind == StepKind::WriteExpandString)
        EXPECT_TRUE(there.has_value()) << Narrow(located[i].key);
    }
    if (r.check && r.scanCheckedOn.Contains(args.windows) && r.check != AlwaysAProblem)
      EXPECT_FALSE(RunCheck(mapped, r.id, args)) << "the check reads the hive the repair wrote";
    ++repairs;
  }
  EXPECT_GT(repairs, 5);
}

}  // namespace
}  // namespace corrivo::testing

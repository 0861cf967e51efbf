// The desktop user under Wine: the user Corrivo runs as. Where HKCU goes for another user is
// DesktopUserTest's and the journal test's business, on the registry the contract suite vouches for.
#include <gtest/gtest.h>

#include "sysaccess/desktop_user.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

TEST(DesktopUserWineTest, WinesDesktopUserIsTheUserCorrivoRunsAs) {
  const DesktopUser user = FindDesktopUser(PlatformSessionAccounts(), PlatformSystem().registry());
  EXPECT_EQ(user.state, DesktopUserState::SameUser);
  EXPECT_EQ(user.process.sid.rfind(L"S-1-5-", 0), 0u) << Narrow(user.process.sid);
  EXPECT_FALSE(user.process.name.empty());
  EXPECT_EQ(UserNotice(user), L"");
}

}  // namespace
}  // namespace corrivo::testing

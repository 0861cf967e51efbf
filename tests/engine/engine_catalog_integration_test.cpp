// The engine with the real catalogue over the in-memory registry: what a scan lists is what
// the registry holds, and the engine's fix run clears exactly the items it was given.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/scan_and_fix_thread.h"
#include "sysaccess/registry.h"
#include "tests/engine/engine_fixture.h"

namespace corrivo {
namespace {

using corrivo::testing::EngineTest;

class EngineCatalogTest : public EngineTest {
 protected:
  EngineCatalogTest() {
    real.Init();
    real.OsVersionCode = 3;
    real.IEVersionName = L"IE9";
    real.SetOfferedFlags();
  }

  std::vector<int> Listed(const std::vector<ScanResult>& results) {
    std::vector<int> listed;
    for (const ScanResult& r : results) {
      if (r.Problem && r.Offered) listed.push_back(r.Index);
    }
    return listed;
  }

  TScanAndFixThread real;  // the catalogue's checks and repairs
};

TEST_F(EngineCatalogTest, ScanListsPlantedProblemsAndTheFixRunClearsThem) {
  constexpr RegRoot HKCU = RegRoot::CurrentUser;
  constexpr RegRoot HKLM = RegRoot::LocalMachine;
  const wchar_t* explorerPolicies = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
  const wchar_t* systemPolicies = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

  // An empty registry lacks a few values that a sound Windows 7 has; the engine's own fix run
  // supplies them, after which a scan finds nothing.
  real.StartScan();
  Run(real, 2, [&](int pass) {
    if (pass != 1) return;
    const auto listed = Listed(views.at(0).results);
    EXPECT_EQ(listed, (std::vector<int>{4, 6, 7, 15, 27, 36}));
    real.FixList.clear();
    for (int index : listed) real.FixList.push_back(std::to_wstring(index));
    real.StartFix();
  });
  ASSERT_EQ(views.at(1).fixDone, 1);

  TScanAndFixThread second;
  second.Init();
  second.OsVersionCode = 3;
  second.IEVersionName = L"IE9";
  second.SetOfferedFlags();
  second.StartScan();
  Run(second, 4, [&](int pass) {
    if (pass == 1) {
      EXPECT_TRUE(Listed(views.at(0).results).empty());
      // Two problems planted: Folder Options and Task Manager disabled by policy.
      registry.PutDword(HKCU, explorerPolicies, L"NoFolderOptions", 1);
      registry.PutDword(HKLM, systemPolicies, L"DisableTaskMgr", 1);
      second.StartScan();
    } else if (pass == 2) {
      const auto listed = Listed(views.at(1).results);
      EXPECT_EQ(listed, (std::vector<int>{3, 30}));
      second.FixList = {L"3", L"30"};
      runner.Clear();
      second.StartFix();
    } else if (pass == 3) {
      EXPECT_EQ(views.at(2).fixDone, 1);
      EXPECT_FALSE(registry.Get(HKCU, explorerPolicies, L"NoFolderOptions").has_value());
      EXPECT_FALSE(registry.Get(HKLM, systemPolicies, L"DisableTaskMgr").has_value());
      EXPECT_TRUE(runner.Commands().empty());  // both repairs are registry deletions only
      second.StartScan();
    }
  });
  ASSERT_EQ(views.size(), 4u);
  EXPECT_EQ(views.at(3).scanDone, 1);
  EXPECT_EQ(views.at(3).results.size(), 50u);
  EXPECT_TRUE(Listed(views.at(3).results).empty());
}

TEST_F(EngineCatalogTest, ChecksThatAlwaysAnswerTrueAreNeverListed) {
  // 103, 106, 110, 203, 301-305, 307 and 502 report a problem on every system, and 109 never
  // does; none of them is offered, so a scan of a sound system still lists nothing of them.
  real.StartScan();
  Run(real, 1);
  const auto& results = views.at(0).results;
  ASSERT_EQ(results.size(), 50u);
  for (int index : {2, 5, 9, 12, 20, 21, 22, 23, 24, 26, 41}) {
    SCOPED_TRACE(index);
    EXPECT_TRUE(results[index].Problem);
    EXPECT_FALSE(results[index].Offered);
  }
  EXPECT_FALSE(results[8].Problem);
  EXPECT_TRUE(results[8].Offered);
}

}  // namespace
}  // namespace corrivo

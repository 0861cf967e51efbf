// The worker with the catalogue's real checks and repairs over the in-memory registry, on every
// supported version: a scan lists exactly the problems the registry holds, and the fix run of
// those items leaves a registry the next scan finds sound.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "tests/engine/engine_fixture.h"

namespace corrivo::testing {
namespace {

// Policies that malware sets, each found by one scan item.
const struct {
  RegRoot root;
  const wchar_t *key, *name;
  int fixId;
} kPlanted[] = {
    {RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", L"NoFolderOptions", 104},
    {RegRoot::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", L"DisableTaskMgr", 401},
    {RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", L"DisableRegistryTools", 403},
};

class EngineCatalogTest : public EngineTest, public ::testing::WithParamInterface<WindowsVersion> {
 protected:
  std::vector<std::wstring> Listed(int pass) const { return testing::Listed(views.at(pass - 1).results); }
  TScanAndFixThread real{system};  // the catalogue's checks and repairs
};

TEST_P(EngineCatalogTest, PlantedProblemsAreFoundAndGoneAfterTheFix) {
  real.Init();
  real.Windows = GetParam();
  real.SetOfferedFlags();
  std::vector<std::wstring> planted;
  for (const auto& p : kPlanted)
    for (int i = 0; i < kScanItemCount; ++i)
      if (ScanItemFixId(i) == p.fixId) planted.push_back(std::to_wstring(i));
  ASSERT_EQ(planted.size(), std::size(kPlanted));
  const std::vector<std::wstring> none;

  // An empty registry lacks values a sound system has: the engine's own fix supplies them.
  real.StartScan();
  Run(6, [&](int pass) {
    ASSERT_EQ(views.back().scanDone + views.back().fixDone, 2);
    if (pass == 1) real.StartFix(Listed(1));
    if (pass == 3) {
      EXPECT_EQ(Listed(3), none) << Narrow(registry.Dump());
      for (const auto& p : kPlanted) registry.PutDword(p.root, p.key, p.name, 1);
    }
    if (pass == 4) {
      EXPECT_EQ(Listed(4), planted);
      real.StartFix(planted);
    }
    if (pass == 2 || pass == 3 || pass == 5) real.StartScan();
  }, {}, &real);
  EXPECT_EQ(Listed(6), none) << Narrow(registry.Dump());
  for (const auto& p : kPlanted) EXPECT_NE(registry.GetDword(p.root, p.key, p.name), 1u) << Narrow(p.name);
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, EngineCatalogTest, ::testing::ValuesIn(kSupportedVersions),
                         [](const auto& info) { return Narrow(VersionName(info.param)); });

}  // namespace
}  // namespace corrivo::testing

// The scan items as the worker uses them, derived from the catalogue's records.
#include "engine/scan_items.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalog/catalog.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

// The fix run goes by item, so each item needs a repair of its own. An item checked on a version
// must run its own repair's check: a check ID without a check would answer "no problem"
// silently, and the item could never be listed.
TEST(ScanItems, EachItemHasItsOwnRepairAndChecksOnlyWithIt) {
  std::set<int> ids;
  EXPECT_FALSE(IsScanItemIndex(-1) || IsScanItemIndex(kScanItemCount));
  for (int index = 0; index < kScanItemCount; ++index) {
    SCOPED_TRACE(index);
    EXPECT_TRUE(ids.insert(ScanItemFixId(index)).second && IsCatalogId(ScanItemFixId(index)));
    EXPECT_NE(std::wstring(ScanItemDescription(index)), L"");
    for (WindowsVersion windows : kSupportedVersions) {
      const int id = ScanItemCheckId(index, windows);
      EXPECT_TRUE(id == 0 || (id == ScanItemFixId(index) && HasCheck(id))) << testing::Narrow(VersionName(windows));
    }
  }
}

}  // namespace
}  // namespace corrivo

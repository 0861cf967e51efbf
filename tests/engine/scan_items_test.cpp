#include "engine/scan_items.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using corrivo::testing::Narrow;

constexpr std::int32_t kVersions[] = {0, 1, 3, 6};

TEST(ScanItems, IndexStandsForFixIdOfGroupsOneToFive) {
  EXPECT_EQ(ScanItemFixId(0), 101);
  EXPECT_EQ(ScanItemFixId(9), 110);
  EXPECT_EQ(ScanItemFixId(10), 201);
  EXPECT_EQ(ScanItemFixId(23), 304);
  EXPECT_EQ(ScanItemFixId(39), 410);
  EXPECT_EQ(ScanItemFixId(40), 501);
  EXPECT_EQ(ScanItemFixId(49), 510);
  EXPECT_EQ(ScanItemFixId(-1), 0);
  EXPECT_EQ(ScanItemFixId(50), 0);
  EXPECT_EQ(FindScanItem(50), nullptr);
  EXPECT_EQ(std::wstring(ScanItemDescription(50)), L"");
  EXPECT_FALSE(ScanItemOffered(-1, 0));
  EXPECT_EQ(ScanItemCheckId(50, 3), 0);
}

TEST(ScanItems, DescriptionsAreTheFixedEnglishTexts) {
  struct Case {
    int index;
    const wchar_t* text;
  };
  const Case cases[] = {
      {0, L"The Recycle Bin icon is missing from your desktop."},
      {6, L"Fixes Recycle Bin icon, when it doesn't refresh automatcally."},
      {8, L"CD drive or DVD drive is missing or is not recongnized by Windows or other programs."},
      {12, L"Internet options are missing under Settings on the Advanced tab of the \"Internet "
           L"Options\" dialog box."},
      {23, L"Media files associated with Windows Media Player are missing right cilck Context menu."},
      {24, L"Windows Median Player Compositing Mixer is not working properly."},
      {30, L"Enable Task Manager. When you try to open or run Task Manager (Taskmgr.exe), the "
           L"following error may occur:\"Task Manager has been disabled by your administrator\"."},
      {32, L"Enable Registry Editer. An error message is displayed when you start the Registry "
           L"Editer (regedit.exe) \"Registry Editing has been disabled by your administrtor\"."},
      {38, L"Action Center and Windows Secuity Center no longer recognizes AntiVirus and Firewall "
           L"or still identifies old securety software as installed."},
      {39, L"Fix \"Turn Windows Features On or Off\" dialog box is blank or empty."},
      {40, L"Enable Hibernate and Hybrid Sleep feature. Fixes Hiberante is missing from Shutdown "
           L"button."},
      {44, L"Unable to open Help files that requier the Windows Help (WinHlp32.exe) program on "
           L"Windows Vista and Windows 7."},
      {45, L"Fix Corrupted Desktop Icons. Clear and rebuild corrupted icon cache and increase "
           L"maximum icon cache limit upto 5000."},
      {48, L"Aero Shake is not working."},
      {49, L"Aero Peek is not working. "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(Narrow(ScanItemDescription(c.index)), Narrow(c.text));
  }
}

TEST(ScanItems, EveryItemHasItsOwnNonEmptyDescription) {
  std::set<std::wstring> seen;
  for (int index = 0; index < kScanItemCount; ++index) {
    SCOPED_TRACE(index);
    std::wstring text = ScanItemDescription(index);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.front(), L' ');
    // Only the last one ends with a blank.
    EXPECT_EQ(text.back() == L' ', index == 49);
    EXPECT_TRUE(seen.insert(text).second);
  }
}

// The items a scan may list on each version: the same eighteen everywhere, plus 10 where the
// version is not Windows 7, 39 from Vista on, 42 from Windows 7 on.
TEST(ScanItems, OfferedByVersion) {
  const std::set<int> always = {0, 1, 3, 4, 6, 7, 8, 11, 14, 15, 19, 27, 30, 31, 32, 33, 34, 36};
  for (std::int32_t os : kVersions) {
    std::set<int> expected = always;
    if (os != 3) expected.insert(10);
    if (os != 0) expected.insert(39);
    if (os >= 3) expected.insert(42);
    for (int index = 0; index < kScanItemCount; ++index) {
      SCOPED_TRACE(::testing::Message() << "os " << os << " index " << index);
      EXPECT_EQ(ScanItemOffered(index, os), expected.count(index) != 0);
    }
  }
}

TEST(ScanItems, CheckThatAnswersByVersion) {
  const std::set<int> noCheck = {11, 13, 14, 16, 17, 18, 25, 28, 29, 34, 37, 38, 40, 43, 44, 45, 46};
  const std::set<int> notOnXP = {2, 5, 39, 41};
  const std::set<int> fromWindows7 = {42, 47, 48, 49};
  for (std::int32_t os : kVersions) {
    for (int index = 0; index < kScanItemCount; ++index) {
      SCOPED_TRACE(::testing::Message() << "os " << os << " index " << index);
      const int id = (index / 10 + 1) * 100 + index % 10 + 1;
      bool runs = noCheck.count(index) == 0;
      if (notOnXP.count(index)) runs = os != 0;
      if (fromWindows7.count(index)) runs = os >= 3;
      if (index == 10) runs = os == 0 || os == 1;
      EXPECT_EQ(ScanItemCheckId(index, os), runs ? id : 0);
    }
  }
}

TEST(ScanItems, EdgeItemsOnXPAndWindows7) {
  // XP: 201's icon check runs and is offered; 410 and 503 are neither checked nor offered.
  EXPECT_EQ(ScanItemCheckId(10, 0), 201);
  EXPECT_TRUE(ScanItemOffered(10, 0));
  EXPECT_EQ(ScanItemCheckId(39, 0), 0);
  EXPECT_FALSE(ScanItemOffered(39, 0));
  EXPECT_EQ(ScanItemCheckId(42, 0), 0);
  EXPECT_FALSE(ScanItemOffered(42, 0));
  // Windows 7: the other way round.
  EXPECT_EQ(ScanItemCheckId(10, 3), 0);
  EXPECT_FALSE(ScanItemOffered(10, 3));
  EXPECT_EQ(ScanItemCheckId(39, 3), 410);
  EXPECT_TRUE(ScanItemOffered(39, 3));
  EXPECT_EQ(ScanItemCheckId(42, 3), 503);
  EXPECT_TRUE(ScanItemOffered(42, 3));
  // Windows 8 offers 201's item, but its check never runs there.
  EXPECT_TRUE(ScanItemOffered(10, 6));
  EXPECT_EQ(ScanItemCheckId(10, 6), 0);
}

}  // namespace
}  // namespace corrivo

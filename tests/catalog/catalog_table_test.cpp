// The catalogue as a table: the 68 IDs, their rows and captions, their arguments and checks,
// and the listing built from it.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "catalog/catalog.h"
#include "catalog/groups.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

std::vector<int> ExpectedIds() {
  std::vector<int> ids;
  for (int group = 1; group <= 5; ++group)
    for (int m = 1; m <= 10; ++m) ids.push_back(group * 100 + m);
  for (int m = 1; m <= 16; ++m) ids.push_back(600 + m);
  ids.push_back(701);
  ids.push_back(702);
  return ids;
}

TEST(CatalogTable, HoldsExactlyTheSixtyEightIdsInOrder) {
  std::vector<int> ids;
  for (const auto& e : Catalog()) ids.push_back(e.id);
  EXPECT_EQ(ids, ExpectedIds());
  for (int id : ExpectedIds()) {
    EXPECT_TRUE(IsCatalogId(id)) << id;
    ASSERT_NE(FindCatalogEntry(id), nullptr);
    EXPECT_EQ(FindCatalogEntry(id)->id, id);
  }
  for (int id : {0, -101, 100, 111, 200, 211, 311, 411, 511, 600, 617, 700, 703, 800, 1101}) {
    EXPECT_FALSE(IsCatalogId(id)) << id;
    EXPECT_EQ(FindCatalogEntry(id), nullptr) << id;
  }
}

TEST(CatalogTable, TabsHaveTheirSizesAndContiguousRows) {
  const std::map<FixTab, std::size_t> sizes = {{FixTab::Desktop, 13}, {FixTab::System, 10},   {FixTab::IE, 9},
                                               {FixTab::MediaPlayer, 10}, {FixTab::Security, 12}, {FixTab::Additional, 10}};
  std::size_t rows = 0;
  for (const auto& [tab, size] : sizes) {
    SCOPED_TRACE(Narrow(TabCaption(tab)));
    std::vector<CatalogEntry> entries = TabRows(tab);
    ASSERT_EQ(entries.size(), size);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].row, static_cast<int>(i + 1));
      ASSERT_NE(entries[i].caption, nullptr);
      EXPECT_GT(std::wstring(entries[i].caption).size(), 10u);
    }
    rows += entries.size();
  }
  EXPECT_EQ(rows, 64u);
  EXPECT_TRUE(TabRows(FixTab::None).empty());
}

TEST(CatalogTable, FourIdsHaveNoRow) {
  std::set<int> rowless;
  for (const auto& e : Catalog())
    if (e.tab == FixTab::None) {
      rowless.insert(e.id);
      EXPECT_EQ(e.row, 0);
      EXPECT_EQ(e.caption, nullptr);
    }
  EXPECT_EQ(rowless, (std::set<int>{601, 604, 610, 615}));
}

TEST(CatalogTable, PlacesOfSomeRows) {
  struct Place {
    int id;
    FixTab tab;
    int row;
  };
  for (const Place& p : {Place{101, FixTab::Desktop, 3}, Place{606, FixTab::Desktop, 1}, Place{613, FixTab::Desktop, 13},
                         Place{102, FixTab::System, 1}, Place{616, FixTab::System, 7}, Place{110, FixTab::System, 10},
                         Place{202, FixTab::IE, 1}, Place{210, FixTab::IE, 9}, Place{301, FixTab::MediaPlayer, 1},
                         Place{701, FixTab::Security, 11}, Place{702, FixTab::Security, 12}, Place{510, FixTab::Additional, 10}}) {
    SCOPED_TRACE(p.id);
    EXPECT_EQ(FindCatalogEntry(p.id)->tab, p.tab);
    EXPECT_EQ(FindCatalogEntry(p.id)->row, p.row);
  }
}

TEST(CatalogTable, CaptionsAreExact) {
  const std::map<int, std::wstring> captions = {
      {101, L"\"Recycle Bin\" icon is no longer displayed."},
      {105, L"Fix \"Show Hidden Files, Folders and Drives\". Some malware modifies the Windows settings to disable or "
            L"prevent users from changing Show Hidden Files and Folders under Folder Options."},
      {201, L"\"Internet Explorer\" icon is missing from your desktop."},
      {203, L"Internet options are missing under Settings on the Advanced tab of the \"Internet Options\" dialog box."},
      {205, L"Unable to change homepage, Internet Explorer launches everytime MSN default homepage."},
      {301, L"Windows Media Player does not start and an error message appears \"An internal application error has "
            L"occurred\"."},
      {304, L"Media files associated with Windows Media Player are missing right cilck Context menu."},
      {403, L"Enable Registry Editor. An error message is displayed when you start the Registry Editer (regedit.exe) "
            L"\"Registry Editing has been disabled by your administrator\"."},
      {405, L"Reset Windows Search to Defaults. When searching in Windows you may get a message: \"Search Failed to "
            L"Initialize.\""},
      {410, L"Fix 'Turn Windows Features On or Off ' dialog box is blank or empty."},
      {605, L"The \"Display Desktop\" function is not displayed in the Quick Launch."},
      {607, L"\"My Files\" icon is no longer displayed."},
      {614, L"Programs (.exe files) cannot be started directly."},
      {702, L"Restore the system file association to its default status."},
  };
  for (const auto& [id, caption] : captions) EXPECT_EQ(Narrow(FindCatalogEntry(id)->caption), Narrow(caption)) << id;
}

TEST(CatalogTable, TabCaptions) {
  EXPECT_STREQ(TabCaption(FixTab::Desktop), L"Desktop");
  EXPECT_STREQ(TabCaption(FixTab::System), L"System");
  EXPECT_STREQ(TabCaption(FixTab::IE), L"IE");
  EXPECT_STREQ(TabCaption(FixTab::MediaPlayer), L"Media Player");
  EXPECT_STREQ(TabCaption(FixTab::Security), L"Security");
  EXPECT_STREQ(TabCaption(FixTab::Additional), L"Additional");
  EXPECT_STREQ(TabCaption(FixTab::None), L"");
}

TEST(CatalogTable, ArgumentsOfEachRepair) {
  const std::set<int> os = {107, 201, 302, 407, 408, 607, 608, 701, 702};
  const std::set<int> ie = {202, 205};
  const std::set<int> flag = {304, 505};
  for (int id : ExpectedIds()) {
    FixArgument expected = os.count(id) ? FixArgument::OsVersionCode
                           : ie.count(id) ? FixArgument::IEVersionName
                           : flag.count(id) ? FixArgument::FalseFlag
                                            : FixArgument::None;
    EXPECT_EQ(FixArgumentOf(id), expected) << id;
    EXPECT_EQ(CheckArgumentOf(id), id == 107 || id == 302 || id == 407 ? FixArgument::OsVersionCode : FixArgument::None)
        << id;
  }
}

TEST(CatalogTable, ChecksExistForTheDescribedItemsOnly) {
  const std::set<int> withCheck = {101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 201, 203, 206, 210, 301, 302, 303,
                                   304, 305, 307, 308, 401, 402, 403, 404, 406, 407, 410, 502, 503, 508, 509, 510};
  for (int id : ExpectedIds()) EXPECT_EQ(HasCheck(id), withCheck.count(id) > 0) << id;
  EXPECT_FALSE(HasCheck(111));
  EXPECT_FALSE(HasCheck(0));
  // Every scan item index stands for a catalogue ID of groups 1 to 5.
  for (int i = 0; i < 50; ++i) EXPECT_TRUE(IsCatalogId((i / 10 + 1) * 100 + i % 10 + 1)) << i;
}

// The table and the groups agree: a group answers for exactly the IDs the table says it has.
TEST(CatalogTable, GroupsAnswerForTheirIds) {
  MemoryRegistry registry;
  ScopedRegistryBackend scoped(registry);
  for (int id : ExpectedIds()) {
    for (std::int32_t os : {0, 1, 3, 6}) {
      SCOPED_TRACE(std::to_string(id) + " os " + std::to_string(os));
      EXPECT_FALSE(PlanFor(id, FixArgs{os, L"IE8"}).empty());
      if (id < 600) {
        bool problem = false;
        bool has = false;
        switch (id / 100) {
          case 1: has = groups::Check1(id, FixArgs{os, L"IE8"}, &problem); break;
          case 2: has = groups::Check2(id, FixArgs{os, L"IE8"}, &problem); break;
          case 3: has = groups::Check3(id, FixArgs{os, L"IE8"}, &problem); break;
          case 4: has = groups::Check4(id, FixArgs{os, L"IE8"}, &problem); break;
          case 5: has = groups::Check5(id, FixArgs{os, L"IE8"}, &problem); break;
        }
        EXPECT_EQ(has, HasCheck(id));
      }
    }
  }
}

class CatalogDispatchTest : public MemorySystemTest {};

TEST_F(CatalogDispatchTest, UnknownIdsHaveNoPlanAndDoNothing) {
  for (int id : {111, 617, 703, 800, 0, -1}) {
    SCOPED_TRACE(id);
    EXPECT_TRUE(PlanFor(id, FixArgs{}).empty());
    EXPECT_FALSE(RunFix(id, FixArgs{}));
    EXPECT_FALSE(RunCheck(id, FixArgs{}));
  }
  EXPECT_TRUE(runner.Commands().empty());
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(CatalogDispatchTest, IdsWithoutChecksAnswerNoProblem) {
  for (int id : {202, 204, 205, 207, 208, 209, 306, 309, 310, 405, 601, 701}) EXPECT_FALSE(RunCheck(id, FixArgs{})) << id;
}

TEST(CatalogListing, ListsEveryIdWithPlaceArgumentAndCheck) {
  std::wstring listing = ListCatalog();
  std::vector<std::wstring> lines = Split(listing, L'\n');
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], L"Fix catalogue: 68 repairs");
  std::size_t rows = 0;
  for (const auto& line : lines)
    if (!line.empty() && line[0] >= L'1' && line[0] <= L'7') ++rows;
  EXPECT_EQ(rows, 68u);
  EXPECT_NE(listing.find(L"107  Desktop row 10        OsVersionCode  yes    Fixes Recycle Bin icon"), std::wstring::npos)
      << Narrow(listing);
  EXPECT_NE(listing.find(L"604  no row                -              -      \n"), std::wstring::npos);
  EXPECT_NE(listing.find(L"205  IE row 4              IEVersionName  -      "), std::wstring::npos);
  EXPECT_NE(listing.find(L"304  Media Player row 4    false          yes    "), std::wstring::npos);
}

TEST(CatalogListing, DescribesOneRepairForAWindowsVersion) {
  EXPECT_EQ(Narrow(DescribeFix(107, FixArgs{3, L"IE8"})),
            Narrow(L"Fix107 (OsVersionCode 3, Windows 7), Desktop row 10\n"
                   L"  \"Fixes Recycle Bin icon, if it doesn't refresh automatically.\"\n"
                   L"  1. write expand string HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\"
                   L"{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon [(default)] = \"%SystemRoot%\\system32\\imageres.dll,-55\"\n"
                   L"  2. write expand string HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\"
                   L"{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon [empty] = \"%SystemRoot%\\system32\\imageres.dll,-55\"\n"
                   L"  3. write expand string HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\"
                   L"{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon [full] = \"%SystemRoot%\\system32\\imageres.dll,-54\"\n"
                   L"  Check107 (OsVersionCode): reads only; true when the problem is present\n"));
  EXPECT_EQ(DescribeFix(205, FixArgs{0, L"IE9"}).rfind(L"Fix205 (IEVersionName \"IE9\"), IE row 4\n  \"Unable to change ", 0), 0u);
  std::wstring d205 = DescribeFix(205, FixArgs{0, L"IE9"});
  EXPECT_NE(d205.find(L"  1. special RequestHomePageProtection \"ie\"\n"), std::wstring::npos) << Narrow(d205);
  EXPECT_NE(d205.find(L"[Start Page] = \"about:blank\"  (only if the previous step failed)\n"), std::wstring::npos);
  EXPECT_NE(d205.find(L"  no check\n"), std::wstring::npos);
  EXPECT_EQ(DescribeFix(604, FixArgs{}), L"Fix604 (no argument), no row\n  1. succeed\n  no check\n");
  EXPECT_EQ(DescribeFix(800, FixArgs{}), L"Fix800: not in the catalogue\n");
}

}  // namespace
}  // namespace corrivo::testing

// The scanned catalogue through hive files planted and read back by hivexregedit, held to the
// memory registry with the same plants, on each supported Windows version.
#include <filesystem>
#include <set>

#include "catalog/catalog.h"
#include "catalog/journal.h"
#include "console/commands.h"
#include "console/offline/offline_command.h"
#include "sysaccess/offline/offline_system.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"
#include "tests/offline/hive_tools.h"

namespace corrivo::testing {
namespace {

std::set<int> Ids(const std::vector<console::Finding>& findings) {
  std::set<int> ids;
  for (const auto& f : findings) ids.insert(f.id);
  return ids;
}

// The "result" of the JSON result line of repair `id`.
std::wstring ResultOf(const std::wstring& jsonLines, int id) {
  for (const std::wstring& line : Split(jsonLines, L'\n')) {
    if (line.find(L"\"type\":\"result\",\"id\":" + std::to_wstring(id) + L",") == std::wstring::npos) continue;
    const std::size_t at = line.find(L"\"result\":\"") + 10;
    return line.substr(at, line.find(L'"', at) - at);
  }
  return L"(no result)";
}

std::unique_ptr<OfflineWindows> OpenTree(const OfflineTree& tree, bool writable) {
  std::unique_ptr<OfflineWindows> windows;
  std::wstring error;
  EXPECT_EQ(OfflineWindows::Open({tree.windows, L"", writable}, &windows, &error), OfflineOpenResult::Opened)
      << Narrow(error);
  return windows;
}

// The copy Save kept beside `hive`.
std::string Backup(const std::string& hive) {
  const std::filesystem::path path(hive);
  for (const auto& e : std::filesystem::directory_iterator(path.parent_path()))
    if (e.path().filename().string().rfind(path.filename().string() + ".corrivo-", 0) == 0) return e.path().string();
  return "";
}

TEST(OfflineCatalogTest, ScanRepairAndHivesAgreeWithTheMemoryRegistryOnEveryVersion) {
  for (WindowsVersion v : kSupportedVersions) {
    SCOPED_TRACE(Narrow(VersionName(v)));
    TempDir dir;
    const OfflineTree tree(WideToUtf8(dir.path()), v);
    TestSystem memory;
    const RepairArgs args{v};

    std::vector<PlantedValue> planted;
    std::set<int> plantedIds;
    for (const Repair* r : ScannedRepairs()) {
      if (!r->scanCheckedOn.Contains(v) || r->check == AlwaysAProblem || r->check == NeverAProblem) continue;
      const auto problems = Problems(r->plan(args));
      if (problems.empty()) continue;
      plantedIds.insert(r->id);
      planted.insert(planted.end(), problems.begin(), problems.end());
    }
    for (const PlantedValue& p : planted) memory.registry.Put(p.root, p.key, p.name, p.value.type, p.value.data);
    ASSERT_TRUE(MergeIntoTree(tree, "alice", planted));

    const std::set<int> found = Ids(console::ScanSystem(OpenTree(tree, false)->system(), args));
    EXPECT_EQ(found, Ids(console::ScanSystem(memory.system, args)));
    // Plants of different repairs may touch the same value (one's problem is another's cure),
    // so the memory registry's scan of the same plants is the measure; most are seen.
    std::size_t seen = 0;
    for (int id : plantedIds) seen += found.count(id);
    EXPECT_GT(seen, 10u);

    std::map<std::string, std::string> before;
    std::map<std::string, HiveExport> beforeFix;
    for (const std::string& hive : tree.Hives()) {
      before[hive] = ReadFile(hive);
      ASSERT_TRUE(ExportHive(hive, &beforeFix[hive])) << hive;
    }
    const std::wstring journal = Utf8ToWide(tree.root) + L"/journal";
    std::vector<std::wstring> line{L"--journal", journal, L"fix", L"--json"};
    for (int id : found) line.push_back(std::to_wstring(id));
    const OfflineRun fix = RunOffline(tree, line);
    EXPECT_NE(fix.code, 3) << Narrow(fix.err);
    for (int id : found) {
      const std::wstring result = ResultOf(fix.out, id);
      const bool inMemory = RunRepair(memory.system, id, args);
      if (result != L"needs the running system") {
        EXPECT_EQ(result == L"Fixed!", inMemory) << id << " " << Narrow(result);
      }
    }

    std::map<std::string, HiveExport> exports;
    for (const std::string& hive : tree.Hives()) ASSERT_TRUE(ExportHive(hive, &exports[hive])) << hive;
    int compared = 0;
    for (int id : found) {
      for (const Step& s : PlanFor(id, args)) {
        if (!ChangesRegistry(s) && s.special != SpecialStep::PatchStickyNotesFlags) continue;
        const HivePlace place = PlaceInTree(tree, "alice", s.root, s.key);
        const HiveExport& hive = exports[place.hive];
        const auto key = hive.find(ToLower(place.path));
        const std::string label = std::to_string(id) + " " + Narrow(DescribeStep(s));
        if (s.kind == StepKind::DeleteKey || s.kind == StepKind::CreateKey) {
          EXPECT_EQ(key != hive.end(), memory.registry.HasKey(s.root, PlainKeyPath(s.key))) << label;
          continue;
        }
        std::optional<RegistryValue> offline;
        if (key != hive.end() && key->second.count(ToLower(s.name))) offline = key->second.at(ToLower(s.name));
        std::optional<RegistryValue> inMemory;
        if (auto m = memory.registry.Get(s.root, PlainKeyPath(s.key), s.name)) inMemory = RegistryValue{m->type, m->data};
        EXPECT_EQ(offline, inMemory) << label;
        ++compared;
      }
    }
    EXPECT_GT(compared, 20);
    EXPECT_NE(exports, beforeFix) << "the repairs changed the hives";

    for (const auto& [hive, bytes] : before) {
      if (ReadFile(hive) == bytes) continue;  // not written
      EXPECT_EQ(ReadFile(Backup(hive)), bytes) << "the copy of " << hive;
    }
    EXPECT_EQ(Ids(console::ScanSystem(OpenTree(tree, false)->system(), args)), Ids(console::ScanSystem(memory.system, args)))
        << "after the repairs";

    std::vector<JournalEntryInfo> entries;
    std::wstring error;
    ASSERT_TRUE(ListJournal(PlatformSystem(), PlatformJournalPlace(journal), &entries, &error)) << Narrow(error);
    EXPECT_EQ(entries.size(), found.size());
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
      const OfflineRun undo = RunOffline(tree, {L"--journal", journal, L"undo", entry->name});
      EXPECT_EQ(undo.code, 0) << Narrow(entry->name + L": " + undo.err);
    }
    for (const std::string& hive : tree.Hives()) {
      HiveExport undone;
      ASSERT_TRUE(ExportHive(hive, &undone)) << hive;
      EXPECT_EQ(undone, beforeFix[hive]) << "after undo: " << hive;
    }
  }
}

}  // namespace
}  // namespace corrivo::testing

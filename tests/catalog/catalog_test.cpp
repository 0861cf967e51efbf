// The whole catalogue at once, on every supported Windows version, on the memory system.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "catalog/catalog.h"
#include "catalog/hosts_file.h"
#include "sysaccess/text.h"
#include "tests/fakes/problems.h"

namespace corrivo::testing {
namespace {

RepairArgs ArgsFor(WindowsVersion v, const wchar_t* ie = L"IE9") { return RepairArgs{v, ie}; }

TEST(CatalogTest, RecordsAddUpToTheWindowTheyDescribe) {
  std::set<int> ids;
  std::map<Category, std::vector<int>> rows;
  for (const Repair& r : Repairs()) {
    EXPECT_TRUE(ids.insert(r.id).second) << r.id;
    EXPECT_EQ(r.caption != nullptr, r.category != Category::None) << r.id;
    if (r.category != Category::None) rows[r.category].push_back(r.row);
    // A check that never runs on any version is dead; a scan item that runs no check is fine.
    if (r.check) EXPECT_FALSE(r.scanCheckedOn.Empty()) << r.id;
    if (!r.scanCheckedOn.Empty()) EXPECT_TRUE(r.check) << r.id;
    if (!r.scanText) EXPECT_TRUE(r.scanOfferedOn.Empty() && r.scanCheckedOn.Empty()) << r.id;
    // Only the first five groups are scanned: the desktop icons, the hosts file and the file
    // associations are repaired from their buttons alone.
    EXPECT_EQ(r.scanText != nullptr, r.id < 600) << r.id;
    for (WindowsVersion v : {WindowsVersion::Server2003, WindowsVersion::Server2008, WindowsVersion::Unknown})
      EXPECT_FALSE(r.disabledOn.Contains(v)) << r.id;
    EXPECT_EQ(FindRepair(r.id), &r);
  }
  EXPECT_TRUE(std::is_sorted(Repairs().begin(), Repairs().end(),
                             [](const Repair& a, const Repair& b) { return a.id < b.id; }));
  EXPECT_EQ(rows.size(), 6u);
  for (auto& [category, numbers] : rows) {
    std::sort(numbers.begin(), numbers.end());
    for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], static_cast<int>(i) + 1);
    const auto listed = CategoryRows(category);
    ASSERT_EQ(listed.size(), numbers.size());
    for (std::size_t i = 0; i < listed.size(); ++i) EXPECT_EQ(listed[i]->row, static_cast<int>(i) + 1);
  }
  // The General Fix list has fifty lines, in ID order.
  ASSERT_EQ(ScannedRepairs().size(), 50u);
  for (std::size_t i = 0; i < ScannedRepairs().size(); ++i) {
    EXPECT_NE(std::wstring(ScannedRepairs()[i]->scanText), L"");
    EXPECT_TRUE(i == 0 || ScannedRepairs()[i - 1]->id < ScannedRepairs()[i]->id) << i;
  }
  EXPECT_EQ(FindRepair(100), nullptr);
  EXPECT_FALSE(HasCheck(100));
  TestSystem machine;
  EXPECT_FALSE(RunCheck(machine.system, 100, ArgsFor(WindowsVersion::XP)));
  EXPECT_FALSE(RunRepair(machine.system, 100, ArgsFor(WindowsVersion::XP)));
  EXPECT_TRUE(PlanFor(617, ArgsFor(WindowsVersion::XP)).empty());
}

TEST(CatalogTest, ChecksAndRepairsAgree) {
  int compared = 0;
  for (const Repair& r : Repairs()) {
    if (!r.check) continue;
    for (WindowsVersion v : kSupportedVersions) {
      if (!r.scanCheckedOn.Contains(v)) continue;
      SCOPED_TRACE(Label(r.id, v));
      TestSystem machine;
      const RepairArgs args = ArgsFor(v);
      PlantProblems(machine.registry, r.plan(args));
      const bool before = RunCheck(machine.system, r.id, args);
      EXPECT_TRUE(RunRepair(machine.system, r.id, args));
      const bool after = RunCheck(machine.system, r.id, args);
      if (r.check == AlwaysAProblem) {
        EXPECT_TRUE(before && after);
      } else if (r.check == NeverAProblem) {
        EXPECT_FALSE(before || after);
      } else {
        EXPECT_TRUE(before) << "the planted problem is not seen";
        EXPECT_FALSE(after) << "the repair leaves the problem";
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 40);
}

// A line of the memory registry's dump ("HKEY_X\key [name] = ..." or "HKEY_X\key") that a
// registry step of the plan names.
bool NamedByPlan(const std::wstring& line, const Plan& plan) {
  for (const Step& s : plan) {
    if (!ChangesRegistry(s) && s.special != SpecialStep::PatchStickyNotesFlags) continue;
    const std::wstring key = FullKeyName(s.root, s.key), value = key + L" [" + s.name + L"] = ";
    if (EqualsNoCase(line, key) || EqualsNoCase(line.substr(0, value.size()), value)) return true;
  }
  return false;
}

TEST(CatalogTest, RepairsAreIdempotentAndStayWithinTheirKeys) {
  for (const Repair& r : Repairs()) {
    for (WindowsVersion v : kSupportedVersions) {
      for (bool planted : {false, true}) {
        SCOPED_TRACE(Label(r.id, v) + (planted ? ", problem planted" : ", empty registry"));
        TestSystem machine;
        const RepairArgs args = ArgsFor(v);
        const Plan plan = r.plan(args);
        if (planted) PlantProblems(machine.registry, plan);
        const bool first = RunRepair(machine.system, r.id, args);
        const std::wstring once = machine.registry.Dump();
        EXPECT_EQ(RunRepair(machine.system, r.id, args), first);
        EXPECT_EQ(Narrow(machine.registry.Dump()), Narrow(once));
        EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
        if (planted) continue;
        for (const std::wstring& line : Split(once, L'\n'))
          EXPECT_TRUE(line.empty() || NamedByPlan(line, plan)) << Narrow(line);
      }
    }
  }
}

// The services a failure can be injected into, one at a time or all together.
enum Service : unsigned { kRegistry = 1, kCommands = 2, kShell = 4, kFiles = 8, kEverything = 15 };

// Which services a step's result depends on.
unsigned ServicesOf(const Step& s) {
  if (s.alwaysSucceeds) return 0;
  switch (s.kind) {
    case StepKind::Run: return kCommands;
    case StepKind::Wait:
    case StepKind::Succeed: return 0;
    case StepKind::Special:
      switch (s.special) {
        case SpecialStep::PatchStickyNotesFlags: return kRegistry;
        case SpecialStep::KillExplorer: return kShell;
        case SpecialStep::RequestHomePageProtection: return kShell | kFiles;
        case SpecialStep::RewriteHostsFile: return kFiles;
        default: return 0;
      }
    default: return kRegistry;
  }
}

// The documented result when the `failing` services fail every call: the deciding steps, or
// else the last step, decide; a step fails when it depends on a failing service. (205's home
// page step also fails on a healthy test system, which has no library beside the program.)
bool DocumentedResult(const Plan& plan, unsigned failing) {
  auto ok = [&](const Step& s) { return (ServicesOf(s) & failing) == 0; };
  bool anyDeciding = false, decidingOk = true;
  for (const Step& s : plan) {
    if (!s.decides) continue;
    anyDeciding = true;
    decidingOk = decidingOk && ok(s);
  }
  return anyDeciding ? decidingOk : ok(plan.back());
}

TEST(CatalogTest, WhenCallsFailEveryRepairGivesItsDocumentedResultAndChangesNothingElse) {
  const char* names[] = {"registry", "commands", "shell", "files", "everything"};
  const unsigned modes[] = {kRegistry, kCommands, kShell, kFiles, kEverything};
  for (const Repair& r : Repairs()) {
    for (WindowsVersion v : kSupportedVersions) {
      for (std::size_t m = 0; m < std::size(modes); ++m) {
        SCOPED_TRACE(Label(r.id, v) + ", failing " + names[m]);
        TestSystem machine;
        const RepairArgs args = ArgsFor(v);
        const Plan plan = r.plan(args);
        PlantProblems(machine.registry, plan);
        const std::wstring hosts = HostsFilePath(machine.system);
        const std::string hostsText = "# kept\r\n10.0.0.1 bank.example\r\n";
        machine.files.Put(hosts, hostsText);
        const std::wstring before = machine.registry.Dump();
        if (modes[m] & kRegistry)
          for (RegRoot root : {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine})
            machine.registry.DenyFullAccess(root, L"");
        if (modes[m] & kCommands) machine.runner.SetResult(false);
        if (modes[m] & kShell) machine.shell.SetResult(false);
        if (modes[m] & kFiles) machine.files.FailWrites(hosts);

        bool result = false;
        EXPECT_NO_THROW(result = RunRepair(machine.system, r.id, args));
        EXPECT_EQ(result, DocumentedResult(plan, modes[m] | (r.id == 205 ? kShell : 0u)));
        if (modes[m] & kRegistry) EXPECT_EQ(Narrow(machine.registry.Dump()), Narrow(before));
        if (modes[m] & kFiles) EXPECT_EQ(machine.files.Get(hosts), hostsText);
        EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
      }
    }
  }
}

}  // namespace
}  // namespace corrivo::testing

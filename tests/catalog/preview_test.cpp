// Previews against the memory system, held to what the repair itself then does.
#include <gtest/gtest.h>

#include <algorithm>

#include "catalog/catalog.h"
#include "catalog/executor.h"
#include "catalog/hosts_file.h"
#include "catalog/preview.h"
#include "catalog/reg_file.h"
#include "sysaccess/text.h"
#include "tests/fakes/problems.h"

namespace corrivo::testing {
namespace {

constexpr const wchar_t* kHosts = L"C:\\Windows\\system32\\drivers\\etc\\hosts";

enum class Planted { Nothing, Problem, OtherTypes };
const char* const kPlantedNames[] = {"nothing planted", "the problem planted", "values of other types"};

// The problems of the shared planting, and a readable hosts file with mappings; with other
// types, one that cannot be read.
void Plant(TestSystem& m, const Plan& plan, Planted how) {
  if (how == Planted::Nothing) return;
  PlantProblems(m.registry, plan, how == Planted::OtherTypes);
  for (const Step& s : plan)
    if (s.special == SpecialStep::RewriteHostsFile) {
      m.files.Put(kHosts, "# kept\r\n10.0.0.1 ads.example\r\n\r\n127.0.0.1 localhost\r\n#end\r\n");
      if (how == Planted::OtherTypes) m.files.FailReads(kHosts);
    }
}

bool IsValueStep(const Step& s) {
  return s.kind == StepKind::WriteDword || s.kind == StepKind::WriteString || s.kind == StepKind::WriteExpandString ||
         s.kind == StepKind::DeleteValue || (s.kind == StepKind::Special && s.special == SpecialStep::PatchStickyNotesFlags);
}

bool HasNote(const Step& s) {
  return s.kind == StepKind::Wait ||
         (s.kind == StepKind::Special && s.special != SpecialStep::PatchStickyNotesFlags &&
          s.special != SpecialStep::RewriteHostsFile);
}

std::vector<std::wstring> HostsLines(TestSystem& m) {
  return SplitHostsLines(DecodeHostsBytes(m.files, m.files.Get(kHosts)));
}

// Previews the plan, checks that nothing was written, then runs it step by step as the
// executor does and holds each step to what the preview said.
void ExpectPreviewPredictsEachStep(TestSystem& m, const Plan& plan, const RepairPreview& preview,
                                   const std::wstring& dumpBefore, const std::string& hostsBefore) {
  EXPECT_EQ(m.registry.Dump(), dumpBefore) << "the preview wrote to the registry";
  EXPECT_EQ(m.files.WriteCount(), 0);
  EXPECT_TRUE(m.runner.Commands().empty());
  EXPECT_TRUE(m.shell.Requests().empty());
  EXPECT_EQ(m.registry.OpenHandleCount(), 0u);

  const Registry registry = m.system.registry();
  const std::vector<std::wstring> hostsLinesBefore = HostsLines(m);
  std::size_t values = 0, keys = 0, commands = 0, notes = 0;
  bool anyRan = false, last = false;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const Step& s = plan[i];
    SCOPED_TRACE("step " + std::to_string(i + 1) + ": " + Narrow(DescribeStep(s)));
    const bool conditional = s.condition == StepCondition::IfPreviousFailed;
    notes += HasNote(s) ? 1 : 0;
    const ValuePreview* value = nullptr;
    if (IsValueStep(s)) {
      if (s.kind == StepKind::Special && !registry.KeyExists(s.root, s.key)) {
        ASSERT_LT(keys, preview.keys.size());
        EXPECT_FALSE(preview.keys[keys].deletes || preview.keys[keys].existsNow);
        ++keys;
      }
      ASSERT_LT(values, preview.values.size());
      value = &preview.values[values++];
      EXPECT_EQ(value->conditional, conditional);
      EXPECT_TRUE(value->root == s.root && value->key == s.key && value->name == s.name);
    }
    if (conditional && (!anyRan || last)) continue;  // skipped, as the executor skips it
    if (value) {
      EXPECT_EQ(value->now, registry.ReadValue(s.root, s.key, s.name)) << "value before the step";
    }
    const KeyPreview* key = nullptr;
    if (s.kind == StepKind::DeleteKey || s.kind == StepKind::CreateKey) {
      ASSERT_LT(keys, preview.keys.size());
      key = &preview.keys[keys++];
      EXPECT_EQ(key->deletes, s.kind == StepKind::DeleteKey);
      EXPECT_EQ(key->existsNow, registry.KeyExists(s.root, s.key));
    }

    last = ExecuteStep(m.system, s);
    anyRan = true;

    if (value) {
      EXPECT_EQ(value->after, registry.ReadValue(s.root, s.key, s.name)) << "value after the step";
    }
    if (key) {
      EXPECT_EQ(registry.KeyExists(s.root, s.key), !key->deletes);
    }
    if (s.kind == StepKind::Run) {
      ASSERT_LT(commands, preview.commands.size());
      EXPECT_EQ(preview.commands[commands].parameters, s.text);
      EXPECT_EQ(preview.commands[commands].folder, L"C:\\Windows\\system32");
      EXPECT_EQ(m.runner.Commands().back(), s.text);
      ++commands;
    }
    if (s.kind == StepKind::Special && s.special == SpecialStep::RewriteHostsFile) {
      ASSERT_TRUE(preview.hosts.has_value());
      if (!preview.hosts->readable) {
        EXPECT_EQ(m.files.Get(kHosts), hostsBefore) << "an unreadable file is left alone";
        EXPECT_TRUE(preview.hosts->removed.empty() && preview.hosts->added.empty());
        continue;
      }
      // The file's lines, less the removed ones, then the added ones.
      std::vector<std::wstring> expected;
      for (const std::wstring& line : hostsLinesBefore)
        if (std::find(preview.hosts->removed.begin(), preview.hosts->removed.end(), line) == preview.hosts->removed.end())
          expected.push_back(line);
      expected.insert(expected.end(), preview.hosts->added.begin(), preview.hosts->added.end());
      EXPECT_EQ(HostsLines(m), expected);
    }
  }
  EXPECT_EQ(values, preview.values.size());
  EXPECT_EQ(keys, preview.keys.size());
  EXPECT_EQ(commands, preview.commands.size());
  EXPECT_GE(preview.notes.size(), notes) << "a note for each step that cannot be previewed";
}

TEST(PreviewTest, PredictsEveryRepairStepByStepAndWritesNothing) {
  for (const Repair& r : Repairs()) {
    for (WindowsVersion v : kSupportedVersions) {
      for (Planted how : {Planted::Nothing, Planted::Problem, Planted::OtherTypes}) {
        SCOPED_TRACE(Label(r.id, v) + ", " + kPlantedNames[static_cast<int>(how)]);
        TestSystem m;
        const RepairArgs args{v, L"IE9"};
        const Plan plan = PlanFor(r.id, args);
        Plant(m, plan, how);
        const std::wstring dump = m.registry.Dump();
        const std::string hosts = m.files.Get(kHosts);
        const RepairPreview preview = PreviewRepair(m.system, r.id, args);
        EXPECT_EQ(preview.id, r.id);
        ExpectPreviewPredictsEachStep(m, plan, preview, dump, hosts);
      }
    }
  }
}

// Catalogue plans seldom come back to a value or key; these steps do, so that each must see
// what the ones before it would have left.
TEST(PreviewTest, LaterStepsSeeWhatEarlierStepsWouldLeave) {
  const RegRoot cu = RegRoot::CurrentUser;
  const RegRoot lm = RegRoot::LocalMachine;
  const Plan plans[] = {
      {WriteDword(cu, L"\\Software\\A", L"v", 1), WriteDword(cu, L"Software\\a\\", L"V", 2),
       DeleteValue(cu, L"\\Software\\A", L"v"), WriteString(cu, L"\\Software\\A", L"v", L"back")},
      {DeleteKey(lm, L"\\Software\\Top"), WriteString(lm, L"\\Software\\Top\\Sub", L"", L"x"),
       CreateKey(lm, L"\\Software\\Top\\Other"), DeleteKey(lm, L"\\Software\\Top\\Sub"), CreateKey(lm, L"\\Software\\Top"),
       DeleteValue(lm, L"\\Software\\Top\\Sub", L"")},
      {Special(SpecialStep::PatchStickyNotesFlags, cu, L"\\Software\\Shell", L"State"),
       Special(SpecialStep::PatchStickyNotesFlags, cu, L"\\Software\\Shell", L"State"), DeleteKey(cu, L"\\Software\\Shell"),
       Special(SpecialStep::PatchStickyNotesFlags, cu, L"\\Software\\Shell", L"State")},
      {WriteDword(cu, L"\\Software\\B", L"x", 1), IfPreviousFailed(WriteDword(cu, L"\\Software\\B", L"y", 2)),
       DeleteValue(cu, L"\\Software\\B", L"y")},
  };
  for (const Plan& plan : plans) {
    SCOPED_TRACE(Narrow(DescribePlan(plan)));
    TestSystem m;
    m.registry.PutString(RegRoot::LocalMachine, L"Software\\Top\\Sub", L"", L"old");
    m.registry.PutDword(RegRoot::LocalMachine, L"Software\\Top\\Sub\\Deep", L"d", 4);
    m.registry.PutDword(RegRoot::CurrentUser, L"Software\\B", L"y", 9);
    m.registry.Put(RegRoot::CurrentUser, L"Software\\Shell", L"State", RegType::Binary, std::vector<std::uint8_t>(8, 0xFF));
    const std::wstring dump = m.registry.Dump();
    ExpectPreviewPredictsEachStep(m, plan, PreviewPlan(m.system, plan), dump, "");
  }
}

// A fallback with no value of its own to show is noted as one; a value shows its condition itself.
TEST(PreviewTest, AFallbackWithoutAValueIsNoted) {
  TestSystem m;
  const RegRoot cu = RegRoot::CurrentUser;
  const RepairPreview preview = PreviewPlan(m.system, {corrivo::Run(L"/c x"), IfPreviousFailed(CreateKey(cu, L"\\K")),
                                                       IfPreviousFailed(WriteExpandString(cu, L"\\K", L"v", L"%x%"))});
  EXPECT_EQ(preview.notes, std::vector<std::wstring>{L"step 2 runs only if the step before it fails"});
}

TEST(PreviewTest, DescribesValuesByTypeAndBytes) {
  const struct {
    std::optional<RegistryValue> value;
    bool deleted;
    const wchar_t* text;
  } rows[] = {
      {RegistryValue{RegType::Dword, {0xFF, 0xFF, 0xFF, 0xFF}}, false, L"REG_DWORD 4294967295"},
      {RegistryValue{RegType::Dword, {1, 2}}, false, L"REG_DWORD 01 02"},
      {RegistryValue{RegType::Sz, {}}, false, L"REG_SZ \"\""},
      {TextValue(RegType::ExpandSz, L"%SystemRoot%\\x"), false, L"REG_EXPAND_SZ \"%SystemRoot%\\x\""},
      {RegistryValue{RegType::MultiSz, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}}, false, L"REG_MULTI_SZ \"a\" \"b\""},
      {RegistryValue{RegType::Binary, {1, 2, 0xAB}}, false, L"REG_BINARY 01 02 AB"},
      {RegistryValue{RegType::Qword, {1, 0, 0, 0, 0, 0, 0, 1}}, false, L"REG_QWORD 72057594037927937"},
  };
  for (const auto& row : rows) EXPECT_EQ(DescribeValue(row.value, row.deleted), row.text);
}

TEST(PreviewTest, TextShowsEachChangeCommandHostsLineAndNote) {
  const struct {
    int id;
    WindowsVersion windows;
    void (*plant)(TestSystem&);
    std::vector<std::wstring> lines;
  } rows[] = {
      {401, WindowsVersion::Seven,
       [](TestSystem& m) { m.registry.PutDword(RegRoot::CurrentUser, L"Software\\Policies\\Microsoft\\Windows\\System", L"DisableTaskMgr", 1); },
       {L"HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Windows\\System [DisableTaskMgr]: REG_DWORD 1 \u2192 deleted",
        L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System [DisableTaskMgr]: absent \u2192 absent (unchanged)"}},
      {508, WindowsVersion::Seven,
       [](TestSystem& m) { m.registry.PutDword(RegRoot::CurrentUser, L"Control Panel\\Desktop", L"DockMoving", 0); },
       {L"HKEY_CURRENT_USER\\Control Panel\\Desktop [DockMoving]: REG_DWORD 0 \u2192 REG_SZ \"1\"",
        L"runs cmd.exe /c rundll32.exe Dwmapi.dll,DwmEnableComposition  in C:\\Windows\\system32"}},
      {603, WindowsVersion::XP,
       [](TestSystem& m) { m.registry.PutKey(RegRoot::CurrentUser, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects2"); },
       {L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects: absent, nothing to delete",
        L"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects2: key deleted with everything in it"}},
      {701, WindowsVersion::XP, [](TestSystem& m) { m.files.Put(kHosts, "# mine\r\n10.0.0.1 ads\r\n"); },
       {L"hosts file:", L"- 10.0.0.1 ads", L"+ 127.0.0.1       localhost", L"note: waits 500 ms"}},
      {701, WindowsVersion::Seven, [](TestSystem& m) { m.files.FailReads(kHosts); },
       {L"hosts file: cannot be read, so the repair leaves it alone"}},
      {209, WindowsVersion::Seven, [](TestSystem&) {}, {L"note: starts the Internet Options reset; cannot be previewed"}},
      {205, WindowsVersion::Seven, [](TestSystem&) {},
       {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main [Start Page]: absent \u2192 REG_SZ \"about:blank\" "
        L"(only if the step before it fails)"}},
      {505, WindowsVersion::Seven, [](TestSystem&) {}, {L"nothing to change"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("repair " + std::to_string(row.id));
    TestSystem m;
    row.plant(m);
    const std::wstring text = FormatPreview(PreviewRepair(m.system, row.id, RepairArgs{row.windows, L"IE8"}));
    const std::vector<std::wstring> lines = Split(text, L'\n');
    for (const std::wstring& line : row.lines)
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << Narrow(line) << "\nin\n" << Narrow(text);
  }
}

}  // namespace
}  // namespace corrivo::testing

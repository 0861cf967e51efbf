// `corrivo --offline` end to end over a folder tree.
#include <sys/stat.h>
#include <sys/time.h>

#include <filesystem>
#include <functional>

#include "catalog/catalog.h"
#include "catalog/journal.h"
#include "console/commands.h"
#include "console/offline/offline_command.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"
#include "tests/offline/hive_tools.h"

namespace corrivo::testing {
namespace {

namespace fs = std::filesystem;

// Every file below the root with its bytes.
std::map<std::string, std::string> Files(const std::string& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (entry.is_regular_file()) files[entry.path().string()] = ReadFile(entry.path().string());
  return files;
}

void Age(const std::string& path) {
  const timeval old[2] = {{1000000000, 0}, {1000000000, 0}};
  ::utimes(path.c_str(), old);
}

// The first repair offered on `v` with a step that `fits`, or with a plan that does.
int FirstRepair(WindowsVersion v, const std::function<bool(const Step&)>& fits,
                const std::function<bool(const Plan&)>& planFits = [](const Plan&) { return true; }) {
  for (const Repair& r : Repairs()) {
    const Plan plan = r.plan(RepairArgs{v});
    if (!r.disabledOn.Contains(v) && std::any_of(plan.begin(), plan.end(), fits) && planFits(plan)) return r.id;
  }
  return 0;
}

// One that writes a value of HKEY_CURRENT_USER.
int RepairWritingTheUser(WindowsVersion v) {
  return FirstRepair(v, [](const Step& s) { return s.kind == StepKind::WriteDword && s.root == RegRoot::CurrentUser; });
}

TEST(OfflineCommandTest, BadInputIsRefusedClearlyAndChangesNoFile) {
  struct Case {
    const char* what;
    WindowsVersion version;
    std::function<void(const OfflineTree&)> spoil;
    std::vector<std::wstring> args;
    int code;
    const wchar_t* message;
  };
  const std::wstring fix = std::to_wstring(RepairWritingTheUser(WindowsVersion::Seven));
  auto cut = [](const std::string& path) { fs::resize_file(path, fs::file_size(path) / 2); };
  const Case cases[] = {
      {"a truncated hive", WindowsVersion::Seven, [&](const OfflineTree& t) { cut(t.Hive("SOFTWARE")); }, {L"fix", fix}, 3, L"cut short"},
      {"a file that is not a hive", WindowsVersion::Seven, [](const OfflineTree& t) { WriteFile(t.Hive("SYSTEM"), "not a hive\r\n"); },
       {L"scan"}, 3, L"is not a registry hive"},
      {"a damaged hive", WindowsVersion::Seven,
       [](const OfflineTree& t) {
         const std::string b = ReadFile(t.UserHive("alice"));
         WriteFile(t.UserHive("alice"), b.substr(0, 0x1000) + std::string(b.size() - 0x1000, 'x'));
       },
       {L"scan"}, 3, L"not a registry hive, or damaged"},
      {"a hive Windows was writing", WindowsVersion::Seven,
       [](const OfflineTree& t) { std::string b = ReadFile(t.Hive("SOFTWARE")); b[4] = 9; WriteFile(t.Hive("SOFTWARE"), b); },
       {L"scan"}, 3, L"sequence numbers differ"},
      {"no config folder", WindowsVersion::Seven, [](const OfflineTree& t) { fs::rename(t.config, t.config + ".old"); },
       {L"scan"}, 3, L"holds no System32/config folder"},
      {"pending logs", WindowsVersion::Seven,
       [](const OfflineTree& t) { Age(t.Hive("SOFTWARE")); WriteFile(t.Hive("SOFTWARE") + ".LOG1", std::string(512, 'L')); },
       {L"fix", fix}, 3, L"has changes still in its transaction log"},
      {"a read-only hive", WindowsVersion::Seven, [](const OfflineTree& t) { ::chmod(t.UserHive("alice").c_str(), 0444); },
       {L"fix", fix}, 3, L"read-only"},
      {"several profiles, none chosen", WindowsVersion::Seven, nullptr, {L"scan"}, 3, L"--user NAME (alice, bob)"},
      {"an unknown profile", WindowsVersion::Seven, nullptr, {L"--user", L"carol", L"scan"}, 3, L"no user profile is named 'carol'"},
      {"an unsupported Windows", WindowsVersion::Server2003, nullptr, {L"--user", L"bob", L"fix", fix}, 3, L"is not supported"},
      {"a journal for a scan", WindowsVersion::Seven, nullptr, {L"--user", L"bob", L"--journal", L"/tmp", L"scan"}, 2,
       L"'--journal' does not apply"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const OfflineTree tree(WideToUtf8(dir.path()), c.version, {"alice", "bob"});
    if (c.spoil) c.spoil(tree);
    // The one-profile refusals need --user; the others name bob, so alice's hives stay spoilt.
    std::vector<std::wstring> args = c.args;
    if (c.spoil) args.insert(args.begin(), {L"--user", L"alice"});
    const auto before = Files(tree.root);
    const OfflineRun run = RunOffline(tree, args);
    EXPECT_EQ(run.code, c.code) << Narrow(run.err);
    EXPECT_NE(run.err.find(c.message), std::wstring::npos) << Narrow(run.err);
    EXPECT_EQ(Files(tree.root), before);
  }
}

TEST(OfflineCommandTest, UserNamesTheProfileWhoseHivesChange) {
  TempDir dir;
  const OfflineTree tree(WideToUtf8(dir.path()), WindowsVersion::Vista, {"alice", "bob"});
  const std::string alice = ReadFile(tree.UserHive("alice")), bob = ReadFile(tree.UserHive("bob"));
  const OfflineRun run = RunOffline(tree, {L"--user", L"BOB", L"fix", std::to_wstring(RepairWritingTheUser(WindowsVersion::Vista))});
  EXPECT_EQ(run.code, 0) << Narrow(run.err);
  EXPECT_NE(run.out.find(L"user bob"), std::wstring::npos) << Narrow(run.out);
  EXPECT_EQ(ReadFile(tree.UserHive("alice")), alice);
  EXPECT_NE(ReadFile(tree.UserHive("bob")), bob);
}

TEST(OfflineCommandTest, StepsThatNeedTheRunningSystemAreSaidSkippedAndHaveTheirOwnExitCode) {
  for (WindowsVersion v : kSupportedVersions) {
    SCOPED_TRACE(Narrow(VersionName(v)));
    TempDir dir;
    const OfflineTree tree(WideToUtf8(dir.path()), v);
    // Its plan ends with a command and no step decides: offline its result is the command's.
    const int id = FirstRepair(v, [](const Step& s) { return s.kind == StepKind::Run; }, [](const Plan& p) {
      return p.back().kind == StepKind::Run && std::none_of(p.begin(), p.end(), [](const Step& s) { return s.decides; });
    });
    ASSERT_NE(id, 0);
    const OfflineRun preview = RunOffline(tree, {L"preview", std::to_wstring(id)});
    EXPECT_EQ(preview.code, 0);
    EXPECT_NE(preview.out.find(L"needs the running system, skipped: run cmd.exe"), std::wstring::npos) << Narrow(preview.out);
    EXPECT_EQ(preview.out.find(L"runs cmd.exe"), std::wstring::npos) << "not announced as if it would run";
    const OfflineRun fix = RunOffline(tree, {L"fix", std::to_wstring(id), L"--json"});
    EXPECT_EQ(fix.code, console::kExitNeedsRunningSystem) << Narrow(fix.out + fix.err);
    EXPECT_NE(fix.out.find(L"\"result\":\"needs the running system\""), std::wstring::npos) << Narrow(fix.out);
  }
}

// Every repair fixed through the hive files, then undone from its journal entry, last first: the
// hives, read by hivexregedit, hold again what they held.
TEST(OfflineCommandTest, UndoingEveryFixGivesTheHivesBackTheirContent) {
  TempDir dir;
  const OfflineTree tree(WideToUtf8(dir.path()), WindowsVersion::Seven);
  std::map<std::string, HiveExport> before, fixed, undone;
  for (const std::string& hive : tree.Hives()) ASSERT_TRUE(ExportHive(hive, &before[hive])) << hive;
  const std::wstring journal = Utf8ToWide(tree.root) + L"/journal";
  std::vector<std::wstring> fix{L"--journal", journal, L"fix"};
  for (const Repair& r : Repairs())
    if (!r.disabledOn.Contains(WindowsVersion::Seven)) fix.push_back(std::to_wstring(r.id));
  const OfflineRun run = RunOffline(tree, fix);
  EXPECT_NE(run.code, 3) << Narrow(run.err);
  for (const std::string& hive : tree.Hives()) ASSERT_TRUE(ExportHive(hive, &fixed[hive])) << hive;
  EXPECT_NE(fixed, before);
  std::vector<JournalEntryInfo> entries;
  std::wstring error;
  ASSERT_TRUE(ListJournal(PlatformSystem(), PlatformJournalPlace(journal), &entries, &error)) << Narrow(error);
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    const OfflineRun undo = RunOffline(tree, {L"--journal", journal, L"undo", entry->name});
    EXPECT_EQ(undo.code, 0) << Narrow(entry->name + L": " + undo.err);
  }
  for (const std::string& hive : tree.Hives()) ASSERT_TRUE(ExportHive(hive, &undone[hive])) << hive;
  EXPECT_EQ(undone, before);
}

}  // namespace
}  // namespace corrivo::testing

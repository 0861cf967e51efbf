// The undo journal on the memory system.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/hosts_file.h"
#include "catalog/journal.h"
#include "catalog/preview.h"
#include "catalog/reg_file.h"
#include "sysaccess/desktop_user.h"
#include "sysaccess/text.h"
#include "tests/fakes/problems.h"

namespace corrivo::testing {
namespace {

std::int64_t g_now = 0;
std::int64_t FakeNow() { return g_now; }

constexpr const wchar_t* kJournal = L"C:\\Users\\u\\AppData\\Local\\Corrivo\\Journal";

// With `mapped`, HKEY_CURRENT_USER is acted on as HKEY_USERS\<SID>, as for the desktop user of
// an elevated run.
struct Machine {
  static constexpr const wchar_t* kSid = L"S-1-5-21-7";
  explicit Machine(bool mapped = false) {
    if (mapped) hive.SendCurrentUserTo(kSid), registry.PutKey(RegRoot::Users, kSid);
    system.journal = &place;
  }
  void DisableTaskManager() {
    registry.PutDword(RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                      L"DisableTaskMgr", 1);
  }
  std::vector<JournalEntryInfo> Entries() {
    std::vector<JournalEntryInfo> entries;
    std::wstring error;
    EXPECT_TRUE(ListJournal(system, place, &entries, &error)) << Narrow(error);
    return entries;
  }
  static std::wstring PathOf(const std::wstring& entry) { return std::wstring(kJournal) + L"\\" + entry; }
  TestSystem base;
  MemoryRegistry& registry = base.registry;
  UserHiveRegistry hive{base.registry};
  JournalPlace place{kJournal, L"u", FakeNow};
  System system{hive, base.runner, base.files, base.os, base.shell, base.clock};
};

enum class Start { Empty, OtherTypes, WithSubkeys, MappedUser };
const char* const kStartNames[] = {"empty registry, no hosts file", "values of other types",
                                   "keys with subkeys and neighbours", "current user mapped to HKEY_USERS"};

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// The shared problems with values of other types than the steps write, a hosts file with
// bytes beyond text; with subkeys, content below and beside each key a step names.
void Plant(Machine& m, const Plan& plan, Start start) {
  if (start == Start::Empty) return;
  m.base.files.Put(HostsFilePath(m.system), std::string("# mine\r\n10.1.2.3  bank.example\r\n\x00\xff", 34));
  const Registry r = m.system.registry();
  for (const PlantedValue& p : Problems(plan, true)) {
    const RegistryLocation at = r.Locate(p.root, p.key);
    m.registry.Put(at.root, at.subkey, p.name, p.value.type, p.value.data);
  }
  for (const Step& s : plan) {
    const std::wstring key = PlainKeyPath(s.key);
    if (key.empty() || start != Start::WithSubkeys) continue;
    const RegistryLocation at = r.Locate(s.root, key);
    m.registry.PutDword(at.root, at.subkey + L"\\Sub\\Deeper", L"", 3);
    m.registry.Put(at.root, at.subkey, L"neighbour", RegType::Qword, {1, 2, 3, 4, 5, 6, 7, 8});
  }
}

TEST(JournalTest, EveryRepairUndoneGivesBackTheRegistryAndHostsFileExactly) {
  for (const Repair& r : Repairs()) {
    for (WindowsVersion v : kSupportedVersions) {
      for (Start start : {Start::Empty, Start::OtherTypes, Start::WithSubkeys, Start::MappedUser}) {
        SCOPED_TRACE("repair " + std::to_string(r.id) + " on " + Narrow(VersionName(v)) + ", " +
                     kStartNames[static_cast<int>(start)]);
        Machine m(start == Start::MappedUser);
        const RepairArgs args{v, L"IE9"};
        Plant(m, r.plan(args), start);
        const std::wstring hosts = HostsFilePath(m.system), before = m.registry.Dump();
        const bool hadHosts = m.base.files.Has(hosts);
        const std::string hostsBefore = m.base.files.Get(hosts);
        g_now = 1700000000;
        if (start == Start::MappedUser) {  // the preview and the repair act on that user's hive only
          const std::wstring preview = FormatPreview(PreviewRepair(m.system, r.id, args));
          EXPECT_EQ(preview.find(L"HKEY_CURRENT_USER"), std::wstring::npos) << Narrow(preview);
        }
        RunRepair(m.system, r.id, args);
        const std::wstring repaired = m.registry.Dump();
        const std::string hostsRepaired = m.base.files.Get(hosts);
        EXPECT_TRUE(start != Start::MappedUser || repaired.find(L"HKEY_CURRENT_USER") == std::wstring::npos)
            << Narrow(repaired);

        const auto entries = m.Entries();
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_TRUE(entries[0].repair == std::to_wstring(r.id) && entries[0].windows == VersionName(v) &&
                    entries[0].user == L"u");
        // A Registry Editor file (UTF-16 with its mark) that the undo below imports as regedit would.
        const std::string entry = m.base.files.Get(Machine::PathOf(entries[0].name));
        EXPECT_TRUE(entry.size() < 64u * 1024u && entry.rfind("\xFF\xFE", 0) == 0);

        g_now += 60;
        const UndoOutcome undo = UndoJournalEntry(m.system, m.place, L"last", v);
        EXPECT_TRUE(undo.ok) << Narrow(undo.error);
        EXPECT_EQ(Narrow(m.registry.Dump()), Narrow(before));
        EXPECT_EQ(m.base.files.Has(hosts), hadHosts);
        EXPECT_EQ(m.base.files.Get(hosts), hostsBefore);

        // The undo has its own entry, and undoing it gives the repaired state back.
        g_now += 60;
        EXPECT_TRUE(UndoJournalEntry(m.system, m.place, undo.undoEntry, v).ok);
        EXPECT_EQ(Narrow(m.registry.Dump()), Narrow(repaired));
        EXPECT_EQ(m.base.files.Get(hosts), hostsRepaired);
        EXPECT_EQ(m.registry.OpenHandleCount(), 0u);
      }
    }
  }
}

// What cannot be read cannot be put back: a repair that would delete a key holding a part no
// one may read does not run, rather than leave an entry that restores the key half.
TEST(JournalTest, AKeyThatCannotBeReadWholeStopsTheRepair) {
  int tried = 0;
  for (const Repair& r : Repairs()) {
    const Plan plan = r.plan(RepairArgs{WindowsVersion::Seven});
    const auto deletion = std::find_if(plan.begin(), plan.end(), [](const Step& s) { return s.kind == StepKind::DeleteKey; });
    if (deletion == plan.end() || r.disabledOn.Contains(WindowsVersion::Seven)) continue;
    SCOPED_TRACE(r.id);
    Machine m;
    const std::wstring locked = PlainKeyPath(deletion->key) + L"\\Locked";
    m.registry.PutDword(deletion->root, locked, L"v", 1);
    m.registry.DenyAllAccess(deletion->root, locked);
    const std::wstring before = m.registry.Dump();
    std::wstring why;
    EXPECT_FALSE(RunRepair(m.system, r.id, RepairArgs{WindowsVersion::Seven}, &why));
    EXPECT_NE(why.find(L"cannot be read whole"), std::wstring::npos) << Narrow(why);
    EXPECT_EQ(Narrow(m.registry.Dump()), Narrow(before));
    EXPECT_TRUE(m.base.runner.Commands().empty());
    ++tried;
  }
  EXPECT_GT(tried, 0);
}

// A damaged entry, or a hosts copy that changed since, is refused and changes nothing; so is a
// sound one that a program without Corrivo's rights could have put there.
TEST(JournalTest, ADamagedEntryIsRefusedAndChangesNothing) {
  const struct {
    const char* what;
    const wchar_t* says;
    std::wstring (*spoil)(const std::wstring& text);  // none: the hosts copy is the damage
    bool planted = false;  // the file belongs to someone without the program's rights
  } damages[] = {
      {"cut short", L"cut short", [](const std::wstring& t) { return t.substr(0, t.rfind(L"[")); }},
      {"cut inside a line", L"damaged", [](const std::wstring& t) { return t.substr(0, t.rfind(L"=") + 4); }},
      {"wrong header", L"Registry Editor", [](const std::wstring& t) { return L"REGEDIT4" + t.substr(t.find(L'\r')); }},
      {"not ours", L"header", [](const std::wstring& t) { return ReplaceAll(t, L"Corrivo undo journal", L"Other"); }},
      {"unknown type", L"unknown type", [](const std::wstring& t) { return ReplaceAll(t, L"dword:00000001", L"hex(2a):01,00,00,00"); }},
      {"sound, but planted", L"rights", [](const std::wstring& t) { return t; }, true},
      {"hosts copy changed", L"hosts", nullptr},
      {"hosts copy as it was, but planted", L"hosts", nullptr, true},
  };
  for (const auto& d : damages) {
    SCOPED_TRACE(d.what);
    Machine m;
    m.DisableTaskManager();
    const std::wstring hosts = HostsFilePath(m.system);
    m.base.files.Put(hosts, "# old\r\n");
    ASSERT_TRUE(RunRepair(m.system, d.spoil ? 401 : 701, RepairArgs{WindowsVersion::Seven}));
    const std::wstring entry = m.Entries().at(0).name, path = Machine::PathOf(entry);
    const std::wstring spoilt = d.spoil ? path : path.substr(0, path.size() - 4) + L".hosts";
    if (d.spoil) {
      m.base.files.Put(spoilt, EncodeUtf16LeWithBom(d.spoil(DecodeRegFileBytes(m.base.files.Get(path)))));
    } else {
      m.base.files.Put(spoilt, d.planted ? "# old\r\n" : "# 0ld\r\n");
    }
    if (d.planted) m.base.files.GiveOtherOwner(spoilt);
    const std::wstring before = m.registry.Dump();
    const std::string hostsBefore = m.base.files.Get(hosts);
    const UndoOutcome undo = UndoJournalEntry(m.system, m.place, entry, WindowsVersion::Seven);
    EXPECT_FALSE(undo.ok || undo.changed);
    EXPECT_NE(undo.error.find(d.says), std::wstring::npos) << Narrow(undo.error);
    EXPECT_EQ(Narrow(m.registry.Dump()), Narrow(before));
    EXPECT_EQ(m.base.files.Get(hosts), hostsBefore);
    EXPECT_EQ(m.Entries().size(), 1u) << "a refused undo writes no entry";
  }
}

TEST(JournalTest, EntriesAreKeptUntilPrunedAndNamesOutsideTheJournalAreRefused) {
  Machine m;
  const std::int64_t day = 86400;
  for (std::int64_t age : {40, 31, 2, 0}) {
    g_now = 1700000000 - age * day;
    ASSERT_TRUE(RunRepair(m.system, 401, RepairArgs{WindowsVersion::XP}));
  }
  g_now = 1700000000;
  ASSERT_EQ(m.Entries().size(), 4u);
  EXPECT_EQ(m.Entries()[0].time, L"2023-10-05 22:13:20 UTC");  // 40 days before the clock
  std::wstring error;
  EXPECT_EQ(PruneJournal(m.system, m.place, 30, &error), 2);
  EXPECT_EQ(m.Entries().size(), 2u);
  for (const wchar_t* bad : {L"..\\..\\x.reg", L"20231114-221320-01-401.reg\\..\\a", L"notes.txt", L""})
    EXPECT_FALSE(UndoJournalEntry(m.system, m.place, bad, WindowsVersion::XP).changed) << Narrow(bad);
}

}  // namespace
}  // namespace corrivo::testing

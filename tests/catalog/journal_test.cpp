// The undo journal on the memory system: every repair of the catalogue, on every version and
// from several starting states, is run and undone, and the registry and hosts file are exactly
// as before; the undo undone gives the repair's state back. A journal that cannot be written
// stops the repair; a damaged entry is refused and changes nothing.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/hosts_file.h"
#include "catalog/journal.h"
#include "catalog/reg_file.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

std::int64_t g_now = 0;
std::int64_t FakeNow() { return g_now; }

constexpr const wchar_t* kJournal = L"C:\\Users\\u\\AppData\\Local\\Corrivo\\Journal";

// HKEY_CURRENT_USER acted on as HKEY_USERS\<SID>, as for the desktop user of an elevated run.
class MappedRegistry : public MemoryRegistry {
 public:
  static constexpr const wchar_t* kSid = L"S-1-5-21-7";
  long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    const RegistryLocation at = Locate(root, subkey);
    return MemoryRegistry::OpenKey(at.root, at.subkey, access, out);
  }
  long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    const RegistryLocation at = Locate(root, subkey);
    return MemoryRegistry::CreateKey(at.root, at.subkey, access, out);
  }
  RegistryLocation Locate(RegRoot root, const std::wstring& subkey) override {
    if (root != RegRoot::CurrentUser) return {root, subkey};
    return {RegRoot::Users, subkey.empty() ? std::wstring(kSid) : std::wstring(kSid) + L"\\" + subkey};
  }
};

struct Machine {
  explicit Machine(bool mapped) : registry(mapped ? static_cast<MemoryRegistry&>(mappedRegistry) : plainRegistry) {
    place.folder = kJournal;
    place.user = L"u";
    place.unixSeconds = FakeNow;
    system.journal = &place;
    if (mapped) mappedRegistry.PutKey(RegRoot::Users, MappedRegistry::kSid);
  }
  TestSystem base;
  MemoryRegistry plainRegistry;
  MappedRegistry mappedRegistry;
  MemoryRegistry& registry;
  JournalPlace place;
  System system{registry, base.runner, base.files, base.os, base.shell, base.clock};
};

enum class Start { Empty, OtherTypes, WithSubkeys, MappedUser };
const char* const kStartNames[] = {"empty registry, no hosts file", "values of other types",
                                   "keys with subkeys and neighbours", "current user mapped to HKEY_USERS"};

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
  for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::vector<std::uint8_t> Bytes(std::initializer_list<std::uint8_t> b) { return b; }

// Something already where each step acts, of another type than it writes.
void Plant(Machine& m, const Plan& plan, Start start) {
  if (start == Start::Empty) return;
  m.base.files.Put(HostsFilePath(m.system), std::string("# mine\r\n10.1.2.3  bank.example\r\n\x00\xff", 34));
  for (const Step& s : plan) {
    const std::wstring key = PlainKeyPath(s.key);
    if (key.empty()) continue;
    const RegistryLocation at = m.system.registry().Locate(s.root, key);
    auto& r = m.registry;
    switch (s.kind) {
      case StepKind::WriteDword: r.PutString(at.root, at.subkey, s.name, L"7", RegType::ExpandSz); break;
      case StepKind::WriteString:
      case StepKind::WriteExpandString: r.Put(at.root, at.subkey, s.name, RegType::Binary, Bytes({0x41, 0, 0x42})); break;
      case StepKind::DeleteValue: r.Put(at.root, at.subkey, s.name, RegType::MultiSz, Bytes({0x61, 0, 0, 0, 0, 0})); break;
      case StepKind::DeleteKey:
      case StepKind::CreateKey:
        r.PutDword(at.root, at.subkey + L"\\Child\\Grandchild", L"", 3);
        r.Put(at.root, at.subkey, L"none", RegType::None, {});
        break;
      case StepKind::Special:
        if (s.special == SpecialStep::PatchStickyNotesFlags)
          r.Put(at.root, at.subkey, s.name, RegType::Binary, std::vector<std::uint8_t>(12, 0x5A));
        break;
      default: break;
    }
    if (start == Start::WithSubkeys) {
      r.PutString(at.root, at.subkey + L"\\Sub", L"kept", L"x");
      r.Put(at.root, at.subkey, L"neighbour", RegType::Qword, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    }
  }
}

TEST(JournalTest, EveryRepairUndoneGivesBackTheRegistryAndHostsFileExactly) {
  int undone = 0;
  for (const Repair& r : Repairs()) {
    for (WindowsVersion v : kSupportedVersions) {
      for (Start start : {Start::Empty, Start::OtherTypes, Start::WithSubkeys, Start::MappedUser}) {
        SCOPED_TRACE("repair " + std::to_string(r.id) + " on " + Narrow(VersionName(v)) + ", " +
                     kStartNames[static_cast<int>(start)]);
        Machine m(start == Start::MappedUser);
        const RepairArgs args{v, L"IE9"};
        Plant(m, r.plan(args), start);
        const std::wstring hosts = HostsFilePath(m.system);
        const std::wstring before = m.registry.Dump();
        const bool hadHosts = m.base.files.Has(hosts);
        const std::string hostsBefore = m.base.files.Get(hosts);
        g_now = 1700000000;
        RunRepair(m.system, r.id, args);
        const std::wstring repaired = m.registry.Dump();
        const std::string hostsRepaired = m.base.files.Get(hosts);

        std::vector<JournalEntryInfo> entries;
        std::wstring error;
        ASSERT_TRUE(ListJournal(m.system, m.place, &entries, &error));
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].repair, std::to_wstring(r.id));
        EXPECT_LT(m.base.files.Get(std::wstring(kJournal) + L"\\" + entries[0].name).size(), 64u * 1024u);

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
        ++undone;
      }
    }
  }
  EXPECT_GT(undone, 1000);
}

TEST(JournalTest, TheEntryIsARegistryEditorFileThatRestoresWhenImported) {
  Machine m(false);
  m.registry.PutDword(RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                      L"DisableTaskMgr", 1);
  const std::wstring before = m.registry.Dump();
  ASSERT_TRUE(RunRepair(m.system, 401, RepairArgs{WindowsVersion::Seven}));
  std::vector<JournalEntryInfo> entries;
  std::wstring error;
  ASSERT_TRUE(ListJournal(m.system, m.place, &entries, &error));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].windows, L"7");
  EXPECT_EQ(entries[0].user, L"u");
  const std::string bytes = m.base.files.Get(std::wstring(kJournal) + L"\\" + entries[0].name);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
  const RegFileParse parsed = ParseRegFile(DecodeRegFileBytes(bytes));
  ASSERT_TRUE(parsed.ok) << Narrow(parsed.error);
  ApplyRegFileChanges(m.system.registry(), parsed.changes);
  EXPECT_EQ(Narrow(m.registry.Dump()), Narrow(before));
}

TEST(JournalTest, WithoutAJournalTheRepairDoesNotRunAndSaysWhy) {
  Machine m(false);
  m.base.files.FailWrites(kJournal);
  m.registry.PutDword(RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                      L"DisableTaskMgr", 1);
  const std::wstring before = m.registry.Dump();
  for (int id : {401, 409, 701}) {
    std::wstring why;
    EXPECT_FALSE(RunRepair(m.system, id, RepairArgs{WindowsVersion::Seven}, &why));
    EXPECT_NE(why.find(L"journal"), std::wstring::npos) << Narrow(why);
    EXPECT_NE(why.find(kJournal), std::wstring::npos) << Narrow(why);
  }
  EXPECT_EQ(Narrow(m.registry.Dump()), Narrow(before));
  EXPECT_TRUE(m.base.runner.Commands().empty());
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
    Machine m(false);
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

TEST(JournalTest, ADamagedEntryIsRefusedAndChangesNothing) {
  struct Damage {
    const char* what;
    const wchar_t* says;
    std::wstring (*spoil)(const std::wstring& text);
    bool planted = false;  // the file belongs to someone without the program's rights
  };
  const Damage damages[] = {
      {"cut short", L"cut short", [](const std::wstring& t) { return t.substr(0, t.rfind(L"[")); }},
      {"cut inside a line", L"damaged", [](const std::wstring& t) { return t.substr(0, t.rfind(L"=") + 4); }},
      {"wrong header", L"Registry Editor", [](const std::wstring& t) { return L"REGEDIT4" + t.substr(t.find(L'\r')); }},
      {"not ours", L"header", [](const std::wstring& t) { return ReplaceAll(t, L"Corrivo undo journal", L"Other"); }},
      {"unknown type", L"unknown type", [](const std::wstring& t) { return ReplaceAll(t, L"dword:00000001", L"hex(2a):01,00,00,00"); }},
      {"sound, but planted", L"rights", [](const std::wstring& t) { return t; }, true},
  };
  for (const Damage& d : damages) {
    SCOPED_TRACE(d.what);
    Machine m(false);
    m.registry.PutDword(RegRoot::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                        L"DisableTaskMgr", 1);
    ASSERT_TRUE(RunRepair(m.system, 401, RepairArgs{WindowsVersion::Seven}));
    std::vector<JournalEntryInfo> entries;
    std::wstring error;
    ListJournal(m.system, m.place, &entries, &error);
    const std::wstring path = std::wstring(kJournal) + L"\\" + entries.at(0).name;
    m.base.files.Put(path, EncodeUtf16LeWithBom(d.spoil(DecodeRegFileBytes(m.base.files.Get(path)))));
    if (d.planted) m.base.files.GiveOtherOwner(path);
    const std::wstring before = m.registry.Dump();
    const UndoOutcome undo = UndoJournalEntry(m.system, m.place, L"last", WindowsVersion::Seven);
    EXPECT_FALSE(undo.ok);
    EXPECT_FALSE(undo.changed);
    EXPECT_NE(undo.error.find(d.says), std::wstring::npos) << Narrow(undo.error);
    EXPECT_EQ(Narrow(m.registry.Dump()), Narrow(before));
    ListJournal(m.system, m.place, &entries, &error);
    EXPECT_EQ(entries.size(), 1u) << "a refused undo writes no entry";
  }
  // A hosts copy that changed since is refused the same way.
  Machine m(false);
  const std::wstring hosts = HostsFilePath(m.system);
  m.base.files.Put(hosts, "# old\r\n");
  ASSERT_TRUE(RunRepair(m.system, 701, RepairArgs{WindowsVersion::Seven}));
  const std::string repaired = m.base.files.Get(hosts);
  std::vector<JournalEntryInfo> entries;
  std::wstring error;
  ListJournal(m.system, m.place, &entries, &error);
  const std::wstring entry = entries.at(0).name;
  const std::wstring copy = std::wstring(kJournal) + L"\\" + entry.substr(0, entry.size() - 4) + L".hosts";
  // Other bytes, then the same bytes in a file someone else put there.
  for (const char* content : {"# 0ld\r\n", "# old\r\n"}) {
    m.base.files.Put(copy, content);
    m.base.files.GiveOtherOwner(copy);
    const UndoOutcome undo = UndoJournalEntry(m.system, m.place, entry, WindowsVersion::Seven);
    EXPECT_FALSE(undo.changed) << content;
    EXPECT_NE(undo.error.find(L"hosts"), std::wstring::npos);
    EXPECT_EQ(m.base.files.Get(hosts), repaired);
  }
}

TEST(JournalTest, EntriesAreKeptUntilPrunedAndNamesOutsideTheJournalAreRefused) {
  Machine m(false);
  const std::int64_t day = 86400;
  for (std::int64_t age : {40, 31, 2, 0}) {
    g_now = 1700000000 - age * day;
    ASSERT_TRUE(RunRepair(m.system, 401, RepairArgs{WindowsVersion::XP}));
  }
  g_now = 1700000000;
  std::vector<JournalEntryInfo> entries;
  std::wstring error;
  ASSERT_TRUE(ListJournal(m.system, m.place, &entries, &error));
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].time, L"2023-10-05 22:13:20 UTC");  // 40 days before the clock
  EXPECT_EQ(PruneJournal(m.system, m.place, 30, &error), 2);
  ASSERT_TRUE(ListJournal(m.system, m.place, &entries, &error));
  EXPECT_EQ(entries.size(), 2u);
  for (const wchar_t* bad : {L"..\\..\\x.reg", L"20231114-221320-01-401.reg\\..\\a", L"notes.txt", L""})
    EXPECT_FALSE(UndoJournalEntry(m.system, m.place, bad, WindowsVersion::XP).changed) << Narrow(bad);
}

}  // namespace
}  // namespace corrivo::testing

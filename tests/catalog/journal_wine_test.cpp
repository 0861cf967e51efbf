// The undo journal on the real registry under Wine, and its entries imported by Wine's own
// regedit (that an undone hosts file comes back byte for byte is JournalTest's business).
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/dispatch.h"
#include "catalog/journal.h"
#include "catalog/reg_file.h"
#include "sysaccess/text.h"
#include "sysaccess/win32/win32_api.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

std::int64_t Now() { return 1700000000; }

class Silent : public RepairFeedback {
 public:
  void ShowResult(const std::wstring& text) override { shown = text; }
  std::wstring shown;
};

// Every key, value type and byte under the parents of the keys a plan names.
std::wstring Snapshot(const Registry& r, const Plan& plan) {
  std::wstring out;
  std::vector<std::pair<RegRoot, std::wstring>> stack;
  for (const Step& s : plan) {
    const std::wstring key = PlainKeyPath(s.key);
    if (!key.empty()) stack.emplace_back(s.root, key.substr(0, key.rfind(L'\\') == std::wstring::npos ? 0 : key.rfind(L'\\')));
  }
  while (!stack.empty()) {
    const auto [root, key] = stack.back();
    stack.pop_back();
    if (!r.KeyExists(root, key)) continue;
    out += FullKeyName(root, key) + L"\n";
    for (const std::wstring& name : r.ValueNames(root, key)) {
      const auto v = r.ReadValue(root, key, name);
      out += L"  " + name + L" " + std::to_wstring(static_cast<int>(v->type)) + L":";
      for (auto b : v->data) out += std::to_wstring(b) + L",";
      out += L"\n";
    }
    for (const std::wstring& sub : r.SubKeyNames(root, key)) stack.emplace_back(root, key + L"\\" + sub);
  }
  return out;
}

DWORD Regedit(const std::wstring& file) {
  return RunAndWait(L"\"" + PlatformSystem().os.WindowsFolder() + L"\\regedit.exe\" /s \"" + file + L"\"");
}

TEST(JournalWineTest, RegeditAndTheProgramsOwnUndoBothRestoreTheStateBeforeARepair) {
  TempDir dir;
  JournalPlace place{dir.path() + L"\\Journal", L"tester", Now};
  System system = PlatformSystem();
  system.journal = &place;
  const Registry r = system.registry();
  const RepairArgs args{WindowsVersion::Seven, L"IE9"};
  const wchar_t* const policy = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
  const wchar_t* const stuck = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StuckRects2";
  for (int id : {401, 702, 603}) {
    SCOPED_TRACE("repair " + std::to_string(id));
    const Plan plan = PlanFor(id, args);
    // Values of other types where the repair deletes or writes, and keys with subkeys.
    r.WriteValue(RegRoot::CurrentUser, policy, L"DisableTaskMgr", {RegType::Sz, {0x31, 0, 0, 0}});
    r.WriteValue(RegRoot::ClassesRoot, L"txtfile\\shell\\open\\command", L"", {RegType::Binary, {1, 2, 3}});
    r.WriteValue(RegRoot::CurrentUser, std::wstring(stuck) + L"\\Deep", L"Settings", {RegType::Binary, {9, 8, 7}});
    r.DeleteKey(RegRoot::ClassesRoot, L"lnkfile\\shellex\\ContextMenuHandlers");
    const std::wstring before = Snapshot(r, plan);

    Silent feedback;
    RunOneClickRepair(system, id, args, RepairResultTexts{}, feedback);  // as the row's button does
    EXPECT_EQ(feedback.shown, L"Fixed!");
    EXPECT_NE(Snapshot(r, plan), before);
    std::vector<JournalEntryInfo> entries;
    std::wstring error;
    ASSERT_TRUE(ListJournal(system, place, &entries, &error)) << Narrow(error);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(Regedit(place.folder + L"\\" + entries.back().name), 0u);
    EXPECT_EQ(Narrow(Snapshot(r, plan)), Narrow(before)) << "imported by regedit";

    RunOneClickRepair(system, id, args, RepairResultTexts{}, feedback);
    const UndoOutcome undo = UndoJournalEntry(system, place, L"last", args.windows);
    EXPECT_TRUE(undo.ok) << Narrow(undo.error);
    EXPECT_EQ(Narrow(Snapshot(r, plan)), Narrow(before)) << "the program's own undo";
  }
}

}  // namespace
}  // namespace corrivo::testing

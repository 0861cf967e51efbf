// The catalogue assembled from the records of every group, and the lists derived from it.
#include "catalog/catalog.h"

#include <algorithm>

#include "catalog/executor.h"
#include "catalog/journal.h"

namespace corrivo {
namespace {

std::vector<Repair> Assemble() {
  std::vector<Repair> all;
  for (auto group : {ExplorerShellRepairs(), InternetExplorerRepairs(), MediaPlayerRepairs(), SecurityRepairs(),
                     AdditionalRepairs(), DesktopAndShellRepairs(), HostsAndAssociationRepairs()})
    all.insert(all.end(), group.begin(), group.end());
  std::sort(all.begin(), all.end(), [](const Repair& a, const Repair& b) { return a.id < b.id; });
  return all;
}

}  // namespace

bool AlwaysAProblem(const CheckContext&) { return true; }
bool NeverAProblem(const CheckContext&) { return false; }

const std::vector<Repair>& Repairs() {
  static const std::vector<Repair> repairs = Assemble();
  return repairs;
}

const Repair* FindRepair(int id) {
  const auto& all = Repairs();
  auto it = std::lower_bound(all.begin(), all.end(), id, [](const Repair& r, int v) { return r.id < v; });
  return it != all.end() && it->id == id ? &*it : nullptr;
}

bool IsCatalogId(int id) { return FindRepair(id) != nullptr; }

std::vector<const Repair*> CategoryRows(Category category) {
  std::vector<const Repair*> rows;
  if (category == Category::None) return rows;
  for (const auto& r : Repairs())
    if (r.category == category) rows.push_back(&r);
  std::sort(rows.begin(), rows.end(), [](const Repair* a, const Repair* b) { return a->row < b->row; });
  return rows;
}

const wchar_t* CategoryCaption(Category category) {
  switch (category) {
    case Category::Desktop: return L"Desktop";
    case Category::System: return L"System";
    case Category::InternetExplorer: return L"IE";
    case Category::MediaPlayer: return L"Media Player";
    case Category::Security: return L"Security";
    case Category::Additional: return L"Additional";
    case Category::None: break;
  }
  return L"";
}

std::vector<int> DisabledFixes(WindowsVersion windows) {
  std::vector<int> ids;
  for (const auto& r : Repairs())
    if (r.disabledOn.Contains(windows)) ids.push_back(r.id);
  return ids;
}

Plan PlanFor(int id, const RepairArgs& args) {
  const Repair* r = FindRepair(id);
  return r ? r->plan(args) : Plan{};
}

bool RunRepair(System& system, int id, const RepairArgs& args, std::wstring* refusal) {
  const Repair* r = FindRepair(id);
  if (!r) return false;
  const Plan plan = r->plan(args);
  if (system.journal) {
    const JournalWrite saved =
        RecordBeforePlan(system, *system.journal, id, r->caption ? r->caption : L"", args.windows, plan);
    if (!saved.ok) {
      if (refusal) *refusal = saved.error + L"; the repair did not run";
      return false;
    }
  }
  return ExecutePlan(system, plan);
}

bool HasCheck(int id) {
  const Repair* r = FindRepair(id);
  return r && r->check;
}

bool RunCheck(System& system, int id, const RepairArgs& args) {
  const Repair* r = FindRepair(id);
  if (!r || !r->check) return false;
  return r->check(CheckContext{system, system.registry(), args.windows});
}

const std::vector<const Repair*>& ScannedRepairs() {
  static const std::vector<const Repair*> scanned = [] {
    std::vector<const Repair*> list;
    for (const auto& r : Repairs())
      if (r.scanText) list.push_back(&r);
    return list;
  }();
  return scanned;
}

}  // namespace corrivo

// The catalogue: the 68 numbered repairs, their plans and checks, and the lists derived from
// them. Each record lives next to its plan and check in the file of its group.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "catalog/repair.h"

namespace corrivo {

// Every repair in ascending ID order.
const std::vector<Repair>& Repairs();
const Repair* FindRepair(int id);
bool IsCatalogId(int id);
// The rows of one category in row order.
std::vector<const Repair*> CategoryRows(Category category);
// "Desktop" ... "Additional", "" for Category::None.
const wchar_t* CategoryCaption(Category category);
// The IDs whose buttons the window disables on this version.
std::vector<int> DisabledFixes(WindowsVersion windows);

// The plan of a repair for these arguments; empty for an unknown ID.
Plan PlanFor(int id, const RepairArgs& args);
// Runs a repair's plan; false for an unknown ID. With a journal place in `system`, what the
// plan will change is saved there first; when that fails nothing runs, the answer is false and
// `refusal` (when given) says why.
bool RunRepair(System& system, int id, const RepairArgs& args, std::wstring* refusal = nullptr);
bool HasCheck(int id);
// Runs a repair's check: true when the problem is present; false without a check.
bool RunCheck(System& system, int id, const RepairArgs& args);

// The repairs the General Fix page scans, in the order of its list (50 of them).
const std::vector<const Repair*>& ScannedRepairs();

// A readable listing of the catalogue, and of one repair's plan for a Windows version.
std::wstring ListCatalog();
std::wstring DescribeRepair(int id, const RepairArgs& args);

// The records of each group, in the files that hold their plans and checks.
std::span<const Repair> ExplorerShellRepairs();        // 101-110
std::span<const Repair> InternetExplorerRepairs();     // 201-210
std::span<const Repair> MediaPlayerRepairs();          // 301-310
std::span<const Repair> SecurityRepairs();             // 401-410
std::span<const Repair> AdditionalRepairs();           // 501-510
std::span<const Repair> DesktopAndShellRepairs();      // 601-616
std::span<const Repair> HostsAndAssociationRepairs();  // 701-702

}  // namespace corrivo

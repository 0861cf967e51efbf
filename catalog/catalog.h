// The fixed catalogue of 68 numbered repairs and the checks of the 50 scan items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/plan.h"

namespace corrivo {

// The arguments the window (or the engine) passes to a repair or a check.
struct FixArgs {
  std::int32_t osVersionCode = 0;      // 0 XP, 1 Vista, 3 Windows 7, 6 Windows 8
  std::wstring ieVersionName = L"IE8";  // "IE8", "IE9" or "IE10"
};

// Place of an ID on the Advanced Fix page; tab 0 means no row.
enum class FixTab { None = 0, Desktop = 1, System = 2, IE = 3, MediaPlayer = 4, Security = 5, Additional = 6 };

struct CatalogEntry {
  int id;
  FixTab tab;
  int row;                 // 1-based position in its tab, 0 without a row
  const wchar_t* caption;  // default English row label, nullptr without a row
};

// The 68 IDs in ascending order.
const std::vector<CatalogEntry>& Catalog();
bool IsCatalogId(int id);
const CatalogEntry* FindCatalogEntry(int id);
// The rows of one tab in row order.
std::vector<CatalogEntry> TabRows(FixTab tab);

// The tab's caption ("Desktop" ... "Additional"), "" for FixTab::None.
const wchar_t* TabCaption(FixTab tab);

// Which of the FixArgs a repair (or a check) takes.
enum class FixArgument { None, OsVersionCode, IEVersionName, FalseFlag };
FixArgument FixArgumentOf(int id);
FixArgument CheckArgumentOf(int id);

// The plan Fix<ID> runs for these arguments (empty for an unknown ID).
Plan PlanFor(int id, const FixArgs& args);
// Runs Fix<ID> (its plan through the executor); false for an unknown ID.
bool RunFix(int id, const FixArgs& args);
// True when Check<ID> exists (IDs 101 to 510 whose group gives one).
bool HasCheck(int id);
// Runs Check<ID>; false when there is no check.
bool RunCheck(int id, const FixArgs& args);

// A readable listing of the catalogue, or of one repair's plan for a Windows version.
std::wstring ListCatalog();
std::wstring DescribeFix(int id, const FixArgs& args);

}  // namespace corrivo

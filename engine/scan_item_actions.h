// What the scan-and-fix thread does for an item once its own rules have picked the fix ID:
// run that ID's check or repair. The product runs the catalogue's; tests put in a double that
// records the calls, so the thread's order, pacing and version rules are seen on their own.
#pragma once

#include <memory>

#include "catalog/catalog.h"

namespace corrivo {

class ScanItemActions {
 public:
  virtual ~ScanItemActions() = default;
  // Check<id>: true when the problem is present.
  virtual bool Check(int id, const RepairArgs& args) = 0;
  // Fix<id>: true when the repair was carried out.
  virtual bool Fix(int id, const RepairArgs& args) = 0;
  // Why the last Fix did not run at all (its undo journal could not be saved); empty otherwise.
  virtual std::wstring LastRefusal() { return {}; }
};

// The catalogue's checks and repairs on `system`.
std::unique_ptr<ScanItemActions> CatalogScanItemActions(System& system);

}  // namespace corrivo

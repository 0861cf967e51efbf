// What the scan-and-fix thread does for an item once its own rules have picked the fix ID:
// run that ID's check or repair. The product runs the catalogue's; tests put in a double that
// records the calls, so the thread's order, pacing and version rules are seen on their own.
#pragma once

#include "catalog/catalog.h"

namespace corrivo {

class ScanItemActions {
 public:
  virtual ~ScanItemActions() = default;
  // Check<id>: true when the problem is present.
  virtual bool Check(int id, const FixArgs& args) = 0;
  // Fix<id>: true when the repair was carried out.
  virtual bool Fix(int id, const FixArgs& args) = 0;
};

// The catalogue's checks and repairs (RunCheck and RunFix). Lives for the whole process.
ScanItemActions& CatalogScanItemActions();

}  // namespace corrivo

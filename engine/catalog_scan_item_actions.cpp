// Kept in a file of its own so that a binary that never asks for the catalogue's actions does
// not link the catalogue.
#include "engine/scan_and_fix_thread.h"
#include "engine/scan_item_actions.h"

namespace corrivo {
namespace {

class CatalogActions : public ScanItemActions {
 public:
  bool Check(int id, const FixArgs& args) override { return RunCheck(id, args); }
  bool Fix(int id, const FixArgs& args) override { return RunFix(id, args); }
};

}  // namespace

ScanItemActions& CatalogScanItemActions() {
  static CatalogActions actions;
  return actions;
}

TScanAndFixThread::TScanAndFixThread() : TScanAndFixThread(CatalogScanItemActions()) {}

}  // namespace corrivo

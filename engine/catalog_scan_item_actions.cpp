// Kept in a file of its own so that a binary that never asks for the catalogue's actions does
// not link the catalogue.
#include "engine/scan_and_fix_thread.h"
#include "engine/scan_item_actions.h"

namespace corrivo {
namespace {

class CatalogActions : public ScanItemActions {
 public:
  explicit CatalogActions(System& system) : system_(system) {}
  bool Check(int id, const RepairArgs& args) override { return RunCheck(system_, id, args); }
  bool Fix(int id, const RepairArgs& args) override {
    refusal_.clear();
    return RunRepair(system_, id, args, &refusal_);
  }
  std::wstring LastRefusal() override { return refusal_; }

 private:
  System& system_;
  std::wstring refusal_;
};

}  // namespace

std::unique_ptr<ScanItemActions> CatalogScanItemActions(System& system) {
  return std::make_unique<CatalogActions>(system);
}

TScanAndFixThread::TScanAndFixThread(System& system)
    : system_(system),
      ownActions_(CatalogScanItemActions(system)),
      actions_(*ownActions_),
      worker_(WorkerThread::CreateSuspended([this] { Execute(); })) {}

}  // namespace corrivo

#include "catalog/dispatch.h"

#include "catalog/catalog.h"

namespace corrivo {

void RunOneClickRepair(System& system, int id, const RepairArgs& args, const RepairResultTexts& texts,
                       RepairFeedback& feedback) {
  if (!IsCatalogId(id)) return;
  if (!RunRepair(system, id, args)) {
    feedback.ShowResult(texts.fixFailed);
    return;
  }
  system.shell.NotifyAssociationsChanged();
  feedback.ShowResult(texts.fixed);
}

}  // namespace corrivo

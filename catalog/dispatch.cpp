#include "catalog/dispatch.h"

#include "catalog/catalog.h"

namespace corrivo {

void RunOneClickRepair(System& system, int id, const RepairArgs& args, const RepairResultTexts& texts,
                       RepairFeedback& feedback) {
  if (!IsCatalogId(id)) return;
  std::wstring refusal;
  if (!RunRepair(system, id, args, &refusal)) {
    feedback.ShowResult(refusal.empty() ? texts.fixFailed : texts.journalFailed + L"\n\n" + refusal);
    return;
  }
  system.shell.NotifyAssociationsChanged();
  feedback.ShowResult(texts.fixed);
}

}  // namespace corrivo

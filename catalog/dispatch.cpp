#include "catalog/dispatch.h"

namespace corrivo {

void RefreshDesktopIcons(DispatchEffects& effects) {
  WindowId worker = effects.FindTopLevelWindow(L"WorkerW");
  if (!worker) return;
  WindowId view = effects.FindChildWindow(worker, L"SHELLDLL_DefView");
  if (!view) return;
  WindowId list = effects.FindChildWindow(view, L"SysListView32");
  if (!list) return;
  effects.SendWindowMessage(list, kWmKeyDown, kVkF5, 0);
  effects.ChangeNotify(kShcneAssocChanged, kShcnfFlush);
  // A button-up rather than a key-up is what the desktop has always been sent here.
  effects.SendWindowMessage(list, kWmRButtonUp, kVkF5, 0);
}

void FixByID(int id, const FixArgs& args, const DispatchTexts& texts, DispatchEffects& effects) {
  if (!IsCatalogId(id)) return;
  // RunFix hands each repair only the argument it takes (the Windows version, the Internet
  // Explorer name, or its false flag); the others ignore what else FixArgs holds.
  if (!RunFix(id, args)) {
    effects.ShowMessage(texts.fixFailed, kMbIconInformation | kMbOk);
    return;
  }
  effects.ChangeNotify(kShcneAssocChanged, kShcnfFlush);
  if (id == 607) {
    RefreshDesktopIcons(effects);
    effects.ChangeNotify(kShcneAssocChanged, kShcnfFlush);
  }
  effects.ChangeNotify(kShcneAssocChanged, kShcnfFlush);
  effects.ShowMessage(texts.fixFinish, kMbIconInformation | kMbOk);
}

}  // namespace corrivo

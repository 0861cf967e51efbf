#include "app/creation.h"

namespace corrivo {

bool IsRefusedVersionCode(std::int32_t code) {
  return code == -1 || code == 2 || code == 4 || code == 5;
}

bool RunCreationSequence(CreationSteps& steps) {
  steps.ApplyWindowStyle();
  steps.ResetHeaderTiles();
  steps.ClearStopRequests();
  steps.CreateThreadSuspended();
  steps.DetectIEVersion();
  const std::int32_t code = steps.DetectOsVersionCode();
  steps.LoadLanguage();
  steps.SaveColumnTitle();
  if (IsRefusedVersionCode(code)) {
    steps.RefuseVersion();
    return false;
  }
  steps.StartThread(code);
  steps.ShowPage(0);
  steps.AnchorControls();
  steps.FillPages();
  steps.SelectCategory(1);
  steps.PlaceStopFixOverFix();
  return true;
}

}  // namespace corrivo

#include "app/creation.h"

namespace corrivo {

bool RunCreationSequence(CreationSteps& steps) {
  steps.ApplyWindowStyle();
  steps.ResetHeaderTiles();
  steps.CreateThreadSuspended();
  steps.DetectIEVersion();
  const WindowsVersion windows = steps.DetectWindowsVersion();
  steps.LoadLanguage();
  steps.SaveColumnTitle();
  if (!IsSupported(windows)) {
    steps.RefuseVersion();
    return false;
  }
  steps.ChooseDesktopUser();
  steps.StartThread(windows);
  steps.ShowPage(Page::GeneralFix);
  steps.AnchorControls();
  steps.FillPages();
  steps.SelectCategory(1);
  steps.PlaceStopFixOverFix();
  return true;
}

}  // namespace corrivo

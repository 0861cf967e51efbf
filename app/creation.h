// The main window's creation sequence, step by step, over the window's own operations so that
// the order (and the refusal of an unsupported Windows version) is one readable function.
#pragma once

#include "app/page.h"
#include "sysaccess/windows_version.h"

namespace corrivo {

class CreationSteps {
 public:
  virtual ~CreationSteps() = default;
  virtual void ApplyWindowStyle() = 0;           // system menu, min/max boxes, no caption; hide restore
  virtual void ResetHeaderTiles() = 0;           // page 0's tile selected, its label white
  virtual void CreateThreadSuspended() = 0;      // and its Init
  virtual void DetectIEVersion() = 0;
  virtual WindowsVersion DetectWindowsVersion() = 0;
  virtual void LoadLanguage() = 0;               // record, language, messages, window texts
  virtual void SaveColumnTitle() = 0;
  // Shows the unsupported-Windows message owned by the window and ends the process with exit
  // code 0. The product never returns from it; a test double does, and the sequence then stops.
  virtual void RefuseVersion() = 0;
  // Whose HKCU the repairs change (the desktop user's when Corrivo runs as someone else), and
  // the header's line saying so; before the worker reads or writes anything.
  virtual void ChooseDesktopUser() = 0;
  virtual void StartThread(WindowsVersion windows) = 0;  // the version, offered flags, resume
  virtual void ShowPage(Page page) = 0;
  virtual void AnchorControls() = 0;
  virtual void FillPages() = 0;
  virtual void SelectCategory(int category) = 0;
  virtual void PlaceStopFixOverFix() = 0;
};

// Runs the sequence; false when the version was refused.
bool RunCreationSequence(CreationSteps& steps);

}  // namespace corrivo

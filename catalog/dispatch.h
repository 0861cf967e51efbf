// The one-click repairs of the Advanced Fix page: run one repair, tell the shell, show the
// result. The window says how a result is shown.
#pragma once

#include <string>

#include "catalog/repair.h"

namespace corrivo {

class RepairFeedback {
 public:
  virtual ~RepairFeedback() = default;
  // An information message owned by the main window.
  virtual void ShowResult(const std::wstring& text) = 0;
};

// The two result texts (language keys D_FixFinish and D_FixFailed).
struct RepairResultTexts {
  std::wstring fixed = L"Fixed!";
  std::wstring fixFailed = L"Fixed Failed!";
  // Shown, with the reason after it, when the undo journal cannot be saved (D_JournalFailed).
  std::wstring journalFailed = L"Nothing was changed: the undo journal could not be saved.";
};

// Runs the repair with the arguments it takes and reports the result; after a success the
// shell hears that associations and icons changed. An ID outside the catalogue does nothing.
// When the system keeps a journal and it cannot be saved, the repair does not run and the
// message says why.
void RunOneClickRepair(System& system, int id, const RepairArgs& args, const RepairResultTexts& texts,
                       RepairFeedback& feedback);

}  // namespace corrivo

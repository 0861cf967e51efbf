// `corrivo --offline WINDOWS_DIR <command>` (Linux only): the catalogue over the hives of a
// Windows that is not running, mounted at WINDOWS_DIR (the folder holding System32). What only
// the running system can do (commands, Explorer, shortcuts, the home-page library, the Internet
// Options reset) is said and skipped, never faked.
#pragma once

#include <string>
#include <vector>

#include "catalog/plan.h"
#include "catalog/repair.h"
#include "console/command_line.h"

namespace corrivo::console {

// A repair whose result depends on steps that need the running system (and nothing failed).
constexpr int kExitNeedsRunningSystem = 4;

// True when the line names --offline.
bool IsOfflineLine(const std::vector<std::wstring>& args);

struct OfflineContext {
  TextSink& out;
  TextSink& err;
  std::wstring defaultJournal;  // the journal folder without --journal
};

// Runs one offline command line (without the program's name); answers the exit code.
int RunOfflineCommandLine(const std::vector<std::wstring>& args, OfflineContext& context);

std::wstring OfflineUsageText();

// The steps only the running system can take: commands, and the special steps that call the
// shell, Explorer or a component.
bool NeedsRunningSystem(const Step& step);
// The plan as it runs offline: each such step becomes one that does nothing and fails (its
// conditions and flags kept), so that a fallback written for its failure still runs.
Plan OfflinePlan(const Plan& plan);

enum class OfflineOutcome { Fixed, Failed, NeedsRunningSystem };

struct OfflineRepairResult {
  OfflineOutcome outcome = OfflineOutcome::Failed;
  std::vector<std::wstring> skipped;  // the steps skipped, as DescribeStep words them
};

// Runs a repair's offline plan on `system`: Fixed or Failed as the executor decides, except
// that a failure decided by a skipped step is NeedsRunningSystem.
OfflineRepairResult RunRepairOffline(System& system, int id, const RepairArgs& args);

}  // namespace corrivo::console

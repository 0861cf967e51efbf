// The one executor every repair goes through.
#pragma once

#include <vector>

#include "catalog/plan.h"
#include "sysaccess/system.h"

namespace corrivo {

// What happened to one step of a plan.
struct StepTrace {
  bool ran = false;
  bool result = false;
};

// Runs the steps in order. A failed step never stops the ones after it. The result is that of
// the last step that ran, unless steps are marked `decides` (then all marked steps that ran
// must have succeeded). A pause always succeeds; an empty plan fails. `trace`, when given,
// receives one entry per step. Never throws: a step that throws counts as failed.
bool ExecutePlan(System& system, const Plan& plan, std::vector<StepTrace>* trace = nullptr);

// Runs one step, whatever its condition, and answers its own result (`alwaysSucceeds`
// applied).
bool ExecuteStep(System& system, const Step& step);

}  // namespace corrivo

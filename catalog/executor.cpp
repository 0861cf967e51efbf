#include "catalog/executor.h"

#include <exception>

#include "catalog/shell_steps.h"

namespace corrivo {
namespace {

bool RunStep(System& system, const Step& s) {
  const Registry registry = system.registry();
  switch (s.kind) {
    case StepKind::WriteDword: return registry.WriteInteger(s.root, s.key, s.name, s.dword);
    case StepKind::WriteString: return registry.WriteString(s.root, s.key, s.name, s.text);
    case StepKind::WriteExpandString: return registry.WriteExpandString(s.root, s.key, s.name, s.text);
    case StepKind::DeleteValue: return registry.DeleteValue(s.root, s.key, s.name);
    case StepKind::DeleteKey: return registry.DeleteKey(s.root, s.key);
    case StepKind::CreateKey: return registry.CreateKey(s.root, s.key);
    case StepKind::Run: return system.commands.Run(s.text);
    case StepKind::Wait: system.clock.SleepMs(s.ms); return true;
    case StepKind::Special: return RunSpecialStep(system, s);
    case StepKind::Succeed: return true;
  }
  return false;
}

}  // namespace

bool ExecuteStep(System& system, const Step& s) {
  bool result = false;
  try {
    result = RunStep(system, s);
  } catch (const std::exception&) {
    // Out of memory in the middle of a repair: this step failed, the next ones still run.
    result = false;
  }
  return s.alwaysSucceeds || result;
}

bool ExecutePlan(System& system, const Plan& plan, std::vector<StepTrace>* trace) {
  if (trace) trace->assign(plan.size(), StepTrace{});
  bool anyRan = false;
  bool last = false;
  bool decidingRan = false;
  bool decidingOk = true;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const Step& s = plan[i];
    if (s.condition == StepCondition::IfPreviousFailed && (!anyRan || last)) continue;
    last = ExecuteStep(system, s);
    anyRan = true;
    if (s.decides) {
      decidingRan = true;
      decidingOk = decidingOk && last;
    }
    if (trace) (*trace)[i] = StepTrace{true, last};
  }
  if (decidingRan) return decidingOk;
  return anyRan && last;
}

}  // namespace corrivo

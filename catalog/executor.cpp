#include "catalog/executor.h"

#include "catalog/step_backend.h"
#include "sysaccess/clock.h"
#include "sysaccess/registry.h"
#include "sysaccess/shell.h"

namespace corrivo {

bool ExecuteStep(const Step& s) {
  bool result = false;
  switch (s.kind) {
    case StepKind::WriteDword: result = WriteRegInteger(s.root, s.key, s.name, s.dword); break;
    case StepKind::WriteString: result = WriteRegString(s.root, s.key, s.name, s.text); break;
    case StepKind::WriteExpandString: result = WriteRegExpandString(s.root, s.key, s.name, s.text); break;
    case StepKind::DeleteValue: result = DeleteRegValue(s.root, s.key, s.name); break;
    case StepKind::DeleteKey: result = DeleteRegKey(s.root, s.key); break;
    case StepKind::CreateKey: result = CreateRegKey(s.root, s.key); break;
    case StepKind::Run: result = RunShellCommand(s.text); break;
    case StepKind::Wait:
      SleepMs(s.ms);
      result = true;
      break;
    case StepKind::Special: result = RunSpecialStep(s); break;
    case StepKind::Succeed: result = true; break;
  }
  return s.alwaysSucceeds || result;
}

bool ExecutePlan(const Plan& plan, std::vector<StepTrace>* trace) {
  if (trace) trace->assign(plan.size(), StepTrace{});
  bool anyRan = false;
  bool last = false;
  bool decidingRan = false;
  bool decidingOk = true;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const Step& s = plan[i];
    if (s.condition == StepCondition::IfPreviousFailed && (!anyRan || last)) continue;
    last = ExecuteStep(s);
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

#include "catalog/plan.h"

#include <utility>

#include "sysaccess/registry.h"

namespace corrivo {

Step WriteDword(RegRoot root, std::wstring key, std::wstring name, std::int32_t value) {
  Step s;
  s.kind = StepKind::WriteDword;
  s.root = root;
  s.key = std::move(key);
  s.name = std::move(name);
  s.dword = value;
  return s;
}

Step WriteString(RegRoot root, std::wstring key, std::wstring name, std::wstring data) {
  Step s;
  s.kind = StepKind::WriteString;
  s.root = root;
  s.key = std::move(key);
  s.name = std::move(name);
  s.text = std::move(data);
  return s;
}

Step WriteExpandString(RegRoot root, std::wstring key, std::wstring name, std::wstring data) {
  Step s = WriteString(root, std::move(key), std::move(name), std::move(data));
  s.kind = StepKind::WriteExpandString;
  return s;
}

Step DeleteValue(RegRoot root, std::wstring key, std::wstring name) {
  Step s;
  s.kind = StepKind::DeleteValue;
  s.root = root;
  s.key = std::move(key);
  s.name = std::move(name);
  return s;
}

Step DeleteKey(RegRoot root, std::wstring key) {
  Step s;
  s.kind = StepKind::DeleteKey;
  s.root = root;
  s.key = std::move(key);
  return s;
}

Step CreateKey(RegRoot root, std::wstring key) {
  Step s = DeleteKey(root, std::move(key));
  s.kind = StepKind::CreateKey;
  return s;
}

Step Run(std::wstring parameters) {
  Step s;
  s.kind = StepKind::Run;
  s.text = std::move(parameters);
  return s;
}

Step Wait(std::uint32_t ms) {
  Step s;
  s.kind = StepKind::Wait;
  s.ms = ms;
  return s;
}

Step Special(SpecialStep special) {
  Step s;
  s.kind = StepKind::Special;
  s.special = special;
  return s;
}

Step Special(SpecialStep special, RegRoot root, std::wstring key, std::wstring name,
             std::int32_t dword, std::wstring text) {
  Step s = Special(special);
  s.root = root;
  s.key = std::move(key);
  s.name = std::move(name);
  s.dword = dword;
  s.text = std::move(text);
  return s;
}

Step Succeed() { return Step{}; }

Step IfPreviousFailed(Step step) {
  step.condition = StepCondition::IfPreviousFailed;
  return step;
}

Step Deciding(Step step) {
  step.decides = true;
  return step;
}

Step AlwaysSucceeding(Step step) {
  step.alwaysSucceeds = true;
  return step;
}

const wchar_t* SpecialStepName(SpecialStep special) {
  switch (special) {
    case SpecialStep::None: return L"None";
    case SpecialStep::CreateIEShortcuts: return L"CreateIEShortcuts";
    case SpecialStep::RequestHomePageProtection: return L"RequestHomePageProtection";
    case SpecialStep::ResetIEToDefaults: return L"ResetIEToDefaults";
    case SpecialStep::PatchStickyNotesFlags: return L"PatchStickyNotesFlags";
    case SpecialStep::KillExplorer: return L"KillExplorer";
    case SpecialStep::RewriteHostsFile: return L"RewriteHostsFile";
    case SpecialStep::RefreshDesktop: return L"RefreshDesktop";
  }
  return L"?";
}

namespace {

// "(default)" stands for the empty value name, as the registry editor shows it.
std::wstring KeyRef(const Step& s) { return RootName(s.root) + s.key; }

std::wstring ValueRef(const Step& s) {
  return KeyRef(s) + L" [" + (s.name.empty() ? std::wstring(L"(default)") : s.name) + L"]";
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring SpecialArguments(const Step& s) {
  std::wstring out;
  if (!s.key.empty()) out += L" " + ValueRef(s);
  if (s.special == SpecialStep::RewriteHostsFile) out += L" code " + std::to_wstring(s.dword);
  if (!s.text.empty()) out += L" " + Quoted(s.text);
  return out;
}

}  // namespace

bool ChangesRegistry(const Step& s) {
  switch (s.kind) {
    case StepKind::WriteDword:
    case StepKind::WriteString:
    case StepKind::WriteExpandString:
    case StepKind::DeleteValue:
    case StepKind::DeleteKey:
    case StepKind::CreateKey: return true;
    default: return false;
  }
}

std::wstring DescribeStep(const Step& s) {
  std::wstring line;
  switch (s.kind) {
    case StepKind::WriteDword:
      line = L"write dword " + ValueRef(s) + L" = " + std::to_wstring(s.dword);
      break;
    case StepKind::WriteString:
      line = L"write string " + ValueRef(s) + L" = " + Quoted(s.text);
      break;
    case StepKind::WriteExpandString:
      line = L"write expand string " + ValueRef(s) + L" = " + Quoted(s.text);
      break;
    case StepKind::DeleteValue:
      line = L"delete value " + ValueRef(s);
      break;
    case StepKind::DeleteKey:
      line = L"delete key " + KeyRef(s);
      break;
    case StepKind::CreateKey:
      line = L"create key " + KeyRef(s);
      break;
    case StepKind::Run:
      line = L"run cmd.exe " + s.text;
      break;
    case StepKind::Wait:
      line = L"wait " + std::to_wstring(s.ms) + L" ms";
      break;
    case StepKind::Special:
      line = std::wstring(L"special ") + SpecialStepName(s.special) + SpecialArguments(s);
      break;
    case StepKind::Succeed:
      line = L"succeed";
      break;
  }
  if (s.condition == StepCondition::IfPreviousFailed) line += L"  (only if the previous step failed)";
  if (s.alwaysSucceeds) line += L"  (always succeeds)";
  if (s.decides) line += L"  (decides the result)";
  return line;
}

std::wstring DescribePlan(const Plan& plan) {
  std::wstring out;
  int n = 1;
  for (const Step& s : plan) out += L"  " + std::to_wstring(n++) + L". " + DescribeStep(s) + L"\n";
  return out;
}

}  // namespace corrivo

// A repair as data: an ordered list of steps. One executor runs every plan; the result of a
// plan is the result of its last step, and a failed step never stops the ones after it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sysaccess/registry_backend.h"

namespace corrivo {

enum class StepKind {
  WriteDword,         // root, key, name, dword
  WriteString,        // root, key, name, text (REG_SZ)
  WriteExpandString,  // root, key, name, text (REG_EXPAND_SZ, stored unexpanded)
  DeleteValue,        // root, key, name
  DeleteKey,          // root, key (with every subkey)
  CreateKey,          // root, key
  Run,                // text: the whole parameter string for cmd.exe
  Wait,               // ms
  Special,            // special: one of the named steps below
  Succeed,            // does nothing; the plan reports true
};

// Whether a step runs at all.
enum class StepCondition {
  Always,
  IfPreviousFailed,  // only when the step before it answered false (205's own "Start Page")
};

// Steps that are more than one registry or command call.
enum class SpecialStep {
  None,
  CreateIEShortcuts,        // 201 on Windows 7 and 8: ShellLink files on desktop and Start Menu
  RequestHomePageProtection,// 205: asks pagelock.dll beside the program
  ResetIEToDefaults,        // 209: inetcpl.cpl's ResetIEtoDefaults
  PatchStickyNotesFlags,    // 503: PatchRegBinaryFlags on root/key/name
  KillExplorer,             // 503: ends every "explorer.exe"
  RewriteHostsFile,         // 701: keep comments, append the default entries (dword = version code)
  RefreshDesktop,           // 607: the desktop redraws its icons
};

struct Step {
  StepKind kind = StepKind::Succeed;
  RegRoot root = RegRoot::CurrentUser;
  std::wstring key;
  std::wstring name;
  std::wstring text;
  std::int32_t dword = 0;
  std::uint32_t ms = 0;
  SpecialStep special = SpecialStep::None;
  // A special step's result can be ignored by the plan; when set, the step always counts as
  // success (for example 201's shortcuts, "true whatever happens").
  bool alwaysSucceeds = false;
  StepCondition condition = StepCondition::Always;
  // A few repairs are not decided by their last step (503: the patch and the kill; 701: the
  // file write). When any step of a plan is marked, the plan succeeds only when every marked
  // step that ran succeeded; the steps after them still run.
  bool decides = false;

  bool operator==(const Step&) const = default;
};

using Plan = std::vector<Step>;

// Builders, so that plans read like the repair descriptions.
Step WriteDword(RegRoot root, std::wstring key, std::wstring name, std::int32_t value);
Step WriteString(RegRoot root, std::wstring key, std::wstring name, std::wstring data);
Step WriteExpandString(RegRoot root, std::wstring key, std::wstring name, std::wstring data);
Step DeleteValue(RegRoot root, std::wstring key, std::wstring name);
Step DeleteKey(RegRoot root, std::wstring key);
Step CreateKey(RegRoot root, std::wstring key);
Step Run(std::wstring parameters);
Step Wait(std::uint32_t ms);
Step Special(SpecialStep special);
// A special step with arguments: a registry value (503's patch), a number (701's version
// code) or a text (205's browser tag).
Step Special(SpecialStep special, RegRoot root, std::wstring key, std::wstring name,
             std::int32_t dword = 0, std::wstring text = {});
Step Succeed();

// Modifiers, applied to a built step.
Step IfPreviousFailed(Step step);
Step Deciding(Step step);
Step AlwaysSucceeding(Step step);

const wchar_t* SpecialStepName(SpecialStep special);

// True for the steps that change the registry (writes, deletions, key creation).
bool ChangesRegistry(const Step& step);

// One line per step, for listings and test failure messages, e.g.
//   write dword HKEY_CURRENT_USER\Software\...  [Name] = 0
std::wstring DescribeStep(const Step& step);
std::wstring DescribePlan(const Plan& plan);

}  // namespace corrivo

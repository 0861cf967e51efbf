// One repair, whole: where it sits in the window, what it takes, what it does on each Windows
// version, how a scan finds the problem it repairs, and where its button is disabled. Every
// list of the program (Advanced Fix rows, the General Fix scan items, disabled buttons,
// listings and exports) is derived from these records.
#pragma once

#include <string>

#include "catalog/plan.h"
#include "sysaccess/registry.h"
#include "sysaccess/system.h"
#include "sysaccess/windows_version.h"

namespace corrivo {

// The six categories of the Advanced Fix page, numbered as their tiles are.
enum class Category { None = 0, Desktop = 1, System = 2, InternetExplorer = 3, MediaPlayer = 4, Security = 5, Additional = 6 };

// What the window knows when it runs a repair or a check.
struct RepairArgs {
  WindowsVersion windows = WindowsVersion::XP;
  std::wstring ieVersionName = L"IE8";  // "IE8", "IE9" or "IE10"
};

// Which of the arguments a repair's plan depends on.
enum class RepairArgument { None, WindowsVersion, IEVersionName };

// What a check may read.
struct CheckContext {
  System& system;
  Registry registry;
  WindowsVersion windows;
};

using PlanBuilder = Plan (*)(const RepairArgs& args);
// True when the problem is present.
using CheckFunction = bool (*)(const CheckContext& context);

struct Repair {
  int id;
  Category category;
  int row;                 // 1-based position in its category, 0 without a row
  const wchar_t* caption;  // default English row label, nullptr without a row
  RepairArgument argument;
  PlanBuilder plan;
  CheckFunction check;     // nullptr: the repair has no check
  // The General Fix scan: the item's text (not translated, and not the row's caption),
  // nullptr when the repair is not scanned; the versions on which a scan may list it, and
  // those on which its check runs (elsewhere the item is taken as no problem).
  const wchar_t* scanText;
  VersionSet scanOfferedOn;
  VersionSet scanCheckedOn;
  // The versions on which the window disables the repair's button.
  VersionSet disabledOn;
};

// For checks that cannot read the problem: one that always offers the repair, and one whose
// problem cannot be told from a healthy system and so is never reported.
bool AlwaysAProblem(const CheckContext&);
bool NeverAProblem(const CheckContext&);

}  // namespace corrivo

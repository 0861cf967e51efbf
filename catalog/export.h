// Repairs written out for other tools to apply: a Registry Editor file, a batch file for
// cmd.exe, or an Ansible playbook. Each comes from the same plans the program runs, so an
// export does what the repair does, or is refused with the steps it cannot do.
#pragma once

#include <string>
#include <vector>

#include "catalog/plan.h"
#include "catalog/repair.h"
#include "sysaccess/windows_version.h"

namespace corrivo {

enum class ExportFormat { Reg, Cmd, Ansible };

struct ExportOptions {
  // Write only the registry steps, with a comment naming what was left out, instead of
  // refusing a repair that also starts commands or has steps only the program can do.
  bool registryOnly = false;
};

struct ExportResult {
  bool ok = false;
  std::wstring text;   // the whole file; CR LF line ends for .reg and .cmd, LF for the playbook
  std::wstring error;  // names the repairs and steps that cannot be exported
};

// Exports the repairs in the order given, with their plans for `windows`. Refused: unknown
// IDs, repairs the window disables on that version, and steps the format cannot carry.
ExportResult ExportRepairs(ExportFormat format, const std::vector<int>& ids, WindowsVersion windows,
                           const ExportOptions& options);
// True when ExportRepairs takes the repair in that format without registryOnly.
bool IsExportable(int id, ExportFormat format, WindowsVersion windows);

// The bytes to save: .reg as UTF-16 LE with byte-order mark, the batch file in plain ASCII
// (the exporter refuses anything else), the playbook in UTF-8.
std::string ExportFileBytes(ExportFormat format, const std::wstring& text);

// --- Shared by the writers of each format.
namespace exporting {

// One repair as a writer sees it. Plans that depend on the Internet Explorer version are
// taken for the default one (RepairArgs), as the file may go to any machine.
struct RepairPlan {
  int id = 0;
  std::wstring caption;  // the row's caption, or the scan text, or "repair ID"
  Plan plan;
};

// "step 3 (runs cmd.exe /c ...)" for messages and comments.
std::wstring StepLabel(std::size_t index, const Step& step);
// Whether a step is a registry change, a command or pause, or something only the program does.
bool IsProgramOnly(const Step& step);
// The exact bytes a registry write step stores.
RegistryValue WrittenValue(const Step& step);

ExportResult WriteRegFile(const std::vector<RepairPlan>& repairs, WindowsVersion windows, const ExportOptions& options);
ExportResult WriteBatchFile(const std::vector<RepairPlan>& repairs, WindowsVersion windows, const ExportOptions& options);
ExportResult WritePlaybook(const std::vector<RepairPlan>& repairs, WindowsVersion windows, const ExportOptions& options);

}  // namespace exporting
}  // namespace corrivo

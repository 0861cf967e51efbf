#include "console/offline/offline_command.h"

#include <algorithm>
#include <memory>

#include "catalog/catalog.h"
#include "catalog/executor.h"
#include "catalog/journal.h"
#include "catalog/preview.h"
#include "console/commands.h"
#include "console/json.h"
#include "sysaccess/ie_version.h"
#include "sysaccess/offline/offline_system.h"
#include "sysaccess/text.h"

namespace corrivo::console {
namespace {

constexpr const wchar_t* kNeedsRunningSystem = L"needs the running system";

// The offline part of the line: the folder, the profile, the journal; the rest is a command
// of the usual grammar.
struct OfflineLine {
  std::string folder;
  std::wstring user, journal;
  bool journalGiven = false;
  std::vector<std::wstring> rest;
  std::wstring error;
};

OfflineLine SplitOfflineLine(const std::vector<std::wstring>& args) {
  OfflineLine line;
  bool haveFolder = false, haveUser = false, haveJournal = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    bool* given = arg == L"--offline" ? &haveFolder : arg == L"--user" ? &haveUser : arg == L"--journal" ? &haveJournal : nullptr;
    if (!given) {
      line.rest.push_back(arg);
      continue;
    }
    if (*given) return line.error = L"option " + Quote(arg) + L" is given twice", line;
    if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].rfind(L"--", 0) == 0)
      return line.error = L"option " + Quote(arg) + L" needs a value", line;
    *given = true;
    const std::wstring& value = args[++i];
    if (arg == L"--offline") line.folder = WideToUtf8(value);
    else if (arg == L"--user") line.user = value;
    else line.journal = value, line.journalGiven = true;
  }
  return line;
}

struct Target {
  std::unique_ptr<OfflineWindows> windows;
  RepairArgs args;
};

// Opens the hives (for writing when asked) and takes the version from them, refusing what the
// live program refuses. Answers 0 when `target` is ready.
int OpenTarget(CommandLineContext& context, bool json, const OfflineLine& line, bool writable, Target* target) {
  OfflineOptions options{line.folder, line.user, writable};
  std::wstring error;
  if (OfflineWindows::Open(options, &target->windows, &error) != OfflineOpenResult::Opened)
    return ReportError(context, json, kExitRefused, error + L"; nothing was changed");
  System& system = target->windows->system();
  target->args.windows = DetectWindowsVersion(system.os);
  if (!IsSupported(target->args.windows))
    return ReportError(context, json, kExitRefused, UnsupportedWindowsMessage(system.os) + L"; nothing was changed");
  target->args.ieVersionName = DetectIEVersionName(system.registry());
  return kExitOk;
}

void WriteTarget(CommandLineContext& context, bool json, const OfflineLine& line, const Target& target) {
  if (json) return;
  context.out.Write(L"Windows " + std::wstring(VersionName(target.args.windows)) + L" in " + Utf8ToWide(line.folder) +
                    L", user " + target.windows->profile() + L" (offline)\n");
}

std::vector<std::wstring> SkippedSteps(const Plan& plan, const std::vector<StepTrace>* trace) {
  std::vector<std::wstring> skipped;
  for (std::size_t i = 0; i < plan.size(); ++i)
    if (NeedsRunningSystem(plan[i]) && (!trace || (*trace)[i].ran)) skipped.push_back(DescribeStep(plan[i]));
  return skipped;
}

int OfflinePreview(CommandLineContext& context, const Invocation& inv, const OfflineLine& line, Target& target) {
  WriteTarget(context, inv.json, line, target);
  for (int id : inv.ids) {
    const Plan plan = PlanFor(id, target.args);
    std::wstring text = FormatPreview(PreviewPlan(target.windows->system(), OfflinePlan(plan)));
    for (const std::wstring& step : SkippedSteps(plan, nullptr))
      text += std::wstring(kNeedsRunningSystem) + L", skipped: " + step + L"\n";
    if (inv.json) {
      context.out.Write(JsonObject().Add(L"type", L"preview").Add(L"id", id).Add(L"windows", VersionName(target.args.windows))
                            .Add(L"offline", true).Add(L"needsRunningSystem", SkippedSteps(plan, nullptr)).Add(L"text", text).Line());
    } else {
      context.out.Write(L"Repair " + std::to_wstring(id) + L" on Windows " + VersionName(target.args.windows) +
                        L" (preview, nothing written):\n" + text);
    }
  }
  return kExitOk;
}

// Writes the hives the command changed, naming each and the copy of its original.
bool SaveHives(CommandLineContext& context, bool json, Target& target) {
  std::vector<OfflineWindows::Written> written;
  std::wstring error;
  const bool saved = target.windows->Save(&written, &error);
  for (const auto& w : written)
    context.out.Write(json ? JsonObject().Add(L"type", L"hive").Add(L"hive", w.hive).Add(L"copy", w.copy).Line()
                           : L"Wrote " + w.hive + L" (the original is kept as " + w.copy + L")\n");
  if (!saved) ReportError(context, json, kExitProblems, error);
  return saved;
}

const wchar_t* ResultText(OfflineOutcome outcome) {
  switch (outcome) {
    case OfflineOutcome::Fixed: return L"Fixed!";
    case OfflineOutcome::NeedsRunningSystem: return kNeedsRunningSystem;
    case OfflineOutcome::Failed: break;
  }
  return L"Fixed Failed!";
}

int OfflineFix(CommandLineContext& context, const Invocation& inv, const OfflineLine& line, Target& target) {
  System& system = target.windows->system();
  for (int id : inv.ids) {
    if (FindRepair(id)->disabledOn.Contains(target.args.windows))
      return ReportError(context, inv.json, kExitRefused,
                         L"repair " + std::to_wstring(id) + L" is disabled on Windows " +
                             VersionName(target.args.windows) + L"; nothing was changed");
  }
  WriteTarget(context, inv.json, line, target);
  std::vector<int> ids = inv.ids;
  if (inv.found) {
    for (const Finding& f : ScanSystem(system, target.args)) {
      if (inv.json) context.out.Write(JsonObject().Add(L"type", L"problem").Add(L"id", f.id).Add(L"item", f.index).Add(L"text", f.text).Line());
      else context.out.Write(std::to_wstring(f.id) + L" " + f.text + L"\n");
      if (std::find(ids.begin(), ids.end(), f.id) == ids.end()) ids.push_back(f.id);
    }
  }
  if (ids.empty()) {
    context.out.Write(inv.json ? JsonObject().Add(L"type", L"summary").Add(L"fixed", 0).Add(L"failed", 0).Line()
                               : L"No problems found; nothing to fix.\n");
    return kExitOk;
  }
  JournalPlace place = PlatformJournalPlace(line.journal);
  place.user = target.windows->profile();
  int fixed = 0, failed = 0, needs = 0;
  for (int id : ids) {
    const Repair& r = *FindRepair(id);
    if (!inv.noJournal) {
      // The entry holds what the registry and file steps will change; the skipped steps never run.
      Plan recorded = PlanFor(id, target.args);
      std::erase_if(recorded, [](const Step& s) { return NeedsRunningSystem(s); });
      const JournalWrite entry = RecordBeforePlan(system, place, id, r.caption ? r.caption : L"", target.args.windows, recorded);
      if (!entry.ok) {
        ++failed;
        ReportError(context, inv.json, kExitProblems,
                    L"repair " + std::to_wstring(id) + L" was not run: its journal entry cannot be written (" + entry.error + L")");
        continue;
      }
    }
    const OfflineRepairResult result = RunRepairOffline(system, id, target.args);
    (result.outcome == OfflineOutcome::Fixed ? fixed : result.outcome == OfflineOutcome::Failed ? failed : needs)++;
    if (inv.json) {
      context.out.Write(JsonObject().Add(L"type", L"result").Add(L"id", id).Add(L"fixed", result.outcome == OfflineOutcome::Fixed)
                            .Add(L"result", ResultText(result.outcome)).Add(L"needsRunningSystem", result.skipped).Line());
    } else {
      std::wstring text = std::to_wstring(id) + L" " + ResultText(result.outcome) + L"  " + RepairTitle(r) + L"\n";
      for (const std::wstring& step : result.skipped) text += L"    " + std::wstring(kNeedsRunningSystem) + L", skipped: " + step + L"\n";
      context.out.Write(text);
    }
  }
  target.windows->TakeSkipped();
  if (!SaveHives(context, inv.json, target)) return kExitProblems;
  if (inv.json) {
    context.out.Write(JsonObject().Add(L"type", L"summary").Add(L"fixed", fixed).Add(L"failed", failed)
                          .Add(L"needsRunningSystem", needs).Line());
  } else {
    context.out.Write(std::to_wstring(fixed) + L" fixed, " + std::to_wstring(failed) + L" failed, " + std::to_wstring(needs) +
                      L" " + kNeedsRunningSystem + L".\n");
  }
  return failed ? kExitProblems : needs ? kExitNeedsRunningSystem : kExitOk;
}

// The advice the shared commands end with ("corrivo fix --found", "corrivo undo ENTRY"),
// spelt as the offline line that does it.
std::wstring OfflineAdvice(std::wstring text, const OfflineLine& line) {
  std::wstring prefix = L"corrivo --offline " + Utf8ToWide(line.folder);
  if (!line.user.empty()) prefix += L" --user " + line.user;
  if (line.journalGiven) prefix += L" --journal " + line.journal;
  for (const wchar_t* advice : {L"corrivo fix ", L"corrivo undo "}) {
    const std::wstring word = advice;
    if (const std::size_t at = text.rfind(word); at != std::wstring::npos) text.replace(at, 8, prefix + L" ");
  }
  return text;
}

// Undo applies a journal entry to the hives, then writes the hives it changed.
int OfflineUndo(CommandLineContext& context, const Invocation& inv, const OfflineLine& line, Target& target) {
  JournalPlace place = PlatformJournalPlace(line.journal);
  place.user = target.windows->profile();
  StringSink text;
  CommandLineContext offline{target.windows->system(), true, true, text, context.err, &place};
  const int rc = UndoCommand(offline, inv, target.args);
  context.out.Write(inv.json ? text.Text() : OfflineAdvice(text.Text(), line));
  target.windows->TakeSkipped();
  if (!SaveHives(context, inv.json, target)) return kExitProblems;
  return rc;
}

int Dispatch(CommandLineContext& context, bool json, const OfflineLine& line) {
  const ParsedArguments parsed = ParseArguments(line.rest);
  if (!parsed.ok) return ReportError(context, json, kExitUsage, parsed.error);
  const Invocation& inv = parsed.invocation;
  switch (inv.command) {
    case Command::Scan: case Command::Preview: case Command::Fix: case Command::Show:
    case Command::Journal: case Command::Undo: break;
    case Command::Help:
      context.out.Write(json ? JsonObject().Add(L"type", L"usage").Add(L"text", OfflineUsageText()).Line()
                             : OfflineUsageText());
      return kExitOk;
    default: return ReportError(context, json, kExitUsage, std::wstring(L"'") + CommandName(inv.command) + L"' does not work offline");
  }
  const bool keepsJournal = inv.command == Command::Fix || inv.command == Command::Journal || inv.command == Command::Undo;
  if (line.journalGiven && !keepsJournal)
    return ReportError(context, json, kExitUsage,
                       std::wstring(L"option '--journal' does not apply to '") + CommandName(inv.command) + L"'");
  if (keepsJournal && line.journal.empty())
    return ReportError(context, json, kExitUsage, L"there is no home folder for the journal: name one with --journal DIR");
  if (inv.command == Command::Journal) {
    // The journal is a folder of this machine: the hives need not be opened to list it.
    const JournalPlace place = PlatformJournalPlace(line.journal);
    StringSink text;
    CommandLineContext local{context.system, false, false, text, context.err, &place};
    const int rc = JournalCommand(local, inv);
    context.out.Write(json ? text.Text() : OfflineAdvice(text.Text(), line));
    return rc;
  }
  if (inv.command == Command::Show && inv.windows) return ShowCommand(context, inv, *inv.windows);
  Target target;
  const bool writes = inv.command == Command::Fix || inv.command == Command::Undo;
  if (int refused = OpenTarget(context, json, line, writes, &target)) return refused;
  CommandLineContext offline{target.windows->system(), true, true, context.out, context.err};
  switch (inv.command) {
    case Command::Show: {
      const int rc = ShowCommand(offline, inv, target.args.windows);
      const auto skipped = SkippedSteps(PlanFor(inv.ids.front(), target.args), nullptr);
      if (!json && !skipped.empty())
        context.out.Write(L"  offline, " + std::to_wstring(skipped.size()) + L" of these steps " +
                          (skipped.size() == 1 ? L"needs" : L"need") + L" the running system and would be skipped\n");
      return rc;
    }
    case Command::Scan: {
      WriteTarget(context, json, line, target);
      StringSink text;
      CommandLineContext captured{target.windows->system(), true, true, text, context.err};
      const int rc = ScanCommand(captured, inv, target.args);
      context.out.Write(json ? text.Text() : OfflineAdvice(text.Text(), line));
      return rc;
    }
    case Command::Preview: return OfflinePreview(offline, inv, line, target);
    case Command::Undo: return OfflineUndo(offline, inv, line, target);
    default: return OfflineFix(offline, inv, line, target);
  }
}

}  // namespace

bool IsOfflineLine(const std::vector<std::wstring>& args) {
  return std::find(args.begin(), args.end(), L"--offline") != args.end();
}

std::wstring OfflineUsageText() {
  return L"Offline, on Linux (a Windows that is not running, its Windows folder mounted):\n"
         L"  corrivo --offline WINDOWS_DIR [--user NAME] scan | preview ID... | fix ID... | fix --found | show ID\n"
         L"  corrivo --offline WINDOWS_DIR [--user NAME] [--journal DIR] fix ... [--no-journal] | undo ENTRY|last\n"
         L"  corrivo --offline WINDOWS_DIR [--journal DIR] journal [--prune DAYS]\n"
         L"  WINDOWS_DIR holds System32; NAME is a profile's folder name (needed when there are several);\n"
         L"  the journal's folder is ~/.local/share/corrivo/journal unless --journal names one.\n"
         L"  Exit code 4: a repair's result depends on steps that need the running system.\n";
}

bool NeedsRunningSystem(const Step& step) {
  if (step.kind == StepKind::Run) return true;
  if (step.kind != StepKind::Special) return false;
  switch (step.special) {
    case SpecialStep::CreateIEShortcuts:
    case SpecialStep::RequestHomePageProtection:
    case SpecialStep::ResetIEToDefaults:
    case SpecialStep::KillExplorer:
    case SpecialStep::RefreshDesktop: return true;
    default: return false;
  }
}

Plan OfflinePlan(const Plan& plan) {
  Plan offline = plan;
  for (Step& step : offline) {
    if (!NeedsRunningSystem(step)) continue;
    Step skipped = Special(SpecialStep::None);
    skipped.condition = step.condition;
    skipped.alwaysSucceeds = step.alwaysSucceeds;
    skipped.decides = step.decides;
    step = skipped;
  }
  return offline;
}

OfflineRepairResult RunRepairOffline(System& system, int id, const RepairArgs& args) {
  const Plan plan = PlanFor(id, args);
  std::vector<StepTrace> trace;
  const bool ok = ExecutePlan(system, OfflinePlan(plan), &trace);
  OfflineRepairResult result;
  result.skipped = SkippedSteps(plan, &trace);
  result.outcome = ok ? OfflineOutcome::Fixed : OfflineOutcome::Failed;
  if (ok) return result;
  // The steps that decided the result: those marked, or else the last one that ran.
  const bool marked = std::any_of(plan.begin(), plan.end(), [](const Step& s) { return s.decides; });
  bool realFailure = false, skippedFailure = false;
  for (std::size_t i = plan.size(); i-- > 0;) {
    if (!trace[i].ran || (marked && !plan[i].decides)) continue;
    if (!trace[i].result) (NeedsRunningSystem(plan[i]) ? skippedFailure : realFailure) = true;
    if (!marked) break;
  }
  if (skippedFailure && !realFailure) result.outcome = OfflineOutcome::NeedsRunningSystem;
  return result;
}

int RunOfflineCommandLine(const std::vector<std::wstring>& args, OfflineContext& context) {
  const bool json = std::find(args.begin(), args.end(), L"--json") != args.end();
  CommandLineContext plain{PlatformSystem(), false, false, context.out, context.err};
  try {
    OfflineLine line = SplitOfflineLine(args);
    if (!line.error.empty()) return ReportError(plain, json, kExitUsage, line.error + L"\n\n" + OfflineUsageText());
    if (line.journal.empty()) line.journal = context.defaultJournal;
    return Dispatch(plain, json, line);
  } catch (const std::exception& e) {
    return ReportError(plain, json, kExitProblems, L"stopped: " + Utf8ToWide(e.what()) + L"; no hive was written");
  }
}

}  // namespace corrivo::console

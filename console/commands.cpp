#include "console/commands.h"

#include <algorithm>

#include "catalog/catalog.h"
#include "catalog/export.h"
#include "catalog/journal.h"
#include "catalog/preview.h"
#include "console/json.h"
#include "engine/scan_items.h"
#include "sysaccess/text.h"

namespace corrivo::console {
namespace {

std::wstring Padded(std::wstring text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), L' ');
  return text + L' ';
}

std::wstring Place(const Repair& r) {
  if (r.category == Category::None) return L"no row";
  return std::wstring(CategoryCaption(r.category)) + L" row " + std::to_wstring(r.row);
}

ExportFormat ToExportFormat(Format format) {
  switch (format) {
    case Format::Cmd: return ExportFormat::Cmd;
    case Format::Ansible: return ExportFormat::Ansible;
    case Format::Reg: break;
  }
  return ExportFormat::Reg;
}

std::vector<std::wstring> ExportableOn(const Repair& r) {
  std::vector<std::wstring> names;
  for (WindowsVersion v : kSupportedVersions)
    if (IsExportable(r.id, ExportFormat::Reg, v)) names.emplace_back(VersionName(v));
  return names;
}

std::vector<std::wstring> VersionNames(VersionSet set) {
  std::vector<std::wstring> names;
  for (WindowsVersion v : kSupportedVersions)
    if (set.Contains(v)) names.emplace_back(VersionName(v));
  return names;
}

std::wstring JoinVersions(const std::vector<std::wstring>& names) {
  if (names.empty()) return L"none";
  if (names.size() == kSupportedVersions.size()) return L"all";
  std::wstring text;
  for (const auto& n : names) text += (text.empty() ? L"" : L" ") + n;
  return text;
}

// A step's fields for JSON: the key without the leading "from the root" backslash, so that
// root + "\" + key is the path regedit shows.
JsonObject StepObject(int id, int number, const Step& s) {
  JsonObject o;
  o.Add(L"type", L"step").Add(L"id", id).Add(L"step", number);
  std::wstring key = s.key;
  while (!key.empty() && key.front() == L'\\') key.erase(key.begin());
  auto place = [&](bool withName) {
    o.Add(L"root", RootName(s.root)).Add(L"key", key);
    if (withName) o.Add(L"name", s.name);
  };
  switch (s.kind) {
    case StepKind::WriteDword:
      o.Add(L"action", L"write");
      place(true);
      o.Add(L"valueType", L"REG_DWORD").Add(L"data", static_cast<std::int64_t>(static_cast<std::uint32_t>(s.dword)));
      break;
    case StepKind::WriteString:
    case StepKind::WriteExpandString:
      o.Add(L"action", L"write");
      place(true);
      o.Add(L"valueType", s.kind == StepKind::WriteString ? L"REG_SZ" : L"REG_EXPAND_SZ").Add(L"data", s.text);
      break;
    case StepKind::DeleteValue: o.Add(L"action", L"delete value"); place(true); break;
    case StepKind::DeleteKey: o.Add(L"action", L"delete key"); place(false); break;
    case StepKind::CreateKey: o.Add(L"action", L"create key"); place(false); break;
    case StepKind::Run: o.Add(L"action", L"run").Add(L"command", L"cmd.exe " + s.text); break;
    case StepKind::Wait: o.Add(L"action", L"wait").Add(L"ms", static_cast<std::int64_t>(s.ms)); break;
    case StepKind::Special:
      o.Add(L"action", L"special").Add(L"special", SpecialStepName(s.special));
      if (!s.key.empty()) place(true);
      if (s.special == SpecialStep::RewriteHostsFile) o.Add(L"code", s.dword);
      if (!s.text.empty()) o.Add(L"text", s.text);
      break;
    case StepKind::Succeed: o.Add(L"action", L"succeed"); break;
  }
  if (s.condition == StepCondition::IfPreviousFailed) o.Add(L"onlyIfPreviousFailed", true);
  if (s.alwaysSucceeds) o.Add(L"alwaysSucceeds", true);
  if (s.decides) o.Add(L"decides", true);
  return o;
}

void WriteFinding(CommandLineContext& context, bool json, const Finding& f) {
  if (json) {
    context.out.Write(JsonObject().Add(L"type", L"problem").Add(L"id", f.id).Add(L"item", f.index).Add(L"text", f.text).Line());
  } else {
    context.out.Write(Padded(std::to_wstring(f.id), 3) + f.text + L"\n");
  }
}

}  // namespace

std::wstring RepairTitle(const Repair& r) {
  std::wstring text = r.caption ? r.caption : (r.scanText ? r.scanText : L"");
  const std::size_t end = text.find(L". ");
  if (end != std::wstring::npos) text.erase(end);
  return text;
}

std::vector<Finding> ScanSystem(System& system, const RepairArgs& args) {
  std::vector<Finding> found;
  for (int index = 0; index < kScanItemCount; ++index) {
    if (!ScanItemOffered(index, args.windows)) continue;
    const int checkId = ScanItemCheckId(index, args.windows);
    if (checkId == 0 || !RunCheck(system, checkId, args)) continue;
    found.push_back({index, ScanItemFixId(index), ScanItemDescription(index)});
  }
  return found;
}

int ListCommand(CommandLineContext& context, const Invocation& inv) {
  if (!inv.json) context.out.Write(L"ID   Page and row       Check  .reg export    Caption\n");
  for (const Repair& r : Repairs()) {
    const auto exportable = ExportableOn(r);
    if (inv.json) {
      JsonObject o;
      o.Add(L"type", L"repair").Add(L"id", r.id);
      if (r.category == Category::None) o.AddNull(L"category").AddNull(L"row");
      else o.Add(L"category", CategoryCaption(r.category)).Add(L"row", r.row);
      o.Add(L"caption", r.caption).Add(L"check", r.check != nullptr).Add(L"exportable", exportable);
      o.Add(L"disabledOn", VersionNames(r.disabledOn));
      context.out.Write(o.Line());
    } else {
      context.out.Write(Padded(std::to_wstring(r.id), 4) + Padded(Place(r), 18) + Padded(r.check ? L"yes" : L"-", 6) +
                        Padded(JoinVersions(exportable), 14) + (r.caption ? r.caption : L"") + L"\n");
    }
  }
  return kExitOk;
}

int ShowCommand(CommandLineContext& context, const Invocation& inv, WindowsVersion windows) {
  const Repair& r = *FindRepair(inv.ids.front());
  RepairArgs args;
  args.windows = windows;
  // On this Windows the steps name the keys they really act on (HKCU may be another user's).
  const Plan plan = context.live ? LocatePlan(context.system.registry(), r.plan(args)) : r.plan(args);
  const bool exportable = IsExportable(r.id, ExportFormat::Reg, windows);
  const bool disabled = r.disabledOn.Contains(windows);
  if (inv.json) {
    JsonObject o;
    o.Add(L"type", L"repair").Add(L"id", r.id).Add(L"windows", VersionName(windows)).Add(L"place", Place(r));
    o.Add(L"caption", r.caption).Add(L"check", r.check != nullptr).Add(L"exportable", exportable);
    o.Add(L"disabled", disabled).Add(L"scanText", r.scanText).Add(L"steps", static_cast<std::int64_t>(plan.size()));
    context.out.Write(o.Line());
    int number = 1;
    for (const Step& s : plan) context.out.Write(StepObject(r.id, number++, s).Line());
    return kExitOk;
  }
  std::wstring text = L"Repair " + std::to_wstring(r.id) + L" on Windows " + VersionName(windows) + L": " + Place(r) + L"\n";
  if (r.caption) text += L"  " + std::wstring(r.caption) + L"\n";
  if (r.scanText) text += L"  scan item: " + std::wstring(r.scanText) + L"\n";
  text += std::wstring(L"  check: ") + (r.check ? L"yes" : L"no") + L"   .reg export: " + (exportable ? L"yes" : L"no") +
          L"   " + (disabled ? L"disabled on this version: fix refuses it" : L"enabled") + L"\n";
  text += L"  steps:\n" + DescribePlan(plan);
  context.out.Write(text);
  return kExitOk;
}

int PreviewCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args) {
  for (int id : inv.ids) {
    const std::wstring text = FormatPreview(PreviewRepair(context.system, id, args));
    if (inv.json) {
      context.out.Write(JsonObject().Add(L"type", L"preview").Add(L"id", id).Add(L"windows", VersionName(args.windows))
                            .Add(L"text", text).Line());
    } else {
      context.out.Write(L"Repair " + std::to_wstring(id) + L" on Windows " + VersionName(args.windows) +
                        L" (preview, nothing written):\n" + text + (text.empty() || text.back() == L'\n' ? L"" : L"\n"));
    }
  }
  return kExitOk;
}

int ScanCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args) {
  const auto found = ScanSystem(context.system, args);
  for (const Finding& f : found) WriteFinding(context, inv.json, f);
  if (inv.json) {
    context.out.Write(JsonObject().Add(L"type", L"summary").Add(L"windows", VersionName(args.windows))
                          .Add(L"problems", static_cast<std::int64_t>(found.size())).Line());
  } else if (found.empty()) {
    context.out.Write(L"No problems found.\n");
  } else {
    context.out.Write(std::to_wstring(found.size()) + (found.size() == 1 ? L" problem" : L" problems") +
                      L" found. Repair them with: corrivo fix --found\n");
  }
  return found.empty() ? kExitOk : kExitProblems;
}

int FixCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args) {
  std::vector<int> ids = inv.ids;
  if (inv.found) {
    for (const Finding& f : ScanSystem(context.system, args)) {
      WriteFinding(context, inv.json, f);
      if (std::find(ids.begin(), ids.end(), f.id) == ids.end()) ids.push_back(f.id);
    }
    if (ids.empty()) {
      context.out.Write(inv.json ? JsonObject().Add(L"type", L"summary").Add(L"fixed", 0).Add(L"failed", 0).Line()
                                 : L"No problems found; nothing to fix.\n");
      return kExitOk;
    }
  }
  int fixed = 0, failed = 0;
  System system = context.system;
  system.journal = inv.noJournal ? nullptr : context.journal;
  for (int id : ids) {
    std::wstring refusal;
    const bool ok = RunRepair(system, id, args, &refusal);
    if (!refusal.empty()) ReportError(context, inv.json, kExitProblems, L"repair " + std::to_wstring(id) + L": " + refusal);
    (ok ? fixed : failed)++;
    // The window's own result texts, so that a log reads like what the window shows.
    const wchar_t* result = ok ? L"Fixed!" : L"Fixed Failed!";
    if (inv.json) {
      context.out.Write(JsonObject().Add(L"type", L"result").Add(L"id", id).Add(L"fixed", ok).Add(L"result", result).Line());
    } else {
      context.out.Write(Padded(std::to_wstring(id), 3) + Padded(result, 13) + RepairTitle(*FindRepair(id)) + L"\n");
    }
  }
  // As after the window's fixes: Explorer rereads associations and icons once.
  if (fixed > 0) context.system.shell.NotifyAssociationsChanged();
  if (inv.json) {
    context.out.Write(JsonObject().Add(L"type", L"summary").Add(L"fixed", fixed).Add(L"failed", failed).Line());
  } else {
    context.out.Write(std::to_wstring(fixed) + L" fixed, " + std::to_wstring(failed) + L" failed.\n");
  }
  return failed == 0 ? kExitOk : kExitProblems;
}

int JournalCommand(CommandLineContext& context, const Invocation& inv) {
  System& system = context.system;
  std::wstring error;
  if (inv.pruneDays) {
    const int removed = PruneJournal(system, *context.journal, *inv.pruneDays, &error);
    if (removed < 0) return ReportError(context, inv.json, kExitProblems, error);
    context.out.Write(inv.json ? JsonObject().Add(L"type", L"summary").Add(L"removed", removed).Line()
                               : L"Removed " + std::to_wstring(removed) + L" journal entries older than " +
                                     std::to_wstring(*inv.pruneDays) + L" days.\n");
    return kExitOk;
  }
  std::vector<JournalEntryInfo> entries;
  if (!ListJournal(system, *context.journal, &entries, &error)) return ReportError(context, inv.json, kExitProblems, error);
  for (const JournalEntryInfo& e : entries) {
    if (inv.json) {
      context.out.Write(JsonObject().Add(L"type", L"entry").Add(L"entry", e.name).Add(L"repair", e.repair)
                            .Add(L"caption", e.caption).Add(L"time", e.time).Add(L"windows", e.windows)
                            .Add(L"user", e.user).Line());
    } else {
      context.out.Write(e.name + L"  " + e.time + L"  " + e.repair + (e.caption.empty() ? L"" : L"  " + e.caption) + L"\n");
    }
  }
  if (!inv.json)
    context.out.Write(entries.empty() ? L"The journal in " + context.journal->folder + L" is empty.\n"
                                      : std::to_wstring(entries.size()) + L" entries in " + context.journal->folder +
                                            L". Undo one with: corrivo undo ENTRY (or last)\n");
  return kExitOk;
}

int UndoCommand(CommandLineContext& context, const Invocation& inv, const RepairArgs& args) {
  const UndoOutcome undo = UndoJournalEntry(context.system, *context.journal, inv.entry, args.windows, !inv.noJournal);
  if (!undo.changed) return ReportError(context, inv.json, kExitProblems, undo.error);
  if (inv.json) {
    context.out.Write(JsonObject().Add(L"type", L"undo").Add(L"entry", inv.entry).Add(L"undone", undo.ok)
                          .Add(L"undoEntry", undo.undoEntry).Line());
  } else {
    context.out.Write((undo.ok ? L"Undone: " : L"Undone in part: ") + inv.entry +
                      (undo.undoEntry.empty() ? L"" : L" (to take this back: corrivo undo " + undo.undoEntry + L")") + L"\n");
  }
  if (!undo.ok) return ReportError(context, inv.json, kExitProblems, undo.error);
  return kExitOk;
}

int ExportCommand(CommandLineContext& context, const Invocation& inv, WindowsVersion windows) {
  const ExportFormat format = ToExportFormat(*inv.format);
  const std::wstring what = std::wstring(FormatName(*inv.format)) + L" for Windows " + VersionName(windows);
  ExportOptions options{};
  options.registryOnly = inv.registryOnly;
  const ExportResult result = ExportRepairs(format, inv.ids, windows, options);
  if (!result.ok) {
    // The exporter names each refused repair on a line of its own; an error here is one line.
    std::wstring reasons;
    for (const auto& line : Split(result.error, L'\n'))
      if (!Trim(line).empty()) reasons += (reasons.empty() ? L"" : L"; ") + Trim(line);
    return ReportError(context, inv.json, kExitRefused,
                       L"cannot export as " + what + L": " + reasons + L"; nothing was written" +
                           (inv.registryOnly ? L"" : L" (--registry-only keeps only the registry steps)"));
  }
  if (!inv.output) {
    if (inv.json) {
      context.out.Write(JsonObject().Add(L"type", L"export").Add(L"format", FormatName(*inv.format))
                            .Add(L"windows", VersionName(windows)).Add(L"ids", inv.ids).Add(L"text", result.text).Line());
    } else {
      context.out.Write(result.text);
    }
    return kExitOk;
  }
  const std::string bytes = ExportFileBytes(format, result.text);
  if (!context.system.files.ReplaceWholeFile(*inv.output, bytes))
    return ReportError(context, inv.json, kExitProblems, L"cannot write " + Quote(*inv.output) + L"; it was left as it was");
  if (inv.json) {
    context.out.Write(JsonObject().Add(L"type", L"export").Add(L"format", FormatName(*inv.format))
                          .Add(L"windows", VersionName(windows)).Add(L"ids", inv.ids).Add(L"output", *inv.output)
                          .Add(L"bytes", static_cast<std::int64_t>(bytes.size())).Line());
  } else {
    context.out.Write(L"Wrote " + std::to_wstring(inv.ids.size()) + (inv.ids.size() == 1 ? L" repair" : L" repairs") +
                      L" (" + what + L") to " + *inv.output + L"\n");
  }
  return kExitOk;
}

}  // namespace corrivo::console

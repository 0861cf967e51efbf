#include "console/command_line.h"

#include <exception>

#include "catalog/catalog.h"
#include "console/arguments.h"
#include "console/commands.h"
#include "console/json.h"
#include "corrivo_version.h"
#include "sysaccess/ie_version.h"
#include "sysaccess/text.h"

namespace corrivo::console {
namespace {

std::wstring DetectedVersionText(OperatingSystem& os) {
  std::uint32_t major = 0, minor = 0, productType = 0;
  if (!os.QueryVersion(&major, &minor, &productType)) return L"unknown version";
  return L"version " + std::to_wstring(major) + L"." + std::to_wstring(minor) +
         (productType == kProductTypeServer ? L", server" : L"");
}

// The refusals of a command that acts on this machine, in the order a user can do something
// about them. Answers 0 when the command may go on, with the arguments of this machine.
int CheckLiveCommand(CommandLineContext& context, const Invocation& inv, RepairArgs* args) {
  const std::wstring name = std::wstring(L"'") + CommandName(inv.command) + L"'";
  if (!context.live)
    return ReportError(context, inv.json, kExitRefused,
                       name + L" acts on the Windows it runs on, and this build runs on none (Corrivo.com does)");
  args->windows = DetectWindowsVersion(context.system.os);
  if (!IsSupported(args->windows)) return ReportError(context, inv.json, kExitRefused, UnsupportedWindowsMessage(context.system.os));
  args->ieVersionName = DetectIEVersionName(context.system.registry());
  if (inv.command != Command::Fix && inv.command != Command::Undo) return kExitOk;
  for (int id : inv.ids) {
    if (FindRepair(id)->disabledOn.Contains(args->windows))
      return ReportError(context, inv.json, kExitRefused,
                         L"repair " + std::to_wstring(id) + L" is disabled on Windows " + VersionName(args->windows) +
                             L"; nothing was changed");
  }
  if (!context.elevated)
    return ReportError(context, inv.json, kExitRefused,
                       name + L" changes the system and needs administrator rights: run it from a command prompt "
                       L"started as administrator; nothing was changed");
  if (inv.command == Command::Undo && !context.journal)
    return ReportError(context, inv.json, kExitRefused, L"there is no undo journal here; nothing was changed");
  return kExitOk;
}

// show and export describe a version: the one named, else the one this machine runs.
int ChooseVersion(CommandLineContext& context, const Invocation& inv, WindowsVersion* windows) {
  if (inv.windows) {
    *windows = *inv.windows;
    return kExitOk;
  }
  const std::wstring name = std::wstring(L"'") + CommandName(inv.command) + L"'";
  if (!context.live)
    return ReportError(context, inv.json, kExitRefused,
                       name + L" needs --windows xp, vista, 7 or 8 here: there is no Windows to take it from");
  *windows = DetectWindowsVersion(context.system.os);
  if (!IsSupported(*windows))
    return ReportError(context, inv.json, kExitRefused, UnsupportedWindowsMessage(context.system.os) + L"; name one with --windows");
  return kExitOk;
}

// Sends HKCU where --user asks, before anything reads the registry, and says whose settings
// the command reads and repairs when that is not plainly the one user of this session.
void ChooseCommandUser(CommandLineContext& context, const Invocation& inv) {
  if (!context.live || !context.userHive || !context.accounts) return;
  const DesktopUser user = ChooseUser(*context.userHive, *context.accounts, inv.user);
  std::wstring notice = UserNotice(user);
  const bool differ = user.state == DesktopUserState::OtherUser || user.state == DesktopUserState::HiveNotLoaded;
  if (inv.user == UserChoice::Current)
    notice = differ ? L"Repairs apply to the user Corrivo runs as, " + user.process.name + L" (--user current)" : L"";
  if (notice.empty()) return;
  const bool desktop = !context.userHive->Sid().empty();
  const Account& account = desktop ? user.desktop : user.process;
  context.out.Write(inv.json ? JsonObject()
                                   .Add(L"type", L"user")
                                   .Add(L"hive", desktop ? L"desktop" : L"current")
                                   .Add(L"name", account.name)
                                   .Add(L"sid", account.sid)
                                   .Add(L"message", notice)
                                   .Line()
                             : notice + L"\n");
}

int Dispatch(CommandLineContext& context, const Invocation& inv) {
  switch (inv.command) {
    case Command::Help:
      context.out.Write(inv.json ? JsonObject().Add(L"type", L"usage").Add(L"text", UsageText()).Line() : UsageText());
      return kExitOk;
    case Command::Version: {
      const std::wstring version = Utf8ToWide(CORRIVO_VERSION);
      context.out.Write(inv.json ? JsonObject().Add(L"type", L"version").Add(L"version", version).Line()
                                 : L"Corrivo " + version + L"\n");
      return kExitOk;
    }
    case Command::List: return ListCommand(context, inv);
    case Command::Show:
    case Command::Export: {
      WindowsVersion windows = WindowsVersion::Unknown;
      if (int refused = ChooseVersion(context, inv, &windows)) return refused;
      if (inv.command == Command::Show) ChooseCommandUser(context, inv);
      return inv.command == Command::Show ? ShowCommand(context, inv, windows) : ExportCommand(context, inv, windows);
    }
    case Command::Journal:
      if (!context.journal) return ReportError(context, inv.json, kExitRefused, L"there is no undo journal here");
      return JournalCommand(context, inv);
    case Command::Preview:
    case Command::Scan:
    case Command::Fix:
    case Command::Undo: break;
  }
  RepairArgs args;
  if (int refused = CheckLiveCommand(context, inv, &args)) return refused;
  ChooseCommandUser(context, inv);
  if (inv.command == Command::Preview) return PreviewCommand(context, inv, args);
  if (inv.command == Command::Scan) return ScanCommand(context, inv, args);
  if (inv.command == Command::Undo) return UndoCommand(context, inv, args);
  return FixCommand(context, inv, args);
}

}  // namespace

std::wstring UnsupportedWindowsMessage(OperatingSystem& os) {
  return L"this Windows (" + DetectedVersionText(os) + L") is not supported; Corrivo repairs Windows XP, Vista, 7 and 8";
}

std::wstring UsageText() {
  return L"Usage: corrivo <command> [--json]\n"
         L"\n"
         L"  list                    every repair: ID, page and row, check, .reg export, caption\n"
         L"  show ID [--windows V]   the steps of one repair on Windows V (default: this Windows)\n"
         L"  preview ID...           what the repairs would change on this Windows; writes nothing\n"
         L"  scan                    the 50 checks of General Fix; lists the problems found\n"
         L"  fix ID...               runs the repairs (administrator rights needed)\n"
         L"  fix --found             scans, then repairs what the scan found\n"
         L"  fix ... --no-journal    the same, keeping no undo journal\n"
         L"  journal [--prune DAYS]  the undo journal's entries; --prune removes those older than DAYS\n"
         L"  undo ENTRY|last         gives back what a journal entry saved (administrator rights needed)\n"
         L"  export --format F [--windows V] [--output FILE] [--registry-only] ID...\n"
         L"                          the repairs as a .reg file, a cmd script or an Ansible playbook\n"
         L"  --version               the program's version\n"
         L"  /? or --help            this text\n"
         L"\n"
         L"  show, preview, scan and fix take --user U: whose settings (HKEY_CURRENT_USER) they\n"
         L"  read and repair when Corrivo runs as another user than the one at the desktop.\n"
         L"\n"
         L"  V: xp, vista, 7 or 8.  F: reg, cmd or ansible.  U: desktop (default) or current.\n"
         L"  --json: one JSON object per line.\n"
         L"Exit codes: 0 done, nothing found; 1 problems found, a repair failed; 2 wrong arguments;\n"
         L"  3 refused (no administrator rights, unsupported Windows, not on Windows, repair disabled).\n";
}

int ReportError(CommandLineContext& context, bool json, int code, const std::wstring& message) {
  if (json) {
    JsonObject o;
    o.Add(L"type", L"error").Add(L"exit", code).Add(L"message", message);
    if (code == kExitUsage) o.Add(L"usage", UsageText());
    context.err.Write(o.Line());
  } else {
    context.err.Write(L"corrivo: " + message + L"\n");
    if (code == kExitUsage) context.err.Write(L"\n" + UsageText());
  }
  return code;
}

int RunCommandLine(const std::vector<std::wstring>& args, CommandLineContext& context) {
  bool json = false;
  try {
    const ParsedArguments parsed = ParseArguments(args);
    json = parsed.invocation.json;
    if (!parsed.ok) return ReportError(context, json, kExitUsage, parsed.error);
    return Dispatch(context, parsed.invocation);
  } catch (const std::exception& e) {
    // Out of memory on a sick machine, most likely; the repairs done so far stand.
    try {
      return ReportError(context, json, kExitProblems, L"stopped: " + Utf8ToWide(e.what()));
    } catch (...) {
      return kExitProblems;
    }
  } catch (...) {
    return kExitProblems;
  }
}

}  // namespace corrivo::console

#include "catalog/shell_steps.h"

#include <vector>

#include "catalog/hosts_file.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

std::wstring FolderOf(const std::wstring& path) {
  std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring ReplyText(const std::vector<std::uint8_t>& reply) {
  std::size_t units = 0;
  while (units * 2 + 1 < reply.size() && (reply[units * 2] != 0 || reply[units * 2 + 1] != 0)) ++units;
  return Utf16LeToWide(reply.data(), units * 2);
}

std::uint32_t Utf16ByteSize(const std::wstring& text) {
  return static_cast<std::uint32_t>(WideToUtf16Le(text, true).size());
}

}  // namespace

std::wstring HomePageProtectionRequest(std::uint32_t sessionId, const std::wstring& browserTag) {
  return L":QV4_SetProtect:" + std::to_wstring(sessionId) + L"|" + browserTag;
}

bool CreateIEShortcuts(System& system) {
  ShellLinkFields fields;
  fields.target = system.os.FolderPath(KnownFolder::ProgramFiles) + L"\\Internet Explorer\\iexplore.exe";
  fields.workingDirectory = FolderOf(fields.target);
  fields.description = kIEShortcutDescription;
  std::unique_ptr<ShellLinkObject> link = system.shell.CreateShellLink(fields);
  if (!link) return true;
  // Read at this moment: the shell may have moved the folders since start-up.
  const Registry registry = system.registry();
  for (const wchar_t* folderValue : {L"Desktop", L"Start Menu"}) {
    std::wstring folder = registry.ReadString(RegRoot::CurrentUser, kShellFoldersKey, folderValue);
    link->SaveTo(folder + L"\\" + kIEShortcutName + L".lnk");
  }
  return true;
}

bool RequestHomePageProtection(System& system, const std::wstring& browserTag) {
  const std::wstring folder = ProgramFolder(system.os);
  if (folder.empty()) return false;
  const std::wstring path = folder + kHomePageLibraryName;

  if (!system.files.FileExists(path)) return false;
  std::unique_ptr<HomePageLibrary> library = system.shell.LoadHomePageLibrary(path);
  if (!library) return false;
  if (!library->HasFunc()) return false;
  std::uint32_t session = 0;
  if (!system.shell.CurrentSessionId(&session)) return false;

  std::vector<std::uint8_t> reply(kHomePageReplyBytes, 0);
  std::uint32_t replySize = kHomePageReplySize;
  const std::wstring request = HomePageProtectionRequest(session, browserTag);
  if (!library->CallFunc(kHomePageTarget, request, Utf16ByteSize(request), reply.data(), &replySize))
    return false;
  return ReplyText(reply) == L"1";
}

bool ResetIEToDefaults(System& system) {
  std::wstring folder = system.os.SystemFolder();
  if (!folder.empty()) {
    if (folder.back() != L'\\') folder += L'\\';
    system.shell.ResetIEToDefaults(folder + kInetcplName);
  }
  return true;
}

bool RunSpecialStep(System& system, const Step& step) {
  switch (step.special) {
    case SpecialStep::CreateIEShortcuts: return CreateIEShortcuts(system);
    case SpecialStep::RequestHomePageProtection:
      return RequestHomePageProtection(system, step.text.empty() ? std::wstring(L"ie") : step.text);
    case SpecialStep::ResetIEToDefaults: return ResetIEToDefaults(system);
    case SpecialStep::PatchStickyNotesFlags: return system.registry().PatchBinaryFlags(step.root, step.key, step.name);
    case SpecialStep::KillExplorer: return system.shell.KillProcessesByName(L"explorer.exe");
    case SpecialStep::RewriteHostsFile:
      return RewriteHostsFile(system, static_cast<WindowsVersion>(step.dword));
    case SpecialStep::RefreshDesktop: system.shell.RefreshDesktop(); return true;
    case SpecialStep::None: break;
  }
  return false;
}

}  // namespace corrivo

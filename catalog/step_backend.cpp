#include "catalog/step_backend.h"

#include <atomic>
#include <vector>

#include "catalog/hosts_file.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

std::atomic<SpecialStepBackend*> g_backend{nullptr};

// The folder part of a path, with its trailing backslash.
std::wstring FolderOf(const std::wstring& path) {
  std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// The null-terminated UTF-16 text at the start of the reply buffer; a reply that fills the
// whole buffer without a terminator is cut at its end.
std::wstring ReplyText(const std::vector<std::uint8_t>& reply) {
  std::size_t units = 0;
  while (units * 2 + 1 < reply.size() && (reply[units * 2] != 0 || reply[units * 2 + 1] != 0)) ++units;
  return Utf16LeToWide(reply.data(), units * 2);
}

// The request's size in bytes as the component expects it: UTF-16 code units plus the null.
std::uint32_t Utf16ByteSize(const std::wstring& text) {
  return static_cast<std::uint32_t>(WideToUtf16Le(text, true).size());
}

}  // namespace

SpecialStepBackend& CurrentSpecialStepBackend() {
  SpecialStepBackend* b = g_backend.load(std::memory_order_acquire);
  return b ? *b : PlatformSpecialStepBackend();
}

ScopedSpecialStepBackend::ScopedSpecialStepBackend(SpecialStepBackend& backend)
    : previous_(g_backend.exchange(&backend, std::memory_order_acq_rel)) {}
ScopedSpecialStepBackend::~ScopedSpecialStepBackend() { g_backend.store(previous_, std::memory_order_release); }

std::wstring HomePageProtectionRequest(std::uint32_t sessionId, const std::wstring& browserTag) {
  return L":QV4_SetProtect:" + std::to_wstring(sessionId) + L"|" + browserTag;
}

bool CreateIEShortcuts() {
  ShellLinkFields fields;
  fields.target = SpecialFolderPath(kCsidlProgramFiles) + L"\\Internet Explorer\\iexplore.exe";
  fields.workingDirectory = FolderOf(fields.target);
  fields.description = kIEShortcutDescription;
  std::unique_ptr<ShellLinkObject> link = CurrentSpecialStepBackend().CreateShellLink(fields);
  if (!link) return true;
  // Each folder is read just before its save: the system (and Wine) may rewrite these values.
  for (const wchar_t* folderValue : {L"Desktop", L"Start Menu"}) {
    std::wstring folder = ReadRegString(L"HKEY_CURRENT_USER", kShellFoldersKey, folderValue);
    link->SaveTo(folder + L"\\" + kIEShortcutName + L".lnk");
  }
  return true;
}

bool RequestHomePageProtection(const std::wstring& browserTag) {
  // Only ever the copy beside the program, by its full path: an elevated program must not
  // pick a library of this name up from the current folder or the search path. The path is
  // formed afresh on every call and kept nowhere else, so the two threads never share it.
  TAppFrame frame;
  if (frame.ExeDir.empty()) return false;
  const std::wstring path = frame.ExeDir + kHomePageLibraryName;

  SpecialStepBackend& backend = CurrentSpecialStepBackend();
  if (!backend.FileExists(path)) return false;
  std::unique_ptr<HomePageLibrary> library = backend.LoadHomePageLibrary(path);
  if (!library) return false;
  if (!library->HasFunc()) return false;
  std::uint32_t session = 0;
  if (!backend.CurrentSessionId(&session)) return false;

  std::vector<std::uint8_t> reply(kHomePageReplyBytes, 0);
  std::uint32_t replySize = kHomePageReplySize;
  const std::wstring request = HomePageProtectionRequest(session, browserTag);
  if (!library->CallFunc(kHomePageTarget, request, Utf16ByteSize(request), reply.data(), &replySize))
    return false;
  return ReplyText(reply) == L"1";
}

bool ResetIEToDefaults() {
  std::wstring system = SystemFolder();
  if (!system.empty()) {
    if (system.back() != L'\\') system += L'\\';
    CurrentSpecialStepBackend().ResetIEToDefaults(system + kInetcplName);
  }
  return true;
}

bool RunSpecialStep(const Step& step) {
  switch (step.special) {
    case SpecialStep::CreateIEShortcuts: return CreateIEShortcuts();
    case SpecialStep::RequestHomePageProtection:
      return RequestHomePageProtection(step.text.empty() ? std::wstring(L"ie") : step.text);
    case SpecialStep::ResetIEToDefaults: return ResetIEToDefaults();
    case SpecialStep::PatchStickyNotesFlags: return PatchRegBinaryFlags(step.root, step.key, step.name);
    case SpecialStep::KillExplorer: return KillProcessByName(L"explorer.exe");
    case SpecialStep::RewriteHostsFile: return RewriteHostsFile(step.dword);
    case SpecialStep::None: break;
  }
  return false;
}

}  // namespace corrivo

// Repairs 701 and 702: the hosts file and the open commands of the system's file types.
#include "catalog/catalog.h"
#include "catalog/registry_paths.h"

namespace corrivo {
namespace {

using namespace paths;

Plan HostsFile(const RepairArgs& a) {
  // The file is often made read-only and system by malware; the flags go back after the rewrite.
  return {Run(L"/c attrib -s -r -h %SystemRoot%\\system32\\drivers\\etc\\hosts"), Wait(500),
          Deciding(Special(SpecialStep::RewriteHostsFile, kHKLM, {}, {}, VersionCode(a.windows))),
          Run(L"/c attrib +s %SystemRoot%\\system32\\drivers\\etc\\hosts")};
}

std::wstring OpenCommandKey(const wchar_t* fileType) {
  return std::wstring(L"\\") + fileType + L"\\shell\\open\\command";
}

Plan FileAssociations(const RepairArgs& a) {
  const wchar_t* const kNotepad = L"%SystemRoot%\\System32\\NOTEPAD.EXE %1";
  const wchar_t* const kRunItself = L"\"%1\" %*";
  const wchar_t* const kScript = L"%SystemRoot%\\System32\\WScript.exe \"%1\" %*";
  const wchar_t* const kHelp = a.windows == WindowsVersion::XP ? L"%SystemRoot%\\System32\\WinHlp32.exe %1"
                                                               : L"%SystemRoot%\\WinHlp32.exe %1";
  return {WriteExpandString(kHKCR, OpenCommandKey(L"txtfile"), L"", kNotepad),
          WriteString(kHKCR, OpenCommandKey(L"exefile"), L"", kRunItself),
          WriteString(kHKCR, OpenCommandKey(L"comfile"), L"", kRunItself),
          WriteString(kHKCR, OpenCommandKey(L"piffile"), L"", kRunItself),
          WriteString(kHKCR, OpenCommandKey(L"regfile"), L"", L"regedit.exe \"%1\""),
          WriteString(kHKCR, OpenCommandKey(L"batfile"), L"", kRunItself),
          WriteString(kHKCR, OpenCommandKey(L"scrfile"), L"", L"\"%1\" /S"),
          WriteExpandString(kHKCR, OpenCommandKey(L"chmfile"), L"", L"%SystemRoot%\\hh.exe %1"),
          WriteExpandString(kHKCR, OpenCommandKey(L"hlpfile"), L"", kHelp),
          WriteExpandString(kHKCR, OpenCommandKey(L"inifile"), L"", kNotepad),
          WriteExpandString(kHKCR, OpenCommandKey(L"inffile"), L"", kNotepad),
          WriteExpandString(kHKCR, OpenCommandKey(L"vbsfile"), L"", kScript),
          WriteExpandString(kHKCR, OpenCommandKey(L"jsfile"), L"", kScript),
          CreateKey(kHKCR, L"\\lnkfile\\shellex\\ContextMenuHandlers\\{00021401-0000-0000-C000-000000000046}")};
}

const Repair kRepairs[] = {
    {701, Category::Security, 11, L"Restore the hosts file to its default status.", RepairArgument::WindowsVersion,
     HostsFile, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
    {702, Category::Security, 12, L"Restore the system file association to its default status.",
     RepairArgument::WindowsVersion, FileAssociations, nullptr, nullptr, kNowhere, kNowhere, kNowhere},
};

}  // namespace

std::span<const Repair> HostsAndAssociationRepairs() { return kRepairs; }

}  // namespace corrivo

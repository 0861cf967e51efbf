// Repairs 701-702: the hosts file and the open commands of the common system file types.
#include "catalog/groups.h"
#include "sysaccess/platform.h"

namespace corrivo::groups {
namespace {

const std::wstring kHKCR = L"HKEY_CLASSES_ROOT";

// The attribute commands let the interpreter expand %SystemRoot% itself.
Plan PlanHostsFile(std::int32_t osVersionCode) {
  Plan plan;
  plan.push_back(Run(L"/c attrib -s -r -h %SystemRoot%\\system32\\drivers\\etc\\hosts"));
  // The attribute change runs on its own; give it a moment before the file is replaced.
  plan.push_back(Wait(500));
  plan.push_back(Deciding(Special(SpecialStep::RewriteHostsFile, {}, {}, {}, osVersionCode)));
  // Only the system attribute comes back, whether or not the write succeeded.
  plan.push_back(Run(L"/c attrib +s %SystemRoot%\\system32\\drivers\\etc\\hosts"));
  return plan;
}

std::wstring OpenCommandKey(const wchar_t* fileType) {
  return std::wstring(L"\\") + fileType + L"\\shell\\open\\command";
}

Plan PlanFileAssociations(std::int32_t osVersionCode) {
  const wchar_t* const kNotepad = L"%SystemRoot%\\System32\\NOTEPAD.EXE %1";
  const wchar_t* const kRunItself = L"\"%1\" %*";
  const wchar_t* const kScript = L"%SystemRoot%\\System32\\WScript.exe \"%1\" %*";
  // XP keeps the Help program in the system folder, later versions in the Windows folder.
  const wchar_t* const kHelp = osVersionCode == kOsXP ? L"%SystemRoot%\\System32\\WinHlp32.exe %1"
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
          // The shortcut handler only has to exist; its content is left alone.
          CreateKey(kHKCR, L"\\lnkfile\\shellex\\ContextMenuHandlers\\{00021401-0000-0000-C000-000000000046}")};
}

}  // namespace

bool Plan7(int id, const FixArgs& args, Plan* plan) {
  switch (id) {
    case 701: *plan = PlanHostsFile(args.osVersionCode); return true;
    case 702: *plan = PlanFileAssociations(args.osVersionCode); return true;
    default: return false;
  }
}

}  // namespace corrivo::groups

#include "sysaccess/commands.h"

#include <algorithm>

#include "sysaccess/text.h"

namespace corrivo {
namespace {

std::wstring Joined(std::wstring folder, const wchar_t* name) {
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder + L"\\" + name;
}

}  // namespace

std::vector<Interpreter> CommandInterpreters(CommandWorld world, bool wow64, bool hasSysnative,
                                             const std::wstring& windowsFolder, const std::wstring& systemFolder) {
  std::vector<Interpreter> out;
  if (systemFolder.empty()) return out;
  const Interpreter ownWorld{Joined(systemFolder, L"cmd.exe"), false};
  if (!wow64) {
    out.push_back(ownWorld);
    return out;
  }
  if (hasSysnative && !windowsFolder.empty())
    out.push_back({Joined(Joined(windowsFolder, L"Sysnative"), L"cmd.exe"), false});
  else
    out.push_back({ownWorld.path, true});
  if (world == CommandWorld::BothWorlds) out.push_back(ownWorld);
  return out;
}

std::vector<std::wstring> CommandEnvironment(const EnvironmentAnswers& a) {
  const std::wstring drive = a.windowsFolder.size() >= 2 && a.windowsFolder[1] == L':' ? a.windowsFolder.substr(0, 2)
                                                                                        : std::wstring();
  const std::pair<const wchar_t*, std::wstring> entries[] = {
      {L"SystemRoot", a.windowsFolder},
      {L"windir", a.windowsFolder},
      {L"SystemDrive", drive},
      {L"ComSpec", a.systemFolder.empty() ? std::wstring() : Joined(a.systemFolder, L"cmd.exe")},
      {L"Path", a.systemFolder.empty() ? std::wstring()
                                       : a.systemFolder + L";" + a.windowsFolder + L";" + Joined(a.systemFolder, L"Wbem")},
      {L"PATHEXT", L".COM;.EXE;.BAT;.CMD;.VBS;.JS;.WSF;.MSC"},
      {L"ProgramFiles", a.programFiles},
      {L"ProgramFiles(x86)", a.programFilesX86},
      {L"CommonProgramFiles", a.commonProgramFiles},
      {L"ProgramData", a.programData},
      {L"ALLUSERSPROFILE", a.programData},
      {L"APPDATA", a.appData},
      {L"LOCALAPPDATA", a.localAppData},
      {L"USERPROFILE", a.userProfile},
      {L"TEMP", a.temp},
      {L"TMP", a.temp},
      {L"COMPUTERNAME", a.computerName},
      {L"USERNAME", a.userName},
  };
  std::vector<std::wstring> out;
  for (const auto& [name, value] : entries) {
    if (value.empty() || value.find_first_of(L"\"\r\n") != std::wstring::npos) continue;
    out.push_back(std::wstring(name) + L"=" + value);
  }
  std::sort(out.begin(), out.end(), [](const std::wstring& x, const std::wstring& y) {
    return ToLower(x.substr(0, x.find(L'='))) < ToLower(y.substr(0, y.find(L'=')));
  });
  return out;
}

}  // namespace corrivo

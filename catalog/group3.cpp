// Repairs 301-310: Windows Media Player's components, settings and library.
#include "catalog/groups.h"
#include "catalog/literals.h"
#include "sysaccess/registry.h"

namespace corrivo::groups {
namespace {

using namespace literals;

constexpr const wchar_t* kWmpPolicies = L"\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer";

// Vista's player registrations whose ProgID default value third-party players overwrite.
// The GUIDs keep their letter case (the last one is partly lower case).
struct ProgIdRow {
  const wchar_t* clsid;
  const wchar_t* progId;
};
constexpr ProgIdRow kVistaProgIds[] = {
    {L"{CD3AFA71-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WMZ"},
    {L"{CD3AFA72-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.AIFF"},
    {L"{CD3AFA73-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.AU"},
    {L"{CD3AFA74-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MIDI"},
    {L"{CD3AFA76-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MP3"},
    {L"{CD3AFA77-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MP3"},
    {L"{CD3AFA78-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MPU"},
    {L"{CD3AFA7B-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WAV"},
    {L"{CD3AFA83-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WAV"},
    {L"{CD3AFA84-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WMA"},
    {L"{CD3AFA88-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.AVI"},
    {L"{CD3AFA89-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.MPEG"},
    {L"{CD3AFA8F-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASX"},
    {L"{CD3AFA90-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASX"},
    {L"{CD3AFA92-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASF"},
    {L"{CD3AFA93-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.ASX"},
    {L"{CD3AFA94-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WMV"},
    {L"{CD3AFA95-B84F-48F0-9393-7EDC34128127}", L"WMP11.AssocFile.WVX"},
    {L"{EE4DA6A4-8C52-4a63-BBB8-97C93D7E1B6C}", L"WMP11.AssocFile.WMD"},
};

Plan Plan302(std::int32_t osVersionCode) {
  Plan plan;
  if (osVersionCode == 1) {
    for (const ProgIdRow& row : kVistaProgIds)
      plan.push_back(WriteString(kHKCR, std::wstring(L"\\CLSID\\") + row.clsid + L"\\ProgID", L"", row.progId));
  }
  plan.push_back(Run(L"/c regsvr32 /s wmp.dll"));
  return plan;
}

}  // namespace

bool Plan3(int id, const FixArgs& args, Plan* plan) {
  switch (id) {
    case 301: *plan = {Run(L"/c regsvr32 /s jscript.dll"), Run(L"/c regsvr32 /s vbscript.dll")}; return true;
    case 302: *plan = Plan302(args.osVersionCode); return true;
    case 303: *plan = {Run(L"/c regsvr32 /s WMPhoto.dll")}; return true;
    case 304:
      *plan = {WriteDword(kHKLM, L"\\SOFTWARE\\Clients\\Media\\Windows Media Player\\Capabilities\\", L"Hidden", 0),
               WriteDword(kHKLM, L"\\SOFTWARE\\Clients\\Media\\Windows Media Player\\InstallInfo\\", L"IconsVisible", 1)};
      return true;
    case 305: *plan = {Run(L"/c regsvr32 /s wmpcm.dll")}; return true;
    case 306: *plan = {Run(L"/c UNREGMP2.EXE /UPDATEWMPVERSION")}; return true;
    case 307:
      // Launched back to back: nothing waits for the service to stop before the folder goes.
      *plan = {Run(L"/c net stop WMPNetworkSvc"),
               Run(L"/c RD  /S /Q \"%Userprofile%\\AppData\\Local\\Microsoft\\Media Player\""),
               Run(L"/c MKDIR \"%Userprofile%\\AppData\\Local\\Microsoft\\Media Player\""),
               Run(L"/c net start WMPNetworkSvc")};
      return true;
    case 308: *plan = {WriteDword(kHKLM, kWmpPolicies, L"DisableAutoUpdate", 0)}; return true;
    case 309: *plan = {Run(L"/c Del /Q %ProgramData%\\Microsoft\\eHome\\*.db")}; return true;
    case 310:
      *plan = {DeleteValue(kHKCU, L"\\Software\\Microsoft\\MediaPlayer\\Preferences", L"RestrictFlash")};
      return true;
    default: return false;
  }
}

bool Check3(int id, const FixArgs& args, bool* problem) {
  switch (id) {
    case 301: case 302: case 303: case 304: case 305: case 307:
      *problem = true;
      return true;
    case 308:
      // A missing policy value counts as a problem too.
      *problem = ReadRegInteger(kHKLM, kWmpPolicies, L"DisableAutoUpdate") != 0;
      return true;
    default: return false;
  }
}

}  // namespace corrivo::groups

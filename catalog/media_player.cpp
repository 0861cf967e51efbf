// Repairs 301-310: Windows Media Player's components, associations, slideshow, context menu,
// mixer, reinstall, library, updates, Media Center database and Flash content.
#include "catalog/catalog.h"
#include "catalog/registry_paths.h"

namespace corrivo {
namespace {

using namespace paths;

constexpr const wchar_t* kWmpPolicies = L"\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer";

struct ProgIdRow {
  const wchar_t* clsid;
  const wchar_t* progId;
};
// Vista's player loses these class-to-ProgID links when another player registers its own wmp.dll.
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

Plan ThirdPartyWmpDll(const RepairArgs& a) {
  Plan plan;
  if (a.windows == WindowsVersion::Vista) {
    for (const ProgIdRow& row : kVistaProgIds)
      plan.push_back(WriteString(kHKCR, std::wstring(L"\\CLSID\\") + row.clsid + L"\\ProgID", L"", row.progId));
  }
  plan.push_back(Run(L"/c regsvr32 /s wmp.dll"));
  return plan;
}

bool AutoUpdateOff(const CheckContext& c) {
  return c.registry.ReadInteger(kHKLM, kWmpPolicies, L"DisableAutoUpdate") != 0;
}

const Repair kRepairs[] = {
    {301, Category::MediaPlayer, 1,
     L"Windows Media Player does not start and an error message appears \"An internal application error has occurred\".",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {Run(L"/c regsvr32 /s jscript.dll"), Run(L"/c regsvr32 /s vbscript.dll")}; },
     AlwaysAProblem,
     L"Windows Media Player does not start and an error message appears \"An internal application error has occurred\".",
     kNowhere, kEvery, kNowhere},
    {302, Category::MediaPlayer, 2,
     L"Windows Media Player stops responding after you install a third-party product that registers its own version of the Wmp.dll file.",
     RepairArgument::WindowsVersion, ThirdPartyWmpDll, AlwaysAProblem,
     L"Windows Media Player stops responding after you install a third-party product that registers its own version of the Wmp.dll file.",
     kNowhere, kEvery, kNowhere},
    {303, Category::MediaPlayer, 3, L"Windows Media Player does not show slideshow correctly.", RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {Run(L"/c regsvr32 /s WMPhoto.dll")}; }, AlwaysAProblem,
     L"Windows Media Player does not show slideshow correctly.", kNowhere, kEvery, kNowhere},
    {304, Category::MediaPlayer, 4,
     L"Media files associated with Windows Media Player are missing right cilck Context menu.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {WriteDword(kHKLM, L"\\SOFTWARE\\Clients\\Media\\Windows Media Player\\Capabilities\\", L"Hidden", 0),
               WriteDword(kHKLM, L"\\SOFTWARE\\Clients\\Media\\Windows Media Player\\InstallInfo\\", L"IconsVisible", 1)};
     },
     AlwaysAProblem, L"Media files associated with Windows Media Player are missing right cilck Context menu.",
     kNowhere, kEvery, kNowhere},
    {305, Category::MediaPlayer, 5, L"Windows Media Player Compositing Mixer is not working properly.",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Run(L"/c regsvr32 /s wmpcm.dll")}; },
     AlwaysAProblem, L"Windows Median Player Compositing Mixer is not working properly.", kNowhere, kEvery, kNowhere},
    {306, Category::MediaPlayer, 6,
     L"Windows Media Player is not installed properly and must be reinstalled. Do you want to install the Player from Microsoft's website?",
     RepairArgument::None, [](const RepairArgs&) -> Plan { return {Run(L"/c UNREGMP2.EXE /UPDATEWMPVERSION")}; },
     nullptr,
     L"Windows Media Player is not installed properly and must be reinstalled. Do you want to install the Player from Microsoft Web site?",
     kNowhere, kNowhere, kNowhere},
    {307, Category::MediaPlayer, 7, L"Reset Windows Media Library and fix library sync issues.", RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {Run(L"/c net stop WMPNetworkSvc"),
               Run(L"/c RD  /S /Q \"%Userprofile%\\AppData\\Local\\Microsoft\\Media Player\""),
               Run(L"/c MKDIR \"%Userprofile%\\AppData\\Local\\Microsoft\\Media Player\""),
               Run(L"/c net start WMPNetworkSvc")};
     },
     AlwaysAProblem, L"Reset Windows Media Library and fix library sync issues.", kNowhere, kEvery, kNowhere},
    {308, Category::MediaPlayer, 8, L"Automatic Updates are not working for Windows Media Player.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {WriteDword(kHKLM, kWmpPolicies, L"DisableAutoUpdate", 0)}; },
     AutoUpdateOff, L"Automatic Updates not working for Windows Media Player.", kEvery, kEvery, kNowhere},
    {309, Category::MediaPlayer, 9, L"Flush and rebuild Windows Media Center database.", RepairArgument::None,
     [](const RepairArgs&) -> Plan { return {Run(L"/c Del /Q %ProgramData%\\Microsoft\\eHome\\*.db")}; }, nullptr,
     L"Flush and rebuild Windows Media Center database.", kNowhere, kNowhere, kXPAndVista},
    {310, Category::MediaPlayer, 10,
     L"Fix Windows Media player doesn't show flash content while visiting Online Stores or Media Guide.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {DeleteValue(kHKCU, L"\\Software\\Microsoft\\MediaPlayer\\Preferences", L"RestrictFlash")};
     },
     nullptr, L"Fix Windows Media player doesn't show flash content while visiting Online Stores or Media Guide.",
     kNowhere, kNowhere, kNowhere},
};

}  // namespace

std::span<const Repair> MediaPlayerRepairs() { return kRepairs; }

}  // namespace corrivo

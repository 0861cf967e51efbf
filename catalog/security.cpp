// Repairs 401-410: the policies that disable Task Manager, the command prompt, the Registry
// Editor and MMC snap-ins; Windows Search, System Restore, Device Manager, Defender, the
// Security Center and the component store.
#include <vector>

#include "catalog/catalog.h"
#include "catalog/registry_paths.h"

namespace corrivo {
namespace {

using namespace paths;

struct ValueRef {
  RegRoot root;
  const wchar_t* key;
  const wchar_t* name;
};

constexpr const wchar_t* kPolicyKeyUser = L"\\Software\\Policies\\Microsoft\\Windows\\System";
constexpr const wchar_t* kPolicyKeyUserExplorer = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr const wchar_t* kPolicyKeyMachine = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
constexpr const wchar_t* kPlugPlayKey = L"\\System\\CurrentControlSet\\services\\PlugPlay";
constexpr const wchar_t* kWinDefendKey = L"\\System\\CurrentControlSet\\services\\WinDefend";

std::vector<ValueRef> ToolPolicyValues(const wchar_t* name) {
  return {{kHKCU, kPolicyKeyUser, name}, {kHKCU, kPolicyKeyUserExplorer, name}, {kHKLM, kPolicyKeyMachine, name}};
}

std::vector<ValueRef> RegistryToolsValues() {
  return {{kHKCU, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", L"DisableRegistryTools"},
          {kHKLM, kPolicyKeyMachine, L"DisableRegistryTools"}};
}

std::vector<ValueRef> SnapinValues() {
  return {{kHKCU, L"\\Software\\Policies\\Microsoft\\MMC", L"RestrictToPermittedSnapins"}};
}

std::vector<ValueRef> SystemRestoreValues() {
  return {{kHKLM, L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore", L"RPSessionInterval"},
          {kHKLM, L"\\Software\\Policies\\Microsoft\\Windows NT\\SystemRestore\\", L"DisableConfig"},
          {kHKLM, L"\\Software\\Policies\\Microsoft\\Windows NT\\SystemRestore\\", L"DisableSR"}};
}

std::vector<ValueRef> ComponentStoreValues() {
  std::vector<ValueRef> values;
  for (const wchar_t* name :
       {L"StoreDirty", L"PendingXmlIdentifier", L"NextQueueEntryIndex", L"AdvancedInstallersNeedResolving"})
    values.push_back({kHKLM, L"\\COMPONENTS", name});
  return values;
}

Plan DeleteAll(const std::vector<ValueRef>& values) {
  Plan plan;
  for (const auto& v : values) plan.push_back(DeleteValue(v.root, v.key, v.name));
  return plan;
}

bool AnyPolicySet(const CheckContext& c, const std::vector<ValueRef>& values) {
  bool set = false;
  for (const auto& v : values) {
    const std::int32_t data = c.registry.ReadInteger(v.root, v.key, v.name);
    if (data != 0 && data != RegNoValue) set = true;
  }
  return set;
}

bool AnyValuePresent(const CheckContext& c, const std::vector<ValueRef>& values) {
  bool present = false;
  for (const auto& v : values)
    if (c.registry.ValueState(v.root, v.key, v.name) == kValuePresent) present = true;
  return present;
}

// Plug and Play starts on demand on Windows 8, automatically before.
std::int32_t PlugPlayStartType(WindowsVersion windows) { return windows == WindowsVersion::Eight ? 3 : 2; }

Plan DeviceManager(const RepairArgs& a) {
  return {WriteDword(kHKLM, kPlugPlayKey, L"Start", PlugPlayStartType(a.windows)), Run(L"/c regsvr32 /s devmgr.dll"),
          Run(L"/c net start PlugPlay")};
}

Plan Defender(const RepairArgs& a) {
  return {Run(L"/c net stop WinDefend"),
          WriteDword(kHKLM, kWinDefendKey, L"Start", a.windows == WindowsVersion::Eight ? 0 : 2),
          Run(L"/c \"%programfiles%\\Windows Defender\\MpCmdRun.exe\" -RemoveDefinitions -All"),
          Run(L"/c \"%programfiles%\\Windows Defender\\MpCmdRun.exe\" -RestoreDefaults"), Run(L"/c net start WinDefend")};
}

const Repair kRepairs[] = {
    {401, Category::Security, 1,
     L"Enable Task Manager. When you try to open or run Task Manager (Taskmgr.exe), the following error may occur: \"Task Manager has been disabled by your administrator\".",
     RepairArgument::None, [](const RepairArgs&) { return DeleteAll(ToolPolicyValues(L"DisableTaskMgr")); },
     [](const CheckContext& c) { return AnyPolicySet(c, ToolPolicyValues(L"DisableTaskMgr")); },
     L"Enable Task Manager. When you try to open or run Task Manager (Taskmgr.exe), the following error may occur:\"Task Manager has been disabled by your administrator\".",
     kEvery, kEvery, kNowhere},
    {402, Category::Security, 2,
     L"Enable Command Prompt. When you run cmd.exe or batch files, you may get message \"The command prompt has been disabled by your administrator\".",
     RepairArgument::None, [](const RepairArgs&) { return DeleteAll(ToolPolicyValues(L"DisableCMD")); },
     [](const CheckContext& c) { return AnyPolicySet(c, ToolPolicyValues(L"DisableCMD")); },
     L"Enable Command Prompt. When you run cmd.exe or batch files, you may get message \"The command prompt has been disabled by your administrator\".",
     kEvery, kEvery, kNowhere},
    {403, Category::Security, 3,
     L"Enable Registry Editor. An error message is displayed when you start the Registry Editer (regedit.exe) \"Registry Editing has been disabled by your administrator\".",
     RepairArgument::None, [](const RepairArgs&) { return DeleteAll(RegistryToolsValues()); },
     [](const CheckContext& c) { return AnyPolicySet(c, RegistryToolsValues()); },
     L"Enable Registry Editer. An error message is displayed when you start the Registry Editer (regedit.exe) \"Registry Editing has been disabled by your administrtor\".",
     kEvery, kEvery, kNowhere},
    {404, Category::Security, 4,
     L"Enable MMC Snap-ins. Some viruses disable users to run MMC Snap-ins, which prevents to run Group Policy (gpedit.msc), Local Security Policy, Disk Management, etc.",
     RepairArgument::None, [](const RepairArgs&) { return DeleteAll(SnapinValues()); },
     [](const CheckContext& c) { return AnyPolicySet(c, SnapinValues()); },
     L"Enable MMC Snap-ins. Some viruses disable users to run MMC Snap-ins, that prevent to run Group Policy (gpedit.msc), Local Security Policy, Disk Management, etc.",
     kEvery, kEvery, kNowhere},
    {405, Category::Security, 5,
     L"Reset Windows Search to Defaults. When searching in Windows you may get a message: \"Search Failed to Initialize.\"",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {Run(L"/c net stop WSearch"),
               WriteDword(kHKLM, L"\\SOFTWARE\\Microsoft\\Windows Search", L"SetupCompletedSuccessfully", 1),
               Run(L"/c net start WSearch")};
     },
     nullptr,
     L"Reset Windows Search to Defaults. When searching in Windows Vista you may get a message \"Search Failed to Initialize\".",
     kEvery, kNowhere, kXPOnly},
    {406, Category::Security, 6,
     L"Reset System Restore to Defaults. When create restore a point, you may get a message: \"System Restore has been turned off by group policy. To turn on System Restore, contact your domain Administrator.\"",
     RepairArgument::None, [](const RepairArgs&) { return DeleteAll(SystemRestoreValues()); },
     [](const CheckContext& c) { return AnyValuePresent(c, SystemRestoreValues()); },
     L"Reset System Restore to Defaults. When create restore point, you may get a message \"System Restore has been turned off by group policy. To turn on System Restore, contact your domain Administrator\".",
     kNowhere, kEvery, kNowhere},
    {407, Category::Security, 7, L"Device Manager is not working properly and not showing any devices.",
     RepairArgument::WindowsVersion, DeviceManager,
     [](const CheckContext& c) {
       return c.registry.ReadInteger(kHKLM, kPlugPlayKey, L"Start") != PlugPlayStartType(c.windows);
     },
     L"Device Manager is not working properly and not showing any devices.", kEvery, kEvery, kNowhere},
    {408, Category::Security, 8,
     L"Repair Windows Defender. It fixes all the Registry settings and service of Windows Defender to defaults.",
     RepairArgument::WindowsVersion, Defender, nullptr,
     L"Repair Windows Defender. It fixes all the Registry settings and service of Windows Defender to defaults.",
     kNowhere, kNowhere, kNowhere},
    {409, Category::Security, 9,
     L"Action Center and Windows Security Center no longer recognizes Anti-Virus and Firewall or still identifies old security software as installed.",
     RepairArgument::None,
     [](const RepairArgs&) -> Plan {
       return {Run(L"/c net stop winmgmt"), Run(L"/c net stop wscsvc"),
               Run(L"/c Rd /s /q \"%windir%\\System32\\wbem\\Repository\""), Run(L"/c net start wscsvc"),
               Run(L"/c net start winmgmt")};
     },
     nullptr,
     L"Action Center and Windows Secuity Center no longer recognizes AntiVirus and Firewall or still identifies old securety software as installed.",
     kNowhere, kNowhere, kNowhere},
    {410, Category::Security, 10, L"Fix 'Turn Windows Features On or Off ' dialog box is blank or empty.",
     RepairArgument::None, [](const RepairArgs&) { return DeleteAll(ComponentStoreValues()); },
     [](const CheckContext& c) { return AnyValuePresent(c, ComponentStoreValues()); },
     L"Fix \"Turn Windows Features On or Off\" dialog box is blank or empty.", kAfterXP, kAfterXP, kXPOnly},
};

}  // namespace

std::span<const Repair> SecurityRepairs() { return kRepairs; }

}  // namespace corrivo

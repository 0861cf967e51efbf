// Repairs 401-410: policy values that lock out the system tools, and the services and stores
// behind Windows Search, System Restore, Device Manager, Defender, the security center and
// the Windows features dialog.
#include <initializer_list>

#include "catalog/groups.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"

namespace corrivo::groups {
namespace {

const std::wstring kHKCU = L"HKEY_CURRENT_USER";
const std::wstring kHKLM = L"HKEY_LOCAL_MACHINE";

struct ValueRef {
  const std::wstring& root;
  const wchar_t* key;
  const wchar_t* name;
};

// The three places a "Disable..." policy of Task Manager or the command prompt can sit.
const wchar_t* const kPolicyKeyUser = L"\\Software\\Policies\\Microsoft\\Windows\\System";
const wchar_t* const kPolicyKeyUserExplorer =
    L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t* const kPolicyKeyMachine =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

std::vector<ValueRef> ToolPolicyValues(const wchar_t* name) {
  return {{kHKCU, kPolicyKeyUser, name},
          {kHKCU, kPolicyKeyUserExplorer, name},
          {kHKLM, kPolicyKeyMachine, name}};
}

std::vector<ValueRef> RegistryToolsValues() {
  return {{kHKCU, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
           L"DisableRegistryTools"},
          {kHKLM, kPolicyKeyMachine, L"DisableRegistryTools"}};
}

std::vector<ValueRef> SnapinValues() {
  return {{kHKCU, L"\\Software\\Policies\\Microsoft\\MMC", L"RestrictToPermittedSnapins"}};
}

std::vector<ValueRef> SystemRestoreValues() {
  return {{kHKLM, L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\SystemRestore",
           L"RPSessionInterval"},
          {kHKLM, L"\\Software\\Policies\\Microsoft\\Windows NT\\SystemRestore\\", L"DisableConfig"},
          {kHKLM, L"\\Software\\Policies\\Microsoft\\Windows NT\\SystemRestore\\", L"DisableSR"}};
}

std::vector<ValueRef> ComponentStoreValues() {
  std::vector<ValueRef> values;
  for (const wchar_t* name : {L"StoreDirty", L"PendingXmlIdentifier", L"NextQueueEntryIndex",
                              L"AdvancedInstallersNeedResolving"})
    values.push_back({kHKLM, L"\\COMPONENTS", name});
  return values;
}

const wchar_t* const kPlugPlayKey = L"\\System\\CurrentControlSet\\services\\PlugPlay";
const wchar_t* const kWinDefendKey = L"\\System\\CurrentControlSet\\services\\WinDefend";

Plan DeleteAll(const std::vector<ValueRef>& values) {
  Plan plan;
  for (const auto& v : values) plan.push_back(DeleteValue(v.root, v.key, v.name));
  return plan;
}

Plan PlanWindowsSearch() {
  return {Run(L"/c net stop WSearch"),
          WriteDword(kHKLM, L"\\SOFTWARE\\Microsoft\\Windows Search", L"SetupCompletedSuccessfully", 1),
          Run(L"/c net start WSearch")};
}

// Windows 8 starts Plug and Play on demand; the earlier systems start it automatically.
std::int32_t PlugPlayStartType(std::int32_t osVersionCode) { return osVersionCode == kOsWin8 ? 3 : 2; }

Plan PlanDeviceManager(std::int32_t osVersionCode) {
  return {WriteDword(kHKLM, kPlugPlayKey, L"Start", PlugPlayStartType(osVersionCode)),
          Run(L"/c regsvr32 /s devmgr.dll"),
          Run(L"/c net start PlugPlay")};
}

Plan PlanDefender(std::int32_t osVersionCode) {
  return {Run(L"/c net stop WinDefend"),
          WriteDword(kHKLM, kWinDefendKey, L"Start", osVersionCode == kOsWin8 ? 0 : 2),
          Run(L"/c \"%programfiles%\\Windows Defender\\MpCmdRun.exe\" -RemoveDefinitions -All"),
          Run(L"/c \"%programfiles%\\Windows Defender\\MpCmdRun.exe\" -RestoreDefaults"),
          Run(L"/c net start WinDefend")};
}

Plan PlanSecurityCenter() {
  return {Run(L"/c net stop winmgmt"),
          Run(L"/c net stop wscsvc"),
          Run(L"/c Rd /s /q \"%windir%\\System32\\wbem\\Repository\""),
          Run(L"/c net start wscsvc"),
          Run(L"/c net start winmgmt")};
}

// A policy blocks the tool when any of its values holds something other than 0; every value
// is read before deciding.
bool AnyPolicySet(const std::vector<ValueRef>& values) {
  bool set = false;
  for (const auto& v : values) {
    std::int32_t data = ReadRegInteger(v.root, v.key, v.name);
    if (data != 0 && data != RegNoValue) set = true;
  }
  return set;
}

bool AnyValuePresent(const std::vector<ValueRef>& values) {
  bool present = false;
  for (const auto& v : values) {
    if (GetRegValueState(v.root, v.key, v.name) == kValuePresent) present = true;
  }
  return present;
}

bool PlugPlayStartWrong(std::int32_t osVersionCode) {
  return ReadRegInteger(kHKLM, kPlugPlayKey, L"Start") != PlugPlayStartType(osVersionCode);
}

}  // namespace

bool Plan4(int id, const FixArgs& args, Plan* plan) {
  switch (id) {
    case 401: *plan = DeleteAll(ToolPolicyValues(L"DisableTaskMgr")); return true;
    case 402: *plan = DeleteAll(ToolPolicyValues(L"DisableCMD")); return true;
    case 403: *plan = DeleteAll(RegistryToolsValues()); return true;
    case 404: *plan = DeleteAll(SnapinValues()); return true;
    case 405: *plan = PlanWindowsSearch(); return true;
    case 406: *plan = DeleteAll(SystemRestoreValues()); return true;
    case 407: *plan = PlanDeviceManager(args.osVersionCode); return true;
    case 408: *plan = PlanDefender(args.osVersionCode); return true;
    case 409: *plan = PlanSecurityCenter(); return true;
    case 410: *plan = DeleteAll(ComponentStoreValues()); return true;
    default: return false;
  }
}

// 405, 408 and 409 have no check. 410 is not asked on Windows XP; the scan decides that.
bool Check4(int id, const FixArgs& args, bool* problem) {
  switch (id) {
    case 401: *problem = AnyPolicySet(ToolPolicyValues(L"DisableTaskMgr")); return true;
    case 402: *problem = AnyPolicySet(ToolPolicyValues(L"DisableCMD")); return true;
    case 403: *problem = AnyPolicySet(RegistryToolsValues()); return true;
    case 404: *problem = AnyPolicySet(SnapinValues()); return true;
    case 406: *problem = AnyValuePresent(SystemRestoreValues()); return true;
    case 407: *problem = PlugPlayStartWrong(args.osVersionCode); return true;
    case 410: *problem = AnyValuePresent(ComponentStoreValues()); return true;
    default: return false;
  }
}

}  // namespace corrivo::groups

#include "bench/checks_workload.h"

#include <map>

#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/memory/virtual_clock.h"

namespace corrivo::bench {
namespace {

// Passes every call on and notes each value query with the open that preceded it.
class RecordingBackend : public ForwardingRegistryBackend {
 public:
  using ForwardingRegistryBackend::ForwardingRegistryBackend;
  std::vector<RawRead> reads;

  long OpenKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    long rc = inner_.OpenKey(root, subkey, access, out);
    Note(rc, RawRead{root, subkey, access, false, {}, false}, *out);
    return rc;
  }
  long CreateKey(RegRoot root, const std::wstring& subkey, std::uint32_t access, RegHandle* out) override {
    long rc = inner_.CreateKey(root, subkey, access, out);
    Note(rc, RawRead{root, subkey, access, true, {}, false}, *out);
    return rc;
  }
  long CloseKey(RegHandle key) override {
    opened_.erase(key);
    return inner_.CloseKey(key);
  }
  long QueryValue(RegHandle key, const std::wstring& name, RegType* type, std::vector<std::uint8_t>* data) override {
    auto it = opened_.find(key);
    if (it != opened_.end()) {
      RawRead r = it->second;
      r.name = name;
      r.query = true;
      reads.push_back(r);
    }
    return inner_.QueryValue(key, name, type, data);
  }

 private:
  // A failed open is a read attempt a direct reader would make too; a successful one counts
  // with the queries made through it.
  void Note(long rc, const RawRead& open, RegHandle handle) {
    if (rc == regerr::kSuccess)
      opened_[handle] = open;
    else
      reads.push_back(open);
  }

  std::map<RegHandle, RawRead> opened_;
};

}  // namespace

void SeedByRepairs(System& system, const RepairArgs& args) {
  RecordingRunner runner;
  RecordingShellServices shell;
  VirtualClock clock;
  System seeding{system.registryBackend, runner, system.files, system.os, shell, clock};
  for (const Repair* r : ScannedRepairs())
    if (r->check) RunRepair(seeding, r->id, args);
}

Workload RecordWorkload(System& system, const RepairArgs& args) {
  Workload w;
  w.args = args;
  RecordingBackend recorder(system.registryBackend);
  System recorded{recorder, system.commands, system.files, system.os, system.shell, system.clock};
  RunChecks(recorded, w);
  w.reads = recorder.reads;
  // The desktop-icon check lists the user's desktop folder.
  const std::wstring desktop = system.os.FolderPath(KnownFolder::DesktopDirectory);
  if (!desktop.empty() && system.files.FolderExists(desktop)) w.folders.push_back(desktop + L"\\");
  return w;
}

int RunChecks(System& system, const Workload& w) {
  int problems = 0;
  for (const Repair* r : ScannedRepairs())
    if (r->check && r->scanCheckedOn.Contains(w.args.windows) && RunCheck(system, r->id, w.args)) ++problems;
  return problems;
}

int RunRawReads(System& system, const Workload& w) {
  RegistryBackend& reg = system.registryBackend;
  int ok = 0;
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
  for (const RawRead& r : w.reads) {
    RegHandle h = 0;
    long rc = r.create ? reg.CreateKey(r.root, r.subkey, r.access, &h) : reg.OpenKey(r.root, r.subkey, r.access, &h);
    if (rc != regerr::kSuccess) continue;
    if (r.query && reg.QueryValue(h, r.name, &type, &data) == regerr::kSuccess) ++ok;
    reg.CloseKey(h);
  }
  std::vector<std::wstring> names;
  for (const auto& folder : w.folders) {
    names.clear();
    system.files.ListFolder(folder, &names);
    ok += static_cast<int>(names.size());
  }
  return ok;
}

}  // namespace corrivo::bench

#include "bench/checks_workload.h"

#include <map>

#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/platform.h"
#include "sysaccess/platform_primitives.h"
#include "sysaccess/shell.h"

namespace corrivo::bench {
namespace {

// Passes every call on and notes each value query with the open that preceded it.
class RecordingBackend : public RegistryBackend {
 public:
  explicit RecordingBackend(RegistryBackend& inner) : inner_(inner) {}
  std::vector<RawRead> reads;

  bool IsWow64() override { return inner_.IsWow64(); }
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
  long SetValue(RegHandle key, const std::wstring& name, RegType type, const std::vector<std::uint8_t>& data) override {
    return inner_.SetValue(key, name, type, data);
  }
  long DeleteValue(RegHandle key, const std::wstring& name) override { return inner_.DeleteValue(key, name); }
  long EnumSubKey(RegHandle key, std::uint32_t index, std::wstring* name) override {
    return inner_.EnumSubKey(key, index, name);
  }
  long DeleteSubKey(RegHandle parent, const std::wstring& name, std::uint32_t viewAccess) override {
    return inner_.DeleteSubKey(parent, name, viewAccess);
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

  RegistryBackend& inner_;
  std::map<RegHandle, RawRead> opened_;
};

}  // namespace

std::vector<int> ScanItemIds() {
  std::vector<int> ids;
  for (int i = 0; i < 50; ++i) ids.push_back((i / 10 + 1) * 100 + i % 10 + 1);
  return ids;
}

void SeedByRepairs(const FixArgs& args) {
  RecordingRunner runner;
  ScopedCommandRunner scoped(runner);
  for (int id : ScanItemIds())
    if (HasCheck(id) && id != 201 && id != 503) RunFix(id, args);
}

Workload RecordWorkload(const FixArgs& args) {
  Workload w;
  w.args = args;
  RecordingBackend recorder(CurrentRegistry());
  {
    ScopedRegistryBackend scoped(recorder);
    RunChecks(w);
  }
  w.reads = recorder.reads;
  // Check201 lists the user's desktop folder.
  std::wstring desktop;
  TAppFrame().GetFolderPath(7, desktop);
  if (!desktop.empty() && primitives::FolderExists(desktop)) w.folders.push_back(desktop + L"\\");
  return w;
}

int RunChecks(const Workload& w) {
  int problems = 0;
  for (int id : ScanItemIds())
    if (RunCheck(id, w.args)) ++problems;
  return problems;
}

int RunRawReads(const Workload& w) {
  RegistryBackend& reg = CurrentRegistry();
  int ok = 0;
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
  for (const RawRead& r : w.reads) {
    RegHandle h = 0;
    long rc = r.create ? reg.CreateKey(r.root, r.subkey, r.access, &h) : reg.OpenKey(r.root, r.subkey, r.access, &h);
    if (rc != regerr::kSuccess || !r.query) continue;
    if (reg.QueryValue(h, r.name, &type, &data) == regerr::kSuccess) ++ok;
    reg.CloseKey(h);
  }
  std::vector<std::wstring> names;
  for (const auto& folder : w.folders) {
    names.clear();
    primitives::EnumerateFolder(folder, &names);
    ok += static_cast<int>(names.size());
  }
  return ok;
}

}  // namespace corrivo::bench

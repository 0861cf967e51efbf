// libFuzzer target: arbitrary bytes as an undo journal entry, undone on an in-memory machine.
// An entry is read back by an elevated program from a folder on disk, so whatever it holds
// must end in one of two ways: refused with nothing changed, or applied. Besides crashes it
// stops when a refused entry changed the registry or the hosts file, or when an applied one
// left a value other than the one it names.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "catalog/hosts_file.h"
#include "catalog/journal.h"
#include "catalog/reg_file.h"
#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/memory/virtual_clock.h"

namespace {

using namespace corrivo;

void Require(bool condition) {
  if (!condition) std::abort();
}

constexpr const wchar_t* kFolder = L"C:\\Journal";
constexpr const wchar_t* kEntry = L"20260101-000000-01-401.reg";

std::int64_t Now() { return 1767225600; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  MemoryRegistry registry;
  RecordingRunner runner;
  MemoryFileService files;
  StandInOperatingSystem os;
  RecordingShellServices shell;
  VirtualClock clock;
  System system{registry, runner, files, os, shell, clock};
  JournalPlace place;
  place.folder = kFolder;
  place.user = L"fuzz";
  place.unixSeconds = Now;
  system.journal = &place;

  // A machine with something to lose: a value, a key with a subkey and a hosts file.
  registry.PutDword(RegRoot::CurrentUser, L"Software\\Corrivo", L"Kept", 7);
  registry.PutKey(RegRoot::LocalMachine, L"SOFTWARE\\Corrivo\\Child");
  const std::wstring hosts = HostsFilePath(system);
  files.Put(hosts, "127.0.0.1 localhost\r\n");
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  files.AddFolder(kFolder, {});
  files.Put(std::wstring(kFolder) + L"\\" + kEntry, bytes);
  // The copy an entry may name for the hosts file, so that both of its paths are reached.
  files.Put(std::wstring(kFolder) + L"\\" + kEntry + L".hosts", "0.0.0.0 x\r\n");

  const std::wstring registryBefore = registry.Dump();
  const std::string hostsBefore = files.Get(hosts);
  const UndoOutcome undo = UndoJournalEntry(system, place, kEntry, WindowsVersion::Seven, false);
  Require(undo.changed || !undo.ok);
  if (!undo.changed) {
    Require(registry.Dump() == registryBefore);
    Require(files.Get(hosts) == hostsBefore);
    Require(!undo.error.empty());
    return 0;
  }
  // Applied: every value the entry sets last reads back exactly.
  const RegFileParse parsed = ParseRegFile(DecodeRegFileBytes(bytes));
  Require(parsed.ok);
  if (!undo.ok) return 0;
  const Registry view(registry);
  for (std::size_t i = 0; i < parsed.changes.size(); ++i) {
    const RegFileChange& c = parsed.changes[i];
    if (c.kind != RegFileChange::Kind::SetValue) continue;
    bool touchedLater = false;
    for (std::size_t j = i + 1; j < parsed.changes.size() && !touchedLater; ++j)
      touchedLater = parsed.changes[j].root == c.root;
    if (touchedLater) continue;
    const auto now = view.ReadValue(c.root, c.key, c.name);
    Require(now && *now == c.value);
  }
  return 0;
}

// Where offline repairs meet the undo journal: before a repair, its entry; `journal` lists the
// entries; `undo` applies one to the hives. The journal itself is the catalogue's; these three
// calls are all the offline command needs of it.
#pragma once

#include <string>
#include <vector>

#include "catalog/plan.h"
#include "sysaccess/system.h"
#include "sysaccess/windows_version.h"

namespace corrivo::console {

struct OfflineJournal {
  std::wstring folder;  // a Linux path
  std::wstring user;    // the profile the hives belong to
};

// False while this build has no journal: fix then says so and keeps only the hive copies.
bool OfflineJournalAvailable();

struct JournalStep {
  bool ok = false;
  std::wstring entry;  // the entry written, or the one that undoes
  std::wstring error;
};

// Saves what `plan` will change before it runs; a failure stops the repair.
JournalStep JournalBeforeRepair(System& system, const OfflineJournal& journal, int id, const std::wstring& caption,
                                WindowsVersion windows, const Plan& plan);

struct JournalLine {
  std::wstring name, repair, caption, time, windows, user;
};
// The entries, oldest first; false with `error` set when the folder cannot be listed.
bool ListOfflineJournal(System& system, const OfflineJournal& journal, std::vector<JournalLine>* entries,
                        std::wstring* error);

// Applies an entry ("last" for the newest) to the system's registry and files.
JournalStep UndoOfflineEntry(System& system, const OfflineJournal& journal, const std::wstring& entry,
                             WindowsVersion windows);

}  // namespace corrivo::console

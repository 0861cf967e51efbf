// The undo journal. Before a repair changes anything, the state of everything its plan will
// touch is saved as one entry: a Registry Editor 5.00 file (UTF-16 LE with BOM) that restores
// that state when imported, by regedit or by UndoJournalEntry. A header of comments names the
// repair, its caption, the time, the Windows version and the user; a hosts file the repair
// rewrites is copied beside the entry; commands and steps that cannot be taken back are named.
//
// Entries are named "YYYYMMDD-HHMMSS-NN-<what>.reg" (UTC; NN counts entries of the same second;
// <what> is the repair's ID or "undo"), so that their names sort oldest first. Every function
// works on the folder, user and clock of the JournalPlace it is given and on the system's
// registry and files, so the window, the command line and an offline registry share it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog/plan.h"
#include "sysaccess/system.h"
#include "sysaccess/windows_version.h"

namespace corrivo {

// <local application data>\Corrivo\Journal; empty when the system names no such folder.
std::wstring DefaultJournalFolder(OperatingSystem& os);

struct JournalWrite {
  bool ok = false;
  std::wstring entry;  // the file name of the entry written
  std::wstring error;  // why nothing was written
};

// Saves the state of everything `plan` will touch, before it runs. `id` and `caption` name the
// repair in the header. Nothing is left behind when it fails (the folder then may be new).
JournalWrite RecordBeforePlan(System& system, const JournalPlace& place, int id, const std::wstring& caption,
                              WindowsVersion windows, const Plan& plan);

struct JournalEntryInfo {
  std::wstring name;  // file name
  std::wstring repair, caption, time, windows, user;  // from the header; empty when missing
};

// The entries, oldest first. A folder that is not there is an empty journal; false with
// `error` set when it is there but cannot be listed.
bool ListJournal(System& system, const JournalPlace& place, std::vector<JournalEntryInfo>* entries,
                 std::wstring* error);

struct UndoOutcome {
  bool ok = false;         // every change of the entry was applied
  bool changed = false;    // false: the entry was refused and nothing was changed
  std::wstring undoEntry;  // the entry that takes this undo back
  std::wstring error;
};

// Applies an entry (a name from ListJournal, or "last" for the newest) with the program's own
// reader: values and keys back to their saved type and bytes, the hosts file back byte for
// byte. The entry is checked whole first (header, end line, every line, value types, the hosts
// copy); a damaged one is refused and changes nothing. The undo is journalled first, like a
// repair, and does not run when that fails; with `journalled` false it saves nothing.
UndoOutcome UndoJournalEntry(System& system, const JournalPlace& place, const std::wstring& entry,
                             WindowsVersion windows, bool journalled = true);

// Removes the entries (and their hosts copies) older than `days` days; the number of entries
// removed, or -1 with `error` set when the folder cannot be listed or a file cannot be removed.
int PruneJournal(System& system, const JournalPlace& place, int days, std::wstring* error);

}  // namespace corrivo

// This build has no undo journal yet: every call says so, and nothing is written.
#include "console/offline/offline_journal.h"

namespace corrivo::console {
namespace {
constexpr const wchar_t* kNoJournal = L"this build has no undo journal";
}  // namespace

bool OfflineJournalAvailable() { return false; }

JournalStep JournalBeforeRepair(System&, const OfflineJournal&, int, const std::wstring&, WindowsVersion,
                                const Plan&) {
  return {false, {}, kNoJournal};
}

bool ListOfflineJournal(System&, const OfflineJournal&, std::vector<JournalLine>*, std::wstring* error) {
  *error = kNoJournal;
  return false;
}

JournalStep UndoOfflineEntry(System&, const OfflineJournal&, const std::wstring&, WindowsVersion) {
  return {false, {}, kNoJournal};
}

}  // namespace corrivo::console

#include "catalog/journal.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <utility>

#include "catalog/hosts_file.h"
#include "catalog/reg_file.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

constexpr const wchar_t* kMarker = L"Corrivo undo journal: importing this file restores the state before the change below.";
constexpr const wchar_t* kEndLine = L"End of journal entry";
constexpr const wchar_t* kHostsCopy = L"Hosts copy: ";
constexpr const wchar_t* kHostsAbsent = L"Hosts file: absent";
constexpr std::uint32_t kLastKnownType = 11;  // REG_QWORD, the highest type Windows defines
constexpr int kMaxDepth = 64;

// --- Time: names and headers in UTC, from and to days since 1970-01-01.

struct Civil {
  int year, month, day, hour, minute, second;
};

Civil ToCivil(std::int64_t seconds) {
  std::int64_t days = seconds / 86400, rest = seconds % 86400;
  if (rest < 0) rest += 86400, --days;
  const std::int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097, yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100), mp = (5 * doy + 2) / 153;
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {static_cast<int>(yoe + era * 400 + (month <= 2)), month, static_cast<int>(doy - (153 * mp + 2) / 5 + 1),
          static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)};
}

std::int64_t FromCivil(const Civil& c) {
  const std::int64_t y = c.year - (c.month <= 2), era = (y >= 0 ? y : y - 399) / 400, yoe = y - era * 400;
  const std::int64_t doy = (153 * (c.month + (c.month > 2 ? -3 : 9)) + 2) / 5 + c.day - 1;
  const std::int64_t days = era * 146097 + yoe * 365 + yoe / 4 - yoe / 100 + doy - 719468;
  return days * 86400 + c.hour * 3600 + c.minute * 60 + c.second;
}

std::wstring Digits(int value, int width) {
  std::wstring text = std::to_wstring(value);
  while (static_cast<int>(text.size()) < width) text.insert(text.begin(), L'0');
  return text;
}

std::wstring Stamp(const Civil& c) {
  return Digits(c.year, 4) + Digits(c.month, 2) + Digits(c.day, 2) + L"-" + Digits(c.hour, 2) + Digits(c.minute, 2) +
         Digits(c.second, 2);
}

std::wstring Readable(const Civil& c) {
  return Digits(c.year, 4) + L"-" + Digits(c.month, 2) + L"-" + Digits(c.day, 2) + L" " + Digits(c.hour, 2) + L":" +
         Digits(c.minute, 2) + L":" + Digits(c.second, 2) + L" UTC";
}

std::int64_t Now(const JournalPlace& place) { return place.unixSeconds ? place.unixSeconds() : 0; }

bool AllDigits(const std::wstring& s, std::size_t from, std::size_t count) {
  if (s.size() < from + count) return false;
  for (std::size_t i = from; i < from + count; ++i)
    if (s[i] < L'0' || s[i] > L'9') return false;
  return true;
}

int Number(const std::wstring& s, std::size_t from, std::size_t count) {
  int v = 0;
  for (std::size_t i = from; i < from + count; ++i) v = v * 10 + (s[i] - L'0');
  return v;
}

// "YYYYMMDD-HHMMSS-NN-<what>.reg": the entry's time, or false for any other name.
bool EntryTime(const std::wstring& name, std::int64_t* seconds) {
  const bool shaped = name.size() > 23 && AllDigits(name, 0, 8) && name[8] == L'-' && AllDigits(name, 9, 6) &&
                      name[15] == L'-' && AllDigits(name, 16, 2) && name[18] == L'-' &&
                      name.compare(name.size() - 4, 4, L".reg") == 0;
  if (!shaped) return false;
  if (seconds)
    *seconds = FromCivil({Number(name, 0, 4), Number(name, 4, 2), Number(name, 6, 2), Number(name, 9, 2),
                          Number(name, 11, 2), Number(name, 13, 2)});
  return true;
}

std::wstring InFolder(const JournalPlace& place, const std::wstring& name) { return place.folder + L"\\" + name; }

std::wstring HostsCopyName(const std::wstring& entry) { return entry.substr(0, entry.size() - 4) + L".hosts"; }

std::uint64_t Checksum(const std::string& bytes) {  // FNV-1a, to tell a damaged hosts copy
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char b : bytes) h = (h ^ b) * 1099511628211ull;
  return h;
}

std::wstring Hex(std::uint64_t v) {
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring out(16, L'0');
  for (int i = 15; i >= 0; --i, v >>= 4) out[static_cast<std::size_t>(i)] = digits[v & 15];
  return out;
}

bool ListEntries(System& system, const JournalPlace& place, std::vector<std::wstring>* names, std::wstring* error) {
  names->clear();
  std::vector<std::wstring> all;
  if (!system.files.FolderExists(place.folder)) return true;
  if (!system.files.ListFolder(place.folder + L"\\", &all)) {
    *error = L"the journal folder " + place.folder + L" cannot be listed";
    return false;
  }
  for (const std::wstring& name : all)
    if (EntryTime(name, nullptr)) names->push_back(name);
  std::sort(names->begin(), names->end());
  return true;
}

// --- What an entry restores, read from the registry before anything changes.

class Recorder {
 public:
  explicit Recorder(Registry registry) : registry_(registry) {}

  // A value that will be written or deleted (the key is created for a write).
  void Value(RegRoot root, const std::wstring& key, const std::wstring& name) {
    const RegistryLocation at = registry_.Locate(root, PlainKeyPath(key));
    if (Covered(at) || !values_.insert({at.root, ToLower(at.subkey), ToLower(name)}).second) return;
    if (!registry_.KeyExists(root, key)) return Absent(root, key);
    const auto value = registry_.ReadValue(root, key, name);
    if (value) {
      writer.AddValue(at.root, at.subkey, name, *value);
    } else if (registry_.ValueState(root, key, name) == kValueMissing) {
      writer.DeleteValue(at.root, at.subkey, name);
    } else {
      Unreadable(at);
    }
  }

  void Created(RegRoot root, const std::wstring& key) {
    if (!registry_.KeyExists(root, key)) Absent(root, key);
  }

  // A key deleted with everything under it: the whole subtree as it is now, after clearing
  // whatever the repair leaves there.
  void Deleted(RegRoot root, const std::wstring& key) {
    const RegistryLocation at = registry_.Locate(root, PlainKeyPath(key));
    if (at.subkey.empty() || Covered(at) || !registry_.KeyExists(root, key)) return;
    writer.DeleteKey(at.root, at.subkey);
    Dump(root, PlainKeyPath(key), at.subkey, 0);
    covered_.insert({at.root, ToLower(at.subkey)});
  }

  void Note(const std::wstring& line) { notes += L"\n" + line; }

  RegFileWriter writer;
  std::wstring notes;  // "Not undone: ..." lines, each after a line break
  // A key whose state could not be read whole: such an entry could not restore it, so none
  // is written (empty when everything was read).
  std::wstring unreadable;

 private:
  // The key is not there: restoring means deleting the highest key the repair will create.
  void Absent(RegRoot root, const std::wstring& key) {
    const std::wstring plain = PlainKeyPath(key);
    std::wstring top = plain;
    for (std::size_t slash = plain.find(L'\\'); slash != std::wstring::npos; slash = plain.find(L'\\', slash + 1)) {
      if (!registry_.KeyExists(root, plain.substr(0, slash))) {
        top = plain.substr(0, slash);
        break;
      }
    }
    const RegistryLocation at = registry_.Locate(root, top);
    if (at.subkey.empty() || Covered(at)) return;
    writer.DeleteKey(at.root, at.subkey);
    covered_.insert({at.root, ToLower(at.subkey)});
  }

  void Dump(RegRoot root, const std::wstring& key, const std::wstring& located, int depth) {
    const RegRoot at = LocatedRoot(root, key);
    writer.CreateKey(at, located);
    std::vector<std::wstring> values, subkeys;
    if (!registry_.ListValues(root, key, &values) || !registry_.ListSubKeys(root, key, &subkeys) ||
        (depth >= kMaxDepth && !subkeys.empty()))
      return Unreadable({at, located});
    for (const std::wstring& name : values) {
      const auto value = registry_.ReadValue(root, key, name);
      if (!value) return Unreadable({at, located});
      writer.AddValue(at, located, name, *value);
    }
    for (const std::wstring& sub : subkeys) Dump(root, key + L"\\" + sub, located + L"\\" + sub, depth + 1);
  }

  void Unreadable(const RegistryLocation& at) {
    if (unreadable.empty()) unreadable = std::wstring(RootName(at.root)) + L"\\" + at.subkey;
  }

  RegRoot LocatedRoot(RegRoot root, const std::wstring& key) const { return registry_.Locate(root, key).root; }

  bool Covered(const RegistryLocation& at) const {
    const std::wstring k = ToLower(at.subkey);
    for (const auto& [root, top] : covered_)
      if (root == at.root && (k == top || (k.size() > top.size() && k.compare(0, top.size(), top) == 0 &&
                                           k[top.size()] == L'\\')))
        return true;
    return false;
  }

  Registry registry_;
  std::set<std::tuple<RegRoot, std::wstring, std::wstring>> values_;
  std::set<std::pair<RegRoot, std::wstring>> covered_;
};

// What the hosts file is before the change: its bytes, absent, or unreadable.
struct HostsState {
  bool touched = false;
  FileRead read = FileRead::Missing;
  std::string bytes;
};

HostsState ReadHosts(System& system) {
  HostsState state;
  state.touched = true;
  const std::wstring path = HostsFilePath(system);
  state.read = path.empty() ? FileRead::Unreadable : system.files.ReadWholeFile(path, &state.bytes);
  return state;
}

JournalWrite WriteEntry(System& system, const JournalPlace& place, const std::wstring& what, const std::wstring& header,
                        WindowsVersion windows, Recorder& recorder, const HostsState& hosts) {
  JournalWrite result;
  const std::wstring why = L"the undo journal cannot be written in " + place.folder + L": ";
  if (place.folder.empty()) {
    result.error = L"the undo journal has no folder: the system names no local application data folder";
    return result;
  }
  if (hosts.touched && hosts.read == FileRead::Unreadable) {
    result.error = L"the hosts file cannot be read, so it cannot be saved for undo";
    return result;
  }
  if (!recorder.unreadable.empty()) {
    result.error = L"the key " + recorder.unreadable + L" cannot be read whole, so it cannot be saved for undo";
    return result;
  }
  const std::size_t slash = place.folder.find_last_of(L"\\/");
  if (slash != std::wstring::npos && slash > 0 && !system.files.FolderExists(place.folder.substr(0, slash)))
    system.files.MakeFolder(place.folder.substr(0, slash));
  if (!system.files.MakeFolder(place.folder)) {
    result.error = why + L"the folder cannot be made, or is not a plain folder";
    return result;
  }
  std::vector<std::wstring> names;
  if (!ListEntries(system, place, &names, &result.error)) return result;
  const std::int64_t now = Now(place);
  const Civil when = ToCivil(now);
  const std::wstring stamp = Stamp(when) + L"-";
  int number = 1;
  for (const std::wstring& name : names)
    if (name.compare(0, stamp.size(), stamp) == 0) ++number;
  std::wstring entry;
  do {
    entry = stamp + Digits(number++, 2) + L"-" + what + L".reg";
  } while (system.files.FileExists(InFolder(place, entry)) || system.files.FileExists(InFolder(place, HostsCopyName(entry))));

  std::wstring text = std::wstring(kMarker) + L"\n" + header + L"\nTime: " + Readable(when) + L"\nWindows: " +
                      VersionName(windows) + L"\nUser: " + place.user;
  if (hosts.touched && hosts.read == FileRead::Missing) text += std::wstring(L"\n") + kHostsAbsent;
  if (hosts.touched && hosts.read == FileRead::Ok) {
    text += L"\n" + std::wstring(kHostsCopy) + HostsCopyName(entry) + L", " + std::to_wstring(hosts.bytes.size()) +
            L" bytes, checksum " + Hex(Checksum(hosts.bytes));
    if (!system.files.ReplaceWholeFile(InFolder(place, HostsCopyName(entry)), hosts.bytes)) {
      result.error = why + L"the copy of the hosts file cannot be saved";
      return result;
    }
  }
  RegFileWriter file;
  file.Comment(text + recorder.notes);
  std::wstring body = recorder.writer.Text();
  body.erase(0, std::wstring(kRegFileHeader).size() + 2);  // the writer's own header line
  std::wstring whole = file.Text();
  whole.resize(whole.size() - 2);
  whole += body + L"; " + kEndLine + L"\r\n";
  if (!system.files.ReplaceWholeFile(InFolder(place, entry), EncodeUtf16LeWithBom(whole))) {
    system.files.RemoveFile(InFolder(place, HostsCopyName(entry)));
    result.error = why + L"the entry cannot be saved";
    return result;
  }
  result.ok = true;
  result.entry = entry;
  return result;
}

// The header's "Key: value" comment lines.
std::wstring HeaderField(const std::wstring& text, const std::wstring& key) {
  const std::wstring lead = L"; " + key + L": ";
  for (const std::wstring& raw : Split(text, L'\n')) {
    const std::wstring line = Trim(raw);
    if (line.compare(0, lead.size(), lead) == 0) return line.substr(lead.size());
    if (!line.empty() && line[0] == L'[') break;  // the header ends at the first key
  }
  return {};
}

bool HasLine(const std::wstring& text, const std::wstring& wanted) {
  for (const std::wstring& raw : Split(text, L'\n'))
    if (Trim(raw) == wanted) return true;
  return false;
}

}  // namespace

std::wstring DefaultJournalFolder(OperatingSystem& os) {
  const std::wstring local = os.FolderPath(KnownFolder::LocalAppData);
  return local.empty() ? local : local + L"\\Corrivo\\Journal";
}

JournalWrite RecordBeforePlan(System& system, const JournalPlace& place, int id, const std::wstring& caption,
                              WindowsVersion windows, const Plan& plan) {
  Recorder recorder(system.registry());
  HostsState hosts;
  for (const Step& s : plan) {
    switch (s.kind) {
      case StepKind::WriteDword:
      case StepKind::WriteString:
      case StepKind::WriteExpandString:
      case StepKind::DeleteValue: recorder.Value(s.root, s.key, s.name); break;
      case StepKind::DeleteKey: recorder.Deleted(s.root, s.key); break;
      case StepKind::CreateKey: recorder.Created(s.root, s.key); break;
      case StepKind::Run: recorder.Note(L"Not undone: starts \"cmd.exe " + s.text + L"\", which cannot be taken back"); break;
      case StepKind::Special:
        if (s.special == SpecialStep::PatchStickyNotesFlags) {
          recorder.Value(s.root, s.key, s.name);
        } else if (s.special == SpecialStep::RewriteHostsFile) {
          if (!hosts.touched) hosts = ReadHosts(system);
        } else {
          recorder.Note(std::wstring(L"Not undone: ") + SpecialStepName(s.special) + L", which cannot be taken back");
        }
        break;
      case StepKind::Wait:
      case StepKind::Succeed: break;
    }
  }
  return WriteEntry(system, place, std::to_wstring(id), L"Repair: " + std::to_wstring(id) + L"\nCaption: " + caption,
                    windows, recorder, hosts);
}

bool ListJournal(System& system, const JournalPlace& place, std::vector<JournalEntryInfo>* entries, std::wstring* error) {
  entries->clear();
  std::vector<std::wstring> names;
  if (!ListEntries(system, place, &names, error)) return false;
  for (const std::wstring& name : names) {
    JournalEntryInfo info;
    info.name = name;
    std::string bytes;
    if (system.files.ReadWholeFile(InFolder(place, name), &bytes) == FileRead::Ok) {
      const std::wstring text = DecodeRegFileBytes(bytes);
      info.repair = HeaderField(text, L"Repair");
      info.caption = HeaderField(text, L"Caption");
      info.time = HeaderField(text, L"Time");
      info.windows = HeaderField(text, L"Windows");
      info.user = HeaderField(text, L"User");
    }
    entries->push_back(std::move(info));
  }
  return true;
}

UndoOutcome UndoJournalEntry(System& system, const JournalPlace& place, const std::wstring& requested,
                             WindowsVersion windows, bool journalled) {
  UndoOutcome out;
  std::wstring entry = requested;
  if (entry == L"last") {
    std::vector<std::wstring> names;
    if (!ListEntries(system, place, &names, &out.error)) return out;
    if (names.empty()) {
      out.error = L"the journal is empty: there is nothing to undo";
      return out;
    }
    entry = names.back();
  }
  if (!EntryTime(entry, nullptr) || entry.find_first_of(L"\\/:") != std::wstring::npos) {
    out.error = L"\"" + entry + L"\" is not the name of a journal entry (see the journal's list)";
    return out;
  }
  const std::wstring refused = L"journal entry " + entry + L" ";
  std::string bytes;
  switch (system.files.ReadWholeFile(InFolder(place, entry), &bytes)) {
    case FileRead::Ok: break;
    case FileRead::Missing: out.error = refused + L"is not in " + place.folder; return out;
    case FileRead::Unreadable: out.error = refused + L"cannot be read; nothing was changed"; return out;
  }
  // Undo runs with administrator rights: an entry that a program without them could have put
  // in the folder would be a way to those rights.
  if (!system.files.HasOurOwner(InFolder(place, entry))) {
    out.error = refused + L"was not written with the rights Corrivo has now; nothing was changed";
    return out;
  }
  const std::wstring text = DecodeRegFileBytes(bytes);
  const RegFileParse parsed = ParseRegFile(text);
  std::wstring lastLine;
  for (const std::wstring& line : Split(text, L'\n'))
    if (!Trim(line).empty()) lastLine = Trim(line);
  if (!parsed.ok) {
    out.error = refused + L"is damaged (" + parsed.error + L"); nothing was changed";
    return out;
  }
  if (!HasLine(text, std::wstring(L"; ") + kMarker)) {
    out.error = refused + L"has no Corrivo journal header; nothing was changed";
    return out;
  }
  if (lastLine != std::wstring(L"; ") + kEndLine) {
    out.error = refused + L"is cut short (its end line is missing); nothing was changed";
    return out;
  }
  for (const RegFileChange& c : parsed.changes) {
    if (c.kind == RegFileChange::Kind::SetValue && static_cast<std::uint32_t>(c.value.type) > kLastKnownType) {
      out.error = refused + L"holds a value of unknown type " + std::to_wstring(static_cast<std::uint32_t>(c.value.type)) +
                  L" (" + FullKeyName(c.root, c.key) + L"); nothing was changed";
      return out;
    }
  }
  // The hosts file as the entry saved it.
  const std::wstring copyLine = HeaderField(text, L"Hosts copy");
  const bool hostsAbsent = HasLine(text, std::wstring(L"; ") + kHostsAbsent);
  std::string hostsBytes;
  if (!copyLine.empty()) {
    const std::wstring expected = HostsCopyName(entry) + L", ";
    const bool ok = copyLine.compare(0, expected.size(), expected) == 0 &&
                    system.files.HasOurOwner(InFolder(place, HostsCopyName(entry))) &&
                    system.files.ReadWholeFile(InFolder(place, HostsCopyName(entry)), &hostsBytes) == FileRead::Ok &&
                    copyLine == expected + std::to_wstring(hostsBytes.size()) + L" bytes, checksum " + Hex(Checksum(hostsBytes));
    if (!ok) {
      out.error = refused + L"cannot restore the hosts file: its copy " + HostsCopyName(entry) +
                  L" is missing or damaged; nothing was changed";
      return out;
    }
  }
  // The undo is journalled like a repair: the state of everything it will change, now.
  Recorder recorder(system.registry());
  for (const RegFileChange& c : parsed.changes) {
    switch (c.kind) {
      case RegFileChange::Kind::OpenKey: recorder.Created(c.root, c.key); break;
      case RegFileChange::Kind::SetValue:
      case RegFileChange::Kind::DeleteValue: recorder.Value(c.root, c.key, c.name); break;
      case RegFileChange::Kind::DeleteKey: recorder.Deleted(c.root, c.key); break;
    }
  }
  HostsState hosts;
  if (!copyLine.empty() || hostsAbsent) hosts = ReadHosts(system);
  if (journalled) {
    const JournalWrite journal = WriteEntry(system, place, L"undo", L"Repair: undo of " + entry + L"\nCaption: " +
                                                HeaderField(text, L"Caption"), windows, recorder, hosts);
    if (!journal.ok) {
      out.error = journal.error + L"; nothing was changed";
      return out;
    }
    out.undoEntry = journal.entry;
  }
  out.changed = true;
  out.ok = ApplyRegFileChanges(system.registry(), parsed.changes);
  if (!copyLine.empty() || hostsAbsent) {
    const std::wstring path = HostsFilePath(system);
    const bool hostsOk = !copyLine.empty() ? system.files.ReplaceWholeFile(path, hostsBytes) : system.files.RemoveFile(path);
    out.ok = hostsOk && out.ok;
  }
  if (!out.ok) out.error = refused + L"was not applied whole: a registry key or the hosts file could not be written";
  return out;
}

int PruneJournal(System& system, const JournalPlace& place, int days, std::wstring* error) {
  std::vector<std::wstring> names;
  if (!ListEntries(system, place, &names, error)) return -1;
  const std::int64_t limit = Now(place) - static_cast<std::int64_t>(days) * 86400;
  int removed = 0;
  for (const std::wstring& name : names) {
    std::int64_t when = 0;
    if (!EntryTime(name, &when) || when >= limit) continue;
    if (!system.files.RemoveFile(InFolder(place, name)) || !system.files.RemoveFile(InFolder(place, HostsCopyName(name)))) {
      *error = L"journal entry " + name + L" cannot be removed";
      return -1;
    }
    ++removed;
  }
  return removed;
}

}  // namespace corrivo

// Registry Editor 5.00 files: the text regedit imports. The writer turns registry changes into
// such a file (exports, and the journal that restores a prior state); the reader turns one back
// into the same changes so that the program can apply it without regedit (undo).
#pragma once

#include <string>
#include <vector>

#include "sysaccess/registry.h"

namespace corrivo {

constexpr const wchar_t* kRegFileHeader = L"Windows Registry Editor Version 5.00";

// Builds the file in the order of the calls. Consecutive changes to one key share one section.
// Note that regedit opens every section's key by creating it, so importing a section that only
// deletes a value leaves an empty key where there was none.
class RegFileWriter {
 public:
  void AddValue(RegRoot root, const std::wstring& key, const std::wstring& name, const RegistryValue& value);
  void DeleteValue(RegRoot root, const std::wstring& key, const std::wstring& name);
  // With every subkey.
  void DeleteKey(RegRoot root, const std::wstring& key);
  void CreateKey(RegRoot root, const std::wstring& key);
  // "; text" lines, one for each line of `text`, before whatever comes next.
  void Comment(const std::wstring& text);

  // The whole file, CR LF line ends, without byte-order mark (EncodeUtf16LeWithBom adds it).
  std::wstring Text() const;

 private:
  void Section(RegRoot root, const std::wstring& key);
  void Line(const std::wstring& line);
  std::wstring body_;
  std::wstring sectionKey_;  // the open section's header text, empty when none is open
};

// UTF-16 little-endian with its byte-order mark, as regedit writes and reads it; a line feed
// not already preceded by a carriage return gets one.
std::string EncodeUtf16LeWithBom(const std::wstring& text);
// The other way: UTF-16 LE with or without BOM, or UTF-8 (regedit accepts both).
std::wstring DecodeRegFileBytes(const std::string& bytes);

// "HKEY_LOCAL_MACHINE\SOFTWARE\Key" for a step's key, whatever backslashes it starts or ends with.
std::wstring FullKeyName(RegRoot root, const std::wstring& key);
// The key without leading or trailing backslashes.
std::wstring PlainKeyPath(const std::wstring& key);

// One change read from a file.
struct RegFileChange {
  enum class Kind { OpenKey, SetValue, DeleteValue, DeleteKey };
  Kind kind = Kind::OpenKey;
  RegRoot root = RegRoot::CurrentUser;
  std::wstring key;   // plain path under the root
  std::wstring name;  // values only; empty for the default value
  RegistryValue value;
  bool operator==(const RegFileChange&) const = default;
};

struct RegFileParse {
  bool ok = false;
  std::vector<RegFileChange> changes;
  std::wstring error;  // "line N: ..." when not ok
};

// Reads a whole file's text. Each "[key]" section gives an OpenKey change first (regedit
// creates the key there), "[-key]" a DeleteKey. Anything it does not understand is an error,
// never skipped: an undo that silently drops a line would restore the wrong state.
RegFileParse ParseRegFile(const std::wstring& text);

// Applies the changes in order, the way regedit imports them; false when any of them failed
// (the others are still applied).
bool ApplyRegFileChanges(const Registry& registry, const std::vector<RegFileChange>& changes);

}  // namespace corrivo

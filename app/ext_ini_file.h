// TExtIniFile: an INI store held wholly in memory, with its own parser. It is read from a file
// or a list of lines and never writes anything back to disk.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sysaccess/files.h"

namespace corrivo {

// Case-insensitive form of a section or key name. Basic Latin, Latin-1, Latin Extended-A,
// Greek and Cyrillic capitals fold by a fixed table, so Windows and Linux builds agree
// whatever the C library's locale.
std::wstring FoldNameCase(std::wstring_view name);

// The key of a stored line: the text before its first "="; false for a line without "=".
bool LineKey(const std::wstring& line, std::wstring* key);

class TExtIniFile {
 public:
  // One section body: its lines in file order, with a lookup of the first line of each key.
  class Section {
   public:
    const std::vector<std::wstring>& Lines() const { return lines_; }
    void AddLine(std::wstring line);
    // Index of the first line with that key (letter case ignored), or -1.
    long FindKey(const std::wstring& key) const;
    void ReplaceLine(std::size_t index, std::wstring line);
    void RemoveLine(std::size_t index);

   private:
    void RebuildIndex() const;
    std::vector<std::wstring> lines_;
    mutable std::unordered_map<std::wstring, std::size_t> firstLineOfKey_;
    mutable bool indexValid_ = true;
  };

  TExtIniFile() = default;
  TExtIniFile(const TExtIniFile&) = delete;
  TExtIniFile& operator=(const TExtIniFile&) = delete;

  // Reads the whole text file and hands its lines to SetStrings; false (store unchanged) when
  // the file cannot be read.
  bool LoadFromFile(FileService& files, const std::wstring& path);
  // Clears the store and parses `lines`.
  void SetStrings(const std::vector<std::wstring>& lines);

  std::wstring ReadString(const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) const;
  // In memory only.
  void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
  // The key names of the section's lines, in order; lines without "=" have none.
  void ReadSection(const std::wstring& section, std::vector<std::wstring>* keys) const;
  // Section names in file order, repeated names included.
  void ReadSections(std::vector<std::wstring>* names) const;
  void ReadSectionValues(const std::wstring& section, std::vector<std::wstring>* lines) const;
  void EraseSection(const std::wstring& section);
  void DeleteKey(const std::wstring& section, const std::wstring& key);
  // The store never writes to disk.
  void UpdateFile() {}
  bool ValueExists(const std::wstring& section, const std::wstring& key) const;
  void Clear();
  // Appends a new, empty section, even when one of that name exists.
  Section& AddSection(const std::wstring& name);
  bool CaseSensitive() const { return false; }

  std::size_t SectionCount() const { return sections_.size(); }

 private:
  struct Entry {
    std::wstring name;
    std::unique_ptr<Section> body;
  };
  // The first section of that name, or null.
  Section* FindSection(const std::wstring& name) const;
  long FindSectionIndex(const std::wstring& name) const;
  void RebuildSectionIndex();

  std::vector<Entry> sections_;
  std::unordered_map<std::wstring, std::size_t> firstSectionOfName_;
};

}  // namespace corrivo

#include "app/ext_ini_file.h"

#include "app/text_file.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

bool IsSectionHeader(const std::wstring& line) {
  return line.size() >= 2 && line.front() == L'[' && line.back() == L']';
}

}  // namespace

std::wstring FoldNameCase(std::wstring_view name) { return ToLower(name); }

bool LineKey(const std::wstring& line, std::wstring* key) {
  std::size_t eq = line.find(L'=');
  if (eq == std::wstring::npos) return false;
  if (key) *key = line.substr(0, eq);
  return true;
}

// ---- Section ----

void TExtIniFile::Section::AddLine(std::wstring line) {
  std::wstring key;
  if (indexValid_ && LineKey(line, &key)) firstLineOfKey_.emplace(FoldNameCase(key), lines_.size());
  lines_.push_back(std::move(line));
}

long TExtIniFile::Section::FindKey(const std::wstring& key) const {
  if (!indexValid_) RebuildIndex();
  auto it = firstLineOfKey_.find(FoldNameCase(key));
  return it == firstLineOfKey_.end() ? -1 : static_cast<long>(it->second);
}

void TExtIniFile::Section::ReplaceLine(std::size_t index, std::wstring line) {
  if (index >= lines_.size()) return;
  lines_[index] = std::move(line);
  indexValid_ = false;
}

void TExtIniFile::Section::RemoveLine(std::size_t index) {
  if (index >= lines_.size()) return;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
  indexValid_ = false;
}

void TExtIniFile::Section::RebuildIndex() const {
  firstLineOfKey_.clear();
  std::wstring key;
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (LineKey(lines_[i], &key)) firstLineOfKey_.emplace(FoldNameCase(key), i);
  indexValid_ = true;
}

// ---- TExtIniFile ----

bool TExtIniFile::LoadFromFile(FileService& files, const std::wstring& path) {
  std::vector<std::wstring> lines;
  if (!LoadTextFile(files, path, &lines)) return false;
  SetStrings(lines);
  return true;
}

void TExtIniFile::SetStrings(const std::vector<std::wstring>& lines) {
  Clear();
  Section* current = nullptr;
  for (const auto& raw : lines) {
    std::wstring line = Trim(raw);
    if (line.empty() || line.front() == L';') continue;
    if (IsSectionHeader(line)) {
      current = &AddSection(Trim(std::wstring_view(line).substr(1, line.size() - 2)));
      continue;
    }
    if (!current) continue;  // nothing before the first header belongs anywhere
    std::size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) {
      current->AddLine(std::move(line));
    } else {
      std::wstring_view view(line);
      current->AddLine(Trim(view.substr(0, eq)) + L"=" + Trim(view.substr(eq + 1)));
    }
  }
}

std::wstring TExtIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& defaultValue) const {
  const Section* body = FindSection(section);
  if (!body) return defaultValue;
  long index = body->FindKey(key);
  if (index < 0) return defaultValue;
  const std::wstring& line = body->Lines()[static_cast<std::size_t>(index)];
  return line.substr(line.find(L'=') + 1);
}

void TExtIniFile::WriteString(const std::wstring& section, const std::wstring& key,
                              const std::wstring& value) {
  Section* body = FindSection(section);
  if (!body) body = &AddSection(section);
  long index = body->FindKey(key);
  if (index < 0)
    body->AddLine(key + L"=" + value);
  else
    body->ReplaceLine(static_cast<std::size_t>(index), key + L"=" + value);
}

void TExtIniFile::ReadSection(const std::wstring& section, std::vector<std::wstring>* keys) const {
  // Build aside and swap in: the caller's list changes once, not line by line.
  std::vector<std::wstring> found;
  if (const Section* body = FindSection(section)) {
    std::wstring key;
    for (const auto& line : body->Lines())
      if (LineKey(line, &key)) found.push_back(key);
  }
  keys->swap(found);
}

void TExtIniFile::ReadSections(std::vector<std::wstring>* names) const {
  names->clear();
  for (const auto& entry : sections_) names->push_back(entry.name);
}

void TExtIniFile::ReadSectionValues(const std::wstring& section, std::vector<std::wstring>* lines) const {
  lines->clear();
  if (const Section* body = FindSection(section)) *lines = body->Lines();
}

void TExtIniFile::EraseSection(const std::wstring& section) {
  long index = FindSectionIndex(section);
  if (index < 0) return;
  sections_.erase(sections_.begin() + index);
  RebuildSectionIndex();
}

void TExtIniFile::DeleteKey(const std::wstring& section, const std::wstring& key) {
  Section* body = FindSection(section);
  if (!body) return;
  long index = body->FindKey(key);
  if (index >= 0) body->RemoveLine(static_cast<std::size_t>(index));
}

bool TExtIniFile::ValueExists(const std::wstring& section, const std::wstring& key) const {
  // Same answer as looking for the key among ReadSection's names: the key index holds exactly
  // those names.
  const Section* body = FindSection(section);
  return body && body->FindKey(key) >= 0;
}

void TExtIniFile::Clear() {
  sections_.clear();
  firstSectionOfName_.clear();
}

TExtIniFile::Section& TExtIniFile::AddSection(const std::wstring& name) {
  firstSectionOfName_.emplace(FoldNameCase(name), sections_.size());
  sections_.push_back(Entry{name, std::make_unique<Section>()});
  return *sections_.back().body;
}

TExtIniFile::Section* TExtIniFile::FindSection(const std::wstring& name) const {
  long index = FindSectionIndex(name);
  return index < 0 ? nullptr : sections_[static_cast<std::size_t>(index)].body.get();
}

long TExtIniFile::FindSectionIndex(const std::wstring& name) const {
  auto it = firstSectionOfName_.find(FoldNameCase(name));
  return it == firstSectionOfName_.end() ? -1 : static_cast<long>(it->second);
}

void TExtIniFile::RebuildSectionIndex() {
  firstSectionOfName_.clear();
  for (std::size_t i = 0; i < sections_.size(); ++i)
    firstSectionOfName_.emplace(FoldNameCase(sections_[i].name), i);
}

}  // namespace corrivo

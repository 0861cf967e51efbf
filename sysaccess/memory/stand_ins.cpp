#include "sysaccess/memory/stand_ins.h"

#include <algorithm>

#include <functional>

#include "sysaccess/text.h"

namespace corrivo {
namespace {

std::wstring StripQuotes(const std::wstring& value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// A plain INI lookup the way GetPrivateProfileString answers it: names without letter case,
// blanks around names and values dropped, the first match wins.
}  // namespace

std::wstring ProfileValue(const std::wstring& text, const std::wstring& section, const std::wstring& key,
                          const std::wstring& defaultValue) {
  bool inSection = false;
  for (const std::wstring& raw : Split(text, L'\n')) {
    std::wstring line = Trim(raw);
    if (!line.empty() && line.back() == L'\r') line = Trim(line.substr(0, line.size() - 1));
    if (line.empty() || line[0] == L';') continue;
    if (line.front() == L'[') {
      const std::size_t close = line.find(L']');
      inSection = close != std::wstring::npos && EqualsNoCase(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    const std::size_t eq = line.find(L'=');
    if (inSection && eq != std::wstring::npos && EqualsNoCase(Trim(line.substr(0, eq)), key))
      return StripQuotes(Trim(line.substr(eq + 1)));
  }
  return defaultValue;
}

// --- MemoryFileService

void MemoryFileService::Put(const std::wstring& path, std::string bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  files_[path] = std::move(bytes);
}

void MemoryFileService::Remove(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  files_.erase(path);
}

std::string MemoryFileService::Get(const std::wstring& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = files_.find(path);
  return it == files_.end() ? std::string() : it->second;
}

bool MemoryFileService::Has(const std::wstring& path) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return files_.count(path) != 0;
}

void MemoryFileService::AddFolder(const std::wstring& folder, std::vector<std::wstring> names) {
  std::lock_guard<std::mutex> lock(mutex_);
  folders_[folder] = std::move(names);
}

void MemoryFileService::FailReads(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  failReads_.insert(path);
}

void MemoryFileService::FailWrites(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  failWrites_.insert(path);
}

void MemoryFileService::GiveOtherOwner(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  otherOwner_.insert(path);
}

bool MemoryFileService::HasOurOwner(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  return otherOwner_.count(path) == 0;
}

int MemoryFileService::WriteCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return writes_;
}

bool MemoryFileService::FileExists(const std::wstring& path) { return Has(path); }

bool MemoryFileService::FolderExists(const std::wstring& folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::wstring trimmed = folder;
  while (!trimmed.empty() && trimmed.back() == L'\\') trimmed.pop_back();
  return folders_.count(trimmed) != 0 || folders_.count(trimmed + L"\\") != 0;
}

FileRead MemoryFileService::ReadWholeFile(const std::wstring& path, std::string* bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  bytes->clear();
  if (failReads_.count(path)) return FileRead::Unreadable;
  auto it = files_.find(path);
  if (it == files_.end()) return FileRead::Missing;
  if (it->second.size() > kMaxFileBytes) return FileRead::Unreadable;
  *bytes = it->second;
  return FileRead::Ok;
}

bool MemoryFileService::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (failWrites_.count(path)) return false;
  files_[path] = std::string(bytes);
  ++writes_;
  return true;
}

bool MemoryFileService::ListFolder(const std::wstring& folder, std::vector<std::wstring>* names) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::wstring trimmed = folder;
  while (!trimmed.empty() && trimmed.back() == L'\\') trimmed.pop_back();
  auto it = folders_.find(trimmed);
  if (it == folders_.end()) return false;
  names->push_back(L".");
  names->push_back(L"..");
  names->insert(names->end(), it->second.begin(), it->second.end());
  const std::wstring prefix = trimmed + L"\\";
  for (const auto& [path, bytes] : files_) {
    if (path.compare(0, prefix.size(), prefix) != 0 || path.find(L'\\', prefix.size()) != std::wstring::npos) continue;
    const std::wstring name = path.substr(prefix.size());
    if (std::find(it->second.begin(), it->second.end(), name) == it->second.end()) names->push_back(name);
  }
  return true;
}

bool MemoryFileService::MakeFolder(const std::wstring& folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::wstring trimmed = folder;
  while (!trimmed.empty() && trimmed.back() == L'\\') trimmed.pop_back();
  if (trimmed.empty() || failWrites_.count(trimmed) || files_.count(trimmed)) return false;
  folders_.try_emplace(trimmed);
  return true;
}

bool MemoryFileService::RemoveFile(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (failWrites_.count(path)) return false;
  files_.erase(path);
  return true;
}

std::wstring MemoryFileService::AnsiToWide(std::string_view bytes) { return Cp1252ToWide(bytes); }

std::string MemoryFileService::WideToAnsi(std::wstring_view text) { return WideToCp1252(text); }

bool MemoryFileService::IsFullPath(const std::wstring& path) {
  return (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') || (!path.empty() && path[0] == L'/');
}

std::wstring MemoryFileService::ReadProfileString(const std::wstring& path, const std::wstring& section,
                                                  const std::wstring& key, const std::wstring& defaultValue) {
  std::string bytes;
  if (ReadWholeFile(path, &bytes) != FileRead::Ok) return defaultValue;
  return ProfileValue(AnsiToWide(bytes), section, key, defaultValue);
}

// --- StandInOperatingSystem

void StandInOperatingSystem::SetVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType) {
  std::lock_guard<std::mutex> lock(mutex_);
  major_ = major;
  minor_ = minor;
  productType_ = productType;
}

void StandInOperatingSystem::SetFolder(KnownFolder folder, const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  folders_[folder] = path;
}

void StandInOperatingSystem::SetWindowsFolder(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  windows_ = path;
}

void StandInOperatingSystem::SetSystemFolder(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  system_ = path;
}

void StandInOperatingSystem::SetTempFolder(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  temp_ = path;
}

void StandInOperatingSystem::SetProgramFile(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  program_ = path;
}

void StandInOperatingSystem::SetEnvironment(const std::wstring& name, const std::wstring& value) {
  std::lock_guard<std::mutex> lock(mutex_);
  environment_[ToLower(name)] = value;
}

bool StandInOperatingSystem::QueryVersion(std::uint32_t* major, std::uint32_t* minor, std::uint32_t* productType) {
  std::lock_guard<std::mutex> lock(mutex_);
  *major = major_;
  *minor = minor_;
  *productType = productType_;
  return true;
}

std::wstring StandInOperatingSystem::FolderPath(KnownFolder folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = folders_.find(folder);
  return it == folders_.end() ? std::wstring() : it->second;
}

std::wstring StandInOperatingSystem::WindowsFolder() {
  std::lock_guard<std::mutex> lock(mutex_);
  return windows_;
}

std::wstring StandInOperatingSystem::SystemFolder() {
  std::lock_guard<std::mutex> lock(mutex_);
  return system_;
}

std::wstring StandInOperatingSystem::TempFolder() {
  std::lock_guard<std::mutex> lock(mutex_);
  return temp_;
}

std::wstring StandInOperatingSystem::ProgramFile() {
  std::lock_guard<std::mutex> lock(mutex_);
  return program_;
}

std::wstring StandInOperatingSystem::ExpandEnvironment(const std::wstring& text, std::size_t capacity) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::wstring out;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t open = text.find(L'%', i);
    std::size_t close = open == std::wstring::npos ? std::wstring::npos : text.find(L'%', open + 1);
    if (close == std::wstring::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, open - i);
    auto it = environment_.find(ToLower(text.substr(open + 1, close - open - 1)));
    if (it != environment_.end()) {
      out += it->second;
      i = close + 1;
    } else {
      // An unknown name stays as written; its closing % may open the next reference.
      out += text.substr(open, close - open);
      i = close;
    }
  }
  if (out.size() + 1 > capacity) return std::wstring();
  return out;
}

// --- RecordingShellServices

namespace {
class RecordingLink : public ShellLinkObject {
 public:
  RecordingLink(std::function<void(std::wstring)> record, bool result)
      : record_(std::move(record)), result_(result) {}
  bool SaveTo(const std::wstring& file) override {
    record_(L"save link " + file);
    return result_;
  }

 private:
  std::function<void(std::wstring)> record_;
  bool result_;
};
}  // namespace

void RecordingShellServices::Record(std::wstring line) {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.push_back(std::move(line));
}

void RecordingShellServices::SetResult(bool result) {
  std::lock_guard<std::mutex> lock(mutex_);
  result_ = result;
}

std::vector<std::wstring> RecordingShellServices::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::unique_ptr<ShellLinkObject> RecordingShellServices::CreateShellLink(const ShellLinkFields& fields) {
  Record(L"link " + fields.target);
  bool result;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    result = result_;
  }
  if (!result) return nullptr;
  return std::make_unique<RecordingLink>([this](std::wstring line) { Record(std::move(line)); }, result);
}

std::unique_ptr<HomePageLibrary> RecordingShellServices::LoadHomePageLibrary(const std::wstring& fullPath) {
  Record(L"load " + fullPath);
  return nullptr;
}

bool RecordingShellServices::CurrentSessionId(std::uint32_t* sessionId) {
  *sessionId = 1;
  std::lock_guard<std::mutex> lock(mutex_);
  return result_;
}

InetcplOutcome RecordingShellServices::ResetIEToDefaults(const std::wstring& inetcplPath) {
  Record(L"reset " + inetcplPath);
  std::lock_guard<std::mutex> lock(mutex_);
  return result_ ? InetcplOutcome::Called : InetcplOutcome::NotLoaded;
}

bool RecordingShellServices::KillProcessesByName(const std::wstring& exeName) {
  Record(L"kill " + exeName);
  std::lock_guard<std::mutex> lock(mutex_);
  return result_;
}

void RecordingShellServices::RefreshDesktop() { Record(L"refresh desktop"); }

void RecordingShellServices::NotifyAssociationsChanged() { Record(L"associations changed"); }

}  // namespace corrivo

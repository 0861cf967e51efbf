// The portable parts of the system services: version and folder questions built on the
// platform's answers, folder filters, process-name matching and the key owner.
#include <string>

#include "sysaccess/files.h"
#include "sysaccess/ie_version.h"
#include "sysaccess/operating_system.h"
#include "sysaccess/registry.h"
#include "sysaccess/shell_services.h"
#include "sysaccess/text.h"

namespace corrivo {

WindowsVersion DetectWindowsVersion(OperatingSystem& os) {
  std::uint32_t major = 0, minor = 0, productType = 0;
  if (!os.QueryVersion(&major, &minor, &productType)) return WindowsVersion::Unknown;
  return MapWindowsVersion(major, minor, productType);
}

std::wstring ProgramFolder(OperatingSystem& os) {
  const std::wstring exe = os.ProgramFile();
  const std::size_t sep = exe.find_last_of(L"\\/");
  return sep == std::wstring::npos ? std::wstring() : exe.substr(0, sep + 1);
}

std::wstring IEVersionFromSvcVersion(const std::wstring& svcVersion) {
  std::wstring head = svcVersion.substr(0, 2);
  if (head == L"10") return L"IE10";
  if (head == L"9.") return L"IE9";
  return L"IE8";
}

std::wstring DetectIEVersionName(const Registry& registry) {
  const wchar_t* key = registry.IsWow64() ? L"\\SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer"
                                          : L"\\SOFTWARE\\Microsoft\\Internet Explorer";
  return IEVersionFromSvcVersion(registry.ReadString(RegRoot::LocalMachine, key, L"svcVersion"));
}

std::vector<std::wstring> BuildExtensionFilter(const std::wstring& extensions) {
  std::wstring text;
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    if (extensions[i] == L'*' && i + 1 < extensions.size() && extensions[i + 1] == L'.') {
      text += L'.';
      ++i;
    } else {
      text += extensions[i];
    }
  }
  std::vector<std::wstring> filter;
  for (auto& piece : Split(text, L';')) {
    std::wstring trimmed = Trim(piece);
    if (!trimmed.empty()) filter.push_back(trimmed);
  }
  return filter;
}

bool ExtensionFilterAccepts(const std::vector<std::wstring>& filter, const std::wstring& entryName) {
  if (filter.empty()) return false;
  if (EqualsNoCase(filter.front(), L".*")) return true;
  std::size_t dot = entryName.rfind(L'.');
  std::wstring extension = dot == std::wstring::npos ? std::wstring() : entryName.substr(dot);
  for (const auto& piece : filter)
    if (EqualsNoCase(piece, extension)) return true;
  return false;
}

bool ListFolderFiles(FileService& files, const std::wstring& folder, std::vector<std::wstring>* list,
                     const std::wstring& extensions, bool fullPath) {
  if (!files.FolderExists(folder)) return false;
  if (list) list->clear();
  std::wstring base = folder;
  if (base.empty() || base.back() != L'\\') base += L'\\';
  std::vector<std::wstring> names;
  const bool found = files.ListFolder(base, &names) && !names.empty();
  const auto filter = BuildExtensionFilter(extensions);
  for (const auto& name : names) {
    if (list && ExtensionFilterAccepts(filter, name)) list->push_back(fullPath ? base + name : name);
  }
  return found;
}

bool ProcessNameMatches(const std::wstring& exePath, const std::wstring& exeName) {
  std::size_t sep = exePath.find_last_of(L"\\/:");
  std::wstring fileName = sep == std::wstring::npos ? exePath : exePath.substr(sep + 1);
  return EqualsNoCase(fileName, exeName) || EqualsNoCase(exePath, exeName);
}

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    backend_ = other.backend_;
    handle_ = other.handle_;
    other.backend_ = nullptr;
  }
  return *this;
}

void RegKey::Close() {
  if (backend_) backend_->CloseKey(handle_);
  backend_ = nullptr;
  handle_ = 0;
}

}  // namespace corrivo

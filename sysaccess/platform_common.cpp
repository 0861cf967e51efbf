#include <string>

#include "sysaccess/platform.h"
#include "sysaccess/platform_primitives.h"
#include "sysaccess/registry.h"
#include "sysaccess/text.h"

namespace corrivo {

std::int32_t MapOsVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType) {
  const bool server = productType == kProductTypeServer;
  if (major == 5) {
    switch (minor) {
      case 0: return kOs2000;
      case 1: return kOsXP;
      case 2: return server ? kOsServer2003 : kOsXP;
      default: return kOsUnknown;
    }
  }
  if (major == 6) {
    switch (minor) {
      case 0: return server ? kOsServer2008 : kOsVista;
      case 1: return server ? kOsServer2008 : kOsWin7;
      case 2: return kOsWin8;
      default: return kOsUnknown;
    }
  }
  return kOsUnknown;
}

std::int32_t DetectOsVersionCode() {
  std::uint32_t major = 0, minor = 0, productType = 0;
  if (!primitives::QueryOsVersion(&major, &minor, &productType)) return kOsUnknown;
  return MapOsVersion(major, minor, productType);
}

bool IsSupportedOsVersion(std::int32_t code) {
  return code == kOsXP || code == kOsVista || code == kOsWin7 || code == kOsWin8;
}

std::wstring IEVersionFromSvcVersion(const std::wstring& svcVersion) {
  std::wstring head = svcVersion.substr(0, 2);
  if (head == L"10") return L"IE10";
  if (head == L"9.") return L"IE9";
  return L"IE8";
}

namespace {
std::wstring& IEVersionStorage() {
  static std::wstring name = L"IE8";
  return name;
}
}  // namespace

void DetectIEVersion() {
  const wchar_t* key = IsWow64() ? L"\\SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer"
                                 : L"\\SOFTWARE\\Microsoft\\Internet Explorer";
  IEVersionStorage() = IEVersionFromSvcVersion(ReadRegString(L"HKEY_LOCAL_MACHINE", key, L"svcVersion"));
}

const std::wstring& IEVersionName() { return IEVersionStorage(); }

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

bool ListFolderFiles(const std::wstring& folder, std::vector<std::wstring>* list,
                     const std::wstring& extensions, bool fullPath) {
  Wow64RedirectionState state = nullptr;
  SwitchWow64FsRedirection(true, &state);
  bool found = false;
  if (primitives::FolderExists(folder)) {
    if (list) list->clear();
    std::wstring base = folder;
    if (base.empty() || base.back() != L'\\') base += L'\\';
    std::vector<std::wstring> names;
    found = primitives::EnumerateFolder(base, &names) && !names.empty();
    auto filter = BuildExtensionFilter(extensions);
    for (const auto& name : names) {
      if (list && ExtensionFilterAccepts(filter, name)) list->push_back(fullPath ? base + name : name);
    }
  }
  SwitchWow64FsRedirection(false, &state);
  return found;
}

bool ProcessNameMatches(const std::wstring& exePath, const std::wstring& exeName) {
  std::size_t sep = exePath.find_last_of(L"\\/:");
  std::wstring fileName = sep == std::wstring::npos ? exePath : exePath.substr(sep + 1);
  return EqualsNoCase(fileName, exeName) || EqualsNoCase(exePath, exeName);
}

namespace {
// Folder numbers by index; -1 no folder, -2 Windows, -3 system, -4 temporary folder.
constexpr int kFolderNumbers[36] = {
    -2, -3, -4, 32, 33, 34, 8,  16, 2,  6,  7,  40, 26, 28, -1, 38, 43, 11,
    35, 28, 20, 21, 19, 9,  13, 14, 27, 39, 41, 42, 43, 44, 48, 56, 59, 5};
}  // namespace

int TAppFrame::FolderNumberForIndex(int index) {
  if (index < 0 || index > 35) return -1;
  return kFolderNumbers[index];
}

TAppFrame::TAppFrame() {
  // Each lookup may fail on its own; an empty field is the answer then.
  CommonAppDataDir = SpecialFolderPath(35);
  AppDataDir = SpecialFolderPath(26);
  std::wstring exe = ProgramFileName();
  std::size_t sep = exe.find_last_of(L"\\/");
  if (sep != std::wstring::npos) ExeDir = exe.substr(0, sep + 1);
}

void TAppFrame::GetFolderPath(int index, std::wstring& path) const {
  int number = FolderNumberForIndex(index);
  switch (number) {
    case -1: return;
    case -2: path = WindowsFolder(); return;
    case -3: path = SystemFolder(); return;
    case -4: path = TempFolder(); return;
    default: path = SpecialFolderPath(number); return;
  }
}

}  // namespace corrivo

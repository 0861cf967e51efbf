#include "sysaccess/windows_version.h"

#include "sysaccess/text.h"

namespace corrivo {

bool IsSupported(WindowsVersion version) { return VersionSet::All().Contains(version); }

bool IsSevenOrLater(WindowsVersion version) {
  return version == WindowsVersion::Seven || version == WindowsVersion::Eight;
}

std::int32_t VersionCode(WindowsVersion version) { return static_cast<std::int32_t>(version); }

WindowsVersion MapWindowsVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType) {
  const bool server = productType == kProductTypeServer;
  if (major == 5) {
    switch (minor) {
      case 0: return WindowsVersion::Windows2000;
      case 1: return WindowsVersion::XP;
      // 5.2 is XP x64 on a workstation.
      case 2: return server ? WindowsVersion::Server2003 : WindowsVersion::XP;
      default: return WindowsVersion::Unknown;
    }
  }
  if (major == 6) {
    switch (minor) {
      case 0: return server ? WindowsVersion::Server2008 : WindowsVersion::Vista;
      case 1: return server ? WindowsVersion::Server2008 : WindowsVersion::Seven;
      case 2: return WindowsVersion::Eight;
      default: return WindowsVersion::Unknown;
    }
  }
  return WindowsVersion::Unknown;
}

bool ParseVersionName(const std::wstring& name, WindowsVersion* version) {
  const std::wstring n = ToLower(name);
  if (n == L"xp" || n == L"windows xp") *version = WindowsVersion::XP;
  else if (n == L"vista" || n == L"windows vista") *version = WindowsVersion::Vista;
  else if (n == L"7" || n == L"windows 7" || n == L"win7") *version = WindowsVersion::Seven;
  else if (n == L"8" || n == L"windows 8" || n == L"win8") *version = WindowsVersion::Eight;
  else return false;
  return true;
}

const wchar_t* VersionName(WindowsVersion version) {
  switch (version) {
    case WindowsVersion::XP: return L"XP";
    case WindowsVersion::Vista: return L"Vista";
    case WindowsVersion::Seven: return L"7";
    case WindowsVersion::Eight: return L"8";
    default: return L"unsupported";
  }
}

}  // namespace corrivo

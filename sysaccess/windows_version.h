// The Windows versions the program knows. Four are supported; the others are recognised only
// so that they can be refused by name.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corrivo {

// The numbers are the version codes the program has always stored and shown (the hosts repair
// and the scan list keep them); compare versions by name, never by order: 4 is a server.
enum class WindowsVersion : std::int32_t {
  XP = 0,
  Vista = 1,
  Server2003 = 2,
  Seven = 3,
  Server2008 = 4,
  Windows2000 = 5,
  Eight = 6,
  Unknown = -1,
};

inline constexpr std::array<WindowsVersion, 4> kSupportedVersions = {
    WindowsVersion::XP, WindowsVersion::Vista, WindowsVersion::Seven, WindowsVersion::Eight};

constexpr std::uint32_t kProductTypeServer = 3;

bool IsSupported(WindowsVersion version);
// Windows 7 and 8, the versions with Aero Snap, Sticky Notes and the newer shell.
bool IsSevenOrLater(WindowsVersion version);
std::int32_t VersionCode(WindowsVersion version);
// From the version record (major, minor, product type).
WindowsVersion MapWindowsVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t productType);

// "xp", "vista", "7", "8" (and "XP", "Vista", "Windows 7" ...); false for anything else.
bool ParseVersionName(const std::wstring& name, WindowsVersion* version);
// "XP", "Vista", "7", "8"; "unsupported" for the rest.
const wchar_t* VersionName(WindowsVersion version);

// A set of versions, for the rules that say where a repair is offered or disabled.
class VersionSet {
 public:
  constexpr VersionSet() = default;
  constexpr VersionSet(std::initializer_list<WindowsVersion> versions) {
    for (WindowsVersion v : versions) bits_ |= Bit(v);
  }
  static constexpr VersionSet All() {
    return {WindowsVersion::XP, WindowsVersion::Vista, WindowsVersion::Seven, WindowsVersion::Eight};
  }
  constexpr bool Contains(WindowsVersion v) const { return (bits_ & Bit(v)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr bool operator==(const VersionSet&) const = default;

 private:
  static constexpr std::uint32_t Bit(WindowsVersion v) {
    const auto code = static_cast<std::int32_t>(v);
    return code < 0 ? 0u : 1u << code;
  }
  std::uint32_t bits_ = 0;
};

}  // namespace corrivo

// libFuzzer target: arbitrary bytes as the old hosts file, through the hosts repair's text rules
// for every Windows version. Besides crashes it stops when the new file breaks what the repair
// promises: the old comments and blank lines in their order, then exactly the default entries,
// and a second run of the repair over its own output changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/hosts_file.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/windows_version.h"

namespace {

using corrivo::WindowsVersion;

void Require(bool condition) {
  if (!condition) std::abort();
}

constexpr WindowsVersion kVersions[] = {
    WindowsVersion::XP,         WindowsVersion::Vista,       WindowsVersion::Server2003,
    WindowsVersion::Seven,      WindowsVersion::Server2008,  WindowsVersion::Windows2000,
    WindowsVersion::Eight,      WindowsVersion::Unknown,
};

bool KeptByTheRepair(const std::wstring& line) { return line.empty() || line.front() == L'#'; }

bool IsDefaultEntry(const std::wstring& line) {
  return line == corrivo::kHostsIPv4Entry || line == corrivo::kHostsIPv6Entry;
}

// The repair's whole text path, as RewriteHostsFile runs it over the file's bytes.
std::string Repair(corrivo::FileService& files, std::string_view bytes, WindowsVersion version,
                   std::vector<std::wstring>* newLines) {
  const auto lines = corrivo::SplitHostsLines(corrivo::DecodeHostsBytes(files, bytes));
  *newLines = corrivo::TransformHostsLines(lines, version);
  return corrivo::EncodeHostsLines(files, *newLines);
}

void CheckLines(const std::vector<std::wstring>& old, const std::vector<std::wstring>& now,
                WindowsVersion version) {
  std::vector<std::wstring> kept;
  for (const auto& line : old) {
    Require(line.find_first_of(L"\r\n") == std::wstring::npos);
    if (KeptByTheRepair(line)) kept.push_back(line);
  }
  Require(now.size() >= kept.size());
  Require(std::vector<std::wstring>(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(kept.size())) == kept);
  const std::vector<std::wstring> added(now.begin() + static_cast<std::ptrdiff_t>(kept.size()), now.end());
  for (const auto& line : added) Require(IsDefaultEntry(line));
  if (version == WindowsVersion::XP) {
    Require(added == std::vector<std::wstring>{corrivo::kHostsIPv4Entry});
  } else if (corrivo::IsSupported(version)) {
    Require(added == (std::vector<std::wstring>{corrivo::kHostsIPv4Entry, corrivo::kHostsIPv6Entry}));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static corrivo::MemoryFileService files;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto old = corrivo::SplitHostsLines(corrivo::DecodeHostsBytes(files, bytes));
  for (WindowsVersion version : kVersions) CheckLines(old, corrivo::TransformHostsLines(old, version), version);

  // The byte round trip costs most; one version per input still reaches every version.
  const WindowsVersion version = kVersions[size % std::size(kVersions)];
  std::vector<std::wstring> first, second;
  const std::string written = Repair(files, bytes, version, &first);
  Require(written.size() >= 2 * first.size());
  if (!written.empty()) Require(written.compare(written.size() - 2, 2, "\r\n") == 0);
  // A second run reads what the first wrote; anything it changed would mean the file drifts
  // each time the repair is clicked.
  const std::string again = Repair(files, written, version, &second);
  Require(again == written);
  Require(second.size() == first.size());
  return 0;
}

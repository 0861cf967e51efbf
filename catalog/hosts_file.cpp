#include "catalog/hosts_file.h"

#include <exception>
#include <utility>

#include "catalog/hosts_platform.h"
#include "sysaccess/platform.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
  return bytes.size() >= mark.size() && bytes.substr(0, mark.size()) == mark;
}

std::wstring Utf16BeToWide(std::string_view bytes) {
  std::string swapped(bytes.substr(0, bytes.size() & ~std::size_t{1}));
  for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
  return Utf16LeToWide(reinterpret_cast<const unsigned char*>(swapped.data()), swapped.size());
}

}  // namespace

std::wstring DecodeHostsBytes(std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8ToWide(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) {
    std::string_view rest = bytes.substr(2);
    return Utf16LeToWide(reinterpret_cast<const unsigned char*>(rest.data()), rest.size());
  }
  if (StartsWith(bytes, "\xFE\xFF")) return Utf16BeToWide(bytes.substr(2));
  return hostsio::AnsiToWide(bytes);
}

std::vector<std::wstring> SplitHostsLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    wchar_t c = text[i];
    if (c != L'\r' && c != L'\n') {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    i += (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ? 2 : 1;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::wstring> TransformHostsLines(const std::vector<std::wstring>& lines,
                                              std::int32_t osVersionCode) {
  std::vector<std::wstring> kept;
  // Only the first character counts: an indented "#" is not a comment here.
  for (const auto& line : lines) {
    if (line.empty() || line.front() == L'#') kept.push_back(line);
  }
  if (osVersionCode == kOsXP || osVersionCode == kOsVista || osVersionCode == kOsWin7 ||
      osVersionCode == kOsWin8)
    kept.emplace_back(kHostsIPv4Entry);
  if (osVersionCode > 0) kept.emplace_back(kHostsIPv6Entry);
  return kept;
}

std::string EncodeHostsLines(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const auto& line : lines) {
    text += line;
    text += L"\r\n";
  }
  return hostsio::WideToAnsi(text);
}

bool RewriteHostsFile(std::int32_t osVersionCode) {
  try {
    const std::wstring path = ExpandEnvironmentText(kHostsFileTemplate);
    // An unexpanded or cut path must not turn into a file in the current folder.
    const bool usable = !path.empty() && path.find(L'%') == std::wstring::npos && hostsio::IsFullPath(path);
    std::string bytes;
    if (usable) hostsio::ReadFileBytes(path, &bytes);  // what was read before an error still counts
    std::vector<std::wstring> lines = TransformHostsLines(SplitHostsLines(DecodeHostsBytes(bytes)), osVersionCode);
    if (!usable) return false;
    return hostsio::ReplaceFileBytes(path, EncodeHostsLines(lines));
  } catch (const std::exception&) {
    // Out of memory on a giant file: report failure, the old file stays as it was.
    return false;
  }
}

}  // namespace corrivo

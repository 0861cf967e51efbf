#include "catalog/hosts_file.h"

#include <exception>
#include <utility>

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

std::wstring DecodeHostsBytes(FileService& files, std::string_view bytes) {
  if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8ToWide(bytes.substr(3));
  if (StartsWith(bytes, "\xFF\xFE")) {
    std::string_view rest = bytes.substr(2);
    return Utf16LeToWide(reinterpret_cast<const unsigned char*>(rest.data()), rest.size());
  }
  if (StartsWith(bytes, "\xFE\xFF")) return Utf16BeToWide(bytes.substr(2));
  return files.AnsiToWide(bytes);
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
                                              WindowsVersion windows) {
  std::vector<std::wstring> kept;
  // Only the first character counts: an indented "#" is not a comment here.
  for (const auto& line : lines) {
    if (line.empty() || line.front() == L'#') kept.push_back(line);
  }
  if (IsSupported(windows)) kept.emplace_back(kHostsIPv4Entry);
  if (windows != WindowsVersion::XP && windows != WindowsVersion::Unknown) kept.emplace_back(kHostsIPv6Entry);
  return kept;
}

std::string EncodeHostsLines(FileService& files, const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const auto& line : lines) {
    text += line;
    text += L"\r\n";
  }
  return files.WideToAnsi(text);
}

std::wstring HostsFilePath(System& system) {
  std::wstring windows = system.os.WindowsFolder();
  while (!windows.empty() && (windows.back() == L'\\' || windows.back() == L'/')) windows.pop_back();
  if (windows.empty() || !system.files.IsFullPath(windows + L"\\")) return std::wstring();
  return windows + kHostsFileUnderWindows;
}

bool RewriteHostsFile(System& system, WindowsVersion windows) {
  try {
    const std::wstring path = HostsFilePath(system);
    if (path.empty()) return false;
    std::string bytes;
    // Rewriting a file that could not be read would lose its comments.
    if (system.files.ReadWholeFile(path, &bytes) == FileRead::Unreadable) return false;
    const auto lines = TransformHostsLines(SplitHostsLines(DecodeHostsBytes(system.files, bytes)), windows);
    return system.files.ReplaceWholeFile(path, EncodeHostsLines(system.files, lines));
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace corrivo

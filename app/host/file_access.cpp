// File services of the Linux builds: the real file system, with the program's Windows-style
// paths turned into POSIX ones.
#include "app/file_access.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "app/ext_ini_file.h"
#include "sysaccess/text.h"

namespace corrivo::files {
namespace {

std::filesystem::path HostPath(const std::wstring& path) {
  std::wstring posix = path;
  for (auto& c : posix)
    if (c == L'\\') c = L'/';
  return std::filesystem::path(WideToUtf8(posix));
}

std::wstring StripQuotes(const std::wstring& value) {
  if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

bool FileExists(const std::wstring& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(HostPath(path), ec);
}

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  bytes->clear();
  if (!FileExists(path)) return false;
  std::ifstream in(HostPath(path), std::ios::binary);
  if (!in) return false;
  // Read in pieces rather than trusting the size up front: the file may grow meanwhile.
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    bytes->append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes->size() > kMaxTextFileBytes) {
      bytes->clear();
      return false;
    }
  }
  if (in.bad()) {
    bytes->clear();
    return false;
  }
  return true;
}

bool ReplaceFileContent(const std::wstring& path, std::string_view bytes) {
  const std::filesystem::path target = HostPath(path);
  std::filesystem::path temp = target;
  temp += ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
  }
  return true;
}

std::wstring AnsiToWide(std::string_view bytes) { return Cp1252ToWide(bytes); }

std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& defaultValue) {
  TExtIniFile ini;
  if (!ini.LoadFromFile(path)) return defaultValue;
  if (!ini.ValueExists(section, key)) return defaultValue;
  return StripQuotes(ini.ReadString(section, key, defaultValue));
}

}  // namespace corrivo::files

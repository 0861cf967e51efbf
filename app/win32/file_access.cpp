// File services of the Windows builds, straight on kernel32: wide paths, the ANSI code page and
// the private-profile reader, all present on XP.
#include "app/file_access.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "sysaccess/win32/win32_api.h"

namespace corrivo::files {

bool FileExists(const std::wstring& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  bytes->clear();
  if (!FileExists(path)) return false;
  win32::UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
      bytes->clear();
      return false;
    }
    if (got == 0) return true;
    bytes->append(buffer, got);
    if (bytes->size() > kMaxTextFileBytes) {
      bytes->clear();
      return false;
    }
  }
}

bool ReplaceFileContent(const std::wstring& path, std::string_view bytes) {
  if (path.empty()) return false;
  const std::wstring temp = path + L".tmp" + std::to_wstring(GetCurrentProcessId());
  bool written = false;
  {
    win32::UniqueHandle file(
        CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    written = true;
    std::size_t done = 0;
    while (done < bytes.size()) {
      DWORD put = 0;
      DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
      if (!WriteFile(file.get(), bytes.data() + done, chunk, &put, nullptr) || put == 0) {
        written = false;
        break;
      }
      done += put;
    }
    if (written && !FlushFileBuffers(file.get())) written = false;
  }
  if (written && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileW(temp.c_str());
  return false;
}

std::wstring AnsiToWide(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring();
  const int size = static_cast<int>(bytes.size());
  int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  int got = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), needed);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section,
                               const std::wstring& key, const std::wstring& defaultValue) {
  // The reader gives no length up front: a result that fills the buffer may have been cut.
  for (DWORD size = 256; size <= (1u << 20); size *= 4) {
    std::vector<wchar_t> buffer(size);
    DWORD got = GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                         size, path.c_str());
    if (got + 1 < size) return std::wstring(buffer.data(), got);
  }
  return defaultValue;
}

}  // namespace corrivo::files

// Files on Windows. Replacement writes go to a fresh temporary file with a name nobody can
// guess in advance, created new (never opened if it is there already, never through a link),
// then renamed over the target; an elevated program writing in a folder that standard users
// can write to must not be steered into overwriting another file.
#include <algorithm>
#include <climits>
#include <vector>

#include "sysaccess/files.h"
#include "sysaccess/win32/win32_api.h"

#include <aclapi.h>

namespace corrivo::win32 {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A name beside `path` that differs on every call and in every process.
std::wstring TemporaryNameFor(const std::wstring& path, unsigned attempt) {
  LARGE_INTEGER now = {};
  QueryPerformanceCounter(&now);
  return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(static_cast<unsigned long long>(now.QuadPart)) + L"-" + std::to_wstring(attempt) +
         L".tmp";
}

// One part of a token's information, empty when it cannot be read.
std::vector<unsigned char> TokenPart(HANDLE token, TOKEN_INFORMATION_CLASS part) {
  DWORD size = 0;
  GetTokenInformation(token, part, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  if (size == 0 || !GetTokenInformation(token, part, buffer.data(), size, &size)) buffer.clear();
  return buffer;
}

// The new file must be a plain file with one name: no reparse point, no second hard link.
bool IsPlainSingleFile(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!GetFileInformationByHandle(file, &info)) return false;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && info.nNumberOfLinks == 1;
}

// The replacement takes the old file's access rules, so that a file an administrator locked
// down (the hosts file) stays locked down; a new file keeps the folder's inherited ones.
void KeepAccessRulesOf(const std::wstring& path, HANDLE replacement) {
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                            nullptr, &descriptor) != ERROR_SUCCESS)
    return;
  SetSecurityInfo(replacement, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr);
  LocalFree(descriptor);
}

class Win32FileService : public FileService {
 public:
  bool FileExists(const std::wstring& path) override {
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::wstring& folder) override {
    if (folder.empty()) return false;
    DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  FileRead ReadWholeFile(const std::wstring& path, std::string* bytes) override {
    bytes->clear();
    if (path.empty()) return FileRead::Missing;
    UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      const DWORD error = GetLastError();
      return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileRead::Missing
                                                                           : FileRead::Unreadable;
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) break;
      if (got == 0) return FileRead::Ok;
      bytes->append(buffer.data(), got);
      if (bytes->size() > kMaxFileBytes) break;
    }
    bytes->clear();
    return FileRead::Unreadable;
  }

  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override {
    if (path.empty()) return false;
    for (unsigned attempt = 0; attempt < 8; ++attempt) {
      const std::wstring temp = TemporaryNameFor(path, attempt);
      UniqueHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE | WRITE_DAC, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
      if (!file) {
        if (GetLastError() == ERROR_FILE_EXISTS) continue;
        return false;
      }
      bool ok = IsPlainSingleFile(file.get()) && WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
      if (ok) KeepAccessRulesOf(path, file.get());
      file.reset();
      if (ok && MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
      DeleteFileW(temp.c_str());
      return false;
    }
    return false;
  }

  bool ListFolder(const std::wstring& folder, std::vector<std::wstring>* names) override {
    Wow64FsRedirectionOff nativeView;
    WIN32_FIND_DATAW data = {};
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    do {
      names->push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
  }

  bool MakeFolder(const std::wstring& folder) override {
    if (folder.empty()) return false;
    if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
    // Something is there already: only a real folder will do, never a junction or link.
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  }

  bool RemoveFile(const std::wstring& path) override {
    if (path.empty()) return false;
    return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND;
  }

  bool HasOurOwner(const std::wstring& path) override {
    PSID fileOwner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &fileOwner, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS)
      return false;
    // An elevated token makes its files as the Administrators group, so a file of the user is
    // not ours; a token that makes them as the user (Wine) has no such distinction to make.
    bool same = false;
    HANDLE token = nullptr;
    if (fileOwner && OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
      const std::vector<unsigned char> owner = TokenPart(token, TokenOwner), user = TokenPart(token, TokenUser);
      if (!owner.empty() && !user.empty()) {
        const PSID ourOwner = reinterpret_cast<const TOKEN_OWNER*>(owner.data())->Owner;
        const PSID ourUser = reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
        same = EqualSid(fileOwner, ourOwner) ||
               (EqualSid(fileOwner, ourUser) && !IsWellKnownSid(ourOwner, WinBuiltinAdministratorsSid));
      }
      CloseHandle(token);
    }
    LocalFree(descriptor);
    return same;
  }

  bool IsFullPath(const std::wstring& path) override {
    if (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) return true;
    return path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
  }

  std::wstring AnsiToWide(std::string_view bytes) override {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring();
    const int size = static_cast<int>(bytes.size());
    int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (needed <= 0) return std::wstring();
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    int got = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, text.data(), needed);
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
  }

  std::string WideToAnsi(std::wstring_view text) override {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return {};
    const int size = static_cast<int>(text.size());
    int count = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (count <= 0) return {};
    std::string bytes(static_cast<std::size_t>(count), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, bytes.data(), count, nullptr, nullptr);
    return bytes;
  }

  std::wstring ReadProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue) override {
    for (DWORD size = 256; size <= (1u << 20); size *= 4) {
      std::vector<wchar_t> buffer(size);
      DWORD got = GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                           size, path.c_str());
      if (got + 1 < size) return std::wstring(buffer.data(), got);
    }
    return defaultValue;
  }
};

}  // namespace

FileService& PlatformFiles() {
  static Win32FileService files;
  return files;
}

}  // namespace corrivo::win32

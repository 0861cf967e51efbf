// The real file system on Linux builds, with Windows spellings of paths turned into Unix ones.
#include "sysaccess/memory/stand_ins.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "sysaccess/text.h"

namespace corrivo {
namespace {

std::string PosixPath(const std::wstring& path) {
  std::wstring p = path;
  for (auto& c : p)
    if (c == L'\\') c = L'/';
  return WideToUtf8(p);
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  bool Close() {
    if (fd_ < 0) return true;
    int r = ::close(fd_);
    fd_ = -1;
    return r == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

bool HostFileService::FileExists(const std::wstring& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(PosixPath(path), ec);
}

bool HostFileService::FolderExists(const std::wstring& folder) {
  std::error_code ec;
  return !folder.empty() && std::filesystem::is_directory(PosixPath(folder), ec);
}

FileRead HostFileService::ReadWholeFile(const std::wstring& path, std::string* bytes) {
  bytes->clear();
  Fd fd(::open(PosixPath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
  std::array<char, 64 * 1024> buffer;
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) return FileRead::Ok;
    if (n < 0) break;
    bytes->append(buffer.data(), static_cast<std::size_t>(n));
    if (bytes->size() > kMaxFileBytes) break;
  }
  bytes->clear();
  return FileRead::Unreadable;
}

bool HostFileService::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  const std::string target = PosixPath(path);
  for (unsigned attempt = 0; attempt < 8; ++attempt) {
    const std::string temp = target + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
    // O_EXCL with O_CREAT never follows a link and never opens a file that is already there.
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644));
    if (!fd.ok()) {
      if (errno == EEXIST) continue;
      return false;
    }
    bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    ok = fd.Close() && ok;
    if (ok && std::rename(temp.c_str(), target.c_str()) == 0) return true;
    ::unlink(temp.c_str());
    return false;
  }
  return false;
}

bool HostFileService::ListFolder(const std::wstring& folder, std::vector<std::wstring>* names) {
  std::error_code ec;
  std::filesystem::directory_iterator it(PosixPath(folder), ec);
  if (ec) return false;
  names->push_back(L".");
  names->push_back(L"..");
  for (const auto& entry : it) names->push_back(Utf8ToWide(entry.path().filename().string()));
  return true;
}

bool HostFileService::MakeFolder(const std::wstring& folder) {
  const std::string path = PosixPath(folder);
  if (path.empty()) return false;
  if (::mkdir(path.c_str(), 0700) == 0) return true;
  // Something is there already: only a real folder will do, never a link to one.
  struct stat info {};
  return errno == EEXIST && ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HostFileService::RemoveFile(const std::wstring& path) {
  return ::unlink(PosixPath(path).c_str()) == 0 || errno == ENOENT;
}

bool HostFileService::IsFullPath(const std::wstring& path) { return !path.empty() && path[0] == L'/'; }

std::wstring HostFileService::AnsiToWide(std::string_view bytes) { return Cp1252ToWide(bytes); }

std::string HostFileService::WideToAnsi(std::wstring_view text) { return WideToCp1252(text); }

std::wstring HostFileService::ReadProfileString(const std::wstring& path, const std::wstring& section,
                                                const std::wstring& key, const std::wstring& defaultValue) {
  std::string bytes;
  if (ReadWholeFile(path, &bytes) != FileRead::Ok) return defaultValue;
  return ProfileValue(AnsiToWide(bytes), section, key, defaultValue);
}

}  // namespace corrivo

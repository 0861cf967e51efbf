// The hosts file's platform services on Linux builds: the real file system, with the
// Windows-style path the repair builds turned into a POSIX one.
#include "catalog/hosts_platform.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>

#include "sysaccess/text.h"

namespace corrivo::hostsio {
namespace {

std::string ToPosixPath(const std::wstring& path) {
  std::wstring p = path;
  for (auto& c : p) {
    if (c == L'\\') c = L'/';
  }
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

// A leading backslash is a Windows path rooted on the current drive, not a full path.
bool IsFullPath(const std::wstring& path) { return !path.empty() && path[0] == L'/'; }

bool ReadFileBytes(const std::wstring& path, std::string* bytes) {
  Fd fd(::open(ToPosixPath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.ok()) return false;
  std::array<char, 8192> buffer;
  for (;;) {
    ssize_t n = ::read(fd.get(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes->append(buffer.data(), static_cast<std::size_t>(n));
  }
}

bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes) {
  const std::string target = ToPosixPath(path);
  const std::string temp = target + ".corrivo-new";
  Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!fd.ok()) return false;
  bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (ok && std::rename(temp.c_str(), target.c_str()) == 0) return true;
  ::unlink(temp.c_str());
  return false;
}

std::wstring AnsiToWide(std::string_view bytes) { return Cp1252ToWide(bytes); }

std::string WideToAnsi(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    // The 32 characters Windows-1252 places at 0x80-0x9F; reuse the decoder's table backwards.
    char mapped = '?';
    for (int b = 0x80; b < 0xA0; ++b) {
      const char byte = static_cast<char>(b);
      if (Cp1252ToWide(std::string_view(&byte, 1))[0] == c) {
        mapped = byte;
        break;
      }
    }
    out += mapped;
  }
  return out;
}

}  // namespace corrivo::hostsio

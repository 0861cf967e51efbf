#include "sysaccess/offline/hive_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <hivex.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "sysaccess/text.h"

namespace corrivo {
namespace {

constexpr std::size_t kBaseBlockSize = 0x1000;

std::wstring Wide(const std::string& s) { return Utf8ToWide(s); }
std::wstring ErrnoText(int e) { return Utf8ToWide(std::strerror(e)); }

struct Freer {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Malloced = std::unique_ptr<T, Freer>;

std::uint32_t Le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24); }

// What hivex does not look at: a hive that Windows was still writing (its two sequence
// numbers differ) and one cut short (its header promises more bins than the file holds).
std::wstring HeaderProblem(const std::string& path, off_t size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return L"cannot read " + Wide(path) + L": " + ErrnoText(errno);
  unsigned char header[0x30] = {};
  const ssize_t got = ::read(fd, header, sizeof header);
  ::close(fd);
  if (got != static_cast<ssize_t>(sizeof header) || std::memcmp(header, "regf", 4) != 0)
    return Wide(path) + L" is not a registry hive";
  if (Le32(header + 4) != Le32(header + 8))
    return Wide(path) + L" was being written when Windows stopped (its header's sequence numbers differ); "
                        L"start that Windows once so that it recovers the hive, or restore a backup of it";
  if (static_cast<std::uint64_t>(Le32(header + 0x28)) + kBaseBlockSize > static_cast<std::uint64_t>(size))
    return Wide(path) + L" is cut short: its header promises more data than the file holds";
  return {};
}

bool ReadOnlyMount(const std::string& path) {
  struct statvfs vfs {};
  return ::statvfs(path.c_str(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY) != 0;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool CopyFileNew(const std::string& from, const std::string& to, mode_t mode) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (in < 0) return false;
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) { ok = false; break; }
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(out, buffer + done, static_cast<std::size_t>(n - done));
      if (w <= 0) { ok = false; break; }
      done += w;
    }
    if (!ok) break;
  }
  ok = ::fsync(out) == 0 && ok;
  ok = ::close(out) == 0 && ok;
  ::close(in);
  if (!ok) ::unlink(to.c_str());
  return ok;
}

// "<hive>.corrivo-YYYYMMDD-HHMMSS", with "-2", "-3" ... when that name is taken.
bool MakeBackup(const std::string& path, mode_t mode, std::string* backup) {
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm {};
  ::gmtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
  for (int n = 1; n < 100; ++n) {
    std::string name = path + ".corrivo-" + stamp + (n == 1 ? "" : "-" + std::to_string(n));
    if (CopyFileNew(path, name, mode)) {
      *backup = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

}  // namespace

std::string FindEntryNoCase(const std::string& folder, const std::string& name) {
  const std::string joined = folder + "/" + name;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return joined;
  std::string found = joined;
  while (const dirent* entry = ::readdir(dir)) {
    if (::strcasecmp(entry->d_name, name.c_str()) == 0) {
      found = folder + "/" + entry->d_name;
      if (name == entry->d_name) break;
    }
  }
  ::closedir(dir);
  return found;
}

std::wstring PendingLogProblem(const std::string& hivePath) {
  struct stat hive {};
  if (::stat(hivePath.c_str(), &hive) != 0) return {};
  const std::string folder = FolderOf(hivePath);
  const std::string file = hivePath.substr(hivePath.rfind('/') + 1);
  for (const char* suffix : {".LOG", ".LOG1", ".LOG2"}) {
    const std::string log = FindEntryNoCase(folder, file + suffix);
    struct stat st {};
    if (::stat(log.c_str(), &st) != 0 || st.st_size == 0) continue;
    const bool newer = st.st_mtim.tv_sec > hive.st_mtim.tv_sec ||
                       (st.st_mtim.tv_sec == hive.st_mtim.tv_sec && st.st_mtim.tv_nsec > hive.st_mtim.tv_nsec);
    if (newer)
      return Wide(hivePath) + L" has changes still in its transaction log " + Wide(log) +
             L" (newer than the hive); start that Windows once so that it writes them into the hive "
             L"(it does so early in start-up, even when the shell does not start)";
  }
  return {};
}

std::unique_ptr<HiveFile> HiveFile::Open(const std::string& path, bool writable, std::wstring* error) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    *error = errno == ENOENT ? Wide(path) + L" is missing" : L"cannot read " + Wide(path) + L": " + ErrnoText(errno);
    return nullptr;
  }
  if (!S_ISREG(st.st_mode)) {
    *error = Wide(path) + L" is not a plain file (a link or a folder)";
    return nullptr;
  }
  if (std::wstring problem = HeaderProblem(path, st.st_size); !problem.empty()) {
    *error = problem;
    return nullptr;
  }
  if (std::wstring problem = PendingLogProblem(path); !problem.empty()) {
    *error = problem;
    return nullptr;
  }
  if (writable) {
    if (ReadOnlyMount(path)) {
      *error = Wide(FolderOf(path)) + L" is on a read-only mount; remount it read-write (a Windows 8 that was shut "
                                      L"down with fast start-up is mounted read-only until it is fully shut down)";
      return nullptr;
    }
    // The mode bits too: root passes access() whatever they say, and an NTFS mount shows the
    // Windows read-only attribute as a file nobody may write.
    if ((st.st_mode & 0222) == 0) {
      *error = Wide(path) + L" is read-only (its read-only attribute is set); clear it first";
      return nullptr;
    }
    if (::access(path.c_str(), W_OK) != 0 || ::access(FolderOf(path).c_str(), W_OK) != 0) {
      *error = L"cannot write " + Wide(path) + L" or its folder: " + ErrnoText(errno);
      return nullptr;
    }
  }
  errno = 0;
  hive_h* h = hivex_open(path.c_str(), writable ? HIVEX_OPEN_WRITE : 0);
  if (!h) {
    *error = L"cannot read the hive " + Wide(path) + L": not a registry hive, or damaged (" + ErrnoText(errno) + L")";
    return nullptr;
  }
  return std::unique_ptr<HiveFile>(new HiveFile(h, path, writable));
}

HiveFile::~HiveFile() { hivex_close(h_); }

HiveNode HiveFile::Root() { return hivex_root(h_); }

HiveNode HiveFile::Child(HiveNode node, const std::wstring& name) {
  return hivex_node_get_child(h_, node, WideToUtf8(name).c_str());
}

std::vector<std::wstring> HiveFile::ChildNames(HiveNode node) {
  std::vector<std::wstring> names;
  Malloced<hive_node_h> children(hivex_node_children(h_, node));
  if (!children) return names;
  for (hive_node_h* c = children.get(); *c; ++c) {
    Malloced<char> name(hivex_node_name(h_, *c));
    if (name) names.push_back(Utf8ToWide(name.get()));
  }
  return names;
}

std::size_t HiveFile::ChildCount(HiveNode node) { return hivex_node_nr_children(h_, node); }

std::vector<std::wstring> HiveFile::ValueNames(HiveNode node) {
  std::vector<std::wstring> names;
  Malloced<hive_value_h> values(hivex_node_values(h_, node));
  if (!values) return names;
  for (hive_value_h* v = values.get(); *v; ++v) {
    Malloced<char> key(hivex_value_key(h_, *v));
    if (key) names.push_back(Utf8ToWide(key.get()));
  }
  return names;
}

bool HiveFile::Value(HiveNode node, const std::wstring& name, RegType* type, std::vector<std::uint8_t>* data) {
  const hive_value_h v = hivex_node_get_value(h_, node, WideToUtf8(name).c_str());
  if (!v) return false;
  hive_type t{};
  std::size_t len = 0;
  Malloced<char> bytes(hivex_value_value(h_, v, &t, &len));
  if (!bytes) return false;
  if (type) *type = static_cast<RegType>(t);
  if (data) data->assign(bytes.get(), bytes.get() + len);
  return true;
}

long HiveFile::AddChild(HiveNode parent, const std::wstring& name, HiveNode* child) {
  if (!writable_) return regerr::kAccessDenied;
  const hive_node_h c = hivex_node_add_child(h_, parent, WideToUtf8(name).c_str());
  if (!c) return regerr::kAccessDenied;
  changed_ = true;
  *child = c;
  return regerr::kSuccess;
}

long HiveFile::DeleteChild(HiveNode node) {
  if (!writable_) return regerr::kAccessDenied;
  if (hivex_node_delete_child(h_, node) != 0) return regerr::kAccessDenied;
  changed_ = true;
  return regerr::kSuccess;
}

long HiveFile::SetValue(HiveNode node, const std::wstring& name, RegType type, const std::vector<std::uint8_t>& data) {
  if (!writable_) return regerr::kAccessDenied;
  std::string key = WideToUtf8(name);
  std::vector<char> bytes(data.begin(), data.end());
  hive_set_value value{key.data(), static_cast<hive_type>(type), bytes.size(), bytes.data()};
  if (hivex_node_set_value(h_, node, &value, 0) != 0) return regerr::kAccessDenied;
  changed_ = true;
  return regerr::kSuccess;
}

long HiveFile::DeleteValue(HiveNode node, const std::wstring& name) {
  if (!writable_) return regerr::kAccessDenied;
  // hivex replaces a key's values only as a whole: write back all the others.
  Malloced<hive_value_h> values(hivex_node_values(h_, node));
  if (!values) return regerr::kAccessDenied;
  std::vector<Malloced<char>> keys, datas;
  std::vector<hive_set_value> keep;
  bool found = false;
  for (hive_value_h* v = values.get(); *v; ++v) {
    Malloced<char> key(hivex_value_key(h_, *v));
    hive_type t{};
    std::size_t len = 0;
    Malloced<char> data(hivex_value_value(h_, *v, &t, &len));
    if (!key || !data) return regerr::kAccessDenied;
    if (EqualsNoCase(Utf8ToWide(key.get()), name)) {
      found = true;
      continue;
    }
    keep.push_back(hive_set_value{key.get(), t, len, data.get()});
    keys.push_back(std::move(key));
    datas.push_back(std::move(data));
  }
  if (!found) return regerr::kFileNotFound;
  if (hivex_node_set_values(h_, node, keep.size(), keep.data(), 0) != 0) return regerr::kAccessDenied;
  changed_ = true;
  return regerr::kSuccess;
}

bool HiveFile::Save(std::string* backup, std::wstring* error) {
  struct stat st {};
  if (::lstat(path_.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = Wide(path_) + L" is gone or was replaced by something else; it was not written";
    return false;
  }
  if (!MakeBackup(path_, st.st_mode & 0777, backup)) {
    *error = L"cannot keep a copy of " + Wide(path_) + L" beside it (" + ErrnoText(errno) + L"); it was not written";
    return false;
  }
  // A folder only this process can enter: nobody can plant a link where hivex writes.
  std::string folder = FolderOf(path_) + "/.corrivo-XXXXXX";
  if (!::mkdtemp(folder.data())) {
    *error = L"cannot write beside " + Wide(path_) + L" (" + ErrnoText(errno) + L"); it was not written";
    return false;
  }
  const std::string temp = folder + "/hive";
  bool ok = hivex_commit(h_, temp.c_str(), 0) == 0;
  int saved = errno;
  if (ok) {
    const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    ok = fd >= 0 && ::fchmod(fd, st.st_mode & 0777) == 0 && ::fsync(fd) == 0;
    saved = errno;
    if (fd >= 0) ::close(fd);
  }
  if (ok) {
    ok = ::rename(temp.c_str(), path_.c_str()) == 0;
    saved = errno;
  }
  if (!ok) ::unlink(temp.c_str());
  ::rmdir(folder.c_str());
  if (!ok) {
    *error = L"cannot replace " + Wide(path_) + L" (" + ErrnoText(saved) + L"); it was left as it was";
    return false;
  }
  changed_ = false;
  return true;
}

}  // namespace corrivo

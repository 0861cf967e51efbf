#include "tests/offline/hive_builder.h"

#include <hivex.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace corrivo::testing {
namespace {

void Put32(std::string& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}
void Put16(std::string& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<char>(v);
  b[at + 1] = static_cast<char>(v >> 8);
}

std::string Utf16(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += {c, '\0'};
  return out + std::string(2, '\0');
}

// Keys and values set through hivex itself, so that the code under test plants nothing.
class Planter {
 public:
  explicit Planter(const std::string& path) : path_(path), h_(hivex_open(path.c_str(), HIVEX_OPEN_WRITE)) {
    if (!h_) throw std::runtime_error("hivex cannot open " + path);
  }
  ~Planter() { hivex_close(h_); }
  hive_node_h Key(const std::string& path) {
    hive_node_h node = hivex_root(h_);
    std::stringstream pieces(path);
    for (std::string piece; std::getline(pieces, piece, '\\');) {
      hive_node_h child = hivex_node_get_child(h_, node, piece.c_str());
      node = child ? child : hivex_node_add_child(h_, node, piece.c_str());
    }
    return node;
  }
  void Set(const std::string& key, const std::string& name, hive_type type, const std::string& bytes) {
    std::string n = name, b = bytes;
    hive_set_value v{n.data(), type, b.size(), b.data()};
    if (hivex_node_set_value(h_, Key(key), &v, 0) != 0) throw std::runtime_error("hivex cannot set " + name);
  }
  void Commit() {
    if (hivex_commit(h_, path_.c_str(), 0) != 0) throw std::runtime_error("hivex cannot write " + path_);
  }

 private:
  std::string path_;
  hive_h* h_;
};

std::string Dword(std::uint32_t v) {
  std::string b(4, '\0');
  Put32(b, 0, v);
  return b;
}

std::string ProfileFolder(WindowsVersion version) {
  return version == WindowsVersion::XP ? "Documents and Settings" : "Users";
}

// The major.minor text Windows keeps as CurrentVersion for a version.
std::string VersionText(WindowsVersion version) {
  switch (version) {
    case WindowsVersion::XP: return "5.1";
    case WindowsVersion::Vista: return "6.0";
    case WindowsVersion::Seven: return "6.1";
    case WindowsVersion::Eight: return "6.2";
    case WindowsVersion::Server2003: return "5.2";
    default: return "10.0";
  }
}

}  // namespace

std::string EmptyHiveBytes() {
  constexpr std::size_t kBase = 0x1000, kBin = 0x1000;
  std::string b(kBase + kBin, '\0');
  // Base block: signature, equal sequence numbers, version 1.5, primary file, direct load,
  // root cell offset and bins size (both relative to the first bin), then the checksum.
  std::memcpy(&b[0], "regf", 4);
  Put32(b, 0x04, 1);
  Put32(b, 0x08, 1);
  Put32(b, 0x14, 1);
  Put32(b, 0x18, 5);
  Put32(b, 0x20, 1);
  Put32(b, 0x24, 0x20);
  Put32(b, 0x28, kBin);
  Put32(b, 0x2C, 1);
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < 0x1FC; i += 4)
    sum ^= static_cast<std::uint8_t>(b[i]) | (static_cast<std::uint8_t>(b[i + 1]) << 8) |
           (static_cast<std::uint8_t>(b[i + 2]) << 16) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[i + 3])) << 24);
  Put32(b, 0x1FC, sum == 0xFFFFFFFFu ? 0xFFFFFFFEu : sum == 0 ? 1 : sum);
  // The bin: header, then cells whose size is negative while in use.
  const std::size_t bin = kBase;
  std::memcpy(&b[bin], "hbin", 4);
  Put32(b, bin + 0x08, kBin);
  // Root key cell at 0x20: hive entry, no delete, compressed (ASCII) name "ROOT".
  const std::size_t nk = bin + 0x20, nkSize = 88;
  Put32(b, nk, static_cast<std::uint32_t>(-static_cast<std::int32_t>(nkSize)));
  std::memcpy(&b[nk + 4], "nk", 2);
  Put16(b, nk + 4 + 0x02, 0x2C);
  Put32(b, nk + 4 + 0x10, 0xFFFFFFFFu);  // parent
  Put32(b, nk + 4 + 0x1C, 0xFFFFFFFFu);  // subkeys list
  Put32(b, nk + 4 + 0x20, 0xFFFFFFFFu);  // volatile subkeys list
  Put32(b, nk + 4 + 0x28, 0xFFFFFFFFu);  // values list
  Put32(b, nk + 4 + 0x2C, 0x20 + nkSize);  // security cell
  Put32(b, nk + 4 + 0x30, 0xFFFFFFFFu);  // class name
  Put16(b, nk + 4 + 0x48, 4);
  std::memcpy(&b[nk + 4 + 0x4C], "ROOT", 4);
  // Security cell: a list of one (links to itself), one reference, a self-relative
  // descriptor without a DACL.
  const std::size_t sk = nk + nkSize, skSize = 48;
  Put32(b, sk, static_cast<std::uint32_t>(-static_cast<std::int32_t>(skSize)));
  std::memcpy(&b[sk + 4], "sk", 2);
  Put32(b, sk + 4 + 0x04, 0x20 + nkSize);
  Put32(b, sk + 4 + 0x08, 0x20 + nkSize);
  Put32(b, sk + 4 + 0x0C, 1);
  Put32(b, sk + 4 + 0x10, 20);
  b[sk + 4 + 0x14] = 1;
  Put16(b, sk + 4 + 0x16, 0x8000);
  // The rest of the bin is one free cell.
  Put32(b, sk + skSize, static_cast<std::uint32_t>(bin + kBin - (sk + skSize)));
  return b;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

OfflineTree::OfflineTree(const std::string& rootFolder, WindowsVersion v, const std::vector<std::string>& names)
    : root(rootFolder), windows(rootFolder + "/Windows"), config(rootFolder + "/Windows/System32/config"),
      users(names), version(v) {
  std::filesystem::create_directories(config);
  std::filesystem::create_directories(windows + "/System32/drivers/etc");
  WriteFile(windows + "/System32/drivers/etc/hosts", "# hosts of the test machine\r\n10.1.2.3 planted.example\r\n");
  WriteFile(Hive("SOFTWARE"), EmptyHiveBytes());
  WriteFile(Hive("SYSTEM"), EmptyHiveBytes());
  if (v != WindowsVersion::XP) WriteFile(Hive("COMPONENTS"), EmptyHiveBytes());
  {
    Planter software(Hive("SOFTWARE"));
    const std::string cv = "Microsoft\\Windows NT\\CurrentVersion";
    software.Set(cv, "CurrentVersion", hive_t_REG_SZ, Utf16(VersionText(v)));
    software.Set(cv, "SystemRoot", hive_t_REG_SZ, Utf16("C:\\WINDOWS"));
    software.Set("Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", hive_t_REG_SZ, Utf16("C:\\Program Files"));
    software.Set(cv + "\\ProfileList\\S-1-5-18", "ProfileImagePath", hive_t_REG_EXPAND_SZ,
                 Utf16("%systemroot%\\system32\\config\\systemprofile"));
    for (std::size_t i = 0; i < users.size(); ++i)
      software.Set(cv + "\\ProfileList\\S-1-5-21-11-22-33-" + std::to_string(1000 + i), "ProfileImagePath",
                   hive_t_REG_EXPAND_SZ, Utf16("%SystemDrive%\\" + ProfileFolder(v) + "\\" + users[i]));
    software.Key("Classes");
    software.Commit();
  }
  {
    Planter system(Hive("SYSTEM"));
    for (const char* name : {"Current", "Default"}) system.Set("Select", name, hive_t_REG_DWORD, Dword(2));
    system.Set("Select", "LastKnownGood", hive_t_REG_DWORD, Dword(1));
    for (const char* set : {"ControlSet001", "ControlSet002"})
      system.Set(std::string(set) + "\\Control\\ProductOptions", "ProductType", hive_t_REG_SZ,
                 Utf16(v == WindowsVersion::Server2003 ? "ServerNT" : "WinNT"));
    system.Commit();
  }
  for (const std::string& user : users) {
    std::filesystem::create_directories(UserClasses(user).substr(0, UserClasses(user).rfind('/')));
    WriteFile(UserHive(user), EmptyHiveBytes());
    WriteFile(UserClasses(user), EmptyHiveBytes());
    Planter hive(UserHive(user));
    hive.Key("Software\\Microsoft");
    hive.Commit();
  }
}

std::string OfflineTree::UserHive(const std::string& user) const {
  return root + "/" + ProfileFolder(version) + "/" + user + "/NTUSER.DAT";
}

std::string OfflineTree::UserClasses(const std::string& user) const {
  const std::string local = version == WindowsVersion::XP ? "Local Settings/Application Data" : "AppData/Local";
  return root + "/" + ProfileFolder(version) + "/" + user + "/" + local + "/Microsoft/Windows/UsrClass.dat";
}

std::vector<std::string> OfflineTree::Hives() const {
  std::vector<std::string> hives{Hive("SOFTWARE"), Hive("SYSTEM")};
  if (version != WindowsVersion::XP) hives.push_back(Hive("COMPONENTS"));
  for (const std::string& user : users) {
    hives.push_back(UserHive(user));
    hives.push_back(UserClasses(user));
  }
  return hives;
}

}  // namespace corrivo::testing

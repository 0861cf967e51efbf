// Repair 701 on the real system under Wine: the prefix's own hosts file, rewritten on disk
// between the real command interpreter's attribute changes. Which lines stay, on each version
// and in each encoding, and that an unreadable file is left alone, is HostsFileTest's business
// on the memory system; the file service's reads and replacements on the real disk are in
// FileServiceContractTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "catalog/catalog.h"
#include "catalog/hosts_file.h"
#include "sysaccess/text.h"
#include "sysaccess/win32/win32_api.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

System& Real() { return PlatformSystem(); }

const std::string kV4 = WideToUtf8(kHostsIPv4Entry) + "\r\n";
const std::string kV6 = WideToUtf8(kHostsIPv6Entry) + "\r\n";

class HostsFileWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(path.empty());
    Real().files.ListFolder(Folder(), &before);
  }
  std::wstring Folder() const { return path.substr(0, path.rfind(L'\\') + 1); }
  DWORD Attributes() const { return GetFileAttributesW(path.c_str()); }
  void Stage(const std::string* bytes, DWORD attributes) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    if (!bytes) return;
    std::ofstream(std::filesystem::path(path), std::ios::binary) << *bytes;
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
  }
  std::string Content() const {
    std::string bytes;
    Real().files.ReadWholeFile(path, &bytes);
    return bytes;
  }
  // The last command sets the system attribute again; if it has not yet, the next case
  // would race it.
  void ExpectOnlyTheSystemAttributeInTheEnd() {
    for (int waited = 0; waited < 15000 && !(Attributes() & FILE_ATTRIBUTE_SYSTEM); waited += 50) Sleep(50);
    EXPECT_EQ(Attributes() & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
  }

  const std::wstring path = HostsFilePath(Real());
  std::vector<std::wstring> before;
};

TEST_F(HostsFileWineTest, KeepsCommentsAndBlankLinesAndAppendsTheDefaultEntries) {
  const std::string mixed = "# c\r\n\r\n127.0.0.1 localhost\r\n10.1.1.1 x\r\n  # indented\r\n#e\r\n";
  const struct {
    const char* name;
    std::optional<std::string> bytes;
    DWORD attributes;
    WindowsVersion windows;
    std::string expected;
  } rows[] = {
      {"Windows 7", mixed, FILE_ATTRIBUTE_NORMAL, WindowsVersion::Seven, "# c\r\n\r\n#e\r\n" + kV4 + kV6},
      {"hidden system file", "# locked\r\n", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, WindowsVersion::Seven,
       "# locked\r\n" + kV4 + kV6},
      {"no file at all", std::nullopt, 0, WindowsVersion::Eight, kV4 + kV6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Stage(row.bytes ? &*row.bytes : nullptr, row.attributes);
    EXPECT_TRUE(RunRepair(Real(), 701, RepairArgs{row.windows, L"IE8"}));
    EXPECT_EQ(Content(), row.expected);
    ExpectOnlyTheSystemAttributeInTheEnd();
  }
  std::vector<std::wstring> after;
  Real().files.ListFolder(Folder(), &after);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before) << "no temporary file left beside it";
}

}  // namespace
}  // namespace corrivo::testing

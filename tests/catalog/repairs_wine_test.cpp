// Repair 701 under Wine: the prefix's own hosts file, rewritten on disk between the real command
// interpreter's attribute changes. Which lines stay is HostsFileTest's business.
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

TEST(HostsFileWineTest, KeepsCommentsAndBlankLinesAndAppendsTheDefaultEntries) {
  const std::wstring path = HostsFilePath(Real()), folder = path.substr(0, path.rfind(L'\\') + 1);
  ASSERT_FALSE(path.empty());
  std::vector<std::wstring> before, after;
  Real().files.ListFolder(folder, &before);
  const struct {
    const char* name;
    std::optional<std::string> bytes;
    DWORD attributes;
    WindowsVersion windows;
    std::string expected;
  } rows[] = {
      {"hidden system file", "# locked\r\n\r\n10.1.1.1 x\r\n", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
       WindowsVersion::Seven, "# locked\r\n\r\n" + kV4 + kV6},
      {"no file at all", std::nullopt, 0, WindowsVersion::Eight, kV4 + kV6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
    if (row.bytes) {
      std::ofstream(std::filesystem::path(path), std::ios::binary) << *row.bytes;
      ASSERT_TRUE(SetFileAttributesW(path.c_str(), row.attributes));
    }
    EXPECT_TRUE(RunRepair(Real(), 701, RepairArgs{row.windows, L"IE8"}));
    std::string content;
    Real().files.ReadWholeFile(path, &content);
    EXPECT_EQ(content, row.expected);
    // The last command sets the system attribute again: wait for it, or the next case races it.
    auto attributes = [&] { return GetFileAttributesW(path.c_str()); };
    for (int waited = 0; waited < 15000 && !(attributes() & FILE_ATTRIBUTE_SYSTEM); waited += 50) Sleep(50);
    EXPECT_EQ(attributes() & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
  }
  Real().files.ListFolder(folder, &after);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before) << "no temporary file left beside it";
}

}  // namespace
}  // namespace corrivo::testing

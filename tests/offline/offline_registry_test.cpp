// The offline backend: the registry contract suite over a hive file, and what only hives have.
#include <sys/stat.h>

#include <memory>

#include "sysaccess/offline/hive_registry.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"
#include "tests/offline/hive_builder.h"
#include "tests/sysaccess/registry_suite.h"

namespace corrivo::testing {

// HKEY_CURRENT_USER is an NTUSER.DAT that starts empty.
struct HiveUnderTest {
  HiveUnderTest() {
    WriteFile(path, EmptyHiveBytes());
    std::wstring error;
    hive = HiveFile::Open(path, true, &error);
    EXPECT_TRUE(hive) << Narrow(error);
    registry = std::make_unique<HiveRegistry>(OfflineHives{nullptr, nullptr, hive.get(), nullptr});
  }
  RegistryBackend& backend() { return *registry; }
  std::wstring base() const { return L"\\Software\\CorrivoTest"; }
  TempDir dir;
  std::string path = WideToUtf8(dir.path()) + "/NTUSER.DAT";
  std::unique_ptr<HiveFile> hive;
  std::unique_ptr<HiveRegistry> registry;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Hive, RegistryContractTest, HiveUnderTest);

namespace {

constexpr RegRoot kHklm = RegRoot::LocalMachine;
constexpr RegRoot kHkcr = RegRoot::ClassesRoot;

class OfflineRegistryTest : public ::testing::Test {
 protected:
  std::unique_ptr<HiveFile> Open(const std::string& path, bool writable = true) {
    std::wstring error;
    auto hive = HiveFile::Open(path, writable, &error);
    EXPECT_TRUE(hive) << Narrow(error);
    return hive;
  }
  TempDir dir;
  OfflineTree tree{WideToUtf8(dir.path()), WindowsVersion::Seven};
  std::unique_ptr<HiveFile> software = Open(tree.Hive("SOFTWARE")), system = Open(tree.Hive("SYSTEM")),
                            user = Open(tree.UserHive("alice")), classes = Open(tree.UserClasses("alice"));
  HiveRegistry backend{{software.get(), system.get(), user.get(), classes.get()}};
  Registry reg{backend};
};

TEST_F(OfflineRegistryTest, CurrentControlSetIsTheOneSelectNamesAndMachineKeysAreTheHives) {
  ASSERT_TRUE(reg.WriteInteger(kHklm, L"\\SYSTEM\\CurrentControlSet\\Services\\X", L"Start", 4));
  EXPECT_EQ(reg.ReadInteger(kHklm, L"\\SYSTEM\\ControlSet002\\Services\\X", L"Start"), 4) << "Select\\Current is 2";
  EXPECT_EQ(reg.ValueState(kHklm, L"\\SYSTEM\\ControlSet001\\Services\\X", L"Start"), kKeyMissing);
  std::vector<std::wstring> top = reg.SubKeyNames(kHklm, L"\\");
  EXPECT_EQ(top, (std::vector<std::wstring>{L"SOFTWARE", L"SYSTEM"}));
  EXPECT_FALSE(reg.WriteInteger(kHklm, L"\\SAM\\X", L"V", 1)) << "no hive behind it";
  EXPECT_FALSE(reg.DeleteKey(kHklm, L"\\SOFTWARE")) << "a hive is never deleted";
  EXPECT_FALSE(reg.WriteInteger(RegRoot::Users, L"\\X", L"V", 1));
}

TEST_F(OfflineRegistryTest, ClassesMergeTheUsersOverTheMachinesAndWriteWhereTheKeyIs) {
  ASSERT_TRUE(reg.WriteString(kHklm, L"\\SOFTWARE\\Classes\\.exe", L"", L"exefile"));
  ASSERT_TRUE(reg.WriteString(kHklm, L"\\SOFTWARE\\Classes\\.txt", L"", L"txtfile"));
  // Malware's favourite: the user's own .exe association, in UsrClass.dat.
  ASSERT_TRUE(reg.WriteString(RegRoot::CurrentUser, L"\\Software\\Classes\\.exe", L"", L"evil"));
  EXPECT_EQ(reg.ReadString(kHkcr, L"\\.exe", L""), L"evil");
  EXPECT_EQ(reg.ReadString(kHkcr, L"\\.txt", L""), L"txtfile");
  std::vector<std::wstring> names = reg.SubKeyNames(kHkcr, L"\\");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L".exe", L".txt"})) << "each once";
  ASSERT_TRUE(reg.WriteString(kHkcr, L"\\.exe", L"", L"exefile"));
  EXPECT_EQ(reg.ReadString(RegRoot::CurrentUser, L"\\Software\\Classes\\.exe", L""), L"exefile") << "the user's key";
  ASSERT_TRUE(reg.WriteString(kHkcr, L"\\.new", L"", L"x"));
  EXPECT_EQ(reg.ReadString(kHklm, L"\\SOFTWARE\\Classes\\.new", L""), L"x") << "new keys go to the machine";
  ASSERT_TRUE(reg.DeleteKey(kHkcr, L"\\.exe"));
  EXPECT_EQ(reg.ValueState(kHkcr, L"\\.exe", L""), kKeyMissing) << "gone from both";
}

TEST_F(OfflineRegistryTest, AHiveOpenedForReadingRefusesEveryWriteAndStaysAsItWas) {
  const std::string before = ReadFile(tree.Hive("SOFTWARE"));
  std::unique_ptr<HiveFile> readOnly = Open(tree.Hive("SOFTWARE"), false);
  HiveRegistry readBackend({readOnly.get(), nullptr, nullptr, nullptr});
  const Registry r(readBackend);
  EXPECT_EQ(r.ReadString(kHklm, L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentVersion"), L"6.1");
  EXPECT_FALSE(r.WriteInteger(kHklm, L"\\SOFTWARE\\X", L"V", 1) || r.CreateKey(kHklm, L"\\SOFTWARE\\Y") ||
               r.DeleteKey(kHklm, L"\\SOFTWARE\\Microsoft") ||
               r.DeleteValue(kHklm, L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentVersion"));
  EXPECT_FALSE(readOnly->changed());
  EXPECT_EQ(ReadFile(tree.Hive("SOFTWARE")), before);
}

TEST_F(OfflineRegistryTest, SaveKeepsTheModeAndACopyAndLeavesNothingMoreToWrite) {
  ::chmod(tree.UserHive("alice").c_str(), 0640);
  const std::string before = ReadFile(tree.UserHive("alice"));
  ASSERT_TRUE(reg.WriteInteger(RegRoot::CurrentUser, L"\\Software\\X", L"V", 1));
  std::string backup;
  std::wstring error;
  ASSERT_TRUE(user->Save(&backup, &error)) << Narrow(error);
  EXPECT_FALSE(user->changed());
  EXPECT_EQ(ReadFile(backup), before);
  for (const std::string& file : {tree.UserHive("alice"), backup}) {
    struct stat st {};
    EXPECT_TRUE(::stat(file.c_str(), &st) == 0 && (st.st_mode & 0777) == 0640) << file;
  }
}

}  // namespace
}  // namespace corrivo::testing

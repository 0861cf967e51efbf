// The registry operations against the in-memory registry, plus what only it can stage:
// denied keys, failing calls, the WOW64 view and handle bookkeeping.
#include "tests/sysaccess/memory_factory.h"

namespace corrivo::testing {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryOperationsTest, MemoryFactory);

class MemoryOnlyRegistryTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  ScopedRegistryBackend scoped{registry};
  static constexpr const wchar_t* kHklm = L"HKEY_LOCAL_MACHINE";
  static constexpr const wchar_t* kHkcu = L"HKEY_CURRENT_USER";
};

TEST_F(MemoryOnlyRegistryTest, KeyThatCannotBeOpenedForFullAccess) {
  registry.PutDword(RegRoot::LocalMachine, L"Software\\Locked", L"V", 1);
  registry.DenyFullAccess(RegRoot::LocalMachine, L"Software\\Locked");
  EXPECT_EQ(GetRegValueState(kHklm, L"\\Software\\Locked", L"V"), kKeyDenied);
  EXPECT_EQ(ReadRegInteger(kHklm, L"\\Software\\Locked", L"V"), RegNoValue)
      << "a read opens for full access too";
  EXPECT_EQ(ReadRegString(kHklm, L"\\Software\\Locked", L"V"), L"");
  EXPECT_FALSE(WriteRegInteger(kHklm, L"\\Software\\Locked", L"V", 2));
  EXPECT_FALSE(DeleteRegValue(kHklm, L"\\Software\\Locked", L"V"));
  EXPECT_TRUE(CreateRegKey(kHklm, L"\\Software\\Locked")) << "it exists, so nothing to create";
  EXPECT_FALSE(DeleteRegKey(kHklm, L"\\Software\\Locked"));
  EXPECT_FALSE(WriteRegString(kHklm, L"\\Software\\Locked\\Below", L"V", L"x"));
  EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, L"Software\\Locked\\Below"));
  EXPECT_EQ(registry.GetDword(RegRoot::LocalMachine, L"Software\\Locked", L"V"), 1u);
  std::wstring text = L"keep";
  ReadRegBinaryFlags(kHklm, L"\\Software\\Locked", L"V", text);
  EXPECT_EQ(text, L"keep");
}

TEST_F(MemoryOnlyRegistryTest, KeyHiddenEvenFromReadersCountsAsMissing) {
  registry.PutDword(RegRoot::LocalMachine, L"Software\\Hidden", L"V", 1);
  registry.DenyAllAccess(RegRoot::LocalMachine, L"Software\\Hidden");
  EXPECT_EQ(GetRegValueState(kHklm, L"\\Software\\Hidden", L"V"), kKeyMissing);
  EXPECT_TRUE(DeleteRegValue(kHklm, L"\\Software\\Hidden", L"V")) << "the existence test fails first";
  EXPECT_TRUE(DeleteRegKey(kHklm, L"\\Software\\Hidden"));
  EXPECT_FALSE(CreateRegKey(kHklm, L"\\Software\\Hidden"));
}

TEST_F(MemoryOnlyRegistryTest, FailuresInsideAnOperationBecomeItsFailureResult) {
  registry.PutDword(RegRoot::CurrentUser, L"Software\\F", L"V", 1);
  registry.FailOperation(MemoryRegistry::Op::SetValue, regerr::kAccessDenied);
  EXPECT_FALSE(WriteRegInteger(kHkcu, L"\\Software\\F", L"V", 2));
  EXPECT_FALSE(PatchRegBinaryFlags(kHkcu, L"\\Software\\F", L"V"));
  registry.FailOperation(MemoryRegistry::Op::SetValue, 0);
  registry.FailOperation(MemoryRegistry::Op::DeleteValue, regerr::kAccessDenied);
  EXPECT_FALSE(DeleteRegValue(kHkcu, L"\\Software\\F", L"V"));
  registry.FailOperation(MemoryRegistry::Op::QueryValue, regerr::kAccessDenied);
  EXPECT_EQ(GetRegValueState(kHkcu, L"\\Software\\F", L"V"), kValueMissing) << "error in the value test";
  registry.FailOperation(MemoryRegistry::Op::DeleteSubKey, regerr::kAccessDenied);
  EXPECT_FALSE(DeleteRegKey(kHkcu, L"\\Software\\F"));
  registry.FailOperation(MemoryRegistry::Op::CreateKey, regerr::kAccessDenied);
  EXPECT_FALSE(CreateRegKey(kHkcu, L"\\Software\\New"));
  EXPECT_FALSE(WriteRegString(kHkcu, L"\\Software\\New", L"V", L"x"));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(MemoryOnlyRegistryTest, OnWow64TheOperationsReachTheNativeView) {
  registry.SetWow64(true);
  ASSERT_TRUE(IsWow64());
  const wchar_t* key = L"\\SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer";
  ASSERT_TRUE(WriteRegInteger(kHklm, key, L"DisableAutoUpdate", 0));
  EXPECT_EQ(registry.GetDword(RegRoot::LocalMachine, L"SOFTWARE\\Policies\\Microsoft\\WindowsMediaPlayer",
                              L"DisableAutoUpdate"),
            0u);
  EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, L"SOFTWARE\\Wow6432Node\\Policies"));
  EXPECT_TRUE(DeleteRegKey(kHklm, L"\\SOFTWARE\\Policies\\Microsoft"));
  EXPECT_FALSE(registry.HasKey(RegRoot::LocalMachine, L"SOFTWARE\\Policies\\Microsoft"));

  // Without the view flag a 32-bit program would have landed under Wow6432Node.
  RegHandle h = 0;
  ASSERT_EQ(registry.CreateKey(RegRoot::LocalMachine, L"SOFTWARE\\X", regaccess::kAllAccess, &h), 0);
  registry.CloseKey(h);
  EXPECT_TRUE(registry.HasKey(RegRoot::LocalMachine, L"SOFTWARE\\Wow6432Node\\X"));
}

TEST_F(MemoryOnlyRegistryTest, BackendRefusesLeadingBackslashButOperationsAcceptBothSpellings) {
  RegHandle h = 0;
  EXPECT_EQ(registry.CreateKey(RegRoot::CurrentUser, L"\\Software\\X", regaccess::kAllAccess, &h),
            regerr::kBadPathName);
  ASSERT_TRUE(WriteRegInteger(kHkcu, L"\\Software\\X", L"V", 1));
  EXPECT_EQ(ReadRegInteger(kHkcu, L"Software\\X", L"V"), 1);
  EXPECT_EQ(ReadRegInteger(kHkcu, L"\\SOFTWARE\\x", L"v"), 1) << "key names ignore case";
}

TEST_F(MemoryOnlyRegistryTest, EveryOperationClosesWhatItOpens) {
  registry.PutString(RegRoot::CurrentUser, L"Software\\H\\Sub", L"S", L"x");
  registry.Put(RegRoot::CurrentUser, L"Software\\H", L"B", RegType::Binary, {0, 1, 2, 3, 4, 5});
  std::wstring text;
  WriteRegInteger(kHkcu, L"\\Software\\H", L"D", 1);
  ReadRegInteger(kHkcu, L"\\Software\\H", L"D");
  ReadRegString(kHkcu, L"\\Software\\H\\Sub", L"S");
  GetRegValueState(kHkcu, L"\\Software\\H", L"D");
  PatchRegBinaryFlags(kHkcu, L"\\Software\\H", L"B");
  ReadRegBinaryFlags(kHkcu, L"\\Software\\H", L"B", text);
  DeleteRegValue(kHkcu, L"\\Software\\H", L"D");
  CreateRegKey(kHkcu, L"\\Software\\H\\New");
  DeleteRegKey(kHkcu, L"\\Software\\H");
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
  EXPECT_FALSE(registry.HasKey(RegRoot::CurrentUser, L"Software\\H"));
  EXPECT_TRUE(registry.HasKey(RegRoot::CurrentUser, L"Software"));
}

TEST_F(MemoryOnlyRegistryTest, RootsAreMatchedExactlyIncludingLetterCase) {
  struct Case {
    const wchar_t* name;
    RegRoot root;
  } cases[] = {{L"HKEY_CLASSES_ROOT", RegRoot::ClassesRoot},   {L"HKEY_CURRENT_USER", RegRoot::CurrentUser},
               {L"HKEY_LOCAL_MACHINE", RegRoot::LocalMachine}, {L"HKEY_USERS", RegRoot::Users},
               {L"HKEY_CURRENT_CONFIG", RegRoot::CurrentConfig}, {L"hkey_local_machine", RegRoot::CurrentUser}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    MemoryRegistry fresh;
    ScopedRegistryBackend use(fresh);
    ASSERT_TRUE(WriteRegInteger(c.name, L"\\K", L"V", 9));
    EXPECT_EQ(fresh.GetDword(c.root, L"K", L"V"), 9u);
  }
}

}  // namespace
}  // namespace corrivo::testing

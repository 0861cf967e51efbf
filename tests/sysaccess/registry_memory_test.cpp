// The registry operations against the in-memory registry, and what only it can stage.
#include <functional>

#include "tests/fakes/test_support.h"
#include "tests/sysaccess/registry_suite.h"

namespace corrivo::testing {
namespace {

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryContractTest, MemoryUnderTest);

constexpr RegRoot kHklm = RegRoot::LocalMachine;

class MemoryOnlyRegistryTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  Registry reg{registry};
};

TEST_F(MemoryOnlyRegistryTest, DeniedKeysAndFailedCallsBecomeFailureResults) {
  const wchar_t* const kLocked = L"\\Software\\Locked";
  registry.PutDword(kHklm, kLocked, L"V", 1);
  registry.DenyFullAccess(kHklm, kLocked);
  EXPECT_EQ(reg.ValueState(kHklm, kLocked, L"V"), kKeyDenied);
  EXPECT_FALSE(reg.ReadInteger(kHklm, kLocked, L"V") != RegNoValue || reg.WriteInteger(kHklm, kLocked, L"V", 2) ||
               reg.DeleteValue(kHklm, kLocked, L"V") || reg.DeleteKey(kHklm, kLocked) ||
               reg.CreateKey(kHklm, L"\\Software\\Locked\\Below")) << "reads open for full access too";
  EXPECT_EQ(registry.GetDword(kHklm, kLocked, L"V"), 1u);
  // Hidden even from readers: the key counts as missing.
  registry.DenyAllAccess(kHklm, L"Software\\Hidden");
  EXPECT_EQ(reg.ValueState(kHklm, L"\\Software\\Hidden", L"V"), kKeyMissing);
  EXPECT_FALSE(reg.CreateKey(kHklm, L"\\Software\\Hidden"));

  const wchar_t* const kF = L"\\Software\\F";
  registry.Put(kHkcu, kF, L"B", RegType::Binary, {0, 1, 2, 3, 4, 5});
  using Op = MemoryRegistry::Op;
  const std::pair<Op, std::function<bool()>> calls[] = {
      {Op::SetValue, [&] { return reg.WriteInteger(kHkcu, kF, L"V", 2); }},
      {Op::SetValue, [&] { return reg.PatchBinaryFlags(kHkcu, kF, L"B"); }},
      {Op::DeleteValue, [&] { return reg.DeleteValue(kHkcu, kF, L"B"); }},
      {Op::DeleteSubKey, [&] { return reg.DeleteKey(kHkcu, kF); }},
      {Op::CreateKey, [&] { return reg.WriteString(kHkcu, L"\\Software\\New", L"V", L"x"); }},
      {Op::QueryValue, [&] { return reg.ValueState(kHkcu, kF, L"B") == kValuePresent; }},
  };
  for (const auto& [op, call] : calls) {
    registry.FailOperation(op, regerr::kAccessDenied);
    EXPECT_FALSE(call()) << static_cast<int>(op);
    registry.FailOperation(op, regerr::kSuccess);
  }
  EXPECT_EQ(registry.Get(kHkcu, kF, L"B")->data, (Bytes{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(MemoryOnlyRegistryTest, OnWow64TheOperationsReachTheNativeView) {
  registry.SetWow64(true);
  ASSERT_TRUE(reg.WriteInteger(kHklm, L"\\SOFTWARE\\Policies\\Corrivo", L"V", 0));
  EXPECT_EQ(registry.GetDword(kHklm, L"SOFTWARE\\Policies\\Corrivo", L"V"), 0u);
  EXPECT_FALSE(registry.HasKey(kHklm, L"SOFTWARE\\Wow6432Node\\Policies"));
  EXPECT_TRUE(reg.DeleteKey(kHklm, L"\\SOFTWARE\\Policies") && !registry.HasKey(kHklm, L"SOFTWARE\\Policies"));
}

TEST(RegistryRootTest, NamesRoundTripEachRootIsItsOwnTreeAndNoneIsEverDeleted) {
  const RegRoot roots[] = {RegRoot::ClassesRoot, RegRoot::CurrentUser, RegRoot::LocalMachine, RegRoot::Users,
                           RegRoot::CurrentConfig};
  MemoryRegistry registry;
  const Registry reg(registry);
  for (std::uint32_t i = 0; i < std::size(roots); ++i) {
    RegRoot parsed = RegRoot::CurrentUser;
    EXPECT_TRUE(ParseRootName(RootName(roots[i]), &parsed) && parsed == roots[i]) << Narrow(RootName(roots[i]));
    ASSERT_TRUE(reg.WriteInteger(roots[i], L"\\K", L"V", static_cast<std::int32_t>(i)));
    EXPECT_FALSE(reg.DeleteKey(roots[i], L"\\"));
  }
  for (std::uint32_t i = 0; i < std::size(roots); ++i) EXPECT_EQ(registry.GetDword(roots[i], L"K", L"V"), i);
}

}  // namespace
}  // namespace corrivo::testing

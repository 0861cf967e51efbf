// One behavioural suite for the registry operations, run on every backend: the in-memory
// registry on Linux and the real one under Wine. The tests above sysaccess trust the memory
// registry only because both pass it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/registry.h"

namespace corrivo::testing {

constexpr RegRoot kHkcu = RegRoot::CurrentUser;
using Bytes = std::vector<std::uint8_t>;

// A backend and a key below HKEY_CURRENT_USER that belongs to this test alone.
struct MemoryUnderTest {
  MemoryRegistry registry;
  RegistryBackend& backend() { return registry; }
  std::wstring base() const { return L"\\Software\\CorrivoTest"; }
};

template <typename UnderTest>
class RegistryContractTest : public ::testing::Test {
 protected:
  void TearDown() override { reg.DeleteKey(kHkcu, base); }

  // Straight on the backend: types the operations never write, data too short.
  void Plant(const std::wstring& name, RegType type, const Bytes& data) {
    RegHandle h = 0;
    ASSERT_EQ(under.backend().CreateKey(kHkcu, base.substr(1), regaccess::kAllAccess, &h), regerr::kSuccess);
    EXPECT_EQ(under.backend().SetValue(h, name, type, data), regerr::kSuccess);
    under.backend().CloseKey(h);
  }
  std::pair<RegType, Bytes> Raw(const std::wstring& name) {
    std::pair<RegType, Bytes> value{RegType::None, {}};
    RegHandle h = 0;
    if (under.backend().OpenKey(kHkcu, base.substr(1), regaccess::kExistenceTest, &h) != regerr::kSuccess) return value;
    under.backend().QueryValue(h, name, &value.first, &value.second);
    under.backend().CloseKey(h);
    return value;
  }

  UnderTest under;
  Registry reg{under.backend()};
  const std::wstring base = under.base();
};

TYPED_TEST_SUITE_P(RegistryContractTest);

TYPED_TEST_P(RegistryContractTest, ValuesKeepTheirTypesAndAnyOtherTypeReadsAsNothing) {
  const Registry& reg = this->reg;
  const std::wstring& key = this->base;
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"V"), RegNoValue) << "missing key";
  ASSERT_TRUE(reg.WriteInteger(kHkcu, key, L"", -1));
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L""), -1) << "the default value is the empty name";
  EXPECT_EQ(this->Raw(L""), std::make_pair(RegType::Dword, Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"V"), RegNoValue) << "missing value";
  ASSERT_TRUE(reg.WriteExpandString(kHkcu, key, L"V", L"%SystemRoot%\\x.dll"));
  EXPECT_EQ(this->Raw(L"V").first, RegType::ExpandSz);
  EXPECT_EQ(reg.ReadString(kHkcu, key, L"V"), L"%SystemRoot%\\x.dll") << "stored unexpanded";
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"V"), RegNoValue);
  // Outside the Basic Multilingual Plane: a surrogate pair whatever the width of wchar_t.
  ASSERT_TRUE(reg.WriteString(kHkcu, key, L"V", L"a\U0001F600"));
  EXPECT_EQ(this->Raw(L"V"), std::make_pair(RegType::Sz, Bytes{'a', 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
  EXPECT_EQ(reg.ReadString(kHkcu, key, L"v"), L"a\U0001F600") << "value names ignore case";
  this->Plant(L"Bin", RegType::Binary, {'a', 0, 0, 0});
  EXPECT_EQ(reg.ReadString(kHkcu, key, L"Bin"), L"");
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"Bin"), RegNoValue) << "four bytes, but no DWORD";
}

TYPED_TEST_P(RegistryContractTest, ValueStateAndDeletesOfAbsentThings) {
  const Registry& reg = this->reg;
  const std::wstring key = this->base + L"\\State";
  EXPECT_EQ(reg.ValueState(kHkcu, key, L"V"), kKeyMissing);
  EXPECT_TRUE(reg.DeleteValue(kHkcu, key, L"V") && reg.DeleteKey(kHkcu, key));
  ASSERT_TRUE(reg.CreateKey(kHkcu, key));
  EXPECT_EQ(reg.ValueState(kHkcu, key, L"V"), kValueMissing);
  EXPECT_TRUE(reg.DeleteValue(kHkcu, key, L"V"));
  ASSERT_TRUE(reg.WriteString(kHkcu, key, L"V", L"") && reg.WriteInteger(kHkcu, key, L"Keep", 1));
  EXPECT_EQ(reg.ValueState(kHkcu, key, L"V"), kValuePresent);
  EXPECT_TRUE(reg.DeleteValue(kHkcu, key, L"v"));
  EXPECT_EQ(reg.ValueState(kHkcu, key, L"V"), kValueMissing);
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"Keep"), 1);
}

TYPED_TEST_P(RegistryContractTest, CreatesEveryLevelDeletesWholeTreesAndTakesEverySpelling) {
  const Registry& reg = this->reg;
  const std::wstring tree = this->base + L"\\Tree";
  ASSERT_TRUE(reg.WriteString(kHkcu, tree + L"\\A\\B\\C", L"Leaf", L"x"));
  EXPECT_EQ(reg.ValueState(kHkcu, tree + L"\\A\\B", L"Leaf"), kValueMissing);
  ASSERT_TRUE(reg.CreateKey(kHkcu, tree + L"\\A\\Sibling\\"));
  EXPECT_TRUE(reg.CreateKey(kHkcu, tree + L"\\A\\Sibling")) << "already there";
  ASSERT_TRUE(reg.WriteInteger(kHkcu, tree, L"Top", 1));
  EXPECT_EQ(reg.ReadString(kHkcu, (tree + L"\\a\\b\\c\\").substr(1), L"Leaf"), L"x")
      << "no leading backslash, a trailing one, other letters";
  EXPECT_TRUE(reg.DeleteKey(kHkcu, tree + L"\\a\\"));
  EXPECT_EQ(reg.ValueState(kHkcu, tree + L"\\A", L""), kKeyMissing);
  EXPECT_EQ(reg.ReadInteger(kHkcu, tree, L"Top"), 1) << "the parent stays";
  // The backend, like advapi32, refuses a leading backslash; the operations strip it.
  RegHandle h = 0;
  EXPECT_EQ(this->under.backend().OpenKey(kHkcu, L"\\Software", regaccess::kAllAccess, &h), regerr::kBadPathName);
}

TYPED_TEST_P(RegistryContractTest, BinaryFlagsPatchOnlyTheLowNibbleOfByteFour) {
  const Registry& reg = this->reg;
  const std::wstring& key = this->base;
  const std::pair<std::uint8_t, std::uint8_t> cases[] = {{0x2C, 0x23}, {0x0F, 0x03}, {0x03, 0x03}, {0xF0, 0xF3}};
  for (const auto& [before, after] : cases) {
    Bytes data = {0x10, 0x20, 0x30, 0x40, before, 0x60};
    this->Plant(L"State", RegType::Binary, data);
    std::wstring text;
    reg.ReadBinaryFlags(kHkcu, key, L"State", text);
    EXPECT_EQ(text, std::to_wstring(before));
    ASSERT_TRUE(reg.PatchBinaryFlags(kHkcu, key, L"State"));
    data[4] = after;
    EXPECT_EQ(this->Raw(L"State"), std::make_pair(RegType::Binary, data)) << int(before);
  }
  // Four bytes have no byte 4: nothing read, nothing written.
  this->Plant(L"Short", RegType::Binary, {1, 2, 3, 4});
  EXPECT_FALSE(reg.PatchBinaryFlags(kHkcu, key, L"Short"));
  std::wstring text = L"keep";
  reg.ReadBinaryFlags(kHkcu, key, L"Short", text);
  EXPECT_EQ(text, L"keep");
  EXPECT_EQ(this->Raw(L"Short").second, (Bytes{1, 2, 3, 4}));
  EXPECT_FALSE(reg.PatchBinaryFlags(kHkcu, key, L"Missing"));
  EXPECT_EQ(reg.ValueState(kHkcu, key, L"Missing"), kValueMissing);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContractTest, ValuesKeepTheirTypesAndAnyOtherTypeReadsAsNothing,
                            ValueStateAndDeletesOfAbsentThings,
                            CreatesEveryLevelDeletesWholeTreesAndTakesEverySpelling,
                            BinaryFlagsPatchOnlyTheLowNibbleOfByteFour);

}  // namespace corrivo::testing

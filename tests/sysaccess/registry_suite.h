// One behavioural suite for the registry operations, run on the in-memory registry and under
// Wine on the real one: the tests above sysaccess trust the first because both pass it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>

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

  // Whole values: types the other operations never write, data too short.
  void Plant(const std::wstring& name, RegType type, const Bytes& data) {
    ASSERT_TRUE(reg.WriteValue(kHkcu, base, name, RegistryValue{type, data}));
  }
  RegistryValue Raw(const std::wstring& name) { return reg.ReadValue(kHkcu, base, name).value_or(RegistryValue{}); }

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
  EXPECT_EQ(this->Raw(L""), (RegistryValue{RegType::Dword, {0xFF, 0xFF, 0xFF, 0xFF}}));
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"V"), RegNoValue) << "missing value";
  ASSERT_TRUE(reg.WriteExpandString(kHkcu, key, L"V", L"%SystemRoot%\\x.dll"));
  EXPECT_EQ(this->Raw(L"V").type, RegType::ExpandSz);
  EXPECT_EQ(reg.ReadString(kHkcu, key, L"V"), L"%SystemRoot%\\x.dll") << "stored unexpanded";
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"V"), RegNoValue);
  // Outside the Basic Multilingual Plane: a surrogate pair whatever the width of wchar_t.
  ASSERT_TRUE(reg.WriteString(kHkcu, key, L"V", L"a\U0001F600"));
  EXPECT_EQ(this->Raw(L"V"), (RegistryValue{RegType::Sz, {'a', 0, 0x3D, 0xD8, 0x00, 0xDE, 0, 0}}));
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
  EXPECT_TRUE(reg.ValueState(kHkcu, key, L"V") == kValueMissing && reg.DeleteValue(kHkcu, key, L"V"));
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
  ASSERT_TRUE(reg.WriteInteger(kHkcu, tree, L"Top", 1) && reg.WriteString(kHkcu, tree, L"", L"d"));
  std::vector<std::wstring> names = reg.SubKeyNames(kHkcu, tree + L"\\a");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"B", L"Sibling"})) << "as written";
  EXPECT_EQ(reg.ValueNames(kHkcu, tree).size(), 2u) << "the default value is one of them";
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
    EXPECT_EQ(this->Raw(L"State"), (RegistryValue{RegType::Binary, data})) << int(before);
  }
  // Four bytes have no byte 4: nothing read, nothing written.
  this->Plant(L"Short", RegType::Binary, {1, 2, 3, 4});
  std::wstring text = L"keep";
  reg.ReadBinaryFlags(kHkcu, key, L"Short", text);
  EXPECT_FALSE(reg.PatchBinaryFlags(kHkcu, key, L"Short") || reg.PatchBinaryFlags(kHkcu, key, L"Missing"));
  EXPECT_EQ(text, L"keep");
  EXPECT_EQ(this->Raw(L"Short").data, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(reg.ValueState(kHkcu, key, L"Missing"), kValueMissing);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryContractTest, ValuesKeepTheirTypesAndAnyOtherTypeReadsAsNothing,
                            ValueStateAndDeletesOfAbsentThings,
                            CreatesEveryLevelDeletesWholeTreesAndTakesEverySpelling,
                            BinaryFlagsPatchOnlyTheLowNibbleOfByteFour);

}  // namespace corrivo::testing

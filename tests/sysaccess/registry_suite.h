// One behavioural suite for the registry operations, instantiated for every backend: the
// in-memory registry on Linux and Windows, the real registry under Wine.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sysaccess/registry.h"
#include "sysaccess/registry_backend.h"

namespace corrivo::testing {

// What a backend fixture supplies: the backend under test, a key path below HKEY_CURRENT_USER
// that belongs to this test alone, and a way to plant raw values (types the operations never
// write, data too short).
class RegistryUnderTest {
 public:
  virtual ~RegistryUnderTest() = default;
  virtual RegistryBackend& backend() = 0;
  virtual std::wstring base() const = 0;  // e.g. "\\Software\\CorrivoTest\\1234"
  void PlantRaw(const std::wstring& keyPath, const std::wstring& name, RegType type,
                const std::vector<std::uint8_t>& data) {
    RegHandle h = 0;
    std::wstring relative = keyPath.substr(1);
    ASSERT_EQ(backend().CreateKey(RegRoot::CurrentUser, relative, regaccess::kAllAccess, &h), 0);
    EXPECT_EQ(backend().SetValue(h, name, type, data), 0);
    backend().CloseKey(h);
  }
  bool RawValue(const std::wstring& keyPath, const std::wstring& name, RegType* type,
                std::vector<std::uint8_t>* data) {
    RegHandle h = 0;
    if (backend().OpenKey(RegRoot::CurrentUser, keyPath.substr(1), regaccess::kAllAccess, &h) != 0) return false;
    bool ok = backend().QueryValue(h, name, type, data) == 0;
    backend().CloseKey(h);
    return ok;
  }
};

template <typename Factory>
class RegistryOperationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reg_ = Factory::Make();
    scoped_ = std::make_unique<ScopedRegistryBackend>(reg_->backend());
    base_ = reg_->base();
  }
  void TearDown() override {
    DeleteRegKey(kHkcu, base_);
    scoped_.reset();
  }
  std::wstring Key(const std::wstring& below) const { return base_ + below; }

  static constexpr const wchar_t* kHkcu = L"HKEY_CURRENT_USER";
  std::unique_ptr<RegistryUnderTest> reg_;
  std::unique_ptr<ScopedRegistryBackend> scoped_;
  std::wstring base_;
};

TYPED_TEST_SUITE_P(RegistryOperationsTest);

TYPED_TEST_P(RegistryOperationsTest, DefaultValueIsTheEmptyName) {
  const auto key = this->Key(L"\\Default");
  ASSERT_TRUE(WriteRegString(this->kHkcu, key, L"", L"unnamed"));
  EXPECT_EQ(ReadRegString(this->kHkcu, key, L""), L"unnamed");
  EXPECT_EQ(GetRegValueState(this->kHkcu, key, L""), kValuePresent);
  EXPECT_EQ(ReadRegString(this->kHkcu, key, L"unnamed"), L"");
  ASSERT_TRUE(WriteRegInteger(this->kHkcu, key, L"", 5));
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L""), 5);
}

TYPED_TEST_P(RegistryOperationsTest, ReadIntegerAnswersRegNoValueWhenThereIsNoDword) {
  const auto key = this->Key(L"\\Ints");
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"Missing"), RegNoValue) << "missing key";
  ASSERT_TRUE(WriteRegString(this->kHkcu, key, L"Text", L"12"));
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"Missing"), RegNoValue) << "missing value";
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"Text"), RegNoValue) << "REG_SZ value";
  ASSERT_TRUE(WriteRegInteger(this->kHkcu, key, L"AllOnes", -1));
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"AllOnes"), -1);
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(this->reg_->RawValue(key, L"AllOnes", &type, &data));
  EXPECT_EQ(type, RegType::Dword);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
  ASSERT_TRUE(WriteRegInteger(this->kHkcu, key, L"Max", RegNoValue));
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"Max"), RegNoValue);
  this->reg_->PlantRaw(key, L"Binary4", RegType::Binary, {1, 0, 0, 0});
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"Binary4"), RegNoValue) << "REG_BINARY of DWORD size";
}

TYPED_TEST_P(RegistryOperationsTest, WritesReplaceValuesOfAnyTypeAndStoreTheirOwnType) {
  const auto key = this->Key(L"\\Types");
  ASSERT_TRUE(WriteRegInteger(this->kHkcu, key, L"V", 7));
  ASSERT_TRUE(WriteRegExpandString(this->kHkcu, key, L"V", L"%SystemRoot%\\x.dll"));
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
  ASSERT_TRUE(this->reg_->RawValue(key, L"V", &type, &data));
  EXPECT_EQ(type, RegType::ExpandSz);
  EXPECT_EQ(ReadRegString(this->kHkcu, key, L"V"), L"%SystemRoot%\\x.dll") << "stored unexpanded";
  ASSERT_TRUE(WriteRegString(this->kHkcu, key, L"V", L"ab"));
  ASSERT_TRUE(this->reg_->RawValue(key, L"V", &type, &data));
  EXPECT_EQ(type, RegType::Sz);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{'a', 0, 'b', 0, 0, 0})) << "UTF-16 with its terminating zero";
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"V"), RegNoValue);
  this->reg_->PlantRaw(key, L"Bin", RegType::Binary, {'a', 0, 0, 0});
  EXPECT_EQ(ReadRegString(this->kHkcu, key, L"Bin"), L"") << "another type leaves the empty text";
}

TYPED_TEST_P(RegistryOperationsTest, DeletesOfAbsentThingsAnswerTrue) {
  EXPECT_TRUE(DeleteRegValue(this->kHkcu, this->Key(L"\\Never\\There"), L"X"));
  EXPECT_TRUE(DeleteRegKey(this->kHkcu, this->Key(L"\\Never\\There")));
  const auto key = this->Key(L"\\Del");
  ASSERT_TRUE(WriteRegInteger(this->kHkcu, key, L"Keep", 1));
  EXPECT_TRUE(DeleteRegValue(this->kHkcu, key, L"Gone"));
  ASSERT_TRUE(WriteRegInteger(this->kHkcu, key, L"Gone", 1));
  EXPECT_TRUE(DeleteRegValue(this->kHkcu, key, L"Gone"));
  EXPECT_EQ(GetRegValueState(this->kHkcu, key, L"Gone"), kValueMissing);
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"Keep"), 1);
}

TYPED_TEST_P(RegistryOperationsTest, ValueStateTellsMissingKeyFromMissingValue) {
  const auto key = this->Key(L"\\State");
  EXPECT_EQ(GetRegValueState(this->kHkcu, key, L"V"), kKeyMissing);
  ASSERT_TRUE(CreateRegKey(this->kHkcu, key));
  EXPECT_EQ(GetRegValueState(this->kHkcu, key, L"V"), kValueMissing);
  ASSERT_TRUE(WriteRegString(this->kHkcu, key, L"V", L""));
  EXPECT_EQ(GetRegValueState(this->kHkcu, key, L"V"), kValuePresent);
  EXPECT_EQ(GetRegValueState(this->kHkcu, key, L"v"), kValuePresent) << "value names ignore case";
}

TYPED_TEST_P(RegistryOperationsTest, CreatesEveryMissingLevelAndDeletesWholeTrees) {
  const auto deep = this->Key(L"\\Tree\\A\\B\\C");
  ASSERT_TRUE(WriteRegString(this->kHkcu, deep, L"Leaf", L"x"));
  EXPECT_EQ(GetRegValueState(this->kHkcu, this->Key(L"\\Tree\\A\\B"), L"Leaf"), kValueMissing);
  ASSERT_TRUE(CreateRegKey(this->kHkcu, this->Key(L"\\Tree\\A\\Sibling\\Deeper")));
  EXPECT_TRUE(CreateRegKey(this->kHkcu, this->Key(L"\\Tree\\A\\Sibling\\Deeper"))) << "already there";
  ASSERT_TRUE(WriteRegInteger(this->kHkcu, this->Key(L"\\Tree"), L"Top", 1));
  EXPECT_TRUE(DeleteRegKey(this->kHkcu, this->Key(L"\\tree\\a")));
  EXPECT_EQ(GetRegValueState(this->kHkcu, this->Key(L"\\Tree\\A"), L""), kKeyMissing);
  EXPECT_EQ(GetRegValueState(this->kHkcu, deep, L"Leaf"), kKeyMissing);
  EXPECT_EQ(ReadRegInteger(this->kHkcu, this->Key(L"\\Tree"), L"Top"), 1) << "the parent stays";
}

TYPED_TEST_P(RegistryOperationsTest, TrailingBackslashIsPassedOnAndWorks) {
  const auto key = this->Key(L"\\Capabilities\\");
  ASSERT_TRUE(WriteRegString(this->kHkcu, key, L"Name", L"v"));
  EXPECT_EQ(ReadRegString(this->kHkcu, this->Key(L"\\Capabilities"), L"Name"), L"v");
  EXPECT_TRUE(DeleteRegKey(this->kHkcu, key));
  EXPECT_EQ(GetRegValueState(this->kHkcu, this->Key(L"\\Capabilities"), L"Name"), kKeyMissing);
}

TYPED_TEST_P(RegistryOperationsTest, BinaryFlagsPatchOnlyTheLowNibbleOfByteFour) {
  const auto key = this->Key(L"\\Bin");
  struct Case {
    std::uint8_t before, after;
  } cases[] = {{0x2C, 0x23}, {0x0F, 0x03}, {0x24, 0x23}, {0x03, 0x03}, {0xF0, 0xF3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "byte 4 = " << int(c.before));
    std::vector<std::uint8_t> data = {0x10, 0x20, 0x30, 0x40, c.before, 0x60, 0x70};
    this->reg_->PlantRaw(key, L"State", RegType::Binary, data);
    std::wstring text = L"unchanged";
    ReadRegBinaryFlags(this->kHkcu, key, L"State", text);
    EXPECT_EQ(text, std::to_wstring(c.before));
    ASSERT_TRUE(PatchRegBinaryFlags(this->kHkcu, key, L"State"));
    RegType type = RegType::None;
    std::vector<std::uint8_t> got;
    ASSERT_TRUE(this->reg_->RawValue(key, L"State", &type, &got));
    data[4] = c.after;
    EXPECT_EQ(type, RegType::Binary);
    EXPECT_EQ(got, data);
  }
  std::wstring text = L"keep";
  this->reg_->PlantRaw(key, L"Short", RegType::Binary, {1, 2, 3, 4});
  EXPECT_FALSE(PatchRegBinaryFlags(this->kHkcu, key, L"Short"));
  ReadRegBinaryFlags(this->kHkcu, key, L"Short", text);
  EXPECT_EQ(text, L"keep") << "four bytes have no byte 4";
  RegType type = RegType::None;
  std::vector<std::uint8_t> got;
  ASSERT_TRUE(this->reg_->RawValue(key, L"Short", &type, &got));
  EXPECT_EQ(got, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_FALSE(PatchRegBinaryFlags(this->kHkcu, key, L"Missing"));
  EXPECT_EQ(GetRegValueState(this->kHkcu, key, L"Missing"), kValueMissing) << "nothing written";
  this->reg_->PlantRaw(key, L"Byte36", RegType::Binary, {0, 0, 0, 0, 0x24});
  ReadRegBinaryFlags(this->kHkcu, key, L"Byte36", text);
  EXPECT_EQ(text, L"36");
}

TYPED_TEST_P(RegistryOperationsTest, UnknownRootNameFallsBackToCurrentUser) {
  const auto key = this->Key(L"\\Roots");
  ASSERT_TRUE(WriteRegInteger(L"hkey_current_user_typo", key, L"V", 3));
  EXPECT_EQ(ReadRegInteger(this->kHkcu, key, L"V"), 3);
}

REGISTER_TYPED_TEST_SUITE_P(RegistryOperationsTest, DefaultValueIsTheEmptyName,
                            ReadIntegerAnswersRegNoValueWhenThereIsNoDword,
                            WritesReplaceValuesOfAnyTypeAndStoreTheirOwnType, DeletesOfAbsentThingsAnswerTrue,
                            ValueStateTellsMissingKeyFromMissingValue,
                            CreatesEveryMissingLevelAndDeletesWholeTrees, TrailingBackslashIsPassedOnAndWorks,
                            BinaryFlagsPatchOnlyTheLowNibbleOfByteFour, UnknownRootNameFallsBackToCurrentUser);

}  // namespace corrivo::testing

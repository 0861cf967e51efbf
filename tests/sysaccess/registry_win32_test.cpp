// The same registry suite against the real registry (under Wine), and the memory registry
// built with the Windows compiler.
#include <windows.h>

#include "sysaccess/registry.h"
#include "tests/sysaccess/memory_factory.h"

namespace corrivo::testing {
namespace {

class RealUnderTest : public RegistryUnderTest {
 public:
  RealUnderTest() : base_(L"\\Software\\CorrivoTest\\" + std::to_wstring(GetCurrentProcessId())) {}
  RegistryBackend& backend() override { return PlatformRegistry(); }
  std::wstring base() const override { return base_; }

 private:
  std::wstring base_;
};

struct RealFactory {
  static std::unique_ptr<RegistryUnderTest> Make() { return std::make_unique<RealUnderTest>(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Real, RegistryOperationsTest, RealFactory);
INSTANTIATE_TYPED_TEST_SUITE_P(Memory, RegistryOperationsTest, MemoryFactory);

TEST(RealRegistryTest, NativeProcessIsNotWow64AndReachesHklm) {
  // The test binary is 64-bit, so there is no redirection to name.
  EXPECT_FALSE(IsWow64());
  const wchar_t* key = L"\\SOFTWARE\\CorrivoTest\\Hklm";
  ASSERT_TRUE(WriteRegInteger(L"HKEY_LOCAL_MACHINE", key, L"V", 4));
  EXPECT_EQ(ReadRegInteger(L"HKEY_LOCAL_MACHINE", key, L"V"), 4);
  EXPECT_TRUE(DeleteRegKey(L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE\\CorrivoTest"));
  EXPECT_EQ(GetRegValueState(L"HKEY_LOCAL_MACHINE", key, L"V"), kKeyMissing);
}

TEST(RealRegistryTest, AdvapiRefusesALeadingBackslashAsTheOperationsExpect) {
  RegHandle h = 0;
  EXPECT_EQ(PlatformRegistry().OpenKey(RegRoot::CurrentUser, L"\\Software", regaccess::kAllAccess, &h),
            regerr::kBadPathName);
}

}  // namespace
}  // namespace corrivo::testing

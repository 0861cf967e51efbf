// The suite setting and the language record against the platform's own private-profile reader
// and file functions (Windows builds, run under Wine).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/language.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

class LanguageSettingsWin32Test : public ::testing::Test {
 protected:
  std::wstring File(const std::wstring& name) const { return dir.path() + L"\\" + name; }
  // Written past the code under test.
  void Write(const std::wstring& name, const std::string& bytes) {
    std::ofstream(std::filesystem::path(File(name)), std::ios::binary) << bytes;
  }
  std::wstring Read(const std::wstring& name, const wchar_t* section, const wchar_t* key) {
    return files.ReadProfileString(File(name), section, key, L"<none>");
  }
  FileService& files = PlatformSystem().files;
  testing::TempDir dir;
};

TEST_F(LanguageSettingsWin32Test, ThePlatformReaderFindsTheSuiteLanguage) {
  Write(L"Main.ini", "[Other]\r\nLanguage=French\r\n[main]\r\nlanguage = \"german\" \r\n");
  EXPECT_EQ(Read(L"Main.ini", L"Main", L"Language"), L"german");
  EXPECT_EQ(Read(L"Main.ini", L"Main", L"Skin"), L"<none>");
  EXPECT_EQ(Read(L"absent.ini", L"Main", L"Language"), L"<none>");
  const std::wstring longName(1000, L'x');
  Write(L"Wide.ini", "\xFF\xFE" + testing::Utf16Bytes(L"[Main]\r\nLanguage=Français\r\nLong=" + longName + L"\r\n", false));
  EXPECT_EQ(Read(L"Wide.ini", L"Main", L"Language"), L"Français");
  EXPECT_EQ(Read(L"Wide.ini", L"Main", L"Long"), longName);
}

TEST_F(LanguageSettingsWin32Test, ThePlatformReaderReadsTheRecordBack) {
  Write(L"Corrivo.Log", "[Lang]\r\nMyLang=Old\r\nOther=1\r\n");
  for (const wchar_t* value : {L"german", L"Français", L""}) {
    SCOPED_TRACE(testing::Narrow(value));
    ASSERT_TRUE(WriteLanguageRecord(files, File(L"Corrivo.Log"), value));
    EXPECT_EQ(Read(L"Corrivo.Log", L"Lang", L"MyLang"), value);
    EXPECT_EQ(Read(L"Corrivo.Log", L"Lang", L"Other"), L"1");
  }
}

}  // namespace
}  // namespace corrivo

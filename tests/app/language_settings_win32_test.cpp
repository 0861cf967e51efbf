// The suite setting and the language record against the platform's own private-profile reader
// and file functions (Windows builds, run under Wine).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/language.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

TEST(LanguageSettingsWin32Test, ThePlatformReaderFindsTheSuiteLanguageAndReadsTheRecordBack) {
  FileService& files = PlatformSystem().files;
  testing::TempDir dir;
  const std::wstring settings = dir.path() + L"\\Main.ini", record = dir.path() + L"\\Corrivo.Log";
  const std::pair<std::wstring, std::string> written[] = {  // past the code under test
      {settings, "[Other]\r\nLanguage=French\r\n[main]\r\nlanguage = \"german\" \r\n"},
      {record, "[Lang]\r\nMyLang=Old\r\nOther=1\r\n"}};
  for (const auto& [path, bytes] : written) std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
  EXPECT_EQ(files.ReadProfileString(settings, L"Main", L"Language", L"-"), L"german");
  for (const wchar_t* value : {L"german", L"Français", L""}) {
    ASSERT_TRUE(WriteLanguageRecord(files, record, value));
    EXPECT_EQ(files.ReadProfileString(record, L"Lang", L"MyLang", L"-"), value) << testing::Narrow(value);
    EXPECT_EQ(files.ReadProfileString(record, L"Lang", L"Other", L"-"), L"1");
  }
}

}  // namespace
}  // namespace corrivo

// The suite setting and the language record against the platform's own private-profile reader
// and file functions (Windows builds, run under Wine).
#include <gtest/gtest.h>

#include "app/file_access.h"
#include "app/language.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class LanguageSettingsWin32Test : public ::testing::Test {
 protected:
  std::wstring File(const std::wstring& name) const { return dir.path() + L"\\" + name; }
  TempDir dir;
};

TEST_F(LanguageSettingsWin32Test, PlatformReaderFindsTheSuiteLanguage) {
  WriteBytes(File(L"Main.ini"), "[Other]\r\nLanguage=French\r\n[main]\r\nlanguage = \"german\" \r\n");
  EXPECT_EQ(files::ReadProfileString(File(L"Main.ini"), L"Main", L"Language", L"English"), L"german");
  EXPECT_EQ(files::ReadProfileString(File(L"Main.ini"), L"Main", L"Skin", L"English"), L"English");
  EXPECT_EQ(files::ReadProfileString(File(L"absent.ini"), L"Main", L"Language", L"English"), L"English");
}

TEST_F(LanguageSettingsWin32Test, PlatformReaderReadsUtf16SettingsAndLongValues) {
  const std::wstring longName(1000, L'x');
  WriteBytes(File(L"Main.ini"),
             "\xFF\xFE" + testing::Utf16Bytes(L"[Main]\r\nLanguage=Français\r\nLong=" + longName + L"\r\n", false));
  EXPECT_EQ(files::ReadProfileString(File(L"Main.ini"), L"Main", L"Language", L"English"), L"Français");
  EXPECT_EQ(files::ReadProfileString(File(L"Main.ini"), L"Main", L"Long", L""), longName);
}

TEST_F(LanguageSettingsWin32Test, RecordIsReadableByThePlatformReader) {
  for (const wchar_t* value : {L"german", L"Français", L""}) {
    SCOPED_TRACE(testing::Narrow(value));
    ASSERT_TRUE(WriteLanguageRecord(File(L"Corrivo.Log"), value));
    EXPECT_EQ(files::ReadProfileString(File(L"Corrivo.Log"), L"Lang", L"MyLang", L"<none>"), value);
  }
}

TEST_F(LanguageSettingsWin32Test, RecordReplacesAnExistingFileWhole) {
  WriteBytes(File(L"Corrivo.Log"), "[Lang]\r\nMyLang=Old\r\n");
  ASSERT_TRUE(WriteLanguageRecord(File(L"Corrivo.Log"), L"German"));
  EXPECT_EQ(ReadBytes(File(L"Corrivo.Log")), "[Lang]\r\nMyLang=German\r\n");
}

TEST_F(LanguageSettingsWin32Test, FailedRecordWriteLeavesNothingBehind) {
  EXPECT_FALSE(WriteLanguageRecord(File(L"missing\\Corrivo.Log"), L"German"));
  std::filesystem::create_directories(testing::FsPath(File(L"Corrivo.Log")));
  EXPECT_FALSE(WriteLanguageRecord(File(L"Corrivo.Log"), L"German"));
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::FsPath(dir.path()))) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);
}

TEST_F(LanguageSettingsWin32Test, FileServicesTellFilesFromFolders) {
  WriteBytes(File(L"a.lng"), "x");
  EXPECT_TRUE(files::FileExists(File(L"a.lng")));
  EXPECT_FALSE(files::FileExists(dir.path()));
  EXPECT_FALSE(files::FileExists(File(L"b.lng")));
  std::string bytes = "stale";
  EXPECT_FALSE(files::ReadWholeFile(dir.path(), &bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_TRUE(files::ReadWholeFile(File(L"a.lng"), &bytes));
  EXPECT_EQ(bytes, "x");
}

TEST_F(LanguageSettingsWin32Test, PathsComeFromTheRealFolders) {
  const std::wstring suite = SuiteSettingsPath();
  const std::wstring suffix = L"\\Tarsio\\Helmwise V8\\Main.ini";
  ASSERT_GT(suite.size(), suffix.size() + 3);
  EXPECT_EQ(suite.substr(suite.size() - suffix.size()), suffix);
  EXPECT_EQ(suite.substr(1, 2), L":\\");
  const std::wstring record = LanguageRecordPath();
  ASSERT_GT(record.size(), 15u);
  EXPECT_EQ(record.substr(record.size() - 12), L"\\Corrivo.Log");
  if (!files::FileExists(suite)) {
    EXPECT_EQ(GetSuiteLanguageName(), L"English");
  }
}

}  // namespace
}  // namespace corrivo

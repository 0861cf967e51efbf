// The suite's language setting, the language record and the whole start-up sequence, on the
// Linux stand-in platform whose folders the tests choose.
#include <gtest/gtest.h>

#include "app/language.h"
#include "sysaccess/memory/host_platform.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr int kRoamingAppData = 26;

class LanguageSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host::SetFolder(kRoamingAppData, appData.path());
    host::SetProgramFileName(program.path() + L"\\Corrivo.exe");
  }
  void TearDown() override {
    host::SetFolder(kRoamingAppData, L"");
    host::SetProgramFileName(L"");
  }
  std::wstring SuiteFolder() const { return appData.path() + L"\\Tarsio\\Helmwise V8"; }
  void WriteSuiteSettings(std::string_view bytes) {
    std::filesystem::create_directories(testing::FsPath(SuiteFolder()));
    WriteBytes(SuiteFolder() + L"\\Main.ini", bytes);
  }
  std::wstring Record() const { return program.path() + L"\\Corrivo.Log"; }

  TempDir appData;
  TempDir program;
};

TEST_F(LanguageSettingsTest, SuiteSettingsPathIsUnderRoamingAppData) {
  EXPECT_EQ(SuiteSettingsPath(), appData.path() + L"\\Tarsio\\Helmwise V8\\Main.ini");
}

TEST_F(LanguageSettingsTest, SuiteLanguageIsReadAsStored) {
  WriteSuiteSettings("[Other]\r\nLanguage=French\r\n[Main]\r\nSkin=Blue\r\nLanguage=german\r\n");
  EXPECT_EQ(GetSuiteLanguageName(), L"german");
}

TEST_F(LanguageSettingsTest, SuiteLanguageNamesAreMatchedWithoutLetterCase) {
  WriteSuiteSettings("[MAIN]\r\nlanguage = Deutsch \r\n");
  EXPECT_EQ(GetSuiteLanguageName(), L"Deutsch");
}

TEST_F(LanguageSettingsTest, QuotesAroundTheSettingAreRemovedLikeThePlatformReaderDoes) {
  WriteSuiteSettings("[Main]\r\nLanguage=\"Italian\"\r\n");
  EXPECT_EQ(GetSuiteLanguageName(), L"Italian");
}

TEST_F(LanguageSettingsTest, MissingFileSectionOrKeyGivesEnglish) {
  EXPECT_EQ(GetSuiteLanguageName(), L"English");
  WriteSuiteSettings("[Settings]\r\nLanguage=German\r\n");
  EXPECT_EQ(GetSuiteLanguageName(), L"English");
  WriteSuiteSettings("[Main]\r\nSkin=Blue\r\n");
  EXPECT_EQ(GetSuiteLanguageName(), L"English");
}

TEST_F(LanguageSettingsTest, EmptySettingIsReturnedEmpty) {
  WriteSuiteSettings("[Main]\r\nLanguage=\r\n");
  EXPECT_EQ(GetSuiteLanguageName(), L"");
}

TEST_F(LanguageSettingsTest, UnknownApplicationDataFolderGivesEnglish) {
  host::SetFolder(kRoamingAppData, L"");
  EXPECT_EQ(GetSuiteLanguageName(), L"English");
}

TEST_F(LanguageSettingsTest, RecordPathIsBesideTheProgram) {
  EXPECT_EQ(LanguageRecordPath(), program.path() + L"\\Corrivo.Log");
  host::SetProgramFileName(L"");
  EXPECT_EQ(LanguageRecordPath(), L"");
  EXPECT_FALSE(WriteLanguageRecord(LanguageRecordPath(), L"German"));
}

TEST_F(LanguageSettingsTest, RecordIsWrittenAsOneSectionWithOneKey) {
  ASSERT_TRUE(WriteLanguageRecord(Record(), L"german"));
  EXPECT_EQ(ReadBytes(Record()), "[Lang]\r\nMyLang=german\r\n");
  ASSERT_TRUE(WriteLanguageRecord(Record(), L"English"));
  EXPECT_EQ(ReadBytes(Record()), "[Lang]\r\nMyLang=English\r\n");
}

TEST_F(LanguageSettingsTest, RecordKeepsTheRestOfAnExistingFile) {
  WriteBytes(Record(), "[Before]\r\nx=1\r\n\r\n[lang]\r\nOther=2\r\n mylang = Old\r\nMyLang=Second\r\n\r\n[After]\r\ny=3\r\n");
  ASSERT_TRUE(WriteLanguageRecord(Record(), L"German"));
  EXPECT_EQ(ReadBytes(Record()),
            "[Before]\r\nx=1\r\n\r\n[lang]\r\nOther=2\r\nMyLang=German\r\nMyLang=Second\r\n\r\n[After]\r\ny=3\r\n");
}

TEST_F(LanguageSettingsTest, MissingKeyGoesToTheEndOfItsSection) {
  WriteBytes(Record(), "[Lang]\r\nOther=2\r\n\r\n[After]\r\ny=3\r\n");
  ASSERT_TRUE(WriteLanguageRecord(Record(), L"German"));
  EXPECT_EQ(ReadBytes(Record()), "[Lang]\r\nOther=2\r\nMyLang=German\r\n\r\n[After]\r\ny=3\r\n");
}

TEST_F(LanguageSettingsTest, NonAsciiValueIsWrittenAsUtf16AndReadsBack) {
  ASSERT_TRUE(WriteLanguageRecord(Record(), L"Français"));
  const std::string bytes = ReadBytes(Record());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(bytes.substr(2), testing::Utf16Bytes(L"[Lang]\r\nMyLang=Français\r\n", false));
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(Record()));
  EXPECT_EQ(ini.ReadString(L"Lang", L"MyLang", L"?"), L"Français");
}

TEST_F(LanguageSettingsTest, Utf16RecordStaysUtf16) {
  WriteBytes(Record(), "\xFF\xFE" + testing::Utf16Bytes(L"[Lang]\r\nMyLang=x\r\n", false));
  ASSERT_TRUE(WriteLanguageRecord(Record(), L"German"));
  EXPECT_EQ(ReadBytes(Record()), "\xFF\xFE" + testing::Utf16Bytes(L"[Lang]\r\nMyLang=German\r\n", false));
}

TEST_F(LanguageSettingsTest, LineBreaksInTheValueCannotAddLines) {
  ASSERT_TRUE(WriteLanguageRecord(Record(), L"a\r\n[Evil]\nb"));
  EXPECT_EQ(ReadBytes(Record()), "[Lang]\r\nMyLang=a  [Evil] b\r\n");
}

TEST_F(LanguageSettingsTest, FailedWriteReportsFalseAndLeavesNoTemporaryFile) {
  // The folder is missing: nothing can be created there.
  EXPECT_FALSE(WriteLanguageRecord(program.path() + L"\\missing\\Corrivo.Log", L"German"));
  // The target is a folder: the temporary file is written but cannot replace it.
  std::filesystem::create_directories(testing::FsPath(Record()));
  EXPECT_FALSE(WriteLanguageRecord(Record(), L"German"));
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::FsPath(program.path()))) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1u);  // only the folder named Corrivo.Log
}

TEST_F(LanguageSettingsTest, StartUpLoadsTheSuiteLanguageAndWritesTheRecord) {
  const std::wstring folder = program.path() + L"\\Toolbox_Language";
  std::filesystem::create_directories(testing::FsPath(folder));
  WriteBytes(folder + L"\\English.lng", "[FixWindows_M]\r\nD_Total=Total (en)\r\n");
  WriteBytes(folder + L"\\German.lng",
             "\xEF\xBB\xBF[Scanner_FixWindows_FormMain]\r\nButton_Scan.Caption=Pr\xC3\xBC" "fen\r\n"
             "[FixWindows_M]\r\nD_Total=Gesamt\r\n");
  WriteSuiteSettings("[Main]\r\nLanguage=german\r\n");
  BasicComponent window(L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo");
  window.Own(L"Button_Scan", ComponentKind::PushButton, L"Scan");

  ProgramLanguage result = LoadProgramLanguage(window);

  EXPECT_EQ(result.suiteLanguage, L"german");
  EXPECT_TRUE(result.recordWritten);
  EXPECT_EQ(ReadBytes(Record()), "[Lang]\r\nMyLang=german\r\n");
  ASSERT_NE(result.language, nullptr);
  EXPECT_EQ(result.language->Name, L"Scanner");
  EXPECT_EQ(result.language->Folder, folder);
  EXPECT_EQ(result.language->LoadedLanguage(), L"German");
  EXPECT_EQ(result.messages.D_Total, L"Gesamt");
  EXPECT_EQ(result.messages.D_FixFinish, L"Fixed!");
  EXPECT_EQ(window.Owned(0)->Caption(), L"Prüfen");
  EXPECT_EQ(window.Caption(), L"Tarsio Corrivo");
}

TEST_F(LanguageSettingsTest, StartUpWithoutLanguageFolderKeepsEnglish) {
  BasicComponent window(L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo");
  window.Own(L"Button_Scan", ComponentKind::PushButton, L"Scan");
  ProgramLanguage result = LoadProgramLanguage(window);
  EXPECT_EQ(result.suiteLanguage, L"English");
  EXPECT_TRUE(result.recordWritten);
  EXPECT_EQ(ReadBytes(Record()), "[Lang]\r\nMyLang=English\r\n");
  EXPECT_TRUE(result.language->Languages.empty());
  EXPECT_EQ(result.messages.D_Total, L"Total");
  EXPECT_EQ(window.Owned(0)->Caption(), L"Scan");
}

TEST_F(LanguageSettingsTest, StartUpGoesOnWhenTheRecordCannotBeWritten) {
  std::filesystem::create_directories(testing::FsPath(Record()));  // a folder blocks the file
  WriteSuiteSettings("[Main]\r\nLanguage=German\r\n");
  BasicComponent window(L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo");
  ProgramLanguage result = LoadProgramLanguage(window);
  EXPECT_FALSE(result.recordWritten);
  EXPECT_EQ(result.suiteLanguage, L"German");
  EXPECT_EQ(result.messages.D_FixFinish, L"Fixed!");
}

}  // namespace
}  // namespace corrivo

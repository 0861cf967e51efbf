// TLanguage: listing the language files, choosing one, the message texts and the walk over a
// window's components.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/language.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::TempDir;
using testing::WriteBytes;
using Lines = std::vector<std::wstring>;

const char kEnglish[] =
    "\xEF\xBB\xBF[Scanner_FixWindows_FormMain]\r\nButton_Scan.Caption=Scan (en)\r\n"
    "[FixWindows_M]\r\nD_FixFinish=Fixed (en)\r\n";
const char kGerman[] =
    "\xEF\xBB\xBF[Scanner_FixWindows_FormMain]\r\nButton_Scan.Caption=Pr\xC3\xBC" "fen\r\n"
    "[FixWindows_M]\r\nD_FixFinish=Behoben!\r\nD_Total=Gesamt\r\n";

class LanguageTest : public ::testing::Test {
 protected:
  std::wstring Folder() const { return dir.path() + L"\\Toolbox_Language"; }
  std::wstring File(const std::wstring& name) const { return Folder() + L"\\" + name; }
  void SetUp() override {
    std::filesystem::create_directories(testing::FsPath(Folder()));
    WriteBytes(File(L"English.lng"), kEnglish);
    WriteBytes(File(L"German.lng"), kGerman);
    WriteBytes(File(L"readme.txt"), "[FixWindows_M]\r\nD_FixFinish=not a language\r\n");
    WriteBytes(File(L"German.lng.bak"), "x");
  }
  TempDir dir;
};

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST_F(LanguageTest, CreateListsTheLanguageFilesOfTheFolder) {
  TLanguage language(L"Scanner", Folder() + L"\\");
  EXPECT_EQ(language.Name, L"Scanner");
  EXPECT_EQ(language.Folder, Folder());  // the trailing delimiter is dropped
  EXPECT_EQ(Sorted(language.Languages), (Lines{L"English", L"German"}));
  EXPECT_EQ(language.Strings.SectionCount(), 0u);
  EXPECT_TRUE(language.LoadedLanguage().empty());
}

TEST_F(LanguageTest, ExtensionMatchIgnoresLetterCase) {
  WriteBytes(File(L"French.LNG"), "[FixWindows_M]\r\nD_FixFinish=R\xE9par\xE9 !\r\n");
  TLanguage language(L"Scanner", Folder());
  EXPECT_EQ(Sorted(language.Languages), (Lines{L"English", L"French", L"German"}));
  language.SetLanguage(L"french");
  EXPECT_EQ(language.LoadedLanguage(), L"French");
  EXPECT_EQ(ReadMessageTexts(language).D_FixFinish, L"Réparé !");
}

TEST_F(LanguageTest, LowerCaseSettingFindsTheCapitalisedFile) {
  TLanguage language(L"Scanner", Folder());
  language.SetLanguage(L"german");
  EXPECT_EQ(language.LoadedLanguage(), L"German");
  EXPECT_EQ(language.ReadString(L"FixWindows_M", L"D_FixFinish", L"Fixed!"), L"Behoben!");
  EXPECT_EQ(language.ReadString(L"Scanner_FixWindows_FormMain", L"Button_Scan.Caption", L"Scan"), L"Prüfen");
}

TEST_F(LanguageTest, UnknownLanguageFallsBackToEnglish) {
  for (const wchar_t* name : {L"Klingon", L"", L"German.lng", L"Germa"}) {
    SCOPED_TRACE(testing::Narrow(name));
    TLanguage language(L"Scanner", Folder());
    language.SetLanguage(name);
    EXPECT_EQ(language.LoadedLanguage(), L"English");
    EXPECT_EQ(language.ReadString(L"FixWindows_M", L"D_FixFinish", L"Fixed!"), L"Fixed (en)");
  }
}

TEST_F(LanguageTest, FileDeletedAfterListingFallsBackToEnglish) {
  TLanguage language(L"Scanner", Folder());
  std::filesystem::remove(testing::FsPath(File(L"German.lng")));
  language.SetLanguage(L"German");
  EXPECT_EQ(language.LoadedLanguage(), L"English");
  EXPECT_EQ(ReadMessageTexts(language).D_FixFinish, L"Fixed (en)");
}

TEST_F(LanguageTest, NoEnglishFileEitherKeepsTheBuiltInTexts) {
  TLanguage language(L"Scanner", Folder());
  std::filesystem::remove(testing::FsPath(File(L"German.lng")));
  std::filesystem::remove(testing::FsPath(File(L"English.lng")));
  language.SetLanguage(L"German");
  EXPECT_TRUE(language.LoadedLanguage().empty());
  EXPECT_EQ(language.Strings.SectionCount(), 0u);
  EXPECT_EQ(ReadMessageTexts(language).D_FixFinish, L"Fixed!");
}

TEST_F(LanguageTest, MissingFolderListsNothingAndKeepsTheBuiltInTexts) {
  TLanguage language(L"Scanner", dir.path() + L"\\NoSuchFolder");
  EXPECT_TRUE(language.Languages.empty());
  language.SetLanguage(L"English");
  EXPECT_TRUE(language.LoadedLanguage().empty());
  const MessageTexts texts = ReadMessageTexts(language);
  const MessageTexts defaults;
  for (const auto& entry : MessageTextKeys()) {
    SCOPED_TRACE(testing::Narrow(entry.key));
    EXPECT_EQ(texts.*entry.field, defaults.*entry.field);
  }
}

TEST_F(LanguageTest, MessageTextsTakeTheFileAndKeepDefaultsForMissingKeys) {
  TLanguage language(L"Scanner", Folder());
  language.SetLanguage(L"German");
  const MessageTexts texts = ReadMessageTexts(language);
  EXPECT_EQ(texts.D_FixFinish, L"Behoben!");
  EXPECT_EQ(texts.D_Total, L"Gesamt");
  EXPECT_EQ(texts.D_FixFailed, L"Fixed Failed!");
  EXPECT_EQ(texts.D_ForVersion, L"This tool only for xp, vista , win 7 and win8.");
}

TEST(MessageTextsTest, FifteenKeysWithTheirBuiltInDefaults) {
  const MessageTexts texts;
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"D_NoProblem", L"No problems"},
      {L"D_FixAll", L"All problems fixed."},
      {L"D_FixIESure", L"Are you sure of reregister all DLL and OCX files for IE?"},
      {L"D_FixIEFinish", L"Internet Explorer fixed."},
      {L"D_FixMPSure", L"Are you sure of reregister all DLL and OCX files for Media Player?"},
      {L"D_FixMPFinish", L"Media Player fixed."},
      {L"D_NeedFix", L"Need Fix"},
      {L"D_Total", L"Total"},
      {L"D_ForVersion", L"This tool only for xp, vista , win 7 and win8."},
      {L"D_FixFinish", L"Fixed!"},
      {L"D_FixFailed", L"Fixed Failed!"},
      {L"D_Min", L"Minimize"},
      {L"D_Max", L"Maximize"},
      {L"D_Restore", L"Restore"},
      {L"D_Close", L"Close"},
  };
  ASSERT_EQ(MessageTextKeys().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(testing::Narrow(expected[i].first));
    EXPECT_EQ(std::wstring(MessageTextKeys()[i].key), expected[i].first);
    EXPECT_EQ(texts.*MessageTextKeys()[i].field, expected[i].second);
  }
}

TEST(MessageTextsTest, SectionNameIsExact) { EXPECT_EQ(std::wstring(kMessageSection), L"FixWindows_M"); }

}  // namespace
}  // namespace corrivo

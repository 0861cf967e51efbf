// The shipped language files: English.lng is the complete template of every key the program
// reads, with the built-in texts as values; German.lng translates exactly the same keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/language.h"
#include "app/text_file.h"
#include "catalog/catalog.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::Narrow;
using testing::SourcePath;

const wchar_t kWindowSection[] = L"Scanner_FixWindows_FormMain";

// The window's own texts with the design's defaults.
const std::pair<const wchar_t*, const wchar_t*> kWindowTexts[] = {
    {L"FixWindows_FormMain.Caption", L"Tarsio Corrivo"},
    {L"Label_Title.Caption", L"Tarsio Corrivo"},
    {L"Label_Info.Caption", L"Corrivo analyzes your Windows operating system and helps you fix problems."},
    {L"Label_General.Caption", L"General Fix"},
    {L"Label_Advanced.Caption", L"Advanced Fix"},
    {L"Label_Internet.Caption", L"Fix Internet Explorer"},
    {L"Lbl_MediaPlayer.Caption", L"Fix Media Player"},
    {L"Button_Scan.Caption", L"Scan"},
    {L"Button_StopScan.Caption", L"Stop"},
    {L"Button_Fix.Caption", L"Fix"},
    {L"Button_StopFix.Caption", L"Stop"},
    {L"CheckBox_SelectAll.Caption", L"Select All"},
    {L"ListView_Fix.Columns[0].Caption", L"Fix Item"},
    {L"ListView_Fix.Columns[1].Caption", L"Status"},
    {L"Label_Desktop.Caption", L"Desktop"},
    {L"Label_System.Caption", L"System"},
    {L"Label_InternetExplorer.Caption", L"IE"},
    {L"Label_MediaPlayer.Caption", L"Media Player"},
    {L"Label_Security.Caption", L"Security"},
    {L"Label_Additional.Caption", L"Additional"},
    {L"Label_Tips.Caption", L"Do not click the \"Fix\" button unless your computer has the following problems."},
    {L"Label_FixIE_Info.Caption",
     L"This portable utility re-registers all the concerned dll and ocx files required for the smooth operation of "
     L"Internet Explorer. If you face any problems while running IE, run this tool to re-register the files."},
    {L"Button_FixIE.Caption", L"Fix Internet Explorer"},
    {L"Button_StopFix_IE.Caption", L"Stop"},
    {L"Label_FixWMP_Info.Caption",
     L"This portable utility re-registers all the concerned Windows Media dll files required for the smooth "
     L"functioning of Windows Media Player. If you are facing any issues or getting any error message while running "
     L"Windows Media Player, run this utility."},
    {L"Button_Fix_MediaPlayer.Caption", L"Fix Media Player"},
    {L"Button_StopFix_MediaPlayer.Caption", L"Stop"},
};

std::wstring LanguageFile(const wchar_t* name) { return SourcePath(std::wstring(L"Toolbox_Language/") + name); }

// Every key the program reads, by section, with its built-in text.
std::map<std::wstring, std::map<std::wstring, std::wstring>> ExpectedTemplate() {
  std::map<std::wstring, std::map<std::wstring, std::wstring>> expected;
  auto& window = expected[kWindowSection];
  for (const auto& [key, text] : kWindowTexts) window[key] = text;
  for (const auto& entry : Catalog()) {
    if (entry.tab == FixTab::None) continue;
    window[L"Label_" + std::to_wstring(entry.id) + L".Caption"] = entry.caption;
    window[L"Button_" + std::to_wstring(entry.id) + L".Caption"] = L"Fix";
  }
  const MessageTexts defaults;
  for (const auto& entry : MessageTextKeys()) expected[kMessageSection][entry.key] = defaults.*entry.field;
  return expected;
}

// Sections and keys of a file, with a check that neither repeats.
std::map<std::wstring, std::set<std::wstring>> KeysOf(const TExtIniFile& ini) {
  std::map<std::wstring, std::set<std::wstring>> keys;
  std::vector<std::wstring> sections;
  ini.ReadSections(&sections);
  for (const auto& section : sections) {
    SCOPED_TRACE(Narrow(section));
    EXPECT_EQ(keys.count(section), 0u) << "section repeated";
    std::vector<std::wstring> names;
    ini.ReadSection(section, &names);
    std::vector<std::wstring> lines;
    ini.ReadSectionValues(section, &lines);
    EXPECT_EQ(names.size(), lines.size()) << "a line without \"=\"";
    for (const auto& name : names) {
      SCOPED_TRACE(Narrow(name));
      EXPECT_TRUE(keys[section].insert(FoldNameCase(name)).second) << "key repeated";
    }
  }
  return keys;
}

TEST(LanguageFilesTest, CatalogueHasTheSixtyFourRows) {
  EXPECT_EQ(std::count_if(Catalog().begin(), Catalog().end(), [](const CatalogEntry& e) { return e.tab != FixTab::None; }),
            64);
}

TEST(LanguageFilesTest, BothFilesCarryAUtf8ByteOrderMark) {
  for (const wchar_t* name : {L"English.lng", L"German.lng"}) {
    SCOPED_TRACE(Narrow(name));
    EXPECT_EQ(testing::ReadBytes(LanguageFile(name)).substr(0, 3), "\xEF\xBB\xBF");
  }
}

TEST(LanguageFilesTest, EnglishHoldsEveryKeyTheProgramReadsWithItsBuiltInText) {
  TExtIniFile english;
  ASSERT_TRUE(english.LoadFromFile(LanguageFile(L"English.lng")));
  const auto expected = ExpectedTemplate();
  std::map<std::wstring, std::set<std::wstring>> expectedKeys;
  for (const auto& [section, keys] : expected) {
    for (const auto& [key, text] : keys) {
      SCOPED_TRACE(Narrow(section + L"/" + key));
      expectedKeys[section].insert(FoldNameCase(key));
      EXPECT_TRUE(english.ValueExists(section, key));
      EXPECT_EQ(english.ReadString(section, key, L"<missing>"), text);
    }
  }
  EXPECT_EQ(KeysOf(english), expectedKeys);  // and nothing else
  EXPECT_EQ(expectedKeys[kWindowSection].size(), 27u + 64u + 64u);
  EXPECT_EQ(expectedKeys[kMessageSection].size(), 15u);
}

TEST(LanguageFilesTest, GermanHasExactlyTheSameSectionsAndKeys) {
  TExtIniFile english, german;
  ASSERT_TRUE(english.LoadFromFile(LanguageFile(L"English.lng")));
  ASSERT_TRUE(german.LoadFromFile(LanguageFile(L"German.lng")));
  std::vector<std::wstring> englishSections, germanSections;
  english.ReadSections(&englishSections);
  german.ReadSections(&germanSections);
  EXPECT_EQ(germanSections, englishSections);
  EXPECT_EQ(KeysOf(german), KeysOf(english));
}

TEST(LanguageFilesTest, GermanTranslatesEveryText) {
  TExtIniFile english, german;
  ASSERT_TRUE(english.LoadFromFile(LanguageFile(L"English.lng")));
  ASSERT_TRUE(german.LoadFromFile(LanguageFile(L"German.lng")));
  // Names and words German shares with English.
  const std::set<std::wstring> same = {L"Tarsio Corrivo", L"Status", L"Desktop", L"System", L"IE", L"Media Player"};
  for (const auto& [section, keys] : KeysOf(english)) {
    for (const auto& key : keys) {
      SCOPED_TRACE(Narrow(section + L"/" + key));
      const std::wstring text = german.ReadString(section, key, L"");
      EXPECT_FALSE(text.empty());
      if (!same.count(text)) {
        EXPECT_NE(text, english.ReadString(section, key, L""));
      }
    }
  }
  // The umlauts and the sharp s survive the trip through the file.
  EXPECT_EQ(german.ReadString(kMessageSection, L"D_Close", L""), L"Schließen");
  EXPECT_EQ(german.ReadString(kWindowSection, L"Button_Scan.Caption", L""), L"Prüfen");
}

TEST(LanguageFilesTest, TheShippedFolderServesBothLanguages) {
  TLanguage language(L"Scanner", SourcePath(L"Toolbox_Language"));
  std::vector<std::wstring> names = language.Languages;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"English", L"German"}));
  language.SetLanguage(L"german");
  EXPECT_EQ(language.LoadedLanguage(), L"German");
  EXPECT_EQ(ReadMessageTexts(language).D_FixFinish, L"Behoben!");
  BasicComponent window(L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo");
  auto& list = window.Own(L"ListView_Fix", ComponentKind::ListView);
  list.Columns() = {L"Fix Item", L"Status"};
  window.Own(L"Button_101", ComponentKind::PushButton, L"Fix");
  language.TranslateComponent(window);
  EXPECT_EQ(list.Columns()[0], L"Problem");
  EXPECT_EQ(window.Owned(1)->Caption(), L"Reparieren");
}

}  // namespace
}  // namespace corrivo

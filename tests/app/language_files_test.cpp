// The shipped language files: English.lng holds every key the program reads, with the built-in
// text as its value; German.lng holds exactly the same keys, translated.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>

#include "app/advanced_layout.h"
#include "app/language.h"
#include "catalog/catalog.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::Narrow;
using Keys = std::map<std::wstring, std::set<std::wstring>>;  // folded keys by section

const wchar_t kWindowSection[] = L"Scanner_FixWindows_FormMain";

std::wstring LanguageFile(const wchar_t* name) {
  return testing::SourcePath(std::wstring(L"Toolbox_Language/") + name);
}

// Sections and keys of a file, checking that neither repeats and that every line has a key.
Keys KeysOf(const TExtIniFile& ini) {
  Keys keys;
  std::vector<std::wstring> sections;
  ini.ReadSections(&sections);
  for (const auto& section : sections) {
    SCOPED_TRACE(Narrow(section));
    EXPECT_EQ(keys.count(section), 0u) << "section repeated";
    std::vector<std::wstring> names, lines;
    ini.ReadSection(section, &names);
    ini.ReadSectionValues(section, &lines);
    EXPECT_EQ(names.size(), lines.size()) << "a line without \"=\"";
    for (const auto& name : names) EXPECT_TRUE(keys[section].insert(FoldNameCase(name)).second) << Narrow(name);
  }
  return keys;
}

class LanguageFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(english.LoadFromFile(PlatformSystem().files, LanguageFile(L"English.lng")));
    ASSERT_TRUE(german.LoadFromFile(PlatformSystem().files, LanguageFile(L"German.lng")));
  }
  TExtIniFile english, german;
};

TEST_F(LanguageFilesTest, EnglishHoldsTheBuiltInTextOfEveryKeyTheProgramDerives) {
  std::map<std::wstring, std::map<std::wstring, std::wstring>> expected;
  const MessageTexts defaults;
  for (const auto& entry : MessageTextKeys()) expected[kMessageSection][entry.key] = defaults.*entry.field;
  auto& window = expected[kWindowSection];
  for (const Repair& r : Repairs()) {
    if (!r.row) continue;
    window[L"Label_" + std::to_wstring(r.id) + L".Caption"] = r.caption;
    window[L"Button_" + std::to_wstring(r.id) + L".Caption"] = L"Fix";
  }
  for (const auto& category : layout::Categories()) window[std::wstring(category.label) + L".Caption"] = category.caption;
  for (const auto& [section, texts] : expected) {
    for (const auto& [key, text] : texts) {
      SCOPED_TRACE(Narrow(section + L"/" + key));
      EXPECT_EQ(english.ReadString(section, key, L"<missing>"), text);
    }
  }
  // Nothing else but the window's own texts: captions and column captions.
  const Keys keys = KeysOf(english);
  EXPECT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys.at(kMessageSection).size(), MessageTextKeys().size());
  const std::wregex windowKey(LR"([a-z_0-9]+(\.columns\[\d\])?\.caption)");
  for (const auto& key : keys.at(kWindowSection)) EXPECT_TRUE(std::regex_match(key, windowKey)) << Narrow(key);
}

TEST_F(LanguageFilesTest, GermanTranslatesExactlyTheKeysOfEnglish) {
  std::vector<std::wstring> englishSections, germanSections;
  english.ReadSections(&englishSections);
  german.ReadSections(&germanSections);
  EXPECT_EQ(germanSections, englishSections);
  ASSERT_EQ(KeysOf(german), KeysOf(english));
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
  for (const wchar_t* name : {L"English.lng", L"German.lng"}) {
    std::string bytes;
    PlatformSystem().files.ReadWholeFile(LanguageFile(name), &bytes);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << Narrow(name) << " is UTF-8 with its mark";
  }
}

TEST(LanguageFolderTest, TheShippedFolderOffersBothLanguages) {
  TLanguage language(PlatformSystem().files, L"Scanner", testing::SourcePath(L"Toolbox_Language"));
  std::vector<std::wstring> names = language.Languages;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{L"English", L"German"}));
  language.SetLanguage(L"german");
  EXPECT_EQ(ReadMessageTexts(language).closeHint, L"Schließen");
}

}  // namespace
}  // namespace corrivo

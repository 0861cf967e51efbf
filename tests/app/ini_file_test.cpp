// The in-memory INI store: parsing rules and every operation.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/ext_ini_file.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::Narrow;
using Lines = std::vector<std::wstring>;

TExtIniFile& Parse(TExtIniFile& ini, const Lines& lines) {
  ini.SetStrings(lines);
  return ini;
}

TEST(IniFileTest, RepeatedSectionIsKeptAndOnlyTheFirstIsRead) {
  TExtIniFile ini;
  Parse(ini, {L"[FixWindows_M]", L"D_Total=Summe", L"[Other]", L"x=1", L"[FixWindows_M]", L"D_Total=Gesamt",
              L"D_NeedFix=Reparieren"});
  Lines sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"FixWindows_M", L"Other", L"FixWindows_M"}));
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_Total", L"Total"), L"Summe");
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_NeedFix", L"Need Fix"), L"Need Fix");
  EXPECT_FALSE(ini.ValueExists(L"FixWindows_M", L"D_NeedFix"));
}

TEST(IniFileTest, BlanksAroundTheFirstEqualsSignVanish) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L"   D_Total   =   Gesamt  ", L"\tTabbed\t=\tvalue\t"});
  EXPECT_EQ(ini.ReadString(L"S", L"D_Total", L"?"), L"Gesamt");
  EXPECT_EQ(ini.ReadString(L"S", L"Tabbed", L"?"), L"value");
  Lines values;
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"D_Total=Gesamt", L"Tabbed=value"}));
}

TEST(IniFileTest, ValueKeepsEverythingAfterTheFirstEqualsSign) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L"Formula = a=b = c==", L"Quoted=\"x\\n\" ", L"Empty=", L"Spaced=  two  words "});
  EXPECT_EQ(ini.ReadString(L"S", L"Formula", L"?"), L"a=b = c==");
  EXPECT_EQ(ini.ReadString(L"S", L"Quoted", L"?"), L"\"x\\n\"");  // no quote removal, no escapes
  EXPECT_EQ(ini.ReadString(L"S", L"Empty", L"?"), L"");
  EXPECT_EQ(ini.ReadString(L"S", L"Spaced", L"?"), L"two  words");
}

TEST(IniFileTest, SectionHeaderNameIsTrimmed) {
  TExtIniFile ini;
  Parse(ini, {L"  [  Main Section  ]  ", L"k=v", L"[]", L"e=1", L"[broken", L"b=2"});
  Lines sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"Main Section", L""}));
  EXPECT_EQ(ini.ReadString(L"Main Section", L"k", L"?"), L"v");
  // "[broken" is no header: it and the line after it belong to the empty-named section.
  EXPECT_EQ(ini.ReadString(L"", L"b", L"?"), L"2");
}

TEST(IniFileTest, NamesMatchRegardlessOfLetterCase) {
  TExtIniFile ini;
  Parse(ini, {L"[scanner_fixwindows_formmain]", L"label_title.caption=Titel", L"[ÄRGER]", L"ÜBER=1",
              L"[ПРИВЕТ]", L"КЛЮЧ=2", L"[ŁÓDŹ]", L"Ÿ=3"});
  EXPECT_EQ(ini.ReadString(L"Scanner_FixWindows_FormMain", L"Label_Title.Caption", L"?"), L"Titel");
  EXPECT_EQ(ini.ReadString(L"SCANNER_FIXWINDOWS_FORMMAIN", L"LABEL_TITLE.CAPTION", L"?"), L"Titel");
  EXPECT_TRUE(ini.ValueExists(L"Scanner_FixWindows_FormMain", L"LABEL_title.Caption"));
  EXPECT_EQ(ini.ReadString(L"ärger", L"über", L"?"), L"1");
  EXPECT_EQ(ini.ReadString(L"привет", L"ключ", L"?"), L"2");
  EXPECT_EQ(ini.ReadString(L"łódź", L"ÿ", L"?"), L"3");
  EXPECT_FALSE(ini.ValueExists(L"ärger", L"uber"));
}

TEST(IniFileTest, CommentsAndLinesWithoutEqualsAreNeverFound) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L";D_Total=commented", L"  ; Key=also commented", L"JustText", L"D_Total=real", L"", L"   "});
  EXPECT_EQ(ini.ReadString(L"S", L"D_Total", L"?"), L"real");
  EXPECT_FALSE(ini.ValueExists(L"S", L";D_Total"));
  EXPECT_FALSE(ini.ValueExists(L"S", L"JustText"));
  EXPECT_EQ(ini.ReadString(L"S", L"JustText", L"def"), L"def");
  Lines values, keys;
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"JustText", L"D_Total=real"}));  // the plain line is stored
  ini.ReadSection(L"S", &keys);
  EXPECT_EQ(keys, (Lines{L"D_Total"}));
}

TEST(IniFileTest, LinesBeforeTheFirstSectionAreDropped) {
  TExtIniFile ini;
  Parse(ini, {L"Orphan=1", L"[S]", L"k=v"});
  Lines sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"S"}));
  EXPECT_FALSE(ini.ValueExists(L"S", L"Orphan"));
}

TEST(IniFileTest, ControlCharactersAreTrimmedLikeBlanks) {
  TExtIniFile ini;
  Parse(ini, {std::wstring(L"\x01[S]\x1F"), std::wstring(L"\x7") + L"k=v" + std::wstring(1, L'\0')});
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"v");
}

TEST(IniFileTest, FirstOfRepeatedKeysWins) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L"k=first", L"K=second"});
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"first");
  Lines keys;
  ini.ReadSection(L"S", &keys);
  EXPECT_EQ(keys, (Lines{L"k", L"K"}));
}

TEST(IniFileTest, MissingSectionOrKeyGivesTheDefault) {
  TExtIniFile ini;
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"empty store"), L"empty store");
  Parse(ini, {L"[S]", L"k=v"});
  EXPECT_EQ(ini.ReadString(L"T", L"k", L"no section"), L"no section");
  EXPECT_EQ(ini.ReadString(L"S", L"j", L"no key"), L"no key");
  EXPECT_EQ(ini.ReadString(L"S", L"k=v", L"whole line is no key"), L"whole line is no key");
}

TEST(IniFileTest, ReadSectionClearsTheListAndKeepsOrder) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L"b=1", L"a=2", L"c=3"});
  Lines keys{L"stale"};
  ini.ReadSection(L"S", &keys);
  EXPECT_EQ(keys, (Lines{L"b", L"a", L"c"}));
  ini.ReadSection(L"missing", &keys);
  EXPECT_TRUE(keys.empty());
  Lines values{L"stale"};
  ini.ReadSectionValues(L"missing", &values);
  EXPECT_TRUE(values.empty());
}

TEST(IniFileTest, SetStringsReplacesTheWholeStore) {
  TExtIniFile ini;
  Parse(ini, {L"[Old]", L"k=v"});
  Parse(ini, {L"[New]", L"k=w"});
  Lines sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"New"}));
  EXPECT_EQ(ini.ReadString(L"Old", L"k", L"gone"), L"gone");
}

TEST(IniFileTest, WriteStringChangesOnlyMemory) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L"k=old", L"K=second", L"[S]", L"x=1"});
  ini.WriteString(L"s", L"K", L"new");
  ini.WriteString(L"S", L"added", L"a=b");
  ini.WriteString(L"Fresh", L"f", L"1");
  Lines values, sections;
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"K=new", L"K=second", L"added=a=b"}));
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"S", L"S", L"Fresh"}));
  EXPECT_EQ(ini.ReadString(L"Fresh", L"F", L"?"), L"1");
  ini.UpdateFile();  // nothing to observe but that it does not fail
}

TEST(IniFileTest, EraseSectionRemovesOnlyTheFirstOfItsName) {
  TExtIniFile ini;
  Parse(ini, {L"[A]", L"k=1", L"[B]", L"k=2", L"[a]", L"k=3"});
  ini.EraseSection(L"A");
  Lines sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"B", L"a"}));
  EXPECT_EQ(ini.ReadString(L"A", L"k", L"?"), L"3");
  EXPECT_EQ(ini.ReadString(L"B", L"k", L"?"), L"2");
  ini.EraseSection(L"missing");
  ini.ReadSections(&sections);
  EXPECT_EQ(sections.size(), 2u);
}

TEST(IniFileTest, DeleteKeyRemovesOnlyTheFirstLineOfThatKey) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L"k=1", L"j=2", L"K=3"});
  ini.DeleteKey(L"S", L"K");
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"3");
  ini.DeleteKey(L"S", L"k");
  EXPECT_FALSE(ini.ValueExists(L"S", L"k"));
  EXPECT_EQ(ini.ReadString(L"S", L"j", L"?"), L"2");
  ini.DeleteKey(L"missing", L"j");
  ini.DeleteKey(L"S", L"missing");
  Lines values;
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"j=2"}));
}

TEST(IniFileTest, ClearAndAddSection) {
  TExtIniFile ini;
  Parse(ini, {L"[S]", L"k=v"});
  EXPECT_FALSE(ini.CaseSensitive());
  ini.Clear();
  EXPECT_EQ(ini.SectionCount(), 0u);
  EXPECT_FALSE(ini.ValueExists(L"S", L"k"));
  auto& first = ini.AddSection(L"S");
  first.AddLine(L"k=1");
  auto& second = ini.AddSection(L"s");  // never merged with the first
  second.AddLine(L"k=2");
  EXPECT_EQ(ini.SectionCount(), 2u);
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"1");
}

TEST(IniFileTest, ManyKeysStayFindable) {
  TExtIniFile ini;
  Lines lines{L"[S]"};
  for (int i = 0; i < 5000; ++i) lines.push_back(L"Key" + std::to_wstring(i) + L"=" + std::to_wstring(i * 7));
  Parse(ini, lines);
  for (int i : {0, 1, 2500, 4999}) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ini.ReadString(L"s", L"KEY" + std::to_wstring(i), L"?"), std::to_wstring(i * 7));
  }
  ini.DeleteKey(L"S", L"Key0");
  EXPECT_EQ(ini.ReadString(L"S", L"Key1", L"?"), L"7");
  EXPECT_EQ(ini.ReadString(L"S", L"Key4999", L"?"), std::to_wstring(4999 * 7));
}

TEST(IniFileTest, FoldNameCaseIsTheSameOnEveryBuild) {
  EXPECT_EQ(FoldNameCase(L"AZaz09_[]"), L"azaz09_[]");
  EXPECT_EQ(FoldNameCase(L"ÀÖØÞ×ß"), L"àöøþ×ß");
  EXPECT_EQ(FoldNameCase(L"ĀĹŊŸŹİı"), L"āĺŋÿźİı");
  EXPECT_EQ(FoldNameCase(L"ΑΩЁЯ"), L"αωёя");
}

}  // namespace
}  // namespace corrivo

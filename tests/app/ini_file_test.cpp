// The INI store: how lines parse into sections and keys, the store's operations, and language
// files as bytes (byte-order marks, the ANSI fall-back, line ends, bad input, unreadable files).
#include "app/ext_ini_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "app/text_file.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/text.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::Narrow;
using Lines = std::vector<std::wstring>;

struct Lookup {
  const wchar_t* section;
  const wchar_t* key;
  std::optional<std::wstring> value;  // nothing: not found
};

void ExpectLookups(const TExtIniFile& ini, const std::vector<Lookup>& lookups) {
  for (const auto& l : lookups) {
    SCOPED_TRACE(Narrow(std::wstring(l.section) + L" / " + l.key));
    EXPECT_EQ(ini.ValueExists(l.section, l.key), l.value.has_value());
    EXPECT_EQ(ini.ReadString(l.section, l.key, L"<default>"), l.value.value_or(L"<default>"));
  }
}

TEST(IniParseTest, LinesBecomeSectionsAndKeys) {
  struct Case {
    const char* rule;
    Lines lines;
    std::vector<Lookup> lookups;
  };
  const Case cases[] = {
      {"blanks around the first equals sign vanish",
       {L"[S]", L"   D_Total   =   Gesamt  ", L"\tTabbed\t=\tvalue\t"},
       {{L"S", L"D_Total", L"Gesamt"}, {L"S", L"Tabbed", L"value"}}},
      {"the value is everything after the first equals sign, quotes and escapes included",
       {L"[S]", L"Formula = a=b = c==", L"Quoted=\"x\\n\" ", L"Empty=", L"Spaced=  two  words "},
       {{L"S", L"Formula", L"a=b = c=="}, {L"S", L"Quoted", L"\"x\\n\""}, {L"S", L"Empty", L""},
        {L"S", L"Spaced", L"two  words"}, {L"S", L"Formula = a", std::nullopt}}},
      {"section names are trimmed; a line that is no header belongs to the section before",
       {L"  [  Main Section  ]  ", L"k=v", L"[]", L"e=1", L"[broken", L"b=2"},
       {{L"Main Section", L"k", L"v"}, {L"", L"e", L"1"}, {L"", L"b", L"2"}}},
      {"names match in any letter case, the same on every build, also beyond ASCII",
       {L"[scanner_fixwindows_formmain]", L"label_title.caption=Titel", L"[ÄRGER]", L"ÜBER=1", L"[ПРИВЕТ]",
        L"КЛЮЧ=2", L"[ŁÓDŹ]", L"Ÿ=3"},
       {{L"Scanner_FixWindows_FormMain", L"Label_Title.Caption", L"Titel"},
        {L"SCANNER_FIXWINDOWS_FORMMAIN", L"LABEL_TITLE.CAPTION", L"Titel"},
        {L"ärger", L"über", L"1"}, {L"ärger", L"uber", std::nullopt}, {L"привет", L"ключ", L"2"},
        {L"łódź", L"ÿ", L"3"}}},
      {"comments and lines without an equals sign hold no key",
       {L"[S]", L";D_Total=commented", L"  ; Key=also commented", L"JustText", L"D_Total=real", L"", L"   "},
       {{L"S", L"D_Total", L"real"}, {L"S", L";D_Total", std::nullopt}, {L"S", L"JustText", std::nullopt},
        {L"S", L"; Key", std::nullopt}}},
      {"lines before the first section are dropped",
       {L"Orphan=1", L"[S]", L"k=v"},
       {{L"S", L"Orphan", std::nullopt}, {L"", L"Orphan", std::nullopt}, {L"S", L"k", L"v"}}},
      {"control characters are trimmed like blanks",
       {L"\x01[S]\x1F", std::wstring(L"\x07k=v") + std::wstring(1, L'\0')},
       {{L"S", L"k", L"v"}}},
      {"the first of repeated keys wins",
       {L"[S]", L"k=first", L"K=second"},
       {{L"S", L"k", L"first"}, {L"S", L"K", L"first"}}},
      {"of repeated sections only the first is read",
       {L"[M]", L"D_Total=Summe", L"[Other]", L"x=1", L"[m]", L"D_Total=Gesamt", L"D_NeedFix=Reparieren"},
       {{L"M", L"D_Total", L"Summe"}, {L"M", L"D_NeedFix", std::nullopt}, {L"Other", L"x", L"1"}}},
      {"a missing section or key gives the default",
       {L"[S]", L"k=v"},
       {{L"T", L"k", std::nullopt}, {L"S", L"j", std::nullopt}, {L"S", L"k=v", std::nullopt}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rule);
    TExtIniFile ini;
    ini.SetStrings(c.lines);
    ExpectLookups(ini, c.lookups);
  }
}

TEST(IniParseTest, SectionsAndTheirLinesAreListedInFileOrder) {
  TExtIniFile ini;
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"empty store"), L"empty store");
  ini.SetStrings({L"Orphan=1", L"[S]", L"b=1", L"JustText", L"a=2", L"B=3", L"[T]", L"[s]", L"x=1"});
  Lines sections, keys{L"stale"}, values{L"stale"};
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"S", L"T", L"s"}));
  ini.ReadSection(L"s", &keys);
  EXPECT_EQ(keys, (Lines{L"b", L"a", L"B"}));  // a line without "=" has no key
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"b=1", L"JustText", L"a=2", L"B=3"}));
  ini.ReadSection(L"missing", &keys);
  ini.ReadSectionValues(L"missing", &values);
  EXPECT_TRUE(keys.empty());
  EXPECT_TRUE(values.empty());
  // New lines replace the whole store.
  ini.SetStrings({L"[New]", L"k=w"});
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"New"}));
  EXPECT_FALSE(ini.ValueExists(L"S", L"b"));
}

TEST(IniStoreTest, ChangesApplyToTheFirstSectionAndKeyOfTheirName) {
  TExtIniFile ini;
  ini.SetStrings({L"[S]", L"k=old", L"j=2", L"K=second", L"[T]", L"t=1", L"[s]", L"x=1"});
  ini.WriteString(L"s", L"K", L"new");
  ini.WriteString(L"S", L"added", L"a=b");
  ini.WriteString(L"Fresh", L"f", L"1");
  Lines values, sections;
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"K=new", L"j=2", L"K=second", L"added=a=b"}));
  EXPECT_EQ(ini.ReadString(L"FRESH", L"F", L"?"), L"1");
  ini.DeleteKey(L"S", L"k");
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"second");
  ini.DeleteKey(L"S", L"k");
  ini.DeleteKey(L"S", L"missing");
  ini.DeleteKey(L"missing", L"j");
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"j=2", L"added=a=b"}));
  ini.EraseSection(L"S");
  ini.EraseSection(L"missing");
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"T", L"s", L"Fresh"}));
  EXPECT_EQ(ini.ReadString(L"S", L"x", L"?"), L"1");  // the second section of the name now answers
  EXPECT_EQ(ini.ReadString(L"T", L"t", L"?"), L"1");
  ini.Clear();
  EXPECT_EQ(ini.SectionCount(), 0u);
  ini.AddSection(L"S").AddLine(L"k=1");
  ini.AddSection(L"s").AddLine(L"k=2");  // never merged with the first
  EXPECT_EQ(ini.SectionCount(), 2u);
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"1");
}

TEST(IniStoreTest, ManyKeysStayFindableAfterChanges) {
  TExtIniFile ini;
  Lines lines{L"[S]"};
  for (int i = 0; i < 5000; ++i) lines.push_back(L"Key" + std::to_wstring(i) + L"=" + std::to_wstring(i * 7));
  ini.SetStrings(lines);
  ini.DeleteKey(L"S", L"Key0");
  for (int i : {1, 2500, 4999}) EXPECT_EQ(ini.ReadString(L"s", L"KEY" + std::to_wstring(i), L"?"), std::to_wstring(i * 7));
}

TEST(IniStoreTest, LetterCaseFoldsAtTheEdgesOfEachAlphabet) {
  EXPECT_EQ(FoldNameCase(L"AZaz09_[]@"), L"azaz09_[]@");
  EXPECT_EQ(FoldNameCase(L"ÀÖØÞ×ß"), L"àöøþ×ß");
  EXPECT_EQ(FoldNameCase(L"ĀĹŇŊŸŹŽİı"), L"āĺňŋÿźžİı");
  EXPECT_EQ(FoldNameCase(L"ΑΩΫЀЏАЯ"), L"αωϋѐџая");
}

using testing::Utf16Bytes;

// The value of `key` in section S of a file of these bytes.
std::wstring ValueIn(const std::string& bytes, const wchar_t* key, const wchar_t* section = L"S") {
  MemoryFileService files;
  files.Put(L"C:\\x.lng", bytes);
  TExtIniFile ini;
  EXPECT_TRUE(ini.LoadFromFile(files, L"C:\\x.lng"));
  Lines sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections.at(0), section) << "a byte-order mark is no part of the first section's name";
  return ini.ReadString(section, key, L"<missing>");
}

TEST(IniTextTest, EveryEncodingReadsBackTheSameTexts) {
  const std::wstring text = L"[M]\r\nFixed=Repariert – schön!\r\nTotal=Gesamt €\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"UTF-16 LE", "\xFF\xFE" + Utf16Bytes(text, false)},
      {"UTF-16 BE", "\xFE\xFF" + Utf16Bytes(text, true)},
      {"UTF-8", "\xEF\xBB\xBF" + WideToUtf8(text)},
      {"ANSI, Windows-1252 here", "[M]\r\nFixed=Repariert \x96 sch\xF6n!\r\nTotal=Gesamt \x80\r\n"},
  };
  for (const auto& [encoding, bytes] : cases) {
    SCOPED_TRACE(encoding);
    EXPECT_EQ(ValueIn(bytes, L"Fixed", L"M"), L"Repariert – schön!");
    EXPECT_EQ(ValueIn(bytes, L"Total", L"M"), L"Gesamt €");
  }
}

TEST(IniTextTest, OddInputNeitherFailsNorHidesLaterLines) {
  const std::string ends = "[S]\ra=1\nb=2\r\nc=3\n\rd=4";
  EXPECT_EQ(ValueIn(ends, L"a") + ValueIn(ends, L"b") + ValueIn(ends, L"c") + ValueIn(ends, L"d"), L"1234");
  EXPECT_EQ(ValueIn("\xFF\xFE" + Utf16Bytes(L"[S]\r\nk=v", false) + "\x41", L"k"), L"v");  // odd last byte
  const std::string zeros = "[S]\r\nk=a" + std::string(3, '\0') + "b\r\n" + std::string(1, '\0') + "\r\nnext=1\r\n";
  EXPECT_EQ(ValueIn(zeros, L"k"), std::wstring(L"a") + std::wstring(3, L'\0') + L"b");
  EXPECT_EQ(ValueIn(zeros, L"next"), L"1");
  EXPECT_EQ(ValueIn("\xEF\xBB\xBF[S]\r\nk=a\xC3\r\nj=\xF0\x9F", L"k"), L"a\xFFFD");  // broken UTF-8
  const std::string huge(2 * 1024 * 1024, 'x');
  EXPECT_EQ(ValueIn("[S]\r\nbig=" + huge + "\r\nafter=1\r\n", L"big").size(), huge.size());
}

TEST(IniTextTest, AFileThatCannotBeReadLeavesTheStoreAsItWas) {
  MemoryFileService files;
  std::string tooLarge = "[S]\r\nk=";
  tooLarge.resize(FileService::kMaxFileBytes + 1, 'y');
  files.Put(L"C:\\large.lng", tooLarge);
  files.Put(L"C:\\locked.lng", "[S]\r\nk=new\r\n");
  files.FailReads(L"C:\\locked.lng");
  files.AddFolder(L"C:\\folder", {});
  for (const wchar_t* path : {L"C:\\large.lng", L"C:\\locked.lng", L"C:\\absent.lng", L"C:\\folder", L""}) {
    SCOPED_TRACE(testing::Narrow(path));
    TExtIniFile ini;
    ini.SetStrings({L"[S]", L"k=kept"});
    EXPECT_FALSE(ini.LoadFromFile(files, path));
    EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"kept");
  }
  files.Put(L"C:\\empty.lng", "");  // an empty file is a file: it empties the store
  TExtIniFile ini;
  ini.SetStrings({L"[S]", L"k=v"});
  ASSERT_TRUE(ini.LoadFromFile(files, L"C:\\empty.lng"));
  EXPECT_EQ(ini.SectionCount(), 0u);
  EXPECT_EQ(files.WriteCount(), 0) << "the store never writes a file";
}

TEST(TextFileTest, DecodingReportsTheEncodingAndEncodingReadsBack) {
  auto B = [](const auto& literal) { return std::string(literal, sizeof literal - 1); };  // NULs kept
  const std::tuple<std::string, TextEncoding, std::wstring> cases[] = {
      {"plain", TextEncoding::Ansi, L"plain"},
      {"\xEF\xBB\xBFu8 \xC3\xA4", TextEncoding::Utf8, L"u8 ä"},
      {B("\xFF\xFE" "a\0\xE4\0"), TextEncoding::Utf16Le, L"aä"},
      {B("\xFE\xFF" "\0a\0\xE4"), TextEncoding::Utf16Be, L"aä"},
      {"\xFF\xFE", TextEncoding::Utf16Le, L""},
      {"\xEF\xBB", TextEncoding::Ansi, L"ï»"},  // half a mark is text
      {"", TextEncoding::Ansi, L""},
  };
  for (const auto& [bytes, encoding, text] : cases) {
    SCOPED_TRACE(testing::Narrow(text));
    TextEncoding found = TextEncoding::Utf8;
    EXPECT_EQ(DecodeText(bytes, &Cp1252ToWide, &found), text);
    EXPECT_EQ(found, encoding);
  }
  EXPECT_EQ(SplitLines(L""), Lines{});
  EXPECT_EQ(SplitLines(L"a\r\n\r\nb\r\n"), (Lines{L"a", L"", L"b"}));
  EXPECT_EQ(SplitLines(L"\n\r"), (Lines{L"", L""}));
  const Lines lines{L"[Lang]", L"MyLang=Français"};
  for (auto encoding : {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
    TextEncoding found = TextEncoding::Ansi;
    EXPECT_EQ(SplitLines(DecodeText(EncodeText(lines, encoding), &Cp1252ToWide, &found)), lines);
    EXPECT_EQ(found, encoding);
  }
  EXPECT_EQ(EncodeText({L"[Lang]", L"MyLang=é"}, TextEncoding::Ansi), "[Lang]\r\nMyLang=?\r\n");
}

}  // namespace
}  // namespace corrivo

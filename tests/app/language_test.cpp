// The INI store, the language object and its walk over a window, the language record, the shipped files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <stdexcept>
#include <tuple>

#include "app/advanced_layout.h"
#include "app/ext_ini_file.h"
#include "app/language.h"
#include "catalog/catalog.h"
#include "sysaccess/memory/stand_ins.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::Narrow;
using Lines = std::vector<std::wstring>;
using enum ComponentKind;

// A file of the source tree (CTest passes the tree's root in CORRIVO_SOURCE_DIR). Under Wine
// the Linux root is reached through drive Z:.
std::wstring SourcePath(const std::wstring& relative) {
  const char* root = std::getenv("CORRIVO_SOURCE_DIR");
  std::wstring path = Utf8ToWide(root ? root : ".") + L"/" + relative;
#ifdef _WIN32
  if (path.front() == L'/') path = L"Z:" + path;
  for (auto& c : path)
    if (c == L'/') c = L'\\';
#endif
  return path;
}

// UTF-16 bytes of a text of the Basic Multilingual Plane, little- or big-endian, without a mark.
std::string Utf16Bytes(const std::wstring& text, bool bigEndian) {
  const auto units = WideToUtf16Le(text, false);
  std::string out(units.begin(), units.end());
  if (bigEndian) {
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) std::swap(out[i], out[i + 1]);
  }
  return out;
}

TEST(IniParseTest, LinesBecomeSectionsAndKeys) {
  using Lookup = std::tuple<const wchar_t*, const wchar_t*, std::optional<std::wstring>>;  // nothing: not found
  const std::tuple<const char*, Lines, std::vector<Lookup>> cases[] = {
      {"blanks around the first equals sign vanish; the value is the rest, quotes and escapes included",
       {L"[S]", L"   D_Total   =   Gesamt  ", L"\tFormula\t= a=b = c==", L"Quoted=\"x\\n\" ", L"Empty=",
        L"Spaced=  two  words "},
       {{L"S", L"D_Total", L"Gesamt"}, {L"S", L"Formula", L"a=b = c=="}, {L"S", L"Quoted", L"\"x\\n\""},
        {L"S", L"Empty", L""}, {L"S", L"Spaced", L"two  words"}, {L"S", L"Formula = a", std::nullopt}}},
      {"section names are trimmed; a line that is no header belongs to the section before",
       {L"  [  Main Section  ]  ", L"k=v", L"[]", L"e=1", L"[broken", L"b=2"},
       {{L"Main Section", L"k", L"v"}, {L"", L"e", L"1"}, {L"", L"b", L"2"}}},
      {"names match in any letter case",
       {L"[scanner_formmain]", L"label_t.caption=Titel"}, {{L"SCANNER_FormMain", L"Label_T.Caption", L"Titel"}}},
      {"comments, lines without an equals sign and lines before the first section hold no key",
       {L"Orphan=1", L"[S]", L";D_Total=commented", L"  ; Key=also", L"JustText", L"D_Total=real", L"", L"   "},
       {{L"S", L"D_Total", L"real"}, {L"S", L";D_Total", std::nullopt}, {L"S", L"JustText", std::nullopt},
        {L"S", L"; Key", std::nullopt}, {L"S", L"Orphan", std::nullopt}, {L"", L"Orphan", std::nullopt}}},
      {"the first of repeated keys wins, and of repeated sections only the first is read",
       {L"[M]", L"k=first", L"K=second", L"[Other]", L"x=1", L"[m]", L"k=third", L"j=2"},
       {{L"M", L"k", L"first"}, {L"M", L"j", std::nullopt}, {L"Other", L"x", L"1"}, {L"T", L"k", std::nullopt}}},
  };
  for (const auto& [rule, lines, lookups] : cases) {
    TExtIniFile ini;
    ini.SetStrings(lines);
    for (const auto& [section, key, value] : lookups) {
      SCOPED_TRACE(rule + (": " + Narrow(std::wstring(section) + L" / " + key)));
      EXPECT_EQ(ini.ValueExists(section, key), value.has_value());
      EXPECT_EQ(ini.ReadString(section, key, L"<default>"), value.value_or(L"<default>"));
    }
  }
}

TEST(IniStoreTest, ListingsFollowTheFileAndChangesTheFirstSectionAndKeyOfTheirName) {
  TExtIniFile ini;
  ini.SetStrings({L"[S]", L"k=old", L"JustText", L"K=second", L"[T]", L"t=1", L"[s]", L"x=1"});
  Lines sections, keys{L"stale"}, values{L"stale"};
  ini.ReadSections(&sections);
  ini.ReadSection(L"s", &keys);  // a line without "=" has no key
  EXPECT_EQ(sections, (Lines{L"S", L"T", L"s"}));
  EXPECT_EQ(keys, (Lines{L"k", L"K"}));
  ini.WriteString(L"s", L"K", L"new");
  ini.WriteString(L"S", L"added", L"a=b");
  ini.ReadSectionValues(L"S", &values);
  EXPECT_EQ(values, (Lines{L"K=new", L"JustText", L"K=second", L"added=a=b"}));
  ini.DeleteKey(L"S", L"k");
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"second");
  ini.EraseSection(L"S");
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"T", L"s"}));
  EXPECT_EQ(ini.ReadString(L"S", L"x", L"?"), L"1");  // the second section of the name now answers
  ini.ReadSection(L"missing", &keys);
  ini.ReadSectionValues(L"missing", &values);
  EXPECT_TRUE(keys.empty() && values.empty());
}

TEST(IniStoreTest, LetterCaseFoldsAtTheEdgesOfEachAlphabet) {
  EXPECT_EQ(FoldNameCase(L"AZaz09_[]@"), L"azaz09_[]@");
  EXPECT_EQ(FoldNameCase(L"ÀÖØÞ×ß"), L"àöøþ×ß");
  EXPECT_EQ(FoldNameCase(L"ĀĹŇŊŸŹŽİı"), L"āĺňŋÿźžİı");
  EXPECT_EQ(FoldNameCase(L"ΑΩΫЀЏАЯ"), L"αωϋѐџая");
}

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
  // Beyond the first 65,536 characters a UTF-16 text takes two units for one character.
  const std::wstring text = L"[M]\r\nFixed=Repariert – schön!\r\nTotal=Gesamt €\r\nClef=\U0001D11E\r\n";
  const std::pair<const char*, std::string> cases[] = {
      {"UTF-16 LE", "\xFF\xFE" + Utf16Bytes(text, false)},
      {"UTF-16 BE", "\xFE\xFF" + Utf16Bytes(text, true)},
      {"UTF-8", "\xEF\xBB\xBF" + WideToUtf8(text)},
      {"ANSI, Windows-1252 here", "[M]\r\nFixed=Repariert \x96 sch\xF6n!\r\nTotal=Gesamt \x80\r\n"},
  };
  for (const auto& [encoding, bytes] : cases) {
    SCOPED_TRACE(encoding);
    const std::wstring clef = bytes[0] == '[' ? L"<missing>" : L"\U0001D11E";  // not in the ANSI text
    EXPECT_EQ(ValueIn(bytes, L"Fixed", L"M") + L"|" + ValueIn(bytes, L"Total", L"M") + L"|" +
                  ValueIn(bytes, L"Clef", L"M"),
              L"Repariert – schön!|Gesamt €|" + clef);
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
}

TEST(IniTextTest, AFileThatCannotBeReadLeavesTheStoreAsItWasAnEmptyOneEmptiesIt) {
  MemoryFileService files;
  files.Put(L"C:\\locked.lng", "[S]\r\nk=new\r\n");
  files.FailReads(L"C:\\locked.lng");
  files.Put(L"C:\\empty.lng", "");
  for (const std::wstring path : {L"C:\\locked.lng", L"C:\\absent.lng", L"C:\\empty.lng"}) {
    TExtIniFile ini;
    ini.SetStrings({L"[S]", L"k=kept"});
    const bool empty = path == L"C:\\empty.lng";
    EXPECT_EQ(ini.LoadFromFile(files, path), empty) << Narrow(path);
    EXPECT_EQ(ini.ReadString(L"S", L"k", L"gone"), empty ? L"gone" : L"kept") << Narrow(path);
  }
  EXPECT_EQ(files.WriteCount(), 0) << "the store never writes a file";
}

const std::wstring kFolder = L"C:\\Tools\\Toolbox_Language";

TEST(LanguageTest, TheSettingNamesAListedFileInAnyLetterCaseThenEnglishStandsInThenTheBuiltInTexts) {
  MemoryFileService files;
  files.AddFolder(kFolder, {L"English.lng", L"German.lng", L"readme.txt", L"German.lng.bak"});
  files.Put(kFolder + L"\\English.lng", "[FixWindows_M]\r\nD_FixFinish=Fixed (en)\r\n");
  files.Put(kFolder + L"\\German.lng", "\xEF\xBB\xBF[FixWindows_M]\r\nD_FixFinish=Behoben!\r\n");
  TLanguage listing(files, L"Scanner", kFolder + L"\\");  // the delimiter is dropped
  EXPECT_EQ(listing.Folder, kFolder);
  EXPECT_EQ(std::set<std::wstring>(listing.Languages.begin(), listing.Languages.end()),
            (std::set<std::wstring>{L"English", L"German"}));
  const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
      {L"German", L"German", L"Behoben!"},   {L"gERMAN", L"German", L"Behoben!"},
      {L"Klingon", L"English", L"Fixed (en)"}, {L"German.lng", L"English", L"Fixed (en)"},
  };
  for (const auto& [setting, loaded, fixed] : cases) {
    TLanguage language(files, L"Scanner", kFolder);
    language.SetLanguage(setting);
    EXPECT_EQ(language.LoadedLanguage(), loaded) << Narrow(setting);
    EXPECT_EQ(ReadMessageTexts(language).fixed, fixed) << Narrow(setting);
  }
  // A file gone since the listing falls back to English; without English the built-in texts stay.
  for (const wchar_t* gone : {L"\\German.lng", L"\\English.lng"}) {
    TLanguage listed(files, L"Scanner", kFolder);
    files.Remove(kFolder + gone);
    listed.SetLanguage(L"German");
    const bool english = files.Has(kFolder + L"\\English.lng");
    EXPECT_EQ(listed.LoadedLanguage(), english ? L"English" : L"");
    EXPECT_EQ(ReadMessageTexts(listed).fixed, english ? L"Fixed (en)" : MessageTexts().fixed);
  }
}

// --- The walk over a window's components.

// A component that keeps its texts in memory: the stand-in for the window's controls.
struct BasicComponent : Component {
  BasicComponent(std::wstring n, ComponentKind k, std::wstring c = {})
      : name(std::move(n)), kind(k), caption(std::move(c)) {}
  std::wstring Name() const override { return name; }
  ComponentKind Kind() const override { return kind; }
  std::wstring Caption() const override { return caption; }
  void SetCaption(const std::wstring& text) override {
    if (failing) throw std::runtime_error("gone");
    caption = text;
  }
  bool ShowsHint() const override { return showsHint; }
  std::wstring Hint() const override { return hint; }
  void SetHint(const std::wstring& text) override { hint = text; }
  std::size_t ColumnCount() const override { return columns.size(); }
  std::wstring ColumnCaption(std::size_t i) const override { return columns.at(i); }
  void SetColumnCaption(std::size_t i, const std::wstring& text) override { columns.at(i) = text; }
  std::size_t OwnedCount() const override { return owned.size(); }
  Component* Owned(std::size_t i) override { return owned.at(i).get(); }
  BasicComponent& Own(std::wstring n, ComponentKind k, std::wstring c = {}) {
    return *owned.emplace_back(std::make_unique<BasicComponent>(std::move(n), k, std::move(c)));
  }

  std::wstring name;
  ComponentKind kind;
  std::wstring caption, hint;
  bool showsHint = false, failing = false;
  Lines columns;
  std::vector<std::unique_ptr<BasicComponent>> owned;
};

// Every text of a component and those it owns, "name=caption|hint|columns...", in walk order.
Lines Texts(Component& c) {
  std::wstring text = c.Name() + L"=" + c.Caption() + L"|" + c.Hint();
  for (std::size_t k = 0; k < c.ColumnCount(); ++k) text += L"|" + c.ColumnCaption(k);
  Lines out{text};
  for (std::size_t i = 0; i < c.OwnedCount(); ++i)
    for (auto& t : Texts(*c.Owned(i))) out.push_back(t);
  return out;
}

// A language object whose store is filled directly, over no files at all.
std::unique_ptr<TLanguage> Loaded(const Lines& lines, const wchar_t* name = L"Scanner") {
  static MemoryFileService noFiles;
  auto language = std::make_unique<TLanguage>(noFiles, name, L"");
  language->Strings.SetStrings(lines);
  return language;
}

struct Window {
  BasicComponent root;
  explicit Window(std::wstring name = L"FixWindows_FormMain") : root(std::move(name), Other, L"Tarsio Corrivo") {
    root.Own(L"Button_Scan", PushButton, L"Scan");
    root.Own(L"CheckBox_SelectAll", CheckBox, L"Select All");
    root.Own(L"ListView_Fix", ListView).columns = {L"Fix Item", L"Status"};
    root.Own(L"img_General", ImageNote, L"tile").hint = L"general";
    auto& hinted = root.Own(L"Imgnot_Desktop", ImageNote, L"tile");
    hinted.hint = L"desktop";
    hinted.showsHint = true;
    auto& panel = root.Own(L"Panel_Desktop", Other, L"panel");
    panel.Own(L"Label_101", Label, L"Recycle Bin missing.");
    panel.Own(L"Button_101", PushButton, L"Fix");
    root.Own(L"Label_Gone", Label, L"-").failing = true;  // throws as a control whose window has gone away
    root.Own(L"Label_After", Label, L"-");
  }
};

const Lines kGerman = {
    L"[Scanner_FixWindows_FormMain]", L"FixWindows_FormMain.Caption=Tarsio Corrivo (de)",
    L"button_scan.CAPTION=Prüfen",  // keys in any letter case
    L"CheckBox_SelectAll.Caption=Alle", L"ListView_Fix.Columns[0].Caption=Problem",
    L"ListView_Fix.Columns[1].Caption=Zustand", L"img_General.Hint=Allgemein",
    L"Imgnot_Desktop.Hint=Arbeitsfläche", L"Imgnot_Desktop.Caption=Bild",
    L"Panel_Desktop.Caption=Tafel", L"Label_101.Caption=Papierkorb fehlt.",
    L"Button_101.Caption=",  // an empty text is a text
    L"Label_Gone.Caption=x", L"Label_After.Caption=y",
};

TEST(TranslateComponentTest, EachKindTakesItsOwnKeysAlsoOnComponentsOwnedByOthersAndAFailingOneEndsTheWalk) {
  Window w;
  EXPECT_NO_THROW(Loaded(kGerman)->TranslateComponent(w.root));
  EXPECT_EQ(Texts(w.root), (Lines{L"FixWindows_FormMain=Tarsio Corrivo (de)|", L"Button_Scan=Prüfen|",
                                  L"CheckBox_SelectAll=Alle|", L"ListView_Fix=||Problem|Zustand",
                                  L"img_General=tile|general",           // shows no hint: its key is not read
                                  L"Imgnot_Desktop=tile|Arbeitsfläche",  // a tile has a hint, no caption
                                  L"Panel_Desktop=panel|", L"Label_101=Papierkorb fehlt.|", L"Button_101=|",
                                  L"Label_Gone=-|", L"Label_After=-|"}));
}

// --- The language record and the start-up.

const wchar_t kRecord[] = L"C:\\Tools\\Corrivo.Log";

TEST(LanguageRecordTest, TheRecordSetsItsOneKeyAndKeepsTheRestOfTheFile) {
  MemoryFileService files;
  const std::string wide = "\xFF\xFE" + Utf16Bytes(L"[Lang]\r\nMyLang=Français\r\n", false);
  const std::tuple<std::optional<std::string>, const wchar_t*, std::string> cases[] = {
      {std::nullopt, L"german", "[Lang]\r\nMyLang=german\r\n"},
      // The first key of the first such section, whatever the letter case and blanks.
      {"[Before]\r\nx=1\r\n\r\n[lang]\r\nOther=2\r\n mylang = Old\r\nMyLang=Second\r\n", L"german",
       "[Before]\r\nx=1\r\n\r\n[lang]\r\nOther=2\r\nMyLang=german\r\nMyLang=Second\r\n"},
      // A missing key goes after the last line of its section, a missing section at the end.
      {"[Lang]\r\nOther=2\r\n\r\n[After]\r\ny=3\r\n", L"german",
       "[Lang]\r\nOther=2\r\nMyLang=german\r\n\r\n[After]\r\ny=3\r\n"},
      {"[Before]\r\nx=1\r\n", L"german", "[Before]\r\nx=1\r\n[Lang]\r\nMyLang=german\r\n"},
      // Beyond ASCII the record goes to UTF-16, and stays there; no value can add lines; a file
      // with a byte-order mark keeps its encoding.
      {std::nullopt, L"Français", wide},
      {wide, L"German", "\xFF\xFE" + Utf16Bytes(L"[Lang]\r\nMyLang=German\r\n", false)},
      {std::nullopt, L"a\r\n[Evil]\nb", "[Lang]\r\nMyLang=a  [Evil] b\r\n"},
      {"\xEF\xBB\xBF[Lang]\r\n", L"Français", "\xEF\xBB\xBF[Lang]\r\nMyLang=Fran\xC3\xA7" "ais\r\n"},
      {"\xFE\xFF" + Utf16Bytes(L"[Lang]\r\n", true), L"German",
       "\xFE\xFF" + Utf16Bytes(L"[Lang]\r\nMyLang=German\r\n", true)},
  };
  for (const auto& [before, value, after] : cases) {
    before ? files.Put(kRecord, *before) : files.Remove(kRecord);
    ASSERT_TRUE(WriteLanguageRecord(files, kRecord, value));
    EXPECT_EQ(files.Get(kRecord), after) << Narrow(value);
  }
}

TEST(LanguageRecordTest, AnUnchangedRecordIsNotWrittenAndAnUnreadableOneIsLeftAlone) {
  MemoryFileService files;
  files.Put(kRecord, "[Other]\r\nx=1\r\n[Lang]\r\nMyLang=german\r\n");
  files.FailWrites(kRecord);
  EXPECT_TRUE(WriteLanguageRecord(files, kRecord, L"german"));  // nothing to write
  EXPECT_FALSE(WriteLanguageRecord(files, kRecord, L"French"));
  MemoryFileService unreadable;
  unreadable.Put(kRecord, "[Other]\r\nx=1\r\n");
  unreadable.FailReads(kRecord);
  EXPECT_FALSE(WriteLanguageRecord(unreadable, kRecord, L"german"));
  EXPECT_EQ(unreadable.Get(kRecord), "[Other]\r\nx=1\r\n");
}

TEST(LanguageRecordTest, StartUpReadsTheSettingRecordsItAndAppliesThatLanguageOrGoesOnWithout) {
  testing::TestSystem machine;
  MemoryFileService& files = machine.files;
  const wchar_t settings[] = L"C:\\Users\\Ann\\AppData\\Roaming\\Tarsio\\Helmwise V8\\Main.ini";
  files.Put(settings, "[Main]\r\nLanguage=german\r\n");
  files.AddFolder(kFolder, {L"English.lng", L"German.lng"});
  files.Put(kFolder + L"\\English.lng", "[FixWindows_M]\r\nD_Total=Total (en)\r\n");
  files.Put(kFolder + L"\\German.lng", "\xEF\xBB\xBF[Scanner_FixWindows_FormMain]\r\nButton_Scan.Caption=Pr\xC3\xBC"
                                       "fen\r\n[FixWindows_M]\r\nD_Total=Gesamt\r\n");
  BasicComponent window(L"FixWindows_FormMain", Other, L"Tarsio Corrivo");
  window.Own(L"Button_Scan", PushButton, L"Scan");
  const ProgramLanguage result = LoadProgramLanguage(machine.system, window);
  EXPECT_TRUE(result.suiteLanguage == L"german" && result.recordWritten);
  EXPECT_EQ(files.Get(kRecord), "[Lang]\r\nMyLang=german\r\n");
  EXPECT_EQ(result.language->Folder + L"|" + result.language->LoadedLanguage(), kFolder + L"|German");
  EXPECT_EQ(result.messages.total + L"|" + result.messages.fixed, L"Gesamt|" + MessageTexts().fixed);
  EXPECT_EQ(Texts(window), (Lines{L"FixWindows_FormMain=Tarsio Corrivo|", L"Button_Scan=Prüfen|"}));
  // A record that cannot be written is reported, the old one stands and the program goes on,
  // also without a setting or any language file.
  files.FailWrites(kRecord);
  files.AddFolder(kFolder, {});
  for (const wchar_t* name : {L"\\English.lng", L"\\German.lng"}) files.Remove(kFolder + name);
  files.Remove(settings);
  const ProgramLanguage without = LoadProgramLanguage(machine.system, window);
  EXPECT_TRUE(without.suiteLanguage == L"English" && !without.recordWritten && without.language->Languages.empty());
  EXPECT_EQ(files.Get(kRecord), "[Lang]\r\nMyLang=german\r\n");
  EXPECT_EQ(without.messages.total, MessageTexts().total);
  machine.os.SetProgramFile(L"");  // without a known program folder there is no record at all
  EXPECT_EQ(LanguageRecordPath(machine.os), L"");
  EXPECT_FALSE(WriteLanguageRecord(files, LanguageRecordPath(machine.os), L"German"));
}

// --- The shipped language files: English.lng holds every key the program derives, with the
// built-in text as its value, and nothing but captions; German.lng the same keys, translated.

using FileTexts = std::map<std::wstring, std::map<std::wstring, std::wstring>>;  // by section and key as written

// The texts of a shipped file, checking that it is UTF-8 with its mark, that no key repeats and
// that every line has a key.
FileTexts Load(const std::wstring& name) {
  const std::wstring path = SourcePath(L"Toolbox_Language/" + name);
  std::string bytes;
  PlatformSystem().files.ReadWholeFile(path, &bytes);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << Narrow(name);
  TExtIniFile ini;
  EXPECT_TRUE(ini.LoadFromFile(PlatformSystem().files, path));
  FileTexts texts;
  std::vector<std::wstring> sections, keys, lines;
  ini.ReadSections(&sections);
  for (const auto& section : sections) {
    ini.ReadSection(section, &keys);
    ini.ReadSectionValues(section, &lines);
    EXPECT_EQ(keys.size(), lines.size()) << Narrow(name + L" " + section) << ": a line without \"=\"";
    for (const auto& key : keys) texts[section][key] = ini.ReadString(section, key, L"");
    EXPECT_EQ(texts[section].size(), keys.size()) << Narrow(name + L" " + section) << ": a key repeated";
  }
  return texts;
}

TEST(LanguageFilesTest, EnglishHoldsTheBuiltInTextOfEveryDerivedKeyAndGermanTranslatesExactlyThose) {
  FileTexts expected;
  for (const auto& entry : MessageTextKeys()) expected[kMessageSection][entry.key] = MessageTexts().*entry.field;
  auto& window = expected[L"Scanner_FixWindows_FormMain"];
  for (const Repair& r : Repairs()) {
    if (!r.row) continue;
    window[L"Label_" + std::to_wstring(r.id) + L".Caption"] = r.caption;
    window[L"Button_" + std::to_wstring(r.id) + L".Caption"] = L"Fix";
  }
  for (const auto& c : layout::Categories()) window[c.label + std::wstring(L".Caption")] = c.caption;
  FileTexts english = Load(L"English.lng"), german = Load(L"German.lng");
  for (const auto& [section, texts] : expected)
    for (const auto& [key, text] : texts)
      EXPECT_EQ(english[section].count(key) ? english[section][key] : L"<missing>", text) << Narrow(key);
  EXPECT_EQ(english.size(), 2u);
  EXPECT_EQ(english[kMessageSection].size(), MessageTextKeys().size());
  for (const auto& [key, text] : english[L"Scanner_FixWindows_FormMain"])
    EXPECT_TRUE(std::regex_match(key, std::wregex(LR"(\w+(\.Columns\[\d\])?\.Caption)"))) << Narrow(key);
  // German: the same keys, each translated unless the text is the same in both languages.
  const std::set<std::wstring> shared = {L"Tarsio Corrivo", L"Status", L"Desktop", L"System", L"IE", L"Media Player"};
  EXPECT_EQ(german.size(), english.size());
  for (auto& [section, texts] : english) {
    EXPECT_EQ(german[section].size(), texts.size()) << Narrow(section);
    for (const auto& [key, text] : texts) {
      const std::wstring other = german[section].count(key) ? german[section][key] : L"";
      EXPECT_TRUE(!other.empty() && (other != text || shared.count(text))) << Narrow(key + L"=" + other);
    }
  }
}

}  // namespace
}  // namespace corrivo

// TLanguage: listing the language files, choosing one, the message texts, and the walk that
// puts a language file's texts on a window's components; the suite's language setting, the
// language record beside the program, and the whole start-up of the language.
#include "app/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "sysaccess/memory/stand_ins.h"
#include "tests/app/basic_component.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::BasicComponent;
using testing::Narrow;
using Lines = std::vector<std::wstring>;

const std::wstring kFolder = L"C:\\Tools\\Toolbox_Language";

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFolder(kFolder, {L"English.lng", L"German.lng", L"French.LNG", L"readme.txt", L"German.lng.bak"});
    files.Put(kFolder + L"\\English.lng", "[FixWindows_M]\r\nD_FixFinish=Fixed (en)\r\n");
    files.Put(kFolder + L"\\German.lng", "\xEF\xBB\xBF[FixWindows_M]\r\nD_FixFinish=Behoben!\r\nD_Total=Gesamt\r\n");
    files.Put(kFolder + L"\\French.LNG", "[FixWindows_M]\r\nD_FixFinish=R\xE9par\xE9 !\r\n");
  }
  MemoryFileService files;
};

TEST_F(LanguageTest, ListsOnlyTheLanguageFilesOfTheFolder) {
  for (const std::wstring& folder : {kFolder, kFolder + L"\\", kFolder + L"/"}) {
    SCOPED_TRACE(Narrow(folder));
    TLanguage language(files, L"Scanner", folder);
    EXPECT_EQ(language.Folder, kFolder);
    Lines names = language.Languages;
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Lines{L"English", L"French", L"German"}));
    EXPECT_TRUE(language.LoadedLanguage().empty());
  }
  TLanguage none(files, L"Scanner", L"C:\\Elsewhere");
  EXPECT_TRUE(none.Languages.empty());
}

TEST_F(LanguageTest, TheSettingNamesTheFileInAnyLetterCaseAndEnglishStandsIn) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"German", L"German"},   {L"german", L"German"}, {L"FRENCH", L"French"},   {L"Klingon", L"English"},
      {L"", L"English"},        {L"German.lng", L"English"}, {L"Germa", L"English"},
  };
  const std::map<std::wstring, std::wstring> fixed = {
      {L"German", L"Behoben!"}, {L"French", L"Réparé !"}, {L"English", L"Fixed (en)"}};
  for (const auto& [setting, loaded] : cases) {
    SCOPED_TRACE(Narrow(setting));
    TLanguage language(files, L"Scanner", kFolder);
    language.SetLanguage(setting);
    EXPECT_EQ(language.LoadedLanguage(), loaded);
    EXPECT_EQ(ReadMessageTexts(language).fixed, fixed.at(loaded));
  }
}

TEST_F(LanguageTest, MessagesKeepTheirBuiltInTextWhereTheFileOrTheKeyIsMissing) {
  TLanguage listed(files, L"Scanner", kFolder);
  files.Remove(kFolder + L"\\German.lng");  // gone since the listing
  listed.SetLanguage(L"German");
  EXPECT_EQ(listed.LoadedLanguage(), L"English");
  const MessageTexts defaults;
  const MessageTexts english = ReadMessageTexts(listed);
  EXPECT_EQ(english.fixed, L"Fixed (en)");
  EXPECT_EQ(english.total, defaults.total);
  files.Remove(kFolder + L"\\English.lng");
  TLanguage without(files, L"Scanner", kFolder);
  without.SetLanguage(L"German");
  EXPECT_TRUE(without.LoadedLanguage().empty());
  const MessageTexts builtIn = ReadMessageTexts(without);
  for (const auto& entry : MessageTextKeys()) EXPECT_EQ(builtIn.*entry.field, defaults.*entry.field) << Narrow(entry.key);
}

// --- The walk over a window's components.

// A language object whose store is filled directly (its files come first, so that they exist
// when the language looks at them).
struct NoFiles {
  MemoryFileService files;
};
struct LoadedLanguage : private NoFiles, TLanguage {
  explicit LoadedLanguage(const Lines& lines, std::wstring name = L"Scanner") : TLanguage(files, std::move(name), L"") {
    Strings.SetStrings(lines);
  }
};

struct Window {
  BasicComponent root{L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo"};
  BasicComponent& title = root.Own(L"Label_Title", ComponentKind::Label, L"Tarsio Corrivo");
  BasicComponent& info = root.Own(L"Label_Info", ComponentKind::Label, L"Corrivo analyzes ...");
  BasicComponent& scan = root.Own(L"Button_Scan", ComponentKind::PushButton, L"Scan");
  BasicComponent& selectAll = root.Own(L"CheckBox_SelectAll", ComponentKind::CheckBox, L"Select All");
  BasicComponent& list = root.Own(L"ListView_Fix", ComponentKind::ListView);
  BasicComponent& quietTile = root.Own(L"img_General", ComponentKind::ImageNote, L"tile");
  BasicComponent& hintedTile = root.Own(L"Imgnot_Desktop", ComponentKind::ImageNote, L"tile");
  BasicComponent& panel = root.Own(L"Panel_Desktop", ComponentKind::Other, L"panel");
  BasicComponent& rowLabel = panel.Own(L"Label_101", ComponentKind::Label, L"Recycle Bin missing.");
  BasicComponent& rowButton = panel.Own(L"Button_101", ComponentKind::PushButton, L"Fix");
  Window() {
    list.columns = {L"Fix Item", L"Status"};
    quietTile.SetHint(L"general");
    hintedTile.ShowHint(L"desktop");
  }
};

const Lines kGerman = {
    L"[Scanner_FixWindows_FormMain]",       L"FixWindows_FormMain.Caption=Tarsio Corrivo (de)",
    L"Label_Title.Caption=Titel",           L"button_scan.CAPTION=Prüfen",  // keys in any letter case
    L"CheckBox_SelectAll.Caption=Alle",     L"ListView_Fix.Columns[0].Caption=Problem",
    L"ListView_Fix.Columns[1].Caption=Zustand", L"img_General.Hint=Allgemein",
    L"Imgnot_Desktop.Hint=Arbeitsfläche",   L"Imgnot_Desktop.Caption=Bild",
    L"Panel_Desktop.Caption=Tafel",         L"Label_101.Caption=Papierkorb fehlt.",
    L"Button_101.Caption=",  // an empty text is a text
};

TEST(TranslateComponentTest, EachKindTakesItsOwnKeysAlsoOnComponentsOwnedByOthers) {
  LoadedLanguage language(kGerman);
  Window w;
  language.TranslateComponent(w.root);
  EXPECT_EQ(w.root.Caption(), L"Tarsio Corrivo (de)");
  EXPECT_EQ(w.title.Caption(), L"Titel");
  EXPECT_EQ(w.info.Caption(), L"Corrivo analyzes ...");  // no key
  EXPECT_EQ(w.scan.Caption(), L"Prüfen");
  EXPECT_EQ(w.selectAll.Caption(), L"Alle");
  EXPECT_EQ(w.list.columns, (Lines{L"Problem", L"Zustand"}));
  EXPECT_EQ(w.quietTile.Hint(), L"general");  // shows no hint, so its key is not read
  EXPECT_EQ(w.hintedTile.Hint(), L"Arbeitsfläche");
  EXPECT_EQ(w.hintedTile.Caption(), L"tile");  // a tile has a hint, no caption
  EXPECT_EQ(w.panel.Caption(), L"panel");
  EXPECT_EQ(w.rowLabel.Caption(), L"Papierkorb fehlt.");
  EXPECT_EQ(w.rowButton.Caption(), L"");
}

TEST(TranslateComponentTest, OnlyTheSectionOfThisLanguageAndThisWindowCounts) {
  const std::pair<Lines, const wchar_t*> others[] = {
      {kGerman, L"Cleaner"},  // another program of the suite
      {{}, L"Scanner"},       // nothing loaded
      {{L"[Scanner_OtherWindow]", L"Button_Scan.Caption=Prüfen"}, L"Scanner"},
  };
  for (const auto& [lines, name] : others) {
    SCOPED_TRACE(Narrow(name));
    LoadedLanguage language(lines, name);
    Window w;
    language.TranslateComponent(w.root);
    EXPECT_EQ(w.root.Caption(), L"Tarsio Corrivo");
    EXPECT_EQ(w.scan.Caption(), L"Scan");
    EXPECT_EQ(w.list.columns, (Lines{L"Fix Item", L"Status"}));
  }
  // A root without a name has no section; a root's own text changes only with its own key.
  LoadedLanguage language({L"[Scanner_]", L"Label_Title.Caption=y", L"[Scanner_W]", L"Label_Title.Caption=Titel"});
  BasicComponent nameless(L"", ComponentKind::Other, L"title"), named(L"W", ComponentKind::Other, L"title");
  BasicComponent& ignored = nameless.Own(L"Label_Title", ComponentKind::Label, L"-");
  BasicComponent& taken = named.Own(L"Label_Title", ComponentKind::Label, L"-");
  language.TranslateComponent(nameless);
  language.TranslateComponent(named);
  EXPECT_EQ(ignored.Caption(), L"-");
  EXPECT_EQ(taken.Caption(), L"Titel");
  EXPECT_EQ(named.Caption(), L"title");
}

// A control whose window has gone away under it.
struct FailingLabel : BasicComponent {
  using BasicComponent::BasicComponent;
  void SetCaption(const std::wstring&) override { throw std::runtime_error("control gone"); }
};

TEST(TranslateComponentTest, AFailingComponentEndsTheWalkQuietly) {
  LoadedLanguage language({L"[Scanner_W]", L"A.Caption=a", L"B.Caption=b", L"C.Caption=c"});
  BasicComponent root(L"W", ComponentKind::Other);
  BasicComponent& a = root.Own(L"A", ComponentKind::Label, L"-");
  root.Own<FailingLabel>(L"B", ComponentKind::Label, L"-");
  BasicComponent& c = root.Own(L"C", ComponentKind::Label, L"-");
  EXPECT_NO_THROW(language.TranslateComponent(root));
  EXPECT_EQ(a.Caption(), L"a");
  EXPECT_EQ(c.Caption(), L"-");
}

// --- The suite setting and the language record.

const wchar_t kSuiteSettings[] = L"C:\\Users\\Ann\\AppData\\Roaming\\Tarsio\\Helmwise V8\\Main.ini";
const wchar_t kRecord[] = L"C:\\Tools\\Corrivo.Log";
const wchar_t kLanguages[] = L"C:\\Tools\\Toolbox_Language";

class LanguageSettingsTest : public testing::MemorySystemTest {
 protected:
  MemoryFileService& files = machine.files;
};

TEST_F(LanguageSettingsTest, TheSuiteSettingNamesTheLanguage) {
  const std::pair<const char*, const wchar_t*> cases[] = {
      {"[Other]\r\nLanguage=French\r\n[Main]\r\nSkin=Blue\r\nLanguage=german\r\n", L"german"},
      {"[MAIN]\r\nlanguage = Deutsch \r\n", L"Deutsch"},
      {"[Main]\r\nLanguage=\"Italian\"\r\n", L"Italian"},
      {"[Main]\r\nLanguage=\r\n", L""},  // SetLanguage then takes English
      {"[Settings]\r\nLanguage=German\r\n", L"English"},
      {"[Main]\r\nSkin=Blue\r\n", L"English"},
      {nullptr, L"English"},  // no settings file
  };
  for (const auto& [settings, expected] : cases) {
    SCOPED_TRACE(settings ? settings : "no file");
    settings ? files.Put(kSuiteSettings, settings) : files.Remove(kSuiteSettings);
    EXPECT_EQ(GetSuiteLanguageName(system), expected);
  }
}

TEST_F(LanguageSettingsTest, TheRecordSetsItsOneKeyAndKeepsTheRestOfTheFile) {
  const std::string wide = "\xFF\xFE" + testing::Utf16Bytes(L"[Lang]\r\nMyLang=Français\r\n", false);
  const std::tuple<std::optional<std::string>, const wchar_t*, std::string> cases[] = {
      {std::nullopt, L"german", "[Lang]\r\nMyLang=german\r\n"},
      {"[Lang]\r\nMyLang=Old\r\n", L"german", "[Lang]\r\nMyLang=german\r\n"},
      // The first key of the first such section, whatever the letter case and blanks.
      {"[Before]\r\nx=1\r\n\r\n[lang]\r\nOther=2\r\n mylang = Old\r\nMyLang=Second\r\n\r\n[After]\r\ny=3\r\n", L"german",
       "[Before]\r\nx=1\r\n\r\n[lang]\r\nOther=2\r\nMyLang=german\r\nMyLang=Second\r\n\r\n[After]\r\ny=3\r\n"},
      // A missing key goes after the last line of its section, a missing section at the end.
      {"[Lang]\r\nOther=2\r\n\r\n[After]\r\ny=3\r\n", L"german", "[Lang]\r\nOther=2\r\nMyLang=german\r\n\r\n[After]\r\ny=3\r\n"},
      {"[Before]\r\nx=1\r\n", L"german", "[Before]\r\nx=1\r\n[Lang]\r\nMyLang=german\r\n"},
      // Beyond ASCII the record goes to UTF-16, and stays there; no value can add lines.
      {std::nullopt, L"Français", wide},
      {wide, L"German", "\xFF\xFE" + testing::Utf16Bytes(L"[Lang]\r\nMyLang=German\r\n", false)},
      {std::nullopt, L"a\r\n[Evil]\nb", "[Lang]\r\nMyLang=a  [Evil] b\r\n"},
  };
  for (const auto& [before, value, after] : cases) {
    SCOPED_TRACE(testing::Narrow(value));
    before ? files.Put(kRecord, *before) : files.Remove(kRecord);
    ASSERT_TRUE(WriteLanguageRecord(files, kRecord, value));
    EXPECT_EQ(files.Get(kRecord), after);
  }
}

TEST_F(LanguageSettingsTest, ARecordThatCannotBeWrittenIsReportedAndTheOldOneStands) {
  files.Put(kRecord, "[Lang]\r\nMyLang=Old\r\n");
  files.FailWrites(kRecord);
  EXPECT_FALSE(WriteLanguageRecord(files, kRecord, L"German"));
  EXPECT_EQ(files.Get(kRecord), "[Lang]\r\nMyLang=Old\r\n");
  machine.os.SetProgramFile(L"");  // without a known program folder there is no record at all
  EXPECT_EQ(LanguageRecordPath(machine.os), L"");
  EXPECT_FALSE(WriteLanguageRecord(files, LanguageRecordPath(machine.os), L"German"));
}

TEST_F(LanguageSettingsTest, StartUpReadsTheSettingRecordsItAndAppliesThatLanguage) {
  files.AddFolder(kLanguages, {L"English.lng", L"German.lng"});
  files.Put(std::wstring(kLanguages) + L"\\English.lng", "[FixWindows_M]\r\nD_Total=Total (en)\r\n");
  files.Put(std::wstring(kLanguages) + L"\\German.lng",
            "\xEF\xBB\xBF[Scanner_FixWindows_FormMain]\r\nButton_Scan.Caption=Pr\xC3\xBC" "fen\r\n"
            "[FixWindows_M]\r\nD_Total=Gesamt\r\n");
  files.Put(kSuiteSettings, "[Main]\r\nLanguage=german\r\n");
  BasicComponent window(L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo");
  auto& scan = window.Own(L"Button_Scan", ComponentKind::PushButton, L"Scan");

  const ProgramLanguage result = LoadProgramLanguage(system, window);

  EXPECT_EQ(result.suiteLanguage, L"german");
  EXPECT_TRUE(result.recordWritten);
  EXPECT_EQ(files.Get(kRecord), "[Lang]\r\nMyLang=german\r\n");
  ASSERT_NE(result.language, nullptr);
  EXPECT_EQ(result.language->Folder, kLanguages);
  EXPECT_EQ(result.language->LoadedLanguage(), L"German");
  EXPECT_EQ(result.messages.total, L"Gesamt");
  EXPECT_EQ(result.messages.fixed, MessageTexts().fixed);
  EXPECT_EQ(scan.Caption(), L"Prüfen");
}

TEST_F(LanguageSettingsTest, StartUpGoesOnWithoutLanguagesAndWithoutARecord) {
  files.FailWrites(kRecord);
  BasicComponent window(L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo");
  auto& scan = window.Own(L"Button_Scan", ComponentKind::PushButton, L"Scan");
  const ProgramLanguage result = LoadProgramLanguage(system, window);
  EXPECT_EQ(result.suiteLanguage, L"English");
  EXPECT_FALSE(result.recordWritten);
  EXPECT_TRUE(result.language->Languages.empty());
  EXPECT_EQ(result.messages.total, MessageTexts().total);
  EXPECT_EQ(scan.Caption(), L"Scan");
}

}  // namespace
}  // namespace corrivo

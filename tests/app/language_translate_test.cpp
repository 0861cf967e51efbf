// TranslateComponent over a small component tree.
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/language.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

// A language object whose store is filled directly, without files.
class LoadedLanguage : public TLanguage {
 public:
  explicit LoadedLanguage(const std::vector<std::wstring>& lines, std::wstring name = L"Scanner")
      : TLanguage(std::move(name), L"") {
    Strings.SetStrings(lines);
  }
};

const std::vector<std::wstring> kFile = {
    L"[Scanner_FixWindows_FormMain]",
    L"FixWindows_FormMain.Caption=Tarsio Corrivo (de)",
    L"Label_Title.Caption=Titel",
    L"Button_Scan.Caption=Prüfen",
    L"CheckBox_SelectAll.Caption=Alle auswählen",
    L"ListView_Fix.Columns[0].Caption=Problem",
    L"ListView_Fix.Columns[1].Caption=Zustand",
    L"ComboBox_Mode.Items[0].Caption=Schnell",
    L"ComboBox_Mode.Items[2].Caption=Gründlich",
    L"TreeView_Groups.Items[1].Caption=Zweig",
    L"img_General.Hint=Allgemein",
    L"Imgnot_Desktop.Hint=Arbeitsfläche",
    L"img1.Caption=Bild",
    L"Panel_Fix.Caption=Tafel",
    L"Label_101.Caption=Papierkorb fehlt.",
    L"Button_101.Caption=Beheben",
    L"GroupBox_A.Caption=Gruppe",
    L"RadioButton_A.Caption=Knopf",
    L"MenuItem_A.Caption=Menü",
    L"ToolButton_A.Caption=Werkzeug",
    L"SpeedButton_A.Caption=Schnell",
    L"TabSheet_A.Caption=Blatt",
    L"DockPanel_A.Caption=Dock",
    L"DockTabs_A.Caption=Reiter",
};

struct Window {
  BasicComponent root{L"FixWindows_FormMain", ComponentKind::Other, L"Tarsio Corrivo"};
  Window() {
    root.Own(L"Label_Title", ComponentKind::Label, L"Tarsio Corrivo");
    root.Own(L"Label_Info", ComponentKind::Label, L"Corrivo analyzes your Windows operating system and helps you fix problems.");
    root.Own(L"Button_Scan", ComponentKind::PushButton, L"Scan");
    root.Own(L"CheckBox_SelectAll", ComponentKind::CheckBox, L"Select All");
    auto& list = root.Own(L"ListView_Fix", ComponentKind::ListView);
    list.Columns() = {L"Fix Item", L"Status"};
    auto& combo = root.Own(L"ComboBox_Mode", ComponentKind::DropDownList);
    combo.Items() = {L"Quick", L"Normal", L"Deep"};
    auto& tree = root.Own(L"TreeView_Groups", ComponentKind::TreeView);
    tree.Items() = {L"Root", L"Branch"};
    root.Own(L"img_General", ComponentKind::ImageNote).SetHint(L"general");
    auto& tile = root.Own(L"Imgnot_Desktop", ComponentKind::ImageNote);
    tile.SetShowHint(true);
    tile.SetHint(L"desktop");
    root.Own(L"img1", ComponentKind::Other, L"picture");
    auto& panel = root.Own(L"Panel_Fix", ComponentKind::Other, L"panel");
    panel.Own(L"Label_101", ComponentKind::Label, L"\"Recycle Bin\" icon is no longer displayed.");
    panel.Own(L"Button_101", ComponentKind::PushButton, L"Fix");
    const std::pair<const wchar_t*, ComponentKind> captioned[] = {
        {L"GroupBox_A", ComponentKind::GroupBox},       {L"RadioButton_A", ComponentKind::RadioButton},
        {L"MenuItem_A", ComponentKind::MenuItem},       {L"ToolButton_A", ComponentKind::ToolButton},
        {L"SpeedButton_A", ComponentKind::SpeedButton}, {L"TabSheet_A", ComponentKind::TabSheet},
        {L"DockPanel_A", ComponentKind::DockingPanel},  {L"DockTabs_A", ComponentKind::DockingTabContainer},
    };
    for (const auto& [name, kind] : captioned) root.Own(name, kind, L"before");
  }
  BasicComponent& Find(const std::wstring& name) {
    for (std::size_t i = 0; i < root.OwnedCount(); ++i) {
      auto* c = static_cast<BasicComponent*>(root.Owned(i));
      if (c->Name() == name) return *c;
      for (std::size_t k = 0; k < c->OwnedCount(); ++k)
        if (c->Owned(k)->Name() == name) return *static_cast<BasicComponent*>(c->Owned(k));
    }
    throw std::runtime_error("no such component");
  }
};

TEST(TranslateComponentTest, AppliesEachKindsKeys) {
  LoadedLanguage language(kFile);
  Window w;
  language.TranslateComponent(w.root);
  EXPECT_EQ(w.root.Caption(), L"Tarsio Corrivo (de)");
  EXPECT_EQ(w.Find(L"Label_Title").Caption(), L"Titel");
  EXPECT_EQ(w.Find(L"Label_Info").Caption(),
            L"Corrivo analyzes your Windows operating system and helps you fix problems.");  // no key
  EXPECT_EQ(w.Find(L"Button_Scan").Caption(), L"Prüfen");
  EXPECT_EQ(w.Find(L"CheckBox_SelectAll").Caption(), L"Alle auswählen");
  EXPECT_EQ(w.Find(L"ListView_Fix").Columns(), (std::vector<std::wstring>{L"Problem", L"Zustand"}));
  EXPECT_EQ(w.Find(L"ComboBox_Mode").Items(), (std::vector<std::wstring>{L"Schnell", L"Normal", L"Gründlich"}));
  EXPECT_EQ(w.Find(L"TreeView_Groups").Items(), (std::vector<std::wstring>{L"Root", L"Zweig"}));
  EXPECT_EQ(w.Find(L"img_General").Hint(), L"general");  // shows no hints: key not read
  EXPECT_EQ(w.Find(L"Imgnot_Desktop").Hint(), L"Arbeitsfläche");
  EXPECT_EQ(w.Find(L"img1").Caption(), L"picture");  // a picture has no text
  EXPECT_EQ(w.Find(L"Panel_Fix").Caption(), L"panel");
  EXPECT_EQ(w.Find(L"Label_101").Caption(), L"Papierkorb fehlt.");
  EXPECT_EQ(w.Find(L"Button_101").Caption(), L"Beheben");
  for (const wchar_t* name : {L"GroupBox_A", L"RadioButton_A", L"MenuItem_A", L"ToolButton_A", L"SpeedButton_A",
                              L"TabSheet_A", L"DockPanel_A", L"DockTabs_A"}) {
    SCOPED_TRACE(testing::Narrow(name));
    EXPECT_NE(w.Find(name).Caption(), L"before");
  }
}

TEST(TranslateComponentTest, TitleChangesOnlyWhenItsKeyIsPresent) {
  LoadedLanguage language({L"[Scanner_FixWindows_FormMain]", L"Label_Title.Caption=Titel"});
  Window w;
  language.TranslateComponent(w.root);
  EXPECT_EQ(w.root.Caption(), L"Tarsio Corrivo");
  EXPECT_EQ(w.Find(L"Label_Title").Caption(), L"Titel");
}

TEST(TranslateComponentTest, EmptyValueIsAppliedAsAText) {
  LoadedLanguage language({L"[Scanner_FixWindows_FormMain]", L"FixWindows_FormMain.Caption=", L"Button_Scan.Caption="});
  Window w;
  language.TranslateComponent(w.root);
  EXPECT_EQ(w.root.Caption(), L"");
  EXPECT_EQ(w.Find(L"Button_Scan").Caption(), L"");
}

TEST(TranslateComponentTest, SectionIsNamePlusRootName) {
  LoadedLanguage other(kFile, L"Cleaner");
  Window w;
  other.TranslateComponent(w.root);
  EXPECT_EQ(w.root.Caption(), L"Tarsio Corrivo");
  EXPECT_EQ(w.Find(L"Button_Scan").Caption(), L"Scan");
}

TEST(TranslateComponentTest, RootWithoutNameIsLeftAlone) {
  LoadedLanguage language({L"[Scanner_]", L".Caption=x", L"Label_Title.Caption=Titel"});
  BasicComponent root(L"", ComponentKind::Other, L"title");
  root.Own(L"Label_Title", ComponentKind::Label, L"Tarsio Corrivo");
  language.TranslateComponent(root);
  EXPECT_EQ(root.Caption(), L"title");
  EXPECT_EQ(root.Owned(0)->Caption(), L"Tarsio Corrivo");
}

TEST(TranslateComponentTest, NothingLoadedChangesNothing) {
  LoadedLanguage language({});
  Window w;
  language.TranslateComponent(w.root);
  EXPECT_EQ(w.root.Caption(), L"Tarsio Corrivo");
  EXPECT_EQ(w.Find(L"ListView_Fix").Columns(), (std::vector<std::wstring>{L"Fix Item", L"Status"}));
}

// A control whose window has gone away under it.
class FailingLabel : public BasicComponent {
 public:
  using BasicComponent::BasicComponent;
  void SetCaption(const std::wstring&) override { throw std::runtime_error("control gone"); }
};

TEST(TranslateComponentTest, AFailingComponentEndsTheWalkQuietly) {
  LoadedLanguage language({L"[Scanner_W]", L"A.Caption=a", L"B.Caption=b", L"C.Caption=c"});
  BasicComponent root(L"W", ComponentKind::Other);
  root.Own(L"A", ComponentKind::Label, L"-");
  root.Own(std::make_unique<FailingLabel>(L"B", ComponentKind::Label, L"-"));
  root.Own(L"C", ComponentKind::Label, L"-");
  EXPECT_NO_THROW(language.TranslateComponent(root));
  EXPECT_EQ(root.Owned(0)->Caption(), L"a");
  EXPECT_EQ(root.Owned(2)->Caption(), L"-");
}

TEST(TranslateComponentTest, KeysIgnoreLetterCase) {
  LoadedLanguage language({L"[scanner_fixwindows_formmain]", L"BUTTON_SCAN.CAPTION=Prüfen",
                           L"listview_fix.columns[1].caption=Zustand"});
  Window w;
  language.TranslateComponent(w.root);
  EXPECT_EQ(w.Find(L"Button_Scan").Caption(), L"Prüfen");
  EXPECT_EQ(w.Find(L"ListView_Fix").Columns()[1], L"Zustand");
}

}  // namespace
}  // namespace corrivo

// libFuzzer target: arbitrary bytes as the English language file, read the way the program
// reads it at start (listing the folder, picking the file by a setting of another letter case,
// decoding, parsing), then the message texts and the walk that puts the texts on a window.
// Besides crashes it stops when a control shows anything but what the file holds for it (or
// its own text where the file has none), or when a second walk changes anything.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/component_tree.h"
#include "app/language.h"
#include "sysaccess/memory/stand_ins.h"

namespace {

using corrivo::Component;
using corrivo::ComponentKind;

void Require(bool condition) {
  if (!condition) std::abort();
}

bool OneLine(const std::wstring& text) { return text.find_first_of(L"\r\n") == std::wstring::npos; }

// A control of the test window; it remembers the texts it started with.
class Node : public Component {
 public:
  Node(std::wstring name, ComponentKind kind, std::wstring text) : name_(std::move(name)), kind_(kind) {
    caption_ = hint_ = text;
  }
  std::wstring Name() const override { return name_; }
  ComponentKind Kind() const override { return kind_; }
  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& text) override { caption_ = text; }
  bool ShowsHint() const override { return showsHint_; }
  std::wstring Hint() const override { return hint_; }
  void SetHint(const std::wstring& text) override { hint_ = text; }
  std::size_t ColumnCount() const override { return columns_.size(); }
  std::wstring ColumnCaption(std::size_t i) const override { return columns_.at(i); }
  void SetColumnCaption(std::size_t i, const std::wstring& text) override { columns_.at(i) = text; }
  std::size_t OwnedCount() const override { return owned_.size(); }
  Component* Owned(std::size_t i) override { return owned_.at(i).get(); }

  Node& Own(std::wstring name, ComponentKind kind, std::wstring text = L"built-in") {
    owned_.push_back(std::make_unique<Node>(std::move(name), kind, std::move(text)));
    return *owned_.back();
  }
  std::wstring name_;
  ComponentKind kind_;
  std::wstring caption_, hint_;
  bool showsHint_ = false;
  std::vector<std::wstring> columns_;
  std::vector<std::unique_ptr<Node>> owned_;
};

// The window's shape: header labels and buttons, a list view, hinting and silent tiles, rows
// nested in a panel, and a picture whose name a file might also hold a caption for.
std::unique_ptr<Node> MakeWindow() {
  auto root = std::make_unique<Node>(L"FixWindows_FormMain", ComponentKind::Other, L"Corrivo");
  root->Own(L"Label_Title", ComponentKind::Label);
  root->Own(L"Label_Info", ComponentKind::Label);
  root->Own(L"Button_Scan", ComponentKind::PushButton);
  root->Own(L"CheckBox_SelectAll", ComponentKind::CheckBox);
  Node& list = root->Own(L"ListView_Fix", ComponentKind::ListView);
  list.columns_ = {L"Fix Item", L"Status"};
  root->Own(L"img_General", ComponentKind::ImageNote).showsHint_ = true;
  root->Own(L"Imgnot_Desktop", ComponentKind::ImageNote);
  root->Own(L"img_Logo", ComponentKind::Other);
  Node& panel = root->Own(L"Panel_Desktop", ComponentKind::Other);
  panel.Own(L"Label_101", ComponentKind::Label);
  panel.Own(L"Button_101", ComponentKind::PushButton);
  panel.Own(L"Label_Title", ComponentKind::Label);  // the same name twice reads the same key
  return root;
}

struct Snapshot {
  std::vector<std::wstring> texts;
  bool operator==(const Snapshot&) const = default;
};

void Collect(const Node& node, Snapshot* s) {
  s->texts.push_back(node.caption_);
  s->texts.push_back(node.hint_);
  for (const auto& c : node.columns_) s->texts.push_back(c);
  for (const auto& child : node.owned_) Collect(*child, s);
}

// What the walk must have left on each control: the file's text for its key, else its own.
void CheckTranslated(const corrivo::TLanguage& language, const std::wstring& section, const Node& before,
                     const Node& after) {
  const std::wstring name = before.name_;
  auto expect = [&](const std::wstring& key, const std::wstring& old) {
    return language.ReadString(section, key, old);
  };
  switch (before.kind_) {
    case ComponentKind::Label:
    case ComponentKind::PushButton:
    case ComponentKind::CheckBox:
      Require(after.caption_ == expect(name + L".Caption", before.caption_));
      Require(after.hint_ == before.hint_);
      break;
    case ComponentKind::ImageNote:
      Require(after.caption_ == before.caption_);
      Require(after.hint_ == (before.showsHint_ ? expect(name + L".Hint", before.hint_) : before.hint_));
      break;
    case ComponentKind::ListView:
      for (std::size_t k = 0; k < before.columns_.size(); ++k) {
        Require(after.columns_[k] ==
                expect(name + L".Columns[" + std::to_wstring(k) + L"].Caption", before.columns_[k]));
      }
      break;
    case ComponentKind::Other:
      Require(after.caption_ == before.caption_ && after.hint_ == before.hint_);
      break;
  }
  Require(OneLine(after.caption_) && OneLine(after.hint_));
  Require(after.owned_.size() == before.owned_.size());
  for (std::size_t i = 0; i < before.owned_.size(); ++i) {
    CheckTranslated(language, section, *before.owned_[i], *after.owned_[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::wstring folder = L"C:\\Corrivo\\Toolbox_Language";
  static corrivo::MemoryFileService files;
  static const bool listed = [] {
    files.AddFolder(folder, {L".", L"..", L"English.lng", L"readme.txt"});
    files.Put(folder + L"\\readme.txt", "not a language");
    return true;
  }();
  (void)listed;
  files.Put(folder + L"\\English.lng", std::string(reinterpret_cast<const char*>(data), size));

  corrivo::TLanguage language(files, L"Scanner", folder);
  Require(language.Languages == std::vector<std::wstring>{L"English"});
  language.SetLanguage(L"eNGLISH");
  Require(language.LoadedLanguage() == L"English");

  const corrivo::MessageTexts builtIn;
  const corrivo::MessageTexts texts = corrivo::ReadMessageTexts(language);
  for (const auto& entry : corrivo::MessageTextKeys()) {
    const std::wstring& text = texts.*entry.field;
    Require(OneLine(text));
    if (!language.Strings.ValueExists(corrivo::kMessageSection, entry.key)) Require(text == builtIn.*entry.field);
  }

  const auto before = MakeWindow();
  auto window = MakeWindow();
  language.TranslateComponent(*window);
  const std::wstring section = L"Scanner_FixWindows_FormMain";
  if (language.Strings.ValueExists(section, L"FixWindows_FormMain.Caption")) {
    Require(window->caption_ == language.ReadString(section, L"FixWindows_FormMain.Caption", L""));
  } else {
    Require(window->caption_ == before->caption_);
  }
  // The root's own title was checked above; the walk below covers what it owns.
  for (std::size_t i = 0; i < before->owned_.size(); ++i) {
    CheckTranslated(language, section, *before->owned_[i], *window->owned_[i]);
  }

  Snapshot once, twice;
  Collect(*window, &once);
  language.TranslateComponent(*window);
  Collect(*window, &twice);
  Require(once == twice);
  return 0;
}

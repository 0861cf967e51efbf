#include "app/language.h"

#include "app/file_access.h"
#include "sysaccess/platform.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

bool IsPathDelimiter(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasCaption(ComponentKind kind) {
  switch (kind) {
    case ComponentKind::Label:
    case ComponentKind::PushButton:
    case ComponentKind::GroupBox:
    case ComponentKind::CheckBox:
    case ComponentKind::RadioButton:
    case ComponentKind::MenuItem:
    case ComponentKind::ToolButton:
    case ComponentKind::SpeedButton:
    case ComponentKind::TabSheet:
    case ComponentKind::DockingPanel:
    case ComponentKind::DockingTabContainer:
      return true;
    default:
      return false;
  }
}

}  // namespace

const std::vector<MessageTextKey>& MessageTextKeys() {
  static const std::vector<MessageTextKey> keys = {
      {L"D_NoProblem", &MessageTexts::D_NoProblem},     {L"D_FixAll", &MessageTexts::D_FixAll},
      {L"D_FixIESure", &MessageTexts::D_FixIESure},     {L"D_FixIEFinish", &MessageTexts::D_FixIEFinish},
      {L"D_FixMPSure", &MessageTexts::D_FixMPSure},     {L"D_FixMPFinish", &MessageTexts::D_FixMPFinish},
      {L"D_NeedFix", &MessageTexts::D_NeedFix},         {L"D_Total", &MessageTexts::D_Total},
      {L"D_ForVersion", &MessageTexts::D_ForVersion},   {L"D_FixFinish", &MessageTexts::D_FixFinish},
      {L"D_FixFailed", &MessageTexts::D_FixFailed},     {L"D_Min", &MessageTexts::D_Min},
      {L"D_Max", &MessageTexts::D_Max},                 {L"D_Restore", &MessageTexts::D_Restore},
      {L"D_Close", &MessageTexts::D_Close},
  };
  return keys;
}

MessageTexts ReadMessageTexts(const TLanguage& language) {
  MessageTexts texts;
  for (const auto& entry : MessageTextKeys()) {
    std::wstring& field = texts.*entry.field;
    field = language.ReadString(kMessageSection, entry.key, field);
  }
  return texts;
}

TLanguage::TLanguage(std::wstring name, const std::wstring& folder) : Name(std::move(name)), Folder(folder) {
  if (!Folder.empty() && IsPathDelimiter(Folder.back())) Folder.pop_back();
  std::vector<std::wstring> names;
  ListFolderFiles(Folder, &names, L"*.lng", false);
  for (const auto& file : names) {
    if (file.size() < 4) continue;
    Languages.push_back(file.substr(0, file.size() - 4));
    fileNames_.push_back(file);
  }
}

long TLanguage::FindLanguage(const std::wstring& languageName) const {
  for (std::size_t i = 0; i < Languages.size(); ++i) {
    if (!EqualsNoCase(Languages[i], languageName)) continue;
    // The listed spelling, not the setting's: the setting may differ in letter case, and not
    // every file system ignores it.
    return files::FileExists(Folder + L"\\" + fileNames_[i]) ? static_cast<long>(i) : -1;
  }
  return -1;
}

void TLanguage::SetLanguage(const std::wstring& languageName) {
  long index = FindLanguage(languageName);
  if (index < 0) index = FindLanguage(L"English");
  if (index < 0) return;
  const auto i = static_cast<std::size_t>(index);
  if (Strings.LoadFromFile(Folder + L"\\" + fileNames_[i])) loaded_ = Languages[i];
}

std::wstring TLanguage::ReadString(const std::wstring& section, const std::wstring& key,
                                   const std::wstring& defaultValue) const {
  return Strings.ReadString(section, key, defaultValue);
}

void TLanguage::TranslateComponent(Component& root) const {
  try {
    const std::wstring rootName = root.Name();
    if (rootName.empty()) return;
    const std::wstring section = Name + L"_" + rootName;
    const std::wstring titleKey = rootName + L".Caption";
    if (Strings.ValueExists(section, titleKey)) root.SetCaption(ReadString(section, titleKey, root.Caption()));
    TranslateOwned(root, section);
  } catch (...) {
    // A control that fails ends the walk quietly; the window keeps the texts it has.
  }
}

void TLanguage::TranslateOwned(Component& owner, const std::wstring& section) const {
  auto apply = [&](const std::wstring& key, const std::wstring& current, auto&& set) {
    std::wstring text = ReadString(section, key, current);
    if (text != current) set(text);
  };
  for (std::size_t i = 0; i < owner.OwnedCount(); ++i) {
    Component* c = owner.Owned(i);
    if (!c) continue;
    const std::wstring name = c->Name();
    const ComponentKind kind = c->Kind();
    if (kind == ComponentKind::ImageNote) {
      if (c->ShowsHint()) apply(name + L".Hint", c->Hint(), [c](const std::wstring& t) { c->SetHint(t); });
    } else if (HasCaption(kind)) {
      apply(name + L".Caption", c->Caption(), [c](const std::wstring& t) { c->SetCaption(t); });
    } else if (kind == ComponentKind::DropDownList || kind == ComponentKind::TreeView) {
      for (std::size_t k = 0; k < c->ItemCount(); ++k)
        apply(name + L".Items[" + std::to_wstring(k) + L"].Caption", c->ItemText(k),
              [c, k](const std::wstring& t) { c->SetItemText(k, t); });
    } else if (kind == ComponentKind::ListView) {
      for (std::size_t k = 0; k < c->ColumnCount(); ++k)
        apply(name + L".Columns[" + std::to_wstring(k) + L"].Caption", c->ColumnCaption(k),
              [c, k](const std::wstring& t) { c->SetColumnCaption(k, t); });
    }
    // Components that own others (frames, panels holding their rows) are walked in place, so
    // the window may hand over its controls flat or nested.
    TranslateOwned(*c, section);
  }
}

}  // namespace corrivo

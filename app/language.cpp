#include "app/language.h"

#include "sysaccess/files.h"
#include "sysaccess/text.h"

namespace corrivo {
namespace {

bool IsPathDelimiter(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasCaption(ComponentKind kind) {
  return kind == ComponentKind::Label || kind == ComponentKind::PushButton || kind == ComponentKind::CheckBox;
}

}  // namespace

const std::vector<MessageTextKey>& MessageTextKeys() {
  static const std::vector<MessageTextKey> keys = {
      {L"D_NoProblem", &MessageTexts::noProblems},
      {L"D_FixAll", &MessageTexts::allFixed},
      {L"D_FixIESure", &MessageTexts::confirmIERegistration},
      {L"D_FixIEFinish", &MessageTexts::ieRegistered},
      {L"D_FixMPSure", &MessageTexts::confirmMediaPlayerRegistration},
      {L"D_FixMPFinish", &MessageTexts::mediaPlayerRegistered},
      {L"D_NeedFix", &MessageTexts::needsFix},
      {L"D_Total", &MessageTexts::total},
      {L"D_ForVersion", &MessageTexts::unsupportedWindows},
      {L"D_FixFinish", &MessageTexts::fixed},
      {L"D_FixFailed", &MessageTexts::fixFailed},
      {L"D_Min", &MessageTexts::minimiseHint},
      {L"D_Max", &MessageTexts::maximiseHint},
      {L"D_Restore", &MessageTexts::restoreHint},
      {L"D_Close", &MessageTexts::closeHint},
      {L"D_WhatWillChange", &MessageTexts::whatWillChange},
      {L"D_Undo", &MessageTexts::undoMenu},
      {L"D_UndoJournal", &MessageTexts::undoJournal},
      {L"D_UndoButton", &MessageTexts::undoButton},
      {L"D_Undone", &MessageTexts::undone},
      {L"D_UndoFailed", &MessageTexts::undoFailed},
      {L"D_JournalFailed", &MessageTexts::journalFailed},
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

TLanguage::TLanguage(FileService& files, std::wstring name, const std::wstring& folder)
    : Name(std::move(name)), Folder(folder), files_(files) {
  if (!Folder.empty() && IsPathDelimiter(Folder.back())) Folder.pop_back();
  std::vector<std::wstring> names;
  ListFolderFiles(files_, Folder, &names, L"*.lng", false);
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
    return files_.FileExists(Folder + L"\\" + fileNames_[i]) ? static_cast<long>(i) : -1;
  }
  return -1;
}

void TLanguage::SetLanguage(const std::wstring& languageName) {
  long index = FindLanguage(languageName);
  if (index < 0) index = FindLanguage(L"English");
  if (index < 0) return;
  const auto i = static_cast<std::size_t>(index);
  if (Strings.LoadFromFile(files_, Folder + L"\\" + fileNames_[i])) loaded_ = Languages[i];
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

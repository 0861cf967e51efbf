// The window as the language walk sees it: a root component that owns named components, each of
// a kind that decides which of its texts a language file may replace. The window supplies an
// adapter over its real controls.
#pragma once

#include <cstddef>
#include <string>

namespace corrivo {

// The kinds the window hands to the walk.
enum class ComponentKind {
  Other,      // no translatable text (the root, pictures, panels)
  ImageNote,  // a picture tile: its hint, when it shows hints
  Label,      // caption
  PushButton, // caption
  CheckBox,   // caption
  ListView,   // column captions
};

class Component {
 public:
  virtual ~Component() = default;

  virtual std::wstring Name() const = 0;
  virtual ComponentKind Kind() const = 0;

  // Caption of a captioned kind; for the root, the window title.
  virtual std::wstring Caption() const { return {}; }
  virtual void SetCaption(const std::wstring&) {}

  // Image notes only.
  virtual bool ShowsHint() const { return false; }
  virtual std::wstring Hint() const { return {}; }
  virtual void SetHint(const std::wstring&) {}

  // Columns of a list view.
  virtual std::size_t ColumnCount() const { return 0; }
  virtual std::wstring ColumnCaption(std::size_t) const { return {}; }
  virtual void SetColumnCaption(std::size_t, const std::wstring&) {}

  // The components this one owns, in order of ownership.
  virtual std::size_t OwnedCount() const { return 0; }
  virtual Component* Owned(std::size_t) { return nullptr; }
};

}  // namespace corrivo

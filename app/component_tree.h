// The window as the language walk sees it: a root component that owns named components, each of
// a kind that decides which of its texts a language file may replace. The window supplies an
// adapter over its real controls; BasicComponent is a plain in-memory one.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace corrivo {

enum class ComponentKind {
  Other,  // no translatable text
  ImageNote,
  Label,
  PushButton,
  GroupBox,
  CheckBox,
  RadioButton,
  MenuItem,
  ToolButton,
  SpeedButton,
  TabSheet,
  DockingPanel,
  DockingTabContainer,
  DropDownList,
  TreeView,
  ListView,
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

  // Items of a drop-down list, nodes of a tree view (node index order).
  virtual std::size_t ItemCount() const { return 0; }
  virtual std::wstring ItemText(std::size_t) const { return {}; }
  virtual void SetItemText(std::size_t, const std::wstring&) {}

  // Columns of a list view.
  virtual std::size_t ColumnCount() const { return 0; }
  virtual std::wstring ColumnCaption(std::size_t) const { return {}; }
  virtual void SetColumnCaption(std::size_t, const std::wstring&) {}

  // The components this one owns, in order of ownership.
  virtual std::size_t OwnedCount() const { return 0; }
  virtual Component* Owned(std::size_t) { return nullptr; }
};

// A component that keeps its texts in memory: for tests, and for building a window's tree
// before its controls exist.
class BasicComponent : public Component {
 public:
  BasicComponent(std::wstring name, ComponentKind kind, std::wstring caption = {})
      : name_(std::move(name)), kind_(kind), caption_(std::move(caption)) {}

  std::wstring Name() const override { return name_; }
  ComponentKind Kind() const override { return kind_; }
  std::wstring Caption() const override { return caption_; }
  void SetCaption(const std::wstring& text) override { caption_ = text; }
  bool ShowsHint() const override { return showHint_; }
  std::wstring Hint() const override { return hint_; }
  void SetHint(const std::wstring& text) override { hint_ = text; }
  std::size_t ItemCount() const override { return items_.size(); }
  std::wstring ItemText(std::size_t i) const override { return i < items_.size() ? items_[i] : std::wstring(); }
  void SetItemText(std::size_t i, const std::wstring& text) override {
    if (i < items_.size()) items_[i] = text;
  }
  std::size_t ColumnCount() const override { return columns_.size(); }
  std::wstring ColumnCaption(std::size_t i) const override {
    return i < columns_.size() ? columns_[i] : std::wstring();
  }
  void SetColumnCaption(std::size_t i, const std::wstring& text) override {
    if (i < columns_.size()) columns_[i] = text;
  }
  std::size_t OwnedCount() const override { return owned_.size(); }
  Component* Owned(std::size_t i) override { return i < owned_.size() ? owned_[i].get() : nullptr; }

  void SetShowHint(bool show) { showHint_ = show; }
  std::vector<std::wstring>& Items() { return items_; }
  std::vector<std::wstring>& Columns() { return columns_; }
  // Takes ownership and returns the added component.
  BasicComponent& Own(std::unique_ptr<BasicComponent> child) {
    owned_.push_back(std::move(child));
    return *owned_.back();
  }
  BasicComponent& Own(std::wstring name, ComponentKind kind, std::wstring caption = {}) {
    return Own(std::make_unique<BasicComponent>(std::move(name), kind, std::move(caption)));
  }

 private:
  std::wstring name_;
  ComponentKind kind_;
  std::wstring caption_;
  std::wstring hint_;
  bool showHint_ = false;
  std::vector<std::wstring> items_;
  std::vector<std::wstring> columns_;
  std::vector<std::unique_ptr<BasicComponent>> owned_;
};

}  // namespace corrivo

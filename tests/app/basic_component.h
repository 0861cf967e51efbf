// A component that keeps its texts in memory: the stand-in for the window's controls in the
// tests of the language walk.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/component_tree.h"

namespace corrivo::testing {

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
  std::size_t ColumnCount() const override { return columns.size(); }
  std::wstring ColumnCaption(std::size_t i) const override { return columns.at(i); }
  void SetColumnCaption(std::size_t i, const std::wstring& text) override { columns.at(i) = text; }
  std::size_t OwnedCount() const override { return owned_.size(); }
  Component* Owned(std::size_t i) override { return owned_.at(i).get(); }

  void ShowHint(std::wstring hint) {
    showHint_ = true;
    hint_ = std::move(hint);
  }
  // Takes ownership and answers the added component.
  template <typename T = BasicComponent, typename... Args>
  T& Own(Args&&... args) {
    return static_cast<T&>(*owned_.emplace_back(std::make_unique<T>(std::forward<Args>(args)...)));
  }

  std::vector<std::wstring> columns;

 private:
  std::wstring name_, hint_;
  ComponentKind kind_;
  std::wstring caption_;
  bool showHint_ = false;
  std::vector<std::unique_ptr<BasicComponent>> owned_;
};

}  // namespace corrivo::testing

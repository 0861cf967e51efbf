// The window's controls as the language walk sees them: a root for the window (its title is
// the caption) owning one component per named control.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "app/component_tree.h"
#include "widgets/win32/control_base.h"

namespace corrivo::app {

class ControlComponent : public Component {
 public:
  ControlComponent(ui::win32::Control& control, ComponentKind kind) : control_(control), kind_(kind) {}
  std::wstring Name() const override { return control_.Name(); }
  ComponentKind Kind() const override { return kind_; }
  std::wstring Caption() const override { return control_.Text(); }
  void SetCaption(const std::wstring& text) override { control_.SetText(text); }
  std::size_t ColumnCount() const override;
  std::wstring ColumnCaption(std::size_t i) const override;
  void SetColumnCaption(std::size_t i, const std::wstring& text) override;

 private:
  ui::win32::Control& control_;
  ComponentKind kind_;
};

class WindowComponent : public Component {
 public:
  WindowComponent(HWND window, std::wstring name) : window_(window), name_(std::move(name)) {}
  std::wstring Name() const override { return name_; }
  ComponentKind Kind() const override { return ComponentKind::Other; }
  std::wstring Caption() const override;
  void SetCaption(const std::wstring& text) override { SetWindowTextW(window_, text.c_str()); }
  std::size_t OwnedCount() const override { return owned_.size(); }
  Component* Owned(std::size_t i) override { return i < owned_.size() ? owned_[i].get() : nullptr; }
  void Own(ui::win32::Control& control, ComponentKind kind) {
    owned_.push_back(std::make_unique<ControlComponent>(control, kind));
  }

 private:
  HWND window_;
  std::wstring name_;
  std::vector<std::unique_ptr<Component>> owned_;
};

}  // namespace corrivo::app

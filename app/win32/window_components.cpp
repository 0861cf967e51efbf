#include "app/win32/window_components.h"

#include "widgets/win32/list_view.h"

namespace corrivo::app {

namespace {
ui::win32::ListView* AsList(ui::win32::Control& c) { return dynamic_cast<ui::win32::ListView*>(&c); }
}  // namespace

std::size_t ControlComponent::ColumnCount() const {
  auto* list = AsList(control_);
  return list ? static_cast<std::size_t>(list->ColumnCount()) : 0;
}

std::wstring ControlComponent::ColumnCaption(std::size_t i) const {
  auto* list = AsList(control_);
  return list ? list->ColumnCaption(static_cast<int>(i)) : std::wstring();
}

void ControlComponent::SetColumnCaption(std::size_t i, const std::wstring& text) {
  if (auto* list = AsList(control_)) list->SetColumnCaption(static_cast<int>(i), text);
}

std::wstring WindowComponent::Caption() const {
  wchar_t buffer[512] = {};
  GetWindowTextW(window_, buffer, 512);
  return buffer;
}

}  // namespace corrivo::app

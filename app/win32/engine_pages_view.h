// The General Fix and re-registration pages' controls as the page logic sees them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/pages.h"
#include "widgets/win32/check_box.h"
#include "widgets/win32/image_button.h"
#include "widgets/win32/image_progress.h"
#include "widgets/win32/list_view.h"

namespace corrivo::app {

struct EnginePageControls {
  HWND window = nullptr;
  ui::win32::ImageButton *scan, *stopScan, *fix, *stopFix;
  ui::win32::ImageProgress* mainBar;
  // A re-registration page's controls; the page is made on first use.
  struct ReRegistration {
    ui::win32::ImageButton *start, *stop;
    ui::win32::ImageProgress* bar;
  };
  std::function<ReRegistration(bool internetExplorer)> reRegistration;
  ui::win32::CheckBox* selectAll;
  ui::win32::ListView* list;
  // Hands a queued message to the window's keyboard navigation first (IsDialogMessage).
  std::function<bool(MSG&)> preTranslate;
};

class Win32EnginePagesView : public EnginePagesView {
 public:
  explicit Win32EnginePagesView(const EnginePageControls& c) : c_(c) {}

  void BringToFront(PageButton button) override;
  void SetEnabled(PageButton button, bool enabled) override;
  bool IsEnabled(PageButton button) const override;
  void FocusFixButton() override;
  void SetProgressVisible(PageProgress bar, bool visible) override;
  void SetProgressPosition(PageProgress bar, int position) override;
  int ProgressMax(PageProgress bar) const override;
  void SetSelectAllVisible(bool visible) override;
  void SetSelectAllChecked(bool checked) override;
  bool SelectAllChecked() const override;
  void SetColumnCaption(const std::wstring& caption) override;
  void BeginUpdate() override;
  void EndUpdate() override;
  void ClearRows() override;
  void AddRow(const std::wstring& caption, const std::wstring& status, const std::wstring& index) override;
  int RowCount() const override;
  bool RowChecked(int row) const override;
  void SetRowChecked(int row, bool checked) override;
  std::wstring RowIndexText(int row) const override;
  void SetListEnabled(bool enabled) override;
  bool ProcessMessages() override;
  void ShowInfo(const std::wstring& text) override;
  bool ConfirmWarning(const std::wstring& text) override;
  void NotifyAssocChanged() override;
  void DebugOutput(const std::wstring& text) override;

 private:
  ui::win32::ImageButton* Button(PageButton b) const;
  ui::win32::ImageProgress* Bar(PageProgress p) const;
  std::wstring Title() const;

  EnginePageControls c_;
  std::vector<std::wstring> indexes_;  // sub-item 1 of each row: its scan item index
};

}  // namespace corrivo::app

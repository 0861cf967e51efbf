// A real SysListView32 in report view with a check box per row, so that the common list-view
// messages work on it; OnItemChecked follows every change of a check state. A column's width
// limits hold for the program's own changes and for the user's dragging of the header alike.
#pragma once

#include <vector>

#include "widgets/win32/control_base.h"

namespace corrivo::ui::win32 {

class ListView : public Control {
 public:
  bool Create(HWND parent, int id, const std::wstring& name, const Rect& r, HFONT font);
  // `minWidth` and `maxWidth` of 0 leave that side free; equal limits fix the width.
  void AddColumn(const std::wstring& caption, int width, int minWidth = 0, int maxWidth = 0);
  int ColumnCount() const;
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  std::wstring ColumnCaption(int column) const;
  void SetColumnCaption(int column, const std::wstring& caption);
  std::vector<int> ColumnWidths() const;

  int AddItem(const std::wstring& caption, const std::vector<std::wstring>& subItems, bool checked);
  int ItemCount() const;
  std::wstring ItemText(int item, int subItem = 0) const;
  bool Checked(int item) const;
  void SetChecked(int item, bool checked);
  void Clear();
  void BeginUpdate();
  void EndUpdate();
  int ClientWidth() const { return ClientSize().width; }

  std::function<void(int item)> OnItemChecked;

 protected:
  LRESULT OnReflect(const Reflected& r) override;
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void Paint(HDC dc, const RECT& client) override;
  bool RepaintsOnHover() const override { return false; }

 private:
  // True when the header must refuse this notification (a drag or resize past the limits).
  bool RefusedByLimits(const NMHDR& header) const;
  bool Allows(int column, int width) const;

  std::vector<std::pair<int, int>> limits_;  // minimum and maximum width per column (0 = none)
  int updateDepth_ = 0;
};

}  // namespace corrivo::ui::win32

#include "widgets/win32/list_view.h"

#include <commctrl.h>

#include <algorithm>

namespace corrivo::ui::win32 {

bool ListView::Create(HWND parent, int id, const std::wstring& name, const Rect& r, HFONT font) {
  HWND hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LVS_REPORT |
                                  LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                              r.left, r.top, r.width, r.height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                              nullptr);
  if (!hwnd) return false;
  Attach(hwnd, id, name);
  // Painted through the program's own banded buffer (see Handle), not the list's: under Wine
  // the list's buffer is as big as the list and its memory stays with the process. The check
  // boxes come with the first item (see AddItem).
  ListView_SetExtendedListViewStyle(hwnd, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  SetFont(font);
  return true;
}

void ListView::AddColumn(const std::wstring& caption, int width, int minWidth, int maxWidth) {
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  col.pszText = const_cast<wchar_t*>(caption.c_str());
  col.cx = width;
  col.iSubItem = ColumnCount();
  SendMessageW(hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(col.iSubItem), reinterpret_cast<LPARAM>(&col));
  limits_.emplace_back(minWidth, maxWidth);
}

int ListView::ColumnCount() const {
  HWND header = ListView_GetHeader(hwnd());
  return header ? Header_GetItemCount(header) : 0;
}

int ListView::ColumnWidth(int column) const { return ListView_GetColumnWidth(hwnd(), column); }

void ListView::SetColumnWidth(int column, int width) {
  if (column >= 0 && column < static_cast<int>(limits_.size())) {
    const auto [lo, hi] = limits_[static_cast<std::size_t>(column)];
    if (lo > 0) width = std::max(width, lo);
    if (hi > 0) width = std::min(width, hi);
  }
  ListView_SetColumnWidth(hwnd(), column, width);
}

bool ListView::Allows(int column, int width) const {
  if (column < 0 || column >= static_cast<int>(limits_.size())) return true;
  const auto [lo, hi] = limits_[static_cast<std::size_t>(column)];
  return (lo <= 0 || width >= lo) && (hi <= 0 || width <= hi);
}

bool ListView::RefusedByLimits(const NMHDR& hdr) const {
  // The header's items are the list's columns; its notifications carry the new width.
  const auto& nm = reinterpret_cast<const NMHEADERW&>(hdr);
  switch (hdr.code) {
    case HDN_BEGINTRACKW:
    case HDN_BEGINTRACKA: {
      // A fixed column offers no divider to drag at all.
      if (nm.iItem < 0 || nm.iItem >= static_cast<int>(limits_.size())) return false;
      const auto [lo, hi] = limits_[static_cast<std::size_t>(nm.iItem)];
      return lo > 0 && lo == hi;
    }
    case HDN_ITEMCHANGINGW:
    case HDN_ITEMCHANGINGA:
      // Also the list's own resizing, such as a double click on a divider.
      return nm.pitem && (nm.pitem->mask & HDI_WIDTH) && !Allows(nm.iItem, nm.pitem->cxy);
    default:
      return false;
  }
}

LRESULT ListView::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY && lp) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
    if (hdr->hwndFrom == ListView_GetHeader(hwnd()) && RefusedByLimits(*hdr)) return TRUE;
  }
  // The list erases and paints into a buffer a band at a time, which then goes out whole:
  // no flicker while a scan adds rows and changes their status.
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT && wp == 0) {
    PaintBuffered();
    return 0;
  }
  return Control::Handle(msg, wp, lp);
}

void ListView::Paint(HDC dc, const RECT&) {
  Default(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  Default(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

std::vector<int> ListView::ColumnWidths() const {
  std::vector<int> widths;
  for (int i = 0; i < ColumnCount(); ++i) widths.push_back(ColumnWidth(i));
  return widths;
}

std::wstring ListView::ColumnCaption(int column) const {
  wchar_t buffer[260] = {};
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  col.pszText = buffer;
  col.cchTextMax = 260;
  SendMessageW(hwnd(), LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
  return buffer;
}

void ListView::SetColumnCaption(int column, const std::wstring& caption) {
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  col.pszText = const_cast<wchar_t*>(caption.c_str());
  SendMessageW(hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
}

int ListView::AddItem(const std::wstring& caption, const std::vector<std::wstring>& subItems, bool checked) {
  // An empty list shows no check box: drawing the pictures of the boxes waits for a first item.
  if (!(ListView_GetExtendedListViewStyle(hwnd()) & LVS_EX_CHECKBOXES))
    ListView_SetExtendedListViewStyleEx(hwnd(), LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = ItemCount();
  item.pszText = const_cast<wchar_t*>(caption.c_str());
  const int index = static_cast<int>(SendMessageW(hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (std::size_t i = 0; i < subItems.size(); ++i) {
    LVITEMW sub = {};
    sub.iSubItem = static_cast<int>(i) + 1;
    sub.pszText = const_cast<wchar_t*>(subItems[i].c_str());
    SendMessageW(hwnd(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
  }
  if (checked) SetChecked(index, true);
  return index;
}

int ListView::ItemCount() const { return ListView_GetItemCount(hwnd()); }

std::wstring ListView::ItemText(int item, int subItem) const {
  wchar_t buffer[1024] = {};
  LVITEMW it = {};
  it.iSubItem = subItem;
  it.pszText = buffer;
  it.cchTextMax = 1024;
  SendMessageW(hwnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&it));
  return buffer;
}

bool ListView::Checked(int item) const { return ListView_GetCheckState(hwnd(), item) != 0; }

void ListView::SetChecked(int item, bool checked) { ListView_SetCheckState(hwnd(), item, checked ? TRUE : FALSE); }

void ListView::Clear() { ListView_DeleteAllItems(hwnd()); }

void ListView::BeginUpdate() {
  if (updateDepth_++ == 0) SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
}

void ListView::EndUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ == 0) {
    SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd(), nullptr, TRUE);
  }
}

LRESULT ListView::OnReflect(const Reflected& r) {
  if (r.message != WM_NOTIFY) return 0;
  const auto* hdr = reinterpret_cast<const NMHDR*>(r.lParam);
  if (hdr->code == LVN_ITEMCHANGED) {
    const auto* nm = reinterpret_cast<const NMLISTVIEW*>(r.lParam);
    const bool stateChanged = (nm->uChanged & LVIF_STATE) != 0;
    const UINT oldCheck = nm->uOldState & LVIS_STATEIMAGEMASK;
    const UINT newCheck = nm->uNewState & LVIS_STATEIMAGEMASK;
    // A fresh row gets its first state image without being "changed" by anyone.
    if (stateChanged && newCheck != oldCheck && oldCheck != 0 && nm->iItem >= 0 && OnItemChecked) {
      OnItemChecked(nm->iItem);
    }
  }
  return 0;
}

}  // namespace corrivo::ui::win32

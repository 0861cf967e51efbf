// The self-drawn frame: the layout pass, page switching, moving, resizing, maximising and
// restoring, minimising and the mouse wheel.
#include <windowsx.h>

#include "app/layout.h"
#include "app/win32/main_window.h"

namespace corrivo::app {

void TFixWindows_FormMain::ApplyHeaderLooks() {
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    headerTiles_[i]->SetImageIndex(nav_.HeaderPicture(i));
    headerLabels_[i]->SetColour(ui::win32::Rgb(nav_.HeaderLabelColour(i)));
  }
}

void TFixWindows_FormMain::ShowPage(int page) {
  pageNote_->SetTabIndex(page);
  if (!nav_.ShowPage(page)) return;
  ApplyHeaderLooks();
  if (page == 0) {
    ArrangeWindow();
  } else if (page == 1) {
    const Size note = pageNote_->ClientSize();
    panelAdvancedFix_->SetBounds({0, 0, note.width, note.height});
    EnsureRows(nav_.Category());
    ArrangeAdvancedPage();
    ArrangeWindow();
    SetFocus(categories_[0].scrollBox->hwnd());
  }
}

void TFixWindows_FormMain::ArrangeWindow() {
  if (!pnlBK_) return;
  const layout::FrameLayout f = ArrangeFrameParts();
  ArrangeContentParts(f.pnlBK.Extent());
  const int page = pageNote_->TabIndex();
  if (page == 0) {
    ArrangeGeneralPage();
  } else if (page == 1) {
    RedrawWindow(pnlBK_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ArrangeAdvancedPage();
  }
  // Pages 2 and 3 keep their inner panels centred.
  for (ReRegistrationPage* r : {&internet_, &mediaPlayer_}) {
    const Size outer = r->fill->ClientSize();
    const Size inner = r->main->Bounds().Extent();
    r->main->SetBounds({(outer.width - inner.width) / 2, (outer.height - inner.height) / 2, inner.width, inner.height});
  }
  ApplyShapes();
}

layout::FrameLayout TFixWindows_FormMain::ArrangeFrameParts() {
  const Rect bounds = WindowBounds();
  layout::OwnSizes own;
  own.closeButton = rdbtnClose_->Bounds().Extent();
  own.maxButton = rdBtnMax_->Bounds().Extent();
  own.maxMButton = rdbtnMaxM_->Bounds().Extent();
  own.minButton = rdBtnMin_->Bounds().Extent();
  own.titleIcon = imageAIcon_->Bounds().Extent();
  own.grip = img2_->Bounds().Extent();
  own.mainLogo = imageMain_->Bounds().Extent();
  own.infoLabel = labelInfo_->Bounds().Extent();
  const layout::FrameLayout f = layout::ArrangeFrame(bounds.Extent(), own);
  img1_->SetBounds(f.img1);
  imageTop_->SetBounds(f.imageTop);
  imageLeft_->SetBounds(f.imageLeft);
  imageBottom_->SetBounds(f.imageBottom);
  imageRight_->SetBounds(f.imageRight);
  imageTopRight_->SetBounds(f.imageTopRight);
  imageTopLeft_->SetBounds(f.imageTopLeft);
  imageBottomLeft_->SetBounds(f.imageBottomLeft);
  imageBottomRight_->SetBounds(f.imageBottomRight);
  rdbtnClose_->SetBounds(f.closeButton);
  rdBtnMax_->SetBounds(f.maxButton);
  rdbtnMaxM_->SetBounds(f.maxMButton);
  rdBtnMin_->SetBounds(f.minButton);
  imageAIcon_->SetBounds(f.titleIcon);
  labelTitle_->SetBounds(f.titleLabel);
  img2_->SetBounds(f.grip);
  imageMain_->SetBounds(f.mainLogo);
  labelInfo_->SetBounds(f.infoLabel);
  pnlBK_->SetBounds(f.pnlBK);
  for (Image* front : {imageTopLeft_.get(), imageTopRight_.get(), imageBottomLeft_.get(), imageBottomRight_.get()}) {
    front->BringToFront();
  }
  return f;
}

void TFixWindows_FormMain::ArrangeContentParts(Size panel) {
  layout::HeaderSizes header;
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    header.labels[i] = headerLabels_[i]->Bounds().Extent();
    header.icons[i] = headerIcons_[i]->Bounds().Extent();
  }
  header.contentCorner = contentBorder_[4]->Bounds().Extent();
  const layout::ContentLayout c = layout::ArrangeContent(panel, header);
  const Rect border[8] = {c.contentTop,     c.contentLeft,     c.contentBottom,     c.contentRight,
                          c.contentTopLeft, c.contentTopRight, c.contentBottomLeft, c.contentBottomRight};
  for (int i = 0; i < 8; ++i) contentBorder_[i]->SetBounds(border[i]);
  contentBorder_[3]->BringToFront();  // Image_content_right
  contentBorder_[5]->BringToFront();  // Image_content_topright
  imageRectTop_->SetBounds(c.imageRectTop);
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    headerTiles_[i]->SetBounds(c.tiles[i]);
    headerLabels_[i]->SetBounds(c.labels[i]);
    headerIcons_[i]->SetBounds(c.icons[i]);
  }
  pageNote_->SetBounds(c.pageNote);
  FillPages();
}

void TFixWindows_FormMain::ArrangeGeneralPage() {
  layout::GeneralPageOwn own;
  own.scanButton = buttonScan_->Bounds().Extent();
  own.fixButton = buttonFix_->Bounds().Extent();
  own.progressHeight = imgProgressBarMain_->Bounds().height;
  own.selectAll = checkBoxSelectAll_->Bounds().Extent();
  const layout::GeneralPageLayout g = layout::ArrangeGeneralPage(pageNote_->Page(0).ClientSize(), own);
  buttonScan_->SetBounds(g.buttonScan);
  buttonStopScan_->SetBounds(g.buttonStopScan);
  buttonFix_->SetBounds(g.buttonFix);
  buttonStopFix_->SetBounds(g.buttonStopFix);
  listViewFix_->SetBounds(g.listView);
  listViewFix_->SetColumnWidth(1, g.column1);
  listViewFix_->SetColumnWidth(0, g.column0);
  imgProgressBarMain_->SetBounds(g.progressBar);
  Rect box = g.selectAll;
  box.left += selectAllShift_;
  checkBoxSelectAll_->SetBounds(box);
}

void TFixWindows_FormMain::ApplyShapes() {
  const layout::RoundShape w = layout::WindowShape(WindowBounds().Extent());
  ui::win32::Region window(CreateRoundRectRgn(w.bounds.left, w.bounds.top, w.bounds.Right(), w.bounds.Bottom(),
                                              w.ellipse, w.ellipse));
  // The system owns a region once it is set.
  SetWindowRgn(hwnd_, window.release(), TRUE);
  const layout::RoundShape p = layout::PanelShape(pnlBK_->ClientSize());
  ui::win32::Region panel(CreateRoundRectRgn(p.bounds.left, p.bounds.top, p.bounds.Right(), p.bounds.Bottom(),
                                             p.ellipse, p.ellipse));
  SetWindowRgn(pnlBK_->hwnd(), panel.release(), TRUE);
}

void TFixWindows_FormMain::FitLastColumn() {
  if (!listViewFix_) return;
  const auto width = layout::FitLastColumn(listViewFix_->ColumnWidths(), listViewFix_->ClientWidth(),
                                           listViewFix_->ItemCount(), GetSystemMetrics(SM_CXVSCROLL));
  if (!width) return;
  SendMessageW(listViewFix_->hwnd(), WM_SETREDRAW, FALSE, 0);
  listViewFix_->SetColumnWidth(listViewFix_->ColumnCount() - 1, *width);
  SendMessageW(listViewFix_->hwnd(), WM_SETREDRAW, TRUE, 0);
}

Rect TFixWindows_FormMain::WindowBounds() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return ui::win32::FromRECT(r);
}

void TFixWindows_FormMain::SetWindowBounds(const Rect& r) {
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFixWindows_FormMain::MaximiseOrRestore() {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi);
  const SizeToggle::Outcome o =
      sizeToggle_.Toggle(WindowBounds(), ui::win32::FromRECT(mi.rcWork), listViewFix_->Bounds().width);
  SetWindowBounds(o.bounds);
  listViewFix_->SetColumnWidth(0, o.column0);
  listViewFix_->SetColumnWidth(1, o.column1);
  rdbtnMaxM_->SetVisible(o.showMaximise);
  rdBtnMax_->SetVisible(o.showRestore);
  ArrangeWindow();
}

void TFixWindows_FormMain::Minimise() { SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void TFixWindows_FormMain::StartMove() {
  ReleaseCapture();
  // SC_MOVE with the caption hit-test code: the system drags the window with the mouse.
  SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
}

void TFixWindows_FormMain::ResizeMove(Edge edge) {
  const bool dragging = edge == Edge::Grip ? gripDragging_ : edgeDragging_;
  if (dragging) {
    POINT cursor;
    GetCursorPos(&cursor);
    SetWindowBounds(ResizeByEdge(edge, WindowBounds(), {cursor.x, cursor.y}));
  }
  RepaintNow();
}

void TFixWindows_FormMain::RepaintNow() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TFixWindows_FormMain::RdBtnHint(ui::win32::ImageButton& button, const std::wstring& hint) {
  button.SetHint(hint);
}

void TFixWindows_FormMain::OnMouseWheel(WPARAM wp, LPARAM lp) {
  const int page = pageNote_->TabIndex();
  ScrollBox& desktop = *categories_[0].scrollBox;
  POINT p = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  ScreenToClient(desktop.hwnd(), &p);
  const int shown = pageNoteAdvancedFix_->TabIndex();
  ScrollBox& box = *categories_[static_cast<std::size_t>(shown < 0 ? 0 : shown)].scrollBox;
  const WheelOutcome w = WheelOnWindow(page, {p.x, p.y}, desktop.Bounds().Extent(), box.Position(),
                                       GET_WHEEL_DELTA_WPARAM(wp), box.Range());
  if (w.scroll) box.SetPosition(w.position);
  if (w.repaint) RepaintNow();
}

}  // namespace corrivo::app

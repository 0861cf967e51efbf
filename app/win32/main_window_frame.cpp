// The self-drawn frame: the layout pass, page switching, moving, resizing, maximising and
// restoring, minimising and the mouse wheel.
#include <windowsx.h>

#include "app/layout.h"
#include "app/win32/main_window.h"

namespace corrivo::app {
namespace {

// `inner`, given in the same coordinates as `outer`, in `outer`'s own.
Rect Within(const Rect& inner, const Rect& outer) {
  return {inner.left - outer.left, inner.top - outer.top, inner.width, inner.height};
}

}  // namespace

void MainWindow::ApplyHeaderLooks() {
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    headerTiles_[i]->SetImageIndex(nav_.HeaderPicture(i));
    headerLabels_[i]->SetColour(ui::win32::Rgb(nav_.HeaderLabelColour(i)));
  }
}

Page MainWindow::CurrentPage() const { return static_cast<Page>(notebook_->TabIndex()); }

void MainWindow::ShowPage(Page page) {
  const int index = static_cast<int>(page);
  notebook_->SetTabIndex(index);
  if (!nav_.ShowPage(index)) return;
  ApplyHeaderLooks();
  if (page == Page::GeneralFix) {
    // The creation sequence shows this page before the window is shown; the window is laid
    // out once, when it is.
    if (IsWindowVisible(hwnd_)) ArrangeWindow();
  } else if (page == Page::AdvancedFix) {
    EnsureAdvancedPage();
    const Size note = notebook_->ClientSize();
    advancedPage_->SetBounds({0, 0, note.width, note.height});
    EnsureRows(nav_.Category());
    ArrangeAdvancedPage();
    ArrangeWindow();
    SetFocus(categories_[0].scrollBox->hwnd());
  } else {
    EnsureReRegistrationPage(page == Page::InternetExplorer ? internet_ : mediaPlayer_);
  }
}

// Pages 2 and 3 keep their inner panels centred.
void MainWindow::CentreReRegistrationPage(ReRegistrationPage& r) {
  const Size outer = r.fill->ClientSize();
  const Size inner = r.centred->Bounds().Extent();
  r.centred->SetBounds({(outer.width - inner.width) / 2, (outer.height - inner.height) / 2, inner.width, inner.height});
}

void MainWindow::ArrangeWindow() {
  if (!contentPanel_) return;
  const layout::FrameLayout f = ArrangeFrameParts();
  ArrangeContentParts(f.contentPanel.Extent());
  const Page page = CurrentPage();
  if (page == Page::GeneralFix) {
    ArrangeGeneralPage();
  } else if (page == Page::AdvancedFix) {
    RedrawWindow(contentPanel_->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ArrangeAdvancedPage();
  }
  for (ReRegistrationPage* r : {&internet_, &mediaPlayer_}) {
    if (r->fill) CentreReRegistrationPage(*r);
  }
  ApplyShapes();
}

layout::FrameLayout MainWindow::ArrangeFrameParts() {
  const Rect bounds = WindowBounds();
  layout::OwnSizes own;
  own.closeButton = closeButton_->Bounds().Extent();
  own.restoreButton = restoreButton_->Bounds().Extent();
  own.maximiseButton = maximiseButton_->Bounds().Extent();
  own.minimiseButton = minimiseButton_->Bounds().Extent();
  own.sizeGrip = sizeGrip_->Bounds().Extent();
  own.description = description_->Bounds().Extent();
  if (userNotice_) own.userNotice = userNotice_->Bounds().Extent();
  const layout::FrameLayout f = layout::ArrangeFrame(bounds.Extent(), own);
  background_->SetBounds(f.background);
  // The title icon and the logo are drawn by the background they lie on.
  background_->SetOverlay(0, skin_.titleIcon, Within(f.titleIcon, f.background));
  background_->SetOverlay(1, skin_.logo, Within(f.logo, f.background));
  topEdge_->SetBounds(f.topEdge);
  leftEdge_->SetBounds(f.leftEdge);
  bottomEdge_->SetBounds(f.bottomEdge);
  rightEdge_->SetBounds(f.rightEdge);
  // So are the frame's corners, where they reach into it (over the edges they match them).
  const Rect corners[] = {f.topLeftCorner, f.topRightCorner, f.bottomLeftCorner, f.bottomRightCorner};
  for (std::size_t i = 0; i < 4; ++i) background_->SetOverlay(2 + i, skin_.corner, Within(corners[i], f.background));
  closeButton_->SetBounds(f.closeButton);
  restoreButton_->SetBounds(f.restoreButton);
  maximiseButton_->SetBounds(f.maximiseButton);
  minimiseButton_->SetBounds(f.minimiseButton);
  title_->SetBounds(f.title);
  sizeGrip_->SetBounds(f.sizeGrip);
  description_->SetBounds(f.description);
  if (userNotice_) userNotice_->SetBounds(f.userNotice);
  contentPanel_->SetBounds(f.contentPanel);
  return f;
}

void MainWindow::ArrangeContentParts(Size panel) {
  layout::HeaderSizes header;
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    header.labels[i] = headerLabels_[i]->Bounds().Extent();
  }
  header.contentCorner = skin_.contentCorner->size;
  const layout::ContentLayout c = layout::ArrangeContent(panel, header);
  contentLeftEdge_->SetBounds(c.contentLeft);
  const Rect edges[] = {c.contentTop, c.contentBottom, c.contentRight};
  for (std::size_t i = 0; i < 3; ++i) contentPanel_->SetDecoration(i, skin_.contentEdge, edges[i]);
  const Rect corners[] = {c.contentTopLeft, c.contentTopRight, c.contentBottomLeft, c.contentBottomRight};
  for (std::size_t i = 0; i < 4; ++i) contentPanel_->SetDecoration(3 + i, skin_.contentCorner, corners[i]);
  headerStrip_->SetBounds(c.headerStrip);
  for (int i = 0; i < layout::kHeaderTileCount; ++i) {
    headerTiles_[i]->SetBounds(c.tiles[i]);
    headerLabels_[i]->SetBounds(c.labels[i]);
    headerTiles_[i]->SetOverlay(0, skin_.headerIcons[i], Within(c.icons[i], c.tiles[i]));  // the tile draws its icon
  }
  notebook_->SetBounds(c.notebook);
  FillPages();
}

void MainWindow::ArrangeGeneralPage() {
  layout::GeneralPageOwn own;
  own.scanButton = scanButton_->Bounds().Extent();
  own.fixButton = fixButton_->Bounds().Extent();
  own.progressHeight = generalProgress_->Bounds().height;
  own.selectAll = selectAll_->Bounds().Extent();
  const layout::GeneralPageLayout g = layout::ArrangeGeneralPage(notebook_->Page(0).ClientSize(), own);
  scanButton_->SetBounds(g.scanButton);
  stopScanButton_->SetBounds(g.stopScanButton);
  fixButton_->SetBounds(g.fixButton);
  stopFixButton_->SetBounds(g.stopFixButton);
  scanList_->SetBounds(g.list);
  scanList_->SetColumnWidth(1, g.statusColumn);
  scanList_->SetColumnWidth(0, g.itemColumn);
  generalProgress_->SetBounds(g.progress);
  Rect box = g.selectAll;
  box.left += selectAllShift_;
  selectAll_->SetBounds(box);
}

void MainWindow::ApplyShapes() {
  // A new region repaints the whole window: only a change of size makes one.
  const Size windowSize = WindowBounds().Extent();
  if (windowSize != shapedWindow_) {
    shapedWindow_ = windowSize;
    const layout::RoundShape w = layout::WindowShape(windowSize);
    ui::win32::Region window(CreateRoundRectRgn(w.bounds.left, w.bounds.top, w.bounds.Right(), w.bounds.Bottom(),
                                                w.ellipse, w.ellipse));
    // The system owns a region once it is set.
    SetWindowRgn(hwnd_, window.release(), TRUE);
  }
  const Size panelSize = contentPanel_->ClientSize();
  if (panelSize != shapedPanel_) {
    shapedPanel_ = panelSize;
    const layout::RoundShape p = layout::PanelShape(panelSize);
    ui::win32::Region panel(CreateRoundRectRgn(p.bounds.left, p.bounds.top, p.bounds.Right(), p.bounds.Bottom(),
                                               p.ellipse, p.ellipse));
    SetWindowRgn(contentPanel_->hwnd(), panel.release(), TRUE);
  }
}

void MainWindow::FitLastColumn() {
  if (!scanList_) return;
  const auto width = layout::FitLastColumn(scanList_->ColumnWidths(), scanList_->ClientWidth(),
                                           scanList_->ItemCount(), GetSystemMetrics(SM_CXVSCROLL));
  if (!width) return;
  SendMessageW(scanList_->hwnd(), WM_SETREDRAW, FALSE, 0);
  scanList_->SetColumnWidth(scanList_->ColumnCount() - 1, *width);
  SendMessageW(scanList_->hwnd(), WM_SETREDRAW, TRUE, 0);
}

Rect MainWindow::WindowBounds() const {
  RECT r;
  GetWindowRect(hwnd_, &r);
  return ui::win32::FromRECT(r);
}

void MainWindow::SetWindowBounds(const Rect& r) {
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::MaximiseOrRestore() {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi);
  const SizeToggle::Outcome o =
      sizeToggle_.Toggle(WindowBounds(), ui::win32::FromRECT(mi.rcWork), scanList_->Bounds().width);
  SetWindowBounds(o.bounds);
  scanList_->SetColumnWidth(0, o.itemColumn);
  scanList_->SetColumnWidth(1, o.statusColumn);
  maximiseButton_->SetVisible(o.showMaximise);
  restoreButton_->SetVisible(o.showRestore);
  ArrangeWindow();
}

void MainWindow::Minimise() { SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0); }

void MainWindow::StartMove() {
  ReleaseCapture();
  // SC_MOVE with the caption hit-test code: the system drags the window with the mouse.
  SendMessageW(hwnd_, WM_SYSCOMMAND, 0xF012, 0);
}

void MainWindow::ResizeMove(Edge edge) {
  const bool dragging = edge == Edge::Grip ? gripDragging_ : edgeDragging_;
  if (dragging) {
    POINT cursor;
    GetCursorPos(&cursor);
    SetWindowBounds(ResizeByEdge(edge, WindowBounds(), {cursor.x, cursor.y}));
  }
  RepaintNow();
}

void MainWindow::RepaintNow() {
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void MainWindow::OnMouseWheel(WPARAM wp, LPARAM lp) {
  const Page page = CurrentPage();
  if (!advancedPageReady_) return;  // not made yet, so not shown: the wheel has nothing to scroll
  ScrollBox& desktop = *categories_[0].scrollBox;
  POINT p = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  ScreenToClient(desktop.hwnd(), &p);
  const int shown = categoryNotebook_->TabIndex();
  ScrollBox& box = *categories_[static_cast<std::size_t>(shown < 0 ? 0 : shown)].scrollBox;
  const WheelOutcome w = WheelOnWindow(page, {p.x, p.y}, desktop.Bounds().Extent(), box.Position(),
                                       GET_WHEEL_DELTA_WPARAM(wp), box.Range());
  if (w.scroll) box.SetPosition(w.position);
  if (w.repaint) RepaintNow();
}

}  // namespace corrivo::app

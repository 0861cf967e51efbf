#include "app/layout.h"

#include <algorithm>

namespace corrivo::layout {
namespace {

Rect At(int left, int top, Size own) { return {left, top, own.width, own.height}; }

}  // namespace

FrameLayout ArrangeFrame(Size window, const OwnSizes& own) {
  const int w = window.width;
  const int h = window.height;
  FrameLayout f;
  f.background = {2, 2, w - 4, h - 4};
  f.topEdge = {1, 0, w, 2};
  f.leftEdge = {0, 0, 2, h};
  f.bottomEdge = {0, h - 2, w, 2};
  f.rightEdge = {w - 2, 0, 2, h};
  f.topRightCorner = At(w - 4, 0, own.corner);
  f.topLeftCorner = At(0, 0, own.corner);
  f.bottomLeftCorner = At(0, h - 4, own.corner);
  f.bottomRightCorner = At(w - 4, h - 4, own.corner);
  f.closeButton = At(w - own.closeButton.width - 4, 4, own.closeButton);
  f.restoreButton = At(f.closeButton.left - own.restoreButton.width - 4, f.closeButton.top, own.restoreButton);
  // The maximise and restore buttons share one place (one shows at a time), measured by the
  // restore button.
  f.maximiseButton = At(f.closeButton.left - own.restoreButton.width - 4, f.closeButton.top, own.maximiseButton);
  f.minimiseButton = At(f.restoreButton.left - own.minimiseButton.width - 4, f.restoreButton.top, own.minimiseButton);
  f.titleIcon = At(10, 12, own.titleIcon);
  f.title = {28, 11, f.minimiseButton.left - 28, f.minimiseButton.height};
  f.sizeGrip = At(w - 13, h - 13, own.sizeGrip);
  f.logo = At(40, 40, own.logo);
  f.description = At(f.logo.left + f.logo.width + 20, 55, own.description);
  f.userNotice = At(f.description.left, f.description.top + f.description.height + 6, own.userNotice);
  f.contentPanel = {11, 104, w - 22, h - 119};
  return f;
}

ContentLayout ArrangeContent(Size panel, const HeaderSizes& own) {
  const int b = panel.width;
  const int bh = panel.height;
  ContentLayout c;
  c.contentBottom = {0, bh - 3, b, 3};
  c.contentRight = {b - 2, 0, 2, bh};
  c.contentLeft = {0, 0, 3, bh};
  c.contentTop = {0, -1, b, 3};
  c.contentTopLeft = At(1, 0, own.contentCorner);
  c.contentTopRight = At(b - 4, 0, own.contentCorner);
  c.contentBottomRight = At(b - 4, bh - 4, own.contentCorner);
  c.contentBottomLeft = At(0, bh - 4, own.contentCorner);
  c.headerStrip = {2, 2, b - 5, 80};
  c.tiles[0] = {0, 0, 160, 80};
  const int lefts[kHeaderTileCount] = {0, 162, 322, 482};
  for (int i = 1; i < kHeaderTileCount; ++i) {
    c.tiles[i] = {lefts[i], 0, c.tiles[i - 1].width, c.tiles[i - 1].height};
  }
  for (int i = 0; i < kHeaderTileCount; ++i) {
    const Rect& t = c.tiles[i];
    const Size l = own.labels[i];
    c.labels[i] = At(t.left + t.width / 2 - l.width / 2, t.top + t.height - 15 - l.height, l);
    const Size ic = own.icons[i];
    c.icons[i] = At(t.left + t.width / 2 - ic.width / 2, c.labels[i].top - ic.height, ic);
  }
  c.notebook = {2, 83, b - 5, bh - 86};
  return c;
}

GeneralPageLayout ArrangeGeneralPage(Size page, const GeneralPageOwn& own) {
  GeneralPageLayout g;
  g.scanButton = At(page.width - 220, page.height - 35, own.scanButton);
  g.stopScanButton = g.scanButton;
  g.fixButton = At(g.scanButton.left + 100, g.scanButton.top, own.fixButton);
  g.stopFixButton = g.fixButton;
  g.list = {0, 0, page.width, g.scanButton.top - 11};
  g.statusColumn = 100;
  g.itemColumn = g.list.width - 105;
  g.progress = {g.list.left, g.scanButton.top + 5, g.scanButton.left - 20, own.progressHeight};
  g.selectAll = At(g.list.left + 5, g.scanButton.top + 3, own.selectAll);
  return g;
}

RoundShape WindowShape(Size window) {
  return {Rect::FromEdges(0, 0, window.width + 1, window.height + 1), kCornerRadius};
}

RoundShape PanelShape(Size panelClient) {
  return {{0, 0, panelClient.width, panelClient.height}, kCornerRadius};
}

std::optional<int> FitLastColumn(const std::vector<int>& columnWidths, int clientWidth, int itemCount,
                                 int scrollBarWidth) {
  if (columnWidths.empty()) return std::nullopt;
  int sum = 0;
  for (std::size_t i = 0; i + 1 < columnWidths.size(); ++i) sum += columnWidths[i];
  int available = clientWidth;
  if (itemCount == 0) available -= scrollBarWidth;
  if (available <= sum) return std::nullopt;
  return std::max(5, available - sum);
}

}  // namespace corrivo::layout

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
  f.img1 = {2, 2, w - 4, h - 4};
  f.imageTop = {1, 0, w, 2};
  f.imageLeft = {0, 0, 2, h};
  f.imageBottom = {0, h - 2, w, 2};
  f.imageRight = {w - 2, 0, 2, h};
  f.imageTopRight = At(w - 4, 0, own.corner);
  f.imageTopLeft = At(0, 0, own.corner);
  f.imageBottomLeft = At(0, h - 4, own.corner);
  f.imageBottomRight = At(w - 4, h - 4, own.corner);
  f.closeButton = At(w - own.closeButton.width - 4, 4, own.closeButton);
  f.maxButton = At(f.closeButton.left - own.maxButton.width - 4, f.closeButton.top, own.maxButton);
  // The maximise button takes the restore button's place, measured by the restore button.
  f.maxMButton = At(f.closeButton.left - own.maxButton.width - 4, f.closeButton.top, own.maxMButton);
  f.minButton = At(f.maxButton.left - own.minButton.width - 4, f.maxButton.top, own.minButton);
  f.titleIcon = At(10, 12, own.titleIcon);
  f.titleLabel = {28, 11, f.minButton.left - 28, f.minButton.height};
  f.grip = At(w - 13, h - 13, own.grip);
  f.mainLogo = At(40, 40, own.mainLogo);
  f.infoLabel = At(f.mainLogo.left + f.mainLogo.width + 20, 55, own.infoLabel);
  f.pnlBK = {11, 104, w - 22, h - 119};
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
  c.imageRectTop = {2, 2, b - 5, 80};
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
  c.pageNote = {2, 83, b - 5, bh - 86};
  return c;
}

GeneralPageLayout ArrangeGeneralPage(Size page, const GeneralPageOwn& own) {
  GeneralPageLayout g;
  g.buttonScan = At(page.width - 220, page.height - 35, own.scanButton);
  g.buttonStopScan = g.buttonScan;
  g.buttonFix = At(g.buttonScan.left + 100, g.buttonScan.top, own.fixButton);
  g.buttonStopFix = g.buttonFix;
  g.listView = {0, 0, page.width, g.buttonScan.top - 11};
  g.column1 = 100;
  g.column0 = g.listView.width - 105;
  g.progressBar = {g.listView.left, g.buttonScan.top + 5, g.buttonScan.left - 20, own.progressHeight};
  g.selectAll = At(g.listView.left + 5, g.buttonScan.top + 3, own.selectAll);
  return g;
}

RoundShape WindowShape(Size window) {
  return {Rect::FromEdges(0, 0, window.width + 1, window.height + 1), kCornerRadius};
}

RoundShape PanelShape(Size panelClient) {
  return {{0, 0, panelClient.width, panelClient.height}, kCornerRadius};
}

std::optional<int> FitLastColumn(const std::vector<int>& columnWidths, int clientWidth, int itemCount,
                                 int scrollBarWidth, bool report, bool destroying) {
  if (!report || destroying || columnWidths.empty()) return std::nullopt;
  int sum = 0;
  for (std::size_t i = 0; i + 1 < columnWidths.size(); ++i) sum += columnWidths[i];
  int available = clientWidth;
  if (itemCount == 0) available -= scrollBarWidth;
  if (available <= sum) return std::nullopt;
  return std::max(5, available - sum);
}

}  // namespace corrivo::layout

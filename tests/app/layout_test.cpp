// The layout pass as relations: which edges follow the window as it grows, what lies inside what.
#include "app/layout.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/advanced_layout.h"

namespace corrivo::layout {
namespace {

using Edges = std::array<int, 4>;  // left, top, right, bottom
Edges EdgesOf(const Rect& r) { return {r.left, r.top, r.Right(), r.Bottom()}; }
bool Inside(const Rect& in, const Rect& out) {
  return in.left >= out.left && in.top >= out.top && in.Right() <= out.Right() && in.Bottom() <= out.Bottom();
}
bool Apart(const Rect& a, const Rect& b) {
  return a.Right() <= b.left || b.Right() <= a.left || a.Bottom() <= b.top || b.Bottom() <= a.top;
}

// Which edges of each rectangle follow a window grown by (dx, dy): "LTRB", '-' for one that stays.
template <typename L>
void ExpectFollow(const L& a, const L& b, int dx, int dy,
                  std::initializer_list<std::pair<Rect L::*, const char*>> rules) {
  for (const auto& [r, f] : rules) {
    const Edges x = EdgesOf(a.*r), y = EdgesOf(b.*r);
    EXPECT_EQ((Edges{y[0] - x[0], y[1] - x[1], y[2] - x[2], y[3] - x[3]}),
              (Edges{f[0] == 'L' ? dx : 0, f[1] == 'T' ? dy : 0, f[2] == 'R' ? dx : 0, f[3] == 'B' ? dy : 0}))
        << f;
  }
}

TEST(ArrangeFrameTest, EdgesFollowTheBordersAndTheTitleButtonsTheRightEdge) {
  // Distinct sizes, so that a component measured by a neighbour shows up.
  const OwnSizes own{.closeButton = {31, 27}, .restoreButton = {33, 28}, .maximiseButton = {29, 26},
                     .minimiseButton = {30, 25}};
  using F = FrameLayout;
  const F l = ArrangeFrame(kMinimumSize, own);
  ExpectFollow(l, ArrangeFrame({1024, 700}, own), 1024 - kMinimumSize.width, 700 - kMinimumSize.height,
               {{&F::background, "--RB"}, {&F::contentPanel, "--RB"}, {&F::leftEdge, "---B"}, {&F::topEdge, "--R-"},
                {&F::rightEdge, "L-RB"}, {&F::bottomEdge, "-TRB"}, {&F::topLeftCorner, "----"},
                {&F::topRightCorner, "L-R-"}, {&F::bottomLeftCorner, "-T-B"}, {&F::bottomRightCorner, "LTRB"},
                {&F::sizeGrip, "LTRB"}, {&F::closeButton, "L-R-"}, {&F::restoreButton, "L-R-"},
                {&F::maximiseButton, "L-R-"}, {&F::minimiseButton, "L-R-"}, {&F::title, "--R-"},
                {&F::titleIcon, "----"}, {&F::logo, "----"}, {&F::description, "----"}});
  // The edges lie on the border, the background within them, the rest apart on it.
  EXPECT_EQ((Edges{l.leftEdge.left, l.topEdge.top, l.rightEdge.Right(), l.bottomRightCorner.Bottom()}),
            (Edges{0, 0, kMinimumSize.width, kMinimumSize.height}));
  // The bottom-right corner ends in the window's corner; the grip sits 13 pixels in from it.
  EXPECT_EQ((Edges{l.sizeGrip.left, l.sizeGrip.top, l.bottomRightCorner.Right(), l.bottomRightCorner.Bottom()}),
            (Edges{kMinimumSize.width - 13, kMinimumSize.height - 13, kMinimumSize.width, kMinimumSize.height}));
  EXPECT_EQ(EdgesOf(l.background), (Edges{l.leftEdge.Right(), l.topEdge.Bottom(), l.rightEdge.left, l.bottomEdge.top}));
  const Rect parts[] = {l.closeButton, l.restoreButton, l.minimiseButton, l.titleIcon,    l.title,
                        l.logo,        l.description,   l.contentPanel,   l.sizeGrip};
  for (const Rect& r : parts) {
    EXPECT_TRUE(Inside(r, l.background));
    for (const Rect& other : parts) EXPECT_TRUE(&r == &other || Apart(r, other));
  }
  // The maximise button takes the restore button's place (one shows at a time); the title runs up to them.
  EXPECT_EQ(l.maximiseButton.left, l.restoreButton.left);
  EXPECT_EQ(l.maximiseButton.Extent(), own.maximiseButton);
  EXPECT_EQ(l.title.Right(), l.minimiseButton.left);
}

TEST(ArrangeContentTest, TilesSitSideBySideAboveThePagesWithTheirCaptionsCentred) {
  const HeaderSizes own{.labels = {{{60, 14}, {71, 15}, {110, 13}, {96, 16}}},
                        .icons = {{{32, 32}, {30, 31}, {32, 30}, {28, 32}}}};
  using C = ContentLayout;
  const C a = ArrangeContent({659, 472}, own);
  ExpectFollow(a, ArrangeContent({800, 500}, own), 141, 28,
               {{&C::contentBottom, "-TRB"}, {&C::contentRight, "L-RB"}, {&C::contentLeft, "---B"},
                {&C::contentTop, "--R-"}, {&C::contentBottomRight, "LTRB"}, {&C::headerStrip, "--R-"},
                {&C::notebook, "--RB"}});
  // The pages under the tiles, as wide as the header strip, down to the bottom border.
  EXPECT_EQ(EdgesOf(a.notebook),
            (Edges{a.headerStrip.left, a.notebook.top, a.headerStrip.Right(), a.contentBottom.top}));
  for (int i = 0; i < kHeaderTileCount; ++i) {
    const Rect& t = a.tiles[i];
    EXPECT_TRUE(Apart(t, a.notebook) && (i == 0 || t.left >= a.tiles[i - 1].Right())) << i;
    // The icon on the caption, both inside the tile and centred (an odd width leans left).
    EXPECT_TRUE(Inside(a.labels[i], t) && Inside(a.icons[i], t) && a.icons[i].Bottom() == a.labels[i].top) << i;
    for (const Rect& r : {a.labels[i], a.icons[i]}) EXPECT_EQ(r.left + r.width / 2, t.left + t.width / 2) << i;
  }
}

TEST(ArrangeGeneralPageTest, ButtonsFollowTheBottomRightAndTheListTakesTheRest) {
  const GeneralPageOwn own{{88, 25}, {86, 24}, 15, {90, 17}};
  using G = GeneralPageLayout;
  const G a = ArrangeGeneralPage({654, 386}, own), b = ArrangeGeneralPage({1000, 600}, own);
  ExpectFollow(a, b, 346, 214,
               {{&G::scanButton, "LTRB"}, {&G::fixButton, "LTRB"}, {&G::list, "--RB"}, {&G::progress, "-TRB"},
                {&G::selectAll, "-T-B"}});
  EXPECT_TRUE(a.stopScanButton == a.scanButton && a.stopFixButton == a.fixButton);  // each Stop over its button
  for (const Rect& r : {a.list, a.progress, a.fixButton})
    EXPECT_TRUE(Inside(r, {0, 0, 654, 386}) && Apart(r, a.scanButton));
  for (const G& g : {a, b}) EXPECT_EQ(g.itemColumn + g.statusColumn, g.list.width - 5);
}

}  // namespace
}  // namespace corrivo::layout

// The skin's gradients, painted into 32-bit DIB sections and read back pixel by pixel: the same
// colours as the system's GradientFill that drew them before (the test may link msimg32; the
// product not), and no seam where a repaint of any part, or through a moved viewport, meets the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

#include "widgets/win32/gdi.h"
#include "widgets/win32/pictures.h"

namespace corrivo::ui::win32 {
namespace {

// A top-down 32-bit bitmap in a memory DC, every pixel 0x010203 to start with.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(bi.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_.get());
    if (bits_) std::fill(bits_, bits_ + width * height, 0x010203u);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  bool ok() const { return bits_ != nullptr; }
  // "" when both canvases hold the same pixels, else the first difference.
  std::string Diff(const Canvas& other) const {
    GdiFlush();
    const auto [mine, theirs] = std::mismatch(bits_, bits_ + width_ * height_, other.bits_);
    if (mine == bits_ + width_ * height_) return "";
    char text[80];
    const long at = static_cast<long>(mine - bits_);
    std::snprintf(text, sizeof text, "first difference at (%ld, %ld): %06x against %06x", at % width_, at / width_,
                  static_cast<unsigned>(*mine & 0xFFFFFF), static_cast<unsigned>(*theirs & 0xFFFFFF));
    return text;
  }

 private:
  int width_, height_;
  HDC dc_;
  Bitmap bitmap_;
  std::uint32_t* bits_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

void SystemGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  auto vertex = [](LONG x, LONG y, COLORREF c) {
    return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(c) << 8), static_cast<COLOR16>(GetGValue(c) << 8),
                     static_cast<COLOR16>(GetBValue(c) << 8), 0};
  };
  TRIVERTEX v[2] = {vertex(r.left, r.top, top), vertex(r.right, r.bottom, bottom)};
  GRADIENT_RECT g = {0, 1};
  GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

TEST(FillGradient, PaintsWhatTheSystemGradientPaintedAndNothingElse) {
  // Rising, falling and mixed channels; one row; more rows than colour steps; the skin's header.
  const std::tuple<RECT, COLORREF, COLORREF> cases[] = {
      {{0, 0, 40, 30}, RGB(0, 0, 0), RGB(255, 255, 255)},     {{3, 5, 37, 29}, RGB(250, 156, 60), RGB(222, 108, 30)},
      {{0, 0, 17, 1}, RGB(72, 152, 247), RGB(10, 20, 30)},    {{10, 0, 60, 300}, RGB(46, 49, 63), RGB(33, 36, 48)},
      {{0, 7, 64, 257}, RGB(255, 0, 128), RGB(0, 255, 129)},
  };
  for (const auto& [r, top, bottom] : cases) {
    Canvas mine(80, 320), system(80, 320);
    ASSERT_TRUE(mine.ok() && system.ok());
    FillGradient(mine.dc(), r, top, bottom);
    SystemGradient(system.dc(), r, top, bottom);
    EXPECT_EQ(mine.Diff(system), "") << "rect " << r.left << "," << r.top << " " << r.right << "," << r.bottom;
  }
}

TEST(FillGradient, ARepaintOfAnyPartOrThroughAMovedViewportMeetsTheWholePaint) {
  const RECT r = {0, 0, 60, 240};
  Canvas whole(60, 240);
  FillGradient(whole.dc(), r, RGB(46, 49, 63), RGB(90, 160, 250));
  for (const RECT& clip : {RECT{0, 100, 60, 101}, RECT{5, 17, 40, 133}, RECT{0, 239, 60, 240}, RECT{20, 0, 21, 240}}) {
    Canvas repaint(60, 240);
    FillGradient(repaint.dc(), r, RGB(46, 49, 63), RGB(90, 160, 250));
    IntersectClipRect(repaint.dc(), clip.left, clip.top, clip.right, clip.bottom);
    FillSolid(repaint.dc(), r, RGB(255, 0, 0));  // as a control drawn over the backdrop would
    FillGradient(repaint.dc(), r, RGB(46, 49, 63), RGB(90, 160, 250));
    EXPECT_EQ(repaint.Diff(whole), "") << "clip " << clip.left << "," << clip.top;
  }
  // Back buffers move the viewport so that drawing keeps the window's coordinates.
  Canvas moved(60, 240);
  SetViewportOrgEx(moved.dc(), -100, -200, nullptr);
  FillGradient(moved.dc(), {100, 200, 160, 440}, RGB(46, 49, 63), RGB(90, 160, 250));
  EXPECT_EQ(moved.Diff(whole), "");
}

TEST(FillGradient, EmptyRectanglesPaintNothingAndHugeOnesKeepTheirColoursInRange) {
  Canvas canvas(20, 20), expected(20, 20);
  FillGradient(canvas.dc(), {5, 5, 5, 15}, RGB(0, 0, 0), RGB(255, 255, 255));
  FillGradient(canvas.dc(), {5, 15, 15, 5}, RGB(0, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Diff(expected), "");
  FillGradient(canvas.dc(), {-10, -20000000, 10, 20000000}, RGB(0, 0, 0), RGB(255, 255, 255));
  FillSolid(expected.dc(), {0, 0, 10, 20}, RGB(127, 127, 127));  // the middle rows of the whole
  EXPECT_EQ(canvas.Diff(expected), "");
}

// Bands of paints share one buffer: a band painted while another is open (a paint inside a
// paint) must not draw into the open one, and nothing a band sets (clipping, the viewport)
// may reach the next.
TEST(BandBuffer, ANestedBandGetsItsOwnBufferAndEachBandStartsClean) {
  Canvas screen(40, 40);
  ASSERT_TRUE(screen.ok());
  const RECT band = {10, 10, 30, 30};
  {
    BandBuffer outer(screen.dc(), band);
    FillSolid(outer.dc(), band, RGB(255, 0, 0));
    {
      BandBuffer inner(screen.dc(), band);
      FillSolid(inner.dc(), band, RGB(0, 0, 255));
      IntersectClipRect(inner.dc(), 0, 0, 0, 0);
    }
    EXPECT_EQ(GetPixel(outer.dc(), 20, 20), RGB(255, 0, 0));
    IntersectClipRect(outer.dc(), 0, 0, 0, 0);
  }
  BandBuffer next(screen.dc(), {0, 0, 8, 8});
  FillSolid(next.dc(), {0, 0, 8, 8}, RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(next.dc(), 7, 7), RGB(0, 255, 0));
  next.CopyTo(screen.dc(), {0, 0, 8, 8});
  EXPECT_EQ(GetPixel(screen.dc(), 3, 3), RGB(0, 255, 0));
}

TEST(Overlays, EachPictureLandsAtItsPlaceAndAnUnchangedOneAsksForNoRepaint) {
  Canvas drawn(20, 10), expected(20, 10);
  const PictureRef dot = MakePicture({4, 4}, [](HDC dc, const RECT& r) { FillSolid(dc, r, RGB(9, 9, 9)); });
  Overlays overlays;
  EXPECT_TRUE(overlays.Set(1, dot, {12, 5, 4, 4}));
  EXPECT_FALSE(overlays.Set(1, dot, {12, 5, 4, 4}));
  overlays.Draw(drawn.dc());
  FillSolid(expected.dc(), {12, 5, 16, 9}, RGB(9, 9, 9));
  EXPECT_EQ(drawn.Diff(expected), "");
}

}  // namespace
}  // namespace corrivo::ui::win32

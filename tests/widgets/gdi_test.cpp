// The skin's gradients, painted into 32-bit DIB sections and read back pixel by pixel, against
// the system's GradientFill that drew them before (the test may link msimg32; the product not).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "widgets/win32/gdi.h"

namespace corrivo::ui::win32 {
namespace {

constexpr COLORREF kUntouched = RGB(1, 2, 3);

// A top-down 32-bit bitmap in a memory DC, every pixel kUntouched to start with.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_.get());
    for (int i = 0; i < width * height; ++i) bits_[i] = 0x010203;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  bool ok() const { return bits_ != nullptr; }
  COLORREF At(int x, int y) const {
    GdiFlush();
    const std::uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // "" when both canvases hold the same pixels, else the first difference.
  std::string Diff(const Canvas& other) const {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        if (At(x, y) != other.At(x, y)) {
          return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + "): " +
                 Hex(At(x, y)) + " against " + Hex(other.At(x, y));
        }
      }
    }
    return "";
  }

 private:
  static std::string Hex(COLORREF c) {
    char text[16];
    wsprintfA(text, "%06lx", static_cast<unsigned long>(c));
    return text;
  }
  int width_, height_;
  HDC dc_;
  Bitmap bitmap_;
  std::uint32_t* bits_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

void SystemGradient(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
  TRIVERTEX v[2] = {};
  v[0] = {r.left, r.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
          static_cast<COLOR16>(GetBValue(top) << 8), 0};
  v[1] = {r.right, r.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
          static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0};
  GRADIENT_RECT g = {0, 1};
  GradientFill(dc, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

struct Case {
  RECT r;
  COLORREF top, bottom;
};

// Rising, falling and mixed channels; one row; more rows than colour steps; the skin's header.
const Case kCases[] = {
    {{0, 0, 40, 30}, RGB(0, 0, 0), RGB(255, 255, 255)},
    {{3, 5, 37, 29}, RGB(250, 156, 60), RGB(222, 108, 30)},
    {{0, 0, 17, 1}, RGB(72, 152, 247), RGB(10, 20, 30)},
    {{10, 0, 60, 300}, RGB(46, 49, 63), RGB(33, 36, 48)},
    {{0, 7, 64, 257}, RGB(255, 0, 128), RGB(0, 255, 129)},
};

TEST(FillGradient, PaintsWhatTheSystemGradientPainted) {
  for (const Case& c : kCases) {
    Canvas mine(80, 320), system(80, 320);
    ASSERT_TRUE(mine.ok() && system.ok());
    FillGradient(mine.dc(), c.r, c.top, c.bottom);
    SystemGradient(system.dc(), c.r, c.top, c.bottom);
    EXPECT_EQ(mine.Diff(system), "") << "rect " << c.r.left << "," << c.r.top << " " << c.r.right << ","
                                     << c.r.bottom;
  }
}

// A repaint of part of a gradient must meet the rest of it without a seam.
TEST(FillGradient, ARepaintOfAnyPartMatchesTheWholePaint) {
  const RECT r = {0, 0, 60, 240};
  Canvas whole(60, 240);
  FillGradient(whole.dc(), r, RGB(46, 49, 63), RGB(90, 160, 250));
  const RECT clips[] = {{0, 100, 60, 101}, {5, 17, 40, 133}, {0, 239, 60, 240}, {20, 0, 21, 240}};
  for (const RECT& clip : clips) {
    Canvas repaint(60, 240);
    FillGradient(repaint.dc(), r, RGB(46, 49, 63), RGB(90, 160, 250));
    const int saved = SaveDC(repaint.dc());
    IntersectClipRect(repaint.dc(), clip.left, clip.top, clip.right, clip.bottom);
    // Something else over the area first, as a control drawn over the backdrop would.
    FillSolid(repaint.dc(), r, RGB(255, 0, 0));
    FillGradient(repaint.dc(), r, RGB(46, 49, 63), RGB(90, 160, 250));
    RestoreDC(repaint.dc(), saved);
    EXPECT_EQ(repaint.Diff(whole), "") << "clip " << clip.left << "," << clip.top;
  }
}

TEST(FillGradient, PaintsNothingOutsideItsRectangleOrTheClip) {
  Canvas canvas(50, 50);
  IntersectClipRect(canvas.dc(), 0, 0, 50, 30);
  FillGradient(canvas.dc(), {10, 10, 40, 45}, RGB(0, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(9, 20), kUntouched);
  EXPECT_EQ(canvas.At(40, 20), kUntouched);
  EXPECT_EQ(canvas.At(20, 9), kUntouched);
  EXPECT_EQ(canvas.At(20, 30), kUntouched);
  EXPECT_NE(canvas.At(10, 10), kUntouched);
  EXPECT_NE(canvas.At(39, 29), kUntouched);
}

// Back buffers move the viewport so that drawing keeps the window's coordinates.
TEST(FillGradient, FollowsAMovedViewport) {
  Canvas direct(40, 40), moved(40, 40);
  FillGradient(direct.dc(), {0, 0, 40, 40}, RGB(10, 20, 30), RGB(200, 100, 50));
  SetViewportOrgEx(moved.dc(), -100, -200, nullptr);
  FillGradient(moved.dc(), {100, 200, 140, 240}, RGB(10, 20, 30), RGB(200, 100, 50));
  EXPECT_EQ(moved.Diff(direct), "");
}

TEST(FillGradient, LeavesTheBackgroundColourOfTheDc) {
  Canvas canvas(20, 20);
  SetBkColor(canvas.dc(), RGB(7, 8, 9));
  FillGradient(canvas.dc(), {0, 0, 20, 20}, RGB(0, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetBkColor(canvas.dc()), RGB(7, 8, 9));
}

TEST(FillGradient, EmptyOrInsideOutRectanglesPaintNothing) {
  Canvas canvas(20, 20);
  FillGradient(canvas.dc(), {5, 5, 5, 15}, RGB(0, 0, 0), RGB(255, 255, 255));
  FillGradient(canvas.dc(), {5, 15, 15, 5}, RGB(0, 0, 0), RGB(255, 255, 255));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) ASSERT_EQ(canvas.At(x, y), kUntouched) << x << "," << y;
  }
}

TEST(FillGradient, HugeRectanglesKeepTheirColoursInRange) {
  Canvas canvas(4, 4);
  FillGradient(canvas.dc(), {-10, -20000000, 10, 20000000}, RGB(0, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(canvas.At(0, 0), RGB(127, 127, 127));
}

TEST(FillRounded, KeepsTheCornersAndFillsTheBodyWithTheGradient) {
  const RECT r = {10, 10, 70, 50};
  Canvas rounded(80, 60), plain(80, 60);
  FillRounded(rounded.dc(), r, 8, RGB(72, 152, 247), RGB(30, 90, 200), kNoBorder);
  FillGradient(plain.dc(), r, RGB(72, 152, 247), RGB(30, 90, 200));
  EXPECT_EQ(rounded.At(10, 10), kUntouched);
  EXPECT_EQ(rounded.At(69, 49), kUntouched);
  for (int y = r.top; y < r.bottom; ++y) EXPECT_EQ(rounded.At(40, y), plain.At(40, y)) << y;
}

}  // namespace
}  // namespace corrivo::ui::win32

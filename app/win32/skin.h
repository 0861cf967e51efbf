// The window's design resources: its fonts and every picture of the frame, the tiles, the
// buttons and the progress bars, drawn with GDI so that they stay crisp at any size.
#pragma once

#include <array>

#include "widgets/win32/image_button.h"
#include "widgets/win32/pictures.h"

namespace corrivo::app {

using ui::win32::ImageButton;
using ui::win32::PictureList;
using ui::win32::PictureRef;

namespace palette {
constexpr COLORREF kHeader = RGB(30, 31, 38);   // the content panel and the header strip
constexpr COLORREF kPage = RGB(233, 233, 235);  // pages, scroll boxes and row panels
constexpr COLORREF kTitleText = RGB(204, 204, 204);
constexpr COLORREF kAccent = RGB(47, 128, 237);
constexpr COLORREF kAccentDark = RGB(30, 96, 204);
constexpr COLORREF kRowText = RGB(44, 46, 56);
constexpr COLORREF kMutedText = RGB(96, 99, 112);
constexpr COLORREF kSeparator = RGB(218, 219, 224);
constexpr COLORREF kFrame = RGB(62, 65, 80);
}  // namespace palette

enum class Glyph { Scan, Tools, Globe, Media };
enum class TitleButton { Minimise, Maximise, Restore, Close };

class Skin {
 public:
  Skin();

  HFONT Normal() const { return normal_.get(); }     // Tahoma -11
  HFONT Title() const { return title_.get(); }       // -15
  HFONT Info() const { return info_.get(); }         // -13
  HFONT TileLabel() const { return tileLabel_.get(); }
  HFONT Bold() const { return bold_.get(); }

  PictureRef background;  // behind the whole window
  PictureRef edge;        // the four edge strips
  PictureRef corner;      // window corners
  PictureRef contentEdge;
  PictureRef contentCorner;
  PictureRef logo;        // 48 x 48
  PictureRef titleIcon;   // 16 x 16
  PictureRef grip;        // the size grip, 9 x 9
  PictureRef headerSelected;  // header tile picture 0
  PictureRef headerLine;      // the strip's bottom line
  std::array<PictureRef, 4> headerIcons;
  PictureList categoryTile;   // normal, over, selected
  PictureRef bigInternet;     // on the re-registration pages, 80 x 80
  PictureRef bigMedia;
  PictureList progress;       // bg_mid, bg_l, bg_r, fg_mid, fg_l, fg_r

  ImageButton::Skin TitleButtonSkin(TitleButton which) const;
  ImageButton::Skin PrimaryButton() const;
  ImageButton::Skin StopButton() const;
  ImageButton::Skin FixRowButton() const;

 private:
  ui::win32::Font normal_, title_, info_, tileLabel_, bold_;
};

// A glyph in `colour` centred in `r`, scaled to the rectangle.
void DrawGlyph(HDC dc, const RECT& r, Glyph glyph, COLORREF colour);

}  // namespace corrivo::app

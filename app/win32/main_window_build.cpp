// The window's components: the frame, the header strip with its tiles, and the pages other
// than the Advanced Fix page, with the names the language files use.
#include "app/control_ids.h"
#include "app/win32/main_window.h"

namespace corrivo::app {
namespace {

Label::Style LabelStyle(COLORREF colour, UINT format = DT_LEFT | DT_TOP | DT_SINGLELINE) {
  Label::Style s;
  s.colour = colour;
  s.format = format;
  return s;
}

}  // namespace

void MainWindow::RegisterComponent(Control& control, ComponentKind kind) {
  components_->Own(control, kind);
}

void MainWindow::TranslateMadeLater(const std::vector<std::pair<Control*, ComponentKind>>& made) {
  if (!language_) return;
  WindowComponent later(hwnd_, components_->Name());
  for (const auto& [control, kind] : made) later.Own(*control, kind);
  language_->TranslateComponent(later);
}

template <typename T>
T& MainWindow::Register(std::unique_ptr<T>& slot, ComponentKind kind) {
  RegisterComponent(*slot, kind);
  return *slot;
}

void MainWindow::WireDragHandle(Control& control) {
  control.OnMouseDown = [this](Point) { StartMove(); };
}

void MainWindow::WireEdge(Control& control, Edge edge) {
  bool& flag = edge == Edge::Grip ? gripDragging_ : edgeDragging_;
  control.OnMouseDown = [&flag](Point) { flag = true; };
  control.OnMouseUp = [&flag](Point) { flag = false; };
  control.OnMouseMove = [this, edge](Point) { ResizeMove(edge); };
}

void MainWindow::WireHeaderHover(Control& control, int page) {
  control.OnMouseMove = [this, page](Point) {
    nav_.HeaderHover(page);
    ApplyHeaderLooks();
  };
  control.OnMouseLeave = [this, page] {
    nav_.HeaderLeave(page);
    ApplyHeaderLooks();
  };
  control.OnClick = [this, page] { ShowPage(static_cast<Page>(page)); };
  control.SetCursor(IDC_HAND);
}

void MainWindow::BuildFrame() {
  const Size d = layout::kDesignClientSize;
  BuildTitleBar();
  BuildEdges();
  contentPanel_ = std::make_unique<Panel>();
  contentPanel_->Create(hwnd_, ids::kPnlBK, L"pnl_BK", {11, 104, d.width - 22, d.height - 119}, palette::kHeader);
  // Child windows stack in creation order, the first on top: the background, made last, lies
  // under all.
  background_ = std::make_unique<Image>();
  background_->Create(hwnd_, ids::kImg1, L"img1", {2, 2, d.width - 4, d.height - 4}, skin_.background, false);
  WireDragHandle(*background_);
}

void MainWindow::BuildTitleBar() {
  title_ = std::make_unique<Label>();
  title_->Create(hwnd_, ids::kLabelTitle, L"Label_Title", {28, 11, 400, 28}, L"Tarsio Corrivo",
                      skin_.Title(), LabelStyle(RGB(204, 204, 204), DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS));
  Register(title_, ComponentKind::Label);
  WireDragHandle(*title_);
  title_->OnDoubleClick = [this] { MaximiseOrRestore(); };

  description_ = std::make_unique<Label>();
  description_->Create(hwnd_, ids::kLabelInfo, L"Label_Info", {108, 55, 400, 16},
                     L"Corrivo analyzes your Windows operating system and helps you fix problems.", skin_.Info(),
                     LabelStyle(RGB(204, 204, 204)));
  description_->AutoSize();
  Register(description_, ComponentKind::Label);
  WireDragHandle(*description_);

  struct TitleSpec {
    std::unique_ptr<ui::win32::ImageButton>* slot;
    int id;
    const wchar_t* name;
    TitleButton look;
  };
  const TitleSpec buttons[] = {{&minimiseButton_, ids::kRdBtnMin, L"RdBtn_Min", TitleButton::Minimise},
                               {&maximiseButton_, ids::kRdbtnMaxM, L"Rdbtn_MaxM", TitleButton::Maximise},
                               {&restoreButton_, ids::kRdBtnMax, L"RdBtn_Max", TitleButton::Restore},
                               {&closeButton_, ids::kRdbtnClose, L"Rdbtn_close", TitleButton::Close}};
  for (const auto& b : buttons) {
    *b.slot = std::make_unique<ui::win32::ImageButton>();
    // Frame buttons are reached with the mouse; the keyboard has Alt+Space and Alt+F4.
    (*b.slot)->Create(hwnd_, b.id, b.name, {0, 4, 30, 28}, L"", skin_.TitleButtonSkin(b.look), nullptr, false);
    (*b.slot)->ShowHint = true;
  }
  minimiseButton_->OnMouseEnter = [this] { minimiseButton_->SetHint(messages_.minimiseHint); };
  maximiseButton_->OnMouseEnter = [this] { maximiseButton_->SetHint(messages_.maximiseHint); };
  restoreButton_->OnMouseEnter = [this] { restoreButton_->SetHint(messages_.restoreHint); };
  closeButton_->OnMouseEnter = [this] { closeButton_->SetHint(messages_.closeHint); };
  minimiseButton_->OnClick = [this] { Minimise(); };
  maximiseButton_->OnClick = [this] { MaximiseOrRestore(); };
  restoreButton_->OnClick = [this] { MaximiseOrRestore(); };
  closeButton_->OnClick = [this] { SendMessageW(hwnd_, WM_CLOSE, 0, 0); };

}

void MainWindow::BuildEdges() {
  const Size d = layout::kDesignClientSize;
  sizeGrip_ = std::make_unique<Image>();
  sizeGrip_->Create(hwnd_, ids::kImg2, L"img2", {d.width - 13, d.height - 13, 9, 9}, skin_.grip);
  sizeGrip_->SetCursor(IDC_SIZENWSE);
  WireEdge(*sizeGrip_, Edge::Grip);

  struct EdgeSpec {
    std::unique_ptr<Image>* slot;
    int id;
    const wchar_t* name;
    Edge edge;
    LPCWSTR cursor;
  };
  const EdgeSpec edges[] = {{&topEdge_, ids::kImageTop, L"Image_top", Edge::Top, IDC_SIZENS},
                            {&leftEdge_, ids::kImageLeft, L"Image_left", Edge::Left, IDC_SIZEWE},
                            {&bottomEdge_, ids::kImageBottom, L"Image_bottom", Edge::Bottom, IDC_SIZENS},
                            {&rightEdge_, ids::kImageRight, L"Image_right", Edge::Right, IDC_SIZEWE}};
  for (const auto& e : edges) {
    *e.slot = std::make_unique<Image>();
    (*e.slot)->Create(hwnd_, e.id, e.name, {0, 0, 2, 2}, skin_.edge, false);
    (*e.slot)->SetCursor(e.cursor);
    WireEdge(**e.slot, e.edge);
  }
  // The corners, in the edges' colour, are drawn by the background they reach into.
}

void MainWindow::BuildHeader() {
  HWND bk = contentPanel_->hwnd();
  // The content border is drawn by what lies beneath it (see ArrangeContentParts), except its
  // left edge: that one lies over the list's frame, which the system draws, so it keeps a
  // window, created first to lie over the page.
  contentLeftEdge_ = std::make_unique<Image>();
  contentLeftEdge_->Create(bk, ids::kImageContentLeft, L"Image_content_left", {0, 0, 3, 3}, skin_.contentEdge, false);
  ui::PictureItem line;
  line.name = L"Line";
  line.picture = 0;
  line.align = ui::ItemAlign::Bottom;
  line.height = 1;
  line.stretch = true;
  headerStrip_ = std::make_unique<ImageRect>();
  headerStrip_->Create(bk, ids::kImageRectTop, L"ImageRect_Top", {2, 2, 650, 80}, palette::kHeader,
                        {skin_.headerLine}, {line});

  const wchar_t* tiles[] = {L"img_General", L"img_Advanced", L"Image_Internet", L"Image_MediaPlayer"};
  const wchar_t* labels[] = {L"Label_General", L"Label_Advanced", L"Label_Internet", L"Lbl_MediaPlayer"};
  const wchar_t* captions[] = {L"General Fix", L"Advanced Fix", L"Fix Internet Explorer", L"Fix Media Player"};
  for (int i = 0; i < 4; ++i) {
    HWND strip = headerStrip_->hwnd();
    // Each label is made before its tile, so that it lies over it.
    headerLabels_[i] = std::make_unique<Label>();
    headerLabels_[i]->Create(strip, ids::HeaderLabel(i), labels[i], {0, 0, 10, 10}, captions[i],
                             skin_.TileLabel(), LabelStyle(RGB(204, 204, 204)));
    headerLabels_[i]->AutoSize();
    headerTiles_[i] = std::make_unique<ImageNote>();
    headerTiles_[i]->Create(strip, ids::HeaderTile(i), tiles[i], {0, 0, 160, 80}, {skin_.headerSelected},
                            captions[i]);
    RegisterComponent(*headerTiles_[i], ComponentKind::ImageNote);
    RegisterComponent(*headerLabels_[i], ComponentKind::Label);
    WireHeaderHover(*headerTiles_[i], i);
    WireHeaderHover(*headerLabels_[i], i);
  }
  notebook_ = std::make_unique<PageNote>();
  notebook_->Create(bk, ids::kPageNote, L"PageNote", {2, 83, 650, 380}, palette::kPage);
  const wchar_t* pages[] = {L"PageNote_General", L"PageNote_Advanced", L"PageNote_Internet",
                            L"PageNote_MediaPlayer"};
  for (int i = 0; i < 4; ++i) notebook_->AddPage(ids::PageTab(i), pages[i], palette::kPage);
}

void MainWindow::BuildGeneralPage() {
  HWND page = notebook_->Page(0).hwnd();
  generalPage_ = std::make_unique<Panel>();
  generalPage_->Create(page, ids::kPanelFix, L"Panel_Fix", {0, 0, 650, 380}, palette::kPage);
  HWND p = generalPage_->hwnd();
  scanList_ = std::make_unique<ListView>();
  scanList_->Create(p, ids::kListViewFix, L"ListView_Fix", {0, 0, 650, 330}, skin_.Normal());
  scanList_->AddColumn(L"Fix Item", 512);
  scanList_->AddColumn(L"Status", 100, 100, 100);
  Register(scanList_, ComponentKind::ListView);

  struct ButtonSpec {
    std::unique_ptr<ui::win32::ImageButton>* slot;
    int id;
    const wchar_t* name;
    const wchar_t* caption;
    bool stop;
  };
  const ButtonSpec buttons[] = {{&scanButton_, ids::kButtonScan, L"Button_Scan", L"Scan", false},
                                {&stopScanButton_, ids::kButtonStopScan, L"Button_StopScan", L"Stop", true},
                                {&fixButton_, ids::kButtonFix, L"Button_Fix", L"Fix", false},
                                {&stopFixButton_, ids::kButtonStopFix, L"Button_StopFix", L"Stop", true}};
  // The Stop buttons lie under their start buttons; creation order puts them below.
  for (const auto& b : buttons) {
    *b.slot = std::make_unique<ui::win32::ImageButton>();
    (*b.slot)->Create(p, b.id, b.name, {430, 340, 90, 26}, b.caption,
                      b.stop ? skin_.StopButton() : skin_.PrimaryButton(), skin_.Bold());
    RegisterComponent(**b.slot, ComponentKind::PushButton);
  }
  scanButton_->BringToFront();
  fixButton_->BringToFront();
  fixButton_->SetEnabled(false);

  selectAll_ = std::make_unique<ui::win32::CheckBox>();
  selectAll_->Create(p, ids::kCheckBoxSelectAll, L"CheckBox_SelectAll", {5, 343, 100, 17}, L"Select All",
                             skin_.Normal());
  selectAll_->SetVisible(false);
  Register(selectAll_, ComponentKind::CheckBox);

  generalProgress_ = std::make_unique<ImageProgress>();
  generalProgress_->Create(p, ids::kImgProgressBarMain, L"imgProgressBar_Main", {0, 345, 410, 16},
                              palette::kPage, skin_.progress);
  generalProgress_->SetRange(0, 100);
  generalProgress_->SetBarVisible(false);
}

void MainWindow::BuildReRegistrationPage(ReRegistrationPage& r) {
  const bool ie = r.index == 2;
  r.page = &notebook_->Page(r.index);
  r.fill = std::make_unique<Panel>();
  r.fill->Create(r.page->hwnd(), ie ? ids::kPanelFixIE : ids::kPanelFixWMP, ie ? L"Panel_FixIE" : L"Panel_FixWMP",
                 {0, 0, 650, 380}, palette::kPage);
  r.centred = std::make_unique<Panel>();
  r.centred->Create(r.fill->hwnd(), ie ? ids::kPanelFixIEMain : ids::kPanel1, ie ? L"Panel_FixIEMain" : L"Panel1",
                 {63, 144, 524, 91}, palette::kPage);
  HWND m = r.centred->hwnd();
  r.image = std::make_unique<Image>();
  r.image->Create(m, ie ? ids::kImageFixIE : ids::kImageFixWMP, ie ? L"Image_FixIE" : L"Image_FixWMP",
                  {0, 5, 80, 80}, ie ? skin_.bigInternet : skin_.bigMedia);
  r.info = std::make_unique<Label>();
  const wchar_t* infoText =
      ie ? L"This portable utility re-registers all the concerned dll and ocx files required for the smooth "
           L"operation of Internet Explorer. If you face any problems while running IE, run this tool to "
           L"re-register the files."
         : L"This portable utility re-registers all the concerned Windows Media dll files required for the "
           L"smooth functioning of Windows Media Player. If you are facing any issues or getting any error "
           L"message while running Windows Media Player, run this utility.";
  r.info->Create(m, ie ? ids::kLabelFixIEInfo : ids::kLabelFixWMPInfo, ie ? L"Label_FixIE_Info" : L"Label_FixWMP_Info",
                 {96, 0, 428, 52}, infoText, skin_.Normal(),
                 LabelStyle(palette::kRowText, DT_LEFT | DT_TOP | DT_WORDBREAK));
  RegisterComponent(*r.info, ComponentKind::Label);
  r.stop = std::make_unique<ui::win32::ImageButton>();
  r.stop->Create(m, ie ? ids::kButtonStopFixIE : ids::kButtonStopFixMediaPlayer,
                 ie ? L"Button_StopFix_IE" : L"Button_StopFix_MediaPlayer", {96, 60, 170, 28}, L"Stop",
                 skin_.StopButton(), skin_.Bold());
  r.start = std::make_unique<ui::win32::ImageButton>();
  r.start->Create(m, ie ? ids::kButtonFixIE : ids::kButtonFixMediaPlayer,
                  ie ? L"Button_FixIE" : L"Button_Fix_MediaPlayer", {96, 60, 170, 28},
                  ie ? L"Fix Internet Explorer" : L"Fix Media Player", skin_.PrimaryButton(), skin_.Bold());
  r.start->BringToFront();
  RegisterComponent(*r.start, ComponentKind::PushButton);
  RegisterComponent(*r.stop, ComponentKind::PushButton);
  r.progress = std::make_unique<ImageProgress>();
  r.progress->Create(m, ie ? ids::kImageProgressFixIE : ids::kImageProgressFixMediaPlayer,
                     ie ? L"ImageProgress_FixIE" : L"ImageProgress_FixMediaPlayer", {280, 66, 244, 16},
                     palette::kPage, skin_.progress);
  r.progress->SetRange(0, 103);
  r.progress->SetBarVisible(false);
}

MainWindow::ReRegistrationPage& MainWindow::EnsureReRegistrationPage(ReRegistrationPage& r) {
  if (r.fill) return r;
  BuildReRegistrationPage(r);
  TranslateMadeLater({{r.info.get(), ComponentKind::Label},
                      {r.start.get(), ComponentKind::PushButton},
                      {r.stop.get(), ComponentKind::PushButton}});
  const Size s = r.page->ClientSize();
  r.fill->SetBounds({0, 0, s.width, s.height});
  CentreReRegistrationPage(r);
  // The Stop button lies under its start button, hidden until its task runs.
  r.stop->SetVisible(false);
  if (r.index == 2) {
    r.start->OnClick = [this] { pages_->Button_FixIEClick(); };
    r.stop->OnClick = [this] { pages_->Button_StopFix_IEClick(); };
  } else {
    r.start->OnClick = [this] { pages_->Button_Fix_MediaPlayerClick(); };
    r.stop->OnClick = [this] { pages_->Button_StopFix_MediaPlayerClick(); };
  }
  return r;
}

}  // namespace corrivo::app

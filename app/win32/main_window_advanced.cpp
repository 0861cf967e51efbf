// The Advanced Fix page: six category tiles, and per category a scroll box of rows, each a
// label describing a problem and a "Fix" button that runs that one repair at once.
#include <vector>

#include "app/advanced_layout.h"
#include "app/control_ids.h"
#include "app/win32/main_window.h"
#include "catalog/dispatch.h"
#include "catalog/catalog.h"

namespace corrivo::app {
namespace {

// A repair's result in a message box owned by the main window, captioned with the window's
// title as it is now (the language may have replaced it).
class ResultBox : public RepairFeedback {
 public:
  explicit ResultBox(HWND owner) : owner_(owner) {}
  void ShowResult(const std::wstring& text) override {
    // The box disables its owner itself and gives it the focus back when it closes.
    EnableWindow(owner_, TRUE);
    const int length = GetWindowTextLengthW(owner_);
    std::vector<wchar_t> title(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(owner_, title.data(), length + 1);
    MessageBoxW(owner_, text.c_str(), title.data(), MB_ICONINFORMATION | MB_OK);
  }

 private:
  HWND owner_;
};

}  // namespace

void MainWindow::MakeAdvancedPagePiece() {
  if (!advancedPage_) {
    Panel& page = notebook_->Page(1);
    advancedPage_ = std::make_unique<Panel>();
    advancedPage_->Create(page.hwnd(), ids::kPanelAdvancedFix, L"Panel_AdvancedFix", {0, 0, 650, 380},
                          palette::kPage);
    HWND p = advancedPage_->hwnd();
    Label::Style tips;
    tips.colour = palette::kMutedText;
    cautionLabel_ = std::make_unique<Label>();
    cautionLabel_->Create(p, ids::kLabelTips, L"Label_Tips", {22, 22, 400, 14},
                          L"Do not click the \"Fix\" button unless your computer has the following problems.",
                          skin_.Normal(), tips);
    RegisterComponent(*cautionLabel_, ComponentKind::Label);
    categoryNotebook_ = std::make_unique<PageNote>();
    categoryNotebook_->Create(p, ids::kPageNoteAdvancedFix, L"PageNote_AdvancedFix", {107, 41, 521, 317},
                              palette::kPage);
    return;
  }
  for (int n = 1; n <= layout::kCategoryCount; ++n) {
    if (categories_[static_cast<std::size_t>(n - 1)].tile) continue;
    BuildCategory(n);
    return;
  }
  std::vector<std::pair<Control*, ComponentKind>> made = {{cautionLabel_.get(), ComponentKind::Label}};
  for (Category& c : categories_) made.emplace_back(c.label.get(), ComponentKind::Label);
  TranslateMadeLater(made);
  cautionLabel_->AutoSize();
  for (Category& c : categories_) c.label->AutoSize();
  advancedPageReady_ = true;
  // The category chosen so far (the creation sequence chooses the first).
  if (nav_.Category() >= 1) categoryNotebook_->SetTabIndex(nav_.Category() - 1);
  ApplyCategoryLooks();
  ArrangeAdvancedPage();
}

void MainWindow::EnsureAdvancedPage() {
  while (!advancedPageReady_) MakeAdvancedPagePiece();
}

void MainWindow::BuildCategory(int n) {
  const layout::CategoryInfo& info = layout::Categories()[static_cast<std::size_t>(n - 1)];
  Category& c = categories_[static_cast<std::size_t>(n - 1)];
  HWND p = advancedPage_->hwnd();
  c.tile = std::make_unique<ImageNote>();
  c.tile->Create(p, ids::CategoryTile(n), info.tile, layout::CategoryTileRect(n), skin_.categoryTile, info.caption);
  c.tile->SetImageIndex(kCategoryNormal);
  Label::Style style;
  style.colour = RGB(0, 0, 0);
  c.label = std::make_unique<Label>();
  c.label->Create(p, ids::CategoryLabel(n), info.label, layout::CategoryLabelRect(n, {60, 13}), info.caption,
                  skin_.Normal(), style);
  c.label->BringToFront();
  RegisterComponent(*c.label, ComponentKind::Label);
  for (Control* part : {static_cast<Control*>(c.tile.get()), static_cast<Control*>(c.label.get())}) {
    part->SetCursor(IDC_HAND);
    part->OnClick = [this, n] { SelectCategory(n); };
    part->OnMouseEnter = [this, n] {
      nav_.CategoryEnter(n);
      ApplyCategoryLooks();
    };
    part->OnMouseLeave = [this, n] {
      nav_.CategoryLeave(n);
      ApplyCategoryLooks();
    };
  }

  c.page = &categoryNotebook_->AddPage(ids::CategoryPage(n), info.page, palette::kPage);
  const Size ps = c.page->ClientSize();
  c.scrollBox = std::make_unique<ScrollBox>();
  c.scrollBox->Create(c.page->hwnd(), ids::CategoryScrollBox(n), info.scrollBox, {0, 0, ps.width, ps.height},
                      palette::kPage, ids::CategoryPanel(n), info.panel);
  // The rows come when the category is first shown or when idle: most runs never open most
  // categories, and a hundred and thirty child windows are the bulk of the start-up time.
  c.scrollBox->OnContentWidth = [this, &c](int width) {
    if (c.built) LayoutRows(c, width);
  };
}

void MainWindow::MakeRows(int n, std::size_t count) {
  Category& c = categories_[static_cast<std::size_t>(n - 1)];
  if (c.built) return;
  const std::vector<const Repair*> entries = CategoryRows(static_cast<corrivo::Category>(n));
  Panel& rows = c.scrollBox->Content();
  std::vector<std::pair<Control*, ComponentKind>> made;
  for (; count > 0 && c.rows.size() < entries.size(); --count) {
    const Repair* entry = entries[c.rows.size()];
    FixRow row;
    row.id = entry->id;
    Label::Style text;
    text.colour = palette::kRowText;
    text.format = DT_LEFT | DT_TOP | DT_WORDBREAK;
    row.label = std::make_unique<Label>();
    row.label->Create(rows.hwnd(), ids::FixLabel(entry->id), L"Label_" + std::to_wstring(entry->id),
                      {12, 0, 300, 13}, entry->caption, skin_.Normal(), text);
    row.button = std::make_unique<ui::win32::ImageButton>();
    row.button->Create(rows.hwnd(), ids::FixButton(entry->id), L"Button_" + std::to_wstring(entry->id),
                       {320, 0, 64, 24}, L"Fix", skin_.FixRowButton(), skin_.Bold());
    const int id = entry->id;
    row.button->OnClick = [this, id] { RunOneClickFix(id); };
    if (disabledFixes_.count(id)) row.button->SetEnabled(false);
    RegisterComponent(*row.label, ComponentKind::Label);
    RegisterComponent(*row.button, ComponentKind::PushButton);
    made.emplace_back(row.label.get(), ComponentKind::Label);
    made.emplace_back(row.button.get(), ComponentKind::PushButton);
    c.rows.push_back(std::move(row));
  }
  TranslateMadeLater(made);
  if (c.rows.size() < entries.size()) return;
  c.built = true;
  // Thin separators between the rows keep long descriptions apart.
  rows.OnPaintExtra = [&c](HDC dc, const RECT& client) {
    for (std::size_t i = 0; i + 1 < c.rows.size(); ++i) {
      const Rect b = c.rows[i + 1].label->Bounds();
      const Rect btn = c.rows[i + 1].button->Bounds();
      const int y = std::min(b.top, btn.top) - 9;
      RECT line = {client.left + 12, y, client.right - 12, y + 1};
      ui::win32::FillSolid(dc, line, palette::kSeparator);
    }
  };
  LayoutRows(c, c.scrollBox->ContentWidth());
}

void MainWindow::EnsureRows(int n) {
  EnsureAdvancedPage();
  MakeRows(n, static_cast<std::size_t>(-1));
}

void MainWindow::LayoutRows(Category& c, int width) {
  const int labelWidth = layout::RowLabelWidth(width);
  std::vector<int> heights;
  for (const FixRow& row : c.rows) heights.push_back(row.label->Measure(labelWidth).height);
  const auto rows = layout::ArrangeFixRows(width, heights);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    c.rows[i].label->SetBounds(rows[i].label);
    c.rows[i].button->SetBounds(rows[i].button);
  }
  c.scrollBox->SetContentHeight(layout::RowsHeight(rows));
}

void MainWindow::ArrangeAdvancedPage() {
  if (!advancedPageReady_) return;
  const Rect note = notebook_->Bounds();
  const layout::AdvancedPageLayout a =
      layout::ArrangeAdvancedPage(note.Extent(), cautionLabel_->Bounds().Extent(), categories_[0].tile->Bounds().Extent());
  // Repainted at once only while it shows (a size change of the window); otherwise it is
  // painted when it is shown.
  const bool showing = CurrentPage() == Page::AdvancedFix;
  advancedPage_->SetBounds(a.panel);
  if (showing) advancedPage_->Invalidate(true);
  categoryNotebook_->SetBounds(a.categoryNotebook);
  for (Category& c : categories_) {
    const Size s = c.page->ClientSize();
    c.scrollBox->SetBounds({0, 0, s.width, s.height});
  }
  if (showing) categoryNotebook_->Invalidate(true);
  cautionLabel_->SetBounds(a.caution);
}

void MainWindow::SelectCategory(int n) {
  if (!nav_.SelectCategory(n)) return;
  if (!advancedPageReady_) return;  // the page takes the choice when it is made
  // The rows are made while their page is still hidden: it is then painted once, whole.
  if (CurrentPage() == Page::AdvancedFix) EnsureRows(n);
  categoryNotebook_->SetTabIndex(n - 1);
  ApplyCategoryLooks();
  Category& c = categories_[static_cast<std::size_t>(n - 1)];
  c.scrollBox->SetPosition(0);
  if (CurrentPage() == Page::AdvancedFix) SetFocus(c.scrollBox->hwnd());
}

void MainWindow::ApplyCategoryLooks() {
  if (!advancedPageReady_) return;
  for (int k = 1; k <= layout::kCategoryCount; ++k) {
    Category& c = categories_[static_cast<std::size_t>(k - 1)];
    c.tile->SetImageIndex(nav_.CategoryPicture(k));
    c.label->SetColour(ui::win32::Rgb(nav_.CategoryLabelColour(k)));
  }
}

void MainWindow::RunOneClickFix(int fixId) {
  // A repair's commands are waited for while the window keeps painting, and so does its
  // answer box: a click reaching the window meanwhile must not start a second repair inside
  // the first. The window takes no input until the answer shows, as under a modal box.
  if (oneClickRunning_) return;
  oneClickRunning_ = true;
  EnableWindow(hwnd_, FALSE);
  struct EndOfRepair {
    MainWindow& window;
    ~EndOfRepair() {
      EnableWindow(window.hwnd_, TRUE);
      window.oneClickRunning_ = false;
      if (window.closeAfterRepair_) PostMessageW(window.hwnd_, WM_CLOSE, 0, 0);
    }
  } endOfRepair{*this};
  RepairArgs args;
  args.windows = windows_;
  args.ieVersionName = ieVersionName_;
  RepairResultTexts texts;
  texts.fixed = messages_.fixed;
  texts.fixFailed = messages_.fixFailed;
  texts.journalFailed = messages_.journalFailed;
  ResultBox box(hwnd_);
  RunOneClickRepair(system_, fixId, args, texts, box);
}

}  // namespace corrivo::app

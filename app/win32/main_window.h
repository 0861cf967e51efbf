// MainWindow: the program's one window. It draws its own frame, holds the four pages
// and the scan-and-fix thread, and runs its creation sequence before it is first shown.
#pragma once

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/component_tree.h"
#include "app/creation.h"
#include "app/frame_rules.h"
#include "app/language.h"
#include "app/navigation.h"
#include "app/win32/engine_pages_view.h"
#include "app/win32/skin.h"
#include "app/win32/window_components.h"
#include "engine/pages.h"
#include "engine/scan_and_fix_thread.h"
#include "widgets/win32/check_box.h"
#include "widgets/win32/image_button.h"
#include "widgets/win32/image_note.h"
#include "widgets/win32/image_progress.h"
#include "widgets/win32/image_rect.h"
#include "widgets/win32/label.h"
#include "widgets/win32/list_view.h"
#include "widgets/win32/page_note.h"
#include "widgets/win32/panel.h"
#include "widgets/win32/scroll_box.h"

namespace corrivo::app {

using ui::win32::Control;
using ui::win32::Image;
using ui::win32::ImageNote;
using ui::win32::ImageProgress;
using ui::win32::ImageRect;
using ui::win32::Label;
using ui::win32::ListView;
using ui::win32::PageNote;
using ui::win32::Panel;
using ui::win32::ScrollBox;
using ui::Point;
using ui::Rect;
using ui::Size;

class MainWindow : private CreationSteps {
 public:
  MainWindow();
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window (owned by the window that stands for it on the taskbar) and its
  // components and runs the creation sequence, which ends the process on an unsupported
  // Windows version; false when the window could not be made.
  bool Create(HINSTANCE instance, HWND taskbarOwner);
  void Show(int showCommand);
  HWND hwnd() const { return hwnd_; }
  // Keyboard navigation among the controls (Tab, Space, Enter) for the message loop.
  bool PreTranslate(MSG& msg);
  // Work left for idle moments: the Advanced Fix page, then the rows of the categories not yet
  // shown, made one piece at a time, so that they are ready before a tile is clicked and
  // neither the first paint nor any input waits for them.
  bool HasIdleWork() const;
  void DoIdleWork();

  void SelectCategory(int category) override;
  void ShowPage(Page page) override;
  Page CurrentPage() const;

 private:
  struct FixRow {
    int id = 0;
    std::unique_ptr<Label> label;
    std::unique_ptr<ui::win32::ImageButton> button;
  };
  struct Category {
    std::unique_ptr<ImageNote> tile;
    std::unique_ptr<Label> label;
    Panel* page = nullptr;
    std::unique_ptr<ScrollBox> scrollBox;
    std::vector<FixRow> rows;
    bool built = false;  // every row made, translated and laid out
  };
  // The repair row a context menu was asked for, and where the menu opens (screen).
  struct PreviewRow {
    int repair = 0;
    std::wstring caption;  // as the row shows it
    POINT at{};
  };
  struct ReRegistrationPage {
    int index = 0;                   // its page: 2 (Internet Explorer) or 3 (Media Player)
    Panel* page = nullptr;
    std::unique_ptr<Panel> fill;     // fills the page
    std::unique_ptr<Panel> centred;  // the text, picture, buttons and bar, centred in `fill`
    std::unique_ptr<Label> info;
    std::unique_ptr<Image> image;
    std::unique_ptr<ui::win32::ImageButton> start;
    std::unique_ptr<ui::win32::ImageButton> stop;
    std::unique_ptr<ImageProgress> progress;
  };

  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);

  // --- Window events (main_window.cpp).
  void OnShow();
  void OnSize();
  void OnActivate(WPARAM wp);
  void OnClose();
  void OnMouseWheel(WPARAM wp, LPARAM lp);
  void OnShowYourself();
  bool OnSysCommand(WPARAM wp, LPARAM lp);
  LRESULT OnGetDefaultButton();
  LRESULT OnGetMinMaxInfo(LPARAM lp);
  void OnWindowPosChanging(LPARAM lp);
  void OnPaint();

  // --- Creation sequence (main_window.cpp).
  void ApplyWindowStyle() override;
  void ResetHeaderTiles() override;
  void CreateThreadSuspended() override;
  void DetectIEVersion() override;
  WindowsVersion DetectWindowsVersion() override;
  void LoadLanguage() override;
  void SaveColumnTitle() override;
  void RefuseVersion() override;
  void ChooseDesktopUser() override;
  void StartThread(WindowsVersion windows) override;
  void AnchorControls() override;
  void FillPages() override;
  void PlaceStopFixOverFix() override;

  // --- The General Fix and re-registration pages' handlers (main_window_pages.cpp).
  void WireEnginePages();
  // "What will this change?" on the rows of both fix pages: the context-menu request of a
  // queued key or right click, the menu for a row, and the box with the row's preview.
  bool RouteContextMenuRequest(MSG& msg);
  bool OfferRepairPreview(HWND control, LPARAM at);
  bool FindRepairRow(HWND control, LPARAM at, PreviewRow* row) const;
  void ShowRepairPreview();
  // "Undo…": the journal's entries and Undo for the selected one.
  void ShowUndoJournal();

  // --- Components (main_window_build.cpp).
  void BuildFrame();
  void BuildTitleBar();
  void BuildEdges();
  void BuildHeader();
  void BuildGeneralPage();
  void BuildReRegistrationPage(ReRegistrationPage& p);
  // Made when idle or on first use (shown, or asked for by the page logic): translated,
  // centred and wired then.
  ReRegistrationPage& EnsureReRegistrationPage(ReRegistrationPage& p);
  void CentreReRegistrationPage(ReRegistrationPage& p);
  template <typename T>
  T& Register(std::unique_ptr<T>& slot, ComponentKind kind);
  void RegisterComponent(Control& control, ComponentKind kind);
  // Components made after the language was applied (pages and rows made later) take its texts.
  void TranslateMadeLater(const std::vector<std::pair<Control*, ComponentKind>>& made);
  void WireDragHandle(Control& control);
  void WireEdge(Control& control, Edge edge);
  void WireHeaderHover(Control& control, int page);

  // --- Advanced Fix page (main_window_advanced.cpp).
  // Idle work makes the page and its rows a few windows at a time, so that input waits for
  // at most one small piece; first use makes whatever is still missing at once.
  void MakeAdvancedPagePiece();  // the panel, then one category, then the finish
  void EnsureAdvancedPage();
  void BuildCategory(int number);
  void MakeRows(int category, std::size_t count);  // up to `count` more; the last piece lays them out
  void EnsureRows(int category);
  void LayoutRows(Category& c, int width);
  void ArrangeAdvancedPage();
  void ApplyCategoryLooks();
  void RunOneClickFix(int fixId);
  void DisableFixesForThisWindows();

  // --- Frame (main_window_frame.cpp).
  void ArrangeWindow();
  void FitLastColumn();
  void ApplyHeaderLooks();
  layout::FrameLayout ArrangeFrameParts();
  void ArrangeContentParts(Size panel);
  void ArrangeGeneralPage();
  void ApplyShapes();
  // The sizes the rounded shapes were last made for: each layout pass that keeps them makes none.
  Size shapedWindow_{-1, -1};
  Size shapedPanel_{-1, -1};
  void MaximiseOrRestore();
  void Minimise();
  void StartMove();
  void ResizeMove(Edge edge);
  void RepaintNow();
  Rect WindowBounds() const;
  void SetWindowBounds(const Rect& r);

  HWND hwnd_ = nullptr;
  Skin skin_;
  Navigation nav_;
  SizeToggle sizeToggle_;
  bool edgeDragging_ = false;
  bool gripDragging_ = false;
  std::unique_ptr<TScanAndFixThread> thread_;
  std::unique_ptr<Win32EnginePagesView> pagesView_;
  std::unique_ptr<EnginePages> pages_;
  std::unique_ptr<TLanguage> language_;
  MessageTexts messages_;
  System& system_ = PlatformSystem();
  WindowsVersion windows_ = WindowsVersion::XP;
  std::wstring ieVersionName_ = L"IE8";
  std::wstring columnTitle_;
  int selectAllShift_ = 0;
  std::set<int> disabledFixes_;  // by the running Windows, also for rows made later
  PreviewRow previewRow_;         // the row of the last context menu
  bool contextMenuAsked_ = false;  // a WM_CONTEXTMENU reached the window
  bool oneClickRunning_ = false;   // a one-click repair is on the stack (its waits pump messages)
  bool closeAfterRepair_ = false;  // a close came meanwhile; it is carried out when the repair ends

  // The component tree the language walk sees, in order of ownership.
  std::unique_ptr<WindowComponent> components_;

  // Frame.
  std::unique_ptr<Image> background_;  // behind the whole window; shows around the content panel
  std::unique_ptr<Image> sizeGrip_;  // the title icon and the logo are drawn by the background
  std::unique_ptr<Image> topEdge_, leftEdge_, bottomEdge_, rightEdge_;
  std::unique_ptr<Label> title_, description_;  // the caption and the line under the logo
  std::unique_ptr<Label> userNotice_;  // under the description, only when the users differ
  std::unique_ptr<ui::win32::ImageButton> minimiseButton_, maximiseButton_, restoreButton_, closeButton_;
  std::unique_ptr<Panel> contentPanel_;  // the rounded panel of the header strip and the pages
  std::unique_ptr<Image> contentLeftEdge_;  // the rest of the content border is drawn by what lies beneath
  // Header.
  std::unique_ptr<ImageRect> headerStrip_;  // the four page tiles
  std::array<std::unique_ptr<ImageNote>, 4> headerTiles_;  // each draws its icon
  std::array<std::unique_ptr<Label>, 4> headerLabels_;
  std::unique_ptr<PageNote> notebook_;  // the four pages, one shown
  // General Fix page.
  std::unique_ptr<Panel> generalPage_;
  std::unique_ptr<ListView> scanList_;
  std::unique_ptr<ui::win32::ImageButton> scanButton_, stopScanButton_, fixButton_, stopFixButton_;
  std::unique_ptr<ui::win32::CheckBox> selectAll_;
  std::unique_ptr<ImageProgress> generalProgress_;  // of the scan and of the fix
  // Advanced Fix page, made when idle or when first shown; usable once advancedPageReady_.
  std::unique_ptr<Panel> advancedPage_;
  bool advancedPageReady_ = false;
  bool idleWorkFailed_ = false;  // a piece failed: the rest waits for first use
  std::unique_ptr<Label> cautionLabel_;          // "do not click Fix unless ..."
  std::unique_ptr<PageNote> categoryNotebook_;  // one page per category
  std::array<Category, 6> categories_;
  // Re-registration pages.
  ReRegistrationPage internet_{2}, mediaPlayer_{3};
};

}  // namespace corrivo::app

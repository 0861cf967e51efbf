// TFixWindows_FormMain: the program's one window. It draws its own frame, holds the four pages
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

class TFixWindows_FormMain : private CreationSteps {
 public:
  TFixWindows_FormMain();
  ~TFixWindows_FormMain() override;
  TFixWindows_FormMain(const TFixWindows_FormMain&) = delete;
  TFixWindows_FormMain& operator=(const TFixWindows_FormMain&) = delete;

  // Creates the window and its components and runs the creation sequence (which ends the
  // process on an unsupported Windows version); false when the window could not be made.
  bool Create(HINSTANCE instance);
  void Show(int showCommand);
  HWND hwnd() const { return hwnd_; }
  // Keyboard navigation among the controls (Tab, Space, Enter) for the message loop.
  bool PreTranslate(MSG& msg);

  // Operations other pages use.
  void ArrangeWindow();
  void SelectCategory(int category) override;
  void FitLastColumn();
  void ShowPage(int page) override;
  TScanAndFixThread* Thread() { return thread_.get(); }
  const MessageTexts& Messages() const { return messages_; }

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
    bool built = false;  // rows are made when the category is first shown
  };
  struct ReRegistrationPage {
    Panel* page = nullptr;
    std::unique_ptr<Panel> fill;  // Panel_FixIE / Panel_FixWMP
    std::unique_ptr<Panel> main;  // the centred panel
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
  void OnActivateInstance();
  LRESULT OnGetMinMaxInfo(LPARAM lp);
  void OnWindowPosChanging(LPARAM lp);
  void OnPaint();

  // --- Creation sequence (main_window.cpp).
  void ApplyWindowStyle() override;
  void ResetHeaderTiles() override;
  void ClearStopRequests() override;
  void CreateThreadSuspended() override;
  void DetectIEVersion() override;
  std::int32_t DetectOsVersionCode() override;
  void LoadLanguage() override;
  void SaveColumnTitle() override;
  void RefuseVersion() override;
  void StartThread(std::int32_t osVersionCode) override;
  void AnchorControls() override;
  void FillPages() override;
  void PlaceStopFixOverFix() override;

  // --- The General Fix and re-registration pages' handlers (main_window_pages.cpp).
  void WireEnginePages();

  // --- Components (main_window_build.cpp).
  void BuildFrame();
  void BuildTitleBar();
  void BuildEdges();
  void BuildHeader();
  void BuildGeneralPage();
  void BuildReRegistrationPage(ReRegistrationPage& p, int index);
  template <typename T>
  T& Register(std::unique_ptr<T>& slot, ComponentKind kind);
  void RegisterComponent(Control& control, ComponentKind kind);
  void WireDragHandle(Control& control);
  void WireEdge(Control& control, Edge edge);
  void WireHeaderHover(Control& control, int page);

  // --- Advanced Fix page (main_window_advanced.cpp).
  void BuildAdvancedPage();
  void BuildCategory(int number);
  void EnsureRows(int category);
  void LayoutRows(Category& c, int width);
  void ArrangeAdvancedPage();
  void ApplyCategoryLooks();
  void Button_FixClick(int fixId);
  void DisableFixesForThisWindows();

  // --- Frame (main_window_frame.cpp).
  void ApplyHeaderLooks();
  layout::FrameLayout ArrangeFrameParts();
  void ArrangeContentParts(Size panel);
  void ArrangeGeneralPage();
  void ApplyShapes();
  void MaximiseOrRestore();
  void Minimise();
  void StartMove();
  void ResizeMove(Edge edge);
  void RepaintNow();
  Rect WindowBounds() const;
  void SetWindowBounds(const Rect& r);
  void RdBtnHint(ui::win32::ImageButton& button, const std::wstring& hint);

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
  std::int32_t osVersionCode_ = 0;
  std::wstring columnTitle_;
  int selectAllShift_ = 0;
  std::set<int> disabledFixes_;  // by the running Windows, also for rows made later

  // The component tree the language walk sees, in order of ownership.
  std::unique_ptr<WindowComponent> components_;

  // Frame.
  std::unique_ptr<Image> img1_, imageAIcon_, imageMain_, img2_;
  std::unique_ptr<Image> imageTop_, imageLeft_, imageBottom_, imageRight_;
  std::unique_ptr<Image> imageTopLeft_, imageTopRight_, imageBottomLeft_, imageBottomRight_;
  std::unique_ptr<Label> labelTitle_, labelInfo_;
  std::unique_ptr<ui::win32::ImageButton> rdBtnMin_, rdbtnMaxM_, rdBtnMax_, rdbtnClose_;
  std::unique_ptr<Panel> pnlBK_;
  std::array<std::unique_ptr<Image>, 8> contentBorder_;  // top, left, bottom, right, then corners
  // Header.
  std::unique_ptr<ImageRect> imageRectTop_;
  std::array<std::unique_ptr<ImageNote>, 4> headerTiles_;
  std::array<std::unique_ptr<Image>, 4> headerIcons_;
  std::array<std::unique_ptr<Label>, 4> headerLabels_;
  std::unique_ptr<PageNote> pageNote_;
  // General Fix page.
  std::unique_ptr<Panel> panelFix_;
  std::unique_ptr<ListView> listViewFix_;
  std::unique_ptr<ui::win32::ImageButton> buttonScan_, buttonStopScan_, buttonFix_, buttonStopFix_;
  std::unique_ptr<ui::win32::CheckBox> checkBoxSelectAll_;
  std::unique_ptr<ImageProgress> imgProgressBarMain_;
  // Advanced Fix page.
  std::unique_ptr<Panel> panelAdvancedFix_;
  std::unique_ptr<Label> labelTips_;
  std::unique_ptr<PageNote> pageNoteAdvancedFix_;
  std::array<Category, 6> categories_;
  // Re-registration pages.
  ReRegistrationPage internet_, mediaPlayer_;
};

}  // namespace corrivo::app

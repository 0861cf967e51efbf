#include "app/win32/main_window.h"

#include "app/control_ids.h"
#include "app/win32/program_identity.h"
#include "app/win32/taskbar_window.h"
#include "catalog/catalog.h"
#include "sysaccess/ie_version.h"

namespace corrivo::app {
namespace {
// The window draws its own frame and title bar; the system menu and its commands stay.
constexpr DWORD kFramelessStyle = WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
// Rows made per idle piece: two rows are four windows, a millisecond or two that a click
// arriving meanwhile waits at most.
constexpr std::size_t kRowsPerIdlePiece = 2;
}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  // The worker is never waited for: it ends with the process.
  (void)thread_.release();
}

bool MainWindow::Create(HINSTANCE instance, HWND taskbarOwner) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &MainWindow::WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, kMainIconName);
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainWindowClass;
  if (!RegisterClassExW(&wc)) return false;

  const Size design = layout::kDesignClientSize;
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + (work.right - work.left - design.width) / 2;
  const int top = work.top + (work.bottom - work.top - design.height) / 2;
  // Owned, so that the taskbar shows its owner's shorter title instead of this caption. Made
  // with the style the creation sequence gives it, so that applying it changes no frame.
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, kMainWindowClass, L"Tarsio Corrivo", kFramelessStyle, left, top,
                          design.width, design.height, taskbarOwner, nullptr, instance, this);
  if (!hwnd_) return false;
  ui::win32::Control::NoteFreshParent(hwnd_);
  components_ = std::make_unique<WindowComponent>(hwnd_, L"FixWindows_FormMain");
  BuildFrame();
  BuildHeader();
  BuildGeneralPage();
  RunCreationSequence(*this);
  WireEnginePages();
  return true;
}

void MainWindow::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

bool MainWindow::HasIdleWork() const {
  if (idleWorkFailed_) return false;
  if (!advancedPageReady_ || !internet_.fill || !mediaPlayer_.fill) return true;
  for (const Category& c : categories_) {
    if (!c.built) return true;
  }
  return false;
}

void MainWindow::DoIdleWork() {
  // Called from the message loop, outside any window procedure: a failure here (out of
  // memory) leaves that piece as far as it got, as a failing click would, and the program
  // goes on; what is left is made on first use, not retried while idle.
  try {
    if (!advancedPageReady_) {
      MakeAdvancedPagePiece();
      return;
    }
    for (ReRegistrationPage* r : {&internet_, &mediaPlayer_}) {
      if (r->fill) continue;
      EnsureReRegistrationPage(*r);
      return;
    }
    for (int n = 1; n <= layout::kCategoryCount; ++n) {
      if (categories_[static_cast<std::size_t>(n - 1)].built) continue;
      MakeRows(n, kRowsPerIdlePiece);
      return;
    }
  } catch (...) {
    idleWorkFailed_ = true;
  }
}

bool MainWindow::PreTranslate(MSG& msg) {
  if (RouteContextMenuRequest(msg)) return true;
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

LRESULT CALLBACK MainWindow::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->Handle(msg, wp, lp);
  } catch (...) {
    return ui::win32::AnswerAfterException(hwnd, msg, wp, lp);
  }
}

LRESULT MainWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT reflected = 0;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SHOWWINDOW:
      if (wp) OnShow();
      break;
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_ACTIVATE:
      OnActivate(wp);
      break;
    case WM_GETMINMAXINFO:
      return OnGetMinMaxInfo(lp);
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(lp);
      break;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wp, lp);
      return 0;
    case WM_SYSCOMMAND:
      if (OnSysCommand(wp, lp)) return 0;
      break;
    case DM_GETDEFID:
      return OnGetDefaultButton();
    case WM_CONTEXTMENU:
      contextMenuAsked_ = true;
      if (OfferRepairPreview(reinterpret_cast<HWND>(wp), lp)) return 0;
      break;
    case WM_COMMAND:
      // The menu's choice comes posted, after the menu has closed, with no control behind it.
      if (lp == 0 && LOWORD(wp) == ids::kMenuWhatWillChange) {
        ShowRepairPreview();
        return 0;
      }
      if (lp == 0 && LOWORD(wp) == ids::kMenuUndo) {
        ShowUndoJournal();
        return 0;
      }
      [[fallthrough]];
    case WM_NOTIFY:
    case WM_DRAWITEM:
      if (Control::ReflectToChild(msg, wp, lp, &reflected)) return reflected;
      break;
    case WM_CLOSE:
      // A one-click repair is still below us on the stack: closing now would destroy the
      // window under it. It closes as soon as the repair has answered.
      if (oneClickRunning_) {
        closeAfterRepair_ = true;
        return 0;
      }
      OnClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      if (msg == kShowYourselfMessage) {
        OnShowYourself();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// --- Window events.

void MainWindow::OnPaint() {
  PAINTSTRUCT ps;
  BeginPaint(hwnd_, &ps);
  EndPaint(hwnd_, &ps);
}

void MainWindow::OnShow() {
  FitLastColumn();
  ArrangeWindow();
}

void MainWindow::OnSize() {
  // A hidden window is laid out once, when it is shown.
  if (!contentPanel_ || IsIconic(hwnd_) || !IsWindowVisible(hwnd_)) return;
  FitLastColumn();
  ArrangeWindow();
}

void MainWindow::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE || !contentPanel_) return;
  DisableFixesForThisWindows();
}

LRESULT MainWindow::OnGetMinMaxInfo(LPARAM lp) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lp);
  info->ptMinTrackSize = {layout::kMinimumSize.width, layout::kMinimumSize.height};
  return 0;
}

void MainWindow::OnWindowPosChanging(LPARAM lp) {
  // The minimum holds for every change of size, not only for sizing with the mouse.
  auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
  if (pos->flags & SWP_NOSIZE) return;
  const Rect clamped = ApplyMinimumSize({pos->x, pos->y, pos->cx, pos->cy});
  pos->cx = clamped.width;
  pos->cy = clamped.height;
}

namespace {
// One command's time limit and a little more: the longest step a repair can be in.
constexpr std::uint32_t kCloseWaitMs = CommandRunner::kCommandTimeoutMs + 2000;
}  // namespace

void MainWindow::OnClose() {
  // A wait loop of a page that is running now ends at its next pass. The worker finishes the
  // step it is in (a repair is never cut between two of its writes), within a bound so that a
  // hung command cannot keep the program alive; the window is gone meanwhile.
  if (pages_) {
    pages_->Close();
  } else if (thread_) {
    thread_->Stop();
    thread_->Terminate();
  }
  ShowWindow(hwnd_, SW_HIDE);
  if (thread_) thread_->WaitForEnd(kCloseWaitMs);
  DestroyWindow(hwnd_);
}

bool MainWindow::OnSysCommand(WPARAM wp, LPARAM lp) {
  const WPARAM command = wp & 0xFFF0;
  if (command == SC_MINIMIZE) {
    DefWindowProcW(hwnd_, WM_SYSCOMMAND, wp, lp);
    MinimiseTogether(hwnd_);
    return true;
  }
  if (command == SC_RESTORE && IsIconic(hwnd_)) {
    RestoreTogether(hwnd_);
    return true;
  }
  if (command == SC_MAXIMIZE || command == SC_RESTORE) {
    // The system's maximised state is never used: the window sizes itself.
    if ((command == SC_MAXIMIZE) != sizeToggle_.Maximised()) MaximiseOrRestore();
    return true;
  }
  return false;
}

void MainWindow::OnShowYourself() {
  RestoreTogether(hwnd_);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

LRESULT MainWindow::OnGetDefaultButton() {
  // Enter on the General Fix page: a focused button of the page takes it, as in any dialog
  // (after a scan that is Fix); otherwise Scan. Hidden or disabled buttons take nothing, so
  // Enter cannot start a second scan while one runs.
  if (CurrentPage() != Page::GeneralFix) return 0;
  auto usable = [](const ui::win32::ImageButton& b) { return b.Visible() && b.Enabled(); };
  const HWND focus = GetFocus();
  for (const auto* button : {scanButton_.get(), stopScanButton_.get(), fixButton_.get(), stopFixButton_.get()}) {
    if (button->hwnd() == focus && usable(*button)) return MAKELRESULT(button->Id(), DC_HASDEFID);
  }
  return usable(*scanButton_) ? MAKELRESULT(ids::kButtonScan, DC_HASDEFID) : 0;
}

// --- Creation sequence.

void MainWindow::ApplyWindowStyle() {
  const LONG_PTR old = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR style = (old | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) & ~static_cast<LONG_PTR>(WS_CAPTION);
  if (style != old) {
    SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  restoreButton_->SetVisible(false);
}

void MainWindow::ResetHeaderTiles() {
  nav_ = Navigation();
  ApplyHeaderLooks();
}

void MainWindow::CreateThreadSuspended() {
  thread_ = std::make_unique<TScanAndFixThread>(system_);
  thread_->Init();
}

void MainWindow::DetectIEVersion() { ieVersionName_ = DetectIEVersionName(system_.registry()); }

WindowsVersion MainWindow::DetectWindowsVersion() { return corrivo::DetectWindowsVersion(system_.os); }

void MainWindow::LoadLanguage() {
  ProgramLanguage loaded = LoadProgramLanguage(system_, *components_);
  language_ = std::move(loaded.language);
  messages_ = loaded.messages;
  // Captions may have changed length: the auto-sized labels and the rows measure again.
  description_->AutoSize();
  for (auto& l : headerLabels_) l->AutoSize();
}

void MainWindow::SaveColumnTitle() { columnTitle_ = scanList_->ColumnCaption(0); }

void MainWindow::RefuseVersion() {
  wchar_t title[512] = {};
  GetWindowTextW(hwnd_, title, 512);
  MessageBoxW(hwnd_, messages_.unsupportedWindows.c_str(), title, MB_OK | MB_ICONINFORMATION);
  ExitProcess(0);
}

void MainWindow::ChooseDesktopUser() {
  const DesktopUser user = ChooseUser(PlatformUserRegistry(), PlatformSessionAccounts(), UserChoice::Desktop);
  const std::wstring notice =
      UserNotice(user, UserNoticeTexts{messages_.desktopUser, messages_.hiveNotLoaded, messages_.noDesktopUser});
  if (notice.empty()) return;
  userNotice_ = std::make_unique<Label>();
  Label::Style style;
  style.colour = RGB(255, 214, 102);
  userNotice_->Create(hwnd_, ids::kLabelDesktopUser, L"Label_DesktopUser", {108, 77, 400, 16}, notice, skin_.Info(),
                      style);
  userNotice_->AutoSize();
  userNotice_->BringToFront();  // created after the background, which would cover it
  WireDragHandle(*userNotice_);
  ArrangeFrameParts();
}

void MainWindow::StartThread(WindowsVersion windows) {
  windows_ = windows;
  thread_->Windows = windows;
  thread_->IEVersionName = ieVersionName_;
  thread_->SetOfferedFlags();
  thread_->Resume();
}

void MainWindow::AnchorControls() {
  // The General Fix progress bar is placed by the layout pass that every size change runs;
  // running it once here puts it in place. The Advanced Fix page is arranged when it is made.
  ArrangeGeneralPage();
}

void MainWindow::FillPages() {
  // The re-registration pages fill theirs when they are made.
  const Size s = notebook_->Page(0).ClientSize();
  generalPage_->SetBounds({0, 0, s.width, s.height});
}

void MainWindow::PlaceStopFixOverFix() {
  const Rect fix = fixButton_->Bounds();
  const Rect stop = stopFixButton_->Bounds();
  stopFixButton_->SetBounds({fix.left, fix.top, stop.width, stop.height});
}

void MainWindow::DisableFixesForThisWindows() {
  const WindowsVersion windows = corrivo::DetectWindowsVersion(system_.os);
  for (int id : DisabledFixes(windows)) {
    disabledFixes_.insert(id);
    for (auto& c : categories_) {
      for (auto& row : c.rows) {
        if (row.id == id) row.button->SetEnabled(false);
      }
    }
  }
  // Applied once: the layout pass keeps the offset from then on.
  if (selectAllShift_ == 0 && SelectAllShiftOn(windows) != 0) {
    selectAllShift_ = SelectAllShiftOn(windows);
    ArrangeGeneralPage();
  }
}

}  // namespace corrivo::app

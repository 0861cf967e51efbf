#include "app/win32/main_window.h"

#include "app/startup.h"
#include "sysaccess/platform.h"
#include "sysaccess/platform_primitives.h"

namespace corrivo::app {

TFixWindows_FormMain::TFixWindows_FormMain() = default;

TFixWindows_FormMain::~TFixWindows_FormMain() {
  // The worker is never waited for: it ends with the process.
  (void)thread_.release();
}

bool TFixWindows_FormMain::Create(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &TFixWindows_FormMain::WndProc;
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
  hwnd_ = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kMainWindowClass, L"Tarsio Corrivo",
                          WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN, left, top, design.width, design.height,
                          nullptr, nullptr, instance, this);
  if (!hwnd_) return false;
  components_ = std::make_unique<WindowComponent>(hwnd_, L"FixWindows_FormMain");
  BuildFrame();
  BuildHeader();
  BuildGeneralPage();
  BuildAdvancedPage();
  BuildReRegistrationPage(internet_, 2);
  BuildReRegistrationPage(mediaPlayer_, 3);
  RunCreationSequence(*this);
  WireEnginePages();
  return true;
}

void TFixWindows_FormMain::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

bool TFixWindows_FormMain::PreTranslate(MSG& msg) {
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

LRESULT CALLBACK TFixWindows_FormMain::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TFixWindows_FormMain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->Handle(msg, wp, lp);
}

LRESULT TFixWindows_FormMain::Handle(UINT msg, WPARAM wp, LPARAM lp) {
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
      if ((wp & 0xFFF0) == SC_MAXIMIZE || ((wp & 0xFFF0) == SC_RESTORE && !IsIconic(hwnd_))) {
        // The system's maximised state is never used: the window sizes itself.
        if (((wp & 0xFFF0) == SC_MAXIMIZE) != sizeToggle_.Maximised()) MaximiseOrRestore();
        return 0;
      }
      break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
      if (Control::ReflectToChild(msg, wp, lp, &reflected)) return reflected;
      break;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      if (msg == kActivateInstanceMessage) {
        OnActivateInstance();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// --- Window events.

void TFixWindows_FormMain::OnPaint() {
  PAINTSTRUCT ps;
  BeginPaint(hwnd_, &ps);
  EndPaint(hwnd_, &ps);
}

void TFixWindows_FormMain::OnShow() {
  FitLastColumn();
  ArrangeWindow();
}

void TFixWindows_FormMain::OnSize() {
  if (!pnlBK_ || IsIconic(hwnd_)) return;
  FitLastColumn();
  ArrangeWindow();
}

void TFixWindows_FormMain::OnActivate(WPARAM wp) {
  if (LOWORD(wp) == WA_INACTIVE || !pnlBK_) return;
  DisableFixesForThisWindows();
}

LRESULT TFixWindows_FormMain::OnGetMinMaxInfo(LPARAM lp) {
  auto* info = reinterpret_cast<MINMAXINFO*>(lp);
  info->ptMinTrackSize = {layout::kMinimumSize.width, layout::kMinimumSize.height};
  return 0;
}

void TFixWindows_FormMain::OnWindowPosChanging(LPARAM lp) {
  // The minimum holds for every change of size, not only for sizing with the mouse.
  auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
  if (pos->flags & SWP_NOSIZE) return;
  const Rect clamped = ApplyMinimumSize({pos->x, pos->y, pos->cx, pos->cy});
  pos->cx = clamped.width;
  pos->cy = clamped.height;
}

void TFixWindows_FormMain::OnClose() {
  // A wait loop of a page that is running now ends at its next pass; nothing waits for the
  // worker, and commands already launched run on by themselves.
  if (pages_) {
    pages_->Close();
  } else if (thread_) {
    thread_->Stop();
    thread_->Terminate();
  }
  DestroyWindow(hwnd_);
}

void TFixWindows_FormMain::OnActivateInstance() {
  if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

// --- Creation sequence.

void TFixWindows_FormMain::ApplyWindowStyle() {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  style = (style | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX) & ~static_cast<LONG_PTR>(WS_CAPTION);
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  rdBtnMax_->SetVisible(false);
}

void TFixWindows_FormMain::ResetHeaderTiles() {
  nav_ = Navigation();
  ApplyHeaderLooks();
}

// The stop requests live in the page logic, which is made with all of them clear once the
// thread and the texts exist (WireEnginePages); there is nothing to clear before that.
void TFixWindows_FormMain::ClearStopRequests() {}

void TFixWindows_FormMain::CreateThreadSuspended() {
  thread_ = std::make_unique<TScanAndFixThread>();
  thread_->Init();
}

void TFixWindows_FormMain::DetectIEVersion() { corrivo::DetectIEVersion(); }

std::int32_t TFixWindows_FormMain::DetectOsVersionCode() { return corrivo::DetectOsVersionCode(); }

void TFixWindows_FormMain::LoadLanguage() {
  ProgramLanguage loaded = LoadProgramLanguage(*components_);
  language_ = std::move(loaded.language);
  messages_ = loaded.messages;
  // Captions may have changed length: the auto-sized labels and the rows measure again.
  labelInfo_->AutoSize();
  for (auto& l : headerLabels_) l->AutoSize();
  for (auto& c : categories_) c.label->AutoSize();
  labelTips_->AutoSize();
}

void TFixWindows_FormMain::SaveColumnTitle() { columnTitle_ = listViewFix_->ColumnCaption(0); }

void TFixWindows_FormMain::RefuseVersion() {
  wchar_t title[512] = {};
  GetWindowTextW(hwnd_, title, 512);
  MessageBoxW(hwnd_, messages_.D_ForVersion.c_str(), title, MB_OK | MB_ICONINFORMATION);
  ExitProcess(0);
}

void TFixWindows_FormMain::StartThread(std::int32_t osVersionCode) {
  osVersionCode_ = osVersionCode;
  thread_->OsVersionCode = osVersionCode;
  thread_->IEVersionName = IEVersionName();
  thread_->SetOfferedFlags();
  thread_->Resume();
}

void TFixWindows_FormMain::AnchorControls() {
  // The anchors of PageNote_AdvancedFix and imgProgressBar_Main are the layout functions that
  // every size change runs; applying them once here puts both in place.
  ArrangeAdvancedPage();
  ArrangeGeneralPage();
}

void TFixWindows_FormMain::FillPages() {
  for (Panel* fill : {panelFix_.get(), internet_.fill.get(), mediaPlayer_.fill.get()}) {
    const Size s = ui::win32::Control::FromHwnd(GetParent(fill->hwnd()))->ClientSize();
    fill->SetBounds({0, 0, s.width, s.height});
  }
}

void TFixWindows_FormMain::PlaceStopFixOverFix() {
  const Rect fix = buttonFix_->Bounds();
  const Rect stop = buttonStopFix_->Bounds();
  buttonStopFix_->SetBounds({fix.left, fix.top, stop.width, stop.height});
}

void TFixWindows_FormMain::DisableFixesForThisWindows() {
  std::uint32_t major = 0, minor = 0, product = 0;
  if (!primitives::QueryOsVersion(&major, &minor, &product)) return;
  for (int id : FixButtonsDisabledOn(major, minor)) {
    disabledFixes_.insert(id);
    for (auto& c : categories_) {
      for (auto& row : c.rows) {
        if (row.id == id) row.button->SetEnabled(false);
      }
    }
  }
  // Applied once: the layout pass keeps the offset from then on.
  if (selectAllShift_ == 0 && SelectAllShiftOn(major) != 0) {
    selectAllShift_ = SelectAllShiftOn(major);
    ArrangeGeneralPage();
  }
}

}  // namespace corrivo::app

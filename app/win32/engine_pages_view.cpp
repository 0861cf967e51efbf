#include "app/win32/engine_pages_view.h"

#include <commctrl.h>
#include <shlobj.h>

#include <vector>

namespace corrivo::app {

ui::win32::ImageButton* Win32EnginePagesView::Button(PageButton b) const {
  switch (b) {
    case PageButton::Scan: return c_.scan;
    case PageButton::StopScan: return c_.stopScan;
    case PageButton::Fix: return c_.fix;
    case PageButton::StopFix: return c_.stopFix;
    case PageButton::FixIE: return c_.reRegistration(true).start;
    case PageButton::StopFixIE: return c_.reRegistration(true).stop;
    case PageButton::FixWmp: return c_.reRegistration(false).start;
    case PageButton::StopFixWmp: return c_.reRegistration(false).stop;
  }
  return c_.scan;
}

ui::win32::ImageProgress* Win32EnginePagesView::Bar(PageProgress p) const {
  switch (p) {
    case PageProgress::Main: return c_.mainBar;
    case PageProgress::IE: return c_.reRegistration(true).bar;
    case PageProgress::Wmp: return c_.reRegistration(false).bar;
  }
  return c_.mainBar;
}

void Win32EnginePagesView::BringToFront(PageButton b) {
  // The pair lies on one spot: the one in front is shown, the one behind hidden, so that only
  // the front one can be clicked, focused or found by a screen reader.
  static const PageButton kPartner[] = {PageButton::StopScan, PageButton::Scan,      PageButton::StopFix,
                                        PageButton::Fix,      PageButton::StopFixIE, PageButton::FixIE,
                                        PageButton::StopFixWmp, PageButton::FixWmp};
  ui::win32::ImageButton* front = Button(b);
  ui::win32::ImageButton* back = Button(kPartner[static_cast<int>(b)]);
  front->SetVisible(true);
  front->BringToFront();
  back->SetVisible(false);
}

void Win32EnginePagesView::SetEnabled(PageButton b, bool enabled) { Button(b)->SetEnabled(enabled); }
bool Win32EnginePagesView::IsEnabled(PageButton b) const { return Button(b)->Enabled(); }

void Win32EnginePagesView::FocusFixButton() {
  if (c_.fix->Enabled() && c_.fix->Visible()) SetFocus(c_.fix->hwnd());
}

void Win32EnginePagesView::SetProgressVisible(PageProgress p, bool visible) { Bar(p)->SetBarVisible(visible); }
void Win32EnginePagesView::SetProgressPosition(PageProgress p, int position) { Bar(p)->SetPosition(position); }
int Win32EnginePagesView::ProgressMax(PageProgress p) const {
  PBRANGE range = {};
  SendMessageW(Bar(p)->hwnd(), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  return range.iHigh;
}

void Win32EnginePagesView::SetSelectAllVisible(bool visible) { c_.selectAll->SetVisible(visible); }
void Win32EnginePagesView::SetSelectAllChecked(bool checked) { c_.selectAll->SetChecked(checked, false); }
bool Win32EnginePagesView::SelectAllChecked() const { return c_.selectAll->Checked(); }

void Win32EnginePagesView::SetColumnCaption(const std::wstring& caption) { c_.list->SetColumnCaption(0, caption); }
void Win32EnginePagesView::BeginUpdate() { c_.list->BeginUpdate(); }
void Win32EnginePagesView::EndUpdate() { c_.list->EndUpdate(); }
void Win32EnginePagesView::ClearRows() {
  c_.list->Clear();
  indexes_.clear();
}
void Win32EnginePagesView::AddRow(const std::wstring& caption, const std::wstring& status, const std::wstring& index) {
  // The list shows two columns; the item index rides along beside it, not in a hidden column.
  indexes_.push_back(index);
  c_.list->AddItem(caption, {status}, false);
}
int Win32EnginePagesView::RowCount() const { return c_.list->ItemCount(); }
bool Win32EnginePagesView::RowChecked(int row) const { return c_.list->Checked(row); }
void Win32EnginePagesView::SetRowChecked(int row, bool checked) { c_.list->SetChecked(row, checked); }
std::wstring Win32EnginePagesView::RowIndexText(int row) const {
  return row >= 0 && row < static_cast<int>(indexes_.size()) ? indexes_[static_cast<std::size_t>(row)] : std::wstring();
}
void Win32EnginePagesView::SetListEnabled(bool enabled) { c_.list->SetEnabled(enabled); }

bool Win32EnginePagesView::ProcessMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Leave the quit request for the main loop, which ends the program.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    if (c_.preTranslate && c_.preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return IsWindow(c_.window) != FALSE;
}

std::wstring Win32EnginePagesView::Title() const {
  std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(c_.window)) + 1);
  GetWindowTextW(c_.window, buffer.data(), static_cast<int>(buffer.size()));
  return buffer.data();
}

void Win32EnginePagesView::ShowInfo(const std::wstring& text) {
  MessageBoxW(c_.window, text.c_str(), Title().c_str(), MB_OK | MB_ICONINFORMATION);
}

bool Win32EnginePagesView::ConfirmWarning(const std::wstring& text) {
  return MessageBoxW(c_.window, text.c_str(), Title().c_str(), MB_OKCANCEL | MB_ICONWARNING | MB_DEFBUTTON2) == IDOK;
}

void Win32EnginePagesView::NotifyAssocChanged() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr); }

void Win32EnginePagesView::DebugOutput(const std::wstring& text) { OutputDebugStringW(text.c_str()); }

}  // namespace corrivo::app

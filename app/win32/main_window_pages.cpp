// The General Fix page and the two re-registration pages: their buttons, Select All and the
// list's check boxes go to the page logic, which drives the scan-and-fix thread. Also
// "What will this change?" on the repair rows of both fix pages, and the box that answers it.
#include <cwchar>
#include <vector>

#include "app/control_ids.h"
#include "app/win32/main_window.h"
#include "catalog/journal.h"
#include "catalog/preview.h"
#include "engine/scan_items.h"

#include <commctrl.h>

namespace corrivo::app {
namespace {

bool FromKeyboard(LPARAM at) {
  return static_cast<short>(LOWORD(at)) == -1 && static_cast<short>(HIWORD(at)) == -1;
}

POINT PointOf(LPARAM at) { return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))}; }

// The lower left corner of a rectangle of `window`'s client area, on the screen.
POINT BelowLeft(HWND window, const RECT& r) {
  POINT p = {r.left, r.bottom};
  ClientToScreen(window, &p);
  return p;
}

// The box's dialog template, made in memory: the program has no dialog resources, and the
// controls keep the identifiers a driver and a screen reader look for.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short cx, short cy, const wchar_t* font, WORD points) {
    Dword(style);
    Dword(0);
    count_ = words_.size();
    words_.push_back(0);
    for (short v : {short{0}, short{0}, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    words_.push_back(0);  // the title is set when the box opens
    words_.push_back(points);
    Text(font);
  }
  // `atom`: 0x0080 for a button, 0x0081 for an edit control.
  void Add(WORD atom, int id, DWORD style, DWORD exStyle, short x, short y, short cx, short cy) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(exStyle);
    for (short v : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(v));
    words_.push_back(static_cast<WORD>(id));
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    words_.push_back(0);  // no text: set when the box opens
    words_.push_back(0);  // no creation data
    ++words_[count_];
  }
  LPCDLGTEMPLATEW get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()); }

 private:
  void Dword(DWORD v) {
    words_.push_back(LOWORD(v));
    words_.push_back(HIWORD(v));
  }
  void Text(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }
  std::vector<WORD> words_;
  std::size_t count_ = 0;
};

struct PreviewBoxTexts {
  const wchar_t* title;
  const wchar_t* text;
  const wchar_t* close;
};

WNDPROC editProc = nullptr;  // the system edit control's procedure

// The preview's text control: Escape, Enter and Tab stay the box's (a multi-line edit control
// would take them all), and Ctrl+A selects everything, which Windows XP's edit control
// does not do by itself. Ctrl+C and the control's own context menu copy.
LRESULT CALLBACK PreviewTextProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_GETDLGCODE)
    return CallWindowProcW(editProc, edit, msg, wp, lp) & ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_WANTTAB);
  if (msg == WM_CHAR && wp == 1) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return 0;
  }
  return CallWindowProcW(editProc, edit, msg, wp, lp);
}

INT_PTR CALLBACK PreviewBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    const auto* texts = reinterpret_cast<const PreviewBoxTexts*>(lp);
    SetWindowTextW(box, texts->title);
    SetDlgItemTextW(box, ids::kPreviewClose, texts->close);
    HWND edit = GetDlgItem(box, ids::kPreviewText);
    SetWindowTextW(edit, texts->text);
    editProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PreviewTextProc)));
    // The text from its start, nothing selected: the box is read before it is copied.
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    return FALSE;
  }
  if (msg == WM_COMMAND) {
    const int id = LOWORD(wp);
    if (id == IDOK || id == IDCANCEL || id == ids::kPreviewClose) {
      EndDialog(box, 0);
      return TRUE;
    }
  }
  return FALSE;
}

// The undo journal's box: what it needs while it is open.
struct JournalBox {
  System* system;
  WindowsVersion windows;
  const MessageTexts* texts;
  std::vector<std::wstring> names;  // of the list's lines, in their order
};

void FillJournalList(HWND box, JournalBox& j) {
  HWND list = GetDlgItem(box, ids::kJournalList);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  j.names.clear();
  std::vector<JournalEntryInfo> entries;
  std::wstring error;
  if (j.system->journal) ListJournal(*j.system, *j.system->journal, &entries, &error);
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {  // newest first
    const std::wstring line = it->time + L"   " + it->repair + L"   " + it->caption;
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    j.names.push_back(it->name);
  }
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  EnableWindow(GetDlgItem(box, ids::kJournalUndo), !j.names.empty());
}

void UndoSelected(HWND box, JournalBox& j) {
  const LRESULT at = SendDlgItemMessageW(box, ids::kJournalList, LB_GETCURSEL, 0, 0);
  if (at < 0 || static_cast<std::size_t>(at) >= j.names.size() || !j.system->journal) return;
  const UndoOutcome undo = UndoJournalEntry(*j.system, *j.system->journal, j.names[static_cast<std::size_t>(at)], j.windows);
  const std::wstring text = undo.ok ? j.texts->undone : j.texts->undoFailed + L"\n\n" + undo.error;
  MessageBoxW(box, text.c_str(), j.texts->undoJournal.c_str(), MB_OK | (undo.ok ? MB_ICONINFORMATION : MB_ICONWARNING));
  FillJournalList(box, j);
}

INT_PTR CALLBACK JournalBoxProc(HWND box, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_INITDIALOG) {
      auto* j = reinterpret_cast<JournalBox*>(lp);
      SetWindowLongPtrW(box, DWLP_USER, lp);
      SetWindowTextW(box, j->texts->undoJournal.c_str());
      SetDlgItemTextW(box, ids::kJournalUndo, j->texts->undoButton.c_str());
      SetDlgItemTextW(box, ids::kJournalClose, j->texts->closeHint.c_str());
      FillJournalList(box, *j);
      SetFocus(GetDlgItem(box, ids::kJournalList));
      return FALSE;
    }
    auto* j = reinterpret_cast<JournalBox*>(GetWindowLongPtrW(box, DWLP_USER));
    if (msg == WM_COMMAND && j) {
      const int id = LOWORD(wp);
      if (id == ids::kJournalUndo || (id == ids::kJournalList && HIWORD(wp) == LBN_DBLCLK)) {
        UndoSelected(box, *j);
        return TRUE;
      }
      if (id == IDCANCEL || id == ids::kJournalClose) {
        EndDialog(box, 0);
        return TRUE;
      }
    }
  } catch (...) {
    // Out of memory while listing or undoing: the box stays, nothing leaves the procedure.
  }
  return FALSE;
}

// A multi-line edit control breaks lines at CR LF only.
std::wstring WithCrLf(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 16);
  for (wchar_t c : text) {
    if (c == L'\n' && (out.empty() || out.back() != L'\r')) out += L'\r';
    out += c;
  }
  return out;
}

}  // namespace

void MainWindow::WireEnginePages() {
  EnginePageControls c;
  c.window = hwnd_;
  c.scan = scanButton_.get();
  c.stopScan = stopScanButton_.get();
  c.fix = fixButton_.get();
  c.stopFix = stopFixButton_.get();
  c.mainBar = generalProgress_.get();
  c.reRegistration = [this](bool internetExplorer) {
    ReRegistrationPage& r = EnsureReRegistrationPage(internetExplorer ? internet_ : mediaPlayer_);
    return EnginePageControls::ReRegistration{r.start.get(), r.stop.get(), r.progress.get()};
  };
  c.selectAll = selectAll_.get();
  c.list = scanList_.get();
  c.preTranslate = [this](MSG& msg) { return PreTranslate(msg); };
  pagesView_ = std::make_unique<Win32EnginePagesView>(c);
  // Each Stop button lies under its start button; hidden there, it cannot take a click or
  // the keyboard focus until its task runs.
  // (The re-registration pages do the same when they are made.)
  for (PageButton b : {PageButton::Scan, PageButton::Fix}) pagesView_->BringToFront(b);

  EnginePageTexts texts;
  texts.noProblems = messages_.noProblems;
  texts.allFixed = messages_.allFixed;
  texts.needsFix = messages_.needsFix;
  texts.total = messages_.total;
  texts.confirmIERegistration = messages_.confirmIERegistration;
  texts.confirmMediaPlayerRegistration = messages_.confirmMediaPlayerRegistration;
  texts.ieRegistered = messages_.ieRegistered;
  texts.mediaPlayerRegistered = messages_.mediaPlayerRegistered;
  texts.journalFailed = messages_.journalFailed;
  pages_ = std::make_unique<EnginePages>(*thread_, *pagesView_, texts, columnTitle_);

  EnginePages& pages = *pages_;
  scanButton_->OnClick = [&pages] { pages.Button_ScanClick(); };
  stopScanButton_->OnClick = [&pages] { pages.Button_StopScanClick(); };
  fixButton_->OnClick = [&pages] { pages.Button_FixClick(); };
  stopFixButton_->OnClick = [&pages] { pages.Button_StopFixClick(); };
  selectAll_->OnClick = [&pages] { pages.CheckBox_SelectAllClick(); };
  scanList_->OnItemChecked = [&pages](int) { pages.ListView_FixItemChecked(); };
}

// --- "What will this change?"

bool MainWindow::RouteContextMenuRequest(MSG& msg) {
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  // The context-menu key and Shift+F10 ask the focused control, as on a standard window:
  // not every Windows (nor Wine) turns both into WM_CONTEXTMENU for it by itself.
  const bool menuKey = (msg.message == WM_KEYUP && msg.wParam == VK_APPS) ||
                       (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F10 && GetKeyState(VK_SHIFT) < 0);
  if (menuKey) {
    SendMessageW(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd), static_cast<LPARAM>(-1));
    return true;
  }
  if (msg.message != WM_RBUTTONUP) return false;
  // The skinned controls (the row labels) keep the right button's release from the default
  // handling that asks for the context menu; standard controls ask by themselves.
  contextMenuAsked_ = false;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
  if (!contextMenuAsked_ && IsWindow(msg.hwnd)) {
    POINT p = PointOf(msg.lParam);
    ClientToScreen(msg.hwnd, &p);
    SendMessageW(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd), MAKELPARAM(p.x, p.y));
  }
  return true;
}

bool MainWindow::FindRepairRow(HWND control, LPARAM at, PreviewRow* row) const {
  const bool keyboard = FromKeyboard(at);
  for (const Category& c : categories_) {
    for (const FixRow& r : c.rows) {
      if (r.label->hwnd() != control && r.button->hwnd() != control) continue;
      row->repair = r.id;
      row->caption = r.label->Text();
      RECT bounds;
      GetClientRect(control, &bounds);
      row->at = keyboard ? BelowLeft(control, bounds) : PointOf(at);
      return true;
    }
  }
  if (!scanList_ || control != scanList_->hwnd() || !pagesView_) return false;
  int item = -1;
  if (keyboard) {
    item = static_cast<int>(SendMessageW(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (item < 0) item = static_cast<int>(SendMessageW(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  } else {
    LVHITTESTINFO hit{};
    hit.pt = PointOf(at);
    ScreenToClient(control, &hit.pt);
    item = static_cast<int>(SendMessageW(control, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  }
  if (item < 0) return false;
  // The row carries its scan item's index; the scan item names the repair.
  const std::wstring index = pagesView_->RowIndexText(item);
  wchar_t* end = nullptr;
  const long scanItem = std::wcstol(index.c_str(), &end, 10);
  if (index.empty() || *end != L'\0') return false;
  row->repair = ScanItemFixId(static_cast<int>(scanItem));
  if (row->repair == 0) return false;
  row->caption = scanList_->ItemText(item);
  RECT bounds{};
  bounds.left = LVIR_LABEL;
  SendMessageW(control, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&bounds));
  row->at = keyboard ? BelowLeft(control, bounds) : PointOf(at);
  return true;
}

bool MainWindow::OfferRepairPreview(HWND control, LPARAM at) {
  // Passed up from parent to parent, the request names the child it came through last, not
  // the control asked: that is the focused one, or the one under the mouse.
  if (FromKeyboard(at)) {
    HWND focus = GetFocus();
    if (focus && IsChild(control, focus)) control = focus;
  } else {
    const POINT screen = PointOf(at);
    for (HWND child = control; child;) {
      control = child;
      POINT p = screen;
      ScreenToClient(control, &p);
      child = ChildWindowFromPointEx(control, p, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
      if (child == control) break;
    }
  }
  PreviewRow row;
  if (!FindRepairRow(control, at, &row)) return false;
  previewRow_ = row;
  HMENU menu = CreatePopupMenu();
  if (!menu) return true;
  AppendMenuW(menu, MF_STRING, ids::kMenuWhatWillChange, messages_.whatWillChange.c_str());
  AppendMenuW(menu, MF_STRING, ids::kMenuUndo, messages_.undoMenu.c_str());
  // The choice is posted to the window as WM_COMMAND once the menu has closed, so the box
  // never opens inside the menu's loop.
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, row.at.x, row.at.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
  return true;
}

void MainWindow::ShowRepairPreview() {
  if (previewRow_.repair == 0) return;
  RepairArgs args;
  args.windows = windows_;
  args.ieVersionName = ieVersionName_;
  // The row's own words first: the box covers the row it was asked for.
  const std::wstring text =
      WithCrLf(previewRow_.caption + L"\n\n" + FormatPreview(PreviewRepair(system_, previewRow_.repair, args)));
  DialogTemplate box(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT | DS_CENTER, 320, 180,
                     L"MS Shell Dlg", 8);
  box.Add(0x0081, ids::kPreviewText, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
          WS_EX_CLIENTEDGE, 7, 7, 306, 146);
  box.Add(0x0080, ids::kPreviewClose, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 256, 159, 57, 14);
  const PreviewBoxTexts texts{messages_.whatWillChange.c_str(), text.c_str(), messages_.closeHint.c_str()};
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.get(), hwnd_, &PreviewBoxProc,
                          reinterpret_cast<LPARAM>(&texts));
}

void MainWindow::ShowUndoJournal() {
  DialogTemplate box(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT | DS_CENTER, 320, 180,
                     L"MS Shell Dlg", 8);
  box.Add(0x0083, ids::kJournalList, WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
          WS_EX_CLIENTEDGE, 7, 7, 306, 146);
  box.Add(0x0080, ids::kJournalUndo, WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 192, 159, 57, 14);
  box.Add(0x0080, ids::kJournalClose, WS_TABSTOP | BS_PUSHBUTTON, 0, 256, 159, 57, 14);
  JournalBox journal{&system_, windows_, &messages_, {}};
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), box.get(), hwnd_, &JournalBoxProc,
                          reinterpret_cast<LPARAM>(&journal));
}

}  // namespace corrivo::app

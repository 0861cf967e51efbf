// The logic of the three pages that drive the scan-and-fix thread: General Fix (scan, select,
// fix) and the two re-registration pages. Free of window code: the window implements
// EnginePagesView over its real controls and forwards the handlers below.
//
// The wait loops run on the window thread. Each pass processes pending window messages and
// sleeps 100 ms, so Stop, page switches and the Advanced Fix buttons keep working while a task
// runs; the buttons that could start a second task are disabled or covered for the duration.
#pragma once

#include <cstdint>
#include <string>

#include "engine/scan_and_fix_thread.h"

namespace corrivo {

enum class PageButton {
  Scan,           // Button_Scan
  StopScan,       // Button_StopScan, lies over Button_Scan
  Fix,            // Button_Fix
  StopFix,        // Button_StopFix, lies over Button_Fix
  FixIE,          // Button_FixIE
  StopFixIE,      // Button_StopFix_IE
  FixWmp,         // Button_Fix_MediaPlayer
  StopFixWmp,     // Button_StopFix_MediaPlayer
};

enum class PageProgress { Main, IE, Wmp };  // imgProgressBar_Main, ImageProgress_FixIE, ImageProgress_FixMediaPlayer

class EnginePagesView {
 public:
  virtual ~EnginePagesView() = default;

  // Of a start/stop pair only the button in front is visible and clickable.
  virtual void BringToFront(PageButton button) = 0;
  virtual void SetEnabled(PageButton button, bool enabled) = 0;
  virtual bool IsEnabled(PageButton button) const = 0;
  // Gives Button_Fix the input focus; a failure (it is disabled) is ignored.
  virtual void FocusFixButton() = 0;

  virtual void SetProgressVisible(PageProgress bar, bool visible) = 0;
  virtual void SetProgressPosition(PageProgress bar, int position) = 0;
  virtual int ProgressMax(PageProgress bar) const = 0;

  virtual void SetSelectAllVisible(bool visible) = 0;
  // Changes the box only: the presenter runs the click handler itself where a change of the
  // box counts as a click.
  virtual void SetSelectAllChecked(bool checked) = 0;
  virtual bool SelectAllChecked() const = 0;

  virtual void SetColumnCaption(const std::wstring& caption) = 0;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual void ClearRows() = 0;
  // Appends an unchecked row: caption, sub-item 0 (status), sub-item 1 (item index).
  virtual void AddRow(const std::wstring& caption, const std::wstring& status, const std::wstring& index) = 0;
  virtual int RowCount() const = 0;
  virtual bool RowChecked(int row) const = 0;
  // Like the list control, the view reports every change of a row's check state, by the user
  // or by the program, through EnginePages::ListView_FixItemChecked.
  virtual void SetRowChecked(int row, bool checked) = 0;
  virtual std::wstring RowIndexText(int row) const = 0;
  virtual void SetListEnabled(bool enabled) = 0;

  // Processes pending window messages; false once the program is quitting.
  virtual bool ProcessMessages() = 0;
  // Message boxes owned by the main window with its current title: information and OK; warning
  // with OK and Cancel, Cancel the default (true for OK).
  virtual void ShowInfo(const std::wstring& text) = 0;
  virtual bool ConfirmWarning(const std::wstring& text) = 0;
  // Tells the shell that associations and icons changed.
  virtual void NotifyAssocChanged() = 0;
  virtual void DebugOutput(const std::wstring& text) = 0;
};

// The page texts of section FixWindows_M, with their built-in defaults.
struct EnginePageTexts {
  std::wstring noProblems = L"No problems";
  std::wstring allFixed = L"All problems fixed.";
  std::wstring needsFix = L"Need Fix";
  std::wstring total = L"Total";
  std::wstring confirmIERegistration = L"Are you sure of reregister all DLL and OCX files for IE?";
  std::wstring confirmMediaPlayerRegistration = L"Are you sure of reregister all DLL and OCX files for Media Player?";
  std::wstring ieRegistered = L"Internet Explorer fixed.";
  std::wstring mediaPlayerRegistered = L"Media Player fixed.";
  std::wstring journalFailed = L"Nothing was changed: the undo journal could not be saved.";
};

// Progress positions from the thread's counters, in integer arithmetic.
int ScanProgressPosition(int max, std::int32_t done, std::int32_t total);          // (max-1)*done/total
int FixProgressPosition(int max, std::int32_t done, std::int32_t total);           // max*done/total
int RegistrationProgressPosition(int max, std::int32_t done, std::int32_t total);  // the same, capped at max

class EnginePages {
 public:
  // `columnTitle` is column 0's caption as the language set it, saved at window creation.
  EnginePages(TScanAndFixThread& thread, EnginePagesView& view, EnginePageTexts texts, std::wstring columnTitle);

  // General Fix page.
  void Button_ScanClick();
  void Button_StopScanClick() { ScanStopRequested = 1; }
  void Button_FixClick();
  void Button_StopFixClick() { FixStopRequested = 1; }
  void CheckBox_SelectAllClick();
  void ListView_FixItemChecked();
  bool AnyItemChecked();

  // Re-registration pages.
  void Button_FixIEClick();
  void Button_StopFix_IEClick() { IeStopRequested = 1; }
  void Button_Fix_MediaPlayerClick();
  void Button_StopFix_MediaPlayerClick() { WmpStopRequested = 1; }

  // Closing the window: every wait loop ends at its next pass, the worker stops and is asked
  // to end; nothing waits for it.
  void Close();

  // True while one of the wait loops runs.
  bool Busy() const { return busy_; }

  std::uint8_t ScanStopRequested = 0;
  std::uint8_t FixStopRequested = 0;
  std::uint8_t IeStopRequested = 0;
  std::uint8_t WmpStopRequested = 0;
  std::uint8_t Scanned = 0;
  std::uint8_t SelectAllGuard = 0;
  const std::wstring ColumnTitle;

 private:
  struct Registration;
  // Waits until `finished` is 1 or `stopFlag` is set; moves `bar` by `position` on every pass.
  template <typename Position>
  void WaitFor(const std::atomic<std::uint8_t>& finished, std::uint8_t& stopFlag, PageProgress bar,
               Position position, bool hideSelectAllOnStop);
  void ChangeSelectAll(bool checked);
  void FillRows();
  void RunRegistration(const Registration& r);

  TScanAndFixThread& thread_;
  EnginePagesView& view_;
  const EnginePageTexts texts_;
  bool busy_ = false;
  bool closing_ = false;
};

}  // namespace corrivo

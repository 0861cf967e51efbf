#include "engine/pages.h"

#include <utility>
#include <vector>

#include "sysaccess/clock.h"

namespace corrivo {
namespace {
constexpr std::uint32_t kWaitPassMs = 100;

int Scaled(int max, std::int32_t done, std::int32_t total) {
  if (total <= 0) return 0;
  return static_cast<int>(static_cast<std::int64_t>(max) * done / total);
}
}  // namespace

int ScanProgressPosition(int max, std::int32_t done, std::int32_t total) { return Scaled(max - 1, done, total); }
int FixProgressPosition(int max, std::int32_t done, std::int32_t total) { return Scaled(max, done, total); }
int RegistrationProgressPosition(int max, std::int32_t done, std::int32_t total) {
  int p = Scaled(max, done, total);
  return p >= max ? max : p;
}

struct EnginePages::Registration {
  PageButton start, stop, other;
  PageProgress bar;
  std::uint8_t& stopFlag;
  const std::atomic<std::uint8_t>& finished;
  void (TScanAndFixThread::*request)();
  const std::wstring& sure;
  const std::wstring& finish;
};

EnginePages::EnginePages(TScanAndFixThread& thread, EnginePagesView& view, EnginePageTexts texts,
                         std::wstring columnTitle)
    : ColumnTitle(std::move(columnTitle)), thread_(thread), view_(view), texts_(std::move(texts)) {}

template <typename Position>
void EnginePages::WaitFor(const std::atomic<std::uint8_t>& finished, std::uint8_t& stopFlag, PageProgress bar,
                          Position position, bool hideSelectAllOnStop) {
  busy_ = true;
  while (finished.load(std::memory_order_acquire) != 1) {
    if (stopFlag || closing_) {
      thread_.Stop();
      if (hideSelectAllOnStop) view_.SetSelectAllVisible(false);
      break;
    }
    if (!view_.ProcessMessages()) closing_ = true;  // the program is quitting: stop next pass
    thread_.system().clock.SleepMs(kWaitPassMs);
    // Total first: the worker resets Done before it publishes a task's Total, so after a new
    // Total this reads that task's Done, never the previous task's final count.
    const std::int32_t total = thread_.Total.load();
    const std::int32_t done = thread_.Done.load();
    view_.SetProgressPosition(bar, position(view_.ProgressMax(bar), done, total));
  }
  busy_ = false;
}

void EnginePages::ChangeSelectAll(bool checked) {
  if (view_.SelectAllChecked() == checked) return;
  view_.SetSelectAllChecked(checked);
  CheckBox_SelectAllClick();
}

void EnginePages::Button_ScanClick() {
  view_.BringToFront(PageButton::StopScan);
  view_.SetEnabled(PageButton::Fix, false);
  Scanned = 0;
  view_.SetEnabled(PageButton::FixIE, false);
  view_.SetEnabled(PageButton::FixWmp, false);
  view_.SetColumnCaption(ColumnTitle);
  view_.ClearRows();
  ChangeSelectAll(false);
  view_.SetSelectAllVisible(false);
  view_.SetProgressPosition(PageProgress::Main, 0);
  view_.SetProgressVisible(PageProgress::Main, true);

  thread_.StartScan();
  WaitFor(thread_.ScanDone, ScanStopRequested, PageProgress::Main, ScanProgressPosition, true);
  view_.SetProgressVisible(PageProgress::Main, false);

  if (ScanStopRequested || closing_) {
    view_.BringToFront(PageButton::Scan);
    view_.SetEnabled(PageButton::Fix, false);
  } else {
    FillRows();
  }
  view_.SetEnabled(PageButton::FixIE, true);
  view_.SetEnabled(PageButton::FixWmp, true);
  ScanStopRequested = 0;
  view_.FocusFixButton();
}

void EnginePages::FillRows() {
  view_.ClearRows();
  int rows = 0;
  for (const ScanResult& r : thread_.Results) {
    if (!r.Problem || !r.Offered) continue;
    view_.AddRow(r.Description, texts_.needsFix, std::to_wstring(r.Index));
    view_.SetRowChecked(rows++, true);
  }
  view_.DebugOutput(std::to_wstring(rows));
  if (rows > 0) {
    view_.BringToFront(PageButton::Fix);
    view_.SetEnabled(PageButton::Fix, true);
    SelectAllGuard = 0;
    view_.SetSelectAllVisible(true);
    ChangeSelectAll(true);
    SelectAllGuard = 1;
    for (int i = 0; i < rows; ++i) view_.SetRowChecked(i, true);
    view_.SetColumnCaption(ColumnTitle + L"(" + texts_.total + L":" + std::to_wstring(rows) + L")");
  } else {
    view_.BringToFront(PageButton::Scan);
    view_.SetColumnCaption(ColumnTitle);
    view_.ShowInfo(texts_.noProblems);
  }
  Scanned = 1;
  if (!AnyItemChecked()) view_.SetEnabled(PageButton::Fix, false);
  view_.BringToFront(PageButton::Scan);
}

void EnginePages::Button_FixClick() {
  view_.SetEnabled(PageButton::Scan, false);
  view_.BringToFront(PageButton::StopFix);
  view_.SetEnabled(PageButton::FixIE, false);
  view_.SetEnabled(PageButton::FixWmp, false);
  view_.SetProgressPosition(PageProgress::Main, 0);
  view_.SetProgressVisible(PageProgress::Main, true);
  view_.SetListEnabled(false);

  std::vector<std::wstring> list;
  for (int i = 0; i < view_.RowCount(); ++i)
    if (view_.RowChecked(i)) list.push_back(view_.RowIndexText(i));
  thread_.StartFix(std::move(list));
  WaitFor(thread_.FixDone, FixStopRequested, PageProgress::Main, FixProgressPosition, false);

  if (FixStopRequested || closing_) {
    view_.SetEnabled(PageButton::Scan, true);
  } else if (!thread_.FixRefusal.empty()) {
    // A repair that could not save its undo journal did not run: the list stays as it was,
    // and the reason is said instead of "All problems fixed."
    view_.ShowInfo(texts_.journalFailed + L"\n\n" + thread_.FixRefusal);
  } else {
    view_.BeginUpdate();
    view_.ClearRows();
    view_.EndUpdate();
    view_.NotifyAssocChanged();
    view_.BringToFront(PageButton::Scan);
    view_.SetEnabled(PageButton::Fix, false);
    view_.SetSelectAllVisible(false);
    view_.SetColumnCaption(ColumnTitle + L" ( " + texts_.noProblems + L" )");
    view_.ShowInfo(texts_.allFixed);
  }
  view_.BringToFront(PageButton::Fix);
  view_.SetEnabled(PageButton::Scan, true);
  view_.SetEnabled(PageButton::FixIE, true);
  view_.SetEnabled(PageButton::FixWmp, true);
  view_.SetListEnabled(true);
  ChangeSelectAll(false);
  view_.SetProgressVisible(PageProgress::Main, false);
  FixStopRequested = 0;
}

void EnginePages::CheckBox_SelectAllClick() {
  if (SelectAllGuard != 1) return;
  const bool checked = view_.SelectAllChecked();
  for (int i = 0; i < view_.RowCount(); ++i) view_.SetRowChecked(i, checked);
}

void EnginePages::ListView_FixItemChecked() {
  if (view_.IsEnabled(PageButton::FixWmp)) view_.SetEnabled(PageButton::Fix, AnyItemChecked());
  if (Scanned == 1) {
    SelectAllGuard = 0;
    bool all = true;
    for (int i = 0; i < view_.RowCount() && all; ++i) all = view_.RowChecked(i);
    ChangeSelectAll(all);
    SelectAllGuard = 1;
  }
}

bool EnginePages::AnyItemChecked() {
  for (int i = 0; i < view_.RowCount(); ++i) {
    if (view_.RowChecked(i)) {
      view_.SetEnabled(PageButton::Fix, true);
      return true;
    }
  }
  return false;
}

void EnginePages::RunRegistration(const Registration& r) {
  if (!view_.ConfirmWarning(r.sure)) return;
  view_.SetEnabled(PageButton::Scan, false);
  const bool fixWasEnabled = view_.IsEnabled(PageButton::Fix);
  view_.SetEnabled(PageButton::Fix, false);
  view_.SetEnabled(r.other, false);
  view_.SetProgressPosition(r.bar, 0);
  view_.SetProgressVisible(r.bar, true);
  view_.BringToFront(r.stop);

  (thread_.*r.request)();
  WaitFor(r.finished, r.stopFlag, r.bar, RegistrationProgressPosition, false);

  if (!r.stopFlag && !closing_)
    view_.ShowInfo(r.finish);
  else
    r.stopFlag = 0;
  ListView_FixItemChecked();
  view_.SetEnabled(PageButton::Scan, true);
  view_.SetEnabled(PageButton::Fix, fixWasEnabled);
  view_.SetEnabled(r.other, true);
  view_.SetProgressVisible(r.bar, false);
  view_.BringToFront(r.start);
}

void EnginePages::Button_FixIEClick() {
  RunRegistration({PageButton::FixIE, PageButton::StopFixIE, PageButton::FixWmp, PageProgress::IE,
                   IeStopRequested, thread_.IeDone, &TScanAndFixThread::StartIeRegister, texts_.confirmIERegistration,
                   texts_.ieRegistered});
}

void EnginePages::Button_Fix_MediaPlayerClick() {
  RunRegistration({PageButton::FixWmp, PageButton::StopFixWmp, PageButton::FixIE, PageProgress::Wmp,
                   WmpStopRequested, thread_.WmpDone, &TScanAndFixThread::StartWmpRegister, texts_.confirmMediaPlayerRegistration,
                   texts_.mediaPlayerRegistered});
}

void EnginePages::Close() {
  closing_ = true;
  ScanStopRequested = FixStopRequested = IeStopRequested = WmpStopRequested = 1;
  thread_.Stop();
  thread_.Terminate();
}

}  // namespace corrivo

// The General Fix page and the two re-registration pages: their buttons, Select All and the
// list's check boxes go to the page logic, which drives the scan-and-fix thread.
#include "app/win32/main_window.h"

namespace corrivo::app {

void MainWindow::WireEnginePages() {
  EnginePageControls c;
  c.window = hwnd_;
  c.scan = scanButton_.get();
  c.stopScan = stopScanButton_.get();
  c.fix = fixButton_.get();
  c.stopFix = stopFixButton_.get();
  c.fixIE = internet_.start.get();
  c.stopFixIE = internet_.stop.get();
  c.fixWmp = mediaPlayer_.start.get();
  c.stopFixWmp = mediaPlayer_.stop.get();
  c.mainBar = generalProgress_.get();
  c.ieBar = internet_.progress.get();
  c.wmpBar = mediaPlayer_.progress.get();
  c.selectAll = selectAll_.get();
  c.list = scanList_.get();
  c.preTranslate = [this](MSG& msg) { return PreTranslate(msg); };
  pagesView_ = std::make_unique<Win32EnginePagesView>(c);
  // Each Stop button lies under its start button; hidden there, it cannot take a click or
  // the keyboard focus until its task runs.
  for (PageButton b : {PageButton::Scan, PageButton::Fix, PageButton::FixIE, PageButton::FixWmp})
    pagesView_->BringToFront(b);

  EnginePageTexts texts;
  texts.noProblems = messages_.noProblems;
  texts.allFixed = messages_.allFixed;
  texts.needsFix = messages_.needsFix;
  texts.total = messages_.total;
  texts.confirmIERegistration = messages_.confirmIERegistration;
  texts.confirmMediaPlayerRegistration = messages_.confirmMediaPlayerRegistration;
  texts.ieRegistered = messages_.ieRegistered;
  texts.mediaPlayerRegistered = messages_.mediaPlayerRegistered;
  pages_ = std::make_unique<EnginePages>(*thread_, *pagesView_, texts, columnTitle_);

  EnginePages& pages = *pages_;
  scanButton_->OnClick = [&pages] { pages.Button_ScanClick(); };
  stopScanButton_->OnClick = [&pages] { pages.Button_StopScanClick(); };
  fixButton_->OnClick = [&pages] { pages.Button_FixClick(); };
  stopFixButton_->OnClick = [&pages] { pages.Button_StopFixClick(); };
  selectAll_->OnClick = [&pages] { pages.CheckBox_SelectAllClick(); };
  scanList_->OnItemChecked = [&pages](int) { pages.ListView_FixItemChecked(); };
  internet_.start->OnClick = [&pages] { pages.Button_FixIEClick(); };
  internet_.stop->OnClick = [&pages] { pages.Button_StopFix_IEClick(); };
  mediaPlayer_.start->OnClick = [&pages] { pages.Button_Fix_MediaPlayerClick(); };
  mediaPlayer_.stop->OnClick = [&pages] { pages.Button_StopFix_MediaPlayerClick(); };
}

}  // namespace corrivo::app

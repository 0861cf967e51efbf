// The General Fix page and the two re-registration pages: their buttons, Select All and the
// list's check boxes go to the page logic, which drives the scan-and-fix thread.
#include "app/win32/main_window.h"

namespace corrivo::app {

void TFixWindows_FormMain::WireEnginePages() {
  EnginePageControls c;
  c.window = hwnd_;
  c.scan = buttonScan_.get();
  c.stopScan = buttonStopScan_.get();
  c.fix = buttonFix_.get();
  c.stopFix = buttonStopFix_.get();
  c.fixIE = internet_.start.get();
  c.stopFixIE = internet_.stop.get();
  c.fixWmp = mediaPlayer_.start.get();
  c.stopFixWmp = mediaPlayer_.stop.get();
  c.mainBar = imgProgressBarMain_.get();
  c.ieBar = internet_.progress.get();
  c.wmpBar = mediaPlayer_.progress.get();
  c.selectAll = checkBoxSelectAll_.get();
  c.list = listViewFix_.get();
  c.preTranslate = [this](MSG& msg) { return PreTranslate(msg); };
  pagesView_ = std::make_unique<Win32EnginePagesView>(c);
  // Each Stop button lies under its start button; hidden there, it cannot take a click or
  // the keyboard focus until its task runs.
  for (PageButton b : {PageButton::Scan, PageButton::Fix, PageButton::FixIE, PageButton::FixWmp})
    pagesView_->BringToFront(b);

  EnginePageTexts texts;
  texts.NoProblem = messages_.D_NoProblem;
  texts.FixAll = messages_.D_FixAll;
  texts.NeedFix = messages_.D_NeedFix;
  texts.Total = messages_.D_Total;
  texts.FixIESure = messages_.D_FixIESure;
  texts.FixMPSure = messages_.D_FixMPSure;
  texts.FixIEFinish = messages_.D_FixIEFinish;
  texts.FixMPFinish = messages_.D_FixMPFinish;
  pages_ = std::make_unique<EnginePages>(*thread_, *pagesView_, texts, columnTitle_);

  EnginePages& pages = *pages_;
  buttonScan_->OnClick = [&pages] { pages.Button_ScanClick(); };
  buttonStopScan_->OnClick = [&pages] { pages.Button_StopScanClick(); };
  buttonFix_->OnClick = [&pages] { pages.Button_FixClick(); };
  buttonStopFix_->OnClick = [&pages] { pages.Button_StopFixClick(); };
  checkBoxSelectAll_->OnClick = [&pages] { pages.CheckBox_SelectAllClick(); };
  listViewFix_->OnItemChecked = [&pages](int) { pages.ListView_FixItemChecked(); };
  internet_.start->OnClick = [&pages] { pages.Button_FixIEClick(); };
  internet_.stop->OnClick = [&pages] { pages.Button_StopFix_IEClick(); };
  mediaPlayer_.start->OnClick = [&pages] { pages.Button_Fix_MediaPlayerClick(); };
  mediaPlayer_.stop->OnClick = [&pages] { pages.Button_StopFix_MediaPlayerClick(); };
}

}  // namespace corrivo::app

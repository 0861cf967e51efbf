// The page controls as plain state, behaving like the window's: a start/stop pair shows one
// button, row check changes are reported to the presenter like the list control does, and
// every progress position, message and debug line is kept for the test to read.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/pages.h"

namespace corrivo::testing {

class FakePagesView : public EnginePagesView {
 public:
  struct Row {
    std::wstring caption, status, index;
    bool checked = false;
  };

  EnginePages* pages = nullptr;  // receives ListView_FixItemChecked
  std::map<PageButton, bool> enabled{{PageButton::Scan, true},      {PageButton::StopScan, true},
                                     {PageButton::Fix, false},      {PageButton::StopFix, true},
                                     {PageButton::FixIE, true},     {PageButton::StopFixIE, true},
                                     {PageButton::FixWmp, true},    {PageButton::StopFixWmp, true}};
  std::map<PageButton, bool> front{{PageButton::Scan, true},   {PageButton::StopScan, false},
                                   {PageButton::Fix, true},    {PageButton::StopFix, false},
                                   {PageButton::FixIE, true},  {PageButton::StopFixIE, false},
                                   {PageButton::FixWmp, true}, {PageButton::StopFixWmp, false}};
  std::map<PageProgress, bool> progressVisible{
      {PageProgress::Main, false}, {PageProgress::IE, false}, {PageProgress::Wmp, false}};
  std::map<PageProgress, std::vector<int>> positions;
  std::map<PageProgress, int> max{{PageProgress::Main, 100}, {PageProgress::IE, 103}, {PageProgress::Wmp, 103}};
  bool selectAllVisible = false, selectAllChecked = false, listEnabled = true;
  std::wstring columnCaption = L"Fix Item";
  std::vector<Row> rows;
  std::vector<std::wstring> infos, confirmations, debug;
  bool confirmAnswer = true;
  int notifications = 0, focusRequests = 0, passes = 0;
  // Runs on every pass of a wait loop, as a window message would: the test clicks here. The
  // pass number counts from the last reset of `passes`.
  std::function<void(int pass)> onPass;

  void BringToFront(PageButton b) override {
    front[b] = true;
    front[Partner(b)] = false;
  }
  void SetEnabled(PageButton b, bool e) override { enabled[b] = e; }
  bool IsEnabled(PageButton b) const override { return enabled.at(b); }
  void FocusFixButton() override { ++focusRequests; }
  void SetProgressVisible(PageProgress p, bool v) override { progressVisible[p] = v; }
  void SetProgressPosition(PageProgress p, int pos) override { positions[p].push_back(pos); }
  int ProgressMax(PageProgress p) const override { return max.at(p); }
  void SetSelectAllVisible(bool v) override { selectAllVisible = v; }
  void SetSelectAllChecked(bool c) override { selectAllChecked = c; }
  bool SelectAllChecked() const override { return selectAllChecked; }
  void SetColumnCaption(const std::wstring& c) override { columnCaption = c; }
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void ClearRows() override { rows.clear(); }
  void AddRow(const std::wstring& c, const std::wstring& s, const std::wstring& i) override {
    rows.push_back({c, s, i, false});
  }
  int RowCount() const override { return static_cast<int>(rows.size()); }
  bool RowChecked(int r) const override { return rows.at(r).checked; }
  void SetRowChecked(int r, bool c) override {
    if (rows.at(r).checked == c) return;
    rows[r].checked = c;
    if (pages) pages->ListView_FixItemChecked();
  }
  std::wstring RowIndexText(int r) const override { return rows.at(r).index; }
  void SetListEnabled(bool e) override { listEnabled = e; }
  bool ProcessMessages() override {
    ++passes;
    if (onPass) onPass(passes);
    return true;
  }
  void ShowInfo(const std::wstring& t) override { infos.push_back(t); }
  bool ConfirmWarning(const std::wstring& t) override {
    confirmations.push_back(t);
    return confirmAnswer;
  }
  void NotifyAssocChanged() override { ++notifications; }
  void DebugOutput(const std::wstring& t) override { debug.push_back(t); }

  // A user's click on a row's check box.
  void UserCheck(int r, bool c) { SetRowChecked(r, c); }
  // A user's click on Select All.
  void UserClickSelectAll() {
    selectAllChecked = !selectAllChecked;
    pages->CheckBox_SelectAllClick();
  }
  bool Visible(PageButton b) const { return front.at(b); }

 private:
  static PageButton Partner(PageButton b) {
    switch (b) {
      case PageButton::Scan: return PageButton::StopScan;
      case PageButton::StopScan: return PageButton::Scan;
      case PageButton::Fix: return PageButton::StopFix;
      case PageButton::StopFix: return PageButton::Fix;
      case PageButton::FixIE: return PageButton::StopFixIE;
      case PageButton::StopFixIE: return PageButton::FixIE;
      case PageButton::FixWmp: return PageButton::StopFixWmp;
      case PageButton::StopFixWmp: return PageButton::FixWmp;
    }
    return b;
  }
};

}  // namespace corrivo::testing

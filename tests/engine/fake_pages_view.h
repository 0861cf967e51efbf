// The page controls as plain state, behaving like the window's: a start/stop pair shows one
// button, row check changes are reported to the pages like the list control does, and every
// progress position and message is kept for the test to read.
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
    std::wstring caption, index;
    bool checked = false;
  };

  EnginePages* pages = nullptr;  // receives ListView_FixItemChecked
  std::map<PageButton, bool> enabled, front;
  std::map<PageProgress, bool> progressVisible;
  std::map<PageProgress, std::vector<int>> positions;
  bool selectAllVisible = false, selectAllChecked = false, listEnabled = true, confirmAnswer = true;
  std::wstring columnCaption;
  std::vector<Row> rows;
  std::vector<std::wstring> infos, confirmations;
  // Runs on every pass of a wait loop, as a window message would.
  std::function<void()> onPass;

  FakePagesView() {
    for (PageButton b : {PageButton::Scan, PageButton::Fix, PageButton::FixIE, PageButton::FixWmp}) {
      enabled[b] = enabled[Partner(b)] = b != PageButton::Fix;
      BringToFront(b);
    }
  }
  void BringToFront(PageButton b) override { front[b] = true, front[Partner(b)] = false; }
  void SetEnabled(PageButton b, bool e) override { enabled[b] = e; }
  bool IsEnabled(PageButton b) const override { return enabled.at(b); }
  void SetProgressVisible(PageProgress p, bool v) override { progressVisible[p] = v; }
  void SetProgressPosition(PageProgress p, int pos) override { positions[p].push_back(pos); }
  int ProgressMax(PageProgress p) const override { return p == PageProgress::Main ? 100 : 103; }
  void SetSelectAllVisible(bool v) override { selectAllVisible = v; }
  void SetSelectAllChecked(bool c) override { selectAllChecked = c; }
  bool SelectAllChecked() const override { return selectAllChecked; }
  void SetColumnCaption(const std::wstring& c) override { columnCaption = c; }
  void ClearRows() override { rows.clear(); }
  void AddRow(const std::wstring& c, const std::wstring&, const std::wstring& i) override { rows.push_back({c, i}); }
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
    if (onPass) onPass();
    return true;
  }
  void ShowInfo(const std::wstring& t) override { infos.push_back(t); }
  bool ConfirmWarning(const std::wstring& t) override {
    confirmations.push_back(t);
    return confirmAnswer;
  }
  void FocusFixButton() override {}
  void BeginUpdate() override {}
  void EndUpdate() override {}
  void NotifyAssocChanged() override {}
  void DebugOutput(const std::wstring&) override {}

  std::vector<bool> Ticks() const {
    std::vector<bool> ticks;
    for (const Row& r : rows) ticks.push_back(r.checked);
    return ticks;
  }

 private:
  // Each stop button follows its start button in the enumeration.
  static PageButton Partner(PageButton b) { return static_cast<PageButton>(static_cast<int>(b) ^ 1); }
};

}  // namespace corrivo::testing

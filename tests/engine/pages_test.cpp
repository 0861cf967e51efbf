// The General Fix and re-registration pages over the real worker thread, in virtual time. The
// view's pass hook is where the "user" clicks while a wait loop runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>

#include "tests/engine/engine_fixture.h"
#include "tests/engine/fake_pages_view.h"

namespace corrivo::testing {
namespace {

int F(int index) { return ScanItemFixId(index); }
using Texts = std::vector<std::wstring>;

// The worker runs on its own thread here, not on the test's.
class PagesTest : public EngineTest {
 protected:
  PagesTest() {
    clock.SetYield(true);
    view.pages = &pages;
    thread.Resume();
  }
  // Holds the first wait pass until the task has ended, so that the last position is the final one.
  void FinishBeforeFirstPass(const std::atomic<std::uint8_t>& flag) {
    view.onPass = [&flag] { while (flag.load() != 1) std::this_thread::yield(); };
  }
  void ExpectProgressRanToTheEnd(PageProgress bar, int max) {
    const std::vector<int> p = std::exchange(view.positions[bar], {});
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.front(), 0);
    EXPECT_EQ(p.back(), max);
    EXPECT_LE(*std::max_element(p.begin(), p.end()), max);
    EXPECT_FALSE(view.progressVisible[bar]);
  }

  FakePagesView view;
  EnginePages pages{thread, view, EnginePageTexts{}, L"Fix Item"};
};

TEST_F(PagesTest, ScanListsTheOfferedProblemsTickedAndFixRepairsTheTickedOnes) {
  ASSERT_FALSE(ScanItemOffered(9, WindowsVersion::Seven));
  actions.SetProblems({F(0), F(3), F(7), F(9)});
  FinishBeforeFirstPass(thread.ScanDone);
  pages.Button_ScanClick();
  Texts rows;
  for (const auto& r : view.rows) rows.push_back(r.index);
  EXPECT_EQ(rows, (Texts{L"0", L"3", L"7"}));
  for (const auto& r : view.rows) EXPECT_EQ(r.caption, ScanItemDescription(std::stoi(r.index)));
  EXPECT_EQ(view.Ticks(), std::vector<bool>(3, true));
  EXPECT_EQ(view.columnCaption, L"Fix Item(Total:3)");
  EXPECT_TRUE(view.selectAllVisible && view.selectAllChecked && view.enabled[PageButton::Fix]);
  EXPECT_TRUE(view.front[PageButton::Scan] && view.front[PageButton::Fix] && view.infos.empty());
  ExpectProgressRanToTheEnd(PageProgress::Main, 100);

  view.SetRowChecked(1, false);
  EXPECT_EQ(view.Ticks(), (std::vector<bool>{true, false, true})) << "the other rows keep their ticks";
  EXPECT_FALSE(view.selectAllChecked);
  view.SetRowChecked(1, true);
  EXPECT_TRUE(view.selectAllChecked);
  view.selectAllChecked = false;  // the user's click on Select All
  pages.CheckBox_SelectAllClick();
  EXPECT_EQ(view.Ticks(), (std::vector<bool>{false, false, false}));
  EXPECT_FALSE(view.enabled[PageButton::Fix]);
  view.SetRowChecked(2, true);
  view.SetRowChecked(0, true);
  EXPECT_TRUE(view.enabled[PageButton::Fix]);

  FinishBeforeFirstPass(thread.FixDone);
  pages.Button_FixClick();
  EXPECT_EQ(actions.Ids(true), (std::vector<int>{F(0), F(7)})) << "in list order";
  EXPECT_EQ(view.infos, Texts{L"All problems fixed."});
  EXPECT_TRUE(view.rows.empty() && !view.selectAllVisible && !view.enabled[PageButton::Fix]);
  EXPECT_EQ(view.columnCaption, L"Fix Item ( No problems )");
  EXPECT_TRUE(view.enabled[PageButton::Scan] && view.listEnabled);
  ExpectProgressRanToTheEnd(PageProgress::Main, 100);
}

TEST_F(PagesTest, ScanWithNothingToListLeavesNoRows) {
  struct Case {
    const char* name;
    std::function<void()> click;  // while the scan runs
    Texts infos;
  } cases[] = {{"sound system", nullptr, {L"No problems"}},
               {"stopped", [&] { pages.Button_StopScanClick(); }, {}},
               {"closed", [&] { pages.Close(); }, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    actions.SetProblems({}, c.click != nullptr);
    view.onPass = c.click;
    pages.Button_ScanClick();
    EXPECT_EQ(std::exchange(view.infos, {}), c.infos);
    EXPECT_TRUE(view.rows.empty() && view.front[PageButton::Scan] && view.columnCaption == L"Fix Item");
    EXPECT_FALSE(view.enabled[PageButton::Fix] || view.selectAllVisible || view.progressVisible[PageProgress::Main]);
    EXPECT_TRUE(view.enabled[PageButton::FixIE] && view.enabled[PageButton::FixWmp]);
    EXPECT_EQ(pages.ScanStopRequested, 0);
  }
  EXPECT_TRUE(thread.Terminated());
}

// Fix shows again at once after the stop; the next click's run takes the rows ticked by then.
TEST_F(PagesTest, FixStoppedAndClickedAgainWhileTheWorkerEndsItsStep) {
  actions.SetProblems({F(0), F(3), F(7)});
  pages.Button_ScanClick();
  std::atomic<bool> inFix{false}, release{false};  // the worker waits in the pause after its first repair
  clock.OnSleep([&](std::uint32_t ms) {
    if (ms == TScanAndFixThread::kFixPauseMs && !inFix.exchange(true))
      while (!release.load()) std::this_thread::yield();
  });
  view.onPass = [&] {
    if (inFix.load()) pages.Button_StopFixClick();
  };
  pages.Button_FixClick();
  EXPECT_EQ(view.Ticks(), (std::vector<bool>{false, false, false})) << "Select All was ticked";
  EXPECT_TRUE(view.front[PageButton::Fix] && view.enabled[PageButton::Scan] && view.listEnabled);
  EXPECT_TRUE(view.infos.empty());

  view.SetRowChecked(2, true);
  view.onPass = [&] { release.store(true); };  // the new request is in by the first pass
  pages.Button_FixClick();
  release.store(true);  // in case the click never waited
  clock.OnSleep(nullptr);
  EXPECT_EQ(actions.Ids(true), (std::vector<int>{F(0), F(7)}));
  EXPECT_EQ(view.infos, Texts{L"All problems fixed."});
}

TEST_F(PagesTest, AFixRunThatCouldNotSaveItsJournalSaysWhyAndKeepsTheList) {
  actions.SetProblems({F(0), F(3)});
  pages.Button_ScanClick();
  view.SetRowChecked(0, true);
  view.SetRowChecked(1, true);
  actions.SetRefusal(L"the folder is read-only");
  view.onPass = [&] {  // while the run goes, no other task can be started
    EXPECT_FALSE(view.enabled[PageButton::Scan] || view.enabled[PageButton::FixIE] || view.enabled[PageButton::FixWmp]);
  };
  pages.Button_FixClick();
  view.onPass = nullptr;
  EXPECT_EQ(std::exchange(view.infos, {}), Texts{EnginePageTexts{}.journalFailed + L"\n\nthe folder is read-only"});
  EXPECT_EQ(view.rows.size(), 2u);
  EXPECT_TRUE(view.enabled[PageButton::Scan] && view.listEnabled);
  actions.SetRefusal(L"");
  view.SetRowChecked(0, true);
  pages.Button_FixClick();
  EXPECT_EQ(view.infos, Texts{L"All problems fixed."});
}

TEST_F(PagesTest, RegistrationsLaunchTheirWholeListAndGiveTheButtonsBack) {
  const EnginePageTexts texts;
  for (bool ie : {true, false}) {
    SCOPED_TRACE(ie);
    const auto click = ie ? &EnginePages::Button_FixIEClick : &EnginePages::Button_Fix_MediaPlayerClick;
    const auto stop = ie ? &EnginePages::Button_StopFix_IEClick : &EnginePages::Button_StopFix_MediaPlayerClick;
    const std::atomic<std::uint8_t>& done = ie ? thread.IeDone : thread.WmpDone;
    const Texts& list = ie ? thread.IeCommands : thread.WmpCommands;
    const PageProgress bar = ie ? PageProgress::IE : PageProgress::Wmp;
    runner.Clear();
    view.infos.clear();
    view.enabled[PageButton::Fix] = ie;  // given back as it was
    const auto enabled = view.enabled, front = view.front;
    view.confirmAnswer = false;
    (pages.*click)();
    // A request would keep the flag at 0 until its run had launched the whole list.
    EXPECT_TRUE(done.load() == 1 && runner.Commands().empty() && view.positions[bar].empty()) << "cancelled";
    view.confirmAnswer = true;
    view.onPass = [&] { (pages.*stop)(); };
    (pages.*click)();
    EXPECT_TRUE(view.infos.empty() && view.enabled == enabled && view.front == front) << "stopped";
    view.confirmations.clear();
    view.positions.clear();
    FinishBeforeFirstPass(done);
    (pages.*click)();
    const Texts launched = runner.Commands();  // the stopped run's come first
    ASSERT_GE(launched.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
      EXPECT_EQ(launched[launched.size() - list.size() + i], L"/c" + list[i]);
    EXPECT_EQ(view.confirmations, Texts{ie ? texts.confirmIERegistration : texts.confirmMediaPlayerRegistration});
    EXPECT_EQ(view.infos, Texts{ie ? texts.ieRegistered : texts.mediaPlayerRegistered});
    ExpectProgressRanToTheEnd(bar, 103);
    EXPECT_TRUE(view.enabled == enabled && view.front == front);
  }
}

}  // namespace
}  // namespace corrivo::testing

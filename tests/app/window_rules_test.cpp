// The window's portable rules: its self-drawn frame, the entry sequence and creation.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "app/creation.h"
#include "app/frame_rules.h"
#include "app/startup.h"

namespace corrivo {
namespace {

TEST(SizeToggleTest, MaximiseFillsTheWorkAreaAndRestoreGivesTheExactBoundsBack) {
  SizeToggle toggle;
  const Rect before{123, 77, 700, 520}, work{0, 30, 1280, 994};  // taskbar on top
  const auto max = toggle.Toggle(before, work, 650);
  EXPECT_TRUE(max.bounds == work && toggle.Maximised() && !max.showMaximise && max.showRestore);
  const auto restore = toggle.Toggle(work, work, 1250);
  EXPECT_TRUE(restore.bounds == before && !toggle.Maximised() && restore.showMaximise && !restore.showRestore);
  EXPECT_TRUE(max.statusColumn == 100 && restore.statusColumn == 100) << "the status column keeps its width";
}

TEST(WheelTest, ScrollsOnlyTheAdvancedPageWithTheMouseInsideTheBox) {
  // Away from the user, from 20 in a range of 400; the box's edges count as inside.
  const std::tuple<int, Point, bool> cases[] = {
      {1, {0, 0}, true},    {1, {500, 300}, true}, {1, {501, 10}, false}, {1, {10, 301}, false},
      {1, {-1, 10}, false}, {1, {10, -1}, false},  {0, {10, 10}, false},  {2, {10, 10}, false},
  };
  for (const auto& [page, at, scroll] : cases) {
    SCOPED_TRACE(::testing::Message() << "page " << page << " at " << at.x << "," << at.y);
    const WheelOutcome w = WheelOnWindow(static_cast<Page>(page), at, {500, 300}, 20, 120, 400);
    EXPECT_EQ(w.scroll, scroll);
    EXPECT_EQ(w.position, scroll ? 15 : 20);
    EXPECT_EQ(w.repaint, page == 1);  // the Advanced Fix page repaints either way
  }
  // Towards the user: down the list (the steps and the ends are the scroll rules' own, in tests/widgets).
  EXPECT_EQ(WheelOnWindow(Page::AdvancedFix, {1, 1}, {500, 300}, 20, -120, 400).position, 25);
}

using Calls = std::vector<std::string>;

struct StartState {
  unsigned major;
  bool hasDpiCall, anotherCopy, minimised;
  std::uintptr_t runningWindow;
};

struct FakeStart : StartServices {
  explicit FakeStart(StartState s) : setup(s) {}
  StartState setup;
  Calls calls;

  unsigned MajorVersion() override { return setup.major; }
  bool MarkDpiAware() override { return Call("dpi", setup.hasDpiCall); }
  void SetApplicationIcon() override { calls.push_back("icon"); }
  bool AnotherCopyIsRunning() override { return Call("mark", setup.anotherCopy); }
  std::uintptr_t FindRunningCopy() override { return Call("find", setup.runningWindow); }
  bool IsMinimised(std::uintptr_t w) override { return Found(w, nullptr), setup.minimised; }
  void Restore(std::uintptr_t w) override { Found(w, "restore"); }
  void BringToForeground(std::uintptr_t w) override { Found(w, "foreground"); }
  void HandOverTo(std::uintptr_t w) override { Found(w, "hand over"); }
  int RunFirstInstance() override { return Call("run", 7); }

  template <typename T>
  T Call(const char* name, T answer) {
    calls.push_back(name);
    return answer;
  }
  void Found(std::uintptr_t window, const char* name) {  // every call goes to the window found
    EXPECT_EQ(window, setup.runningWindow);
    if (name) calls.push_back(name);
  }
};

TEST(StartupTest, TheFirstCopyScalesTakesTheMarkAndRunsASecondHandsOverAndLeaves) {
  const std::tuple<StartState, int, Calls> cases[] = {
      {{6, true, false, false, 0}, 7, {"dpi", "icon", "mark", "run"}},
      {{6, false, false, false, 0}, 7, {"dpi", "mark", "run"}},  // no scaling call: no icon either
      {{5, true, false, false, 0}, 7, {"mark", "run"}},           // XP scales nothing
      {{5, true, true, false, 0x1234}, 0, {"mark", "find", "foreground", "hand over"}},
      {{6, true, true, true, 0x1234}, 0, {"dpi", "icon", "mark", "find", "restore", "foreground", "hand over"}},
      {{5, true, true, false, 0}, 0, {"mark", "find"}},  // the other copy has no window (yet, or any more)
  };
  for (const auto& [setup, exitCode, expected] : cases) {
    FakeStart s(setup);
    EXPECT_EQ(RunProgram(s), exitCode);
    EXPECT_EQ(s.calls, expected);
  }
}

struct RecordingSteps : CreationSteps {
  WindowsVersion windows = WindowsVersion::Seven;
  Calls calls;

  void ApplyWindowStyle() override { calls.push_back("style"); }
  void ResetHeaderTiles() override { calls.push_back("tiles"); }
  void CreateThreadSuspended() override { calls.push_back("thread"); }
  void DetectIEVersion() override { calls.push_back("ie"); }
  WindowsVersion DetectWindowsVersion() override { return calls.push_back("windows"), windows; }
  void LoadLanguage() override { calls.push_back("language"); }
  void SaveColumnTitle() override { calls.push_back("column"); }
  void RefuseVersion() override { calls.push_back("refuse"); }
  void ChooseDesktopUser() override { calls.push_back("user"); }
  void StartThread(WindowsVersion v) override { calls.push_back(v == windows ? "start" : "start on another"); }
  void ShowPage(Page page) override { calls.push_back("page" + std::to_string(static_cast<int>(page))); }
  void AnchorControls() override { calls.push_back("anchors"); }
  void FillPages() override { calls.push_back("fill"); }
  void SelectCategory(int n) override { calls.push_back("category" + std::to_string(n)); }
  void PlaceStopFixOverFix() override { calls.push_back("stopfix"); }
};

TEST(CreationTest, SupportedWindowsRunsEveryStepAndAnyOtherIsRefusedBeforeTheThreadStarts) {
  // Up to the check every step runs everywhere: the (hidden) window refuses in the user's language.
  const Calls checked = {"style", "tiles", "thread", "ie", "windows", "language", "column"};
  Calls runs = checked, refused = checked;
  runs.insert(runs.end(), {"user", "start", "page0", "anchors", "fill", "category1", "stopfix"});
  refused.push_back("refuse");
  using enum WindowsVersion;
  for (WindowsVersion v : {XP, Vista, Seven, Eight, Unknown, Server2003, Server2008, Windows2000}) {
    SCOPED_TRACE(static_cast<int>(v));
    const bool supported = v == XP || v == Vista || v == Seven || v == Eight;
    RecordingSteps s;
    s.windows = v;
    EXPECT_EQ(RunCreationSequence(s), supported);
    EXPECT_EQ(s.calls, supported ? runs : refused);
  }
}

}  // namespace
}  // namespace corrivo

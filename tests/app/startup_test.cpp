// The entry sequence (display scaling, the single-instance mark and the hand-over to a running
// copy) and the main window's creation sequence, in order.
#include "app/startup.h"

#include <gtest/gtest.h>

#include "app/creation.h"

#include <string>
#include <vector>

namespace corrivo {
namespace {

using Calls = std::vector<std::string>;

struct FakeStart : StartServices {
  unsigned major = 6;
  bool hasDpiCall = true, anotherCopy = false, minimised = false;
  std::uintptr_t runningWindow = 0;
  Calls calls;

  unsigned MajorVersion() override { return major; }
  bool MarkDpiAware() override { return Call("dpi", hasDpiCall); }
  void SetApplicationIcon() override { calls.push_back("icon"); }
  bool AnotherCopyIsRunning() override { return Call("mark", anotherCopy); }
  std::uintptr_t FindRunningCopy() override { return Call("find", runningWindow); }
  bool IsMinimised(std::uintptr_t w) override {
    ToTheWindowFound(w, nullptr);
    return minimised;
  }
  void Restore(std::uintptr_t w) override { ToTheWindowFound(w, "restore"); }
  void BringToForeground(std::uintptr_t w) override { ToTheWindowFound(w, "foreground"); }
  void HandOverTo(std::uintptr_t w) override { ToTheWindowFound(w, "hand over"); }
  int RunFirstInstance() override { return Call("run", 7); }

  template <typename T>
  T Call(const char* name, T answer) {
    calls.push_back(name);
    return answer;
  }
  void ToTheWindowFound(std::uintptr_t window, const char* name) {
    EXPECT_EQ(window, runningWindow);
    if (name) calls.push_back(name);
  }
};

TEST(StartupTest, FirstCopyScalesThenTakesTheMarkThenRuns) {
  struct Case {
    unsigned major;
    bool hasDpiCall;
    Calls expected;
  };
  const Case cases[] = {
      {6, true, {"dpi", "icon", "mark", "run"}},
      {10, true, {"dpi", "icon", "mark", "run"}},
      {6, false, {"dpi", "mark", "run"}},  // no scaling call: no icon either
      {5, true, {"mark", "run"}},          // XP scales nothing
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.major);
    FakeStart s;
    s.major = c.major;
    s.hasDpiCall = c.hasDpiCall;
    EXPECT_EQ(RunProgram(s), 7);
    EXPECT_EQ(s.calls, c.expected);
  }
}

TEST(StartupTest, SecondCopyHandsOverToTheRunningOneAndLeavesWithZero) {
  struct Case {
    std::uintptr_t window;
    bool minimised;
    Calls expected;
  };
  const Case cases[] = {
      {0x1234, false, {"mark", "find", "foreground", "hand over"}},
      {0x1234, true, {"mark", "find", "restore", "foreground", "hand over"}},
      {0, false, {"mark", "find"}},  // the other copy has no window (yet, or any more)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    FakeStart s;
    s.major = 5;
    s.anotherCopy = true;
    s.runningWindow = c.window;
    s.minimised = c.minimised;
    EXPECT_EQ(RunProgram(s), 0);
    EXPECT_EQ(s.calls, c.expected);
  }
}

struct RecordingSteps : CreationSteps {
  WindowsVersion windows = WindowsVersion::Seven;
  Calls calls;

  void ApplyWindowStyle() override { calls.push_back("style"); }
  void ResetHeaderTiles() override { calls.push_back("tiles"); }
  void CreateThreadSuspended() override { calls.push_back("thread"); }
  void DetectIEVersion() override { calls.push_back("ie"); }
  WindowsVersion DetectWindowsVersion() override {
    calls.push_back("windows");
    return windows;
  }
  void LoadLanguage() override { calls.push_back("language"); }
  void SaveColumnTitle() override { calls.push_back("column"); }
  void RefuseVersion() override { calls.push_back("refuse"); }
  void StartThread(WindowsVersion v) override { calls.push_back(v == windows ? "start" : "start on another"); }
  void ShowPage(int page) override { calls.push_back("page" + std::to_string(page)); }
  void AnchorControls() override { calls.push_back("anchors"); }
  void FillPages() override { calls.push_back("fill"); }
  void SelectCategory(int n) override { calls.push_back("category" + std::to_string(n)); }
  void PlaceStopFixOverFix() override { calls.push_back("stopfix"); }
};

TEST(CreationTest, SupportedWindowsRunsEveryStepAndAnyOtherIsRefusedBeforeTheThreadStarts) {
  // Everything up to the check runs on every system: the refusal is shown in the user's
  // language, by the (hidden) window.
  const Calls checked = {"style", "tiles", "thread", "ie", "windows", "language", "column"};
  Calls runs = checked, refused = checked;
  runs.insert(runs.end(), {"start", "page0", "anchors", "fill", "category1", "stopfix"});
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

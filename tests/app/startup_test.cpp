#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corrivo {
namespace {

class FakeStart : public StartServices {
 public:
  unsigned major = 6;
  bool hasDpiCall = true;
  std::uint32_t mutexError = 0;
  std::uintptr_t window = 0;
  bool minimised = false;
  std::vector<std::string> calls;

  unsigned MajorVersion() override { return major; }
  bool MarkDpiAware() override {
    calls.push_back("dpi");
    return hasDpiCall;
  }
  void SetApplicationIcon() override { calls.push_back("icon"); }
  std::uint32_t CreateInstanceMutex() override {
    calls.push_back("mutex");
    return mutexError;
  }
  std::uintptr_t FindMainWindow() override {
    calls.push_back("find");
    return window;
  }
  bool IsMinimised(std::uintptr_t) override { return minimised; }
  void PostRestore(std::uintptr_t) override { calls.push_back("restore"); }
  void BringToForeground(std::uintptr_t) override { calls.push_back("foreground"); }
  void SendActivate(std::uintptr_t) override { calls.push_back("activate"); }
  int RunFirstInstance() override {
    calls.push_back("run");
    return 0;
  }
};

using Calls = std::vector<std::string>;

TEST(StartupTest, FirstInstanceMarksDpiThenRuns) {
  FakeStart s;
  EXPECT_EQ(RunProgram(s), 0);
  EXPECT_EQ(s.calls, (Calls{"dpi", "icon", "mutex", "run"}));
}

TEST(StartupTest, OtherMutexErrorsRunAsFirstInstance) {
  FakeStart s;
  s.mutexError = 5;
  RunProgram(s);
  EXPECT_EQ(s.calls.back(), "run");
}

TEST(StartupTest, MajorFiveSkipsTheScalingStep) {
  FakeStart s;
  s.major = 5;
  RunProgram(s);
  EXPECT_EQ(s.calls, (Calls{"mutex", "run"}));
}

TEST(StartupTest, MissingDpiCallSetsNoIcon) {
  FakeStart s;
  s.hasDpiCall = false;
  RunProgram(s);
  EXPECT_EQ(s.calls, (Calls{"dpi", "mutex", "run"}));
}

TEST(StartupTest, SecondInstanceHandsOverAndLeaves) {
  FakeStart s;
  s.mutexError = kErrorAlreadyExists;
  s.window = 0x1234;
  EXPECT_EQ(RunProgram(s), 0);
  EXPECT_EQ(s.calls, (Calls{"dpi", "icon", "mutex", "find", "foreground", "activate"}));
}

TEST(StartupTest, MinimisedFirstWindowIsRestoredBeforeActivation) {
  FakeStart s;
  s.mutexError = kErrorAlreadyExists;
  s.window = 0x1234;
  s.minimised = true;
  RunProgram(s);
  EXPECT_EQ(s.calls, (Calls{"dpi", "icon", "mutex", "find", "restore", "foreground", "activate"}));
}

TEST(StartupTest, SecondInstanceWithoutWindowLeavesSilently) {
  FakeStart s;
  s.mutexError = kErrorAlreadyExists;
  EXPECT_EQ(RunProgram(s), 0);
  EXPECT_EQ(s.calls, (Calls{"dpi", "icon", "mutex", "find"}));
}

TEST(StartupTest, NamesAndNumbers) {
  EXPECT_EQ(std::wstring(kInstanceMutexName), L"_Tarsio_Fix_Windows_");
  EXPECT_EQ(std::wstring(kMainWindowClass), L"TFixWindows_FormMain");
  EXPECT_EQ(kActivateInstanceMessage, 0x49Cu);
  EXPECT_EQ(kActivateInstanceMessage, 0x400u + 156u);
}

}  // namespace
}  // namespace corrivo

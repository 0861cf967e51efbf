// FixByID: which repair runs with which argument, the shell notifications, 607's refresh of the
// desktop's list view, and the one message box.
#include <gtest/gtest.h>

#include <map>

#include "catalog/dispatch.h"
#include "catalog/step_backend.h"
#include "tests/catalog/fake_step_backend.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

// Records every effect as one line; windows are found from a class-name map.
class RecordingEffects : public DispatchEffects {
 public:
  std::map<std::wstring, WindowId> topLevel;
  std::map<std::pair<WindowId, std::wstring>, WindowId> children;
  std::vector<std::string> log;

  void ChangeNotify(std::int32_t eventId, std::uint32_t flags) override {
    log.push_back("notify " + Hex(static_cast<std::uint32_t>(eventId)) + " " + Hex(flags));
  }
  WindowId FindTopLevelWindow(const std::wstring& className) override {
    log.push_back("find " + Narrow(className));
    auto it = topLevel.find(className);
    return it == topLevel.end() ? 0 : it->second;
  }
  WindowId FindChildWindow(WindowId parent, const std::wstring& className) override {
    log.push_back("child " + std::to_string(parent) + " " + Narrow(className));
    auto it = children.find({parent, className});
    return it == children.end() ? 0 : it->second;
  }
  void SendWindowMessage(WindowId window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    log.push_back("send " + std::to_string(window) + " " + Hex(message) + " " + Hex(static_cast<std::uint32_t>(wParam)) +
                  " " + std::to_string(lParam));
  }
  void ShowMessage(const std::wstring& text, std::uint32_t style) override {
    log.push_back("message " + Narrow(text) + " " + Hex(style));
  }

  static std::string Hex(std::uint32_t v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%X", v);
    return buffer;
  }
};

const std::string kNotify = "notify 0x8000000 0x1000";

class FixByIdTest : public MemorySystemTest {
 protected:
  FakeSpecialBackend specials;
  ScopedSpecialStepBackend scopedSpecials{specials};
  RecordingEffects effects;
  DispatchTexts texts;
};

TEST_F(FixByIdTest, UnknownIdsDoNothingAndShowNothing) {
  for (int id : {111, 617, 703, 800, 0, 100, -101}) FixByID(id, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_TRUE(effects.log.empty());
  EXPECT_TRUE(runner.Commands().empty());
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(FixByIdTest, SuccessNotifiesTwiceThenShowsFixed) {
  FixByID(601, FixArgs{}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{kNotify, kNotify, "message Fixed! 0x40"}));
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(FixByIdTest, RowlessRepairsShowFixedAndChangeNothing) {
  for (int id : {601, 604, 610, 615}) {
    SCOPED_TRACE(id);
    effects.log.clear();
    FixByID(id, FixArgs{}, texts, effects);
    EXPECT_EQ(effects.log.back(), "message Fixed! 0x40");
  }
  EXPECT_TRUE(runner.Commands().empty());
  EXPECT_EQ(registry.Dump(), L"");
}

TEST_F(FixByIdTest, FailureShowsFixedFailedWithoutNotification) {
  runner.SetResult(false);
  FixByID(103, FixArgs{}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{"message Fixed Failed! 0x40"}));
  EXPECT_EQ(runner.Commands(), std::vector<std::wstring>{L"/c regsvr32 /s gameux.dll"});
}

TEST_F(FixByIdTest, MessageTextsComeFromTheCaller) {
  texts.fixFinish = L"Repariert!";
  texts.fixFailed = L"Fehlgeschlagen!";
  FixByID(110, FixArgs{}, texts, effects);
  runner.SetResult(false);
  FixByID(110, FixArgs{}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{kNotify, kNotify, "message Repariert! 0x40",
                                                   "message Fehlgeschlagen! 0x40"}));
}

TEST_F(FixByIdTest, ClickingTwiceRunsTwiceAndShowsTwice) {
  FixByID(207, FixArgs{}, texts, effects);
  FixByID(207, FixArgs{}, texts, effects);
  EXPECT_EQ(runner.Commands(), (std::vector<std::wstring>{L"/c netsh int ip reset", L"/c netsh int ip reset"}));
  EXPECT_EQ(effects.log.size(), 6u);
}

TEST_F(FixByIdTest, Repair607RefreshesTheDesktopListBetweenNotifications) {
  effects.topLevel[L"WorkerW"] = 11;
  effects.children[{11, L"SHELLDLL_DefView"}] = 22;
  effects.children[{22, L"SysListView32"}] = 33;
  FixByID(607, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{kNotify, "find WorkerW", "child 11 SHELLDLL_DefView",
                                                   "child 22 SysListView32", "send 33 0x100 0x74 0", kNotify,
                                                   "send 33 0x205 0x74 0", kNotify, kNotify, "message Fixed! 0x40"}));
}

TEST_F(FixByIdTest, Repair607WalkStopsWhereAWindowIsMissing) {
  FixByID(607, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{kNotify, "find WorkerW", kNotify, kNotify, "message Fixed! 0x40"}));

  effects.log.clear();
  effects.topLevel[L"WorkerW"] = 11;
  FixByID(607, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{kNotify, "find WorkerW", "child 11 SHELLDLL_DefView", kNotify, kNotify,
                                                   "message Fixed! 0x40"}));

  effects.log.clear();
  effects.children[{11, L"SHELLDLL_DefView"}] = 22;
  FixByID(607, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{kNotify, "find WorkerW", "child 11 SHELLDLL_DefView",
                                                   "child 22 SysListView32", kNotify, kNotify, "message Fixed! 0x40"}));
}

TEST_F(FixByIdTest, FailedRepair607DoesNotRefresh) {
  effects.topLevel[L"WorkerW"] = 11;
  registry.DenyFullAccess(RegRoot::CurrentUser, L"");
  FixByID(607, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_EQ(effects.log, (std::vector<std::string>{"message Fixed Failed! 0x40"}));
}

TEST_F(FixByIdTest, EachRepairGetsItsOwnArgument) {
  const std::wstring hide = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\NewStartPanel";
  // 607 and 608 take the Windows version.
  FixByID(607, FixArgs{0, L"IE8"}, texts, effects);
  EXPECT_TRUE(registry.Get(RegRoot::CurrentUser, hide, L"{450d8fba-ad25-11d0-98a8-0800361b1103}").has_value());
  FixByID(608, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_TRUE(registry.Get(RegRoot::CurrentUser, hide, L"{F02C1A0D-BE21-4350-88B0-7367FC96EF3C}").has_value());
  // 107 too: Windows 7 writes imageres, XP shell32.
  const std::wstring icon =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
  FixByID(107, FixArgs{3, L"IE8"}, texts, effects);
  EXPECT_EQ(registry.GetString(RegRoot::CurrentUser, icon, L"full"), L"%SystemRoot%\\system32\\imageres.dll,-54");
  // 202 takes the Internet Explorer name.
  FixByID(202, FixArgs{3, L"IE10"}, texts, effects);
  EXPECT_EQ(registry.GetDword(RegRoot::CurrentUser, L"Software\\Microsoft\\Internet Explorer\\Main", L"IE10TourShown"), 1u);
  // 302 on Vista writes its ProgIDs; 407 on Windows 8 writes start type 3.
  FixByID(302, FixArgs{1, L"IE8"}, texts, effects);
  EXPECT_TRUE(registry.HasKey(RegRoot::ClassesRoot, L"CLSID\\{CD3AFA71-B84F-48F0-9393-7EDC34128127}\\ProgID"));
  FixByID(407, FixArgs{6, L"IE8"}, texts, effects);
  EXPECT_EQ(registry.GetDword(RegRoot::LocalMachine, L"System\\CurrentControlSet\\services\\PlugPlay", L"Start"), 3u);
  // 304 and 505 run with their flag false: 304 shows the player, 505 changes nothing.
  FixByID(304, FixArgs{}, texts, effects);
  EXPECT_EQ(registry.GetDword(RegRoot::LocalMachine, L"SOFTWARE\\Clients\\Media\\Windows Media Player\\Capabilities", L"Hidden"),
            0u);
  effects.log.clear();
  std::wstring before = registry.Dump();
  FixByID(505, FixArgs{}, texts, effects);
  EXPECT_EQ(registry.Dump(), before);
  EXPECT_EQ(effects.log.back(), "message Fixed! 0x40");
}

}  // namespace
}  // namespace corrivo::testing

// The GUI tests' common ground: a freshly started Corrivo with its main window, its controls by
// identifier, screenshots, and the message boxes its buttons lead to.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/control_ids.h"
#include "sysaccess/registry.h"
#include "sysaccess/system.h"
#include "tests/gui/gui_driver.h"

#include <commctrl.h>

namespace corrivo::gui {

// The registry of the prefix the program runs in.
inline Registry Reg() { return PlatformSystem().registry(); }

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(app.Start());
    main = app.WaitForWindow();
    ASSERT_NE(main, nullptr) << "no visible TFixWindows_FormMain";
    Settle(500);
  }
  HWND Ctl(int id) {
    HWND h = FindControl(main, id);
    EXPECT_NE(h, nullptr) << "control " << id;
    return h;
  }
  void Shot(const std::wstring& name) {
    const std::wstring dir = ScreenshotDir();
    if (!dir.empty()) SaveScreenshot(main, dir + L"\\" + name + L".bmp");
  }
  // Clicks a button and answers the text of the message box it leads to, closed with OK (empty
  // when none came). The box carries the window's caption and belongs to it.
  std::wstring ClickAndAnswer(int id, DWORD timeoutMs = 15000) {
    PostButtonClick(Ctl(id));
    HWND box = WaitForMessageBox(app.Pid(), timeoutMs);
    if (!box) return {};
    EXPECT_EQ(WindowText(box), WindowText(main)) << "caption of the box for control " << id;
    EXPECT_EQ(GetWindow(box, GW_OWNER), main) << "owner of the box for control " << id;
    const std::wstring text = MessageBoxText(box);
    CloseMessageBox(box);
    Settle(300);
    return text;
  }
  // Waits until a scan has ended: either the "No problems" box (closed and answered as its
  // text) or rows in the list with Scan back in front (answered as the empty text).
  std::wstring WaitForScanEnd() {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 90000) {
      if (HWND box = WaitForMessageBox(app.Pid(), 200)) {
        const std::wstring text = MessageBoxText(box);
        CloseMessageBox(box);
        Settle(300);
        return text;
      }
      if (IsWindowVisible(Ctl(ids::kButtonScan)) && !IsWindowVisible(Ctl(ids::kButtonStopScan)) &&
          SendMessageW(Ctl(ids::kListViewFix), LVM_GETITEMCOUNT, 0, 0) > 0) {
        Settle(300);
        return {};
      }
    }
    ADD_FAILURE() << "the scan did not end";
    return {};
  }
  RECT Bounds() const {
    RECT r;
    GetWindowRect(main, &r);
    return r;
  }

  CorrivoProcess app;
  HWND main = nullptr;
};

}  // namespace corrivo::gui

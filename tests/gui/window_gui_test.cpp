// The main window driven through its controls, as a user or a screen reader would reach them.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "catalog/catalog.h"
#include "tests/fakes/problems.h"
#include "tests/gui/gui_fixture.h"

namespace corrivo::gui {
namespace {

constexpr wchar_t kTitle[] = L"Tarsio Corrivo";
const std::wstring kPolicy = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

class WindowGui : public GuiTest {
 protected:
  // Rows of the Advanced Fix page exist once their category has been shown.
  void VisitAllCategories() {
    ClickCentre(Ctl(ids::HeaderTile(1)));
    for (int n = 6; n >= 1; --n) ClickCentre(Ctl(ids::CategoryTile(n)));
  }
  void ShowCategory(int n) {
    ClickCentre(Ctl(ids::HeaderTile(1)));
    ClickCentre(Ctl(ids::CategoryTile(n)));
  }
  // Clicks a row's Fix button and answers the message box's text (empty when none came).
  std::wstring RunFix(int id) { return ClickAndAnswer(ids::FixButton(id)); }
  // Exactly the rows of `off` have their Fix button disabled.
  void ExpectDisabledFixes(const std::set<int>& off) {
    VisitAllCategories();
    for (const Repair& e : Repairs()) {
      if (!e.row) continue;
      EXPECT_EQ(IsWindowEnabled(Ctl(ids::FixButton(e.id))) == FALSE, off.count(e.id) == 1) << e.id;
    }
  }
  // Each control shown (true) or hidden (false).
  void ExpectShown(std::initializer_list<std::pair<int, bool>> controls) {
    for (const auto& [id, shown] : controls) EXPECT_EQ(IsWindowVisible(Ctl(id)) != FALSE, shown) << "control " << id;
  }
  // Opens the context menu of a row's button with the context-menu key, picks its `item`-th
  // entry and answers the box that opens, owned by the window and with this title.
  HWND FromRowMenu(int id, int item, const wchar_t* title) {
    HWND button = Ctl(ids::FixButton(id));
    PostMessageW(button, WM_KEYDOWN, VK_APPS, 0);
    PostMessageW(button, WM_KEYUP, VK_APPS, 0xC0000001);
    HWND menu = WaitForPopupMenu(app.Pid());
    EXPECT_NE(menu, nullptr);
    for (int i = 0; i < item; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    HWND box = WaitForMessageBox(app.Pid());
    EXPECT_TRUE(box && GetWindow(box, GW_OWNER) == main && WindowText(box) == title) << "box of menu item " << item;
    return box;
  }
};

TEST_F(WindowGui, StartsWithTheGeneralPage) {
  EXPECT_EQ(ClassName(main), L"TFixWindows_FormMain");
  EXPECT_EQ(WindowText(main), kTitle);
  const RECT r = Bounds();
  EXPECT_EQ(r.right - r.left, 681);
  EXPECT_EQ(r.bottom - r.top, 591);
  EXPECT_EQ(GetWindowLongW(main, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_NE(GetWindowLongW(main, GWL_STYLE) & WS_SYSMENU, 0);
  ExpectShown({{ids::PageTab(0), true}, {ids::PageTab(1), false}, {ids::kCheckBoxSelectAll, false},
               {ids::kImgProgressBarMain, false}, {ids::kRdBtnMax, false}, {ids::kRdbtnMaxM, true}});
  EXPECT_EQ(WindowText(Ctl(ids::kButtonScan)), L"Scan");
  EXPECT_FALSE(IsWindowEnabled(Ctl(ids::kButtonFix)));
  HWND list = Ctl(ids::kListViewFix);
  EXPECT_EQ(ClassName(list), L"SysListView32");
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
  // The range comes back as the result (a PBRANGE pointer cannot cross processes).
  EXPECT_EQ(SendMessageW(Ctl(ids::kImgProgressBarMain), PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(Ctl(ids::kImgProgressBarMain), PBM_GETRANGE, FALSE, 0), 100);
  EXPECT_EQ(SendMessageW(Ctl(ids::kImgProgressBarMain), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessageW(Ctl(ids::kImageProgressFixIE), PBM_GETRANGE, FALSE, 0), 103);
  EXPECT_EQ(WindowText(Ctl(ids::kLabelGeneral)), L"General Fix");
  Shot(L"page0-general");
}

TEST_F(WindowGui, RowsOfEveryCategoryAreMadeWhileTheWindowWaitsForInput) {
  // No tile has been clicked: the rows come in the window's idle moments after its first paint.
  std::vector<int> rows;
  for (int n = 1; n <= 6; ++n) {
    for (const Repair* row : CategoryRows(static_cast<Category>(n))) rows.push_back(row->id);
  }
  std::size_t made = 0;
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000 && made < rows.size(); Settle(100)) {
    made = 0;
    for (int id : rows) made += FindControl(main, ids::FixButton(id)) != nullptr;
  }
  EXPECT_EQ(made, rows.size());
  ExpectShown({{ids::PageTab(0), true}, {ids::PageTab(1), false}});
}

TEST_F(WindowGui, ACategoryAskedForAtOnceShowsEveryRowInOrder) {
  // A fresh start, clicked as its window shows: the click makes what idle moments have not.
  app.Close();
  ASSERT_TRUE(app.Start());
  main = app.WaitForWindow();
  ASSERT_NE(main, nullptr);
  // Posted, the click is taken before any idle piece that has not begun.
  PostMessageW(Ctl(ids::HeaderTile(1)), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(Ctl(ids::HeaderTile(1)), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  HWND category = nullptr;
  for (DWORD start = GetTickCount(); !category && GetTickCount() - start < 5000; Sleep(1)) {
    if (IsWindowVisible(Ctl(ids::PageTab(1)))) category = FindControl(main, ids::CategoryTile(6));
  }
  ClickCentre(category);
  ASSERT_TRUE(IsWindowVisible(Ctl(ids::CategoryPage(6))));
  // Every row made and laid out: the last one shows, rows below rows.
  const std::vector<const Repair*> rows = CategoryRows(Category::Additional);
  HWND first = Ctl(ids::FixButton(rows.front()->id)), last = Ctl(ids::FixButton(rows.back()->id));
  EXPECT_TRUE(IsWindowVisible(last));
  const int below = RectIn(last, GetParent(first)).top - RectIn(first, GetParent(first)).top;
  EXPECT_GE(below, 24 * static_cast<int>(rows.size() - 1));
}

TEST_F(WindowGui, EveryPageAndCategoryIsReachable) {
  const wchar_t* names[] = {L"page0-general", L"page1-advanced", L"page2-internet", L"page3-mediaplayer"};
  for (int page : {1, 2, 3, 0}) {
    SCOPED_TRACE(page);
    ClickCentre(Ctl(ids::HeaderTile(page)));
    for (int p = 0; p < 4; ++p) EXPECT_EQ(IsWindowVisible(Ctl(ids::PageTab(p))) != FALSE, p == page);
    Shot(names[page]);
  }
  // The labels over the tiles switch pages as well.
  ClickCentre(Ctl(ids::HeaderLabel(1)));
  EXPECT_TRUE(IsWindowVisible(Ctl(ids::PageTab(1))));
  const wchar_t* categories[] = {L"desktop", L"system", L"ie", L"mediaplayer", L"security", L"additional"};
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE(n);
    ClickCentre(Ctl(n % 2 ? ids::CategoryTile(n) : ids::CategoryLabel(n)));
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(IsWindowVisible(Ctl(ids::CategoryPage(k))) != FALSE, k == n);
    std::size_t visible = 0;
    for (const Repair* row : CategoryRows(static_cast<Category>(n))) {
      HWND b = Ctl(ids::FixButton(row->id));
      EXPECT_EQ(WindowText(b), L"Fix");
      EXPECT_EQ(WindowText(Ctl(ids::FixLabel(row->id))), row->caption);
      visible += IsWindowVisible(b) ? 1 : 0;
    }
    EXPECT_EQ(visible, CategoryRows(static_cast<Category>(n)).size()) << "every row of the category shows";
    Shot(std::wstring(L"page1-category") + std::to_wstring(n) + L"-" + categories[n - 1]);
  }
}

// What a registry step leaves: its value, no value, or the key there or not.
void ExpectEffect(int id, const Step& s) {
  const std::string where = std::to_string(id) + " " + WideToUtf8(s.key + L" " + s.name);
  const Registry r = Reg();
  if (s.kind == StepKind::WriteDword) EXPECT_EQ(r.ReadInteger(s.root, s.key, s.name), s.dword) << where;
  if (s.kind == StepKind::WriteString || s.kind == StepKind::WriteExpandString)
    EXPECT_EQ(r.ReadString(s.root, s.key, s.name), s.text) << where;
  if (s.kind == StepKind::DeleteValue) EXPECT_NE(r.ValueState(s.root, s.key, s.name), kValuePresent) << where;
  if (s.kind == StepKind::DeleteKey || s.kind == StepKind::CreateKey)
    EXPECT_EQ(r.ValueState(s.root, s.key, L"") == kKeyMissing, s.kind == StepKind::DeleteKey) << where;
}

TEST_F(WindowGui, FixButtonsReportAndLeaveTheirRegistryEffect) {
  VisitAllCategories();
  RepairArgs args;
  args.windows = WindowsVersion::Seven;  // the test prefix reports Windows 7
  // One repair of each group that has a row, the first that works through the registry alone
  // (commands and special steps are other suites' business).
  std::vector<int> sample;
  for (const Repair& e : Repairs()) {  // in ID order
    const Plan plan = PlanFor(e.id, args);
    const bool registryOnly = std::all_of(plan.begin(), plan.end(), [](const Step& s) {
      return ChangesRegistry(s) || s.kind == StepKind::Wait || s.kind == StepKind::Succeed;
    });
    if (e.row && registryOnly && std::any_of(plan.begin(), plan.end(), ChangesRegistry) &&
        (sample.empty() || sample.back() / 100 != e.id / 100))
      sample.push_back(e.id);
  }
  ASSERT_GE(sample.size(), 5u);
  for (int id : sample) {
    SCOPED_TRACE(id);
    std::vector<Step> registry;
    for (const Step& s : PlanFor(id, args)) {
      if (ChangesRegistry(s)) registry.push_back(s);
    }
    // The problems the steps repair, so that their effect shows afterwards.
    for (const testing::PlantedValue& p : testing::Problems(registry)) Reg().WriteValue(p.root, p.key, p.name, p.value);
    const std::wstring text = RunFix(id);
    EXPECT_TRUE(text == L"Fixed!" || (text == L"Fixed Failed!" && id != 401)) << id;
    // A value touched again later is judged by its last step only.
    std::set<std::wstring> seen;
    for (auto it = registry.rbegin(); it != registry.rend(); ++it)
      if (seen.insert(RootName(it->root) + it->key + L"|" + it->name).second && text == L"Fixed!") ExpectEffect(id, *it);
  }
}

// A repair's waits and its answer box keep the window painting: clicks and a close that
// reach it meanwhile start no second repair inside the first, and the close comes after.
TEST_F(WindowGui, InputDuringARepairStartsNoSecondOneAndACloseWaitsForIt) {
  ShowCategory(5);
  PostButtonClick(Ctl(ids::FixButton(401)));
  PostButtonClick(Ctl(ids::FixButton(402)));
  HWND box = WaitForMessageBox(app.Pid());
  ASSERT_NE(box, nullptr);
  Settle(500);
  EXPECT_EQ(WaitForMessageBox(app.Pid(), 0), box) << "a second repair answered inside the first";
  PostMessageW(main, WM_CLOSE, 0, 0);
  Settle(500);
  EXPECT_TRUE(IsWindow(main) && IsWindow(box)) << "the window stays while its repair answers";
  CloseMessageBox(box);
  EXPECT_EQ(WaitForMessageBox(app.Pid(), 1000), nullptr) << "a second repair answered";
  DWORD code = 99;
  ASSERT_TRUE(app.WaitForExit(15000, &code)) << "the close was forgotten";
  EXPECT_EQ(code, 0u);
}

// Repair 401 through its row: the context menu's preview changes nothing, the button removes
// both policy values, the menu's journal undoes that with the values' types, and clicking again
// runs the repair again and reports again.
TEST_F(WindowGui, Repair401FromItsRowPreviewedFixedAndUndone) {
  const std::wstring machineKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
  ASSERT_TRUE(Reg().WriteInteger(RegRoot::CurrentUser, kPolicy, L"DisableTaskMgr", 1));
  ASSERT_TRUE(Reg().WriteInteger(RegRoot::LocalMachine, machineKey, L"DisableTaskMgr", 1));
  ShowCategory(5);
  // A right click on the row's label opens the menu too; Escape leaves it without a box.
  PostMessageW(Ctl(ids::FixLabel(401)), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageW(Ctl(ids::FixLabel(401)), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  HWND menu = WaitForPopupMenu(app.Pid());
  ASSERT_NE(menu, nullptr);
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntilGone(menu) || !IsWindowVisible(menu));
  EXPECT_EQ(WaitForMessageBox(app.Pid(), 500), nullptr);
  // The context-menu key on the row's button, then the menu's first item: the preview.
  HWND box = FromRowMenu(401, 1, L"What will this change?");
  ASSERT_NE(box, nullptr);
  HWND text = FindControl(box, ids::kPreviewText);
  ASSERT_NE(text, nullptr);
  EXPECT_NE(GetWindowLongW(text, GWL_STYLE) & ES_READONLY, 0);
  const std::wstring preview = ControlText(text);
  const std::string shown(preview.begin(), preview.end());
  EXPECT_EQ(preview.rfind(WindowText(Ctl(ids::FixLabel(401))) + L"\r\n", 0), 0u) << shown;
  EXPECT_NE(preview.find(L"Policies\\System"), std::wstring::npos) << shown;
  EXPECT_NE(preview.find(L"DisableTaskMgr"), std::wstring::npos) << shown;
  EXPECT_EQ(WindowText(FindControl(box, ids::kPreviewClose)), L"Close");
  Shot(L"preview-401");
  // Ctrl+A selects the whole text, for copying.
  PostMessageW(text, WM_CHAR, 1, 0);
  Settle(300);
  const LRESULT selection = SendMessageW(text, EM_GETSEL, 0, 0);
  EXPECT_EQ(LOWORD(selection), 0);
  EXPECT_EQ(HIWORD(selection), preview.size());
  EXPECT_EQ(Reg().ReadInteger(RegRoot::CurrentUser, kPolicy, L"DisableTaskMgr"), 1);
  PostMessageW(text, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntilGone(box));
  EXPECT_TRUE(IsWindowEnabled(main));

  EXPECT_EQ(RunFix(401), L"Fixed!");
  ASSERT_EQ(Reg().ValueState(RegRoot::CurrentUser, kPolicy, L"DisableTaskMgr"), kValueMissing);
  EXPECT_EQ(Reg().ValueState(RegRoot::LocalMachine, machineKey, L"DisableTaskMgr"), kValueMissing);

  // The menu's second item opens the journal, the newest entry first.
  box = FromRowMenu(401, 2, L"Undo journal");
  ASSERT_NE(box, nullptr);
  HWND list = FindControl(box, ids::kJournalList);
  ASSERT_NE(list, nullptr);
  const LRESULT entries = SendMessageW(list, LB_GETCOUNT, 0, 0);
  ASSERT_GE(entries, 1);
  std::vector<wchar_t> line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, 0, 0)) + 1);
  SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(line.data()));
  const std::wstring newest(line.data());
  EXPECT_NE(newest.find(L"401"), std::wstring::npos) << std::string(newest.begin(), newest.end());
  Shot(L"journal-401");
  PostButtonClick(FindControl(box, ids::kJournalUndo));
  HWND answer = nullptr;
  for (int wait = 0; wait < 100 && (!answer || answer == box); ++wait, Settle(100)) answer = WaitForMessageBox(app.Pid(), 0);
  ASSERT_TRUE(answer && answer != box) << "no answer to the undo";
  const std::wstring said = MessageBoxText(answer);
  EXPECT_EQ(said.rfind(L"Undone.", 0), 0u) << std::string(said.begin(), said.end());
  CloseMessageBox(answer);
  EXPECT_EQ(Reg().ReadInteger(RegRoot::CurrentUser, kPolicy, L"DisableTaskMgr"), 1);
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), entries + 1) << "the undo has an entry of its own";
  PostButtonClick(FindControl(box, ids::kJournalClose));
  EXPECT_TRUE(WaitUntilGone(box));
  EXPECT_TRUE(IsWindowEnabled(main));

  EXPECT_EQ(RunFix(401), L"Fixed!");
  EXPECT_EQ(RunFix(401), L"Fixed!");
}

TEST_F(WindowGui, SpaceWorksOnTilesAndButtons) {
  // A tile answers Space like a click.
  SendMessageW(Ctl(ids::HeaderTile(1)), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(Ctl(ids::HeaderTile(1)), WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(IsWindowVisible(Ctl(ids::PageTab(1))));
  SendMessageW(Ctl(ids::CategoryTile(5)), WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(IsWindowVisible(Ctl(ids::CategoryPage(5))));
  // A fix button is a standard push button: Space pressed and released clicks it.
  HWND button = Ctl(ids::FixButton(402));
  EXPECT_EQ(ClassName(button), L"Button");
  EXPECT_NE(GetWindowLongW(button, GWL_STYLE) & WS_TABSTOP, 0);
  PostMessageW(button, WM_KEYDOWN, VK_SPACE, 0);
  PostMessageW(button, WM_KEYUP, VK_SPACE, 0);
  HWND box = WaitForMessageBox(app.Pid());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Fixed!");
  CloseMessageBox(box);
}

TEST_F(WindowGui, NoButtonIsDisabledOnWindows7) { ExpectDisabledFixes({}); }

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }

// The content border is drawn by whatever lies beneath it (strip, tile, page): it shows along
// every edge and corner (the rounded shape leaves out the last column and row), and after a
// resize not where the panel ended `before`.
void ExpectContentBorder(HWND panel, const RECT* before = nullptr) {
  RECT p{};
  GetWindowRect(panel, &p);
  const int w = p.right - p.left, h = p.bottom - p.top;
  HDC screen = GetDC(nullptr);
  auto border = [&](int x, int y) { return GetPixel(screen, p.left + x, p.top + y) == RGB(44, 46, 58); };
  for (POINT at : {POINT{w / 2, 0}, {w - 2, h / 2}, {w / 2, h - 2}, {0, h / 2}, {3, 3}, {w - 4, 3}, {3, h - 4}, {w - 4, h - 4}})
    EXPECT_TRUE(border(at.x, at.y)) << at.x << ", " << at.y << " of " << w << " x " << h;
  if (before) EXPECT_FALSE(border(before->right - before->left - 2, (before->bottom - before->top) / 2));
  ReleaseDC(nullptr, screen);
}

TEST_F(WindowGui, MaximiseAndRestoreReturnToTheExactBounds) {
  const RECT before = Bounds();
  RECT panel{};
  GetWindowRect(Ctl(ids::kPnlBK), &panel);
  ExpectContentBorder(Ctl(ids::kPnlBK));
  SendMessageW(Ctl(ids::kRdbtnMaxM), BM_CLICK, 0, 0);
  Settle(200);
  ExpectContentBorder(Ctl(ids::kPnlBK), &panel);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT max = Bounds();
  EXPECT_TRUE(Same(max, mi.rcWork));
  EXPECT_FALSE(IsZoomed(main));
  ExpectShown({{ids::kRdBtnMax, true}, {ids::kRdbtnMaxM, false}});
  // The close button stays in the top-right corner of the larger window.
  RECT close = RectIn(Ctl(ids::kRdbtnClose), main);
  EXPECT_EQ(close.right, (max.right - max.left) - 4);
  Shot(L"maximised");
  SendMessageW(Ctl(ids::kRdBtnMax), BM_CLICK, 0, 0);
  Settle(200);
  EXPECT_TRUE(Same(Bounds(), before));
  EXPECT_TRUE(IsWindowVisible(Ctl(ids::kRdbtnMaxM)));
  // A double click on the title does the same.
  HWND title = Ctl(ids::kLabelTitle);
  for (const RECT& expected : {mi.rcWork, before}) {
    SendMessageW(title, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(title, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Settle(200);
    EXPECT_TRUE(Same(Bounds(), expected));
  }
}

// Drags a frame part as far as `to` (screen): the cursor is put there first, then the button
// goes down on the part, one move arrives and the button comes up, so exactly one resize runs.
void Drag(HWND part, POINT to) {
  SetCursorPos(to.x, to.y);
  Settle(200);
  SendMessageW(part, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(part, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(1, 1));
  SendMessageW(part, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  Settle(200);
}

TEST_F(WindowGui, GripEdgesAndSizingResizeWithinTheMinimum) {
  const RECT r = Bounds();
  Drag(Ctl(ids::kImg2), {r.left + 760, r.top + 640});
  const RECT grown = Bounds();
  EXPECT_EQ(grown.left, r.left);
  EXPECT_EQ(grown.right - grown.left, 760);
  EXPECT_EQ(grown.bottom - grown.top, 640);
  // The grip follows the corner.
  RECT grip = RectIn(Ctl(ids::kImg2), main);
  EXPECT_EQ(grip.left, 760 - 13);
  // The left edge dragged inward past the minimum moves the window: the width stays 666.
  Drag(Ctl(ids::kImageLeft), {grown.left + 200, grown.top + 100});
  const RECT moved = Bounds();
  EXPECT_EQ(moved.left, grown.left + 200);
  EXPECT_EQ(moved.right - moved.left, 666);
  // The bottom edge follows the cursor.
  Drag(Ctl(ids::kImageBottom), {moved.left + 50, moved.top + 500});
  const RECT lower = Bounds();
  EXPECT_EQ(lower.bottom - lower.top, 500);
  EXPECT_EQ(lower.top, moved.top);
  // Without a button down, moving over an edge changes nothing.
  SetCursorPos(lower.left + 300, lower.top + 300);
  SendMessageW(Ctl(ids::kImageRight), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
  Settle();
  EXPECT_TRUE(Same(Bounds(), lower));
  Shot(L"resized");
  // Sized below the minimum from outside, the window stops at it.
  SetWindowPos(main, nullptr, lower.left, lower.top, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  Settle();
  const RECT least = Bounds();
  EXPECT_EQ(std::pair(least.right - least.left, least.bottom - least.top), std::pair(666L, 468L));
  Shot(L"minimum-size");
}

TEST_F(WindowGui, WheelScrollsTheShownCategoryByFivePixels) {
  ShowCategory(1);
  HWND box = Ctl(ids::CategoryScrollBox(1));
  HWND content = Ctl(ids::CategoryPanel(1));
  RECT b;
  GetWindowRect(box, &b);
  const LPARAM inside = MAKELPARAM(b.left + 20, b.top + 20);
  // One notch of the wheel (negative: towards the user), then the content's top in its box.
  auto wheel = [&](short delta, LPARAM at) {
    SendMessageW(main, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), at);
    Settle();
    return RectIn(content, box).top;
  };
  ASSERT_EQ(RectIn(content, box).top, 0);
  EXPECT_EQ(wheel(-120, inside), -5);
  EXPECT_EQ(wheel(-120, inside), -10);
  EXPECT_EQ(wheel(120, inside), -5);
  // Outside the scroll box nothing scrolls.
  EXPECT_EQ(wheel(-120, MAKELPARAM(b.left - 50, b.top + 5)), -5);
  // Selecting a category shows it from the top.
  ClickCentre(Ctl(ids::CategoryTile(2)));
  ClickCentre(Ctl(ids::CategoryTile(1)));
  EXPECT_EQ(RectIn(content, box).top, 0);
  // On another page the wheel does nothing to the category.
  EXPECT_EQ(wheel(-120, inside), -5);
  ClickCentre(Ctl(ids::HeaderTile(0)));
  EXPECT_EQ(wheel(-120, inside), -5);
}

// The windows the shell gives a taskbar button and a place in the task switcher: visible
// top-level windows without an owner that are no tool windows, and any that ask for a button.
std::vector<HWND> TaskbarWindows(DWORD pid) {
  struct Found {
    DWORD pid;
    std::vector<HWND> windows;
  } found{pid, {}};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<Found*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        const bool button = (!GetWindow(h, GW_OWNER) && !(ex & WS_EX_TOOLWINDOW)) || (ex & WS_EX_APPWINDOW);
        if (owner == f->pid && IsWindowVisible(h) && button) f->windows.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

// The window's system command, posted as the taskbar or the title bar sends it.
void SysCommand(HWND window, WPARAM command) {
  PostMessageW(window, WM_SYSCOMMAND, command, 0);
  Settle(800);
}

TEST_F(WindowGui, TaskbarShowsTheApplicationTitleAndASecondStartHandsOver) {
  const std::vector<HWND> buttons = TaskbarWindows(app.Pid());
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(WindowText(buttons[0]), L"Corrivo");
  EXPECT_EQ(WindowText(main), kTitle);
  // Minimised from its own button, the window comes back when the taskbar restores it.
  SysCommand(main, SC_MINIMIZE);
  EXPECT_TRUE(IsIconic(buttons[0]));
  EXPECT_FALSE(IsWindowVisible(main));
  SysCommand(buttons[0], SC_RESTORE);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(IsWindowVisible(main));
  // The taskbar's own Minimise hides the window as well.
  SysCommand(buttons[0], SC_MINIMIZE);
  EXPECT_FALSE(IsWindowVisible(main));
  SysCommand(buttons[0], SC_RESTORE);
  EXPECT_TRUE(IsWindowVisible(main));

  // A second start brings the minimised window back and ends with 0.
  SysCommand(main, SC_MINIMIZE);
  EXPECT_TRUE(IsIconic(main));
  CorrivoProcess second;
  ASSERT_TRUE(second.Start());
  DWORD code = 99;
  ASSERT_TRUE(second.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  Settle(800);
  EXPECT_FALSE(IsIconic(main));
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(FindWindowW(L"TFixWindows_FormMain", nullptr), main);
}

TEST_F(WindowGui, EnterStartsAScanOnTheGeneralPageOnly) {
  HWND list = Ctl(ids::kListViewFix);
  // Keys reach the program through its message loop, as typed keys do.
  ClickCentre(Ctl(ids::HeaderTile(1)));
  PostMessageW(Ctl(ids::CategoryScrollBox(1)), WM_KEYDOWN, VK_RETURN, 0);
  Settle(1000);
  EXPECT_EQ(WaitForMessageBox(app.Pid(), 500), nullptr);
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);

  ClickCentre(Ctl(ids::HeaderTile(0)));
  PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  const std::wstring said = WaitForScanEnd();  // fails when Enter started no scan
  EXPECT_TRUE(said.empty() || said == L"No problems") << std::string(said.begin(), said.end());
}

// Drags a header divider from `x` by `by` pixels, as the mouse does.
void DragDivider(HWND header, int x, int by) {
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
  SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + by, 5));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(x + by, 5));
  Settle(200);
}

TEST_F(WindowGui, StatusColumnKeepsItsWidthWhenTheHeaderIsDragged) {
  HWND list = Ctl(ids::kListViewFix);
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  auto width = [&](int column) { return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)); };
  ASSERT_EQ(width(1), 100);
  // The item column follows the mouse (so the drags below do reach the header) ...
  const int item = width(0);
  DragDivider(header, item - 2, -40);
  ASSERT_EQ(width(0), item - 40);
  // ... the status column does not, neither dragged wider or narrower nor fitted to its text.
  const int statusRight = width(0) + width(1);
  DragDivider(header, statusRight - 2, 60);
  EXPECT_EQ(width(1), 100);
  DragDivider(header, statusRight - 2, -50);
  EXPECT_EQ(width(1), 100);
  SendMessageW(header, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(statusRight - 2, 5));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(statusRight - 2, 5));
  Settle(200);
  EXPECT_EQ(width(1), 100);
}

TEST_F(WindowGui, ClosingEndsTheProgramWithZero) {
  PostButtonClick(Ctl(ids::kRdbtnClose));
  DWORD code = 99;
  ASSERT_TRUE(app.WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
}

// A language file beside the program and the suite setting that names it; both removed again.
class WindowGuiLanguage : public WindowGui {
 protected:
  void SetUp() override {
    const std::wstring exe = CorrivoExePath();
    folder_ = exe.substr(0, exe.find_last_of(L'\\')) + L"\\Toolbox_Language";
    CreateDirectoryW(folder_.c_str(), nullptr);
    const char text[] =
        "[Scanner_FixWindows_FormMain]\r\n"
        "FixWindows_FormMain.Caption=Corrivo Probe\r\n"
        "Label_General.Caption=Allgemein\r\n"
        "Label_Tips.Caption=Nur bei diesen Problemen\r\n"
        "Button_FixIE.Caption=IE reparieren\r\n"
        "Label_401.Caption=Taskmanager wieder einschalten\r\n"
        "Button_401.Caption=Los\r\n"
        "[FixWindows_M]\r\n"
        "D_FixFinish=Erledigt!\r\n";
    PlatformSystem().files.ReplaceWholeFile(folder_ + L"\\Probe.lng", text);
    wchar_t appData[MAX_PATH] = {};
    GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    suite_ = std::wstring(appData) + L"\\Tarsio\\Helmwise V8";
    CreateDirectoryW((std::wstring(appData) + L"\\Tarsio").c_str(), nullptr);
    CreateDirectoryW(suite_.c_str(), nullptr);
    WritePrivateProfileStringW(L"Main", L"Language", L"probe", (suite_ + L"\\Main.ini").c_str());
    WindowGui::SetUp();
  }
  void TearDown() override {
    app.Close();
    DeleteFileW((folder_ + L"\\Probe.lng").c_str());
    RemoveDirectoryW(folder_.c_str());
    DeleteFileW((suite_ + L"\\Main.ini").c_str());
  }
  std::wstring folder_;
  std::wstring suite_;
};

TEST_F(WindowGuiLanguage, TextsComeFromTheLanguageFileAlsoForRowsMadeLater) {
  EXPECT_EQ(WindowText(main), L"Corrivo Probe");
  EXPECT_EQ(WindowText(Ctl(ids::kLabelGeneral)), L"Allgemein");
  EXPECT_EQ(WindowText(Ctl(ids::kLabelAdvanced)), L"Advanced Fix");  // no key: the built-in text
  ShowCategory(5);
  EXPECT_EQ(WindowText(Ctl(ids::kLabelTips)), L"Nur bei diesen Problemen");  // pages made later
  EXPECT_EQ(WindowText(Ctl(ids::kButtonFixIE)), L"IE reparieren");
  EXPECT_EQ(WindowText(Ctl(ids::FixLabel(401))), L"Taskmanager wieder einschalten");
  EXPECT_EQ(WindowText(Ctl(ids::FixButton(401))), L"Los");
  EXPECT_EQ(WindowText(Ctl(ids::FixButton(402))), L"Fix");
  EXPECT_EQ(RunFix(401), L"Erledigt!");  // the box's caption is checked against the title too
  Shot(L"language-probe");
}

// Run in a prefix that reports the named Windows version.
class VersionGui : public WindowGui {};

TEST_F(VersionGui, TwelveFixesDisabledOnWindowsXP) {
  ExpectDisabledFixes({103, 106, 209, 309, 405, 410, 502, 503, 507, 508, 509, 510});
  ShowCategory(6);
  Shot(L"winxp-additional-disabled");
}

TEST_F(VersionGui, SixFixesDisabledOnWindowsVista) { ExpectDisabledFixes({309, 503, 507, 508, 509, 510}); }

TEST(RefusedGui, UnsupportedWindowsShowsTheMessageAndEndsWithZero) {
  CorrivoProcess app;
  ASSERT_TRUE(app.Start());
  HWND box = WaitForMessageBox(app.Pid(), 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"This tool only for xp, vista , win 7 and win8.");
  EXPECT_EQ(WindowText(box), kTitle);
  HWND main = app.WaitForWindow(0, false);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main));
  CloseMessageBox(box);
  DWORD code = 99;
  ASSERT_TRUE(app.WaitForExit(15000, &code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace corrivo::gui

// The General Fix and Fix Internet Explorer pages driven through their controls under Wine:
// scan a prefix with planted problems, read the list, untick one row, fix, and check the
// registry; run the Internet Explorer re-registration with Cancel and with OK.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/gui/gui_fixture.h"

namespace corrivo::gui {
namespace {

constexpr RegRoot kHkcu = RegRoot::CurrentUser;
constexpr RegRoot kHklm = RegRoot::LocalMachine;

const wchar_t kSystemPolicies[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kExplorerPolicies[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t kShowAll[] = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced\\Folder\\Hidden\\SHOWALL";

// The list view lives in another process: its item structures go through memory of that
// process, as any accessibility tool does it.
class RemoteList {
 public:
  RemoteList(HWND list, DWORD pid) : list_(list) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) memory_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteList() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  int Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }
  bool Checked(int item) const {
    const UINT state = static_cast<UINT>(SendMessageW(list_, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return (state >> 12) == 2;
  }
  std::wstring Text(int item, int sub) const {
    LVITEMW it = {};
    it.iSubItem = sub;
    it.cchTextMax = 1000;
    it.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(memory_) + 512);
    WriteProcessMemory(process_, memory_, &it, sizeof(it), nullptr);
    SendMessageW(list_, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(memory_));
    wchar_t buffer[1001] = {};
    ReadProcessMemory(process_, static_cast<char*>(memory_) + 512, buffer, 2000, nullptr);
    return buffer;
  }
  // What a click on the row's check box does to the control.
  void SetChecked(int item, bool checked) {
    LVITEMW it = {};
    it.stateMask = LVIS_STATEIMAGEMASK;
    it.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    WriteProcessMemory(process_, memory_, &it, sizeof(it), nullptr);
    SendMessageW(list_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(memory_));
  }
  bool Ready() const { return memory_ != nullptr; }

 private:
  HWND list_;
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

class PagesGui : public GuiTest {
 protected:
  std::wstring Scan() {
    PostButtonClick(Ctl(ids::kButtonScan));
    return WaitForScanEnd();
  }
  // While the re-registration runs, its stop button covers its start button and the other tasks wait.
  void ExpectRunning(bool running) {
    EXPECT_EQ(IsWindowVisible(Ctl(ids::kButtonStopFixIE)) != FALSE, running);
    EXPECT_EQ(IsWindowEnabled(Ctl(ids::kButtonScan)) != FALSE, !running);
    EXPECT_EQ(IsWindowEnabled(Ctl(ids::kButtonFixMediaPlayer)) != FALSE, !running);
  }
};

TEST_F(PagesGui, ScanListsPlantedProblemsAndFixRepairsOnlyTheTickedOnes) {
  // Make the prefix healthy as the scan sees it, so that the planted problems stand alone.
  if (Scan().empty()) EXPECT_EQ(ClickAndAnswer(ids::kButtonFix, 120000), L"All problems fixed.");
  ASSERT_EQ(Scan(), L"No problems");
  EXPECT_FALSE(IsWindowEnabled(Ctl(ids::kButtonFix)));

  ASSERT_TRUE(Reg().WriteInteger(kHkcu, kSystemPolicies, L"DisableTaskMgr", 1));
  ASSERT_TRUE(Reg().WriteInteger(kHkcu, kSystemPolicies, L"DisableRegistryTools", 1));
  ASSERT_TRUE(Reg().WriteInteger(kHkcu, kExplorerPolicies, L"NoFolderOptions", 1));
  ASSERT_TRUE(Reg().WriteInteger(kHklm, kShowAll, L"CheckedValue", 0));

  ASSERT_EQ(Scan(), L"");
  HWND list = Ctl(ids::kListViewFix);
  RemoteList rows(list, app.Pid());
  ASSERT_TRUE(rows.Ready());
  ASSERT_EQ(rows.Count(), 4);
  std::vector<std::wstring> captions;
  for (int i = 0; i < 4; ++i) {
    captions.push_back(rows.Text(i, 0));
    EXPECT_EQ(rows.Text(i, 1), L"Need Fix");
    EXPECT_TRUE(rows.Checked(i));
  }
  EXPECT_EQ(captions[0], L"Enable Folder Options. Fixes when Folder Options is missing from Tools menu and Control Panel.");
  EXPECT_NE(captions[1].find(L"Show hidden files"), std::wstring::npos);
  EXPECT_NE(captions[2].find(L"Task Manager"), std::wstring::npos);
  EXPECT_NE(captions[3].find(L"Registry Edit"), std::wstring::npos);
  HWND selectAll = Ctl(ids::kCheckBoxSelectAll);
  EXPECT_TRUE(IsWindowVisible(selectAll));
  EXPECT_EQ(SendMessageW(selectAll, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(IsWindowEnabled(Ctl(ids::kButtonFix)));
  Shot(L"general_rows");

  rows.SetChecked(3, false);  // leave the Registry Editor policy as it is
  Settle(300);
  EXPECT_EQ(SendMessageW(selectAll, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(rows.Checked(0));

  EXPECT_EQ(ClickAndAnswer(ids::kButtonFix, 120000), L"All problems fixed.");
  EXPECT_EQ(rows.Count(), 0);
  EXPECT_FALSE(IsWindowEnabled(Ctl(ids::kButtonFix)));
  EXPECT_EQ(Reg().ValueState(kHkcu, kExplorerPolicies, L"NoFolderOptions"), kValueMissing);
  EXPECT_EQ(Reg().ReadInteger(kHklm, kShowAll, L"CheckedValue"), 1);
  EXPECT_EQ(Reg().ValueState(kHkcu, kSystemPolicies, L"DisableTaskMgr"), kValueMissing);
  EXPECT_EQ(Reg().ReadInteger(kHkcu, kSystemPolicies, L"DisableRegistryTools"), 1) << "unticked, so untouched";
}

TEST_F(PagesGui, InternetExplorerPageAsksFirstAndReportsTheEnd) {
  ClickCentre(Ctl(ids::HeaderTile(2)));
  Settle(300);
  HWND start = Ctl(ids::kButtonFixIE);
  HWND bar = Ctl(ids::kImageProgressFixIE);

  PostButtonClick(start);
  HWND box = WaitForMessageBox(app.Pid());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Are you sure of reregister all DLL and OCX files for IE?");
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(box, IDCANCEL), GWL_STYLE) & BS_DEFPUSHBUTTON, BS_DEFPUSHBUTTON)
      << "Cancel is the default";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDCANCEL)));
  Settle(1500);
  ExpectRunning(false);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 0) << "Cancel starts nothing";

  PostButtonClick(start);
  box = WaitForMessageBox(app.Pid());
  ASSERT_NE(box, nullptr);
  CloseMessageBox(box);  // OK
  // While it runs, the bar moves.
  int position = 0;
  for (int i = 0; i < 100 && position == 0; ++i) {
    Settle(100);
    position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
  }
  EXPECT_GT(position, 0);
  ExpectRunning(true);
  Shot(L"internet_running");

  HWND done = WaitForMessageBox(app.Pid(), 120000);
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(MessageBoxText(done), L"Internet Explorer fixed.");
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 103) << "the maximum, never beyond";
  CloseMessageBox(done);
  Settle(300);
  EXPECT_TRUE(IsWindowVisible(start));
  ExpectRunning(false);
}

}  // namespace
}  // namespace corrivo::gui

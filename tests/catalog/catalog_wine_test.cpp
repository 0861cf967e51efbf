// The catalogue on a real system under Wine: every repair against the real registry on each
// Windows version code, the checks after their repairs, real shortcuts, the home-page
// component built as test libraries, the Internet Options stand-in and the dispatcher's
// Windows effects. Runs in a throw-away prefix whose system folder holds the stand-in
// inetcpl.cpl.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <optional>
#include <thread>

#include "catalog/catalog.h"
#include "catalog/dispatch.h"
#include "catalog/fixes.h"
#include "catalog/step_backend.h"
#include "catalog/win32/win32_dispatch_effects.h"
#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/memory/virtual_clock.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"
#include "sysaccess/registry_backend.h"
#include "sysaccess/text.h"
#include "sysaccess/win32/win32_api.h"
#include "tests/fakes/test_support.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace corrivo::testing {
namespace {

const std::wstring HKCU = L"HKEY_CURRENT_USER";
const std::wstring kMain = L"\\Software\\Microsoft\\Internet Explorer\\Main";
const std::wstring kShellFolders = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::int32_t kCodes[] = {0, 1, 3, 6};

std::wstring ExeDir() {
  wchar_t buffer[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path(buffer);
  return path.substr(0, path.rfind(L'\\') + 1);
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

RegRoot RootFor(const std::wstring& name) {
  if (name == L"HKEY_CLASSES_ROOT") return RegRoot::ClassesRoot;
  if (name == L"HKEY_LOCAL_MACHINE") return RegRoot::LocalMachine;
  return RegRoot::CurrentUser;
}

std::wstring Relative(std::wstring key) {
  while (!key.empty() && key.front() == L'\\') key.erase(key.begin());
  while (!key.empty() && key.back() == L'\\') key.pop_back();
  return key;
}

// Reads a value straight from the real registry, with its type, asking only for read rights.
struct RawValue {
  RegType type = RegType::None;
  std::vector<std::uint8_t> data;
};
std::optional<RawValue> ReadRaw(const std::wstring& root, const std::wstring& key, const std::wstring& name) {
  RegistryBackend& reg = PlatformRegistry();
  RegHandle h = 0;
  if (reg.OpenKey(RootFor(root), Relative(key), regaccess::kExistenceTest, &h) != regerr::kSuccess) return std::nullopt;
  RawValue v;
  long rc = reg.QueryValue(h, name, &v.type, &v.data);
  reg.CloseKey(h);
  if (rc != regerr::kSuccess) return std::nullopt;
  return v;
}

bool KeyExists(const std::wstring& root, const std::wstring& key) {
  RegHandle h = 0;
  if (PlatformRegistry().OpenKey(RootFor(root), Relative(key), regaccess::kExistenceTest, &h) != regerr::kSuccess)
    return false;
  PlatformRegistry().CloseKey(h);
  return true;
}

std::wstring TextOf(const RawValue& v) {
  std::wstring text = Utf16LeToWide(v.data.data(), v.data.size());
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

// Values to delete and keys to remove are put in place first, so that their removal shows.
void Seed(const Plan& plan) {
  for (const Step& s : plan) {
    if (s.kind == StepKind::DeleteValue) {
      ASSERT_TRUE(WriteRegInteger(s.root, s.key, s.name, 1)) << Narrow(DescribeStep(s));
    }
    if (s.kind == StepKind::DeleteKey) {
      ASSERT_TRUE(WriteRegInteger(s.root, s.key + L"\\CorrivoInner", L"x", 1));
    }
  }
}

// Checks with the read operations that the registry holds what the plan's registry steps say,
// the last step for a place winning. In these runs the home-page component is absent, so a
// step that runs only after a refusal did run.
void VerifyRegistry(const Plan& plan) {
  std::map<std::wstring, const Step*> finalValues;
  for (const Step& s : plan) {
    std::wstring place = ToLower(s.root + L"\\" + Relative(s.key) + L"|" + s.name);
    switch (s.kind) {
      case StepKind::WriteDword:
      case StepKind::WriteString:
      case StepKind::WriteExpandString:
      case StepKind::DeleteValue: finalValues[place] = &s; break;
      case StepKind::DeleteKey: EXPECT_EQ(GetRegValueState(s.root, s.key, L""), kKeyMissing) << Narrow(DescribeStep(s)); break;
      case StepKind::CreateKey: EXPECT_TRUE(KeyExists(s.root, s.key)) << Narrow(DescribeStep(s)); break;
      default: break;
    }
  }
  for (const auto& [place, step] : finalValues) {
    const Step& s = *step;
    SCOPED_TRACE(Narrow(DescribeStep(s)));
    auto value = ReadRaw(s.root, s.key, s.name);
    if (s.kind == StepKind::DeleteValue) {
      EXPECT_FALSE(value.has_value());
      EXPECT_NE(GetRegValueState(s.root, s.key, s.name), kValuePresent);
      continue;
    }
    ASSERT_TRUE(value.has_value());
    if (s.kind == StepKind::WriteDword) {
      EXPECT_EQ(value->type, RegType::Dword);
      EXPECT_EQ(ReadRegInteger(s.root, s.key, s.name), s.dword);
    } else {
      EXPECT_EQ(value->type, s.kind == StepKind::WriteString ? RegType::Sz : RegType::ExpandSz);
      EXPECT_EQ(Narrow(TextOf(*value)), Narrow(s.text));
      EXPECT_EQ(Narrow(ReadRegString(s.root, s.key, s.name)), Narrow(s.text));
    }
  }
}

// The system folder's inetcpl.cpl is the test stand-in (the real one of Wine ends the process).
bool SystemInetcplIsStandIn() {
  win32::UniqueModule module(LoadLibraryW(win32::SystemFilePath(L"inetcpl.cpl").c_str()));
  return module && GetProcAddress(module.get(), "CorrivoStandIn") != nullptr;
}

struct NoKill : ProcessControl {
  std::vector<std::wstring> names;
  bool KillByName(const std::wstring& name) override {
    names.push_back(name);
    return true;
  }
};

class CatalogWineTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteFileW((ExeDir() + L"pagelock.dll").c_str()); }
  void TearDown() override { DeleteFileW((ExeDir() + L"pagelock.dll").c_str()); }
};

TEST_F(CatalogWineTest, EveryRepairOnEveryVersionAgainstTheRealRegistry) {
  const bool standIn = SystemInetcplIsStandIn();
  EXPECT_TRUE(standIn) << "run through ctest: the prefix needs the stand-in inetcpl.cpl";
  RecordingRunner runner;
  ScopedCommandRunner scopedRunner(runner);
  VirtualClock clock;
  ScopedClock scopedClock(clock);
  NoKill noKill;  // 503 would end the prefix's explorer.exe; its own test covers that
  ScopedProcessControl scopedKill(noKill);
  for (std::int32_t os : kCodes) {
    for (const CatalogEntry& entry : Catalog()) {
      if (entry.id == 209 && !standIn) continue;
      SCOPED_TRACE("Fix" + std::to_string(entry.id) + " os " + std::to_string(os));
      FixArgs args{os, L"IE9"};
      Plan plan = PlanFor(entry.id, args);
      Seed(plan);
      runner.Clear();
      bool result = RunFix(entry.id, args);
      // 503 fails when the prefix has no shell state to patch; its own test covers it.
      if (entry.id != 503) {
        EXPECT_TRUE(result) << Narrow(DescribePlan(plan));
      }
      std::vector<std::wstring> commands;
      for (const Step& s : plan)
        if (s.kind == StepKind::Run) commands.push_back(s.text);
      EXPECT_EQ(runner.Commands(), commands);
      VerifyRegistry(plan);
    }
  }
}

TEST_F(CatalogWineTest, ChecksFindNoProblemAfterTheirRepairs) {
  RecordingRunner runner;
  ScopedCommandRunner scopedRunner(runner);
  for (std::int32_t os : kCodes) {
    FixArgs args{os, L"IE8"};
    std::vector<int> ids = {101, 102, 104, 105, 107, 108, 206, 210, 308, 401, 402, 403, 404, 406, 407, 410, 508, 509, 510};
    if (os == 0 || os == 1) ids.push_back(201);
    for (int id : ids) {
      SCOPED_TRACE("id " + std::to_string(id) + " os " + std::to_string(os));
      EXPECT_TRUE(RunFix(id, args));
      EXPECT_FALSE(RunCheck(id, args));
    }
    // Every check runs on every version without trouble; the constant ones keep their answer.
    for (int id = 101; id <= 510; ++id)
      if (HasCheck(id)) RunCheck(id, args);
    for (int id : {103, 106, 110, 203, 301, 302, 303, 304, 305, 307}) EXPECT_TRUE(RunCheck(id, args)) << id;
    EXPECT_FALSE(RunCheck(109, args));
  }
}

TEST_F(CatalogWineTest, Check107AcceptsTheExpandedForm) {
  const std::wstring key =
      L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\DefaultIcon";
  std::wstring expanded = ExpandEnvironmentText(L"%SystemRoot%\\system32\\IMAGERES.dll");
  ASSERT_FALSE(expanded.empty());
  ASSERT_EQ(expanded.find(L'%'), std::wstring::npos);
  WriteRegString(HKCU, key, L"empty", ToLower(expanded) + L",-55");
  WriteRegString(HKCU, key, L"full", expanded + L",-54");
  EXPECT_FALSE(Check107(3));
  EXPECT_TRUE(Check107(0));
  WriteRegString(HKCU, key, L"full", expanded + L",-55");
  EXPECT_TRUE(Check107(3));
}

TEST_F(CatalogWineTest, CommandsReallyStartTheInterpreter) {
  EXPECT_TRUE(Fix110());
  EXPECT_TRUE(Fix207());
  EXPECT_TRUE(Fix103());
}

// Reads a saved link back through the same COM class.
struct LinkInfo {
  std::wstring target, workingDirectory, description;
};
std::optional<LinkInfo> LoadLink(const std::wstring& file) {
  std::optional<LinkInfo> info;
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return info;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    if (SUCCEEDED(persist->Load(file.c_str(), STGM_READ))) {
      wchar_t buffer[MAX_PATH] = {};
      LinkInfo i;
      link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
      i.target = buffer;
      link->GetWorkingDirectory(buffer, MAX_PATH);
      i.workingDirectory = buffer;
      link->GetDescription(buffer, MAX_PATH);
      i.description = buffer;
      info = i;
    }
    persist->Release();
  }
  link->Release();
  return info;
}

TEST_F(CatalogWineTest, InternetExplorerShortcutsAreRealLinks) {
  const std::wstring target = SpecialFolderPath(38) + L"\\Internet Explorer\\iexplore.exe";
  for (std::int32_t os : {3, 6}) {
    SCOPED_TRACE(os);
    // The thread is not initialised for COM here: the repair must manage on its own.
    EXPECT_TRUE(Fix201(os));
    CoInitialize(nullptr);
    for (const wchar_t* value : {L"Desktop", L"Start Menu"}) {
      std::wstring file = ReadRegString(HKCU, kShellFolders, value) + L"\\Internet Explore.lnk";
      SCOPED_TRACE(Narrow(file));
      ASSERT_TRUE(FileExists(file));
      auto link = LoadLink(file);
      ASSERT_TRUE(link.has_value());
      EXPECT_EQ(lstrcmpiW(link->target.c_str(), target.c_str()), 0) << Narrow(link->target);
      EXPECT_EQ(lstrcmpiW(link->workingDirectory.c_str(), target.substr(0, target.rfind(L'\\') + 1).c_str()), 0)
          << Narrow(link->workingDirectory);
      EXPECT_EQ(Narrow(link->description), "Micsoft Internet Explorer");
      EXPECT_TRUE(DeleteFileW(file.c_str()));
    }
    CoUninitialize();
  }
}

TEST_F(CatalogWineTest, Check201LooksAtTheDesktopFolder) {
  const std::wstring ie = L"{871C5380-42A0-1069-A2EA-08002B30309D}";
  const std::wstring hide = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\HideDesktopIcons\\";
  DeleteRegValue(HKCU, hide + L"ClassicStartMenu", ie);
  DeleteRegValue(HKCU, hide + L"NewStartPanel", ie);
  std::wstring desktop;
  TAppFrame().GetFolderPath(7, desktop);
  ASSERT_FALSE(desktop.empty());
  CreateDirectoryW(desktop.c_str(), nullptr);
  const std::wstring own = desktop + L"\\Internet Explore.lnk";
  HANDLE f = CreateFileW(own.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  EXPECT_TRUE(Check201()) << "the repair's own link name does not count";
  const std::wstring named = desktop + L"\\internet EXPLORER.url";
  f = CreateFileW(named.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  EXPECT_FALSE(Check201());
  DeleteFileW(named.c_str());
  DeleteFileW(own.c_str());
  EXPECT_TRUE(Check201());
  EXPECT_TRUE(Fix201(1));
  EXPECT_FALSE(Check201());
}

// --- 205 with the test builds of the component

class HomePageWineTest : public CatalogWineTest {
 protected:
  // Puts a build of the component beside the test program as "pagelock.dll" (or none).
  void Install(const wchar_t* build) {
    const std::wstring target = ExeDir() + L"pagelock.dll";
    DeleteFileW(target.c_str());
    if (build) {
      ASSERT_TRUE(CopyFileW((ExeDir() + build).c_str(), target.c_str(), FALSE)) << Narrow(build);
    }
  }
  std::wstring StartPage() { return ReadRegString(HKCU, kMain, L"Start Page"); }
  void ExpectUnloaded() {
    EXPECT_EQ(GetModuleHandleW((ExeDir() + L"pagelock.dll").c_str()), nullptr);
    EXPECT_TRUE(DeleteFileW((ExeDir() + L"pagelock.dll").c_str()) || !FileExists(ExeDir() + L"pagelock.dll"));
  }
};

TEST_F(HomePageWineTest, AcceptingComponentKeepsTheStartPage) {
  Install(L"pagelock_accept.dll");
  ASSERT_TRUE(WriteRegString(HKCU, kMain, L"Start Page", L"http://marker.invalid/"));
  EXPECT_TRUE(RequestHomePageProtection(L"ie"));
  EXPECT_TRUE(Fix205(L"IE9"));
  EXPECT_EQ(Narrow(StartPage()), "http://marker.invalid/");
  EXPECT_EQ(ReadRegInteger(HKCU, kMain, L"IE9TourShown"), 1);
  ExpectUnloaded();
}

TEST_F(HomePageWineTest, EveryOtherComponentMeansTheDefaultStartPage) {
  for (const wchar_t* build : {L"pagelock_refuse.dll", L"pagelock_false.dll", L"pagelock_nofunc.dll",
                               static_cast<const wchar_t*>(nullptr)}) {
    SCOPED_TRACE(build ? Narrow(build) : "absent");
    Install(build);
    ASSERT_TRUE(WriteRegString(HKCU, kMain, L"Start Page", L"http://marker.invalid/"));
    EXPECT_FALSE(RequestHomePageProtection(L"ie"));
    EXPECT_TRUE(Fix205(L"IE10"));
    EXPECT_EQ(Narrow(StartPage()), "about:blank");
    EXPECT_EQ(ReadRegInteger(HKCU, kMain, L"IE10RunOncePerInstallCompleted"), 1);
    ExpectUnloaded();
  }
}

TEST_F(HomePageWineTest, OnlyTheCopyBesideTheProgramIsUsed) {
  // A component in the current folder is never picked up.
  TempDir elsewhere;
  ASSERT_TRUE(CopyFileW((ExeDir() + L"pagelock_accept.dll").c_str(), (elsewhere.path() + L"\\pagelock.dll").c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(elsewhere.path().c_str());
  EXPECT_FALSE(RequestHomePageProtection(L"ie"));
  SetCurrentDirectoryW(previous);
}

// --- 209 and the stand-in module

TEST_F(CatalogWineTest, InternetOptionsResetCallsTheExportWithNoOwner) {
  const std::wstring key = L"\\Software\\CorrivoTest";
  DeleteRegValue(HKCU, key, L"ResetCalls");
  SpecialStepBackend& backend = PlatformSpecialStepBackend();
  EXPECT_EQ(backend.ResetIEToDefaults(ExeDir() + L"standin\\inetcpl.cpl"), InetcplOutcome::Called);
  EXPECT_EQ(ReadRegInteger(HKCU, key, L"ResetCalls"), 1);
  EXPECT_EQ(ReadRegInteger(HKCU, key, L"ResetNullOwner"), 1);
  EXPECT_EQ(backend.ResetIEToDefaults(ExeDir() + L"pagelock_nofunc.dll"), InetcplOutcome::NoExport);
  EXPECT_EQ(backend.ResetIEToDefaults(ExeDir() + L"no-such-module.cpl"), InetcplOutcome::NotLoaded);
  EXPECT_EQ(ReadRegInteger(HKCU, key, L"ResetCalls"), 1);
  if (!SystemInetcplIsStandIn()) GTEST_SKIP() << "the prefix's own inetcpl.cpl is in place";
  EXPECT_TRUE(Fix209());
  EXPECT_EQ(ReadRegInteger(HKCU, key, L"ResetCalls"), 2);
}

// --- FixByID's Windows side

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static std::atomic<int>* seen = nullptr;
  if (message == WM_NCCREATE) seen = static_cast<std::atomic<int>*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  if (message == WM_KEYDOWN && wParam == VK_F5 && seen) seen->fetch_or(1);
  if (message == WM_RBUTTONUP && wParam == VK_F5 && seen) seen->fetch_or(2);
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(DispatchEffectsWineTest, FindsWindowsSendsMessagesAndShowsAnOwnedBox) {
  std::atomic<int> seen{0};
  WNDCLASSW cls = {};
  cls.lpfnWndProc = RecordingProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"CorrivoTestTop";
  RegisterClassW(&cls);
  cls.lpszClassName = L"CorrivoTestChild";
  RegisterClassW(&cls);
  HWND top = CreateWindowExW(0, L"CorrivoTestTop", L"Corrivo Test Title", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, cls.hInstance, nullptr);
  ASSERT_NE(top, nullptr);
  HWND child = CreateWindowExW(0, L"CorrivoTestChild", L"", WS_CHILD, 0, 0, 10, 10, top, nullptr, cls.hInstance, &seen);
  ASSERT_NE(child, nullptr);

  Win32DispatchEffects effects(top);
  EXPECT_EQ(effects.FindTopLevelWindow(L"CorrivoTestTop"), reinterpret_cast<WindowId>(top));
  EXPECT_EQ(effects.FindChildWindow(reinterpret_cast<WindowId>(top), L"CorrivoTestChild"), reinterpret_cast<WindowId>(child));
  EXPECT_EQ(effects.FindChildWindow(reinterpret_cast<WindowId>(top), L"NoSuchClass"), 0u);
  effects.SendWindowMessage(reinterpret_cast<WindowId>(child), kWmKeyDown, kVkF5, 0);
  effects.SendWindowMessage(reinterpret_cast<WindowId>(child), kWmRButtonUp, kVkF5, 0);
  EXPECT_EQ(seen.load(), 3);
  effects.ChangeNotify(kShcneAssocChanged, kShcnfFlush);

  // The box: owned by the window, captioned with its title as it is now, with the text given.
  SetWindowTextW(top, L"Title At Click Time");
  std::wstring caption, text;
  HWND owner = nullptr;
  std::thread closer([&] {
    for (int i = 0; i < 200; ++i) {
      HWND box = FindWindowW(L"#32770", nullptr);
      if (box) {
        wchar_t buffer[256] = {};
        GetWindowTextW(box, buffer, 256);
        caption = buffer;
        GetDlgItemTextW(box, 0xFFFF, buffer, 256);
        text = buffer;
        owner = GetWindow(box, GW_OWNER);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(50);
    }
  });
  effects.ShowMessage(L"Fixed!", kMbIconInformation | kMbOk);
  closer.join();
  EXPECT_EQ(Narrow(caption), "Title At Click Time");
  EXPECT_EQ(Narrow(text), "Fixed!");
  EXPECT_EQ(owner, top);
  DestroyWindow(top);
}

}  // namespace
}  // namespace corrivo::testing

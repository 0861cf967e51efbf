// The catalogue under Wine, for what the memory system cannot show (what repairs leave in the real
// registry follows from the registry contract suite). The prefix's system folder holds the stand-in inetcpl.cpl.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/executor.h"
#include "catalog/shell_steps.h"
#include "sysaccess/text.h"
#include "sysaccess/win32/win32_api.h"
#include "tests/fakes/test_support.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace corrivo::testing {
namespace {

constexpr RegRoot kHkcu = RegRoot::CurrentUser;
const std::wstring kIEMain = L"\\Software\\Microsoft\\Internet Explorer\\Main";

System& Real() { return PlatformSystem(); }
std::wstring ExeFolder() { return ProgramFolder(Real().os); }

// The library beside the program answers the request; its answer decides the start page.
TEST(CatalogWineTest, HomePageLibraryVariantsBesideTheProgram) {
  const std::wstring beside = ExeFolder() + kHomePageLibraryName;
  const std::pair<const wchar_t*, bool> builds[] = {
      {L"pagelock_accept.dll", true}, {L"pagelock_refuse.dll", false}, {L"pagelock_false.dll", false},
      {L"pagelock_nofunc.dll", false}, {nullptr, false}};
  const Registry reg = Real().registry();
  for (const auto& [build, accepted] : builds) {
    SCOPED_TRACE(build ? Narrow(build) : "no library");
    DeleteFileW(beside.c_str());
    ASSERT_TRUE(!build || CopyFileW((ExeFolder() + build).c_str(), beside.c_str(), FALSE));
    ASSERT_TRUE(reg.WriteString(kHkcu, kIEMain, L"Start Page", L"http://marker.invalid/"));
    EXPECT_TRUE(RunRepair(Real(), 205, RepairArgs{WindowsVersion::Seven, L"IE10"}));
    EXPECT_EQ(Narrow(reg.ReadString(kHkcu, kIEMain, L"Start Page")), accepted ? "http://marker.invalid/" : "about:blank");
    EXPECT_EQ(reg.ReadInteger(kHkcu, kIEMain, L"IE10TourShown"), 1);
    EXPECT_EQ(GetModuleHandleW(beside.c_str()), nullptr) << "unloaded after the call";
  }
  // A library in the current folder is never picked up.
  TempDir elsewhere;
  const std::wstring there = elsewhere.path() + L"\\" + kHomePageLibraryName;
  ASSERT_TRUE(CopyFileW((ExeFolder() + L"pagelock_accept.dll").c_str(), there.c_str(), FALSE));
  ASSERT_TRUE(SetCurrentDirectoryW(elsewhere.path().c_str()));
  EXPECT_FALSE(RequestHomePageProtection(Real(), L"ie"));
  SetCurrentDirectoryW(ExeFolder().c_str());
}

TEST(CatalogWineTest, InternetOptionsResetCallsTheModuleWithNoOwner) {
  const std::wstring key = L"\\Software\\CorrivoTest";
  const Registry reg = Real().registry();
  ASSERT_TRUE(reg.DeleteValue(kHkcu, key, L"ResetCalls"));
  const std::pair<const wchar_t*, InetcplOutcome> modules[] = {{L"standin\\inetcpl.cpl", InetcplOutcome::Called},
                                                               {L"pagelock_nofunc.dll", InetcplOutcome::NoExport},
                                                               {L"no-such-module.cpl", InetcplOutcome::NotLoaded}};
  for (const auto& [module, outcome] : modules)
    EXPECT_EQ(Real().shell.ResetIEToDefaults(ExeFolder() + module), outcome) << Narrow(module);
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"ResetCalls"), 1);
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"ResetNullOwner"), 1);
  // The repair takes the module from the system folder, where the prefix has the stand-in.
  EXPECT_TRUE(RunRepair(Real(), 209, RepairArgs{}));
  EXPECT_EQ(reg.ReadInteger(kHkcu, key, L"ResetCalls"), 2);
}

TEST(CatalogWineTest, InternetExplorerShortcutsAreRealLinks) {
  const std::wstring target = Real().os.FolderPath(KnownFolder::ProgramFiles) + L"\\Internet Explorer\\iexplore.exe";
  for (WindowsVersion windows : {WindowsVersion::Seven, WindowsVersion::Eight}) {
    // The thread has no COM here: the repair must manage on its own.
    EXPECT_TRUE(RunRepair(Real(), 201, RepairArgs{windows, L"IE8"}));
    CoInitialize(nullptr);
    for (const wchar_t* folder : {L"Desktop", L"Start Menu"}) {
      const std::wstring file =
          Real().registry().ReadString(kHkcu, kShellFoldersKey, folder) + L"\\" + kIEShortcutName + L".lnk";
      SCOPED_TRACE(Narrow(file));
      IShellLinkW* link = nullptr;
      IPersistFile* persist = nullptr;
      ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                             reinterpret_cast<void**>(&link))));
      ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))));
      EXPECT_TRUE(SUCCEEDED(persist->Load(file.c_str(), STGM_READ)));
      wchar_t path[MAX_PATH] = {}, folderOf[MAX_PATH] = {}, caption[MAX_PATH] = {};
      link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
      link->GetWorkingDirectory(folderOf, MAX_PATH);
      link->GetDescription(caption, MAX_PATH);
      persist->Release();
      link->Release();
      EXPECT_TRUE(EqualsNoCase(path, target)) << Narrow(path);
      EXPECT_TRUE(EqualsNoCase(folderOf, target.substr(0, target.rfind(L'\\') + 1))) << Narrow(folderOf);
      EXPECT_EQ(std::wstring(caption), kIEShortcutDescription);
      EXPECT_TRUE(DeleteFileW(file.c_str()));
    }
    CoUninitialize();
  }
}

// Commands name programs without a folder, and those of one repair depend on each other (a
// service deleted before it is created again).
TEST(CatalogWineTest, CommandsRunInTheSystemFolderOneAfterAnotherAndNeverWaitForInput) {
  TempDir dir;
  const std::wstring first = dir.path() + L"\\first.txt", second = dir.path() + L"\\second.txt";
  const DWORD start = GetTickCount();
  EXPECT_TRUE(ExecutePlan(Real(), Plan{corrivo::Run(L"/c set /p answer=Continue? & ping -n 3 127.0.0.1 >nul & cd > \"" +
                                                   first + L"\""),
                                       corrivo::Run(L"/c copy \"" + first + L"\" \"" + second + L"\"")}));
  EXPECT_LT(GetTickCount() - start, 30000u) << "a command waited for input";
  std::string bytes;
  EXPECT_EQ(Real().files.ReadWholeFile(second, &bytes), FileRead::Ok) << "the second command overtook the first";
  EXPECT_TRUE(EqualsNoCase(Trim(Real().files.AnsiToWide(bytes)), Real().os.SystemFolder())) << bytes;
}

}  // namespace
}  // namespace corrivo::testing

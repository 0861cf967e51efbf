// The portable platform helpers: version mapping, IE version, folder filters, folder indexes,
// process names, environment expansion.
#include <gtest/gtest.h>

#include <fstream>
#include <filesystem>

#include "sysaccess/memory/host_platform.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

TEST(OsVersionTest, MapsMajorMinorAndProductType) {
  constexpr std::uint32_t kWorkstation = 1, kDomainController = 2, kServer = 3;
  struct Case {
    std::uint32_t major, minor, product;
    std::int32_t code;
  } cases[] = {
      {5, 0, kWorkstation, 5}, {5, 0, kServer, 5},  {5, 1, kWorkstation, 0}, {5, 1, kServer, 0},
      {5, 2, kServer, 2},      {5, 2, kWorkstation, 0}, {5, 2, kDomainController, 0},
      {6, 0, kServer, 4},      {6, 0, kWorkstation, 1}, {6, 0, kDomainController, 1},
      {6, 1, kServer, 4},      {6, 1, kWorkstation, 3}, {6, 2, kWorkstation, 6}, {6, 2, kServer, 6},
      {5, 3, kWorkstation, -1}, {6, 3, kWorkstation, -1}, {6, 4, kServer, -1}, {10, 0, kWorkstation, -1},
      {4, 0, kWorkstation, -1}, {7, 0, kWorkstation, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.major << "." << c.minor << " type " << c.product);
    EXPECT_EQ(MapOsVersion(c.major, c.minor, c.product), c.code);
  }
  for (int code : {0, 1, 3, 6}) EXPECT_TRUE(IsSupportedOsVersion(code)) << code;
  for (int code : {-1, 2, 4, 5, 7}) EXPECT_FALSE(IsSupportedOsVersion(code)) << code;
}

TEST(OsVersionTest, DetectionUsesTheVersionRecord) {
  host::SetOsVersion(6, 0, 1);
  EXPECT_EQ(DetectOsVersionCode(), kOsVista);
  host::SetOsVersion(5, 2, 3);
  EXPECT_EQ(DetectOsVersionCode(), kOsServer2003);
  host::SetOsVersion(6, 1, 1);
}

class IEVersionTest : public MemorySystemTest {};

TEST_F(IEVersionTest, NamesFromSvcVersion) {
  struct Case {
    const wchar_t* svc;
    const wchar_t* name;
  } cases[] = {{L"10.0.9200.16384", L"IE10"}, {L"10", L"IE10"},  {L"9.0.8112.16421", L"IE9"},
               {L"9", L"IE8"},                {L"9,0", L"IE8"}, {L"11.0.9600.17843", L"IE8"},
               {L"8.0.7601.17514", L"IE8"},   {L"", L"IE8"},    {L"1", L"IE8"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.svc));
    EXPECT_EQ(IEVersionFromSvcVersion(c.svc), c.name);
  }
}

TEST_F(IEVersionTest, DetectReadsTheNativeOrTheWow6432Key) {
  DetectIEVersion();
  EXPECT_EQ(IEVersionName(), L"IE8") << "no value";
  registry.PutString(RegRoot::LocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"svcVersion", L"9.0.1");
  DetectIEVersion();
  EXPECT_EQ(IEVersionName(), L"IE9");
  registry.PutString(RegRoot::LocalMachine, L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer", L"svcVersion",
                     L"10.0.1");
  registry.SetWow64(true);
  DetectIEVersion();
  EXPECT_EQ(IEVersionName(), L"IE10") << "on WOW64 the Wow6432Node key is read";
  registry.SetWow64(false);
  registry.PutDword(RegRoot::LocalMachine, L"SOFTWARE\\Microsoft\\Internet Explorer", L"svcVersion", 10);
  DetectIEVersion();
  EXPECT_EQ(IEVersionName(), L"IE8") << "a DWORD is no text";
}

TEST(ExtensionFilterTest, BuildsPiecesAndMatchesExtensions) {
  EXPECT_EQ(BuildExtensionFilter(L"*.*"), (std::vector<std::wstring>{L".*"}));
  EXPECT_EQ(BuildExtensionFilter(L"*.txt; *.LOG ;;"), (std::vector<std::wstring>{L".txt", L".LOG"}));
  EXPECT_EQ(BuildExtensionFilter(L"*.a *.b"), (std::vector<std::wstring>{L".a .b"})) << "blanks do not split";
  EXPECT_TRUE(BuildExtensionFilter(L"").empty());
  EXPECT_TRUE(BuildExtensionFilter(L" ; ").empty());

  auto txt = BuildExtensionFilter(L"*.TXT");
  EXPECT_TRUE(ExtensionFilterAccepts(txt, L"notes.txt"));
  EXPECT_TRUE(ExtensionFilterAccepts(txt, L"a.b.Txt"));
  EXPECT_FALSE(ExtensionFilterAccepts(txt, L"txt"));
  EXPECT_FALSE(ExtensionFilterAccepts(txt, L"notes.txt.bak"));
  EXPECT_FALSE(ExtensionFilterAccepts({}, L"notes.txt"));
  EXPECT_TRUE(ExtensionFilterAccepts(BuildExtensionFilter(L"*.*;*.txt"), L"noext"));
  EXPECT_FALSE(ExtensionFilterAccepts(BuildExtensionFilter(L"*.txt;*.*"), L"noext")) << "only the first piece";
  EXPECT_TRUE(ExtensionFilterAccepts(BuildExtensionFilter(L"."), L"noext.")) << "a bare dot";
}

TEST(ListFolderFilesTest, ListsFiltersAndReportsMissingFolders) {
  TempDir dir;
  std::filesystem::path root(WideToUtf8(dir.path()));
  std::ofstream(root / "readme.txt") << "x";
  std::ofstream(root / "setup.LOG") << "x";
  std::filesystem::create_directory(root / "sub");

  std::vector<std::wstring> list = {L"stale"};
  ASSERT_TRUE(ListFolderFiles(dir.path(), &list, L"*.*", false));
  std::sort(list.begin(), list.end());
  EXPECT_EQ(list, (std::vector<std::wstring>{L".", L"..", L"readme.txt", L"setup.LOG", L"sub"}));

  ASSERT_TRUE(ListFolderFiles(dir.path() + L"\\", &list, L"*.TXT", true));
  EXPECT_EQ(list, (std::vector<std::wstring>{dir.path() + L"\\readme.txt"}));

  ASSERT_TRUE(ListFolderFiles(dir.path(), &list, L"*.txt;*.log", false));
  std::sort(list.begin(), list.end());
  EXPECT_EQ(list, (std::vector<std::wstring>{L"readme.txt", L"setup.LOG"}));

  EXPECT_TRUE(ListFolderFiles(dir.path(), &list, L"", false)) << "entries exist even if none passes";
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(ListFolderFiles(dir.path(), nullptr, L"*.*", false)) << "no list to fill";

  list = {L"untouched"};
  EXPECT_FALSE(ListFolderFiles(dir.path() + L"/missing", &list, L"*.*", false));
  EXPECT_EQ(list, (std::vector<std::wstring>{L"untouched"}));
}

TEST(AppFrameTest, FolderIndexTable) {
  const int expected[36] = {-2, -3, -4, 32, 33, 34, 8,  16, 2,  6,  7,  40, 26, 28, -1, 38, 43, 11,
                            35, 28, 20, 21, 19, 9,  13, 14, 27, 39, 41, 42, 43, 44, 48, 56, 59, 5};
  for (int i = 0; i < 36; ++i) EXPECT_EQ(TAppFrame::FolderNumberForIndex(i), expected[i]) << "index " << i;
  EXPECT_EQ(TAppFrame::FolderNumberForIndex(36), -1);
  EXPECT_EQ(TAppFrame::FolderNumberForIndex(-1), -1);
}

TEST(AppFrameTest, FieldsAndLookups) {
  host::SetFolder(26, L"C:\\Users\\me\\AppData\\Roaming");
  host::SetFolder(35, L"C:\\ProgramData");
  host::SetFolder(16, L"C:\\Users\\me\\Desktop");
  host::SetFolder(-4, L"C:\\Temp\\");
  host::SetProgramFileName(L"C:\\Tools\\Corrivo.exe");
  TAppFrame frame;
  EXPECT_EQ(frame.AppDataDir, L"C:\\Users\\me\\AppData\\Roaming");
  EXPECT_EQ(frame.CommonAppDataDir, L"C:\\ProgramData");
  EXPECT_EQ(frame.ExeDir, L"C:\\Tools\\");
  std::wstring path = L"before";
  frame.GetFolderPath(14, path);
  EXPECT_EQ(path, L"before");
  frame.GetFolderPath(40, path);
  EXPECT_EQ(path, L"before");
  frame.GetFolderPath(7, path);
  EXPECT_EQ(path, L"C:\\Users\\me\\Desktop");
  frame.GetFolderPath(2, path);
  EXPECT_EQ(path, L"C:\\Temp\\");
  host::SetProgramFileName(L"");
}

TEST(ProcessNameTest, MatchesFileNameOrWholePathIgnoringCase) {
  EXPECT_TRUE(ProcessNameMatches(L"EXPLORER.EXE", L"explorer.exe"));
  EXPECT_TRUE(ProcessNameMatches(L"C:\\Windows\\Explorer.exe", L"explorer.exe"));
  EXPECT_TRUE(ProcessNameMatches(L"C:\\Windows\\Explorer.exe", L"c:\\windows\\explorer.EXE"));
  EXPECT_FALSE(ProcessNameMatches(L"iexplorer.exe", L"explorer.exe"));
  EXPECT_FALSE(ProcessNameMatches(L"explorer", L"explorer.exe"));
}

TEST(EnvironmentTest, ExpandsKnownNamesAndKeepsUnknownOnes) {
  host::SetEnvironment(L"SystemRoot", L"C:\\WINDOWS");
  EXPECT_EQ(ExpandEnvironmentText(L"%SystemRoot%\\system32\\IMAGERES.dll"), L"C:\\WINDOWS\\system32\\IMAGERES.dll");
  EXPECT_EQ(ExpandEnvironmentText(L"%SYSTEMROOT%"), L"C:\\WINDOWS");
  EXPECT_EQ(ExpandEnvironmentText(L"%NoSuchCorrivoName%\\x"), L"%NoSuchCorrivoName%\\x");
  EXPECT_EQ(ExpandEnvironmentText(L"100%"), L"100%");
  EXPECT_EQ(ExpandEnvironmentText(L"%NoSuchCorrivoName%%SystemRoot%"), L"%NoSuchCorrivoName%C:\\WINDOWS");
  EXPECT_EQ(ExpandEnvironmentText(std::wstring(300, L'x')), L"") << "longer than the buffer";
}

TEST(TextTest, CaseAndEncodings) {
  EXPECT_TRUE(EqualsNoCase(L"Explorer.EXE", L"explorer.exe"));
  EXPECT_TRUE(EqualsNoCase(L"\u00C4rger", L"\u00E4RGER"));
  EXPECT_TRUE(ContainsNoCase(L"Launch INTERNET explorer Browser", L"Internet Explorer"));
  EXPECT_EQ(Trim(L" \t a b \r\n"), L"a b");
  EXPECT_EQ(Split(L"a;;b", L';'), (std::vector<std::wstring>{L"a", L"", L"b"}));
  EXPECT_EQ(Utf8ToWide("Gr\xC3\xBC\xC3\x9F" "e"), L"Gr\u00FC\u00DFe");
  EXPECT_EQ(WideToUtf8(L"Gr\u00FC\u00DFe \u20AC"), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_EQ(Utf8ToWide("a\xC3"), L"a\uFFFD") << "a cut sequence";
  EXPECT_EQ(Utf8ToWide("\xFF" "b"), L"\uFFFD" L"b");
  EXPECT_EQ(Cp1252ToWide("\x80\xE4"), L"\u20AC\u00E4");
  const unsigned char le[] = {'h', 0, 'i', 0, 'x'};
  EXPECT_EQ(Utf16LeToWide(le, 5), L"hi") << "odd byte dropped";
  EXPECT_EQ(WideToUtf16Le(L"A", true), (std::vector<unsigned char>{'A', 0, 0, 0}));
}

}  // namespace
}  // namespace corrivo::testing

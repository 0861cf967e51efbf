// What the file service and the environment expansion promise, on each platform's real disk
// and operating system (the Linux stand-in against the real one).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "sysaccess/system.h"
#include "tests/fakes/test_support.h"
#include "tests/sysaccess/platform_probe.h"

namespace corrivo::testing {
namespace {

using Names = std::vector<std::wstring>;
using Answer = std::pair<FileRead, std::string>;

class FileServiceContractTest : public ::testing::Test {
 protected:
  std::wstring In(const std::wstring& name) const { return dir.path() + L"\\" + name; }
  // The test's own file handling, beside the service under test; both platforms take "/".
  static std::filesystem::path Fs(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
  }
  void Put(const std::wstring& name, const std::string& bytes) { std::ofstream(Fs(In(name)), std::ios::binary) << bytes; }
  Answer Read(const std::wstring& name) {
    Answer answer{FileRead::Ok, "stale"};
    answer.first = files.ReadWholeFile(In(name), &answer.second);
    return answer;
  }
  void Folder(const std::wstring& name) { std::filesystem::create_directory(Fs(In(name))); }
  Names List(const std::wstring& filter, bool fullPath = false) {
    Names list = {L"stale"};
    EXPECT_TRUE(ListFolderFiles(files, dir.path(), &list, filter, fullPath));
    std::sort(list.begin(), list.end());
    return list;
  }

  TempDir dir;
  FileService& files = PlatformSystem().files;
};

TEST_F(FileServiceContractTest, ReadsWholeFilesAndTellsMissingFromUnreadable) {
  const std::string bytes("a\0b\r\n\xFF", 6);
  Put(L"f.bin", bytes);
  Put(L"empty", "");
  Folder(L"sub");
  EXPECT_EQ(Read(L"f.bin"), Answer(FileRead::Ok, bytes));
  EXPECT_EQ(Read(L"empty"), Answer(FileRead::Ok, ""));
  EXPECT_EQ(Read(L"none"), Answer(FileRead::Missing, ""));
  EXPECT_EQ(Read(L"none\\f"), Answer(FileRead::Missing, ""));
  EXPECT_EQ(Read(L"sub"), Answer(FileRead::Unreadable, "")) << "a folder is there";
  EXPECT_TRUE(files.FileExists(In(L"f.bin")) && files.FolderExists(In(L"sub")));
  EXPECT_FALSE(files.FileExists(In(L"sub")) || files.FolderExists(In(L"f.bin")));
  // A runaway file is refused whole.
  const std::string atCap(FileService::kMaxFileBytes, 'x');
  Put(L"at-cap", atCap);
  Put(L"past-cap", atCap + "y");
  EXPECT_TRUE(Read(L"at-cap") == Answer(FileRead::Ok, atCap));
  EXPECT_TRUE(Read(L"past-cap") == Answer(FileRead::Unreadable, ""));
}

TEST_F(FileServiceContractTest, ReplacesWholeOrNotAtAllAndLeavesNoTemporaryFile) {
  ASSERT_TRUE(files.ReplaceWholeFile(In(L"new.txt"), "first")) << "made when absent";
  Put(L"hosts", std::string(5000, 'o'));
  ASSERT_TRUE(files.ReplaceWholeFile(In(L"hosts"), "short"));
  EXPECT_EQ(Read(L"hosts").second, "short") << "nothing of the longer old content stays";
  // The temporary file is written, then the target refuses it: the temporary file goes.
  {
    auto blocked = BlockReplacement(In(L"taken"));
    EXPECT_FALSE(files.ReplaceWholeFile(In(L"taken"), "x"));
  }
  EXPECT_FALSE(files.ReplaceWholeFile(In(L"none\\f"), "x"));
  EXPECT_EQ(List(L"*.*"), (Names{L".", L"..", L"hosts", L"new.txt", L"taken"}));
  EXPECT_NE(Read(L"taken").second, "x") << "what stood there stands";
}

// The new content must go to a new file: written in place it would reach every other name of
// the old one, as a hard link planted by a user who can write to the folder.
TEST_F(FileServiceContractTest, ReplacingNeverWritesThroughAnotherLinkOfTheFile) {
  Put(L"hosts", "old");
  std::filesystem::create_hard_link(Fs(In(L"hosts")), Fs(In(L"other-name")));
  ASSERT_TRUE(files.ReplaceWholeFile(In(L"hosts"), "new"));
  EXPECT_EQ(Read(L"hosts").second + " " + Read(L"other-name").second, "new old");
}

TEST_F(FileServiceContractTest, ListFolderFilesFilters) {
  for (const wchar_t* name : {L"readme.txt", L"setup.LOG", L"noext"}) Put(name, "x");
  Folder(L"sub");
  EXPECT_EQ(List(L"*.*"), (Names{L".", L"..", L"noext", L"readme.txt", L"setup.LOG", L"sub"}));
  EXPECT_EQ(List(L"*.TXT"), (Names{L"readme.txt"}));
  EXPECT_EQ(List(L"*.txt; *.log ;;"), (Names{L"readme.txt", L"setup.LOG"}));
  EXPECT_EQ(List(L"*.txt;*.*"), (Names{L"readme.txt"})) << "\"everything\" counts only as the first piece";
  EXPECT_EQ(List(L""), Names{}) << "a folder with entries, none passing";
  EXPECT_EQ(List(L"*.txt", true), (Names{In(L"readme.txt")}));
  Names list = {L"untouched"};
  EXPECT_FALSE(ListFolderFiles(files, In(L"none"), &list, L"*.*", false));
  EXPECT_EQ(list, (Names{L"untouched"}));
}

TEST(OperatingSystemContractTest, ExpandsEnvironmentLikeWindows) {
  OperatingSystem& os = OperatingSystemWithProbe();
  const struct {
    std::wstring text;
    std::size_t capacity;
    std::wstring expanded;
  } rows[] = {
      {L"%CorrivoProbe%\\x.dll", 260, L"C:\\Probe\\x.dll"}, {L"%CORRIVOPROBE%", 260, L"C:\\Probe"},
      {L"%CorrivoNoSuchName%\\x", 260, L"%CorrivoNoSuchName%\\x"}, {L"100%", 260, L"100%"},
      // An unknown reference is kept whole; the one after it still expands.
      {L"%CorrivoNoSuchName%%CorrivoProbe%", 260, L"%CorrivoNoSuchName%C:\\Probe"},
      {std::wstring(259, L'x'), 260, std::wstring(259, L'x')}, {std::wstring(260, L'x'), 260, L""},
      {L"%CorrivoProbe%", 9, L"C:\\Probe"}, {L"%CorrivoProbe%", 8, L""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Narrow(os.ExpandEnvironment(row.text, row.capacity)), Narrow(row.expanded))
        << Narrow(row.text.substr(0, 40)) << " in " << row.capacity;
  }
}

}  // namespace
}  // namespace corrivo::testing

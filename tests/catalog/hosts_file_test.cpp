// The hosts file repair on the memory system.
#include <gtest/gtest.h>

#include <optional>

#include "catalog/hosts_file.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

using HostsFileTest = MemorySystemTest;

const std::vector<std::wstring> kMixed = {L"# Copyright", L"", L"127.0.0.1 ads.example", L"#  127.0.0.1 kept",
                                          L"\t# indented, so not a comment", L"::1 localhost", L"# end"};

TEST_F(HostsFileTest, KeepsCommentsDropsMappingsAndIsIdempotentOnEveryVersion) {
  for (WindowsVersion v : kSupportedVersions) {
    SCOPED_TRACE(Narrow(VersionName(v)));
    const auto once = TransformHostsLines(kMixed, v);
    EXPECT_EQ(TransformHostsLines(once, v), once);
    std::vector<std::wstring> comments;
    for (const auto& line : once)
      if (line.empty() || line[0] == L'#') comments.push_back(line);
    EXPECT_EQ(comments, (std::vector<std::wstring>{L"# Copyright", L"", L"#  127.0.0.1 kept", L"# end"}));
    const std::size_t entries = once.size() - comments.size();
    EXPECT_EQ(entries, v == WindowsVersion::XP ? 1u : 2u);
    EXPECT_EQ(once[comments.size()].rfind(L"127.0.0.1", 0), 0u);
  }
}

TEST_F(HostsFileTest, EveryEncodingReadsBackAsTheSameLines) {
  const std::vector<std::wstring> lines = {L"# caf\u00e9", L"", L"127.0.0.1 x"};
  const std::string ansi = EncodeHostsLines(machine.files, lines);
  EXPECT_EQ(SplitHostsLines(DecodeHostsBytes(machine.files, ansi)), lines);
  EXPECT_EQ(SplitHostsLines(DecodeHostsBytes(machine.files, "\xEF\xBB\xBF# caf\xC3\xA9\r\n\r\n127.0.0.1 x")), lines);
  const std::string le("\xFF\xFE#\0 \0c\0a\0f\0\xE9\0\r\0\n\0\n\0" "1\0", 22);
  EXPECT_EQ(SplitHostsLines(DecodeHostsBytes(machine.files, le)), (std::vector<std::wstring>{L"# caf\u00e9", L"", L"1"}));
  const std::string be("\xFE\xFF\0#\0\n\0x", 8);
  EXPECT_EQ(SplitHostsLines(DecodeHostsBytes(machine.files, be)), (std::vector<std::wstring>{L"#", L"x"}));
  EXPECT_EQ(SplitHostsLines(L"a\rb\r\nc\n"), (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

TEST_F(HostsFileTest, ThePathComesFromTheSystemNotFromTheEnvironment) {
  machine.os.SetEnvironment(L"SystemRoot", L"C:\\Evil\" & rd /s /q C:\\");
  EXPECT_EQ(HostsFilePath(system), L"C:\\Windows\\system32\\drivers\\etc\\hosts");
  machine.os.SetWindowsFolder(L"");
  EXPECT_EQ(HostsFilePath(system), L"");
  EXPECT_FALSE(RewriteHostsFile(system, WindowsVersion::Seven));
  machine.os.SetWindowsFolder(L"Windows");  // never relative to the current folder
  EXPECT_EQ(HostsFilePath(system), L"");
}

// A file that cannot be read (also one over the size cap) or written is left as it was.
TEST_F(HostsFileTest, RewritesTheFileOrLeavesItWhole) {
  const std::string big(FileService::kMaxFileBytes + 1, '#');
  const struct {
    const char* what;
    std::optional<std::string> before;
    bool failReads, failWrites;
    std::string after;  // empty: as before
  } rows[] = {
      {"mappings", "# mine\r\n10.1.1.1 bank.example\r\n", false, false, "# mine\r\n127.0.0.1       localhost\r\n::1       localhost\r\n"},
      {"no file", std::nullopt, false, false, "127.0.0.1       localhost\r\n::1       localhost\r\n"},
      {"unreadable", "# mine\r\n", true, false, ""},
      {"over the cap", big, false, false, ""},
      {"unwritable", "# old\r\n", false, true, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TestSystem m;
    const std::wstring path = HostsFilePath(m.system);
    if (row.before) m.files.Put(path, *row.before);
    if (row.failReads) m.files.FailReads(path);
    if (row.failWrites) m.files.FailWrites(path);
    EXPECT_EQ(RewriteHostsFile(m.system, WindowsVersion::Vista), !row.after.empty());
    EXPECT_EQ(m.files.Get(path), row.after.empty() ? *row.before : row.after);
  }
}

}  // namespace
}  // namespace corrivo::testing

// The hosts file's text rules: decoding, line splitting, the transformation and encoding.
#include <gtest/gtest.h>

#include "catalog/hosts_file.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

using Lines = std::vector<std::wstring>;

std::vector<std::string> N(const Lines& lines) {
  std::vector<std::string> out;
  for (const auto& l : lines) out.push_back(Narrow(l));
  return out;
}

const std::wstring kV4 = L"127.0.0.1       localhost";
const std::wstring kV6 = L"::1       localhost";

TEST(HostsTextTest, DefaultEntriesSpacing) {
  EXPECT_EQ(std::wstring(kHostsIPv4Entry), L"127.0.0.1" + std::wstring(7, L' ') + L"localhost");
  EXPECT_EQ(std::wstring(kHostsIPv6Entry), L"::1" + std::wstring(7, L' ') + L"localhost");
  EXPECT_EQ(std::wstring(kHostsFileTemplate), L"%SystemRoot%\\system32\\drivers\\etc\\hosts");
}

TEST(HostsTextTest, SplitAtEveryKindOfBreak) {
  struct Row {
    std::wstring text;
    Lines lines;
  };
  const Row rows[] = {
      {L"", {}},
      {L"a", {L"a"}},
      {L"a\r\nb\r\n", {L"a", L"b"}},
      {L"a\r\nb", {L"a", L"b"}},
      {L"a\nb\n", {L"a", L"b"}},
      {L"a\rb\r", {L"a", L"b"}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"a\n\nb", {L"a", L"", L"b"}},
      {L"a\r\rb", {L"a", L"", L"b"}},
      {L"a\n\r\nb", {L"a", L"", L"b"}},
      {L"a\r\r\nb", {L"a", L"", L"b"}},
      {L"\r\n", {L""}},
      {L"\n\n", {L"", L""}},
      {L"a\r\n\r\n", {L"a", L""}},
      {L"x\ty \r\n  #z", {L"x\ty ", L"  #z"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::PrintToString(Narrow(r.text)));
    EXPECT_EQ(N(SplitHostsLines(r.text)), N(r.lines));
  }
}

TEST(HostsTextTest, KeepsCommentsAndBlankLinesAndAppendsTheDefaults) {
  const Lines input = {L"# Copyright", L"", L"127.0.0.1 localhost", L"#   ::1 localhost", L"   # indented",
                       L" ", L"10.0.0.1\tserver", L"", L"#last"};
  const Lines kept = {L"# Copyright", L"", L"#   ::1 localhost", L"", L"#last"};
  for (std::int32_t os : {0, 1, 3, 6}) {
    SCOPED_TRACE(os);
    Lines expected = kept;
    expected.push_back(kV4);
    if (os > 0) expected.push_back(kV6);
    EXPECT_EQ(N(TransformHostsLines(input, os)), N(expected));
  }
}

TEST(HostsTextTest, OnlyTheFirstCharacterDecides) {
  EXPECT_EQ(N(TransformHostsLines({L"\t#tab", L" #blank", L"#", L"##", L"x#"}, 0)), N({L"#", L"##", kV4}));
}

TEST(HostsTextTest, EmptyInputGetsOnlyTheDefaults) {
  EXPECT_EQ(N(TransformHostsLines({}, 0)), N({kV4}));
  EXPECT_EQ(N(TransformHostsLines({}, 1)), N({kV4, kV6}));
  EXPECT_EQ(N(TransformHostsLines({}, 3)), N({kV4, kV6}));
  EXPECT_EQ(N(TransformHostsLines({}, 6)), N({kV4, kV6}));
}

TEST(HostsTextTest, PreviousDefaultsAreReplacedNotDoubled) {
  const Lines once = TransformHostsLines({L"# c", L"", L"127.0.0.1 localhost"}, 3);
  EXPECT_EQ(N(once), N({L"# c", L"", kV4, kV6}));
  const Lines twice = TransformHostsLines(SplitHostsLines(DecodeHostsBytes(EncodeHostsLines(once))), 3);
  EXPECT_EQ(N(twice), N(once));
}

TEST(HostsTextTest, EncodesEveryLineWithCrLf) {
  EXPECT_EQ(EncodeHostsLines({}), "");
  EXPECT_EQ(EncodeHostsLines({L""}), "\r\n");
  EXPECT_EQ(EncodeHostsLines({L"# a", L"", kV4}), "# a\r\n\r\n127.0.0.1       localhost\r\n");
}

TEST(HostsTextTest, DecodesByByteOrderMark) {
  // UTF-8 with its mark: the mark goes, the text stays.
  EXPECT_EQ(Narrow(DecodeHostsBytes("\xEF\xBB\xBF# caf\xC3\xA9\r\n")), "# caf\xC3\xA9\r\n");
  // UTF-16 little-endian with its mark.
  const std::string utf16("\xFF\xFE#\0 \0\xE9\0\r\0\n\0x\0", 14);
  EXPECT_EQ(Narrow(DecodeHostsBytes(utf16)), "# \xC3\xA9\r\nx");
  // A cut last code unit is dropped rather than read past the end.
  EXPECT_EQ(Narrow(DecodeHostsBytes(std::string("\xFF\xFE#\0x", 5))), "#");
  // UTF-16 big-endian with its mark.
  EXPECT_EQ(Narrow(DecodeHostsBytes(std::string("\xFE\xFF\0#\0a", 6))), "#a");
  // Only the marks count: plain ASCII stays as it is.
  EXPECT_EQ(Narrow(DecodeHostsBytes("127.0.0.1 x\n")), "127.0.0.1 x\n");
  EXPECT_EQ(Narrow(DecodeHostsBytes("")), "");
  EXPECT_EQ(Narrow(DecodeHostsBytes("\xEF\xBB\xBF")), "");
  EXPECT_EQ(Narrow(DecodeHostsBytes("\xFF\xFE")), "");
}

TEST(HostsTextTest, Utf16FileBecomesItsCommentsAndDefaults) {
  std::string bytes("\xFF\xFE", 2);
  for (char c : std::string("# comment\r\n\r\n1.2.3.4 x\r\n")) {
    bytes += c;
    bytes += '\0';
  }
  const Lines lines = TransformHostsLines(SplitHostsLines(DecodeHostsBytes(bytes)), 0);
  EXPECT_EQ(N(lines), N({L"# comment", L"", kV4}));
  EXPECT_EQ(EncodeHostsLines(lines), "# comment\r\n\r\n127.0.0.1       localhost\r\n");
}

}  // namespace
}  // namespace corrivo::testing

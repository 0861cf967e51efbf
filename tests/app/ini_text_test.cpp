// Reading language files from disk: byte-order marks, the ANSI fall-back, line ends and bad input.
#include <gtest/gtest.h>

#include "app/ext_ini_file.h"
#include "app/file_access.h"
#include "app/text_file.h"
#include "tests/app/language_test_support.h"
#include "tests/fakes/test_support.h"

namespace corrivo {
namespace {

using testing::TempDir;
using testing::Utf16Bytes;
using testing::WriteBytes;
using Lines = std::vector<std::wstring>;

const std::wstring kGerman = L"[FixWindows_M]\r\nD_FixFinish=Repariert – schön!\r\nD_Total=Gesamt €\r\n";

class IniTextTest : public ::testing::Test {
 protected:
  std::wstring File(const std::wstring& name) { return dir.path() + L"\\" + name; }
  TempDir dir;
};

TEST_F(IniTextTest, Utf16LittleEndianWithMark) {
  WriteBytes(File(L"le.lng"), "\xFF\xFE" + Utf16Bytes(kGerman, false));
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"le.lng")));
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_FixFinish", L"?"), L"Repariert – schön!");
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_Total", L"?"), L"Gesamt €");
}

TEST_F(IniTextTest, Utf16BigEndianWithMark) {
  WriteBytes(File(L"be.lng"), "\xFE\xFF" + Utf16Bytes(kGerman, true));
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"be.lng")));
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_FixFinish", L"?"), L"Repariert – schön!");
}

TEST_F(IniTextTest, Utf8WithMark) {
  WriteBytes(File(L"u8.lng"), "\xEF\xBB\xBF" + WideToUtf8(kGerman));
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"u8.lng")));
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_FixFinish", L"?"), L"Repariert – schön!");
  // The mark is not part of the first section's name.
  Lines sections;
  ini.ReadSections(&sections);
  EXPECT_EQ(sections, (Lines{L"FixWindows_M"}));
}

TEST_F(IniTextTest, AnsiWithoutMarkUsesTheAnsiCodePage) {
  // Windows-1252 bytes: 0xF6 is ö, 0x80 the euro sign. The Linux build always reads this code
  // page; Windows builds read the system's, which is 1252 on Western installations and Wine.
  WriteBytes(File(L"ansi.lng"), "[FixWindows_M]\r\nD_FixFinish=sch\xF6n\r\nD_Total=\x80 5\r\n");
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"ansi.lng")));
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_FixFinish", L"?"), L"schön");
  EXPECT_EQ(ini.ReadString(L"FixWindows_M", L"D_Total", L"?"), L"€ 5");
}

TEST_F(IniTextTest, LineEndsOfEveryKind) {
  WriteBytes(File(L"ends.lng"), "[S]\ra=1\nb=2\r\nc=3\n\rd=4");
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"ends.lng")));
  Lines keys;
  ini.ReadSection(L"S", &keys);
  EXPECT_EQ(keys, (Lines{L"a", L"b", L"c", L"d"}));
  EXPECT_EQ(ini.ReadString(L"S", L"d", L"?"), L"4");
}

TEST_F(IniTextTest, OddByteCountInUtf16DropsTheLastByte) {
  WriteBytes(File(L"odd.lng"), "\xFF\xFE" + Utf16Bytes(L"[S]\r\nk=v", false) + "\x41");
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"odd.lng")));
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"v");
}

TEST_F(IniTextTest, NulBytesNeitherCrashNorHideLaterLines) {
  std::string bytes = "[S]\r\nk=a";
  bytes += std::string(3, '\0');
  bytes += "b\r\n";
  bytes += std::string(1, '\0');
  bytes += "\r\nnext=1\r\n";
  WriteBytes(File(L"zeros.lng"), bytes);
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"zeros.lng")));
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), std::wstring(L"a") + std::wstring(3, L'\0') + L"b");
  EXPECT_EQ(ini.ReadString(L"S", L"next", L"?"), L"1");
}

TEST_F(IniTextTest, BrokenUtf8BecomesReplacementCharacters) {
  WriteBytes(File(L"bad8.lng"), "\xEF\xBB\xBF[S]\r\nk=a\xC3\r\nj=\xF0\x9F");
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"bad8.lng")));
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"a\xFFFD");
  EXPECT_EQ(ini.ReadString(L"S", L"j", L"?").substr(0, 1), L"\xFFFD");
}

TEST_F(IniTextTest, HugeLineIsReadWhole) {
  std::string value(2 * 1024 * 1024, 'x');
  WriteBytes(File(L"huge.lng"), "[S]\r\nbig=" + value + "\r\nafter=1\r\n");
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"huge.lng")));
  EXPECT_EQ(ini.ReadString(L"S", L"big", L"?").size(), value.size());
  EXPECT_EQ(ini.ReadString(L"S", L"after", L"?"), L"1");
}

TEST_F(IniTextTest, FileBeyondTheSizeLimitIsRefusedAndTheStoreKept) {
  TExtIniFile ini;
  ini.SetStrings({L"[S]", L"k=kept"});
  std::string bytes = "[S]\r\nk=";
  bytes.resize(files::kMaxTextFileBytes + 1, 'y');
  WriteBytes(File(L"toolarge.lng"), bytes);
  EXPECT_FALSE(ini.LoadFromFile(File(L"toolarge.lng")));
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"kept");
}

TEST_F(IniTextTest, MissingFileOrFolderLeavesTheStoreAsItWas) {
  TExtIniFile ini;
  ini.SetStrings({L"[S]", L"k=kept"});
  EXPECT_FALSE(ini.LoadFromFile(File(L"absent.lng")));
  EXPECT_FALSE(ini.LoadFromFile(dir.path()));  // a folder is no file
  EXPECT_FALSE(ini.LoadFromFile(L""));
  EXPECT_EQ(ini.ReadString(L"S", L"k", L"?"), L"kept");
}

TEST_F(IniTextTest, EmptyFileGivesAnEmptyStore) {
  WriteBytes(File(L"empty.lng"), "");
  TExtIniFile ini;
  ini.SetStrings({L"[S]", L"k=v"});
  ASSERT_TRUE(ini.LoadFromFile(File(L"empty.lng")));
  EXPECT_EQ(ini.SectionCount(), 0u);
}

TEST_F(IniTextTest, TheStoreNeverWritesTheFile) {
  const std::string original = "[S]\r\nk=v\r\n";
  WriteBytes(File(L"ro.lng"), original);
  TExtIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(File(L"ro.lng")));
  ini.WriteString(L"S", L"k", L"changed");
  ini.WriteString(L"T", L"new", L"1");
  ini.EraseSection(L"S");
  ini.UpdateFile();
  EXPECT_EQ(testing::ReadBytes(File(L"ro.lng")), original);
}

TEST(TextFileTest, DecodeReportsTheEncoding) {
  // Literals with NUL bytes keep their full length.
  auto B = [](const auto& literal) { return std::string(literal, sizeof literal - 1); };
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::wstring text;
  };
  const Case cases[] = {
      {"plain", TextEncoding::Ansi, L"plain"},
      {"\xEF\xBB\xBFu8 \xC3\xA4", TextEncoding::Utf8, L"u8 ä"},
      {B("\xFF\xFE" "a\0\xE4\0"), TextEncoding::Utf16Le, L"aä"},
      {B("\xFE\xFF" "\0a\0\xE4"), TextEncoding::Utf16Be, L"aä"},
      {"\xFF\xFE", TextEncoding::Utf16Le, L""},
      {"\xEF\xBB", TextEncoding::Ansi, L"ï»"},
      {"", TextEncoding::Ansi, L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Narrow(c.text));
    TextEncoding found = TextEncoding::Utf8;
    EXPECT_EQ(DecodeText(c.bytes, &Cp1252ToWide, &found), c.text);
    EXPECT_EQ(found, c.encoding);
  }
}

TEST(TextFileTest, SplitLines) {
  EXPECT_EQ(SplitLines(L""), Lines{});
  EXPECT_EQ(SplitLines(L"a"), (Lines{L"a"}));
  EXPECT_EQ(SplitLines(L"a\r\n"), (Lines{L"a"}));
  EXPECT_EQ(SplitLines(L"a\r\n\r\nb"), (Lines{L"a", L"", L"b"}));
  EXPECT_EQ(SplitLines(L"\n\r"), (Lines{L"", L""}));
}

TEST(TextFileTest, EncodeRoundTrips) {
  const Lines lines{L"[Lang]", L"MyLang=Français"};
  for (auto encoding : {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be}) {
    SCOPED_TRACE(static_cast<int>(encoding));
    TextEncoding found = TextEncoding::Ansi;
    EXPECT_EQ(SplitLines(DecodeText(EncodeText(lines, encoding), &Cp1252ToWide, &found)), lines);
    EXPECT_EQ(found, encoding);
  }
  EXPECT_EQ(EncodeText({L"[Lang]", L"MyLang=English"}, TextEncoding::Ansi), "[Lang]\r\nMyLang=English\r\n");
}

}  // namespace
}  // namespace corrivo

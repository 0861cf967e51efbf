// Exports over the whole catalogue on every supported version, and the .reg file format. The
// programs that consume the files are in scripts/check-exports.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "catalog/catalog.h"
#include "catalog/executor.h"
#include "catalog/export.h"
#include "catalog/reg_file.h"
#include "sysaccess/text.h"
#include "tests/catalog/export_edge_plans.h"
#include "tests/fakes/problems.h"

namespace corrivo::testing {
namespace {

bool Has(const Plan& plan, bool (*what)(const Step&)) { return std::any_of(plan.begin(), plan.end(), what); }
bool IsCommand(const Step& s) { return s.kind == StepKind::Run; }
bool IsSpecial(const Step& s) { return s.kind == StepKind::Special; }
bool ChangesRegistryItself(const Step& s) { return s.special == SpecialStep::PatchStickyNotesFlags; }

// Imports a .reg export's bytes into `m` the way the program will read one for undo.
void Import(TestSystem& m, const ExportResult& file) {
  ASSERT_TRUE(file.ok) << Narrow(file.error);
  const RegFileParse parsed = ParseRegFile(DecodeRegFileBytes(ExportFileBytes(ExportFormat::Reg, file.text)));
  ASSERT_TRUE(parsed.ok) << Narrow(parsed.error);
  EXPECT_TRUE(ApplyRegFileChanges(m.system.registry(), parsed.changes));
}

TEST(ExportTest, EachFormatTakesWhatItCanCarryAndNamesEachStepItCannot) {
  for (const Repair& r : Repairs()) {
    for (WindowsVersion v : kSupportedVersions) {
      SCOPED_TRACE(Label(r.id, v));
      const Plan plan = r.plan(RepairArgs{v, L"IE8"});
      const bool offered = !r.disabledOn.Contains(v);
      const std::map<ExportFormat, bool> carried = {
          {ExportFormat::Reg, !Has(plan, IsCommand) && !Has(plan, IsSpecial)},
          {ExportFormat::Cmd, true},
          {ExportFormat::Ansible, !Has(plan, IsSpecial)},
      };
      for (const auto& [format, takes] : carried) {
        EXPECT_EQ(IsExportable(r.id, format, v), offered && takes);
        const ExportResult refused = ExportRepairs(format, {r.id}, v, {});
        EXPECT_EQ(refused.ok, offered && takes);
        EXPECT_EQ(refused.text.empty(), !refused.ok);
        if (!offered) {
          EXPECT_TRUE(Contains(refused.error, L"not offered on Windows")) << Narrow(refused.error);
        }
        if (offered && !takes) {
          EXPECT_TRUE(Contains(refused.error, L"repair " + std::to_wstring(r.id))) << Narrow(refused.error);
          for (std::size_t i = 0; i < plan.size(); ++i) {
            const bool cannot = format == ExportFormat::Reg ? IsCommand(plan[i]) || IsSpecial(plan[i]) : IsSpecial(plan[i]);
            EXPECT_EQ(Contains(refused.error, L"step " + std::to_wstring(i + 1) + L" ("), cannot) << Narrow(refused.error);
          }
        }
        // With only the registry asked for, every offered repair goes, and what stayed out is said.
        const ExportResult registryOnly = ExportRepairs(format, {r.id}, v, ExportOptions{true});
        EXPECT_EQ(registryOnly.ok, offered) << Narrow(registryOnly.error);
        if (offered && !takes && format != ExportFormat::Cmd) {
          EXPECT_TRUE(Contains(registryOnly.text, L"eft out")) << Narrow(registryOnly.text);
        }
      }
    }
  }
  EXPECT_FALSE(ExportRepairs(ExportFormat::Reg, {101, 100}, WindowsVersion::Seven, {}).ok);
  EXPECT_TRUE(Contains(ExportRepairs(ExportFormat::Reg, {100}, WindowsVersion::Seven, {}).error, L"no repair 100"));
  EXPECT_FALSE(ExportRepairs(ExportFormat::Cmd, {101}, WindowsVersion::Server2003, {}).ok);
  EXPECT_FALSE(IsExportable(101, ExportFormat::Ansible, WindowsVersion::Unknown));
}

// Read back by the program's own reader, one .reg export of every repair at once leaves the
// registry, problems planted, exactly as running the repairs in order does.
TEST(ExportTest, RegFileReadBackLeavesTheRegistryAsTheRepairDoes) {
  for (WindowsVersion v : kSupportedVersions) {
    SCOPED_TRACE(Narrow(VersionName(v)));
    const RepairArgs args{v, L"IE8"};
    TestSystem repaired, imported;
    std::vector<int> all;
    for (const Repair& r : Repairs()) {
      // Registry-only exports of plans whose other steps leave the memory registry alone.
      if (r.disabledOn.Contains(v) || Has(r.plan(args), ChangesRegistryItself)) continue;
      all.push_back(r.id);
      PlantProblems(repaired.registry, r.plan(args), true);
      PlantProblems(imported.registry, r.plan(args), true);
    }
    for (int id : all) RunRepair(repaired.system, id, args);
    Import(imported, ExportRepairs(ExportFormat::Reg, all, v, ExportOptions{true}));
    EXPECT_EQ(imported.registry.Dump(), repaired.registry.Dump());
  }
  // Text the catalogue does not have: quotes, backslashes, "%", wide characters, line breaks.
  for (const exporting::RepairPlan& edge : {EdgeRegistryPlan(), EdgeWidePlan()}) {
    TestSystem repaired, imported;
    PlantProblems(repaired.registry, edge.plan, true);
    PlantProblems(imported.registry, edge.plan, true);
    ExecutePlan(repaired.system, edge.plan);
    Import(imported, exporting::WriteRegFile({edge}, WindowsVersion::Seven, {}));
    EXPECT_EQ(imported.registry.Dump(), repaired.registry.Dump()) << edge.id;
  }
}

RegistryValue Value(RegType type, std::vector<std::uint8_t> data) { return RegistryValue{type, std::move(data)}; }

TEST(RegFileTest, WhatTheWriterWritesTheReaderReadsBack) {
  const RegRoot cu = RegRoot::CurrentUser;
  const struct {
    const char* what;
    std::wstring name;
    RegistryValue value;
  } values[] = {
      {"dword", L"d", Value(RegType::Dword, {0x78, 0x56, 0x34, 0x12})},
      {"short dword", L"d3", Value(RegType::Dword, {1, 2, 3})},
      {"text with quotes and backslashes", L"say \"hi\" \\", TextValue(RegType::Sz, L"C:\\dir\\ \"q\" %x%")},
      {"empty text", L"", TextValue(RegType::Sz, L"")},
      {"text with a line break", L"lines", TextValue(RegType::Sz, L"a\r\nb")},
      {"text without terminator", L"raw", Value(RegType::Sz, {'a', 0})},
      {"text with a lone surrogate", L"lone", Value(RegType::Sz, {0x00, 0xD8, 0x41, 0x00, 0, 0})},
      {"wide text", L"\u00FC", TextValue(RegType::Sz, L"\u00FC\u2713")},
      {"expandable", L"e", TextValue(RegType::ExpandSz, L"%SystemRoot%\\" + std::wstring(100, L'z'))},
      {"binary", L"b", Value(RegType::Binary, std::vector<std::uint8_t>(99, 0xAB))},
      {"empty binary", L"b0", Value(RegType::Binary, {})},
      {"multi", L"m", Value(RegType::MultiSz, {'a', 0, 0, 0, 0, 0})},
      {"qword", L"q", Value(RegType::Qword, {1, 2, 3, 4, 5, 6, 7, 8})},
      {"no type", L"n", Value(RegType::None, {9})},
      {"unknown type", L"u", Value(static_cast<RegType>(0x1234), {1})},
  };
  RegFileWriter writer;
  std::vector<RegFileChange> expected;
  const std::wstring key = L"Software\\Corrivo [x]";
  writer.Comment(L"first\nsecond \\");
  for (const auto& v : values) {
    writer.AddValue(cu, L"\\" + key + L"\\", v.name, v.value);
    if (expected.empty()) expected.push_back({RegFileChange::Kind::OpenKey, cu, key, L"", {}});
    expected.push_back({RegFileChange::Kind::SetValue, cu, key, v.name, v.value});
  }
  writer.DeleteValue(cu, key, L"gone");
  writer.DeleteValue(cu, key, L"");
  writer.DeleteKey(RegRoot::LocalMachine, L"\\Software\\Old\\");
  writer.CreateKey(RegRoot::ClassesRoot, L"new");
  expected.push_back({RegFileChange::Kind::DeleteValue, cu, key, L"gone", {}});
  expected.push_back({RegFileChange::Kind::DeleteValue, cu, key, L"", {}});
  expected.push_back({RegFileChange::Kind::DeleteKey, RegRoot::LocalMachine, L"Software\\Old", L"", {}});
  expected.push_back({RegFileChange::Kind::OpenKey, RegRoot::ClassesRoot, L"new", L"", {}});

  const std::string bytes = EncodeUtf16LeWithBom(writer.Text());
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));
  const std::wstring text = DecodeRegFileBytes(bytes);
  EXPECT_EQ(text, writer.Text());
  for (const std::wstring& line : Split(text, L'\n')) {
    EXPECT_LE(line.size(), 81u) << "regedit's own width: " << Narrow(line);
    if (!line.empty()) {
      EXPECT_EQ(line.back(), L'\r') << "CR LF line ends";
    }
  }
  const RegFileParse parsed = ParseRegFile(text);
  ASSERT_TRUE(parsed.ok) << Narrow(parsed.error);
  ASSERT_EQ(parsed.changes.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i >= 1 && i <= std::size(values) ? values[i - 1].what : "key or deletion");
    EXPECT_TRUE(parsed.changes[i] == expected[i]) << Narrow(parsed.changes[i].name);
  }
  // A file written on Windows by someone else: LF only, UTF-8, spaces around the wrapped bytes.
  const RegFileParse other = ParseRegFile(
      L"\uFEFFWindows Registry Editor Version 5.00\n\n[HKEY_USERS\\x]\n\"a\"=hex(2):41,00,\\\n   00,00\n@=dword:1\n");
  ASSERT_TRUE(other.ok) << Narrow(other.error);
  ASSERT_EQ(other.changes.size(), 3u);
  EXPECT_TRUE(other.changes[1].value == TextValue(RegType::ExpandSz, L"A"));
  EXPECT_TRUE(other.changes[2].value == Value(RegType::Dword, {1, 0, 0, 0}));
}

// An undo must not apply half a file it misread.
TEST(RegFileTest, ReaderRefusesWhatItDoesNotUnderstand) {
  const std::wstring header = std::wstring(kRegFileHeader) + L"\r\n";
  const struct {
    const char* what;
    std::wstring text;
  } rows[] = {
      {"no header", L"[HKEY_CURRENT_USER\\x]\r\n"},
      {"value before any key", header + L"\"a\"=\"b\"\r\n"},
      {"value in a deleted key", header + L"[-HKEY_CURRENT_USER\\x]\r\n\"a\"=\"b\"\r\n"},
      {"unknown root", header + L"[HKEY_NOWHERE\\x]\r\n"},
      {"short root name", header + L"[HKCU\\x]\r\n"},
      {"deleting a root", header + L"[-HKEY_CURRENT_USER]\r\n"},
      {"unterminated key", header + L"[HKEY_CURRENT_USER\\x\r\n"},
      {"unquoted name", header + L"[HKEY_CURRENT_USER\\x]\r\na=\"b\"\r\n"},
      {"unknown escape", header + L"[HKEY_CURRENT_USER\\x]\r\n\"a\\n\"=\"b\"\r\n"},
      {"unterminated text", header + L"[HKEY_CURRENT_USER\\x]\r\n\"a\"=\"b\r\n"},
      {"text after the value", header + L"[HKEY_CURRENT_USER\\x]\r\n\"a\"=\"b\" c\r\n"},
      {"bad dword", header + L"[HKEY_CURRENT_USER\\x]\r\n\"a\"=dword:123456789\r\n"},
      {"bad hex byte", header + L"[HKEY_CURRENT_USER\\x]\r\n\"a\"=hex:1,zz\r\n"},
      {"bad type", header + L"[HKEY_CURRENT_USER\\x]\r\n\"a\"=hex(q):00\r\n"},
      {"unknown data", header + L"[HKEY_CURRENT_USER\\x]\r\n\"a\"=qword:1\r\n"},
  };
  for (const auto& row : rows) {
    const RegFileParse parsed = ParseRegFile(row.text);
    EXPECT_FALSE(parsed.ok) << row.what;
    EXPECT_TRUE(parsed.changes.empty()) << row.what;
    EXPECT_TRUE(Contains(parsed.error, L"line ")) << row.what;
  }
}

// A repair may be exported more than once in a file: its labels must still be defined once.
TEST(ExportTest, BatchFileJumpsOnlyToItsOwnLabels) {
  for (WindowsVersion v : kSupportedVersions) {
    std::vector<int> ids;
    for (const Repair& r : Repairs())
      if (!r.disabledOn.Contains(v)) ids.push_back(r.id);
    ids.push_back(205);
    ids.push_back(101);
    for (bool registryOnly : {false, true}) {
      SCOPED_TRACE(Narrow(VersionName(v)) + (registryOnly ? ", registry only" : ""));
      const ExportResult batch = ExportRepairs(ExportFormat::Cmd, ids, v, ExportOptions{registryOnly});
      ASSERT_TRUE(batch.ok) << Narrow(batch.error);
      std::multiset<std::wstring> labels;
      std::set<std::wstring> targets;
      std::vector<std::wstring> lines = Split(batch.text, L'\n');
      ASSERT_TRUE(lines.back().empty());
      lines.pop_back();
      for (std::wstring line : lines) {
        ASSERT_FALSE(line.empty());
        EXPECT_EQ(line.back(), L'\r');
        line.pop_back();
        for (wchar_t c : line) ASSERT_TRUE(c >= 0x20 && c < 0x7F) << Narrow(line);
        if (!line.empty() && line[0] == L':') labels.insert(line.substr(1));
        const std::size_t go = line.find(L"goto ");
        if (go != std::wstring::npos) targets.insert(line.substr(go + 5));
        if (registryOnly && line.rfind(L"rem ", 0) != 0) {
          EXPECT_FALSE(Contains(line, L"cmd.exe") || Contains(line, L"Corrivo.com")) << Narrow(line);
        }
      }
      for (const std::wstring& label : labels) EXPECT_EQ(labels.count(label), 1u) << Narrow(label);
      for (const std::wstring& target : targets) EXPECT_EQ(labels.count(target), 1u) << Narrow(target);
      EXPECT_EQ(lines.back(), L"exit /b 1\r");
    }
  }
  const ExportResult wide = exporting::WriteBatchFile({EdgeWidePlan()}, WindowsVersion::Seven, {});
  EXPECT_FALSE(wide.ok);
  EXPECT_TRUE(Contains(wide.error, L"repair 9002: step 1 (")) << Narrow(wide.error);
  // Outside quotes, what would split or redirect the command reaches cmd.exe behind a caret.
  const ExportResult command =
      exporting::WriteBatchFile({{9005, L"", {corrivo::Run(L"/c echo (a) <i >o ^ | \"(q) <>\"")}}}, WindowsVersion::Seven, {});
  EXPECT_TRUE(Contains(command.text, L"cmd.exe\" /c echo ^(a^) ^<i ^>o ^^ ^| \"(q) <>\"\r\n")) << Narrow(command.text);
}

TEST(ExportTest, PlaybookConditionsReferToEarlierResults) {
  std::vector<exporting::RepairPlan> repairs = {EdgeRegistryPlan(), EdgeCommandPlan()};
  for (const Repair& r : Repairs())
    if (!Has(r.plan(RepairArgs{}), IsSpecial)) repairs.push_back({r.id, r.caption ? r.caption : L"", r.plan(RepairArgs{})});
  const ExportResult book = exporting::WritePlaybook(repairs, WindowsVersion::XP, {});
  ASSERT_TRUE(book.ok);
  std::set<std::wstring> registered;
  int conditions = 0;
  for (std::wstring line : Split(book.text, L'\n')) {
    line = Trim(line);
    EXPECT_FALSE(Contains(line, L"\r"));
    if (line.rfind(L"register: ", 0) == 0) {
      EXPECT_TRUE(registered.insert(line.substr(10)).second) << Narrow(line);
    }
    if (line.rfind(L"when: ", 0) == 0) {
      const std::wstring variable = line.substr(6, line.find(L' ', 6) - 6);
      EXPECT_TRUE(registered.count(variable)) << Narrow(line);
      ++conditions;
    }
  }
  EXPECT_EQ(conditions, 1) << "the edge plan's fallback after a registry step";
  // A fallback after a step the playbook leaves out always runs: 205's blank start page.
  const ExportResult homePage = ExportRepairs(ExportFormat::Ansible, {205}, WindowsVersion::Seven, ExportOptions{true});
  EXPECT_TRUE(Contains(homePage.text, L"data: 'about:blank'")) << Narrow(homePage.text);
}

}  // namespace
}  // namespace corrivo::testing

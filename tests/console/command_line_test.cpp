// The command line over a whole System in memory: the grammar and exit codes, then planted problems.
#include <gtest/gtest.h>

#include "catalog/catalog.h"
#include "catalog/reg_file.h"
#include "console/command_line.h"
#include "corrivo_version.h"
#include "sysaccess/text.h"
#include "tests/fakes/test_support.h"

namespace corrivo::testing {
namespace {

using console::CommandLineContext;
using console::RunCommandLine;
using console::StringSink;

enum class Machine { Linux, Admin7, User7, AdminXP, Server2008 };

const wchar_t* kTaskMgrPolicy = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

struct Outcome {
  int exit;
  std::wstring out, err;
};

// One machine with Task Manager disabled by policy: the problem repair 401 takes away.
struct Console {
  explicit Console(Machine m = Machine::Admin7) : machine(m) {
    if (m == Machine::AdminXP) box.os.SetVersion(5, 1, 1);
    if (m == Machine::Server2008) box.os.SetVersion(6, 0, 3);
    box.registry.PutDword(RegRoot::CurrentUser, kTaskMgrPolicy, L"DisableTaskMgr", 1);
  }
  Outcome Run(const std::vector<std::wstring>& args) {
    StringSink out, err;
    CommandLineContext context{accounts ? hived : box.system, machine != Machine::Linux, machine != Machine::User7,
                               out, err, journal, accounts ? &hive : nullptr, accounts ? &*accounts : nullptr};
    const int exit = RunCommandLine(args, context);
    return {exit, out.Text(), err.Text()};
  }
  bool TaskMgrDisabled() const { return box.registry.GetDword(RegRoot::CurrentUser, kTaskMgrPolicy, L"DisableTaskMgr").has_value(); }
  Machine machine;
  TestSystem box;
  const JournalPlace* journal = nullptr;
  std::optional<MemorySessionAccounts> accounts;  // given: the console chooses whose settings it repairs
  UserHiveRegistry hive{box.registry};
  System hived{hive, box.runner, box.files, box.os, box.shell, box.clock};
};

struct Row {
  std::vector<std::wstring> args;
  Machine machine;
  int exit;
  std::wstring out;  // a piece of standard output ("" when it does not matter)
  std::wstring err;  // a piece of the error stream
  bool repairs = false;  // the row may change the machine
};

const std::wstring kVersionLine = L"Corrivo " + Utf8ToWide(CORRIVO_VERSION) + L"\n";

const Row kRows[] = {
    {{}, Machine::Admin7, 2, L"", L"corrivo: no command given\n"},
    {{L"--help"}, Machine::Admin7, 0, L"fix --found", L""},
    {{L"fix", L"401", L"/?"}, Machine::Admin7, 0, L"Usage: corrivo", L""},
    {{L"--version"}, Machine::Linux, 0, kVersionLine, L""},
    {{L"--json", L"--version"}, Machine::Linux, 0, L"{\"type\":\"version\",\"version\":\"" CORRIVO_VERSION "\"}\n", L""},
    {{L"LIST"}, Machine::Linux, 0, L"\n401  Security row 1", L""},
    {{L"frob"}, Machine::Admin7, 2, L"", L"unknown command 'frob'"},
    {{L"list", L"--frob"}, Machine::Admin7, 2, L"", L"unknown option '--frob'"},
    {{L"list", L"101"}, Machine::Admin7, 2, L"", L"'list' takes no arguments, not '101'"},
    {{L"show", L"\x1b]0;x\x07"}, Machine::Linux, 2, L"", L"'?]0;x?' is not a repair ID"},
    {{L"show", L"101", L"102", L"--windows", L"xp"}, Machine::Linux, 2, L"", L"'show' takes one repair ID"},
    {{L"show", L"999", L"--windows", L"xp"}, Machine::Linux, 2, L"", L"no repair has the ID '999'"},
    {{L"show", L"+401", L"--windows", L"xp"}, Machine::Linux, 2, L"", L"'+401' is not a repair ID"},
    {{L"show", L"401", L"--windows"}, Machine::Linux, 2, L"", L"option '--windows' needs a value"},
    {{L"show", L"401", L"--windows", L"2000"}, Machine::Linux, 2, L"", L"unknown Windows version '2000'"},
    {{L"show", L"401", L"--windows", L"xp", L"--windows", L"7"}, Machine::Linux, 2, L"", L"'--windows' is given twice"},
    {{L"show", L"401", L"--windows", L"xp", L"--format", L"reg"}, Machine::Linux, 2, L"", L"'--format' does not apply to 'show'"},
    {{L"show", L"401"}, Machine::Linux, 3, L"", L"'show' needs --windows"},
    {{L"show", L"401"}, Machine::Server2008, 3, L"", L"(version 6.0, server) is not supported"},
    {{L"show", L"401"}, Machine::Admin7, 0, L"Repair 401 on Windows 7: Security row 1", L""},
    {{L"show", L"401", L"--windows", L"Windows XP"}, Machine::Linux, 0,
     L"delete value HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System [DisableTaskMgr]", L""},
    {{L"show", L"503", L"--windows", L"xp"}, Machine::Linux, 0, L"disabled on this version", L""},
    {{L"preview", L"401", L"--json"}, Machine::Admin7, 0, L"{\"type\":\"preview\",\"id\":401,\"windows\":\"7\",\"text\":", L""},
    {{L"scan", L"--windows", L"xp"}, Machine::Admin7, 2, L"", L"'--windows' does not apply to 'scan'"},
    {{L"scan"}, Machine::Linux, 3, L"", L"'scan' acts on the Windows it runs on"},
    {{L"scan"}, Machine::Server2008, 3, L"", L"is not supported"},
    {{L"fix", L"401"}, Machine::User7, 3, L"", L"needs administrator rights"},
    {{L"fix", L"401", L"503"}, Machine::AdminXP, 3, L"", L"repair 503 is disabled on Windows XP; nothing was changed"},
    {{L"fix"}, Machine::Admin7, 2, L"", L"'fix' needs repair IDs or --found"},
    {{L"fix", L"--found", L"401"}, Machine::Admin7, 2, L"", L"'fix --found' takes no repair IDs"},
    {{L"fix", L"401", L"401"}, Machine::Admin7, 0, L"401 Fixed!        Enable Task Manager\n1 fixed, 0 failed.", L"", true},
    {{L"fix", L"401"}, Machine::AdminXP, 0, L"Fixed!", L"", true},
    {{L"export", L"401", L"--windows", L"xp"}, Machine::Linux, 2, L"", L"'export' needs --format"},
    {{L"export", L"--format", L"zip", L"401"}, Machine::Linux, 2, L"", L"unknown export format 'zip'"},
    {{L"export", L"--format", L"reg", L"--windows", L"xp"}, Machine::Linux, 2, L"", L"'export' needs at least one repair ID"},
    {{L"export", L"--format", L"reg", L"401"}, Machine::Linux, 3, L"", L"'export' needs --windows"},
    {{L"export", L"--format", L"reg", L"--windows", L"Win8", L"401"}, Machine::Linux, 0, kRegFileHeader, L""},
    {{L"export", L"--format", L"reg", L"--windows", L"7", L"--output", L"C:\\x.reg", L"401", L"103"}, Machine::Linux,
     3, L"", L"cannot export as reg for Windows 7: repair 103 "},
    {{L"fix", L"401", L"--user", L"Anna"}, Machine::Admin7, 2, L"", L"unknown user 'Anna' (current or desktop)"},
    {{L"export", L"--format", L"reg", L"--windows", L"7", L"--user", L"current", L"401"}, Machine::Linux, 2, L"",
     L"'--user' does not apply to 'export'"},
    {{L"frob", L"--json"}, Machine::Linux, 2, L"", L"{\"type\":\"error\",\"exit\":2,\"message\":\"unknown command 'frob'\""},
    {{L"fix", L"401", L"--json"}, Machine::User7, 3, L"", L"{\"type\":\"error\",\"exit\":3,"},
    {{L"undo"}, Machine::Admin7, 2, L"", L"'undo' takes one journal entry, or 'last'"},
    {{L"journal", L"--prune", L"week"}, Machine::Admin7, 2, L"", L"'--prune' takes a number of days, not 'week'"},
    {{L"journal", L"--no-journal"}, Machine::Admin7, 2, L"", L"'--no-journal' does not apply to 'journal'"},
    {{L"undo", L"last"}, Machine::Admin7, 3, L"", L"there is no undo journal here; nothing was changed"},
    {{L"undo", L"last"}, Machine::User7, 3, L"", L"'undo' changes the system and needs administrator rights"},
};

TEST(CommandLineTest, GrammarAndExitCodes) {
  for (const Row& row : kRows) {
    std::wstring line;
    for (const auto& a : row.args) line += L" " + a;
    SCOPED_TRACE("corrivo" + Narrow(line) + " on machine " + std::to_string(static_cast<int>(row.machine)));
    Console c(row.machine);
    const std::wstring before = c.box.registry.Dump();
    const Outcome o = c.Run(row.args);
    EXPECT_EQ(o.exit, row.exit);
    EXPECT_NE(o.out.find(row.out), std::wstring::npos) << Narrow(o.out);
    EXPECT_NE(o.err.find(row.err), std::wstring::npos) << Narrow(o.err);
    if (row.exit >= 2) {
      // One line naming the fault; the usage follows only when the arguments were wrong.
      EXPECT_TRUE(o.out.empty()) << Narrow(o.out);
      EXPECT_EQ(o.err.find(L"Usage:") != std::wstring::npos, row.exit == 2);
      EXPECT_EQ(o.err.back(), L'\n');
      EXPECT_TRUE(row.exit != 3 || o.err.find(L'\n') == o.err.size() - 1) << "a refusal is one line";
    } else {
      EXPECT_TRUE(o.err.empty()) << Narrow(o.err);
    }
    if (!row.repairs) {
      EXPECT_EQ(c.box.registry.Dump(), before);
      EXPECT_TRUE(c.box.runner.Commands().empty());
      EXPECT_EQ(c.box.files.WriteCount(), 0);
    }
  }
}

TEST(CommandLineTest, ScanListsPlantedProblemsAndFixFoundRepairsThem) {
  Console c;
  c.box.registry.PutDword(RegRoot::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                          L"DisableRegistryTools", 1);
  Outcome scan = c.Run({L"scan"});
  EXPECT_EQ(scan.exit, 1);
  EXPECT_NE(scan.out.find(L"\n401 Enable Task Manager. When"), std::wstring::npos) << Narrow(scan.out);
  EXPECT_NE(scan.out.find(L"\n403 Enable Registry Editer."), std::wstring::npos);
  EXPECT_NE(scan.out.find(L"problems found. Repair them with: corrivo fix --found\n"), std::wstring::npos);

  Outcome fix = c.Run({L"fix", L"--found", L"--json"});
  EXPECT_NE(fix.out.find(L"{\"type\":\"result\",\"id\":401,\"fixed\":true,\"result\":\"Fixed!\"}\n"), std::wstring::npos)
      << Narrow(fix.out);
  EXPECT_FALSE(c.TaskMgrDisabled());
  EXPECT_EQ(c.box.shell.Requests(), std::vector<std::wstring>{L"associations changed"});

  scan = c.Run({L"scan", L"--json"});
  EXPECT_EQ(scan.out.find(L"\"id\":401,"), std::wstring::npos);
  EXPECT_EQ(scan.out.find(L"\"id\":403,"), std::wstring::npos);
  EXPECT_NE(scan.out.find(L"{\"type\":\"summary\",\"windows\":\"7\",\"problems\":"), std::wstring::npos);
}

TEST(CommandLineTest, AFailedRepairSaysSoAndExitsOne) {
  Console c;
  // The plan's last step decides: the machine-wide policy that cannot be deleted.
  c.box.registry.PutDword(RegRoot::LocalMachine, kTaskMgrPolicy, L"DisableTaskMgr", 1);
  c.box.registry.FailOperation(MemoryRegistry::Op::DeleteValue, regerr::kAccessDenied);
  const Outcome o = c.Run({L"fix", L"401"});
  EXPECT_EQ(o.exit, 1);
  EXPECT_NE(o.out.find(L"401 Fixed Failed! Enable Task Manager\n0 fixed, 1 failed.\n"), std::wstring::npos) << Narrow(o.out);
  EXPECT_TRUE(c.box.shell.Requests().empty());
}

std::int64_t FixedNow() { return 1700000000; }

TEST(CommandLineTest, FixKeepsAJournalThatUndoGivesBack) {
  Console c;
  JournalPlace place{L"C:\\Users\\u\\AppData\\Local\\Corrivo\\Journal", L"u", FixedNow};
  c.journal = &place;
  Outcome o = c.Run({L"fix", L"401"});
  EXPECT_EQ(o.exit, 0) << Narrow(o.err);
  EXPECT_FALSE(c.TaskMgrDisabled());
  o = c.Run({L"journal", L"--json"});
  EXPECT_NE(o.out.find(L"{\"type\":\"entry\",\"entry\":\"20231114-221320-01-401.reg\",\"repair\":\"401\""), std::wstring::npos)
      << Narrow(o.out);
  o = c.Run({L"undo", L"last"});
  EXPECT_EQ(o.exit, 0) << Narrow(o.err);
  EXPECT_NE(o.out.find(L"Undone: last (to take this back: corrivo undo 20231114-221320-02-undo.reg)"), std::wstring::npos)
      << Narrow(o.out);
  EXPECT_TRUE(c.TaskMgrDisabled());
  o = c.Run({L"undo", L"20231114-221320-09-401.reg"});
  EXPECT_EQ(o.exit, 1);
  EXPECT_NE(o.err.find(L"is not in C:\\Users"), std::wstring::npos) << Narrow(o.err);
  o = c.Run({L"journal", L"--prune", L"0"});
  EXPECT_NE(o.out.find(L"Removed 0 journal entries"), std::wstring::npos) << Narrow(o.out);

  // A journal that cannot be written: the repair does not run and the error says why.
  c.box.files.FailWrites(place.folder);
  place.folder += L"2";
  c.box.files.FailWrites(place.folder);
  o = c.Run({L"fix", L"401"});
  EXPECT_EQ(o.exit, 1);
  EXPECT_NE(o.err.find(L"repair 401: the undo journal cannot be written in " + place.folder), std::wstring::npos)
      << Narrow(o.err);
  EXPECT_TRUE(c.TaskMgrDisabled());
  o = c.Run({L"fix", L"401", L"--no-journal"});
  EXPECT_EQ(o.exit, 0) << Narrow(o.err);
  EXPECT_FALSE(c.TaskMgrDisabled());
}

TEST(CommandLineTest, ExportWritesTheWholeFileOrLeavesItAsItWas) {
  Console c(Machine::Linux);
  const std::wstring file = L"C:\\out\\fixes.reg";
  Outcome o = c.Run({L"export", L"--format", L"reg", L"--windows", L"xp", L"--output", file, L"401"});
  EXPECT_EQ(o.exit, 0) << Narrow(o.err);
  const std::string bytes = c.box.files.Get(file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_NE(DecodeRegFileBytes(bytes).find(L"\"DisableTaskMgr\"=-"), std::wstring::npos);

  c.box.files.FailWrites(file);
  o = c.Run({L"export", L"--format", L"cmd", L"--windows", L"xp", L"--output", file, L"401"});
  EXPECT_EQ(o.exit, 1);
  EXPECT_NE(o.err.find(L"cannot write 'C:\\out\\fixes.reg'; it was left as it was"), std::wstring::npos);
  EXPECT_EQ(c.box.files.Get(file), bytes);
}

// Anna at the desktop, the console elevated as Admin: both hives have Task Manager disabled.
TEST(CommandLineTest, FixSaysWhoseSettingsItRepairsAndRepairsThose) {
  const Account anna{L"S-1-5-21-7-1001", L"PC\\Anna"}, admin{L"S-1-5-21-7-500", L"PC\\Admin"};
  const std::wstring annaPolicy = anna.sid + L"\\" + kTaskMgrPolicy;
  struct Case {
    const char* what;
    std::vector<std::wstring> args;
    std::optional<Account> shell;
    bool annaLoaded;
    std::wstring says;  // "" for nothing on top of the results
    bool annaFixed, adminFixed;
    bool ownTokenUnreadable = false;
  };
  const Case cases[] = {
      {"same user", {L"fix", L"401"}, admin, true, L"", false, true},
      {"same user, SID in other letter case", {L"fix", L"401"}, Account{L"s-1-5-21-7-500", L"Admin"}, true, L"", false, true},
      {"Anna's hive", {L"fix", L"401"}, anna, true, L"Repairs apply to the desktop user PC\\Anna\n", true, false},
      {"--user current", {L"fix", L"401", L"--user", L"current"}, anna, true,
       L"Repairs apply to the user Corrivo runs as, PC\\Admin (--user current)\n", false, true},
      {"hive not loaded", {L"fix", L"401"}, anna, false, L"The settings of the desktop user PC\\Anna are not loaded", false, true},
      {"no shell", {L"fix", L"401"}, std::nullopt, true, L"No desktop user found", false, true},
      {"own token unreadable", {L"fix", L"401"}, anna, true, L"No desktop user found", false, true, true},
      {"json", {L"fix", L"401", L"--json"}, anna, true,
       L"{\"type\":\"user\",\"hive\":\"desktop\",\"name\":\"PC\\\\Anna\",\"sid\":\"S-1-5-21-7-1001\",", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Console console;
    if (c.annaLoaded) console.box.registry.PutDword(RegRoot::Users, annaPolicy, L"DisableTaskMgr", 1);
    console.accounts.emplace();
    console.accounts->shellOwner = c.shell;
    if (!c.ownTokenUnreadable) console.accounts->processOwner = admin;
    const Outcome o = console.Run(c.args);
    EXPECT_EQ(o.exit, 0) << Narrow(o.err);
    EXPECT_EQ(o.out.rfind(c.says.empty() ? L"401 Fixed!" : c.says, 0), 0u) << Narrow(o.out);
    if (c.annaLoaded) EXPECT_EQ(!console.box.registry.GetDword(RegRoot::Users, annaPolicy, L"DisableTaskMgr"), c.annaFixed);
    EXPECT_EQ(console.TaskMgrDisabled(), !c.adminFixed);
  }
  // show names the hive the steps act on.
  Console console;
  console.box.registry.PutKey(RegRoot::Users, anna.sid);
  console.accounts.emplace();
  console.accounts->shellOwner = anna;
  console.accounts->processOwner = admin;
  const Outcome o = console.Run({L"show", L"401"});
  EXPECT_EQ(o.exit, 0);
  EXPECT_NE(o.out.find(L"delete value HKEY_USERS\\" + annaPolicy + L" [DisableTaskMgr]"), std::wstring::npos) << Narrow(o.out);
}

}  // namespace
}  // namespace corrivo::testing

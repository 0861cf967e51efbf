// Which interpreters a command starts on 32- and 64-bit Windows, and the environment it gets:
// made of the system's answers, never of what a user could have put in its own environment.
#include <gtest/gtest.h>

#include "sysaccess/commands.h"

namespace corrivo {
namespace {

const std::wstring kWindows = L"C:\\Windows";
const std::wstring kSystem = L"C:\\Windows\\system32";

TEST(CommandInterpretersTest, NativeWorldFirstAndTheOwnWorldOnlyForRegistrations) {
  using I = std::vector<Interpreter>;
  const Interpreter own{L"C:\\Windows\\system32\\cmd.exe", false};
  const Interpreter sysnative{L"C:\\Windows\\Sysnative\\cmd.exe", false};
  const Interpreter redirected{L"C:\\Windows\\system32\\cmd.exe", true};
  struct Case {
    CommandWorld world;
    bool wow64, hasSysnative;
    I expected;
  } cases[] = {
      {CommandWorld::Native, false, false, I{own}},
      {CommandWorld::BothWorlds, false, false, I{own}},
      {CommandWorld::Native, true, true, I{sysnative}},
      {CommandWorld::BothWorlds, true, true, I{sysnative, own}},
      {CommandWorld::Native, true, false, I{redirected}},
      {CommandWorld::BothWorlds, true, false, I{redirected, own}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.wow64) + std::to_string(c.hasSysnative) + std::to_string(int(c.world)));
    EXPECT_EQ(CommandInterpreters(c.world, c.wow64, c.hasSysnative, kWindows, kSystem), c.expected);
  }
  EXPECT_EQ(CommandInterpreters(CommandWorld::Native, false, false, kWindows, L"C:\\Windows\\system32\\")[0].path,
            own.path);
  EXPECT_TRUE(CommandInterpreters(CommandWorld::Native, false, false, kWindows, L"").empty());
}

TEST(CommandEnvironmentTest, BuiltFromTheAnswersSortedAndWithoutValuesThatBreakQuotes) {
  EnvironmentAnswers a;
  a.windowsFolder = kWindows;
  a.systemFolder = kSystem;
  a.programFiles = L"C:\\Program Files";
  a.appData = L"C:\\Users\\Ann\\AppData\\Roaming";
  a.userName = L"Ann\" & del /q C:\\*";  // a planted name never reaches a command
  // Only the answers that were given, sorted by name whatever the letter case.
  EXPECT_EQ(CommandEnvironment(a), (std::vector<std::wstring>{
                                       L"APPDATA=C:\\Users\\Ann\\AppData\\Roaming",
                                       L"ComSpec=C:\\Windows\\system32\\cmd.exe",
                                       L"Path=C:\\Windows\\system32;C:\\Windows;C:\\Windows\\system32\\Wbem",
                                       L"PATHEXT=.COM;.EXE;.BAT;.CMD;.VBS;.JS;.WSF;.MSC",
                                       L"ProgramFiles=C:\\Program Files",
                                       L"SystemDrive=C:",
                                       L"SystemRoot=C:\\Windows",
                                       L"windir=C:\\Windows",
                                   }));
}

}  // namespace
}  // namespace corrivo

// Launching system commands: "cmd.exe" with a parameter string, hidden, with no input, in the
// system folder, with an environment made from the system's own answers. Each command runs to
// its end (or to a time limit) before the call returns, so the commands of one repair keep
// their order: a service is deleted before it is created again, stopped before its folder goes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corrivo {

// Which command interpreters run a command on 64-bit Windows. Repairs change the native
// system; component registrations go to both worlds, since 64-bit Windows 7 and 8 use both the
// 64-bit and the 32-bit Internet Explorer and Media Player.
enum class CommandWorld { Native, BothWorlds };

class CommandRunner {
 public:
  // How long one command may take before the program goes on without it.
  static constexpr std::uint32_t kCommandTimeoutMs = 60000;

  virtual ~CommandRunner() = default;
  // Runs "cmd.exe" with `parameters` exactly as given and waits for it to end; true when every
  // interpreter it needed started.
  virtual bool Run(const std::wstring& parameters, CommandWorld world = CommandWorld::Native) = 0;
};

// One interpreter to start: its full path, and whether file-system redirection must be off
// while it starts (64-bit Windows without a Sysnative folder, as XP x64 before its updates).
struct Interpreter {
  std::wstring path;
  bool redirectionOff = false;
  bool operator==(const Interpreter&) const = default;
};

// The interpreters for a command. `systemFolder` is what a 32-bit process is told (SysWOW64's
// twin on 64-bit Windows); empty folders give no interpreter at all, never a bare "cmd.exe".
std::vector<Interpreter> CommandInterpreters(CommandWorld world, bool wow64, bool hasSysnative,
                                             const std::wstring& windowsFolder, const std::wstring& systemFolder);

// The system's own answers the environment of a command is made from; none comes from the
// user's environment, which a standard user can change and which reaches an elevated program.
struct EnvironmentAnswers {
  std::wstring windowsFolder;       // SystemRoot, windir
  std::wstring systemFolder;        // the folder of the interpreter that runs
  std::wstring programFiles;        // native on 64-bit Windows
  std::wstring programFilesX86;     // empty on 32-bit Windows
  std::wstring commonProgramFiles;
  std::wstring programData;         // all users' application data
  std::wstring appData;
  std::wstring localAppData;
  std::wstring userProfile;
  std::wstring temp;
  std::wstring computerName;
  std::wstring userName;
};

// "NAME=value" entries, sorted by name without regard to letter case as Windows expects, with
// no entry for an empty answer and none whose value holds a character that could end a quoted
// command (" or a line break).
std::vector<std::wstring> CommandEnvironment(const EnvironmentAnswers& answers);

}  // namespace corrivo

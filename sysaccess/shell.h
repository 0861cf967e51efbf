// Launching system commands: "cmd.exe" opened with a parameter string, hidden, never waited for.
#pragma once

#include <string>

namespace corrivo {

class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  // Starts "cmd.exe" with `parameters` exactly as given; true when the interpreter started.
  virtual bool Run(const std::wstring& parameters) = 0;
};

CommandRunner& CurrentRunner();
CommandRunner& PlatformRunner();

class ScopedCommandRunner {
 public:
  explicit ScopedCommandRunner(CommandRunner& runner);
  ~ScopedCommandRunner();
  ScopedCommandRunner(const ScopedCommandRunner&) = delete;
  ScopedCommandRunner& operator=(const ScopedCommandRunner&) = delete;

 private:
  CommandRunner* previous_;
};

// The runner every repair and registration list uses.
bool RunShellCommand(const std::wstring& parameters);

}  // namespace corrivo

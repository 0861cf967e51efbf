// Launching system commands: "cmd.exe" opened with a parameter string, hidden.
#pragma once

#include <string>

namespace corrivo {

class CommandRunner {
 public:
  virtual ~CommandRunner() = default;
  // Starts "cmd.exe" with `parameters` exactly as given; true when the interpreter started.
  virtual bool Run(const std::wstring& parameters) = 0;
};

}  // namespace corrivo

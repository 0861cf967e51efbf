// A command runner that launches nothing and keeps every parameter string in order.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "sysaccess/commands.h"

namespace corrivo {

class RecordingRunner : public CommandRunner {
 public:
  bool Run(const std::wstring& parameters, CommandWorld world = CommandWorld::Native) override;
  // The worlds each command was run in, in order.
  std::vector<CommandWorld> Worlds() const;

  std::vector<std::wstring> Commands() const;
  void Clear();
  // The answer every later launch gives (true: the interpreter "started").
  void SetResult(bool result);
  // Fails only the launch whose parameters equal `parameters`.
  void FailCommand(const std::wstring& parameters);

 private:
  mutable std::mutex mutex_;
  std::vector<std::wstring> commands_;
  std::vector<CommandWorld> worlds_;
  std::vector<std::wstring> failing_;
  bool result_ = true;
};

}  // namespace corrivo

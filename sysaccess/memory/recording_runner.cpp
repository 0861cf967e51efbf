#include "sysaccess/memory/recording_runner.h"

#include <algorithm>

namespace corrivo {

bool RecordingRunner::Run(const std::wstring& parameters, CommandWorld world) {
  std::lock_guard<std::mutex> lock(mutex_);
  commands_.push_back(parameters);
  worlds_.push_back(world);
  if (std::find(failing_.begin(), failing_.end(), parameters) != failing_.end()) return false;
  return result_;
}

std::vector<std::wstring> RecordingRunner::Commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::vector<CommandWorld> RecordingRunner::Worlds() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return worlds_;
}

void RecordingRunner::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  commands_.clear();
  worlds_.clear();
}

void RecordingRunner::SetResult(bool result) {
  std::lock_guard<std::mutex> lock(mutex_);
  result_ = result;
}

void RecordingRunner::FailCommand(const std::wstring& parameters) {
  std::lock_guard<std::mutex> lock(mutex_);
  failing_.push_back(parameters);
}

}  // namespace corrivo

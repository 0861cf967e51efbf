// Shared test fixtures: a fresh in-memory registry, a recording runner and a virtual clock,
// each in place for the life of the fixture.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sysaccess/memory/memory_registry.h"
#include "sysaccess/memory/recording_runner.h"
#include "sysaccess/memory/virtual_clock.h"

namespace corrivo::testing {

class MemorySystemTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  RecordingRunner runner;
  VirtualClock clock;

 private:
  ScopedRegistryBackend scopedRegistry_{registry};
  ScopedCommandRunner scopedRunner_{runner};
  ScopedClock scopedClock_{clock};
};

// Narrow text for gtest messages.
std::string Narrow(const std::wstring& text);

// A folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::wstring& path() const { return path_; }  // ends without a separator
 private:
  std::wstring path_;
};

}  // namespace corrivo::testing

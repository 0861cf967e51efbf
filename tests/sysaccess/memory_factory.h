#pragma once

#include "sysaccess/memory/memory_registry.h"
#include "tests/fakes/test_support.h"
#include "tests/sysaccess/registry_suite.h"

namespace corrivo::testing {

class MemoryUnderTest : public RegistryUnderTest {
 public:
  RegistryBackend& backend() override { return registry; }
  std::wstring base() const override { return L"\\Software\\CorrivoTest"; }
  MemoryRegistry registry;
};

struct MemoryFactory {
  static std::unique_ptr<RegistryUnderTest> Make() { return std::make_unique<MemoryUnderTest>(); }
};

}  // namespace corrivo::testing

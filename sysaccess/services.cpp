// The replaceable services: the registry, the command runner and the clock. Each starts as the
// platform's own and can be swapped for the life of a scoped object (tests do this).
#include <atomic>

#include "sysaccess/clock.h"
#include "sysaccess/platform.h"
#include "sysaccess/registry_backend.h"
#include "sysaccess/shell.h"

namespace corrivo {
namespace {
std::atomic<RegistryBackend*> g_registry{nullptr};
std::atomic<CommandRunner*> g_runner{nullptr};
std::atomic<Clock*> g_clock{nullptr};
std::atomic<ProcessControl*> g_process{nullptr};
}  // namespace

RegistryBackend& CurrentRegistry() {
  RegistryBackend* r = g_registry.load(std::memory_order_acquire);
  return r ? *r : PlatformRegistry();
}

ScopedRegistryBackend::ScopedRegistryBackend(RegistryBackend& backend)
    : previous_(g_registry.exchange(&backend, std::memory_order_acq_rel)) {}
ScopedRegistryBackend::~ScopedRegistryBackend() { g_registry.store(previous_, std::memory_order_release); }

RegKey& RegKey::operator=(RegKey&& other) noexcept {
  if (this != &other) {
    Close();
    backend_ = other.backend_;
    handle_ = other.handle_;
    other.backend_ = nullptr;
  }
  return *this;
}

void RegKey::Close() {
  if (backend_) backend_->CloseKey(handle_);
  backend_ = nullptr;
  handle_ = 0;
}

CommandRunner& CurrentRunner() {
  CommandRunner* r = g_runner.load(std::memory_order_acquire);
  return r ? *r : PlatformRunner();
}

ScopedCommandRunner::ScopedCommandRunner(CommandRunner& runner)
    : previous_(g_runner.exchange(&runner, std::memory_order_acq_rel)) {}
ScopedCommandRunner::~ScopedCommandRunner() { g_runner.store(previous_, std::memory_order_release); }

bool RunShellCommand(const std::wstring& parameters) { return CurrentRunner().Run(parameters); }

Clock& CurrentClock() {
  Clock* c = g_clock.load(std::memory_order_acquire);
  return c ? *c : SystemClock();
}

ScopedClock::ScopedClock(Clock& clock) : previous_(g_clock.exchange(&clock, std::memory_order_acq_rel)) {}
ScopedClock::~ScopedClock() { g_clock.store(previous_, std::memory_order_release); }

void SleepMs(std::uint32_t ms) { CurrentClock().SleepMs(ms); }

ProcessControl& CurrentProcessControl() {
  ProcessControl* p = g_process.load(std::memory_order_acquire);
  return p ? *p : PlatformProcessControl();
}

ScopedProcessControl::ScopedProcessControl(ProcessControl& control)
    : previous_(g_process.exchange(&control, std::memory_order_acq_rel)) {}
ScopedProcessControl::~ScopedProcessControl() { g_process.store(previous_, std::memory_order_release); }

bool KillProcessByName(const std::wstring& exeName) { return CurrentProcessControl().KillByName(exeName); }

}  // namespace corrivo

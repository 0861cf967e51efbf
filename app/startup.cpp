#include "app/startup.h"

namespace corrivo {

void SetDpiAware(StartServices& services) {
  if (services.MajorVersion() < 6) return;
  if (services.MarkDpiAware()) services.SetApplicationIcon();
}

void HandOverToRunningCopy(StartServices& services) {
  const std::uintptr_t window = services.FindRunningCopy();
  if (!window) return;
  if (services.IsMinimised(window)) services.Restore(window);
  services.BringToForeground(window);
  services.HandOverTo(window);
}

int RunProgram(StartServices& services) {
  SetDpiAware(services);
  if (services.AnotherCopyIsRunning()) {
    // This copy leaves quietly: the user sees the window already open.
    HandOverToRunningCopy(services);
    return 0;
  }
  return services.RunFirstInstance();
}

}  // namespace corrivo

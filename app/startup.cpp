#include "app/startup.h"

namespace corrivo {

void SetDpiAware(StartServices& services) {
  if (services.MajorVersion() < 6) return;
  if (services.MarkDpiAware()) services.SetApplicationIcon();
}

int RunProgram(StartServices& services) {
  SetDpiAware(services);
  if (services.CreateInstanceMutex() == kErrorAlreadyExists) {
    // A second start: the first instance comes to the front and this one leaves quietly.
    if (std::uintptr_t window = services.FindMainWindow()) {
      if (services.IsMinimised(window)) services.PostRestore(window);
      services.BringToForeground(window);
      services.SendActivate(window);
    }
    return 0;
  }
  return services.RunFirstInstance();
}

}  // namespace corrivo

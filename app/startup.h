// The program's entry sequence over the few system services it needs, so that its order and
// its single-instance hand-over can be followed without a real desktop. The services are asked
// for effects by name; app/win32 maps each to the system's calls, messages and error codes.
#pragma once

#include <cstdint>

namespace corrivo {

class StartServices {
 public:
  virtual ~StartServices() = default;
  virtual unsigned MajorVersion() = 0;
  // Tells the system this program scales itself; false when the system has no such call.
  virtual bool MarkDpiAware() = 0;
  virtual void SetApplicationIcon() = 0;
  // Takes the program's single-instance mark; true when another copy holds it already.
  virtual bool AnotherCopyIsRunning() = 0;
  // The running copy's main window, 0 when it has none (still starting, or already ending).
  virtual std::uintptr_t FindRunningCopy() = 0;
  virtual bool IsMinimised(std::uintptr_t window) = 0;
  virtual void Restore(std::uintptr_t window) = 0;
  virtual void BringToForeground(std::uintptr_t window) = 0;
  // Asks the running copy to show itself and waits for its answer, but never for long: a
  // copy that hangs must not hang this one too.
  virtual void HandOverTo(std::uintptr_t window) = 0;
  // Creates the main window and runs the message loop; answers the exit code.
  virtual int RunFirstInstance() = 0;
};

// The display-scaling step: only from major version 6 on, and the icon only when the call exists.
void SetDpiAware(StartServices& services);
// A second start: the running copy comes to the front, restored first when minimised.
void HandOverToRunningCopy(StartServices& services);
// The whole entry sequence; answers the process exit code.
int RunProgram(StartServices& services);

}  // namespace corrivo

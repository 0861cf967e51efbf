#include "sysaccess/thread.h"
#include "sysaccess/win32/win32_api.h"

namespace corrivo {
namespace {

// CreateThread rather than std::thread: the XP build's thread model has none.
class Win32Thread : public WorkerThread {
 public:
  explicit Win32Thread(std::function<void()> body) : body_(new std::function<void()>(std::move(body))) {
    DWORD id = 0;
    handle_.reset(CreateThread(nullptr, 0, &Win32Thread::Start, body_, CREATE_SUSPENDED, &id));
    if (!handle_) {
      delete body_;
      body_ = nullptr;
    }
  }
  // Never waits: the process may end with the body still running, as closing the window does.
  ~Win32Thread() override = default;

  void Resume() override {
    if (handle_ && !resumed_) {
      resumed_ = true;
      ResumeThread(handle_.get());
    }
  }
  void Join() override {
    Resume();
    if (handle_) WaitForSingleObject(handle_.get(), INFINITE);
  }
  bool JoinFor(std::uint32_t ms) override {
    if (!handle_ || !resumed_) return true;
    return WaitForSingleObject(handle_.get(), ms) == WAIT_OBJECT_0;
  }

 private:
  static DWORD WINAPI Start(LPVOID parameter) {
    auto* body = static_cast<std::function<void()>*>(parameter);
    // Unwinding cannot leave a thread procedure; a body that throws just ends the thread.
    try {
      (*body)();
    } catch (...) {
    }
    delete body;
    return 0;
  }

  std::function<void()>* body_;  // owned by the thread once it runs
  win32::UniqueHandle handle_;
  bool resumed_ = false;
};

}  // namespace

std::unique_ptr<WorkerThread> WorkerThread::CreateSuspended(std::function<void()> body) {
  return std::make_unique<Win32Thread>(std::move(body));
}

}  // namespace corrivo

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sysaccess/thread.h"

namespace corrivo {
namespace {

class HostThread : public WorkerThread {
 public:
  explicit HostThread(std::function<void()> body) : gate_(std::make_shared<Gate>()) {
    // The thread keeps its own share of the gate and its own body, so that it can outlive
    // this object (destroying it never waits for a running body).
    thread_ = std::thread([gate = gate_, body = std::move(body)] {
      {
        std::unique_lock<std::mutex> lock(gate->mutex);
        gate->cv.wait(lock, [&] { return gate->open; });
      }
      try {
        body();
      } catch (...) {
      }
      std::lock_guard<std::mutex> lock(gate->mutex);
      gate->done = true;
      gate->cv.notify_all();
    });
  }
  ~HostThread() override {
    Resume();
    if (thread_.joinable()) thread_.detach();
  }
  void Resume() override {
    std::lock_guard<std::mutex> lock(gate_->mutex);
    gate_->open = true;
    gate_->cv.notify_all();
  }
  void Join() override {
    Resume();
    if (thread_.joinable()) thread_.join();
  }
  bool JoinFor(std::uint32_t ms) override {
    std::unique_lock<std::mutex> lock(gate_->mutex);
    if (!gate_->open) return true;
    return gate_->cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return gate_->done; });
  }

 private:
  struct Gate {
    std::mutex mutex;
    std::condition_variable cv;
    bool open = false;
    bool done = false;
  };
  std::shared_ptr<Gate> gate_;
  std::thread thread_;
};

}  // namespace

std::unique_ptr<WorkerThread> WorkerThread::CreateSuspended(std::function<void()> body) {
  return std::make_unique<HostThread>(std::move(body));
}

}  // namespace corrivo

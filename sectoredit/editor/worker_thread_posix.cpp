#include <chrono>
#include <system_error>
#include <thread>

#include "sectoredit/editor/worker_thread.h"

namespace sectoredit {

struct WorkerThread::Thread {
  std::thread thread;
};

WorkerThread::WorkerThread() = default;

WorkerThread::~WorkerThread() { Join(); }

bool WorkerThread::Start(std::function<void()> work) {
  try {
    thread_ = std::make_unique<Thread>(Thread{std::thread(std::move(work))});
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void WorkerThread::Join() {
  if (!thread_) return;
  thread_->thread.join();
  thread_.reset();
}

void PauseThread(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace sectoredit

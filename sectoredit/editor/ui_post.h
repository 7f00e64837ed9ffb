// Hands work from a worker thread to the user-interface thread, so that only
// the user-interface thread touches the editor state and its controls. The
// window posts a message; tests and the command line pump a TaskQueue.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace sectoredit {

class UiPost {
 public:
  virtual ~UiPost() = default;
  // Safe to call from any thread; `task` later runs on the user-interface
  // thread. False when the queue refused it (a window's queue can be full):
  // the task then never runs.
  virtual bool Post(std::function<void()> task) = 0;
};

class TaskQueue : public UiPost {
 public:
  bool Post(std::function<void()> task) override;
  // Runs the tasks posted so far on the calling thread; returns how many ran.
  size_t Pump();
  // Waits up to `timeout` for a task, then pumps; returns how many ran.
  size_t WaitAndPump(std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace sectoredit

// The user-interface side of the search in tests: tasks posted by the worker
// thread run when the test pumps them. A spin lock guards the queue, since the
// Windows builds' runtime has no std::mutex; it is held for a moment only.
#pragma once

#include <atomic>
#include <deque>
#include <functional>

#include "sectoredit/editor/ui_post.h"
#include "sectoredit/editor/worker_thread.h"

namespace sectoredit::testing {

class TaskQueue : public UiPost {
 public:
  bool Post(std::function<void()> task) override {
    Lock();
    tasks_.push_back(std::move(task));
    locked_.clear(std::memory_order_release);
    return true;
  }

  // Runs the tasks posted so far on the calling thread; returns how many ran.
  size_t Pump() {
    Lock();
    std::deque<std::function<void()>> ready;
    ready.swap(tasks_);
    locked_.clear(std::memory_order_release);
    for (auto& task : ready) task();  // outside the lock: a task may post again
    return ready.size();
  }

  // Waits up to about `milliseconds` for a task, then pumps; returns how many ran.
  size_t WaitAndPump(unsigned milliseconds) {
    for (unsigned waited = 0; waited < milliseconds; ++waited) {
      if (const size_t ran = Pump()) return ran;
      PauseThread(1);
    }
    return Pump();
  }

 private:
  void Lock() {
    while (locked_.test_and_set(std::memory_order_acquire)) PauseThread(0);
  }

  std::atomic_flag locked_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace sectoredit::testing

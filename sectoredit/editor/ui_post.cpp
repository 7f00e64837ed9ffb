#include "sectoredit/editor/ui_post.h"

namespace sectoredit {

bool TaskQueue::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_one();
  return true;
}

size_t TaskQueue::Pump() {
  std::deque<std::function<void()>> ready;
  {
    std::lock_guard lock(mutex_);
    ready.swap(tasks_);
  }
  // Run outside the lock: a task may post again.
  for (auto& task : ready) task();
  return ready.size();
}

size_t TaskQueue::WaitAndPump(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, timeout, [this] { return !tasks_.empty(); });
  }
  return Pump();
}

}  // namespace sectoredit

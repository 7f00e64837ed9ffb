// GoogleTest's Notification for the Windows builds, whose runtime (the win32
// thread model) has no std::mutex or std::condition_variable for GoogleTest's
// own one. Only GoogleTest's thread helpers wait on it, and only briefly.
#pragma once

#include <atomic>

namespace testing::internal {

class Notification {
 public:
  void Notify() { notified_.store(true); }
  void WaitForNotification() {
    while (!notified_.load()) {
    }
  }

 private:
  std::atomic<bool> notified_{false};
};

}  // namespace testing::internal

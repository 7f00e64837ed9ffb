// Hands work from a worker thread to the user-interface thread, so that only
// the user-interface thread touches the editor state and its controls. The
// window posts a message; tests pump a queue of their own.
#pragma once

#include <functional>

namespace sectoredit {

class UiPost {
 public:
  virtual ~UiPost() = default;
  // Safe to call from any thread; `task` later runs on the user-interface
  // thread. False when the queue refused it (a window's queue can be full):
  // the task then never runs.
  virtual bool Post(std::function<void()> task) = 0;
};

}  // namespace sectoredit

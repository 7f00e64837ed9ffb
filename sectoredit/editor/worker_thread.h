// One worker thread beside the user-interface thread: CreateThread on
// Windows, so the Windows programs need no C++ thread support from their
// runtime; std::thread elsewhere.
#pragma once

#include <functional>
#include <memory>

namespace sectoredit {

class WorkerThread {
 public:
  WorkerThread();
  ~WorkerThread();  // waits for a thread still running
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Runs `work` on a new thread; false when no thread could be created.
  bool Start(std::function<void()> work);
  // True from Start until Join, also after `work` has returned.
  bool joinable() const { return thread_ != nullptr; }
  // Waits for `work` to return.
  void Join();

 private:
  struct Thread;
  std::unique_ptr<Thread> thread_;
};

// Suspends the calling thread for about `milliseconds`.
void PauseThread(unsigned milliseconds);

}  // namespace sectoredit

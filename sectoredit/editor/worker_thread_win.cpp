#include <windows.h>

#include "sectoredit/editor/worker_thread.h"

namespace sectoredit {

struct WorkerThread::Thread {
  std::function<void()> work;
  HANDLE handle = nullptr;
};

namespace {

DWORD WINAPI RunWork(LPVOID thread) {
  static_cast<std::function<void()>*>(thread)->operator()();
  return 0;
}

}  // namespace

WorkerThread::WorkerThread() = default;

WorkerThread::~WorkerThread() { Join(); }

bool WorkerThread::Start(std::function<void()> work) {
  auto thread = std::make_unique<Thread>(Thread{std::move(work)});
  DWORD id = 0;  // Windows 95/98/Me refuse to create a thread without it
  thread->handle = CreateThread(nullptr, 0, RunWork, &thread->work, 0, &id);
  if (!thread->handle) return false;
  thread_ = std::move(thread);
  return true;
}

void WorkerThread::Join() {
  if (!thread_) return;
  WaitForSingleObject(thread_->handle, INFINITE);
  CloseHandle(thread_->handle);
  thread_.reset();
}

void PauseThread(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace sectoredit

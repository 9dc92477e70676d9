#include "server/worker_pool.h"

namespace server {

namespace {

thread_local bool isShedder = false;

}  // namespace

WorkerPool::WorkerPool(WorkerPoolSize size) {
  main_.capacity = size.queued;
  shed_.capacity = size.shedQueued;
  for (size_t i = 0; i < size.workers; ++i)
    threads_.emplace_back([this] { serve(main_, false); });
  for (size_t i = 0; i < size.shedders; ++i)
    threads_.emplace_back([this] { serve(shed_, true); });
}

WorkerPool::~WorkerPool() {
  shutdown();
}

bool WorkerPool::shedding() {
  return isShedder;
}

void WorkerPool::enqueue(std::function<void()> task) {
  std::unique_lock lock(mutex_);
  room_.wait(lock, [this] { return stopping_ || !main_.full() || !shed_.full(); });
  if (stopping_)
    return;
  (main_.full() ? shed_ : main_).tasks.push_back(std::move(task));
  work_.notify_all();
}

void WorkerPool::shutdown() {
  {
    std::lock_guard lock(mutex_);
    if (stopping_ && threads_.empty())
      return;
    stopping_ = true;
  }
  work_.notify_all();
  room_.notify_all();
  for (auto& thread : threads_)
    thread.join();
  threads_.clear();
}

void WorkerPool::serve(Lane& lane, bool shedder) {
  isShedder = shedder;
  for (;;) {
    std::function<void()> task;
    {
      std::unique_lock lock(mutex_);
      work_.wait(lock, [&] { return stopping_ || !lane.tasks.empty(); });
      if (lane.tasks.empty())
        return;
      task = std::move(lane.tasks.front());
      lane.tasks.pop_front();
    }
    room_.notify_one();
    task();
  }
}

}  // namespace server

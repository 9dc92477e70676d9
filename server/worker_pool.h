// The HTTP server's workers: a fixed number of threads serving connections from a bounded
// queue, so that neither threads nor waiting connections grow without limit.
//
// When the queue is full, a connection goes to a few shedding threads instead, which answer its
// request at once with "servidor ocupado" (503) and close it: an overloaded server says so
// rather than keeping the caller waiting. When their queue is full too, accepting new
// connections waits (they stay in the system's backlog) until a place frees.
#pragma once

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace server {

struct WorkerPoolSize {
  size_t workers = 64;
  size_t queued = 128;
  size_t shedders = 4;
  size_t shedQueued = 512;
};

class WorkerPool : public httplib::TaskQueue {
 public:
  explicit WorkerPool(WorkerPoolSize size);
  ~WorkerPool() override;

  void enqueue(std::function<void()> task) override;
  void shutdown() override;

  // True on a shedding thread: its requests are to be answered "busy".
  static bool shedding();

 private:
  struct Lane {
    std::deque<std::function<void()>> tasks;
    size_t capacity = 0;
    bool full() const { return tasks.size() >= capacity; }
  };
  void serve(Lane& lane, bool shedder);

  std::mutex mutex_;
  std::condition_variable work_;
  std::condition_variable room_;
  Lane main_;
  Lane shed_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace server

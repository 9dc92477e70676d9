#include "server/connection_pool.h"

#include <algorithm>
#include <utility>

#include "server/database_setup.h"

namespace server {

ConnectionPool::Lease::Lease(ConnectionPool& pool, Database& db, bool writer, Deadline deadline)
    : pool_(&pool), db_(&db), writer_(writer) {
  db_->setDeadline(deadline);
}

ConnectionPool::Lease::Lease(Lease&& other) noexcept
    : pool_(std::exchange(other.pool_, nullptr)), db_(other.db_), writer_(other.writer_) {
}

ConnectionPool::Lease::~Lease() {
  if (pool_ == nullptr)
    return;
  db_->setDeadline(std::nullopt);
  pool_->giveBack(*db_, writer_);
}

ConnectionPool::ConnectionPool(const std::string& name, int readers, int writers) {
  auto first = std::make_unique<Database>(name);
  prepareForServing(*first);
  engine_ = first->engine();
  writers_.idle.push_back(first.get());
  writers_.all.push_back(std::move(first));
  const int writing = engine_ == storage::Engine::Sqlite ? 1 : std::max(writers, 1);
  for (int i = 1; i < writing; ++i) {
    writers_.all.push_back(std::make_unique<Database>(name));
    writers_.idle.push_back(writers_.all.back().get());
  }
  for (int i = 0; i < std::max(readers, 1); ++i) {
    readers_.all.push_back(
        std::make_unique<Database>(name, storage::OpenOptions{.readOnly = true}));
    readers_.idle.push_back(readers_.all.back().get());
  }
}

ConnectionPool::~ConnectionPool() = default;

std::optional<ConnectionPool::Lease> ConnectionPool::take(Group& group, bool writer,
                                                          Deadline deadline, bool wait) {
  std::unique_lock lock(group.mutex);
  if (wait) {
    if (!group.freed.wait_until(lock, deadline, [&] { return !group.idle.empty(); }))
      return std::nullopt;
  } else if (group.idle.empty()) {
    return std::nullopt;
  }
  Database* db = group.idle.back();
  group.idle.pop_back();
  lock.unlock();
  return Lease(*this, *db, writer, deadline);
}

std::optional<ConnectionPool::Lease> ConnectionPool::writer(Deadline deadline) {
  return take(writers_, true, deadline, true);
}

std::optional<ConnectionPool::Lease> ConnectionPool::writerIfFree(Deadline deadline) {
  return take(writers_, true, deadline, false);
}

std::optional<ConnectionPool::Lease> ConnectionPool::reader(Deadline deadline) {
  return take(readers_, false, deadline, true);
}

void ConnectionPool::giveBack(Database& db, bool writer) {
  Group& group = writer ? writers_ : readers_;
  {
    std::lock_guard lock(group.mutex);
    group.idle.push_back(&db);
  }
  group.freed.notify_one();
}

}  // namespace server

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

ConnectionPool::ConnectionPool(const std::string& path, int readers)
    : writer_(std::make_unique<Database>(path, false)) {
  prepareForServing(*writer_);
  for (int i = 0; i < std::max(readers, 1); ++i) {
    auto reader = std::make_unique<Database>(path, storage::OpenOptions{.readOnly = true});
    idle_.push_back(reader.get());
    readers_.push_back(std::move(reader));
  }
}

ConnectionPool::~ConnectionPool() = default;

std::optional<ConnectionPool::Lease> ConnectionPool::writer(Deadline deadline) {
  if (!writerMutex_.try_lock_until(deadline))
    return std::nullopt;
  return Lease(*this, *writer_, true, deadline);
}

std::optional<ConnectionPool::Lease> ConnectionPool::writerIfFree(Deadline deadline) {
  if (!writerMutex_.try_lock())
    return std::nullopt;
  return Lease(*this, *writer_, true, deadline);
}

std::optional<ConnectionPool::Lease> ConnectionPool::reader(Deadline deadline) {
  std::unique_lock lock(readersMutex_);
  if (!readerFreed_.wait_until(lock, deadline, [this] { return !idle_.empty(); }))
    return std::nullopt;
  Database* db = idle_.back();
  idle_.pop_back();
  return Lease(*this, *db, false, deadline);
}

void ConnectionPool::giveBack(Database& db, bool writer) {
  if (writer) {
    writerMutex_.unlock();
    return;
  }
  {
    std::lock_guard lock(readersMutex_);
    idle_.push_back(&db);
  }
  readerFreed_.notify_one();
}

}  // namespace server

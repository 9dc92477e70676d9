// The connections of one server to its database: one that writes, held by one call at a time,
// and a few that only read, so that reads go on while a write runs (the WAL journal gives each
// read a consistent picture of the last committed data).
//
// A call leases a connection until its deadline: the lease sets the deadline on the connection
// (a statement still running then stops, and the write rolls back) and hands the connection
// back when it ends. A connection that cannot be had before the deadline is not leased: the
// server is busy. Thread-safe.
#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "server/storage.h"

namespace server {

using Deadline = std::chrono::steady_clock::time_point;

class ConnectionPool {
 public:
  // Opens the writing connection, brings the schema up to date through it (prepareForServing),
  // then opens `readers` reading connections. Throws SetupError or DbError.
  ConnectionPool(const std::string& path, int readers);
  ~ConnectionPool();
  ConnectionPool(const ConnectionPool&) = delete;
  ConnectionPool& operator=(const ConnectionPool&) = delete;

  class Lease {
   public:
    Lease(Lease&& other) noexcept;
    Lease& operator=(Lease&&) = delete;
    Lease(const Lease&) = delete;
    ~Lease();
    Database& db() { return *db_; }

   private:
    friend class ConnectionPool;
    Lease(ConnectionPool& pool, Database& db, bool writer, Deadline deadline);

    ConnectionPool* pool_;
    Database* db_;
    bool writer_;
  };

  // Waits until the deadline at most.
  std::optional<Lease> writer(Deadline deadline);
  std::optional<Lease> reader(Deadline deadline);
  // The writing connection only when no call holds it now.
  std::optional<Lease> writerIfFree(Deadline deadline);

 private:
  void giveBack(Database& db, bool writer);

  std::timed_mutex writerMutex_;
  std::unique_ptr<Database> writer_;
  std::mutex readersMutex_;
  std::condition_variable readerFreed_;
  std::vector<std::unique_ptr<Database>> readers_;
  std::vector<Database*> idle_;
};

}  // namespace server

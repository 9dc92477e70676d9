// The connections of one server to its database: those that write, each held by one call at a
// time, and a few that only read, so that reads go on while a write runs (SQLite's WAL journal,
// and PostgreSQL itself, give each read a consistent picture of the last committed data). An
// SQLite file takes one writing connection (its writes queue for the file anyway); a
// PostgreSQL database as many as asked, its writes running side by side.
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
  // Opens a writing connection, checks the schema through it (prepareForServing), then opens
  // the other writing connections and `readers` reading ones. Throws SetupError or DbError.
  ConnectionPool(const std::string& name, int readers, int writers = 1);
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
  // A writing connection only when one is free now.
  std::optional<Lease> writerIfFree(Deadline deadline);

  storage::Engine engine() const { return engine_; }

 private:
  // Connections of one kind and those of them no call holds.
  struct Group {
    std::mutex mutex;
    std::condition_variable freed;
    std::vector<std::unique_ptr<Database>> all;
    std::vector<Database*> idle;
  };

  std::optional<Lease> take(Group& group, bool writer, Deadline deadline, bool wait);
  void giveBack(Database& db, bool writer);

  storage::Engine engine_;
  Group writers_;
  Group readers_;
};

}  // namespace server

// Bodies of calls too large for one request, staged piece by piece before the call runs.
//
// A client tier sends such a body in numbered pieces (0, 1, 2, ...), each an ordinary request of
// its signed-in session, then one final request that names the staged body and the number of
// its pieces: the call then runs once, in one transaction, so it is saved whole or not at all.
// A staged body belongs to the session that staged it (keyed by the session's token and an id
// the client chooses) and lives in an unnamed temporary file of the owner's only (created 0600
// and unlinked at once, so nothing outlives the process). It is discarded when its call takes
// it, when a piece is refused, when its session signs out, when the session stages a third
// body (the least recently used one goes) and when no piece has come for the idle time. The
// bytes held by every staged body together never exceed the total cap. Thread-safe.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace server {

struct StagedBodyLimits {
  // Bytes held by all staged bodies of the server together.
  size_t totalBytes = size_t{1} << 30;
  size_t perSession = 2;
  std::chrono::milliseconds idle = std::chrono::minutes(5);
  // Where the temporary files go; empty: the system's temporary directory.
  std::string directory;
};

// A piece or a final call refused; nothing of the staged body is kept. `status` is the HTTP
// status to answer with.
class StagedBodyError : public std::runtime_error {
 public:
  StagedBodyError(int status, const std::string& message)
      : std::runtime_error(message), status_(status) {}
  int status() const { return status_; }

 private:
  int status_;
};

class StagedBodies {
 public:
  explicit StagedBodies(StagedBodyLimits limits = {});
  ~StagedBodies();
  StagedBodies(const StagedBodies&) = delete;
  StagedBodies& operator=(const StagedBodies&) = delete;

  // True for the ids a client may choose: 1 to 64 letters, digits, '-' or '_'.
  static bool validId(std::string_view id);

  // Appends piece `index` to the session's body `id`; piece 0 starts the body (discarding one
  // of the same id). Throws StagedBodyError for a piece out of order (or of a body that does
  // not exist) and for a body over the total cap; the body is then discarded.
  void append(const std::string& session, const std::string& id, size_t index,
              std::string_view bytes);
  // Takes the session's body `id` out of the store and returns its text; the body is gone
  // whatever the caller does next. Throws StagedBodyError when the session has no such body or
  // it does not hold exactly `pieces` pieces.
  std::string take(const std::string& session, const std::string& id, size_t pieces);
  // Discards the session's body `id`, if it has one.
  void discard(const std::string& session, const std::string& id);
  // Discards every body of the session.
  void discardSession(const std::string& session);

  // Bodies held and their bytes (after discarding the idle ones).
  size_t count();
  size_t heldBytes();

 private:
  struct Body;
  using Key = std::pair<std::string, std::string>;

  void discardIdleLocked(std::chrono::steady_clock::time_point now);
  void eraseLocked(std::map<Key, std::unique_ptr<Body>>::iterator at);
  std::unique_ptr<Body> openBody() const;

  StagedBodyLimits limits_;
  std::mutex lock_;
  std::map<Key, std::unique_ptr<Body>> bodies_;
  size_t heldBytes_ = 0;
};

}  // namespace server

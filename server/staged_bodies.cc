#include "server/staged_bodies.h"

#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

namespace server {

namespace {

std::string systemError(const char* what) {
  return fmt::format("Não foi possível guardar o corpo em preparo ({}: {}).", what,
                     std::strerror(errno));
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      throw StagedBodyError(500, systemError("escrita"));
    bytes.remove_prefix(static_cast<size_t>(written));
  }
}

std::string readAll(int fd, size_t size) {
  std::string text(size, '\0');
  size_t done = 0;
  while (done < size) {
    const ssize_t got = ::pread(fd, text.data() + done, size - done, static_cast<off_t>(done));
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      throw StagedBodyError(500, systemError("leitura"));
    done += static_cast<size_t>(got);
  }
  return text;
}

}  // namespace

struct StagedBodies::Body {
  explicit Body(int fd) : fd(fd) {}
  ~Body() { ::close(fd); }
  Body(const Body&) = delete;
  Body& operator=(const Body&) = delete;

  int fd;
  size_t bytes = 0;
  size_t pieces = 0;
  std::chrono::steady_clock::time_point lastUse = std::chrono::steady_clock::now();
};

StagedBodies::StagedBodies(StagedBodyLimits limits) : limits_(std::move(limits)) {
  limits_.perSession = std::max<size_t>(limits_.perSession, 1);
}

StagedBodies::~StagedBodies() = default;

bool StagedBodies::validId(std::string_view id) {
  return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
  });
}

std::unique_ptr<StagedBodies::Body> StagedBodies::openBody() const {
  const std::string directory = limits_.directory.empty()
                                    ? std::filesystem::temp_directory_path().string()
                                    : limits_.directory;
  std::string name = directory + "/preparo-XXXXXX";
  // mkstemp creates the file readable and writable by its owner only; unlinking it at once
  // leaves the open descriptor as its only way in, and nothing behind when the process ends.
  const int fd = ::mkstemp(name.data());
  if (fd < 0)
    throw StagedBodyError(500, systemError(directory.c_str()));
  ::unlink(name.c_str());
  return std::make_unique<Body>(fd);
}

void StagedBodies::discardIdleLocked(std::chrono::steady_clock::time_point now) {
  for (auto at = bodies_.begin(); at != bodies_.end();) {
    const auto next = std::next(at);
    if (now - at->second->lastUse >= limits_.idle)
      eraseLocked(at);
    at = next;
  }
}

void StagedBodies::eraseLocked(std::map<Key, std::unique_ptr<Body>>::iterator at) {
  heldBytes_ -= at->second->bytes;
  bodies_.erase(at);
}

void StagedBodies::append(const std::string& session, const std::string& id, size_t index,
                          std::string_view bytes) {
  const Key key{session, id};
  std::unique_ptr<Body> body;
  {
    std::lock_guard guard(lock_);
    const auto now = std::chrono::steady_clock::now();
    discardIdleLocked(now);
    if (auto at = bodies_.find(key); at != bodies_.end()) {
      body = std::move(at->second);
      heldBytes_ -= body->bytes;
      bodies_.erase(at);
    }
    const size_t expected = index == 0 ? 0 : (body ? body->pieces : 0);
    if (index != expected) {
      throw StagedBodyError(
          400, fmt::format("A parte {} do corpo em preparo '{}' chegou fora de ordem (era "
                           "esperada a parte {}); o corpo foi descartado e nada foi executado.",
                           index, id, expected));
    }
    const size_t kept = index == 0 ? 0 : body->bytes;
    if (heldBytes_ + kept + bytes.size() > limits_.totalBytes) {
      throw StagedBodyError(
          413, fmt::format("O corpo em preparo '{}' excede o limite de {} bytes dos corpos em "
                           "preparo do servidor; o corpo foi descartado e nada foi executado.",
                           id, limits_.totalBytes));
    }
    if (index == 0) {
      body.reset();
      // A session keeps a few bodies at most: a new one pushes out its least recently used.
      std::vector<std::map<Key, std::unique_ptr<Body>>::iterator> own;
      for (auto at = bodies_.lower_bound({session, {}});
           at != bodies_.end() && at->first.first == session; ++at)
        own.push_back(at);
      std::sort(own.begin(), own.end(), [](const auto& a, const auto& b) {
        return a->second->lastUse < b->second->lastUse;
      });
      for (size_t i = 0; i + limits_.perSession <= own.size(); ++i)
        eraseLocked(own[i]);
    }
    // The bytes are counted before they are written, so bodies written at once stay within
    // the cap together.
    heldBytes_ += kept + bytes.size();
  }
  size_t counted = (index == 0 ? 0 : body->bytes) + bytes.size();
  try {
    if (!body)
      body = openBody();
    writeAll(body->fd, bytes);
  } catch (...) {
    std::lock_guard guard(lock_);
    heldBytes_ -= counted;
    throw;
  }
  body->bytes += bytes.size();
  body->pieces += 1;
  body->lastUse = std::chrono::steady_clock::now();
  std::lock_guard guard(lock_);
  auto& slot = bodies_[key];
  if (slot)
    heldBytes_ -= slot->bytes;
  slot = std::move(body);
}

std::string StagedBodies::take(const std::string& session, const std::string& id, size_t pieces) {
  std::unique_ptr<Body> body;
  {
    std::lock_guard guard(lock_);
    discardIdleLocked(std::chrono::steady_clock::now());
    const auto at = bodies_.find({session, id});
    if (at == bodies_.end()) {
      throw StagedBodyError(
          400, fmt::format("O corpo em preparo '{}' não existe nesta sessão (expirou, foi "
                           "descartado ou já foi usado); nada foi executado.",
                           id));
    }
    body = std::move(at->second);
    heldBytes_ -= body->bytes;
    bodies_.erase(at);
  }
  if (body->pieces != pieces) {
    throw StagedBodyError(
        400, fmt::format("O corpo em preparo '{}' tem {} parte(s), e a chamada informa {}; o "
                         "corpo foi descartado e nada foi executado.",
                         id, body->pieces, pieces));
  }
  return readAll(body->fd, body->bytes);
}

void StagedBodies::discard(const std::string& session, const std::string& id) {
  std::lock_guard guard(lock_);
  if (const auto at = bodies_.find({session, id}); at != bodies_.end())
    eraseLocked(at);
}

void StagedBodies::discardSession(const std::string& session) {
  std::lock_guard guard(lock_);
  for (auto at = bodies_.lower_bound({session, {}});
       at != bodies_.end() && at->first.first == session;)
    eraseLocked(at++);
}

size_t StagedBodies::count() {
  std::lock_guard guard(lock_);
  discardIdleLocked(std::chrono::steady_clock::now());
  return bodies_.size();
}

size_t StagedBodies::heldBytes() {
  std::lock_guard guard(lock_);
  discardIdleLocked(std::chrono::steady_clock::now());
  return heldBytes_;
}

}  // namespace server

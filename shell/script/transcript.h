// Transcript: what one script run has seen, in order, and how far its expectations have read.
//
// The session records every remote call (method, arguments as scripts write them, outcome),
// every wait indicator shown and every message box; each is printed as it happens unless the
// run is quiet. `expect call`, `expect wait` and `expect message` read these logs forward from
// where the previous expectation of their kind stopped, so a script states what happened next
// without naming everything in between. Owned by the session; used on the toolkit's thread.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace script {

class Transcript {
 public:
  struct Call {
    std::string method;
    std::vector<std::string> args;  // as scripts write them
    bool ok = true;
  };
  struct Wait {
    int kind = 0;
    std::string text;
  };
  struct Message {
    std::string kind;  // error, info, question
    std::string text;
  };

  explicit Transcript(bool quiet) : quiet_(quiet) {}

  // One line of the transcript; nothing when quiet.
  void print(const std::string& line) const;

  // Calls in order; `expect call` searches from callCursor and moves it past the match.
  std::vector<Call> calls;
  std::size_t callCursor = 0;
  // Wait indicators in order; `expect wait` searches from waitCursor.
  std::vector<Wait> waits;
  std::size_t waitCursor = 0;
  // Messages shown and not yet expected, oldest first.
  std::deque<Message> messages;

 private:
  bool quiet_;
};

}  // namespace script

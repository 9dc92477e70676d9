#include "host/wait_progress.h"

#include <cstdio>
#include <exception>

#include "host/showavi.h"

namespace host {

WaitProgress::WaitProgress(const ui::Form* over, std::string text, int total, Clock clock)
    : over_(over),
      text_(std::move(text)),
      total_(total),
      clock_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })) {
  nextShow_ = clock_() + kQuietTime;
}

WaitProgress::~WaitProgress() {
  if (!shown_)
    return;
  try {
    Showavi::EndCount();
  } catch (const std::exception& e) {
    // An observer failing to show the end of the count must not end the program.
    std::fprintf(stderr, "wait indicator: %s\n", e.what());
  }
}

void WaitProgress::advance(int done) {
  const TimePoint now = clock_();
  if (now < nextShow_)
    return;
  nextShow_ = now + kRefreshTime;
  shown_ = true;
  Showavi::ShowCount(over_, text_, done, total_);
}

}  // namespace host

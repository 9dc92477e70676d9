// WaitProgress: the count of a long operation (a batch of clients moved in, a list of clients
// filled), shown with the wait indicator once the operation has run about half a second.
//
// The operation calls advance() as it goes. For the first half second nothing is shown, so a
// short operation never flashes the indicator; after it the indicator shows the operation's
// text and the count (Showavi::ShowCount), refreshed at most ten times a second so that
// showing it costs nothing next to the work. The count goes with the object, and the
// indicator with it when the count showed it. Tests may give the clock.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "host/ui/form.h"

namespace host {

class WaitProgress {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Clock = std::function<TimePoint()>;

  static constexpr std::chrono::milliseconds kQuietTime{500};
  static constexpr std::chrono::milliseconds kRefreshTime{100};

  WaitProgress(const ui::Form* over, std::string text, int total, Clock clock = {});
  ~WaitProgress();
  WaitProgress(const WaitProgress&) = delete;
  WaitProgress& operator=(const WaitProgress&) = delete;

  // `done` of the total are done.
  void advance(int done);

 private:
  const ui::Form* over_;
  std::string text_;
  int total_;
  Clock clock_;
  TimePoint nextShow_;
  bool shown_ = false;
};

}  // namespace host

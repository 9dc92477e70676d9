// ScopedDetach: event handlers taken off their slots for a scope and put back when it ends.
//
// Handlers are plain assignable callbacks (a control's onChange, a data set's afterPost), so
// code that must act without one of its own rules firing detaches it first. This is the one
// way to do that: the constructor saves each slot's handler and empties the slot; the
// destructor, or an earlier reattach(), puts every saved handler back, however the scope ends
// (an abort or an error included). All slots given to one object hold the same kind of
// handler. Not copyable; lives on the stack of the code that detached.
#pragma once

#include <utility>
#include <vector>

namespace ui {

template <class Handler>
class ScopedDetach {
 public:
  template <class... More>
  explicit ScopedDetach(Handler& slot, More&... more) {
    detach(slot);
    (detach(more), ...);
  }
  ~ScopedDetach() { reattach(); }
  ScopedDetach(const ScopedDetach&) = delete;
  ScopedDetach& operator=(const ScopedDetach&) = delete;

  // Puts the saved handlers back now; the end of the scope then changes nothing.
  void reattach() {
    for (auto& [slot, saved] : detached_)
      *slot = std::move(saved);
    detached_.clear();
  }

 private:
  void detach(Handler& slot) { detached_.emplace_back(&slot, std::exchange(slot, nullptr)); }

  std::vector<std::pair<Handler*, Handler>> detached_;
};

}  // namespace ui

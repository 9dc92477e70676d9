// GapVector: a sequence with a gap at its last edit, so that inserting or erasing over and over
// at one place (or near it) costs only what lies between two edits.
//
// A data set inserts each new row at its cursor, and the new row becomes the cursor: adding a
// hundred thousand clients one after the other inserts at the same place every time, which in a
// plain vector moves every row behind it for each insert. Elements are read by position;
// contiguous() closes the gap (moving it to the end) for algorithms that want a plain range.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace db {

template <class T>
class GapVector {
 public:
  GapVector() = default;
  GapVector(GapVector&& other) noexcept { *this = std::move(other); }
  GapVector& operator=(GapVector&& other) noexcept {
    items_ = std::move(other.items_);
    gapStart_ = std::exchange(other.gapStart_, 0);
    gapEnd_ = std::exchange(other.gapEnd_, 0);
    other.items_.clear();
    return *this;
  }

  std::size_t size() const { return items_.size() - gapLength(); }
  bool empty() const { return size() == 0; }

  T& operator[](std::size_t i) { return items_[i < gapStart_ ? i : i + gapLength()]; }
  const T& operator[](std::size_t i) const { return items_[i < gapStart_ ? i : i + gapLength()]; }

  void clear() {
    items_.clear();
    gapStart_ = gapEnd_ = 0;
  }
  void reserve(std::size_t n) {
    contiguous();
    items_.reserve(n);
  }
  void assign(std::vector<T> items) {
    items_ = std::move(items);
    gapStart_ = gapEnd_ = items_.size();
  }

  void push_back(T item) { insert(size(), std::move(item)); }

  void insert(std::size_t at, T item) {
    if (gapLength() == 0)
      grow();
    moveGap(at);
    items_[gapStart_++] = std::move(item);
  }

  void erase(std::size_t at) {
    moveGap(at);
    items_[gapEnd_++] = T{};
  }

  // The elements as one range, in order; the gap moves to the end.
  std::span<T> contiguous() {
    moveGap(size());
    return std::span<T>(items_.data(), size());
  }

  // Position of an element that satisfies `predicate`, searched from `hint` outwards so that
  // one near the last edit is found at once; size() when there is none.
  template <class Predicate>
  std::size_t findNear(std::size_t hint, Predicate predicate) const {
    const std::size_t n = size();
    if (n == 0)
      return 0;
    hint = std::min(hint, n - 1);
    for (std::size_t d = 0; d <= std::max(hint, n - 1 - hint); ++d) {
      if (d <= hint && predicate((*this)[hint - d]))
        return hint - d;
      if (d > 0 && hint + d < n && predicate((*this)[hint + d]))
        return hint + d;
    }
    return n;
  }

  template <class Predicate>
  void eraseIf(Predicate predicate) {
    contiguous();
    items_.resize(size());
    std::erase_if(items_, predicate);
    gapStart_ = gapEnd_ = items_.size();
  }

 private:
  std::size_t gapLength() const { return gapEnd_ - gapStart_; }

  void moveGap(std::size_t at) {
    if (at < gapStart_) {
      std::move_backward(items_.begin() + static_cast<std::ptrdiff_t>(at),
                         items_.begin() + static_cast<std::ptrdiff_t>(gapStart_),
                         items_.begin() + static_cast<std::ptrdiff_t>(gapEnd_));
      gapEnd_ -= gapStart_ - at;
      gapStart_ = at;
    } else if (at > gapStart_) {
      const std::size_t count = at - gapStart_;
      std::move(items_.begin() + static_cast<std::ptrdiff_t>(gapEnd_),
                items_.begin() + static_cast<std::ptrdiff_t>(gapEnd_ + count),
                items_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
      gapStart_ += count;
      gapEnd_ += count;
    }
  }

  void grow() {
    contiguous();
    const std::size_t n = items_.size() - gapLength();
    items_.resize(n);
    items_.resize(std::max<std::size_t>(16, n * 2));
    gapStart_ = n;
    gapEnd_ = items_.size();
  }

  std::vector<T> items_;
  std::size_t gapStart_ = 0;  // the gap is items_[gapStart_, gapEnd_)
  std::size_t gapEnd_ = 0;
};

}  // namespace db

// RowValues: the values of one data-set row, kept compactly in a single block.
//
// The block is the packet layer's packed row, so that a large answer read straight into packed
// rows becomes the data set's rows without a copy. Values are read by position; a row is never
// changed in place (an edit builds a new one from the edit buffer).
#pragma once

#include <cstddef>

#include "packet/packed_row.h"

namespace db {

using RowValues = packet::PackedRow;

// -1, 0 or 1 comparing value i of two rows: null first, then numbers by value, then texts by
// their bytes.
int compareAt(const RowValues& a, const RowValues& b, std::size_t i);

}  // namespace db

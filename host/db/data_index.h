// DataIndex: a named ordering of a data set's rows on one or more fields.
//
// Rows are compared field by field (nulls first, numbers by value, texts by their bytes, which
// for UTF-8 is code-point order); a descending index reverses every field. The sort is stable,
// so rows that compare equal keep their packet or insertion order. Used by DataSet only.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "host/db/record.h"

namespace db {

class DataIndex {
 public:
  DataIndex(std::string name, std::vector<std::string> fieldNames, bool descending);

  const std::string& name() const { return name_; }
  const std::vector<std::string>& fieldNames() const { return fieldNames_; }
  bool descending() const { return descending_; }

  // Sorts `rows` (given in natural order) by the fields at `positions`.
  void sort(std::span<Record*> rows, const std::vector<int>& positions) const;

 private:
  std::string name_;
  std::vector<std::string> fieldNames_;
  bool descending_;
};

// Splits "A;B;C" into its names, blanks around each removed, empty names dropped.
std::vector<std::string> splitFieldList(const std::string& list);

}  // namespace db

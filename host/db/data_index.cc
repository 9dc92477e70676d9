#include "host/db/data_index.h"

#include <algorithm>

namespace db {

DataIndex::DataIndex(std::string name, std::vector<std::string> fieldNames, bool descending)
    : name_(std::move(name)), fieldNames_(std::move(fieldNames)), descending_(descending) {
}

void DataIndex::sort(std::span<Record*> rows, const std::vector<int>& positions) const {
  std::stable_sort(rows.begin(), rows.end(), [&](const Record* a, const Record* b) {
    for (const int p : positions) {
      const int c = compareAt(a->values, b->values, static_cast<std::size_t>(p));
      if (c != 0)
        return descending_ ? c > 0 : c < 0;
    }
    return false;
  });
}

std::vector<std::string> splitFieldList(const std::string& list) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    auto end = list.find(';', start);
    if (end == std::string::npos)
      end = list.size();
    std::string name = list.substr(start, end - start);
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    if (first != std::string::npos)
      names.push_back(name.substr(first, last - first + 1));
    start = end + 1;
  }
  return names;
}

}  // namespace db

#include "host/db/data_index.h"

#include <algorithm>

namespace db {

namespace {

int rank(const packet::Value& v) {
  if (packet::isNull(v))
    return 0;
  if (packet::isNumber(v))
    return 1;
  return 2;
}

}  // namespace

int compareValues(const packet::Value& a, const packet::Value& b) {
  const int ra = rank(a);
  const int rb = rank(b);
  if (ra != rb)
    return ra < rb ? -1 : 1;
  if (ra == 1) {
    const double x = std::get<double>(a);
    const double y = std::get<double>(b);
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  if (ra == 2) {
    const int c = std::get<std::string>(a).compare(std::get<std::string>(b));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return 0;
}

DataIndex::DataIndex(std::string name, std::vector<std::string> fieldNames, bool descending)
    : name_(std::move(name)), fieldNames_(std::move(fieldNames)), descending_(descending) {
}

void DataIndex::sort(std::vector<Record*>& rows, const std::vector<int>& positions) const {
  std::stable_sort(rows.begin(), rows.end(), [&](const Record* a, const Record* b) {
    for (const int p : positions) {
      const int c = compareValues(a->values[p], b->values[p]);
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

#include "host/db/row_values.h"

namespace db {

int compareAt(const RowValues& a, const RowValues& b, std::size_t i) {
  const auto rank = [&](const RowValues& row) {
    return row.isNull(i) ? 0 : row.isNumber(i) ? 1 : 2;
  };
  const int ra = rank(a);
  const int rb = rank(b);
  if (ra != rb)
    return ra < rb ? -1 : 1;
  if (ra == 1) {
    const double x = a.number(i);
    const double y = b.number(i);
    return x < y ? -1 : (y < x ? 1 : 0);
  }
  if (ra == 2) {
    const int c = a.text(i).compare(b.text(i));
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
  }
  return 0;
}

}  // namespace db

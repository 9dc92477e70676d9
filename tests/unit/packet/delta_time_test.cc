// The time a call carrying deltas is given grows with their rows, the same on both ends.
#include <gtest/gtest.h>

#include "packet/remote_call.h"

namespace packet {
namespace {

Delta deltaOf(std::size_t rows) {
  Delta delta;
  delta.fields = {{"CDCLIENTE", FieldType::Text, 10}};
  delta.changes.resize(rows);
  return delta;
}

TEST(DeltaTime, CountsTheRowsOfEveryDeltaAndNothingElse) {
  EXPECT_EQ(deltaRows({}), 0u);
  EXPECT_EQ(deltaRows({std::string("0001"), 3.0, DateArg{46100}, std::monostate{}}), 0u);
  EXPECT_EQ(deltaRows({std::string("0001"), deltaOf(3), 1.0, deltaOf(0), deltaOf(4)}), 7u);
}

TEST(DeltaTime, IsTheBasePlusTheAllowanceOfEachRow) {
  using std::chrono::milliseconds;
  EXPECT_EQ(timeForDeltaRows(milliseconds(25'000), 0), milliseconds(25'000));
  EXPECT_EQ(timeForDeltaRows(milliseconds(25'000), 100'000),
            milliseconds(25'000) + 100'000 * kTimePerDeltaRow);
  // A batch of 100,000 rows must fit, with room, in what the base alone could never hold.
  EXPECT_GE(timeForDeltaRows(milliseconds(0), 100'000), std::chrono::minutes(5));
}

}  // namespace
}  // namespace packet

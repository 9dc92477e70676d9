// The compact row storage and the gap sequence the data set keeps its rows in: whatever is put
// in must come out the same, in the same order.
#include <gtest/gtest.h>

#include <limits>
#include <random>

#include "host/db/gap_vector.h"
#include "host/db/row_values.h"

namespace db::testing {
namespace {

TEST(RowValues, KeepsEveryValueExactlyAndTellsNullFromEmpty) {
  const packet::Row row = {std::string(""),
                           packet::Value{},
                           0.0,
                           -0.1,
                           std::string("Água\n\0x", 8),
                           std::numeric_limits<double>::max(),
                           std::string("z")};
  const RowValues values(row);
  EXPECT_EQ(values.toRow(), row);
  EXPECT_TRUE(values.isText(0));
  EXPECT_TRUE(values.isNull(1));
  EXPECT_EQ(values.text(4), std::string_view("Água\n\0x", 8));
  EXPECT_EQ(values.number(3), -0.1);
  const RowValues copy = values;
  EXPECT_EQ(copy.toRow(), row);
  EXPECT_EQ(RowValues().size(), 0u);
  EXPECT_EQ(RowValues(packet::Row{}).toRow(), packet::Row{});

  // A row longer than a short offset can address.
  const packet::Row wide = {std::string(70000, 'a'), 1.5, std::string(70000, 'b')};
  EXPECT_EQ(RowValues(wide).toRow(), wide);

  EXPECT_LT(compareAt(RowValues({packet::Value{}}), RowValues({1.0}), 0), 0);
  EXPECT_LT(compareAt(RowValues({2.0}), RowValues({std::string("1")}), 0), 0);
  EXPECT_EQ(compareAt(RowValues({std::string("b")}), RowValues({std::string("b")}), 0), 0);
}

TEST(GapVector, BehavesAsAVectorUnderAnyInsertsAndErases) {
  std::mt19937 random(7);
  GapVector<int> gaps;
  std::vector<int> plain;
  for (int step = 0; step < 5000; ++step) {
    const std::size_t at = plain.empty() ? 0 : random() % (plain.size() + 1);
    if (plain.empty() || random() % 3 != 0) {
      gaps.insert(at, step);
      plain.insert(plain.begin() + static_cast<std::ptrdiff_t>(at), step);
    } else {
      const std::size_t victim = at % plain.size();
      gaps.erase(victim);
      plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(victim));
    }
    if (step % 97 == 0) {
      ASSERT_EQ(gaps.size(), plain.size());
      for (std::size_t i = 0; i < plain.size(); ++i)
        ASSERT_EQ(gaps[i], plain[i]) << "step " << step << " position " << i;
      if (!plain.empty()) {
        const int wanted = plain[random() % plain.size()];
        const std::size_t found =
            gaps.findNear(random() % plain.size(), [&](int v) { return v == wanted; });
        ASSERT_EQ(gaps[found], wanted);
      }
    }
  }
  const auto span = gaps.contiguous();
  EXPECT_TRUE(std::equal(span.begin(), span.end(), plain.begin(), plain.end()));
  gaps.eraseIf([](int v) { return v % 2 == 0; });
  std::erase_if(plain, [](int v) { return v % 2 == 0; });
  ASSERT_EQ(gaps.size(), plain.size());
  EXPECT_EQ(gaps.findNear(0, [](int) { return false; }), gaps.size());
}

}  // namespace
}  // namespace db::testing

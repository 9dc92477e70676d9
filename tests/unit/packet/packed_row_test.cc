// Packed rows: any mix of nulls, numbers and texts comes back exactly, whatever the row's
// length and whichever width its texts' ends take.
#include "packet/packed_row.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace packet {
namespace {

Row randomRow(std::mt19937& random, std::size_t values, std::size_t longestText) {
  std::uniform_int_distribution<int> kind(0, 2);
  std::uniform_int_distribution<std::size_t> length(0, longestText);
  std::uniform_real_distribution<double> number(-1e9, 1e9);
  Row row;
  for (std::size_t i = 0; i < values; ++i) {
    switch (kind(random)) {
      case 0:
        row.emplace_back(std::monostate{});
        break;
      case 1:
        row.emplace_back(number(random));
        break;
      default:
        row.emplace_back(std::string(length(random), static_cast<char>('a' + i % 26)));
        break;
    }
  }
  return row;
}

TEST(PackedRow, EveryMixOfValuesComesBackExactly) {
  std::mt19937 random(12);
  // Texts of a few bytes (one-byte ends), of hundreds (two) and of tens of thousands (four);
  // rows shorter and longer than a bitmap word.
  for (const std::size_t longestText : {3u, 40u, 3000u, 40000u}) {
    for (const std::size_t values : {0u, 1u, 7u, 8u, 9u, 63u, 64u, 65u, 130u}) {
      const Row row = randomRow(random, values, longestText);
      const PackedRow packed(row);
      ASSERT_EQ(packed.size(), values);
      EXPECT_EQ(packed.toRow(), row) << values << " values, texts up to " << longestText;
      for (std::size_t i = 0; i < values; ++i) {
        EXPECT_EQ(packed.isNull(i), std::holds_alternative<std::monostate>(row[i]));
        EXPECT_EQ(packed.isNumber(i), std::holds_alternative<double>(row[i]));
        EXPECT_EQ(packed.isText(i), std::holds_alternative<std::string>(row[i]));
        EXPECT_EQ(packed.get(i), row[i]) << "value " << i << " read by position";
      }
      const PackedRow copy = packed;
      EXPECT_EQ(copy.blockBytes(), packed.blockBytes());
      EXPECT_EQ(copy.toRow(), row);
    }
  }
}

TEST(PackedRow, TheBuilderStartsEachRowEmpty) {
  PackedRowBuilder builder;
  builder.addText(std::string(300, 'x'));
  builder.addNumber(2.5);
  const PackedRow first = builder.take();
  builder.addNull();
  builder.addText("b");
  const PackedRow second = builder.take();
  EXPECT_EQ(first.toRow(), (Row{std::string(300, 'x'), 2.5}));
  EXPECT_EQ(second.toRow(), (Row{std::monostate{}, std::string("b")}));
  EXPECT_EQ(builder.take().size(), 0u);
}

}  // namespace
}  // namespace packet

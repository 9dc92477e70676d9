// The order of names: the comparison that folds as it goes agrees with folding both names
// first, wherever the two start to differ (inside a character of several bytes included).
#include "packet/name_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace packet {
namespace {

int sign(int value) {
  return (value > 0) - (value < 0);
}

int foldedFirst(const std::string& a, const std::string& b) {
  const int folded = foldForSorting(a).compare(foldForSorting(b));
  return sign(folded != 0 ? folded : a.compare(b));
}

TEST(NameOrderTest, AgreesWithFoldingBothNamesFirst) {
  const std::vector<std::string> names = {"",
                                          "A",
                                          "a",
                                          "Á",
                                          "Ágata",
                                          "Agata",
                                          "Águeda",
                                          "Agueda Lima",
                                          "Édson",
                                          "Edson",
                                          "Ésio",
                                          "Condomínio",
                                          "Condominio",
                                          "Condomínio Edifício Jardins 1",
                                          "Condomínio Edifício Jardins 10",
                                          "Condomínio Edifício Jardíns 1",
                                          "Ção",
                                          "Cão",
                                          "Cao",
                                          "Zé",
                                          "Ze",
                                          "ZÉ",
                                          "Ñandu",
                                          "Nandu",
                                          "\xC3",
                                          "\xC3\x28",
                                          "Ab\xE2\x80\x99s",
                                          "Ab\xE2\x80\x98s"};
  for (const std::string& a : names) {
    for (const std::string& b : names)
      EXPECT_EQ(sign(compareForSorting(a, b)), foldedFirst(a, b)) << a << " | " << b;
  }
}

}  // namespace
}  // namespace packet

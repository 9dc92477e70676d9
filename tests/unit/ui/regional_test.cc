// Brazilian number and date formats, both ways.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/ui/regional.h"

namespace ui::regional {
namespace {

TEST(RegionalFormatTest, PatternsOfTheForms) {
  struct Case {
    const char* pattern;
    double value;
    const char* expected;
  };
  const Case cases[] = {
      {"#,##0.00000", 1234.5, "1.234,50000"},
      {"0.00000", 1234.5, "1234,50000"},
      {"0.00", 2.675, "2,68"},
      {"#,##0.00", 1234567.891, "1.234.567,89"},
      {"#,###0.00000", 1234567.5, "1.234.567,50000"},
      {"#,##0.00000", 0, "0,00000"},
      {"#,##0.00000", 0.5, "0,50000"},
      {"#,##0.00", 999.995, "1.000,00"},
      {"#,##0.00000", -1234.5, "-1.234,50000"},
      {"0.00", -2.675, "-2,68"},
      {"0.00", -0.001, "0,00"},
      {"#.##", 0.5, ",5"},
      {"0.##", 3, "3"},
      {"0.##", 3.14159, "3,14"},
      {"000", 7, "007"},
      {"0", 2.5, "3"},
      {"R$ #,##0.00", 1500, "R$ 1.500,00"},
      {"0.00%", 12.5, "12,50%"},
      {"0.00;(0.00)", -3, "(3,00)"},
      {"0.00;;zero", 0, "zero"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(formatFloat(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
}

TEST(RegionalFormatTest, GeneralFormatIsTheShortestTextThatReadsBack) {
  EXPECT_EQ(formatFloat("", 1234.5), "1234,5");
  EXPECT_EQ(formatFloat("", 3), "3");
  EXPECT_EQ(formatFloat("", -0.1), "-0,1");
  EXPECT_EQ(formatFloat("", 0.1 + 0.2), "0,30000000000000004");
  EXPECT_EQ(formatFloat("", 1e20), "1E20");
  EXPECT_EQ(formatFloat("", 1.5e-7), "1,5E-7");
  for (double v : {1234.5, 0.1 + 0.2, 1e20, 1.5e-7, -98765.4321})
    EXPECT_EQ(parseFloat(formatFloat("", v)), v) << v;
  EXPECT_EQ(formatFloat("0.00", std::numeric_limits<double>::quiet_NaN()), "NAN");
}

TEST(RegionalFormatTest, RoundDecRoundsTheDecimalValueHalfAwayFromZero) {
  EXPECT_DOUBLE_EQ(roundDec(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(roundDec(-2.675, 2), -2.68);
  EXPECT_DOUBLE_EQ(roundDec(1.005, 2), 1.01);
  EXPECT_DOUBLE_EQ(roundDec(1.23456789, 5), 1.23457);
  EXPECT_DOUBLE_EQ(roundDec(0.123454999, 5), 0.12345);
  EXPECT_DOUBLE_EQ(roundDec(9.999995, 5), 10.0);
  EXPECT_DOUBLE_EQ(roundDec(1250, -2), 1300);
  EXPECT_DOUBLE_EQ(roundDec(42, -3), 0);
  EXPECT_DOUBLE_EQ(roundDec(5, 2), 5);
}

TEST(RegionalParseTest, TypedNumbers) {
  EXPECT_EQ(parseFloat("1234,5"), 1234.5);
  EXPECT_EQ(parseFloat(" 1.234,5 "), 1234.5);
  EXPECT_EQ(parseFloat("1.234.567"), 1234567);
  EXPECT_EQ(parseFloat("1.500"), 1500);
  EXPECT_EQ(parseFloat("-0,5"), -0.5);
  EXPECT_EQ(parseFloat("+3"), 3);
  EXPECT_EQ(parseFloat(",5"), 0.5);
  EXPECT_EQ(parseFloat("5,"), 5);
  EXPECT_EQ(parseFloat("1,5E3"), 1500);
  for (const char* bad : {"", " ", "1.5", "1234.567", ".500", "1..000", "1.2345", "abc", "1,2,3",
                          "--1", "1e", "12a", "1.000.00", ",", "-", "1e999"})
    EXPECT_EQ(parseFloat(bad), std::nullopt) << bad;
}

TEST(RegionalDateTest, DayCountsBothWays) {
  EXPECT_EQ(encodeDate(1899, 12, 30), 0);
  EXPECT_EQ(encodeDate(1900, 1, 1), 2);
  EXPECT_EQ(encodeDate(2024, 2, 29), 45351);
  EXPECT_EQ(decodeDate(45351), (Date{2024, 2, 29}));
  EXPECT_EQ(decodeDate(-1), (Date{1899, 12, 29}));
  EXPECT_THROW(encodeDate(2023, 2, 29), std::out_of_range);
  EXPECT_THROW(encodeDate(2023, 13, 1), std::out_of_range);
  EXPECT_EQ(formatDate(45351.75), "29/02/2024");
  EXPECT_EQ(formatDateTime(45351.75), "29/02/2024 18:00:00");
  EXPECT_EQ(formatDateTime(45351), "29/02/2024");
  // A fraction a hair below midnight is the next day, not 23:59:59.
  EXPECT_EQ(formatDateTime(45351.9999999999), "01/03/2024");
  EXPECT_EQ(decodeTime(encodeTime(13, 45, 30, 250)), (Time{13, 45, 30, 250}));
  EXPECT_EQ(dayOfWeek(encodeDate(2024, 3, 3)), 1);  // a Sunday
  EXPECT_EQ(dayOfWeek(0), 7);                       // 30/12/1899 was a Saturday
}

TEST(RegionalDateTest, TypedDates) {
  EXPECT_EQ(parseDate("29/02/2024"), encodeDate(2024, 2, 29));
  EXPECT_EQ(parseDate(" 1/3/2024 "), encodeDate(2024, 3, 1));
  EXPECT_EQ(parseDate("01/03/24"), encodeDate(2024, 3, 1));
  EXPECT_EQ(parseDate("01/03/49"), encodeDate(2049, 3, 1));
  EXPECT_EQ(parseDate("01/03/50"), encodeDate(1950, 3, 1));
  EXPECT_EQ(parseDate("01/03/2024 10:30"), encodeDate(2024, 3, 1) + encodeTime(10, 30, 0));
  EXPECT_EQ(parseDate("01/03/2024 23:59:59"), encodeDate(2024, 3, 1) + encodeTime(23, 59, 59));
  for (const char* bad :
       {"", "31/02/2024", "29/02/2023", "01/13/2024", "00/01/2024", "01/01/202", "1-1-2024",
        "01/01/2024 24:00", "01/01/2024 10:60", "01/01/2024x", "__/__/____", "01/01/2024 10"})
    EXPECT_EQ(parseDate(bad), std::nullopt) << bad;
}

TEST(RegionalDateTest, StoredDatesStayWithinTheAcceptedYearsAndAnyNumberDecodes) {
  EXPECT_EQ(parseAcceptedDate("01/01/1900"), 2);
  EXPECT_EQ(parseAcceptedDate("31/12/9999 23:59:59"), kLastAcceptedDate + encodeTime(23, 59, 59));
  EXPECT_EQ(parseAcceptedDate("31/12/1899"), std::nullopt);
  EXPECT_EQ(parseAcceptedDate("01/01/0001"), std::nullopt);
  EXPECT_EQ(invalidDateMessage("31/12/1899"),
            "A data '31/12/1899' está fora do intervalo aceito (01/01/1900 a 31/12/9999).");
  EXPECT_EQ(invalidDateMessage("31/02/2024"), "'31/02/2024' não é uma data válida.");
  // Numbers no calendar holds decode as its nearest end instead of overflowing.
  EXPECT_EQ(decodeDate(1e300), (Date{9999, 12, 31}));
  EXPECT_EQ(decodeDate(-1e300), (Date{1, 1, 1}));
  EXPECT_EQ(formatDateTime(std::nan("")), "30/12/1899");
  EXPECT_EQ(dayOfWeek(-std::numeric_limits<double>::infinity()), dayOfWeek(encodeDate(1, 1, 1)));
}

TEST(RegionalDateTest, ClockCanBeFixedForTests) {
  setClockForTesting(encodeDate(2024, 5, 10) + 0.5);
  EXPECT_EQ(today(), encodeDate(2024, 5, 10));
  EXPECT_EQ(now(), encodeDate(2024, 5, 10) + 0.5);
  setClockForTesting(std::nullopt);
  EXPECT_GT(today(), encodeDate(2020, 1, 1));
  EXPECT_EQ(today(), std::floor(today()));
}

TEST(RegionalMessagesTest, BadTypingTexts) {
  EXPECT_EQ(invalidNumberMessage("12a"), "'12a' não é um valor numérico válido.");
  EXPECT_EQ(invalidDateMessage("31/02"), "'31/02' não é uma data válida.");
}

}  // namespace
}  // namespace ui::regional

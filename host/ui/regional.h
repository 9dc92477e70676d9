// Brazilian regional settings: how numbers and dates are shown and typed.
//
// Numbers use the decimal comma and the thousands dot; dates are dd/mm/yyyy with the time as
// hh:nn:ss. A date-time is a day count whose day 0 is 30/12/1899, with the time of day as the
// fraction (the form in which packets carry dates). Fields, edits, grids and reports call
// these functions; the forms call roundDec, today and the two error texts directly.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ui::regional {

inline constexpr char kDecimalSeparator = ',';
inline constexpr char kThousandsSeparator = '.';

// Formats `v` with a number pattern made of '#' (optional digit), '0' (required digit), ','
// (thousands grouping, anywhere in the integer part) and '.' (decimal point); text before the
// first and after the last of these is copied as it stands. Up to three sections separated
// by ';' format positive, negative (shown without an automatic sign) and zero values. The
// output uses the Brazilian separators and rounds half away from zero on the decimal value.
// An empty pattern gives the general format: the shortest text that reads back the same.
//   formatFloat("#,##0.00000", 1234.5) == "1.234,50000"
//   formatFloat("0.00000", 1234.5) == "1234,50000"
//   formatFloat("", 1234.5) == "1234,5"
std::string formatFloat(std::string_view pattern, double v);

// Reads a typed number: optional blanks, optional sign, digits with optional thousands dots in
// valid groups of three ("1.234.567"), optional decimal comma and digits, optional exponent
// ("1,5E3"), optional blanks. A dot is never a decimal point: "1.5" is refused, "1.500" is
// 1500. Anything else (empty text included) gives nullopt.
std::optional<double> parseFloat(std::string_view text);

// Rounds half away from zero on the decimal value of `v`: roundDec(2.675, 2) == 2.68 although
// the nearest double to 2.675 lies below it. `decimals` may be negative (tens, hundreds...).
double roundDec(double v, int decimals);

struct Date {
  int year = 0;
  int month = 0;
  int day = 0;
  bool operator==(const Date&) const = default;
};

struct Time {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  bool operator==(const Time&) const = default;
};

bool isValidDate(int year, int month, int day);
// Day count of a date; throws std::out_of_range for an impossible date (31/02, month 13,
// year outside 1..9999).
double encodeDate(int year, int month, int day);
// Fraction of a day; throws std::out_of_range outside 00:00:00.000..23:59:59.999.
double encodeTime(int hour, int minute, int second, int millisecond = 0);
// Any number is safe: one beyond the years 1 to 9999 (NaN included) decodes as the nearest end.
Date decodeDate(double days);
Time decodeTime(double days);
// 1 = Sunday ... 7 = Saturday.
int dayOfWeek(double days);

// "dd/mm/yyyy".
std::string formatDate(double days);
// "dd/mm/yyyy hh:nn:ss", or only the date when the time is zero.
std::string formatDateTime(double days);
// Reads "dd/mm/yyyy" or "d/m/yy" (two-digit years: below 50 → 20xx, else 19xx), optionally
// followed by " hh:nn" or " hh:nn:ss"; blanks around are ignored. Impossible dates and times
// give nullopt.
std::optional<double> parseDate(std::string_view text);

// The dates data may hold: 01/01/1900 to 31/12/9999. Day 0 (30/12/1899) stands for "no date".
inline constexpr double kFirstAcceptedDate = 2;
inline constexpr double kLastAcceptedDate = 2'958'465;
// parseDate, refusing dates outside the accepted ones: what a typed date may store.
std::optional<double> parseAcceptedDate(std::string_view text);

// The local clock, or the fixed instant set for tests and scripts.
double now();
// now() without the time.
double today();
void setClockForTesting(std::optional<double> fixedNow);

// The texts shown when a typed number or date cannot be read (or, for a date, lies outside the
// accepted ones).
std::string invalidNumberMessage(std::string_view text);
std::string invalidDateMessage(std::string_view text);

}  // namespace ui::regional

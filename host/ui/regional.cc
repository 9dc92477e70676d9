#include "host/ui/regional.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <fmt/format.h>

namespace ui::regional {

namespace {

// A decimal number as text: the shortest digits that read back as the double.
struct Decimal {
  bool negative = false;
  std::string integer;   // no sign, may be empty for 0
  std::string fraction;  // digits after the point
};

Decimal toDecimal(double v) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  Decimal d;
  if (!text.empty() && text.front() == '-') {
    d.negative = true;
    text.remove_prefix(1);
  }
  const auto point = text.find('.');
  d.integer = std::string(text.substr(0, point));
  if (point != std::string_view::npos)
    d.fraction = std::string(text.substr(point + 1));
  while (!d.integer.empty() && d.integer.front() == '0')
    d.integer.erase(0, 1);
  return d;
}

// Adds one unit in the last place of integer.fraction.
void incrementLast(Decimal& d) {
  for (auto it = d.fraction.rbegin(); it != d.fraction.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  for (auto it = d.integer.rbegin(); it != d.integer.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  d.integer.insert(d.integer.begin(), '1');
}

// Keeps `decimals` fraction digits, rounding half away from zero on the digits themselves.
void roundTo(Decimal& d, int decimals) {
  if (decimals >= 0) {
    const auto keep = static_cast<std::size_t>(decimals);
    if (d.fraction.size() <= keep)
      return;
    const bool up = d.fraction[keep] >= '5';
    d.fraction.resize(keep);
    if (up)
      incrementLast(d);
    return;
  }
  // Rounding to tens, hundreds...: the cut falls inside the integer part.
  const auto drop = static_cast<std::size_t>(-decimals);
  d.fraction.clear();
  if (d.integer.size() < drop) {
    d.integer.clear();
    return;
  }
  const std::size_t cut = d.integer.size() - drop;
  const bool up = d.integer[cut] >= '5';
  d.integer.resize(cut);
  if (up)
    incrementLast(d);
  d.integer.append(drop, '0');
  while (!d.integer.empty() && d.integer.front() == '0')
    d.integer.erase(0, 1);
}

bool isZero(const Decimal& d) {
  for (char c : d.integer)
    if (c != '0')
      return false;
  for (char c : d.fraction)
    if (c != '0')
      return false;
  return true;
}

struct Section {
  std::string prefix;
  std::string suffix;
  bool grouping = false;
  int minInteger = 0;
  int minDecimals = 0;
  int maxDecimals = 0;
};

bool isPlaceholder(char c) {
  return c == '#' || c == '0' || c == ',' || c == '.';
}

Section parseSection(std::string_view pattern) {
  Section s;
  std::size_t first = 0;
  while (first < pattern.size() && !isPlaceholder(pattern[first]))
    ++first;
  std::size_t last = pattern.size();
  while (last > first && !isPlaceholder(pattern[last - 1]))
    --last;
  s.prefix = std::string(pattern.substr(0, first));
  s.suffix = std::string(pattern.substr(last));
  bool afterPoint = false;
  for (std::size_t i = first; i < last; ++i) {
    const char c = pattern[i];
    if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      if (!afterPoint)
        s.grouping = true;
    } else if (c == '0') {
      if (afterPoint) {
        ++s.minDecimals;
        ++s.maxDecimals;
      } else {
        ++s.minInteger;
      }
    } else if (c == '#') {
      if (afterPoint)
        ++s.maxDecimals;
    }
  }
  return s;
}

std::string layOut(const Section& s, Decimal d) {
  roundTo(d, s.maxDecimals);
  while (static_cast<int>(d.fraction.size()) > s.minDecimals && d.fraction.back() == '0')
    d.fraction.pop_back();
  while (static_cast<int>(d.fraction.size()) < s.minDecimals)
    d.fraction.push_back('0');
  std::string integer = d.integer;
  while (static_cast<int>(integer.size()) < s.minInteger)
    integer.insert(integer.begin(), '0');
  std::string out = s.prefix;
  for (std::size_t i = 0; i < integer.size(); ++i) {
    if (s.grouping && i > 0 && (integer.size() - i) % 3 == 0)
      out.push_back(kThousandsSeparator);
    out.push_back(integer[i]);
  }
  if (!d.fraction.empty()) {
    out.push_back(kDecimalSeparator);
    out += d.fraction;
  }
  out += s.suffix;
  return out;
}

std::string generalFormat(double v) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  std::string text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '.') {
      out.push_back(kDecimalSeparator);
    } else if (c == 'e') {
      out.push_back('E');
      std::size_t j = i + 1;
      if (j < text.size() && text[j] == '-')
        out.push_back(text[j]);
      if (j < text.size() && (text[j] == '+' || text[j] == '-'))
        ++j;
      while (j + 1 < text.size() && text[j] == '0')
        ++j;
      out += text.substr(j);
      break;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::vector<std::string_view> splitSections(std::string_view pattern) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  while (sections.size() < 2) {
    const auto semicolon = pattern.find(';', start);
    if (semicolon == std::string_view::npos)
      break;
    sections.push_back(pattern.substr(start, semicolon - start));
    start = semicolon + 1;
  }
  sections.push_back(pattern.substr(start));
  return sections;
}

}  // namespace

std::string formatFloat(std::string_view pattern, double v) {
  if (std::isnan(v))
    return "NAN";
  if (std::isinf(v))
    return v < 0 ? "-INF" : "INF";
  if (pattern.empty())
    return generalFormat(v);
  const auto sections = splitSections(pattern);
  Decimal d = toDecimal(v);
  const Section positive = parseSection(sections[0]);
  Decimal rounded = d;
  roundTo(rounded, positive.maxDecimals);
  if (isZero(rounded)) {
    if (sections.size() == 3 && !sections[2].empty())
      return layOut(parseSection(sections[2]), d);
    d.negative = false;
    return layOut(positive, d);
  }
  if (d.negative && sections.size() >= 2 && !sections[1].empty()) {
    d.negative = false;
    return layOut(parseSection(sections[1]), d);
  }
  const bool negative = d.negative;
  std::string out = layOut(positive, d);
  return negative ? "-" + out : out;
}

std::optional<double> parseFloat(std::string_view text) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && isBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back()))
    text.remove_suffix(1);
  std::string ascii;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-')
      ascii.push_back('-');
    ++i;
  }
  // Integer part: digit groups separated by thousands dots.
  int digits = 0;
  int groupLength = 0;
  bool grouped = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      ascii.push_back(c);
      ++digits;
      ++groupLength;
    } else if (c == kThousandsSeparator) {
      if (groupLength == 0 || (grouped && groupLength != 3) || (!grouped && groupLength > 3))
        return std::nullopt;
      grouped = true;
      groupLength = 0;
    } else {
      break;
    }
  }
  if (grouped && groupLength != 3)
    return std::nullopt;
  if (i < text.size() && text[i] == kDecimalSeparator) {
    ascii.push_back('.');
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      ascii.push_back(text[i]);
      ++digits;
    }
  }
  if (digits == 0)
    return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ascii.push_back('e');
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
      ascii.push_back(text[i++]);
    int exponentDigits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++exponentDigits)
      ascii.push_back(text[i]);
    if (exponentDigits == 0)
      return std::nullopt;
  }
  if (i != text.size())
    return std::nullopt;
  double value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size())
    return std::nullopt;
  if (!std::isfinite(value))
    return std::nullopt;
  return value;
}

double roundDec(double v, int decimals) {
  if (!std::isfinite(v))
    return v;
  Decimal d = toDecimal(v);
  roundTo(d, decimals);
  std::string ascii = d.negative ? "-" : "";
  ascii += d.integer.empty() ? "0" : d.integer;
  if (!d.fraction.empty())
    ascii += "." + d.fraction;
  double result = 0;
  std::from_chars(ascii.data(), ascii.data() + ascii.size(), result);
  return result;
}

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

// Days since 01/01/1970 of a civil date (proleptic Gregorian calendar).
long long daysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

Date civilFromDays(long long z) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

const long long kEpochOffset = daysFromCivil(1899, 12, 30);
// 01/01/0001 and 31/12/9999 as day counts.
const double kFirstCalendarDay = static_cast<double>(daysFromCivil(1, 1, 1) - kEpochOffset);
const double kLastCalendarDay = static_cast<double>(daysFromCivil(9999, 12, 31) - kEpochOffset);

int daysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : days[month - 1];
}

// Splits a day count into whole days and milliseconds of the day, rounding to the millisecond
// (so 0.99999999999 is the next midnight, not 23:59:59). A number beyond the years 1 to 9999
// (NaN included) is taken as the nearest end of that calendar, since converting it to an
// integer would be undefined.
void split(double days, long long& wholeDays, long long& milliseconds) {
  if (std::isnan(days))
    days = 0;
  days = std::clamp(days, kFirstCalendarDay, kLastCalendarDay);
  double whole = std::trunc(days);
  milliseconds = std::llround(std::abs(days - whole) * kMillisecondsPerDay);
  if (milliseconds >= static_cast<long long>(kMillisecondsPerDay)) {
    milliseconds = 0;
    whole += days < 0 ? -1 : 1;
  }
  wholeDays = static_cast<long long>(whole);
}

std::optional<double> fixedClock;

// Reads 1..maxDigits digits at `pos`.
std::optional<int> readNumber(std::string_view text, std::size_t& pos, int maxDigits,
                              int* digitCount = nullptr) {
  int value = 0;
  int count = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && count < maxDigits) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++count;
  }
  if (count == 0)
    return std::nullopt;
  if (digitCount != nullptr)
    *digitCount = count;
  return value;
}

bool expect(std::string_view text, std::size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c)
    return false;
  ++pos;
  return true;
}

}  // namespace

bool isValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month);
}

double encodeDate(int year, int month, int day) {
  if (!isValidDate(year, month, day))
    throw std::out_of_range(fmt::format("Data impossível: {:02}/{:02}/{:04}", day, month, year));
  return static_cast<double>(
      daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) - kEpochOffset);
}

double encodeTime(int hour, int minute, int second, int millisecond) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
      millisecond < 0 || millisecond > 999)
    throw std::out_of_range(
        fmt::format("Hora impossível: {:02}:{:02}:{:02}", hour, minute, second));
  return (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + millisecond) / kMillisecondsPerDay;
}

Date decodeDate(double days) {
  long long whole = 0;
  long long ms = 0;
  split(days, whole, ms);
  return civilFromDays(whole + kEpochOffset);
}

Time decodeTime(double days) {
  long long whole = 0;
  long long ms = 0;
  split(days, whole, ms);
  Time t;
  t.millisecond = static_cast<int>(ms % 1000);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.hour = static_cast<int>(ms / 3600000);
  return t;
}

int dayOfWeek(double days) {
  long long whole = 0;
  long long ms = 0;
  split(days, whole, ms);
  return static_cast<int>(((whole - 1) % 7 + 7) % 7) + 1;
}

std::string formatDate(double days) {
  const Date d = decodeDate(days);
  return fmt::format("{:02}/{:02}/{:04}", d.day, d.month, d.year);
}

std::string formatDateTime(double days) {
  const Time t = decodeTime(days);
  if (t.hour == 0 && t.minute == 0 && t.second == 0 && t.millisecond == 0)
    return formatDate(days);
  return fmt::format("{} {:02}:{:02}:{:02}", formatDate(days), t.hour, t.minute, t.second);
}

std::optional<double> parseDate(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  std::size_t pos = 0;
  const auto day = readNumber(text, pos, 2);
  if (!day || !expect(text, pos, '/'))
    return std::nullopt;
  const auto month = readNumber(text, pos, 2);
  if (!month || !expect(text, pos, '/'))
    return std::nullopt;
  int yearDigits = 0;
  auto year = readNumber(text, pos, 4, &yearDigits);
  if (!year || yearDigits == 3)
    return std::nullopt;
  if (yearDigits <= 2)
    *year += *year < 50 ? 2000 : 1900;
  if (!isValidDate(*year, *month, *day))
    return std::nullopt;
  double result = encodeDate(*year, *month, *day);
  if (pos == text.size())
    return result;
  if (text[pos] != ' ')
    return std::nullopt;
  while (pos < text.size() && text[pos] == ' ')
    ++pos;
  const auto hour = readNumber(text, pos, 2);
  if (!hour || !expect(text, pos, ':'))
    return std::nullopt;
  const auto minute = readNumber(text, pos, 2);
  if (!minute)
    return std::nullopt;
  std::optional<int> second = 0;
  if (pos < text.size()) {
    if (!expect(text, pos, ':'))
      return std::nullopt;
    second = readNumber(text, pos, 2);
    if (!second)
      return std::nullopt;
  }
  if (pos != text.size() || *hour > 23 || *minute > 59 || *second > 59)
    return std::nullopt;
  return result + encodeTime(*hour, *minute, *second);
}

double now() {
  if (fixedClock)
    return *fixedClock;
  const auto clock = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count() %
      1000;
  std::tm local{};
  localtime_r(&seconds, &local);
  return encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         encodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                    static_cast<int>(ms < 0 ? 0 : ms));
}

double today() {
  return std::floor(now());
}

void setClockForTesting(std::optional<double> fixedNow) {
  fixedClock = fixedNow;
}

std::string invalidNumberMessage(std::string_view text) {
  return fmt::format("'{}' não é um valor numérico válido.", text);
}

std::string invalidDateMessage(std::string_view text) {
  if (parseDate(text))
    return fmt::format("A data '{}' está fora do intervalo aceito ({} a {}).", text,
                       formatDate(kFirstAcceptedDate), formatDate(kLastAcceptedDate));
  return fmt::format("'{}' não é uma data válida.", text);
}

std::optional<double> parseAcceptedDate(std::string_view text) {
  const auto days = parseDate(text);
  if (!days || *days < kFirstAcceptedDate || *days >= kLastAcceptedDate + 1)
    return std::nullopt;
  return days;
}

}  // namespace ui::regional

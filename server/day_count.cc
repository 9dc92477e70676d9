#include "server/day_count.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include <fmt/format.h>

namespace server {

namespace {

// Days between 30/12/1899 and 01/01/1970.
constexpr int kUnixEpochDay = 25569;
// 01/01/0001, the first day a civil date can show.
constexpr double kFirstCivilDay = -693'593;

}  // namespace

double dayCountOf(int year, int month, int day) {
  using namespace std::chrono;
  const sys_days date = year_month_day{std::chrono::year{year}, std::chrono::month{unsigned(month)},
                                       std::chrono::day{unsigned(day)}};
  return static_cast<double>(date.time_since_epoch().count() + kUnixEpochDay);
}

bool isAcceptedDate(double dayCount) {
  return std::isfinite(dayCount) && dayCount >= kFirstAcceptedDay &&
         dayCount < kLastAcceptedDay + 1;
}

std::string formatDate(double dayCount) {
  using namespace std::chrono;
  // Converting a number beyond the civil calendar to an integer is undefined; say so instead.
  if (!std::isfinite(dayCount) || dayCount < kFirstCivilDay || dayCount >= kLastAcceptedDay + 1)
    return "(data inválida)";
  const year_month_day date{sys_days{days{static_cast<int>(std::floor(dayCount)) - kUnixEpochDay}}};
  return fmt::format("{:02}/{:02}/{:04}", unsigned(date.day()), unsigned(date.month()),
                     int(date.year()));
}

double nowAsDayCount() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const double date = dayCountOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  const double msOfDay = ((local.tm_hour * 60.0 + local.tm_min) * 60.0 + local.tm_sec) * 1000.0 +
                         static_cast<double>(millis);
  return date + std::round(msOfDay) / 86'400'000.0;
}

}  // namespace server

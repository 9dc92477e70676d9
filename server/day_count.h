// Date-times as the packets and the database carry them: days since 30/12/1899, with the
// time of day as the fraction.
#pragma once

#include <string>

namespace server {

// The local date and time now, to the millisecond.
double nowAsDayCount();

// Day count of a civil date (no time of day).
double dayCountOf(int year, int month, int day);

// "dd/mm/yyyy" of a day count, for messages.
std::string formatDate(double dayCount);

// One millisecond as a fraction of a day: the step used to keep change times distinct.
inline constexpr double kMillisecondInDays = 1.0 / 86'400'000.0;

}  // namespace server

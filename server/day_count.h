// Date-times as the packets and the database carry them: days since 30/12/1899, with the
// time of day as the fraction.
//
// Dates that come from outside (a request's argument, a delta) must fall between 01/01/1900
// and 31/12/9999; day 0 stands for "no date" where a field may have none. Every function here
// is safe for any number, NaN and infinities included.
#pragma once

#include <string>

namespace server {

// 01/01/1900 and 31/12/9999.
inline constexpr double kFirstAcceptedDay = 2;
inline constexpr double kLastAcceptedDay = 2'958'465;

// True for a finite day count from 01/01/1900 to the last instant of 31/12/9999.
bool isAcceptedDate(double dayCount);

// The local date and time now, to the millisecond.
double nowAsDayCount();

// Day count of a civil date (no time of day).
double dayCountOf(int year, int month, int day);

// "dd/mm/yyyy" of a day count, for messages; "(data inválida)" for a number that is not a date
// of the years 1 to 9999.
std::string formatDate(double dayCount);

// One millisecond as a fraction of a day: the step used to keep change times distinct.
inline constexpr double kMillisecondInDays = 1.0 / 86'400'000.0;

}  // namespace server

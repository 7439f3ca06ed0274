#include "core/Calendar.h"

#include <cmath>
#include <tuple>

namespace velmora {

bool isGregorian(int year, int month, int day)
{
    return std::tie(year, month, day) >= std::make_tuple(1582, 10, 15);
}

bool droppedByCalendarReform(int year, int month, int day)
{
    return year == 1582 && month == 10 && day >= 5 && day <= 14;
}

int daysInMonth(int monthIndex, int year)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (monthIndex != 1)
        return kDays[monthIndex];
    // Every fourth year is a leap year in the Julian calendar, 1500 included.
    const bool leap = year <= 1582 ? year % 4 == 0
                                   : year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return leap ? 29 : 28;
}

bool dateExists(int year, int month, int day)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(month - 1, year) &&
           !droppedByCalendarReform(year, month, day);
}

long long julianDayNumber(const CalendarDate& date)
{
    const long long a = (14 - date.month) / 12;
    const long long y = static_cast<long long>(date.year) + 4800 - a;
    const long long m = date.month + 12 * a - 3;
    const auto floorDiv = [](long long n, long long d) {
        return n >= 0 ? n / d : -((-n + d - 1) / d);
    };
    const long long number = date.day + (153 * m + 2) / 5 + 365 * y + floorDiv(y, 4);
    return number + (isGregorian(date.year, date.month, date.day)
                         ? -floorDiv(y, 100) + floorDiv(y, 400) - 32045
                         : -32083);
}

CalendarDate dateOfJulianDayNumber(long long z)
{
    long long a = z;
    if (z >= 2299161) {
        const auto alpha = static_cast<long long>(std::floor((z - 1867216.25) / 36524.25));
        a = z + 1 + alpha - static_cast<long long>(std::floor(alpha / 4.0));
    }
    const long long b = a + 1524;
    const auto c = static_cast<long long>(std::floor((b - 122.1) / 365.25));
    const auto d = static_cast<long long>(std::floor(365.25 * c));
    const auto e = static_cast<long long>(std::floor((b - d) / 30.6001));
    CalendarDate date;
    date.day = static_cast<int>(b - d - static_cast<long long>(std::floor(30.6001 * e)));
    date.month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    date.year = static_cast<int>(date.month > 2 ? c - 4716 : c - 4715);
    return date;
}

} // namespace velmora

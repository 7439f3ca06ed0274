#include "core/Calendar.h"

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

} // namespace velmora

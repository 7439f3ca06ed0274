#pragma once

namespace velmora {

// A day of the calendar in use at its time; the year is astronomical (0 is 1 BC).
struct CalendarDate {
    int year = 0;
    int month = 1;
    int day = 1;
};

// Whether a date counts in the Gregorian calendar: from 15 October 1582, the day after Julian
// 4 October 1582. Lenient dates (day 0, month 13) are placed by their numbers.
bool isGregorian(int year, int month, int day);

// The ten days, 5 to 14 October 1582, that the reform dropped.
bool droppedByCalendarReform(int year, int month, int day);

// Days of a month (index 0..11) of a year: Julian leap years up to 1582, Gregorian after.
int daysInMonth(int monthIndex, int year);

// Whether the date is a day of the calendar of its time.
bool dateExists(int year, int month, int day);

// The Julian day number of a date (the day whose noon it is), Julian before 15 October 1582.
long long julianDayNumber(const CalendarDate& date);

// The calendar date of a Julian day number.
CalendarDate dateOfJulianDayNumber(long long number);

} // namespace velmora

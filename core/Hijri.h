#pragma once

#include "core/Calendar.h"
#include "core/ChartComputation.h"

#include <optional>
#include <string>

namespace velmora {

// A day of the Hijri calendar: the year after the Hijra, the month 1 (Muharram) to 12.
struct HijriDate {
    int year = 1;
    int month = 1;
    int day = 1;
};

// The Umm al-Qura calendar (ICU's "islamic-umalqura"). Its table covers the years 1300 to 1600
// AH (12 November 1882 to 25 November 2174); before and after, ICU counts the tabular civil
// calendar, so dates there may differ by a day or two from a sighted month.
inline constexpr int kUmmAlQuraFirstYear = 1300;
inline constexpr int kUmmAlQuraLastYear = 1600;

// The Hijri day of a civil date as the program counts it (Julian up to 4 October 1582,
// Gregorian from the 15th, astronomical years); nothing before 1 Muharram 1 AH (16 July 622)
// or for a date that is no day of its calendar.
std::optional<HijriDate> hijriOf(const CalendarDate& civil);

// The civil date of a Hijri day; nothing when the day does not exist (month 13, day 30 of a
// 29-day month, a year before 1): an impossible date is refused, never carried over.
std::optional<CalendarDate> civilOf(const HijriDate& hijri);

// The Hijri day of a typed row's date, read as the chart computation reads it; nothing when a
// field is no whole number or the date has no Hijri day.
std::optional<HijriDate> hijriOfRow(const DateTimeTexts& row);

// A row whose date fields are a Hijri date, with the civil date it falls on in their place;
// nothing when a field is no whole number or the Hijri date does not exist.
std::optional<DateTimeTexts> civilOfHijriRow(DateTimeTexts row);

// The Arabic name of a month 1..12 ("محرم" .. "ذو الحجة"); empty outside.
std::string hijriMonthName(int month);

// The date as the windows write it: "1 رمضان 1445 هـ".
std::string hijriText(const HijriDate& date);

// The line the chart's text gives its Hijri date in: "التاريخ الهجري 1 رمضان 1445 هـ".
std::string hijriDateLine(const HijriDate& date);

// A row's date as the panel and the listing head it, the civil date as the caption writes it
// and its Hijri day beside it: "التاريخ 2024/3/11 الموافق 1 رمضان 1445 هـ"; the civil date
// alone before the Hijra, empty when the row names no day.
std::string chartDateLine(const DateTimeTexts& row);

} // namespace velmora

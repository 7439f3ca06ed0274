#include "core/Hijri.h"

#include "core/Numbers.h"

#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>

namespace velmora {

namespace {

// Both calendars count in universal time, so a civil date and its Hijri day meet at the same
// midnight whatever the machine's zone. ICU's Gregorian calendar turns Julian before
// 15 October 1582, as the program's dates do. One pair per thread: building them is slow.
struct Calendars {
    std::unique_ptr<icu::Calendar> civil;
    std::unique_ptr<icu::Calendar> hijri;
};

Calendars* calendars()
{
    thread_local Calendars made = [] {
        UErrorCode status = U_ZERO_ERROR;
        Calendars c;
        c.civil = std::make_unique<icu::GregorianCalendar>(
            icu::TimeZone::getGMT()->clone(), status);
        c.hijri.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(),
                                                    icu::Locale("@calendar=islamic-umalqura"),
                                                    status));
        if (U_FAILURE(status))
            c = {};
        return c;
    }();
    return made.civil && made.hijri ? &made : nullptr;
}

// Sets a calendar to the given year, month and day (lenient) and reads back its moment.
std::optional<UDate> momentOf(icu::Calendar& calendar, int year, int month, int day)
{
    UErrorCode status = U_ZERO_ERROR;
    calendar.clear();
    calendar.set(UCAL_EXTENDED_YEAR, year);
    calendar.set(UCAL_MONTH, month - 1);
    calendar.set(UCAL_DATE, day);
    const UDate moment = calendar.getTime(status);
    if (U_FAILURE(status))
        return std::nullopt;
    return moment;
}

struct Fields {
    int year;
    int month;
    int day;
};

std::optional<Fields> fieldsAt(icu::Calendar& calendar, UDate moment)
{
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(moment, status);
    const Fields f{calendar.get(UCAL_EXTENDED_YEAR, status), calendar.get(UCAL_MONTH, status) + 1,
                   calendar.get(UCAL_DATE, status)};
    if (U_FAILURE(status))
        return std::nullopt;
    return f;
}

// The Hijri months met so far, by the day number (since 1970) of their first day, with their
// lengths: ICU takes microseconds to place a day in the Umm al-Qura table, and a batch of
// charts asks for the same months again and again.
struct KnownMonth {
    int year;
    int month;
    int days;
};
using KnownMonths = std::map<std::int64_t, KnownMonth>;

std::optional<Fields> hijriFieldsAt(icu::Calendar& hijri, UDate moment)
{
    thread_local KnownMonths known;
    constexpr double kDay = 86400000.0;
    const auto day = static_cast<std::int64_t>(std::floor(moment / kDay));
    auto it = known.upper_bound(day);
    if (it != known.begin()) {
        --it;
        const std::int64_t offset = day - it->first;
        if (offset < it->second.days)
            return Fields{it->second.year, it->second.month, static_cast<int>(offset + 1)};
    }
    const auto f = fieldsAt(hijri, moment);
    if (!f)
        return f;
    // Each month's length from the first day of the next one (the lenient calendar turns month
    // 13 into the next year). Placing a day costs ICU far more than placing a month's first day,
    // so the year ahead is learnt at once.
    std::int64_t first = day - (f->day - 1);
    for (int ahead = 0; ahead < 12; ++ahead) {
        const int year = f->year + (f->month - 1 + ahead) / 12;
        const int month = (f->month - 1 + ahead) % 12 + 1;
        const auto next = momentOf(hijri, year, month + 1, 1);
        if (!next)
            break;
        const auto nextFirst = static_cast<std::int64_t>(std::floor(*next / kDay));
        const std::int64_t days = nextFirst - first;
        if (days < 29 || days > 30 || (ahead == 0 && days < f->day))
            break;
        known[first] = {year, month, static_cast<int>(days)};
        first = nextFirst;
    }
    return f;
}

} // namespace

std::optional<HijriDate> hijriOf(const CalendarDate& civil)
{
    Calendars* c = calendars();
    if (!c || !dateExists(civil.year, civil.month, civil.day))
        return std::nullopt;
    // Universal midnight of the civil day: days since 1970-01-01, Julian day number 2440588.
    const auto moment = static_cast<UDate>(julianDayNumber(civil) - 2440588) * 86400000.0;
    const auto f = hijriFieldsAt(*c->hijri, moment);
    if (!f || f->year < 1)
        return std::nullopt;
    return HijriDate{f->year, f->month, f->day};
}

std::optional<CalendarDate> civilOf(const HijriDate& hijri)
{
    Calendars* c = calendars();
    if (!c || hijri.year < 1 || hijri.month < 1 || hijri.month > 12 || hijri.day < 1 ||
        hijri.day > 30)
        return std::nullopt;
    // ICU carries a day past the month's end into the next month; such a day was not one.
    const auto moment = momentOf(*c->hijri, hijri.year, hijri.month, hijri.day);
    const auto back = moment ? fieldsAt(*c->hijri, *moment) : std::nullopt;
    if (!back || back->year != hijri.year || back->month != hijri.month || back->day != hijri.day)
        return std::nullopt;
    const auto f = fieldsAt(*c->civil, *moment);
    if (!f)
        return std::nullopt;
    return CalendarDate{f->year, f->month, f->day};
}

std::optional<HijriDate> hijriOfRow(const DateTimeTexts& row)
{
    const auto year = wholeInt16(row.year);
    const auto month = wholeInt16(row.month);
    const auto day = wholeInt16(row.day);
    if (!year || !month || !day)
        return std::nullopt;
    return hijriOf({*year, *month, *day});
}

std::optional<DateTimeTexts> civilOfHijriRow(DateTimeTexts row)
{
    const auto year = wholeInt16(row.year);
    const auto month = wholeInt16(row.month);
    const auto day = wholeInt16(row.day);
    const auto civil = year && month && day ? civilOf({*year, *month, *day}) : std::nullopt;
    if (!civil)
        return std::nullopt;
    row.year = std::to_string(civil->year);
    row.month = std::to_string(civil->month);
    row.day = std::to_string(civil->day);
    return row;
}

std::string hijriMonthName(int month)
{
    static const std::array<const char*, 12> kNames = {
        "محرم",  "صفر",  "ربيع الأول", "ربيع الآخر", "جمادى الأولى", "جمادى الآخرة",
        "رجب",   "شعبان", "رمضان",      "شوال",       "ذو القعدة",    "ذو الحجة",
    };
    return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

std::string hijriText(const HijriDate& date)
{
    return std::to_string(date.day) + " " + hijriMonthName(date.month) + " " +
           std::to_string(date.year) + " هـ";
}

std::string hijriDateLine(const HijriDate& date)
{
    return "التاريخ الهجري " + hijriText(date);
}

std::string chartDateLine(const DateTimeTexts& row)
{
    const auto year = wholeInt16(row.year);
    const auto month = wholeInt16(row.month);
    const auto day = wholeInt16(row.day);
    if (!year || !month || !day || !dateExists(*year, *month, *day))
        return {};
    const auto hijri = hijriOf({*year, *month, *day});
    return "التاريخ " + std::to_string(*year) + "/" + std::to_string(*month) + "/" +
           std::to_string(*day) + (hijri ? " الموافق " + hijriText(*hijri) : "");
}

} // namespace velmora

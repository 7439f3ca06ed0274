#include "core/PositionTexts.h"

#include "core/ChartComputation.h"
#include "core/Numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>
#include <cmath>

namespace velmora {

namespace {

// Each sign text ends with one space.
const std::array<const char*, 12> kSignTexts = {
    "من برج الحمل ",   "من برج الثور ",  "من برج الجوزاء ", "من برج السرطان ",
    "من برج الأسد ",   "من برج السنبلة ", "من برج الميزان ", "من برج العقرب ",
    "من برج القوس ",   "من برج الجدي ",  "من برج الدالي ",  "من برج الحوت ",
};

// Each house label starts and ends with one space.
const std::array<const char*, 12> kHouseLabels = {
    " الطالع في ",        " البيت الثاني في ",  " البيت الثالث في ",     " وتد الأرض في ",
    " البيت الخامس في ",  " البيت السادس في ",  " الغارب في ",           " البيت الثامن في ",
    " البيت التاسع في ",  " وسط السماء في ",    " البيت الحادي عشر في ", " البيت الثاني عشر في ",
};

const std::array<const char*, 24> kPointLabels = {
    "الشمس في ",          "القمر في ",          "عطارد في ",           "الزهرة في ",
    "المريخ في ",         "المشتري في ",        "زحل في ",             "أورانوس في ",
    "نيبتون في ",         "بلوطون في ",         "العقدة الشمالية في ", "القمر الأسود في ",
    "شمس التحويل في ",    "قمر التحويل في ",    "عطارد التحويل في ",   "زهرة التحويل في ",
    "مريخ التحويل في ",   "مشتري التحويل في ",  "زحل التحويل في ",     "أورانوس التحويل في ",
    "نيبتون التحويل في ", "بلوطون التحويل في ", "عقدة التحويل الشمالية في ",
    "قمر التحويل الأسود في ",
};

const std::array<const char*, 12> kHouseNames = {
    " الطالع",       " البيت الثاني", " البيت الثالث",     " وتد الأرض",
    " البيت الخامس", " البيت السادس", " الغارب",           " البيت الثامن",
    " البيت التاسع", " وسط السماء",   " البيت الحادي عشر", " البيت الثاني عشر",
};

// Degrees, minutes and seconds, each truncated, written into one buffer and appended once:
// tables and batches write thousands. Degree parts are small, so the integer path serves every
// text a table fills; the general one is only a guard for huge or undefined values.
void appendDegrees(std::string& out, float x)
{
    const float d = truncateTowardZero(x);
    const float m = (x - d) * 60.0f;
    const float s = (m - truncateTowardZero(m)) * 60.0f;
    char buffer[192]; // three floats in fixed notation at most, with their marks
    char* at = buffer;
    const auto whole = [&at](float value, std::string_view mark) {
        if (std::fabs(value) < 1e9f) {
            at = std::to_chars(at, at + 16, static_cast<long>(value)).ptr;
        } else {
            const std::string text = numberText(value);
            at = std::copy(text.begin(), text.end(), at);
        }
        at = std::copy(mark.begin(), mark.end(), at);
    };
    whole(d, "°");
    whole(truncateTowardZero(m), "'");
    whole(truncateTowardZero(s), "''");
    out.append(buffer, at);
}

void appendDegreesInSign(std::string& out, float longitude,
                         const std::array<const char*, 12>& signNames)
{
    const int k = signOfLongitude(longitude);
    if (k == 0)
        return;
    appendDegrees(out, longitude - 30.0f * static_cast<float>(k - 1));
    out += signNames[k - 1];
}

} // namespace

std::string formatDegrees(float x)
{
    std::string text;
    // Room for the sign's name that usually follows.
    text.reserve(64);
    appendDegrees(text, x);
    return text;
}

std::string degreesInSignText(float longitude, const std::array<const char*, 12>& signNames)
{
    std::string text;
    text.reserve(64);
    appendDegreesInSign(text, longitude, signNames);
    return text;
}

std::string signPositionText(float longitude)
{
    return degreesInSignText(longitude, kSignTexts);
}

void appendSignPositionText(std::string& out, float longitude)
{
    appendDegreesInSign(out, longitude, kSignTexts);
}

std::string signName(int sign)
{
    if (sign < 1 || sign > 12)
        return {};
    // The position's sign text without its leading "من " and trailing space.
    const std::string text = kSignTexts[sign - 1];
    const std::size_t from = text.find(' ') + 1;
    return text.substr(from, text.size() - from - 1);
}

std::string housePositionText(const std::string& position, int house)
{
    if (house < 0 || house > 11)
        return {};
    return kHouseLabels[house] + position;
}

const char* numberedCuspName(int cusp, HouseSystem system)
{
    static const std::array<const char*, 4> names = {"البيت الأول", "البيت الرابع", "البيت السابع",
                                                     "البيت العاشر"};
    const bool angleCusp = cusp == 0 || cusp == 3 || cusp == 6 || cusp == 9;
    return angleCusp && !cuspIsAngle(system, cusp) ? names[cusp / 3] : nullptr;
}

std::string cuspPositionText(const std::string& position, int house, HouseSystem system)
{
    if (const char* name = numberedCuspName(house, system))
        return std::string(" ") + name + " في " + position;
    return housePositionText(position, house);
}

std::string pointLabel(int slot)
{
    if (slot < 0 || slot >= static_cast<int>(kPointLabels.size()))
        return {};
    return kPointLabels[slot];
}

std::string houseName(int house)
{
    if (house < 1 || house > 12)
        return {};
    return kHouseNames[house - 1];
}

std::string chartTitle(const std::string& name, const DateTimeTexts& firstRow)
{
    // The hour as the computation reads it; a row that reads as no hour was refused before.
    const int hour = wholeInt16(firstRow.hour).value_or(0);
    return "ل" + name + firstRow.year + "/" + firstRow.month + "/" + firstRow.day + "   " +
           firstRow.minute + ":" + numberText(hour);
}

std::string chartCaption(ChartKind kind, const std::string& title)
{
    return std::string(chartKindInfo(kind).name) + " " + title;
}

std::string horaryCaption(int day, int month, int year, int hour, int minute)
{
    return "هيئة لتاريخ " + numberText(day) + "/" + numberText(month) + "/" + numberText(year) +
           "   " + numberText(minute) + ":" + numberText(hour);
}

} // namespace velmora

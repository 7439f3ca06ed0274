#include "core/Ephemerides.h"

#include "core/ChartComputation.h"
#include "core/ChartState.h"
#include "core/Hijri.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>

namespace velmora {

namespace {

constexpr int kAspectColumns = 60;
const char* const kRetrograde = "راجع ";
const char* const kGlyphs = "abcdefghijln";

const std::array<const char*, 13> kPlanetHeaders = {
    "الكواكب/الأيام", "الشمس", "القمر", "عطارد", "الزهرة", "المريخ", "المشتري",
    "زحل", "أورانوس", "نبتون", "بلتون", "الرأس", "القمر الأسود",
};

const std::array<const char*, 13> kHouseHeaders = {
    "الكواكب/البيوت", "الطالع",       "البيت الثاني", "البيت الثالث",    "وتد الأرض",
    "البيت الخامس",   "البيت السادس", "البيت السابع", "البيت الثامن",    "البيت التاسع",
    "وسط السماء",     "البيت الحادي عشر", "البيت الثاني عشر",
};

const std::array<const char*, 12> kSignNames = {
    "الحمل ", "الثور ", "الجوزاء ", "السرطان ", "الأسد ", "السنبلة ",
    "الميزان ", "العقرب ", "القوس ", "الجدي ", "الدالي ", "الحوت ",
};

// In the order the cells are written; each test is independent of the others.
const std::array<std::pair<AspectKind, const char*>, kAspectKindCount> kAspectTexts = {{
    {AspectKind::Conjunction, " v "},
    {AspectKind::Sextile, " z "},
    {AspectKind::Square, " x "},
    {AspectKind::Opposition, " w "},
    {AspectKind::Trine, " y "},
}};

std::string positionText(float value, bool zodiacal)
{
    return zodiacal ? cnvtNumToSigne(value) : decimalLongitudeText(value);
}

std::string csvCell(const std::string& cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string::npos)
        return cell;
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace

std::string cnvtNumToSigne(float longitude)
{
    return degreesInSignText(longitude, kSignNames);
}

std::string decimalLongitudeText(float longitude)
{
    if (longitude == 0.0f || !std::isfinite(longitude))
        return numberText(longitude);
    const int integerDigits = static_cast<int>(std::floor(std::log10(std::fabs(longitude)))) + 1;
    const int decimals = std::max(0, 7 - integerDigits);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(longitude));
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

EphemeridesTable blankEphemeridesTable(EphemerisTableKind kind, int rows)
{
    EphemeridesTable table;
    const bool aspects = kind == EphemerisTableKind::Aspects;
    table.fixedRows = aspects ? 0 : 1;
    table.cells.assign(rows, std::vector<std::string>(aspects ? kAspectColumns : 13));
    if (!aspects && rows > 0) {
        const auto& headers = kind == EphemerisTableKind::Planets ? kPlanetHeaders : kHouseHeaders;
        for (int c = 0; c < 13; ++c)
            table.cells[0][c] = headers[c];
    }
    return table;
}

std::string ephemeridesTableText(const EphemeridesTable& table, TableTextForm form)
{
    const bool csv = form == TableTextForm::Csv;
    std::string out;
    for (const auto& row : table.cells) {
        std::size_t end = row.size();
        if (!csv) {
            while (end > 0 && row[end - 1].empty())
                --end;
        }
        for (std::size_t c = 0; c < end; ++c) {
            if (c)
                out += csv ? "," : "\t";
            out += csv ? csvCell(row[c]) : row[c];
        }
        out += "\n";
    }
    return out;
}

namespace {

// Follows the day of a houses row whose cusps are Porphyry ones.
constexpr const char* kPorphyryMark = "*";

// The twelve points' longitudes and speeds of one day, the library closed after them.
struct DayPositions {
    std::array<float, kPointsPerChart> longitude{};
    std::array<float, kPointsPerChart> speed{};
};

std::optional<EphemerisFailure> dayPositions(EphemerisApi& ephemeris, double jdEt,
                                             DayPositions& day)
{
    for (int i = 0; i < kPointsPerChart; ++i) {
        const BodyPosition body = ephemeris.bodyPosition(jdEt, kBodyOfSlot[i]);
        if (!body.ok) {
            ephemeris.close();
            return body.failure;
        }
        day.longitude[i] = static_cast<float>(body.longitude);
        day.speed[i] = static_cast<float>(body.speed);
    }
    ephemeris.close();
    return std::nullopt;
}

void fillPlanetsRow(std::vector<std::string>& row, const DayPositions& day, bool zodiacal)
{
    for (int i = 0; i < kPointsPerChart; ++i) {
        std::string text = positionText(day.longitude[i], zodiacal);
        // The black moon's speed is not kept, so it never shows the mark.
        if (i != kBlackMoonSlot && day.speed[i] < 0.0f)
            text += kRetrograde;
        row[i + 1] = std::move(text);
    }
}

void fillAspectsRow(EphemeridesTable& table, int r, const DayPositions& day,
                    const AspectOrbs& orbs)
{
    std::size_t column = 1;
    for (int i = 0; i < kPointsPerChart - 1; ++i) {
        for (int j = i + 1; j < kPointsPerChart; ++j) {
            const float delta = std::fabs(day.longitude[i] - day.longitude[j]);
            for (const auto& [kind, text] : kAspectTexts) {
                if (!aspectHolds(kind, delta, static_cast<float>(orbs.of(kind))))
                    continue;
                // A crowded day gets the columns it needs.
                if (column >= table.cells[r].size()) {
                    for (auto& other : table.cells)
                        other.resize(column + 1);
                }
                table.cells[r][column++] = std::string(1, kGlyphs[i]) + text + kGlyphs[j];
            }
        }
    }
}

// The month's cusps stay in this table; the chart state's cusps are not touched.
std::optional<EphemerisFailure> fillHousesRow(EphemeridesResult& result, int r,
                                              const EphemeridesInput& input,
                                              EphemerisApi& ephemeris, double jdUt)
{
    const HouseCusps cusps =
        ephemeris.houseCusps(jdUt, input.latitude, input.longitude, input.houses);
    ephemeris.close();
    if (!cusps.ok)
        return cusps.failure;
    std::vector<std::string>& row = result.table.cells[r];
    for (int h = 1; h <= 12; ++h)
        row[h] = positionText(storedCusp(cusps.cusps[h]), input.zodiacal);
    if (cusps.system != input.houses) {
        row[0] += kPorphyryMark;
        result.houseNote = std::string(kPorphyryMark) + " البيوت" + porphyryFallbackText(input.houses);
    }
    return std::nullopt;
}

} // namespace

EphemeridesResult runEphemerides(const EphemeridesInput& input, EphemerisApi& ephemeris,
                                 const DayProgress& progress)
{
    EphemeridesResult result;
    const auto year = toInt16(leadingNumber(input.yearText));
    const auto hourUt =
        universalTimeHour(leadingNumber(input.hourText), {input.zoneText, input.summerText});
    if (!year || !hourUt || input.monthIndex < 0 || input.monthIndex > 11) {
        result.failure.problem = EphemerisProblem::InputOutOfRange;
        return result;
    }
    const int month = input.monthIndex + 1;
    // The days that exist, each with its civil date: October 1582 goes from the 4th to the
    // 15th, and a Hijri month has 29 or 30 days, across two civil months.
    std::vector<std::pair<int, CalendarDate>> monthDays;
    for (int d = 1; d <= (input.hijri ? 30 : daysInMonth(input.monthIndex, *year)); ++d) {
        if (input.hijri) {
            if (const auto civil = civilOf({*year, month, d}))
                monthDays.push_back({d, *civil});
        } else if (dateExists(*year, month, d)) {
            monthDays.push_back({d, {*year, month, d}});
        }
    }
    const int days = static_cast<int>(monthDays.size());
    if (days == 0) {
        result.failure.problem = EphemerisProblem::InputOutOfRange;
        return result;
    }

    // A fresh table each run: nothing of an earlier month is left in it.
    EphemeridesTable& table = result.table;
    table = blankEphemeridesTable(input.table, days + 1);
    const bool aspects = input.table == EphemerisTableKind::Aspects;
    table.fontName = aspects ? "VelmoraFonts" : "";
    for (int d = 1; d <= days; ++d)
        table.cells[aspects ? d - 1 : d][0] = numberText(monthDays[d - 1].first);
    // Equal and whole-sign cusps that are not the angles go by their house's number.
    for (int cusp = 0; input.table == EphemerisTableKind::Houses && cusp < 12; ++cusp) {
        if (const char* name = numberedCuspName(cusp, input.houses))
            table.cells[0][cusp + 1] = name;
    }

    // d counts the table's days; a failure names the day of the month.
    for (int d = 1; d <= days; ++d) {
        const auto& [day, civil] = monthDays[d - 1];
        const double jdUt = ephemeris.julianDay(civil.year, civil.month, civil.day, *hourUt,
                                                isGregorian(civil.year, civil.month, civil.day));
        const double jdEt = jdUt + ephemeris.deltaT(jdUt);
        std::optional<EphemerisFailure> failure;
        if (input.table == EphemerisTableKind::Houses) {
            failure = fillHousesRow(result, d, input, ephemeris, jdUt);
        } else {
            DayPositions positions;
            failure = dayPositions(ephemeris, jdEt, positions);
            if (!failure && aspects)
                fillAspectsRow(table, d - 1, positions, input.orbs);
            else if (!failure)
                fillPlanetsRow(table.cells[d], positions, input.zodiacal);
        }
        if (failure) {
            result.failure = *failure;
            result.failedDay = day;
            return result;
        }
        if (progress)
            progress(d, days);
    }
    result.ok = true;
    result.days = days;
    return result;
}

} // namespace velmora

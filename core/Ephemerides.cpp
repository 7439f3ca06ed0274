#include "core/Ephemerides.h"

#include "core/ChartComputation.h"
#include "core/ChartState.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"

#include <array>
#include <cmath>
#include <cstdio>

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

std::string failure(int day, const std::string& reason)
{
    return "day " + std::to_string(day) + ": " + reason;
}

} // namespace

int daysInMonth(int monthIndex, int year)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (monthIndex != 1)
        return kDays[monthIndex];
    // The library counts days of the Julian calendar before 1582, where every fourth year
    // is a leap year, 1500 included.
    const bool leap = year < 1582 ? year % 4 == 0
                                  : year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return leap ? 29 : 28;
}

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

EphemeridesResult runEphemerides(const EphemeridesInput& input, EphemerisApi& ephemeris,
                                 const DayProgress& progress)
{
    EphemeridesResult result;
    const auto year = toInt16(leadingNumber(input.yearText));
    if (!year || input.monthIndex < 0 || input.monthIndex > 11) {
        result.error = "year or month out of range";
        return result;
    }
    const int days = daysInMonth(input.monthIndex, *year);
    const bool gregorian = *year >= 1582;
    const double hourUt =
        leadingNumber(input.hourText) - leadingNumber(input.zoneText) - leadingNumber(input.summerText);

    // A fresh table each run: nothing of an earlier month is left in it.
    EphemeridesTable& table = result.table;
    table = blankEphemeridesTable(input.table, days + 1);
    const bool aspects = input.table == EphemerisTableKind::Aspects;
    table.fontName = aspects ? "VelmoraFonts" : "";
    for (int d = 1; d <= days; ++d)
        table.cells[aspects ? d - 1 : d][0] = numberText(d);

    std::array<float, 12> positions{};
    for (int d = 1; d <= days; ++d) {
        const double jdUt = ephemeris.julianDay(*year, input.monthIndex + 1, d, hourUt, gregorian);
        const double jdEt = jdUt + ephemeris.deltaT(jdUt);

        if (input.table == EphemerisTableKind::Houses) {
            const HouseCusps cusps = ephemeris.placidusCusps(jdUt, input.latitude, input.longitude);
            ephemeris.close();
            if (!cusps.ok) {
                result.error = failure(d, cusps.error);
                return result;
            }
            // The month's cusps stay in this table; the chart state's cusps are not touched.
            for (int h = 1; h <= 12; ++h)
                table.cells[d][h] = positionText(storedCusp(cusps.cusps[h]), input.zodiacal);
        } else {
            for (int i = 0; i < 12; ++i) {
                const BodyPosition body = ephemeris.bodyPosition(jdEt, kBodyOfSlot[i]);
                if (!body.ok) {
                    ephemeris.close();
                    result.error = failure(d, body.error);
                    return result;
                }
                positions[i] = static_cast<float>(body.longitude);
                if (input.table == EphemerisTableKind::Planets) {
                    std::string text = positionText(positions[i], input.zodiacal);
                    // The black moon's speed is not kept, so it never shows the mark.
                    if (i != kBlackMoonSlot && static_cast<float>(body.speed) < 0.0f)
                        text += kRetrograde;
                    table.cells[d][i + 1] = std::move(text);
                }
            }
            ephemeris.close();

            if (aspects) {
                std::vector<std::string>& row = table.cells[d - 1];
                std::size_t column = 1;
                for (int i = 0; i < 11; ++i) {
                    for (int j = i + 1; j < 12; ++j) {
                        const float delta = std::fabs(positions[i] - positions[j]);
                        for (const auto& [kind, text] : kAspectTexts) {
                            if (!aspectHolds(kind, delta, static_cast<float>(input.orbs.of(kind))))
                                continue;
                            // A crowded day gets the columns it needs.
                            if (column >= row.size()) {
                                for (auto& r : table.cells)
                                    r.resize(column + 1);
                            }
                            row[column++] = std::string(1, kGlyphs[i]) + text + kGlyphs[j];
                        }
                    }
                }
            }
        }
        if (progress)
            progress(d, days);
    }
    result.ok = true;
    result.days = days;
    return result;
}

} // namespace velmora

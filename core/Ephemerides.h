#pragma once

#include "core/Aspects.h"
#include "core/Calendar.h"
#include "core/Ephemeris.h"

#include <functional>
#include <string>
#include <vector>

namespace velmora {

enum class EphemerisTableKind { Planets = 0, Houses = 1, Aspects = 2 };

// One month's run, as the ephemerides window and the place picker hold it.
struct EphemeridesInput {
    int monthIndex = 0;         // 0 January .. 11 December, or Muharram .. Dhu al-Hijja
    std::string yearText;       // negative before Christ
    std::string hourText;       // local clock hour
    EphemerisTableKind table = EphemerisTableKind::Planets;
    bool zodiacal = true;       // else decimal longitudes
    std::string zoneText;       // hours east of Greenwich
    std::string summerText;     // summer-time hours
    float latitude = 0.0f;      // degrees, north positive
    float longitude = 0.0f;     // degrees, east positive
    AspectOrbs orbs;
    HouseSystem houses = HouseSystem::Placidus; // of the houses table
    bool hijri = false; // the month and year are an Umm al-Qura month, whose days are the rows
};

// A table of text cells addressed [row][column], with its fixed header rows and columns.
struct EphemeridesTable {
    int fixedRows = 0;
    int fixedColumns = 1;
    std::string fontName; // the symbol font for the aspects table, else empty
    std::vector<std::vector<std::string>> cells;

    int rowCount() const { return static_cast<int>(cells.size()); }
    int columnCount() const { return cells.empty() ? 0 : static_cast<int>(cells[0].size()); }
};

struct EphemeridesResult {
    bool ok = false;
    EphemerisFailure failure; // when !ok
    int failedDay = 0;        // the day of the month that failed, when the library failed
    int days = 0;             // the days of the table: 21 in October 1582
    // Houses table: set when some days' cusps are Porphyry ones (Placidus undefined at the
    // latitude); those days are marked with a star, which this Arabic line explains.
    std::string houseNote;
    EphemeridesTable table;
};

// Called after each day with its row (1..days) and the number of days.
using DayProgress = std::function<void(int day, int days)>;

// Computes the table of one month from scratch.
EphemeridesResult runEphemerides(const EphemeridesInput& input, EphemerisApi& ephemeris,
                                 const DayProgress& progress = {});

// The table of a kind as it stands before any run: `rows` rows (the header row of the planets
// and houses tables included) with every cell but the headers empty.
EphemeridesTable blankEphemeridesTable(EphemerisTableKind kind, int rows);

enum class TableTextForm { Tabs, Csv };

// A table as text, one line per row: cells separated by tabs with the empty cells at a row's
// end left out, or every cell as CSV (quoted where it holds a comma, a quote or a line break).
std::string ephemeridesTableText(const EphemeridesTable& table, TableTextForm form);

// Degrees within the sign followed by the sign's bare name; empty outside 0..360.
std::string cnvtNumToSigne(float longitude);

// A longitude in at most seven significant digits: 123.45678 gives 123.4568.
std::string decimalLongitudeText(float longitude);

} // namespace velmora

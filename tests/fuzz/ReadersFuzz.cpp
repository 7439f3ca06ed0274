// The readers of the dialogs' texts: a row is stored as its whole numbers or refused with the
// state untouched, no text gives an infinite place or zone, and a chart is computed only with
// a zone and correction within a day of Greenwich. Lines: day, month, year, hour, minute,
// longitude degrees and minutes, latitude degrees and minutes, hemispheres (W, S), zone, summer.
#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "tests/core/FakeEphemeris.h"
#include "tests/fuzz/FuzzSupport.h"

#include <array>
#include <cmath>

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> f = fuzz::lines(data, size);
    f.resize(12);
    const DateTimeTexts row{f[0], f[1], f[2], f[3], f[4]};
    const PlaceInput place{f[5], f[6], f[7], f[8], f[9].find('W') != std::string::npos,
                           f[9].find('S') != std::string::npos};
    const ZoneInput zone{f[10], f[11]};

    ChartState state;
    const PlaceReading reading = readPlace(state, place);
    FUZZ_REQUIRE(std::isfinite(state.PlaceLatitude) && std::isfinite(state.PlaceLongitude));
    FUZZ_REQUIRE(std::isfinite(reading.markX) && std::isfinite(reading.markY));
    // The zone derived from the longitude is a whole number on the longitude's side.
    const auto derivedZone = wholeNumberText(reading.zoneText);
    FUZZ_REQUIRE(derivedZone && *derivedZone == std::trunc(*derivedZone));
    FUZZ_REQUIRE(*derivedZone * state.PlaceLongitude >= 0);

    // A row is stored as its whole numbers, or refused with the state untouched.
    const DateTimeReading read = readDateTime(state, row, place);
    const std::array<std::int16_t, 5> stored = {state.ChartDay, state.ChartMonth, state.ChartYear,
                                                state.ChartHour, state.ChartMinute};
    const std::string* texts[] = {&row.day, &row.month, &row.year, &row.hour, &row.minute};
    for (int i = 0; i < 5; ++i) {
        const auto number = wholeNumberText(*texts[i]);
        FUZZ_REQUIRE(read.error ? stored[i] == 0 : number && toInt16(*number) == stored[i]);
    }
    FUZZ_REQUIRE(read.error || !droppedByCalendarReform(stored[2], stored[1], stored[0]));

    testing::FakeEphemeris ephemeris;
    const bool withinADay = std::fabs(leadingNumber(zone.zoneText)) <= 24 &&
                            std::fabs(leadingNumber(zone.summerText)) <= 24;
    const auto computed = computeChart(state, 0, zone, ephemeris);
    FUZZ_REQUIRE(computed.ok == withinADay && (withinADay || ephemeris.calls.empty()));
    for (const double hour : ephemeris.hours)
        FUZZ_REQUIRE(std::isfinite(hour));
    return 0;
}

// The readers of typed texts. Every line is read as a number; then the lines are a row and a
// place of the dialogs: a row is stored as its whole numbers or refused with the state untouched,
// no text gives an infinite place or zone, and a chart is computed only with a zone and
// correction within a day of Greenwich. Lines: day, month, year, hour, minute, longitude degrees
// and minutes, latitude degrees and minutes, hemispheres (W, S), zone, summer.
#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "tests/core/FakeEphemeris.h"
#include "tests/fuzz/FuzzSupport.h"

#include <array>
#include <cmath>

using namespace velmora;

namespace {

// Whether the leading number's whole part, as a person reads it, has a digit other than 0.
bool wholePartNonZero(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i != std::string::npos && (text[i] == '-' || text[i] == '+'))
        ++i;
    // A digit other than 0 before the first character that is neither a digit nor a blank.
    return text.find_first_of("123456789", i) < text.find_first_not_of("0123456789 \t", i);
}

// A number is read as itself, as an infinity when too large for a double, never as 0 while its
// whole part has a digit other than 0 and never beyond 1 while it has none (what underflows is
// 0); it is written back in plain digits.
void checkNumber(const std::string& text)
{
    const double value = leadingNumber(text);
    FUZZ_REQUIRE(!std::isnan(value));
    FUZZ_REQUIRE(wholePartNonZero(text) ? std::fabs(value) >= 1.0 : std::fabs(value) <= 1.0);
    if (const auto whole = wholeNumberText(text))
        FUZZ_REQUIRE(*whole == value);
    if (const auto rounded = toInt16(value))
        FUZZ_REQUIRE(std::fabs(*rounded - value) <= 0.5);
    else
        FUZZ_REQUIRE(!std::isfinite(value) || std::fabs(value) > 32767);

    if (std::isfinite(value)) {
        const std::string written = numberText(value);
        FUZZ_REQUIRE(written.find_first_not_of("-.0123456789") == std::string::npos);
        FUZZ_REQUIRE(leadingNumber(written) == value);
        const float degrees = static_cast<float>(std::fmod(value, 1e30));
        const double minutes = leadingNumber(minutesText(degrees));
        FUZZ_REQUIRE(minutes >= 0 && minutes < 60);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> f = fuzz::lines(data, size);
    for (const std::string& line : f)
        checkNumber(line);
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

#include "core/ChartRequest.h"

#include "core/Calendar.h"
#include "core/Numbers.h"

#include <array>

namespace velmora {

std::optional<DateTimeError> rowFault(const DateTimeTexts& row)
{
    const struct {
        DateTimeField field;
        const std::string& text;
        int low;
        int high;
    } checks[] = {
        {DateTimeField::Hour, row.hour, 0, 23},     {DateTimeField::Minute, row.minute, 0, 59},
        {DateTimeField::Day, row.day, 1, 31},       {DateTimeField::Month, row.month, 1, 12},
        {DateTimeField::Year, row.year, -20000, 20000},
    };
    std::array<int, 5> values{};
    for (std::size_t k = 0; k < values.size(); ++k) {
        const auto& check = checks[k];
        const auto value = wholeInt16(check.text);
        if (!value)
            return DateTimeError{check.field, check.text, DateTimeProblem::NotAWholeNumber};
        if (*value < check.low || *value > check.high)
            return DateTimeError{check.field, check.text, DateTimeProblem::OutOfRange};
        values[k] = *value;
    }
    const int day = values[2];
    const int month = values[3];
    const int year = values[4];
    if (droppedByCalendarReform(year, month, day))
        return DateTimeError{DateTimeField::Year, row.year, DateTimeProblem::DroppedByCalendarReform};
    if (!dateExists(year, month, day))
        return DateTimeError{DateTimeField::Day, row.day, DateTimeProblem::NoSuchDay};
    return std::nullopt;
}

PlaceDegrees placeDegrees(const PlaceInput& place)
{
    const auto degrees = [](const std::string& whole, const std::string& minutes, bool negative) {
        return (negative ? -1 : 1) * (leadingNumber(whole) + leadingNumber(minutes) / 60.0);
    };
    return {degrees(place.latDeg, place.latMin, place.south),
            degrees(place.lonDeg, place.lonMin, place.west)};
}

RowZone firstRowZone(const ChartRequest& request, const LegalSummerLookup& legalSummer)
{
    RowZone out;
    const double longitude = placeDegrees(request.place.coordinates).longitude;
    out.zone = request.zoneText ? leadingNumber(*request.zoneText) : zoneFromLongitude(longitude);
    out.summer = leadingNumber(request.place.summerText);
    if (request.place.atlas && !request.place.summerGiven && legalSummer) {
        const DateTimeTexts& t = request.first.texts;
        const RowClock clock{static_cast<int>(leadingNumber(t.year)),
                             static_cast<int>(leadingNumber(t.month)),
                             static_cast<int>(leadingNumber(t.day)),
                             static_cast<int>(leadingNumber(t.hour)),
                             static_cast<int>(leadingNumber(t.minute))};
        if (auto legal = legalSummer(*request.place.atlas, clock, static_cast<int>(out.zone)))
            out.summer = *legal;
    }
    return out;
}

RequestResult computeRequest(ChartState& state, const ChartRequest& request,
                             EphemerisApi& ephemeris, const LegalSummerLookup& legalSummer)
{
    RequestResult result;
    const RequestRow* rows[] = {&request.first, request.second ? &*request.second : nullptr};
    const int count = request.second ? 2 : 1;
    for (int row = 0; row < count; ++row) {
        if (auto fault = rowFault(rows[row]->texts)) {
            result.failure.problem = RequestProblem::Field;
            result.failure.row = row;
            result.failure.field = std::move(*fault);
            return result;
        }
    }

    const RequestPlace& place = request.place;
    const bool legal = place.atlas && !place.summerGiven && legalSummer;
    ChartState next = state;
    for (int row = 0; row < count; ++row) {
        const DateTimeReading reading = readDateTime(next, rows[row]->texts, place.coordinates);
        RowOutcome& outcome = result.rows[row];
        outcome.zoneText = request.zoneText.value_or(reading.place.zoneText);
        std::string summerText = place.summerText;
        if (legal) {
            const auto summer = legalSummer(
                *place.atlas,
                {next.ChartYear, next.ChartMonth, next.ChartDay, next.ChartHour, next.ChartMinute},
                static_cast<int>(leadingNumber(outcome.zoneText)));
            if (!summer) {
                result.failure.problem = RequestProblem::UnknownTimeZone;
                result.failure.row = row;
                return result;
            }
            summerText = numberText(*summer);
        }
        outcome.summerHours = leadingNumber(summerText);
        const ChartComputationResult computed =
            computeChart(next, row, {outcome.zoneText, summerText}, ephemeris);
        if (!computed.ok) {
            // The year's fault, as the data entry tells it.
            result.failure.problem = RequestProblem::Ephemeris;
            result.failure.row = row;
            result.failure.field.text = rows[row]->texts.year;
            result.failure.ephemeris = computed.failure;
            return result;
        }
        outcome.jdUt = computed.jdUt;
        if (row == 0)
            classifyPoints(next);
    }
    state = std::move(next);
    result.ok = true;
    return result;
}

} // namespace velmora

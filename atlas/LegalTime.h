#pragma once

#include <optional>
#include <string>

namespace velmora::atlas {

// A date and time on the clocks of a place (proleptic Gregorian calendar).
struct LocalMoment {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// How the clocks of the zone treat the local moment.
enum class ClockChange {
    None,     // the moment exists once
    Skipped,  // the clocks jumped over it
    Repeated, // the clocks went back over it
};

struct LegalOffset {
    int seconds = 0; // local time minus universal time
    ClockChange change = ClockChange::None;
    bool localMeanTime = false; // before the zone's standard time: its reference city's mean time
};

// The offset from universal time that the law of `zone` (an IANA name of the system's time-zone
// database) gave its clocks at a local moment. A moment the clocks skipped or repeated takes the
// offset in force before the change. Nothing when the database does not know the zone.
std::optional<LegalOffset> legalOffset(const std::string& zone, const LocalMoment& local);

// The legal offset of a place of the zone at a local moment: the zone's law, except before
// the zone adopted standard time, when a town kept its own local mean time (its east longitude
// / 15 hours, to the second) rather than the zone's reference city's.
std::optional<LegalOffset> placeLegalOffset(const std::string& zone, double eastLongitude,
                                            const LocalMoment& local);

// The legal offset of a place of the zone, in hours, at a moment of universal time given as a
// Julian day; before standard time, the town's own mean time. Nothing when the database does
// not know the zone.
std::optional<double> placeOffsetHoursAt(const std::string& zone, double eastLongitude,
                                         double jdUt);

// The summer-time correction of a place at the local date and time of a chart row, in hours
// added to the zone the longitude gives (placeLegalOffset - zoneHours); nothing when the
// database does not know the zone.
std::optional<double> legalSummerForRow(const std::string& zone, double eastLongitude,
                                        const LocalMoment& local, int zoneHours);

// The summer-time correction in hours that makes a zone of whole hours derived from the
// longitude give the legal time: offset - zone, to a ten-thousandth of an hour (the local mean
// times of old dates are not whole minutes).
double summerCorrection(const LegalOffset& offset, int zoneHours);

} // namespace velmora::atlas

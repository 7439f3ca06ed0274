#pragma once

#include "core/Aspects.h"
#include "core/ChartState.h"
#include "core/Ephemeris.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

enum class EventKind { Aspect, Ingress, Station, Return };

// The natal points an aspect can be made to: the twelve slots of the first chart, then the
// ascendant and the midheaven.
inline constexpr int kTargetAscendant = 12;
inline constexpr int kTargetMidheaven = 13;
inline constexpr int kEventTargetCount = 14;

// The transiting bodies, by slot: the Sun, Mercury to Pluto, and on request the Moon and the
// mean node.
inline constexpr int kMoonSlot = 1;
inline constexpr int kNodeSlot = 10;

// One moment of a period.
struct ChartEvent {
    double jdUt = 0.0;
    EventKind kind = EventKind::Aspect;
    int body = 0; // the transiting body's slot
    // Aspect: the kind, and whether the transiting body is ahead of the natal point by the
    // aspect's angle (false) or behind it (true); conjunctions and oppositions are never behind.
    AspectKind aspect = AspectKind::Conjunction;
    bool behind = false;
    int target = 0;          // Aspect: a natal slot 0..11, kTargetAscendant or kTargetMidheaven
    int sign = 0;            // Ingress: the sign entered, 1..12
    bool retrograde = false; // Ingress: entered moving backwards; Station: turning retrograde
    double longitude = 0.0;  // of the transiting body at the moment
};

struct EventSearchOptions {
    double fromJdUt = 0.0;
    double toJdUt = 0.0;
    bool moon = false; // the Moon as a transiting body, its returns included
    bool node = false; // the mean node as a transiting body
};

// Told the share of the search done, 0..1; answers false to stop it.
using EventProgress = std::function<bool(double done)>;

struct EventSearchResult {
    bool ok = false;
    bool cancelled = false;
    EphemerisFailure failure; // when the library could not compute a moment of the period
    std::vector<ChartEvent> events; // by time
};

// The longest period a search takes, in days: two hundred years.
inline constexpr double kLongestEventPeriod = 200 * 365.25 + 1;

// Every aspect of a transiting body to the natal points, every sign it enters, every station
// and every solar (and, with the Moon, lunar) return between the two moments, each exact to
// well under a second. The natal points are the first chart of `natal`. A period longer than
// kLongestEventPeriod or ending before it starts gives no events.
EventSearchResult searchEvents(const ChartState& natal, const EventSearchOptions& options,
                               EphemerisApi& ephemeris = swissEphemeris(),
                               const EventProgress& progress = {});

// The moments the Sun (slot 0) or the Moon (slot 1) returns to its natal longitude.
EventSearchResult searchReturns(const ChartState& natal, int body, double fromJdUt, double toJdUt,
                                EphemerisApi& ephemeris = swissEphemeris());

// The longitude a body must reach for an aspect event: the natal point's plus the angle.
double eventTargetLongitude(const ChartState& natal, int target);
double aspectAngle(AspectKind kind, bool behind);

// A date and time on a place's clocks; the calendar is the Julian one before 15 October 1582.
struct LocalTime {
    int year = 0;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local clock `offsetHours` ahead of universal time at a UT Julian day, to the second.
LocalTime localTimeOf(double jdUt, double offsetHours);
// "2026-03-05 14:07:09"
std::string localTimeText(const LocalTime& time);

// The event in Arabic, followed by the transiting body's position:
// "زحل تربيع شمس الميلاد في 12°3'45'' الحوت".
std::string eventText(const ChartEvent& event);

// The English words of the command line's output.
const char* eventKindWord(EventKind kind);
const char* aspectKindWord(AspectKind kind);
// The body of a slot 0..11 as the chart's JSON names it ("sun", "mean_node").
const char* bodyKey(int slot);
// A natal target as the events' JSON names it: a body key, "ascendant" or "midheaven".
const char* targetKey(int target);

} // namespace velmora

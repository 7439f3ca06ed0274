#include "core/EventSearch.h"

#include "core/PositionTexts.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace velmora {

namespace {

// A Newton correction under this many days (0.9 s) is taken as final: what it leaves is of the
// order of its square. Brackets and stations are narrowed to a tenth of it.
constexpr double kLastCorrection = 1e-5;
constexpr double kTimeTolerance = 1e-6;

// Days between two positions of a body while scanning. Each is well under the shortest
// retrograde or direct stretch of its body, so the speed changes sign at most once between two
// positions, and the body moves far less than a sign between them.
double paceOf(int slot)
{
    constexpr std::array<double, 11> kPace = {
        4.0,  // Sun: about 1° a day
        0.5,  // Moon: up to 15.4° a day
        2.0,  // Mercury: retrograde for 19 days at the least
        3.0,  // Venus: 40 days
        4.0,  // Mars: 58 days
        8.0,  // Jupiter
        8.0,  // Saturn
        10.0, // Uranus
        10.0, // Neptune
        10.0, // Pluto
        10.0, // mean node: always retrograde
    };
    return kPace[slot];
}

double wrap180(double degrees)
{
    double x = std::fmod(degrees, 360.0);
    if (x < -180.0)
        x += 360.0;
    else if (x >= 180.0)
        x -= 360.0;
    return x;
}

double wrap360(double degrees)
{
    const double x = std::fmod(degrees, 360.0);
    return x < 0.0 ? x + 360.0 : x;
}

struct Sample {
    double t = 0.0; // UT Julian day
    double longitude = 0.0;
    double speed = 0.0;
};

// The angles of the aspects, each kind on both sides where the sides differ.
struct AspectAngle {
    AspectKind kind;
    bool behind;
    double degrees;
};
constexpr std::array<AspectAngle, 8> kAspectAngles = {{
    {AspectKind::Conjunction, false, 0.0},
    {AspectKind::Sextile, false, 60.0},
    {AspectKind::Square, false, 90.0},
    {AspectKind::Trine, false, 120.0},
    {AspectKind::Opposition, false, 180.0},
    {AspectKind::Trine, true, 240.0},
    {AspectKind::Square, true, 270.0},
    {AspectKind::Sextile, true, 300.0},
}};

enum class Wanted { Everything, ReturnsOnly };

class Search {
public:
    Search(const ChartState& natal, EphemerisApi& ephemeris, Wanted wanted)
        : m_ephemeris(ephemeris), m_wanted(wanted)
    {
        for (int target = 0; target < kEventTargetCount; ++target)
            m_targets[target] = eventTargetLongitude(natal, target);
    }

    // Scans one body over the period; false when the library failed or the search was stopped.
    bool scan(int slot, double from, double to, const std::function<bool(double)>& share)
    {
        m_slot = slot;
        const double pace = paceOf(slot);
        const auto steps = static_cast<std::int64_t>(std::ceil((to - from) / pace));
        Sample previous;
        if (!sampleAt(from, previous))
            return false;
        for (std::int64_t k = 1; k <= std::max<std::int64_t>(steps, 1); ++k) {
            Sample next;
            if (!sampleAt(k == steps ? to : std::min(to, from + pace * k), next))
                return false;
            if (!interval(previous, next))
                return false;
            previous = next;
            if ((k & 255) == 0 && share && !share(static_cast<double>(k) / steps)) {
                stopped = true;
                return false;
            }
        }
        return true;
    }

    std::vector<ChartEvent> events;
    EphemerisFailure failure;
    bool stopped = false;

private:
    bool sampleAt(double t, Sample& out)
    {
        const BodyPosition p = m_ephemeris.bodyPosition(t + m_ephemeris.deltaT(t),
                                                        kBodyOfSlot[m_slot]);
        if (!p.ok) {
            failure = p.failure;
            return false;
        }
        out = {t, p.longitude, p.speed};
        return true;
    }

    // An interval between two positions: split at the station if the speed changes sign, so
    // that the body moves one way in each part and crosses any degree at most once there.
    bool interval(const Sample& a, const Sample& b)
    {
        if ((a.speed < 0.0) == (b.speed < 0.0))
            return monotonic(a, b);
        Sample station;
        if (!stationBetween(a, b, station))
            return false;
        if (m_wanted == Wanted::Everything) {
            ChartEvent event;
            event.jdUt = station.t;
            event.kind = EventKind::Station;
            event.body = m_slot;
            event.retrograde = b.speed < 0.0;
            event.longitude = station.longitude;
            events.push_back(event);
        }
        return monotonic(a, station) && monotonic(station, b);
    }

    bool monotonic(const Sample& a, const Sample& b)
    {
        const double motion = wrap180(b.longitude - a.longitude);
        if (m_wanted == Wanted::Everything) {
            const int signA = static_cast<int>(wrap360(a.longitude) / 30.0);
            const int signB = static_cast<int>(wrap360(b.longitude) / 30.0);
            if (signA != signB) {
                ChartEvent event;
                event.kind = EventKind::Ingress;
                event.sign = signB + 1;
                event.retrograde = motion < 0.0;
                if (!crossing(a, b, (motion < 0.0 ? signA : signB) * 30.0, event))
                    return false;
            }
        }
        for (int target = 0; target < kEventTargetCount; ++target) {
            for (const AspectAngle& angle : kAspectAngles) {
                const bool isReturn =
                    target == m_slot && angle.degrees == 0.0 && m_slot <= kMoonSlot;
                if (m_wanted == Wanted::ReturnsOnly && !isReturn)
                    continue;
                const double level = m_targets[target] + angle.degrees;
                const double ga = wrap180(a.longitude - level);
                // Unwrapped across the interval, so that passing the far side is no root.
                const double gb = ga + motion;
                if ((ga < 0.0) == (gb < 0.0))
                    continue;
                ChartEvent event;
                event.kind = isReturn ? EventKind::Return : EventKind::Aspect;
                event.aspect = angle.kind;
                event.behind = angle.behind;
                event.target = target;
                if (!crossing(a, b, level, event))
                    return false;
            }
        }
        return true;
    }

    // Refines the moment the body reaches `level` between two positions it lies either side
    // of, and records the event.
    bool crossing(const Sample& a, const Sample& b, double level, ChartEvent event)
    {
        const double h = b.t - a.t;
        const double ga = wrap180(a.longitude - level);
        const double gb = ga + wrap180(b.longitude - a.longitude);
        double lo = a.t;
        double hi = b.t;
        const bool negativeAtLo = ga < 0.0;
        double t = a.t + h * hermiteRoot(ga, gb, a.speed * h, b.speed * h);
        Sample s;
        for (int iteration = 0; iteration < 60; ++iteration) {
            if (!sampleAt(t, s))
                return false;
            const double g = wrap180(s.longitude - level);
            if (g == 0.0)
                break;
            if ((g < 0.0) == negativeAtLo)
                lo = t;
            else
                hi = t;
            const double step = s.speed != 0.0 ? -g / s.speed : 0.0;
            // Within a tiny correction the step may round to the bracket's own end.
            if (s.speed != 0.0 && std::fabs(step) < kLastCorrection) {
                t += step;
                s.longitude = level;
                break;
            }
            const double next = t + step;
            if (s.speed != 0.0 && next > lo && next < hi) {
                t = next;
            } else {
                t = 0.5 * (lo + hi);
                if (hi - lo < 2 * kTimeTolerance)
                    break;
            }
        }
        event.jdUt = t;
        event.body = m_slot;
        event.longitude = wrap360(s.longitude);
        events.push_back(event);
        return true;
    }

    // The root in 0..1 of the cubic through two values and their slopes (per interval), which
    // lies within seconds of the body's own for these paces.
    static double hermiteRoot(double g0, double g1, double d0, double d1)
    {
        double lo = 0.0;
        double hi = 1.0;
        double s = g0 / (g0 - g1);
        const bool negativeAtLo = g0 < 0.0;
        for (int iteration = 0; iteration < 12; ++iteration) {
            const double s2 = s * s;
            const double s3 = s2 * s;
            const double value = (2 * s3 - 3 * s2 + 1) * g0 + (s3 - 2 * s2 + s) * d0 +
                                 (-2 * s3 + 3 * s2) * g1 + (s3 - s2) * d1;
            const double slope = (6 * s2 - 6 * s) * g0 + (3 * s2 - 4 * s + 1) * d0 +
                                 (-6 * s2 + 6 * s) * g1 + (3 * s2 - 2 * s) * d1;
            if ((value < 0.0) == negativeAtLo)
                lo = s;
            else
                hi = s;
            const double next = slope != 0.0 ? s - value / slope : 0.5 * (lo + hi);
            s = next > lo && next < hi ? next : 0.5 * (lo + hi);
            if (hi - lo < 1e-9)
                break;
        }
        return s;
    }

    // The station between two positions of opposite speeds, by regula falsi on the speed
    // (the Illinois variant, which keeps both ends moving).
    bool stationBetween(const Sample& a, const Sample& b, Sample& out)
    {
        double lo = a.t;
        double hi = b.t;
        double vlo = a.speed;
        double vhi = b.speed;
        int side = 0;
        double t = lo;
        for (int iteration = 0; iteration < 100; ++iteration) {
            const double previous = t;
            t = (lo * vhi - hi * vlo) / (vhi - vlo);
            if (!sampleAt(t, out))
                return false;
            if (out.speed == 0.0 || std::fabs(t - previous) < kTimeTolerance ||
                hi - lo < kTimeTolerance)
                break;
            if ((out.speed < 0.0) == (vlo < 0.0)) {
                lo = t;
                vlo = out.speed;
                if (side == -1)
                    vhi /= 2;
                side = -1;
            } else {
                hi = t;
                vhi = out.speed;
                if (side == 1)
                    vlo /= 2;
                side = 1;
            }
        }
        return true;
    }

    EphemerisApi& m_ephemeris;
    Wanted m_wanted;
    std::array<double, kEventTargetCount> m_targets{};
    int m_slot = 0;
};

EventSearchResult runSearch(const ChartState& natal, const std::vector<int>& bodies, double from,
                            double to, EphemerisApi& ephemeris, const EventProgress& progress,
                            Wanted wanted)
{
    EventSearchResult result;
    if (!(to >= from) || !(to - from <= kLongestEventPeriod)) {
        result.ok = true;
        return result;
    }
    // The share of the work is the share of positions taken, body by body.
    std::vector<double> weights;
    double total = 0.0;
    for (int slot : bodies) {
        weights.push_back(1.0 / paceOf(slot));
        total += weights.back();
    }
    Search search(natal, ephemeris, wanted);
    double done = 0.0;
    for (std::size_t k = 0; k < bodies.size(); ++k) {
        const double weight = weights[k] / total;
        const auto share = [&](double part) { return progress(done + weight * part); };
        if (!search.scan(bodies[k], from, to,
                         progress ? std::function<bool(double)>(share) : nullptr)) {
            result.cancelled = search.stopped;
            result.failure = search.failure;
            break;
        }
        done += weight;
    }
    ephemeris.close();
    result.events = std::move(search.events);
    std::stable_sort(result.events.begin(), result.events.end(),
                     [](const ChartEvent& x, const ChartEvent& y) { return x.jdUt < y.jdUt; });
    result.ok = result.failure.problem == EphemerisProblem::None && !result.cancelled;
    if (result.ok && progress)
        progress(1.0);
    return result;
}

const std::array<const char*, 11> kTransitNames = {
    "الشمس", "القمر",  "عطارد",   "الزهرة", "المريخ",          "المشتري",
    "زحل",   "أورانوس", "نيبتون", "بلوطون", "العقدة الشمالية",
};

const std::array<const char*, kEventTargetCount> kNatalNames = {
    "شمس الميلاد",     "قمر الميلاد",          "عطارد الميلاد",     "زهرة الميلاد",
    "مريخ الميلاد",    "مشتري الميلاد",         "زحل الميلاد",       "أورانوس الميلاد",
    "نيبتون الميلاد",  "بلوطون الميلاد",        "عقدة الميلاد الشمالية", "قمر الميلاد الأسود",
    "طالع الميلاد",    "وسط سماء الميلاد",
};

} // namespace

double eventTargetLongitude(const ChartState& natal, int target)
{
    if (target == kTargetAscendant)
        return natal.Ascendant[0];
    if (target == kTargetMidheaven)
        return natal.Midheaven[0];
    return natal.Planets[target].Longitude;
}

double aspectAngle(AspectKind kind, bool behind)
{
    for (const AspectAngle& angle : kAspectAngles) {
        if (angle.kind == kind && angle.behind == behind)
            return angle.degrees;
    }
    return 0.0;
}

EventSearchResult searchEvents(const ChartState& natal, const EventSearchOptions& options,
                               EphemerisApi& ephemeris, const EventProgress& progress)
{
    std::vector<int> bodies = {0, 2, 3, 4, 5, 6, 7, 8, 9};
    if (options.moon)
        bodies.push_back(kMoonSlot);
    if (options.node)
        bodies.push_back(kNodeSlot);
    return runSearch(natal, bodies, options.fromJdUt, options.toJdUt, ephemeris, progress,
                     Wanted::Everything);
}

EventSearchResult searchReturns(const ChartState& natal, int body, double fromJdUt, double toJdUt,
                                EphemerisApi& ephemeris)
{
    return runSearch(natal, {body == kMoonSlot ? kMoonSlot : 0}, fromJdUt, toJdUt, ephemeris, {},
                     Wanted::ReturnsOnly);
}

LocalTime localTimeOf(double jdUt, double offsetHours)
{
    // Whole seconds from the Julian day's noon origin moved to midnight.
    const auto seconds =
        static_cast<std::int64_t>(std::llround((jdUt + 0.5 + offsetHours / 24.0) * 86400.0));
    const std::int64_t z = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const std::int64_t ofDay = seconds - z * 86400;
    // The civil date of a day number (Meeus), Gregorian from 15 October 1582.
    std::int64_t a = z;
    if (z >= 2299161) {
        const auto alpha = static_cast<std::int64_t>(std::floor((z - 1867216.25) / 36524.25));
        a = z + 1 + alpha - static_cast<std::int64_t>(std::floor(alpha / 4.0));
    }
    const std::int64_t b = a + 1524;
    const auto c = static_cast<std::int64_t>(std::floor((b - 122.1) / 365.25));
    const auto d = static_cast<std::int64_t>(std::floor(365.25 * c));
    const auto e = static_cast<std::int64_t>(std::floor((b - d) / 30.6001));
    LocalTime out;
    out.day = static_cast<int>(b - d - static_cast<std::int64_t>(std::floor(30.6001 * e)));
    out.month = static_cast<int>(e < 14 ? e - 1 : e - 13);
    out.year = static_cast<int>(out.month > 2 ? c - 4716 : c - 4715);
    out.hour = static_cast<int>(ofDay / 3600);
    out.minute = static_cast<int>(ofDay / 60 % 60);
    out.second = static_cast<int>(ofDay % 60);
    return out;
}

std::string localTimeText(const LocalTime& time)
{
    char text[48];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

std::string eventText(const ChartEvent& event)
{
    std::string text;
    const std::string body = kTransitNames[event.body];
    switch (event.kind) {
    case EventKind::Aspect:
        // The aspect's word carries its own spaces.
        text = body + aspectWord(event.aspect) + kNatalNames[event.target];
        break;
    case EventKind::Ingress:
        text = "دخول " + body + " " + signName(event.sign) + (event.retrograde ? " راجعًا" : "");
        break;
    case EventKind::Station:
        text = "وقوف " + body + (event.retrograde ? " للرجوع" : " للاستقامة");
        break;
    case EventKind::Return:
        text = event.body == kMoonSlot ? "العودة القمرية" : "العودة الشمسية";
        break;
    }
    // An ingress reads in the sign entered, at its first or last second.
    const double longitude = wrap360(event.longitude);
    const int sign = event.kind == EventKind::Ingress
                         ? event.sign
                         : std::min(12, static_cast<int>(longitude / 30.0) + 1);
    const double inSign = std::clamp(wrap180(longitude - 30.0 * (sign - 1) - 180.0) + 180.0, 0.0,
                                     30.0 - 1.0 / 3600.0);
    const std::string position =
        formatDegrees(static_cast<float>(inSign)) + " من " + signName(sign);
    return text + "، " + position;
}

const char* eventKindWord(EventKind kind)
{
    switch (kind) {
    case EventKind::Aspect: return "aspect";
    case EventKind::Ingress: return "ingress";
    case EventKind::Station: return "station";
    case EventKind::Return: return "return";
    }
    return "";
}

const char* aspectKindWord(AspectKind kind)
{
    switch (kind) {
    case AspectKind::Conjunction: return "conjunction";
    case AspectKind::Sextile: return "sextile";
    case AspectKind::Square: return "square";
    case AspectKind::Opposition: return "opposition";
    case AspectKind::Trine: return "trine";
    }
    return "";
}

const char* bodyKey(int slot)
{
    constexpr std::array<const char*, 12> kKeys = {
        "sun",    "moon",   "mercury", "venus", "mars",      "jupiter",
        "saturn", "uranus", "neptune", "pluto", "mean_node", "mean_apogee",
    };
    return slot >= 0 && slot < 12 ? kKeys[slot] : "";
}

const char* targetKey(int target)
{
    if (target == kTargetAscendant)
        return "ascendant";
    if (target == kTargetMidheaven)
        return "midheaven";
    return bodyKey(target);
}

} // namespace velmora

#include "core/Aspects.h"

#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"

#include <cmath>
#include <optional>

namespace velmora {

namespace {

const char* const kApplying = "   متصل ";
const char* const kSeparating = "   منفصل ";

struct KindRule {
    AspectKind kind;
    float exact;        // the exact angle below 180 (the other one is 360 minus it)
    bool twoAngles;     // sextile, square, trine
    float progression;  // half-width of the progression window
};

const KindRule kRules[kAspectKindCount] = {
    {AspectKind::Conjunction, 0.0f, false, 2.0f},
    {AspectKind::Sextile, 60.0f, true, 1.0f},
    {AspectKind::Square, 90.0f, true, 1.0f},
    {AspectKind::Opposition, 180.0f, false, 2.0f},
    {AspectKind::Trine, 120.0f, true, 1.0f},
};

const KindRule& ruleOf(AspectKind kind)
{
    return kRules[static_cast<int>(kind)];
}

bool within(float value, float centre, float halfWidth)
{
    return centre - halfWidth < value && value < centre + halfWidth;
}

struct Match {
    float distance;
    const char* phase;
};

// Tests one kind against the working separation w (0 <= w < 360).
std::optional<Match> test(const KindRule& rule, float w, int orb, bool progression)
{
    const float o = static_cast<float>(orb);
    const float window = progression ? rule.progression : o;
    if (!aspectHolds(rule.kind, w, window))
        return std::nullopt;
    if (rule.kind == AspectKind::Conjunction)
        return w < window ? Match{w, kSeparating} : Match{360.0f - w, kApplying};

    const float a = rule.exact;
    const float b = 360.0f - rule.exact;
    // The fixed progression windows know no orb, so they take the nearer exact angle: against
    // the orb setting, an orb of 0 would send d = 299.5 to 60.
    const float farEdge = progression ? 180.0f : b - o;
    const float exact = rule.twoAngles && !(w < farEdge) ? b : a;
    if (w < exact)
        return Match{exact - w, kApplying};
    if (w > exact)
        return Match{w - exact, kSeparating};
    return Match{0.0f, ""};
}

} // namespace

int AspectOrbs::of(AspectKind kind) const
{
    switch (kind) {
    case AspectKind::Conjunction: return conjunction;
    case AspectKind::Sextile: return sextile;
    case AspectKind::Square: return square;
    case AspectKind::Opposition: return opposition;
    case AspectKind::Trine: return trine;
    }
    return 0;
}

AspectOrbs defaultAspectOrbs()
{
    return {10, 6, 8, 10, 8};
}

AspectOrbs orbsOf(const ChartState& state)
{
    return {state.OrbConjunction, state.OrbSextile, state.OrbSquare, state.OrbOpposition,
            state.OrbTrine};
}

void setOrbs(ChartState& state, const AspectOrbs& orbs)
{
    state.OrbConjunction = static_cast<std::int16_t>(orbs.conjunction);
    state.OrbSextile = static_cast<std::int16_t>(orbs.sextile);
    state.OrbSquare = static_cast<std::int16_t>(orbs.square);
    state.OrbOpposition = static_cast<std::int16_t>(orbs.opposition);
    state.OrbTrine = static_cast<std::int16_t>(orbs.trine);
}

bool aspectHolds(AspectKind kind, float separation, float orb)
{
    const KindRule& rule = ruleOf(kind);
    if (kind == AspectKind::Conjunction)
        return (0.0f < separation && separation < orb) || separation > 360.0f - orb;
    return within(separation, rule.exact, orb) ||
           (rule.twoAngles && within(separation, 360.0f - rule.exact, orb));
}

AspectSearch searchForKind(ChartKind kind)
{
    AspectSearch search;
    search.twoCharts = chartKindInfo(kind).twoCharts == 1;
    search.progression = kind == ChartKind::Progressions;
    return search;
}

const char* aspectWord(AspectKind kind)
{
    switch (kind) {
    case AspectKind::Conjunction: return " مقارنة ";
    case AspectKind::Sextile: return " تسديس ";
    case AspectKind::Square: return " تربيع ";
    case AspectKind::Opposition: return " مقابلة ";
    case AspectKind::Trine: return " تثليث ";
    }
    return "";
}

std::int16_t wheelRotationFor(const ChartState& state, ChartKind kind)
{
    if (kind == ChartKind::Solar || state.OrientOnAscendant != kTrue)
        return 270;
    return static_cast<std::int16_t>(270.0 - roundHalfEven(angleLongitude(state, 0, 0)));
}

std::vector<Aspect> aspectsOf(const ChartState& state, const AspectSearch& search,
                              double rotation)
{
    std::vector<Aspect> found;
    const AspectOrbs orbs = orbsOf(state);
    auto examine = [&](int i, int j) {
        if (state.PlanetShown[i] != kTrue || state.PlanetShown[j] != kTrue ||
            state.PlanetInAspects[i] != kTrue || state.PlanetInAspects[j] != kTrue)
            return;
        const float li = state.Planets[i].Longitude;
        const float lj = state.Planets[j].Longitude;
        // Later tests of the same pair see the distance of the aspect found before them.
        float working = std::fabs(li - lj);
        for (const KindRule& rule : kRules) {
            const auto match = test(rule, working, orbs.of(rule.kind), search.progression);
            if (!match)
                continue;
            working = match->distance;
            Aspect aspect;
            aspect.slotA = i;
            aspect.slotB = j;
            aspect.kind = rule.kind;
            aspect.distance = match->distance;
            aspect.phase = match->phase;
            aspect.text = pointLabel(i) + aspectWord(rule.kind) + pointLabel(j) +
                          formatDegrees(match->distance) + aspect.phase;
            aspect.angleA = rotation + static_cast<double>(li);
            aspect.angleB = rotation + static_cast<double>(lj);
            found.push_back(std::move(aspect));
        }
    };

    if (search.twoCharts) {
        for (int i = 0; i < kPointsPerChart; ++i) {
            for (int j = kSecondChartBase; j < kSlotCount; ++j)
                examine(i, j);
        }
    } else {
        for (int i = 0; i < kPointsPerChart - 1; ++i) {
            for (int j = i + 1; j < kPointsPerChart; ++j)
                examine(i, j);
        }
    }

    return found;
}

void writeAspectList(ChartState& state, const std::vector<Aspect>& aspects)
{
    state.AspectLines.clear();
    for (const Aspect& aspect : aspects)
        state.AspectLines.push_back(aspect.text);
    state.AspectLineCount = static_cast<std::int16_t>(state.AspectLines.size());
}

std::vector<Aspect> findAspects(ChartState& state, const AspectSearch& search)
{
    std::vector<Aspect> found = aspectsOf(state, search, state.WheelRotation);
    writeAspectList(state, found);
    return found;
}

} // namespace velmora

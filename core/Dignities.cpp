#include "core/Dignities.h"

#include "core/Lots.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

enum Planet { Sun = 0, Moon, Mercury, Venus, Mars, Jupiter, Saturn, None = -1 };

// Signs 0 Aries .. 11 Pisces: the planet at home there.
constexpr std::array<Planet, 12> kDomicile = {Mars, Venus,  Mercury, Moon,    Sun,     Mercury,
                                              Venus, Mars, Jupiter, Saturn, Saturn, Jupiter};
// The sign of each planet's exaltation.
constexpr std::array<int, 7> kExaltation = {0, 1, 5, 11, 9, 3, 6};
// Day and night rulers of fire, earth, air and water.
constexpr std::array<std::array<Planet, 2>, 4> kTriplicity = {
    {{Sun, Jupiter}, {Venus, Moon}, {Saturn, Mercury}, {Venus, Mars}}};

struct Term {
    Planet ruler;
    int upTo; // degrees within the sign
};
constexpr std::array<std::array<Term, 5>, 12> kTerms = {{
    {{{Jupiter, 6}, {Venus, 12}, {Mercury, 20}, {Mars, 25}, {Saturn, 30}}},
    {{{Venus, 8}, {Mercury, 14}, {Jupiter, 22}, {Saturn, 27}, {Mars, 30}}},
    {{{Mercury, 6}, {Jupiter, 12}, {Venus, 17}, {Mars, 24}, {Saturn, 30}}},
    {{{Mars, 7}, {Venus, 13}, {Mercury, 19}, {Jupiter, 26}, {Saturn, 30}}},
    {{{Jupiter, 6}, {Venus, 11}, {Saturn, 18}, {Mercury, 24}, {Mars, 30}}},
    {{{Mercury, 7}, {Venus, 17}, {Jupiter, 21}, {Mars, 28}, {Saturn, 30}}},
    {{{Saturn, 6}, {Mercury, 14}, {Jupiter, 21}, {Venus, 28}, {Mars, 30}}},
    {{{Mars, 7}, {Venus, 11}, {Mercury, 19}, {Jupiter, 24}, {Saturn, 30}}},
    {{{Jupiter, 12}, {Venus, 17}, {Mercury, 21}, {Saturn, 26}, {Mars, 30}}},
    {{{Mercury, 7}, {Jupiter, 14}, {Venus, 22}, {Saturn, 26}, {Mars, 30}}},
    {{{Mercury, 7}, {Venus, 13}, {Jupiter, 20}, {Mars, 25}, {Saturn, 30}}},
    {{{Venus, 12}, {Jupiter, 16}, {Mercury, 19}, {Mars, 28}, {Saturn, 30}}},
}};
constexpr std::array<Planet, 7> kChaldeanFaces = {Mars, Sun, Venus, Mercury, Moon, Saturn, Jupiter};

} // namespace

int Dignities::score() const
{
    return 5 * domicile + 4 * exaltation + 3 * triplicity + 2 * term + face - 5 * detriment -
           4 * fall;
}

Dignities dignitiesOf(int slot, double longitude, bool dayChart)
{
    double at = std::fmod(longitude, 360.0);
    if (at < 0.0)
        at += 360.0;
    // 30° exactly is 0° of the next sign.
    const int sign = std::min(11, static_cast<int>(at / 30.0));
    const double degree = at - 30.0 * sign;
    const auto planet = static_cast<Planet>(slot);
    Dignities d;
    d.slot = slot;
    if (slot < Sun || slot > Saturn)
        return d;
    d.domicile = kDomicile[sign] == planet;
    d.detriment = kDomicile[(sign + 6) % 12] == planet;
    d.exaltation = kExaltation[slot] == sign;
    d.fall = (kExaltation[slot] + 6) % 12 == sign;
    d.triplicity = kTriplicity[sign % 4][dayChart ? 0 : 1] == planet;
    for (const Term& term : kTerms[sign]) {
        if (degree < term.upTo) {
            d.term = term.ruler == planet;
            break;
        }
    }
    d.face = kChaldeanFaces[static_cast<int>(at / 10.0) % 7] == planet;
    return d;
}

DignitiesTable dignitiesTable(const ChartState& state)
{
    static const std::array<const char*, 7> names = {"الشمس",  "القمر",   "عطارد", "الزهرة",
                                                     "المريخ", "المشتري", "زحل"};
    DignitiesTable table;
    table.sect = isDayChart(state.Planets[0].Longitude, state.Ascendant[0]) ? "هيئة نهارية"
                                                                              : "هيئة ليلية";
    table.cells.push_back(
        {"الكوكب", "بيت", "شرف", "مثلثة", "حد", "وجه", "وبال", "هبوط", "المجموع", "الحال"});
    for (const Dignities& d : chartDignities(state)) {
        const auto held = [](bool holds, const char* points) {
            return std::string(holds ? points : "");
        };
        table.cells.push_back({names[d.slot], held(d.domicile, "+5"), held(d.exaltation, "+4"),
                               held(d.triplicity, "+3"), held(d.term, "+2"), held(d.face, "+1"),
                               held(d.detriment, "-5"), held(d.fall, "-4"),
                               std::to_string(d.score()), d.peregrine() ? "غريب" : ""});
    }
    return table;
}

std::array<Dignities, 7> chartDignities(const ChartState& state)
{
    const bool day = isDayChart(state.Planets[0].Longitude, state.Ascendant[0]);
    std::array<Dignities, 7> out;
    for (int slot = 0; slot < 7; ++slot)
        out[slot] = dignitiesOf(slot, state.Planets[slot].Longitude, day);
    return out;
}

} // namespace velmora

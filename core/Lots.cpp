#include "core/Lots.h"

#include "core/PositionTexts.h"

#include <cmath>

namespace velmora {

namespace {

double mod360(double value)
{
    const double r = std::fmod(value, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

enum Slot { Sun = 0, Moon, Mercury, Venus, Mars, Jupiter, Saturn };

} // namespace

bool isDayChart(double sunLongitude, double ascendant)
{
    return mod360(sunLongitude - ascendant) >= 180.0;
}

std::array<Lot, 7> lotsOf(const ChartState& state)
{
    const double asc = state.Ascendant[0];
    const auto at = [&](int slot) { return static_cast<double>(state.Planets[slot].Longitude); };
    const bool day = isDayChart(at(Sun), asc);
    // By day Asc + a - b, by night Asc + b - a.
    const auto lot = [&](double a, double b) { return mod360(day ? asc + a - b : asc + b - a); };
    const double fortune = lot(at(Moon), at(Sun));
    const double spirit = lot(at(Sun), at(Moon));
    return {{
        {"سهم السعادة", "Fortune", fortune},
        {"سهم الغيب", "Spirit", spirit},
        {"سهم المحبة", "Eros", lot(at(Venus), spirit)},
        {"سهم الضرورة", "Necessity", lot(fortune, at(Mercury))},
        {"سهم الشجاعة", "Courage", lot(fortune, at(Mars))},
        {"سهم الظفر", "Victory", lot(at(Jupiter), spirit)},
        {"سهم العقاب", "Nemesis", lot(fortune, at(Saturn))},
    }};
}

std::string lotText(const Lot& lot)
{
    return std::string(lot.name) + " في " + signPositionText(static_cast<float>(lot.longitude));
}

} // namespace velmora

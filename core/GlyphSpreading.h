#pragma once

#include <vector>

namespace velmora {

// A box about a point, in the units of the circle's radius, y growing downwards.
struct GlyphBox {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

// Something drawn around the wheel: its box stands about the point at `radius` and screen angle
// a (degrees), (radius sin a, radius cos a) from the centre, the wheel's angle convention.
struct SpreadItem {
    double angle = 0.0; // where it belongs
    double radius = 0.0;
    GlyphBox box;
    bool fixed = false; // a mark that stays where it is; the others keep clear of it
};

// Whether the boxes of two items, at the given angles, come closer than `gap` to each other.
bool boxesMeet(const SpreadItem& a, double angleA, const SpreadItem& b, double angleB,
               double gap);

// The angles, in [0, 360), at which the items' boxes keep at least `gap` apart: each item that
// is not fixed moves along its circle by the least the others allow (a crowd spreads about its
// middle), the items keep their order round the circle, and a crowd may reach across 0.
// Fixed items keep their angles. Items that fill more than the circle cannot all be cleared.
std::vector<double> spreadAround(const std::vector<SpreadItem>& items, double gap);

} // namespace velmora

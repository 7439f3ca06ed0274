#include "core/GlyphSpreading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace velmora;

namespace {

constexpr double kGap = 2.0;

// A 20 x 20 glyph about its point on a circle of radius 200, or a mark that stays.
SpreadItem glyph(double angle, double radius = 200.0)
{
    return {angle, radius, {-10.0, -10.0, 10.0, 10.0}, false};
}

SpreadItem mark(double angle)
{
    return {angle, 215.0, {-15.0, -15.0, 15.0, 15.0}, true};
}

struct Row {
    const char* name;
    std::vector<SpreadItem> items;
    // Angles the spreading must give, where they follow from the geometry alone; empty if not.
    std::vector<double> expected;
};

class Spreading : public testing::TestWithParam<Row> {};

// 2 x 200 sin(d/2) = 22 along a horizontal tangent at 6 o'clock.
const double kPairAtBottom = 2.0 * std::asin(22.0 / 400.0) * 180.0 / 3.14159265358979323846;

INSTANTIATE_TEST_SUITE_P(
    Rows, Spreading,
    testing::Values(
        Row{"apart_glyphs_stay", {glyph(10), glyph(100), glyph(250)}, {10, 100, 250}},
        Row{"conjunction_within_0_1_degree_spreads_about_its_middle",
            {glyph(0.05), glyph(359.95)},
            {kPairAtBottom / 2.0, 360.0 - kPairAtBottom / 2.0}},
        Row{"stellium_of_seven_in_20_degrees",
            {glyph(300), glyph(303), glyph(305), glyph(309), glyph(312), glyph(316), glyph(319)}, {}},
        Row{"crowd_across_0_aries", {glyph(354), glyph(357), glyph(359.5), glyph(1), glyph(4)}, {}},
        Row{"a_free_crowd_keeps_its_middle", {glyph(178), glyph(179), glyph(180), glyph(181.5)}, {}},
        Row{"a_mark_stays_and_a_glyph_clears_it", {mark(90), glyph(91)}, {}},
        Row{"glyphs_between_two_marks_with_no_room", {mark(90), glyph(92), glyph(93), glyph(94), mark(97)}, {}},
        Row{"glyphs_of_an_outer_ring_clear_inner_ones", {glyph(40, 230), glyph(41, 230), {41, 200, {-10, -10, 10, 10}, true}}, {}}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace

// No two boxes meet; marks keep their angles; glyphs keep their order round the circle, each
// moving no further than the crowd it belongs to needs, a crowd with no mark about its middle;
// known cases land where they must.
TEST_P(Spreading, ClearsEveryBoxInOrder)
{
    const Row& row = GetParam();
    const std::vector<double> spread = spreadAround(row.items, kGap);
    ASSERT_EQ(spread.size(), row.items.size());
    double shift = 0.0;
    bool marked = false;
    for (std::size_t i = 0; i < spread.size(); ++i) {
        const SpreadItem& a = row.items[i];
        shift += std::remainder(spread[i] - a.angle, 360.0);
        if (a.fixed) {
            marked = true;
            EXPECT_DOUBLE_EQ(spread[i], a.angle) << "mark " << i;
        }
        if (i < row.expected.size()) {
            EXPECT_NEAR(spread[i], row.expected[i], 1e-6) << "item " << i;
        }
        for (std::size_t j = i + 1; j < spread.size(); ++j) {
            const SpreadItem& b = row.items[j];
            if (a.fixed && b.fixed)
                continue;
            EXPECT_FALSE(boxesMeet(a, spread[i], b, spread[j], kGap * 0.99)) << "items " << i << " and " << j;
            // Glyphs of one circle stay in the order of their angles.
            if (!a.fixed && !b.fixed && a.radius == b.radius) {
                EXPECT_EQ(std::remainder(b.angle - a.angle, 360.0) > 0, std::remainder(spread[j] - spread[i], 360.0) > 0)
                    << "items " << i << " and " << j;
            }
        }
    }
    EXPECT_TRUE(marked || std::fabs(shift) < 1e-6) << "a crowd's middle moved by " << shift;
}

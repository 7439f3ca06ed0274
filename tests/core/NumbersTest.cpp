#include "core/Numbers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

using namespace velmora;

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfATextOnly)
{
    const struct {
        const char* text;
        double expected;
    } rows[] = {{"", 0.0},     {"abc", 0.0}, {"  42", 42.0}, {"-7.5", -7.5}, {"+3", 3.0},  {"12abc", 12.0},
                {"1 2", 12.0}, {"3.5.7", 3.5}, {".25", 0.25}, {"-", 0.0},     {"x12", 0.0}, {"39 49", 3949.0}};
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(leadingNumber(row.text), row.expected) << "text '" << row.text << "'";
}

// Numbers too large for a double, or too small to tell from 0: the readers' fuzz seeds.
TEST(WholeNumberText, RefusesTextThatIsNotOneNumber)
{
    EXPECT_EQ((std::array{*wholeNumberText(" 12 "), *wholeNumberText("-500"), *wholeNumberText("2.5")}),
              (std::array{12.0, -500.0, 2.5}));
    for (const char* bad : {"", "  ", "abc", "12x", "1-2", "-", "."})
        EXPECT_FALSE(wholeNumberText(bad)) << "text '" << bad << "'";
}

TEST(ToInt16, RoundsHalvesToEvenAndRefusesWhatDoesNotFit)
{
    const struct {
        double value;
        int expected;
    } rows[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {254.5, 254}, {0.49, 0}, {32767.4, 32767}, {-32768.0, -32768}};
    for (const auto& row : rows)
        EXPECT_EQ(toInt16(row.value), row.expected) << "value " << row.value;
    for (double bad : {32767.5, 32768.0, -32768.6, 1e9, std::nan("")})
        EXPECT_FALSE(toInt16(bad)) << "value " << bad;
}

TEST(NumberText, WritesThePlainShortestForm)
{
    EXPECT_EQ(numberText(0.0) + " " + numberText(-0.0) + " " + numberText(3.0) + " " +
                  numberText(-7.5) + " " + numberText(21.45f) + " " + numberText(0.000125) + " " +
                  numberText(1e7) + " " + numberText(-5) + " " + numberText(truncateTowardZero(-0.5)),
              "0 0 3 -7.5 21.45 0.000125 10000000 -5 0");
}

TEST(MinutesText, TruncatesTheMinutesWithoutSign)
{
    EXPECT_EQ(minutesText(39.83f) + " " + minutesText(-39.83f) + " " + minutesText(-74.0f) + " " + minutesText(21.45f),
              "49 49 0 27");
}

#include "core/Numbers.h"

#include <gtest/gtest.h>

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

TEST(WholeNumberText, RefusesTextThatIsNotOneNumber)
{
    for (const auto& [text, expected] : {std::pair{" 12 ", 12.0}, {"-500", -500.0}, {"2.5", 2.5}})
        EXPECT_EQ(wholeNumberText(text), expected) << "text '" << text << "'";
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

// The plain shortest form, and the whole minutes without sign, truncated.
TEST(NumberText, WritesThePlainShortestForm)
{
    const struct {
        const char* name;
        std::string text, expected;
    } rows[] = {{"zero", numberText(0.0), "0"},
                {"negative zero", numberText(-0.0), "0"},
                {"whole", numberText(3.0), "3"},
                {"fraction", numberText(-7.5), "-7.5"},
                {"float's own digits", numberText(21.45f), "21.45"},
                {"no exponent, small", numberText(0.000125), "0.000125"},
                {"no exponent, large", numberText(1e7), "10000000"},
                {"int", numberText(-5), "-5"},
                {"truncated -0.5", numberText(truncateTowardZero(-0.5)), "0"},
                {"minutes", minutesText(39.83f), "49"},
                {"minutes of a negative", minutesText(-39.83f), "49"},
                {"minutes of a whole", minutesText(-74.0f), "0"},
                {"minutes truncated in float", minutesText(21.45f), "27"}};
    for (const auto& row : rows)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

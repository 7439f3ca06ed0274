#include "core/PositionTexts.h"

#include "core/ChartComputation.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(FormatDegrees, TruncatesEveryPart)
{
    const struct {
        float x;
        const char* expected;
    } rows[] = {{0.0f, "0°0'0''"}, {12.0625f, "12°3'45''"}, {5.125f, "5°7'30''"}, {29.99999f, "29°59'59''"},
                {-1.5f, "-1°-30'0''"}, {359.5f, "359°30'0''"},
                {100.0f + 0.5f / 3600.0f, "100°0'0''"}}; // a stored cusp's half second rounds it
    for (const auto& row : rows)
        EXPECT_EQ(formatDegrees(row.x), row.expected) << "x " << row.x;
}

TEST(SignPositionText, NamesTheSignAndItsBoundaries)
{
    const struct {
        float x;
        const char* expected;
    } rows[] = {{45.25f, "15°15'0''من برج الثور "}, {30.0f, "30°0'0''من برج الحمل "}, {0.0f, "0°0'0''من برج الحمل "},
                {360.0f, "30°0'0''من برج الحوت "}, {200.5f, "20°30'0''من برج الميزان "},
                {300.0f, "30°0'0''من برج الجدي "}, {300.5f, "0°30'0''من برج الدالي "}, {360.5f, ""}, {-0.1f, ""}};
    for (const auto& row : rows)
        EXPECT_EQ(signPositionText(row.x), row.expected) << "x " << row.x;
}

TEST(Labels, TheirTextsAndTheEmptyTextOutsideTheirRanges)
{
    const struct {
        const char* name;
        std::string text, expected;
    } rows[] = {{"house 3", housePositionText("X", 3), " وتد الأرض في X"},
                {"point 22", pointLabel(22), "عقدة التحويل الشمالية في "},
                {"equal first cusp", cuspPositionText("X", 0, HouseSystem::Equal), " الطالع في X"},
                {"equal tenth cusp", cuspPositionText("X", 9, HouseSystem::Equal), " البيت العاشر في X"},
                {"whole-sign first cusp", cuspPositionText("X", 0, HouseSystem::WholeSign), " البيت الأول في X"},
                {"house -1", housePositionText("X", -1), ""},
                {"house 12", housePositionText("X", 12), ""},
                {"point -1", pointLabel(-1), ""},
                {"point 24", pointLabel(24), ""},
                {"house name 0", houseName(0), ""},
                {"house name 13", houseName(13), ""}};
    for (const auto& row : rows)
        EXPECT_EQ(row.text, row.expected) << row.name;
}

TEST(Captions, TitleAsTypedWithTheHourAsANumber)
{
    // day, month, year, hour, minute as typed
    EXPECT_EQ(chartTitle("سعاد", {"01", "3", "2000", "08", "15"}), "لسعاد2000/3/01   15:8");
    EXPECT_EQ(chartTitle("", {"1", "3", "-500", "23", "5"}), "ل-500/3/1   5:23");
    EXPECT_EQ(chartCaption(ChartKind::Progressions, "T"), " هيئة تسييرات T");
    EXPECT_EQ(horaryCaption(5, 3, 2004, 14, 7), "هيئة لتاريخ 5/3/2004   7:14");
}

#include "core/Aaf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

using namespace velmora;

namespace {

struct ImportRow {
    const char* name;
    const char* text;
    const char* savedName;
    DateTimeTexts local;
    std::optional<double> givenJd; // the chart must be computed at it
    const char* note;
};

const ImportRow kImports[] = {
    {"zone, no Julian day", "#A93:Ferber,Tobias,m,27.9.1970,11:04,Kandel/Pfalz,D\n"
                            "#B93:*,49n05,8e11,1he,0\n#ZNAM:CET\n",
     "Tobias Ferber", {"27", "9", "1970", "11", "4"}, std::nullopt, ""},
    {"given Julian day, local mean time", "#A93:Cezanne,Paul,m,19.1.1839,1:00,Aix-En-Provence,F\n"
                                          "#B93:2392758.526528,43n31,5e27,0e21:48,m\n#ZNAM:LMT\n"
                                          "#COM:Painter.\n  went his own way\n",
     "Paul Cezanne", {"19", "1", "1839", "1", "0"}, 2392758.526528, "Painter.\n  went his own way"},
    {"given Julian day, zone unknown", "#A93:Cezanne,Paul,m,19.1.1839,1:00,Aix,F\n"
                                       "#B93:2392758.526528,43n31,5e27,*,L\n",
     "Paul Cezanne", {"19", "1", "1839", "1", "0"}, 2392758.526528, ""},
    {"Julian day wins over the clock", "#A93:Doe,*,e,1.1.2000,0:00,*,*\r\n"
                                       "#B93:2451545.25000,51n30,0w10,1he00,0\r\n",
     "Doe", {"1", "1", "2000", "19", "0"}, 2451545.25, ""},
    {"Latin-1 text, seconds", "#A93:M\xfcller,J\xfcrgen,m,1.3.1950,6:30:30,K\xf6ln,D\n"
                              "#B93:*,50n56,6e57,1he00,0\n",
     "J\xc3\xbcrgen M\xc3\xbcller", {"1", "3", "1950", "6", "30"}, 2433341.729514, ""},
};

void PrintTo(const ImportRow& row, std::ostream* out) { *out << row.name; }

class AafImport : public ::testing::TestWithParam<ImportRow> {};

TEST_P(AafImport, GivesTheRecordsChart)
{
    const ImportRow& row = GetParam();
    const aaf::Reading reading = aaf::read(row.text);
    ASSERT_TRUE(reading.refused.empty()) << row.name << ": " << reading.refused[0].reason;
    ASSERT_EQ(reading.records.size(), 1u) << row.name;
    const ChartRequest& request = reading.records[0].request;
    EXPECT_EQ(request.name, row.savedName) << row.name;
    const DateTimeTexts& t = request.first.texts;
    EXPECT_EQ(std::vector<std::string>({t.day, t.month, t.year, t.hour, t.minute}),
              std::vector<std::string>({row.local.day, row.local.month, row.local.year,
                                        row.local.hour, row.local.minute})) << row.name;
    EXPECT_EQ(reading.records[0].note, row.note) << row.name;
    ChartState state;
    const RequestResult computed = computeRequest(state, request);
    ASSERT_TRUE(computed.ok) << row.name;
    if (row.givenJd) {
        EXPECT_NEAR(computed.rows[0].jdUt, *row.givenJd, 2e-6) << row.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, AafImport, ::testing::ValuesIn(kImports));

// Each unreadable record is refused with its line; the others import.
TEST(Aaf, RefusesRecordsByLine)
{
    const aaf::Reading reading = aaf::read("#:a comment\n"
                                           "#B93:*,1n00,1e00,0,0\n"
                                           "#A93:Good,One,m,1.1.2000,12:00,*,*\n"
                                           "#B93:*,10n00,10e00,1he00,0\n"
                                           "#A93:Bad,Date,m,31.2.1990,12:00,*,*\n"
                                           "#B93:*,10n00,10e00,1he00,0\n"
                                           "#A93:Bad,Latitude,m,1.1.1990,12:00,*,*\n"
                                           "#B93:*,95n00,10e00,1he00,0\n"
                                           "#A93:Bad,Time,m,1.1.1990,25:00,*,*\n"
                                           "#B93:*,10n00,10e00,1he00,0\n"
                                           "#A93:No,Place,m,1.1.1990,12:00,*,*\n");
    ASSERT_EQ(reading.records.size(), 1u);
    EXPECT_EQ(reading.records[0].request.name, "One Good");
    std::vector<int> lines;
    for (const auto& refused : reading.refused)
        lines.push_back(refused.line);
    EXPECT_EQ(lines, std::vector<int>({2, 5, 8, 9, 11}));
}

// What is written reads back to the same records, written again byte for byte.
TEST(Aaf, RoundTripIsByteStable)
{
    std::string text;
    for (const ImportRow& row : kImports)
        text += row.text;
    ChartRequest atlasPlace;
    atlasPlace.name = "أحمد";
    atlasPlace.first.texts = {"7", "12", "1990", "9", "47"};
    atlasPlace.place.coordinates = {"39.83", "0", "21.42", "0", false, false};
    atlasPlace.place.atlas = AtlasIdentity{"مكة, السعودية", "Asia/Riyadh", 21.42, 39.83};
    auto records = aaf::read(text).records;
    records.push_back({atlasPlace, "#not a chunk\n#nor this"});
    const std::string once = aaf::write(records);
    const aaf::Reading back = aaf::read(once);
    ASSERT_EQ(back.records.size(), records.size());
    EXPECT_EQ(aaf::write(back.records), once);
    for (std::size_t k = 0; k < records.size(); ++k) {
        ChartState first, second;
        ASSERT_TRUE(computeRequest(first, records[k].request).ok);
        ASSERT_TRUE(computeRequest(second, back.records[k].request).ok);
        EXPECT_NEAR(first.Planets[1].Longitude, second.Planets[1].Longitude, 1e-3) << k;
    }
}

} // namespace

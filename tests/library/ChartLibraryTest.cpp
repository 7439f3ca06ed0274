#include "library/ChartLibrary.h"

#include "core/PositionTexts.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

using namespace velmora;
using library::ChartLibrary;

namespace {

namespace fs = std::filesystem;

// A fresh folder for one test's library files; CTest runs each row as its own process, in
// parallel, so the folder is named after the running row as well.
std::string freshFolder(const std::string& name)
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string row = test ? std::string(test->name()) : std::string();
    std::replace(row.begin(), row.end(), '/', '-');
    const fs::path folder = fs::temp_directory_path() / ("velmora-library-" + name + "-" + row);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder.string();
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

ChartRequest natal(const std::string& name)
{
    ChartRequest request;
    request.name = name;
    request.first.texts = {"7", "12", "1990", "9", "47"};
    request.place.coordinates = {"39", "49", "21", "27", false, false};
    return request;
}

struct SavedRow {
    const char* name;
    ChartRequest request;
};

std::vector<SavedRow> savedRows()
{
    ChartRequest atlasPlace = natal("أحمد");
    atlasPlace.place.atlas = AtlasIdentity{"مكة", "Asia/Riyadh", 21.42, 39.83};
    atlasPlace.place.summerGiven = true;
    atlasPlace.place.summerText = "1";
    ChartRequest transits = natal("Zoë");
    transits.kind = ChartKind::Transits;
    transits.second = RequestRow{{"1", "1", "2027", "0", "5"}, true};
    transits.place.coordinates = {"70", "40", "33", "30", true, true};
    transits.zoneText = "0.363333";
    return {{"atlas_place_summer_given", atlasPlace}, {"transits_south_west_own_zone", transits}};
}

void PrintTo(const SavedRow& row, std::ostream* out) { *out << row.name; }

class SavedChart : public ::testing::TestWithParam<SavedRow> {};

// A reopened chart is the request saved: computing it gives the same points, cusps and caption.
TEST_P(SavedChart, ReopensAsTheSameChart)
{
    const SavedRow& row = GetParam();
    const std::string path = freshFolder("saved") + "/charts.sqlite";
    ASSERT_TRUE(ChartLibrary::open(path).library->save(row.request, "a note").ok());
    const auto found = ChartLibrary::open(path).library->findByName(row.request.name);
    ASSERT_EQ(found.charts.size(), 1u) << row.name;
    const ChartRequest& back = found.charts[0].request;
    EXPECT_EQ(found.charts[0].note, "a note");

    ChartState saved, reopened;
    ASSERT_TRUE(computeRequest(saved, row.request).ok) << row.name;
    ASSERT_TRUE(computeRequest(reopened, back).ok) << row.name;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        EXPECT_EQ(saved.Planets[slot].Longitude, reopened.Planets[slot].Longitude) << row.name;
        EXPECT_EQ(saved.HouseCusps[slot], reopened.HouseCusps[slot]) << row.name;
    }
    EXPECT_EQ(chartTitle(row.request.name, row.request.first.texts),
              chartTitle(back.name, back.first.texts));
    // The second row and the zone show in the points; these do not.
    EXPECT_EQ(back.kind, row.request.kind);
    EXPECT_EQ(back.place.atlas.has_value(), row.request.place.atlas.has_value());
}

INSTANTIATE_TEST_SUITE_P(Rows, SavedChart, ::testing::ValuesIn(savedRows()),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnreadableRow {
    const char* name;
    void (*make)(const std::string& path);
};

void writeSchema(const std::string& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

const UnreadableRow kUnreadable[] = {
    {"not_a_database", [](const std::string& p) { std::ofstream(p) << std::string(9000, 'x'); }},
    {"future_schema", [](const std::string& p) {
         writeSchema(p, "CREATE TABLE charts (id INTEGER); PRAGMA user_version = 7;"); }},
    {"foreign_tables", [](const std::string& p) { writeSchema(p, "CREATE TABLE t (x);"); }},
};

void PrintTo(const UnreadableRow& row, std::ostream* out) { *out << row.name; }

class UnreadableLibrary : public ::testing::TestWithParam<UnreadableRow> {};

// The file is renamed aside with every byte, and a new, empty library starts.
TEST_P(UnreadableLibrary, IsMovedAsideWhole)
{
    const std::string path = freshFolder("unreadable") + "/charts.sqlite";
    GetParam().make(path);
    const std::string before = bytesOf(path);
    auto opening = ChartLibrary::open(path);
    ASSERT_TRUE(opening.library) << GetParam().name << ": " << opening.error;
    ASSERT_FALSE(opening.movedTo.empty()) << GetParam().name;
    EXPECT_EQ(bytesOf(opening.movedTo), before) << GetParam().name;
    EXPECT_TRUE(opening.library->list().empty()) << GetParam().name;
    EXPECT_TRUE(opening.library->save(natal("x")).ok()) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Rows, UnreadableLibrary, ::testing::ValuesIn(kUnreadable),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ChartLibrary, TwoConnectionsWritingAtOnceLoseNothing)
{
    const std::string path = freshFolder("writers") + "/charts.sqlite";
    auto first = ChartLibrary::open(path);
    auto second = ChartLibrary::open(path);
    auto write = [](ChartLibrary& library, const char* prefix) {
        for (int k = 0; k < 100; ++k) {
            EXPECT_TRUE(library.save(natal(prefix + std::to_string(k))).ok());
            EXPECT_TRUE(library.addRecent(natal(prefix)).ok());
        }
    };
    std::thread a(write, std::ref(*first.library), "a");
    std::thread b(write, std::ref(*second.library), "b");
    a.join();
    b.join();
    EXPECT_EQ(first.library->list().size(), 200u);
    EXPECT_EQ(second.library->recent().size(), std::size_t(ChartLibrary::kRecentKept));
}

// Search folds as the atlas does; look-up by name, rename, note, delete and the recent list.
TEST(ChartLibrary, FindsChangesAndKeepsRecent)
{
    auto opening = ChartLibrary::open(freshFolder("edits") + "/charts.sqlite");
    ChartLibrary& library = *opening.library;
    ChartRequest placed = natal("Zoë Martin");
    placed.place.atlas = AtlasIdentity{"Orléans, France", "Europe/Paris", 47.9, 1.9};
    const auto zoe = library.save(placed).id;
    const auto ahmad = library.save(natal("أَحْمَد الرباطي")).id;
    library.save(natal("Twin"));
    library.save(natal("Twin"));
    const struct { const char* query; std::vector<std::int64_t> ids; } searches[] = {
        {"zoe", {zoe}}, {"orl fr", {zoe}}, {"احمد", {ahmad}}, {"رباطي", {ahmad}},
        {"nobody", {}},
    };
    for (const auto& s : searches) {
        std::vector<std::int64_t> ids;
        for (const auto& chart : library.search(s.query))
            ids.push_back(chart.id);
        EXPECT_EQ(ids, s.ids) << s.query;
    }
    EXPECT_EQ(library.findByName("Twin").charts.size(), 2u);
    EXPECT_TRUE(library.rename(zoe, "Chloé").ok());
    EXPECT_EQ(library.search("chloe").size(), 1u);
    EXPECT_TRUE(library.search("zoe").empty());
    EXPECT_TRUE(library.setNote(zoe, "n").ok());
    EXPECT_EQ(library.find(zoe)->note, "n");
    EXPECT_TRUE(library.remove(zoe).ok());
    EXPECT_FALSE(library.remove(zoe).ok());
    EXPECT_TRUE(library.search("orl").empty());
    for (int k = 0; k < ChartLibrary::kRecentKept + 5; ++k)
        library.addRecent(natal(std::to_string(k)));
    const auto recent = library.recent();
    ASSERT_EQ(recent.size(), std::size_t(ChartLibrary::kRecentKept));
    EXPECT_EQ(recent.front().request.name, std::to_string(ChartLibrary::kRecentKept + 4));
}

} // namespace

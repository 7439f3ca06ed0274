// The chart library at 10,000 charts: opening it as its window does (the file checked, every
// chart read for the grid) and one search keystroke, against SQLite reading the same rows raw
// in the same run.
#include "library/ChartLibrary.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using velmora::library::ChartLibrary;

constexpr int kCharts = 10000;

const char* const kNames[] = {"فاطمة العلي", "محمد بن سعيد", "Tobias Ferber", "سلمى",
                              "Ana Müller", "يوسف الفاسي", "Claire Dubois", "عائشة"};
const char* const kPlaces[] = {"فاس, المغرب", "مكة, السعودية", "Paris, France", "القاهرة, مصر"};

// A library of kCharts charts, made once per run.
const std::string& libraryPath()
{
    static const std::string path = [] {
        const std::string file = (std::filesystem::temp_directory_path() /
                                  ("velmora-bench-library-" + std::to_string(::getpid()) + ".sqlite"))
                                     .string();
        std::filesystem::remove(file);
        auto opening = ChartLibrary::open(file);
        std::vector<velmora::library::SavedChart> charts;
        for (int k = 0; k < kCharts; ++k) {
            velmora::ChartRequest request;
            request.name = std::string(kNames[k % 8]) + " " + std::to_string(k);
            request.first.texts = {std::to_string(k % 28 + 1), std::to_string(k % 12 + 1),
                                   std::to_string(1900 + k % 120), "12", "30"};
            request.place.coordinates = {"39", "49", "21", "27", false, false};
            request.place.atlas = velmora::AtlasIdentity{kPlaces[k % 4], "Asia/Riyadh", 21.42, 39.83};
            charts.push_back({0, request, "", {}, {}});
        }
        opening.library->saveAll(charts);
        return file;
    }();
    return path;
}

void BM_RawSqliteReadAll(benchmark::State& run)
{
    for (auto _ : run) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(libraryPath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM charts ORDER BY name, id", -1, &s, nullptr);
        int rows = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(s, c));
            ++rows;
        }
        sqlite3_finalize(s);
        sqlite3_close(db);
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_RawSqliteReadAll)->Unit(benchmark::kMillisecond);

void BM_OpenAndListAll(benchmark::State& run)
{
    for (auto _ : run) {
        auto opening = ChartLibrary::open(libraryPath());
        benchmark::DoNotOptimize(opening.library->search(""));
    }
}
BENCHMARK(BM_OpenAndListAll)->Unit(benchmark::kMillisecond);

// What the grid asks at each keystroke of "فاطمة" and "Tob".
void BM_SearchKeystroke(benchmark::State& run)
{
    const char* const typed[] = {"ف", "فاط", "فاطمه", "T", "Tob", "فاس 12"};
    const char* query = typed[run.range(0)];
    auto opening = ChartLibrary::open(libraryPath());
    for (auto _ : run)
        benchmark::DoNotOptimize(opening.library->search(query));
}
BENCHMARK(BM_SearchKeystroke)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

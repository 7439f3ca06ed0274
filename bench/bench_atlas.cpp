// A search of our place index against libgeonames' own search, over the same queries, in one
// run; and the opening of the index with its first search, as the database view does it.
#include "atlas/Atlas.h"

#include <benchmark/benchmark.h>
#include <geonames.h>

#include <clocale>
#include <cstdlib>

namespace {

// What a user types: the first letters of Arabic and Latin names, and whole names.
const char* const kQueries[] = {"فا", "مكة", "القاهرة", "Paris", "new y", "ق"};
constexpr int kShownPlaces = 100;

void BM_GeonamesSearch(benchmark::State& run)
{
    const char* query = kQueries[run.range(0)];
    for (auto _ : run) {
        guint length = 0;
        gint* found =
            geonames_query_cities_sync(query, GEONAMES_QUERY_DEFAULT, &length, nullptr, nullptr);
        benchmark::DoNotOptimize(found);
        g_free(found);
    }
}
BENCHMARK(BM_GeonamesSearch)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_AtlasSearch(benchmark::State& run)
{
    const char* query = kQueries[run.range(0)];
    auto opened = velmora::atlas::Atlas::open(velmora::atlas::defaultIndexPath());
    if (!opened.atlas) {
        run.SkipWithError(opened.error.c_str());
        return;
    }
    for (auto _ : run)
        benchmark::DoNotOptimize(opened.atlas->search(query, kShownPlaces));
}
BENCHMARK(BM_AtlasSearch)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_AtlasOpenAndFirstSearch(benchmark::State& run)
{
    for (auto _ : run) {
        auto opened = velmora::atlas::Atlas::open(velmora::atlas::defaultIndexPath());
        benchmark::DoNotOptimize(opened.atlas->search(kQueries[0], kShownPlaces));
    }
}
BENCHMARK(BM_AtlasOpenAndFirstSearch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // libgeonames matches Arabic names only while its texts are Arabic.
    std::setlocale(LC_ALL, "C.UTF-8");
    setenv("LANGUAGE", "ar", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

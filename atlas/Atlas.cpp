#include "atlas/Atlas.h"

#include "atlas/TextFolding.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <tuple>

namespace velmora::atlas {

namespace {

// The full-text expression: every word of the name part begins a word of a name, every word
// after the first comma a word of the region or country. Empty when the name part has no word.
std::string matchExpression(std::string_view query)
{
    const std::string folded = searchText(query);
    const auto comma = folded.find(',');
    const auto names = words(folded.substr(0, comma));
    if (names.empty())
        return {};
    std::string expression;
    auto add = [&expression](const char* column, const std::vector<std::string>& list) {
        for (const std::string& word : list) {
            expression += (expression.empty() ? "" : " AND ") + std::string(column) + ":\"" +
                          withoutArticle(word) + "\"*";
        }
    };
    add("names", names);
    if (comma != std::string::npos)
        add("qualifiers", words(folded.substr(comma + 1)));
    return expression;
}

std::string columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : "";
}

constexpr const char* kSchema = R"sql(
CREATE TABLE places (
  rank INTEGER PRIMARY KEY, -- 1 for the most populous place
  name TEXT NOT NULL, name_latin TEXT NOT NULL,
  region TEXT NOT NULL, region_latin TEXT NOT NULL,
  country TEXT NOT NULL, country_latin TEXT NOT NULL,
  latitude REAL NOT NULL, longitude REAL NOT NULL,
  zone TEXT NOT NULL, population INTEGER NOT NULL);
-- Rows share the rank as rowid, so a match in rowid order is already by population.
CREATE VIRTUAL TABLE place_words USING fts5(names, qualifiers, content='', prefix='1 2 3',
  tokenize='unicode61 remove_diacritics 2');
)sql";

constexpr const char* kSearch = R"sql(
SELECT name, name_latin, region, region_latin, country, country_latin, latitude, longitude,
       zone, population
FROM place_words JOIN places ON places.rank = place_words.rowid
WHERE place_words MATCH ?1 ORDER BY place_words.rowid
)sql";

// A number column: SQLite reads text or a null as 0, which would chart a corrupt row on the
// equator.
double numberColumn(sqlite3_stmt* statement, int column)
{
    const int type = sqlite3_column_type(statement, column);
    return type == SQLITE_FLOAT || type == SQLITE_INTEGER ? sqlite3_column_double(statement, column)
                                                          : NAN;
}

std::string failure(sqlite3* db, const std::string& what)
{
    return what + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
}

} // namespace

Atlas::Atlas(sqlite3* db, sqlite3_stmt* query)
    : m_db(db)
    , m_query(query)
{
}

Atlas::~Atlas()
{
    sqlite3_finalize(m_query);
    sqlite3_close(m_db);
}

AtlasOpening Atlas::open(const std::string& path)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* query = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v3(db, kSearch, -1, SQLITE_PREPARE_PERSISTENT, &query, nullptr) !=
            SQLITE_OK) {
        std::string error = failure(db, "cannot open the place index " + path);
        sqlite3_close(db);
        return {nullptr, error};
    }
    return {std::unique_ptr<Atlas>(new Atlas(db, query)), {}};
}

Matches Atlas::search(std::string_view query, int limit)
{
    Matches matches;
    const std::string expression = matchExpression(query);
    if (expression.empty() || limit <= 0)
        return matches;
    sqlite3_reset(m_query);
    sqlite3_bind_text(m_query, 1, expression.c_str(), -1, SQLITE_TRANSIENT);
    // Read until `limit` sound places, so that refused ones do not take their room; a file
    // refusing every place is read no further than a hundred refusals.
    int step = SQLITE_DONE;
    int refused = 0;
    constexpr int kNamedRefusals = 3;
    constexpr int kMostRefusals = 100;
    while (static_cast<int>(matches.places.size()) < limit && refused < kMostRefusals &&
           (step = sqlite3_step(m_query)) == SQLITE_ROW) {
        Place place;
        place.name = columnText(m_query, 0);
        place.nameLatin = columnText(m_query, 1);
        place.region = columnText(m_query, 2);
        place.regionLatin = columnText(m_query, 3);
        place.country = columnText(m_query, 4);
        place.countryLatin = columnText(m_query, 5);
        place.latitude = numberColumn(m_query, 6);
        place.longitude = numberColumn(m_query, 7);
        place.zone = columnText(m_query, 8);
        place.population = sqlite3_column_int64(m_query, 9);
        // A damaged index must not chart a place elsewhere nor open a file as its zone.
        if (const std::string problem = placeProblem(place); problem.empty())
            matches.places.push_back(std::move(place));
        else if (++refused <= kNamedRefusals)
            matches.error += (matches.error.empty() ? "" : "\n") + problem;
    }
    if (refused > kNamedRefusals)
        matches.error += "\nand " + std::to_string(refused - kNamedRefusals) + " more refused";
    if (step != SQLITE_DONE && step != SQLITE_ROW) {
        matches.places.clear();
        matches.error = failure(m_db, "the place search failed");
    }
    sqlite3_reset(m_query);
    return matches;
}

bool isZoneName(std::string_view zone)
{
    auto allowed = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return std::isalnum(byte) || c == '_' || c == '+' || c == '-' || c == '/';
    };
    return !zone.empty() && zone.front() != '/' && zone.back() != '/' &&
           zone.find("//") == std::string_view::npos &&
           std::all_of(zone.begin(), zone.end(), allowed);
}

std::string placeProblem(const Place& place)
{
    auto number = [](double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return std::string(text);
    };
    std::string problem;
    if (!(std::fabs(place.latitude) <= 90.0))
        problem = "its latitude " + number(place.latitude) + " is not a number within -90..90";
    else if (!(std::fabs(place.longitude) <= 180.0))
        problem = "its longitude " + number(place.longitude) + " is not a number within -180..180";
    else if (!isZoneName(place.zone))
        problem = "its time zone '" + place.zone + "' is not a time-zone name";
    return problem.empty() ? problem
                           : "the atlas's place '" + place.nameLatin + "' is refused: " + problem;
}

std::string defaultIndexPath()
{
    if (const char* chosen = std::getenv("VELMORA_PLACES"); chosen && *chosen)
        return chosen;
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (program.parent_path().parent_path() / "share" / "velmora" / "places.sqlite").string();
}

std::string writeIndex(const std::string& path, std::vector<Place> places)
{
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        return std::tie(b.population, a.nameLatin) < std::tie(a.population, b.nameLatin);
    });

    const std::string partial = path + ".partial";
    std::remove(partial.c_str());
    sqlite3* db = nullptr;
    std::string error;
    auto check = [&](int code, const char* what) {
        if (code != SQLITE_OK && code != SQLITE_DONE && error.empty())
            error = failure(db, what);
        return error.empty();
    };
    sqlite3_stmt* place = nullptr;
    sqlite3_stmt* word = nullptr;
    if (check(sqlite3_open(partial.c_str(), &db), "cannot create the index") &&
        check(sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr), "cannot create the tables") &&
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), "cannot begin") &&
        check(sqlite3_prepare_v2(db, "INSERT INTO places VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1,
                                 &place, nullptr), "cannot prepare") &&
        check(sqlite3_prepare_v2(db, "INSERT INTO place_words (rowid, names, qualifiers) "
                                     "VALUES (?,?,?)", -1, &word, nullptr), "cannot prepare")) {
        for (std::size_t i = 0; i < places.size() && error.empty(); ++i) {
            const Place& p = places[i];
            const auto rank = static_cast<sqlite3_int64>(i + 1);
            const std::string texts[] = {displayText(p.name), displayText(p.nameLatin),
                                         displayText(p.region), displayText(p.regionLatin),
                                         displayText(p.country), displayText(p.countryLatin)};
            sqlite3_bind_int64(place, 1, rank);
            for (int t = 0; t < 6; ++t)
                sqlite3_bind_text(place, 2 + t, texts[t].c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_double(place, 8, p.latitude);
            sqlite3_bind_double(place, 9, p.longitude);
            sqlite3_bind_text(place, 10, p.zone.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(place, 11, p.population);
            check(sqlite3_step(place), "cannot write a place");
            sqlite3_reset(place);

            std::string allNames = texts[0] + " " + texts[1];
            for (const std::string& other : p.otherNames)
                allNames += " " + other;
            const std::string names = indexedWords(allNames);
            const std::string qualifiers =
                indexedWords(texts[2] + " " + texts[3] + " " + texts[4] + " " + texts[5]);
            sqlite3_bind_int64(word, 1, rank);
            sqlite3_bind_text(word, 2, names.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(word, 3, qualifiers.c_str(), -1, SQLITE_TRANSIENT);
            check(sqlite3_step(word), "cannot index a place");
            sqlite3_reset(word);
        }
        check(sqlite3_exec(db, "COMMIT; INSERT INTO place_words(place_words) VALUES('optimize');"
                               "VACUUM", nullptr, nullptr, nullptr), "cannot commit");
    }
    sqlite3_finalize(place);
    sqlite3_finalize(word);
    sqlite3_close(db);

    std::error_code renamed;
    if (error.empty())
        std::filesystem::rename(partial, path, renamed);
    if (renamed)
        error = "cannot replace " + path + ": " + renamed.message();
    if (!error.empty())
        std::remove(partial.c_str());
    return error;
}

} // namespace velmora::atlas

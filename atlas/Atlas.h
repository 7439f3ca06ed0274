#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::atlas {

// One place of the atlas. The Arabic fields hold the Latin text where the data has no
// translation.
struct Place {
    std::string name;
    std::string nameLatin;
    std::string region;
    std::string regionLatin;
    std::string country;
    std::string countryLatin;
    double latitude = 0.0;  // decimal degrees, north positive
    double longitude = 0.0; // decimal degrees, east positive
    std::string zone;       // IANA time zone, e.g. "Africa/Casablanca"
    std::int64_t population = 0;
    // The place's names in other languages: search keys only, never shown nor read back.
    std::vector<std::string> otherNames;
};

struct Matches {
    std::vector<Place> places; // most populous first, only the sound ones
    std::string error;         // the database's reason when the search failed, or the places
                               // refused for coordinates or a zone out of bounds
};

struct AtlasOpening;

// The place index, opened read-only. A query is one or more word beginnings matched against the
// Arabic and Latin names (and the other names of the place), insensitive to case, Latin accents
// and letters such as ø æ ß ł đ written o ae ss l d, Arabic short vowels, the seat of
// hamza, taa marbuta and alif maqsura; after a comma, more word beginnings narrow it by region or
// country ("Paris, Texas").
class Atlas final {
public:
    static AtlasOpening open(const std::string& path);
    ~Atlas();
    Atlas(const Atlas&) = delete;
    Atlas& operator=(const Atlas&) = delete;

    Matches search(std::string_view query, int limit);

private:
    Atlas(sqlite3* db, sqlite3_stmt* query);

    sqlite3* m_db;
    sqlite3_stmt* m_query;
};

struct AtlasOpening {
    std::unique_ptr<Atlas> atlas;
    std::string error; // why it could not be opened, naming the file
};

// Why a place cannot be charted, empty when it can: its coordinates must be finite and within
// ±90° and ±180°, its zone an IANA name (letters, digits and _+-/ in non-empty parts, so never
// a path out of the zone database).
std::string placeProblem(const Place& place);
bool isZoneName(std::string_view zone);

// Where the build puts the index: share/velmora/places.sqlite beside the folder of the running
// program (build/cli/velmora-cli reads build/share/velmora/places.sqlite, /usr/bin/velmora
// /usr/share/velmora/places.sqlite); the file VELMORA_PLACES names, when set.
std::string defaultIndexPath();

// Writes an index of `places` to `path`, replacing the file only once the new one is complete.
// Returns the reason on failure, empty on success.
std::string writeIndex(const std::string& path, std::vector<Place> places);

} // namespace velmora::atlas

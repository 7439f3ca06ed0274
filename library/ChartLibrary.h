#pragma once

#include "core/ChartRequest.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace velmora::library {

// One saved chart: the request it is computed from, never the computed chart.
struct SavedChart {
    std::int64_t id = 0;
    ChartRequest request;
    std::string note;
    std::string created; // UTC, "2026-12-07T09:47:00Z"
    std::string changed;
};

// One computed request of the recent list.
struct RecentChart {
    std::int64_t id = 0;
    ChartRequest request;
    std::string computed; // UTC, as above
};

// A write's outcome: empty error on success, else the database's reason.
struct Written {
    std::int64_t id = 0; // the new row, for save
    std::string error;
    bool ok() const { return error.empty(); }
};

// The charts whose name is exactly the one looked for: one, none, or several candidates.
struct NameLookup {
    std::vector<SavedChart> charts;
    std::string error; // the database's reason when the look-up failed
};

struct LibraryOpening;

// The user's saved charts and the last computed requests, in one SQLite file (WAL journal, a
// busy timeout, every write one transaction), shared safely by several running programs.
class ChartLibrary final {
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr int kRecentKept = 50;

    // Opens the library, creating it (and its folder) when absent. A file that fails
    // PRAGMA quick_check or has an unknown schema version is renamed aside with a time stamp
    // ("charts.sqlite.corrupt-20261207T094700Z", never deleted nor overwritten) and a new one
    // starts; the opening then says where it went.
    static LibraryOpening open(const std::string& path);
    ~ChartLibrary();
    ChartLibrary(const ChartLibrary&) = delete;
    ChartLibrary& operator=(const ChartLibrary&) = delete;

    Written save(const ChartRequest& request, const std::string& note = {});
    // Saves many in one transaction (an import): all or none.
    Written saveAll(const std::vector<SavedChart>& charts);
    std::vector<SavedChart> list(std::string* error = nullptr) const; // by name, then id
    // The charts whose name or place holds words beginning with every word of `text`, folded
    // as the atlas folds Arabic and Latin; every chart for a text without words.
    std::vector<SavedChart> search(const std::string& text, std::string* error = nullptr) const;
    NameLookup findByName(const std::string& name) const;
    std::optional<SavedChart> find(std::int64_t id) const;
    Written rename(std::int64_t id, const std::string& name);
    Written setNote(std::int64_t id, const std::string& note);
    Written remove(std::int64_t id);

    // Keeps a computed request, dropping all but the newest kRecentKept.
    Written addRecent(const ChartRequest& request);
    std::vector<RecentChart> recent(std::string* error = nullptr) const; // newest first

    const std::string& path() const { return m_path; }

private:
    ChartLibrary(sqlite3* db, std::string path);

    sqlite3* m_db;
    std::string m_path;
};

struct LibraryOpening {
    std::unique_ptr<ChartLibrary> library;
    std::string error;     // why it could not be opened, naming the file
    std::string movedTo;   // where an unreadable file was renamed, when one was
    std::string movedWhy;  // "failed its integrity check" or "has schema version 7"
};

// Where the command line keeps the library: the folder Qt's AppDataLocation gives the program
// ($XDG_DATA_HOME, else ~/.local/share, then "velmora"), so that both share one file.
std::string defaultLibraryPath();

// The stable word of a kind in the library and its exports ("natal", "transits", ...).
const char* kindWord(ChartKind kind);
std::optional<ChartKind> kindOfWord(const std::string& word);

} // namespace velmora::library

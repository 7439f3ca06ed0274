#include "library/ChartLibrary.h"

#include "atlas/TextFolding.h"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>

namespace velmora::library {

namespace {

constexpr const char* kKindWords[] = {"horary", "natal", "transits",
                                      "comparison", "solar", "progressions"};

// The columns of a request, in the order bindRequest and readRequest use. A row without a
// second date has day2 NULL, a place not from the atlas atlas_name NULL.
constexpr const char* kRequestColumns =
    "kind, name, day, month, year, hour, minute, time_unknown, "
    "day2, month2, year2, hour2, minute2, time_unknown2, "
    "lon_deg, lon_min, lat_deg, lat_min, west, south, summer, summer_given, "
    "atlas_name, atlas_zone, atlas_lat, atlas_lon, zone";
constexpr int kRequestColumnCount = 27;

constexpr const char* kRequestTypes =
    "kind TEXT NOT NULL, name TEXT NOT NULL, day TEXT NOT NULL, month TEXT NOT NULL, "
    "year TEXT NOT NULL, hour TEXT NOT NULL, minute TEXT NOT NULL, time_unknown INTEGER NOT NULL, "
    "day2 TEXT, month2 TEXT, year2 TEXT, hour2 TEXT, minute2 TEXT, time_unknown2 INTEGER, "
    "lon_deg TEXT NOT NULL, lon_min TEXT NOT NULL, lat_deg TEXT NOT NULL, lat_min TEXT NOT NULL, "
    "west INTEGER NOT NULL, south INTEGER NOT NULL, summer TEXT NOT NULL, "
    "summer_given INTEGER NOT NULL, atlas_name TEXT, atlas_zone TEXT, atlas_lat REAL, "
    "atlas_lon REAL, zone TEXT";

std::string schema()
{
    return std::string("CREATE TABLE charts (id INTEGER PRIMARY KEY, ") + kRequestTypes +
           ", note TEXT NOT NULL, created TEXT NOT NULL, changed TEXT NOT NULL);"
           "CREATE INDEX charts_by_name ON charts(name);"
           "CREATE VIRTUAL TABLE chart_words USING fts5(words, prefix='1 2 3', tokenize='" +
           atlas::kFoldedTokenizer + "');" +
           "CREATE TABLE recent (id INTEGER PRIMARY KEY AUTOINCREMENT, " + kRequestTypes +
           ", computed TEXT NOT NULL);" + "PRAGMA user_version = " +
           std::to_string(ChartLibrary::kSchemaVersion) + ";";
}

std::string utcNow(const char* format)
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

std::string failure(sqlite3* db, const std::string& what)
{
    return what + ": " + (db ? sqlite3_errmsg(db) : "out of memory");
}

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_statement, nullptr) != SQLITE_OK)
            m_statement = nullptr;
    }
    ~Statement() { sqlite3_finalize(m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    explicit operator bool() const { return m_statement != nullptr; }
    sqlite3_stmt* get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
};

void bindText(sqlite3_stmt* statement, int index, const std::string& text)
{
    sqlite3_bind_text(statement, index, text.c_str(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

// Binds the request's columns from parameter `first` on.
void bindRequest(sqlite3_stmt* s, int first, const ChartRequest& request)
{
    int i = first;
    bindText(s, i++, kindWord(request.kind));
    bindText(s, i++, request.name);
    for (const RequestRow* row : {&request.first, request.second ? &*request.second : nullptr}) {
        if (row) {
            for (const std::string& text : {row->texts.day, row->texts.month, row->texts.year,
                                            row->texts.hour, row->texts.minute})
                bindText(s, i++, text);
            sqlite3_bind_int(s, i++, row->timeUnknown ? 1 : 0);
        } else {
            for (int k = 0; k < 6; ++k)
                sqlite3_bind_null(s, i++);
        }
    }
    const RequestPlace& place = request.place;
    for (const std::string& text : {place.coordinates.lonDeg, place.coordinates.lonMin,
                                    place.coordinates.latDeg, place.coordinates.latMin})
        bindText(s, i++, text);
    sqlite3_bind_int(s, i++, place.coordinates.west ? 1 : 0);
    sqlite3_bind_int(s, i++, place.coordinates.south ? 1 : 0);
    bindText(s, i++, place.summerText);
    sqlite3_bind_int(s, i++, place.summerGiven ? 1 : 0);
    if (place.atlas) {
        bindText(s, i++, place.atlas->name);
        bindText(s, i++, place.atlas->timeZone);
        sqlite3_bind_double(s, i++, place.atlas->latitude);
        sqlite3_bind_double(s, i++, place.atlas->longitude);
    } else {
        for (int k = 0; k < 4; ++k)
            sqlite3_bind_null(s, i++);
    }
    if (request.zoneText)
        bindText(s, i++, *request.zoneText);
    else
        sqlite3_bind_null(s, i++);
}

std::string textColumn(sqlite3_stmt* s, int column)
{
    const auto* text = sqlite3_column_text(s, column);
    return text ? std::string(reinterpret_cast<const char*>(text),
                              static_cast<std::size_t>(sqlite3_column_bytes(s, column)))
                : std::string();
}

bool isNull(sqlite3_stmt* s, int column)
{
    return sqlite3_column_type(s, column) == SQLITE_NULL;
}

// Reads the request's columns from result column `first` on.
ChartRequest readRequest(sqlite3_stmt* s, int first)
{
    ChartRequest request;
    int i = first;
    request.kind = kindOfWord(textColumn(s, i++)).value_or(ChartKind::Natal);
    request.name = textColumn(s, i++);
    auto readRow = [&](int at) {
        RequestRow row;
        row.texts = {textColumn(s, at), textColumn(s, at + 1), textColumn(s, at + 2),
                     textColumn(s, at + 3), textColumn(s, at + 4)};
        row.timeUnknown = sqlite3_column_int(s, at + 5) != 0;
        return row;
    };
    request.first = readRow(i);
    i += 6;
    if (!isNull(s, i))
        request.second = readRow(i);
    i += 6;
    PlaceInput& place = request.place.coordinates;
    place.lonDeg = textColumn(s, i++);
    place.lonMin = textColumn(s, i++);
    place.latDeg = textColumn(s, i++);
    place.latMin = textColumn(s, i++);
    place.west = sqlite3_column_int(s, i++) != 0;
    place.south = sqlite3_column_int(s, i++) != 0;
    request.place.summerText = textColumn(s, i++);
    request.place.summerGiven = sqlite3_column_int(s, i++) != 0;
    if (!isNull(s, i)) {
        request.place.atlas = AtlasIdentity{textColumn(s, i), textColumn(s, i + 1),
                                            sqlite3_column_double(s, i + 2),
                                            sqlite3_column_double(s, i + 3)};
    }
    i += 4;
    if (!isNull(s, i))
        request.zoneText = textColumn(s, i);
    return request;
}

// What a chart is found by: its name and its place's name.
std::string searchedWords(const ChartRequest& request)
{
    return atlas::indexedWords(request.name + " " +
                               (request.place.atlas ? request.place.atlas->name : ""));
}

std::string placeholders(int count)
{
    std::string out;
    for (int k = 0; k < count; ++k)
        out += k ? ",?" : "?";
    return out;
}

const std::string& chartColumns()
{
    static const std::string columns =
        std::string("id, ") + kRequestColumns + ", note, created, changed";
    return columns;
}

SavedChart readChart(sqlite3_stmt* s)
{
    SavedChart chart;
    chart.id = sqlite3_column_int64(s, 0);
    chart.request = readRequest(s, 1);
    chart.note = textColumn(s, 1 + kRequestColumnCount);
    chart.created = textColumn(s, 2 + kRequestColumnCount);
    chart.changed = textColumn(s, 3 + kRequestColumnCount);
    return chart;
}

// Runs `work` in one write transaction, committed only when it succeeded. The write lock is
// taken first, so that two writers wait for each other (the busy timeout) instead of failing.
Written inTransaction(sqlite3* db, const std::function<Written()>& work)
{
    if (sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        return {0, failure(db, "the chart library is busy or read-only")};
    Written written = work();
    if (written.ok() && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        written.error = failure(db, "cannot write the chart library");
    if (!written.ok())
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return written;
}

bool stepDone(sqlite3_stmt* s)
{
    return sqlite3_step(s) == SQLITE_DONE;
}

Written insertChart(sqlite3* db, const ChartRequest& request, const std::string& note,
                    const std::string& created, const std::string& changed)
{
    Statement chart(db, std::string("INSERT INTO charts (") + kRequestColumns +
                            ", note, created, changed) VALUES (" +
                            placeholders(kRequestColumnCount + 3) + ")");
    Statement words(db, "INSERT INTO chart_words (rowid, words) VALUES (?, ?)");
    if (!chart || !words)
        return {0, failure(db, "cannot save the chart")};
    bindRequest(chart.get(), 1, request);
    bindText(chart.get(), kRequestColumnCount + 1, note);
    bindText(chart.get(), kRequestColumnCount + 2, created);
    bindText(chart.get(), kRequestColumnCount + 3, changed);
    if (!stepDone(chart.get()))
        return {0, failure(db, "cannot save the chart")};
    const std::int64_t id = sqlite3_last_insert_rowid(db);
    sqlite3_bind_int64(words.get(), 1, id);
    bindText(words.get(), 2, searchedWords(request));
    if (!stepDone(words.get()))
        return {0, failure(db, "cannot index the chart")};
    return {id, {}};
}

std::vector<SavedChart> readCharts(sqlite3* db, const std::string& sql,
                                   const std::function<void(sqlite3_stmt*)>& bind,
                                   std::string* error)
{
    std::vector<SavedChart> charts;
    Statement s(db, sql);
    int step = SQLITE_ERROR;
    if (s) {
        bind(s.get());
        while ((step = sqlite3_step(s.get())) == SQLITE_ROW)
            charts.push_back(readChart(s.get()));
    }
    if (step != SQLITE_DONE) {
        charts.clear();
        if (error)
            *error = failure(db, "cannot read the chart library");
    }
    return charts;
}

// Renames `from` to `to` without ever replacing a file: the link fails when `to` exists.
bool renameAside(const std::string& from, const std::string& to)
{
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    return ::unlink(from.c_str()) == 0;
}

// Moves the file and its journal files aside under one time-stamped name; the name moved to,
// or empty when it could not be.
std::string moveAside(const std::string& path, const std::string& why)
{
    const std::string base = path + "." + why + "-" + utcNow("%Y%m%dT%H%M%SZ");
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string target = attempt ? base + "-" + std::to_string(attempt) : base;
        std::error_code ignored;
        if (std::filesystem::exists(target, ignored) ||
            std::filesystem::exists(target + "-wal", ignored))
            continue;
        if (!renameAside(path, target))
            continue;
        for (const char* journal : {"-wal", "-shm", "-journal"}) {
            if (std::filesystem::exists(path + journal, ignored))
                renameAside(path + journal, target + journal);
        }
        return target;
    }
    return {};
}

enum class FileState { Sound, Unreadable, Failed };

struct Inspection {
    FileState state = FileState::Sound;
    std::string why;   // for a file moved aside
    std::string error; // for a file that cannot be opened at all
};

// Looks at an existing file: sound, to be moved aside, or not to be opened.
Inspection inspect(const std::string& path)
{
    sqlite3* db = nullptr;
    Inspection out;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        out = {FileState::Failed, {}, failure(db, "cannot open the chart library " + path)};
        sqlite3_close(db);
        return out;
    }
    sqlite3_busy_timeout(db, 5000);
    std::string check;
    int version = -1;
    int tables = 0;
    {
        Statement quick(db, "PRAGMA quick_check");
        int step = quick ? sqlite3_step(quick.get()) : sqlite3_errcode(db);
        if (step == SQLITE_ROW)
            check = textColumn(quick.get(), 0);
        const int code = sqlite3_extended_errcode(db) & 0xFF;
        if (step != SQLITE_ROW && code != SQLITE_NOTADB && code != SQLITE_CORRUPT) {
            out = {FileState::Failed, {}, failure(db, "cannot read the chart library " + path)};
            sqlite3_close(db);
            return out;
        }
    }
    if (check == "ok") {
        Statement v(db, "PRAGMA user_version");
        if (v && sqlite3_step(v.get()) == SQLITE_ROW)
            version = sqlite3_column_int(v.get(), 0);
        Statement t(db, "SELECT count(*) FROM sqlite_schema");
        if (t && sqlite3_step(t.get()) == SQLITE_ROW)
            tables = sqlite3_column_int(t.get(), 0);
    }
    sqlite3_close(db);
    if (check != "ok")
        return {FileState::Unreadable, "corrupt", {}};
    if (version == ChartLibrary::kSchemaVersion || (version == 0 && tables == 0))
        return {};
    return {FileState::Unreadable, "schema-" + std::to_string(version), {}};
}

} // namespace

const char* kindWord(ChartKind kind)
{
    return kKindWords[static_cast<int>(kind)];
}

std::optional<ChartKind> kindOfWord(const std::string& word)
{
    for (int k = 0; k < kChartKindCount; ++k) {
        if (word == kKindWords[k])
            return static_cast<ChartKind>(k);
    }
    return std::nullopt;
}

std::string defaultLibraryPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    // Qt takes XDG_DATA_HOME only when it is an absolute path.
    const std::string folder = data && data[0] == '/'
                                   ? std::string(data)
                                   : std::string(home ? home : "") + "/.local/share";
    return folder + "/velmora/charts.sqlite";
}

ChartLibrary::ChartLibrary(sqlite3* db, std::string path)
    : m_db(db)
    , m_path(std::move(path))
{
}

ChartLibrary::~ChartLibrary()
{
    sqlite3_close(m_db);
}

LibraryOpening ChartLibrary::open(const std::string& path)
{
    LibraryOpening opening;
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
        const Inspection found = inspect(path);
        if (found.state == FileState::Failed) {
            opening.error = found.error;
            return opening;
        }
        if (found.state == FileState::Unreadable) {
            opening.movedTo = moveAside(path, found.why == "corrupt" ? "corrupt" : "unknown");
            opening.movedWhy = found.why == "corrupt" ? "failed its integrity check"
                                                      : "has an unknown " + found.why;
            if (opening.movedTo.empty()) {
                opening.error = "the chart library " + path + " " + opening.movedWhy +
                                " and cannot be moved aside";
                return opening;
            }
        }
    } else if (const auto folder = std::filesystem::path(path).parent_path(); !folder.empty()) {
        std::filesystem::create_directories(folder, error);
    }

    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        opening.error = failure(db, "cannot open the chart library " + path);
        sqlite3_close(db);
        return opening;
    }
    sqlite3_busy_timeout(db, 5000);
    // The schema is made under the write lock, so that two programs starting at once make it
    // once.
    int version = -1;
    const Written made = inTransaction(db, [&]() -> Written {
        Statement v(db, "PRAGMA user_version");
        if (!v || sqlite3_step(v.get()) != SQLITE_ROW)
            return {0, failure(db, "cannot read the chart library " + path)};
        version = sqlite3_column_int(v.get(), 0);
        if (version == 0 &&
            sqlite3_exec(db, schema().c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return {0, failure(db, "cannot create the chart library " + path)};
        return {};
    });
    if (!made.ok() || sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr) !=
                          SQLITE_OK) {
        opening.error = made.ok() ? failure(db, "cannot open the chart library " + path)
                                  : made.error;
        sqlite3_close(db);
        return opening;
    }
    opening.library.reset(new ChartLibrary(db, path));
    return opening;
}

Written ChartLibrary::save(const ChartRequest& request, const std::string& note)
{
    return inTransaction(m_db, [&] {
        const std::string now = utcNow("%Y-%m-%dT%H:%M:%SZ");
        return insertChart(m_db, request, note, now, now);
    });
}

Written ChartLibrary::saveAll(const std::vector<SavedChart>& charts)
{
    return inTransaction(m_db, [&] {
        const std::string now = utcNow("%Y-%m-%dT%H:%M:%SZ");
        Written last;
        for (const SavedChart& chart : charts) {
            last = insertChart(m_db, chart.request, chart.note, now, now);
            if (!last.ok())
                break;
        }
        return last;
    });
}

std::vector<SavedChart> ChartLibrary::list(std::string* error) const
{
    return readCharts(m_db, "SELECT " + chartColumns() + " FROM charts ORDER BY name, id",
                      [](sqlite3_stmt*) {}, error);
}

std::vector<SavedChart> ChartLibrary::search(const std::string& text, std::string* error) const
{
    const std::string expression = atlas::wordBeginnings(text);
    if (expression.empty())
        return list(error);
    return readCharts(m_db,
                      "SELECT " + chartColumns() +
                          " FROM charts WHERE id IN (SELECT rowid FROM chart_words WHERE "
                          "chart_words MATCH ?) ORDER BY name, id",
                      [&](sqlite3_stmt* s) { bindText(s, 1, expression); }, error);
}

NameLookup ChartLibrary::findByName(const std::string& name) const
{
    NameLookup found;
    found.charts = readCharts(m_db,
                              "SELECT " + chartColumns() + " FROM charts WHERE name = ? ORDER BY id",
                              [&](sqlite3_stmt* s) { bindText(s, 1, name); }, &found.error);
    return found;
}

std::optional<SavedChart> ChartLibrary::find(std::int64_t id) const
{
    auto charts = readCharts(m_db, "SELECT " + chartColumns() + " FROM charts WHERE id = ?",
                             [&](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, id); }, nullptr);
    if (charts.empty())
        return std::nullopt;
    return std::move(charts.front());
}

namespace {

// Changes one chart, failing when it is no longer there.
Written changeChart(sqlite3* db, std::int64_t id, const std::string& sql,
                    const std::function<void(sqlite3_stmt*)>& bind)
{
    Statement s(db, sql);
    if (!s)
        return {id, failure(db, "cannot change the chart")};
    bind(s.get());
    if (!stepDone(s.get()))
        return {id, failure(db, "cannot change the chart")};
    if (sqlite3_changes(db) == 0)
        return {id, "the chart is no longer in the library"};
    return {id, {}};
}

} // namespace

Written ChartLibrary::rename(std::int64_t id, const std::string& name)
{
    return inTransaction(m_db, [&] {
        Written written = changeChart(m_db, id, "UPDATE charts SET name = ?, changed = ? WHERE id = ?",
                                      [&](sqlite3_stmt* s) {
                                          bindText(s, 1, name);
                                          bindText(s, 2, utcNow("%Y-%m-%dT%H:%M:%SZ"));
                                          sqlite3_bind_int64(s, 3, id);
                                      });
        const auto chart = written.ok() ? find(id) : std::nullopt;
        if (chart) {
            written = changeChart(m_db, id, "UPDATE chart_words SET words = ? WHERE rowid = ?",
                                  [&](sqlite3_stmt* s) {
                                      bindText(s, 1, searchedWords(chart->request));
                                      sqlite3_bind_int64(s, 2, id);
                                  });
        }
        return written;
    });
}

Written ChartLibrary::setNote(std::int64_t id, const std::string& note)
{
    return inTransaction(m_db, [&] {
        return changeChart(m_db, id, "UPDATE charts SET note = ?, changed = ? WHERE id = ?",
                           [&](sqlite3_stmt* s) {
                               bindText(s, 1, note);
                               bindText(s, 2, utcNow("%Y-%m-%dT%H:%M:%SZ"));
                               sqlite3_bind_int64(s, 3, id);
                           });
    });
}

Written ChartLibrary::remove(std::int64_t id)
{
    return inTransaction(m_db, [&] {
        Written written = changeChart(m_db, id, "DELETE FROM charts WHERE id = ?",
                                      [&](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, id); });
        if (written.ok())
            written = changeChart(m_db, id, "DELETE FROM chart_words WHERE rowid = ?",
                                  [&](sqlite3_stmt* s) { sqlite3_bind_int64(s, 1, id); });
        return written;
    });
}

Written ChartLibrary::addRecent(const ChartRequest& request)
{
    return inTransaction(m_db, [&]() -> Written {
        Statement add(m_db, std::string("INSERT INTO recent (") + kRequestColumns +
                                ", computed) VALUES (" + placeholders(kRequestColumnCount + 1) +
                                ")");
        Statement trim(m_db, "DELETE FROM recent WHERE id NOT IN "
                             "(SELECT id FROM recent ORDER BY id DESC LIMIT ?)");
        if (!add || !trim)
            return {0, failure(m_db, "cannot keep the recent chart")};
        bindRequest(add.get(), 1, request);
        bindText(add.get(), kRequestColumnCount + 1, utcNow("%Y-%m-%dT%H:%M:%SZ"));
        sqlite3_bind_int(trim.get(), 1, kRecentKept);
        if (!stepDone(add.get()))
            return {0, failure(m_db, "cannot keep the recent chart")};
        const std::int64_t id = sqlite3_last_insert_rowid(m_db);
        if (!stepDone(trim.get()))
            return {0, failure(m_db, "cannot trim the recent charts")};
        return {id, {}};
    });
}

std::vector<RecentChart> ChartLibrary::recent(std::string* error) const
{
    std::vector<RecentChart> charts;
    Statement s(m_db, std::string("SELECT id, ") + kRequestColumns +
                          ", computed FROM recent ORDER BY id DESC");
    int step = SQLITE_ERROR;
    if (s) {
        while ((step = sqlite3_step(s.get())) == SQLITE_ROW)
            charts.push_back({sqlite3_column_int64(s.get(), 0), readRequest(s.get(), 1),
                              textColumn(s.get(), 1 + kRequestColumnCount)});
    }
    if (step != SQLITE_DONE) {
        charts.clear();
        if (error)
            *error = failure(m_db, "cannot read the recent charts");
    }
    return charts;
}

} // namespace velmora::library

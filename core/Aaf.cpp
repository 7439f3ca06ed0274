#include "core/Aaf.h"

#include "core/Calendar.h"
#include "core/Numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>

namespace velmora::aaf {

namespace {

// Two Julian days this close are one moment: the format writes five decimals, a second is
// 1.16e-5 days.
constexpr double kSameMoment = 1.5e-5;

bool validUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3
                                          : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (int k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                return false;
        }
        i += length;
    }
    return true;
}

std::string latin1ToUtf8(std::string_view text)
{
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

std::string trimmed(std::string_view text)
{
    const char* blanks = " \t\r\n\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(blanks) - first + 1));
}

std::vector<std::string> fields(const std::string& data, std::size_t count)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        const auto comma = data.find(',', start);
        out.push_back(trimmed(std::string_view(data).substr(start, comma - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    while (out.size() < count)
        out.push_back("*");
    return out;
}

bool unknown(const std::string& field)
{
    return field.empty() || field == "*";
}

// Unsigned whole numbers separated by `separator`, e.g. "19.1.1839" or "1:00"; a leading minus
// is allowed on the last when `signedLast`.
std::optional<std::vector<long>> numbers(const std::string& text, char separator,
                                         bool signedLast = false)
{
    std::vector<long> out;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        std::string part = text.substr(start, end - start);
        bool negative = false;
        if (signedLast && end == std::string::npos && !part.empty() && part[0] == '-') {
            negative = true;
            part.erase(0, 1);
        }
        if (part.empty() || part.size() > 6)
            return std::nullopt;
        for (char c : part) {
            if (!std::isdigit(static_cast<unsigned char>(c)))
                return std::nullopt;
        }
        out.push_back(negative ? -std::stol(part) : std::stol(part));
        if (end == std::string::npos)
            return out;
        start = end + 1;
    }
}

// "43n31", "43n31:20", "5e27" or a zone "1he00", "0e21:48", "5hw": the value in units and
// sixtieths, signed by the letter; nothing when it is not such a text.
std::optional<double> sexagesimal(std::string text, char positive, char negative, bool zone)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::size_t letter = text.find_first_of(std::string{positive, negative});
    if (letter == std::string::npos || letter == 0)
        return std::nullopt;
    std::string whole = text.substr(0, letter);
    if (zone && whole.back() == 'h')
        whole.pop_back();
    const std::string rest = text.substr(letter + 1);
    const auto units = numbers(whole, ':');
    const auto parts = rest.empty() ? std::optional<std::vector<long>>(std::vector<long>{})
                                    : numbers(rest, ':');
    if (!units || units->size() != 1 || !parts || parts->size() > 2)
        return std::nullopt;
    double value = static_cast<double>(units->front());
    double scale = 60.0;
    for (long part : *parts) {
        if (part >= 60)
            return std::nullopt;
        value += part / scale;
        scale *= 60.0;
    }
    return text[letter] == negative ? -value : value;
}

// A zone in hours east: "1he00", "0e21:48", "5hw", or a plain number of hours.
std::optional<double> zoneHours(const std::string& text)
{
    if (auto hours = sexagesimal(text, 'e', 'w', true))
        return hours;
    return wholeNumberText(text);
}

struct Chunk {
    std::string id;
    std::string data;
    int line = 0;
};

struct RawRecord {
    std::vector<Chunk> chunks;
};

struct Converted {
    std::optional<Record> record;
    Refusal refusal;
};

Refusal refusal(int line, std::string reason)
{
    return {line, std::move(reason)};
}

Converted convert(const RawRecord& raw)
{
    const Chunk& a = raw.chunks.front();
    const Chunk* b = nullptr;
    Record record;
    for (const Chunk& chunk : raw.chunks) {
        if (chunk.id == "B93" && !b)
            b = &chunk;
        else if (chunk.id == "COM")
            record.note += (record.note.empty() ? "" : "\n") + chunk.data;
    }
    const auto af = fields(a.data, 7);
    ChartRequest& request = record.request;
    std::string name;
    for (const std::string& part : {af[1], af[0]}) {
        if (!unknown(part))
            name += (name.empty() ? "" : " ") + part;
    }
    request.name = name;

    // The local date and time, when given.
    std::optional<std::vector<long>> date, time;
    if (!unknown(af[3])) {
        date = numbers(af[3], '.', true);
        if (!date || date->size() != 3)
            return {std::nullopt, refusal(a.line, "bad date '" + af[3] + "' (expected d.m.y)")};
    }
    if (!unknown(af[4])) {
        time = numbers(af[4], ':');
        if (!time || time->size() < 2 || time->size() > 3 || (*time)[0] > 23 ||
            (*time)[1] > 59 || (time->size() == 3 && (*time)[2] > 59))
            return {std::nullopt, refusal(a.line, "bad time '" + af[4] + "' (expected h:mm)")};
    }
    if (!b)
        return {std::nullopt, refusal(a.line, "no #B93 chunk: the place is not known")};
    const auto bf = fields(b->data, 5);
    const auto latitude = sexagesimal(bf[1], 'n', 's', false);
    const auto longitude = sexagesimal(bf[2], 'e', 'w', false);
    if (!latitude || std::fabs(*latitude) > 90.0)
        return {std::nullopt, refusal(b->line, "bad latitude '" + bf[1] +
                                                   "' (expected 43n31, at most 90 degrees)")};
    if (!longitude || std::fabs(*longitude) > 180.0)
        return {std::nullopt, refusal(b->line, "bad longitude '" + bf[2] +
                                                   "' (expected 5e27, at most 180 degrees)")};
    std::optional<double> zone;
    if (!unknown(bf[3])) {
        zone = zoneHours(bf[3]);
        if (!zone || std::fabs(*zone) > 24.0)
            return {std::nullopt, refusal(b->line, "bad zone '" + bf[3] + "' (expected 1he00)")};
    }
    // Daylight saving: hours, or a letter some programs write for a zone of their own.
    const double summer = wholeNumberText(bf[4]).value_or(0.0);
    if (std::fabs(summer) > 24.0)
        return {std::nullopt, refusal(b->line, "bad daylight saving '" + bf[4] + "'")};
    std::optional<double> jd;
    if (!unknown(bf[0])) {
        jd = wholeNumberText(bf[0]);
        if (!jd || !std::isfinite(*jd))
            return {std::nullopt, refusal(b->line, "bad Julian day '" + bf[0] + "'")};
    }
    if (!date && !jd)
        return {std::nullopt, refusal(a.line, "neither a date nor a Julian day")};

    long day = 0, month = 0, year = 0, hour = 12, minute = 0;
    double seconds = 0.0;
    if (date) {
        day = (*date)[0];
        month = (*date)[1];
        year = (*date)[2];
    }
    if (time) {
        hour = (*time)[0];
        minute = (*time)[1];
        seconds = time->size() == 3 ? (*time)[2] : 0.0;
    }
    request.first.timeUnknown = !time && !jd;
    double zoneValue = zone.value_or(0.0);
    if (date) {
        DateTimeTexts texts{std::to_string(day), std::to_string(month), std::to_string(year),
                            std::to_string(hour), std::to_string(minute)};
        if (rowFault(texts))
            return {std::nullopt, refusal(a.line, "no such date and time '" + af[3] + " " +
                                                      af[4] + "'")};
    }
    const auto localJd = [&] {
        return julianDay(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day),
                         hour + minute / 60.0 + seconds / 3600.0);
    };
    if (jd) {
        const bool consistent = date && time && zone &&
                                std::fabs(localJd() - (zoneValue + summer) / 24.0 - *jd) <=
                                    kSameMoment;
        if (!consistent) {
            const double derived = date && time ? (localJd() - *jd) * 24.0 - summer : 0.0;
            if (date && time && !zone && std::fabs(derived) <= 24.0) {
                zoneValue = derived; // the zone the record's own clock was in, local mean time
            } else {
                // The local clock of the record's zone at that Julian day, to the minute.
                const double local = *jd + (zoneValue + summer) / 24.0;
                const long long minutes = std::llround((local + 0.5) * 1440.0);
                const long long dayNumber =
                    static_cast<long long>(std::floor(static_cast<double>(minutes) / 1440.0));
                const CalendarDate found = dateOfJulianDayNumber(dayNumber);
                year = found.year;
                month = found.month;
                day = found.day;
                hour = static_cast<long>((minutes - dayNumber * 1440) / 60);
                minute = static_cast<long>((minutes - dayNumber * 1440) % 60);
                seconds = 0.0;
                zoneValue = (localJd() - *jd) * 24.0 - summer;
            }
        }
    }
    // Seconds of a time do not fit the request's minutes: a known zone takes them.
    if (seconds != 0.0 && (zone || jd))
        zoneValue -= seconds / 3600.0;
    request.first.texts = {std::to_string(day), std::to_string(month), std::to_string(year),
                           std::to_string(hour), std::to_string(minute)};
    if (rowFault(request.first.texts))
        return {std::nullopt, refusal(b->line, "the Julian day '" + bf[0] +
                                                   "' is no date of the calendar")};

    auto split = [](double value, std::string& degrees, std::string& minutes) {
        const double magnitude = std::fabs(value);
        degrees = std::to_string(static_cast<long>(magnitude));
        minutes = numberText(roundHalfEven((magnitude - std::floor(magnitude)) * 60.0 * 1e9) / 1e9);
    };
    PlaceInput& place = request.place.coordinates;
    split(*latitude, place.latDeg, place.latMin);
    split(*longitude, place.lonDeg, place.lonMin);
    place.south = *latitude < 0.0;
    place.west = *longitude < 0.0;
    request.place.summerText = numberText(summer);
    request.place.summerGiven = true;
    if (zone || jd)
        request.zoneText = numberText(zoneValue);
    const std::string placeName = unknown(af[5]) ? "" : af[5];
    const std::string country = unknown(af[6]) ? "" : af[6];
    if (!placeName.empty() || !country.empty()) {
        const std::string both =
            placeName.empty() ? country : country.empty() ? placeName : placeName + ", " + country;
        // A named place, not one of the atlas: no time zone, its summer correction given.
        request.place.atlas = AtlasIdentity{both, {}, *latitude, *longitude};
    }
    return {std::move(record), {}};
}

std::string twoDigits(long value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02ld", value % 100);
    return text;
}

// Degrees (or hours) with the letter, then minutes and, when any, seconds.
std::string sexagesimalText(double value, char positive, char negative, const char* unit)
{
    const long long total = std::llround(std::fabs(value) * 3600.0);
    std::string out = std::to_string(total / 3600) + unit + (value < 0 && total ? negative : positive) +
                      twoDigits(static_cast<long>(total / 60 % 60));
    if (total % 60)
        out += ":" + twoDigits(static_cast<long>(total % 60));
    return out;
}

// A field without the commas that would split it.
std::string field(const std::string& text)
{
    std::string out = trimmed(text);
    for (char& c : out) {
        if (c == ',' || c == '\n' || c == '\r')
            c = ';';
    }
    return out.empty() ? "*" : out;
}

} // namespace

double julianDay(int year, int month, int day, double hour)
{
    const bool gregorian = isGregorian(year, month, day);
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const double a = std::floor(year / 100.0);
    const double b = gregorian ? 2 - a + std::floor(a / 4.0) : 0.0;
    return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b -
           1524.5 + hour / 24.0;
}

Reading read(std::string_view bytes)
{
    std::string text = validUtf8(bytes) ? std::string(bytes) : latin1ToUtf8(bytes);
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);

    Reading reading;
    std::vector<RawRecord> raws;
    std::optional<Chunk> orphan; // the first chunk met before any #A93
    Chunk* last = nullptr;       // the chunk continued by lines that do not begin one
    int line = 0;
    for (std::size_t start = 0; start <= text.size();) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string content = text.substr(start, end - start);
        start = end + 1;
        ++line;
        if (!content.empty() && content.back() == '\r')
            content.pop_back();
        if (content.rfind("#:", 0) == 0) {
            last = nullptr;
            continue;
        }
        const auto colon = content.find(':');
        if (content.rfind("#", 0) == 0 && colon != std::string::npos) {
            Chunk chunk{content.substr(1, colon - 1), content.substr(colon + 1), line};
            if (chunk.id != "COM")
                chunk.data = trimmed(chunk.data);
            if (chunk.id == "A93") {
                raws.push_back({{chunk}});
                last = &raws.back().chunks.back();
            } else if (!raws.empty()) {
                raws.back().chunks.push_back(chunk);
                last = &raws.back().chunks.back();
            } else {
                if (!orphan)
                    orphan = chunk;
                last = nullptr;
            }
            continue;
        }
        if (last && !trimmed(content).empty())
            last->data += last->id == "COM" ? "\n" + content : trimmed(content);
    }
    if (orphan)
        reading.refused.push_back(
            {orphan->line, "a #" + orphan->id + " chunk without the #A93 that begins a record"});
    for (const RawRecord& raw : raws) {
        Converted converted = convert(raw);
        if (converted.record)
            reading.records.push_back(std::move(*converted.record));
        else
            reading.refused.push_back(std::move(converted.refusal));
    }
    return reading;
}

std::string write(const std::vector<Record>& records, const LegalSummerLookup& legalSummer)
{
    std::string out;
    for (const Record& record : records) {
        const ChartRequest& request = record.request;
        const DateTimeTexts& t = request.first.texts;
        const std::string& name = request.name;
        const auto space = name.rfind(' ');
        const std::string last = space == std::string::npos ? name : name.substr(space + 1);
        const std::string first = space == std::string::npos ? "" : name.substr(0, space);
        std::string placeName, country;
        if (request.place.atlas) {
            const std::string& both = request.place.atlas->name;
            const auto comma = both.rfind(", ");
            placeName = comma == std::string::npos ? both : both.substr(0, comma);
            country = comma == std::string::npos ? "" : both.substr(comma + 2);
        }
        const int day = static_cast<int>(leadingNumber(t.day));
        const int month = static_cast<int>(leadingNumber(t.month));
        const int year = static_cast<int>(leadingNumber(t.year));
        const int hour = static_cast<int>(leadingNumber(t.hour));
        const int minute = static_cast<int>(leadingNumber(t.minute));
        out += "#A93:" + field(last) + "," + field(first) + ",*," + std::to_string(day) + "." +
               std::to_string(month) + "." + std::to_string(year) + "," +
               (request.first.timeUnknown ? "*"
                                          : std::to_string(hour) + ":" + twoDigits(minute)) +
               "," + field(placeName) + "," + field(country) + "\n";

        const auto [latitude, longitude] = placeDegrees(request.place.coordinates);
        const auto [zone, summer] = firstRowZone(request, legalSummer);
        // The Julian day of what is written, so that reading it back keeps these fields.
        const std::string zoneText = sexagesimalText(zone, 'e', 'w', "h");
        const double writtenZone = *zoneHours(zoneText);
        char jd[48] = "*";
        if (!request.first.timeUnknown)
            std::snprintf(jd, sizeof jd, "%.5f",
                          julianDay(year, month, day, hour + minute / 60.0) -
                              (writtenZone + summer) / 24.0);
        out += std::string("#B93:") + jd + "," + sexagesimalText(latitude, 'n', 's', "") + "," +
               sexagesimalText(longitude, 'e', 'w', "") + "," + zoneText + "," +
               numberText(summer) + "\n";
        if (!record.note.empty()) {
            std::string note = "#COM:";
            for (std::size_t i = 0; i < record.note.size(); ++i) {
                note += record.note[i];
                // A line of the note that begins like a chunk would end it.
                if (record.note[i] == '\n' && i + 1 < record.note.size() &&
                    record.note[i + 1] == '#')
                    note += ' ';
            }
            out += note + "\n";
        }
    }
    return out;
}

std::size_t firstMomentOnly(const std::vector<Record>& records)
{
    return static_cast<std::size_t>(std::count_if(records.begin(), records.end(), [](const Record& r) {
        return r.request.second.has_value();
    }));
}

} // namespace velmora::aaf

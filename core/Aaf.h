#pragma once

#include "core/ChartRequest.h"

#include <string>
#include <string_view>
#include <vector>

// The AAF exchange text that many astrology programs read and write: records of chunks, each
// "#ID:" and comma-separated fields ("*" unknown), "#:" comments, a chunk's data continued on
// the lines that follow. A record is "#A93:" last name, first name, type, d.m.y, h:mm, place,
// country; "#B93:" Julian day (UT), latitude "43n31", longitude "5e27", zone "1he00" /
// "0e21:48" (east or west), daylight saving; "#COM:" a comment.
namespace velmora::aaf {

struct Record {
    ChartRequest request; // a natal request, its zone and summer correction as the record gives
    std::string note;     // the #COM text
};

struct Refusal {
    int line = 0; // the line of the chunk that cannot be read, counted from 1
    std::string reason;
};

struct Reading {
    std::vector<Record> records;
    std::vector<Refusal> refused;

    // Nothing a chart record starts with: not an AAF file of charts at all.
    bool holdsNoRecord() const { return records.empty() && refused.empty(); }
};

// Reads UTF-8 text, or Latin-1 where it is not valid UTF-8. The saved name is the first name,
// a space and the last name. A given Julian day wins over date, time and zone: when they do
// not give it, the local date and time (kept when the zone is unknown) and a zone are chosen
// so that the chart is computed at that Julian day.
Reading read(std::string_view bytes);

// The records as UTF-8 AAF text. The zone of a request without its own follows the longitude,
// as the chart's does; an atlas place's summer correction is its legal time by `legalSummer`
// unless one was given. The Julian day written is that of the written date, time and zone.
std::string write(const std::vector<Record>& records, const LegalSummerLookup& legalSummer = {});

// How many records have a second date and time, which a record cannot hold: they are written
// with their first moment only, and whoever exports them should be told.
std::size_t firstMomentOnly(const std::vector<Record>& records);

// The Julian day (UT noon-based) of a local calendar moment: Julian calendar before
// 15 October 1582, Gregorian after.
double julianDay(int year, int month, int day, double hour);

} // namespace velmora::aaf

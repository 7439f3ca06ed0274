#pragma once

#include "core/ChartRequest.h"
#include "library/ChartLibrary.h"

#include <QString>

class QWidget;

namespace velmora::ui {

// The file of the user's chart library: VELMORA_LIBRARY when set (empty keeps the charts in
// memory only, for tests and pictures), else charts.sqlite in the program's data folder, the
// one velmora-cli uses.
QString libraryFile();

// The chart library, opened at its first use and kept open. A file that had to be moved aside
// is named to the user over `parent`; nothing when it cannot be opened, the user told why
// unless `quiet`.
library::ChartLibrary* chartLibrary(QWidget* parent, bool quiet = false);

// Closes the library, so that the next use opens libraryFile() again.
void closeChartLibrary();

// Keeps a computed request in the recent list. A library that cannot be opened or written
// loses only this entry, without a word: the chart itself is shown.
void keepRecent(const ChartRequest& request);

// What a chart row shows: the date and time as "7/12/1990 9:47", and the place's name or its
// coordinates.
QString requestMoment(const ChartRequest& request);
QString requestPlace(const ChartRequest& request);

// Whether every word of `query` begins a word of the request's name or place, folded as the
// atlas folds Arabic and Latin.
bool requestMatches(const ChartRequest& request, const QString& query);

} // namespace velmora::ui

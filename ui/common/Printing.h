#pragma once

#include "core/Ephemerides.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QPainter;
class QPrinter;

namespace velmora::ui {

// A heading and its lines, as a listing shows them.
struct TextSection {
    QString heading;
    QStringList lines;
};

// Draws a chart wheel in the square of side `side` logical pixels at (0, 0).
using WheelDrawing = std::function<void(QPainter& painter, double side)>;

// Prints a chart: on the first page the wheel at the top, drawn again as vectors at the
// printer's resolution (a logical pixel is 1/96 inch, so its lines keep their screen widths),
// and below it the sections in columns running right to left, continued on as many pages as
// they need. Returns the number of pages printed, 0 when the printer could not be started.
int printChart(QPrinter& printer, const WheelDrawing& drawWheel,
               const std::vector<TextSection>& sections);

// The body rows and columns of one printed page of a table, ends excluded; the fixed rows
// (the header) and the fixed columns (the day) are printed on every page besides them.
struct TablePage {
    int firstRow = 0;
    int endRow = 0;
    int firstColumn = 0;
    int endColumn = 0;
};

// Prints a table in `font`, its columns right to left, titled `title` at the top of every
// page and with `note` (when not empty) and the page's number at the bottom: down its rows,
// then across its columns, as many pages as it needs. Returns the pages printed, none when the
// printer could not be started.
std::vector<TablePage> printTable(QPrinter& printer, const QString& title,
                                  const EphemeridesTable& table, const QFont& font,
                                  const QString& note = {});

} // namespace velmora::ui

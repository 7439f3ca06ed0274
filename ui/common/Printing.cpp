#include "ui/common/Printing.h"

#include "ui/common/Look.h"
#include "wheel/CoreText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

// The wheel takes at most this share of the first page's height; the listing has the rest.
constexpr double kWheelShare = 0.6;
constexpr int kMostColumns = 4;

const QColor kFixedCell(225, 225, 225);
const QColor kRule(110, 110, 110);

// Right-aligned, read right to left, wrapped at the width given.
constexpr int kRightToLeftFlags = Qt::AlignRight | Qt::AlignAbsolute | Qt::TextWordWrap;

// The printable area in the printer's pixels; the painter's origin is its top-left corner.
QSizeF pageSize(const QPrinter& printer)
{
    return {static_cast<double>(printer.width()), static_cast<double>(printer.height())};
}

// An inch in the printer's pixels.
double inch(const QPrinter& printer)
{
    return static_cast<double>(printer.resolution());
}

QPen rulePen(const QPrinter& printer)
{
    return QPen(kRule, inch(printer) / 144.0); // half a point
}

struct Entry {
    QString text;
    bool heading;
};

} // namespace

int printChart(QPrinter& printer, const WheelDrawing& drawWheel,
               const std::vector<TextSection>& sections)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    painter.setLayoutDirection(Qt::RightToLeft);
    const QSizeF page = pageSize(printer);
    const double unit = inch(printer) / 96.0;

    // The wheel in a square at the top, in the middle of the line.
    const double side = std::min(page.width(), page.height() * kWheelShare);
    painter.save();
    painter.translate((page.width() - side) / 2.0, 0.0);
    painter.scale(unit, unit);
    painter.setClipRect(QRectF(0.0, 0.0, side / unit, side / unit));
    drawWheel(painter, side / unit);
    painter.restore();

    QFont body = dialogFont(10);
    QFont heading = body;
    heading.setBold(true);
    std::vector<Entry> entries;
    for (const TextSection& section : sections) {
        entries.push_back({section.heading, true});
        for (const QString& line : section.lines)
            entries.push_back({line, false});
    }

    // As many columns as the widest line allows; a line wider than its column wraps.
    const double gap = inch(printer) / 4.0;
    double widest = 1.0;
    for (const Entry& entry : entries)
        widest = std::max(widest, QFontMetricsF(entry.heading ? heading : body, &printer)
                                      .horizontalAdvance(entry.text));
    const int columns = std::clamp(static_cast<int>((page.width() + gap) / (widest + gap)), 1,
                                   kMostColumns);
    const double columnWidth = (page.width() - (columns - 1) * gap) / columns;
    auto heightOf = [&](const Entry& entry) {
        painter.setFont(entry.heading ? heading : body);
        return painter
            .boundingRect(QRectF(0.0, 0.0, columnWidth, page.height()), kRightToLeftFlags,
                          entry.text)
            .height();
    };

    int pages = 1;
    double top = side + gap;
    double y = top;
    int column = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        const double before = entry.heading && y > top ? heightOf(entry) / 2.0 : 0.0;
        double height = heightOf(entry);
        // A heading goes with its first line.
        double needed = before + height;
        if (entry.heading && i + 1 < entries.size() && !entries[i + 1].heading)
            needed += heightOf(entries[i + 1]);
        if (y + needed > page.height() && y > top) {
            y = top;
            if (++column == columns) {
                printer.newPage();
                ++pages;
                top = y = 0.0;
                column = 0;
            }
        } else {
            y += before;
        }
        // The first column on the right.
        const double x = page.width() - (column + 1) * columnWidth - column * gap;
        painter.setFont(entry.heading ? heading : body);
        painter.drawText(QRectF(x, y, columnWidth, height), kRightToLeftFlags, entry.text);
        y += height;
    }
    return painter.end() ? pages : 0;
}

std::vector<TablePage> printTable(QPrinter& printer, const QString& title,
                                  const EphemeridesTable& table, const QFont& font,
                                  const QString& note)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return {};
    painter.setLayoutDirection(Qt::RightToLeft);
    const QSizeF page = pageSize(printer);
    const QFontMetricsF cellMetrics(font, &printer);
    QFont titleFont = dialogFont(11);
    titleFont.setBold(true);
    const QFont footFont = dialogFont(9);
    const double titleHeight = QFontMetricsF(titleFont, &printer).height() * 1.6;
    const double footHeight = QFontMetricsF(footFont, &printer).height() * 1.6;
    const double rowHeight = cellMetrics.height() * 1.35;
    const double padding = cellMetrics.averageCharWidth();

    const int rows = table.rowCount();
    const int columns = table.columnCount();
    const int fixedRows = std::min(table.fixedRows, rows);
    const int fixedColumns = std::min(table.fixedColumns, columns);
    std::vector<double> widths(static_cast<std::size_t>(columns), 2.0 * padding);
    for (const auto& row : table.cells)
        for (int c = 0; c < columns && c < static_cast<int>(row.size()); ++c)
            widths[c] = std::max(widths[c], cellMetrics.horizontalAdvance(fromCore(row[c])) +
                                                2.0 * padding);
    double fixedWidth = 0.0;
    for (int c = 0; c < fixedColumns; ++c)
        fixedWidth += widths[c];

    // Down the rows, then across the columns; each page holds at least one row and one column.
    const int rowsPerPage = std::max(
        1, static_cast<int>((page.height() - titleHeight - footHeight - fixedRows * rowHeight) /
                            rowHeight));
    std::vector<TablePage> pages;
    for (int first = fixedColumns; first < columns || first == fixedColumns;) {
        int end = first;
        for (double used = fixedWidth; end < columns && (end == first ||
                                                         used + widths[end] <= page.width());)
            used += widths[end++];
        for (int row = fixedRows; row < rows || row == fixedRows; row += rowsPerPage)
            pages.push_back({row, std::min(rows, row + rowsPerPage), first, end});
        if (end == first)
            break;
        first = end;
    }

    auto cellAt = [&](int r, int c) {
        const auto& row = table.cells[r];
        return c < static_cast<int>(row.size()) ? fromCore(row[c]) : QString();
    };
    for (std::size_t p = 0; p < pages.size(); ++p) {
        const TablePage& shown = pages[p];
        if (p > 0)
            printer.newPage();
        painter.setFont(titleFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0.0, 0.0, page.width(), titleHeight),
                         Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter, title);

        std::vector<int> rowsShown, columnsShown;
        for (int r = 0; r < fixedRows; ++r)
            rowsShown.push_back(r);
        for (int r = shown.firstRow; r < shown.endRow; ++r)
            rowsShown.push_back(r);
        for (int c = 0; c < fixedColumns; ++c)
            columnsShown.push_back(c);
        for (int c = shown.firstColumn; c < shown.endColumn; ++c)
            columnsShown.push_back(c);

        // The day column on the right, as the window's grid; each cell reads left to right.
        painter.setFont(font);
        double y = titleHeight;
        for (int r : rowsShown) {
            double right = page.width();
            for (int c : columnsShown) {
                const QRectF cell(right - widths[c], y, widths[c], rowHeight);
                if (r < fixedRows || c < fixedColumns)
                    painter.fillRect(cell, kFixedCell);
                painter.setPen(rulePen(printer));
                painter.drawRect(cell);
                painter.setPen(Qt::black);
                painter.setLayoutDirection(Qt::LeftToRight);
                painter.drawText(cell, Qt::AlignCenter, cellAt(r, c));
                painter.setLayoutDirection(Qt::RightToLeft);
                right -= widths[c];
            }
            y += rowHeight;
        }

        painter.setFont(footFont);
        const QRectF foot(0.0, page.height() - footHeight, page.width(), footHeight);
        painter.drawText(foot, Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter,
                         u"%1/%2"_s.arg(p + 1).arg(pages.size()));
        if (!note.isEmpty())
            painter.drawText(foot, Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter, note);
    }
    if (!painter.end())
        return {};
    return pages;
}

} // namespace velmora::ui

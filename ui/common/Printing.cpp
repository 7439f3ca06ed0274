#include "ui/common/Printing.h"

#include "ui/common/Look.h"
#include "wheel/CoreText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextOption>

#include <algorithm>
#include <array>
#include <optional>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

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

// Where an entry of the listing is printed: its page (0 the wheel's) and its box.
struct Placed {
    int page;
    QRectF box;
};

// The listing's fonts at a size in points: the headings bold.
struct ListingFonts {
    QFont body;
    QFont heading;
    explicit ListingFonts(int points)
        : body(dialogFont(points))
        , heading(body)
    {
        heading.setBold(true);
    }
    const QFont& of(const Entry& entry) const { return entry.heading ? heading : body; }
};

// The entries in columns right to left below `top` on the first page, from the top on the
// next ones: as many columns as the widest entry allows, wider entries wrapping. A heading
// never ends a column without its first line.
std::vector<Placed> placeListing(const std::vector<Entry>& entries, const ListingFonts& fonts,
                                 const QPrinter& printer, double top)
{
    const QSizeF page = pageSize(printer);
    const double gap = inch(printer) / 4.0;
    double widest = 1.0;
    for (const Entry& entry : entries)
        widest = std::max(widest,
                          QFontMetricsF(fonts.of(entry), &printer).horizontalAdvance(entry.text));
    const int columns = std::clamp(static_cast<int>((page.width() + gap) / (widest + gap)), 1,
                                   kMostColumns);
    const double columnWidth = (page.width() - (columns - 1) * gap) / columns;
    std::vector<double> heights;
    for (const Entry& entry : entries)
        heights.push_back(QFontMetricsF(fonts.of(entry), &printer)
                              .boundingRect(QRectF(0.0, 0.0, columnWidth, page.height()),
                                            kRightToLeftFlags, entry.text)
                              .height());

    std::vector<Placed> placed;
    int pageIndex = 0;
    int column = 0;
    double y = top;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const bool heading = entries[i].heading;
        const double before = heading && y > top ? heights[i] / 2.0 : 0.0;
        double needed = before + heights[i];
        if (heading && i + 1 < entries.size() && !entries[i + 1].heading)
            needed += heights[i + 1];
        if (y + needed > page.height() && y > top) {
            y = top;
            if (++column == columns) {
                ++pageIndex;
                top = y = 0.0;
                column = 0;
            }
        } else {
            y += before;
        }
        const double x = page.width() - (column + 1) * columnWidth - column * gap;
        placed.push_back({pageIndex, QRectF(x, y, columnWidth, heights[i])});
        y += heights[i];
    }
    return placed;
}

} // namespace

int printChart(QPrinter& printer, const WheelDrawing& drawWheel,
               const std::vector<TextSection>& sections)
{
    std::vector<Entry> entries;
    for (const TextSection& section : sections) {
        entries.push_back({section.heading, true});
        // Blank lines keep a window's lists in step; on paper they would only take room.
        for (const QString& line : section.lines)
            if (!line.trimmed().isEmpty())
                entries.push_back({line, false});
    }
    const QSizeF page = pageSize(printer);
    const double gap = inch(printer) / 4.0;

    // The largest wheel and type that leave the whole listing on the wheel's page; where none
    // does, the largest, the listing continuing on the next pages.
    struct Choice {
        double wheelShare;
        int points;
    };
    constexpr std::array<Choice, 5> kChoices = {
        {{0.6, 9}, {0.55, 9}, {0.5, 9}, {0.5, 8}, {0.45, 8}}};
    double side = 0.0;
    std::optional<ListingFonts> fonts;
    std::vector<Placed> placed;
    for (const Choice& choice : kChoices) {
        side = std::min(page.width(), page.height() * choice.wheelShare);
        fonts.emplace(choice.points);
        placed = placeListing(entries, *fonts, printer, side + gap);
        if (placed.empty() || placed.back().page == 0)
            break;
    }
    if (!placed.empty() && placed.back().page > 0) {
        side = std::min(page.width(), page.height() * kChoices[0].wheelShare);
        fonts.emplace(kChoices[0].points);
        placed = placeListing(entries, *fonts, printer, side + gap);
    }

    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    painter.setLayoutDirection(Qt::RightToLeft);
    // The wheel in a square at the top, in the middle of the line; a logical pixel is 1/96 inch.
    const double unit = inch(printer) / 96.0;
    painter.save();
    painter.translate((page.width() - side) / 2.0, 0.0);
    painter.scale(unit, unit);
    painter.setClipRect(QRectF(0.0, 0.0, side / unit, side / unit));
    drawWheel(painter, side / unit);
    painter.restore();

    int pages = 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (; pages <= placed[i].page; ++pages)
            printer.newPage();
        painter.setFont(fonts->of(entries[i]));
        painter.drawText(placed[i].box, kRightToLeftFlags, entries[i].text);
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
    QFont titleFont = dialogFont(11);
    titleFont.setBold(true);
    const QFont footFont = dialogFont(9);
    const double titleHeight = QFontMetricsF(titleFont, &printer).height() * 1.6;
    const double footHeight = QFontMetricsF(footFont, &printer).height() * 1.6;

    auto cellAt = [&](int r, int c) {
        const auto& row = table.cells[r];
        return c < static_cast<int>(row.size()) ? fromCore(row[c]) : QString();
    };
    const int fixedRows = std::min(table.fixedRows, table.rowCount());
    const int fixedColumns = std::min(table.fixedColumns, table.columnCount());
    // Without the empty rows and columns that end the table: the spare row, the aspects a
    // month's busiest day does not reach.
    int rows = fixedRows;
    int columns = fixedColumns;
    for (int r = fixedRows; r < table.rowCount(); ++r)
        for (int c = fixedColumns; c < table.columnCount(); ++c)
            if (!cellAt(r, c).isEmpty()) {
                rows = std::max(rows, r + 1);
                columns = std::max(columns, c + 1);
            }

    // The pages at a share of the font's size: down the rows, then across the columns, each
    // page holding at least one row and one column.
    struct Layout {
        QFont font;
        std::vector<double> widths;
        double rowHeight = 0.0;
        std::vector<TablePage> pages;
        int bands = 0;
    };
    auto layoutAt = [&](double scale) {
        Layout layout;
        layout.font = font;
        if (font.pointSizeF() > 0)
            layout.font.setPointSizeF(font.pointSizeF() * scale);
        else
            layout.font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * scale)));
        const QFontMetricsF metrics(layout.font, &printer);
        layout.rowHeight = metrics.height() * 1.35;
        const double padding = metrics.averageCharWidth();
        layout.widths.assign(static_cast<std::size_t>(columns), 2.0 * padding);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                layout.widths[c] = std::max(
                    layout.widths[c], metrics.horizontalAdvance(cellAt(r, c)) + 2.0 * padding);
        double fixedWidth = 0.0;
        for (int c = 0; c < fixedColumns; ++c)
            fixedWidth += layout.widths[c];
        const int rowsPerPage =
            std::max(1, static_cast<int>((page.height() - titleHeight - footHeight -
                                          fixedRows * layout.rowHeight) /
                                         layout.rowHeight));
        for (int first = fixedColumns; first < columns || first == fixedColumns;) {
            int end = first;
            for (double used = fixedWidth;
                 end < columns && (end == first || used + layout.widths[end] <= page.width());)
                used += layout.widths[end++];
            ++layout.bands;
            for (int row = fixedRows; row < rows || row == fixedRows; row += rowsPerPage)
                layout.pages.push_back({row, std::min(rows, row + rowsPerPage), first, end});
            if (end == first)
                break;
            first = end;
        }
        return layout;
    };
    // A little smaller type where it saves a band of columns: the largest size that needs
    // no more bands than three quarters of it.
    constexpr std::array<double, 4> kScales = {1.0, 0.9, 0.8, 0.75};
    const int fewestBands = layoutAt(kScales.back()).bands;
    Layout layout;
    for (double scale : kScales) {
        layout = layoutAt(scale);
        if (layout.bands <= fewestBands)
            break;
    }
    const std::vector<TablePage>& pages = layout.pages;
    const std::vector<double>& widths = layout.widths;
    const double rowHeight = layout.rowHeight;

    QTextOption cellText(Qt::AlignCenter);
    cellText.setTextDirection(Qt::LeftToRight);
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
        painter.setFont(layout.font);
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
                painter.drawText(cell, cellAt(r, c), cellText);
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
    return layout.pages;
}

} // namespace velmora::ui

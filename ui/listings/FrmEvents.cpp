#include "ui/listings/FrmEvents.h"

#include "atlas/RequestLegalTime.h"
#include "core/Calendar.h"
#include "ui/common/BidiText.h"
#include "ui/common/DialogParts.h"
#include "ui/common/FailureMessages.h"
#include "ui/common/Look.h"
#include "ui/common/Seams.h"
#include "ui/main/FrmDataTime.h"
#include "wheel/CoreText.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

// On the date cell of each row: the index of its event, which sorting leaves in place.
constexpr int kEventIndexRole = Qt::UserRole;
// On every cell: what its column sorts by.
constexpr int kSortRole = Qt::UserRole + 1;

// The interface is given a turn at most this often during a search, in milliseconds.
constexpr qint64 kTurnInterval = 40;
constexpr int kProgressSteps = 1000;

QString kindWord(EventKind kind)
{
    switch (kind) {
    case EventKind::Aspect: return u"اتصال"_s;
    case EventKind::Ingress: return u"دخول برج"_s;
    case EventKind::Station: return u"وقوف"_s;
    case EventKind::Return: return u"عودة"_s;
    }
    return {};
}

// A cell ordered by its sort value rather than by its text, so that dates before year 1000 and
// positions sort as moments and longitudes.
class SortedItem final : public QTableWidgetItem {
public:
    SortedItem(const QString& text, const QVariant& key)
        : QTableWidgetItem(text)
    {
        setData(kSortRole, key);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        const QVariant mine = data(kSortRole);
        const QVariant theirs = other.data(kSortRole);
        if (mine.typeId() == QMetaType::Double && theirs.typeId() == QMetaType::Double)
            return mine.toDouble() < theirs.toDouble();
        return QTableWidgetItem::operator<(other);
    }
};

struct EventTexts {
    std::array<QString, FrmEvents::kColumnCount> cells;
    std::array<QVariant, FrmEvents::kColumnCount> keys;
};

// The row of an event as the core words it; the grid shows it with isolates, the CSV as it is.
// The core's text ends with the transiting body's position after a comma, which has a column
// of its own.
EventTexts textsOf(const ChartEvent& event, double offsetHours)
{
    QString text = fromCore(eventText(event));
    QString position;
    const qsizetype comma = text.lastIndexOf(u"، "_s);
    if (comma >= 0) {
        position = text.mid(comma + 2);
        text.truncate(comma);
    }
    return {{fromCore(localTimeText(localTimeOf(event.jdUt, offsetHours))), kindWord(event.kind),
             text, position},
            {event.jdUt, static_cast<int>(event.kind), text, event.longitude}};
}

QString csvCell(const QString& cell)
{
    if (!cell.contains(u',') && !cell.contains(u'"') && !cell.contains(u'\n') &&
        !cell.contains(u'\r'))
        return cell;
    return u'"' + QString(cell).replace(u"\""_s, u"\"\""_s) + u'"';
}

QDateEdit* dateBox(const QDate& date, QWidget* parent)
{
    auto* box = new QDateEdit(date, parent);
    box->setDisplayFormat(u"yyyy/MM/dd"_s);
    box->setCalendarPopup(true);
    box->setMinimumDate(QDate(1, 1, 1));
    box->setMaximumDate(QDate(9999, 12, 31));
    return box;
}

} // namespace

FrmEvents::FrmEvents(const ChartState& natal, const std::optional<ChartRequest>& request,
                     QWidget* parent)
    : QDialog(parent, Qt::Window)
    , m_natal(natal)
    , m_request(request)
{
    setObjectName(u"FrmEvents"_s);
    setWindowTitle(u"الأحداث"_s);
    setFont(dialogFont());
    // Its chart window draws left to right; this window reads as the program does.
    setLayoutDirection(Qt::RightToLeft);
    if (m_request)
        m_clock = atlas::requestClock(*m_request);
    else
        m_clock = [](double) { return 0.0; };

    const int year = clock()().date().year();
    DateFrom = dateBox(QDate(year, 1, 1), this);
    DateTo = dateBox(QDate(year, 12, 31), this);
    ChkMoon = new QCheckBox(u"القمر"_s, this);
    ChkNode = new QCheckBox(u"العقدة"_s, this);
    CmdSearch = new QPushButton(u"بحث"_s, this);
    CmdSearch->setAutoDefault(false);

    GrdEvents = new QTableWidget(0, kColumnCount, this);
    GrdEvents->setHorizontalHeaderLabels(
        {m_request ? u"التاريخ والوقت"_s : u"التاريخ والوقت العالمي"_s, u"النوع"_s, u"الحدث"_s,
         u"الموقع"_s});
    GrdEvents->verticalHeader()->hide();
    GrdEvents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdEvents->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdEvents->setSelectionMode(QAbstractItemView::SingleSelection);
    GrdEvents->horizontalHeader()->setStretchLastSection(true);
    GrdEvents->setSortingEnabled(true);
    GrdEvents->sortByColumn(When, Qt::AscendingOrder);
    QPalette palette = GrdEvents->palette();
    palette.setColor(QPalette::Base, QColor(kCream));
    GrdEvents->setPalette(palette);

    BarProgress = new QProgressBar(this);
    BarProgress->setRange(0, kProgressSteps);
    CmdCancel = new QPushButton(u"إلغاء"_s, this);
    CmdCancel->setAutoDefault(false);
    BarProgress->hide();
    CmdCancel->hide();
    LabStatus = new QLabel(this);
    CmdSave = new QPushButton(u"حفظ CSV"_s, this);
    CmdSave->setEnabled(false);
    CmdClose = new QPushButton(u"إغلاق"_s, this);

    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(u"من"_s, this));
    period->addWidget(DateFrom);
    period->addWidget(new QLabel(u"إلى"_s, this));
    period->addWidget(DateTo);
    period->addSpacing(12);
    period->addWidget(ChkMoon);
    period->addWidget(ChkNode);
    period->addStretch();
    period->addWidget(CmdSearch);

    auto* progress = new QHBoxLayout;
    progress->addWidget(LabStatus, 1);
    progress->addWidget(BarProgress, 2);
    progress->addWidget(CmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(period);
    layout->addWidget(GrdEvents, 1);
    layout->addLayout(progress);
    layout->addLayout(buttonRow({CmdSave, CmdClose}));
    resize(760, 520);

    connect(CmdSearch, &QPushButton::clicked, this, &FrmEvents::search);
    connect(CmdCancel, &QPushButton::clicked, this, [this] { m_cancelAsked = true; });
    connect(CmdSave, &QPushButton::clicked, this, &FrmEvents::saveCsv);
    connect(CmdClose, &QPushButton::clicked, this, &QDialog::hide);
    connect(GrdEvents, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { openChartOfRow(row); });
}

const ChartEvent& FrmEvents::eventOfRow(int row) const
{
    return m_events.at(GrdEvents->item(row, When)->data(kEventIndexRole).toInt());
}

double FrmEvents::universalMoment(const QDate& localDay) const
{
    const int y = localDay.year();
    const int m = localDay.month();
    const int d = localDay.day();
    const double local = swissEphemeris().julianDay(y, m, d, 0.0, isGregorian(y, m, d));
    // The clock's offset at the universal moment, which lies within hours of the local one.
    return local - m_clock(local - m_clock(local) / 24.0) / 24.0;
}

void FrmEvents::search()
{
    if (m_searching)
        return;
    const QDate from = DateFrom->date();
    const QDate to = DateTo->date();
    EventSearchOptions options;
    options.fromJdUt = universalMoment(from);
    options.toJdUt = universalMoment(to.addDays(1)); // to the end of the last day
    options.moon = ChkMoon->isChecked();
    options.node = ChkNode->isChecked();
    if (to < from) {
        criticalMessage()(this, u"تحذير هام"_s, u"تاريخ النهاية قبل تاريخ البداية"_s);
        return;
    }
    if (options.toJdUt - options.fromJdUt > kLongestEventPeriod) {
        criticalMessage()(this, u"تحذير هام"_s, u"أطول مدة للبحث مئتا سنة"_s);
        return;
    }

    // The chart and the progress report live on this stack: the chart window, and this window
    // with it, may be closed while the search lets the interface run.
    const ChartState natal = m_natal;
    const QPointer<FrmEvents> self(this);
    QElapsedTimer sinceTurn;
    bool firstReport = true;
    const EventProgress progress = [&](double done) {
        if (!self)
            return false;
        if (firstReport || sinceTurn.elapsed() >= kTurnInterval) {
            firstReport = false;
            self->BarProgress->setValue(static_cast<int>(done * kProgressSteps));
            QCoreApplication::processEvents();
            sinceTurn.start();
        }
        return self && !self->m_cancelAsked;
    };
    setSearching(true);
    sinceTurn.start();
    EventSearchResult result = searchEvents(natal, options, swissEphemeris(), progress);
    if (!self)
        return;
    m_events = std::move(result.events);
    // The saved file is named after the period searched, whatever the boxes say later.
    m_period = from.toString(u"yyyyMMdd"_s) + u'-' + to.toString(u"yyyyMMdd"_s);
    setSearching(false);
    showEvents();
    const QString count = u"عدد الأحداث: %1"_s.arg(m_events.size());
    if (result.cancelled) {
        LabStatus->setText(u"أُلغي البحث، "_s + count);
    } else if (!result.ok) {
        LabStatus->setText(count);
        criticalMessage()(this, u"تحذير هام"_s, ephemerisFailureMessage(result.failure));
    } else {
        LabStatus->setText(count);
    }
}

void FrmEvents::setSearching(bool on)
{
    m_searching = on;
    m_cancelAsked = false;
    BarProgress->setValue(0);
    BarProgress->setVisible(on);
    CmdCancel->setVisible(on);
    for (QWidget* input : std::initializer_list<QWidget*>{DateFrom, DateTo, ChkMoon, ChkNode,
                                                          CmdSearch, CmdSave})
        input->setEnabled(!on);
    if (on)
        LabStatus->setText(u"جارٍ البحث…"_s);
    else
        CmdSave->setEnabled(!m_events.empty());
}

void FrmEvents::showEvents()
{
    // Filled unsorted, then sorted once by the column the user chose last.
    GrdEvents->setSortingEnabled(false);
    GrdEvents->clearContents();
    GrdEvents->setRowCount(static_cast<int>(m_events.size()));
    for (int row = 0; row < static_cast<int>(m_events.size()); ++row) {
        const ChartEvent& event = m_events[row];
        const EventTexts texts = textsOf(event, m_clock(event.jdUt));
        for (int column = 0; column < kColumnCount; ++column) {
            auto* item = new SortedItem(isolateRuns(texts.cells[column]), texts.keys[column]);
            if (column == When)
                item->setData(kEventIndexRole, row);
            GrdEvents->setItem(row, column, item);
        }
    }
    GrdEvents->resizeColumnsToContents();
    GrdEvents->setSortingEnabled(true);
}

std::optional<ChartRequest> FrmEvents::chartRequestOf(const ChartEvent& event) const
{
    if (!m_request)
        return std::nullopt;
    // Rows hold minutes: the moment to the nearest one.
    const LocalTime t = localTimeOf(event.jdUt + 30.0 / 86400.0, m_clock(event.jdUt));
    const RequestRow moment{{std::to_string(t.day), std::to_string(t.month),
                             std::to_string(t.year), std::to_string(t.hour),
                             std::to_string(t.minute)},
                            false};
    ChartRequest chart = *m_request;
    if (event.kind == EventKind::Return && event.body == 0) {
        // The solar return's own chart at the natal place.
        chart.kind = ChartKind::Solar;
        chart.first = moment;
        chart.second.reset();
    } else {
        chart.kind = ChartKind::Transits;
        chart.second = moment;
    }
    return chart;
}

void FrmEvents::openChartOfRow(int row)
{
    if (m_searching || row < 0 || row >= GrdEvents->rowCount())
        return;
    const std::optional<ChartRequest> chart = chartRequestOf(eventOfRow(row));
    if (!chart)
        return;
    const QString failure = FrmDataTime::openRequest(*chart);
    if (!failure.isEmpty())
        criticalMessage()(this, u"تحذير هام"_s, failure);
}

void FrmEvents::saveCsv()
{
    if (m_events.empty())
        return;
    const QString name = u"events-%1.csv"_s.arg(m_period);
    const SaveChoice choice = saveFileChooser()(this, CmdSave->text(), QDir::home().filePath(name),
                                                u"CSV (*.csv)"_s);
    if (choice.path.isEmpty())
        return;
    // The rows in the grid's order, as the core words them.
    QStringList lines;
    QStringList header;
    for (int column = 0; column < kColumnCount; ++column)
        header.append(csvCell(GrdEvents->horizontalHeaderItem(column)->text()));
    lines.append(header.join(u','));
    for (int row = 0; row < GrdEvents->rowCount(); ++row) {
        const ChartEvent& event = eventOfRow(row);
        const EventTexts texts = textsOf(event, m_clock(event.jdUt));
        QStringList cells;
        for (const QString& cell : texts.cells)
            cells.append(csvCell(cell));
        lines.append(cells.join(u','));
    }
    const QByteArray bytes = (lines.join(u'\n') + u'\n').toUtf8();
    QSaveFile file(choice.path);
    const bool saved = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                       file.commit();
    if (!saved)
        criticalMessage()(this, u"تحذير هام"_s,
                          u"تعذر حفظ الملف "_s + choice.path + u'\n' + file.errorString());
}

void FrmEvents::hideEvent(QHideEvent* event)
{
    if (m_searching)
        m_cancelAsked = true;
    QDialog::hideEvent(event);
}

} // namespace velmora::ui

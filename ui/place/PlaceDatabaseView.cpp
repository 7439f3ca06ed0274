#include "ui/place/PlaceDatabaseView.h"

#include "ui/common/BidiText.h"
#include "ui/common/Look.h"
#include "ui/common/Seams.h"
#include "wheel/CoreText.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace velmora::ui {

namespace {

// Rows enough to find a place by scrolling; typing more letters narrows the rest.
constexpr int kShownPlaces = 100;

// The atlas of the process, opened on first use; while it cannot be, the reason why.
atlas::AtlasOpening& sharedAtlas()
{
    static atlas::AtlasOpening shared;
    if (!shared.atlas)
        shared = atlas::Atlas::open(atlas::defaultIndexPath());
    return shared;
}

} // namespace

atlas::Place atlasPlaceOf(const AtlasIdentity& identity)
{
    if (atlas::Atlas* atlas = sharedAtlas().atlas.get()) {
        for (const atlas::Place& place : atlas->search(identity.name, kShownPlaces).places) {
            if (place.zone == identity.timeZone &&
                std::fabs(place.latitude - identity.latitude) < 1e-6 &&
                std::fabs(place.longitude - identity.longitude) < 1e-6)
                return place;
        }
    }
    atlas::Place place;
    place.name = place.nameLatin = identity.name;
    place.zone = identity.timeZone;
    place.latitude = identity.latitude;
    place.longitude = identity.longitude;
    return place;
}

namespace {

// Decimal degrees with the hemisphere word of the picker's options; a number without sign
// reads the same in a right-to-left cell.
QString coordinateText(double value, const char* positive, const char* negative)
{
    return QString::number(std::fabs(value), 'f', 4) + QLatin1Char(' ') +
           QString::fromUtf8(value > 0 ? positive : negative);
}

} // namespace

PlaceDatabaseView::PlaceDatabaseView(QWidget* parent)
    : QWidget(parent)
{
    TxtRecherche = new QLineEdit(this);
    TxtRecherche->setObjectName(QStringLiteral("TxtRecherche"));
    TxtRecherche->setPlaceholderText(
        QString::fromUtf8("اكتب أول حروف اسم المدينة بالعربية أو باللاتينية"));
    TxtRecherche->setClearButtonEnabled(true);

    GriData = new QTableWidget(0, 6, this);
    GriData->setObjectName(QStringLiteral("GriData"));
    GriData->setFont(dialogFont(8));
    GriData->setHorizontalHeaderLabels({QString::fromUtf8("المدينة"), QString::fromUtf8("المنطقة"),
                                        QString::fromUtf8("البلد"), QString::fromUtf8("خط العرض"),
                                        QString::fromUtf8("خط الطول"),
                                        QString::fromUtf8("النطاق الزمني")});
    GriData->verticalHeader()->hide();
    GriData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GriData->setSelectionBehavior(QAbstractItemView::SelectRows);
    GriData->setSelectionMode(QAbstractItemView::SingleSelection);
    GriData->setTabKeyNavigation(false);
    GriData->setWordWrap(false);
    // The names share what the coordinates and the zone leave of the map's width.
    GriData->verticalHeader()->setDefaultSectionSize(QFontMetrics(GriData->font()).height() + 4);
    QHeaderView* columns = GriData->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Stretch);
    for (int column : {3, 4, 5})
        columns->setSectionResizeMode(column, QHeaderView::Interactive);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(TxtRecherche);
    layout->addWidget(GriData);
    // Nothing of the map shows through around the search box.
    setAutoFillBackground(true);

    connect(TxtRecherche, &QLineEdit::textChanged, this, &PlaceDatabaseView::search);
    connect(GriData, &QTableWidget::cellClicked, this, [this](int row, int) { pick(row); });
    GriData->setToolTip(QString::fromUtf8("انقر المدينة أو اضغط Enter لاختيارها"));
    TxtRecherche->installEventFilter(this);
    GriData->installEventFilter(this);
}

void PlaceDatabaseView::search(const QString& query)
{
    atlas::Atlas* atlas = sharedAtlas().atlas.get();
    atlas::Matches matches;
    if (atlas && !query.trimmed().isEmpty())
        matches = atlas->search(query.toStdString(), kShownPlaces);
    if (!matches.error.empty() && !std::exchange(m_searchErrorShown, true))
        criticalMessage()(this, QString::fromUtf8("تحذير هام"), fromCore(matches.error));
    m_places = std::move(matches.places);

    GriData->setRowCount(static_cast<int>(m_places.size()));
    for (int row = 0; row < GriData->rowCount(); ++row) {
        const atlas::Place& place = m_places[static_cast<std::size_t>(row)];
        const QString cells[] = {fromCore(place.name), fromCore(place.region),
                                 fromCore(place.country),
                                 coordinateText(place.latitude, "شمال", "جنوب"),
                                 coordinateText(place.longitude, "شرق", "غرب"),
                                 fromCore(place.zone)};
        for (int column = 0; column < 6; ++column)
            GriData->setItem(row, column, new QTableWidgetItem(isolateRuns(cells[column])));
    }
    for (int column : {3, 4, 5})
        GriData->resizeColumnToContents(column);
    // A long zone name is cut rather than the city's.
    GriData->setColumnWidth(5, std::min(GriData->columnWidth(5), GriData->width() / 5));
    GriData->setCurrentCell(m_places.empty() ? -1 : 0, 0);
}

void PlaceDatabaseView::pick(int row)
{
    if (row >= 0 && row < static_cast<int>(m_places.size()))
        emit placePicked(m_places[static_cast<std::size_t>(row)]);
}

void PlaceDatabaseView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_searchErrorShown = false;
    const atlas::AtlasOpening& opened = sharedAtlas();
    if (!opened.atlas) {
        criticalMessage()(this, QString::fromUtf8("تحذير هام"),
                          QString::fromUtf8("تعذر فتح أطلس المدن:\n") + fromCore(opened.error));
    }
    TxtRecherche->setFocus();
}

bool PlaceDatabaseView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        pick(GriData->currentRow());
        return true;
    }
    const bool moves = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                       key == Qt::Key_PageDown;
    if (watched == TxtRecherche && moves) {
        QCoreApplication::sendEvent(GriData, event);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velmora::ui

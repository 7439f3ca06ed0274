#include "ui/listings/FrmDivert.h"

#include "core/ChartComputation.h"
#include "core/Lots.h"
#include "core/Hijri.h"
#include "core/PositionTexts.h"
#include "ui/common/BidiText.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"
#include "ui/listings/FrmDignities.h"
#include "wheel/CoreText.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <sstream>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

QListWidget* creamList(const QSize& minimum, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setFont(dialogFont());
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, QColor(kCream));
    list->setPalette(palette);
    list->setMinimumSize(minimum);
    return list;
}

} // namespace

std::vector<TextSection> positionsListing(const ChartState& chart, int lastPoint)
{
    std::vector<TextSection> listing = {
        {u"مواقع الكواكب"_s, {}}, {u"مواقع البيوت"_s, {}}, {u"إتصالات الكواكب"_s, {}}};
    // Slots past the second chart's last have neither a point nor a cusp.
    const int last = std::min(lastPoint, kSlotCount - 1);
    for (int i = 0; i <= last; ++i) {
        listing[0].lines.append(
            isolateRuns(fromCore(pointLabel(i) + signPositionText(chart.Planets[i].Longitude))));
        listing[1].lines.append(isolateRuns(fromCore(
            cuspPositionText(signPositionText(chart.HouseCusps[i]), i, chart.HouseSystemUsed[0]))));
    }
    // The first chart's lots after the points, as the points read.
    for (const Lot& lot : lotsOf(chart))
        listing[0].lines.append(isolateRuns(fromCore(lotText(lot))));
    // Below the cusps their system, and why it is not the chosen one, when it is not.
    listing[1].lines.append(fromCore(houseSystemLine(chart)));
    std::istringstream note(houseSystemNote(chart, last >= kPointsPerChart ? 2 : 1));
    for (std::string line; std::getline(note, line);)
        listing[1].lines.append(fromCore(line));
    // Then the angles that fall between equal or whole-sign cusps.
    for (const std::string& line : angleLines(chart, 1))
        listing[1].lines.append(isolateRuns(fromCore(line)));
    for (const std::string& line : chart.AspectLines)
        listing[2].lines.append(isolateRuns(fromCore(line)));
    return listing;
}

FrmDivert::FrmDivert(const ChartState& chart, int lastPoint, QWidget* parent,
                     const std::optional<DateTimeTexts>& firstRow)
    : QDialog(parent)
{
    setWindowTitle(u"عرض الأطوال و الإتصلات الفلكية"_s);
    setFont(dialogFont());

    List1 = creamList({320, 220}, this);
    List2 = creamList({320, 220}, this);
    List3 = creamList({660, 260}, this);
    const std::vector<TextSection> listing = positionsListing(chart, lastPoint);
    List1->addItems(listing[0].lines);
    List2->addItems(listing[1].lines);
    List3->addItems(listing[2].lines);

    CmdDignities = new QPushButton(u"الكرامات الذاتية"_s, this);
    const ChartState kept = chart;
    connect(CmdDignities, &QPushButton::clicked, this, [this, kept] {
        FrmDignities dignities(kept, this);
        dignities.exec();
    });
    CmdOK = new QPushButton(u"&موافق"_s, this);
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto caption = [this](const QString& text, QListWidget* list) {
        auto* label = new QLabel(text, this);
        label->setBuddy(list);
        return label;
    };
    auto* lists = new QGridLayout;
    lists->addWidget(caption(listing[0].heading, List1), 0, 0);
    lists->addWidget(caption(listing[1].heading, List2), 0, 1);
    lists->addWidget(List1, 1, 0);
    lists->addWidget(List2, 1, 1);
    lists->addWidget(caption(listing[2].heading, List3), 2, 0, 1, 2);
    lists->addWidget(List3, 3, 0, 1, 2);
    lists->setRowStretch(3, 1);

    LabDate = new QLabel(firstRow ? isolateRuns(fromCore(chartDateLine(*firstRow))) : QString(), this);
    LabDate->setVisible(!LabDate->text().isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabDate);
    layout->addLayout(lists);
    layout->addLayout(buttonRow({CmdDignities, CmdOK}));
}

} // namespace velmora::ui

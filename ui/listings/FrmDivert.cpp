#include "ui/listings/FrmDivert.h"

#include "core/ChartComputation.h"
#include "core/PositionTexts.h"
#include "ui/common/BidiText.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"
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

FrmDivert::FrmDivert(const ChartState& chart, int lastPoint, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(u"عرض الأطوال و الإتصلات الفلكية"_s);
    setFont(dialogFont());

    List1 = creamList({320, 220}, this);
    List2 = creamList({320, 220}, this);
    List3 = creamList({660, 260}, this);

    // Slots past the second chart's last have neither a point nor a cusp.
    const int last = std::min(lastPoint, kSlotCount - 1);
    for (int i = 0; i <= last; ++i) {
        List1->addItem(isolateRuns(fromCore(pointLabel(i) + signPositionText(chart.Planets[i].Longitude))));
        List2->addItem(
            isolateRuns(fromCore(housePositionText(signPositionText(chart.HouseCusps[i]), i))));
    }
    // Below the cusps, why they are not Placidus ones, when they are not.
    std::istringstream note(houseSystemNote(chart, last >= kPointsPerChart ? 2 : 1));
    for (std::string line; std::getline(note, line);)
        List2->addItem(fromCore(line));
    for (const std::string& line : chart.AspectLines)
        List3->addItem(isolateRuns(fromCore(line)));

    CmdOK = new QPushButton(u"&موافق"_s, this);
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto caption = [this](const QString& text, QListWidget* list) {
        auto* label = new QLabel(text, this);
        label->setBuddy(list);
        return label;
    };
    auto* lists = new QGridLayout;
    lists->addWidget(caption(u"مواقع الكواكب"_s, List1), 0, 0);
    lists->addWidget(caption(u"مواقع البيوت"_s, List2), 0, 1);
    lists->addWidget(List1, 1, 0);
    lists->addWidget(List2, 1, 1);
    lists->addWidget(caption(u"إتصالات الكواكب"_s, List3), 2, 0, 1, 2);
    lists->addWidget(List3, 3, 0, 1, 2);
    lists->setRowStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttonRow({CmdOK}));
}

} // namespace velmora::ui

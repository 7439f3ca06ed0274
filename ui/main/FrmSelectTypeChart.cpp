#include "ui/main/FrmSelectTypeChart.h"

#include "ui/common/Look.h"
#include "ui/main/FrmDataTime.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

// What each option shows, by ChartKind; the stored kind names differ from these.
const char* const kOptionCaptions[kChartKindCount] = {
    "هيئة طالع الوقت", "هيئة الميلاد", "هيئة التحويلات", "هيئة المقارنة", "هيئة شمسية",
    "هيئة التسييرات",
};

void chooseKind(ChartKind kind)
{
    const ChartKindInfo& info = chartKindInfo(kind);
    chartState().ChartKindName = info.name;
    chartState().TwoCharts = info.twoCharts;
}

} // namespace

FrmSelectTypeChart::FrmSelectTypeChart()
{
    setWindowTitle(u"     إختيار نوع الهيئة الفلكية المطلوبة "_s);
    setFont(dialogFont());

    Frame1 = new QGroupBox(this);
    auto* options = new QVBoxLayout(Frame1);
    for (int i = 0; i < kChartKindCount; ++i) {
        OptChart[i] = new QRadioButton(QString::fromUtf8(kOptionCaptions[i]), Frame1);
        options->addWidget(OptChart[i]);
        connect(OptChart[i], &QRadioButton::toggled, this, [i](bool chosen) {
            if (chosen)
                chooseKind(static_cast<ChartKind>(i));
        });
    }

    CmdOK = new QPushButton(u"تابع  >>>"_s, this);
    CmdAnuler = new QPushButton(u"إلغاء الأمر"_s, this);
    for (QPushButton* button : {CmdOK, CmdAnuler})
        button->setAutoDefault(false);
    connect(CmdOK, &QPushButton::clicked, this, &FrmSelectTypeChart::continueToDataEntry);
    connect(CmdAnuler, &QPushButton::clicked, this, &QWidget::hide);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdOK);
    buttons->addWidget(CmdAnuler);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A new dialog starts at the horary kind and one chart, whatever an earlier, discarded one
    // had chosen: checking the option stores it.
    OptChart[static_cast<int>(ChartKind::Horary)]->setChecked(true);
}

void FrmSelectTypeChart::continueToDataEntry()
{
    FrmDataTime::instance()->fillFirstRowFromClock();
    FrmDataTime::instance()->exec();
    hide();
}

} // namespace velmora::ui

#include "ui/main/MDIFrmMain.h"

#include "core/Numbers.h"
#include "ui/chart/FrmChart.h"
#include "ui/common/Look.h"
#include "ui/ephemerides/FrmEphemirids.h"
#include "ui/main/FrmApropos.h"
#include "ui/library/FrmLibrary.h"
#include "ui/main/FrmDataTime.h"
#include "ui/main/FrmFlash.h"
#include "ui/main/FrmSelectTypeChart.h"
#include "ui/place/FrmReperXY.h"
#include "ui/settings/StoredSettings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace velmora::ui {

using namespace Qt::StringLiterals;

MDIFrmMain* MDIFrmMain::s_instance = nullptr;

MDIFrmMain::MDIFrmMain()
{
    s_instance = this;
    setWindowTitle(u"برنامج فلمورا"_s);
    setFont(dialogFont());

    Picture1 = new QFrame(this);
    Picture1->setObjectName(u"Picture1"_s);
    Picture1->setStyleSheet(navyStyle(Picture1->objectName()));
    Cmd = new QPushButton(u"حساب الهيئة"_s, Picture1);
    CmdEphemirids = new QPushButton(u"الأزياج الفلكية"_s, Picture1);
    CmdLibrary = new QPushButton(u"الهيئات المحفوظة"_s, Picture1);
    CmdApropos = new QPushButton(u"حول البرنامج"_s, Picture1);
    CmdEnd = new QPushButton(u"خروج"_s, Picture1);
    auto* strip = new QHBoxLayout(Picture1);
    strip->setContentsMargins(8, 6, 8, 6);
    for (QPushButton* button : {Cmd, CmdEphemirids, CmdLibrary, CmdApropos, CmdEnd}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(110);
        strip->addWidget(button);
    }
    strip->addStretch();

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setBackground(QColor(0x1d, 0x24, 0x3a));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Picture1);
    layout->addWidget(m_mdiArea, 1);
    setCentralWidget(central);
    resize(1100, 740);

    connect(Cmd, &QPushButton::clicked, this, [] { FrmSelectTypeChart::instance()->exec(); });
    connect(CmdEphemirids, &QPushButton::clicked, this,
            [] { FrmEphemirids::instance()->exec(); });
    connect(CmdLibrary, &QPushButton::clicked, this, [] {
        // A window kept from before reads again: the recent list grows with every chart; a new
        // one has just read.
        if (FrmLibrary* kept = FrmLibrary::existing())
            kept->refresh();
        FrmLibrary* charts = FrmLibrary::instance();
        charts->show();
        charts->raise();
        charts->activateWindow();
    });
    connect(CmdApropos, &QPushButton::clicked, this, [] { FrmApropos::instance()->exec(); });
    connect(CmdEnd, &QPushButton::clicked, this, &QWidget::close);

    // Before start-up builds the first picker.
    FrmReperXY::whenCreated() = &FrmDataTime::followPlacePicker;
}

MDIFrmMain::~MDIFrmMain()
{
    if (s_instance == this)
        s_instance = nullptr;
}

MDIFrmMain* MDIFrmMain::instance()
{
    return s_instance;
}

QMdiSubWindow* MDIFrmMain::openChartWindow(ChartKind kind, const QString& caption,
                                           const std::optional<ChartRequest>& request)
{
    QMdiSubWindow* frame = m_mdiArea->addSubWindow(new FrmChart(kind, caption, request));
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->show();
    return frame;
}

void MDIFrmMain::startUp()
{
    FrmFlash splash;
    splash.exec();

    ChartState& state = chartState();
    state.OrientOnAscendant = kTrue;
    FrmDataTime* entry = FrmDataTime::instance();
    entry->fillFirstRowFromClock();
    // A moment the ephemeris cannot compute leaves the state as it was: no window shows the
    // start-up chart, so there is no one to tell.
    entry->computeAndCommit(false);
    state.LastPointIndex = 11;
    state.ShowHouses = kTrue;
    if (const auto file = settingsFile())
        restoreWindowGeometry(*this, *file);
}

void MDIFrmMain::closeEvent(QCloseEvent* event)
{
    if (const auto file = settingsFile())
        storeWindowGeometry(*this, *file);
    event->accept();
    QCoreApplication::quit();
}

} // namespace velmora::ui

// Saves a picture of every window as the user sees it, into the folder given, for a look by eye
// (under Xvfb: QT_QPA_PLATFORM=xcb xvfb-run -a build/tools/velmora-windowshots DIR).
#include "core/Aspects.h"
#include "core/ChartComputation.h"
#include "core/ChartRequest.h"
#include "core/Ephemeris.h"
#include "core/Numbers.h"
#include "resources/VelmoraResources.h"
#include "ui/chart/FrmChart.h"
#include "ui/common/FailureMessages.h"
#include "ui/common/Look.h"
#include "ui/common/Seams.h"
#include "ui/ephemerides/FrmEphemirids.h"
#include "ui/listings/FrmAnalyse.h"
#include "ui/listings/FrmDignities.h"
#include "ui/listings/FrmDivert.h"
#include "ui/listings/FrmEvents.h"
#include "ui/main/FrmApropos.h"
#include "ui/main/FrmDataTime.h"
#include "ui/main/FrmFlash.h"
#include "ui/main/FrmSelectTypeChart.h"
#include "ui/main/MDIFrmMain.h"
#include "ui/place/FrmReperXY.h"
#include "ui/place/WorldMapPicture.h"
#include "ui/settings/FrmThemeProprietees.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace velmora;
using namespace velmora::ui;

namespace {

QString folder;

void save(QWidget* window, const QString& name)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window) ||
        !window->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png")))
        qFatal("could not save %s", qPrintable(name));
}

// A pointer event on the place picker's map at a place (east longitude, latitude).
void mapEvent(FrmReperXY* picker, QEvent::Type type, double east, double north)
{
    const QPointF at = WorldMapPicture::toPixel({-east, north}) +
                       QPointF(picker->PicWorld->contentsRect().topLeft());
    QMouseEvent event(type, at, picker->PicWorld->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picker->PicWorld, &event);
}

// Types Arabic too, which QTest::keyClicks does not.
void type(QLineEdit* box, const QString& text)
{
    for (QChar letter : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(letter), Qt::NoModifier);
}

void placePicker()
{
    FrmReperXY* picker = FrmReperXY::instance();
    picker->show();
    mapEvent(picker, QEvent::MouseButtonPress, 39.83, 21.43);
    mapEvent(picker, QEvent::MouseMove, 31.2, 30.0);
    save(picker, QStringLiteral("place-picker"));
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(picker->CmdStyle, Qt::LeftButton);
    type(picker->TxtRecherche, QString::fromUtf8("ف"));
    const double opening = timer.nsecsElapsed() / 1e6;
    timer.restart();
    type(picker->TxtRecherche, QString::fromUtf8("ا"));
    qInfo("database view opened with its first letter in %.1f ms, next letter %.1f ms", opening,
          timer.nsecsElapsed() / 1e6);
    save(picker, QStringLiteral("place-picker-database"));
    QTest::keyClick(picker->TxtRecherche, Qt::Key_Down);
    QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
    save(picker, QStringLiteral("place-picker-picked"));
    picker->hide();
}

void chartRequest(MDIFrmMain& main)
{
    FrmReperXY::instance()->CmdOK->click(); // the place summary in the data entry
    FrmFlash splash;
    save(&splash, QStringLiteral("splash"));
    save(FrmApropos::instance(), QStringLiteral("about"));
    save(FrmSelectTypeChart::instance(), QStringLiteral("chart-type"));
    for (const ChartKind kind : {ChartKind::Natal, ChartKind::Transits}) {
        FrmSelectTypeChart::instance()->OptChart[static_cast<int>(kind)]->setChecked(true);
        save(FrmDataTime::instance(), kind == ChartKind::Natal
                                          ? QStringLiteral("data-entry-one-chart")
                                          : QStringLiteral("data-entry-two-charts"));
    }
    save(&main, QStringLiteral("main-window"));
}

// The refusal of hour 24 in the program's own message box, answered as soon as it shows.
void refusalMessage(const CriticalMessage& real)
{
    const CriticalMessage logged = criticalMessage();
    criticalMessage() = real;
    FrmDataTime* entry = FrmDataTime::instance();
    const QString hour = entry->TxtHeure[0]->text();
    entry->TxtHeure[0]->setText(QStringLiteral("24"));
    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            qFatal("the refusal showed no message");
        save(box, QStringLiteral("refusal-message"));
        box->close();
    });
    entry->CmdOK->click();
    entry->TxtHeure[0]->setText(hour);
    criticalMessage() = logged;
}

void appearanceTabs()
{
    FrmThemeProprietees* dialog = FrmThemeProprietees::instance();
    for (int tab = 0; tab < dialog->SSTab1->count(); ++tab) {
        dialog->SSTab1->setCurrentIndex(tab);
        save(dialog, QStringLiteral("appearance-tab%1").arg(tab));
    }
    dialog->hide();
}

// What the next print shows, from inside the preview's own loop: the preview as it opens, each
// of its pages large, and the print dialog its print button opens.
void printShots(const QString& name)
{
    QTimer::singleShot(0, [name] {
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!preview)
            qFatal("printing showed no preview");
        preview->resize(900, 860);
        save(preview, QStringLiteral("print-preview-") + name);
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        pages->setViewMode(QPrintPreviewWidget::SinglePageView);
        preview->resize(1100, 1500);
        pages->fitInView();
        for (int page = 1; page <= pages->pageCount(); ++page) {
            pages->setCurrentPage(page);
            save(pages, QStringLiteral("print-page-%1-%2").arg(name).arg(page));
        }
        QPrintDialog dialog(preview->printer(), preview);
        save(&dialog, QStringLiteral("print-dialog"));
        dialog.close();
        preview->close();
    });
}

// The three tables of February 2024 at the place picker's place, the wait page, and the message
// of a month beyond the installed files.
void ephemerides()
{
    FrmEphemirids* window = FrmEphemirids::instance();
    window->show();
    const char* const tables[] = {"planets", "houses", "aspects"};
    for (int kind : {0, 1, 2}) {
        window->CmbMois->setCurrentIndex(1);
        window->TxtYears->setText(QStringLiteral("2024"));
        window->Opt[kind]->click();
        window->CmdCalculer->click();
        save(window, QStringLiteral("ephemerides-%1").arg(QLatin1String(tables[kind])));
        printShots(QStringLiteral("ephemerides-%1").arg(QLatin1String(tables[kind])));
        window->CmdImprimer->click();
    }
    window->GridEphemirids[window->TypeEph]->hide();
    window->WaitPage->show();
    window->LabBar->resize(window->Label1->width() / 3, window->Label1->height());
    save(window, QStringLiteral("ephemerides-wait"));
    window->close();

    SwissEphemeris binding;
    const BodyPosition far = binding.bodyPosition(1e7, 0);
    QMessageBox box(QMessageBox::Critical, QString::fromUtf8("تحذير هام"),
                    ephemerisFailureMessage(far.failure));
    box.setFont(dialogFont());
    save(&box, QStringLiteral("ephemeris-range"));
}

// The listing of transits for 1 March 2024 over 1 March 2000, 15:00 at Mecca, with the aspects
// of the initial orbs; the information window at its top and at its end.
void listings()
{
    ChartState state;
    ChartRequest request;
    request.kind = ChartKind::Transits;
    request.first.texts = {"1", "3", "2000", "15", "0"};
    request.second = RequestRow{{"1", "3", "2024", "15", "0"}, false};
    request.place.coordinates = {"39", "49", "21", "25", false, false};
    if (!computeRequest(state, request).ok)
        qFatal("could not compute the listing's charts");
    setOrbs(state, defaultAspectOrbs());
    state.PlanetInAspects.fill(kTrue);
    findAspects(state, searchForKind(ChartKind::Transits));
    FrmDivert listing(state, 23, nullptr, request.first.texts);
    save(&listing, QStringLiteral("listing"));
    FrmDignities dignities(state);
    save(&dignities, QStringLiteral("dignities"));

    FrmAnalyse* information = FrmAnalyse::instance();
    save(information, QStringLiteral("information"));
    QScrollBar* scroll = information->Text1->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    save(information, QStringLiteral("information-end"));
    information->hide();
}

// The events of 2020 for a natal chart at Fes (4 May 1990, 10:30), in the city's legal time;
// then a fifty-year search caught at about a third of its progress bar, and cancelled.
void events()
{
    ChartState natal;
    ChartRequest request;
    request.name = "سلمى";
    request.first.texts = {"4", "5", "1990", "10", "30"};
    request.place.coordinates = {"4", "59", "34", "2", true, false};
    request.place.summerText = "1";
    request.place.atlas = AtlasIdentity{"فاس", "Africa/Casablanca", 34.03313, -5.00028};
    request.zoneText = "0";
    if (!computeRequest(natal, request).ok)
        qFatal("could not compute the events' natal chart");
    FrmEvents window(natal, request);
    window.resize(760, 560);
    window.show();
    window.DateFrom->setDate(QDate(2020, 1, 1));
    window.DateTo->setDate(QDate(2020, 12, 31));
    window.CmdSearch->click();
    save(&window, QStringLiteral("events"));

    window.DateTo->setDate(QDate(2069, 12, 31));
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (window.BarProgress->value() < window.BarProgress->maximum() / 3)
            return;
        watch.stop();
        save(&window, QStringLiteral("events-progress"));
        window.CmdCancel->click();
    });
    watch.start(5);
    window.CmdSearch->click();
    if (watch.isActive())
        qFatal("the fifty-year search ended before its progress could be seen");
    window.close();
}

// A chart of each kind for Salma, 4 May 1990 at 08:15 (and 6 December 2026 at noon), asked for
// through the data entry, each window widened so that its information panel, dragged beside
// the wheel, hides nothing of it.
void chartWindows(MDIFrmMain& main)
{
    main.show();
    FrmDataTime* entry = FrmDataTime::instance();
    const QStringList rows[] = {{QStringLiteral("8"), QStringLiteral("15"), QStringLiteral("4"),
                                 QStringLiteral("5"), QStringLiteral("1990")},
                                {QStringLiteral("12"), QStringLiteral("0"), QStringLiteral("6"),
                                 QStringLiteral("12"), QStringLiteral("2026")}};
    // Each kind in the default houses, then the natal chart in Alcabitius' houses.
    for (int k = 0; k <= kChartKindCount; ++k) {
        const bool alcabitius = k == kChartKindCount;
        if (alcabitius) {
            k = static_cast<int>(ChartKind::Natal);
            FrmThemeProprietees::instance()->CmbMaisons->setCurrentIndex(
                static_cast<int>(HouseSystem::Alcabitius));
        }
        FrmSelectTypeChart::instance()->OptChart[k]->setChecked(true);
        entry->TxtNom->setText(QString::fromUtf8("سلمى"));
        for (int row = 0; row < 2; ++row) {
            const std::array<QLineEdit*, 5> boxes = {entry->TxtHeure[row], entry->TxtMin[row],
                                                     entry->TxtJour[row], entry->TxtMois[row],
                                                     entry->TxtAnnee[row]};
            for (int i = 0; i < 5; ++i)
                boxes[i]->setText(rows[row][i]);
        }
        entry->CmdOK->click();
        if (main.mdiArea()->subWindowList().isEmpty())
            qFatal("no chart window of kind %d opened", k);
        QMdiSubWindow* frame = main.mdiArea()->subWindowList().constLast();
        auto* chart = qobject_cast<FrmChart*>(frame->widget());
        frame->resize(frame->size() + QSize(310, 0));
        frame->move(0, 0);
        QTest::mouseClick(chart->LabMenu[FrmChart::Information], Qt::LeftButton);
        chart->PictTable->move(chart->chartSize() + 6, 36);
        save(frame, chart->objectName() + (alcabitius ? QStringLiteral("-alcabitius") : QString()));
        if (alcabitius) {
            FrmThemeProprietees::instance()->CmbMaisons->setCurrentIndex(0);
            frame->close();
            break;
        }
        if (k == static_cast<int>(ChartKind::Natal) || k == static_cast<int>(ChartKind::Transits)) {
            printShots(chart->objectName());
            QTest::mouseClick(chart->LabMenu[FrmChart::Print], Qt::LeftButton);
        }
        frame->close();
    }
}

} // namespace

int main(int argc, char** argv)
{
    // The pictures show the start values, whatever the user's settings hold.
    qputenv("VELMORA_SETTINGS", "");
    qputenv("VELMORA_LIBRARY", "");
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    arabicQtDialogs();
    registerSymbolFont();
    if (argc != 2)
        qFatal("usage: velmora-windowshots FOLDER");
    folder = QString::fromLocal8Bit(argv[1]);
    const CriticalMessage real = criticalMessage();
    // A message box would wait for a click that never comes.
    criticalMessage() = [](QWidget*, const QString& title, const QString& text) {
        qWarning("%s: %s", qPrintable(title), qPrintable(text));
    };
    MDIFrmMain main; // first: it hooks every place picker to the data entry
    placePicker();
    chartRequest(main);
    refusalMessage(real);
    appearanceTabs();
    ephemerides();
    listings();
    events();
    chartWindows(main);
    return 0;
}

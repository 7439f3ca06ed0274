#include "ui/main/MDIFrmMain.h"

#include "core/Numbers.h"
#include "resources/VelmoraResources.h"
#include "ui/common/Platform.h"
#include "ui/main/FrmApropos.h"
#include "ui/main/FrmDataTime.h"
#include "ui/main/FrmFlash.h"
#include "ui/main/FrmReperXY.h"
#include "ui/main/FrmSelectTypeChart.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

using namespace velmora;
using namespace velmora::ui;
using namespace Qt::StringLiterals;

namespace {

struct Opened {
    ChartKind kind;
    QString caption;
};

// Runs `act` on the modal dialog that the next exec() shows, from inside its event loop.
void onNextModal(std::function<void(QWidget*)> act)
{
    QTimer::singleShot(0, qApp, [act] { act(QApplication::activeModalWidget()); });
}

// Discards the dialog as a close by its frame does, and builds a new one.
template <typename Dialog>
Dialog* fresh()
{
    if (Dialog* old = Dialog::existing()) {
        old->show();
        old->close();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return Dialog::instance();
}

// The part of the chart state a chart request computes.
QByteArray computedState()
{
    const ChartState& s = chartState();
    QByteArray bytes;
    bytes.append(reinterpret_cast<const char*>(s.Planets.data()), sizeof(s.Planets));
    bytes.append(reinterpret_cast<const char*>(s.HouseCusps.data()), sizeof(s.HouseCusps));
    bytes.append(reinterpret_cast<const char*>(s.PlanetAttr.data()), sizeof(s.PlanetAttr));
    for (std::int16_t value : {s.ChartDay, s.ChartMonth, s.ChartYear, s.ChartHour, s.ChartMinute})
        bytes.append(reinterpret_cast<const char*>(&value), sizeof(value));
    return bytes;
}

void chooseKind(int option)
{
    FrmSelectTypeChart::instance()->OptChart[option]->setChecked(true);
}

// "hour0=24" sets the first row's hour box to "24"; "name=" empties the name.
void applyEdits(FrmDataTime* entry, const QStringList& edits)
{
    for (const QString& edit : edits) {
        const QString box = edit.section(u'=', 0, 0);
        const QString text = edit.section(u'=', 1);
        if (box == u"name") {
            entry->TxtNom->setText(text);
            continue;
        }
        const QString field = box.chopped(1);
        const std::array<QLineEdit*, 2> FrmDataTime::*boxes =
            field == u"hour" ? &FrmDataTime::TxtHeure
            : field == u"minute" ? &FrmDataTime::TxtMin
            : field == u"day" ? &FrmDataTime::TxtJour
            : field == u"month" ? &FrmDataTime::TxtMois
            : &FrmDataTime::TxtAnnee;
        (entry->*boxes)[box.right(1).toInt()]->setText(text);
    }
}

} // namespace

class MDIFrmMainTest final : public QObject {
    Q_OBJECT

private:
    MDIFrmMain* main = nullptr;
    QStringList messages; // "title|text"
    QList<Opened> opened;
    QList<QUrl> links;

    // Chooses a kind, lets `act` work in the data entry and reads what it showed.
    struct Request {
        QString kindName;
        bool secondRowsShown = false;
    };
    Request requestThroughTheDialogs(const std::function<void(FrmSelectTypeChart*)>& choose)
    {
        Request seen;
        onNextModal([&](QWidget*) {
            choose(FrmSelectTypeChart::instance());
            onNextModal([&](QWidget* entry) {
                seen.kindName = fromCore(chartState().ChartKindName);
                seen.secondRowsShown = FrmDataTime::instance()->SecondRows->isVisible();
                QVERIFY(entry == FrmDataTime::instance());
                FrmDataTime::instance()->CmdAnuler->click();
            });
            FrmSelectTypeChart::instance()->CmdOK->click();
        });
        main->Cmd->click();
        return seen;
    }

private slots:
    void initTestCase()
    {
        criticalMessage() = [this](QWidget*, const QString& title, const QString& text) {
            messages.append(title + u'|' + text);
        };
        velmora::ui::clock() = [] { return QDateTime(QDate(2004, 3, 3), QTime(9, 5, 40)); };
        MDIFrmMain::chartWindowFactory() = [this](ChartKind kind, const QString& caption) {
            opened.append({kind, caption});
            auto* window = new QWidget;
            window->setWindowTitle(caption);
            return window;
        };
        main = new MDIFrmMain;
        main->show();
    }

    void init()
    {
        messages.clear();
        opened.clear();
        links.clear();
    }

    void cleanup()
    {
        main->mdiArea->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void splashClosesOnAClickOrItsTick_data()
    {
        QTest::addColumn<bool>("click");
        QTest::newRow("click before the tick") << true;
        QTest::newRow("the tick alone") << false;
    }

    void splashClosesOnAClickOrItsTick()
    {
        QFETCH(bool, click);
        FrmFlash splash;
        if (click)
            onNextModal([](QWidget* shown) { QTest::mouseClick(shown, Qt::LeftButton); });
        QElapsedTimer elapsed;
        elapsed.start();
        splash.exec();
        QVERIFY(!splash.isVisible());
        QVERIFY(!splash.Timer->isActive());
        QVERIFY2(elapsed.elapsed() < (click ? FrmFlash::kIntervalMs : 1500),
                 qPrintable(QString::number(elapsed.elapsed())));
    }

    void startUpComputesThePresentMomentAndOpensNothing()
    {
        onNextModal([](QWidget* splash) { QTest::mouseClick(splash, Qt::LeftButton); });
        main->startUp();
        const FrmDataTime* entry = FrmDataTime::instance();
        QCOMPARE((QStringList{entry->TxtHeure[0]->text(), entry->TxtMin[0]->text(),
                              entry->TxtJour[0]->text(), entry->TxtMois[0]->text(),
                              entry->TxtAnnee[0]->text()}),
                 (QStringList{u"9"_s, u"5"_s, u"3"_s, u"3"_s, u"2004"_s}));
        QCOMPARE(entry->TxtAnnee[1]->text(), u"2005"_s);
        const ChartState& state = chartState();
        QCOMPARE(int(state.ChartYear), 2004);
        QCOMPARE(int(state.ChartHour), 9);
        // Early March: the Sun in late Pisces.
        QVERIFY2(state.Planets[0].Longitude > 340 && state.Planets[0].Longitude < 345,
                 qPrintable(QString::number(state.Planets[0].Longitude)));
        QCOMPARE(int(state.LastPointIndex), 11);
        QCOMPARE(state.ShowHouses, kTrue);
        QCOMPARE(state.OrientOnAscendant, kTrue);
        QVERIFY(main->mdiArea->subWindowList().isEmpty());
    }

    void chartTypeDialogKeepsTheKindUntilItIsDiscarded()
    {
        fresh<FrmSelectTypeChart>();
        Request seen = requestThroughTheDialogs([](FrmSelectTypeChart*) {});
        QCOMPARE(seen.kindName, u"هيئة طالع الوقت"_s);
        QVERIFY(!seen.secondRowsShown);
        QVERIFY(!FrmSelectTypeChart::instance()->isVisible());

        onNextModal([](QWidget*) {
            FrmSelectTypeChart::instance()->OptChart[2]->click();
            FrmSelectTypeChart::instance()->CmdAnuler->click();
        });
        main->Cmd->click();
        seen = requestThroughTheDialogs([](FrmSelectTypeChart*) {});
        QCOMPARE(seen.kindName, u"هيئة تحاويل"_s);
        QVERIFY(seen.secondRowsShown);

        onNextModal([](QWidget* dialog) { dialog->close(); });
        main->Cmd->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!FrmSelectTypeChart::existing());
        seen = requestThroughTheDialogs([](FrmSelectTypeChart* dialog) {
            QVERIFY(dialog->OptChart[0]->isChecked());
            QCOMPARE(int(chartState().TwoCharts), 0);
        });
        QCOMPARE(seen.kindName, u"هيئة طالع الوقت"_s);
        QVERIFY(!seen.secondRowsShown);
    }

    void dataEntryRefusesWithTheFirstMessage_data()
    {
        QTest::addColumn<QStringList>("edits");
        // Empty: a window opens. Ending in a line break: the computation failed, the library's
        // reason follows.
        QTest::addColumn<QString>("outcome");
        const QString hour = u"index hors plage !الساعة غير صحيحة "_s;
        const QString minute = u"index hors plage !الدقائق غير صحيحة "_s;
        const QString day = u"index hors plage !اليوم غير صحيح "_s;
        const QString month = u"index hors plage !الشهر  غير صحيح "_s;
        const QString year = u"index hors plage !السنة  غير صحيحة "_s;
        auto row = [](const char* name, const char* edits, const QString& outcome) {
            QTest::newRow(name) << QString::fromUtf8(edits).split(u' ', Qt::SkipEmptyParts) << outcome;
        };
        row("hour 24", "hour0=24", hour);
        row("hour 23", "hour0=23", {});
        row("minute 60", "minute0=60", minute);
        row("minute 59", "minute0=59", {});
        row("day 32", "day0=32", day);
        row("day 31, day 0 and month 0", "day0=31 day1=0 month1=0", {});
        row("month 13", "month0=13", month);
        row("month 12", "month0=12", {});
        row("year 20001", "year0=20001", year);
        row("year 20000 passes the check", "year0=20000", year + u'\n');
        row("letters", "hour0=ab", hour);
        row("empty box", "minute0=", minute);
        row("beyond 16 bits", "year0=99999", year);
        row("letters in the second row", "day1=ab", day);
        row("month 40 in the second row", "month1=40", month);
        row("two bad fields show the first", "minute0=60 hour0=24", hour);
        row("year 9000", "year0=9000", year + u'\n');
        row("year 9000 in the second row", "year1=9000", year + u'\n');
    }

    void dataEntryRefusesWithTheFirstMessage()
    {
        QFETCH(QStringList, edits);
        QFETCH(QString, outcome);
        chooseKind(2); // transits: both rows are checked
        FrmDataTime* entry = fresh<FrmDataTime>();
        applyEdits(entry, edits);
        entry->show();
        // No computation gives this longitude: any commit would replace it.
        chartState().Planets[0].Longitude = 400.0f;
        const QByteArray before = computedState();
        entry->CmdOK->click();
        if (outcome.isEmpty()) {
            QCOMPARE(messages, QStringList());
            QCOMPARE(opened.size(), 1);
            QVERIFY(!entry->isVisible());
            return;
        }
        QCOMPARE(messages.size(), 1);
        const QString shown = messages[0].section(u'|', 1);
        QVERIFY2(shown == outcome || (outcome.endsWith(u'\n') && shown.startsWith(outcome) &&
                                      shown.size() > outcome.size()),
                 qPrintable(shown));
        QVERIFY(messages[0].startsWith(u"Erreur !|"_s));
        QVERIFY(entry->isVisible());
        QVERIFY(opened.isEmpty());
        QVERIFY(computedState() == before);
        entry->hide();
    }

    void okOpensTheChosenKindWithItsCaption_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<bool>("noTime");
        QTest::addColumn<QString>("caption");
        auto row = [](const char* name, int option, const char* edits, bool noTime,
                      const char* caption) {
            QTest::newRow(name) << option << QString::fromUtf8(edits).split(u' ', Qt::SkipEmptyParts) << noTime
                                << QString::fromUtf8(caption);
        };
        row("horary", 0, "name=سلمى", false, "هيئة طالع الوقت لسلمى2004/3/3   5:9");
        row("natal at 08:15", 1, "hour0=08 minute0=15 day0=05", false,
            "هيئة ميلاد لأحمد2004/3/05   15:8");
        row("transits take the first row's time", 2, "hour0=8 minute0=15 hour1=20 minute1=45",
            false, "هيئة تحاويل لأحمد2004/3/3   15:8");
        row("comparison without a name", 3, "name=", false, "هيئة مقارنة ل2004/3/3   5:9");
        row("solar without a time", 4, "", true, "هيئة شمسية لأحمد2004/3/3   00:12");
        row("progressions keep the leading space", 5, "", false,
            " هيئة تسييرات لأحمد2004/3/3   5:9");
    }

    void okOpensTheChosenKindWithItsCaption()
    {
        QFETCH(int, option);
        QFETCH(QStringList, edits);
        QFETCH(bool, noTime);
        QFETCH(QString, caption);
        chooseKind(option);
        FrmDataTime* entry = fresh<FrmDataTime>();
        applyEdits(entry, edits);
        if (noTime)
            entry->ChkTime->click();
        chartState().WheelRotation = 0;
        entry->CmdOK->click();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(u'\n')));
        QCOMPARE(opened.size(), 1);
        QCOMPARE(static_cast<int>(opened[0].kind), option);
        QCOMPARE(opened[0].caption, caption);
        QCOMPARE(main->mdiArea->subWindowList().size(), 1);
        QCOMPARE(main->mdiArea->subWindowList()[0]->windowTitle(), caption);
        const ChartState& state = chartState();
        QCOMPARE(state.OrientOnAscendant, toFlag(!noTime));
        QCOMPARE(int(state.WheelRotation), noTime ? 270 : 0);
        QCOMPARE(state.ShowHouses, kTrue);
    }

    void timeNotAvailableAndTheEnterChain()
    {
        chooseKind(2);
        FrmDataTime* entry = fresh<FrmDataTime>();
        entry->show();
        QApplication::setActiveWindow(entry);
        QVERIFY(QTest::qWaitForWindowActive(entry));

        entry->ChkTime->click();
        QCOMPARE(entry->TxtHeure[0]->text() + u':' + entry->TxtMin[0]->text(), u"12:00"_s);
        QVERIFY(entry->ChkTime->isChecked());
        entry->TxtMin[0]->selectAll();
        QTest::keyClick(entry->TxtMin[0], Qt::Key_5);
        QVERIFY(!entry->ChkTime->isChecked());
        entry->ChkTime->click();
        entry->TxtHeure[1]->selectAll();
        QTest::keyClick(entry->TxtHeure[1], Qt::Key_7);
        QVERIFY(!entry->ChkTime->isChecked());

        for (int row = 0; row < 2; ++row) {
            const std::array<QLineEdit*, 5> chain = {entry->TxtHeure[row], entry->TxtMin[row],
                                                     entry->TxtJour[row], entry->TxtMois[row],
                                                     entry->TxtAnnee[row]};
            chain[0]->setFocus();
            for (std::size_t i = 1; i < chain.size(); ++i) {
                QTest::keyClick(chain[i - 1], Qt::Key_Return);
                QTRY_VERIFY(chain[i]->hasFocus());
                QCOMPARE(chain[i]->selectedText(), chain[i]->text());
            }
        }
        // Enter never submits the dialog.
        for (QLineEdit* box : {entry->TxtAnnee[0], entry->TxtNom})
            QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(entry->isVisible());
        QVERIFY(opened.isEmpty() && messages.isEmpty());
        entry->hide();
    }

    void escapeHidesAFrameCloseDiscardsAndThePlaceLabelFollows()
    {
        FrmDataTime* entry = fresh<FrmDataTime>();
        entry->show();
        entry->TxtNom->setText(u"ليلى"_s);
        QTest::keyClick(entry, Qt::Key_Escape);
        QVERIFY(!entry->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(FrmDataTime::instance(), entry);
        QCOMPARE(entry->TxtNom->text(), u"ليلى"_s);

        FrmReperXY* picker = FrmReperXY::instance();
        picker->TxtLatDeg->setText(u"30"_s);
        picker->CmdOK->click();
        QCOMPARE(entry->LabVille->text(), picker->placeSummary());
        picker->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(entry->LabVille->text(), FrmDataTime::kNoPlace);

        // The next picker's confirmation reaches a data entry built anew.
        entry->show();
        entry->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!FrmDataTime::existing());
        FrmReperXY::instance()->CmdOK->click();
        QCOMPARE(FrmDataTime::instance()->LabVille->text(), FrmReperXY::instance()->placeSummary());
        QCOMPARE(FrmDataTime::instance()->TxtNom->text(), u"أحمد"_s);
    }

    void aboutLinkOpensMailOrSaysWhyNot_data()
    {
        QTest::addColumn<bool>("opens");
        QTest::newRow("a mail program opens") << true;
        QTest::newRow("none opens") << false;
    }

    void aboutLinkOpensMailOrSaysWhyNot()
    {
        QFETCH(bool, opens);
        linkOpener() = [this, opens](const QUrl& link) {
            links.append(link);
            return opens;
        };
        FrmApropos* about = FrmApropos::instance();
        about->show();
        QTest::mouseClick(about->LabActiveURL, Qt::LeftButton);
        QCOMPARE(links, QList<QUrl>{QUrl(u"mailto:"_s + FrmApropos::kContactAddress)});
        QCOMPARE(messages, opens ? QStringList()
                                 : QStringList{u"تحذير هام|خطأ في شبكة الإتصال"_s});
        about->CmdOK->click();
        QVERIFY(!about->isVisible());
        QCOMPARE(FrmApropos::instance(), about);
    }

    // With VELMORA_SCREENSHOTS set to a folder, saves each window as the user sees it.
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("VELMORA_SCREENSHOTS");
        if (dir.isEmpty())
            QSKIP("VELMORA_SCREENSHOTS not set");
        auto save = [&](QWidget* window, const char* name) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY(window->grab().save(dir + u'/' + QString::fromLatin1(name) + u".png"_s));
            window->hide();
        };
        FrmFlash splash;
        save(&splash, "splash");
        save(FrmApropos::instance(), "about");
        save(FrmSelectTypeChart::instance(), "chart-type");
        FrmReperXY::instance()->CmdOK->click();
        chooseKind(1);
        save(FrmDataTime::instance(), "data-entry-one-chart");
        chooseKind(2);
        save(FrmDataTime::instance(), "data-entry-two-charts");
        QVERIFY(main->grab().save(dir + u"/main-window.png"_s));
    }

    // Last: it ends the event loop of the application.
    void exitQuitsAtOnceWithChartsOpen()
    {
        chooseKind(1);
        fresh<FrmDataTime>()->CmdOK->click();
        QCOMPARE(main->mdiArea->subWindowList().size(), 1);
        QTimer::singleShot(0, main->CmdEnd, &QPushButton::click);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(messages.isEmpty());
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    registerSymbolFont();
    MDIFrmMainTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MDIFrmMainTest.moc"

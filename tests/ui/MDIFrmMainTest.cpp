#include "ui/main/MDIFrmMain.h"

#include "core/ChartRequest.h"
#include "core/Numbers.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/common/BidiText.h"
#include "ui/chart/FrmChart.h"
#include "ui/ephemerides/FrmEphemirids.h"
#include "ui/main/FrmApropos.h"
#include "ui/main/FrmDataTime.h"
#include "ui/main/FrmFlash.h"
#include "ui/place/FrmReperXY.h"
#include "ui/main/FrmSelectTypeChart.h"
#include "ui/settings/FrmThemeProprietees.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

class MDIFrmMainTest final : public QObject {
    Q_OBJECT

private:
    MDIFrmMain* main = nullptr;

    // The chart windows opened, by their window name and caption.
    QStringList opened() const
    {
        QStringList windows;
        for (QMdiSubWindow* frame : main->mdiArea()->subWindowList()) {
            const auto* chart = qobject_cast<FrmChart*>(frame->widget());
            windows.append(chart->objectName() + u'|' + chart->caption());
        }
        return windows;
    }

    // Opens the chart-type dialog, lets `choose` act, continues, and tells what the data entry
    // showed: the kind name and whether its second rows are shown.
    QString requestThroughTheDialogs(const std::function<void(FrmSelectTypeChart*)>& choose)
    {
        QString seen;
        onNextModal<FrmSelectTypeChart>([&](FrmSelectTypeChart* dialog) {
            choose(dialog);
            onNextModal<FrmDataTime>([&](FrmDataTime* entry) {
                seen = fromCore(chartState().ChartKindName) + (entry->SecondRows->isVisible() ? u"|2"_s : u"|1"_s);
                entry->CmdAnuler->click();
            });
            dialog->CmdOK->click();
        });
        main->Cmd->click();
        return seen;
    }

private slots:
    void initTestCase()
    {
        recordMessages();
        setClock(QDateTime(QDate(2004, 3, 3), QTime(9, 5, 40)));
        main = new MDIFrmMain;
        main->show();
    }

    void init() { messages().clear(); }

    void cleanup()
    {
        main->mdiArea()->closeAllSubWindows();
        deleteClosedWindows();
    }

    // The tick is delivered as the timer's own event, so that no test waits on the wall clock.
    void splashClosesOnAClickOrItsTick()
    {
        for (bool click : {true, false}) {
            FrmFlash splash;
            onNextModal<FrmFlash>([click](FrmFlash* shown) {
                auto* timer = shown->Timer;
                QVERIFY(timer->isActive() && timer->isSingleShot());
                QCOMPARE(timer->interval(), FrmFlash::kIntervalMs);
                if (click) {
                    QTest::mouseClick(shown, Qt::LeftButton);
                } else {
                    QTimerEvent tick(timer->timerId());
                    QCoreApplication::sendEvent(timer, &tick);
                }
            });
            splash.exec();
            QVERIFY(!splash.isVisible() && !splash.Timer->isActive());
        }
    }

    void startUpComputesThePresentMomentAndOpensNothing()
    {
        onNextModal([](QWidget* splash) { QTest::mouseClick(splash, Qt::LeftButton); });
        main->startUp();
        const FrmDataTime* entry = FrmDataTime::instance();
        QCOMPARE((QStringList{entry->TxtHeure[0]->text(), entry->TxtMin[0]->text(),
                              entry->TxtJour[0]->text(), entry->TxtMois[0]->text(),
                              entry->TxtAnnee[0]->text(), entry->TxtAnnee[1]->text()}),
                 (QStringList{u"9"_s, u"5"_s, u"3"_s, u"3"_s, u"2004"_s, u"2005"_s}));
        const ChartState& state = chartState();
        QCOMPARE(int(state.ChartYear), 2004);
        // Early March: the Sun in late Pisces.
        QVERIFY2(state.Planets[0].Longitude > 340 && state.Planets[0].Longitude < 345,
                 qPrintable(QString::number(state.Planets[0].Longitude)));
        QCOMPARE(int(state.LastPointIndex), 11);
        QCOMPARE(state.ShowHouses, kTrue);
        QCOMPARE(state.OrientOnAscendant, kTrue);
        QVERIFY(main->mdiArea()->subWindowList().isEmpty());
    }

    void chartTypeDialogKeepsTheKindUntilItIsDiscarded()
    {
        fresh<FrmSelectTypeChart>();
        QCOMPARE(requestThroughTheDialogs([](FrmSelectTypeChart*) {}), u"هيئة طالع الوقت|1"_s);
        QVERIFY(!FrmSelectTypeChart::instance()->isVisible());

        onNextModal([](QWidget*) {
            FrmSelectTypeChart::instance()->OptChart[2]->click();
            FrmSelectTypeChart::instance()->CmdAnuler->click();
        });
        main->Cmd->click();
        QCOMPARE(requestThroughTheDialogs([](FrmSelectTypeChart*) {}), u"هيئة تحاويل|2"_s);

        onNextModal([](QWidget* dialog) { dialog->close(); });
        main->Cmd->click();
        deleteClosedWindows();
        QVERIFY(!FrmSelectTypeChart::existing());
        QCOMPARE(requestThroughTheDialogs([](FrmSelectTypeChart* dialog) {
                     QVERIFY(dialog->OptChart[0]->isChecked());
                 }),
                 u"هيئة طالع الوقت|1"_s);
    }

    // The outcome ends in a line break when the computation failed and the library's reason
    // follows. A refused field takes the focus, selected.
    // The rules of each field are the core's (ChartRequest.RowFaultIsTheFirst… rows); these rows check
    // which message, row name and box each kind of refusal reaches, one row for each field.
    void dataEntryRefusesWithTheFirstMessage_data()
    {
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QString>("focus");
        const QString year = u"index hors plage !السنة  غير صحيحة "_s;
        const QString secondDate = u"\nالتاريخ الثاني"_s;
        QTest::newRow("minute 60") << u"TxtMin0=60"_s << u"index hors plage !الدقائق غير صحيحة "_s << u"TxtMin0"_s;
        QTest::newRow("day 32") << u"TxtJour0=32"_s << u"index hors plage !اليوم غير صحيح "_s << u"TxtJour0"_s;
        QTest::newRow("month 0 in the second row")
            << u"TxtMois1=0"_s << u"index hors plage !الشهر  غير صحيح "_s + secondDate << u"TxtMois1"_s;
        QTest::newRow("year 20000 passes the check") << u"TxtAnnee0=20000"_s << year + u'\n' << QString();
        QTest::newRow("year -20001, not cut to -2000") << u"TxtAnnee0=-20001"_s << year << u"TxtAnnee0"_s;
        QTest::newRow("hour 24 in the second row")
            << u"TxtHeure1=24"_s << u"index hors plage !الساعة غير صحيحة \nالوقت  الثاني "_s << u"TxtHeure1"_s;
        QTest::newRow("a day the calendar reform dropped")
            << u"TxtJour0=10 TxtMois0=10 TxtAnnee0=1582"_s
            << year + u"\nالأيام من 5 إلى 14 أكتوبر 1582 أسقطها إصلاح التقويم: بعد 4 أكتوبر يأتي 15 أكتوبر"_s
            << u"TxtAnnee0"_s;
        QTest::newRow("day 30 of a 29-day Hijri month in the second row")
            << u"ChkHijri1=1 TxtJour1=30 TxtMois1=9 TxtAnnee1=1444"_s
            << u"index hors plage !التاريخ الهجري غير صحيح "_s + secondDate << u"TxtJour1"_s;
    }

    void dataEntryRefusesWithTheFirstMessage()
    {
        QFETCH(QString, edits);
        QFETCH(QString, outcome);
        QFETCH(QString, focus);
        FrmDataTime* entry = shown(entryFor(ChartKind::Transits)); // both rows are checked
        applyEdits(entry, edits);
        // No computation gives this longitude: any commit would replace it (that a failed request
        // commits nothing is ChartComputationTest's).
        chartState().Planets[0].Longitude = 400.0f;
        entry->CmdOK->click();
        QCOMPARE(messages().size(), 1);
        const QString shown = messages()[0].section(u'|', 1);
        QVERIFY2(shown == outcome || (outcome.endsWith(u'\n') && shown.startsWith(outcome) &&
                                      shown.size() > outcome.size()),
                 qPrintable(shown));
        QVERIFY(messages()[0].startsWith(u"Erreur !|"_s));
        QVERIFY(entry->isVisible() && opened().isEmpty());
        QCOMPARE(chartState().Planets[0].Longitude, 400.0f);
        if (!focus.isEmpty()) {
            const auto* box = qobject_cast<QLineEdit*>(entry->focusWidget());
            QVERIFY(box);
            QCOMPARE(box->objectName(), focus);
            QCOMPARE(box->selectedText(), box->text());
        }
        entry->hide();
    }

    // An end-to-end request of each kind; how a caption is written (the progressions' leading
    // space) is PositionTextsTest's Captions, the window of each kind FrmChartTest's eachKind.
    void okOpensTheChosenKindWithItsCaption_data()
    {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<QString>("edits");
        QTest::addColumn<QString>("caption");
        QTest::newRow("transits take the first row's time") << ChartKind::Transits
            << u"TxtHeure0=8 TxtMin0=15 TxtHeure1=20 TxtMin1=45"_s << u"هيئة تحاويل لأحمد2004/3/3   15:8"_s;
        QTest::newRow("solar without a time, houses box cleared") << ChartKind::Solar << u"ChkTime"_s << u"هيئة شمسية لأحمد2004/3/3   00:12"_s;
        QTest::newRow("Hijri boxes turn the dates over and back to the same day")
            << ChartKind::Progressions << u"ChkHijri0=1 ChkHijri1=1"_s << u" هيئة تسييرات لأحمد2004/3/3   5:9"_s;
    }

    void okOpensTheChosenKindWithItsCaption()
    {
        QFETCH(ChartKind, kind);
        QFETCH(QString, edits);
        QFETCH(QString, caption);
        const bool noTime = edits == u"ChkTime"_s;
        FrmDataTime* entry = entryFor(kind);
        if (noTime)
            entry->ChkTime->click();
        else
            applyEdits(entry, edits);
        FrmThemeProprietees::instance()->ShowMaison->setChecked(!noTime);
        entry->CmdOK->click();
        QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
        QCOMPARE(opened(), QStringList{QString::fromLatin1(chartKindDescription(kind).windowName) + u'|' + caption});
        const ChartState& state = chartState();
        QCOMPARE(state.OrientOnAscendant, toFlag(!noTime));
        QCOMPARE(state.ShowHouses, toFlag(!noTime));
    }

    void timeNotAvailableAndTheEnterChain()
    {
        FrmDataTime* entry = shown(entryFor(ChartKind::Transits), true);

        // Typing into a time box clears the box (its 12:00 is okOpensTheChosenKindWithItsCaption's).
        for (QLineEdit* box : {entry->TxtMin[0], entry->TxtHeure[1]}) {
            entry->ChkTime->setChecked(true);
            box->selectAll();
            QTest::keyClick(box, Qt::Key_5);
            QVERIFY(!entry->ChkTime->isChecked());
        }

        for (int row = 0; row < 2; ++row) {
            const QLineEdit* chain[] = {entry->TxtHeure[row], entry->TxtMin[row],
                                        entry->TxtJour[row], entry->TxtMois[row], entry->TxtAnnee[row]};
            entry->TxtHeure[row]->setFocus();
            for (int i = 1; i < 5; ++i) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                QTRY_VERIFY(chain[i]->hasFocus());
                QCOMPARE(chain[i]->selectedText(), chain[i]->text());
            }
        }
        // Enter never submits the dialog.
        for (QLineEdit* box : {entry->TxtAnnee[0], entry->TxtNom})
            QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(entry->isVisible() && opened().isEmpty() && messages().isEmpty());
        entry->hide();
    }

    void escapeHidesAFrameCloseDiscardsAndThePlaceLabelFollows()
    {
        FrmDataTime* entry = shown(fresh<FrmDataTime>());
        entry->TxtNom->setText(u"ليلى"_s);
        QTest::keyClick(entry, Qt::Key_Escape);
        deleteClosedWindows();
        QVERIFY(!entry->isVisible());
        QCOMPARE(FrmDataTime::instance(), entry);
        QCOMPARE(entry->TxtNom->text(), u"ليلى"_s);

        FrmReperXY* picker = FrmReperXY::instance();
        picker->TxtLatDeg->setText(u"30"_s);
        picker->CmdOK->click();
        QCOMPARE(entry->LabVille->text(), isolateRuns(picker->placeSummary()));
        discard(picker);
        QCOMPARE(entry->LabVille->text(), FrmDataTime::kNoPlace);
    }

    // The tables window's own test picks a city from it.
    void tablesButtonOpensTheEphemeridesWindow()
    {
        QWidget* shown = nullptr;
        onNextModal([&shown](QWidget* modal) {
            shown = modal;
            modal->hide();
        });
        main->CmdEphemirids->click();
        QVERIFY(shown && shown == FrmEphemirids::existing());
    }

    // A city picked over the data entry takes its legal time at the first row's date, follows
    // that row as it is typed (shown in the place summary), and each chart takes its own row's:
    // July's 2 for the first, December's 1 for the second.
    void cityRowsTakeTheirOwnLegalTime()
    {
        FrmDataTime* entry = entryFor(ChartKind::Transits);
        applyEdits(entry, u"TxtHeure0=12 TxtMin0=0 TxtJour0=15 TxtMois0=7 TxtAnnee0=1990 "
                          "TxtHeure1=12 TxtMin1=0 TxtJour1=6 TxtMois1=12 TxtAnnee1=2026"_s);
        QWidget* over = nullptr;
        onNextModal<FrmReperXY>([&over](FrmReperXY* picker) {
            over = picker->parentWidget();
            pickCity(picker, u"Paris"_s);
            picker->CmdOK->click();
        });
        entry->CmdParcourir->click();
        QVERIFY(over == entry && !FrmReperXY::instance()->parentWidget());
        for (const auto& [month, correction] : {std::pair{QString(), u"2"_s}, {u"1"_s, u"1"_s}, {u"7"_s, u"2"_s}}) {
            if (!month.isEmpty())
                applyEdits(entry, u"TxtMois0="_s + month);
            QVERIFY2(entry->LabVille->text().endsWith(u" \u2066"_s + correction + u"\u2069"_s), qPrintable(entry->LabVille->text()));
        }
        entry->CmdOK->click();
        QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
        // The second chart as a one-row request with December's correction typed, not the
        // label's; that the first row keeps its own is ChartRequest's row rule.
        ChartState expected;
        ChartRequest december;
        december.first.texts = {"6", "12", "2026", "12", "0"};
        december.place = {FrmReperXY::instance()->placeInput(), "1", std::nullopt, false};
        QVERIFY(computeRequest(expected, december).ok);
        QCOMPARE(chartState().HouseCusps[12], expected.HouseCusps[0]);
    }

    void aboutLinkOpensMailOrSaysWhyNot()
    {
        FrmApropos* about = FrmApropos::instance();
        about->show();
        for (bool opens : {true, false}) {
            QList<QUrl> links;
            linkOpener() = [&links, opens](const QUrl& link) {
                links.append(link);
                return opens;
            };
            QTest::mouseClick(about->LabActiveURL, Qt::LeftButton);
            QCOMPARE(links, QList<QUrl>{QUrl(u"mailto:"_s + FrmApropos::kContactAddress)});
        }
        QCOMPARE(messages(), QStringList{u"تحذير هام|خطأ في شبكة الإتصال"_s});
        about->CmdOK->click();
        QVERIFY(!about->isVisible());
    }

    // Last: it ends the application's event loop.
    void exitQuitsAtOnceWithChartsOpen()
    {
        entryFor(ChartKind::Natal)->CmdOK->click();
        QCOMPARE(main->mdiArea()->subWindowList().size(), 1);
        QTimer::singleShot(0, main->CmdEnd, &QPushButton::click);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!QApplication::activeModalWidget() && messages().isEmpty());
    }
};

VELMORA_UI_TEST_MAIN(MDIFrmMainTest)

#include "MDIFrmMainTest.moc"

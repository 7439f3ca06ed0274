#include "ui/place/FrmReperXY.h"

#include "core/ChartState.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/common/BidiText.h"
#include "ui/place/WorldMapPicture.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTableWidget>

using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kInitialPlace = u"E N 39 49 21 27 3"_s;
const QPointF kInitialMark(5.4, 32.56);

// A point of the map widget: its drawing area starts inside the 2-pixel frame.
QPointF pixelOf(double eastLongitude, double latitude)
{
    return WorldMapPicture::toPixel({-eastLongitude, latitude}) + QPointF(2, 2);
}

void sendMouse(FrmReperXY* picker, QEvent::Type type, const QPointF& at)
{
    QMouseEvent event(type, at, picker->PicWorld->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(picker->PicWorld, &event);
}

// Hemispheres, the four coordinate boxes and the zone, as one line.
QString placeShown(const FrmReperXY* p)
{
    return QStringList{p->OptE->isChecked() ? u"E"_s : u"W"_s, p->OptN->isChecked() ? u"N"_s : u"S"_s,
                       p->TxtLonDeg->text(), p->TxtLonMin->text(), p->TxtLatDeg->text(),
                       p->TxtLatMin->text(), p->TxtZone->text()}
        .join(u' ');
}

} // namespace

class FrmReperXYTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        recordMessages();
        setClock(QDateTime(QDate(2024, 7, 1), QTime(9, 0)));
    }

    void init() { messages().clear(); }

    // A move then a press; the mark is where the place reading put it (whole degrees), the
    // crosshair at the pointer's whole degrees, halves to even. The frame does nothing.
    void mapPressesPickThePlaceInsideTheDrawingAreaOnly()
    {
        const struct {
            const char* name;
            QPointF pixel;
            QString place;
            QPointF mark, cross;
        } rows[] = {
            {"prime meridian is west, zone 0", pixelOf(0, 10), u"W N 0 0 10 0 0"_s, {0, 10}, {0, 10}},
            {"equator is north", pixelOf(20, 0), u"E N 20 0 0 0 1"_s, {-20, 0}, {-20, 0}},
            {"39.5 east, cross at 40", pixelOf(39.5, 21.4), u"E N 39 30 21 23 3"_s, {-39, 21}, {-40, 21}},
            {"38.5 east, 20.5 south, cross at 38 and 20", pixelOf(38.5, -20.5), u"E S 38 30 20 30 3"_s,
             {-38, -20}, {-38, -20}},
            {"top-left corner", {2, 2}, u"W N 180 0 90 0 -12"_s, {180, 90}, {180, 90}},
            {"bottom-right corner", {529, 265}, u"E S 179 19 89 19 12"_s, {-179, -89}, {-179, -89}},
            {"left frame", {0, 100}, kInitialPlace, kInitialMark, {}},
            {"bottom frame", {100, 267}, kInitialPlace, kInitialMark, {}},
            {"right frame", {530, 100}, kInitialPlace, kInitialMark, {}},
        };
        for (const auto& r : rows) {
            FrmReperXY* picker = fresh<FrmReperXY>();
            sendMouse(picker, QEvent::MouseMove, r.pixel);
            sendMouse(picker, QEvent::MouseButtonPress, r.pixel);
            QVERIFY2(placeShown(picker) == r.place, r.name);
            QVERIFY2(picker->PicWorld->lastMark() == r.mark, r.name);
            QVERIFY2(picker->PicWorld->crossPosition() == r.cross, r.name);
        }
    }

    void typedZoneLastsUntilTheNextCoordinateChangeAndTheSummaryAddsTheCorrection()
    {
        FrmReperXY* picker = fresh<FrmReperXY>();
        applyEdits(picker, u"TxtZone=7 TxtEteRegl=1"_s);
        QCOMPARE(picker->placeSummary(), u"خط العرض 21°27' شمال\r\nخط الطول 39°49' شرق\r\n"
                                         u"النطاق الزمني مع التعديل الصيفي بالساعات 8"_s);
        picker->TxtLatMin->selectAll();
        QTest::keyClick(picker->TxtLatMin, Qt::Key_1);
        QCOMPARE(placeShown(picker), u"E N 39 49 21 1 3"_s);
        picker->TxtZone->setText(u"7"_s);
        picker->OptW->setChecked(true);
        QCOMPARE(picker->TxtZone->text(), u"-3"_s);
    }

    // Esc does nothing, OK hides and confirms the place, a close by the frame confirms nothing
    // and the next picker starts from the initial place.
    void okHidesEscapeDoesNothingAndAFrameCloseStartsAgain()
    {
        FrmReperXY* picker = shown(fresh<FrmReperXY>());
        QSignalSpy confirmed(picker, &FrmReperXY::placeConfirmed);
        picker->TxtLatDeg->setText(u"33"_s);
        QTest::keyClick(picker, Qt::Key_Escape);
        QVERIFY(picker->isVisible());
        QCOMPARE(confirmed.count(), 0);
        QTest::mouseClick(picker->CmdOK, Qt::LeftButton);
        QVERIFY(!picker->isVisible());
        QCOMPARE(confirmed.count(), 1); // with the summary MDIFrmMainTest's data entry shows
        deleteClosedWindows();
        QCOMPARE(FrmReperXY::instance(), picker);
        QCOMPARE(picker->TxtLatDeg->text(), u"33"_s);

        picker->show();
        picker->OptS->setChecked(true);
        discard(picker);
        QCOMPARE(confirmed.count(), 1);
        FrmReperXY* again = FrmReperXY::instance();
        QCOMPARE(placeShown(again), kInitialPlace);
        QCOMPARE(again->PicWorld->lastMark(), kInitialMark);
    }

    // The shared number-key check (which keys warn is FrmEphemiridsTest's fieldChecks) watches
    // the coordinate and correction boxes, not the zone.
    void keyCheckWatchesTheCoordinateBoxesOnly()
    {
        FrmReperXY* picker = fresh<FrmReperXY>();
        for (QLineEdit* box : {picker->TxtLatDeg, picker->TxtLonMin, picker->TxtEteRegl}) {
            box->clear();
            QTest::keyClick(box, Qt::Key_A);
        }
        QTest::keyClick(picker->TxtZone, Qt::Key_Minus);
        QCOMPARE(messages(), QStringList(3, u"تحذير هام|الرجاء إدخال رقم صحيح"_s));
        QCOMPARE(picker->TxtLatDeg->text(), u"a"_s); // the typed character stays
    }

    void enterMovesThroughTheCoordinateBoxesAndFocusSelects()
    {
        FrmReperXY* picker = shown(fresh<FrmReperXY>(), true);
        picker->TxtLonDeg->setFocus();
        QTRY_VERIFY(picker->TxtLonDeg->hasFocus());
        QTest::keyClick(picker->TxtLonDeg, Qt::Key_Return);
        QTRY_VERIFY(picker->TxtLonMin->hasFocus());
        QCOMPARE(picker->TxtLonMin->selectedText(), u"49"_s);
        QTest::keyClick(picker->TxtLonMin, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_VERIFY(picker->TxtLatDeg->hasFocus());
        QTest::mouseClick(picker->TxtLonDeg, Qt::LeftButton);
        QTRY_COMPARE(picker->TxtLonDeg->selectedText(), u"39"_s);
        // Degrees then minutes from left to right, as 39°49' reads.
        QVERIFY(picker->TxtLonDeg->mapTo(picker, QPoint()).x() < picker->TxtLonMin->mapTo(picker, QPoint()).x());
        picker->hide();
    }

    // A city picked by Enter in the search box or by a click on its row, whose double click's
    // second click lands on the uncovered map and moves nothing. The boxes are filled as by a map
    // press; the place text names the city and its country, and the correction is its legal
    // time's at the reference moment until the place changes. The offsets are the system's tz
    // database's (zdump), whose rules AtlasTest's Legal rows hold; the zones derived from the
    // longitudes are 0 for Fes, -5 for New York.
    void cityPick_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("click");
        QTest::addColumn<QDateTime>("moment"); // none: the clock's (July)
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("correction");
        QTest::addColumn<QString>("legal");
        QTest::newRow("Mecca by Enter, at 39.83 E, 21.43 N")
            << u"مكة"_s << false << QDateTime() << u"E N 39 49 21 25 3"_s << u"0"_s << u"Asia/Riyadh UTC+03:00"_s;
        QTest::newRow("Fes by a click")
            << u"فاس"_s << true << QDateTime() << u"W N 5 0 34 1 0"_s << u"1"_s << u"Africa/Casablanca UTC+01:00"_s;
        QTest::newRow("a skipped hour takes the offset before")
            << u"New York"_s << false << QDateTime(QDate(2024, 3, 10), QTime(2, 30)) << u"W N 74 0 40 42 -5"_s << u"0"_s
            << u"America/New_York UTC-05:00\nوقت تخطته الساعة عند تغييرها: أُخذ التوقيت الذي قبل التغيير"_s;
        QTest::newRow("Fes before standard time keeps its own mean time")
            << u"Fes"_s << false << QDateTime(QDate(1880, 6, 1), QTime(12, 0)) << u"W N 5 0 34 1 0"_s << u"-0.3333"_s
            << u"Africa/Casablanca UTC-00:20"_s;
    }

    void cityPick()
    {
        QFETCH(QString, query);
        QFETCH(bool, click);
        QFETCH(QDateTime, moment);
        QFETCH(QString, legal);
        FrmReperXY* picker = shown(fresh<FrmReperXY>());
        picker->setReferenceMoment(moment);
        pickCity(picker, query, false);
        QVERIFY(picker->GriData->isVisible() && picker->GriData->rowCount() > 0);
        QCOMPARE(picker->GriData->item(0, 3)->text().front(), QChar(0x2066)); // the latitude isolated
        const QString city = picker->GriData->item(0, 0)->text() + u"، "_s + picker->GriData->item(0, 2)->text();
        if (click) {
            const QPoint first = picker->GriData->visualItemRect(picker->GriData->item(0, 0)).center();
            QTest::mouseClick(picker->GriData->viewport(), Qt::LeftButton, Qt::NoModifier, first);
            sendMouse(picker, QEvent::MouseButtonDblClick, pixelOf(-100, -40));
        } else {
            QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
        }
        QVERIFY(!picker->GriData->isVisible());
        QTEST(placeShown(picker), "place");
        QCOMPARE(picker->placeSummary().section(u"\r\n"_s, 0, 0), city);
        QTEST(picker->TxtEteRegl->text(), "correction");
        QCOMPARE(picker->LabHeureLegale->text(), isolateRuns(u"التوقيت القانوني: "_s + legal));
        QCOMPARE(fromCore(picker->requestPlace().atlas.value().timeZone), legal.section(u' ', 0, 0));
        // A longer correction is taken as picked, and typing keeps to one character.
        picker->TxtEteRegl->selectAll();
        QTest::keyClicks(picker->TxtEteRegl, u"12"_s);
        QCOMPARE(picker->TxtEteRegl->text(), u"1"_s);
        picker->TxtLatMin->setText(u"0"_s);
        QVERIFY(picker->placeSummary().startsWith(u"خط العرض"_s) && picker->LabHeureLegale->text().isEmpty());
        QVERIFY(!picker->requestPlace().atlas);
        picker->hide();
    }
};

VELMORA_UI_TEST_MAIN(FrmReperXYTest)
#include "FrmReperXYTest.moc"

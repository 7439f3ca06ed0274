#include "ui/main/FrmReperXY.h"

#include "core/ChartState.h"
#include "resources/VelmoraResources.h"
#include "ui/common/Platform.h"
#include "ui/main/WorldMapPicture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using velmora::ui::FrmReperXY;
using velmora::ui::WorldMapPicture;

namespace {

// A picker with the initial values, replacing any instance an earlier test left.
FrmReperXY* freshPicker()
{
    FrmReperXY::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return FrmReperXY::instance();
}

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
    return QStringList{p->OptE->isChecked() ? QStringLiteral("E") : QStringLiteral("W"),
                       p->OptN->isChecked() ? QStringLiteral("N") : QStringLiteral("S"),
                       p->TxtLonDeg->text(), p->TxtLonMin->text(), p->TxtLatDeg->text(),
                       p->TxtLatMin->text(), p->TxtZone->text()}
        .join(QLatin1Char(' '));
}

// Opens the database view and types a name into its search box letter by letter.
void search(FrmReperXY* picker, const QString& name)
{
    QTest::mouseClick(picker->CmdStyle, Qt::LeftButton);
    for (QChar letter : name) { // keyClicks takes ASCII only
        QTest::sendKeyEvent(QTest::Click, picker->TxtRecherche, Qt::Key_unknown, QString(letter),
                            Qt::NoModifier);
    }
}

} // namespace

class FrmReperXYTest final : public QObject {
    Q_OBJECT

private:
    QStringList warnings; // title: text

private slots:
    void initTestCase()
    {
        velmora::ui::criticalMessage() = [this](QWidget*, const QString& title, const QString& text) {
            warnings.append(title + QStringLiteral(": ") + text);
        };
    }

    void init() { warnings.clear(); }

    // A move then a press; the mark is where the place reading put it (whole degrees), the
    // crosshair at the pointer's whole degrees. The frame does nothing.
    void mapPressesPickThePlaceInsideTheDrawingAreaOnly()
    {
        const char* const initial = "E N 39 49 21 27 3";
        const QPointF loadMark(5.4, 32.56);
        const struct {
            const char* name;
            QPointF pixel;
            const char* place;
            QPointF mark, cross;
        } rows[] = {
            {"prime meridian is west, zone 0", pixelOf(0, 10), "W N 0 0 10 0 0", {0, 10}, {0, 10}},
            {"equator is north", pixelOf(20, 0), "E N 20 0 0 0 1", {-20, 0}, {-20, 0}},
            {"Mecca", pixelOf(39.83, 21.43), "E N 39 49 21 25 3", {-39, 21}, {-40, 21}},
            {"74 west is zone -5", pixelOf(-74, 40.7), "W N 74 0 40 42 -5", {74, 40}, {74, 41}},
            {"7.5 east is zone 1", pixelOf(7.5, -33), "E S 7 30 33 0 1", {-7, -33}, {-8, -33}},
            {"top-left corner", {2, 2}, "W N 180 0 90 0 -12", {180, 90}, {180, 90}},
            {"bottom-right corner", {529, 265}, "E S 179 19 89 19 12", {-179, -89}, {-179, -89}},
            {"left frame", {0, 100}, initial, loadMark, {}},
            {"bottom frame", {100, 267}, initial, loadMark, {}},
            {"right frame", {530, 100}, initial, loadMark, {}},
        };
        for (const auto& r : rows) {
            FrmReperXY* picker = freshPicker();
            sendMouse(picker, QEvent::MouseMove, r.pixel);
            sendMouse(picker, QEvent::MouseButtonPress, r.pixel);
            QVERIFY2(placeShown(picker) == QLatin1String(r.place), r.name);
            QVERIFY2(picker->PicWorld->lastMark() == r.mark, r.name);
            QVERIFY2(picker->PicWorld->crossPosition() == r.cross, r.name);
        }
    }

    void crosshairRoundsHalvesToEven()
    {
        FrmReperXY* picker = freshPicker();
        sendMouse(picker, QEvent::MouseMove, pixelOf(39.5, 21.4));
        QCOMPARE(picker->PicWorld->crossPosition(), QPointF(-40, 21));
        sendMouse(picker, QEvent::MouseMove, pixelOf(38.5, -20.5));
        QCOMPARE(picker->PicWorld->crossPosition(), QPointF(-38, -20));
    }

    void typedZoneLastsUntilTheNextCoordinateChangeAndTheSummaryAddsTheCorrection()
    {
        FrmReperXY* picker = freshPicker();
        picker->TxtZone->setText(QStringLiteral("7"));
        picker->TxtEteRegl->setText(QStringLiteral("1"));
        QCOMPARE(picker->placeSummary(),
                 QString::fromUtf8("خط العرض 21°27'\r\nخط الطول 39°49'\r\n"
                                   "النطاق الزمني مع التعديل الصيفي بالساعات 8"));
        picker->TxtLatMin->selectAll();
        QTest::keyClick(picker->TxtLatMin, Qt::Key_1);
        QCOMPARE(placeShown(picker), QStringLiteral("E N 39 49 21 1 3"));
        picker->TxtZone->setText(QStringLiteral("7"));
        picker->OptW->setChecked(true);
        QCOMPARE(picker->TxtZone->text(), QStringLiteral("-3"));
    }

    void okHidesAndEscapeDoesNothing()
    {
        FrmReperXY* picker = freshPicker();
        QSignalSpy confirmed(picker, &FrmReperXY::placeConfirmed);
        picker->show();
        picker->TxtLatDeg->setText(QStringLiteral("33"));
        QTest::keyClick(picker, Qt::Key_Escape);
        QVERIFY(picker->isVisible());
        QCOMPARE(confirmed.count(), 0);
        QTest::mouseClick(picker->CmdOK, Qt::LeftButton);
        QVERIFY(!picker->isVisible());
        QCOMPARE(confirmed.count(), 1);
        QVERIFY(confirmed[0][0].toString().startsWith(QString::fromUtf8("خط العرض 33°27'")));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(FrmReperXY::instance(), picker);
        QCOMPARE(picker->TxtLatDeg->text(), QStringLiteral("33"));
    }

    void closingByTheFrameStartsAgainFromTheInitialPlace()
    {
        FrmReperXY* picker = freshPicker();
        QSignalSpy confirmed(picker, &FrmReperXY::placeConfirmed);
        picker->show();
        picker->TxtLatDeg->setText(QStringLiteral("10"));
        picker->OptS->setChecked(true);
        picker->close();
        QCOMPARE(confirmed.count(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FrmReperXY* again = FrmReperXY::instance();
        QCOMPARE(placeShown(again), QStringLiteral("E N 39 49 21 27 3"));
        QCOMPARE(again->PicWorld->lastMark(), QPointF(5.4, 32.56));
    }

    // The shared number-key check watches the coordinate and correction boxes, not the zone.
    void keyCheckWatchesTheCoordinateBoxesOnly()
    {
        FrmReperXY* picker = freshPicker();
        for (QLineEdit* box : {picker->TxtLatDeg, picker->TxtLonMin, picker->TxtEteRegl}) {
            box->clear();
            QTest::keyClick(box, Qt::Key_5, Qt::KeypadModifier);
            QTest::keyClick(box, Qt::Key_A);
        }
        QTest::keyClick(picker->TxtZone, Qt::Key_Minus);
        QCOMPARE(warnings, QStringList(3, QString::fromUtf8("تحذير هام: الرجاء إدخال رقم صحيح")));
        QCOMPARE(picker->TxtLatDeg->text(), QStringLiteral("5a")); // the typed character stays
    }

    void enterMovesThroughTheCoordinateBoxesAndFocusSelects()
    {
        FrmReperXY* picker = freshPicker();
        picker->show();
        QApplication::setActiveWindow(picker);
        QVERIFY(QTest::qWaitForWindowActive(picker));
        picker->TxtLonDeg->setFocus();
        QTRY_VERIFY(picker->TxtLonDeg->hasFocus());
        QTest::keyClick(picker->TxtLonDeg, Qt::Key_Return);
        QTRY_VERIFY(picker->TxtLonMin->hasFocus());
        QCOMPARE(picker->TxtLonMin->selectedText(), QStringLiteral("49"));
        QTest::keyClick(picker->TxtLonMin, Qt::Key_Enter, Qt::KeypadModifier);
        QTRY_VERIFY(picker->TxtLatDeg->hasFocus());
        QTest::keyClick(picker->TxtLatDeg, Qt::Key_Return);
        QTRY_VERIFY(picker->TxtLatMin->hasFocus());
        QTest::mouseClick(picker->TxtLonDeg, Qt::LeftButton);
        QTRY_COMPARE(picker->TxtLonDeg->selectedText(), QStringLiteral("39"));
        picker->hide();
    }

    void cityPickFillsTheBoxesLikeAMapPress_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("double_click");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QPointF>("mark");
        // Mecca lies at 39.83 E, 21.43 N: the press the place picker's own example gives.
        QTest::newRow("Enter in the search box, Mecca") << QString::fromUtf8("مكة") << false
                                                         << QStringLiteral("E N 39 49 21 25 3")
                                                         << QPointF(-39, 21);
        QTest::newRow("double click on the row, Fes") << QString::fromUtf8("فاس") << true
                                                       << QStringLiteral("W N 5 0 34 1 0")
                                                       << QPointF(5, 34);
    }

    void cityPickFillsTheBoxesLikeAMapPress()
    {
        QFETCH(QString, query);
        QFETCH(bool, double_click);
        FrmReperXY* picker = freshPicker();
        picker->show();
        search(picker, query);
        QVERIFY(picker->GriData->isVisible() && picker->GriData->rowCount() > 0);
        QCOMPARE(picker->CmdStyle->text(), QString::fromUtf8("&الخريطة"));
        if (double_click) {
            QWidget* rows = picker->GriData->viewport();
            const QPoint first =
                picker->GriData->visualItemRect(picker->GriData->item(0, 0)).center();
            QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, first);
            QTest::mouseDClick(rows, Qt::LeftButton, Qt::NoModifier, first);
        } else {
            QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
        }
        QTEST(placeShown(picker), "place");
        QTEST(picker->PicWorld->lastMark(), "mark");
        // Back on the map.
        QVERIFY(!picker->GriData->isVisible());
        QCOMPARE(picker->CmdStyle->text(), QString::fromUtf8("&قاعدة البيانات"));
        picker->hide();
    }

    void cityPickSetsTheLegalCorrection_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("correction");
        QTest::addColumn<QString>("legal");
        const auto at = [](int y, int m, int d, int h, int min) {
            return QDateTime(QDate(y, m, d), QTime(h, min));
        };
        // Offsets from the system's tz database (zdump); the zones derived from the longitudes
        // are 0 for Madrid, 6 for Kolkata, -5 for New York.
        QTest::newRow("Madrid in July")
            << "Madrid" << at(2024, 7, 15, 12, 0) << "2" << "Europe/Madrid UTC+02:00";
        QTest::newRow("Kolkata, a negative half hour")
            << "Kolkata" << at(2024, 1, 1, 12, 0) << "-0.5" << "Asia/Kolkata UTC+05:30";
        QTest::newRow("a skipped hour takes the offset before")
            << "New York" << at(2024, 3, 10, 2, 30) << "0"
            << QString::fromUtf8("America/New_York UTC-05:00\nوقت تخطته الساعة عند تغييرها: "
                                 "أُخذ التوقيت الذي قبل التغيير");
        QTest::newRow("no moment set: the clock (July)")
            << "Madrid" << QDateTime() << "2" << "Europe/Madrid UTC+02:00";
    }

    void cityPickSetsTheLegalCorrection()
    {
        QFETCH(QString, query);
        QFETCH(QDateTime, moment);
        QFETCH(QString, correction);
        QFETCH(QString, legal);
        const auto realClock = velmora::ui::clock();
        velmora::ui::clock() = [] { return QDateTime(QDate(2024, 7, 1), QTime(9, 0)); };
        FrmReperXY* picker = freshPicker();
        picker->setReferenceMoment(moment);
        picker->show();
        search(picker, query);
        QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
        velmora::ui::clock() = realClock;
        QCOMPARE(picker->TxtEteRegl->text(), correction);
        QCOMPARE(picker->LabHeureLegale->text(), QString::fromUtf8("التوقيت القانوني: ") + legal);
        // A new place typed afterwards is no longer that city.
        picker->TxtLatDeg->setText(QStringLiteral("10"));
        QVERIFY(picker->LabHeureLegale->text().isEmpty());
        picker->hide();
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    velmora::registerSymbolFont();
    FrmReperXYTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrmReperXYTest.moc"

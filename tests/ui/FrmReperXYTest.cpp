#include "ui/main/FrmReperXY.h"

#include "core/ChartState.h"
#include "resources/VelmoraResources.h"
#include "ui/common/Platform.h"
#include "ui/main/WorldMapPicture.h"

#include <QApplication>
#include <QElapsedTimer>
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

QStringList texts(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* item : items)
        list.append(QString::fromUtf8(item));
    return list;
}

struct Warning {
    QString title;
    QString text;
};

// A picker with the initial values, replacing any instance an earlier test left.
FrmReperXY* freshPicker()
{
    FrmReperXY::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return FrmReperXY::instance();
}

void sendMouse(FrmReperXY* picker, QEvent::Type type, double eastLongitude, double latitude)
{
    WorldMapPicture* map = picker->PicWorld;
    const QPointF at = WorldMapPicture::toPixel({-eastLongitude, latitude}) +
                       QPointF(map->contentsRect().topLeft());
    QMouseEvent event(type, at, map->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(map, &event);
}

void pressAt(FrmReperXY* picker, double eastLongitude, double latitude)
{
    sendMouse(picker, QEvent::MouseButtonPress, eastLongitude, latitude);
}

// Types into the database view's search box letter by letter (Arabic too).
void type(FrmReperXY* picker, const QString& name)
{
    for (QChar letter : name) {
        QTest::sendKeyEvent(QTest::Click, picker->TxtRecherche, Qt::Key_unknown, QString(letter),
                            Qt::NoModifier);
    }
}

// Opens the database view and looks for a name.
void search(FrmReperXY* picker, const QString& name)
{
    QTest::mouseClick(picker->CmdStyle, Qt::LeftButton);
    type(picker, name);
}

} // namespace

class FrmReperXYTest final : public QObject {
    Q_OBJECT

private:
    QList<Warning> warnings;

private slots:
    void initTestCase()
    {
        velmora::ui::criticalMessage() = [this](QWidget*, const QString& title, const QString& text) {
            warnings.append({title, text});
        };
    }

    void init() { warnings.clear(); }

    void mapPressPicksThePlace_data()
    {
        QTest::addColumn<double>("east");
        QTest::addColumn<double>("north");
        QTest::addColumn<bool>("east_chosen");
        QTest::addColumn<bool>("north_chosen");
        QTest::addColumn<QStringList>("boxes"); // lon deg, lon min, lat deg, lat min
        QTest::addColumn<QString>("zone");
        QTest::newRow("prime meridian chooses west, zone 0")
            << 0.0 << 10.0 << false << true << texts({"0", "0", "10", "0"}) << "0";
        QTest::newRow("equator chooses north")
            << 20.0 << 0.0 << true << true << texts({"20", "0", "0", "0"}) << "1";
        QTest::newRow("Mecca")
            << 39.83 << 21.43 << true << true << texts({"39", "49", "21", "25"}) << "3";
        QTest::newRow("74 west is zone -5")
            << -74.0 << 40.7 << false << true << texts({"74", "0", "40", "42"}) << "-5";
        QTest::newRow("7.5 east is zone 1")
            << 7.5 << -33.0 << true << false << texts({"7", "30", "33", "0"}) << "1";
    }

    void mapPressPicksThePlace()
    {
        QFETCH(double, east);
        QFETCH(double, north);
        QFETCH(bool, east_chosen);
        QFETCH(bool, north_chosen);
        QFETCH(QStringList, boxes);
        QFETCH(QString, zone);
        FrmReperXY* picker = freshPicker();
        QVERIFY(picker->OptN->isChecked() && picker->OptE->isChecked());
        pressAt(picker, east, north);
        QCOMPARE(picker->OptE->isChecked(), east_chosen);
        QCOMPARE(picker->OptW->isChecked(), !east_chosen);
        QCOMPARE(picker->OptN->isChecked(), north_chosen);
        QCOMPARE(picker->OptS->isChecked(), !north_chosen);
        QCOMPARE((QStringList{picker->TxtLonDeg->text(), picker->TxtLonMin->text(),
                              picker->TxtLatDeg->text(), picker->TxtLatMin->text()}),
                 boxes);
        QCOMPARE(picker->TxtZone->text(), zone);
        // The place reading ran: the state holds the boxes' place, the mark sits on it.
        const double lon = boxes[0].toDouble() + boxes[1].toDouble() / 60;
        QVERIFY(qAbs(qAbs(velmora::chartState().PlaceLongitude) - lon) < 1e-4);
        QCOMPARE(picker->PicWorld->lastMark().x(), east_chosen ? -boxes[0].toDouble() : boxes[0].toDouble());
    }

    void crosshairFollowsThePointerAtWholeDegrees()
    {
        FrmReperXY* picker = freshPicker();
        sendMouse(picker, QEvent::MouseMove, 39.5, 21.4);
        QCOMPARE(picker->PicWorld->crossPosition(), QPointF(-40, 21));
        sendMouse(picker, QEvent::MouseMove, 38.5, -20.5);
        QCOMPARE(picker->PicWorld->crossPosition(), QPointF(-38, -20));
    }

    void typedZoneLastsUntilTheNextCoordinateChange()
    {
        FrmReperXY* picker = freshPicker();
        picker->TxtZone->setText(QStringLiteral("7"));
        QVERIFY(picker->placeSummary().endsWith(QStringLiteral(" 7")));
        picker->TxtLatMin->selectAll();
        QTest::keyClick(picker->TxtLatMin, Qt::Key_1);
        QCOMPARE(picker->TxtLatMin->text(), QStringLiteral("1"));
        QCOMPARE(picker->TxtZone->text(), QStringLiteral("3"));
        picker->TxtZone->setText(QStringLiteral("7"));
        picker->OptW->setChecked(true);
        QCOMPARE(picker->TxtZone->text(), QStringLiteral("-3"));
    }

    void summaryAddsTheCorrectionToTheZone()
    {
        FrmReperXY* picker = freshPicker();
        picker->TxtEteRegl->setText(QStringLiteral("1"));
        QCOMPARE(picker->placeSummary(),
                 QString::fromUtf8("خط العرض 21°27'\r\nخط الطول 39°49'\r\n"
                                   "النطاق الزمني مع التعديل الصيفي بالساعات 4"));
    }

    void viewSwitchTogglesCaptionAndGrid()
    {
        FrmReperXY* picker = freshPicker();
        picker->show();
        QCOMPARE(picker->CmdStyle->text(), QString::fromUtf8("&قاعدة البيانات"));
        QVERIFY(!picker->GriData->isVisible());
        QTest::mouseClick(picker->CmdStyle, Qt::LeftButton);
        QCOMPARE(picker->CmdStyle->text(), QString::fromUtf8("&الخريطة"));
        QVERIFY(picker->GriData->isVisible());
        QTest::mouseClick(picker->CmdStyle, Qt::LeftButton);
        QCOMPARE(picker->CmdStyle->text(), QString::fromUtf8("&قاعدة البيانات"));
        QVERIFY(!picker->GriData->isVisible());
        picker->hide();
    }

    void okAndEscapeHideAndKeepTheValues()
    {
        FrmReperXY* picker = freshPicker();
        QSignalSpy confirmed(picker, &FrmReperXY::placeConfirmed);
        picker->show();
        picker->TxtLatDeg->setText(QStringLiteral("33"));
        QTest::mouseClick(picker->CmdOK, Qt::LeftButton);
        QVERIFY(!picker->isVisible());
        QCOMPARE(confirmed.count(), 1);
        QVERIFY(confirmed[0][0].toString().startsWith(QString::fromUtf8("خط العرض 33°27'")));

        picker->show();
        QTest::keyClick(picker, Qt::Key_Escape);
        QVERIFY(!picker->isVisible());
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
        QCOMPARE(again->TxtLatDeg->text(), QStringLiteral("21"));
        QVERIFY(again->OptN->isChecked());
        QCOMPARE(again->TxtZone->text(), QStringLiteral("3"));
        QCOMPARE(again->PicWorld->lastMark(), QPointF(5.4, 32.56));
    }

    void keyCheckWarnsOnlyForTypedNonDigits()
    {
        FrmReperXY* picker = freshPicker();
        QLineEdit* box = picker->TxtLatDeg;
        box->clear();
        QTest::keyClick(box, Qt::Key_5);
        QTest::keyClick(box, Qt::Key_5, Qt::KeypadModifier);
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Backspace, Qt::Key_Left,
                            Qt::Key_Home, Qt::Key_Shift, Qt::Key_Delete})
            QTest::keyClick(box, key);
        QCOMPARE(warnings.size(), 0);

        box->clear();
        QTest::keyClick(box, Qt::Key_A);
        QCOMPARE(warnings.size(), 1);
        QCOMPARE(warnings[0].title, QString::fromUtf8("تحذير هام"));
        QCOMPARE(warnings[0].text, QString::fromUtf8("الرجاء إدخال رقم صحيح"));
        QCOMPARE(box->text(), QStringLiteral("a")); // the typed character stays
        QTest::keyClick(picker->TxtEteRegl, Qt::Key_Minus);
        QCOMPARE(warnings.size(), 2);
        QTest::keyClick(picker->TxtZone, Qt::Key_Minus);
        QCOMPARE(warnings.size(), 2); // the zone box has no key check
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
        QTest::addColumn<QStringList>("boxes"); // lon deg, lon min, lat deg, lat min
        QTest::addColumn<bool>("east_chosen");
        QTest::addColumn<QString>("zone");
        // Mecca lies at 39.83 E, 21.43 N: the press the place picker's own example gives.
        QTest::newRow("Enter in the search box, Mecca")
            << QString::fromUtf8("مكة") << false << texts({"39", "49", "21", "25"}) << true << "3";
        QTest::newRow("double click on the row, Fes")
            << QString::fromUtf8("فاس") << true << texts({"5", "0", "34", "1"}) << false << "0";
    }

    void cityPickFillsTheBoxesLikeAMapPress()
    {
        QFETCH(QString, query);
        QFETCH(bool, double_click);
        QFETCH(QStringList, boxes);
        QFETCH(bool, east_chosen);
        QFETCH(QString, zone);
        FrmReperXY* picker = freshPicker();
        picker->show();
        search(picker, query);
        QVERIFY(picker->GriData->rowCount() > 0);
        if (double_click) {
            QWidget* rows = picker->GriData->viewport();
            const QPoint first =
                picker->GriData->visualItemRect(picker->GriData->item(0, 0)).center();
            QTest::mouseClick(rows, Qt::LeftButton, Qt::NoModifier, first);
            QTest::mouseDClick(rows, Qt::LeftButton, Qt::NoModifier, first);
        } else {
            QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
        }
        QCOMPARE((QStringList{picker->TxtLonDeg->text(), picker->TxtLonMin->text(),
                              picker->TxtLatDeg->text(), picker->TxtLatMin->text()}),
                 boxes);
        QCOMPARE(picker->OptE->isChecked(), east_chosen);
        QVERIFY(picker->OptN->isChecked());
        QCOMPARE(picker->TxtZone->text(), zone);
        const double markX = east_chosen ? -boxes[0].toDouble() : boxes[0].toDouble();
        QCOMPARE(picker->PicWorld->lastMark(), QPointF(markX, boxes[2].toDouble()));
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
        // are 0 for Madrid and Fes, 6 for Kolkata, -5 for New York.
        QTest::newRow("Madrid in January")
            << "Madrid" << at(2024, 1, 15, 12, 0) << "1" << "Europe/Madrid UTC+01:00";
        QTest::newRow("Madrid in July")
            << "Madrid" << at(2024, 7, 15, 12, 0) << "2" << "Europe/Madrid UTC+02:00";
        QTest::newRow("Fes on 1 June 2024") << QString::fromUtf8("فاس") << at(2024, 6, 1, 12, 0)
                                            << "1" << "Africa/Casablanca UTC+01:00";
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

    // With VELMORA_SCREENSHOTS set to a folder, saves the picker as the user sees it.
    void screenshot()
    {
        const QString dir = qEnvironmentVariable("VELMORA_SCREENSHOTS");
        if (dir.isEmpty())
            QSKIP("VELMORA_SCREENSHOTS not set");
        FrmReperXY* picker = freshPicker();
        picker->show();
        QVERIFY(QTest::qWaitForWindowExposed(picker));
        pressAt(picker, 39.83, 21.43);
        sendMouse(picker, QEvent::MouseMove, 31.2, 30.0);
        QVERIFY(picker->grab().save(dir + QStringLiteral("/place-picker.png")));

        QElapsedTimer timer;
        timer.start();
        search(picker, QString::fromUtf8("ف"));
        const double opening = timer.nsecsElapsed() / 1e6;
        timer.restart();
        type(picker, QString::fromUtf8("ا"));
        qInfo("database view opened with its first letter in %.1f ms, next letter %.1f ms", opening,
              timer.nsecsElapsed() / 1e6);
        QVERIFY(picker->grab().save(dir + QStringLiteral("/place-picker-database.png")));
        QTest::keyClick(picker->TxtRecherche, Qt::Key_Down);
        QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
        QVERIFY(picker->grab().save(dir + QStringLiteral("/place-picker-picked.png")));
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

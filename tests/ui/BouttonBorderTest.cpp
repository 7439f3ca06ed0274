#include "ui/controls/BouttonBorder.h"

#include <QApplication>
#include <QMetaProperty>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using velmora::ui::BorderLines;
using velmora::ui::BouttonBorder;

namespace {

// Line0(0..1), Line1(0..1), Line2(0..1), Line3(0..1) are the eight border lines.
int visibleBorderLines(const BorderLines& lines)
{
    int n = 0;
    for (int i = 0; i < 8; ++i)
        n += lines[i].visible;
    return n;
}

int visibleFocusLines(const BorderLines& lines)
{
    int n = 0;
    for (int i = 8; i < 12; ++i)
        n += lines[i].visible;
    return n;
}

} // namespace

class BouttonBorderTest final : public QObject {
    Q_OBJECT

private slots:
    void raisedStyleOfA300By200Control()
    {
        const BorderLines lines = velmora::ui::borderLines({}, 0, 300, 200, Qt::black);
        QCOMPARE(lines[4].line, QLineF(280, 30, 280, 180)); // Line2(0), inner dark right edge
        QCOMPARE(lines[4].colour, QColor(128, 128, 128));
        QCOMPARE(lines[4].width, 2);
        QCOMPARE(lines[0].line, QLineF(0, 0, 300, 0));
        QCOMPARE(lines[0].width, 3);
        QCOMPARE(lines[7].line, QLineF(0, 190, 290, 190)); // Line3(1), outer dark bottom
        QCOMPARE(visibleBorderLines(lines), 8);
        QCOMPARE(visibleFocusLines(lines), 0);
    }

    void pressedAndThinStylesMoveTheEdges()
    {
        const BorderLines pressed = velmora::ui::borderLines({}, 1, 300, 200, Qt::black);
        QCOMPARE(pressed[0].line, QLineF(280, 30, 280, 180)); // light now on the right
        QCOMPARE(pressed[6].line, QLineF(10, 10, 300, 10));   // dark now along the top
        const BorderLines sunken = velmora::ui::borderLines({}, 2, 300, 200, Qt::black);
        const BorderLines raised = velmora::ui::borderLines({}, 3, 300, 200, Qt::black);
        QCOMPARE(sunken[8].line, QLineF(10, 10, 290, 10));  // dark top
        QCOMPARE(raised[8].line, QLineF(10, 190, 290, 190)); // dark bottom
        QCOMPARE(visibleFocusLines(raised), 4);
    }

    void styleOutsideTheRangeChangesNothing()
    {
        BouttonBorder control;
        control.resize(40, 20);
        control.show();
        control.setForcerBorder(2);
        const BorderLines before = control.lines();
        control.setForcerBorder(5);
        QCOMPARE(control.forcerBorder(), qint16(5));
        control.resize(80, 60);
        QCOMPARE(control.width(), 80);
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(control.lines()[i].line, before[i].line);
            QCOMPARE(control.lines()[i].visible, before[i].visible);
        }
    }

    void backToRaisedRestoresTheEightLinesAtTheNewSize()
    {
        BouttonBorder control;
        control.resize(20, 14);
        control.show();
        control.setForcerBorder(2);
        control.setForcerBorder(0);
        QCOMPARE(visibleBorderLines(control.lines()), 8);
        QCOMPARE(visibleFocusLines(control.lines()), 0);
        control.resize(40, 30);
        QCOMPARE(control.lines()[4].line, QLineF(580, 30, 580, 430));
    }

    void clickIsRaised()
    {
        BouttonBorder control;
        control.resize(40, 20);
        control.show();
        QSignalSpy clicks(&control, &BouttonBorder::Click);
        QTest::mouseClick(&control, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);
    }

    void propertiesPersistUnderTheirNames()
    {
        BouttonBorder control;
        for (const char* name : {"BackStyle", "BackColor", "ForcerBorder"}) {
            const QMetaProperty property =
                control.metaObject()->property(control.metaObject()->indexOfProperty(name));
            QVERIFY2(property.isValid() && property.isStored() && property.isWritable(), name);
        }
        QCOMPARE(control.forcerBorder(), qint16(0));
        QCOMPARE(control.backStyle(), qint16(0));

        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("host.ini")), QSettings::IniFormat);
        control.setProperty("BackStyle", 1);
        control.setProperty("BackColor", QColor(10, 20, 30));
        control.setProperty("ForcerBorder", 3);
        control.writeProperties(settings);

        BouttonBorder restored;
        restored.readProperties(settings);
        QCOMPARE(restored.backStyle(), qint16(1));
        QCOMPARE(restored.backColor(), QColor(10, 20, 30));
        QCOMPARE(restored.forcerBorder(), qint16(3));

        QSettings empty(dir.filePath(QStringLiteral("empty.ini")), QSettings::IniFormat);
        BouttonBorder defaults;
        defaults.readProperties(empty);
        QCOMPARE(defaults.backStyle(), qint16(0));
        QCOMPARE(defaults.forcerBorder(), qint16(0));
        QCOMPARE(defaults.backColor(), QPalette().color(QPalette::Button));
    }
};

QTEST_MAIN(BouttonBorderTest)
#include "BouttonBorderTest.moc"

#include "ui/controls/BouttonBorder.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using velmora::ui::BorderLines;
using velmora::ui::BouttonBorder;

namespace {

// Visible lines among Line0(0..1) to Line3(0..1), then among LineFocus(0..3).
QPair<int, int> visibleLines(const BorderLines& lines)
{
    QPair<int, int> n;
    for (int i = 0; i < 12; ++i)
        (i < 8 ? n.first : n.second) += lines[i].visible;
    return n;
}

} // namespace

class BouttonBorderTest final : public QObject {
    Q_OBJECT

private slots:
    // Lines of a 300 x 200 twip control: the light and dark edges trade places when pressed.
    void edgesOfTheFourStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("index");
        QTest::addColumn<QLineF>("line");
        QTest::addColumn<int>("width");
        QTest::addColumn<QPair<int, int>>("visible");
        const auto thick = qMakePair(8, 0);
        const auto thin = qMakePair(0, 4);
        QTest::newRow("raised light top") << 0 << 0 << QLineF(0, 0, 300, 0) << 3 << thick;
        QTest::newRow("raised inner dark right") << 0 << 4 << QLineF(280, 30, 280, 180) << 2 << thick;
        QTest::newRow("raised dark bottom") << 0 << 7 << QLineF(0, 190, 290, 190) << 1 << thick;
        QTest::newRow("pressed light right") << 1 << 0 << QLineF(280, 30, 280, 180) << 3 << thick;
        QTest::newRow("pressed dark top") << 1 << 6 << QLineF(10, 10, 300, 10) << 1 << thick;
        QTest::newRow("thin sunken dark top") << 2 << 8 << QLineF(10, 10, 290, 10) << 1 << thin;
        QTest::newRow("thin raised dark bottom") << 3 << 8 << QLineF(10, 190, 290, 190) << 1 << thin;
    }

    void edgesOfTheFourStyles()
    {
        QFETCH(int, style);
        QFETCH(int, index);
        const BorderLines lines = velmora::ui::borderLines({}, style, 300, 200, Qt::black);
        QTEST(lines[index].line, "line");
        QTEST(lines[index].width, "width");
        QTEST(visibleLines(lines), "visible");
        if (style == 0 && index == 4)
            QCOMPARE(lines[index].colour, QColor(128, 128, 128));
    }

    void aStyleOutsideTheRangeChangesNothingAndRaisedFollowsTheSize()
    {
        BouttonBorder control;
        control.resize(40, 20);
        control.show();
        control.setForcerBorder(2);
        const BorderLines sunken = control.lines();
        control.setForcerBorder(5);
        control.resize(80, 60);
        QCOMPARE(control.forcerBorder(), qint16(5));
        for (int i = 0; i < 12; ++i)
            QVERIFY(control.lines()[i].line == sunken[i].line &&
                    control.lines()[i].visible == sunken[i].visible);

        control.setForcerBorder(0);
        QCOMPARE(visibleLines(control.lines()), qMakePair(8, 0));
        control.resize(40, 30);
        QCOMPARE(control.lines()[4].line, QLineF(580, 30, 580, 430));
    }

    void propertiesPersistUnderTheirNames()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("host.ini")), QSettings::IniFormat);
        BouttonBorder control;
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

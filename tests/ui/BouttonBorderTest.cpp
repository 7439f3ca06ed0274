#include "ui/controls/BouttonBorder.h"

#include <QApplication>
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
    void edgesOfTheFourStyles()
    {
        const auto thick = qMakePair(8, 0);
        const auto thin = qMakePair(0, 4);
        const struct {
            const char* name;
            int style, index;
            QLineF line;
            int width;
            QPair<int, int> visible;
        } rows[] = {{"raised light top", 0, 0, {0, 0, 300, 0}, 3, thick},
                    {"raised inner dark right", 0, 4, {280, 30, 280, 180}, 2, thick},
                    {"raised dark bottom", 0, 7, {0, 190, 290, 190}, 1, thick},
                    {"pressed light right", 1, 0, {280, 30, 280, 180}, 3, thick},
                    {"pressed dark top", 1, 6, {10, 10, 300, 10}, 1, thick},
                    {"thin sunken dark top", 2, 8, {10, 10, 290, 10}, 1, thin},
                    {"thin raised dark bottom", 3, 8, {10, 190, 290, 190}, 1, thin}};
        for (const auto& r : rows) {
            const BorderLines lines = velmora::ui::borderLines({}, r.style, 300, 200, Qt::black);
            QVERIFY2(lines[r.index].line == r.line && lines[r.index].width == r.width, r.name);
            QVERIFY2(visibleLines(lines) == r.visible, r.name);
        }
        QCOMPARE(velmora::ui::borderLines({}, 0, 300, 200, Qt::black)[4].colour, QColor(128, 128, 128));
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
            QVERIFY(control.lines()[i].line == sunken[i].line && control.lines()[i].visible == sunken[i].visible);

        control.setForcerBorder(0);
        QCOMPARE(visibleLines(control.lines()), qMakePair(8, 0));
        control.resize(40, 30);
        QCOMPARE(control.lines()[4].line, QLineF(580, 30, 580, 430));
    }
};

QTEST_MAIN(BouttonBorderTest)
#include "BouttonBorderTest.moc"

#include "ui/controls/BouttonBorder.h"

#include <QApplication>
#include <QTest>

using velmora::ui::BorderLines;
using velmora::ui::BouttonBorder;

namespace {

// Whether a w x h twip control's lines keep a style's rule: the eight thick lines or the four
// thin ones show, each level or upright, the light ones along the top and left edges or along
// the bottom and right, and together they reach within 10 twips of each edge, never beyond.
bool keepsRule(const BorderLines& lines, int w, int h, bool thick, bool lightTopLeft)
{
    QRectF box;
    for (int i = 0; i < 12; ++i) {
        const QLineF& l = lines[i].line;
        const bool light = qGray(lines[i].colour.rgb()) > 160, topLeft = l.center().x() / w + l.center().y() / h < 1;
        if (lines[i].visible != (thick == (i < 8)))
            return false;
        if (lines[i].visible && ((l.dx() != 0 && l.dy() != 0) || light != (topLeft == lightTopLeft)))
            return false;
        box |= lines[i].visible ? QRectF(l.p1(), l.p2()).normalized() : QRectF();
    }
    return QRectF(0, 0, w, h).contains(box) && box.adjusted(-10, -10, 10, 10).contains(QRectF(0, 0, w, h));
}

} // namespace

class BouttonBorderTest final : public QObject {
    Q_OBJECT

private slots:
    // The light and dark edges trade places when pressed or sunken.
    void theFourStyles()
    {
        const struct {
            const char* name;
            int style;
            bool thick, lightTopLeft;
        } rows[] = {{"raised", 0, true, true},
                    {"pressed", 1, true, false},
                    {"thin sunken", 2, false, false},
                    {"thin raised", 3, false, true}};
        for (const auto& r : rows)
            QVERIFY2(keepsRule(velmora::ui::borderLines({}, r.style, 300, 200, Qt::black), 300, 200, r.thick, r.lightTopLeft), r.name);
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
        control.resize(40, 30); // 600 x 450 twips
        QVERIFY(keepsRule(control.lines(), 600, 450, true, true));
    }
};

QTEST_MAIN(BouttonBorderTest)
#include "BouttonBorderTest.moc"

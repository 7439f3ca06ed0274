#include "ui/common/BidiText.h"

#include <QTest>
#include <QTextLayout>

using namespace velmora::ui;
using namespace Qt::StringLiterals;

namespace {

// Whether each isolated run of `shown`, laid out right to left, has each of its characters to
// the right of the one before, as a left-to-right reader expects.
bool runsReadLeftToRight(const QString& shown)
{
    QTextLayout layout(shown);
    QTextOption option;
    option.setTextDirection(Qt::RightToLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    for (qsizetype open = shown.indexOf(u'\u2066'); open >= 0; open = shown.indexOf(u'\u2066', open + 1))
        for (qsizetype k = open + 3; k < shown.indexOf(u'\u2069', open); ++k)
            if (line.cursorToX(int(k)) <= line.cursorToX(int(k - 1)))
                return false;
    return true;
}

} // namespace

class BidiTextTest : public QObject {
    Q_OBJECT

private slots:
    void isolatesEachLeftToRightRun_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown"); // each isolated run must read left to right
        QTest::newRow("degree text") << u"الشمس في 0°52'35''من برج الحوت"_s << u"الشمس في \u20660°52'35''\u2069من برج الحوت"_s;
        QTest::newRow("negative decimal") << u"التعديل -0.33 ساعة"_s << u"التعديل \u2066-0.33\u2069 ساعة"_s;
        QTest::newRow("date and time") << u"ولد 1990/7/15 على 12:00"_s << u"ولد \u20661990/7/15\u2069 على \u206612:00\u2069"_s;
        QTest::newRow("Latin prefix with !") << u"index hors plage !الساعة غير صحيحة "_s
                                             << u"\u200f\u2066index hors plage !\u2069الساعة غير صحيحة "_s;
        QTest::newRow("place lines") << u"خط العرض 34°1'\r\nخط الطول 5°0'"_s
                                     << u"خط العرض \u206634°1'\u2069\r\nخط الطول \u20665°0'\u2069"_s;
        QTest::newRow("pure Arabic untouched") << u"تأكد من تحديدك لموقع البلد"_s << u"تأكد من تحديدك لموقع البلد"_s;
        QTest::newRow("already isolated text not doubled") << u"في \u20660°52'35''\u2069من"_s << u"في \u20660°52'35''\u2069من"_s;
    }

    void isolatesEachLeftToRightRun()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(isolateRuns(text), shown);
        QVERIFY(runsReadLeftToRight(shown));
    }
};

QTEST_MAIN(BidiTextTest)
#include "BidiTextTest.moc"

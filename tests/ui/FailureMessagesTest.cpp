#include "ui/common/FailureMessages.h"

#include <QTest>

using namespace velmora;

class FailureMessagesTest final : public QObject {
    Q_OBJECT

private slots:
    void outsideTheFilesGivesTheirRangeAndKeepsTheLibrarysText()
    {
        const QStringList lines =
            ui::ephemerisFailureMessage({EphemerisProblem::OutsideFiles,
                                         "SwissEph file 'sepl_60.se1' not found",
                                         {{-5401, 12, 31}, {5399, 12, 30}}})
                .split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        // The dates are isolated left to right, so the minus stays before its year.
        QCOMPARE(lines[0], QString::fromUtf8("التاريخ خارج مدى ملفات الأزياج المثبتة، وهو من "
                                             "\u206631/12/-5401\u2069 إلى \u206630/12/5399\u2069"));
        QCOMPARE(lines[1], QStringLiteral("SwissEph file 'sepl_60.se1' not found"));
        QVERIFY(!ui::ephemerisFailureMessage({EphemerisProblem::PolarHouses, {}, {}})
                     .contains(QLatin1Char('\n')));
    }
};

QTEST_GUILESS_MAIN(FailureMessagesTest)
#include "FailureMessagesTest.moc"

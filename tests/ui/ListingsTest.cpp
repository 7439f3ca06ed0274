#include "ui/listings/FrmAnalyse.h"
#include "ui/listings/FrmDivert.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using velmora::ChartState;
using velmora::ui::FrmAnalyse;
using velmora::ui::FrmDivert;

namespace {

QString utf8(const char* text) { return QString::fromUtf8(text); }

QStringList lines(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

} // namespace

class ListingsTest final : public QObject {
    Q_OBJECT

private slots:
    void listing_data()
    {
        QTest::addColumn<int>("lastPoint");
        QTest::addColumn<QStringList>("aspects");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("house");
        const QStringList two = {utf8("الشمس في  مقارنة القمر في 3°0'0''   منفصل "),
                                 utf8("الزهرة في  تربيع المريخ في 1°0'0''   متصل ")};
        QTest::newRow("one chart, Sun and ascendant first") << 11 << QStringList() << 0
            << utf8("الشمس في 15°0'0''من برج الحمل ") << utf8(" الطالع في 10°0'0''من برج الحمل ");
        QTest::newRow("one chart, a point off the circle") << 11 << two << 11
            << utf8("القمر الأسود في ") << utf8(" البيت الثاني عشر في 10°0'0''من برج الحوت ");
        QTest::newRow("two charts, transit Sun, blank house") << 23 << two << 12
            << utf8("شمس التحويل في 5°0'0''من برج العقرب ") << QString();
    }

    void listing()
    {
        QFETCH(int, lastPoint);
        QFETCH(QStringList, aspects);
        QFETCH(int, row);
        QFETCH(QString, point);
        QFETCH(QString, house);
        // Point i at 15 + 30.25 i degrees, cusp h at 10 + 30 h; the second chart 200 degrees on.
        ChartState state;
        for (int i = 0; i < 12; ++i) {
            state.Planets[i].Longitude = 15.0f + 30.25f * i;
            state.Planets[12 + i].Longitude = state.Planets[i].Longitude + 200.0f;
            state.HouseCusps[i] = 10.0f + 30.0f * i;
            state.HouseCusps[12 + i] = 190.0f;
        }
        state.Planets[11].Longitude = 400.0f;
        for (const QString& line : aspects)
            state.AspectLines.push_back(line.toStdString());

        FrmDivert listing(state, lastPoint);
        QCOMPARE(listing.List1->count(), lastPoint + 1);
        QCOMPARE(listing.List2->count(), lastPoint + 1);
        QCOMPARE(listing.List1->item(row)->text(), point);
        QCOMPARE(listing.List2->item(row)->text(), house);
        for (int i = 12; i <= lastPoint; ++i)
            QVERIFY2(listing.List2->item(i)->text().isEmpty(), qPrintable(QString::number(i)));
        QCOMPARE(lines(listing.List3), aspects);
    }

    void listingWindow()
    {
        FrmDivert listing(ChartState{}, 11);
        QCOMPARE(listing.windowTitle(), utf8("عرض الأطوال و الإتصلات الفلكية"));
        QStringList captions;
        for (const QLabel* label : listing.findChildren<QLabel*>())
            captions << label->text();
        QCOMPARE(captions, QStringList({utf8("مواقع الكواكب"), utf8("مواقع البيوت"),
                                        utf8("إتصالات الكواكب")}));
        QCOMPARE(listing.CmdOK->text(), utf8("&موافق"));
        for (const QListWidget* list : {listing.List1, listing.List2, listing.List3}) {
            QCOMPARE(list->palette().color(QPalette::Base), QColor(254, 253, 245));
            QVERIFY(list->font().families().contains(QStringLiteral("Tahoma")));
        }
        listing.show();
        QVERIFY(QTest::qWaitForWindowExposed(&listing));
        QTest::mouseClick(listing.CmdOK, Qt::LeftButton);
        QVERIFY(listing.isHidden());
    }

    void informationWindow()
    {
        FrmAnalyse* window = FrmAnalyse::instance();
        QCOMPARE(window->windowTitle(), QString(40, u' ') + utf8("تحليل الهيئة الفلكية"));
        QCOMPARE(window->CmdOK->text(), utf8("موافق"));
        QVERIFY(window->Text1->isReadOnly());
        QCOMPARE(window->Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QString text = window->Text1->toPlainText();
        QVERIFY(text.startsWith(utf8("فلمورا")) && text.contains(QStringLiteral("Swiss Ephemeris")));

        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::mouseClick(window->CmdOK, Qt::LeftButton);
        QVERIFY(window->isHidden());
        QCOMPARE(FrmAnalyse::instance(), window);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    ListingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ListingsTest.moc"

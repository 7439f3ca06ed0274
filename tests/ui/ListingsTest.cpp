#include "ui/listings/FrmAnalyse.h"
#include "ui/listings/FrmDivert.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTextEdit>
#include <QPushButton>
#include <QTest>

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

QString captionOf(const QWidget* control)
{
    for (const QLabel* label : control->window()->findChildren<QLabel*>()) {
        if (label->buddy() == control)
            return label->text();
    }
    return {};
}

// Point i at 15 + 30.25 i degrees, cusp h at 10 + 30 h; the second chart 200 degrees on.
ChartState twoCharts()
{
    ChartState state;
    for (int i = 0; i < 12; ++i) {
        state.Planets[i].Longitude = 15.0f + 30.25f * i;
        state.Planets[12 + i].Longitude = state.Planets[i].Longitude + 200.0f;
        state.HouseCusps[i] = 10.0f + 30.0f * i;
        state.HouseCusps[12 + i] = 190.0f;
    }
    state.Planets[11].Longitude = 400.0f; // outside the circle: the label alone
    return state;
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
        QTest::newRow("one chart, Sun and ascendant first")
            << 11 << QStringList() << 0 << utf8("الشمس في 15°0'0''من برج الحمل ")
            << utf8(" الطالع في 10°0'0''من برج الحمل ");
        QTest::newRow("one chart, tenth house") << 11 << two << 9
            << utf8("بلوطون في 17°15'0''من برج الجدي ") << utf8(" وسط السماء في 10°0'0''من برج الجدي ");
        QTest::newRow("one chart, point off the circle")
            << 11 << two << 11 << utf8("القمر الأسود في ")
            << utf8(" البيت الثاني عشر في 10°0'0''من برج الحوت ");
        QTest::newRow("two charts, transit Sun and a blank house line")
            << 23 << two << 12 << utf8("شمس التحويل في 5°0'0''من برج العقرب ") << QString();
        QTest::newRow("two charts, transit black moon")
            << 23 << QStringList() << 23 << utf8("قمر التحويل الأسود في ") << QString();
    }

    void listing()
    {
        QFETCH(int, lastPoint);
        QFETCH(QStringList, aspects);
        QFETCH(int, row);
        QFETCH(QString, point);
        QFETCH(QString, house);

        ChartState state = twoCharts();
        state.Planets[23].Longitude = -1.0f;
        for (const QString& line : aspects)
            state.AspectLines.push_back(line.toStdString());
        state.AspectLineCount = static_cast<std::int16_t>(aspects.size());

        FrmDivert listing(state, lastPoint);
        QCOMPARE(listing.List1->count(), lastPoint + 1);
        QCOMPARE(listing.List2->count(), lastPoint + 1);
        QCOMPARE(listing.List1->item(row)->text(), point);
        QCOMPARE(listing.List2->item(row)->text(), house);
        QCOMPARE(lines(listing.List3), aspects);
        for (int i = 12; i <= lastPoint; ++i)
            QVERIFY2(listing.List2->item(i)->text().isEmpty(), qPrintable(QString::number(i)));
        QVERIFY(lines(listing.List2).at(6).startsWith(utf8(" الغارب في ")));
    }

    void listingWindow()
    {
        FrmDivert listing(ChartState{}, 11);
        QCOMPARE(listing.windowTitle(), utf8("عرض الأطوال و الإتصلات الفلكية"));
        QCOMPARE(captionOf(listing.List1), utf8("مواقع الكواكب"));
        QCOMPARE(captionOf(listing.List2), utf8("مواقع البيوت"));
        QCOMPARE(captionOf(listing.List3), utf8("إتصالات الكواكب"));
        QCOMPARE(listing.CmdOK->text(), utf8("&موافق"));
        for (const QListWidget* list : {listing.List1, listing.List2, listing.List3}) {
            QCOMPARE(list->palette().color(QPalette::Base), QColor(254, 253, 245));
            QVERIFY(list->font().families().contains(QStringLiteral("Tahoma")));
        }
        listing.show();
        QVERIFY(QTest::qWaitForWindowExposed(&listing));
        QVERIFY(listing.List3->width() > listing.List1->width());
        QVERIFY(listing.List3->height() > listing.List1->height());
        QTest::mouseClick(listing.CmdOK, Qt::LeftButton);
        QVERIFY(listing.isHidden());
    }

    void informationWindow()
    {
        FrmAnalyse* window = FrmAnalyse::instance();
        QCOMPARE(FrmAnalyse::instance(), window);
        QCOMPARE(window->windowTitle(), QString(40, u' ') + utf8("تحليل الهيئة الفلكية"));
        QCOMPARE(window->CmdOK->text(), utf8("موافق"));
        QVERIFY(window->Text1->isReadOnly());
        QCOMPARE(window->Text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QString text = window->Text1->toPlainText();
        QVERIFY(text.startsWith(utf8("فلمورا")));
        for (const char* part : {"Swiss Ephemeris", "BMP", "PNG", "SVG", "PDF", "هيئة التسييرات"})
            QVERIFY2(text.contains(utf8(part)), part);

        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::mouseClick(window->CmdOK, Qt::LeftButton);
        QVERIFY(window->isHidden());
        QCOMPARE(FrmAnalyse::instance(), window);

        // A close by the frame discards it; the next use builds a fresh one.
        window->show();
        window->close();
        QCOMPARE(FrmAnalyse::existing(), nullptr);
        QVERIFY(FrmAnalyse::instance()->Text1->toPlainText() == text);
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

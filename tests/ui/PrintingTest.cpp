// The chart window's menu item and the ephemerides window's button print through the preview's
// seam; here it prints at once to a PDF file, whose pages are counted.
#include "ui/common/Printing.h"

#include "core/ChartRequest.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/chart/FrmChart.h"
#include "ui/common/Look.h"
#include "ui/ephemerides/FrmEphemirids.h"

#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

const QString kCaption = u"هيئة ميلاد لسلمى 1990/5/4   15:8"_s;

// The pages of a PDF file, as its page objects.
int pdfPages(const QByteArray& pdf)
{
    static const QRegularExpression page(u"/Type\\s*/Page(?!s)"_s);
    return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

FrmChart* natalChart()
{
    const ChartRequest request = meccaNatalRequest();
    if (!computeRequest(chartState(), request).ok)
        qFatal("could not compute the natal chart");
    return shown(new FrmChart(ChartKind::Natal, kCaption, request));
}

} // namespace

class PrintingTest final : public QObject {
    Q_OBJECT

    PrintPreview realPreview;

private slots:
    void initTestCase()
    {
        recordMessages();
        realPreview = printPreview();
    }

    // The real preview, answered from inside its loop: the chart on one page, and the job
    // named without the caption's slashes, which the print dialog would take for folders.
    void realPreviewShowsThePages()
    {
        printPreview() = realPreview;
        std::unique_ptr<FrmChart> window(natalChart());
        QString document;
        int pages = 0;
        onNextModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
            if (!preview)
                return;
            document = preview->printer()->docName();
            pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            preview->reject();
        });
        QTest::mouseClick(window->LabMenu[FrmChart::Print], Qt::LeftButton);
        QCOMPARE(document, QString(kCaption).replace(u'/', u'-'));
        QCOMPARE(pages, 1);
    }

    // The chart on A4, the month on A6, where it takes several pages.
    void printsThroughThePreview_data()
    {
        QTest::addColumn<bool>("chart");
        QTest::addColumn<bool>("writable");
        QTest::newRow("natal chart with its listing on one page") << true << true;
        QTest::newRow("a month on several pages") << false << true;
        QTest::newRow("chart to a file that cannot be made: told") << true << false;
        QTest::newRow("month to a file that cannot be made: told") << false << false;
    }

    void printsThroughThePreview()
    {
        QFETCH(bool, chart);
        QFETCH(bool, writable);
        messages().clear();
        QTemporaryDir dir;
        const QString path = dir.filePath(writable ? u"printed.pdf"_s : u"missing/printed.pdf"_s);
        QStringList documents;
        printPreview() = [&](QWidget*, const QString& document,
                             const std::function<void(QPrinter&)>& paint) {
            documents.append(document);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            printer.setPageSize(QPageSize(chart ? QPageSize::A4 : QPageSize::A6));
            paint(printer);
        };

        std::unique_ptr<FrmChart> window;
        QString title;
        if (chart) {
            window.reset(natalChart());
            QVERIFY(!window->chart().AspectLines.empty());
            QTest::mouseClick(window->LabMenu[FrmChart::Print], Qt::LeftButton);
            title = kCaption;
        } else {
            FrmEphemirids* ephemerides = shown(fresh<FrmEphemirids>());
            runFebruary(ephemerides, 0);
            ephemerides->CmdImprimer->click();
            title = u"أطوال الكواكب - فبراير 2024"_s;
        }
        QCOMPARE(documents, QStringList{title});
        if (!writable) {
            QVERIFY(!QFile::exists(path));
            QCOMPARE(messages().size(), 1);
            QVERIFY(messages()[0].startsWith(u"تحذير هام|تعذرت طباعة"_s));
            return;
        }
        QCOMPARE(messages(), QStringList());
        const QByteArray pdf = fileBytes(path);
        const int count = pdfPages(pdf);
        QVERIFY2(count > 0 && (count == 1) == chart, qPrintable(QString::number(count)));
        QVERIFY2(pdf.size() > 20000, qPrintable(QString::number(pdf.size())));
    }

    // However small the page, every cell of the body is printed once, beside its header row
    // and its day column.
    void tablePagesHoldEveryCellOnce()
    {
        EphemeridesTable table = blankEphemeridesTable(EphemerisTableKind::Planets, 32);
        for (std::size_t r = 1; r < table.cells.size(); ++r)
            for (std::size_t c = 0; c < table.cells[r].size(); ++c)
                table.cells[r][c] = "359°59'59''" + std::to_string(r);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(u"table.pdf"_s));
        printer.setPageSize(QPageSize(QPageSize::A6));
        const std::vector<TablePage> pages = printTable(printer, u"جدول"_s, table, dialogFont(12));
        QVERIFY(pages.size() > 2);
        std::vector<int> printed(table.cells.size() * table.cells[0].size());
        for (const TablePage& page : pages)
            for (int r = page.firstRow; r < page.endRow; ++r)
                for (int c = page.firstColumn; c < page.endColumn; ++c)
                    ++printed[r * table.columnCount() + c];
        for (int r = 0; r < table.rowCount(); ++r)
            for (int c = 0; c < table.columnCount(); ++c)
                QVERIFY2(printed[r * table.columnCount() + c] == (r >= 1 && c >= 1),
                         qPrintable(u"row %1, column %2"_s.arg(r).arg(c)));
        QCOMPARE(pdfPages(fileBytes(printer.outputFileName())), int(pages.size()));
    }
};

VELMORA_UI_TEST_MAIN(PrintingTest)
#include "PrintingTest.moc"

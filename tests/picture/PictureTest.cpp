#include "picture/PictureCommand.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

namespace {

const QString kChart = QStringLiteral("--date 2000-3-1 --time 15:15 --lat 21:27N --lon 39:49E ");

// The words of a command line; "%1" stands for a path, which may hold blanks.
QStringList words(const QString& line, const QString& path = {})
{
    QStringList list = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    list.replaceInStrings(QStringLiteral("%1"), path);
    return list;
}

cli::CommandResult run(const QStringList& args)
{
    std::vector<std::string> argv;
    for (const QString& arg : args)
        argv.push_back(arg.toStdString());
    ChartState state;
    return picture::runPicture(argv, state, swissEphemeris(), QDateTime(QDate(2004, 3, 5), QTime(14, 7)));
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class PictureTest final : public QObject {
    Q_OBJECT

private slots:
    // The caption, built as the data-entry step builds it or from the clock for the horary
    // kind, is also the SVG's title.
    void writesEachFormat_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("caption");
        const QString transits = QStringLiteral("--kind transits --date2 2026-12-6 --time2 12:00");
        QTest::newRow("PNG") << QStringLiteral("png") << transits << QString();
        QTest::newRow("BMP, suffix in capitals") << QStringLiteral("BMP") << transits << QString();
        QTest::newRow("PDF") << QStringLiteral("pdf") << transits << QString();
        QTest::newRow("SVG, natal") << QStringLiteral("svg") << QStringLiteral("--name سعاد")
                                    << QStringLiteral("هيئة ميلاد لسعاد2000/3/1   15:15");
        QTest::newRow("SVG, horary") << QStringLiteral("svg") << QStringLiteral("--kind horary")
                                     << QStringLiteral("هيئة لتاريخ 5/3/2004   7:14");
    }

    void writesEachFormat()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, args);
        QFETCH(QString, caption);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a wheel.") + suffix);
        QCOMPARE(run(words(kChart + args + QStringLiteral(" --out %1 --size 300"), path)).exitCode, 0);
        const QByteArray bytes = contentsOf(path);
        if (suffix == QStringLiteral("svg")) {
            QCOMPARE(QSvgRenderer(path).viewBox(), QRect(0, 0, 300, 300));
            QVERIFY2(!bytes.contains("<text"), "glyphs are outlines, whatever fonts a viewer has");
            QVERIFY(QString::fromUtf8(bytes).contains(QStringLiteral("<title>%1</title>").arg(caption)));
        } else if (suffix == QStringLiteral("pdf")) {
            QVERIFY(bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF"));
            QCOMPARE(bytes.count("/Type /Page\n"), 1);
            QVERIFY(bytes.contains("/MediaBox [0 0 225.000000 225.000000]")); // 300 px at 96 per inch
        } else {
            const QImage image = QImage::fromData(bytes);
            QCOMPARE(image.size(), QSize(300, 300));
            QCOMPARE(image.pixelColor(1, 1), QColor(Qt::black));   // the title band
            QCOMPARE(image.pixelColor(1, 298), QColor(Qt::white)); // the initial background
            int zodiac = 0;
            for (int y = 0; y < 300; ++y) {
                for (int x = 0; x < 300; ++x)
                    zodiac += image.pixelColor(x, y) == QColor(255, 255, 232);
            }
            QCOMPARE_GT(zodiac, 5000);
        }
    }

    void refusesWithItsExitCodeAndWritesNothing_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no --out") << kChart << 2;
        QTest::newRow("a format of no picture") << kChart + QStringLiteral("--out %1/x.gif") << 2;
        QTest::newRow("size 0") << kChart + QStringLiteral("--size 0 --out %1/x.png") << 2;
        QTest::newRow("size too large") << kChart + QStringLiteral("--size 9000 --out %1/x.png") << 2;
        QTest::newRow("both sign styles") << kChart + QStringLiteral("--symbols --pictures --out %1/x.png") << 2;
        QTest::newRow("a text option of velmora-cli") << kChart + QStringLiteral("--json --out %1/x.png") << 2;
        QTest::newRow("a bad chart argument") << kChart + QStringLiteral("--zone east --out %1/x.png") << 2;
        QTest::newRow("transits without a second date") << kChart + QStringLiteral("--kind transits --out %1/x.png") << 2;
        QTest::newRow("a date beyond the ephemeris files")
            << QStringLiteral("--date 6000-1-1 --time 12:00 --lat 1 --lon 1 --out %1/x.png") << 3;
        QTest::newRow("a folder that does not exist") << kChart + QStringLiteral("--out %1/missing/x.png") << 4;
        QTest::newRow("a file where a folder should be") << kChart + QStringLiteral("--out %1/file/x.svg") << 4;
    }

    void refusesWithItsExitCodeAndWritesNothing()
    {
        QFETCH(QString, args);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const auto result = run(words(args, dir.path()));
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY(!result.error.empty() && result.error.find('\n') == std::string::npos);
        QCOMPARE(result.error.find("usage: velmora-picture") != std::string::npos, exitCode == 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("file")});
    }

    // The program itself, without a display and with a platform that would need one.
    void programRunsWithoutADisplay()
    {
        QTemporaryDir dir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VELMORA_PICTURE), words(kChart + QStringLiteral("--out %1/w.png"), dir.path()));
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QImage(dir.filePath(QStringLiteral("w.png"))).size(), QSize(800, 800));
        program.start(QStringLiteral(VELMORA_PICTURE), words(QStringLiteral("--size 10")));
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains("usage: velmora-picture"));
    }
};

QTEST_MAIN(PictureTest)
#include "PictureTest.moc"

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

const QStringList kChart = {QStringLiteral("--date"), QStringLiteral("2000-3-1"),
                            QStringLiteral("--time"), QStringLiteral("15:15"),
                            QStringLiteral("--lat"),  QStringLiteral("21:27N"),
                            QStringLiteral("--lon"),  QStringLiteral("39:49E")};

cli::CommandResult run(const QStringList& args)
{
    std::vector<std::string> words;
    for (const QString& arg : args)
        words.push_back(arg.toStdString());
    ChartState state;
    const QDateTime now(QDate(2004, 3, 5), QTime(14, 7));
    return picture::runPicture(words, state, swissEphemeris(), now);
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
    void writesEachFormat_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("PNG") << QStringLiteral("png");
        QTest::newRow("BMP, suffix in capitals") << QStringLiteral("BMP");
        QTest::newRow("SVG") << QStringLiteral("svg");
        QTest::newRow("PDF") << QStringLiteral("pdf");
    }

    void writesEachFormat()
    {
        QFETCH(QString, suffix);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wheel.") + suffix);
        const auto result = run(kChart + QStringList{QStringLiteral("--out"), path,
                                                     QStringLiteral("--size"), QStringLiteral("300"),
                                                     QStringLiteral("--kind"), QStringLiteral("transits"),
                                                     QStringLiteral("--date2"), QStringLiteral("2026-12-6"),
                                                     QStringLiteral("--time2"), QStringLiteral("12:00")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.error.empty(), result.error.c_str());
        const QByteArray bytes = contentsOf(path);
        const QString format = suffix.toLower();

        if (format == QStringLiteral("svg")) {
            QSvgRenderer svg(path);
            QVERIFY(svg.isValid());
            QCOMPARE(svg.viewBox(), QRect(0, 0, 300, 300));
            QVERIFY2(!bytes.contains("<text"), "glyphs are outlines, whatever fonts a viewer has");
        } else if (format == QStringLiteral("pdf")) {
            QVERIFY(bytes.startsWith("%PDF-"));
            QCOMPARE(bytes.count("/Type /Page\n"), 1);
            QVERIFY(bytes.contains("/MediaBox [0 0 225.000000 225.000000]")); // 300 px at 96 per inch
            QVERIFY(bytes.trimmed().endsWith("%%EOF"));
        } else {
            const QImage image = QImage::fromData(bytes);
            QCOMPARE(image.size(), QSize(300, 300));
            QCOMPARE(image.pixelColor(1, 1), QColor(Qt::black)); // the title band
            QCOMPARE(image.pixelColor(1, 298), QColor(Qt::white)); // the dialog's background
            int zodiac = 0;
            for (int y = 0; y < 300; ++y) {
                for (int x = 0; x < 300; ++x)
                    zodiac += image.pixelColor(x, y) == QColor(255, 255, 232);
            }
            QCOMPARE_GT(zodiac, 5000);
        }
    }

    // The caption is the SVG's title: kind, one space and the title of the data-entry step, or
    // the horary kind's caption from the clock.
    void captionOfTheKind_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("caption");
        QTest::newRow("natal with a name")
            << QStringList{QStringLiteral("--name"), QStringLiteral("سعاد")}
            << QStringLiteral("هيئة ميلاد لسعاد2000/3/1   15:15");
        QTest::newRow("horary from the clock")
            << QStringList{QStringLiteral("--kind"), QStringLiteral("horary")}
            << QStringLiteral("هيئة لتاريخ 5/3/2004   7:14");
    }

    void captionOfTheKind()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, caption);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wheel.svg"));
        QCOMPARE(run(kChart + args + QStringList{QStringLiteral("--out"), path}).exitCode, 0);
        QVERIFY(QString::fromUtf8(contentsOf(path)).contains(QStringLiteral("<title>") + caption + QStringLiteral("</title>")));
    }

    void refusesWithItsExitCodeAndWritesNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("out"); // inside the temporary folder
        QTest::addColumn<int>("exitCode");
        const QString png = QStringLiteral("x.png");
        QTest::newRow("no --out") << kChart << QString() << 2;
        QTest::newRow("a format of no picture") << kChart << QStringLiteral("x.gif") << 2;
        QTest::newRow("size 0") << kChart + QStringList{QStringLiteral("--size"), QStringLiteral("0")} << png << 2;
        QTest::newRow("size too large") << kChart + QStringList{QStringLiteral("--size"), QStringLiteral("9000")} << png << 2;
        QTest::newRow("both sign styles") << kChart + QStringList{QStringLiteral("--symbols"), QStringLiteral("--pictures")} << png << 2;
        QTest::newRow("a text option of velmora-cli") << kChart + QStringList{QStringLiteral("--json")} << png << 2;
        QTest::newRow("a bad chart argument") << kChart + QStringList{QStringLiteral("--zone"), QStringLiteral("east")} << png << 2;
        QTest::newRow("transits without a second date") << kChart + QStringList{QStringLiteral("--kind"), QStringLiteral("transits")} << png << 2;
        QTest::newRow("a date beyond the ephemeris files")
            << QStringList{QStringLiteral("--date"), QStringLiteral("6000-1-1"), QStringLiteral("--time"), QStringLiteral("12:00"),
                           QStringLiteral("--lat"), QStringLiteral("1"), QStringLiteral("--lon"), QStringLiteral("1")}
            << png << 3;
        QTest::newRow("a folder that does not exist") << kChart << QStringLiteral("missing/x.png") << 4;
        QTest::newRow("a file where a folder should be") << kChart << QStringLiteral("file/x.svg") << 4;
    }

    void refusesWithItsExitCodeAndWritesNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, out);
        QFETCH(int, exitCode);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString path = dir.filePath(out);
        if (!out.isEmpty())
            args << QStringLiteral("--out") << path;
        const auto result = run(args);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY(!result.error.empty());
        QVERIFY(result.error.find('\n') == std::string::npos);
        QCOMPARE(result.error.find("usage: velmora-picture") != std::string::npos, exitCode == 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("file")});
    }

    // The real program, with no display at all and a platform that would need one.
    void programRunsWithoutADisplay()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("wheel.png"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VELMORA_PICTURE), kChart + QStringList{QStringLiteral("--out"), path});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(QImage(path).size(), QSize(800, 800));

        program.start(QStringLiteral(VELMORA_PICTURE), QStringList{QStringLiteral("--size"), QStringLiteral("10")});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 2);
        QVERIFY(program.readAllStandardError().contains("usage: velmora-picture"));
    }
};

QTEST_MAIN(PictureTest)
#include "PictureTest.moc"

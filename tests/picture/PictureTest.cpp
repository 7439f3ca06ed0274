#include "picture/PictureCommand.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

const QString kChart = u"--date 2000-3-1 --time 15:15 --lat 21:27N --lon 39:49E "_s;

// Runs the command on a line of words; "%1" stands for a path, which may hold blanks.
cli::CommandResult run(const QString& line, const QString& path = {})
{
    std::vector<std::string> argv;
    for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
        argv.push_back(QString(word).replace(u"%1"_s, path).toStdString());
    ChartState state;
    return picture::runPicture(argv, state, swissEphemeris(), QDateTime(QDate(2004, 3, 5), QTime(14, 7)));
}

QByteArray contents(const QString& path)
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
        const QString transits = u"--kind transits --date2 2026-12-6 --time2 12:00"_s;
        QTest::newRow("PNG") << u"png"_s << transits << QString();
        QTest::newRow("BMP, suffix in capitals") << u"BMP"_s << transits << QString();
        QTest::newRow("PDF") << u"pdf"_s << transits << QString();
        QTest::newRow("SVG, natal") << u"svg"_s << u"--name سعاد"_s << u"هيئة ميلاد لسعاد2000/3/1   15:15"_s;
        QTest::newRow("SVG, horary") << u"svg"_s << u"--kind horary"_s << u"هيئة لتاريخ 5/3/2004   7:14"_s;
    }

    void writesEachFormat()
    {
        QFETCH(QString, suffix);
        QFETCH(QString, args);
        QFETCH(QString, caption);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"a wheel."_s + suffix);
        QCOMPARE(run(kChart + args + u" --out %1 --size 300"_s, path).exitCode, 0);
        const QByteArray bytes = contents(path);
        if (suffix == u"svg"_s) {
            QCOMPARE(QSvgRenderer(path).viewBox(), QRect(0, 0, 300, 300));
            QVERIFY2(!bytes.contains("<text"), "glyphs are outlines, whatever fonts a viewer has");
            QVERIFY(QString::fromUtf8(bytes).contains(u"<title>%1</title>"_s.arg(caption)));
        } else if (suffix == u"pdf"_s) {
            QVERIFY(bytes.startsWith("%PDF-") && bytes.trimmed().endsWith("%%EOF"));
            QCOMPARE(bytes.count("/Type /Page\n"), 1);
            QVERIFY(bytes.contains("/MediaBox [0 0 225.000000 225.000000]")); // 300 px at 96 per inch
        } else {
            const QImage image = QImage::fromData(bytes);
            QCOMPARE(image.size(), QSize(300, 300));
            QCOMPARE(image.pixelColor(1, 0), QColor(Qt::black));   // the title band, above the caption
            QCOMPARE(image.pixelColor(1, 298), QColor(Qt::white)); // the initial background
            int yellow = 0;
            for (int x = 0; x < 300; ++x)
                yellow += image.pixelColor(x, 16).blue() < 100 && image.pixelColor(x, 16).green() > 150;
            QCOMPARE(yellow, 0); // the dots below ي stay in the band
        }
    }

    // Refused, nothing written, the pipe (standing for a device) not replaced by a regular file.
    // With a file size limit standing for a full disk, "w.*" (holding "earlier") stays as it was.
    void refusesWithItsExitCodeAndWritesNothing_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no --out") << kChart << 2;
        QTest::newRow("a format of no picture") << kChart + u"--out %1/x.gif"_s << 2;
        QTest::newRow("size 0") << kChart + u"--size 0 --out %1/x.png"_s << 2;
        QTest::newRow("size too large") << kChart + u"--size 9000 --out %1/x.png"_s << 2;
        QTest::newRow("both sign styles") << kChart + u"--symbols --pictures --out %1/x.png"_s << 2;
        QTest::newRow("--layout without a file") << kChart + u"--out %1/x.png --layout"_s << 2;
        QTest::newRow("a text option of velmora-cli") << kChart + u"--json --out %1/x.png"_s << 2;
        QTest::newRow("a name longer than 100 characters")
            << kChart + u"--name "_s + QString(101, u'س') + u" --out %1/x.png"_s << 2;
        QTest::newRow("a date beyond the ephemeris files")
            << u"--date 6000-1-1 --time 12:00 --lat 1 --lon 1 --out %1/x.png"_s << 3;
        QTest::newRow("a folder that does not exist") << kChart + u"--out %1/missing/x.png"_s << 4;
        QTest::newRow("a file where a folder should be") << kChart + u"--out %1/file/x.svg"_s << 4;
        QTest::newRow("a pipe") << kChart + u"--out %1/pipe.svg"_s << 4;
        QTest::newRow("a link to a pipe") << kChart + u"--out %1/link.png"_s << 4;
        for (const char* name : {"w.svg", "w.png", "w.bmp", "w.pdf"})
            QTest::newRow(name) << kChart + u"--out %1/"_s + QLatin1String(name) << -4;
    }

    void refusesWithItsExitCodeAndWritesNothing()
    {
        QFETCH(QString, args);
        QFETCH(int, exitCode);
        const bool full = exitCode < 0;
        QTemporaryDir dir;
        const QString earlier = full ? args.section(u'/', -1) : u"file"_s;
        QFile file(dir.filePath(earlier));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("earlier") == 7);
        file.close();
        const QByteArray pipe = QFile::encodeName(dir.filePath(u"pipe.svg"_s));
        QCOMPARE(mkfifo(pipe.constData(), 0600), 0);
        QVERIFY(QFile::link(dir.filePath(u"pipe.svg"_s), dir.filePath(u"link.png"_s)));
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const rlimit small{full ? 4096 : saved.rlim_cur, saved.rlim_max};
        const auto previousSignal = signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const auto result = run(args, dir.path());
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previousSignal);
        QCOMPARE(result.exitCode, std::abs(exitCode));
        QVERIFY(!result.error.empty() && result.error.find('\n') == std::string::npos);
        QCOMPARE(result.error.find("usage: velmora-picture") != std::string::npos, exitCode == 2);
        if (full) // the system's reason is told
            QVERIFY2(result.error.find(std::strerror(EFBIG)) != std::string::npos, result.error.c_str());
        QCOMPARE(contents(dir.filePath(earlier)), QByteArray("earlier"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoSymLinks), QStringList{earlier});
        struct stat node {};
        QVERIFY(stat(pipe.constData(), &node) == 0 && S_ISFIFO(node.st_mode));
    }

    // --layout writes what was drawn: glyphs spread off their degrees with connectors, or with
    // --no-spread all on them. Where the layout puts them is WheelPainterTest's crowded rows.
    void layoutOfWhatWasDrawn()
    {
        for (const bool spread : {true, false}) {
            QTemporaryDir dir;
            const QString args = u"--date 1962-2-4 --time 12:00 --lat 34:02N --lon 5:00W --zone 0 "_s +
                                 (spread ? u""_s : u"--no-spread"_s) + u" --out %1/w.png --size 443 --layout %1/w.json"_s;
            QCOMPARE(run(args, dir.path()).exitCode, 0);
            const QJsonObject layout = QJsonDocument::fromJson(contents(dir.filePath(u"w.json"_s))).object();
            const double band = layout[u"caption_band"_s].toArray()[3].toDouble();
            QVERIFY(band == 443.0 / 20 && layout[u"marks"_s].toArray().size() == 4);
            const QJsonArray points = layout[u"points"_s].toArray();
            QCOMPARE(points.size(), 12);
            int connectors = 0;
            for (const QJsonValue& point : points) {
                QCOMPARE(point[u"glyph_box"_s].toArray().size(), 4);
                QCOMPARE(point[u"marker"_s].toArray().size(), 2);
                connectors += !point[u"connector"_s].isNull();
            }
            QVERIFY2(spread ? connectors > 3 : connectors == 0, spread ? "spread" : "--no-spread");
        }
    }

    // The program itself, without a display and with a platform that would need one, passes
    // on its exit code and its error.
    void programRunsWithoutADisplay()
    {
        QTemporaryDir dir;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        QProcess program;
        program.setProcessEnvironment(env);
        for (const QString& args : {kChart + u"--out "_s + dir.filePath(u"w.png"_s), u"--size 10"_s}) {
            program.start(QStringLiteral(VELMORA_PICTURE), args.split(u' '));
            QVERIFY(program.waitForFinished(30000));
            QCOMPARE(program.exitCode(), args.startsWith(u"--size"_s) ? 2 : 0);
        }
        QVERIFY(program.readAllStandardError().contains("usage: velmora-picture"));
        QCOMPARE(QImage(dir.filePath(u"w.png"_s)).size(), QSize(800, 800));
    }
};

QTEST_MAIN(PictureTest)
#include "PictureTest.moc"

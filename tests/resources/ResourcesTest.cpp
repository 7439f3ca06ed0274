#include "resources/VelmoraResources.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTest>

using namespace velmora;

namespace {

// Every letter the symbol font must draw as a glyph of its own.
const QString kSymbolLetters = QStringLiteral("abcdefghijlnrABCDEFGHIJKLMNOPQRSTUVWXvzxwy");

QRawFont rawFont(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QRawFont(f.readAll(), 64);
}

QImage render(const QRawFont& font, QChar ch)
{
    QImage image(96, 96, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    const auto glyphs = font.glyphIndexesForString(QString(ch));
    if (glyphs.isEmpty())
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillPath(font.pathForGlyph(glyphs[0]).translated(10, 80), Qt::black);
    return image;
}

// Two drawings look alike when they differ in at most 3% of the pixels either of them inks, a
// margin for the rounding of outlines copied between fonts.
bool looksAlike(const QImage& a, const QImage& b)
{
    int inked = 0;
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool inA = qGray(a.pixel(x, y)) < 128;
            const bool inB = qGray(b.pixel(x, y)) < 128;
            inked += inA || inB;
            differing += inA != inB;
        }
    }
    return differing <= qMax(3, inked * 3 / 100);
}

} // namespace

class ResourcesTest final : public QObject {
    Q_OBJECT

private slots:
    void symbolFontRegistersUnderItsFamilyName()
    {
        QVERIFY(registerSymbolFont());
        QVERIFY(QFontDatabase::families().contains(kSymbolFontFamily));
        const QRawFont font = rawFont(kSymbolFontFile);
        QVERIFY(font.isValid());
        QCOMPARE(font.familyName(), kSymbolFontFamily);
    }

    void everyLetterHasAGlyphOfItsOwn()
    {
        const QRawFont font = rawFont(kSymbolFontFile);
        const QRawFont latin = rawFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        QVERIFY(latin.isValid());
        QList<QImage> drawn;
        for (const QChar ch : kSymbolLetters) {
            QVERIFY2(font.supportsCharacter(ch), qPrintable(QStringLiteral("no glyph for %1").arg(ch)));
            const auto index = font.glyphIndexesForString(QString(ch));
            QVERIFY2(!index.isEmpty() && index[0] != 0, qPrintable(QString(ch)));
            const QImage image = render(font, ch);
            QVERIFY2(!looksAlike(image, render(font, QChar(u'!'))),
                     qPrintable(QStringLiteral("%1 is blank").arg(ch)));
            QVERIFY2(!looksAlike(image, render(latin, ch)),
                     qPrintable(QStringLiteral("%1 is the Latin letter").arg(ch)));
            for (int other = 0; other < drawn.size(); ++other) {
                QVERIFY2(!looksAlike(image, drawn[other]),
                         qPrintable(QStringLiteral("%1 draws like %2").arg(ch, kSymbolLetters[other])));
            }
            drawn.append(image);
        }
    }

    void digitsAndSpaceKeepOrdinaryShapes()
    {
        const QRawFont font = rawFont(kSymbolFontFile);
        const QRawFont latin = rawFont(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        for (const QChar ch : QStringLiteral("0123456789")) {
            QVERIFY2(looksAlike(render(font, ch), render(latin, ch)), qPrintable(QString(ch)));
        }
        QVERIFY(font.supportsCharacter(QChar(u' ')));
    }

    void storedImagesLoadAtTheirSizes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("world map") << kWorldMapImage << QSize(528, 264);
        QTest::newRow("default background") << kDefaultBackgroundImage << QSize(700, 550);
        QTest::newRow("splash") << kSplashImage << QSize(480, 270);
        QTest::newRow("emblem") << kEmblemImage << QSize(128, 128);
        QTest::newRow("about") << kAboutImage << QSize(240, 135);
    }

    void storedImagesLoadAtTheirSizes()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), size);
    }

    // Land and sea where they belong: a flipped or shifted map fails here.
    void worldMapIsPlateCarreeWithGreenwichInTheMiddle_data()
    {
        QTest::addColumn<double>("longitude");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<bool>("land");
        QTest::newRow("Arabian desert") << 45.0 << 23.0 << true;
        QTest::newRow("Sahara") << 10.0 << 24.0 << true;
        QTest::newRow("central Australia") << 134.0 << -25.0 << true;
        QTest::newRow("Gulf of Guinea at 0, 0") << 0.0 << 0.0 << false;
        QTest::newRow("mid Pacific") << -150.0 << 0.0 << false;
        QTest::newRow("south Atlantic") << -20.0 << -30.0 << false;
    }

    void worldMapIsPlateCarreeWithGreenwichInTheMiddle()
    {
        QFETCH(double, longitude);
        QFETCH(double, latitude);
        QFETCH(bool, land);
        const QImage map(kWorldMapImage);
        const int x = static_cast<int>((longitude + 180.0) / 360.0 * map.width());
        const int y = static_cast<int>((90.0 - latitude) / 180.0 * map.height());
        const QColor c = map.pixelColor(x, y);
        QCOMPARE(c.red() > c.blue(), land);
    }
};

QTEST_MAIN(ResourcesTest)
#include "ResourcesTest.moc"

#include "resources/VelmoraResources.h"

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

QImage render(const QRawFont& font, QChar ch)
{
    QImage image(96, 96, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter p(&image); // not antialiased: each pixel inked or not
    p.fillPath(font.pathForGlyph(font.glyphIndexesForString(QString(ch)).value(0)).translated(10, 80), Qt::black);
    return image;
}

// Two drawings look alike when they differ in at most 3% of the pixels either of them inks, a
// margin for the rounding of outlines copied between fonts.
bool looksAlike(const QImage& a, const QImage& b)
{
    int inked = 0, differing = 0;
    for (int i = 0; i < a.width() * a.height(); ++i) {
        const QPoint at(i % a.width(), i / a.width());
        const bool inA = qGray(a.pixel(at)) < 128, inB = qGray(b.pixel(at)) < 128;
        inked += inA || inB;
        differing += inA != inB;
    }
    return differing <= qMax(3, inked * 3 / 100);
}

} // namespace

class ResourcesTest final : public QObject {
    Q_OBJECT

private slots:
    void symbolFontRegistersAndEveryLetterHasAGlyphOfItsOwn()
    {
        QVERIFY(registerSymbolFont());
        QVERIFY(QFontDatabase::families().contains(kSymbolFontFamily));
        const QRawFont font(kSymbolFontFile, 64);
        const QRawFont latin(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"), 64);
        QVERIFY(font.isValid() && latin.isValid());
        QCOMPARE(font.familyName(), kSymbolFontFamily);
        QList<QImage> drawn;
        for (const QChar ch : kSymbolLetters) {
            const auto index = font.glyphIndexesForString(QString(ch));
            QVERIFY2(!index.isEmpty() && index[0] != 0, qPrintable(QString(ch)));
            const QImage image = render(font, ch);
            QVERIFY2(!looksAlike(image, render(font, QChar(u'!'))),
                     qPrintable(QStringLiteral("%1 is blank").arg(ch)));
            QVERIFY2(!looksAlike(image, render(latin, ch)),
                     qPrintable(QStringLiteral("%1 is the Latin letter").arg(ch)));
            for (int other = 0; other < drawn.size(); ++other)
                QVERIFY2(!looksAlike(image, drawn[other]),
                         qPrintable(QStringLiteral("%1 draws like %2").arg(ch, kSymbolLetters[other])));
            drawn.append(image);
        }
        // The day numbers of the aspects table are drawn in the symbol font too.
        for (const QChar ch : QStringLiteral("0123456789"))
            QVERIFY2(looksAlike(render(font, ch), render(latin, ch)), qPrintable(QString(ch)));
    }

    // Land and sea where they belong: a flipped or shifted map fails here.
    void worldMapIsPlateCarreeWithGreenwichInTheMiddle()
    {
        const QImage map(kWorldMapImage);
        QCOMPARE(map.size(), QSize(528, 264)); // the picker draws it unscaled
        const struct {
            double longitude, latitude;
            bool land;
        } places[] = {{45, 23, true},   {10, 24, true},   {134, -25, true}, // Arabia, Sahara, Australia
                      {0, 0, false},    {-150, 0, false}, {-20, -30, false}};
        for (const auto& place : places) {
            const QColor c = map.pixelColor(static_cast<int>((place.longitude + 180) / 360 * map.width()),
                                            static_cast<int>((90 - place.latitude) / 180 * map.height()));
            QVERIFY2((c.red() > c.blue()) == place.land,
                     qPrintable(QStringLiteral("%1, %2").arg(place.longitude).arg(place.latitude)));
        }
    }
};

QTEST_MAIN(ResourcesTest)
#include "ResourcesTest.moc"

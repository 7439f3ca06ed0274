// Generates Velmora's stored pictures from public-domain NASA images and our own drawing, and
// renders the symbol font's glyph sheet. Usage:
//   velmora-imagegen images <font.ttf> <out-dir>
//   velmora-imagegen sheet <font.ttf> <out.png>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>
#include <QtMath>

#include <cstdio>
#include <random>

namespace {

const QString kDayEarth = QStringLiteral("/usr/share/xplanet/images/earth.jpg");
const QString kNightEarth = QStringLiteral("/usr/share/xplanet/images/night.jpg");
const QString kProgramName = QString::fromUtf8("فلمورا");
const QString kSubtitle = QString::fromUtf8("في علم التنجيم");
const QColor kGold(232, 196, 110);

QString symbolFamily;

bool save(const QImage& image, const QString& path, int quality = 92)
{
    if (!image.save(path, nullptr, quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

// A night sky: a dark gradient, a faint band of dense small stars and scattered bright ones.
QImage starField(int width, int height, unsigned seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(4, 8, 26));
    sky.setColorAt(1, QColor(16, 26, 58));
    p.fillRect(image.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::normal_distribution<double> band(0.0, height * 0.08);
    for (int i = 0; i < width * height / 60; ++i) {
        const double t = unit(random);
        const double x = t * width;
        const double y = height * 0.85 - t * height * 0.7 + band(random);
        p.setBrush(QColor(200, 210, 255, 20 + static_cast<int>(unit(random) * 50)));
        p.drawEllipse(QPointF(x, y), 0.6, 0.6);
    }
    for (int i = 0; i < width * height / 450; ++i) {
        const QPointF at(unit(random) * width, unit(random) * height);
        const double brightness = unit(random);
        const double radius = 0.4 + brightness * brightness * 1.4;
        const int tint = static_cast<int>(unit(random) * 3);
        const QColor colour = tint == 0 ? QColor(255, 240, 210) : tint == 1 ? QColor(210, 225, 255)
                                                                            : QColor(255, 255, 255);
        QRadialGradient glow(at, radius * 2.5);
        QColor core = colour;
        core.setAlphaF(0.5 + 0.5 * brightness);
        QColor edge = colour;
        edge.setAlpha(0);
        glow.setColorAt(0, core);
        glow.setColorAt(1, edge);
        p.setBrush(glow);
        p.drawEllipse(at, radius * 2.5, radius * 2.5);
    }
    return image;
}

// A zodiac ring: the twelve sign symbols between two circles, the Sun's symbol in the middle.
void drawEmblem(QPainter& p, const QRectF& box, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QPointF c = box.center();
    const double r = box.width() / 2;
    p.setPen(QPen(colour, qMax(1.0, r / 40)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r * 0.96, r * 0.96);
    p.drawEllipse(c, r * 0.62, r * 0.62);
    for (int k = 0; k < 12; ++k) {
        const double a = qDegreesToRadians(30.0 * k);
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * r * 0.62,
                   c + QPointF(std::cos(a), std::sin(a)) * r * 0.96);
    }
    QFont font(symbolFamily);
    font.setPixelSize(static_cast<int>(r * 0.26));
    p.setFont(font);
    for (int k = 0; k < 12; ++k) {
        // Aries at 9 o'clock, counter-clockwise as on a chart wheel.
        const double a = qDegreesToRadians(180.0 - 30.0 * k - 15.0);
        const QPointF at = c + QPointF(std::cos(a), -std::sin(a)) * r * 0.79;
        const QRectF cell(at.x() - r * 0.2, at.y() - r * 0.2, r * 0.4, r * 0.4);
        p.drawText(cell, Qt::AlignCenter, QString(QChar(u'M' + k)));
    }
    font.setPixelSize(static_cast<int>(r * 0.7));
    p.setFont(font);
    p.drawText(QRectF(c.x() - r * 0.5, c.y() - r * 0.5, r, r), Qt::AlignCenter, QStringLiteral("a"));
    p.restore();
}

void drawTitle(QPainter& p, const QRectF& box, int pixelSize, const QString& text,
               const QColor& colour)
{
    QFont font(QStringLiteral("Noto Naskh Arabic"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 160));
    p.drawText(box.translated(2, 2), Qt::AlignRight | Qt::AlignVCenter, text);
    p.setPen(colour);
    p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
}

bool makeImages(const QString& dir)
{
    const QImage day(kDayEarth);
    const QImage night(kNightEarth);
    if (day.isNull() || night.isNull()) {
        std::fprintf(stderr, "the NASA images of xplanet-images are missing\n");
        return false;
    }
    // Plate carree, 180 W at the left edge and Greenwich in the middle, like the source.
    const QImage map = day.scaled(528, 264, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                           .convertToFormat(QImage::Format_RGB32);
    bool ok = save(map, dir + QStringLiteral("/world-map.jpg"), 95);

    ok &= save(starField(700, 550, 1), dir + QStringLiteral("/background.jpg"));

    // Splash: the night side of the Earth from Europe to Asia, darkened, with the title.
    QImage splash(480, 270, QImage::Format_RGB32);
    {
        QPainter p(&splash);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QRect lights(night.width() / 2 - 40, night.height() / 6, night.width() * 3 / 8,
                           night.height() * 3 / 8 * 270 / 480 * 2);
        p.drawImage(splash.rect(), night, lights);
        QLinearGradient shade(0, 0, 0, splash.height());
        shade.setColorAt(0, QColor(0, 0, 20, 120));
        shade.setColorAt(1, QColor(0, 0, 20, 200));
        p.fillRect(splash.rect(), shade);
        drawEmblem(p, QRectF(24, 71, 128, 128), kGold);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawTitle(p, QRectF(170, 60, 286, 110), 72, kProgramName, kGold);
        drawTitle(p, QRectF(170, 165, 286, 50), 28, kSubtitle, QColor(230, 230, 240));
    }
    ok &= save(splash, dir + QStringLiteral("/splash.jpg"));

    QImage emblem(128, 128, QImage::Format_ARGB32);
    emblem.fill(Qt::transparent);
    {
        QPainter p(&emblem);
        drawEmblem(p, QRectF(2, 2, 124, 124), QColor(40, 50, 110));
    }
    ok &= save(emblem, dir + QStringLiteral("/emblem.png"));

    QImage about = starField(240, 135, 7);
    {
        QPainter p(&about);
        drawEmblem(p, QRectF(10, 17, 100, 100), kGold);
        p.setRenderHint(QPainter::TextAntialiasing);
        drawTitle(p, QRectF(112, 30, 118, 75), 40, kProgramName, kGold);
    }
    ok &= save(about, dir + QStringLiteral("/about.jpg"));
    return ok;
}

struct SheetRow {
    const char* letters;
    const char* meaning;
};

bool makeSheet(const QString& out)
{
    const SheetRow points[] = {
        {"a", "Sun"},     {"b", "Moon"},       {"c", "Mercury"},    {"d", "Venus"},
        {"e", "Mars"},    {"f", "Jupiter"},    {"g", "Saturn"},     {"h", "Uranus"},
        {"i", "Neptune"}, {"j", "Pluto"},      {"l", "lunar node"}, {"n", "black moon"},
        {"r", "retrograde"}, {"v", "conjunction"}, {"z", "sextile"}, {"x", "square"},
        {"w", "opposition"}, {"y", "trine"},   {"0123456789", "digits"},
    };
    const char* signs[] = {"Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra",
                           "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};
    const int rowHeight = 56;
    const int rows = static_cast<int>(std::size(points));
    QImage sheet(1000, 60 + rowHeight * rows, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont label(QStringLiteral("DejaVu Sans"));
    label.setPixelSize(18);
    QFont glyphs(symbolFamily);
    glyphs.setPixelSize(40);

    auto heading = [&](int x, const char* text) {
        p.setFont(label);
        p.setPen(Qt::darkGray);
        p.drawText(x, 30, QString::fromLatin1(text));
    };
    heading(20, "letter   glyph");
    heading(360, "meaning");
    heading(520, "sign: pictures (A-L)  symbols (M-X)");
    for (int i = 0; i < rows; ++i) {
        const int y = 50 + i * rowHeight;
        p.setPen(QColor(230, 230, 230));
        p.drawLine(10, y + rowHeight, 990, y + rowHeight);
        p.setPen(Qt::black);
        p.setFont(label);
        p.drawText(QRect(20, y, 110, rowHeight), Qt::AlignVCenter,
                   QString::fromLatin1(points[i].letters).left(3));
        p.drawText(QRect(360, y, 150, rowHeight), Qt::AlignVCenter,
                   QString::fromLatin1(points[i].meaning));
        p.setFont(glyphs);
        p.drawText(QRect(80, y, 270, rowHeight), Qt::AlignVCenter,
                   QString::fromLatin1(points[i].letters));
        if (i < 12) {
            p.setFont(label);
            p.drawText(QRect(520, y, 200, rowHeight), Qt::AlignVCenter,
                       QStringLiteral("%1 / %2  %3")
                           .arg(QChar(u'A' + i)).arg(QChar(u'M' + i))
                           .arg(QString::fromLatin1(signs[i])));
            p.setFont(glyphs);
            p.drawText(QRect(780, y, 60, rowHeight), Qt::AlignCenter, QString(QChar(u'A' + i)));
            p.drawText(QRect(880, y, 60, rowHeight), Qt::AlignCenter, QString(QChar(u'M' + i)));
        }
    }
    return save(sheet, out);
}

// The program's icon for the desktop's menus: the emblem drawn afresh at each size of the icon
// theme, into <out>/hicolor/<n>x<n>/apps/.
bool makeIcons(const QString& out)
{
    bool ok = true;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QImage icon(size, size, QImage::Format_ARGB32);
        icon.fill(Qt::transparent);
        {
            QPainter p(&icon);
            const double margin = size / 64.0;
            drawEmblem(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin),
                       QColor(40, 50, 110));
        }
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
        ok &= QDir().mkpath(dir) && save(icon, dir + QStringLiteral("/org.velmora.Velmora.png"));
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QStringList modes = {QStringLiteral("images"), QStringLiteral("sheet"),
                               QStringLiteral("icons")};
    if (args.size() != 4 || !modes.contains(args[1])) {
        std::fprintf(stderr, "usage: velmora-imagegen images|sheet|icons <font.ttf> <out>\n");
        return 2;
    }
    const int id = QFontDatabase::addApplicationFont(args[2]);
    if (id < 0) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(args[2]));
        return 1;
    }
    symbolFamily = QFontDatabase::applicationFontFamilies(id).value(0);
    const bool ok = args[1] == modes[0]   ? makeImages(args[3])
                    : args[1] == modes[1] ? makeSheet(args[3])
                                          : makeIcons(args[3]);
    return ok ? 0 : 1;
}

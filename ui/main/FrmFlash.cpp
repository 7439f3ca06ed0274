#include "ui/main/FrmFlash.h"

#include "resources/VelmoraResources.h"
#include "ui/common/Look.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

// Where the splash picture carries its subtitle, in pixels of the picture; the two labels lie
// on it with the picture's own font, shadow and colour.
const QRect kSubtitleBox(170, 165, 286, 50);
const QRect kVersionBox(170, 222, 286, 26);

QLabel* overlay(const QString& text, const QRect& box, const QFont& font, const QColor& colour,
                QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setGeometry(box);
    label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
    label->setStyleSheet(u"color: %1; background: transparent;"_s.arg(colour.name(QColor::HexArgb)));
    return label;
}

} // namespace

FrmFlash::FrmFlash(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(u"فلمورا"_s);
    const QPixmap picture(kSplashImage);
    setFixedSize(picture.size());
    Image1 = new QLabel(this);
    Image1->setPixmap(picture);
    Image1->setGeometry(rect());

    QFont subtitle;
    subtitle.setFamilies({u"Noto Naskh Arabic"_s, u"Noto Sans Arabic"_s});
    subtitle.setPixelSize(28);
    subtitle.setBold(true);
    const QString words = u"في علم التنجيم"_s;
    Label2[0] = overlay(words, kSubtitleBox.translated(2, 2), subtitle, QColor(0, 0, 0, 160), this);
    Label2[1] = overlay(words, kSubtitleBox, subtitle, QColor(230, 230, 240), this);
    Lab = overlay(u"إصدار 1.0"_s, kVersionBox, dialogFont(9), QColor(200, 200, 215), this);

    Timer = new QTimer(this);
    Timer->setSingleShot(true);
    Timer->setInterval(kIntervalMs);
    connect(Timer, &QTimer::timeout, this, &QDialog::accept);
}

void FrmFlash::showEvent(QShowEvent* event)
{
    Timer->start();
    QDialog::showEvent(event);
}

void FrmFlash::done(int result)
{
    // Whichever of the click and the tick comes second finds the splash already closed.
    Timer->stop();
    QDialog::done(result);
}

void FrmFlash::mousePressEvent(QMouseEvent*)
{
    accept();
}

} // namespace velmora::ui

#include "ui/main/FrmApropos.h"

#include "resources/VelmoraResources.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"
#include "ui/common/Seams.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora::ui {

using namespace Qt::StringLiterals;

const QString FrmApropos::kContactAddress = u"velmora@example.org"_s;

FrmApropos::FrmApropos()
{
    setWindowTitle(QString(25, u' ') + u"حول البرنامج"_s);
    setFont(dialogFont());

    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap(kAboutImage));
    Image2 = new QLabel(this);
    Image2->setPixmap(QPixmap(kEmblemImage).scaled(64, 64, Qt::KeepAspectRatio,
                                                   Qt::SmoothTransformation));

    QFont titleFont;
    titleFont.setFamilies({u"Noto Naskh Arabic"_s, u"Noto Sans Arabic"_s});
    titleFont.setPixelSize(22);
    titleFont.setBold(true);
    auto* title = new QGridLayout;
    const char* colours[] = {"#e8c46e", "#28326e"};
    for (int i = 0; i < 2; ++i) {
        LabTitle[i] = new QLabel(u"في  علم التنجيم"_s, this);
        LabTitle[i]->setFont(titleFont);
        LabTitle[i]->setStyleSheet(u"color: "_s + QString::fromLatin1(colours[i]));
        title->addWidget(LabTitle[i], 0, 0);
    }
    // The shadow copy sits two pixels lower and to the right of the text over it.
    LabTitle[0]->setContentsMargins(2, 2, 0, 0);
    LabTitle[1]->setContentsMargins(0, 0, 2, 2);
    LabVersion = new QLabel(u"  إصدار 1.0"_s, this);

    auto* heading = new QVBoxLayout;
    heading->addStretch();
    heading->addLayout(title);
    heading->addWidget(LabVersion);
    heading->addStretch();

    auto* top = new QHBoxLayout;
    top->addLayout(heading);
    top->addStretch();
    top->addWidget(Image1);

    auto* credits = new QVBoxLayout;
    for (const QString& line : {u": إعداد "_s, u"Velmora contributors"_s,
                                u"Swiss Ephemeris © Astrodienst AG (AGPL)"_s,
                                u"بيانات المدن من GeoNames (www.geonames.org) برخصة CC BY 4.0"_s})
    {
        // Latin and Arabic lines alike start at the right edge, as the interface reads.
        auto* label = new QLabel(line, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignAbsolute | Qt::AlignVCenter);
        credits->addWidget(label);
    }
    LabActiveURL = new QLabel(kContactAddress, this);
    LabActiveURL->setStyleSheet(u"color: #1a4fb4; text-decoration: underline;"_s);
    LabActiveURL->setCursor(Qt::PointingHandCursor);
    LabActiveURL->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    LabActiveURL->installEventFilter(this);
    credits->addSpacing(6);
    credits->addWidget(LabActiveURL);

    auto* middle = new QHBoxLayout;
    middle->addLayout(credits);
    middle->addStretch();
    middle->addWidget(Image2, 0, Qt::AlignBottom);

    CmdOK = new QPushButton(u"&موافق"_s, this);
    connect(CmdOK, &QPushButton::clicked, this, &QWidget::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(middle);
    layout->addLayout(buttonRow({CmdOK}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmApropos::openContact()
{
    if (!linkOpener()(QUrl(u"mailto:"_s + kContactAddress)))
        criticalMessage()(this, u"تحذير هام"_s, u"خطأ في شبكة الإتصال"_s);
}

bool FrmApropos::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LabActiveURL && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        openContact();
        return true;
    }
    return SingleDialog::eventFilter(watched, event);
}

} // namespace velmora::ui

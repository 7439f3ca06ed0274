#include "ui/place/FrmReperXY.h"

#include "atlas/Atlas.h"
#include "atlas/LegalTime.h"
#include "core/Numbers.h"
#include "ui/common/BidiText.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"
#include "ui/common/NumberKeyCheck.h"
#include "ui/common/Seams.h"
#include "ui/place/PlaceDatabaseView.h"
#include "ui/place/WorldMapPicture.h"
#include "wheel/CoreText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace velmora::ui {

namespace {

const QString kMapCaption = QString::fromUtf8("&الخريطة");
const QString kDatabaseCaption = QString::fromUtf8("&قاعدة البيانات");

QLineEdit* numberBox(const char* name, const char* text, int maxLength, QWidget* parent)
{
    auto* box = new QLineEdit(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(maxLength);
    box->setFixedWidth(44);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QLabel* label(const char* text, QWidget* parent)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

// An offset from universal time as UTC+03:00, with seconds where it has them.
QString utcOffsetText(int seconds)
{
    const int magnitude = std::abs(seconds);
    QString text = QStringLiteral("UTC%1%2:%3")
                       .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(magnitude / 3600, 2, 10, QLatin1Char('0'))
                       .arg(magnitude / 60 % 60, 2, 10, QLatin1Char('0'));
    if (magnitude % 60)
        text += QStringLiteral(":%1").arg(magnitude % 60, 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace

FrmReperXY* FrmReperXY::instance()
{
    if (FrmReperXY* picker = existing())
        return picker;
    FrmReperXY* picker = SingleDialog::instance();
    if (whenCreated())
        whenCreated()(picker);
    return picker;
}

FrmReperXY::CreatedHook& FrmReperXY::whenCreated()
{
    static CreatedHook hook;
    return hook;
}

FrmReperXY::FrmReperXY()
{
    setWindowTitle(QString(56, QLatin1Char(' ')) + QString::fromUtf8("إحداثيات البلد"));
    setFont(dialogFont());
    setLayoutDirection(Qt::RightToLeft);
    buildControls();
    connectReactions();
    connectDatabaseView();
    // The load step marks 32.56 N, 5.4 W until the first reading.
    PicWorld->drawMark(5.4, 32.56);
}

void FrmReperXY::buildControls()
{
    PicWorld = new WorldMapPicture(this);
    m_databaseView = new PlaceDatabaseView(this);
    m_databaseView->setFixedSize(PicWorld->size());
    m_databaseView->hide();
    GriData = m_databaseView->GriData;
    TxtRecherche = m_databaseView->TxtRecherche;

    TxtLatDeg = numberBox("TxtLatDeg", "21", 2, this);
    TxtLatMin = numberBox("TxtLatMin", "27", 2, this);
    TxtLonDeg = numberBox("TxtLonDeg", "39", 3, this);
    TxtLonMin = numberBox("TxtLonMin", "49", 2, this);
    TxtZone = numberBox("TxtZone", "3", 3, this);
    TxtEteRegl = numberBox("TxtEteRegl", "0", 1, this);
    keepLengthLimit(TxtEteRegl, 1);
    LabHeureLegale = new QLabel(this);
    LabHeureLegale->setWordWrap(true);

    OptN = new QRadioButton(QString::fromUtf8("شمال"), this);
    OptS = new QRadioButton(QString::fromUtf8("جنوب"), this);
    OptE = new QRadioButton(QString::fromUtf8("شرق"), this);
    OptW = new QRadioButton(QString::fromUtf8("غرب"), this);
    // Grouped before the initial choice: four sibling options would otherwise exclude each
    // other as one group.
    auto* latitudeChoice = new QButtonGroup(this);
    latitudeChoice->addButton(OptN);
    latitudeChoice->addButton(OptS);
    auto* longitudeChoice = new QButtonGroup(this);
    longitudeChoice->addButton(OptE);
    longitudeChoice->addButton(OptW);
    OptN->setChecked(true);
    OptE->setChecked(true);

    CmdOK = new QPushButton(QString::fromUtf8("&موافق"), this);
    CmdStyle = new QPushButton(kDatabaseCaption, this);
    for (QPushButton* button : {CmdOK, CmdStyle})
        button->setAutoDefault(false);

    // The database view lies over the map.
    auto* mapArea = new QGridLayout;
    mapArea->addWidget(PicWorld, 0, 0);
    mapArea->addWidget(m_databaseView, 0, 0);

    auto coordinateGroup = [this](const char* title, QLineEdit* deg, QLineEdit* min,
                                  QRadioButton* first, QRadioButton* second) {
        auto* group = new QGroupBox(QString::fromUtf8(title), this);
        // The boxes and their marks read left to right, as 21°27' does.
        auto* angle = new QWidget(group);
        angle->setLayoutDirection(Qt::LeftToRight);
        auto* parts = new QHBoxLayout(angle);
        parts->setContentsMargins(0, 0, 0, 0);
        parts->addWidget(deg);
        parts->addWidget(label("°", angle));
        parts->addWidget(min);
        parts->addWidget(label("'", angle));
        auto* row = new QHBoxLayout(group);
        row->addWidget(angle);
        row->addSpacing(12);
        row->addWidget(first);
        row->addWidget(second);
        row->addStretch();
        return group;
    };

    auto* coordinates = new QHBoxLayout;
    coordinates->addWidget(coordinateGroup("خط العرض", TxtLatDeg, TxtLatMin, OptN, OptS));
    coordinates->addWidget(coordinateGroup("خط الطول", TxtLonDeg, TxtLonMin, OptE, OptW));

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(label("النطاق الزمني", this));
    timeRow->addWidget(TxtZone);
    timeRow->addSpacing(16);
    timeRow->addWidget(label("التعديل الصيفي بالساعات", this));
    timeRow->addWidget(TxtEteRegl);
    timeRow->addStretch();
    timeRow->addWidget(CmdStyle);
    timeRow->addWidget(CmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(mapArea);
    layout->addLayout(coordinates);
    layout->addLayout(timeRow);
    layout->addWidget(LabHeureLegale);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmReperXY::connectReactions()
{
    for (QLineEdit* box : {TxtLatDeg, TxtLatMin, TxtLonDeg, TxtLonMin})
        connect(box, &QLineEdit::textChanged, this, &FrmReperXY::readPlace);
    for (QLineEdit* box : {TxtLatDeg, TxtLatMin, TxtLonDeg, TxtLonMin, TxtEteRegl}) {
        selectAllOnFocus(box);
        box->installEventFilter(this); // the key check
    }
    for (QRadioButton* option : {OptN, OptS, OptE, OptW}) {
        connect(option, &QRadioButton::toggled, this, [this](bool selected) {
            if (selected)
                readPlace();
        });
    }
    connect(TxtLonDeg, &QLineEdit::returnPressed, TxtLonMin, qOverload<>(&QWidget::setFocus));
    connect(TxtLonMin, &QLineEdit::returnPressed, TxtLatDeg, qOverload<>(&QWidget::setFocus));
    connect(TxtLatDeg, &QLineEdit::returnPressed, TxtLatMin, qOverload<>(&QWidget::setFocus));

    connect(PicWorld, &WorldMapPicture::pointerMoved, PicWorld, &WorldMapPicture::drawCross);
    connect(PicWorld, &WorldMapPicture::pressed, this, [this](double x, double y) {
        if (m_sincePick.isValid() && m_sincePick.elapsed() < QApplication::doubleClickInterval())
            return;
        pressMap(static_cast<float>(x), static_cast<float>(y));
    });
    connect(CmdStyle, &QPushButton::clicked, this, &FrmReperXY::switchView);
    connect(CmdOK, &QPushButton::clicked, this, &FrmReperXY::confirm);
}

PlaceInput FrmReperXY::placeInput() const
{
    return {boxText(TxtLonDeg), boxText(TxtLonMin), boxText(TxtLatDeg), boxText(TxtLatMin),
            OptW->isChecked(), OptS->isChecked()};
}

ZoneInput FrmReperXY::zoneInput() const
{
    return {boxText(TxtZone), boxText(TxtEteRegl)};
}

void FrmReperXY::readPlace()
{
    const PlaceReading reading = velmora::readPlace(chartState(), placeInput());
    PicWorld->clearDrawing();
    PicWorld->drawMark(reading.markX, reading.markY);
    TxtZone->setText(fromCore(reading.zoneText));
}

void FrmReperXY::showRequestPlace(const RequestPlace& place,
                                  const std::optional<std::string>& zoneText)
{
    const PlaceInput& boxes = place.coordinates;
    TxtLatDeg->setText(fromCore(boxes.latDeg));
    TxtLatMin->setText(fromCore(boxes.latMin));
    TxtLonDeg->setText(fromCore(boxes.lonDeg));
    TxtLonMin->setText(fromCore(boxes.lonMin));
    (boxes.south ? OptS : OptN)->setChecked(true);
    (boxes.west ? OptW : OptE)->setChecked(true);
    readPlace();
    if (zoneText)
        TxtZone->setText(fromCore(*zoneText));
    setTextBeyondLimit(TxtEteRegl, fromCore(place.summerText));
    // Boxes that did not change keep the city picked before: it is the kept place's only.
    m_picked.reset();
    LabHeureLegale->clear();
    if (place.atlas) {
        m_picked = atlasPlaceOf(*place.atlas);
        showLegalTime();
    }
    emit placeConfirmed(placeSummary());
}

void FrmReperXY::pressMap(float x, float y)
{
    PicWorld->clearDrawing();
    PicWorld->drawMark(x, y);
    (x < 0 ? OptE : OptW)->setChecked(true);
    (y < 0 ? OptS : OptN)->setChecked(true);
    fillCoords(x, y);
    PicWorld->drawCross(x, y);
    // Last, so the zone of the exact point stands over the one of the whole minutes.
    TxtZone->setText(fromCore(numberText(zoneFromLongitude(-x))));
}

void FrmReperXY::fillCoords(float x, float y)
{
    const CoordinateTexts longitude = coordinateTexts(x);
    const CoordinateTexts latitude = coordinateTexts(y);
    TxtLonDeg->setText(fromCore(longitude.degrees));
    TxtLatDeg->setText(fromCore(latitude.degrees));
    TxtLonMin->setText(fromCore(longitude.minutes));
    TxtLatMin->setText(fromCore(latitude.minutes));
}

void FrmReperXY::switchView()
{
    CmdStyle->setText(CmdStyle->text() == kMapCaption ? kDatabaseCaption : kMapCaption);
    m_databaseView->setVisible(CmdStyle->text() == kMapCaption);
}

void FrmReperXY::connectDatabaseView()
{
    connect(m_databaseView, &PlaceDatabaseView::placePicked, this, &FrmReperXY::pickPlace);
    // The zone shown, and the legal time of the rows, belong to the picked city only until the
    // place changes or a correction is typed.
    const auto forget = [this] {
        LabHeureLegale->clear();
        m_picked.reset();
    };
    for (QLineEdit* box : {TxtLatDeg, TxtLatMin, TxtLonDeg, TxtLonMin})
        connect(box, &QLineEdit::textChanged, this, forget);
    connect(TxtEteRegl, &QLineEdit::textEdited, this, forget);
    for (QRadioButton* option : {OptN, OptS, OptE, OptW})
        connect(option, &QRadioButton::toggled, this, forget);
}

void FrmReperXY::setReferenceMoment(const QDateTime& localMoment)
{
    m_referenceMoment = localMoment;
}

void FrmReperXY::setReferenceMoment(const DateTimeTexts& row)
{
    auto whole = [](const std::string& text) { return int(wholeInt16(text).value_or(-1)); };
    const QDate date(whole(row.year), whole(row.month), whole(row.day));
    const QTime time(whole(row.hour), whole(row.minute));
    setReferenceMoment(date.isValid() && time.isValid() ? QDateTime(date, time) : QDateTime());
}

void FrmReperXY::pickPlace(const atlas::Place& place)
{
    pressMap(static_cast<float>(-place.longitude), static_cast<float>(place.latitude));
    if (CmdStyle->text() == kMapCaption)
        switchView();
    // The second click of a double click lands on the map, now uncovered: it must not move
    // the place away from the city.
    m_sincePick.start();
    // After the press: its coordinate changes forget the city picked before.
    m_picked = place;
    showLegalTime();
}

bool FrmReperXY::followLegalTime(const DateTimeTexts& row)
{
    if (!m_picked)
        return false;
    setReferenceMoment(row);
    showLegalTime();
    return true;
}

void FrmReperXY::showLegalTime()
{
    const QDateTime moment = m_referenceMoment.isValid() ? m_referenceMoment : clock()();
    const QDate date = moment.date();
    const QTime time = moment.time();
    const auto offset =
        atlas::placeLegalOffset(m_picked->zone, m_picked->longitude,
                                {date.year(), date.month(), date.day(), time.hour(), time.minute()});
    const QString zoneName = fromCore(m_picked->zone);
    if (!offset) {
        LabHeureLegale->setText(isolateRuns(zoneName + QString::fromUtf8(
            " غير موجود في قاعدة المناطق الزمنية للنظام: أدخل التعديل الصيفي بنفسك")));
        return;
    }
    // The correction turns the zone derived from the longitude into the legal time.
    const QString correction = fromCore(numberText(
        atlas::summerCorrection(*offset, static_cast<int>(leadingNumber(boxText(TxtZone))))));
    setTextBeyondLimit(TxtEteRegl, correction);

    QString legal = QString::fromUtf8("التوقيت القانوني: ") + zoneName + QLatin1Char(' ') +
                    utcOffsetText(offset->seconds);
    if (offset->change == atlas::ClockChange::Skipped)
        legal += QString::fromUtf8("\nوقت تخطته الساعة عند تغييرها: أُخذ التوقيت الذي قبل التغيير");
    else if (offset->change == atlas::ClockChange::Repeated)
        legal += QString::fromUtf8("\nوقت تكرر عند إرجاع الساعة: أُخذ التوقيت الذي قبل التغيير");
    LabHeureLegale->setText(isolateRuns(legal));
}

RequestPlace FrmReperXY::requestPlace() const
{
    RequestPlace place{placeInput(), boxText(TxtEteRegl), std::nullopt, false};
    if (m_picked) {
        place.atlas = AtlasIdentity{m_picked->name, m_picked->zone, m_picked->latitude,
                                    m_picked->longitude};
    }
    return place;
}

QString FrmReperXY::placeSummary() const
{
    QString city;
    if (m_picked) {
        const auto either = [](const std::string& name, const std::string& latin) {
            return fromCore(name.empty() ? latin : name);
        };
        city = either(m_picked->name, m_picked->nameLatin);
        const QString country = either(m_picked->country, m_picked->countryLatin);
        if (!country.isEmpty())
            city += QString::fromUtf8("، ") + country;
        city += QStringLiteral("\r\n");
    }
    const double zone = leadingNumber(boxText(TxtZone)) + leadingNumber(boxText(TxtEteRegl));
    return city +
           QString::fromUtf8("خط العرض ") + TxtLatDeg->text() + QString::fromUtf8("°") +
           TxtLatMin->text() + QStringLiteral("' ") + (OptS->isChecked() ? OptS : OptN)->text() +
           QStringLiteral("\r\n") + QString::fromUtf8("خط الطول ") + TxtLonDeg->text() +
           QString::fromUtf8("°") + TxtLonMin->text() + QStringLiteral("' ") +
           (OptW->isChecked() ? OptW : OptE)->text() + QStringLiteral("\r\n") +
           QString::fromUtf8("النطاق الزمني مع التعديل الصيفي بالساعات ") +
           fromCore(numberText(zone));
}

int FrmReperXY::execOver(QWidget* opener)
{
    // A window of its own could open behind a modal opener, which would then seem frozen. The
    // parent is given back after the run, so that closing the opener keeps the place.
    setParent(opener, windowFlags());
    setWindowModality(Qt::ApplicationModal);
    const QPointer<FrmReperXY> self(this);
    const int result = exec();
    if (self)
        setParent(nullptr, windowFlags());
    return result;
}

void FrmReperXY::confirm()
{
    emit placeConfirmed(placeSummary());
    hide();
}

void FrmReperXY::reject()
{
    // Esc does nothing: with no cancel button, the boxes already hold the live place, and
    // hiding would skip the place text that only OK writes.
}

bool FrmReperXY::eventFilter(QObject* watched, QEvent* event)
{
    if (m_keyCheck.warnsAt(*event))
        warnNotANumber(this);
    return SingleDialog::eventFilter(watched, event);
}

} // namespace velmora::ui

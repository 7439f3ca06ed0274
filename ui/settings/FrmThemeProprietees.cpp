#include "ui/settings/FrmThemeProprietees.h"

#include "core/Appearance.h"
#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "resources/VelmoraResources.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"
#include "ui/common/Seams.h"
#include "ui/settings/ColorSample.h"
#include "ui/settings/ColorSwatch.h"
#include "ui/settings/PictureFile.h"
#include "ui/settings/StoredSettings.h"
#include "wheel/ColorValue.h"
#include "wheel/CoreText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora::ui {

namespace {

static_assert(FrmThemeProprietees::kSwatchCount == velmora::kSwatchCount);

// The swatches' captions; their initial colours and settings are the core's.
const std::array<const char*, FrmThemeProprietees::kSwatchCount> kSwatchCaptions = {
    "خلفية الهيئة", "خلفية الأبراج", "خط التسديس",   "خط التثليث",
    "خط التربيع",   "خط المقابلة",  "حدودالهيئة",    "خط البيوت",
    "كواكب الطالع", "خط القران",     "كواكب التحويل", "رموز البروج",
};

// OK copies every swatch but the sign symbols' one, which only two-chart windows take.
const FrmThemeProprietees::SwatchSet kConfirmedSwatches(0x7FF);
constexpr int kSignSymbolsSwatch = 11;

const std::array<const char*, kPointsPerChart> kPointCaptions = {
    "الشمس", "القمر",  "عطارد",   "الزهرة", "المريخ",      "المشتري",
    "زحل",   "أورانوس", "نبتون", "بلوتون", "عقدة الرأس ", "القمر الأسود"};

const std::array<const char*, kPointsPerChart> kAspectPointCaptions = {
    " الشمس", " القمر",  " عطارد", " الزهرة",       "المريخ", "المشتري",
    "زحل",    " أورانوس", "نبتون", "بلوتون", " الرأس الشمالي", " القمر الأسود"};

struct AspectBox {
    const char* caption;
    AspectKind kind;
};

// TxtAspect(0..4), listed on the tab from index 4 on.
const std::array<AspectBox, kAspectKindCount> kOrbBoxes = {{
    {"المقابلة", AspectKind::Opposition},
    {"التربيع", AspectKind::Square},
    {"التثليث", AspectKind::Trine},
    {"التسديس", AspectKind::Sextile},
    {"القران", AspectKind::Conjunction},
}};
constexpr std::array<int, kAspectKindCount> kOrbBoxOrder = {4, 0, 1, 2, 3};

// Aspect(0..4).
const std::array<AspectBox, kAspectKindCount> kShownAspectBoxes = {{
    {"القران", AspectKind::Conjunction},
    {"التثليث", AspectKind::Trine},
    {"التسديس", AspectKind::Sextile},
    {"التربيع", AspectKind::Square},
    {"المقابلة", AspectKind::Opposition},
}};

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QString indexedName(const char* name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

template <typename Control>
Control* named(Control* control, const char* name, int index)
{
    control->setObjectName(indexedName(name, index));
    return control;
}

// The note label and the explanation every tab opens with.
QLayout* noteRow(const char* explanation, QWidget* tab)
{
    auto* note = new QLabel(utf8("ملاحظة "), tab);
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    auto* text = new QLabel(utf8(explanation), tab);
    text->setWordWrap(true);
    auto* row = new QHBoxLayout;
    row->addWidget(note);
    row->addWidget(text, 1);
    return row;
}

QCheckBox* checkedBox(const char* caption, QWidget* parent)
{
    auto* box = new QCheckBox(utf8(caption), parent);
    box->setChecked(true);
    return box;
}

} // namespace

bool FrmThemeProprietees::showModal(QWidget* caller)
{
    QPointer<FrmThemeProprietees> dialog = instance();
    const Qt::WindowFlags flags = dialog->windowFlags();
    // Parented only while shown, so that it centres on and stays above the chart window; the
    // settings must outlive that window.
    dialog->setParent(caller ? caller->window() : nullptr, flags);
    dialog->m_confirmed = false;
    dialog->exec();
    if (!dialog)
        return false;
    dialog->setParent(nullptr, flags);
    return dialog->m_confirmed;
}

FrmThemeProprietees::FrmThemeProprietees()
{
    setWindowTitle(utf8("معلومات خاصة"));
    setFont(dialogFont());
    setLayoutDirection(Qt::RightToLeft);

    SSTab1 = new QTabWidget(this);
    SSTab1->addTab(buildColoursTab(), utf8("الألوان"));
    SSTab1->addTab(buildPlanetsTab(), utf8("الكواكب"));
    SSTab1->addTab(buildAspectsTab(), utf8("الإتصالات"));
    SSTab1->addTab(buildUpdatesTab(), utf8("تحديثات"));
    SSTab1->setCurrentIndex(0);

    CmdOK = new QPushButton(utf8("موافق"), this);
    CmdAnnuler = new QPushButton(utf8("إلغاء"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttonRow({CmdOK, CmdAnnuler}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connectReactions();
    setPicture(QImage(kDefaultBackgroundImage));
    // The settings the last OK left, over the start values.
    if (const auto file = settingsFile())
        restoreAppearance(*this, *file);
    drawSample();
}

QWidget* FrmThemeProprietees::buildColoursTab()
{
    auto* tab = new QWidget;
    // Each swatch row is one pitch high with no spacing, so the swatches sit where the sample
    // picture's lead lines end.
    auto* swatches = new QGridLayout;
    swatches->setVerticalSpacing(0);
    for (int i = 0; i < kSwatchCount; ++i) {
        LabColor[i] = named(new ColorSwatch(initialSwatchColors()[i], tab), "LabColor", i);
        auto* caption = new QLabel(utf8(kSwatchCaptions[i]), tab);
        caption->setBuddy(LabColor[i]);
        swatches->addWidget(caption, i, 0);
        swatches->addWidget(LabColor[i], i, 1);
        if (i == kSignSymbolsSwatch) {
            // Never confirmed by OK, so it is not offered; its row takes no room.
            caption->hide();
            LabColor[i]->hide();
        } else {
            swatches->setRowMinimumHeight(i, kSwatchPitch);
        }
    }
    auto* swatchColumn = new QVBoxLayout;
    swatchColumn->addLayout(swatches);
    swatchColumn->addStretch();

    PicSample = new QLabel(tab);
    PicSample->setObjectName(QStringLiteral("PicSample"));
    PicSample->setFixedSize(kColorSampleSize);

    auto* sample = new QHBoxLayout;
    sample->addLayout(swatchColumn);
    sample->addWidget(PicSample, 0, Qt::AlignTop);

    ChkSpread = checkedBox("تباعد الرموز المتقاربة", tab);
    ChkSpread->setObjectName(QStringLiteral("ChkSpread"));

    CmbMaisons = new QComboBox(tab);
    CmbMaisons->setObjectName(QStringLiteral("CmbMaisons"));
    for (int i = 0; i < kHouseSystemCount; ++i)
        CmbMaisons->addItem(utf8(houseSystemArabicName(static_cast<HouseSystem>(i))));
    auto* housesCaption = new QLabel(utf8("نظام البيوت"), tab);
    housesCaption->setBuddy(CmbMaisons);
    auto* houses = new QHBoxLayout;
    houses->addWidget(housesCaption);
    houses->addWidget(CmbMaisons);
    houses->addStretch();

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(noteRow("يمكنك إختيار اللون المحدد لكل عنصر  على الهيئة الفلكية", tab));
    layout->addLayout(sample);
    layout->addWidget(ChkSpread);
    layout->addLayout(houses);
    return tab;
}

QWidget* FrmThemeProprietees::buildPlanetsTab()
{
    auto* tab = new QWidget;
    auto* groups = new QHBoxLayout;
    for (const char* title : {"إظهار كواكب الطالع على الهيئة الفلكية",
                              "إظهار كواكب التحويل على الهيئة الفلكية"}) {
        const int first = groups->count() * kPointsPerChart;
        auto* group = new QGroupBox(utf8(title), tab);
        auto* column = new QVBoxLayout(group);
        for (int p = 0; p < kPointsPerChart; ++p) {
            Planete[first + p] = named(checkedBox(kPointCaptions[p], group), "Planete", first + p);
            column->addWidget(Planete[first + p]);
        }
        groups->addWidget(group);
    }
    ShowMaison = checkedBox("إظهار البيوت", tab);
    ShowMaison->setObjectName(QStringLiteral("ShowMaison"));

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(noteRow("يمكنك إختيار الكوكب الذي ترغب في إظهاره على الهيئة الفلكية", tab));
    layout->addLayout(groups);
    layout->addWidget(ShowMaison);
    layout->addStretch();
    return tab;
}

QWidget* FrmThemeProprietees::buildAspectsTab()
{
    auto* tab = new QWidget;

    auto* points = new QGroupBox(utf8("الخاصة بالكواكب"), tab);
    auto* pointGrid = new QGridLayout(points);
    for (int p = 0; p < kPointsPerChart; ++p) {
        AspectPlanet[p] = named(checkedBox(kAspectPointCaptions[p], points), "AspectPlanet", p);
        pointGrid->addWidget(AspectPlanet[p], p % 6, p / 6);
    }

    // Always on and fixed: nothing reads them.
    auto* houses = new QGroupBox(utf8("الخاصة بالبيوت الفلكية"), tab);
    auto* houseColumn = new QVBoxLayout(houses);
    const std::array<const char*, 2> houseCaptions = {"إتصالات الطالع", "إتصالات وسط السماء"};
    for (int i = 0; i < 2; ++i) {
        AspectMaisons[i] = named(checkedBox(houseCaptions[i], houses), "AspectMaisons", i + 1);
        AspectMaisons[i]->setEnabled(false);
        houseColumn->addWidget(AspectMaisons[i]);
    }

    auto* orbGroup = new QGroupBox(utf8("تحديد جرم الإتصال الفلكي"), tab);
    auto* orbGrid = new QGridLayout(orbGroup);
    const AspectOrbs initialOrbs = defaultAspectOrbs();
    for (int box : kOrbBoxOrder) {
        const AspectBox& design = kOrbBoxes[box];
        TxtAspect[box] = named(new QLineEdit(fromCore(numberText(initialOrbs.of(design.kind))),
                                             orbGroup),
                               "TxtAspect", box);
        TxtAspect[box]->setMaxLength(2);
        TxtAspect[box]->setFixedWidth(36);
        TxtAspect[box]->setAlignment(Qt::AlignCenter);
        auto* caption = new QLabel(utf8(design.caption), orbGroup);
        caption->setBuddy(TxtAspect[box]);
        const int row = orbGrid->rowCount();
        orbGrid->addWidget(caption, row, 0);
        orbGrid->addWidget(TxtAspect[box], row, 1);
    }

    auto* shown = new QGroupBox(utf8("إظهار  الإتصالات الفلكية"), tab);
    auto* shownColumn = new QVBoxLayout(shown);
    for (int i = 0; i < kAspectKindCount; ++i) {
        Aspect[i] = named(checkedBox(kShownAspectBoxes[i].caption, shown), "Aspect", i);
        shownColumn->addWidget(Aspect[i]);
    }

    auto* groups = new QGridLayout;
    groups->addWidget(points, 0, 0);
    groups->addWidget(orbGroup, 0, 1);
    groups->addWidget(houses, 1, 0);
    groups->addWidget(shown, 1, 1);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(noteRow("إعدادات خاصة بالإتصالات", tab));
    layout->addLayout(groups);
    layout->addStretch();
    return tab;
}

QWidget* FrmThemeProprietees::buildUpdatesTab()
{
    auto* tab = new QWidget;

    auto* glyphs = new QGroupBox(tab);
    auto* glyphColumn = new QVBoxLayout(glyphs);
    const std::array<const char*, 2> glyphCaptions = {"صفة البروج رموز", "صفة البروج صور"};
    for (int i = 0; i < 2; ++i) {
        OptZodiacGrph[i] = named(new QRadioButton(utf8(glyphCaptions[i]), glyphs),
                                 "OptZodiacGrph", i);
        glyphColumn->addWidget(OptZodiacGrph[i]);
    }
    OptZodiacGrph[1]->setChecked(true);

    auto* start = new QGroupBox(utf8("تغيير بدأ الدائرة الفلكية"), tab);
    auto* startColumn = new QVBoxLayout(start);
    const std::array<const char*, 2> startCaptions = {"بدأ الهيئة بالطالع", "بدأ الهيئة ببرج الحمل"};
    for (int i = 0; i < 2; ++i) {
        OptZodiacPos[i] = named(new QRadioButton(utf8(startCaptions[i]), start), "OptZodiacPos", i);
        startColumn->addWidget(OptZodiacPos[i]);
    }
    OptZodiacPos[0]->setChecked(true);

    auto* background = new QGroupBox(utf8("صورة خلفية الهيئة"), tab);
    ChkActifPic = new QCheckBox(utf8("تنشيط الخلفية"), background);
    ChkActifPic->setObjectName(QStringLiteral("ChkActifPic"));
    TxtURL = new QLineEdit(QStringLiteral("C:\\"), background);
    TxtURL->setObjectName(QStringLiteral("TxtURL"));
    // The path of the loaded picture; a typed path would load nothing.
    TxtURL->setReadOnly(true);
    TxtURL->setEnabled(false);
    CmdParcourir = new QPushButton(QStringLiteral("...."), background);
    CmdParcourir->setObjectName(QStringLiteral("CmdParcourir"));
    CmdParcourir->setAutoDefault(false);
    CmdParcourir->setEnabled(false);
    ImgeView = new QLabel(background);
    ImgeView->setObjectName(QStringLiteral("ImgeView"));
    ImgeView->setFixedSize(224, 176);
    ImgeView->setFrameShape(QFrame::Box);
    ImgeView->setScaledContents(true);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(TxtURL, 1);
    pathRow->addWidget(CmdParcourir);
    auto* backgroundColumn = new QVBoxLayout(background);
    backgroundColumn->addWidget(ChkActifPic);
    backgroundColumn->addLayout(pathRow);
    backgroundColumn->addWidget(ImgeView, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(noteRow("تحديد بدأ الهيئة الفلكية", tab));
    layout->addWidget(glyphs);
    layout->addWidget(start);
    layout->addWidget(background);
    layout->addStretch();
    return tab;
}

void FrmThemeProprietees::connectReactions()
{
    for (int i = 0; i < kSwatchCount; ++i) {
        connect(LabColor[i], &ColorSwatch::clicked, this, [this, i] { chooseColor(LabColor[i]); });
        connect(LabColor[i], &ColorSwatch::valueChanged, this, &FrmThemeProprietees::drawSample);
    }
    // toggled, not clicked: the program's changes from the planets tab must write the flag too.
    for (int p = 0; p < kPointsPerChart; ++p) {
        connect(AspectPlanet[p], &QCheckBox::toggled, this,
                [p](bool checked) { chartState().PlanetInAspects[p] = toFlag(checked); });
        connect(Planete[p], &QCheckBox::toggled, AspectPlanet[p], &QCheckBox::setChecked);
    }
    connect(ChkActifPic, &QCheckBox::toggled, TxtURL, &QLineEdit::setEnabled);
    connect(ChkActifPic, &QCheckBox::toggled, CmdParcourir, &QPushButton::setEnabled);
    connect(CmdParcourir, &QPushButton::clicked, this, &FrmThemeProprietees::browse);
    connect(CmdOK, &QPushButton::clicked, this, &FrmThemeProprietees::confirm);
    connect(CmdAnnuler, &QPushButton::clicked, this, &FrmThemeProprietees::hide);
}

AspectOrbs FrmThemeProprietees::orbs() const
{
    std::array<int, kAspectKindCount> byBox{};
    for (int box = 0; box < kAspectKindCount; ++box)
        byBox[box] = toInt16(leadingNumber(boxText(TxtAspect[box]))).value_or(0);
    AspectOrbs orbs;
    orbs.opposition = byBox[0];
    orbs.square = byBox[1];
    orbs.trine = byBox[2];
    orbs.sextile = byBox[3];
    orbs.conjunction = byBox[4];
    return orbs;
}

ColorValue FrmThemeProprietees::colorValue(int index) const
{
    return LabColor.at(index)->value();
}

bool FrmThemeProprietees::aspectShown(AspectKind kind) const
{
    for (int i = 0; i < kAspectKindCount; ++i) {
        if (kShownAspectBoxes[i].kind == kind)
            return Aspect[i]->isChecked();
    }
    return false;
}

bool FrmThemeProprietees::backgroundActive() const
{
    return ChkActifPic->isChecked();
}

bool FrmThemeProprietees::spreadGlyphs() const
{
    return ChkSpread->isChecked();
}

HouseSystem FrmThemeProprietees::houseSystem() const
{
    return static_cast<HouseSystem>(std::max(0, CmbMaisons->currentIndex()));
}

bool FrmThemeProprietees::showHouses() const
{
    return ShowMaison->isChecked();
}

void FrmThemeProprietees::copyInto(ChartState& state, const SwatchSet& swatches) const
{
    copyCommonSettings(state, swatches);
    state.PlanetInAspects.fill(kTrue);
}

void FrmThemeProprietees::copyCommonSettings(ChartState& state, const SwatchSet& swatches) const
{
    setOrbs(state, orbs());
    for (int i = 0; i < kSwatchCount; ++i) {
        if (swatches.test(i))
            state.*swatchSetting(i) = LabColor[i]->value();
    }
    for (int k = 0; k < kSlotCount; ++k)
        state.PlanetShown[k] = toFlag(Planete[k]->isChecked());
    state.ZodiacAsPictures = toFlag(!OptZodiacGrph[0]->isChecked());
}

void FrmThemeProprietees::confirmInto(ChartState& state) const
{
    copyCommonSettings(state, kConfirmedSwatches);
    state.ShowHouses = toFlag(ShowMaison->isChecked());
    state.HouseSystemChosen = houseSystem();
    state.OrientOnAscendant = toFlag(OptZodiacPos[0]->isChecked());
}

void FrmThemeProprietees::confirm()
{
    confirmInto(chartState());
    if (const auto file = settingsFile())
        storeAppearance(*this, *file);
    m_confirmed = true;
    hide();
}

void FrmThemeProprietees::chooseColor(ColorSwatch* swatch)
{
    const QColor chosen = colorChooser()(this, QColor());
    if (chosen.isValid())
        swatch->setValue(valueFromColor(chosen));
}

void FrmThemeProprietees::drawSample()
{
    SwatchColors colours{};
    for (int i = 0; i < kSwatchCount; ++i)
        colours[i] = LabColor[i]->value();
    PicSample->setPixmap(QPixmap::fromImage(colorSample(colours, kSwatchPitch)));
}

void FrmThemeProprietees::browse()
{
    const QString path = openFileChooser()(
        this, utf8("صورة خلفية الهيئة"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        QStringLiteral("Fichiers Bitmap (*.BMP *.bmp);;Fichiers JPG(*.jpg *.JPG *.jpeg *.JPEG)"));
    if (path.isEmpty())
        return;
    const QImage picture = readPictureFile(path);
    if (picture.isNull()) {
        criticalMessage()(this, utf8("تحذير هام"), utf8("تعذر فتح الصورة"));
        return;
    }
    showPicture(path, picture);
}

void FrmThemeProprietees::showPicture(const QString& path, const QImage& picture)
{
    TxtURL->setText(QDir::toNativeSeparators(path));
    setPicture(picture);
}

void FrmThemeProprietees::setPicture(const QImage& picture)
{
    m_picture = picture;
    ImgeView->setPixmap(QPixmap::fromImage(picture));
}

} // namespace velmora::ui

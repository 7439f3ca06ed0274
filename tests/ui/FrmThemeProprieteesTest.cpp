#include "ui/settings/FrmThemeProprietees.h"

#include "core/Numbers.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/settings/ColorSwatch.h"
#include "wheel/ColorValue.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QtEndian>

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

// Each swatch LabColor(0..11): the chart-state colour it sets and the sample picture's part it colours.
const std::pair<ColorValue ChartState::*, const char*> kSwatches[12] = {
    {&ChartState::ColorBackground, "background"}, {&ChartState::ColorZodiac, "zodiac"},
    {&ChartState::ColorSextile, "sextile"},       {&ChartState::ColorTrine, "trine"},
    {&ChartState::ColorSquare, "square"},         {&ChartState::ColorOpposition, "opposition"},
    {&ChartState::ColorSigns, "outlines"},        {&ChartState::ColorHouses, "houses"},
    {&ChartState::ColorPoints1, "points"},        {&ChartState::ColorConjunction, "conjunction"},
    {&ChartState::ColorPoints2, "transit points"}, {&ChartState::ColorGlyphs2, "sign symbols"}};

// Each orb box TxtAspect(0..4): its orb, and a text typed beyond what typing allows with the orb
// it reads as (the leading number, rounded as NumbersTest checks).
const struct {
    std::int16_t ChartState::*orb;
    const char* typed;
    int read;
} kOrbBoxes[5] = {{&ChartState::OrbOpposition, "2.5", 2}, {&ChartState::OrbSquare, "3.5", 4},
                  {&ChartState::OrbTrine, "7x", 7}, {&ChartState::OrbSextile, "ab", 0},
                  {&ChartState::OrbConjunction, "9", 9}};

// The chords each box Aspect(0..4) hides.
const AspectKind kAspectBoxes[5] = {AspectKind::Conjunction, AspectKind::Trine, AspectKind::Sextile,
                                    AspectKind::Square, AspectKind::Opposition};

QImage sampleOf(const FrmThemeProprietees* dialog)
{
    return dialog->PicSample->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class FrmThemeProprieteesTest final : public QObject {
    Q_OBJECT

    QTemporaryDir files;
    QStringList chooserCalls; // folder and filters of each file choice
    QString chosenPath;
    QColor chosenColor;

private slots:
    void initTestCase()
    {
        recordMessages();
        openFileChooser() = [this](QWidget*, const QString&, const QString& folder, const QString& filters) {
            chooserCalls << folder << filters;
            return chosenPath;
        };
        colorChooser() = [this](QWidget*, const QColor&) { return chosenColor; };
        // Noise, so that the JPEG's picture data is long enough to cut inside it.
        QImage noise(160, 120, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, QRandomGenerator::global()->generate());
        QByteArray bmp, jpeg;
        for (auto [bytes, format] : {std::pair{&bmp, "BMP"}, {&jpeg, "JPG"}}) {
            QBuffer buffer(bytes);
            QVERIFY(noise.save(&buffer, format));
        }
        QByteArray huge = bmp.left(54); // 100000 x 100000 pixels declared, 30 GB
        qToLittleEndian<qint32>(100000, huge.data() + 18);
        qToLittleEndian<qint32>(100000, huge.data() + 22);
        for (const auto& [name, bytes] :
             {std::pair{"x.bmp", bmp}, {"X.JPG", jpeg}, {"appended.jpg", jpeg + QByteArray(5000, '\x11')},
              {"empty.jpg", {}}, {"truncated.bmp", bmp.left(bmp.size() * 6 / 10)},
              {"truncated.jpg", jpeg.left(jpeg.size() * 9 / 10)}, {"huge.bmp", huge},
              {"corrupt.bmp", bmp.left(2) + QByteArray(bmp.size(), '\x5A')},
              {"corrupt.jpg", jpeg.left(20) + QByteArray(jpeg.size(), '\x5A')}})
            QVERIFY(writeFile(files.filePath(QString::fromLatin1(name)), bytes));
        QVERIFY(QDir(files.path()).mkdir(u"folder.jpg"_s));
    }

    void init()
    {
        messages().clear();
        chooserCalls.clear();
    }

    // The swatches stand beside the ends of the sample picture's lead lines; LabColor(11), never
    // confirmed by OK, is hidden; the background starts off, its path box and chooser disabled;
    // the signs start as pictures, the wheel oriented on the ascendant, with houses.
    void initialLayout()
    {
        FrmThemeProprietees* d = shown(fresh<FrmThemeProprietees>());
        QVERIFY(d->LabColor[11]->isHidden() && !d->backgroundActive() && !d->TxtURL->isEnabled() &&
                !d->CmdParcourir->isEnabled() && d->ChkSpread->isChecked());
        QVERIFY(d->OptZodiacGrph[1]->isChecked() && d->OptZodiacPos[0]->isChecked() && d->showHouses());
        for (const QLineEdit* box : d->TxtAspect) // the typing limit the orbs rely on
            QCOMPARE(box->maxLength(), 2);
        for (int i = 0; i < 11; ++i) {
            const QWidget* swatch = d->LabColor[i];
            const int y = swatch->mapTo(d->PicSample->parentWidget(), swatch->rect().center()).y();
            QVERIFY2(qAbs(y - d->PicSample->y() - (2 * i + 1) * FrmThemeProprietees::kSwatchPitch / 2) <= 1, kSwatches[i].second);
        }
        d->hide();
    }

    // By OK, or copied by a new chart window with the swatches it takes (LabColor(11) first),
    // with the signs as pictures (OptZodiacGrph(1)) or symbols.
    void settingsReachTheState_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QByteArray>("swatches");
        QTest::addColumn<int>("glyphs");
        QTest::newRow("OK: colours 0 to 10") << true << QByteArray("011111111111") << 1;
        QTest::newRow("solar window: swatch 11, not 10; signs as symbols") << false << QByteArray("101111111111") << 0;
    }

    void settingsReachTheState()
    {
        QFETCH(bool, confirm);
        QFETCH(QByteArray, swatches);
        QFETCH(int, glyphs);
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        for (int i = 0; i < 12; ++i)
            dialog->LabColor[i]->setValue(0x102030 + i);
        for (int box = 0; box < 5; ++box) {
            dialog->TxtAspect[box]->setMaxLength(3);
            dialog->TxtAspect[box]->setText(QString::fromLatin1(kOrbBoxes[box].typed));
        }
        for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{
                 dialog->Planete[5], dialog->Planete[17], dialog->OptZodiacGrph[glyphs], dialog->OptZodiacPos[1], dialog->ShowMaison})
            box->click();
        ChartState window;
        ChartState& state = confirm ? chartState() : window;
        state = ChartState();
        for (const auto& swatch : kSwatches)
            state.*swatch.first = -1;
        state.ZodiacAsPictures = state.OrientOnAscendant = state.ShowHouses = 7;
        dialog->show();
        if (confirm)
            dialog->CmdOK->click();
        else
            dialog->copyInto(state, FrmThemeProprietees::SwatchSet(swatches.constData()));
        QCOMPARE(dialog->isHidden(), confirm);
        dialog->hide();
        for (int i = 0; i < 12; ++i)
            QVERIFY2(state.*kSwatches[i].first == (swatches[11 - i] == '1' ? 0x102030 + i : -1), kSwatches[i].second);
        for (const auto& box : kOrbBoxes)
            QVERIFY2(state.*box.orb == box.read, box.typed);
        for (int k = 0; k < 24; ++k) // a new window searches all points
            QVERIFY2(state.PlanetShown[k] == toFlag(k != 5 && k != 17) && (confirm || state.PlanetInAspects[k] == kTrue),
                     qPrintable(u"slot %1"_s.arg(k)));
        QCOMPARE(state.ZodiacAsPictures, toFlag(glyphs == 1));
        // Start and houses reach charts through OK and the data entry, not through a window.
        QVERIFY(state.OrientOnAscendant == (confirm ? 0 : 7) && state.ShowHouses == (confirm ? 0 : 7) && !dialog->showHouses());
    }

    // A point box sets its aspect box, and so the aspect search, at once (the second chart's do
    // not); each Aspect box hides its own chords.
    void pointAndAspectBoxes()
    {
        for (int box : {0, 11, 12}) { // the first chart's Sun and black moon, the second's Sun
            FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
            chartState().PlanetInAspects.fill(kTrue);
            for (bool shown : {false, true}) {
                dialog->Planete[box]->click();
                QCOMPARE(dialog->AspectPlanet[box % 12]->isChecked(), shown || box >= 12);
                QCOMPARE(chartState().PlanetInAspects[box % 12], toFlag(shown || box >= 12));
            }
        }
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        for (int box = 0; box < 5; ++box) {
            dialog->Aspect[box]->click();
            for (int k = 0; k < 5; ++k)
                QCOMPARE(dialog->aspectShown(kAspectBoxes[k]), k != box);
            dialog->Aspect[box]->click();
        }
    }

    void samplePicture_data()
    {
        QTest::addColumn<int>("swatch");
        for (int swatch = 0; swatch < 11; ++swatch)
            QTest::newRow(kSwatches[swatch].second) << swatch;
    }

    // A new swatch colour is stored as 0x00BBGGRR, kept by a cancelled choice, and redraws its
    // part of the sample and no other: the pixels solidly (two neighbours alike) in the old colour
    // take the new one, those in another swatch's keep theirs.
    void samplePicture()
    {
        QFETCH(int, swatch);
        FrmThemeProprietees* dialog = shown(fresh<FrmThemeProprietees>());
        const QImage before = sampleOf(dialog);
        QSet<QRgb> others;
        for (int i = 0; i < 11; ++i)
            others.insert(colorFromValue(dialog->colorValue(i)).rgb());
        const QRgb old = colorFromValue(dialog->colorValue(swatch)).rgb(), picked = qRgb(13, 200, 170);
        others.remove(old);
        for (const QColor& choice : {QColor(picked), QColor()}) { // then cancelled just after a choice
            chosenColor = choice;
            QTest::mouseClick(dialog->LabColor[swatch], Qt::LeftButton);
        }
        QCOMPARE(dialog->colorValue(swatch), 0xAAC80D);
        const QImage after = sampleOf(dialog);
        dialog->hide();
        // Anti-aliased edges over the new colour move a little.
        auto near = [](QRgb a, QRgb b) { return colorDistance(a, b) <= 24; };
        int changed = 0, wrong = 0;
        for (int y = 0; y + 1 < before.height(); ++y) {
            for (int x = 0; x + 1 < before.width(); ++x) {
                const QRgb was = before.pixel(x, y);
                changed += was != after.pixel(x, y);
                if (was == before.pixel(x + 1, y) || was == before.pixel(x, y + 1))
                    wrong += was == old ? !near(after.pixel(x, y), picked) : others.contains(was) && !near(after.pixel(x, y), was);
            }
        }
        QVERIFY2(changed >= 40 && wrong == 0, qPrintable(u"%1 changed, %2 wrong"_s.arg(changed).arg(wrong)));
    }

    void backgroundPicture_data()
    {
        QTest::addColumn<QString>("name"); // in the test's folder; empty for a cancel
        QTest::addColumn<bool>("loads");
        QTest::newRow("cancelled") << "" << false;
        QTest::newRow("BMP") << "x.bmp" << true;
        QTest::newRow("JPEG with an upper-case suffix") << "X.JPG" << true;
        QTest::newRow("JPEG with data after its end") << "appended.jpg" << true;
        for (const char* name : {"empty.jpg", "folder.jpg", "truncated.bmp", "truncated.jpg",
                                 "corrupt.bmp", "corrupt.jpg", "huge.bmp"})
            QTest::newRow(name) << name << false;
    }

    void backgroundPicture()
    {
        QFETCH(QString, name);
        QFETCH(bool, loads);
        chosenPath = name.isEmpty() ? QString() : files.filePath(name);
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        dialog->ChkActifPic->click();
        QVERIFY(dialog->TxtURL->isEnabled() && dialog->backgroundActive());
        dialog->CmdParcourir->click();
        QCOMPARE(chooserCalls, QStringList({QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                                            u"Fichiers Bitmap (*.BMP *.bmp);;Fichiers JPG(*.jpg *.JPG *.jpeg *.JPEG)"_s}));
        QCOMPARE(messages(), loads || name.isEmpty() ? QStringList() : QStringList{u"تحذير هام|تعذر فتح الصورة"_s});
        QCOMPARE(dialog->TxtURL->text(), loads ? QDir::toNativeSeparators(chosenPath) : u"C:\\"_s);
        const QSize size = loads ? QSize(160, 120) : QSize(700, 550);
        QVERIFY(dialog->backgroundPicture().size() == size && dialog->ImgeView->pixmap().size() == size);
        dialog->ChkActifPic->click();
        QVERIFY(!dialog->CmdParcourir->isEnabled() && !dialog->backgroundActive());
    }

    void modalShowEnds_data()
    {
        QTest::addColumn<int>("ending");
        QTest::newRow("closed by the frame: initial values again") << 0;
        QTest::newRow("cancelled: changes kept, not copied") << 1;
        QTest::newRow("Esc: as cancel") << 2;
    }

    void modalShowEnds()
    {
        QFETCH(int, ending);
        const bool frameClose = ending == 0;
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        chartState().OrbTrine = 8;
        dialog->TxtAspect[2]->setText(u"5"_s);
        chosenPath = files.filePath(u"x.bmp"_s);
        dialog->ChkActifPic->click();
        dialog->CmdParcourir->click();
        bool shownModal = false;
        onNextModal([ending, &shownModal](QWidget* shown) {
            shownModal = shown == FrmThemeProprietees::instance() && shown->isVisible();
            if (ending == 0)
                shown->close();
            else if (ending == 1)
                FrmThemeProprietees::instance()->CmdAnnuler->click();
            else
                QTest::keyClick(shown, Qt::Key_Escape);
        });
        QWidget caller;
        FrmThemeProprietees::showModal(&caller);
        QVERIFY(shownModal);
        FrmThemeProprietees* after = FrmThemeProprietees::instance();
        // Outlives the chart window that showed it; what the next chart window takes.
        QVERIFY(after == dialog ? !frameClose : frameClose);
        QVERIFY(after->isHidden() && after->parent() == nullptr && chartState().OrbTrine == 8);
        QCOMPARE(after->orbs().trine, frameClose ? 8 : 5); // the fields kept, or the start values
        QCOMPARE(after->backgroundPicture().size(), frameClose ? QSize(700, 550) : QSize(160, 120));
    }
};

VELMORA_UI_TEST_MAIN(FrmThemeProprieteesTest)
#include "FrmThemeProprieteesTest.moc"

#include "ui/settings/FrmThemeProprietees.h"

#include "core/Numbers.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/settings/ColorSwatch.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTabWidget>
#include <QtEndian>

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

// The chart-state colour of each swatch LabColor(0..11).
const std::array<ColorValue ChartState::*, 12> kSwatchSettings = {
    &ChartState::ColorBackground, &ChartState::ColorZodiac,      &ChartState::ColorSextile,
    &ChartState::ColorTrine,      &ChartState::ColorSquare,      &ChartState::ColorOpposition,
    &ChartState::ColorSigns,      &ChartState::ColorHouses,      &ChartState::ColorPoints1,
    &ChartState::ColorConjunction, &ChartState::ColorPoints2,    &ChartState::ColorGlyphs2};

// The label standing beside a control.
QString captionOf(const QWidget* control)
{
    for (const QLabel* label : control->window()->findChildren<QLabel*>()) {
        if (label->buddy() == control)
            return label->text();
    }
    return {};
}

// Controls as one line: "+" checked, "-" not, "!" disabled; a swatch gives its caption and
// 0x00BBGGRR value, "#" when hidden.
template <typename Controls>
QString shown(const Controls& controls)
{
    QStringList out;
    for (const QWidget* c : controls) {
        QString text;
        if (const auto* button = qobject_cast<const QAbstractButton*>(c))
            text = button->text() + (button->isChecked() ? u'+' : u'-');
        else if (const auto* box = qobject_cast<const QLineEdit*>(c))
            text = box->text();
        else
            text = captionOf(c) + u"=%1%2"_s.arg(qobject_cast<const ColorSwatch*>(c)->value(), 6, 16, QChar(u'0'))
                                      .arg(c->isHidden() ? u"#"_s : QString());
        out << text + (c->isEnabled() ? QString() : u"!"_s);
    }
    return out.join(u'|');
}

struct Reach {
    bool confirm;
    const char* swatches;
    int glyphs;
};

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

    // Every control as the design starts it, the captions, and the swatches beside the ends of
    // the sample picture's lead lines.
    void initialControlsAndLayout()
    {
        FrmThemeProprietees* d = fresh<FrmThemeProprietees>();
        const QString points = u"الشمس+|القمر+|عطارد+|الزهرة+|المريخ+|المشتري+|زحل+|أورانوس+|"
                               u"نبتون+|بلوتون+|عقدة الرأس +|القمر الأسود+"_s;
        QCOMPARE(shown(std::vector<QWidget*>(d->Planete.begin(), d->Planete.begin() + 12)), points);
        QCOMPARE(shown(std::vector<QWidget*>(d->Planete.begin() + 12, d->Planete.end())), points);
        QCOMPARE(shown(d->AspectPlanet), u" الشمس+| القمر+| عطارد+| الزهرة+|المريخ+|المشتري+|زحل+| أورانوس+|"
                                         u"نبتون+|بلوتون+| الرأس الشمالي+| القمر الأسود+"_s);
        QCOMPARE(shown(d->AspectMaisons), u"إتصالات الطالع+!|إتصالات وسط السماء+!"_s);
        QCOMPARE(shown(d->TxtAspect), u"10|8|8|6|10"_s);
        QCOMPARE(shown(d->Aspect), u"القران+|التثليث+|التسديس+|التربيع+|المقابلة+"_s);
        QCOMPARE(shown(d->OptZodiacGrph) + u'|' + shown(d->OptZodiacPos),
                 u"صفة البروج رموز-|صفة البروج صور+|بدأ الهيئة بالطالع+|بدأ الهيئة ببرج الحمل-"_s);
        QCOMPARE(shown(std::vector<QWidget*>{d->ShowMaison, d->ChkActifPic, d->TxtURL, d->CmdParcourir}),
                 u"إظهار البيوت+|تنشيط الخلفية-|C:\\!|....-!"_s);
        QCOMPARE(shown(std::vector<QWidget*>{d->ChkSpread}), u"تباعد الرموز المتقاربة+"_s);
        QVERIFY(d->SSTab1->widget(0)->isAncestorOf(d->ChkSpread));
        QCOMPARE(shown(d->LabColor),
                 u"خلفية الهيئة=ffffff|خلفية الأبراج=e8ffff|خط التسديس=00ff00|خط التثليث=ff0000|"
                 u"خط التربيع=0000ff|خط المقابلة=004080|حدودالهيئة=000000|خط البيوت=8080ff|"
                 u"كواكب الطالع=404040|خط القران=0000c0|كواكب التحويل=c00000|رموز البروج=000000#"_s);

        QStringList captions{d->windowTitle(), d->CmdOK->text(), d->CmdAnnuler->text()};
        for (int i = 0; i < d->SSTab1->count(); ++i)
            captions << d->SSTab1->tabText(i);
        for (const QLineEdit* box : d->TxtAspect)
            captions << captionOf(box) + QString::number(box->maxLength());
        QCOMPARE(captions.join(u'|'), u"معلومات خاصة|موافق|إلغاء|الألوان|الكواكب|الإتصالات|تحديثات|"
                                      u"المقابلة2|التربيع2|التثليث2|التسديس2|القران2"_s);
        QCOMPARE(d->SSTab1->currentIndex(), 0);
        QCOMPARE(d->PicSample->size(), QSize(333, 544));
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d));
        for (int i = 0; i < 11; ++i) {
            const QWidget* swatch = d->LabColor[i];
            const int y = swatch->mapTo(d->PicSample->parentWidget(), swatch->rect().center()).y();
            QVERIFY(qAbs(y - d->PicSample->y() - (2 * i + 1) * FrmThemeProprietees::kSwatchPitch / 2) <= 1);
        }
        d->hide();
    }

    // By OK, or copied by a new chart window with the swatches it takes (LabColor(11) first),
    // with the signs as pictures (OptZodiacGrph(1)) or symbols.
    void settingsReachTheState_data()
    {
        QTest::addColumn<Reach>("r");
        QTest::newRow("OK: colours 0 to 10") << Reach{true, "011111111111", 1};
        QTest::newRow("OK: signs as symbols") << Reach{true, "011111111111", 0};
        QTest::newRow("one-chart window") << Reach{false, "001111111111", 1};
        QTest::newRow("solar window") << Reach{false, "101111111111", 0};
        QTest::newRow("two-chart window") << Reach{false, "111111111111", 1};
    }

    void settingsReachTheState()
    {
        QFETCH(Reach, r);
        const auto [confirm, swatches, glyphs] = r;
        const FrmThemeProprietees::SwatchSet taken(swatches);
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        for (int i = 0; i < 12; ++i)
            dialog->LabColor[i]->setValue(0x102030 + i);
        for (int box = 0; box < 5; ++box)
            dialog->TxtAspect[box]->setText(QString::number(box + 1));
        for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{dialog->Planete[5], dialog->Planete[17], dialog->OptZodiacGrph[glyphs],
                                     dialog->OptZodiacPos[1], dialog->ShowMaison})
            box->click();
        ChartState window;
        ChartState& state = confirm ? chartState() : window;
        state = ChartState();
        for (auto setting : kSwatchSettings)
            state.*setting = -1;
        state.ZodiacAsPictures = state.OrientOnAscendant = state.ShowHouses = 7;
        dialog->show();
        if (confirm)
            dialog->CmdOK->click();
        else
            dialog->copyInto(state, taken);
        QCOMPARE(dialog->isHidden(), confirm);
        dialog->hide();
        for (int i = 0; i < 12; ++i)
            QCOMPARE(state.*kSwatchSettings[i], taken.test(i) ? 0x102030 + i : -1);
        const std::array<int, 5> orbs = {state.OrbOpposition, state.OrbSquare, state.OrbTrine,
                                         state.OrbSextile, state.OrbConjunction};
        QCOMPARE(orbs, (std::array<int, 5>{1, 2, 3, 4, 5}));
        for (int k = 0; k < 24; ++k) {
            QCOMPARE(state.PlanetShown[k], toFlag(k != 5 && k != 17));
            if (!confirm) // a new window searches all points
                QCOMPARE(state.PlanetInAspects[k], kTrue);
        }
        QCOMPARE(state.ZodiacAsPictures, toFlag(glyphs == 1));
        // Start and houses reach charts through OK and the data entry, not through a window.
        QCOMPARE(state.OrientOnAscendant, confirm ? 0 : 7);
        QCOMPARE(state.ShowHouses, confirm ? 0 : 7);
        QCOMPARE(dialog->showHouses(), false);
    }

    // The orb boxes read their leading number, halves to even, beyond what typing allows.
    void orbText()
    {
        for (const auto& [text, orb] : {std::pair{".5", 0}, {"9", 9}, {"2.5", 2}, {"3.5", 4},
                                        {"ab", 0}, {"", 0}, {"7x", 7}}) {
            FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
            dialog->TxtAspect[2]->setMaxLength(3);
            dialog->TxtAspect[2]->setText(QString::fromLatin1(text));
            dialog->CmdOK->click();
            QVERIFY2(chartState().OrbTrine == orb, text);
        }
    }

    // A point box sets its aspect box, and so the aspect search, at once (the second chart's do
    // not); Aspect(0..4) are the conjunction, trine, sextile, square and opposition chords.
    void pointAndAspectBoxes()
    {
        ChartState& state = chartState();
        for (int box : {0, 11, 12}) { // the first chart's Sun and black moon, the second's Sun
            FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
            state.PlanetInAspects.fill(kTrue);
            for (bool shown : {false, true}) {
                dialog->Planete[box]->click();
                QCOMPARE(dialog->AspectPlanet[box % 12]->isChecked(), shown || box >= 12);
                QCOMPARE(state.PlanetInAspects[box % 12], toFlag(shown || box >= 12));
            }
        }
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        const AspectKind kinds[] = {AspectKind::Conjunction, AspectKind::Trine, AspectKind::Sextile,
                                    AspectKind::Square, AspectKind::Opposition};
        for (int box = 0; box < 5; ++box) {
            dialog->Aspect[box]->click();
            for (int k = 0; k < 5; ++k)
                QCOMPARE(dialog->aspectShown(kinds[k]), k != box);
            dialog->Aspect[box]->click();
        }
    }

    void samplePicture_data()
    {
        QTest::addColumn<int>("swatch");
        const char* parts[] = {"background", "zodiac",  "sextile", "trine",       "square", "opposition",
                               "outlines",   "houses",  "points",  "conjunction", "transit points"};
        for (int swatch = 0; swatch < 11; ++swatch)
            QTest::newRow(parts[swatch]) << swatch;
    }

    // A new swatch colour is stored as 0x00BBGGRR, kept by a cancelled choice, and redraws its
    // part of the sample and no other: the pixels solidly (two neighbours alike) in the old colour
    // take the new one, those in another swatch's keep theirs.
    void samplePicture()
    {
        QFETCH(int, swatch);
        FrmThemeProprietees* dialog = fresh<FrmThemeProprietees>();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QImage before = dialog->PicSample->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> others;
        for (int i = 0; i < 11; ++i)
            others.insert(colorFromValue(dialog->colorValue(i)).rgb());
        const QRgb old = colorFromValue(dialog->colorValue(swatch)).rgb();
        others.remove(old);
        const QColor picked(13, 200, 170);
        chosenColor = picked;
        QTest::mouseClick(dialog->LabColor[swatch], Qt::LeftButton);
        const QImage after = dialog->PicSample->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        chosenColor = QColor(); // cancelled just after a choice
        QTest::mouseClick(dialog->LabColor[swatch], Qt::LeftButton);
        QCOMPARE(dialog->colorValue(swatch), 0xAAC80D);
        dialog->hide();

        auto near = [](QRgb a, QRgb b) { // anti-aliased edges over the new colour move a little
            return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) <= 24;
        };
        int changed = 0;
        int wrong = 0;
        for (int y = 0; y + 1 < before.height(); ++y) {
            for (int x = 0; x + 1 < before.width(); ++x) {
                const QRgb was = before.pixel(x, y);
                changed += was != after.pixel(x, y);
                if (was != before.pixel(x + 1, y) && was != before.pixel(x, y + 1))
                    continue;
                if (was == old)
                    wrong += !near(after.pixel(x, y), picked.rgb());
                else if (others.contains(was))
                    wrong += !near(after.pixel(x, y), was);
            }
        }
        QVERIFY2(changed >= 40, qPrintable(QString::number(changed)));
        QCOMPARE(wrong, 0);
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
        QCOMPARE(dialog->backgroundPicture().size(), size);
        QCOMPARE(dialog->ImgeView->pixmap().size(), size);
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
        dialog->LabColor[0]->setValue(0x123456);
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
        QCOMPARE(after == dialog, !frameClose);
        QVERIFY(after->isHidden());
        QCOMPARE(after->parent(), nullptr); // outlives the chart window that showed it
        QCOMPARE(chartState().OrbTrine, 8);
        QCOMPARE(after->orbs().trine, frameClose ? 8 : 5); // what the next chart window takes
        QCOMPARE(after->colorValue(0), frameClose ? 0xFFFFFF : 0x123456);
        QCOMPARE(after->backgroundActive(), !frameClose);
        QCOMPARE(after->backgroundPicture().size(), frameClose ? QSize(700, 550) : QSize(160, 120));
    }
};

VELMORA_UI_TEST_MAIN(FrmThemeProprieteesTest)
#include "FrmThemeProprieteesTest.moc"

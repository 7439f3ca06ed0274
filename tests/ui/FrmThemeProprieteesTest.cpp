#include "ui/settings/FrmThemeProprietees.h"

#include "core/Numbers.h"
#include "ui/common/Platform.h"
#include "ui/settings/ColorSwatch.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

using velmora::ChartState;
using velmora::toFlag;
using velmora::ui::FrmThemeProprietees;

namespace {

// The chart-state colour of each swatch LabColor(0..11).
const std::array<velmora::ColorValue ChartState::*, 12> kSwatchSettings = {
    &ChartState::ColorBackground, &ChartState::ColorZodiac,      &ChartState::ColorSextile,
    &ChartState::ColorTrine,      &ChartState::ColorSquare,      &ChartState::ColorOpposition,
    &ChartState::ColorSigns,      &ChartState::ColorHouses,      &ChartState::ColorPoints1,
    &ChartState::ColorConjunction, &ChartState::ColorPoints2,    &ChartState::ColorGlyphs2};

QString utf8(const char* text) { return QString::fromUtf8(text); }

// A dialog with the initial values, replacing any instance an earlier test left.
FrmThemeProprietees* freshDialog()
{
    FrmThemeProprietees::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return FrmThemeProprietees::instance();
}

// The label standing beside a control.
QString captionOf(const QWidget* control)
{
    for (const QLabel* label : control->window()->findChildren<QLabel*>()) {
        if (label->buddy() == control)
            return label->text();
    }
    return {};
}

} // namespace

class FrmThemeProprieteesTest final : public QObject {
    Q_OBJECT

    QTemporaryDir files;
    QStringList messages;
    QStringList chooserCalls; // folder and filters of each file choice
    QString chosenPath;
    QColor chosenColor;

    void writeFile(const char* name, const QByteArray& bytes)
    {
        QFile out(files.filePath(QString::fromLatin1(name)));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }

private slots:
    void initTestCase()
    {
        velmora::ui::criticalMessage() = [this](QWidget*, const QString& title, const QString& text) {
            messages << title + QLatin1Char('|') + text;
        };
        velmora::ui::openFileChooser() = [this](QWidget*, const QString&, const QString& folder,
                                                const QString& filters) {
            chooserCalls << folder << filters;
            return chosenPath;
        };
        velmora::ui::colorChooser() = [this](QWidget*, const QColor&) { return chosenColor; };
        // Noise, so that the JPEG's picture data is long enough to cut inside it.
        QImage noise(160, 120, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, QRandomGenerator::global()->generate());
        QByteArray bmp, jpeg;
        for (auto [bytes, format] : {std::pair{&bmp, "BMP"}, {&jpeg, "JPG"}}) {
            const QString path = files.filePath(QStringLiteral("encoded"));
            QFile in(path);
            QVERIFY(noise.save(path, format) && in.open(QIODevice::ReadOnly));
            *bytes = in.readAll();
        }
        writeFile("x.bmp", bmp);
        writeFile("X.JPG", jpeg);
        writeFile("appended.jpg", jpeg + QByteArray(5000, '\x11'));
        writeFile("empty.jpg", {});
        writeFile("truncated.bmp", bmp.left(bmp.size() * 6 / 10));
        writeFile("truncated.jpg", jpeg.left(jpeg.size() * 9 / 10));
        writeFile("corrupt.bmp", bmp.left(2) + QByteArray(bmp.size(), '\x5A'));
        writeFile("corrupt.jpg", jpeg.left(20) + QByteArray(jpeg.size(), '\x5A'));
        QByteArray huge = bmp.left(54); // 100000 x 100000 pixels declared, 30 GB
        qToLittleEndian<qint32>(100000, huge.data() + 18);
        qToLittleEndian<qint32>(100000, huge.data() + 22);
        writeFile("huge.bmp", huge);
        QVERIFY(QDir(files.path()).mkdir(QStringLiteral("folder.jpg")));
    }

    void init()
    {
        messages.clear();
        chooserCalls.clear();
    }

    // Every control as the design starts it: "+" checked, "-" not, "!" disabled; a swatch gives
    // its caption and 0x00BBGGRR value, "#" when hidden.
    void initialControls()
    {
        const FrmThemeProprietees* d = freshDialog();
        const auto shown = [](const auto& controls) {
            QStringList out;
            for (const QWidget* c : controls) {
                QString text;
                if (const auto* button = qobject_cast<const QAbstractButton*>(c))
                    text = button->text() + QLatin1Char(button->isChecked() ? '+' : '-');
                else if (const auto* box = qobject_cast<const QLineEdit*>(c))
                    text = box->text();
                else
                    text = captionOf(c) + QStringLiteral("=%1%2").arg(
                        qobject_cast<const velmora::ui::ColorSwatch*>(c)->value(), 6, 16, QLatin1Char('0'))
                        .arg(c->isHidden() ? QStringLiteral("#") : QString());
                out << text + (c->isEnabled() ? QString() : QStringLiteral("!"));
            }
            return out.join(QLatin1Char('|'));
        };
        const QString points = utf8("الشمس+|القمر+|عطارد+|الزهرة+|المريخ+|المشتري+|زحل+|أورانوس+|"
                                    "نبتون+|بلوتون+|عقدة الرأس +|القمر الأسود+");
        QCOMPARE(shown(std::vector<QWidget*>(d->Planete.begin(), d->Planete.begin() + 12)), points);
        QCOMPARE(shown(std::vector<QWidget*>(d->Planete.begin() + 12, d->Planete.end())), points);
        QCOMPARE(shown(d->AspectPlanet),
                 utf8(" الشمس+| القمر+| عطارد+| الزهرة+|المريخ+|المشتري+|زحل+| أورانوس+|نبتون+|"
                      "بلوتون+| الرأس الشمالي+| القمر الأسود+"));
        QCOMPARE(shown(d->AspectMaisons), utf8("إتصالات الطالع+!|إتصالات وسط السماء+!"));
        QCOMPARE(shown(d->TxtAspect), QStringLiteral("10|8|8|6|10"));
        QCOMPARE(shown(d->Aspect), utf8("القران+|التثليث+|التسديس+|التربيع+|المقابلة+"));
        QCOMPARE(shown(d->OptZodiacGrph) + QLatin1Char('|') + shown(d->OptZodiacPos),
                 utf8("صفة البروج رموز-|صفة البروج صور+|بدأ الهيئة بالطالع+|بدأ الهيئة ببرج الحمل-"));
        QCOMPARE(shown(std::vector<QWidget*>{d->ShowMaison, d->ChkActifPic, d->TxtURL, d->CmdParcourir}),
                 utf8("إظهار البيوت+|تنشيط الخلفية-|C:\\!|....-!"));
        QCOMPARE(shown(d->LabColor),
                 utf8("خلفية الهيئة=ffffff|خلفية الأبراج=e8ffff|خط التسديس=00ff00|خط التثليث=ff0000|"
                      "خط التربيع=0000ff|خط المقابلة=004080|حدودالهيئة=000000|خط البيوت=8080ff|"
                      "كواكب الطالع=404040|خط القران=0000c0|كواكب التحويل=c00000|رموز البروج=000000#"));
    }

    void dialogLayout()
    {
        FrmThemeProprietees* dialog = freshDialog();
        QCOMPARE(dialog->windowTitle(), utf8("معلومات خاصة"));
        QStringList tabs{dialog->CmdOK->text(), dialog->CmdAnnuler->text()};
        for (int i = 0; i < dialog->SSTab1->count(); ++i)
            tabs << dialog->SSTab1->tabText(i);
        QCOMPARE(tabs.join(QLatin1Char('|')), utf8("موافق|إلغاء|الألوان|الكواكب|الإتصالات|تحديثات"));
        QCOMPARE(dialog->SSTab1->currentIndex(), 0);
        QStringList orbCaptions;
        for (const QLineEdit* box : dialog->TxtAspect) {
            QCOMPARE(box->maxLength(), 2);
            orbCaptions << captionOf(box);
        }
        QCOMPARE(orbCaptions.join(QLatin1Char('|')), utf8("المقابلة|التربيع|التثليث|التسديس|القران"));
        QCOMPARE(dialog->PicSample->size(), QSize(333, 544));
        // The swatches sit where the sample picture's lead lines end.
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        for (int i = 0; i < 11; ++i) {
            const QWidget* swatch = dialog->LabColor[i];
            const int y = swatch->mapTo(dialog->PicSample->parentWidget(), swatch->rect().center()).y();
            QVERIFY(qAbs(y - dialog->PicSample->y() - (2 * i + 1) * FrmThemeProprietees::kSwatchPitch / 2) <= 1);
        }
        dialog->hide();
    }

    void settingsReachTheState_data()
    {
        QTest::addColumn<bool>("confirm"); // by OK, or copied by a new chart window
        QTest::addColumn<QString>("swatches"); // LabColor(11) first
        QTest::addColumn<int>("glyphs");       // OptZodiacGrph chosen
        QTest::newRow("OK: colours 0 to 10") << true << "011111111111" << 1;
        QTest::newRow("OK: signs as symbols") << true << "011111111111" << 0;
        QTest::newRow("one-chart window") << false << "001111111111" << 1;
        QTest::newRow("solar window") << false << "101111111111" << 0;
        QTest::newRow("two-chart window") << false << "111111111111" << 1;
    }

    void settingsReachTheState()
    {
        QFETCH(bool, confirm);
        QFETCH(QString, swatches);
        QFETCH(int, glyphs);
        const FrmThemeProprietees::SwatchSet taken(swatches.toStdString());
        FrmThemeProprietees* dialog = freshDialog();
        for (int i = 0; i < 12; ++i)
            dialog->LabColor[i]->setValue(0x102030 + i);
        for (int box = 0; box < 5; ++box)
            dialog->TxtAspect[box]->setText(QString::number(box + 1));
        dialog->Planete[5]->click();
        dialog->Planete[17]->click();
        dialog->OptZodiacGrph[glyphs]->click();
        dialog->OptZodiacPos[1]->click();
        dialog->ShowMaison->click();
        ChartState window;
        ChartState& state = confirm ? velmora::chartState() : window;
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
                QCOMPARE(state.PlanetInAspects[k], velmora::kTrue);
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
            FrmThemeProprietees* dialog = freshDialog();
            dialog->TxtAspect[2]->setMaxLength(3);
            dialog->TxtAspect[2]->setText(QString::fromLatin1(text));
            dialog->CmdOK->click();
            QVERIFY2(velmora::chartState().OrbTrine == orb, text);
        }
    }

    void pointBoxesDriveTheAspectSearch()
    {
        ChartState& state = velmora::chartState();
        for (int box : {0, 11, 12}) { // the first chart's Sun and black moon, the second's Sun
            FrmThemeProprietees* dialog = freshDialog();
            state.PlanetInAspects.fill(velmora::kTrue);
            for (bool shown : {false, true}) {
                dialog->Planete[box]->click();
                QCOMPARE(dialog->AspectPlanet[box % 12]->isChecked(), shown || box >= 12);
                QCOMPARE(state.PlanetInAspects[box % 12], toFlag(shown || box >= 12));
            }
        }
    }

    void swatchClickAndAspectBoxes()
    {
        FrmThemeProprietees* dialog = freshDialog();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        chosenColor = QColor(10, 20, 30);
        QTest::mouseClick(dialog->LabColor[2], Qt::LeftButton);
        chosenColor = QColor(); // cancelled, just after another swatch took a colour
        QTest::mouseClick(dialog->LabColor[3], Qt::LeftButton);
        QCOMPARE(dialog->colorValue(2), 0x1E140A);
        QCOMPARE(dialog->colorValue(3), 0xFF0000);
        dialog->hide();
        // Aspect(0..4): conjunction, trine, sextile, square, opposition.
        const velmora::AspectKind kinds[] = {velmora::AspectKind::Conjunction, velmora::AspectKind::Trine,
                                             velmora::AspectKind::Sextile, velmora::AspectKind::Square,
                                             velmora::AspectKind::Opposition};
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

    // A new swatch colour redraws its part of the sample and no other: the pixels solidly (two
    // neighbours alike) in the old colour take the new one, those in another swatch's keep theirs.
    void samplePicture()
    {
        QFETCH(int, swatch);
        FrmThemeProprietees* dialog = freshDialog();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        const QImage before = dialog->PicSample->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> others;
        for (int i = 0; i < 11; ++i)
            others.insert(velmora::ui::colorFromValue(dialog->colorValue(i)).rgb());
        const QRgb old = velmora::ui::colorFromValue(dialog->colorValue(swatch)).rgb();
        others.remove(old);
        chosenColor = QColor(13, 200, 170);
        QTest::mouseClick(dialog->LabColor[swatch], Qt::LeftButton);
        const QImage after = dialog->PicSample->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
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
                    wrong += !near(after.pixel(x, y), chosenColor.rgb());
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
        FrmThemeProprietees* dialog = freshDialog();
        dialog->ChkActifPic->click();
        QVERIFY(dialog->TxtURL->isEnabled() && dialog->backgroundActive());
        dialog->CmdParcourir->click();
        QCOMPARE(chooserCalls,
                 QStringList({QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                              QStringLiteral("Fichiers Bitmap (*.BMP *.bmp);;"
                                             "Fichiers JPG(*.jpg *.JPG *.jpeg *.JPEG)")}));
        const QStringList failure{utf8("تحذير هام|تعذر فتح الصورة")};
        QCOMPARE(messages, loads || name.isEmpty() ? QStringList() : failure);
        QCOMPARE(dialog->TxtURL->text(), loads ? QDir::toNativeSeparators(chosenPath) : QStringLiteral("C:\\"));
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
        FrmThemeProprietees* dialog = freshDialog();
        velmora::chartState().OrbTrine = 8;
        dialog->TxtAspect[2]->setText(QStringLiteral("5"));
        dialog->LabColor[0]->setValue(0x123456);
        chosenPath = files.filePath(QStringLiteral("x.bmp"));
        dialog->ChkActifPic->click();
        dialog->CmdParcourir->click();
        QWidget caller;
        bool shownModal = false;
        QTimer::singleShot(0, &caller, [ending, &shownModal] {
            FrmThemeProprietees* shown = FrmThemeProprietees::instance();
            shownModal = shown->isModal() && shown->isVisible();
            if (ending == 0)
                shown->close();
            else if (ending == 1)
                shown->CmdAnnuler->click();
            else
                QTest::keyClick(shown, Qt::Key_Escape);
        });
        FrmThemeProprietees::showModal(&caller);
        QVERIFY(shownModal);
        FrmThemeProprietees* after = FrmThemeProprietees::instance();
        QCOMPARE(after == dialog, !frameClose);
        QVERIFY(after->isHidden());
        QCOMPARE(after->parent(), nullptr); // outlives the chart window that showed it
        QCOMPARE(velmora::chartState().OrbTrine, 8);
        QCOMPARE(after->orbs().trine, frameClose ? 8 : 5); // what the next chart window takes
        QCOMPARE(after->colorValue(0), frameClose ? 0xFFFFFF : 0x123456);
        QCOMPARE(after->backgroundActive(), !frameClose);
        QCOMPARE(after->backgroundPicture().size(), frameClose ? QSize(700, 550) : QSize(160, 120));
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    FrmThemeProprieteesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrmThemeProprieteesTest.moc"

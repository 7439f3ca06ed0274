// Mouse events go through the window system's path, so that a move without a button reaches
// the widget under the pointer as a real one does.
#define QTEST_QPA_MOUSE_HANDLING
#include "ui/chart/FrmChart.h"

#include "atlas/RequestLegalTime.h"
#include "core/ChartRequest.h"
#include "core/ChartComputation.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/common/BidiText.h"
#include "ui/listings/FrmAnalyse.h"
#include "ui/listings/FrmDignities.h"
#include "ui/listings/FrmDivert.h"
#include "ui/listings/FrmEvents.h"
#include "ui/main/MDIFrmMain.h"
#include "ui/settings/ColorSwatch.h"
#include "ui/settings/FrmThemeProprietees.h"
#include "wheel/ColorValue.h"

#include <QFileDialog>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QProgressBar>
#include <QListWidget>
#include <QTableWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSvgRenderer>
#include <QTextEdit>
#include <QWindow>

#include <cmath>

using namespace velmora;
using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

const QColor kHouseInk(255, 0, 255);
const QColor kGlyphs2Ink(0, 200, 200);
const QColor kSquareInk(255, 0, 0);
const QString kCaption = u"هيئة ميلاد لأحمد2004/3/5   7:14"_s;

// The Sun at 0°, the Moon `moon`° on, the others 23° apart, the second chart 5° on, the ascendant at 100°.
void computeSharedChart(float moon = 90.0f)
{
    ChartState& s = chartState();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const int point = slot % kPointsPerChart;
        s.Planets[slot].Longitude = (slot < kSecondChartBase ? 0.0f : 5.0f) + (point == 1 ? moon : 23.0f * point);
        s.Planets[slot].Speed = point == 4 ? -0.2f : 0.5f;
    }
    for (int cusp = 0; cusp < kSlotCount; ++cusp)
        s.HouseCusps[cusp] = std::fmod(100.0f + 30.0f * (cusp % 12), 360.0f);
    s.OrientOnAscendant = s.ShowHouses = kTrue;
    classifyPoints(s);
}

// How many pixels lie close to a colour, anti-aliased edges included.
int inkOf(const QImage& picture, const QColor& colour, int tolerance = 60)
{
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += colorDistance(picture.pixelColor(x, y), colour) < tolerance;
    return count;
}

QMdiSubWindow* frameOf(FrmChart* window)
{
    return qobject_cast<QMdiSubWindow*>(window->parentWidget());
}

// Shows the appearance dialog from the window's menu, lets `act` set it, and closes it by OK or cancel.
void appearance(FrmChart* window, bool ok, const std::function<void(FrmThemeProprietees*)>& act)
{
    onNextModal<FrmThemeProprietees>([ok, act](FrmThemeProprietees* look) {
        act(look);
        (ok ? look->CmdOK : look->CmdAnnuler)->click();
    });
    QTest::mouseClick(window->LabMenu[FrmChart::Appearance], Qt::LeftButton);
}

// Salma's natal chart's window in the main window, its events window opened from its menu and on screen.
FrmEvents* eventsOfNatalChart(MDIFrmMain& main)
{
    main.show();
    if (!computeRequest(chartState(), meccaNatalRequest()).ok)
        return nullptr;
    auto* chart = qobject_cast<FrmChart*>(
        main.openChartWindow(ChartKind::Natal, kCaption, meccaNatalRequest())->widget());
    QTest::mouseClick(chart->LabMenu[FrmChart::Events], Qt::LeftButton);
    return QTest::qWaitForWindowExposed(chart->events()) ? chart->events() : nullptr;
}

// Mecca's clock: the zone of its longitude.
double meccaOffset(double jdUt)
{
    return atlas::requestClock(meccaNatalRequest())(jdUt);
}

QString localText(double jdUt)
{
    return fromCore(localTimeText(localTimeOf(jdUt, meccaOffset(jdUt))));
}

struct Kind {
    ChartKind kind;
    QString name;
    QSize size;
    int lastPoint;
    int rotation; // 170 puts the ascendant at 9 o'clock
    bool houses;
    QString caption;
};

} // namespace

class FrmChartTest final : public QObject {
    Q_OBJECT

private:
    QMdiArea* area = nullptr;
    SaveFileChooser realSaveChooser;

    FrmChart* open(ChartKind kind, const QString& caption = kCaption,
                   const std::optional<ChartRequest>& request = std::nullopt)
    {
        auto* window = new FrmChart(kind, caption, request);
        QMdiSubWindow* frame = area->addSubWindow(window);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->show();
        return window;
    }

private slots:
    void initTestCase()
    {
        recordMessages();
        realSaveChooser = saveFileChooser();
        setClock(QDateTime(QDate(2004, 3, 5), QTime(14, 7, 30)));
        area = new QMdiArea;
        area->resize(1100, 800);
        area->show();
    }

    // The appearance dialog afresh, with distinct house and sign-symbol colours.
    void init()
    {
        messages().clear();
        computeSharedChart();
        FrmThemeProprietees* look = fresh<FrmThemeProprietees>();
        look->LabColor[7]->setValue(valueFromColor(kHouseInk));
        look->LabColor[11]->setValue(valueFromColor(kGlyphs2Ink));
    }

    void cleanup()
    {
        area->closeAllSubWindows();
        deleteClosedWindows();
    }

    // Natal, horary and comparison are widened so that the wheel clears the menu panel.
    void eachKind_data()
    {
        QTest::addColumn<Kind>("k");
        QTest::newRow("natal") << Kind{ChartKind::Natal, u"FrmNatale"_s, {560, 443}, 11, 170, true, kCaption};
        QTest::newRow("horary, captioned from the clock")
            << Kind{ChartKind::Horary, u"FrmHoraire"_s, {522, 405}, 11, 170, true, u"هيئة لتاريخ 5/3/2004   7:14"_s};
        QTest::newRow("solar: Aries at 9 o'clock, no houses, glyphs in swatch 11's colour")
            << Kind{ChartKind::Solar, u"FrmSolaire"_s, {528, 368}, 11, 270, false, kCaption};
        QTest::newRow("transits") << Kind{ChartKind::Transits, u"FrmTransite"_s, {463, 329}, 23, 170, true, kCaption};
        QTest::newRow("comparison") << Kind{ChartKind::Comparison, u"FrmSynastrie"_s, {578, 461}, 23, 170, true, kCaption};
        QTest::newRow("progressions") << Kind{ChartKind::Progressions, u"FrmProgression"_s, {591, 427}, 23, 170, true, kCaption};
    }

    void eachKind()
    {
        QFETCH(Kind, k);
        chartState().LastPointIndex = 0;
        FrmChart* window = open(k.kind);
        QCOMPARE(window->objectName(), k.name);
        QCOMPARE(window->size(), k.size);
        QCOMPARE(window->chartSize(), k.size.height());
        QCOMPARE(frameOf(window)->windowTitle(), k.caption);
        for (const ChartState* state : {&std::as_const(chartState()), &window->chart()}) {
            QCOMPARE(int(state->LastPointIndex), k.lastPoint);
            QCOMPARE(int(state->WheelRotation), k.rotation);
        }
        QCOMPARE(inkOf(window->picture(), kHouseInk) > 0, k.houses);
        QCOMPARE(inkOf(window->picture(), kGlyphs2Ink, 10) > 0, k.kind == ChartKind::Solar);

        // Narrower than its height and the menu: the wheel shrinks rather than slide under it.
        frameOf(window)->resize(frameOf(window)->size() - QSize(120, 0));
        QCOMPARE(window->chartSize(), window->width() - 117);
        QCOMPARE(window->Picture2->geometry(), QRect(window->width() - 117, 0, 117, k.size.height()));
    }

    void hoverMarkerFollowsTheItems()
    {
        FrmChart* transits = open(ChartKind::Transits);
        FrmChart* natal = open(ChartKind::Natal);
        QVERIFY(!natal->ShpSelect->isVisible());
        for (QLabel* item : natal->LabMenu) {
            QTest::mouseMove(item);
            QVERIFY(natal->ShpSelect->isVisible());
            QCOMPARE(natal->ShpSelect->pos(), item->pos());
        }
        QTest::mouseMove(natal->Picture2, QPoint(5, natal->Picture2->height() - 5));
        QCOMPARE(natal->ShpSelect->pos(), natal->LabMenu.back()->pos());
        QCOMPARE(int(chartState().LastPointIndex), 11);
        QTest::mouseMove(transits->LabMenu[0]);
        QCOMPARE(int(chartState().LastPointIndex), 23);
        QTest::mouseMove(natal->LabMenu[0]);
        QCOMPARE(int(chartState().LastPointIndex), 11);
    }

    void eachWindowKeepsItsOwnChart()
    {
        FrmChart* first = open(ChartKind::Natal);
        const QImage before = first->picture().copy();
        const std::vector<std::string> firstLines = first->chart().AspectLines;

        computeSharedChart(120.0f); // a second request
        FrmChart* second = open(ChartKind::Natal, u"هيئة ميلاد لسلمى"_s);
        QVERIFY(second->chart().AspectLines != firstLines);
        QCOMPARE(chartState().AspectLines, second->chart().AspectLines);

        area->setActiveSubWindow(frameOf(first));
        QCOMPARE(first->picture(), before);
        QCOMPARE(chartState().AspectLines, firstLines); // the window drawn last
        frameOf(first)->resize(frameOf(first)->size() + QSize(40, 40));
        frameOf(first)->resize(frameOf(first)->size() - QSize(40, 40));
        QCOMPARE(first->picture(), before);
    }

    // Window A's listing after window B was drawn, on a release without a move over the menu
    // first, the last point left by a window of the other kind: 12 + 12 lines for one chart, 24
    // + 24 for two, the last 12 houses blank.
    void listingOfItsOwnWindow_data()
    {
        QTest::addColumn<ChartKind>("kind");
        QTest::addColumn<bool>("porphyry");
        QTest::newRow("one chart") << ChartKind::Natal << false;
        QTest::newRow("two charts") << ChartKind::Transits << false;
        QTest::newRow("one chart with Porphyry houses") << ChartKind::Natal << true;
    }

    void listingOfItsOwnWindow()
    {
        QFETCH(ChartKind, kind);
        QFETCH(bool, porphyry);
        const int points = kind == ChartKind::Transits ? 24 : 12;
        chartState().HouseSystemUsed[0] = porphyry ? HouseSystem::Porphyry : HouseSystem::Placidus;
        FrmChart* window = open(kind);
        chartState().HouseSystemUsed[0] = HouseSystem::Placidus;
        computeSharedChart(120.0f);
        const std::vector<std::string> lastDrawn = open(kind)->chart().AspectLines;
        chartState().LastPointIndex = static_cast<std::int16_t>(35 - points);
        std::array<QStringList, 3> lists;
        onNextModal<FrmDivert>([&](FrmDivert* listing) {
            QVERIFY(listing->List1->isRightToLeft());
            for (int l = 0; l < 3; ++l) {
                const QListWidget* list = std::array{listing->List1, listing->List2, listing->List3}[l];
                for (int row = 0; row < list->count(); ++row)
                    lists[l] << list->item(row)->text();
            }
            // The dignities of the listing's chart, one row for each of the Sun through Saturn.
            onNextModal<FrmDignities>([&](FrmDignities* dignities) {
                QVERIFY(dignities && dignities->isRightToLeft());
                QCOMPARE(dignities->GrdDignities->rowCount(), 7);
                dignities->accept();
            });
            QTest::mouseClick(listing->CmdDignities, Qt::LeftButton);
            QTest::mouseClick(listing->CmdOK, Qt::LeftButton);
        });
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->LabMenu[FrmChart::Listing], &release);

        // The seven lots after the points; the houses' system after the cusps.
        QCOMPARE(lists[0].size(), points + 7);
        QVERIFY(lists[0].last().startsWith(u"سهم العقاب في"_s));
        QCOMPARE(lists[1].size(), points + 1 + (porphyry ? 1 : 0));
        QCOMPARE(lists[1][points], porphyry ? u"نظام البيوت: بورفيري"_s : u"نظام البيوت: بلاسيدوس"_s);
        QCOMPARE(lists[1].last().contains(u"بورفيري"_s), porphyry);
        // The degree texts read left to right inside the Arabic.
        QCOMPARE(lists[0][0] + u'|' + lists[1][0],
                 u"الشمس في \u20660°0'0''\u2069من برج الحمل | الطالع في \u206610°0'0''\u2069من برج السرطان "_s);
        for (int i = 0; i < points; ++i) {
            QVERIFY(lists[0][i].startsWith(fromCore(pointLabel(i))));
            QCOMPARE(lists[1][i].isEmpty(), i >= kPointsPerChart);
        }
        QStringList own;
        for (const std::string& line : window->chart().AspectLines)
            own << isolateRuns(fromCore(line));
        QCOMPARE(lists[2], own);
        QVERIFY(window->chart().AspectLines != lastDrawn);
    }

    void informationPanel()
    {
        FrmChart* window = open(ChartKind::Transits); // exactly as high as the panel
        QTest::mouseClick(window->LabMenu[FrmChart::Information], Qt::LeftButton);
        QVERIFY(window->PictTable->isVisible());
        QVERIFY(window->rect().contains(window->PictTable->geometry()));
        const QPoint start = window->PictTable->pos();
        QTest::mousePress(window->PicBarTitre, Qt::LeftButton, {}, QPoint(30, 10));
        QTest::mouseMove(window->PicBarTitre, QPoint(70, 35));
        QCOMPARE(window->PictTable->pos(), start + QPoint(40, 25));
        QTest::mouseMove(window->PicBarTitre, QPoint(30 - 100, 10 + 20));
        // The grabbed point stays under the pointer.
        QTest::mouseRelease(window->PicBarTitre, Qt::LeftButton, {}, QPoint(30, 10));
        const QPoint outside = start + QPoint(40 - 100, 25 + 20);
        QTest::mouseMove(window->PicBarTitre, QPoint(90, 15)); // no button: no drag
        QCOMPARE(window->PictTable->pos(), outside);

        QTest::mouseClick(window->LabFermer, Qt::LeftButton);
        QVERIFY(!window->PictTable->isVisible());
        QTest::mouseClick(window->LabMenu[FrmChart::Information], Qt::LeftButton);
        QVERIFY(window->PictTable->isVisible());
        QCOMPARE(window->PictTable->pos(), outside); // where it was

        // The last item's window, with our information page.
        FrmAnalyse* information = nullptr;
        onNextModal<FrmAnalyse>([&](FrmAnalyse* shown) {
            information = shown;
            QTest::mouseClick(information->CmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(window->LabMenu[FrmChart::Analysis], Qt::LeftButton);
        QCOMPARE(information, FrmAnalyse::instance());
        QVERIFY(information->isHidden());
        const QString text = information->Text1->toPlainText();
        QVERIFY(text.startsWith(u"فلمورا"_s) && text.contains(u"Swiss Ephemeris"_s));
    }

    // The analysis of the window's own chart. That only the shown points count is AnalysisTest's,
    // and that a new window takes the dialog's shown points FrmThemeProprieteesTest's.
    void analysisOfTheWindowsChart()
    {
        FrmChart* window = open(ChartKind::Transits);
        // The houses' system, eleven counts, the separator, a line per point and the seven lots.
        QCOMPARE(window->TxtShow->toPlainText().split(u'\n', Qt::SkipEmptyParts).size(), 1 + 12 + 24 + 7);
        const ChartAnalysis analysis = analyseChart(window->chart(), ChartKind::Transits);
        int heights = 0;
        for (int i = 0; i < 4; ++i) {
            const QFrame* bar = std::array{window->SFeu, window->STerre, window->SAir, window->SEau}[i];
            QCOMPARE(bar->geometry().bottom() + 1, 144); // the base line, 2160 twips
            QVERIFY(std::abs(bar->height() - analysis.bars[i].height / 15) <= 0.5);
            heights += bar->height();
        }
        QVERIFY(heights > 0);
    }

    void appearanceDialogReturn_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK takes the dialog's settings") << true;
        QTest::newRow("cancel keeps them but the shown aspects") << false;
    }

    void appearanceDialogReturn()
    {
        QFETCH(bool, ok);
        FrmChart* other = open(ChartKind::Natal);
        FrmChart* window = open(ChartKind::Natal);
        QVERIFY(inkOf(window->picture(), kSquareInk) > 0);
        // What OK copies is FrmThemeProprieteesTest's; here the window takes it and draws again.
        appearance(window, ok, [&](FrmThemeProprietees* look) {
            look->TxtAspect[2]->setText(u"5"_s); // trine
            look->Aspect[3]->setChecked(false);  // no square chords
        });
        const QPoint corner(window->chartSize() - 2, window->chartSize() - 2);
        QCOMPARE(int(window->chart().OrbTrine), ok ? 5 : 8);
        QCOMPARE(inkOf(window->picture(), kSquareInk), 0);
        QCOMPARE(int(other->chart().OrbTrine), 8);
        QVERIFY(inkOf(other->picture(), kSquareInk) > 0);

        // The background picture comes and goes with the dialog's option.
        for (bool active : {true, false}) {
            appearance(window, false, [active](FrmThemeProprietees* look) { look->ChkActifPic->setChecked(active); });
            const QImage picture = FrmThemeProprietees::instance()->backgroundPicture();
            QCOMPARE(window->picture().pixel(corner) == picture.pixel(corner), active);
        }

        // So does the spreading of the crowded Moon and Mars, whichever button closes.
        const QImage spread = window->picture();
        for (bool on : {false, true}) {
            appearance(window, false, [on](FrmThemeProprietees* look) { look->ChkSpread->setChecked(on); });
            QCOMPARE(window->picture() == spread, on);
        }
    }

    // A new house system at OK recomputes the window's own request; a window without one keeps
    // its cusps and their system.
    void houseSystemOfItsOwnRequest()
    {
        QVERIFY(computeRequest(chartState(), meccaNatalRequest()).ok);
        FrmChart* window = open(ChartKind::Natal, kCaption, meccaNatalRequest());
        FrmChart* without = open(ChartKind::Natal);
        const auto cusps = window->chart().HouseCusps;
        for (int index : {int(HouseSystem::Alcabitius), int(HouseSystem::Placidus)}) {
            for (FrmChart* each : {window, without})
                appearance(each, true, [index](FrmThemeProprietees* look) { look->CmbMaisons->setCurrentIndex(index); });
            const bool alcabitius = index == int(HouseSystem::Alcabitius);
            QCOMPARE(window->chart().HouseSystemUsed[0], HouseSystem(index));
            QCOMPARE(window->chart().HouseCusps[1] != cusps[1], alcabitius);
            QCOMPARE(window->chart().HouseCusps[0], cusps[0]); // the ascendant in both
            QCOMPARE(window->TxtShow->toPlainText().contains(u"ألكابيتيوس"_s), alcabitius);
            QCOMPARE(without->chart().HouseSystemUsed[0], HouseSystem::Placidus);
        }
    }

    void savePicture_data()
    {
        QTest::addColumn<QString>("name"); // empty: cancelled
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        const QString bmp = u"Bitmap files (*.BMP *.bmp)"_s;
        QTest::newRow("cancelled") << QString() << bmp << QString();
        QTest::newRow("PNG by the name") << u"chart.PNG"_s << bmp << u"chart.PNG"_s;
        QTest::newRow("SVG") << u"chart"_s << u"SVG files (*.svg)"_s << u"chart.svg"_s;
        QTest::newRow("PDF") << u"chart"_s << u"PDF files (*.pdf)"_s << u"chart.pdf"_s;
        QTest::newRow("unwritable folder") << u"file/chart.bmp"_s << bmp << QString();
    }

    void savePicture()
    {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, written);
        QTemporaryDir folder;
        QVERIFY(writeFile(folder.filePath(u"file"_s))); // a file where a folder should be
        QString offered;
        saveFileChooser() = [&](QWidget*, const QString&, const QString&, const QString& filters) {
            offered = filters;
            return SaveChoice{name.isEmpty() ? QString() : folder.filePath(name), filter};
        };
        FrmChart* window = open(ChartKind::Transits);
        // Taller than the wheel's square: S is the drawing area's height, not the window's.
        frameOf(window)->setGeometry(QRect(QPoint(), frameOf(window)->size() + QSize(300, 60)));
        const int side = window->chartSize();
        QCOMPARE(side, window->height());
        QTest::mouseClick(window->LabMenu[FrmChart::SavePicture], Qt::LeftButton);

        QVERIFY(offered.startsWith(u"Bitmap files (*.BMP *.bmp);;"_s));
        const QStringList files = written.isEmpty() ? QStringList{u"file"_s} : QStringList{written, u"file"_s};
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), files);
        const bool unwritable = name.startsWith(u"file/"_s);
        QCOMPARE(messages().size(), unwritable ? 1 : 0);
        if (unwritable)
            QVERIFY(messages()[0].startsWith(u"تحذير هام|تعذر حفظ الصورة "_s + folder.filePath(name)));
        const QString path = folder.filePath(written);
        if (written.endsWith(u"svg"_s)) {
            QCOMPARE(QSvgRenderer(path).viewBox(), QRect(0, 0, side, side));
        } else if (written.endsWith(u"pdf"_s)) {
            const QByteArray bytes = fileBytes(path);
            QVERIFY(bytes.startsWith("%PDF-") && bytes.contains("/Type /Page\n"));
        } else if (!written.isEmpty()) { // the very pixels of the screen's square
            QCOMPARE(QImage(path).convertToFormat(QImage::Format_RGB32),
                     window->picture().copy(0, 0, side, side).convertToFormat(QImage::Format_RGB32));
        }
    }

    // A name typed without a suffix takes the PNG filter's, and the overwrite question is about
    // that file: declined, then cancelled, it writes nothing.
    void realSaveDialogTakesTheFilterSuffix()
    {
        QTemporaryDir folder;
        saveFileChooser() = realSaveChooser;
        FrmChart* window = open(ChartKind::Natal);
        for (bool existing : {false, true}) {
            QString question;
            onNextModal<QFileDialog>([&](QFileDialog* dialog) {
                dialog->setDirectory(folder.path());
                auto* types = dialog->findChild<QComboBox*>(u"fileTypeCombo"_s);
                types->setFocus();
                QTest::keyClick(types, Qt::Key_Down); // PNG, as a user picks it
                auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
                name->setText(u"chart"_s);
                onNextModal<QMessageBox>([&](QMessageBox* box) {
                    if (box) {
                        question = box->text();
                        box->button(QMessageBox::No)->click();
                    }
                });
                QTest::keyClick(name, Qt::Key_Return);
                if (dialog->isVisible())
                    dialog->reject();
            });
            const QDateTime before = QFileInfo(folder.filePath(u"chart.png"_s)).lastModified();
            QTest::mouseClick(window->LabMenu[FrmChart::SavePicture], Qt::LeftButton);
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"chart.png"_s});
            QCOMPARE(question.contains(u"chart.png"_s), existing);
            if (existing)
                QCOMPARE(QFileInfo(folder.filePath(u"chart.png"_s)).lastModified(), before);
        }
    }

    // From the menu, for the clock's year; a month's search fills the grid in local time, the
    // date column sorts, the grid saves as CSV, and a fifty years' search stops at the cancel.
    void eventsOfItsOwnChart()
    {
        MDIFrmMain main;
        FrmEvents* events = eventsOfNatalChart(main);
        QVERIFY(events);
        QCOMPARE(events->DateFrom->date(), QDate(2004, 1, 1));
        QCOMPARE(events->DateTo->date(), QDate(2004, 12, 31));

        events->DateFrom->setDate(QDate(2004, 5, 1));
        events->DateTo->setDate(QDate(2004, 5, 31));
        events->CmdSearch->click();
        const int rows = events->GrdEvents->rowCount();
        QVERIFY(rows > 0);
        QCOMPARE(std::size_t(rows), events->events().size());
        const double from = swissEphemeris().julianDay(2004, 5, 1, -meccaOffset(events->events()[0].jdUt), true);
        for (const ChartEvent& event : events->events()) {
            QVERIFY(event.jdUt >= from && event.jdUt < from + 31);
            QVERIFY(event.body != kMoonSlot && event.body != kNodeSlot);
        }
        QCOMPARE(events->GrdEvents->item(0, FrmEvents::When)->text(), isolateRuns(localText(events->eventOfRow(0).jdUt)));
        QVERIFY(!events->BarProgress->isVisible() && events->CmdSave->isEnabled());

        QHeaderView* header = events->GrdEvents->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(FrmEvents::When) + 20,
                                 header->height() / 2));
        QVERIFY(events->eventOfRow(0).jdUt > events->eventOfRow(rows - 1).jdUt);

        QTemporaryDir folder;
        const QString path = folder.filePath(u"events.csv"_s);
        QString offered;
        saveFileChooser() = [path, &offered](QWidget*, const QString&, const QString& proposed, const QString&) {
            offered = proposed;
            return SaveChoice{path, u"CSV (*.csv)"_s};
        };
        events->DateTo->setDate(QDate(2004, 6, 30)); // not searched: the rows are still May's
        events->CmdSave->click();
        QVERIFY2(offered.endsWith(u"/events-20040501-20040531.csv"_s), qPrintable(offered));
        const QStringList lines = QString::fromUtf8(fileBytes(path)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), rows + 1);
        QVERIFY(lines[0].startsWith(u"التاريخ والوقت,النوع,الحدث,الموقع"_s));
        QVERIFY(lines[1].startsWith(localText(events->eventOfRow(0).jdUt)));

        events->DateFrom->setDate(QDate(1990, 1, 1));
        events->DateTo->setDate(QDate(2039, 12, 31));
        bool barShown = false;
        QTimer::singleShot(0, events, [&] {
            barShown = events->BarProgress->isVisible() && events->searching();
            events->CmdCancel->click();
        });
        events->CmdSearch->click();
        QVERIFY(barShown);
        QVERIFY(!events->searching() && !events->BarProgress->isVisible());
        QVERIFY2(events->LabStatus->text().startsWith(u"أُلغي البحث"_s), qPrintable(events->LabStatus->text()));
        for (const ChartEvent& event : events->events())
            QVERIFY(event.jdUt < from + 365.25 * 10);
        QVERIFY(messages().isEmpty());
    }

    // A double click on an aspect opens the transits over the natal chart at the row's moment,
    // one on the solar return that moment's solar chart.
    void eventRowOpensItsChart_data()
    {
        QTest::addColumn<EventKind>("kind");
        QTest::addColumn<QString>("window");
        QTest::newRow("aspect: transits") << EventKind::Aspect << u"FrmTransite"_s;
        QTest::newRow("solar return: solar chart") << EventKind::Return << u"FrmSolaire"_s;
    }

    void eventRowOpensItsChart()
    {
        QFETCH(EventKind, kind);
        QFETCH(QString, window);
        MDIFrmMain main;
        FrmEvents* events = eventsOfNatalChart(main);
        QVERIFY(events);
        events->DateFrom->setDate(QDate(2004, 5, 1));
        events->DateTo->setDate(QDate(2004, 5, 31));
        events->ChkMoon->setChecked(true);
        events->CmdSearch->click();
        const auto& found = events->events();
        QVERIFY(std::any_of(found.begin(), found.end(),
                            [](const ChartEvent& e) { return e.body == kMoonSlot; }));
        int row = 0;
        while (row < events->GrdEvents->rowCount() &&
               !(events->eventOfRow(row).kind == kind && events->eventOfRow(row).body == 0))
            ++row;
        QVERIFY(row < events->GrdEvents->rowCount());
        const ChartEvent event = events->eventOfRow(row);

        const QModelIndex cell = events->GrdEvents->model()->index(row, FrmEvents::Event);
        // Once the grid's scroll range has followed its new rows.
        const auto shown = [&] {
            events->GrdEvents->scrollTo(cell);
            return events->GrdEvents->viewport()->rect().contains(
                events->GrdEvents->visualRect(cell).center());
        };
        QTRY_VERIFY(shown());
        QTest::mouseDClick(events->GrdEvents->viewport(), Qt::LeftButton, {},
                           events->GrdEvents->visualRect(cell).center());
        QCOMPARE(main.mdiArea()->subWindowList().size(), 2);
        const auto* opened = qobject_cast<FrmChart*>(main.mdiArea()->subWindowList()[1]->widget());
        QCOMPARE(opened->objectName(), window);
        const LocalTime t = localTimeOf(event.jdUt + 30.0 / 86400.0, meccaOffset(event.jdUt));
        const DateTimeTexts moment = opened->request()->second ? opened->request()->second->texts
                                                               : opened->request()->first.texts;
        QCOMPARE(QString::fromStdString(moment.year + "/" + moment.month + "/" + moment.day + " " +
                                        moment.hour + ":" + moment.minute),
                 u"%1/%2/%3 %4:%5"_s.arg(t.year).arg(t.month).arg(t.day).arg(t.hour).arg(t.minute));
        if (kind == EventKind::Aspect)
            QCOMPARE(opened->request()->first.texts.year, meccaNatalRequest().first.texts.year);
        QVERIFY(messages().isEmpty());
    }

    void captionShowsAsTyped()
    {
        FrmChart window(ChartKind::Natal, u"هيئة ميلاد ل[*]2004"_s);
        shown(&window);
        QCOMPARE(window.windowHandle()->title(), u"هيئة ميلاد ل[*]2004"_s);
        const QImage before = window.picture().copy();
        window.setCaption(u"هيئة ميلاد لسلمى"_s);
        QCOMPARE(window.windowHandle()->title(), u"هيئة ميلاد لسلمى"_s);
        QVERIFY(window.picture() != before); // the title band shows the new caption
    }
};

VELMORA_UI_TEST_MAIN(FrmChartTest)
#include "FrmChartTest.moc"

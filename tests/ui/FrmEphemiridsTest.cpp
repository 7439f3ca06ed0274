#include "ui/ephemerides/FrmEphemirids.h"

#include "cli/EphemeridesReport.h"
#include "core/ChartState.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/settings/FrmThemeProprietees.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

const char* const kTables[] = {"planets", "houses", "aspects"};

QString cell(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

// velmora-cli ephemerides --csv for February at 12:00 at the picker's initial place, Mecca.
velmora::cli::CommandResult commandLine(int kind, bool decimal, const QString& year)
{
    std::vector<std::string> args = {"ephemerides", "--year", year.toStdString(), "--month", "2",
                                     "--hour", "12", "--lat", "21:27N", "--lon", "39:49E",
                                     "--table", kTables[kind], "--csv"};
    if (decimal)
        args.push_back("--decimal");
    velmora::ChartState state;
    return velmora::cli::runCommand(args, state, velmora::swissEphemeris());
}

// Keys typed into the hour or the year field, and what the field then holds.
struct Keys {
    bool hour;
    const char* start;
    const char* keys;
    const char* text;
    int warned;
};

// Watches the paints of the wait page and its bar, which happen only while a run holds the
// thread, and whether the window looked busy at each.
struct RunWatch final : QObject {
    FrmEphemirids* window = nullptr;
    int paints = 0;
    bool busy = true;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const QCursor* pointer = QApplication::overrideCursor();
            busy &= window->WaitPage->isVisible() &&
                    !window->GridEphemirids[window->TypeEph]->isVisible() && pointer &&
                    pointer->shape() == Qt::WaitCursor;
        }
        return false;
    }
};

} // namespace

class FrmEphemiridsTest final : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        recordMessages();
        setClock(QDateTime(QDate(1999, 11, 5), QTime(3, 4)));
    }

    void init() { messages().clear(); }

    // A frame close starts the next window again, as in every single dialog: FrmReperXYTest's.
    void startValuesSwitchingAndOk()
    {
        FrmEphemirids* window = shown(fresh<FrmEphemirids>());
        QCOMPARE(window->CmbMois->currentText(), u"نونبر"_s);
        QCOMPARE(window->TxtYears->text() + window->TxtHeur->text(), u"199912"_s);
        QVERIFY(window->Opt[0]->isChecked() && window->ChkChoix->isChecked() && !window->ChkAvant->isChecked());
        QVERIFY(!window->GridEphemirids[0]->isHidden() && window->GridEphemirids[2]->isHidden());
        // Right to left, the day column on the right.
        const QTableWidget* planets = window->GridEphemirids[0];
        QVERIFY(planets->columnViewportPosition(0) > planets->columnViewportPosition(1));
        QVERIFY(cell(planets, 1, 1).isEmpty() && !window->CmdEnregistrer->isEnabled() &&
                !window->CmdImprimer->isEnabled());
        // The Hijri box turns the month over by its 15th, and back.
        window->ChkHijri->click();
        QCOMPARE(window->CmbMois->currentText() + window->TxtYears->text(), u"شعبان1420"_s);
        window->ChkHijri->click();
        QCOMPARE(window->CmbMois->currentText() + window->TxtYears->text(), u"نونبر1999"_s);

        // Switching shows each table's last results without a run.
        runFebruary(window, 0);
        const QString sun = cell(window->GridEphemirids[0], 1, 1);
        QVERIFY(!sun.isEmpty() && window->CmdEnregistrer->isEnabled() && window->CmdImprimer->isEnabled());
        // Every column shown where the screen is wide enough, else the window as wide as the screen.
        QVERIFY(window->GridEphemirids[0]->horizontalScrollBar()->maximum() == 0 ||
                window->screen()->availableGeometry().width() - window->frameGeometry().width() <= 32);
        window->Opt[2]->click();
        QVERIFY(window->TypeEph == 2 && window->GridEphemirids[0]->isHidden() && !window->CmdEnregistrer->isEnabled() &&
                !window->CmdImprimer->isEnabled());
        window->Opt[0]->click();
        QCOMPARE(cell(window->GridEphemirids[0], 1, 1), sun);

        window->TxtHeur->setText(u"7"_s);
        window->Opt[1]->click();
        window->CmdOK->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(FrmEphemirids::instance(), window);
        QVERIFY(window->TypeEph == 1 && window->TxtHeur->text() == u"7"_s);
        QCOMPARE(cell(window->GridEphemirids[0], 1, 1), sun);
        window->show();
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(window->isVisible()); // no cancel button: Esc does nothing
    }

    // Madrid's zone from its longitude is 0: picked over the window at its month's 15th, July's,
    // its correction is 2; a run of February makes it 1.
    void aCitysCorrectionFollowsTheMonthRun()
    {
        FrmEphemirids* window = shown(fresh<FrmEphemirids>());
        FrmReperXY* picker = fresh<FrmReperXY>();
        window->CmbMois->setCurrentIndex(6);
        window->TxtYears->setText(u"2024"_s);
        QWidget* over = nullptr;
        onNextModal([&](QWidget* modal) {
            over = modal == picker ? picker->parentWidget() : nullptr;
            pickCity(picker, u"Madrid"_s);
            picker->hide();
        });
        window->CmdCoordonne->click();
        QCOMPARE(picker->TxtEteRegl->text(), u"2"_s);
        QVERIFY(over == window && !picker->parentWidget()); // its own window again afterwards
        runFebruary(window, 0);
        QCOMPARE(picker->TxtEteRegl->text(), u"1"_s);
        discard(picker); // back to the initial place for the other cases
    }

    // At 70° N Placidus is undefined: the houses table says why its days are starred.
    void polarHousesAreNamed()
    {
        FrmEphemirids* window = shown(fresh<FrmEphemirids>());
        FrmReperXY* picker = fresh<FrmReperXY>();
        picker->TxtLatDeg->setText(u"70"_s);
        runFebruary(window, 1);
        QVERIFY(window->LabNote->isVisible() && window->LabNote->text().contains(u"بورفيري"_s));
        window->Opt[0]->click();
        QVERIFY(!window->LabNote->isVisible());
        discard(picker);
    }

    void aspectsTakeTheAppearanceDialogsOrbs()
    {
        FrmEphemirids* window = shown(fresh<FrmEphemirids>());
        for (QLineEdit* orb : FrmThemeProprietees::instance()->TxtAspect)
            orb->setText(u"0"_s);
        runFebruary(window, 2);
        QCOMPARE(cell(window->GridEphemirids[2], 0, 1), QString());
        fresh<FrmThemeProprietees>(); // back to the initial orbs for the other tests
    }

    // Keys typed into the hour or year field, each as QKeySequence writes it ("Num+" the keypad),
    // and what the field then holds; a "/" after the key lets Ctrl go before it, a "*" makes its
    // release auto-repeated; "+-" clicks the year sign box, "run" the compute button. No run is
    // made with a field that is not a number in range; shortcuts and navigation never warn.
    void fieldChecks_data()
    {
        QTest::addColumn<Keys>("k");
        QTest::newRow("keypad 2 then 4 warns once, at 24") << Keys{true, "", "Num+2 Num+4", "24", 1};
        QTest::newRow("an auto-repeated release is ignored") << Keys{true, "", "a*", "a", 0};
        QTest::newRow("an Arabic-Indic digit warns") << Keys{true, "", "٣", "٣", 1};
        QTest::newRow("a minus warns") << Keys{false, "", "-", "-", 1};
        QTest::newRow("20001 warns at the fifth digit") << Keys{false, "", "Num+2 Num+0 Num+0 Num+0 Num+1", "20001", 1};
        QTest::newRow("the sign twice gives the year back") << Keys{false, "2024", "+- +-", "2024", 0};
        QTest::newRow("the sign of 20000 does not warn") << Keys{false, "20000", "+-", "-20000", 0};
        QTest::newRow("the sign lifts the length limit") << Keys{false, "2000.5", "+-", "-2000.5", 0};
        QTest::newRow("a negated year shortened has six again") << Keys{false, "2000.5", "+- Backspace 1", "-2000.", 0};
        QTest::newRow("the sign of nothing is 0") << Keys{false, "", "+-", "0", 0};
        QTest::newRow("hour 25 does not run") << Keys{true, "25", "run", "25", 2};
        QTest::newRow("hour ab does not run") << Keys{true, "ab", "run", "ab", 1};
        QTest::newRow("year 30000 does not run") << Keys{false, "30000", "run", "30000", 2};
        QTest::newRow("Ctrl let go first") << Keys{false, "1999", "Ctrl+A/ 2 0 2 4", "2024", 0};
        QTest::newRow("cut then paste a number") << Keys{false, "2024", "Ctrl+A Ctrl+X Ctrl+V", "2024", 0};
        QTest::newRow("copy then undo a digit") << Keys{false, "202", "Ctrl+A Ctrl+C End 5 Ctrl+Z", "202", 0};
        QTest::newRow("navigation") << Keys{false, "2024", "Home End Left Right Up Down Shift+Home", "2024", 0};
        QTest::newRow("Alt with a letter, which the box types") << Keys{false, "", "Alt+X", "x", 0};
    }

    void fieldChecks()
    {
        QFETCH(Keys, k);
        const QString text = QString::fromUtf8(k.text);
        FrmEphemirids* window = shown(fresh<FrmEphemirids>());
        QLineEdit* box = k.hour ? window->TxtHeur : window->TxtYears;
        box->setText(QString::fromUtf8(k.start));
        for (QString key : QString::fromUtf8(k.keys).split(u' ')) {
            if (key == u"+-"_s || key == u"run"_s) {
                (key == u"run"_s ? static_cast<QAbstractButton*>(window->CmdCalculer) : window->ChkAvant)->click();
                continue;
            }
            const bool letGoFirst = key.endsWith(u'/'), repeat = key.endsWith(u'*');
            key.chop(letGoFirst || repeat ? 1 : 0);
            const QKeyCombination combination = QKeySequence::fromString(key, QKeySequence::PortableText)[0];
            const Qt::Key code = combination.key();
            const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
            // A character key types its lower case; Home, Backspace and the like type nothing.
            const QString typed = code < Qt::Key_Escape ? QString(QChar(code).toLower()) : QString();
            QKeyEvent press(QEvent::KeyPress, code, modifiers, typed);
            QKeyEvent release(QEvent::KeyRelease, code, letGoFirst ? Qt::NoModifier : modifiers, typed, repeat);
            QApplication::sendEvent(box, &press);
            QApplication::sendEvent(box, &release);
        }
        QCoreApplication::sendPostedEvents();
        QCOMPARE(box->text(), text);
        QCOMPARE(messages().size(), k.warned);
        if (k.warned) {
            QCOMPARE(messages()[0], u"تحذير هام|الرجاء إدخال رقم صحيح"_s);
            QCOMPARE(box->selectedText(), text);
        }
        QCOMPARE(window->GridEphemirids[0]->rowCount(), 32);
    }

    // A run shows the wait page under the hourglass in place of its grid, and restores both
    // however it ends. The grid then holds the command line's table cell by cell and exports its
    // CSV; a month the library cannot compute shows its reason and clears the month before. The
    // chart's cusps are never touched.
    void runsShowTheReferenceMonth_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("decimal");
        QTest::addColumn<QString>("year");
        QTest::newRow("planets in decimal") << 0 << true << "2024";
        QTest::newRow("houses in decimal") << 1 << true << "2024";
        QTest::newRow("aspects") << 2 << false << "2024";
        QTest::newRow("beyond the ephemeris files") << 0 << false << "20000";
    }

    void runsShowTheReferenceMonth()
    {
        QFETCH(int, kind);
        QFETCH(bool, decimal);
        QFETCH(QString, year);
        FrmEphemirids* window = shown(fresh<FrmEphemirids>());
        window->ChkChoix->setChecked(!decimal);
        auto& cusps = velmora::chartState().HouseCusps;
        cusps.fill(7.0f);
        RunWatch watch;
        watch.window = window;
        window->WaitPage->installEventFilter(&watch);
        window->LabBar->installEventFilter(&watch);
        const auto printed = commandLine(kind, decimal, year);
        if (printed.exitCode != velmora::cli::kExitOk) // after a month that ran
            runFebruary(window, kind);
        runFebruary(window, kind, year);
        QVERIFY(watch.paints > 0 && watch.busy);
        QVERIFY(!window->GridEphemirids[kind]->isHidden() && window->WaitPage->isHidden());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(std::all_of(cusps.begin(), cusps.end(), [](float cusp) { return cusp == 7.0f; }));

        const QTableWidget* grid = window->GridEphemirids[kind];
        if (printed.exitCode != velmora::cli::kExitOk) {
            // In Arabic with the library's words; the range's dates are isolated left to right, so
            // a minus stays before its year.
            QCOMPARE(messages().size(), 1);
            QCOMPARE(messages()[0].section(u'\n', 0, 0), u"تحذير هام|التاريخ خارج مدى ملفات الأزياج المثبتة، وهو من "
                                                          u"\u206631/12/-5401\u2069 إلى \u206630/12/5399\u2069"_s);
            QVERIFY(messages()[0].section(u'\n', 1).startsWith(u"SwissEph file"_s));
            QCOMPARE(grid->rowCount(), 32);
            QCOMPARE(cell(grid, 1, 1), QString());
            QVERIFY(!window->CmdEnregistrer->isEnabled() && !window->CmdImprimer->isEnabled());
            return;
        }
        QCOMPARE(messages(), QStringList());
        QCOMPARE(watch.paints, 1 + 29); // the page once, then the bar after each day
        // Cell by cell the command line's table, which its own test checks against swetest.
        QStringList lines = QString::fromStdString(printed.output).split(u'\n');
        lines.removeLast();
        QCOMPARE(grid->rowCount(), lines.size());
        for (int row = 0; row < lines.size(); ++row) {
            const QStringList cells = lines[row].split(u',');
            // The day column's Hijri days are a second line of the grid only.
            for (int column = 0; column < cells.size(); ++column)
                QVERIFY2(cell(grid, row, column).section(u'\n', 0, 0) == cells[column], qPrintable(u"row %1 column %2"_s.arg(row).arg(column)));
        }
        QVERIFY(cell(grid, kind == 2 ? 0 : 1, 0).endsWith(u"\n\u2067\u206620\u2069 رجب \u20661445\u2069\u2069"_s));
        QCOMPARE(grid->font().family() == velmora::kSymbolFontFamily, kind == 2);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"month.csv"_s);
        saveFileChooser() = [&](QWidget*, const QString&, const QString&, const QString&) {
            return SaveChoice{path, {}};
        };
        window->CmdEnregistrer->click();
        // Saved through the one table writer: what the command line prints.
        QCOMPARE(fileBytes(path).toStdString(), printed.output);
    }
};

VELMORA_UI_TEST_MAIN(FrmEphemiridsTest)
#include "FrmEphemiridsTest.moc"

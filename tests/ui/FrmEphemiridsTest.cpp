#include "ui/ephemerides/FrmEphemirids.h"

#include "cli/EphemeridesReport.h"
#include "core/ChartState.h"
#include "core/Numbers.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/place/FrmReperXY.h"
#include "ui/settings/FrmThemeProprietees.h"

#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>

#include <cmath>

using namespace velmora::ui;
using namespace velmora::ui::testing;
using namespace Qt::StringLiterals;

namespace {

const char* const kTables[] = {"planets", "houses", "aspects"};

// A shown window with its start values: a run paints while it holds the thread, so it is on screen.
FrmEphemirids* freshWindow()
{
    FrmEphemirids* window = fresh<FrmEphemirids>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("the window was not exposed");
    return window;
}

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

void runFebruary(FrmEphemirids* window, int kind, const QString& year = u"2024"_s)
{
    window->CmbMois->setCurrentIndex(1);
    window->TxtYears->setText(year);
    window->Opt[kind]->click();
    window->CmdCalculer->click();
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

    void startValuesSwitchingOkAndFrameClose()
    {
        FrmEphemirids* window = freshWindow();
        auto expectStart = [](FrmEphemirids* w) {
            QCOMPARE(w->CmbMois->currentText(), u"نونبر"_s);
            QCOMPARE(w->TxtYears->text() + w->TxtHeur->text(), u"199912"_s);
            QVERIFY(w->Opt[0]->isChecked() && w->ChkChoix->isChecked() && !w->ChkAvant->isChecked());
            QVERIFY(!w->GridEphemirids[0]->isHidden() && w->GridEphemirids[1]->isHidden() &&
                    w->GridEphemirids[2]->isHidden());
            for (int kind : {0, 2}) {
                const QTableWidget* grid = w->GridEphemirids[kind];
                QCOMPARE(QSize(grid->columnCount(), grid->rowCount()), QSize(kind ? 60 : 13, 32));
            }
            QCOMPARE(cell(w->GridEphemirids[0], 0, 12), u"القمر الأسود"_s);
            // Right to left, the day column on the right.
            const QTableWidget* planets = w->GridEphemirids[0];
            QVERIFY(planets->columnViewportPosition(0) > planets->columnViewportPosition(1));
            QCOMPARE(cell(w->GridEphemirids[0], 1, 1), QString());
            QVERIFY(!w->CmdEnregistrer->isEnabled() && !w->CmdImprimer->isEnabled());
        };
        expectStart(window);

        // Switching shows each table's last results without a run.
        runFebruary(window, 0);
        const QString sun = cell(window->GridEphemirids[0], 1, 1);
        QVERIFY(!sun.isEmpty() && window->CmdEnregistrer->isEnabled() && window->CmdImprimer->isEnabled());
        // Every column shown where the screen is wide enough, else the window as wide as the screen.
        QVERIFY(window->GridEphemirids[0]->horizontalScrollBar()->maximum() == 0 ||
                window->screen()->availableGeometry().width() - window->frameGeometry().width() <= 32);
        window->Opt[2]->click();
        QVERIFY(window->TypeEph == 2 && window->GridEphemirids[0]->isHidden() &&
                !window->GridEphemirids[2]->isHidden());
        QCOMPARE(window->GridEphemirids[2]->rowCount(), 32);
        QVERIFY(!window->CmdEnregistrer->isEnabled() && !window->CmdImprimer->isEnabled());
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

        window->close();
        deleteClosedWindows();
        expectStart(FrmEphemirids::instance());
    }

    // Madrid's zone from its longitude is 0: its correction is 2 in July and 1 in February.
    void aCitysCorrectionFollowsTheMonthRun()
    {
        FrmEphemirids* window = freshWindow();
        FrmReperXY* picker = fresh<FrmReperXY>();
        picker->setReferenceMoment(QDateTime(QDate(2024, 7, 15), QTime(12, 0)));
        picker->show();
        QTest::mouseClick(picker->CmdStyle, Qt::LeftButton);
        QTest::keyClicks(picker->TxtRecherche, u"Madrid"_s);
        QTest::keyClick(picker->TxtRecherche, Qt::Key_Return);
        QCOMPARE(picker->TxtEteRegl->text(), u"2"_s);
        picker->hide();
        runFebruary(window, 0);
        QCOMPARE(picker->TxtEteRegl->text(), u"1"_s);
        picker->close(); // back to the initial place for the other cases
        deleteClosedWindows();
    }

    // At 70° N Placidus is undefined: the houses table says why its days are starred.
    void polarHousesAreNamed()
    {
        FrmEphemirids* window = freshWindow();
        FrmReperXY* picker = fresh<FrmReperXY>();
        picker->TxtLatDeg->setText(u"70"_s);
        runFebruary(window, 1);
        QVERIFY(cell(window->GridEphemirids[1], 1, 0).endsWith(u'*'));
        QVERIFY(window->LabNote->isVisible() && window->LabNote->text().contains(u"بورفيري"_s));
        window->Opt[0]->click();
        QVERIFY(!window->LabNote->isVisible());
        picker->close();
        deleteClosedWindows();
    }

    void aspectsTakeTheAppearanceDialogsOrbs()
    {
        FrmEphemirids* window = freshWindow();
        for (QLineEdit* orb : FrmThemeProprietees::instance()->TxtAspect)
            orb->setText(u"0"_s);
        runFebruary(window, 2);
        QCOMPARE(cell(window->GridEphemirids[2], 0, 1), QString());
        fresh<FrmThemeProprietees>(); // back to the initial orbs for the other tests
    }

    // Keys typed into the hour or year field ("kp" a keypad digit, "*" an auto-repeated release, "bs" Backspace,
    // "+-" a click on the year sign box, "run" one on the compute button) and what the field
    // then holds. No run is made with a field that is not a number in range.
    void fieldChecks_data()
    {
        QTest::addColumn<Keys>("k");
        QTest::newRow("keypad 2 then 4 warns once, at 24") << Keys{true, "", "kp2 kp4", "24", 1};
        QTest::newRow("a main-row digit passes") << Keys{true, "", "1", "1", 0};
        QTest::newRow("a letter warns and stays") << Keys{true, "", "a", "a", 1};
        QTest::newRow("an auto-repeated release is ignored") << Keys{true, "", "a*", "a", 0};
        QTest::newRow("an Arabic-Indic digit warns") << Keys{true, "", "٣", "٣", 1};
        QTest::newRow("a minus warns") << Keys{false, "", "-", "-", 1};
        QTest::newRow("20001 warns at the fifth digit") << Keys{false, "", "kp2 kp0 kp0 kp0 kp1", "20001", 1};
        QTest::newRow("the sign twice gives the year back") << Keys{false, "2024", "+- +-", "2024", 0};
        QTest::newRow("the sign of 20000 does not warn") << Keys{false, "20000", "+-", "-20000", 0};
        QTest::newRow("the sign lifts the length limit") << Keys{false, "2000.5", "+-", "-2000.5", 0};
        QTest::newRow("a negated year shortened has six again") << Keys{false, "2000.5", "+- bs 1", "-2000.", 0};
        QTest::newRow("the sign of nothing is 0") << Keys{false, "", "+-", "0", 0};
        QTest::newRow("hour 25 does not run") << Keys{true, "25", "run", "25", 2};
        QTest::newRow("hour ab does not run") << Keys{true, "ab", "run", "ab", 1};
        QTest::newRow("year 30000 does not run") << Keys{false, "30000", "run", "30000", 2};
    }

    void fieldChecks()
    {
        QFETCH(Keys, k);
        const QString text = QString::fromUtf8(k.text);
        FrmEphemirids* window = freshWindow();
        QLineEdit* box = k.hour ? window->TxtHeur : window->TxtYears;
        box->setText(QString::fromUtf8(k.start));
        for (const QString& key : QString::fromUtf8(k.keys).split(u' ')) {
            if (key == u"bs"_s) {
                QTest::keyClick(box, Qt::Key_Backspace);
                continue;
            }
            if (key == u"+-"_s || key == u"run"_s) {
                (key == u"run"_s ? static_cast<QAbstractButton*>(window->CmdCalculer) : window->ChkAvant)->click();
                continue;
            }
            const bool repeat = key.endsWith(u'*');
            const QString typed = repeat ? key.left(1) : key.right(1);
            const auto modifiers = key.startsWith(u"kp"_s) ? Qt::KeypadModifier : Qt::NoModifier;
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, typed);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, modifiers, typed, repeat);
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

    // Real key events in the year field: "^a" is Ctrl+A, "^a/" Ctrl+A with Ctrl let go before
    // the A, "kp1" a keypad digit, "S-home" Shift+Home. Shortcuts and navigation never warn.
    void shortcutsNavigationAndDigitsDoNotWarn_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("select all, then main-row digits") << u"1999"_s << u"^a 2 0 2 4"_s << u"2024"_s;
        QTest::newRow("Ctrl let go first") << u"1999"_s << u"^a/ 2 0 2 4"_s << u"2024"_s;
        QTest::newRow("keypad digits") << u"1999"_s << u"^a kp1 kp9"_s << u"19"_s;
        QTest::newRow("cut then paste a number") << u"2024"_s << u"^a ^x ^v"_s << u"2024"_s;
        QTest::newRow("copy then undo a digit") << u"202"_s << u"^a ^c end 5 ^z"_s << u"202"_s;
        QTest::newRow("navigation") << u"2024"_s << u"home end left right up down S-home"_s << u"2024"_s;
        QTest::newRow("Alt with a letter, which the box types") << u""_s << u"!x"_s << u"x"_s;
    }

    void shortcutsNavigationAndDigitsDoNotWarn()
    {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        FrmEphemirids* window = freshWindow();
        QLineEdit* box = window->TxtYears;
        box->setText(start);
        const QMap<QString, Qt::Key> named = {{u"home"_s, Qt::Key_Home}, {u"end"_s, Qt::Key_End},
                                              {u"left"_s, Qt::Key_Left}, {u"right"_s, Qt::Key_Right},
                                              {u"up"_s, Qt::Key_Up}, {u"down"_s, Qt::Key_Down}};
        for (QString key : keys.split(u' ')) {
            Qt::KeyboardModifiers modifiers;
            const bool letGoFirst = key.endsWith(u'/');
            for (const auto& [prefix, modifier] : {std::pair{u"^"_s, Qt::ControlModifier}, {u"!"_s, Qt::AltModifier},
                                                   {u"S-"_s, Qt::ShiftModifier}, {u"kp"_s, Qt::KeypadModifier}}) {
                if (key.startsWith(prefix)) {
                    modifiers |= modifier;
                    key = key.mid(prefix.size());
                }
            }
            key.remove(u'/');
            const QChar c = key.at(0);
            const Qt::Key code = named.contains(key) ? named[key]
                                 : c.isDigit()       ? Qt::Key(Qt::Key_0 + c.digitValue())
                                                     : Qt::Key(Qt::Key_A + (c.unicode() - u'a'));
            QTest::keyPress(box, code, modifiers);
            QTest::keyRelease(box, code, letGoFirst ? Qt::NoModifier : modifiers);
        }
        QCoreApplication::sendPostedEvents();
        QCOMPARE(messages(), QStringList());
        QTEST(box->text(), "text");
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
        FrmEphemirids* window = freshWindow();
        window->ChkChoix->setChecked(!decimal);
        auto& cusps = velmora::chartState().HouseCusps;
        cusps.fill(7.0f);
        RunWatch watch;
        watch.window = window;
        window->WaitPage->installEventFilter(&watch);
        window->LabBar->installEventFilter(&watch);
        const auto printed = commandLine(kind, decimal, year);
        if (printed.exitCode != velmora::cli::kExitOk) { // after a month that ran
            runFebruary(window, kind);
            QVERIFY(window->CmdEnregistrer->isEnabled() && window->CmdImprimer->isEnabled());
        }
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
        QCOMPARE(grid->rowCount(), 30); // 29 days and a header or a spare row
        if (kind != 2) {
            // Every day's longitudes or cusps as swetest gives them for February 2024 at Mecca.
            QFile reference(QStringLiteral(VELMORA_TEST_DATA "/swetest_month.txt"));
            QVERIFY(reference.open(QIODevice::ReadOnly | QIODevice::Text));
            int compared = 0;
            for (const QString& line : QString::fromUtf8(reference.readAll()).split(u'\n')) {
                const QStringList f = line.split(u' ');
                if (f.size() < 4 || f[1] != (kind == 0 ? u"point"_s : u"cusp"_s))
                    continue;
                const int column = f[2].toInt() + (kind == 0 ? 1 : 0);
                // A retrograde mark may follow the number.
                const double shown = velmora::leadingNumber(cell(grid, f[0].toInt(), column).toStdString());
                QVERIFY2(std::fabs(shown - f[3].toDouble()) < 1e-3, qPrintable(line));
                ++compared;
            }
            QCOMPARE(compared, 29 * 12);
        } else {
            QVERIFY(!cell(grid, 0, 1).isEmpty()); // the first day's first aspect
        }
        QCOMPARE(grid->font().family() == velmora::kSymbolFontFamily, kind == 2);

        QTemporaryDir dir;
        const QString path = dir.filePath(u"month.csv"_s);
        saveFileChooser() = [&](QWidget*, const QString&, const QString&, const QString&) {
            return SaveChoice{path, {}};
        };
        window->CmdEnregistrer->click();
        // Saved through the one table writer: what the command line prints.
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), printed.output);
    }
};

VELMORA_UI_TEST_MAIN(FrmEphemiridsTest)
#include "FrmEphemiridsTest.moc"

#include "ui/ephemerides/FrmEphemirids.h"

#include "cli/EphemeridesReport.h"
#include "core/ChartState.h"
#include "resources/VelmoraResources.h"
#include "ui/common/Platform.h"
#include "ui/main/FrmReperXY.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using velmora::ui::FrmEphemirids;

namespace {

// A window with its start values, replacing any instance an earlier test left.
FrmEphemirids* freshWindow()
{
    FrmEphemirids::instance()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FrmEphemirids* window = FrmEphemirids::instance();
    window->show();
    // A run paints while it holds the thread, which needs a window on the screen.
    if (!QTest::qWaitForWindowExposed(window))
        qWarning("the window was not exposed");
    return window;
}

// Types one key: "kp4" a keypad digit, "Left", "Home", "Tab", "Shift" keys that type nothing,
// "a*" an auto-repeated release of a, anything else the character it names.
void type(QLineEdit* box, const QString& token)
{
    static const QMap<QString, Qt::Key> silent = {{QStringLiteral("Left"), Qt::Key_Left},
                                                  {QStringLiteral("Home"), Qt::Key_Home},
                                                  {QStringLiteral("Tab"), Qt::Key_Tab},
                                                  {QStringLiteral("Shift"), Qt::Key_Shift}};
    if (silent.contains(token))
        return QTest::keyClick(box, silent[token]);
    const bool keypad = token.startsWith(QStringLiteral("kp"));
    const bool repeat = token.endsWith(QLatin1Char('*'));
    const QString typed = keypad ? token.mid(2) : repeat ? token.left(1) : token;
    const auto modifiers = keypad ? Qt::KeypadModifier : Qt::NoModifier;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, modifiers, typed);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, modifiers, typed, repeat);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
}

QString cell(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

// velmora-cli ephemerides for February 2024 at the picker's initial place, Mecca.
velmora::cli::CommandResult commandLine(const char* table, bool decimal, bool csv, const char* year = "2024")
{
    std::vector<std::string> args = {"ephemerides", "--year", year, "--month", "2", "--hour", "12",
                                     "--lat", "21:27N", "--lon", "39:49E", "--table", table};
    if (decimal)
        args.push_back("--decimal");
    if (csv)
        args.push_back("--csv");
    velmora::ChartState state;
    return velmora::cli::runCommand(args, state, velmora::swissEphemeris());
}

void runMonth(FrmEphemirids* window, int kind, const char* year = "2024")
{
    window->CmbMois->setCurrentIndex(1);
    window->TxtYears->setText(QString::fromLatin1(year));
    window->Opt[kind]->click();
    window->CmdCalculer->click();
}

} // namespace

class FrmEphemiridsTest final : public QObject {
    Q_OBJECT

private:
    QStringList warnings;

    // Observes the window at every paint of the wait page or its bar, that is during a run.
    struct RunWatch final : QObject {
        FrmEphemirids* window = nullptr;
        int paints = 0;
        bool waitShownGridHidden = true;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint) {
                ++paints;
                const QCursor* pointer = QApplication::overrideCursor();
                waitShownGridHidden &= window->WaitPage->isVisible() &&
                                       !window->GridEphemirids[window->TypeEph]->isVisible() &&
                                       pointer && pointer->shape() == Qt::WaitCursor;
            }
            return false;
        }
    };

private slots:
    void initTestCase()
    {
        velmora::ui::criticalMessage() = [this](QWidget*, const QString& title, const QString& text) {
            warnings.append(title + QLatin1Char('|') + text);
        };
        velmora::ui::clock() = [] { return QDateTime(QDate(1999, 11, 5), QTime(3, 4)); };
    }

    void init() { warnings.clear(); }

    void firstOpeningShowsTheStartValues()
    {
        FrmEphemirids* window = freshWindow();
        QCOMPARE(window->windowTitle(), QString::fromUtf8("حساب الأزياج الفلكية"));
        QCOMPARE(window->CmbMois->currentText(), QString::fromUtf8("نونبر"));
        QCOMPARE(window->TxtYears->text(), QStringLiteral("1999"));
        QCOMPARE(window->TxtHeur->text(), QStringLiteral("12"));
        QVERIFY(window->ChkChoix->isChecked() && !window->ChkAvant->isChecked());
        QVERIFY(window->Opt[0]->isChecked());
        QVERIFY(window->GridEphemirids[0]->isVisible());
        QVERIFY(!window->GridEphemirids[1]->isVisible() && !window->GridEphemirids[2]->isVisible());
        const QTableWidget* planets = window->GridEphemirids[0];
        QCOMPARE(planets->rowCount(), 32);
        QCOMPARE(planets->columnCount(), 13);
        QCOMPARE(cell(planets, 0, 12), QString::fromUtf8("القمر الأسود"));
        QCOMPARE(cell(planets, 1, 1), QString());
        QCOMPARE(window->GridEphemirids[2]->columnCount(), 60);
        QVERIFY(!window->CmdEnregistrer->isEnabled());
        QCOMPARE(warnings.size(), 0);

        bool pickerShown = false;
        QTimer::singleShot(0, [&pickerShown] {
            velmora::ui::FrmReperXY* picker = velmora::ui::FrmReperXY::instance();
            pickerShown = picker->isVisible() && picker->isModal();
            picker->CmdOK->click();
        });
        window->CmdCoordonne->click();
        QVERIFY(pickerShown);
    }

    void keyAndNumberChecks_data()
    {
        QTest::addColumn<bool>("hour");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("warned");
        auto keys = [](const char* list) { return QString::fromUtf8(list).split(QLatin1Char(' ')); };
        QTest::newRow("keypad 2 then 4 warns once, at 24") << true << keys("kp2 kp4") << "24" << 1;
        QTest::newRow("a main-row digit passes") << true << keys("1 Left Home Shift") << "1" << 0;
        QTest::newRow("a letter warns and stays") << true << keys("a") << "a" << 1;
        QTest::newRow("an auto-repeated release is ignored") << true << keys("a*") << "a" << 0;
        QTest::newRow("an Arabic-Indic digit warns") << true << keys("٣") << QString::fromUtf8("٣") << 1;
        QTest::newRow("a minus warns") << false << keys("-") << "-" << 1;
        QTest::newRow("20001 warns at the fifth digit") << false << keys("kp2 kp0 kp0 kp0 kp1") << "20001" << 1;
        QTest::newRow("20000 passes") << false << keys("2 0 0 0 0 Tab") << "20000" << 0;
    }

    void keyAndNumberChecks()
    {
        QFETCH(bool, hour);
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        QFETCH(int, warned);
        FrmEphemirids* window = freshWindow();
        QLineEdit* box = hour ? window->TxtHeur : window->TxtYears;
        box->selectAll();
        for (const QString& key : keys)
            type(box, key);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(box->text(), text);
        QCOMPARE(warnings.size(), warned);
        if (warned) {
            QCOMPARE(warnings[0], QString::fromUtf8("تحذير هام|الرجاء إدخال رقم صحيح"));
            QCOMPARE(box->selectedText(), text);
        }
    }

    void yearSignNegatesTheYear_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("result");
        QTest::newRow("twice gives the year back") << "2024" << 2 << "2024";
        QTest::newRow("20000 without a warning") << "20000" << 1 << "-20000";
        QTest::newRow("longer than the field allows") << "2000.5" << 1 << "-2000.5";
        QTest::newRow("empty reads as 0") << "" << 1 << "0";
    }

    void yearSignNegatesTheYear()
    {
        QFETCH(QString, year);
        QFETCH(int, clicks);
        QFETCH(QString, result);
        FrmEphemirids* window = freshWindow();
        window->TxtYears->setText(year);
        for (int i = 0; i < clicks; ++i)
            window->ChkAvant->click();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(window->TxtYears->text(), result);
        QCOMPARE(warnings.size(), 0);
    }

    void badFieldsRefuseTheRun_data()
    {
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("year");
        QTest::newRow("hour 25") << "25" << "2024";
        QTest::newRow("hour ab") << "ab" << "2024";
        QTest::newRow("hour -1") << "-1" << "2024";
        QTest::newRow("year 30000") << "12" << "30000";
    }

    void badFieldsRefuseTheRun()
    {
        QFETCH(QString, hour);
        QFETCH(QString, year);
        FrmEphemirids* window = freshWindow();
        window->TxtHeur->setText(hour);
        window->TxtYears->setText(year);
        QCoreApplication::sendPostedEvents();
        warnings.clear();
        window->CmdCalculer->click();
        QCOMPARE(warnings.size(), 1);
        QLineEdit* refused = year == QStringLiteral("2024") ? window->TxtHeur : window->TxtYears;
        QCOMPARE(refused->selectedText(), refused->text());
        QCOMPARE(window->GridEphemirids[0]->rowCount(), 32);
        QCOMPARE(cell(window->GridEphemirids[0], 1, 0), QString());
    }

    void tablesSwitchWithoutARunAndOkKeepsThem()
    {
        FrmEphemirids* window = freshWindow();
        runMonth(window, 0);
        const QString sun = cell(window->GridEphemirids[0], 1, 1);
        QVERIFY(!sun.isEmpty());
        window->Opt[2]->click();
        QCOMPARE(window->TypeEph, 2);
        QVERIFY(window->GridEphemirids[2]->isVisible() && !window->GridEphemirids[0]->isVisible());
        QCOMPARE(window->GridEphemirids[2]->rowCount(), 32); // still blank: nothing ran
        QVERIFY(!window->CmdEnregistrer->isEnabled());
        window->Opt[0]->click();
        QCOMPARE(cell(window->GridEphemirids[0], 1, 1), sun);
        QVERIFY(window->CmdEnregistrer->isEnabled());

        window->TxtHeur->setText(QStringLiteral("7"));
        window->Opt[1]->click();
        window->CmdOK->click();
        QVERIFY(!window->isVisible());
        QCOMPARE(FrmEphemirids::instance(), window);
        QCOMPARE(window->TypeEph, 1);
        QCOMPARE(window->TxtHeur->text(), QStringLiteral("7"));
        QCOMPARE(window->TxtYears->text(), QStringLiteral("2024"));
        QCOMPARE(cell(window->GridEphemirids[0], 1, 1), sun);

        QTest::keyClick(window, Qt::Key_Escape);
        window->show();
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(window->isVisible()); // no cancel button: Esc does nothing
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        FrmEphemirids* again = FrmEphemirids::instance();
        QCOMPARE(again->TypeEph, 0);
        QCOMPARE(again->TxtYears->text(), QStringLiteral("1999"));
        QCOMPARE(cell(again->GridEphemirids[0], 1, 1), QString());
    }

    // The wait page replaces the grid, under the hourglass, for the whole run, also when the
    // library cannot compute the month; then its reason is shown and the table stays.
    void runShowsTheWaitPage_data()
    {
        QTest::addColumn<QString>("year");
        QTest::newRow("a month") << "2024";
        QTest::newRow("beyond the ephemeris files") << "20000";
    }

    void runShowsTheWaitPage()
    {
        QFETCH(QString, year);
        FrmEphemirids* window = freshWindow();
        runMonth(window, 0, "2023");
        const QString before = cell(window->GridEphemirids[0], 1, 1);
        RunWatch watch;
        watch.window = window;
        window->WaitPage->installEventFilter(&watch);
        window->LabBar->installEventFilter(&watch);
        runMonth(window, 0, year.toLatin1().constData());
        QVERIFY(watch.paints > 0);
        QVERIFY(watch.waitShownGridHidden);
        QVERIFY(window->GridEphemirids[0]->isVisible() && !window->WaitPage->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        const auto failure = commandLine("planets", false, false, year.toLatin1().constData());
        if (failure.exitCode == velmora::cli::kExitOk) {
            QCOMPARE(warnings.size(), 0);
            QCOMPARE(watch.paints, 29 + 1); // the page once, then the bar after each day
        } else {
            QCOMPARE(warnings, QStringList(QString::fromUtf8("تحذير هام|") + QString::fromStdString(failure.error)));
            QCOMPARE(cell(window->GridEphemirids[0], 1, 1), before);
        }
    }

    // The grids show the command line's tables cell by cell, the export is its CSV, and the
    // houses leave the chart's cusps alone.
    void tablesEqualTheCommandLine_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("decimal");
        QTest::newRow("planets") << 0 << false;
        QTest::newRow("houses in decimal") << 1 << true;
        QTest::newRow("aspects") << 2 << false;
    }

    void tablesEqualTheCommandLine()
    {
        QFETCH(int, kind);
        QFETCH(bool, decimal);
        const char* const names[] = {"planets", "houses", "aspects"};
        FrmEphemirids* window = freshWindow();
        window->ChkChoix->setChecked(!decimal);
        auto& cusps = velmora::chartState().HouseCusps;
        cusps.fill(7.0f);
        runMonth(window, kind);
        QCOMPARE(warnings, QStringList());
        QVERIFY(std::all_of(cusps.begin(), cusps.end(), [](float cusp) { return cusp == 7.0f; }));

        const auto printed = commandLine(names[kind], decimal, false);
        QCOMPARE(printed.exitCode, velmora::cli::kExitOk);
        const QStringList lines = QString::fromStdString(printed.output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const QTableWidget* grid = window->GridEphemirids[kind];
        QCOMPARE(grid->rowCount(), 30); // 29 days of February 2024 and a header or spare row
        for (int r = 0; r < grid->rowCount(); ++r) {
            const QStringList cells = r < lines.size() ? lines[r].split(QLatin1Char('\t')) : QStringList();
            for (int c = 0; c < grid->columnCount(); ++c)
                QCOMPARE(cell(grid, r, c), c < cells.size() ? cells[c] : QString());
        }
        if (kind == 2)
            QCOMPARE(grid->font().family(), velmora::kSymbolFontFamily);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("month.csv"));
        velmora::ui::saveFileChooser() = [&](QWidget*, const QString&, const QString&, const QString&) {
            return velmora::ui::SaveChoice{path, {}};
        };
        QVERIFY(window->CmdEnregistrer->isEnabled());
        window->CmdEnregistrer->click();
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll().toStdString(), commandLine(names[kind], decimal, true).output);
    }

    // With VELMORA_SCREENSHOTS set to a folder, saves each table of February 2024 at Mecca and
    // the wait page as the user sees them.
    void screenshot()
    {
        const QString dir = qEnvironmentVariable("VELMORA_SCREENSHOTS");
        if (dir.isEmpty())
            QSKIP("VELMORA_SCREENSHOTS not set");
        FrmEphemirids* window = freshWindow();
        const char* const names[] = {"planets", "houses", "aspects"};
        for (int kind : {0, 1, 2}) {
            runMonth(window, kind);
            QVERIFY(window->grab().save(dir + QStringLiteral("/ephemerides-%1.png").arg(QLatin1String(names[kind]))));
        }
        window->GridEphemirids[window->TypeEph]->hide();
        window->WaitPage->show();
        window->LabBar->resize(window->Label1->width() / 3, window->Label1->height());
        QVERIFY(window->grab().save(dir + QStringLiteral("/ephemerides-wait.png")));
        window->close();
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setLayoutDirection(Qt::RightToLeft);
    velmora::registerSymbolFont();
    FrmEphemiridsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrmEphemiridsTest.moc"

#include "ui/ephemerides/FrmEphemirids.h"

#include "core/ChartState.h"
#include "core/Hijri.h"
#include "core/Numbers.h"
#include "resources/VelmoraResources.h"
#include "ui/common/BidiText.h"
#include "ui/common/DialogParts.h"
#include "ui/common/FailureMessages.h"
#include "ui/common/Look.h"
#include "ui/common/NumberKeyCheck.h"
#include "ui/common/Printing.h"
#include "ui/common/Seams.h"
#include "ui/common/Twips.h"
#include "ui/place/FrmReperXY.h"
#include "ui/settings/FrmThemeProprietees.h"
#include "wheel/CoreText.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSaveFile>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace velmora::ui {

namespace {

constexpr int kYearsLength = 6;
constexpr int kStartRows = 32;
constexpr double kYearLimit = 20000;
// The wait page in pixels, relative to the grids' corner.
constexpr int kBarLeft = 72;
constexpr int kBarTop = 208;
constexpr int kBarHeight = 25;
constexpr float kBarFullWidth = 5000.0f / kTwipsPerPixel;
// The window's borders, which the screen must hold besides its client area.
constexpr int kWindowFrameAllowance = 24;

const char* const kMonths[12] = {"يناير", "فبراير", "مارس",  "أبريل",  "ماي",   "يونيو",
                                 "يوليوز", "غشت",    "شتنبر", "أكتوبر", "نونبر", "دجنبر"};
const char* const kFileNames[3] = {"planets", "houses", "aspects"};

QFont sizedFont(double pointSize, bool bold = false)
{
    QFont f = dialogFont();
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

QLabel* label(const char* text, const QFont& f, QWidget* parent)
{
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setFont(f);
    return l;
}

QLabel* colourBlock(const QColor& colour, QWidget* parent)
{
    auto* block = new QLabel(parent);
    QPalette palette = block->palette();
    palette.setColor(QPalette::Window, colour);
    block->setPalette(palette);
    block->setAutoFillBackground(true);
    return block;
}

// Each cell reads left to right, as a position's degrees, minutes and seconds must, in a grid
// whose columns run right to left.
class LeftToRightCells final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->direction = Qt::LeftToRight;
    }
};

QTableWidget* grid(const QFont& f, QSize size, QWidget* parent)
{
    auto* g = new QTableWidget(parent);
    // Right to left like the program, the day column on the right; the fixed row and column are
    // cells, so the grid's own headers are not shown.
    g->setItemDelegate(new LeftToRightCells(g));
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setFont(f);
    g->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
    g->setGeometry(QRect(QPoint(0, 0), size));
    return g;
}

// A row sets its label on the right and its field after it, as the right-to-left panel reads.
QHBoxLayout* fieldRow(QWidget* caption, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->addWidget(caption, 1);
    row->addWidget(field);
    return row;
}

// For the length of a run: the hourglass, and the wait page in place of the grid; both are
// restored however the run ends.
class RunDisplay {
public:
    explicit RunDisplay(FrmEphemirids& window)
        : m_window(window)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        window.LabBar->resize(0, kBarHeight);
        window.GridEphemirids[window.TypeEph]->hide();
        window.WaitPage->show();
        // The run holds the interface thread: the page is painted now, the bar after each day.
        window.WaitPage->repaint();
    }
    ~RunDisplay()
    {
        m_window.WaitPage->hide();
        m_window.GridEphemirids[m_window.TypeEph]->show();
        QApplication::restoreOverrideCursor();
    }
    RunDisplay(const RunDisplay&) = delete;
    RunDisplay& operator=(const RunDisplay&) = delete;

private:
    FrmEphemirids& m_window;
};

} // namespace

FrmEphemirids::FrmEphemirids()
    : SingleDialog(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint)
{
    setWindowTitle(QString::fromUtf8("حساب الأزياج الفلكية"));
    setFont(dialogFont());
    setLayoutDirection(Qt::RightToLeft);
    registerSymbolFont();
    buildControls();

    const QDate today = clock()().date();
    CmbMois->setCurrentIndex(today.month() - 1);
    TxtYears->setText(QString::number(today.year()));
    connectReactions();
}

void FrmEphemirids::buildControls()
{
    buildGridArea();
    buildInputsPanel();

    CmdOK = new QPushButton(QString::fromUtf8("&موافق"), this);
    CmdOK->setFont(sizedFont(12, true));
    CmdOK->setMinimumHeight(px(495));
    CmdEnregistrer = new QPushButton(QString::fromUtf8("حفظ الجدول"), this);
    CmdEnregistrer->setMinimumSize(px(1695), px(495));
    CmdEnregistrer->setEnabled(false);
    CmdImprimer = new QPushButton(QString::fromUtf8("طباعة"), this);
    CmdImprimer->setMinimumSize(px(1695), px(495));
    CmdImprimer->setEnabled(false);
    for (QPushButton* button : {CmdCoordonne, CmdCalculer, CmdOK, CmdEnregistrer, CmdImprimer})
        button->setAutoDefault(false);
    LabNote = new QLabel(this);
    LabNote->setFont(sizedFont(9));
    LabNote->hide();

    // Right to left: the panel and OK in the first column, on the right.
    auto* layout = new QGridLayout(this);
    layout->addWidget(Frame, 0, 0);
    layout->addWidget(m_gridArea, 0, 1);
    layout->addWidget(CmdOK, 1, 0);
    auto* tableCommands = new QHBoxLayout;
    tableCommands->addWidget(CmdEnregistrer);
    tableCommands->addWidget(CmdImprimer);
    tableCommands->addStretch();
    layout->addLayout(tableCommands, 1, 1);
    layout->addWidget(LabNote, 2, 0, 1, 2);
    layout->setVerticalSpacing(16);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmEphemirids::buildGridArea()
{
    // The grids, and beneath them the wait page that a run uncovers.
    m_gridArea = new QWidget(this);
    const QSize gridSize(px(7095), px(5295));
    m_gridArea->setFixedSize(gridSize);
    buildWaitPage(gridSize);

    const QFont tableFont = sizedFont(9);
    GridEphemirids[0] = grid(tableFont, gridSize, m_gridArea);
    GridEphemirids[1] = grid(tableFont, gridSize, m_gridArea);
    GridEphemirids[2] = grid(sizedFont(12), gridSize, m_gridArea);
    for (int kind = 0; kind < 3; ++kind) {
        fillGrid(kind, blankEphemeridesTable(EphemerisTableKind(kind), kStartRows));
        GridEphemirids[kind]->setVisible(kind == 0);
    }
}

void FrmEphemirids::buildWaitPage(const QSize& size)
{
    WaitPage = new QWidget(m_gridArea);
    WaitPage->setGeometry(QRect(QPoint(0, 0), size));
    WaitPage->setAutoFillBackground(true);
    WaitPage->hide();
    Label1 = colourBlock(QColor(255, 224, 192), WaitPage);
    Label1->setGeometry(kBarLeft, kBarTop, static_cast<int>(kBarFullWidth), kBarHeight);
    LabBar = colourBlock(QColor(255, 128, 0), WaitPage);
    LabBar->setGeometry(kBarLeft, kBarTop, 9, kBarHeight);
    Lab[0] = label("الرجاء الإنتظار", sizedFont(12), WaitPage);
    Lab[1] = label("....", sizedFont(12), WaitPage);
    // The message ends above the bar's middle; the dots follow it on the left.
    const int messageRight = 299;
    const QSize message = Lab[0]->sizeHint();
    Lab[0]->setGeometry(messageRight - message.width(), 168, message.width(), message.height());
    const QSize dots = Lab[1]->sizeHint();
    Lab[1]->setGeometry(Lab[0]->x() - 3 - dots.width(), 168, dots.width(), dots.height());
}

void FrmEphemirids::buildInputsPanel()
{
    Frame = new QGroupBox(this);
    Frame->setMinimumWidth(px(2175));
    CmbMois = new QComboBox(Frame);
    for (const char* month : kMonths)
        CmbMois->addItem(QString::fromUtf8(month));
    CmbMois->setFont(sizedFont(9));
    CmbMois->setFixedWidth(px(1095));
    Label[0] = label("الشهور", sizedFont(9, true), Frame);
    TxtYears = new QLineEdit(Frame);
    keepLengthLimit(TxtYears, kYearsLength);
    TxtYears->setFont(sizedFont(9));
    TxtYears->setFixedWidth(px(1095));
    Label[1] = label("السنوات", sizedFont(9, true), Frame);
    ChkAvant = new QCheckBox(QString::fromUtf8("قبل الميلاد"), Frame);
    ChkAvant->setFont(sizedFont(11.25));
    ChkHijri = new QCheckBox(QString::fromUtf8("هجري"), Frame);
    ChkHijri->setFont(sizedFont(11.25));
    buildTableChoice();
    ChkChoix = new QCheckBox(QString::fromUtf8("الحساب بالزوايا"), Frame);
    ChkChoix->setFont(sizedFont(11.25));
    ChkChoix->setChecked(true);
    CmdCalculer = new QPushButton(QString::fromUtf8("حساب الأزياج"), Frame);
    CmdCalculer->setFont(sizedFont(11.25));
    CmdCalculer->setMinimumSize(px(1695), px(495));

    auto* panel = new QVBoxLayout(Frame);
    panel->addLayout(fieldRow(Label[0], CmbMois));
    panel->addSpacing(12);
    panel->addLayout(fieldRow(Label[1], TxtYears));
    auto* calendars = new QHBoxLayout;
    calendars->addWidget(ChkAvant);
    calendars->addWidget(ChkHijri);
    panel->addLayout(calendars);
    panel->addWidget(Frame1);
    panel->addWidget(ChkChoix);
    panel->addWidget(CmdCalculer, 0, Qt::AlignHCenter);
    panel->addStretch();
}

void FrmEphemirids::buildTableChoice()
{
    // The kind of table, the hour and the place.
    Frame1 = new QGroupBox(Frame);
    Opt[0] = new QRadioButton(QString::fromUtf8("أطوال الكواكب"), Frame1);
    Opt[1] = new QRadioButton(QString::fromUtf8("أطوال البيوت"), Frame1);
    Opt[2] = new QRadioButton(QString::fromUtf8("الإتصالات"), Frame1);
    auto* tableChoice = new QButtonGroup(this);
    for (int kind = 0; kind < 3; ++kind) {
        Opt[kind]->setFont(sizedFont(9.75));
        tableChoice->addButton(Opt[kind], kind);
    }
    Opt[0]->setChecked(true);
    connect(tableChoice, &QButtonGroup::idToggled, this, [this](int kind, bool selected) {
        if (selected)
            showTable(kind);
    });
    TxtHeur = new QLineEdit(QStringLiteral("12"), Frame1);
    TxtHeur->setMaxLength(2);
    TxtHeur->setFixedWidth(px(375) + 4);
    Label2[1] = label("الساعة 24", sizedFont(9), Frame1);
    CmdCoordonne = new QPushButton(QStringLiteral("..."), Frame1);
    QFont dots9 = sizedFont(9.75, true);
    dots9.setFamilies(QStringList{QStringLiteral("MS Sans Serif")} + dots9.families());
    CmdCoordonne->setFont(dots9);
    CmdCoordonne->setFixedSize(px(375) + 4, px(255) + 2);
    Label2[0] = label("إحداثيات البلد", sizedFont(9), Frame1);

    auto* choiceColumn = new QVBoxLayout(Frame1);
    for (int kind : {0, 2, 1})
        choiceColumn->addWidget(Opt[kind]);
    choiceColumn->addSpacing(12);
    choiceColumn->addLayout(fieldRow(Label2[1], TxtHeur));
    choiceColumn->addSpacing(12);
    choiceColumn->addLayout(fieldRow(Label2[0], CmdCoordonne));
}

void FrmEphemirids::connectReactions()
{
    for (QLineEdit* box : {TxtHeur, TxtYears})
        box->installEventFilter(this);
    connect(TxtHeur, &QLineEdit::textChanged, this, [this](const QString& hour) {
        if (leadingNumber(hour.toStdString()) > 23)
            warnAndSelect(TxtHeur);
    });
    connect(TxtYears, &QLineEdit::textChanged, this, [this](const QString& year) {
        if (std::fabs(leadingNumber(year.toStdString())) > kYearLimit)
            warnAndSelect(TxtYears);
    });
    connect(ChkAvant, &QCheckBox::toggled, this, &FrmEphemirids::negateYear);
    connect(ChkHijri, &QCheckBox::toggled, this, &FrmEphemirids::turnMonthOver);
    connect(CmdCoordonne, &QPushButton::clicked, this, [this] {
        FrmReperXY* picker = FrmReperXY::instance();
        picker->setReferenceMoment(referenceRow());
        picker->execOver(this);
    });
    connect(CmdCalculer, &QPushButton::clicked, this, &FrmEphemirids::calculate);
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdEnregistrer, &QPushButton::clicked, this, &FrmEphemirids::saveTable);
    connect(CmdImprimer, &QPushButton::clicked, this, &FrmEphemirids::printTable);
}

DateTimeTexts FrmEphemirids::referenceRow() const
{
    // A city's legal time is taken at the middle of the month, at the table's hour.
    const CivilMonth month = civilMonth().value_or(CivilMonth{CmbMois->currentIndex(), boxText(TxtYears)});
    return {"15", std::to_string(month.monthIndex + 1), month.yearText, boxText(TxtHeur), "0"};
}

std::optional<FrmEphemirids::CivilMonth> FrmEphemirids::civilMonth() const
{
    if (!ChkHijri->isChecked())
        return CivilMonth{CmbMois->currentIndex(), boxText(TxtYears)};
    const auto year = wholeInt16(boxText(TxtYears));
    const auto civil = year ? civilOf({*year, CmbMois->currentIndex() + 1, 15}) : std::nullopt;
    if (!civil)
        return std::nullopt;
    return CivilMonth{civil->month - 1, std::to_string(civil->year)};
}

void FrmEphemirids::turnMonthOver(bool toHijri)
{
    // The month shown in the other calendar, by its 15th; a year that is none stays as typed.
    const auto year = wholeInt16(boxText(TxtYears));
    const int month = CmbMois->currentIndex() + 1;
    std::optional<CalendarDate> turned;
    if (year && toHijri) {
        if (const auto hijri = hijriOf({*year, month, 15}))
            turned = CalendarDate{hijri->year, hijri->month, hijri->day};
    } else if (year) {
        turned = civilOf({*year, month, 15});
    }
    CmbMois->clear();
    for (int m = 1; m <= 12; ++m)
        CmbMois->addItem(toHijri ? fromCore(hijriMonthName(m)) : QString::fromUtf8(kMonths[m - 1]));
    CmbMois->setCurrentIndex((turned ? turned->month : month) - 1);
    if (turned)
        TxtYears->setText(QString::number(turned->year));
}

void FrmEphemirids::showTable(int kind)
{
    for (int k = 0; k < 3; ++k)
        GridEphemirids[k]->setVisible(k == kind);
    TypeEph = kind;
    enableTableCommands();
    showNote();
}

void FrmEphemirids::showNote()
{
    LabNote->setText(m_notes[TypeEph]);
    LabNote->setVisible(!m_notes[TypeEph].isEmpty());
}

void FrmEphemirids::negateYear()
{
    const QString negated = fromCore(numberText(-leadingNumber(boxText(TxtYears))));
    // The limit is for typing: the negated year of a full field is one character longer.
    setTextBeyondLimit(TxtYears, negated);
}

void FrmEphemirids::warnAndSelect(QLineEdit* box)
{
    // Queued: inside its key or text handler the box would move the selection afterwards.
    QMetaObject::invokeMethod(
        box,
        [this, box] {
            warnNotANumber(this);
            box->selectAll();
        },
        Qt::QueuedConnection);
}

bool FrmEphemirids::fieldsAllowARun()
{
    if (ChkHijri->isChecked() && wholeNumberText(boxText(TxtYears)) && !civilMonth()) {
        criticalMessage()(this, QString::fromUtf8("تحذير هام"),
                          QString::fromUtf8("السنة الهجرية غير صحيحة"));
        TxtYears->setFocus();
        TxtYears->selectAll();
        return false;
    }
    // A run reads every text by its leading number, so an hour of 99 would shift every row by
    // days and letters would mean 0: such fields are refused rather than computed.
    QLineEdit* refused = nullptr;
    const auto year = wholeNumberText(boxText(TxtYears));
    const auto hour = wholeNumberText(boxText(TxtHeur));
    if (!year || std::fabs(*year) > kYearLimit)
        refused = TxtYears;
    else if (!hour || *hour < 0 || *hour > 23 || *hour != std::floor(*hour))
        refused = TxtHeur;
    if (!refused)
        return true;
    warnNotANumber(this);
    refused->setFocus();
    refused->selectAll();
    return false;
}

void FrmEphemirids::calculate()
{
    if (!fieldsAllowARun())
        return;
    const int kind = TypeEph;
    QString failure;
    {
        const RunDisplay display(*this);
        FrmReperXY* picker = FrmReperXY::instance();
        // A city's legal time follows the month asked for, not the one shown when it was picked.
        picker->followLegalTime(referenceRow());
        picker->readPlace();
        const ZoneInput zone = picker->zoneInput();

        EphemeridesInput input;
        input.monthIndex = CmbMois->currentIndex();
        input.yearText = boxText(TxtYears);
        input.hijri = ChkHijri->isChecked();
        input.hourText = boxText(TxtHeur);
        input.table = EphemerisTableKind(kind);
        input.zodiacal = ChkChoix->isChecked();
        input.zoneText = zone.zoneText;
        input.summerText = zone.summerText;
        input.latitude = chartState().PlaceLatitude;
        input.longitude = chartState().PlaceLongitude;
        // The orbs a new chart would take: the chart state holds none until a chart window or
        // the appearance dialog's OK has copied them.
        input.orbs = FrmThemeProprietees::instance()->orbs();
        input.houses = FrmThemeProprietees::instance()->houseSystem();

        const EphemeridesResult result =
            runEphemerides(input, swissEphemeris(), [this](int day, int days) {
                const float width = kBarFullWidth / static_cast<float>(days) * static_cast<float>(day);
                LabBar->resize(static_cast<int>(std::lround(width)), kBarHeight);
                LabBar->repaint();
            });
        if (result.ok) {
            m_tables[kind] = result.table;
            const QString year = fromCore(input.yearText);
            m_fileNames[kind] = QStringLiteral("%1-%2-%3%4.csv")
                                    .arg(QLatin1String(kFileNames[kind]), year)
                                    .arg(input.monthIndex + 1, 2, 10, QLatin1Char('0'))
                                    .arg(input.hijri ? QStringLiteral("-hijri") : QString());
            const QString monthName = input.hijri ? fromCore(hijriMonthName(input.monthIndex + 1))
                                            : QString::fromUtf8(kMonths[input.monthIndex]);
            m_titles[kind] = QStringLiteral("%1 - %2 %3").arg(Opt[kind]->text(), monthName, year);
            fillGrid(kind, result.table);
            showOtherCalendarDays(kind, result.table, input);
            m_notes[kind] = fromCore(result.houseNote);
        } else {
            // The month's table is gone rather than left to pass for the one refused.
            failure = ephemerisFailureMessage(result.failure);
            m_tables[kind].reset();
            m_notes[kind].clear();
            fillGrid(kind, blankEphemeridesTable(EphemerisTableKind(kind), kStartRows));
        }
    }
    // The new month's columns may ask for more room.
    fitGridsToScreen();
    // Shown once the grid is back in place.
    if (!failure.isEmpty())
        criticalMessage()(this, QString::fromUtf8("تحذير هام"), failure);
    enableTableCommands();
    showNote();
}

void FrmEphemirids::fillGrid(int kind, const EphemeridesTable& table)
{
    QTableWidget* g = GridEphemirids[kind];
    const QBrush fixedCell = palette().button();
    g->clearContents();
    g->setRowCount(table.rowCount());
    // One line a row again, after a run that showed the Hijri days.
    for (int r = 0; r < table.rowCount(); ++r)
        g->setRowHeight(r, g->verticalHeader()->defaultSectionSize());
    g->setColumnCount(table.columnCount());
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            const bool fixed = r < table.fixedRows || c < table.fixedColumns;
            const std::string& cell = table.cells[r][c];
            if (cell.empty() && !fixed)
                continue;
            auto* item = new QTableWidgetItem(fromCore(cell));
            if (fixed)
                item->setBackground(fixedCell);
            g->setItem(r, c, item);
        }
    }
    if (!table.fontName.empty()) {
        QFont f = g->font();
        f.setFamilies({fromCore(table.fontName)});
        g->setFont(f);
    }
    g->resizeColumnsToContents();
}

void FrmEphemirids::showOtherCalendarDays(int kind, const EphemeridesTable& table,
                                          const EphemeridesInput& input)
{
    // Under each day of the grid its day in the other calendar, the year where the table or a
    // month begins; the table itself, which is saved and printed, keeps its day numbers.
    QTableWidget* g = GridEphemirids[kind];
    const auto year = wholeInt16(input.yearText);
    for (int r = table.fixedRows; year && r < table.rowCount(); ++r) {
        QTableWidgetItem* item = g->item(r, 0);
        const auto day = wholeInt16(table.cells[r][0]);
        if (!item || !day)
            continue;
        const CalendarDate date{*year, input.monthIndex + 1, *day};
        std::optional<CalendarDate> other;
        if (input.hijri)
            other = civilOf({date.year, date.month, date.day});
        else if (const auto hijri = hijriOf(date))
            other = CalendarDate{hijri->year, hijri->month, hijri->day};
        if (!other)
            continue;
        std::string text = std::to_string(other->day) + " " +
                           (input.hijri ? kMonths[other->month - 1] : hijriMonthName(other->month));
        if (r == table.fixedRows || other->day == 1)
            text += " " + std::to_string(other->year);
        // An isolate that reads right to left inside the cell's left-to-right line.
        item->setText(item->text() + u'\n' + QChar(0x2067) + isolateRuns(fromCore(text)) +
                      QChar(0x2069));
    }
    g->resizeColumnsToContents();
    g->resizeRowsToContents();
}

void FrmEphemirids::saveTable()
{
    const std::optional<EphemeridesTable>& table = m_tables[TypeEph];
    if (!table)
        return;
    const SaveChoice choice =
        saveFileChooser()(this, QString::fromUtf8("حفظ الجدول"),
                          QDir::home().filePath(m_fileNames[TypeEph]),
                          QStringLiteral("CSV (*.csv)"));
    if (choice.path.isEmpty())
        return;
    const std::string csv = ephemeridesTableText(*table, TableTextForm::Csv);
    QSaveFile file(choice.path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(csv.data(), static_cast<qint64>(csv.size())) ==
                           static_cast<qint64>(csv.size()) &&
                       file.commit();
    if (!saved) {
        criticalMessage()(this, QString::fromUtf8("تحذير هام"),
                          QString::fromUtf8("تعذر حفظ الملف ") + choice.path + QStringLiteral("\n") +
                              file.errorString());
    }
}

void FrmEphemirids::enableTableCommands()
{
    // Only a month computed can be saved or printed: a refused run leaves nothing to either.
    const bool computed = m_tables[TypeEph].has_value();
    CmdEnregistrer->setEnabled(computed);
    CmdImprimer->setEnabled(computed);
}

void FrmEphemirids::printTable()
{
    const int kind = TypeEph;
    if (!m_tables[kind])
        return;
    printPreview()(this, m_titles[kind], [this, kind](QPrinter& printer) {
        if (ui::printTable(printer, m_titles[kind], *m_tables[kind], GridEphemirids[kind]->font(),
                           m_notes[kind])
                .empty())
            criticalMessage()(this, QString::fromUtf8("تحذير هام"),
                              QString::fromUtf8("تعذرت طباعة الجدول"));
    });
}

void FrmEphemirids::setVisible(bool visible)
{
    // Before showing, so that the window is placed at its new size.
    if (visible)
        fitGridsToScreen();
    SingleDialog::setVisible(visible);
}

void FrmEphemirids::fitGridsToScreen()
{
    // Wide enough for every column of the planets and houses tables, as far as the screen
    // allows; the aspects table's 60 columns scroll. It only grows, keeping its right edge.
    const QRect before = frameGeometry();
    const QRect screenArea = screen()->availableGeometry();
    int needed = m_gridArea->width();
    for (const QTableWidget* g : {GridEphemirids[0], GridEphemirids[1]}) {
        needed = std::max(needed, g->horizontalHeader()->length() + 2 * g->frameWidth() +
                                      g->verticalScrollBar()->sizeHint().width() + 2);
    }
    layout()->activate();
    const int others = sizeHint().width() - m_gridArea->width();
    const int room = screenArea.width() - others - kWindowFrameAllowance;
    const int width = std::max(std::min(needed, room), px(7095));
    if (width == m_gridArea->width())
        return;
    m_gridArea->setFixedWidth(width);
    for (QTableWidget* g : GridEphemirids)
        g->resize(width, g->height());
    // The wait message and its bar keep their size, in the middle.
    WaitPage->move((width - WaitPage->width()) / 2, 0);
    layout()->activate();
    if (isVisible())
        move(std::max(screenArea.left(), before.right() + 1 - frameGeometry().width()), before.top());
}

void FrmEphemirids::reject()
{
    // Esc does nothing: the window has no cancel button.
}

bool FrmEphemirids::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && m_keyCheck.warnsAt(*event))
        warnAndSelect(box);
    return SingleDialog::eventFilter(watched, event);
}

} // namespace velmora::ui

#include "ui/main/FrmDataTime.h"

#include "atlas/RequestLegalTime.h"
#include "core/ChartRequest.h"
#include "core/Hijri.h"
#include "core/Numbers.h"
#include "core/PositionTexts.h"
#include "ui/common/BidiText.h"
#include "ui/common/DialogParts.h"
#include "ui/common/FailureMessages.h"
#include "ui/common/Look.h"
#include "ui/common/Seams.h"
#include "ui/common/WindowRequest.h"
#include "ui/library/FrmLibrary.h"
#include "ui/library/LibraryAccess.h"
#include "ui/main/MDIFrmMain.h"
#include "ui/place/FrmReperXY.h"
#include "ui/settings/FrmThemeProprietees.h"
#include "ui/settings/StoredSettings.h"
#include "wheel/CoreText.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSettings>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace velmora::ui {

using namespace Qt::StringLiterals;

const QString FrmDataTime::kNoPlace = u"تأكد من تحديدك لموقع البلد"_s;

namespace {

// The boxes of a date and time row and their messages, in the order they are checked.
struct FieldCheck {
    std::array<QLineEdit*, 2> FrmDataTime::*boxes;
    DateTimeField field;
    const char* message;
};

const FieldCheck kChecks[] = {
    {&FrmDataTime::TxtHeure, DateTimeField::Hour, "الساعة غير صحيحة "},
    {&FrmDataTime::TxtMin, DateTimeField::Minute, "الدقائق غير صحيحة "},
    {&FrmDataTime::TxtJour, DateTimeField::Day, "اليوم غير صحيح "},
    {&FrmDataTime::TxtMois, DateTimeField::Month, "الشهر  غير صحيح "},
    {&FrmDataTime::TxtAnnee, DateTimeField::Year, "السنة  غير صحيحة "},
};

const FieldCheck& checkOf(DateTimeField field)
{
    for (const FieldCheck& check : kChecks) {
        if (check.field == field)
            return check;
    }
    return kChecks[4];
}

QString refusalText(DateTimeField field)
{
    return u"index hors plage !"_s + QString::fromUtf8(checkOf(field).message);
}

// The second row is named by the label of its time or its date.
QString rowName(int row, DateTimeField field)
{
    if (row == 0)
        return {};
    const bool time = field == DateTimeField::Hour || field == DateTimeField::Minute;
    return u'\n' + (time ? u"الوقت  الثاني "_s : u"التاريخ الثاني"_s);
}

// Into the shared state, with the appearance dialog's house system (a first read builds the
// dialog with its defaults).
RequestResult computeInSharedState(const ChartRequest& asked)
{
    ChartState& state = chartState();
    state.HouseSystemChosen = FrmThemeProprietees::instance()->houseSystem();
    return computeForWindows(state, asked);
}

// The message of a refused request, naming the second row where it failed.
QString refusal(const RequestFailure& failure)
{
    const DateTimeField field =
        failure.problem == RequestProblem::Field ? failure.field.field : DateTimeField::Year;
    QString text = refusalText(field) + rowName(failure.row, field);
    if (failure.problem == RequestProblem::Ephemeris)
        return text + u'\n' + ephemerisFailureMessage(failure.ephemeris);
    // A day the calendar reform dropped is the year's fault, with the reason below.
    if (failure.problem == RequestProblem::Field &&
        failure.field.problem == DateTimeProblem::DroppedByCalendarReform)
        text += u'\n' + fromCore(dateTimeErrorMessage(failure.field));
    return text;
}

// What a computed chart's window starts from, then the window in the main window.
void openChartWindowOf(const ChartRequest& request)
{
    ChartState& state = chartState();
    if (request.first.timeUnknown) {
        // Without a time of birth the houses mean nothing: the wheel starts at Aries.
        state.WheelRotation = 270;
        state.OrientOnAscendant = kFalse;
    } else {
        state.OrientOnAscendant = kTrue;
    }
    // The appearance dialog's house box; a first read builds the dialog with its defaults.
    state.ShowHouses = toFlag(FrmThemeProprietees::instance()->showHouses());
    if (MDIFrmMain* main = MDIFrmMain::instance()) {
        const QString caption = fromCore(chartKindInfo(request.kind).name) + u' ' +
                                fromCore(chartTitle(request.name, request.first.texts));
        main->openChartWindow(request.kind, caption, request);
    }
}

QLineEdit* numberBox(const QString& name, int row, int maxLength, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name + QString::number(row));
    box->setMaxLength(maxLength);
    box->setFixedWidth(maxLength > 2 ? 56 : 36);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

} // namespace

FrmDataTime::FrmDataTime()
{
    setWindowTitle(QString(39, u' ') + u"إدخال المعلومات"_s);
    setFont(dialogFont());
    buildControls();
    connectReactions();
    followLegalTime();

    // Both rows from one clock read; the second date defaults to a year later.
    const QDateTime now = clock()();
    fillRow(0, now);
    fillRow(1, now);
    TxtAnnee[1]->setText(QString::number(now.date().year() + 1));

    // The name and place of the last chart computed, so that a restart goes on from them.
    if (const auto file = settingsFile()) {
        const StoredEntry kept = restoredEntry(*file);
        if (kept.name)
            TxtNom->setText(*kept.name);
        if (kept.place) {
            // Its confirmation would ask for this dialog, still being built: the label is
            // written here instead.
            FrmReperXY* picker = FrmReperXY::instance();
            const QSignalBlocker quiet(picker);
            picker->showRequestPlace(*kept.place, kept.zoneText);
            LabVille->setText(isolateRuns(picker->placeSummary()));
        }
    }
}

void FrmDataTime::buildControls()
{
    TxtNom = new QLineEdit(u"أحمد"_s, this);
    TxtNom->setObjectName(u"TxtNom"_s);
    TxtNom->setMaxLength(kLongestName);
    for (int row = 0; row < 2; ++row) {
        TxtHeure[row] = numberBox(u"TxtHeure"_s, row, 2, this);
        TxtMin[row] = numberBox(u"TxtMin"_s, row, 2, this);
        TxtJour[row] = numberBox(u"TxtJour"_s, row, 2, this);
        TxtMois[row] = numberBox(u"TxtMois"_s, row, 2, this);
        // Room for -20000, so that a year beyond the limits is refused rather than cut.
        TxtAnnee[row] = numberBox(u"TxtAnnee"_s, row, 6, this);
        ChkHijri[row] = new QCheckBox(u"هجري"_s, this);
        ChkHijri[row]->setObjectName(u"ChkHijri"_s + QString::number(row));
    }
    ChkTime = new QCheckBox(u"غير متوفر"_s, this);

    // Each row: its label in a column of one width, then its boxes.
    const int labelWidth = 96;
    auto lineOf = [labelWidth](QWidget* owner, const QString& caption,
                               std::initializer_list<QWidget*> items) {
        auto* line = new QHBoxLayout;
        QLabel* name = new QLabel(caption, owner);
        name->setFixedWidth(labelWidth);
        line->addWidget(name);
        for (QWidget* item : items)
            line->addWidget(item);
        line->addStretch();
        return line;
    };
    auto timeLine = [&](QWidget* owner, const QString& caption, int row) {
        return lineOf(owner, caption, {TxtHeure[row], new QLabel(u":"_s, owner), TxtMin[row]});
    };
    auto dateLine = [&](QWidget* owner, const QString& caption, int row) {
        return lineOf(owner, caption,
                      {TxtJour[row], new QLabel(u"/"_s, owner), TxtMois[row],
                       new QLabel(u"/"_s, owner), TxtAnnee[row], ChkHijri[row]});
    };

    QHBoxLayout* firstTime = timeLine(this, u"الوقت  الأول"_s, 0);
    firstTime->addWidget(ChkTime);

    SecondRows = new QWidget(this);
    auto* second = new QVBoxLayout(SecondRows);
    second->setContentsMargins(0, 0, 0, 0);
    second->addLayout(timeLine(SecondRows, u"الوقت  الثاني "_s, 1));
    second->addLayout(dateLine(SecondRows, u"التاريخ الثاني"_s, 1));

    PicContener = new QFrame(this);
    PicContener->setFrameShape(QFrame::StyledPanel);
    LabVille = new QLabel(kNoPlace, PicContener);
    LabVille->setMinimumHeight(LabVille->fontMetrics().lineSpacing() * 3);
    // The place text's first letter, the khah of "خط", inks past its start: room at the right.
    LabVille->setIndent(4);
    CmdParcourir = new QPushButton(u"تحديث الموقع >>>"_s, PicContener);
    auto* place = new QVBoxLayout(PicContener);
    place->addWidget(new QLabel(u"إحداثيات البلد"_s, PicContener));
    auto* placeLine = new QHBoxLayout;
    placeLine->addWidget(LabVille, 1);
    placeLine->addSpacing(12);
    placeLine->addWidget(CmdParcourir, 0, Qt::AlignBottom);
    place->addLayout(placeLine);

    CmdSaved = new QPushButton(u"من الهيئات المحفوظة"_s, this);
    CmdSaved->setAutoDefault(false);
    CmdOK = new QPushButton(u"موافق"_s, this);
    CmdAnuler = new QPushButton(u"إلغاء الأمر"_s, this);
    CmdParcourir->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lineOf(this, u"الإسم"_s, {TxtNom}));
    layout->addLayout(firstTime);
    layout->addLayout(dateLine(this, u"التاريخ الأول"_s, 0));
    layout->addWidget(SecondRows);
    layout->addWidget(PicContener);
    layout->addLayout(buttonRow({CmdOK, CmdAnuler, CmdSaved}));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmDataTime::connectReactions()
{
    for (int row = 0; row < 2; ++row) {
        const std::array<QLineEdit*, 5> chain = {TxtHeure[row], TxtMin[row], TxtJour[row],
                                                 TxtMois[row], TxtAnnee[row]};
        for (QLineEdit* box : chain)
            selectAllOnFocus(box);
        for (std::size_t i = 0; i + 1 < chain.size(); ++i)
            connect(chain[i], &QLineEdit::returnPressed, chain[i + 1], qOverload<>(&QWidget::setFocus));
        // A time the user types is a known time again.
        for (QLineEdit* box : {TxtHeure[row], TxtMin[row]})
            connect(box, &QLineEdit::textEdited, ChkTime, [this] { ChkTime->setChecked(false); });
    }
    for (int row = 0; row < 2; ++row)
        connect(ChkHijri[row], &QCheckBox::toggled, this,
                [this, row](bool hijri) { turnDateOver(row, hijri); });
    connect(ChkTime, &QCheckBox::clicked, this, [this] {
        TxtHeure[0]->setText(u"12"_s);
        TxtMin[0]->setText(u"00"_s);
    });
    connect(CmdParcourir, &QPushButton::clicked, this, [this] {
        FrmReperXY* picker = FrmReperXY::instance();
        picker->setReferenceMoment(rowTexts(0));
        picker->execOver(this);
    });
    connect(CmdSaved, &QPushButton::clicked, this, [this] {
        if (const auto saved = FrmLibrary::pick(this))
            fillFrom(*saved);
    });
    connect(CmdOK, &QPushButton::clicked, this, &FrmDataTime::confirm);
    connect(CmdAnuler, &QPushButton::clicked, this, &QWidget::hide);
}

void FrmDataTime::followLegalTime()
{
    // The place summary tells the legal time of a city at the first row's date and time.
    for (QLineEdit* box : {TxtHeure[0], TxtMin[0], TxtJour[0], TxtMois[0], TxtAnnee[0]}) {
        connect(box, &QLineEdit::textChanged, this, [this] {
            FrmReperXY* picker = FrmReperXY::existing();
            if (picker && picker->followLegalTime(rowTexts(0)))
                LabVille->setText(isolateRuns(picker->placeSummary()));
        });
    }
}

void FrmDataTime::fillRow(int row, const QDateTime& moment)
{
    const auto number = [](int value) { return std::to_string(value); };
    setRowTexts(row, {number(moment.date().day()), number(moment.date().month()),
                      number(moment.date().year()), number(moment.time().hour()),
                      number(moment.time().minute())});
}

void FrmDataTime::turnDateOver(int row, bool toHijri)
{
    // What the boxes held in the other calendar; a date that is none in it stays as typed.
    const DateTimeTexts boxes = boxTexts(row);
    std::optional<DateTimeTexts> turned;
    if (!toHijri) {
        turned = civilOfHijriRow(boxes);
    } else if (const auto hijri = hijriOfRow(boxes)) {
        turned = boxes;
        turned->year = std::to_string(hijri->year);
        turned->month = std::to_string(hijri->month);
        turned->day = std::to_string(hijri->day);
    }
    if (!turned)
        return;
    TxtJour[row]->setText(fromCore(turned->day));
    TxtMois[row]->setText(fromCore(turned->month));
    TxtAnnee[row]->setText(fromCore(turned->year));
}

void FrmDataTime::fillFirstRowFromClock()
{
    fillRow(0, clock()());
}

DateTimeTexts FrmDataTime::boxTexts(int row) const
{
    return {boxText(TxtJour[row]), boxText(TxtMois[row]),
            boxText(TxtAnnee[row]), boxText(TxtHeure[row]),
            boxText(TxtMin[row])};
}

DateTimeTexts FrmDataTime::rowTexts(int row) const
{
    // A Hijri date that is no day stays as typed here; the computation refuses it first.
    const DateTimeTexts boxes = boxTexts(row);
    if (!ChkHijri[row]->isChecked())
        return boxes;
    return civilOfHijriRow(boxes).value_or(boxes);
}

void FrmDataTime::setRowTexts(int row, const DateTimeTexts& texts)
{
    // A civil date into Hijri boxes as its Hijri day; one before the Hijra turns them civil.
    const auto hijri = ChkHijri[row]->isChecked() ? hijriOfRow(texts) : std::nullopt;
    if (ChkHijri[row]->isChecked() && !hijri) {
        const QSignalBlocker quiet(ChkHijri[row]);
        ChkHijri[row]->setChecked(false);
    }
    TxtJour[row]->setText(hijri ? QString::number(hijri->day) : fromCore(texts.day));
    TxtMois[row]->setText(hijri ? QString::number(hijri->month) : fromCore(texts.month));
    TxtAnnee[row]->setText(hijri ? QString::number(hijri->year) : fromCore(texts.year));
    TxtHeure[row]->setText(fromCore(texts.hour));
    TxtMin[row]->setText(fromCore(texts.minute));
}

void FrmDataTime::fillFrom(const ChartRequest& request)
{
    TxtNom->setText(fromCore(request.name));
    setRowTexts(0, request.first.texts);
    ChkTime->setChecked(request.first.timeUnknown);
    FrmReperXY::instance()->showRequestPlace(request.place, request.zoneText);
}

ChartRequest FrmDataTime::request(bool twoCharts) const
{
    ChartRequest request;
    request.kind = chartKindOfName(chartState().ChartKindName).value_or(ChartKind::Natal);
    request.name = TxtNom->text().toStdString();
    request.first = {rowTexts(0), ChkTime->isChecked()};
    if (twoCharts)
        request.second = RequestRow{rowTexts(1), false};
    request.place = FrmReperXY::instance()->requestPlace();
    return request;
}

QString FrmDataTime::computeAndCommit(bool twoCharts)
{
    for (int row = 0; row < (twoCharts ? 2 : 1); ++row) {
        if (ChkHijri[row]->isChecked() && !civilOfHijriRow(boxTexts(row))) {
            TxtJour[row]->setFocus();
            TxtJour[row]->selectAll();
            return u"index hors plage !"_s + u"التاريخ الهجري غير صحيح "_s +
                   rowName(row, DateTimeField::Day);
        }
    }
    const ChartRequest asked = request(twoCharts);
    const RequestResult result = computeInSharedState(asked);
    if (!result.ok) {
        if (result.failure.problem == RequestProblem::Field) {
            QLineEdit* box = (this->*checkOf(result.failure.field.field).boxes)[result.failure.row];
            box->setFocus();
            box->selectAll();
        }
        return refusal(result.failure);
    }
    m_lastRequest = asked;
    // The picker shows the zone the computation used, derived from the longitude.
    FrmReperXY::instance()->readPlace();
    return {};
}

void FrmDataTime::confirm()
{
    ChartState& state = chartState();
    const QString failure = computeAndCommit(state.TwoCharts == 1);
    if (!failure.isEmpty()) {
        criticalMessage()(this, u"Erreur !"_s, failure);
        return;
    }

    // Kept at the user's OK only, so that starting up writes nothing.
    keepRecent(*m_lastRequest);
    if (const auto file = settingsFile())
        storeEntry({TxtNom->text(), m_lastRequest->place,
                    FrmReperXY::instance()->zoneInput().zoneText},
                   *file);
    if (chartKindOfName(state.ChartKindName))
        openChartWindowOf(*m_lastRequest);
    hide();
}

QString FrmDataTime::openRequest(const ChartRequest& request)
{
    const RequestResult result = computeInSharedState(request);
    if (!result.ok)
        return refusal(result.failure);
    // As the chart-type dialog writes them for its choice.
    const ChartKindInfo& kind = chartKindInfo(request.kind);
    chartState().ChartKindName = kind.name;
    chartState().TwoCharts = kind.twoCharts;
    keepRecent(request);
    openChartWindowOf(request);
    return {};
}

void FrmDataTime::setVisible(bool visible)
{
    // Before showing, so that the fixed-size layout fits the rows in use.
    if (visible)
        SecondRows->setVisible(chartState().TwoCharts == 1);
    SingleDialog::setVisible(visible);
}

void FrmDataTime::resizeEvent(QResizeEvent* event)
{
    SingleDialog::resizeEvent(event);
    // A place text arriving while the dialog shows may widen it: it grows to the left, as it
    // reads, and its right edge stays where it was.
    if (isVisible() && event->oldSize().isValid())
        move(x() + event->oldSize().width() - width(), y());
}

void FrmDataTime::followPlacePicker(FrmReperXY* picker)
{
    connect(picker, &FrmReperXY::placeConfirmed, picker,
            [](const QString& summary) { instance()->LabVille->setText(isolateRuns(summary)); });
    connect(picker, &QObject::destroyed, [] {
        if (FrmDataTime* entry = existing())
            entry->LabVille->setText(kNoPlace);
    });
}

} // namespace velmora::ui

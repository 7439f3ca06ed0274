#include "ui/library/FrmLibrary.h"

#include "atlas/RequestLegalTime.h"
#include "core/Aaf.h"
#include "core/PositionTexts.h"
#include "ui/common/BidiText.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"
#include "ui/common/Seams.h"
#include "ui/library/LibraryAccess.h"
#include "ui/main/FrmDataTime.h"
#include "wheel/CoreText.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora::ui {

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"الهيئات المحفوظة"_s;
const QString kAafFilter = u"AAF (*.aaf *.AAF);;كل الملفات (*)"_s;

// A name the data entry would take; otherwise the user is told why.
bool acceptableName(QWidget* parent, const QString& name)
{
    if (name.size() <= kLongestName)
        return true;
    criticalMessage()(parent, kTitle, u"الاسم أطول من %1 حرفاً"_s.arg(kLongestName));
    return false;
}

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(isolateRuns(text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

FrmLibrary::FrmLibrary(Mode mode)
    : m_mode(mode)
{
    setWindowTitle(mode == Mode::Pick ? u"اختيار هيئة محفوظة"_s : kTitle);
    setLayoutDirection(Qt::RightToLeft);
    setFont(dialogFont());

    TxtSearch = new QLineEdit(this);
    TxtSearch->setPlaceholderText(u"اسم أو مكان"_s);
    TxtSearch->setClearButtonEnabled(true);
    CboFilter = new QComboBox(this);
    CboFilter->addItems({u"المحفوظة"_s, u"الأخيرة"_s});
    auto* searchLine = new QHBoxLayout;
    searchLine->addWidget(new QLabel(u"بحث"_s, this));
    searchLine->addWidget(TxtSearch, 1);
    searchLine->addWidget(CboFilter);

    GrdCharts = new QTableWidget(0, 4, this);
    GrdCharts->setHorizontalHeaderLabels({u"الاسم"_s, u"النوع"_s, u"التاريخ"_s, u"المكان"_s});
    GrdCharts->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdCharts->setSelectionMode(QAbstractItemView::SingleSelection);
    GrdCharts->verticalHeader()->hide();
    GrdCharts->horizontalHeader()->setStretchLastSection(true);
    GrdCharts->setMinimumSize(620, 300);
    LabNote = new QLabel(this);
    LabNote->setWordWrap(true);
    LabNote->setMinimumHeight(LabNote->fontMetrics().lineSpacing() * 2);

    CmdOpen = new QPushButton(mode == Mode::Pick ? u"اختيار"_s : u"فتح"_s, this);
    CmdSave = new QPushButton(u"حفظ"_s, this);
    CmdRename = new QPushButton(u"إعادة التسمية"_s, this);
    CmdNote = new QPushButton(u"الملاحظة"_s, this);
    CmdDelete = new QPushButton(u"حذف"_s, this);
    CmdImport = new QPushButton(u"استيراد"_s, this);
    CmdExport = new QPushButton(u"تصدير"_s, this);
    CmdClose = new QPushButton(mode == Mode::Pick ? u"إلغاء الأمر"_s : u"إغلاق"_s, this);
    CmdOpen->setDefault(true);
    const bool browsing = mode == Mode::Browse;
    for (QPushButton* edit : {CmdSave, CmdRename, CmdNote, CmdDelete, CmdImport, CmdExport})
        edit->setVisible(browsing);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchLine);
    layout->addWidget(GrdCharts, 1);
    layout->addWidget(LabNote);
    layout->addLayout(buttonRow({CmdOpen, CmdSave, CmdRename, CmdNote, CmdDelete, CmdImport,
                                 CmdExport, CmdClose}));

    connect(TxtSearch, &QLineEdit::textChanged, this, &FrmLibrary::refresh);
    connect(CboFilter, &QComboBox::currentIndexChanged, this, &FrmLibrary::refresh);
    connect(GrdCharts, &QTableWidget::itemSelectionChanged, this, &FrmLibrary::showSelection);
    connect(GrdCharts, &QTableWidget::cellDoubleClicked, this, &FrmLibrary::openSelected);
    connect(CmdOpen, &QPushButton::clicked, this, &FrmLibrary::openSelected);
    connect(CmdSave, &QPushButton::clicked, this, &FrmLibrary::saveSelected);
    connect(CmdRename, &QPushButton::clicked, this, &FrmLibrary::renameSelected);
    connect(CmdNote, &QPushButton::clicked, this, &FrmLibrary::editNote);
    connect(CmdDelete, &QPushButton::clicked, this, &FrmLibrary::deleteSelected);
    connect(CmdImport, &QPushButton::clicked, this, &FrmLibrary::importFile);
    connect(CmdExport, &QPushButton::clicked, this, &FrmLibrary::exportFile);
    connect(CmdClose, &QPushButton::clicked, this, mode == Mode::Pick ? &QDialog::reject
                                                                       : &QWidget::hide);
    refresh();
}

std::optional<ChartRequest> FrmLibrary::pick(QWidget* parent)
{
    FrmLibrary chooser(Mode::Pick);
    chooser.setParent(parent, Qt::Dialog);
    if (chooser.exec() != QDialog::Accepted)
        return std::nullopt;
    return chooser.m_picked;
}

void FrmLibrary::refresh()
{
    m_rows.clear();
    if (library::ChartLibrary* charts = chartLibrary(this)) {
        const QString text = TxtSearch->text();
        std::string error;
        if (CboFilter->currentIndex() == Saved) {
            for (library::SavedChart& chart : charts->search(text.toStdString(), &error))
                m_rows.push_back({chart.id, std::move(chart.request), std::move(chart.note)});
        } else {
            for (library::RecentChart& chart : charts->recent(&error)) {
                if (requestMatches(chart.request, text))
                    m_rows.push_back({0, std::move(chart.request), {}});
            }
        }
        if (!error.empty())
            criticalMessage()(this, kTitle, u"تعذرت قراءة مكتبة الهيئات: %1"_s.arg(fromCore(error)));
    }

    GrdCharts->setRowCount(static_cast<int>(m_rows.size()));
    for (int r = 0; r < GrdCharts->rowCount(); ++r) {
        const ChartRequest& request = m_rows[static_cast<std::size_t>(r)].request;
        GrdCharts->setItem(r, 0, cell(fromCore(request.name)));
        GrdCharts->setItem(r, 1, cell(fromCore(chartKindInfo(request.kind).name)));
        GrdCharts->setItem(r, 2, cell(requestMoment(request)));
        GrdCharts->setItem(r, 3, cell(requestPlace(request)));
    }
    GrdCharts->resizeColumnsToContents();
    if (!m_rows.empty())
        GrdCharts->setCurrentCell(0, 0, QItemSelectionModel::ClearAndSelect |
                                            QItemSelectionModel::Rows);
    showSelection();
}

const FrmLibrary::Row* FrmLibrary::selected() const
{
    const int row = GrdCharts->currentRow();
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || GrdCharts->selectedItems().isEmpty())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

void FrmLibrary::showSelection()
{
    const Row* row = selected();
    const bool saved = row && row->id != 0;
    CmdOpen->setEnabled(row != nullptr);
    CmdSave->setEnabled(row && !saved);
    for (QPushButton* edit : {CmdRename, CmdNote, CmdDelete})
        edit->setEnabled(saved);
    CmdExport->setEnabled(CboFilter->currentIndex() == Saved && !m_rows.empty());
    if (m_rows.empty())
        LabNote->setText(TxtSearch->text().isEmpty()
                             ? (CboFilter->currentIndex() == Saved ? u"لا توجد هيئات محفوظة بعد"_s
                                                                   : u"لم تحسب أي هيئة بعد"_s)
                             : u"لا هيئة توافق البحث"_s);
    else
        LabNote->setText(row ? isolateRuns(fromCore(row->note)) : QString());
}

void FrmLibrary::openSelected()
{
    const Row* row = selected();
    if (!row)
        return;
    if (m_mode == Mode::Pick) {
        m_picked = row->request;
        accept();
        return;
    }
    const QString failure = FrmDataTime::openRequest(row->request);
    if (!failure.isEmpty())
        criticalMessage()(this, kTitle, failure);
}

void FrmLibrary::saveSelected()
{
    if (const Row* row = selected(); row && saveRequestAs(this, row->request, fromCore(row->request.name)))
        CboFilter->setCurrentIndex(Saved);
}

void FrmLibrary::renameSelected()
{
    const Row* row = selected();
    library::ChartLibrary* charts = row ? chartLibrary(this) : nullptr;
    if (!charts)
        return;
    const auto name = textAsker()(this, u"إعادة التسمية"_s, u"الاسم الجديد"_s,
                                  fromCore(row->request.name), false);
    if (!name || name->trimmed().isEmpty() || !acceptableName(this, name->trimmed()))
        return;
    const library::Written written = charts->rename(row->id, name->trimmed().toStdString());
    if (!written.ok())
        criticalMessage()(this, kTitle, u"تعذرت إعادة التسمية: %1"_s.arg(fromCore(written.error)));
    refresh();
}

void FrmLibrary::editNote()
{
    const Row* row = selected();
    library::ChartLibrary* charts = row ? chartLibrary(this) : nullptr;
    if (!charts)
        return;
    const std::int64_t id = row->id;
    const auto note = textAsker()(this, u"الملاحظة"_s, fromCore(row->request.name),
                                  fromCore(row->note), true);
    if (!note)
        return;
    const library::Written written = charts->setNote(id, note->toStdString());
    if (!written.ok())
        criticalMessage()(this, kTitle, u"تعذر حفظ الملاحظة: %1"_s.arg(fromCore(written.error)));
    const int at = GrdCharts->currentRow();
    refresh();
    GrdCharts->selectRow(at);
}

void FrmLibrary::deleteSelected()
{
    const Row* row = selected();
    library::ChartLibrary* charts = row ? chartLibrary(this) : nullptr;
    if (!charts || !question()(this, kTitle, u"حذف الهيئة «%1»؟"_s.arg(fromCore(row->request.name))))
        return;
    const library::Written written = charts->remove(row->id);
    if (!written.ok())
        criticalMessage()(this, kTitle, u"تعذر الحذف: %1"_s.arg(fromCore(written.error)));
    refresh();
}

void FrmLibrary::importFile()
{
    library::ChartLibrary* charts = chartLibrary(this);
    if (!charts)
        return;
    const QString path = openFileChooser()(this, CmdImport->text(), QDir::homePath(), kAafFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        criticalMessage()(this, kTitle, u"تعذرت قراءة الملف %1"_s.arg(path));
        return;
    }
    const QByteArray bytes = file.readAll();
    const aaf::Reading reading = aaf::read(std::string_view(bytes.constData(),
                                                            static_cast<std::size_t>(bytes.size())));
    if (reading.holdsNoRecord()) {
        criticalMessage()(this, kTitle, u"لا يحمل الملف %1 أي سجل هيئة بصيغة AAF"_s.arg(path));
        return;
    }
    std::vector<library::SavedChart> saved;
    for (const aaf::Record& record : reading.records)
        saved.push_back({0, record.request, record.note, {}, {}});
    if (!saved.empty()) {
        const library::Written written = charts->saveAll(saved);
        if (!written.ok()) {
            criticalMessage()(this, kTitle, u"تعذر الاستيراد: %1"_s.arg(fromCore(written.error)));
            return;
        }
    }
    QString report = u"استُوردت %1 هيئة من %2"_s.arg(saved.size()).arg(path);
    for (const aaf::Refusal& refused : reading.refused)
        report += u"\nرُفض السجل في السطر %1: %2"_s.arg(refused.line).arg(fromCore(refused.reason));
    (reading.refused.empty() ? informationMessage() : criticalMessage())(this, kTitle, report);
    CboFilter->setCurrentIndex(Saved);
    refresh();
}

void FrmLibrary::exportFile()
{
    library::ChartLibrary* charts = chartLibrary(this);
    if (!charts)
        return;
    const SaveChoice choice =
        saveFileChooser()(this, CmdExport->text(), QDir::homePath(), kAafFilter);
    if (choice.path.isEmpty())
        return;
    std::string error;
    std::vector<aaf::Record> records;
    for (const library::SavedChart& chart : charts->list(&error))
        records.push_back({chart.request, chart.note});
    const std::string text = aaf::write(records, atlas::requestLegalSummer());
    QSaveFile file(choice.path);
    if (!error.empty() || !file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) ||
        !file.commit()) {
        criticalMessage()(this, kTitle,
                          u"تعذر التصدير إلى %1 %2"_s.arg(choice.path,
                                                          error.empty() ? file.errorString()
                                                                        : fromCore(error)));
        return;
    }
    QString told = u"صُدّرت %1 هيئة إلى %2"_s.arg(records.size()).arg(choice.path);
    if (const std::size_t cut = aaf::firstMomentOnly(records))
        told += u"\nمنها %1 بتاريخها الأول وحده، لأن سجل AAF يحمل لحظة واحدة"_s.arg(cut);
    informationMessage()(this, kTitle, told);
}

bool saveRequestAs(QWidget* parent, ChartRequest request, const QString& proposed)
{
    library::ChartLibrary* charts = chartLibrary(parent);
    if (!charts)
        return false;
    const auto name = textAsker()(parent, u"حفظ الهيئة"_s, u"الاسم"_s, proposed, false);
    if (!name || name->trimmed().isEmpty() || !acceptableName(parent, name->trimmed()))
        return false;
    request.name = name->trimmed().toStdString();
    const library::Written written = charts->save(request);
    if (!written.ok()) {
        criticalMessage()(parent, u"حفظ الهيئة"_s, u"تعذر حفظ الهيئة: %1"_s.arg(fromCore(written.error)));
        return false;
    }
    if (FrmLibrary* shown = FrmLibrary::existing())
        shown->refresh();
    return true;
}

} // namespace velmora::ui

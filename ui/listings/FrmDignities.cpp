#include "ui/listings/FrmDignities.h"

#include "core/Dignities.h"
#include "ui/common/DialogParts.h"
#include "ui/common/Look.h"
#include "wheel/CoreText.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora::ui {

using namespace Qt::StringLiterals;

FrmDignities::FrmDignities(const ChartState& chart, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(u"الكرامات الذاتية"_s);
    setLayoutDirection(Qt::RightToLeft);
    setFont(dialogFont());

    const DignitiesTable table = dignitiesTable(chart);
    LabSect = new QLabel(fromCore(table.sect), this);
    const auto& header = table.cells.front();
    GrdDignities = new QTableWidget(static_cast<int>(table.cells.size()) - 1,
                                    static_cast<int>(header.size()), this);
    for (std::size_t c = 0; c < header.size(); ++c)
        GrdDignities->setHorizontalHeaderItem(static_cast<int>(c),
                                              new QTableWidgetItem(fromCore(header[c])));
    for (std::size_t r = 1; r < table.cells.size(); ++r) {
        for (std::size_t c = 0; c < header.size(); ++c) {
            // A left-to-right mark first makes a signed number read "+5", not "5+".
            auto* item = new QTableWidgetItem(u"\u200E"_s + fromCore(table.cells[r][c]));
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(c == 0 ? Qt::AlignVCenter | Qt::AlignRight : Qt::AlignCenter);
            GrdDignities->setItem(static_cast<int>(r) - 1, static_cast<int>(c), item);
        }
    }
    GrdDignities->verticalHeader()->hide();
    GrdDignities->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdDignities->setSelectionMode(QAbstractItemView::NoSelection);
    GrdDignities->resizeColumnsToContents();
    GrdDignities->setMinimumSize(
        GrdDignities->horizontalHeader()->length() + 4,
        GrdDignities->verticalHeader()->length() + GrdDignities->horizontalHeader()->height() + 4);

    CmdOK = new QPushButton(u"&موافق"_s, this);
    connect(CmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabSect);
    layout->addWidget(GrdDignities, 1);
    layout->addLayout(buttonRow({CmdOK}));
}

} // namespace velmora::ui

#pragma once

#include "core/ChartState.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace velmora::ui {

// The essential dignities of the Sun through Saturn of a chart window's first chart, by its
// sect. A new dialog for every use, over the listing it was asked from.
class FrmDignities final : public QDialog {
    Q_OBJECT

public:
    explicit FrmDignities(const ChartState& chart, QWidget* parent = nullptr);

    QLabel* LabSect = nullptr;
    QTableWidget* GrdDignities = nullptr;
    QPushButton* CmdOK = nullptr;
};

} // namespace velmora::ui

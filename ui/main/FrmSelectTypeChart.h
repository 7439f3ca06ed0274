#pragma once

#include "core/ChartState.h"
#include "ui/common/SingleDialog.h"

#include <array>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace velmora::ui {

// The first step of a chart request: the kind of chart. The choice goes into the shared state
// (ChartKindName, TwoCharts) and lasts while the dialog is only hidden; "continue" opens the
// data entry with its first row set to the clock.
class FrmSelectTypeChart final : public SingleDialog<FrmSelectTypeChart> {
    Q_OBJECT

public:
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, kChartKindCount> OptChart{}; // by ChartKind
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdAnuler = nullptr;

private:
    friend class SingleDialog<FrmSelectTypeChart>;
    FrmSelectTypeChart();

    void continueToDataEntry();
};

} // namespace velmora::ui

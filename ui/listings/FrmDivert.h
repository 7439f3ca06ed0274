#pragma once

#include "core/ChartState.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace velmora::ui {

// The positions listing of one chart window: its points 0..lastPoint with their sign
// positions, its house cusps, and the aspect lines of its own last search. A new dialog for
// every use; its lists keep what the chart held when it was made.
class FrmDivert final : public QDialog {
    Q_OBJECT

public:
    FrmDivert(const ChartState& chart, int lastPoint, QWidget* parent = nullptr);

    QListWidget* List1 = nullptr; // points
    QListWidget* List2 = nullptr; // house cusps; blank lines for slots 12..23
    QListWidget* List3 = nullptr; // aspect lines
    QPushButton* CmdOK = nullptr;
};

} // namespace velmora::ui

#pragma once

#include "core/ChartComputation.h"
#include "core/ChartState.h"
#include "ui/common/Printing.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace velmora::ui {

// What the listing shows of a chart's points 0..lastPoint, under its three captions: the
// points with their sign positions, the house cusps (with why they are not Placidus ones,
// when they are not), and the aspect lines of its own last search. The chart window prints it.
std::vector<TextSection> positionsListing(const ChartState& chart, int lastPoint);

// The positions listing of one chart window: its points 0..lastPoint with their sign
// positions, its house cusps, and the aspect lines of its own last search. A new dialog for
// every use; its lists keep what the chart held when it was made. Above them, the date of the
// chart's first row with its Hijri day, when the row is given.
class FrmDivert final : public QDialog {
    Q_OBJECT

public:
    FrmDivert(const ChartState& chart, int lastPoint, QWidget* parent = nullptr,
              const std::optional<DateTimeTexts>& firstRow = std::nullopt);

    QLabel* LabDate = nullptr;

    QListWidget* List1 = nullptr; // points
    QListWidget* List2 = nullptr; // house cusps; blank lines for slots 12..23
    QListWidget* List3 = nullptr; // aspect lines
    QPushButton* CmdDignities = nullptr; // the first chart's essential dignities
    QPushButton* CmdOK = nullptr;
};

} // namespace velmora::ui

#pragma once

#include "core/ChartRequest.h"
#include "ui/common/SingleDialog.h"

#include <cstdint>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velmora::ui {

// The saved charts and the recently computed ones: a search over names and places, a grid,
// and what can be done with a chart (open it in its kind's window, save a recent one, rename,
// note, delete) or with the whole library (import and export AAF records).
class FrmLibrary final : public SingleDialog<FrmLibrary> {
    Q_OBJECT

public:
    enum class Mode { Browse, Pick };
    enum Filter { Saved, Recent };

    // A modal choice among the saved and recent charts, for the data entry; nothing when the
    // user cancelled.
    static std::optional<ChartRequest> pick(QWidget* parent);

    // Reads the library again, as after a save from elsewhere.
    void refresh();

    QLineEdit* TxtSearch = nullptr;
    QComboBox* CboFilter = nullptr;
    QTableWidget* GrdCharts = nullptr;
    QLabel* LabNote = nullptr;
    QPushButton* CmdOpen = nullptr;
    QPushButton* CmdSave = nullptr;
    QPushButton* CmdRename = nullptr;
    QPushButton* CmdNote = nullptr;
    QPushButton* CmdDelete = nullptr;
    QPushButton* CmdImport = nullptr;
    QPushButton* CmdExport = nullptr;
    QPushButton* CmdClose = nullptr;

private:
    friend class SingleDialog<FrmLibrary>;
    explicit FrmLibrary(Mode mode = Mode::Browse);

    struct Row {
        std::int64_t id = 0; // 0 for a recent chart
        ChartRequest request;
        std::string note;
    };

    const Row* selected() const;
    void showSelection();
    void openSelected();
    void saveSelected();
    void renameSelected();
    void editNote();
    void deleteSelected();
    void importFile();
    void exportFile();

    Mode m_mode;
    std::vector<Row> m_rows;
    std::optional<ChartRequest> m_picked;
};

// Saves a chart window's request under a name the user confirms, `proposed` first; false when
// the user cancelled or the library could not keep it (the user told why).
bool saveRequestAs(QWidget* parent, ChartRequest request, const QString& proposed);

} // namespace velmora::ui

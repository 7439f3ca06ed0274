#pragma once

#include "core/ChartComputation.h"
#include "core/ChartRequest.h"
#include "ui/common/SingleDialog.h"

#include <array>
#include <optional>

class QCheckBox;
class QDateTime;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velmora::ui {

class FrmReperXY;

// The data entry of a chart request: the name, one or two dates and times, and the place
// through the place picker. Its OK checks the rows, computes the charts, and opens the chart
// window of the chosen kind in the main window.
class FrmDataTime final : public SingleDialog<FrmDataTime> {
    Q_OBJECT

public:
    static const QString kNoPlace; // LabVille until a place is confirmed

    QLineEdit* TxtNom = nullptr;
    // Element 0 is the first date and time, element 1 the second.
    std::array<QLineEdit*, 2> TxtHeure{};
    std::array<QLineEdit*, 2> TxtMin{};
    std::array<QLineEdit*, 2> TxtJour{};
    std::array<QLineEdit*, 2> TxtMois{};
    std::array<QLineEdit*, 2> TxtAnnee{};
    // Beside each date: its boxes hold a Hijri date, which the row is computed from as the
    // civil date it falls on. Off at the start; a toggle turns the boxes' date over.
    std::array<QCheckBox*, 2> ChkHijri{};
    QWidget* SecondRows = nullptr; // shown for the two-chart kinds
    QCheckBox* ChkTime = nullptr;
    QFrame* PicContener = nullptr;
    QLabel* LabVille = nullptr;
    QPushButton* CmdParcourir = nullptr;
    QPushButton* CmdSaved = nullptr; // fills the name, first row and place from a saved chart
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdAnuler = nullptr;

    // Writes the clock's hour, minute, day, month and year into the first row, from one read.
    void fillFirstRowFromClock();

    // Computes the request of the boxes (the second row when asked, each row of a city at its
    // legal time) into the shared state when every step succeeds. Otherwise returns the
    // message naming what failed, and puts the focus in the refused box.
    QString computeAndCommit(bool twoCharts);

    // Puts a kept request's name, first row and place into the boxes, so that a chart of any
    // kind can be made for that person.
    void fillFrom(const ChartRequest& request);

    // Computes a kept request into the shared state as OK does, and opens the chart window of
    // its kind; otherwise returns the message naming what failed.
    static QString openRequest(const ChartRequest& request);

    // Keeps LabVille on the picker's confirmed place, and back at kNoPlace once that picker
    // is discarded. For every picker, as each one is created.
    static void followPlacePicker(FrmReperXY* picker);

    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class SingleDialog<FrmDataTime>;
    FrmDataTime();

    void buildControls();
    void connectReactions();
    void fillRow(int row, const QDateTime& moment);
    DateTimeTexts rowTexts(int row) const;
    DateTimeTexts boxTexts(int row) const;
    void turnDateOver(int row, bool toHijri);
    void setRowTexts(int row, const DateTimeTexts& texts);
    void followLegalTime();
    ChartRequest request(bool twoCharts) const;
    void confirm();

    std::optional<ChartRequest> m_lastRequest; // of the last successful computation
};

} // namespace velmora::ui

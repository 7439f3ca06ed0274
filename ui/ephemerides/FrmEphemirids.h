#pragma once

#include "core/ChartComputation.h"
#include "core/Ephemerides.h"
#include "ui/common/NumberKeyCheck.h"
#include "ui/common/SingleDialog.h"

#include <array>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSize;
class QTableWidget;

namespace velmora::ui {

// The ephemerides window: a month's table of the planets, the house cusps or the aspects, for
// the place the place picker holds. One instance, created on first use with the current month
// and year; OK hides it with its fields and tables, Esc does nothing, and a close by the window
// frame destroys it, so the next use starts afresh. Callers show it with instance()->exec().
class FrmEphemirids final : public SingleDialog<FrmEphemirids> {
    Q_OBJECT

public:
    // The table kind shown: 0 planets, 1 houses, 2 aspects.
    int TypeEph = 0;

    std::array<QTableWidget*, 3> GridEphemirids{};
    QWidget* WaitPage = nullptr; // Label1, LabBar and Lab, shown in place of the grid in a run
    QLabel* Label1 = nullptr;
    QLabel* LabBar = nullptr;
    std::array<QLabel*, 2> Lab{};
    QGroupBox* Frame = nullptr;
    QComboBox* CmbMois = nullptr;
    std::array<QLabel*, 2> Label{};
    QLineEdit* TxtYears = nullptr;
    QCheckBox* ChkAvant = nullptr;
    // The month and year are Hijri ones: the run computes the civil month that holds the Hijri
    // month's 15th. A toggle turns the month shown over into the other calendar.
    QCheckBox* ChkHijri = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> Opt{}; // by table kind; top to bottom 0, 2, 1
    QLineEdit* TxtHeur = nullptr;
    std::array<QLabel*, 2> Label2{};
    QPushButton* CmdCoordonne = nullptr;
    QCheckBox* ChkChoix = nullptr;
    QPushButton* CmdCalculer = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdEnregistrer = nullptr; // saves the table shown as CSV
    QPushButton* CmdImprimer = nullptr;    // prints the table shown
    QLabel* LabNote = nullptr; // why a houses table's starred days have Porphyry cusps

    void setVisible(bool visible) override;

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class SingleDialog<FrmEphemirids>;
    FrmEphemirids();

    void buildControls();
    void buildGridArea();
    void buildWaitPage(const QSize& size);
    void buildInputsPanel();
    void buildTableChoice();
    DateTimeTexts referenceRow() const;
    struct CivilMonth {
        int monthIndex = 0; // 0 January .. 11 December
        std::string yearText;
    };
    std::optional<CivilMonth> civilMonth() const;
    void turnMonthOver(bool toHijri);
    void showOtherCalendarDays(int kind, const EphemeridesTable& table, const EphemeridesInput& input);
    void connectReactions();
    void showTable(int kind);
    void negateYear();
    void warnAndSelect(QLineEdit* box);
    bool fieldsAllowARun();
    void calculate();
    void fillGrid(int kind, const EphemeridesTable& table);
    void saveTable();
    void printTable();
    void enableTableCommands();
    void fitGridsToScreen();
    void showNote();

    // The last computed table of each kind, as its grid shows it, and the file name offered
    // for its export.
    std::array<std::optional<EphemeridesTable>, 3> m_tables;
    std::array<QString, 3> m_notes; // of each table's last run
    std::array<QString, 3> m_fileNames;
    std::array<QString, 3> m_titles; // of each table's printed pages
    NumberKeyCheck m_keyCheck;
    QWidget* m_gridArea = nullptr; // the grids and the wait page, in one place
};

} // namespace velmora::ui

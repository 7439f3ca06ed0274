#pragma once

#include "atlas/Atlas.h"
#include "core/ChartComputation.h"
#include "core/ChartRequest.h"
#include "ui/common/NumberKeyCheck.h"
#include "ui/common/SingleDialog.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace velmora::ui {

class PlaceDatabaseView;
class WorldMapPicture;

// The place picker. Its controls are the program's store of the current place: the chart and
// ephemerides computations read them through instance(), which creates the dialog on first use.
// OK only hides it and Esc does nothing; a close by the window frame destroys it, and the next
// use starts again from the initial place (21 27 N, 39 49 E, zone 3, correction 0).
class FrmReperXY final : public SingleDialog<FrmReperXY> {
    Q_OBJECT

public:
    // The picker, built and announced to whenCreated() on first use.
    static FrmReperXY* instance();

    // Told of each new picker, so that the windows showing its place can follow its
    // confirmations and its destruction by a frame close.
    using CreatedHook = std::function<void(FrmReperXY* picker)>;
    static CreatedHook& whenCreated();

    // The boxes and hemisphere choices as the core reads them.
    PlaceInput placeInput() const;
    ZoneInput zoneInput() const;
    // The place of a chart request: the boxes, and the city while the boxes still hold it.
    RequestPlace requestPlace() const;

    // Runs the place reading of the core and shows its result: the mark and the zone.
    void readPlace();
    // Puts a kept place into the boxes (a city again with its legal time) and confirms it, as
    // OK does; the zone box takes `zoneText` when given, else the longitude's zone.
    void showRequestPlace(const RequestPlace& place,
                          const std::optional<std::string>& zoneText = std::nullopt);

    // Shows the picker modally over the window that opens it, as a child of that window for
    // the run only.
    int execOver(QWidget* opener);

    // The place text written on confirmation: latitude, longitude (with their hemispheres) and
    // zone, under the city and its country when the place was picked from the atlas.
    QString placeSummary() const;

    // The local date and time for which a city picked from the database view gets its legal
    // offset (the data-entry dialog's first date, the ephemerides month's 15th). Until it is
    // set, or when it is invalid, the computer's clock at the pick.
    void setReferenceMoment(const QDateTime& localMoment);
    // The same from a typed date-and-time row; a row that names no real moment leaves the clock.
    void setReferenceMoment(const DateTimeTexts& row);
    // While the boxes hold a city picked from the database view, takes its legal time at the
    // row's moment into the correction box and the label; false for any other place.
    bool followLegalTime(const DateTimeTexts& row);

    WorldMapPicture* PicWorld = nullptr;
    QTableWidget* GriData = nullptr;
    QLineEdit* TxtRecherche = nullptr;
    QLineEdit* TxtLatDeg = nullptr;
    QLineEdit* TxtLatMin = nullptr;
    QLineEdit* TxtLonDeg = nullptr;
    QLineEdit* TxtLonMin = nullptr;
    QLineEdit* TxtZone = nullptr;
    QLineEdit* TxtEteRegl = nullptr;
    QLabel* LabHeureLegale = nullptr; // the picked city's zone and legal offset
    QRadioButton* OptN = nullptr;
    QRadioButton* OptS = nullptr;
    QRadioButton* OptE = nullptr;
    QRadioButton* OptW = nullptr;
    QPushButton* CmdOK = nullptr;
    QPushButton* CmdStyle = nullptr;

signals:
    // Emitted by OK with the place text, for the data-entry dialog's place label.
    void placeConfirmed(const QString& summary);

public slots:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class SingleDialog<FrmReperXY>;
    FrmReperXY();

    void buildControls();
    void connectReactions();
    void pressMap(float x, float y);
    void fillCoords(float x, float y);
    void switchView();
    void confirm();
    void connectDatabaseView();
    void pickPlace(const atlas::Place& place);
    void showLegalTime();

    PlaceDatabaseView* m_databaseView = nullptr;
    NumberKeyCheck m_keyCheck;
    QElapsedTimer m_sincePick;
    QDateTime m_referenceMoment;
    std::optional<atlas::Place> m_picked; // the city the boxes hold
};

} // namespace velmora::ui

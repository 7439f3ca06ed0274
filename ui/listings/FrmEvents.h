#pragma once

#include "core/ChartRequest.h"
#include "core/ChartState.h"
#include "core/EventSearch.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace velmora::ui {

// The events of a period for the natal points of one chart window: the transiting bodies'
// aspects, sign ingresses and stations, and the returns, listed in the local time of the
// chart's place. Its chart window makes it on first use and keeps it; a close only hides it.
//
// A search holds the interface thread, but lets the events waiting be handled at the core's
// progress reports, so that the cancel button and the other windows answer. Hiding the window
// cancels its search. A double click on a row opens the chart of that moment: the solar
// return's chart for a solar return, the transits over the natal chart for any other event.
class FrmEvents final : public QDialog {
    Q_OBJECT

public:
    enum Column { When, Kind, Event, Position };
    static constexpr int kColumnCount = 4;

    // `request` is what the chart window was computed from: its place gives the local clock
    // (universal time without one) and the charts a double click opens.
    FrmEvents(const ChartState& natal, const std::optional<ChartRequest>& request,
              QWidget* parent = nullptr);

    bool searching() const { return m_searching; }
    // The events of the last search, by time; the grid's rows point into them.
    const std::vector<ChartEvent>& events() const { return m_events; }
    // The event a row of the grid shows, as the grid is sorted now.
    const ChartEvent& eventOfRow(int row) const;
    // The request of the chart that the row's double click opens; nothing without a request.
    std::optional<ChartRequest> chartRequestOf(const ChartEvent& event) const;
    // The place's clock, in hours ahead of universal time, at a UT Julian day.
    double offsetHours(double jdUt) const { return m_clock(jdUt); }

    QDateEdit* DateFrom = nullptr;
    QDateEdit* DateTo = nullptr;
    QCheckBox* ChkMoon = nullptr;
    QCheckBox* ChkNode = nullptr;
    QPushButton* CmdSearch = nullptr;
    QTableWidget* GrdEvents = nullptr;
    QProgressBar* BarProgress = nullptr; // with CmdCancel, shown during a search only
    QPushButton* CmdCancel = nullptr;
    QLabel* LabStatus = nullptr;
    QPushButton* CmdSave = nullptr; // the grid as CSV
    QPushButton* CmdClose = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void search();
    void showEvents();
    void openChartOfRow(int row);
    void saveCsv();
    void setSearching(bool on);
    double universalMoment(const QDate& localDay) const;

    ChartState m_natal;
    std::optional<ChartRequest> m_request;
    std::function<double(double)> m_clock;
    std::vector<ChartEvent> m_events;
    QString m_period; // of m_events, as their file is named
    bool m_searching = false;
    bool m_cancelAsked = false;
};

} // namespace velmora::ui

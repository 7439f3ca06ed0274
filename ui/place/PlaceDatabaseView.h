#pragma once

#include "atlas/Atlas.h"
#include "core/ChartRequest.h"

#include <QWidget>

#include <vector>

class QLineEdit;
class QTableWidget;

namespace velmora::ui {

// The atlas place a request names, found again by its name, zone and coordinates, so that
// its region and country show; the identity alone when the atlas no longer holds it.
atlas::Place atlasPlaceOf(const AtlasIdentity& identity);

// The place picker's database view: a search box over the grid of the atlas's matches (city,
// region, country, latitude, longitude, zone), most populous first, filled as the user types.
// A click or Enter on a row, or Enter in the search box, picks the current row; the
// arrow keys in the search box move through the grid.
class PlaceDatabaseView final : public QWidget {
    Q_OBJECT

public:
    explicit PlaceDatabaseView(QWidget* parent = nullptr);

    // Fills the grid with the matches of `query`, the first one current.
    void search(const QString& query);

    QLineEdit* TxtRecherche = nullptr;
    QTableWidget* GriData = nullptr;

signals:
    void placePicked(const velmora::atlas::Place& place);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pick(int row);

    std::vector<atlas::Place> m_places;
    // A damaged index refuses its places at every letter typed: its message shows once while
    // the view is open.
    bool m_searchErrorShown = false;
};

} // namespace velmora::ui

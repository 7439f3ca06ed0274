#pragma once

#include "core/Analysis.h"
#include "core/ChartRequest.h"
#include "core/ChartState.h"
#include "wheel/ChartKindDescription.h"
#include "wheel/WheelPainter.h"

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <optional>

class QFrame;
class QLabel;
class QPlainTextEdit;

namespace velmora::ui {

class FrmEvents;

// The window of one chart, of any of the six kinds (its object name is the kind's window name,
// FrmNatale and the like). It keeps its own copy of the chart, taken from the shared state when
// it is created together with the appearance settings of that moment, and draws, lists and
// analyses from that copy, so that a later request never shows under its caption.
//
// The wheel is rendered into a persistent image on the first show, on a resize, after its
// appearance dialog returns and when its caption changes; painting only copies that image. Each
// rendering, and each activation in the MDI area, writes the wheel's rotation, the aspect list
// and the last point into the shared state, which then describes the window drawn or activated
// last. The image is current whenever the window is activated, so activation does not redraw.
//
// The geometry is left to right whatever the application's direction: the wheel in the square
// of side S at the top left, the menu panel along the right edge. The information panel's text
// runs right to left.
class FrmChart final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMenuItemCount = 8;
    enum MenuItem {
        Listing,
        Information,
        Appearance,
        SavePicture,
        Analysis,
        SaveChart,
        Print,
        Events,
    };

    // `caption` is the kind and the chart's title; a kind captioned from the clock ignores it.
    // `request` is what the chart was computed from, kept so that it can be saved.
    FrmChart(ChartKind kind, const QString& caption,
             const std::optional<ChartRequest>& request = std::nullopt, QWidget* parent = nullptr);

    const std::optional<ChartRequest>& request() const { return m_request; }

    // The window's own chart and settings, as its last rendering left them.
    const ChartState& chart() const { return m_state; }
    const QImage& picture() const { return m_picture; }
    // S: the drawing area's height, but never more than the width left of the menu panel.
    int chartSize() const;

    // The kind's window size, widened so that the wheel's square never reaches under the menu panel.
    QSize sizeHint() const override;

    // The caption exactly as given; the window title shows it as typed, "[*]" included.
    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    QWidget* Picture2 = nullptr; // the menu panel
    std::array<QLabel*, kMenuItemCount> LabMenu{};
    QWidget* ShpSelect = nullptr; // the hover marker
    QFrame* PictTable = nullptr;  // the floating information panel
    QWidget* PicBarTitre = nullptr;
    QLabel* LabFermer = nullptr;
    QPlainTextEdit* TxtShow = nullptr;
    QWidget* Picture1 = nullptr; // the element bars
    std::array<QWidget*, 4> Lab{};
    QFrame* SFeu = nullptr;
    QFrame* STerre = nullptr;
    QFrame* SAir = nullptr;
    QFrame* SEau = nullptr;
    // The events of a period for this chart, made by the menu's first use; nothing before.
    FrmEvents* events() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu();
    void buildInformationPanel();
    QWidget* buildElementBars(QWidget* parent);

    void render();
    void publishToSharedState();
    void showAnalysis(const ChartAnalysis& analysis);
    std::optional<DateTimeTexts> firstRow() const;
    void hoverMenu(int item);
    void runMenu(int item);
    void takeAppearanceSettings(bool confirmed);
    // Recomputes the window's chart after the house system changed from `before`.
    void recomputeHouses(HouseSystem before);
    void savePicture();
    void print();

    ChartKindDescription m_kind;
    ChartState m_state;
    WheelModel m_model; // of the last rendering, which the saved vector pictures draw again
    WheelAppearance m_look;
    QString m_caption;
    std::optional<ChartRequest> m_request;
    QImage m_picture;
    bool m_shown = false;
    bool m_dragging = false;
    bool m_panelPlaced = false; // shown once: from then on it stays where it was
    QPoint m_dragStart; // in the title bar, where the drag began
    QPointer<FrmEvents> m_events;
};

} // namespace velmora::ui

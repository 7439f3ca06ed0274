#pragma once

#include "core/ChartRequest.h"
#include "core/ChartState.h"

#include <QMainWindow>

class QFrame;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;

namespace velmora::ui {

// The program's main window: the chart windows open in its MDI area, its strip holds the four
// commands. Closing it, or its exit button, ends the program at once.
class MDIFrmMain final : public QMainWindow {
    Q_OBJECT

public:
    MDIFrmMain();
    ~MDIFrmMain() override;

    // The one main window, or nullptr while there is none.
    static MDIFrmMain* instance();

    // Opens a new window of a chart of the kind, already computed into the shared state. The
    // caption is the kind and the chart's title; the horary window makes its own from the
    // clock. The sub-window is deleted when closed.
    QMdiSubWindow* openChartWindow(ChartKind kind, const QString& caption,
                                   const std::optional<ChartRequest>& request = std::nullopt);

    // Shows the splash, fills the data entry's first row from the clock, and computes the
    // chart of the present moment for the picker's place. Opens no chart window.
    void startUp();

    // Where the chart windows open.
    QMdiArea* mdiArea() const { return m_mdiArea; }

    QFrame* Picture1 = nullptr;
    QPushButton* Cmd = nullptr;
    QPushButton* CmdEphemirids = nullptr;
    QPushButton* CmdLibrary = nullptr;
    QPushButton* CmdApropos = nullptr;
    QPushButton* CmdEnd = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMdiArea* m_mdiArea = nullptr;
    static MDIFrmMain* s_instance;
};

} // namespace velmora::ui

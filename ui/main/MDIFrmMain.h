#pragma once

#include "core/ChartState.h"

#include <QMainWindow>

#include <functional>

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

    // Builds the window of a chart of one kind, already computed into the shared state. The
    // caption is the kind and the chart's title; a window that makes its own caption may
    // ignore it. The window is a plain widget; the main window puts it in a sub-window that is
    // deleted when closed. While no factory is set, or when it returns nullptr, nothing opens.
    using ChartWindowFactory = std::function<QWidget*(ChartKind kind, const QString& caption)>;
    static ChartWindowFactory& chartWindowFactory();

    // Opens a new chart window of the kind; nullptr when none was built.
    QMdiSubWindow* openChartWindow(ChartKind kind, const QString& caption);

    // Shows the splash, fills the data entry's first row from the clock, and computes the
    // chart of the present moment for the picker's place. Opens no chart window.
    void startUp();

    QMdiArea* mdiArea = nullptr;
    QFrame* Picture1 = nullptr;
    QPushButton* Cmd = nullptr;
    QPushButton* CmdEphemirids = nullptr;
    QPushButton* CmdApropos = nullptr;
    QPushButton* CmdEnd = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    static MDIFrmMain* s_instance;
};

} // namespace velmora::ui

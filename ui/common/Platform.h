#pragma once

#include "core/ChartState.h"
#include "wheel/ColorValue.h"
#include "wheel/CoreText.h"

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>

#include <functional>

class QUrl;
class QWidget;

namespace velmora::ui {

// Shows a modal message box with the critical icon and an OK button. Tests replace it to answer
// without blocking; the default is the real QMessageBox.
using CriticalMessage = std::function<void(QWidget* parent, const QString& title, const QString& text)>;
CriticalMessage& criticalMessage();

// The computer's local clock. Read it once per use, so that the parts of one date and time
// always belong together; tests replace it to fix the time.
using Clock = std::function<QDateTime()>;
Clock& clock();

// Asks for a colour, starting from `initial`; an invalid colour means the user cancelled.
using ColorChooser = std::function<QColor(QWidget* parent, const QColor& initial)>;
ColorChooser& colorChooser();

// Asks for an existing file to open; an empty path means the user cancelled.
using OpenFileChooser = std::function<QString(QWidget* parent, const QString& caption,
                                              const QString& folder, const QString& filters)>;
OpenFileChooser& openFileChooser();

// Asks for a file name to save under, with the filter the user chose; an empty path means the
// user cancelled. The real dialog gives a name without a suffix the chosen filter's, then asks
// before overwriting a file.
struct SaveChoice {
    QString path;
    QString filter;
};
using SaveFileChooser = std::function<SaveChoice(QWidget* parent, const QString& caption,
                                                 const QString& folder, const QString& filters)>;
SaveFileChooser& saveFileChooser();

// Readies Qt's own dialogs (files, colours, the overwrite question, message boxes) for the
// Arabic interface, once, after the application is made: their texts from the system's Qt
// translations (English where those are not installed), and their standard buttons without
// icons, beside which Qt cuts Arabic text right to left.
void arabicQtDialogs();

// Hands a link (a mailto: address) to the desktop; false when nothing could open it.
using LinkOpener = std::function<bool(const QUrl& link)>;
LinkOpener& linkOpener();

// The style sheet that gives the widget of this object name the program's navy gradient: the
// main window's command strip, the chart window's menu and its panel's title bar.
QString navyStyle(const QString& objectName);

// The light cream behind the listing's lists and the chart window's information panel.
inline constexpr QRgb kCream = 0xFFFEFDF5;

// The font of the design's dialogs (Tahoma), falling back to fonts Debian installs with Arabic.
QFont dialogFont(int pointSize = 9);

} // namespace velmora::ui

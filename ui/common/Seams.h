#pragma once

#include <QColor>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class QPrinter;
class QUrl;
class QWidget;

namespace velmora::ui {

// What the windows ask of the desktop and the clock, each through a function a test can
// replace to answer at once; the defaults are the real dialogs and the computer's clock.

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

// Shows a modal message box with the information icon and an OK button.
using InformationMessage =
    std::function<void(QWidget* parent, const QString& title, const QString& text)>;
InformationMessage& informationMessage();

// Asks a yes-or-no question, No the default; true for Yes.
using Question = std::function<bool(QWidget* parent, const QString& title, const QString& text)>;
Question& question();

// Asks for a line of text (or several, when `lines`), starting from `initial`; nothing when
// the user cancelled.
using TextAsker = std::function<std::optional<QString>(
    QWidget* parent, const QString& title, const QString& label, const QString& initial,
    bool lines)>;
TextAsker& textAsker();

// Hands a link (a mailto: address) to the desktop; false when nothing could open it.
using LinkOpener = std::function<bool(const QUrl& link)>;
LinkOpener& linkOpener();

// Shows the print preview of the pages that `paint` prints onto a printer; its print button
// asks for the printer and its settings, then prints the pages there. `document` names the job.
// Tests replace it to print at once.
using PrintPreview = std::function<void(QWidget* parent, const QString& document,
                                        const std::function<void(QPrinter& printer)>& paint)>;
PrintPreview& printPreview();

} // namespace velmora::ui

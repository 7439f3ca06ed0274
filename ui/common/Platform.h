#pragma once

#include <QFont>
#include <QString>

#include <functional>

class QWidget;

namespace velmora::ui {

// Shows a modal message box with the critical icon and an OK button. Tests replace it to answer
// without blocking; the default is the real QMessageBox.
using CriticalMessage = std::function<void(QWidget* parent, const QString& title, const QString& text)>;
CriticalMessage& criticalMessage();

// The font of the design's dialogs (Tahoma), falling back to fonts Debian installs with Arabic.
QFont dialogFont(int pointSize = 9);

// Turns UTF-8 text of the core into a QString.
inline QString fromCore(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

} // namespace velmora::ui

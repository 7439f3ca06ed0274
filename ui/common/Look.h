#pragma once

#include <QFont>
#include <QRgb>
#include <QString>

namespace velmora::ui {

// The program's look: the navy strips, the cream lists, the dialogs' font and Qt's own dialogs
// readied for Arabic.

// Readies Qt's own dialogs (files, colours, the overwrite question, message boxes) for the
// Arabic interface, once, after the application is made: their texts from the system's Qt
// translations (English where those are not installed), and their standard buttons without
// icons, beside which Qt cuts Arabic text right to left.
void arabicQtDialogs();

// The style sheet that gives the widget of this object name the program's navy gradient: the
// main window's command strip, the chart window's menu and its panel's title bar.
QString navyStyle(const QString& objectName);

// The light cream behind the listing's lists and the chart window's information panel.
inline constexpr QRgb kCream = 0xFFFEFDF5;

// The dialogs' font (Tahoma), falling back to fonts Debian installs with Arabic.
QFont dialogFont(int pointSize = 9);

} // namespace velmora::ui

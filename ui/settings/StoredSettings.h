#pragma once

#include "core/ChartRequest.h"

#include <QString>

#include <memory>
#include <optional>

class QSettings;
class QWidget;

namespace velmora::ui {

class FrmThemeProprietees;

// The user's settings file: an INI file in the configuration folder, or the file the
// VELMORA_SETTINGS variable names. Set but empty, it keeps nothing: every start is a first
// start (the tests and the window pictures rely on it). Nothing when nothing is kept.
std::unique_ptr<QSettings> settingsFile();

// The appearance dialog's controls, as OK leaves them: colours, orbs, shown points, aspect
// boxes, houses, the sign style and the wheel's start, the background and its picture, and
// glyph spreading.
void storeAppearance(const FrmThemeProprietees& dialog, QSettings& file);
// Puts each stored value that reads back sound into its control; a missing, unreadable or
// out-of-range value leaves that control at its start value. A background picture that no
// longer opens leaves the start picture.
void restoreAppearance(FrmThemeProprietees& dialog, const QSettings& file);

// The data entry's last name and place: what its last successful OK computed.
struct StoredEntry {
    std::optional<QString> name;
    std::optional<RequestPlace> place;
    std::optional<std::string> zoneText; // the picker's zone box
};
void storeEntry(const StoredEntry& entry, QSettings& file);
StoredEntry restoredEntry(const QSettings& file);

void storeWindowGeometry(const QWidget& window, QSettings& file);
void restoreWindowGeometry(QWidget& window, const QSettings& file);

} // namespace velmora::ui

#pragma once

#include <optional>

class QEvent;
class QWidget;

namespace velmora::ui {

// The check of a number box's keys. A key deserves the warning when its press types a
// character that is not a digit 0-9 without Ctrl, Alt or Meta held; the warning comes at that
// key's release, once the character is in the box. Digits of the main row and of the keypad
// pass, shortcuts (select all, copy, paste, cut, undo) pass whichever key is let go first,
// keys that type nothing (Enter, Tab, arrows, Home, Backspace, Shift) pass, and auto-repeated
// releases are ignored. Arabic-Indic digits are refused: the number reading takes them for 0.
class NumberKeyCheck {
public:
    // Whether `event`, a key event of a box under the check, is the release that warns.
    bool warnsAt(const QEvent& event);

private:
    std::optional<int> m_refusedKey; // a refused press awaiting its release
};

// The warning of the number boxes, "الرجاء إدخال رقم صحيح" titled "تحذير هام".
void warnNotANumber(QWidget* parent);

} // namespace velmora::ui

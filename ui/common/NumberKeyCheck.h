#pragma once

class QKeyEvent;
class QWidget;

namespace velmora::ui {

// The check of the number boxes on each released key: only a typed character that is not a
// digit 0-9 deserves the warning. Digits of the main row and of the keypad pass, keys that type
// nothing (Enter, Tab, arrows, Home, Backspace, Shift) pass and auto-repeated releases are
// ignored. Arabic-Indic digits are refused: the number reading takes them for 0.
bool isRefusedNumberKey(const QKeyEvent& key);

// The warning of the number boxes, "الرجاء إدخال رقم صحيح" titled "تحذير هام".
void warnNotANumber(QWidget* parent);

} // namespace velmora::ui

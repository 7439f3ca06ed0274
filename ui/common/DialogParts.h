#pragma once

#include <initializer_list>
#include <string>

class QHBoxLayout;
class QLineEdit;
class QPushButton;

namespace velmora::ui {

// Makes the box select its whole text whenever it gets the focus, by the keyboard or a click,
// so that what the user types replaces it.
void selectAllOnFocus(QLineEdit* box);

// A dialog's row of buttons, at its far end (the left, right to left). None is auto-default,
// so that Enter in a text box presses no button.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

// The box's text as the core reads it, in UTF-8.
std::string boxText(const QLineEdit* box);

} // namespace velmora::ui

#pragma once

#include <initializer_list>
#include <string>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QString;

namespace velmora::ui {

// Makes the box select its whole text whenever it gets the focus, by the keyboard or a click,
// so that what the user types replaces it.
void selectAllOnFocus(QLineEdit* box);

// A dialog's row of buttons, at its far end (the left, right to left). None is auto-default,
// so that Enter in a text box presses no button.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons);

// Keeps `limit` characters as the box's limit for typing, while letting setTextBeyondLimit put
// a longer value in it (a picked correction of "-0.33", a negated year): the limit then follows
// that value down as it is shortened, and is `limit` again once the text fits.
void keepLengthLimit(QLineEdit* box, int limit);
void setTextBeyondLimit(QLineEdit* box, const QString& text);

// The box's text as the core reads it, in UTF-8.
std::string boxText(const QLineEdit* box);

} // namespace velmora::ui

#pragma once

class QLineEdit;

namespace velmora::ui {

// Makes the box select its whole text whenever it gets the focus, by the keyboard or a click,
// so that what the user types replaces it.
void selectAllOnFocus(QLineEdit* box);

} // namespace velmora::ui

#pragma once
// Select-all on focus, one procedure for every box that offers its whole text
// for overtyping when it gets the focus.

class QLineEdit;

namespace kelbrin {

// Selects the box's whole text, the caret at its start; an empty box is left alone.
void SelectAllText(QLineEdit* txt);

// Makes the box run SelectAllText whenever it gets the focus, by keyboard or
// by mouse (the click that gives the focus does not take the selection away).
void SelectAllTextOnFocus(QLineEdit* txt);

} // namespace kelbrin

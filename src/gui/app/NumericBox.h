#pragma once
// Text boxes that hold a number: typed characters that cannot belong to one
// are refused as they come, and pasted or dropped text is cleaned up.

class QLineEdit;

namespace kelbrin {

// Refuses typed characters that cannot extend the box's number.
void FilterNumberKeys(QLineEdit* box, bool allowMinus, bool allowComma);
// FilterNumberKeys, and every change of the text is cleaned, keeping the caret.
void AcceptNumbersOnly(QLineEdit* box, bool allowMinus, bool allowComma);

} // namespace kelbrin

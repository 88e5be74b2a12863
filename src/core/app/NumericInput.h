#pragma once
// The rules of numeric input boxes: a key filter and a text sanitizer. The
// comma is the decimal separator, with at most two decimals. The windows call
// these from their key-press and change handlers.

#include <QString>

namespace kelbrin {

// The key to keep (its character code), or 0 to drop it. Digits and Backspace
// always pass; '-' and ',' only when allowed and not yet in the text.
int FilterNumericKey(const QString& currentText, int keyAscii, bool allowMinus, bool allowComma);

struct SanitizedNumber {
    QString text;   // the cleaned text to put in the box
    bool valid;     // the text is a usable number (not empty, "-" or ",")
    bool changed;   // text differs from the box's text
    int caret;      // where the caret goes when it changed
};

// Cleans what the box holds after a change (typing or pasting).
SanitizedNumber SanitizeNumericText(const QString& boxText, int caret, bool allowMinus,
                                    bool allowComma);

} // namespace kelbrin

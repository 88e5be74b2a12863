#pragma once
// The split dialog's number boxes (minutes per piece, overlap in seconds).
// They show numbers with the user's decimal separator and take both "." and
// "," as it, whatever the locale: a "." typed in a comma locale, or the other
// way round, becomes the separator shown, so the box always holds the number
// that will be used. Values are read and stored locale-independently.

#include "core/app/NumericInput.h"

#include <QChar>
#include <QString>

namespace kelbrin {

// The number as the box shows it.
QString DecimalBoxText(double value, QChar separator);
// The character a typed key puts into the box: the separator for "." or ","
// (when the box has none yet), a digit as it is; 0 drops the key.
QChar FilterDecimalKey(const QString& boxText, QChar key, QChar separator);
// What the box holds after a change (typing or pasting), cleaned.
SanitizedNumber SanitizeDecimalBox(const QString& boxText, int caret, QChar separator);
// The number the box holds; either separator counts.
double DecimalBoxValue(const QString& boxText);

} // namespace kelbrin

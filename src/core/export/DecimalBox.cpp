#include "DecimalBox.h"

#include "core/app/Numbers.h"

namespace kelbrin {

namespace {

// The comma form the numeric input rules work on.
QString commaForm(QString text) {
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

} // namespace

QString DecimalBoxText(double value, QChar separator) {
    QString text = NumberText(value);
    text.replace(QLatin1Char('.'), separator);
    return text;
}

QChar FilterDecimalKey(const QString& boxText, QChar key, QChar separator) {
    const bool decimal = key == u'.' || key == u',' || key == separator;
    const int kept = FilterNumericKey(commaForm(boxText).replace(separator, QLatin1Char(',')),
                                      decimal ? ',' : key.unicode(), false, true);
    if (kept == 0)
        return QChar();
    return decimal ? separator : key;
}

SanitizedNumber SanitizeDecimalBox(const QString& boxText, int caret, QChar separator) {
    SanitizedNumber s =
        SanitizeNumericText(commaForm(boxText).replace(separator, QLatin1Char(',')), caret, false, true);
    s.text.replace(QLatin1Char(','), separator);
    s.changed = s.text != boxText;
    if (!s.changed)
        s.caret = caret;
    return s;
}

double DecimalBoxValue(const QString& boxText) {
    return CommaVal(boxText);
}

} // namespace kelbrin

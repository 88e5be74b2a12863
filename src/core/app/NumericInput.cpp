#include "NumericInput.h"

#include <algorithm>

namespace kelbrin {

int FilterNumericKey(const QString& currentText, int keyAscii, bool allowMinus, bool allowComma) {
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8)
        return keyAscii;
    if (keyAscii == '-' && allowMinus && !currentText.contains(QLatin1Char('-')))
        return keyAscii;
    if (keyAscii == ',' && allowComma && !currentText.contains(QLatin1Char(',')))
        return keyAscii;
    return 0;
}

namespace {

QString clean(const QString& trimmed, bool allowMinus, bool allowComma) {
    QString r;
    qsizetype k = 0; // 1-based place of the last comma seen, 0 = none
    bool otherSeen = false;
    bool commaAppended = false;
    for (qsizetype i = 1; i <= trimmed.size(); ++i) {
        const QChar c = trimmed[i - 1];
        if (c.isDigit() && c.unicode() < 128) {
            // Two decimals; one more when a stray character was dropped before,
            // since it shifted the places of what follows.
            if (k == 0 || (otherSeen ? i <= k + 3 : i < k + 3))
                r += c;
        } else if (c == QLatin1Char('-')) {
            if (allowMinus && i == 1)
                r += c;
        } else if (c == QLatin1Char(',')) {
            if (allowComma) {
                if (!commaAppended) {
                    if (i == 1)
                        r += QLatin1Char('0');
                    r += c;
                    commaAppended = true;
                }
                k = i;
            }
        } else {
            otherSeen = true;
        }
    }
    return r;
}

} // namespace

SanitizedNumber SanitizeNumericText(const QString& boxText, int caret, bool allowMinus,
                                    bool allowComma) {
    QString source = boxText;
    // "-," becomes "-0," plus the text; the rules below then drop the surplus.
    if (source.trimmed().startsWith(QStringLiteral("-,")))
        source = QStringLiteral("-0,") + source;
    const QString trimmed = source.trimmed();
    const QString r = trimmed.isEmpty() ? QString() : clean(trimmed, allowMinus, allowComma);
    SanitizedNumber result;
    result.text = r;
    result.valid = !(r.isEmpty() || r == QLatin1String("-") || r == QLatin1String(","));
    result.changed = r != boxText;
    result.caret = result.changed ? std::max(0, caret - 1) : caret;
    if (result.caret > r.size())
        result.caret = static_cast<int>(r.size());
    return result;
}

} // namespace kelbrin

#include "Numbers.h"

#include <cmath>
#include <limits>

namespace kelbrin {

double Val(const QString& text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    double whole = 0.0;
    double fraction = 0.0;
    double scale = 1.0;
    bool seenPoint = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            const int d = c.unicode() - '0';
            if (seenPoint) {
                scale /= 10.0;
                fraction += d * scale;
            } else {
                whole = whole * 10.0 + d;
            }
        } else if (c == QLatin1Char('.') && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    const double value = whole + fraction;
    return negative ? -value : value;
}

std::int64_t RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return 0;
    const double lowest = static_cast<double>(std::numeric_limits<std::int64_t>::min());
    const double highest = 9.2233720368547748e18; // largest double below 2^63
    if (value <= lowest)
        return std::numeric_limits<std::int64_t>::min();
    if (value >= highest)
        return std::numeric_limits<std::int64_t>::max();
    const double floorValue = std::floor(value);
    const double diff = value - floorValue;
    auto result = static_cast<std::int64_t>(floorValue);
    if (diff > 0.5 || (diff == 0.5 && (result % 2 != 0)))
        ++result;
    return result;
}

std::int32_t ValLong(const QString& text) {
    const std::int64_t v = RoundHalfEven(Val(text));
    return static_cast<std::int32_t>(
        ClampTo<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                              std::numeric_limits<std::int32_t>::max()));
}

double CommaVal(const QString& text) {
    QString copy = text;
    copy.replace(QLatin1Char(','), QLatin1Char('.'));
    return Val(copy);
}

QString NumberText(double value) {
    if (!std::isfinite(value) || value == 0.0)
        return QStringLiteral("0");
    // 'g' with 15 digits: no exponent from 1e-4 up to 1e15, no trailing zeros.
    return QString::number(value, 'g', 15);
}

QString CommaNumberText(double value) {
    QString s = NumberText(value);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

} // namespace kelbrin

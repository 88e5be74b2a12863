#include "RecorderTray.h"

#include "core/app/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelbrin {

namespace {
constexpr int kTooltipLength = 63;

int Magnitude(const QString& text) {
    const double value = std::fabs(Val(text));
    const double whole = static_cast<double>(RoundHalfEven(value));
    return whole > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(whole);
}
} // namespace

int ApplyTimeLimitAnswer(int currentLimit, const QString& answer) {
    if (answer.isEmpty())
        return currentLimit;
    if (answer.startsWith(QLatin1Char('+'))) {
        const qint64 sum = static_cast<qint64>(std::max(0, currentLimit)) + Magnitude(answer.mid(1));
        return static_cast<int>(std::min<qint64>(sum, std::numeric_limits<int>::max()));
    }
    return Magnitude(answer);
}

QString TrayTooltip(const QString& text) { return text.left(kTooltipLength); }

} // namespace kelbrin

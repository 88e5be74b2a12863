#include "PreviewPoints.h"

#include "core/export/SegmentList.h"

#include <QFileInfo>
#include <cstdlib>

namespace kelbrin {

QList<std::int32_t> PreviewPointsOf(const QList<std::int64_t>& values) {
    QList<std::int32_t> points;
    qsizetype i = 0;
    const qsizetype n = values.size();
    for (;;) {
        while (i < n && values[i] <= 0)
            ++i;
        if (i >= n)
            break;
        const std::int64_t start = values[i];
        while (i < n && values[i] >= 0)
            ++i;
        if (i >= n)
            break; // a start without an end
        const std::int64_t end = std::llabs(values[i]);
        if (end - start > 60) {
            points.append(static_cast<std::int32_t>(start));
            points.append(static_cast<std::int32_t>(start + (end - start) / 2));
            points.append(static_cast<std::int32_t>(end));
        }
        ++i;
    }
    return points;
}

std::optional<QList<std::int32_t>> LoadPreviewPoints(const QString& source, int openType) {
    if (openType == 2)
        return std::nullopt;
    const QString path = SegmentListPath(source);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    const auto values = ReadSegmentList(path);
    if (!values)
        return std::nullopt;
    QList<std::int32_t> points = PreviewPointsOf(*values);
    if (points.isEmpty())
        return std::nullopt;
    return points;
}

} // namespace kelbrin

#pragma once
// The preview's points from the segment list (".tim") beside a source: one
// triple (start, middle, end) in whole seconds per kept segment, a segment
// being kept when it lasts more than a minute. The marker buttons step
// through them.

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace kelbrin {

// The triples of the list's values, in order; empty when no segment is kept.
QList<std::int32_t> PreviewPointsOf(const QList<std::int64_t>& values);

// The points of the list beside `source`, or nothing when there are none: the
// list is not read with `openType` 2, is missing or unreadable, or keeps no
// segment.
std::optional<QList<std::int32_t>> LoadPreviewPoints(const QString& source, int openType);

} // namespace kelbrin

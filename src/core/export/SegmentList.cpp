#include "SegmentList.h"
#include "ShortList.h"

#include "SplitTextFile.h"
#include "core/app/Numbers.h"
#include "core/app/MessageService.h"
#include "core/app/PathProcedures.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kelbrin {

QString SegmentListPath(const QString& source) {
    if (source.isEmpty())
        return QString();
    return SegmentListOfStem(StripExtension(source));
}

QString SegmentListOfStem(const QString& stem) { return stem + QStringLiteral(".tim"); }

QByteArray SegmentListEntry(qint64 seconds) { return "\r\n" + QByteArray::number(seconds); }

QList<SegmentValue> ParseSegmentLines(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d|\\.\\d)"));
    QList<SegmentValue> values;
    const QStringList lines = SplitTextLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (!number.match(line).hasMatch())
            continue;
        // The recorder writes its seconds as 32-bit numbers: a value beyond
        // them is as malformed as a line without a number.
        const double value = Val(line);
        if (!(std::fabs(value) <= kMaxSegmentSeconds))
            continue;
        values.append({static_cast<int>(i + 1), RoundHalfEven(value)});
    }
    return values;
}

namespace {
QList<std::int64_t> secondsOf(const QList<SegmentValue>& values) {
    QList<std::int64_t> seconds;
    seconds.reserve(values.size());
    for (const SegmentValue& v : values)
        seconds.append(v.seconds);
    return seconds;
}
} // namespace

QList<std::int64_t> ParseSegmentList(const QString& text) { return secondsOf(ParseSegmentLines(text)); }

std::optional<QList<SegmentValue>> ReadSegmentLines(const QString& path) {
    const auto text = ReadSplitTextFile(path);
    if (!text)
        return std::nullopt;
    return ParseSegmentLines(*text);
}

std::optional<QList<std::int64_t>> ReadSegmentList(const QString& path) {
    const auto values = ReadSegmentLines(path);
    if (!values)
        return std::nullopt;
    return secondsOf(*values);
}

SegmentSplit SplitSegmentLines(const QList<SegmentValue>& values) {
    qsizetype first = 0;
    while (first < values.size() && values[first].seconds <= 0)
        ++first;
    SegmentSplit split;
    for (qsizetype i = first; i + 1 < values.size(); i += 2) {
        const std::int64_t start = std::llabs(values[i].seconds);
        const std::int64_t end = std::llabs(values[i + 1].seconds);
        if (end > start)
            split.pieces.append({double(start), double(end)});
        else if (end < start)
            split.reversed.append({values[i].line, start, end});
    }
    return split;
}

QList<std::pair<double, double>> SegmentPieces(const QList<std::int64_t>& values) {
    QList<SegmentValue> lines;
    lines.reserve(values.size());
    for (const std::int64_t v : values)
        lines.append({0, v});
    return SplitSegmentLines(lines).pieces;
}

void ReportReversedSegments(const QString& listPath, const QList<ReversedSegment>& pairs) {
    if (pairs.isEmpty())
        return;
    QStringList names;
    for (const ReversedSegment& pair : pairs)
        names.append(QString::number(pair.line) + QStringLiteral(" (") + QString::number(pair.start) +
                     QLatin1Char('-') + QString::number(pair.end) + QLatin1Char(')'));
    ShowText(texts::kSegmentsReversed, mb::Information, QStringLiteral("|1"), listPath,
             QStringLiteral("|2"), ShortList(names));
}

bool SegmentList::open(const QString& path, bool firstOfRecording) {
    close();
    m_firstOfRecording = firstOfRecording;
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool SegmentList::append(const QByteArray& entry) {
    if (!m_file.isOpen())
        return false;
    return m_file.write(entry) == entry.size() && m_file.flush();
}

bool SegmentList::writeStart(qint64 seconds) {
    if (seconds <= 0) {
        if (m_firstOfRecording)
            return true;
        seconds = 1;
    }
    return append(SegmentListEntry(seconds));
}

bool SegmentList::writeEnd(qint64 seconds) { return append(SegmentListEntry(-seconds)); }

void SegmentList::close() {
    if (m_file.isOpen())
        m_file.close();
}

} // namespace kelbrin

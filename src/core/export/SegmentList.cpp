#include "SegmentList.h"

#include "SplitTextFile.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"

#include <QRegularExpression>
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

QList<std::int64_t> ParseSegmentList(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d|\\.\\d)"));
    QList<std::int64_t> values;
    for (const QString& line : SplitTextLines(text)) {
        if (!number.match(line).hasMatch())
            continue;
        // The recorder writes its seconds as 32-bit numbers: a value beyond
        // them is as malformed as a line without a number.
        const double value = Val(line);
        if (!(std::fabs(value) <= kMaxSegmentSeconds))
            continue;
        values.append(RoundHalfEven(value));
    }
    return values;
}

std::optional<QList<std::int64_t>> ReadSegmentList(const QString& path) {
    const auto text = ReadSplitTextFile(path);
    if (!text)
        return std::nullopt;
    return ParseSegmentList(*text);
}

QList<std::pair<double, double>> SegmentPieces(const QList<std::int64_t>& values) {
    qsizetype first = 0;
    while (first < values.size() && values[first] <= 0)
        ++first;
    QList<std::pair<double, double>> pieces;
    for (qsizetype i = first; i + 1 < values.size(); i += 2) {
        const auto start = double(std::llabs(values[i]));
        const auto end = double(std::llabs(values[i + 1]));
        if (end > start)
            pieces.append({start, end});
    }
    return pieces;
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

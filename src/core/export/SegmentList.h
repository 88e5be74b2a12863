#pragma once
// The segment list (".tim") that the recorder writes beside a recording: one
// signed whole number of seconds per line, positive where a segment starts and
// negative where it ends. Each entry is written as CR LF and the value, so the
// file starts with an empty line and has no final line break. The recorder's
// writer and the editor's reader both live here, over that one format.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

namespace kelbrin {

// The list beside a source: its extension after the last dot replaced by "tim"
// (added when it has none); "" for an empty source.
QString SegmentListPath(const QString& source);
// The list of the file folder/name.ext, given folder/name.
QString SegmentListOfStem(const QString& stem);

// One entry as the file holds it: CR LF and the signed seconds.
QByteArray SegmentListEntry(qint64 seconds);

// The largest number of seconds a line may hold.
constexpr double kMaxSegmentSeconds = 2147483647.0;

// One value of the list with the 1-based line of the file that holds it.
struct SegmentValue {
    int line = 0;
    std::int64_t seconds = 0;
};

// The values of the list's lines, in order. Blank lines, lines that do not
// start with a number and lines whose number is out of range are left out, so
// they cannot shift the start/end pairs.
QList<SegmentValue> ParseSegmentLines(const QString& text);
QList<std::int64_t> ParseSegmentList(const QString& text);
// Nothing after a numbered message when the file cannot be read.
std::optional<QList<SegmentValue>> ReadSegmentLines(const QString& path);
std::optional<QList<std::int64_t>> ReadSegmentList(const QString& path);

// The pieces to cut, in seconds: pairs of values from the first positive one
// on, start and end taken as absolute values. A start without an end, and a
// pair that does not end after its start, make no piece.
QList<std::pair<double, double>> SegmentPieces(const QList<std::int64_t>& values);

// A pair whose end lies before its start: the list is damaged there, and
// the user is told which line begins it.
struct ReversedSegment {
    int line = 0; // the line of its start
    std::int64_t start = 0;
    std::int64_t end = 0;
};
struct SegmentSplit {
    QList<std::pair<double, double>> pieces;
    QList<ReversedSegment> reversed;
};
// SegmentPieces, also naming the pairs that end before they start. A pair
// that starts and ends in the same second (speech shorter than a second) is
// no fault of the list and is only left out.
SegmentSplit SplitSegmentLines(const QList<SegmentValue>& values);
// Names the reversed pairs (7430), the first few of them; nothing when none.
void ReportReversedSegments(const QString& listPath, const QList<ReversedSegment>& pairs);

// The writer the recorder keeps beside each output file; its seconds count
// from the start of that output file.
class SegmentList {
public:
    // Creates the list (empty); false when it cannot be created. The list of
    // the recording's first file leaves out starts in its first second.
    bool open(const QString& path, bool firstOfRecording = true);
    bool isOpen() const { return m_file.isOpen(); }
    // A segment start; in the recording's first second it is not written. A
    // later file's list writes one in its own first second as second 1, since
    // only a positive entry reads as a start.
    bool writeStart(qint64 seconds);
    bool writeEnd(qint64 seconds);
    void close();

private:
    bool append(const QByteArray& entry);
    QFile m_file;
    bool m_firstOfRecording = true;
};

} // namespace kelbrin

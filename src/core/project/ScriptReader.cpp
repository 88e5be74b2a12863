#include "ScriptReader.h"

#include "OutputNames.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <limits>

namespace kelbrin {

namespace {

const QString kSourceHeader = QStringLiteral("[SOURCE FILES]");
const QString kDestinationHeader = QStringLiteral("[DESTINATION FILES]");

bool isHeader(const QString& line, const QString& header) {
    return line.trimmed().toUpper() == header;
}

// An optional sign and at least one digit, nothing else but blanks around;
// a value beyond the 32-bit range stops at its end.
std::optional<std::int32_t> wholeNumber(QStringView text) {
    const QStringView t = text.trimmed();
    const bool negative = t.startsWith(u'-');
    qsizetype i = (negative || t.startsWith(u'+')) ? 1 : 0;
    if (i >= t.size())
        return std::nullopt;
    constexpr std::int64_t kBeyond = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = std::min(value * 10 + (c - u'0'), kBeyond);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

struct SecondsField {
    std::int32_t seconds = 0;
    std::int32_t milliseconds = 0;
};

std::optional<SecondsField> secondsField(QStringView field) {
    const QStringView t = field.trimmed();
    qsizetype separator = -1;
    for (qsizetype i = 0; i < t.size() && separator < 0; ++i)
        if (t[i] == u'.' || t[i] == u',')
            separator = i;
    const auto whole = wholeNumber(separator < 0 ? t : t.first(separator));
    if (!whole)
        return std::nullopt;
    SecondsField result{*whole, 0};
    if (separator < 0)
        return result;
    const QStringView digits = t.sliced(separator + 1, std::min<qsizetype>(3, t.size() - separator - 1));
    if (digits.isEmpty())
        return std::nullopt;
    static const int scale[] = {0, 100, 10, 1};
    std::int32_t value = 0;
    for (const QChar c : digits) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    result.milliseconds = value * scale[digits.size()];
    return result;
}

std::optional<ScriptSource> sourceLine(const QString& line) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const auto id = wholeNumber(QStringView(line).first(colon));
    if (!id)
        return std::nullopt;
    return ScriptSource{0, *id, line.mid(colon + 1)};
}

// A destination line cut at its colons, read in place: scripts hold
// thousands of lines.
class LineFields {
public:
    explicit LineFields(QStringView line) : m_line(line) {
        for (qsizetype i = 0; i < line.size() && m_colons < kMostColons; ++i)
            if (line[i] == u':')
                m_colon[m_colons++] = i;
    }
    // True when the line has at least `count` fields.
    bool has(int count) const { return m_colons >= count - 1; }
    // Field `i` up to the next colon.
    QStringView field(int i) const {
        const qsizetype from = i == 0 ? 0 : m_colon[i - 1] + 1;
        const qsizetype to = i < m_colons ? m_colon[i] : m_line.size();
        return m_line.sliced(from, to - from);
    }
    // The last of `count` fields: it keeps any further colons.
    QStringView last(int count) const { return m_line.sliced(m_colon[count - 2] + 1); }

private:
    static constexpr int kMostColons = 6; // the minutes-and-seconds form has seven fields
    QStringView m_line;
    std::array<qsizetype, kMostColons> m_colon{};
    int m_colons = 0;
};

std::optional<ScriptTime> minutesAndSeconds(QStringView minutes, QStringView seconds) {
    const auto m = wholeNumber(minutes);
    const auto s = secondsField(seconds);
    if (!m || !s)
        return std::nullopt;
    return ScriptTime{*m, s->seconds, s->milliseconds};
}

std::optional<ScriptTime> secondsTime(QStringView field) {
    const auto s = secondsField(field);
    if (!s)
        return std::nullopt;
    return ScriptTime{s->seconds / 60, s->seconds % 60, s->milliseconds};
}

enum class LineError { None, Unreadable, Range, Name };

// A bound written with a minus sign: "-0.5" reads as 0 seconds and 500 ms,
// so the sign is looked for in the text, not in the value.
bool negative(QStringView field) { return field.trimmed().startsWith(u'-'); }

std::int64_t milliseconds(const ScriptTime& t) {
    return (std::int64_t{t.minutes} * 60 + t.seconds) * 1000 + t.milliseconds;
}

// The export reads an end of 0 as "to the end of the source", and so it
// would read a negative end; an end before the start would give no file
// without a word. Such ranges are not what the line asks for.
bool endBeforeStart(const ScriptTrackLine& track) {
    if (track.inTime) {
        const std::int64_t end = milliseconds(track.end);
        return end != 0 && end < milliseconds(track.start);
    }
    return track.frameTo != 0 && track.frameTo < track.frameFrom;
}

LineError trackLine(const QString& line, ScriptTrackLine& track) {
    const LineFields f(line);
    if (!f.has(3))
        return LineError::Unreadable;
    const auto id = wholeNumber(f.field(0));
    const auto kind = wholeNumber(f.field(2));
    if (!id || !kind)
        return LineError::Unreadable;
    track.sourceId = *id;
    track.inTime = *kind != 0;

    const int count = *kind == 2 ? 7 : 5;
    if (!f.has(count))
        return LineError::Unreadable;
    bool minus = negative(f.last(count));
    for (int i = 3; i < count - 1; ++i)
        minus = minus || negative(f.field(i));
    if (*kind == 0) {
        const auto from = wholeNumber(f.field(3));
        const auto to = wholeNumber(f.last(count));
        if (!from || !to)
            return LineError::Unreadable;
        track.frameFrom = *from;
        track.frameTo = *to;
    } else {
        const auto start =
            *kind == 2 ? minutesAndSeconds(f.field(3), f.field(4)) : secondsTime(f.field(3));
        const auto end =
            *kind == 2 ? minutesAndSeconds(f.field(5), f.last(count)) : secondsTime(f.last(count));
        if (!start || !end)
            return LineError::Unreadable;
        track.start = *start;
        track.end = *end;
    }
    if (minus || endBeforeStart(track))
        return LineError::Range;
    track.name = CleanOutputName(f.field(1).toString());
    return IsUsableOutputName(track.name) ? LineError::None : LineError::Name;
}

ScriptReadResult failure(ScriptReadStatus status, int index = -1, const QString& text = QString()) {
    ScriptReadResult r;
    r.status = status;
    r.line = index + 1;
    r.lineText = text;
    return r;
}

} // namespace

QStringList ScriptTextLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    // Where the run of CRs the walk is in ends: found once per run, so that
    // a file of nothing but CRs is not read again from each of them.
    qsizetype crRunEnd = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r')) {
            // CR CR LF is a CR LF file whose line ends were converted once
            // more; read as two ends, it would put an empty line after every
            // line, and the first one ends the destination section.
            if (crRunEnd <= i) {
                crRunEnd = i + 1;
                while (crRunEnd < n && text[crRunEnd] == QLatin1Char('\r'))
                    ++crRunEnd;
            }
            if (crRunEnd < n && text[crRunEnd] == QLatin1Char('\n'))
                i = crRunEnd;
        }
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

std::optional<ScriptTime> ParseScriptSeconds(const QString& field) { return secondsTime(field); }

ScriptReadResult ParseScript(const QString& text) {
    const QStringList lines = ScriptTextLines(text);
    const int n = static_cast<int>(lines.size());
    int i = 0;
    while (i < n && !isHeader(lines[i], kSourceHeader))
        ++i;
    if (i == n)
        return failure(ScriptReadStatus::NoSourceSection);

    ScriptReadResult result;
    for (++i; i < n && !isHeader(lines[i], kDestinationHeader); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        auto source = sourceLine(lines[i]);
        if (!source)
            return failure(ScriptReadStatus::BadLine, i, lines[i]);
        source->line = i + 1;
        result.script.sources.append(*source);
    }
    if (i == n)
        return failure(ScriptReadStatus::NoDestinationSection);

    for (++i; i < n && QStringView(lines[i]).trimmed().isEmpty(); ++i) {
    }
    for (; i < n && !QStringView(lines[i]).trimmed().isEmpty(); ++i) {
        ScriptTrackLine track;
        track.line = i + 1;
        switch (trackLine(lines[i], track)) {
        case LineError::Unreadable:
            return failure(ScriptReadStatus::BadLine, i, lines[i]);
        case LineError::Range:
            return failure(ScriptReadStatus::BadRange, i, lines[i]);
        case LineError::Name:
            return failure(ScriptReadStatus::BadName, i, lines[i].section(QLatin1Char(':'), 1, 1));
        case LineError::None:
            break;
        }
        result.script.tracks.append(track);
    }
    return result;
}

} // namespace kelbrin

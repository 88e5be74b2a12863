#include "ScriptReader.h"

#include "OutputNames.h"
#include "core/app/Numbers.h"

namespace kelbrin {

namespace {

const QString kSourceHeader = QStringLiteral("[SOURCE FILES]");
const QString kDestinationHeader = QStringLiteral("[DESTINATION FILES]");

bool isHeader(const QString& line, const QString& header) {
    return line.trimmed().toUpper() == header;
}

// An optional sign and at least one digit, nothing else but blanks around.
std::optional<std::int32_t> wholeNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) ? 1 : 0;
    if (i >= t.size())
        return std::nullopt;
    for (; i < t.size(); ++i)
        if (t[i].unicode() < '0' || t[i].unicode() > '9')
            return std::nullopt;
    return ValLong(t);
}

struct SecondsField {
    std::int32_t seconds = 0;
    std::int32_t milliseconds = 0;
};

std::optional<SecondsField> secondsField(const QString& field) {
    const QString t = field.trimmed();
    qsizetype separator = -1;
    for (qsizetype i = 0; i < t.size() && separator < 0; ++i)
        if (t[i] == QLatin1Char('.') || t[i] == QLatin1Char(','))
            separator = i;
    const auto whole = wholeNumber(separator < 0 ? t : t.left(separator));
    if (!whole)
        return std::nullopt;
    SecondsField result{*whole, 0};
    if (separator < 0)
        return result;
    const QString digits = t.mid(separator + 1, 3);
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar c : digits)
        if (c.unicode() < '0' || c.unicode() > '9')
            return std::nullopt;
    static const int scale[] = {0, 100, 10, 1};
    result.milliseconds = ValLong(digits) * scale[digits.size()];
    return result;
}

std::optional<ScriptSource> sourceLine(const QString& line) {
    const qsizetype colon = line.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    const auto id = wholeNumber(line.left(colon));
    if (!id)
        return std::nullopt;
    return ScriptSource{0, *id, line.mid(colon + 1)};
}

// The fields of a destination line: the first `count - 1` colons separate,
// the last field keeps any further colons.
std::optional<QStringList> fields(const QString& line, int count) {
    QStringList parts = line.split(QLatin1Char(':'));
    if (parts.size() < count)
        return std::nullopt;
    const QString last = parts.mid(count - 1).join(QLatin1Char(':'));
    parts = parts.mid(0, count - 1);
    parts.append(last);
    return parts;
}

std::optional<ScriptTime> minutesAndSeconds(const QString& minutes, const QString& seconds) {
    const auto m = wholeNumber(minutes);
    const auto s = secondsField(seconds);
    if (!m || !s)
        return std::nullopt;
    return ScriptTime{*m, s->seconds, s->milliseconds};
}

enum class LineError { None, Unreadable, Name };

LineError trackLine(const QString& line, ScriptTrackLine& track) {
    const auto head = fields(line, 3);
    if (!head)
        return LineError::Unreadable;
    const auto id = wholeNumber((*head)[0]);
    const auto kind = wholeNumber(line.section(QLatin1Char(':'), 2, 2));
    if (!id || !kind)
        return LineError::Unreadable;
    track.sourceId = *id;
    track.inTime = *kind != 0;

    const int count = *kind == 2 ? 7 : 5;
    const auto f = fields(line, count);
    if (!f)
        return LineError::Unreadable;
    if (*kind == 0) {
        const auto from = wholeNumber((*f)[3]);
        const auto to = wholeNumber((*f)[4]);
        if (!from || !to)
            return LineError::Unreadable;
        track.frameFrom = *from;
        track.frameTo = *to;
    } else {
        const auto start =
            *kind == 2 ? minutesAndSeconds((*f)[3], (*f)[4]) : ParseScriptSeconds((*f)[3]);
        const auto end =
            *kind == 2 ? minutesAndSeconds((*f)[5], (*f)[6]) : ParseScriptSeconds((*f)[4]);
        if (!start || !end)
            return LineError::Unreadable;
        track.start = *start;
        track.end = *end;
    }
    track.name = CleanOutputName((*f)[1]);
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
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

std::optional<ScriptTime> ParseScriptSeconds(const QString& field) {
    const auto s = secondsField(field);
    if (!s)
        return std::nullopt;
    return ScriptTime{s->seconds / 60, s->seconds % 60, s->milliseconds};
}

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

    for (++i; i < n && lines[i].trimmed().isEmpty(); ++i) {
    }
    for (; i < n && !lines[i].trimmed().isEmpty(); ++i) {
        ScriptTrackLine track;
        track.line = i + 1;
        switch (trackLine(lines[i], track)) {
        case LineError::Unreadable:
            return failure(ScriptReadStatus::BadLine, i, lines[i]);
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

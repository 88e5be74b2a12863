#include "CueReader.h"
#include "ShortList.h"

#include "SplitTextFile.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"

#include <QRegularExpression>
#include <cmath>

namespace kelbrin {

namespace {

constexpr qsizetype kSkippedNamesShown = 30;

// The first word of a trimmed line and what follows it.
struct Words {
    QString keyword; // upper case
    QString rest;    // after the blanks that follow the keyword
};

Words splitFirstWord(const QString& line) {
    static const QRegularExpression blank(QStringLiteral("\\s"));
    const qsizetype gap = line.indexOf(blank);
    if (gap < 0)
        return {line.toUpper(), QString()};
    return {line.left(gap).toUpper(), line.mid(gap).trimmed()};
}

QString cleanValue(QString value) {
    value.remove(QLatin1Char('"'));
    return value.trimmed();
}

bool isWholeNumber(const QString& field) {
    static const QRegularExpression digits(QStringLiteral("^\\s*\\d{1,9}\\s*$"));
    return digits.match(field).hasMatch();
}

// The block being read.
struct Block {
    bool open = false;
    QString number;
    QString indexText;
    bool hasIndex = false;
};

} // namespace

std::optional<TrackTime> ParseCueIndex(const QString& text) {
    const QStringList fields = text.split(QLatin1Char(':'));
    if (fields.size() != 3)
        return std::nullopt;
    for (const QString& f : fields)
        if (!isWholeNumber(f))
            return std::nullopt;
    const std::int32_t minutes = ValLong(fields[0]);
    const std::int32_t seconds = ValLong(fields[1]);
    const std::int32_t frames = ValLong(fields[2]);
    if (seconds > 59 || frames > 74)
        return std::nullopt;
    TrackTime t;
    t.m = minutes;
    t.s = seconds;
    t.ms = static_cast<std::int32_t>(std::lround(frames * 1000.0 / 75.0));
    return t;
}

CueSheet ParseCueSheet(const QString& text) {
    CueSheet sheet;
    Block block;
    // Title and performer carry over to a block that does not name its own.
    QString title;
    QString performer;

    auto close = [&] {
        if (!block.open)
            return;
        const auto start = block.hasIndex ? ParseCueIndex(block.indexText) : std::nullopt;
        if (start)
            sheet.entries.append({block.number, title, performer, block.indexText, *start});
        else
            sheet.skipped.append(block.number.isEmpty() ? QStringLiteral("?") : block.number);
        block = Block();
    };

    for (const QString& raw : SplitTextLines(text)) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const Words w = splitFirstWord(line);
        if (w.keyword == QLatin1String("TRACK")) {
            close();
            block.open = true;
            block.number = splitFirstWord(w.rest).keyword;
            continue;
        }
        if (!block.open)
            continue;
        if (w.keyword == QLatin1String("TITLE")) {
            title = cleanValue(w.rest);
        } else if (w.keyword == QLatin1String("PERFORMER")) {
            performer = cleanValue(w.rest);
        } else if (w.keyword == QLatin1String("INDEX")) {
            const Words index = splitFirstWord(w.rest);
            // "INDEX 01" and "INDEX 1" alike; INDEX 00 (the pre-gap) and others are not the start.
            if (isWholeNumber(index.keyword) && ValLong(index.keyword) == 1) {
                block.indexText = cleanValue(index.rest);
                block.hasIndex = true;
            }
        }
    }
    close();
    return sheet;
}

std::optional<CueSheet> ReadCueSheet(const QString& path) {
    const auto text = ReadSplitTextFile(path);
    if (!text)
        return std::nullopt;
    return ParseCueSheet(*text);
}

QString CueSheetPathFor(const QString& source) {
    if (source.isEmpty())
        return QString();
    return StripExtension(source) + QStringLiteral(".cue");
}

QList<CueRange> CueRangesBackwards(const QList<CueEntry>& entries, const TrackTime& end,
                                   QStringList* skipped) {
    QList<CueRange> ranges;
    TrackTime currentEnd = end;
    for (int i = int(entries.size()) - 1; i >= 0; --i) {
        const TrackTime start = entries[i].start;
        if (TrackTimeMilliseconds(start) >= TrackTimeMilliseconds(currentEnd)) {
            if (skipped)
                skipped->prepend(entries[i].number);
            continue;
        }
        ranges.append({i, start, currentEnd});
        currentEnd = start;
    }
    return ranges;
}

void ReportSkippedCueEntries(const QStringList& skipped) {
    if (skipped.isEmpty())
        return;
    // A damaged sheet of a few megabytes can skip hundreds of thousands of blocks.
    ShowText(3684, mb::Information, QStringLiteral("|1"), ShortList(skipped, kSkippedNamesShown));
}

} // namespace kelbrin

#pragma once
// The CUE sheet reader shared by the split dialog and the CUE import: one
// entry per TRACK block, with its title, performer and INDEX 01 start.
//
// A keyword counts only as the first word of a trimmed line, in any case;
// values lose their double quotes and surrounding blanks. Lines before the
// first TRACK (the sheet's own TITLE, PERFORMER, FILE) and REM lines are
// ignored, as are blank lines; the end of the file closes the last block.
// A block without a TITLE or PERFORMER repeats the one before it; a block
// without a well-formed INDEX 01 is skipped and named in `skipped`.

#include "SplitTime.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kelbrin {

struct CueEntry {
    QString number;    // the TRACK line's number, as written
    QString title;
    QString performer;
    QString indexText; // "mm:ss:ff" as written after INDEX 01
    TrackTime start;   // the index, frames of 1/75 s turned into milliseconds
};

struct CueSheet {
    QList<CueEntry> entries; // sheet order
    QStringList skipped;     // TRACK numbers of blocks without a usable index
};

// An index text "mm:ss:ff": minutes without a limit, seconds 0-59, frames
// 0-74 (1/75 s, rounded to whole milliseconds); blanks around the fields are
// allowed. Nothing for anything else.
std::optional<TrackTime> ParseCueIndex(const QString& text);

CueSheet ParseCueSheet(const QString& text);
// Reads the file (each line UTF-8 when it is, else the ANSI code page);
// nothing after a numbered message when it cannot be read.
std::optional<CueSheet> ReadCueSheet(const QString& path);

// The CUE sheet proposed for a source: its extension after the last dot
// replaced by "cue" (added when it has none); "" for an empty source.
QString CueSheetPathFor(const QString& source);

// One range of the source per entry, made from the last entry to the first:
// each ends where the entry after it begins (the last one at `end`). An
// entry that would not end after its start is skipped and named in `skipped`.
struct CueRange {
    int entry = 0; // index into the entry list
    TrackTime start;
    TrackTime end;
};
QList<CueRange> CueRangesBackwards(const QList<CueEntry>& entries, const TrackTime& end,
                                   QStringList* skipped);

// Names the skipped TRACK blocks in one message (3684); nothing when none.
void ReportSkippedCueEntries(const QStringList& skipped);

} // namespace kelbrin

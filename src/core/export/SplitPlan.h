#pragma once
// The split plan: which tracks a split makes, with their ranges, numbers,
// names, labels, tag fields, links and box places. It is computed without
// touching the project; SplitApply adds the tracks to the collection and the
// views.

#include "CueReader.h"
#include "SplitHost.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace kelbrin {

class cPozycjaMP3;
class cPozycjeMP3;

// The split dialog's option index is the mode everywhere.
enum class SplitMode : std::int32_t { Manual = 0, EveryMinutes = 1, SegmentList = 2, CueSheet = 3 };

// At most this many pieces from one split into pieces of N minutes.
constexpr std::int64_t kMaxSplitPieces = 999;

struct SplitRequest {
    SplitMode mode = SplitMode::Manual;
    QString sourcePath;
    double duration = 0;     // the length to cut, in seconds (SourceDuration)
    double sourceLength = 0; // the file's scanned duration, kept in every track
    double minutes = 0;      // every N minutes: the piece length in minutes
    double overlap = 0;      // and the overlap of neighbouring pieces, seconds
    QList<std::pair<double, double>> segments; // segment list: pieces in seconds
    QList<CueEntry> cueEntries;                // CUE sheet: entries in sheet order
    QString outputName;                        // the output name box
    QDateTime runStart; // CUE pieces are named from this moment on, a second apart

    // The caller's own track; it becomes the first piece.
    std::shared_ptr<cPozycjaMP3> given;
    // Take `given` as it stands (a run at once whose source is already set):
    // it only gets its name, number, link and place.
    bool givenIsComplete = false;
    // A run at once: the range, label and tag fields the caller set stay.
    bool keepCallerFields = false;
};

// The project as the split finds it.
struct SplitContext {
    std::shared_ptr<const cPozycjeMP3> tracks;
    std::int32_t nextTrackNo = 1;
    std::int32_t selectedTrack = 0;
    std::optional<std::int32_t> lastListRowTrack;
    SplitBox selectedBox;       // the selected track's box, else the start box
    std::int32_t boxSize = 450; // side of a new box: the start box's
    std::int32_t workWidth = 0;
    std::int32_t workHeight = 0;
};

struct SplitPlan {
    // In the order they are added: numbered from nextTrackNo, each linked to
    // the one before it (lngTrack) and placed beside it. That is the making
    // order, but CUE pieces, made from the last entry back, come in the
    // sheet's order.
    QList<std::shared_ptr<cPozycjaMP3>> tracks;
    QStringList skippedCue; // CUE entries that would not end after their start
    // Segment list pieces that start at or after the source's end, in seconds.
    QList<std::pair<double, double>> skippedSegments;
};

SplitPlan PlanSplit(const SplitRequest& request, const SplitContext& context);

// Names the segment list's pieces that lay past the source's end (7344), the
// first few of them; nothing when there are none.
void ReportSkippedSegments(const QString& listPath, const QList<std::pair<double, double>>& pieces);

// How many pieces of `pieceSeconds` cut `duration`: the last one ends at the
// source's end and is never empty. 1 when either value is not above 0.
std::int64_t EveryMinutesPieceCount(double duration, double pieceSeconds);

// The checks on the numbers of the every-N-minutes mode: a piece of at least
// one second (3681), an overlap from 0 up to less than a piece (3689), at most
// kMaxSplitPieces pieces (3683). Shows the message and names the box at fault.
enum class SplitNumberFault { None, Minutes, Overlap };
SplitNumberFault CheckEveryMinutesNumbers(double minutes, double overlap, double duration);

} // namespace kelbrin

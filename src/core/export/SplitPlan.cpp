#include "SplitPlan.h"
#include "ShortList.h"

#include "DefaultNames.h"
#include "SplitTime.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/PathProcedures.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kelbrin {

namespace {

// Times are kept to the millisecond; a piece edge closer than that to the
// source's end is the end.
constexpr double kEdge = 0.0005;

bool hasRange(const cPozycjaMP3& t) {
    if (t.blnJednostka)
        return TrackTimeMilliseconds(EndTime(t)) > TrackTimeMilliseconds(StartTime(t));
    return t.lngRamkaDo > t.lngRamkaOd;
}

void setRange(cPozycjaMP3& t, double start, double end) {
    t.blnJednostka = true;
    SetStartTime(t, SecondsToTrackTime(start));
    SetEndTime(t, SecondsToTrackTime(end));
}

QString titleFromName(const QString& name) {
    QString title = name;
    if (title.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive) ||
        title.endsWith(QLatin1String(".mp2"), Qt::CaseInsensitive))
        title.chop(4);
    // As many characters as the tag holds. A character outside the basic
    // plane takes two UTF-16 units: cut between them, the title would end in
    // half a character, which no file or tag can hold.
    qsizetype end = std::min<qsizetype>(30, title.size());
    if (end < title.size() && title.at(end).isLowSurrogate())
        --end;
    return title.left(end);
}

class Planner {
public:
    Planner(const SplitRequest& request, const SplitContext& context)
        : r(request), c(context), m_next(context.nextTrackNo), m_box(context.selectedBox),
          m_naming(GetSetting(settingkeys::kFileNaming, QStringLiteral("0"))),
          m_tagDefault(GetSetting(settingkeys::kTAG_Def)),
          m_outputNames(ProjectOutputNames(context.tracks.get())) {
        m_existing = c.tracks ? c.tracks->Count() : 0;
        for (std::int32_t i = 1; i <= m_existing; ++i)
            if (c.tracks->Item(i)->strFileNameSource == r.sourcePath)
                ++m_sameSource;
        m_predecessor = c.lastListRowTrack.value_or(c.selectedTrack);
    }

    SplitPlan run() {
        if (r.given && r.givenIsComplete) {
            finish(r.given);
            return std::move(m_plan);
        }
        switch (r.mode) {
        case SplitMode::EveryMinutes: everyMinutes(); break;
        case SplitMode::SegmentList: segmentList(); break;
        case SplitMode::CueSheet: cueSheet(); break;
        case SplitMode::Manual: manual(); break;
        }
        return std::move(m_plan);
    }

private:
    std::shared_ptr<cPozycjaMP3> takeTrack() {
        ++m_pass;
        std::shared_ptr<cPozycjaMP3> t;
        if (m_pass == 1 && r.given)
            t = r.given;
        else
            t = std::make_shared<cPozycjaMP3>();
        t->strFileNameSource = r.sourcePath;
        t->dblDuration = r.sourceLength;
        return t;
    }

    void manual() {
        auto t = takeTrack();
        if (!(r.keepCallerFields && hasRange(*t)))
            setRange(*t, 0, r.duration);
        label(*t);
        finish(t);
    }

    void everyMinutes() {
        const double piece = r.minutes * 60.0;
        const std::int64_t count =
            std::min(EveryMinutesPieceCount(r.duration, piece), kMaxSplitPieces);
        double previousEnd = 0;
        for (std::int64_t k = 1; k <= count; ++k) {
            auto t = takeTrack();
            const double start = k == 1 ? 0.0 : std::max(0.0, previousEnd - r.overlap);
            const double end = k == count ? r.duration : piece * double(k);
            setRange(*t, start, end);
            previousEnd = TrackTimeSeconds(EndTime(*t));
            label(*t);
            finish(t);
        }
    }

    void segmentList() {
        // A list that outlasts its source (the file was cut since, or the list
        // is another recording's) must not make tracks of audio that is not
        // there: a piece ends at the source's end at the latest, and one that
        // would start there or later is left out. A source of unknown length
        // cuts where the list says.
        const bool known = r.duration > 0;
        for (const auto& [start, end] : r.segments) {
            if (known && start >= r.duration - kEdge) {
                m_plan.skippedSegments.append({start, end});
                continue;
            }
            auto t = takeTrack();
            setRange(*t, start, known ? std::min(end, r.duration) : end);
            label(*t);
            finish(t);
        }
    }

    // The pieces are made from the last entry back, each ending where the
    // entry after it starts, but named, numbered, linked and listed in the
    // sheet's order, so the chain plays and the export writes the album as the
    // sheet has it.
    void cueSheet() {
        const QList<CueRange> ranges =
            CueRangesBackwards(r.cueEntries, SecondsToTrackTime(r.duration), &m_plan.skippedCue);
        QList<std::shared_ptr<cPozycjaMP3>> made;
        for (const CueRange& range : ranges) {
            const CueEntry& entry = r.cueEntries[range.entry];
            auto t = takeTrack();
            t->blnJednostka = true;
            SetStartTime(*t, range.start);
            SetEndTime(*t, range.end);
            t->strAutor = entry.performer;
            t->strTitle = entry.title;
            label(*t);
            // Stamped names go up in the sheet's order too, a second apart.
            name(t, range.entry, static_cast<int>(ranges.size() - made.size()));
            made.append(t);
        }
        for (auto t = made.crbegin(); t != made.crend(); ++t)
            numberAndLink(*t);
    }

    bool callerLabelled(const cPozycjaMP3& t) const {
        return !t.strLabel.trimmed().isEmpty() && t.strLabel != GetText(3097);
    }

    void label(cPozycjaMP3& t) {
        if (r.keepCallerFields && callerLabelled(t))
            return;
        const bool titled = (r.mode == SplitMode::CueSheet || r.keepCallerFields) &&
                            !t.strTitle.trimmed().isEmpty();
        if (titled) {
            t.strLabel = t.strTitle;
            return;
        }
        t.strLabel = UniqueTrackName(FileNameFromPath(StripExtension(r.sourcePath)), m_sameSource);
    }

    bool numberExists(std::int32_t number) const {
        if (number == 0)
            return true;
        for (std::int32_t i = 1; i <= m_existing; ++i)
            if (c.tracks->Item(i)->lngNrPozycji == number)
                return true;
        for (const auto& planned : m_plan.tracks)
            if (planned->lngNrPozycji == number)
                return true;
        return false;
    }

    // Name, tag fields, number, link and place.
    void finish(const std::shared_ptr<cPozycjaMP3>& t) {
        name(t, std::nullopt);
        numberAndLink(t);
    }

    // The output name and tag fields.
    // `cuePlace` is a CUE piece's place in the sheet's order, from 1.
    void name(const std::shared_ptr<cPozycjaMP3>& t, std::optional<int> cueEntry, int cuePlace = 0) {
        const bool cue = cueEntry.has_value();
        // The first piece takes the name as the dialog gave it (the user may
        // mean an existing name); every other piece one no output has yet,
        // else exporting them one file each would write one file.
        if (cue) {
            t->strFileName = m_outputNames.take(
                DefaultOutputName(r.runStart.addSecs(cuePlace), m_existing + 1 + *cueEntry, m_existing));
        } else if (m_plan.tracks.isEmpty()) {
            t->strFileName = r.outputName;
            m_outputNames.add(t->strFileName);
        } else {
            t->strFileName = m_outputNames.take(r.outputName);
        }

        const bool keepTitle = (cue || r.keepCallerFields) && !t->strTitle.trimmed().isEmpty();
        const std::int32_t naming = ValLong(m_naming);
        if (!keepTitle && (naming == 0 || naming == 1))
            t->strTitle = titleFromName(t->strFileName);
        if (!(r.keepCallerFields && !t->strComment.isEmpty()))
            t->strComment = m_tagDefault;
        t->blnZmodyfikowana = true;
        if (t->strFileNameSource == r.sourcePath)
            ++m_sameSource;
    }

    // The number, the link to the piece planned before it and the place.
    void numberAndLink(const std::shared_ptr<cPozycjaMP3>& t) {
        t->lngNrPozycji = m_next++;

        // A link to a track that is gone would dangle: such a track follows the
        // start. A later piece follows the piece planned just before it.
        const bool follows = !m_plan.tracks.isEmpty() || numberExists(m_predecessor);
        t->lngTrack = follows ? m_predecessor : 0;
        place(*t);
        t->blnAwlaysTop = r.mode == SplitMode::EveryMinutes || r.mode == SplitMode::CueSheet;
        m_predecessor = t->lngNrPozycji;
        m_plan.tracks.append(t);
    }

    // Beside the selected box: to the right and below, or to the left or above
    // where the work area ends; never off its top or left edge.
    void place(cPozycjaMP3& t) {
        const std::int32_t size = c.boxSize;
        std::int32_t left = m_box.left + 500;
        std::int32_t top = m_box.top + 800;
        if (m_box.left > c.workWidth - size - 300)
            left = m_box.left - 500;
        if (m_box.top > c.workHeight - m_box.height - 500)
            top = m_box.top - 800;
        left = std::max(0, left);
        top = std::max(0, top);
        t.lngLeft = left + size / 2;
        t.lngTop = top + size / 2;
        m_box = {left, top, size, size};
    }

    const SplitRequest& r;
    const SplitContext& c;
    SplitPlan m_plan;
    std::int32_t m_next;
    SplitBox m_box;
    QString m_naming;
    QString m_tagDefault;
    std::int32_t m_existing = 0;
    int m_sameSource = 0;
    std::int32_t m_predecessor = 0;
    int m_pass = 0;
    OutputNameRegister m_outputNames; // of the project and of the pieces planned so far
};

} // namespace

SplitPlan PlanSplit(const SplitRequest& request, const SplitContext& context) {
    return Planner(request, context).run();
}

void ReportSkippedSegments(const QString& listPath, const QList<std::pair<double, double>>& pieces) {
    if (pieces.isEmpty())
        return;
    QStringList names;
    for (const auto& [start, end] : pieces)
        names.append(NumberText(start) + QLatin1Char('-') + NumberText(end));
    ShowText(texts::kSegmentsPastTheEnd, mb::Information, QStringLiteral("|1"), listPath,
             QStringLiteral("|2"), ShortList(names));
}

std::int64_t EveryMinutesPieceCount(double duration, double pieceSeconds) {
    if (!(duration > 0) || !(pieceSeconds > 0))
        return 1;
    const double pieces = std::ceil((duration - kEdge) / pieceSeconds);
    if (!(pieces < 1e15))
        return std::numeric_limits<std::int64_t>::max();
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(pieces));
}

SplitNumberFault CheckEveryMinutesNumbers(double minutes, double overlap, double duration) {
    const double piece = minutes * 60.0;
    if (!(piece >= 1.0)) {
        ShowText(3681, mb::Information);
        return SplitNumberFault::Minutes;
    }
    if (!(overlap >= 0.0) || !(overlap < piece)) {
        ShowText(3689, mb::Information);
        return SplitNumberFault::Overlap;
    }
    const std::int64_t count = EveryMinutesPieceCount(duration, piece);
    if (count > kMaxSplitPieces) {
        ShowText(3683, mb::Information, QStringLiteral("|1"), QString::number(count));
        return SplitNumberFault::Minutes;
    }
    return SplitNumberFault::None;
}

} // namespace kelbrin

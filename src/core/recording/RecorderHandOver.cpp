#include "RecorderHandOver.h"

#include "RecorderView.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/FrameProbe.h"
#include "core/document/MpegHeader.h"
#include "core/app/PathProcedures.h"
#include "RecordingConfiguration.h"
#include "core/document/cPozycjaMP3.h"
#include "core/editor/SplitDialogLauncher.h"
#include "core/export/SegmentList.h"
#include "platform/codecs/WaveFormat.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdlib>

namespace kelbrin {

QStringList RecordedNames(const QStringList& names) {
    QStringList kept;
    for (const QString& name : names)
        if (!name.trimmed().isEmpty())
            kept << name.trimmed();
    return kept;
}

QStringList RecordedNames(const QString& lines) { return RecordedNames(lines.split(QLatin1Char('\n'))); }

namespace {

// No MPEG audio frame is longer (Layer II at 384 kbit/s and 32 kHz, padded).
constexpr qint64 kLargestFrameBytes = 1729;

// An MPEG file that is a chain of whole frames, fewer than the scan needs to
// find any (a recording stopped as soon as it started). A file that is empty,
// or whose bytes are no such chain, is left to the scan's own messages. Frame
// lengths are walked with the scan's tolerance: they are rounded.
bool TooFewFramesToScan(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0 ||
        file.size() > FrameProbe::kRunLength * kLargestFrameBytes)
        return false;
    const QByteArray bytes = file.readAll();
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const qint64 size = bytes.size();
    const qint64 tolerance = FrameProbe::kRunTolerance;
    qint64 at = 0;
    for (int frames = 1; frames <= FrameProbe::kRunLength; ++frames) {
        if (at + 4 > size || !mpeg::IsCandidate(data + at))
            return false;
        const qint64 next = at + mpeg::FrameLength(data[at + 1], data[at + 2]);
        if (std::llabs(size - next) < tolerance)
            return true; // the last frame ends the file
        qint64 found = -1;
        for (qint64 p = std::max(at + 1, next - tolerance + 1); found < 0 && p < next + tolerance && p + 4 <= size; ++p)
            if (mpeg::IsCandidate(data + p))
                found = p;
        if (found < 0)
            return false;
        at = found;
    }
    return false;
}

} // namespace

QStringList HandOverRecordings(const RecordingConfiguration& recording, const QStringList& names, RecorderHost& host,
                               std::uint16_t formatTag) {
    QStringList paths;
    const QDateTime stamp = QDateTime::currentDateTime();
    const QDateTime dayZero(QDate(1899, 12, 30), QTime(0, 0));
    for (int i = 0; i < names.size(); ++i) {
        const QString name = FileNameFromPath(names[i]);
        const QString path = recording.RecordFolder + name;
        const int tracksBefore = host.tracksUsingSource(path);
        auto track = std::make_shared<cPozycjaMP3>();
        track->strFileNameSource = path;
        track->strLabel = UniqueTrackName(StripExtension(name), tracksBefore);
        // The split dialog reads the file type here: 1 MPEG Layer-3, 3 another format.
        track->lngTrack = formatTag == wave::kMpegLayer3 ? 1 : 3;
        track->blnZmodyfikowana = true;
        track->blnAwlaysTop = false;
        SplitDialogLauncher* split = SplitDialog();
        if (!split)
            continue;
        // Said as what it is, not as a file without MPEG frames.
        if (track->lngTrack == 1 && TooFewFramesToScan(path)) {
            ShowText(texts::kRecordingTooShort, mb::Exclamation, QStringLiteral("|1"), path);
            continue;
        }
        SplitDialogRequest request;
        request.track = track;
        request.newTrack = true;
        request.secondFlag = true;
        request.runAtOnce = true;
        // A list that makes no piece would make no track (no speech found, or
        // a later file of a split whose talk starts and runs on past its
        // end): the whole file is taken then.
        const QString listPath = SegmentListPath(path);
        if (QFileInfo(listPath).isFile()) {
            const auto marks = ReadSegmentList(listPath);
            request.bySegmentList = marks && !SegmentPieces(*marks).isEmpty();
        }
        // Each file its own second, so default output names differ.
        request.date = dayZero.msecsTo(stamp.addSecs(i + 1)) / 86400000.0;
        split->PokazMnie(request);
        // A file removed or renamed while it was recorded makes no track; the
        // split dialog has said so.
        if (host.tracksUsingSource(path) > tracksBefore)
            paths << path;
    }
    return paths;
}

} // namespace kelbrin

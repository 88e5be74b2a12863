#include "RecorderHandOver.h"

#include "RecorderView.h"
#include "core/app/PathProcedures.h"
#include "RecordingConfiguration.h"
#include "core/document/cPozycjaMP3.h"
#include "core/editor/SplitDialogLauncher.h"
#include "core/export/SegmentList.h"
#include "platform/codecs/WaveFormat.h"

#include <QDateTime>
#include <QFileInfo>

namespace kelbrin {

QStringList RecordedNames(const QStringList& names) {
    QStringList kept;
    for (const QString& name : names)
        if (!name.trimmed().isEmpty())
            kept << name.trimmed();
    return kept;
}

QStringList RecordedNames(const QString& lines) { return RecordedNames(lines.split(QLatin1Char('\n'))); }

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
        SplitDialogRequest request;
        request.track = track;
        request.newTrack = true;
        request.secondFlag = true;
        request.runAtOnce = true;
        // An empty list (no speech found) would make no track: the whole file is taken then.
        const QString listPath = SegmentListPath(path);
        if (QFileInfo(listPath).isFile()) {
            const auto marks = ReadSegmentList(listPath);
            request.bySegmentList = marks && !marks->isEmpty();
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

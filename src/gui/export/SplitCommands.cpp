#include "SplitCommands.h"

#include "core/app/BusyRefusal.h"
#include "core/app/LoadedSettings.h"
#include "core/app/MessageService.h"
#include "core/app/TextCatalog.h"
#include "core/document/EditorSession.h"
#include "core/document/cPozycjaMP3.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/CueImport.h"
#include "core/export/CueReader.h"
#include "core/export/SplitHost.h"
#include "core/export/SplitSource.h"
#include "frmPozycje.h"
#include "gui/app/FileDialogs.h"

namespace kelbrin {

namespace {

std::shared_ptr<cPozycjaMP3> selectedTrack(SplitHost& host) {
    const auto tracks = host.Tracks();
    const std::int32_t number = host.SelectedTrack();
    const std::int32_t position = tracks ? tracks->PositionOf(number) : 0;
    return position > 0 ? tracks->Item(position) : nullptr;
}

} // namespace

void AddTrackThroughSplit(const std::shared_ptr<SplitHost>& host, QWidget* parent) {
    if (!host || !ReadyOrSayBusy(host->CanChangeProject()))
        return;
    host->SetAddButtonEnabled(false);
    const auto& files = host->Session().OpenFiles;
    SplitOpenOptions options;
    options.newTrack = true;
    options.openSource = !files || files->Count() == 0;
    frmPozycje::PokazMnie(host, std::make_shared<cPozycjaMP3>(), options, parent);
}

void EditTrackThroughSplit(const std::shared_ptr<SplitHost>& host, QWidget* parent) {
    if (!host || !ReadyOrSayBusy(host->CanChangeProject()))
        return;
    auto track = selectedTrack(*host);
    if (!track)
        return;
    SplitOpenOptions options;
    options.newTrack = false;
    frmPozycje::PokazMnie(host, track, options, parent);
}

void SplitAtOnce(const std::shared_ptr<SplitHost>& host, std::shared_ptr<cPozycjaMP3> track,
                 bool openSource, const QDateTime& when, SplitMode mode) {
    if (!host || !track)
        return;
    SplitOpenOptions options;
    options.newTrack = true;
    options.openSource = openSource;
    options.autoOK = true;
    options.date = when;
    options.autoMode = mode;
    frmPozycje::PokazMnie(host, std::move(track), options);
}

QString CueSheetFilter() {
    return GetText(3037) + QChar(0) + QStringLiteral("*.cue") + QChar(0) + QStringLiteral("Cue Files");
}

void ImportCueSheet(const std::shared_ptr<SplitHost>& host, const LoadedSettings& settings,
                    QWidget* parent) {
    if (!host || !ReadyOrSayBusy(host->CanChangeProject()))
        return;
    const auto selected = selectedTrack(*host);
    if (!selected) {
        ShowText(3686, mb::Information);
        return;
    }
    int filterIndex = 1;
    const QString path = ShowFileDialog(parent, settings.SourceFolder, CueSheetFilter(),
                                        filterIndex, false, false, QString());
    if (path.isEmpty())
        return;
    const auto sheet = ReadCueSheet(path);
    if (!sheet)
        return;
    const auto source = FindOpenFile(host->Session(), selected->strFileNameSource);
    QStringList skipped = sheet->skipped;
    const QList<CueImportTrack> tracks =
        PlanCueImport(sheet->entries, *selected, TrackEndSeconds(*selected, source.get()),
                      QDateTime::currentDateTime(), &skipped);
    ReportSkippedCueEntries(skipped);
    if (tracks.isEmpty()) {
        ShowText(3682, mb::Information, QStringLiteral("|1"), path);
        return;
    }
    host->TakeUndoSnapshot(); // one step back undoes the whole import
    // Each run links its track after the one the run before selected: in the
    // sheet's order, the chain plays the album as the sheet has it.
    for (auto t = tracks.crbegin(); t != tracks.crend(); ++t)
        SplitAtOnce(host, t->track, true, t->date);
}

} // namespace kelbrin

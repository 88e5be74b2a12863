#include "ScriptExport.h"

#include "core/app/FileList.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/Startup.h"
#include "core/app/TextCatalog.h"
#include "core/app/TextNumbers.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SaveEngine.h"
#include "core/export/SaveHost.h"
#include "core/export/ShortList.h"
#include "core/app/SettingsKeys.h"
#include "platform/settings/SettingsStore.h"

#include <QSet>
#include <QStringList>

namespace kelbrin {

namespace {

using texts::kScriptNoSource;
using texts::kScriptSameOutput;

bool settingTicked(const char* key) {
    return ValLong(GetSetting(QLatin1String(key), QStringLiteral("0"))) == 1;
}

QString tick(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// What the export dialog's close writes after a script run: the forced
// choices, and the others as the dialog read them.
void storeOptions(const SaveRequest& request) {
    std::int32_t turboSet = ValLong(GetSetting(settingkeys::kT_Set, QStringLiteral("2")));
    if (turboSet < 0 || turboSet > 2)
        turboSet = 2;
    SaveSetting(settingkeys::kExactSave, tick(request.exactAnalysis));
    SaveSetting(settingkeys::kFileNameSame, tick(request.nameByLabel));
    SaveSetting(settingkeys::kExtPlayer, tick(request.writePlaylist));
    SaveSetting(settingkeys::kTurbo, tick(request.turbo));
    SaveSetting(settingkeys::kFileNameSave, tick(request.joined));
    SaveSetting(settingkeys::kCreateCue, tick(request.writeCue));
    SaveSetting(settingkeys::kT_Set, QString::number(turboSet));
}

} // namespace

SaveOutcome RunScriptExport(const ScriptExportRequest& r, SaveHost& host) {
    if (!r.files || r.files->Count() == 0) {
        ShowText(3014, mb::Information);
        RequestExitStatus(exitstatus::kFailed);
        SaveOutcome refused;
        refused.status = SaveStatus::Refused;
        refused.messageNumber = 3014;
        return refused;
    }
    SaveRequest request;
    if (r.tracks)
        request.pieces.reserve(r.tracks->Count());
    // A script is run unattended: a line that cannot be written says so
    // instead of leaving its file out without a word.
    QStringList noSource;
    QStringList twice;
    QSet<QString> names;
    QSet<QString> reported; // the names in `twice`
    for (std::int32_t i = 1; r.tracks && i <= r.tracks->Count(); ++i) {
        const cPozycjaMP3& track = *r.tracks->Item(i);
        if (!track.blnAwlaysTop)
            continue;
        if (!IsFileSavable(r.files.get(), track.strFileNameSource)) {
            noSource.append(track.strFileName);
        } else if (names.contains(track.strFileName)) {
            // A later track would replace what the earlier one just wrote,
            // and the CUE sheet and playlist would list the file twice.
            if (!reported.contains(track.strFileName)) {
                reported.insert(track.strFileName);
                twice.append(track.strFileName);
            }
        } else {
            names.insert(track.strFileName);
            request.pieces.append(ExportPieceFromTrack(track));
        }
    }
    if (!noSource.isEmpty())
        ShowText(kScriptNoSource, mb::Information, QStringLiteral("|1"), ShortList(noSource));
    if (!twice.isEmpty())
        ShowText(kScriptSameOutput, mb::Information, QStringLiteral("|1"), ShortList(twice));
    request.openFiles = r.files;
    request.destFolder = GetSetting(settingkeys::kDestPath, r.destFolder).trimmed();
    request.exactAnalysis = true;
    request.writeCue = settingTicked(settingkeys::kCreateCue);
    request.writePlaylist = settingTicked(settingkeys::kExtPlayer);
    const SaveOutcome outcome = SavePieces(request, host);
    storeOptions(request);
    // A scheduled export is judged by its exit status: a script that left a
    // line unwritten, or stopped on a full disk, did not do its job.
    if (!outcome.emptyRanges.isEmpty())
        ShowText(texts::kEmptyRanges, mb::Information, QStringLiteral("|1"),
                 ShortList(outcome.emptyRanges));
    if (!outcome.whole() || !noSource.isEmpty() || !twice.isEmpty() ||
        !outcome.emptyRanges.isEmpty())
        RequestExitStatus(exitstatus::kFailed);
    return outcome;
}

void EngineScriptExport::Run(const ScriptExportRequest& r) {
    HeadlessSaveHost host;
    RunScriptExport(r, host);
}

} // namespace kelbrin

#include "ScriptExport.h"

#include "core/app/FileList.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SaveEngine.h"
#include "core/export/SaveHost.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

namespace {

bool settingTicked(const char* key) {
    return ValLong(GetSetting(QLatin1String(key), QStringLiteral("0"))) == 1;
}

QString tick(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

// What the export dialog's close writes after a script run: the forced
// choices, and the others as the dialog read them.
void storeOptions(const SaveRequest& request) {
    std::int32_t turboSet = ValLong(GetSetting(QStringLiteral("T_Set"), QStringLiteral("2")));
    if (turboSet < 0 || turboSet > 2)
        turboSet = 2;
    SaveSetting(QStringLiteral("ExactSave"), tick(request.exactAnalysis));
    SaveSetting(QStringLiteral("FileNameSame"), tick(request.nameByLabel));
    SaveSetting(QStringLiteral("ExtPlayer"), tick(request.writePlaylist));
    SaveSetting(QStringLiteral("Turbo"), tick(request.turbo));
    SaveSetting(QStringLiteral("FileNameSave"), tick(request.joined));
    SaveSetting(QStringLiteral("CreateCue"), tick(request.writeCue));
    SaveSetting(QStringLiteral("T_Set"), QString::number(turboSet));
}

} // namespace

SaveOutcome RunScriptExport(const ScriptExportRequest& r, SaveHost& host) {
    if (!r.files || r.files->Count() == 0) {
        ShowText(3014, mb::Information);
        SaveOutcome refused;
        refused.status = SaveStatus::Refused;
        refused.messageNumber = 3014;
        return refused;
    }
    SaveRequest request;
    if (r.tracks)
        request.pieces.reserve(r.tracks->Count());
    for (std::int32_t i = 1; r.tracks && i <= r.tracks->Count(); ++i) {
        const cPozycjaMP3& track = *r.tracks->Item(i);
        if (track.blnAwlaysTop && IsFileSavable(r.files.get(), track.strFileNameSource))
            request.pieces.append(ExportPieceFromTrack(track));
    }
    request.openFiles = r.files;
    request.destFolder = GetSetting(QStringLiteral("DestPath"), r.destFolder).trimmed();
    request.exactAnalysis = true;
    request.writeCue = settingTicked("CreateCue");
    request.writePlaylist = settingTicked("ExtPlayer");
    const SaveOutcome outcome = SavePieces(request, host);
    storeOptions(request);
    return outcome;
}

void EngineScriptExport::Run(const ScriptExportRequest& r) {
    HeadlessSaveHost host;
    RunScriptExport(r, host);
}

} // namespace kelbrin

#include "ScriptExport.h"

#include "core/app/FileList.h"
#include "core/app/MessageService.h"
#include "core/app/Numbers.h"
#include "core/app/SharedState.h"
#include "core/app/TextCatalog.h"
#include "core/document/cPozycjeMP3.h"
#include "core/document/cPozycjePlikow.h"
#include "core/export/SaveEngine.h"
#include "platform/settings/SettingsStore.h"

namespace kelbrin {

namespace {

bool settingTicked(const char* key) {
    return ValLong(GetSetting(QLatin1String(key), QStringLiteral("0"))) == 1;
}

// The export's windowless run with the choices a script always makes: one
// file per track named by its output name, exact analysis on, Turbo off;
// folder, CUE sheet and playlist as the export dialog keeps them.
class EngineScriptExport final : public ScriptExport {
public:
    void Run(const ScriptExportRequest& r) override {
        if (!r.files || r.files->Count() == 0) {
            ShowText(3014, mb::Information);
            return;
        }
        SaveRequest request;
        for (std::int32_t i = 1; r.tracks && i <= r.tracks->Count(); ++i) {
            const cPozycjaMP3& track = *r.tracks->Item(i);
            if (track.blnAwlaysTop && IsFileSavable(track.strFileNameSource))
                request.pieces.append(ExportPieceFromTrack(track));
        }
        request.destFolder = GetSetting(QStringLiteral("DestPath"), Shared().DestFolder).trimmed();
        request.exactAnalysis = true;
        request.writeCue = settingTicked("CreateCue");
        request.writePlaylist = settingTicked("ExtPlayer");
        RunExport(request);
    }
};

std::unique_ptr<ScriptExport>& slot() {
    static std::unique_ptr<ScriptExport> exporter;
    return exporter;
}

} // namespace

ScriptExport& ScriptExporter() {
    if (!slot())
        slot() = std::make_unique<EngineScriptExport>();
    return *slot();
}

std::unique_ptr<ScriptExport> SetScriptExporter(std::unique_ptr<ScriptExport> exporter) {
    auto previous = std::move(slot());
    slot() = std::move(exporter);
    return previous;
}

} // namespace kelbrin

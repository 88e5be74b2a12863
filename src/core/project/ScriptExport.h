#pragma once
// The one call a batch script needs of the export: write every track of the
// script, one file per track, into the destination folder. The windowless one
// runs the export engine alone; the main window owns one that shows the run in
// its progress bar and stops on Esc; the project window hands its own to the
// script runner.

#include <QString>
#include <memory>

namespace kelbrin {

class cPozycjeMP3;
class cPozycjePlikow;
class SaveHost;
struct SaveOutcome;

struct ScriptExportRequest {
    std::shared_ptr<cPozycjeMP3> tracks;   // the script's tracks, all ticked for export
    std::shared_ptr<cPozycjePlikow> files; // their opened and scanned sources
    QString destFolder;                    // where exports go when DestPath is not stored
};

class ScriptExport {
public:
    virtual ~ScriptExport() = default;
    // Reports its own failures with numbered messages.
    virtual void Run(const ScriptExportRequest& request) = 0;
};

// The export a script makes with the given host (progress, stop, questions):
// one file per track named by its output name, exact analysis on, Turbo off;
// folder, CUE sheet and playlist as the export dialog keeps them. Afterwards
// the export options are stored with the values the script forced, as the
// export dialog stores them when it closes. With no open source it says so.
// A track whose source the script does not list, or whose output name an
// earlier track took, is left out, and one message names each kind.
SaveOutcome RunScriptExport(const ScriptExportRequest& request, SaveHost& host);

// RunScriptExport with no window to show its progress or to stop it.
class EngineScriptExport final : public ScriptExport {
public:
    void Run(const ScriptExportRequest& request) override;
};

} // namespace kelbrin

#pragma once
// The one call a batch script needs of the export: write every track of the
// script, one file per track, into the destination folder, without a window.
// The built-in one runs the export engine without a window; tests install
// their own.

#include <memory>

namespace kelbrin {

class cPozycjeMP3;
class cPozycjePlikow;

struct ScriptExportRequest {
    std::shared_ptr<cPozycjeMP3> tracks;   // the script's tracks, all ticked for export
    std::shared_ptr<cPozycjePlikow> files; // their opened and scanned sources
};

class ScriptExport {
public:
    virtual ~ScriptExport() = default;
    // Reports its own failures with numbered messages.
    virtual void Run(const ScriptExportRequest& request) = 0;
};

// The export in force.
ScriptExport& ScriptExporter();
// Replaces it (null restores the built-in one); returns the previous one.
std::unique_ptr<ScriptExport> SetScriptExporter(std::unique_ptr<ScriptExport> exporter);

} // namespace kelbrin
